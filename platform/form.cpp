#include "platform/form.h"

#include "core/cp1252.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPointer>
#include <QTimer>
#include <algorithm>

namespace plat {

namespace {
MainWindow* theMain = nullptr;
MainWindow* mainWindow() { return theMain; }
}  // namespace

// The child window frame of one form. Closing it by its close box asks the
// form's Form_Unload first; destroying it tells the form it has no window.
class SubWindow : public QMdiSubWindow {
public:
    explicit SubWindow(Form* f) : form_(f) {
        setAttribute(Qt::WA_DeleteOnClose, false);  // the form and its window are reused
        setWidget(f);
    }
    ~SubWindow() override {
        if (form_) {
            form_->closed();
            form_->sub_ = nullptr;
        }
    }
    void detach() { form_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* e) override {
        if (form_ && form_->loaded_ && !form_->inUnload_) {
            int cancel = 0;
            form_->Form_Unload(cancel);
            if (cancel) {
                e->ignore();
                return;
            }
            form_->closed();
            QMdiSubWindow::closeEvent(e);
            if (e->isAccepted()) {
                hide();  // as the close will, but before the next window is activated
                if (MainWindow* m = mainWindow()) m->activateNext();
            }
            return;
        }
        QMdiSubWindow::closeEvent(e);
    }

private:
    Form* form_;
};

// ------------------------------------------------------------ MainWindow ---

namespace {

// Title bar and border of a child window: what its outer size adds to the
// form inside it.
QSize subFrame(const QMdiSubWindow* s) {
    const QMargins m = s->contentsMargins();
    return {m.left() + m.right(), m.top() + m.bottom()};
}
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
    setCentralWidget(mdi_);
    // A child window larger than the visible area is reached by scrolling.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (!theMain) theMain = this;
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::subActivated);
}

MainWindow::~MainWindow() {
    // The child windows go with the MDI area; the forms go with them (Qt
    // ownership), each told first so that none keeps a dangling window.
    disconnect(mdi_, nullptr, this, nullptr);
    current_ = nullptr;
    if (theMain == this) theMain = nullptr;
}

MainWindow* MainWindow::instance() {
    if (!theMain) new MainWindow;  // the constructor registers it
    return theMain;
}

void MainWindow::keepInside(QMdiSubWindow* w) const {
    // Only a shown main window has a visible area to fit into; before it is
    // shown the places stay as given (the start-up shows it first).
    if (!w || !isVisible()) return;
    const QSize area = mdi_->viewport()->size();
    // A laid-out window larger than the area (the project window on a
    // laptop, whose taskbar and title bar leave the main window about 700
    // pixels of the 768) gives up its spare room, as far as its controls
    // allow, so that it is seen whole and a gap's width from the edges rather
    // than through scroll bars.
    if (const auto* f = qobject_cast<const Form*>(w->widget()); f && f->layout() && !w->isMaximized()) {
        const QSize least = f->layout()->minimumSize() + subFrame(w);
        const QSize room = area - QSize(2 * kEdgeGap, 2 * kEdgeGap);
        const QSize fitted(w->width() > room.width() ? std::max(least.width(), room.width()) : w->width(),
                           w->height() > room.height() ? std::max(least.height(), room.height()) : w->height());
        if (fitted != w->size()) w->resize(fitted);
    }
    QPoint p = w->pos();
    // Moved left or up just enough to end a little inside the area's edge,
    // its frame clear of it, never past its top left corner: a larger window
    // keeps its top left in view and the area's scroll bars reach the rest.
    if (p.x() + w->width() > area.width()) p.setX(area.width() - w->width() - kEdgeGap);
    if (p.y() + w->height() > area.height()) p.setY(area.height() - w->height() - kEdgeGap);
    p.setX(std::max(0, p.x()));
    p.setY(std::max(0, p.y()));
    if (p != w->pos()) w->move(p);
}

void MainWindow::activateNext() {
    if (current_) return;
    const auto list = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        auto* f = qobject_cast<Form*>((*it)->widget());
        if (!f || !f->loaded_ || (*it)->isHidden()) continue;
        // The topmost window is disabled: it waits for something (the
        // printout its selection window started) and keeps its place in
        // front rather than a window behind it coming over it.
        if (f->enabled_) f->activate();
        return;
    }
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (onClose && !onClose()) {
        e->ignore();
        return;
    }
    QMainWindow::closeEvent(e);
}

