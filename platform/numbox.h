// A numeric text box: the typing rules every number box of the program
// follows, kept here once.
// - Keys: digits, Backspace, Delete and one decimal point pass (a point is
//   refused while the text keeps another one); Esc is dropped (Escape runs); any other
//   character is dropped and Refused runs (the numbers-only warning).
// - The first key after the box got the focus, also when the window gets it
//   back from a message box, replaces the whole text: a click inside, a
//   double-click on part of it or a cursor key (Home, End, the arrows) in
//   between changes nothing of that. A figure is typed afresh, never into
//   the old one ("$0.00" and 500 is $500, never $5,000).
// - A text that is no clean number (pasted) is refused like a key: Refused
//   runs, the last good text comes back and Change does not run.
// - A digit typed into a box that holds just "0" replaces the 0, wherever
//   the cursor stands: "12" typed there is 12, never 120 or 012. A paste
//   (or drop) there replaces the 0 too: "1,200" is 1,200, never 1,2000.
// Windows whose boxes follow other rules say so (SetEveryPoint,
// SetFirstKeyReplaces). The window's KeyPress handler sees only the keys
// that pass.
#pragma once

#include <QString>

#include <functional>

#include "platform/form.h"

namespace plat {

class NumBox : public TextBox {
    Q_OBJECT
public:
    explicit NumBox(QWidget* parent = nullptr, int index = 0);

    // The numbers-only warning (set by the window: numbers_only).
    std::function<void()> Refused;
    // Esc typed (dropped silently unless the window resets the box here).
    std::function<void()> Escape;

    // Selects the whole text: the next key replaces it.
    void StartReplacing();
    // Every decimal point passes, and a text of digits and points is taken:
    // the window reads the number at its start ("1.2.3" is 1.2).
    void SetEveryPoint(bool on) { every_point_ = on; }
    // Off: the first key after the focus edits at the cursor like any other.
    void SetFirstKeyReplaces(bool on) { replaces_ = on; }
    // The text that comes back when a refused text is pasted or set.
    QString LastGood() const { return last_good_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void filterKey(int& key) override;
    bool acceptText() override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void refuse();

    QString last_good_;
    bool every_point_ = false;
    bool replaces_ = true;
    bool first_key_ = false;  // the next key replaces the text
    unsigned keys_ = 0;       // keys typed (the late select after a click)
    int restoring_ = 0;       // > 0 while the last good text comes back
    int typing_ = 0;          // > 0 while a typed key (no paste) edits the text
};

}  // namespace plat
