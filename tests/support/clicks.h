// The mouse and the keyboard as the dealer uses them, for the window tests:
// a click, a drag or a key delivered through the main window's window-system
// window, so that a click goes to whatever is on top at that point and gives
// the focus and activation a real click gives, and a key goes to the control
// that has the focus.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegion>
#include <QTest>
#include <QWindow>

#include <optional>

namespace testclicks {

// Left click at `at` in `w`'s coordinates.
inline void click(QWidget* w, QPoint at) {
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, at));
}

// Left button pressed at `at` in `w`'s coordinates, moved by `by`, released.
inline void drag(QWidget* w, QPoint at, QPoint by) {
    QWidget* top = w->window();
    const QPoint from = w->mapTo(top, at);
    QTest::mousePress(top->windowHandle(), Qt::LeftButton, {}, from);
    QTest::mouseMove(top->windowHandle(), from + by / 2);
    QTest::mouseMove(top->windowHandle(), from + by);
    QTest::mouseRelease(top->windowHandle(), Qt::LeftButton, {}, from + by);
}

// A key pressed and released while `w`'s window has the focus.
inline void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w->window()->windowHandle(), k, mods);
}

// The part of child window `s` that no child window above it covers, in
// `s`'s own coordinates.
inline QRegion uncovered(const QMdiSubWindow* s) {
    const QMdiArea* area = s->mdiArea();
    QRegion free = QRegion(s->geometry()) & QRegion(area->viewport()->rect());
    const auto order = area->subWindowList(QMdiArea::StackingOrder);
    for (auto i = order.indexOf(const_cast<QMdiSubWindow*>(s)) + 1; i < order.size(); ++i)
        if (order[i]->isVisible()) free -= order[i]->geometry();
    return free.translated(-s->pos());
}

// A point of `s`'s title bar the dealer can click: uncovered, clear of the
// menu icon at its left and the buttons at its right.
inline std::optional<QPoint> title_spot(const QMdiSubWindow* s) {
    const int bar = s->contentsMargins().top();
    const QRegion free = uncovered(s) & QRect(40, 2, s->width() - 160, bar - 4);
    if (free.isEmpty()) return std::nullopt;
    return free.begin()->center();
}

// A point inside `s` the dealer can click to pick the window without
// pressing anything: uncovered, on the window's background, a label, a
// frame or a text box, never on a button, a tick box or a list.
inline std::optional<QPoint> body_spot(const QMdiSubWindow* s) {
    const QRegion free = uncovered(s) & s->contentsRect();
    for (const QRect& r : free)
        for (int y = r.top() + 2; y < r.bottom() - 2; y += 6)
            for (int x = r.left() + 2; x < r.right() - 2; x += 6) {
                const QWidget* at = s->childAt(x, y);
                if (at && (qobject_cast<const QAbstractButton*>(at) || qobject_cast<const QComboBox*>(at) ||
                           qobject_cast<const QComboBox*>(at->parentWidget())))
                    continue;
                if (at && at->inherits("QAbstractItemView")) continue;
                if (at && at->parentWidget() && at->parentWidget()->inherits("QAbstractItemView")) continue;
                return QPoint(x, y);
            }
    return std::nullopt;
}

}  // namespace testclicks