void MainWindow::subActivated(QMdiSubWindow* w) {
    // nullptr: the main window lost the focus to a dialog or another
    // program; the active child stays the active one.
    if (!w) return;
    ++activations_;
    Form* f = qobject_cast<Form*>(w->widget());
    if (!f || f == current_ || !f->loaded_) return;
    ++stackings_;
    Form* prev = current_;
    current_ = f;
    ++inActivation_;
    try {
        if (prev && prev->active_) prev->activated(false);
        // A Deactivate handler may have taken the activation back.
        if (current_ == f && !f->active_) f->activated(true);
    } catch (...) {
        --inActivation_;
        throw;
    }
    if (--inActivation_ == 0) settleLater();
}

void MainWindow::settleLater() {
    // The handlers ran inside the MDI area's activation of a window: one
    // that keeps the focus while it is open took the activation back in its
    // Deactivate, the printout selection brought itself back in front. The
    // area goes on to raise the window it was activating, which would leave
    // that one in front of the window the handlers made active: the dealer
    // would click the active window in vain, its buttons hidden. So the
    // window the handlers left in front is raised again once the area is
    // done, unless a raise or activation of ours came in between.
    const auto order = mdi_->subWindowList(QMdiArea::StackingOrder);
    QMdiSubWindow* front = nullptr;
    for (auto it = order.rbegin(); it != order.rend() && !front; ++it)
        if (!(*it)->isHidden()) front = *it;
    const unsigned stacking = stackings_;
    QTimer::singleShot(0, this, [this, stacking, front = QPointer<QMdiSubWindow>(front)] {
        if (stacking == stackings_ && front && !front->isHidden()) front->raise();
    });
}

// ------------------------------------------------------------------ Form ---

Form::Form(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    setWindowTitle(name);
}

Form::~Form() {
    if (theMain && theMain->current_ == this) theMain->current_ = nullptr;
    if (sub_) {
        auto* s = static_cast<SubWindow*>(sub_);
        sub_ = nullptr;
        s->detach();
        s->setWidget(nullptr);  // gives this widget up, so deleting s does not delete it again
        delete s;
    }
}

void Form::activated(bool on) {
    active_ = on;
    if (on) Form_Activate();
    else Form_Deactivate();
}

void Form::createSubWindow() {
    auto* s = new SubWindow(this);
    sub_ = s;
    s->setWindowTitle(windowTitle());
    s->setEnabled(enabled_);
    MainWindow::instance()->mdi()->addSubWindow(s);
    s->hide();  // shown when loaded
}

void Form::closed() {
    // The window is going away (Unload or close box): not loaded, and not
    // the active window any more, without a Deactivate.
    loaded_ = false;
    active_ = false;
    if (theMain && theMain->current_ == this) theMain->current_ = nullptr;
}

void Form::Load() {
    if (loaded_) return;
    if (!sub_) createSubWindow();
    if (!built_) {
        built_ = true;
        build();
    }
    if (!sized_) fitControls();
    loaded_ = true;
    Form_Load();
    if (!loaded_) return;  // it unloaded itself
    if (sub_->isHidden()) {
        QWidget::show();
        sub_->show();
    }
    MainWindow::instance()->keepInside(sub_);
    activate();
    // The box the focus lands in as the window opens starts with its text
    // selected, as a Tab into it does: a figure typed at once replaces the
    // one shown ("0.00" and 10 is 10, never 0.0010). A click afterwards
    // follows the box's own rule.
    if (auto* box = qobject_cast<TextBox*>(focusWidget())) box->selectAll();
}

void Form::fitControls() {
    // No size given: the window fits its controls with a small margin.
    QRect r;
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && !(w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide)))
            r |= w->geometry();
    }
    const QSize inner(r.right() + 1 + px(120), r.bottom() + 1 + px(120));
    sub_->resize(inner + subFrame(sub_));
}

void Form::activate() {
    if (!loaded_ || !sub_ || !enabled_) return;
    MainWindow* m = MainWindow::instance();
    const unsigned before = m->activations_;
    m->mdi()->setActiveSubWindow(sub_);
    // Without a window system (tests) the MDI area may not report the
    // change; run the handlers ourselves. subActivated ignores a repeat.
    if (m->activations_ == before && m->current_ != this) m->subActivated(sub_);
}

