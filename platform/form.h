// Our windowing layer over Qt Widgets: a main window holding child windows,
// places and sizes in twips, the Load / Activate / Deactivate / Unload
// life cycle, and controls whose Change, Click and KeyPress run the way the
// program's handlers expect (also when the program itself sets a text or
// ticks a box).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>
#include <map>

namespace plat {

// 1 twip = 1/1440 inch; 15 twips per pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
inline int px(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }
inline int twips(int pixels) { return pixels * kTwipsPerPixel; }

class Form;

// The main window: a QMainWindow whose central widget is the MDI area that
// holds every child window.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    static MainWindow* instance();  // the one main window, created on demand
    QMdiArea* mdi() const { return mdi_; }
    // Called when the user closes the main window; return false to keep it open.
    std::function<bool()> onClose;
    // The child window that last became active (nullptr when none): it
    // stays the active one while a dialog or another program has the focus.
    Form* activeForm() const { return current_; }
    // Moves a child window in where it would stick out of the visible area
    // (right or bottom), keeping the place it was given where it fits; a
    // laid-out window larger than the area first shrinks to it as far as its
    // controls allow.
    void keepInside(QMdiSubWindow* w) const;
    // Pixels a window moved in keeps between its frame and the area's edge.
    static constexpr int kEdgeGap = 8;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    friend class Form;
    friend class SubWindow;
    // Runs Deactivate of the previous form and Activate of the new one.
    void subActivated(QMdiSubWindow* w);
    // Activates the topmost loaded window when none is active (none when
    // that window is disabled).
    void activateNext();
    // Once the MDI area has ended the activation it is in, the window the
    // Activate and Deactivate handlers left in front is in front again.
    void settleLater();
    QMdiArea* mdi_;
    Form* current_ = nullptr;
    unsigned activations_ = 0;
    int inActivation_ = 0;    // depth of subActivated
    unsigned stackings_ = 0;  // raises and activations of ours, counted
};

// A child window of the main window. Subclasses override the handlers.
// Load runs once on first use (Show, Move or Load); Activate/Deactivate
// follow the MDI area's activation; Unload asks Form_Unload, which may
// cancel, then closes the window (a later use loads it again).
//
// Life cycle details:
// - Its child window is created on first use; from then on the main window
//   owns the form (Qt parent), so hold forms by QPointer, never delete them
//   after the main window is gone. Deleting a form removes its window. build() runs once per object, so the controls
//   outlive an Unload and keep their values: Form_Load must set every value
//   it relies on (it runs again on each load after an unload).
// - Like every child window, a form shows and becomes active as soon as it
//   is loaded (Load, Show, Move, SetVisible(true) and ZOrder all load it).
// - Activate runs when the window becomes the active child window,
//   Deactivate when another child window becomes active or the window is
//   hidden. A message box or another program taking the focus changes
//   neither. Unloading the active window runs no Deactivate.
// - What the handlers leave in front stays in front: a window that takes
//   the activation back in its Deactivate (or brings itself forward there)
//   is not left behind the window the dealer clicked.
// - Closing the window by its close box runs Form_Unload like Unload().
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& name, QWidget* parent = nullptr);
    ~Form() override;

    // Creates the child window and runs Form_Load if not loaded yet, then
    // shows and activates the window (a child window shows when loaded);
    // the text box the focus lands in starts with its text selected.
    void Load();
    // Loads if needed, shows and activates.
    void Show();
    void Hide();
    // Place and size in twips inside the main window; loads and shows a
    // window that is not loaded (a width or height below 0 keeps the size).
    void Move(int left, int top, int width = -1, int height = -1);
    // Runs Form_Unload; unless it cancels, closes the window. Returns true
    // when the window is unloaded afterwards.
    bool Unload();
    bool isLoaded() const { return loaded_; }
    void SetEnabled(bool on);
    bool Enabled() const;
    void SetVisible(bool on);
    // ZOrder 0 brings the window to the front and makes it the active one
    // (loading it first); 1 sends it to the back. A disabled window cannot
    // become active, and stays behind the active window.
    void ZOrder(int pos = 0);
    void SetCaption(const QString& caption);
    QString Caption() const { return windowTitle(); }
    QMdiSubWindow* subWindow() const { return sub_; }
    bool isActive() const;
    // Outer size of the child window in twips, like Move's width and height
    // (loads nothing; usable in build() and Form_Load).
    void SetSize(int width, int height);
    // Place and outer size of the child window in twips (0 while it has none).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // Handlers.
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Unload(int& cancel) { (void)cancel; }

