// What a printed document holds: its pages as lines of text at their
// columns, with the font of every run. The printer (printer.h) builds it,
// the Qt backend paints it, and tests compare it with an expected file.
//
// Text dump (dump(), the format of the expected files under tests/):
//
//     #page 1
//     #font "Courier New" 10 bold
//     |
//     |                                 Heat Pump Pool Heating Audit
//     #font "Courier New" 20 bold @8
//     |       ACME POOLS
//
// - "#page n" starts page n.
// - "|" starts every printed line (empty lines too); the text after it is
//   laid out in the character cells of the font the line started in, so a
//   line in one fixed-pitch font reads exactly as printed (column n of the
//   page is character n after the bar). Trailing blanks are left out.
// - "#font ..." comes before a line whose text is printed in a different
//   font than the text before it: name, size in points, and the styles
//   switched on (bold, italic, underline, strikethru). "@n" tells the column
//   (in the line's cells) when the change happened inside the line.
//
// tests/support/expected.h compares a dump with an expected file.
#pragma once

#include <string>
#include <vector>

namespace prn {

struct Font {
    std::string name = "Courier New";
    float size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;

    bool operator==(const Font&) const = default;
};

// Metrics the column arithmetic uses, in points, for the font's size.
struct Metrics {
    double cell;    // average character width: one column
    double ascent;  // baseline below the line top
    double height;  // line spacing
};
// "Courier", "Courier New" and other fixed-pitch names: Liberation Mono's
// metrics (0.6 em cells, metric-compatible with Courier New); "Arial":
// Liberation Sans; any other font is measured as fixed-pitch.
Metrics metrics(const Font& f);
bool isFixedPitch(const std::string& fontName);

struct Run {
    double x = 0;      // start, points from the left edge of the printable area
    int column = 1;    // column in the run's own font where it started
    std::string text;  // UTF-8
    Font font;
};

struct Line {
    double y = 0;       // top of the line, points from the top of the printable area
    double height = 0;  // how far the next line starts below
    Font font;          // the font when the line started: its cells lay out the dump
    std::vector<Run> runs;
};

struct Page {
    std::vector<Line> lines;
};

// Page geometry (Letter, 0.25 in unprintable margin): printable area in points.
inline constexpr double kPaperWidth = 612, kPaperHeight = 792, kMargin = 18;
inline constexpr double kPrintableWidth = kPaperWidth - 2 * kMargin;
inline constexpr double kPrintableHeight = kPaperHeight - 2 * kMargin;

struct Document {
    std::string name;  // what was printed ("printout" when not named)
    std::vector<Page> pages;

    // All text of one page, line by line, laid out as in dump() (no
    // directives): handy for asserting on a single line.
    std::vector<std::string> pageText(std::size_t page) const;
};

std::string dump(const Document& doc);

}  // namespace prn
