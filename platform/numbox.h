// A numeric text box: the typing rules every number box of the program
// follows, kept here once.
// - Keys: digits, Backspace, Delete and one decimal point pass (a point is
//   refused while the text keeps another one); Esc is dropped; any other
//   character is dropped and Refused runs (the numbers-only warning).
// - The first key after the box got the focus, also when the window gets it
//   back from a message box, replaces the whole text, unless the user has
//   placed the cursor or changed the selection first.
// - A text that is no clean number (pasted) is refused like a key: Refused
//   runs, the last good text comes back and Change does not run.
// The window's KeyPress handler sees only the keys that pass.
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

    // Selects the whole text: the next key replaces it.
    void StartReplacing();
    // The text that comes back when a refused text is pasted or set.
    QString LastGood() const { return last_good_; }

protected:
    void filterKey(int& key) override;
    bool acceptText() override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void refuse();

    QString last_good_;
    bool first_key_ = false;  // the next key replaces the text
    unsigned keys_ = 0;       // keys typed (the late select after a click)
    int selecting_ = 0;       // > 0 while the box selects its own text
    int restoring_ = 0;       // > 0 while the last good text comes back
};

}  // namespace plat