void Form::Show() {
    Load();
    if (!loaded_) return;
    if (sub_->isHidden()) {
        QWidget::show();
        sub_->show();
    }
    raiseSub();
    activate();
}

void Form::raiseSub() {
    ++MainWindow::instance()->stackings_;
    sub_->raise();
    // A disabled window waits for the window that disabled it (the customer
    // window over the project window, the printout selection): brought to
    // the front, it stays behind the active window all the same.
    Form* active = theMain ? theMain->current_ : nullptr;
    if (!enabled_ && active && active != this && active->loaded_ && active->sub_ && !active->sub_->isHidden())
        active->sub_->raise();
}

void Form::Hide() {
    if (!sub_) return;
    const bool wasCurrent = theMain && theMain->current_ == this;
    sub_->hide();
    if (wasCurrent && theMain->current_ == this) {
        theMain->current_ = nullptr;
        if (active_) activated(false);
        theMain->activateNext();
    }
}

void Form::Move(int left, int top, int width, int height) {
    const bool load = !loaded_;
    if (!sub_) createSubWindow();
    if (width >= 0 && height >= 0) {
        sized_ = true;
        sub_->setGeometry(px(left), px(top), px(width), px(height));
    } else {
        sub_->move(px(left), px(top));
    }
    if (load) Show();
    else if (loaded_) MainWindow::instance()->keepInside(sub_);
}

void Form::SetSize(int width, int height) {
    if (!sub_) createSubWindow();
    sized_ = true;
    sub_->resize(px(width), px(height));
}

int Form::Left() const { return sub_ ? twips(sub_->x()) : 0; }
int Form::Top() const { return sub_ ? twips(sub_->y()) : 0; }
int Form::Width() const { return sub_ ? twips(sub_->width()) : 0; }
int Form::Height() const { return sub_ ? twips(sub_->height()) : 0; }

bool Form::Unload() {
    if (!loaded_) return true;
    if (inUnload_) return false;
    int cancel = 0;
    inUnload_ = true;
    try {
        Form_Unload(cancel);
    } catch (...) {
        inUnload_ = false;
        throw;
    }
    if (cancel) {
        inUnload_ = false;
        return false;
    }
    closed();
    sub_->close();  // inUnload_ keeps the close box path from asking again
    inUnload_ = false;
    // The next load is enabled, whatever the window was as it went
    // (disabled while a window it opened was up, as the program ended):
    // its buttons answer again.
    if (!enabled_) SetEnabled(true);
    if (theMain) theMain->activateNext();
    return true;
}

void Form::SetEnabled(bool on) {
    enabled_ = on;
    setEnabled(on);
    if (sub_) sub_->setEnabled(on);  // a disabled child window cannot become active
}

bool Form::Enabled() const { return enabled_; }

void Form::SetVisible(bool on) {
    if (on) Show();
    else Hide();
}

void Form::ZOrder(int pos) {
    if (pos == 0) {
        Load();
        if (loaded_ && !sub_->isHidden()) {
            raiseSub();
            activate();
        }
    } else if (sub_) {
        sub_->lower();
    }
}

void Form::SetCaption(const QString& caption) {
    setWindowTitle(caption);
    if (sub_) sub_->setWindowTitle(caption);
}

bool Form::isActive() const { return active_; }

void Form::place(QWidget* w, int left, int top, int width, int height) {
    if (w->parentWidget() != this) w->setParent(this);
    w->setGeometry(px(left), px(top), px(width), px(height));
    if (isVisible() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide)) w->show();
}

// --------------------------------------------------------------- TextBox ---

TextBox::TextBox(QWidget* parent, int index) : QLineEdit(parent), index_(index) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (acceptText() && Change) Change(index_);
    });
}

namespace {

// The character code the program's key handlers see: the Windows code page
// value of a typed character, 8 for Backspace, 127 for Delete, 27 for Esc;
// 0 for every other key (arrows, Tab, Enter, shortcuts), which passes by.
int keyCode(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Delete: return 127;
        case Qt::Key_Escape: return 27;
        default: break;
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return 0;
    const QString t = e->text();
    if (t.size() != 1 || !t[0].isPrint()) return 0;
    const std::string b = cp1252::fromUtf8(t.toStdString());
    return b.size() == 1 ? static_cast<unsigned char>(b[0]) : 0;
}

}  // namespace

