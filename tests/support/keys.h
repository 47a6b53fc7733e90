// Focus and keys as the user gives them, for the window tests.
#pragma once

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace testkeys {

inline void focus(QWidget* w, QEvent::Type t = QEvent::FocusIn, Qt::FocusReason why = Qt::TabFocusReason) {
    QFocusEvent e(t, why);
    QCoreApplication::sendEvent(w, &e);
}
inline void leave(QWidget* w) { focus(w, QEvent::FocusOut); }
// Keys as typed: digits, letters, ".", "-", "*", "\b" Backspace, "\x7f"
// Delete, "\x1b" Esc, "\r" Enter, "<" Home, ">" End.
inline void type(QWidget* w, const QString& keys) {
    for (QChar c : keys) {
        int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
        QString text(c);
        if (c == '\b') key = Qt::Key_Backspace;
        if (c == '\x1b') key = Qt::Key_Escape, text = QString(QChar(27));
        if (c == '\r') key = Qt::Key_Return;
        if (c == '\x7f') key = Qt::Key_Delete;
        if (c == '<') key = Qt::Key_Home, text.clear();
        if (c == '>') key = Qt::Key_End, text.clear();
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(w, &e);
    }
}
inline void typeIn(QWidget* w, const QString& keys) {
    focus(w);
    type(w, keys);
}

}  // namespace testkeys
