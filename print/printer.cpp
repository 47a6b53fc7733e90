#include "print/printer.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/cp1252.h"
#include "core/ui.h"
#include "core/vbtext.h"

namespace prn {

namespace {

Capture* g_capture = nullptr;
Output* g_output = nullptr;
FontAvailable g_fontAvailable = nullptr;

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Names every installation can print: the pages' fonts and the
// metric-compatible families they resolve to.
bool alwaysAvailable(const std::string& name) {
    for (const char* n : {"Courier", "Courier New", "Arial", "Liberation Mono", "Liberation Sans"})
        if (sameName(name, n)) return true;
    return false;
}

ui::RtError refused() { return ui::RtError(380, "Invalid property value"); }

}  // namespace

// The injected fault of the test seam, if one is due.
void Printer::checkFault() {
    if (g_capture && g_capture->failCount_ > 0) {
        --g_capture->failCount_;
        throw ui::RtError(g_capture->failNumber_, ui::ErrorText(g_capture->failNumber_));
    }
}

Printer::Printer() = default;

Printer& printer() {
    static Printer p;
    return p;
}

Output* setOutput(Output* out) {
    Output* prev = g_output;
    g_output = out;
    return prev;
}

FontAvailable setFontAvailable(FontAvailable hook) {
    FontAvailable prev = g_fontAvailable;
    g_fontAvailable = hook;
    return prev;
}

// ---------------------------------------------------------------- font ----

void Printer::FontName(const std::string& name) {
    if (g_capture) {
        for (const auto& r : g_capture->refusedFonts_)
            if (sameName(r, name)) throw refused();
    }
    if (!alwaysAvailable(name) && !(g_fontAvailable && g_fontAvailable(name))) throw refused();
    font_.name = name;
}

void Printer::FontSize(float points) {
    if (!(points >= 1)) points = 1;  // also catches NaN
    if (points > 1638) points = 1638;
    font_.size = points;
}

void Printer::PrintQuality(std::int16_t v) { quality_ = v; }
void Printer::DeviceSetting(std::int32_t v) { device_ = v; }

void Printer::FontCharset(std::int32_t v) {
    if (g_capture && g_capture->refuseCharset_ && v != 0) throw refused();
    charset_ = v;
}

// ------------------------------------------------------------ printing ----

int Printer::CurrentColumn() const { return static_cast<int>(std::floor(x_ / metrics(font_).cell + 1e-9)) + 1; }

Line& Printer::currentLine() { return doc_.pages.back().lines.back(); }

void Printer::ensurePage() {
    if (started_) return;
    started_ = true;
    doc_.pages.assign(1, Page{});
    y_ = 0;
    x_ = 0;
    lineOpen_ = false;
}

void Printer::newPageInternal() {
    doc_.pages.emplace_back();
    y_ = 0;
}

void Printer::endLine() {
    Line& l = currentLine();
    l.height = metrics(font_).height;
    y_ += l.height;
    x_ = 0;
    lineOpen_ = false;
}

void Printer::appendItems(const Item* first, const Item* last, LineEnd end) {
    checkFault();
    ensurePage();
    auto startLine = [this] {
        // A line that would reach below the printable area goes on a new page.
        if (!doc_.pages.back().lines.empty() && y_ + metrics(font_).height > kPrintableHeight + 1e-6) newPageInternal();
        Line l;
        l.y = y_;
        l.font = font_;
        doc_.pages.back().lines.push_back(std::move(l));
        x_ = 0;
        lineOpen_ = true;
    };
    if (!lineOpen_) startLine();
    for (const Item* it = first; it != last; ++it) {
        const double cell = metrics(font_).cell;
        switch (it->kind) {
            case Item::TabTo: {
                const int n = std::max(it->n, 1);
                if (CurrentColumn() > n) {
                    endLine();
                    startLine();
                }
                x_ = std::max(x_, (n - 1) * cell);
                break;
            }
            case Item::Blanks:
                if (it->n > 0) x_ += it->n * cell;
                break;
            case Item::Text: {
                if (it->text.empty()) break;
                // Names typed on a system of the old code page print as typed.
                const std::string text = cp1252::asUtf8(it->text);
                auto& runs = currentLine().runs;
                const double width = static_cast<double>(vb::Len(text)) * cell;
                if (!runs.empty() && runs.back().font == font_) {
                    Run& prev = runs.back();
                    const double prevEnd = prev.x + static_cast<double>(vb::Len(prev.text)) * cell;
                    if (std::abs(prevEnd - x_) < 1e-6) {
                        prev.text += text;
                        x_ += width;
                        break;
                    }
                }
                Run r;
                r.x = x_;
                r.column = CurrentColumn();
                r.text = text;
                r.font = font_;
                runs.push_back(std::move(r));
                x_ += width;
                break;
            }
        }
    }
    if (end == Ended) endLine();
}

void Printer::Print(std::initializer_list<Item> items, LineEnd end) { appendItems(items.begin(), items.end(), end); }

void Printer::Print(const std::vector<Item>& items, LineEnd end) {
    appendItems(items.data(), items.data() + items.size(), end);
}

namespace {
// Nothing would show on the page: no line, or blank lines only.
bool holdsNothing(const Page& page) {
    for (const Line& l : page.lines)
        for (const Run& r : l.runs)
            if (r.text.find_first_not_of(' ') != std::string::npos) return false;
    return true;
}
}  // namespace

void Printer::NewPage() {
    checkFault();
    ensurePage();
    if (lineOpen_) endLine();
    // A page is started only when the current one holds something: a page
    // break right after another (a page that filled up, then the page's own
    // break) starts the next page on the blank one instead of printing it.
    if (holdsNothing(doc_.pages.back())) {
        doc_.pages.back().lines.clear();
        y_ = x_ = 0;
        return;
    }
    newPageInternal();
}

void Printer::EndDoc() {
    checkFault();
    if (!started_) return;  // nothing printed: nothing to send
    if (lineOpen_) endLine();
    // No blank page at the end either (blank lines that ran over the last page).
    while (doc_.pages.size() > 1 && holdsNothing(doc_.pages.back())) doc_.pages.pop_back();
    doc_.name = docName_.empty() ? "printout" : docName_;
    if (g_capture) {
        g_capture->docs_.push_back(doc_);
    } else if (g_output) {
        g_output->send(doc_);  // a fault leaves the document ready for a retry
    }
    clearDoc();
}

void Printer::KillDoc() {
    if (started_ && g_capture) ++g_capture->killed_;
    clearDoc();
}

void Printer::clearDoc() {
    doc_ = Document{};
    started_ = false;
    lineOpen_ = false;
    x_ = y_ = 0;
    docName_.clear();
}

void Printer::reset() {
    clearDoc();
    font_ = Font{};
    quality_ = 0;
    device_ = 0;
    transparent_ = false;
    charset_ = 0;
}

// ------------------------------------------------------------- Capture ----

Capture::Capture() {
    g_capture = this;
    printer().reset();
}

Capture::~Capture() {
    printer().reset();
    if (g_capture == this) g_capture = nullptr;
}

void Capture::failNext(int number, int count) {
    failNumber_ = number;
    failCount_ = count;
}

void Capture::refuseFont(const std::string& name) { refusedFonts_.push_back(name); }
void Capture::refuseCharset(bool on) { refuseCharset_ = on; }

}  // namespace prn