void TextBox::keyPressEvent(QKeyEvent* e) {
    const int code = keyCode(e);
    if (!code || isReadOnly()) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    int key = code;
    filterKey(key);
    if (key && KeyPress) KeyPress(index_, key);
    if (key == code) {
        QLineEdit::keyPressEvent(e);
    } else if (key == 0) {
        e->accept();  // dropped
    } else if (key == 8) {
        backspace();
    } else if (key == 127) {
        del();
    } else if (key >= 32 && key <= 255) {
        insert(QString::fromStdString(cp1252::Chr(static_cast<unsigned char>(key))));
    }
}

void TextBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // The window coming back from a dialog or another program is no new
    // focus for the box.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason && GotFocus) GotFocus(index_);
}

void TextBox::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // A message box shown from the handler itself must not run it again.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason && LostFocus)
        LostFocus(index_);
}

// -------------------------------------------------------------- ComboBox ---

ComboBox::ComboBox(QWidget* parent, int index, bool editable) : QComboBox(parent), index_(index) {
    setEditable(editable);
    if (editable) setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!quiet_ && Click) Click(index_);
    });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!quiet_ && Change) Change(index_);
    });
}

void ComboBox::keyPressEvent(QKeyEvent* e) {
    const bool arrow = e->key() == Qt::Key_Down || e->key() == Qt::Key_Up || e->key() == Qt::Key_PageDown ||
                       e->key() == Qt::Key_PageUp;
    if (arrow && isEditable() && currentIndex() < 0) {
        // The shown text is an entry that the program set rather than
        // selected: it becomes the entry the key moves from, quietly, as
        // nothing the dealer sees changes.
        if (const int shown = findText(currentText()); shown >= 0) {
            quiet_ = true;
            setCurrentIndex(shown);
            quiet_ = false;
        }
    }
    QComboBox::keyPressEvent(e);
}

void ComboBox::AddItem(const QString& s) {
    const int before = currentIndex();
    const QString text = isEditable() ? currentText() : QString();
    quiet_ = true;
    addItem(s);
    if (currentIndex() != before) {
        setCurrentIndex(before);
        if (isEditable()) setEditText(text);
    }
    quiet_ = false;
}

void ComboBox::Clear() {
    quiet_ = true;
    clear();
    quiet_ = false;
}

void ComboBox::RemoveItem(int i) {
    quiet_ = true;
    removeItem(i);
    quiet_ = false;
}

int ComboBox::SelectText(const QString& s) {
    const QString want = s.trimmed();
    for (int i = 0; i < count(); ++i) {
        if (itemText(i).trimmed() == want) {
            setCurrentIndex(i);
            return i;
        }
    }
    return -1;
}

void ComboBox::SetText(const QString& t) {
    if (isEditable()) setEditText(t);
    else SelectText(t);
}

// ----------------------------------------------------- CheckBox, options ---

CheckBox::CheckBox(const QString& caption, QWidget* parent, int index) : QCheckBox(caption, parent), index_(index) {
    connect(this, &QCheckBox::toggled, this, [this] {
        if (Click) Click(index_);
    });
}

OptionButton::OptionButton(const QString& caption, QWidget* parent, int index)
    : QRadioButton(caption, parent), index_(index) {
    connect(this, &QRadioButton::toggled, this, [this](bool on) {
        if (on && Click) Click(index_);
    });
}

void OptionButton::SetValue(bool v) {
    if (v || !isChecked()) {
        setChecked(v);
        return;
    }
    // Qt refuses to clear the selected button of an exclusive group.
    const bool excl = autoExclusive();
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(excl);
}

CommandButton::CommandButton(const QString& caption, QWidget* parent, int index)
    : QPushButton(caption, parent), index_(index) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (Click) Click(index_);
    });
}

void CommandButton::keyPressEvent(QKeyEvent* e) {
    // Qt presses a button on Enter only as a dialog's default button, and
    // the buttons here are no default buttons (autoDefault off), so that
    // an Enter in a box presses nothing. On the desktop the program was
    // made for, Enter presses the focused button as Space does. A held key
    // presses it once: no printout or save twice.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !(e->modifiers() & ~Qt::KeypadModifier)) {
        e->accept();
        if (!e->isAutoRepeat()) click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

}  // namespace plat
