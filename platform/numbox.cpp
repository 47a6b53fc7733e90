#include "platform/numbox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

#include "core/numtext.h"

namespace plat {

NumBox::NumBox(QWidget* parent, int index) : TextBox(parent, index) {}

void NumBox::StartReplacing() {
    if (!replaces_) return;
    first_key_ = true;
    selectAll();
}

void NumBox::refuse() {
    if (Refused) Refused();
}

void NumBox::filterKey(int& key) {
    ++keys_;
    if (key == 27) {
        key = 0;
        if (Escape) Escape();
        return;
    }
    bool ok = (key >= '0' && key <= '9') || key == 8 || key == 127 || (key == '.' && every_point_);
    if (key == '.' && !every_point_) {
        // One decimal point: a second one is refused, unless the point
        // already there is about to be replaced.
        QString rest = text();
        if (first_key_) rest.clear();
        else if (hasSelectedText()) rest.remove(selectionStart(), selectedText().size());
        ok = !rest.contains('.');
    }
    if (!ok) {
        key = 0;
        refuse();
        return;
    }
    if (first_key_ || (key >= '0' && key <= '9' && text() == "0")) {
        selectAll();  // the key replaces the whole text
        first_key_ = false;
    }
}

void NumBox::keyPressEvent(QKeyEvent* e) {
    const bool paste = e->matches(QKeySequence::Paste);
    if (paste && first_key_) {
        // Pasted as the first key: the paste replaces the whole text, as a
        // typed first key does.
        first_key_ = false;
        selectAll();
    }
    if (!paste) ++typing_;
    TextBox::keyPressEvent(e);
    if (!paste) --typing_;
}

bool NumBox::acceptText() {
    if (restoring_ > 0) return false;
    // Pasted before the lone 0 of an emptied box (the caret stands before
    // it): the paste takes the 0's place, as a typed digit does. A key's own
    // edits are left alone, and a text the window sets leaves the caret at
    // its end.
    if (typing_ == 0 && last_good_ == "0" && text().size() > 1 && text().endsWith('0') &&
        cursorPosition() == text().size() - 1) {
        setText(text().chopped(1));  // runs this check again, with the 0 gone
        return false;
    }
    // A number copied from a spreadsheet cell ends with its line break
    // ("1,200\r\n"): the white space around a pasted text that holds a line
    // end is dropped before it is judged. Blanks and tabs alone the number
    // reading passes over, and a masked box's own blanks (" .") stay.
    const QString trimmed = text().trimmed();
    if (typing_ == 0 && trimmed != text() && (text().contains('\r') || text().contains('\n'))) {
        setText(trimmed);  // runs this check again, trimmed
        return false;
    }
    double v = 0;
    QString t = text();
    if (every_point_) t.remove('.');  // the points a key may add are the window's to read
    if (numtext::clean_number(t.toStdString(), v)) {
        last_good_ = text();
        return true;
    }
    // Pasted or set text that is no number: refused like a key, and the
    // last good text comes back (nothing runs for either).
    refuse();
    ++restoring_;
    setText(last_good_);
    --restoring_;
    return false;
}

void NumBox::focusInEvent(QFocusEvent* e) {
    TextBox::focusInEvent(e);
    // A popup (the box's own context menu) closing is no new focus.
    if (isReadOnly() || e->reason() == Qt::PopupFocusReason) return;
    StartReplacing();
    // A mouse click places the cursor after the focus came: select again
    // once it has (unless a key came first).
    const unsigned keys = keys_;
    QTimer::singleShot(0, this, [this, keys] {
        if (hasFocus() && keys_ == keys) StartReplacing();
    });
}

void NumBox::focusOutEvent(QFocusEvent* e) {
    first_key_ = false;
    TextBox::focusOutEvent(e);
}

}  // namespace plat