protected:
    // Builds the controls; called by Load before Form_Load.
    virtual void build() {}
    // Helpers to place controls in twips on this form.
    void place(QWidget* w, int left, int top, int width, int height);

private:
    friend class MainWindow;
    friend class SubWindow;
    void activated(bool on);
    void createSubWindow();
    void fitControls();
    void activate();
    void raiseSub();
    void closed();
    QMdiSubWindow* sub_ = nullptr;
    bool loaded_ = false;
    bool active_ = false;
    bool inUnload_ = false;
    bool built_ = false;
    bool sized_ = false;
    bool enabled_ = true;
};

// A text box: Change runs for typed and for programmatic text; KeyPress can
// drop (key = 0) or change a typed character; GotFocus / LostFocus.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr, int index = 0);
    int index() const { return index_; }
    // The program's own text assignment (runs Change like typing).
    void SetText(const QString& t) { setText(t); }
    QString Text() const { return text(); }
    // Select the whole text (the first key then replaces the box).
    void SelectAll() { selectAll(); }

    std::function<void(int index)> Change;
    std::function<void(int index, int& key)> KeyPress;
    std::function<void(int index)> GotFocus;
    std::function<void(int index)> LostFocus;

protected:
    // Rules a kind of box applies before the handlers (plat::NumBox): a key
    // it sets to 0 is dropped before KeyPress; a text it refuses runs no
    // Change.
    virtual void filterKey(int& /*key*/) {}
    virtual bool acceptText() { return true; }
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    int index_;
};

// Combo box: Click runs when the chosen entry changes, also from code.
class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr, int index = 0, bool editable = false);
    int index() const { return index_; }
    QString Text() const { return currentText(); }
    int ListIndex() const { return currentIndex(); }
    void SetListIndex(int i) { setCurrentIndex(i); }
    // Adding and clearing change no selection and run no Click: after the
    // first AddItem into an empty list nothing is selected (ListIndex -1).
    void AddItem(const QString& s);
    void Clear();
    void RemoveItem(int i);
    QString List(int i) const { return itemText(i); }
    int ListCount() const { return count(); }
    // Select the entry with this text (exact match after trimming); -1 when
    // none (the selection then stays as it was).
    int SelectText(const QString& s);
    // The program's own text: an editable box takes any text (runs Change),
    // a list box selects the matching entry.
    void SetText(const QString& t);
    std::function<void(int index)> Click;
    // Editable boxes only: the typed or set text changed.
    std::function<void(int index)> Change;

protected:
    // The arrow keys move from the entry shown, also when the program only
    // set the text (nothing selected yet): Down shows the entry after it.
    void keyPressEvent(QKeyEvent* e) override;

private:
    int index_;
    bool quiet_ = false;
};

// Check box: Click runs when the state changes, also when set from code.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption, QWidget* parent = nullptr, int index = 0);
    int index() const { return index_; }
    int Value() const { return isChecked() ? 1 : 0; }
    void SetValue(int v) { setChecked(v != 0); }
    std::function<void(int index)> Click;

private:
    int index_;
};

// Option button: Click runs when it becomes selected, also from code.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr, int index = 0);
    int index() const { return index_; }
    bool Value() const { return isChecked(); }
    // Also clears a selected option (leaving none of its group selected).
    void SetValue(bool v);
    std::function<void(int index)> Click;

private:
    int index_;
};

// Command button (also the 3-D buttons): Click. A click, Space or Enter
// on the button with the focus presses it; no button of a window is pressed
// by an Enter elsewhere.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr, int index = 0);
    int index() const { return index_; }
    std::function<void(int index)> Click;
    // Runs Click as a user's click would (no-op when disabled).
    void DoClick() { click(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    int index_;
};

// Control arrays: controls by index, like Text1(7).
template <class T> using ControlArray = std::map<int, T*>;
// Element i of a control array; nullptr when the array has no such index.
template <class T> T* element(const ControlArray<T>& a, int i) {
    auto it = a.find(i);
    return it == a.end() ? nullptr : it->second;
}

}  // namespace plat
