// Enter typed in a finance number box is a key like any other for the
// box's KeyPress rule (which refuses it), not the platform's "accept" key.
#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

#include "platform/form.h"

class EnterKey : public QObject {
public:
    explicit EnterKey(plat::TextBox* box) : QObject(box), box_(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != box_ || e->type() != QEvent::KeyPress || !box_->KeyPress) return false;
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k != Qt::Key_Return && k != Qt::Key_Enter) return false;
        int key = 13;
        box_->KeyPress(box_->index(), key);
        return true;  // a box holds no line break
    }

private:
    plat::TextBox* box_;
};
