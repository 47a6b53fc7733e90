// The one check that a window shows what it holds, as a dealer sees it:
// - every visible control lies inside its window (or the group it sits in)
//   and covers no other visible control beside it;
// - no caption is cut: a label's, a button's or a group's text, a box's
//   figure and the window's title each fit the room they are given (a
//   label's lines in height too), and no button stands there without a
//   caption;
// - one font family throughout: the program's, and the program's fixed-pitch
//   one only in a list that lines its entries up in columns.
// Used by the window tour for every window and every message box.
#pragma once

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionTitleBar>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <vector>

namespace testsupport {

namespace fitdetail {

inline std::string named(const QWidget* w) {
    const std::string n = w->objectName().toStdString();
    const QRect r = w->geometry();
    return std::string(w->metaObject()->className()) + (n.empty() ? "" : " " + n) + " (" + std::to_string(r.x()) + "," +
           std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
}

// Widgets that only hold other controls: their children are controls too.
inline bool holder(const QWidget* w) {
    const char* cls = w->metaObject()->className();
    return qstrcmp(cls, "QWidget") == 0 || qstrcmp(cls, "QFrame") == 0 || qobject_cast<const QGroupBox*>(w) ||
           qobject_cast<const QStackedWidget*>(w) || qobject_cast<const QDialogButtonBox*>(w);
}

// What a desktop's window manager takes of a title bar besides the title:
// the icon and three buttons of 46 pixels, the widest in common use.
constexpr int kDesktopTitleBar = 32 + 3 * 46;

// The room a title bar of this width leaves for its title, with the
// buttons and icon of a window with these flags; a window of its own (a
// message box) has the desktop's title bar.
inline int title_room(const QWidget* w, int width, Qt::WindowFlags flags) {
    QStyleOptionTitleBar o;
    o.initFrom(w);
    o.titleBarFlags = flags | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    o.titleBarState = 0;
    o.subControls = QStyle::SC_All;
    const int h = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, &o, w);
    o.rect = QRect(0, 0, width, h);
    const int room = w->style()->subControlRect(QStyle::CC_TitleBar, &o, QStyle::SC_TitleBarLabel, w).width();
    return w->isWindow() ? std::min(room, width - kDesktopTitleBar) : room;
}

// The text a control shows in one line and the room it has for it, or no
// text when it shows none that could be cut.
inline int text_room(const QWidget* w, QString& text) {
    const QStyle* st = w->style();
    if (auto* l = qobject_cast<const QLabel*>(w); l && !l->wordWrap() && l->textFormat() != Qt::RichText) {
        text = l->text();
        if (Qt::mightBeRichText(text) && l->textFormat() == Qt::AutoText) text.clear();
        if (l->buddy()) text.remove('&');  // a mnemonic, shown underlined
        return l->contentsRect().width() - 2 * l->margin() - 2 * l->indent() * (l->indent() > 0);
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        text = b->text().remove('&');
        if (w->inherits("QCheckBox") || w->inherits("QRadioButton")) {
            const bool check = w->inherits("QCheckBox");
            const int mark = st->pixelMetric(check ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth);
            const int gap =
                st->pixelMetric(check ? QStyle::PM_CheckBoxLabelSpacing : QStyle::PM_RadioButtonLabelSpacing);
            return w->width() - mark - gap;
        }
        const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
        return w->width() - st->pixelMetric(QStyle::PM_ButtonMargin) -
               2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth) - icon;
    }
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        text = e->echoMode() == QLineEdit::Normal ? e->text() : QString();
        const int frame = e->hasFrame() ? st->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return w->width() - 2 * frame - 4;  // QLineEdit's own margin of 2 each side
    }
    if (auto* c = qobject_cast<const QComboBox*>(w)) {
        text = c->currentText();
        QStyleOptionComboBox o;
        o.initFrom(c);
        o.editable = c->isEditable();
        return st->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c).width() - 4;
    }
    if (auto* g = qobject_cast<const QGroupBox*>(w)) {
        text = g->title().remove('&');
        return w->width() - (g->isCheckable() ? st->pixelMetric(QStyle::PM_IndicatorWidth) + 4 : 0) - 12;
    }
    return 0;
}

inline void check_font(const QWidget* w, const QString& family, const std::string& where,
                       std::vector<std::string>& out) {
    const QFontInfo fi(w->font());
    if (fi.family() == family) return;
    const bool list = qobject_cast<const QListWidget*>(w) || qobject_cast<const QComboBox*>(w);
    if (list && fi.fixedPitch()) return;  // columns of a list line up
    out.push_back(where + ": " + named(w) + " in " + fi.family().toStdString() + ", not " + family.toStdString());
}

inline void check_controls(const QWidget* parent, const QWidget* top, const std::string& where,
                           std::vector<std::string>& out) {
    const QString family = QFontInfo(QApplication::font()).family();
    std::vector<const QWidget*> shown;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisibleTo(top)) continue;
        shown.push_back(w);
    }
    // Inside the holder: a group's or a window's inner room.
    const QRect room = parent->rect();
    for (size_t i = 0; i < shown.size(); ++i) {
        const QWidget* w = shown[i];
        const QRect r = w->geometry();
        if (!room.contains(r)) out.push_back(where + ": " + named(w) + " sticks out of its window");
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (r.intersects(shown[j]->geometry()))
                out.push_back(where + ": " + named(w) + " and " + named(shown[j]) + " cover each other");
        QString text;
        const int space = text_room(w, text);
        int widest = 0;
        for (const QString& line : text.split('\n'))
            widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
        if (!text.isEmpty() && widest > space)
            out.push_back(where + ": \"" + text.toStdString() + "\" is cut in " + named(w));
        if (auto* l = qobject_cast<const QLabel*>(w);
            l && !l->wordWrap() && !text.isEmpty() && l->minimumSizeHint().height() > l->height())
            out.push_back(where + ": \"" + text.toStdString() + "\" is cut at the top or bottom in " + named(w));
        if (auto* l = qobject_cast<const QLabel*>(w); l && l->wordWrap() && l->heightForWidth(l->width()) > l->height())
            out.push_back(where + ": the lines of " + named(w) + " are cut");
        if (auto* b = qobject_cast<const QPushButton*>(w); b && b->text().isEmpty() && b->icon().isNull())
            out.push_back(where + ": " + named(w) + " is a button without a caption");
        check_font(w, family, where, out);
        if (holder(w)) check_controls(w, top, where, out);
    }
}

}  // namespace fitdetail

// Everything wrong with how `window` shows, one line each; empty when it
// shows well. `title_flags` are the title bar's buttons (the child
// window's flags, or a dialog's); `title_width` the title bar's width.
inline std::vector<std::string> misfits(const QWidget* window, const std::string& where, const QString& title,
                                        int title_width, Qt::WindowFlags title_flags) {
    std::vector<std::string> out;
    fitdetail::check_controls(window, window, where, out);
    const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
    if (fm.horizontalAdvance(title) > fitdetail::title_room(window, title_width, title_flags))
        out.push_back(where + ": the title \"" + title.toStdString() + "\" is cut");
    return out;
}

}  // namespace testsupport
