#include "print/transcript.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

std::filesystem::path testsDir() {
    const char* src = std::getenv("HEATER_SOURCE_DIR");
    return std::filesystem::path(src ? src : ".") / "tests";
}

std::vector<std::string> splitLines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

bool writeFile(const std::filesystem::path& p, const std::string& text) {
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream f(p, std::ios::binary);
    f << text;
    return static_cast<bool>(f);
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

std::string diffTextWithExpected(const std::string& actual, const std::string& pathUnderTests) {
    const std::filesystem::path expectedPath = testsDir() / pathUnderTests;
    const char* update = std::getenv("HEATER_UPDATE_EXPECTED");
    if (update && std::string(update) == "1") {
        if (writeFile(expectedPath, actual)) return "";
        return "cannot write " + expectedPath.string();
    }
    std::ifstream f(expectedPath, std::ios::binary);
    const std::filesystem::path actualPath = std::filesystem::path("actual") / pathUnderTests;
    if (!f) {
        writeFile(actualPath, actual);
        return "no expected file " + expectedPath.string() + "; the actual text is in " +
               std::filesystem::absolute(actualPath).string() +
               " (HEATER_UPDATE_EXPECTED=1 writes it as the expected file)";
    }
    std::stringstream buf;
    buf << f.rdbuf();
    const std::string expected = buf.str();
    if (expected == actual) return "";

    writeFile(actualPath, actual);
    const auto e = splitLines(expected), a = splitLines(actual);
    std::ostringstream o;
    o << pathUnderTests << " differs (actual text in " << std::filesystem::absolute(actualPath).string() << "):\n";
    int shown = 0;
    for (std::size_t i = 0; i < std::max(e.size(), a.size()) && shown < 8; ++i) {
        const std::string* el = i < e.size() ? &e[i] : nullptr;
        const std::string* al = i < a.size() ? &a[i] : nullptr;
        if (el && al && *el == *al) continue;
        o << "  line " << i + 1 << "\n    expected: " << (el ? "\"" + *el + "\"" : "(none)")
          << "\n    actual:   " << (al ? "\"" + *al + "\"" : "(none)") << '\n';
        ++shown;
    }
    if (shown == 0) o << "  (line ends differ)\n";
    return o.str();
}

std::string diffWithExpected(const Document& doc, const std::string& pathUnderTests) {
    return diffTextWithExpected(dump(doc), pathUnderTests);
}

}  // namespace prn
