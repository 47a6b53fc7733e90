// The number box of the finance windows: the program's shared number box
// with what these windows add: every decimal point passes ("1.2.3" typed is
// read as 1.2), Enter is a refused key like any other, and a box may refuse
// the decimal point or take a comma. Whether the first key replaces the
// text is the window's choice.
#pragma once

#include <QEvent>
#include <QKeyEvent>

#include <functional>

#include "app/data.h"
#include "platform/numbox.h"

class FinBox : public plat::NumBox {
public:
    explicit FinBox(QWidget* parent, int index, bool point = true, bool comma = false)
        : plat::NumBox(parent, index), point_(point), comma_(comma) {
        SetEveryPoint(point);
    }

protected:
    void filterKey(int& key) override {
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
