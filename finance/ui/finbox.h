// The number box of the finance windows: the program's shared number box
// (first key replaces, digits and one decimal point) with what these
// windows add: Esc empties the box without a word, Enter is a refused key
// like any other, and a box may refuse the decimal point or take a comma.
#pragma once

#include <QEvent>
#include <QKeyEvent>

#include <functional>

#include "app/data.h"
#include "platform/numbox.h"

class FinBox : public plat::NumBox {
public:
    explicit FinBox(QWidget* parent, int index, bool point = true, bool comma = false)
        : plat::NumBox(parent, index), point_(point), comma_(comma) {}

    // Esc typed: the window resets the box.
    std::function<void()> Escape;

protected:
    void filterKey(int& key) override {
        if (key == 27) {
            key = 0;
            if (Escape) Escape();
            return;
        }
        if (key == '.' && !point_) {
            key = 0;
            if (Refused) Refused();
            return;
        }
        if (key == ',' && comma_) {
            int digit = '0';  // a comma passes as a digit would (and replaces first)
            plat::NumBox::filterKey(digit);
            if (digit == 0) key = 0;
            return;
        }
        plat::NumBox::filterKey(key);
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (Refused) Refused();  // a box holds no line break
            return;
        }
        plat::NumBox::keyPressEvent(e);
    }

private:
    bool point_, comma_;
};

// The common rule: a refused key warns, then empties the box; Esc empties
// it silently.
inline void empty_on_refusal(FinBox* b) {
    b->Refused = [b] {
        numbers_only();
        b->SetText("");
    };
    b->Escape = [b] { b->SetText(""); };
}
