// Print-line helpers of the finance pages: every statement goes to the
// printer with the "Check the paper" question on printer faults.
#pragma once

#include <string>

#include "app/model.h"
#include "core/currency.h"
#include "core/vbtext.h"
#include "printouts/page.h"

namespace finpage {

inline constexpr const char* kWhole = "$###,##0";     // whole dollars in the saving tables
inline constexpr const char* kCents = "$###,##0.00";  // amounts of the data pages
inline constexpr const char* kPayment = "$#,##0.00";  // payments

inline void line(const PrintLine& l) { print_line(l, kCheckPaper); }
inline void blank(int n = 1) {
    for (int i = 0; i < n; ++i) line(PrintLine{});
}
inline int len(const std::string& t) { return static_cast<int>(vb::Len(t)); }
// A text right-aligned in the field of width w that starts at column c
// after the left margin: it ends in column left_margin + c + w - 1.
inline PrintLine& field(PrintLine& l, int c, int w, const std::string& t) {
    return l.tab(g.left_margin + c + w - len(t)).text(t);
}
// Whole dollars in an 8-wide field of the saving table.
inline PrintLine& money_field(PrintLine& l, int c, Currency v) {
    return field(l, c, 8, vb::Format(v.toDouble(), kWhole));
}
// w minus the text's length in blanks, then the text (a figure ending in a
// fixed column); `shown` false prints the blanks only.
inline PrintLine& right(PrintLine& l, int w, const std::string& t, bool shown = true) {
    l.spc(w - len(t));
    if (shown) l.text(t);
    return l;
}

// A line of a data page: the label at the left margin, then the figure
// right-aligned in w (see right).
inline void label_figure(const std::string& label, int w, const std::string& figure, bool shown = true) {
    PrintLine l;
    l.tab(g.left_margin).text(label);
    line(right(l, w, figure, shown));
}

}  // namespace finpage
