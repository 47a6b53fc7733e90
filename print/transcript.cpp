#include "print/transcript.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

#include "core/vbtext.h"

namespace prn {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Font units of the metric-compatible Liberation families (2048 per em):
// Courier pitch 0.6 em (Liberation Mono: 1229), ascent 1705, descent 615, no line gap;
// Liberation Sans ascent 1854, descent 434, line gap 67, and Arial's average
// character width 904 (the width Windows gives for its character columns).
constexpr double kEm = 2048;

std::string describe(const Font& f) {
    std::ostringstream o;
    o << '"' << f.name << "\" " << vb::CStrSingle(f.size);
    if (f.bold) o << " bold";
    if (f.italic) o << " italic";
    if (f.underline) o << " underline";
    if (f.strikethru) o << " strikethru";
    return o.str();
}

// One line laid out in the cells of its starting font; font changes are
// reported through `onFont(run, column0)`.
template <class OnFont> std::string layout(const Line& line, OnFont onFont) {
    std::string out;
    std::size_t used = 0;  // characters in `out`
    if (line.runs.empty()) return out;
    const double cell = metrics(line.font).cell;
    for (const Run& r : line.runs) {
        auto col = static_cast<std::size_t>(std::max(0.0, std::round(r.x / cell)));
        if (col < used) col = used;  // a wide run before: keep the text readable
        onFont(r, col);
        out.append(col - used, ' ');
        out += r.text;
        used = col + vb::Len(r.text);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

}  // namespace

bool isFixedPitch(const std::string& fontName) {
    const std::string n = lower(fontName);
    return n != "arial" && n != "liberation sans";
}

Metrics metrics(const Font& f) {
    const double s = f.size;
    if (isFixedPitch(f.name)) return {0.6 * s, 1705 / kEm * s, (1705 + 615) / kEm * s};
    return {904 / kEm * s, 1854 / kEm * s, (1854 + 434 + 67) / kEm * s};
}

std::vector<std::string> Document::pageText(std::size_t page) const {
    std::vector<std::string> v;
    if (page >= pages.size()) return v;
    for (const Line& l : pages[page].lines) v.push_back(layout(l, [](const Run&, std::size_t) {}));
    return v;
}

std::string dump(const Document& doc) {
    std::ostringstream o;
    const Font* last = nullptr;
    for (std::size_t p = 0; p < doc.pages.size(); ++p) {
        o << "#page " << p + 1 << '\n';
        for (const Line& l : doc.pages[p].lines) {
            std::string directives;
            const std::string text = layout(l, [&](const Run& r, std::size_t col) {
                if (!last || !(*last == r.font)) {
                    directives += "#font " + describe(r.font);
                    if (!(r.font == l.font)) directives += " @" + std::to_string(col + 1);
                    directives += '\n';
                    last = &r.font;
                }
            });
            o << directives << '|' << text << '\n';
        }
    }
    return o.str();
}

}  // namespace prn
