// One print statement of a fixed-pitch page: items that follow each other
// directly (a move to a character column, a number of blanks, a text), the
// line ended or left open. Columns count from 1; a move to a column the
// print position has already passed continues at that column of the next
// line. The pages build their lines with this and hand them to the printer.
#pragma once

#include <string>
#include <vector>

struct PrintItem {
    enum Kind { kTab, kSpc, kText } kind = kText;
    int n = 0;
    std::string text;
};

struct PrintLine {
    std::vector<PrintItem> items;
    bool open = false;  // the line is not ended: the next statement goes on it

    PrintLine& tab(int col) {
        items.push_back({PrintItem::kTab, col, {}});
        return *this;
    }
    PrintLine& spc(int n) {
        items.push_back({PrintItem::kSpc, n, {}});
        return *this;
    }
    PrintLine& text(std::string t) {
        items.push_back({PrintItem::kText, 0, std::move(t)});
        return *this;
    }
    // The text so that its last character stands in column edge - 1.
    PrintLine& right(int edge, const std::string& t);
    PrintLine& leaveOpen() {
        open = true;
        return *this;
    }
};
