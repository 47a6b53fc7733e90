// The printer the printed pages go through (the program's one "Printer").
// No Qt here: page builders (the plain-text audit, calculate3, the finance
// pages, the report book, Fnt_body, Fnt_title) include only this header and
// link heater_print. The Qt backend (platform/print_qt.*) paints the
// finished documents; tests capture them instead and compare transcripts
// (transcript.h).
//
// Model
// - One document is open at a time. It starts with the first output (a
//   Print or NewPage) and ends with EndDoc (sent to the output) or KillDoc
//   (dropped). Font settings made before the first output apply to it.
// - The print position is an x on the current line (points from the left
//   edge of the printable area) and a line top y. Columns count character
//   cells of the CURRENT font from 1: column n starts at x = (n - 1) * cell,
//   cell = the font's average character width (exact for the fixed-pitch
//   fonts the pages use: 0.6 em, so 6 pt at 10 pt, 7.2 pt at 12 pt).
// - A Print statement is a list of items that follow each other directly:
//     Tab(n)  move to column n of this line; when the position is already
//             past column n, to column n of the NEXT line (Tab(n) with
//             n < 1 counts as 1; at exactly column n nothing moves);
//     Spc(n)  n blanks (nothing for n <= 0);
//     text    printed at the position, which moves past it.
//   By default the statement ends the line; with prn::Open the line stays
//   open (the old trailing ";") and the next statement continues it. A
//   statement without items ends an open line, or prints an empty line.
// - Line height: the current font's line spacing when the line ends. A line
//   that would not fit on the page starts a new page first (Letter paper,
//   8.5 x 11 in, 0.25 in unprintable margin all round).
// - NewPage on a page that shows nothing yet (no line, or blank lines only)
//   starts that page afresh rather than another one, and EndDoc drops
//   blank pages at the end: no blank page is ever printed.
// - Every operation either happens whole or throws ui::RtError and changes
//   nothing, so a caller may run a failed statement again.
//
// Usage (a page builder):
//
//     #include "print/printer.h"
//     using prn::Tab; using prn::Spc;
//     prn::Printer& P = prn::printer();
//     P.FontName("Courier New");          // may throw RtError 380 for an
//     P.FontSize(10);                     //   unknown font (see FontName)
//     P.FontBold(true);
//     P.Print();                                          // empty line
//     P.Print({Tab(11), "Pool Area:", Tab(31), area});    // one line
//     P.Print({Spc(7)}, prn::Open);                       // line left open
//     P.FontSize(20);
//     P.Print({"ACME POOLS"});                            // ...and ended
//     P.NewPage();
//     P.EndDoc();                         // may throw RtError 25 (printer
//                                         //   fault): call EndDoc again to
//                                         //   retry, or KillDoc to give up
//
// Tests (tests/support/expected.h compares with an expected file):
//
//     prn::Capture cap;                   // documents are kept, not printed
//     To_print();
//     ASSERT_EQ(cap.documents().size(), 1u);
//     EXPECT_EQ("", testsupport::diff_with_expected(cap.documents()[0], "printouts/plain.txt"));
//     cap.failNext(25, 2);                // the next two outputs fail
//
// Settings the pages set only by value are kept and have no effect:
//     PrintQuality  the first setting of the plain-text page (-4) and of the
//                   report book's brand line (-4), 16-bit;
//     DeviceSetting the second setting of the plain-text page (0), 32-bit;
//     FontTransparent  the second font-style switch of Fnt_body/Fnt_title;
//     FontCharset   the further numeric font property (fnt_body_x,
//                   fnt_title_x), 32-bit; refused only through the test seam.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "print/transcript.h"

namespace prn {

// One item of a Print statement: Tab(n), Spc(n) or a text.
struct Item {
    enum Kind { TabTo, Blanks, Text };
    Kind kind = Text;
    int n = 0;
    std::string text;

    Item(const char* t) : kind(Text), text(t ? t : "") {}
    Item(std::string t) : kind(Text), text(std::move(t)) {}
    Item(std::string_view t) : kind(Text), text(t) {}
    Item(Kind k, int count) : kind(k), n(count) {}
};
inline Item Tab(int column) { return Item(Item::TabTo, column); }
inline Item Spc(int count) { return Item(Item::Blanks, count); }

// How a Print statement leaves its line.
enum LineEnd { Ended, Open };

// Where finished documents go (the Qt backend installs one). send() may
// throw ui::RtError 25 for a printer fault; the document is then kept and
// the next EndDoc sends it again.
class Output {
public:
    virtual ~Output() = default;
    virtual void send(const Document& doc) = 0;
};

class Printer {
public:
    Printer();

    // ---- font (applies to what is printed from now on)
    // Refused with RtError 380 when the name is not an available font (see
    // setFontAvailable); "Courier", "Courier New" and "Arial" are always
    // available, so a fallback to "Courier" can never loop.
    void FontName(const std::string& name);
    const std::string& FontName() const { return font_.name; }
    void FontSize(float points);  // sizes below 1 pt count as 1 pt
    float FontSize() const { return font_.size; }
    void FontBold(bool on) { font_.bold = on; }
    bool FontBold() const { return font_.bold; }
    void FontItalic(bool on) { font_.italic = on; }
    bool FontItalic() const { return font_.italic; }
    void FontUnderline(bool on) { font_.underline = on; }
    bool FontUnderline() const { return font_.underline; }
    void FontStrikethru(bool on) { font_.strikethru = on; }
    bool FontStrikethru() const { return font_.strikethru; }
    const Font& CurrentFont() const { return font_; }

    // ---- settings known only by value: kept, no effect (see above)
    void PrintQuality(std::int16_t v);
    std::int16_t PrintQuality() const { return quality_; }
    void DeviceSetting(std::int32_t v);
    std::int32_t DeviceSetting() const { return device_; }
    void FontTransparent(bool on) { transparent_ = on; }
    bool FontTransparent() const { return transparent_; }
    void FontCharset(std::int32_t v);
    std::int32_t FontCharset() const { return charset_; }

    // ---- printing
    void Print(std::initializer_list<Item> items = {}, LineEnd end = Ended);
    void Print(const std::vector<Item>& items, LineEnd end = Ended);
    void NewPage();
    // Ends the document and sends it to the output (or to the Capture). A
    // document with no output at all is dropped silently. Throws RtError 25
    // when the printer fails; the document stays ready for another EndDoc.
    void EndDoc();
    // Drops the open (or failed) document; the printer is ready for the next.
    void KillDoc();
    // Name of the printout, used for the file name of a saved PDF; reset by
    // EndDoc/KillDoc ("printout" when never set).
    void DocumentName(const std::string& name) { docName_ = name; }

    // Print position: column in the current font (from 1), x in points.
    int CurrentColumn() const;
    double CurrentX() const { return x_; }
    bool DocumentOpen() const { return started_; }
    int PageNumber() const { return static_cast<int>(doc_.pages.size()); }

    // The document being built (tests of partial output).
    const Document& document() const { return doc_; }

    // Puts the printer back to its start state (no document, Courier New
    // 10 pt, settings 0). Tests call it between cases.
    void reset();

private:
    void checkFault();
    void clearDoc();
    void appendItems(const Item* first, const Item* last, LineEnd end);
    void ensurePage();
    void endLine();
    void newPageInternal();
    Line& currentLine();

    Font font_;
    std::int16_t quality_ = 0;
    std::int32_t device_ = 0;
    bool transparent_ = false;
    std::int32_t charset_ = 0;

    Document doc_;
    bool started_ = false;
    bool lineOpen_ = false;
    double x_ = 0;  // print position on the current line, points
    double y_ = 0;  // top of the current line on the page, points
    std::string docName_;
};

// The program's one printer.
Printer& printer();

// Installs where EndDoc sends documents when no Capture is alive; returns
// the previous output. nullptr: documents are dropped.
Output* setOutput(Output* out);

// Decides whether a font name other than the always-available ones may be
// set (the Qt backend asks its font database). Returns the previous hook.
using FontAvailable = bool (*)(const std::string& name);
FontAvailable setFontAvailable(FontAvailable hook);

// Test seam: while a Capture lives, ended documents are kept here instead
// of going to the output, and faults can be injected. Captures do not nest.
class Capture {
public:
    Capture();  // also resets the printer
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    const std::vector<Document>& documents() const { return docs_; }
    // The next `count` Print/NewPage/EndDoc calls throw RtError `number`
    // (25 for a printer fault) and change nothing.
    void failNext(int number, int count = 1);
    // FontName(name) is refused (RtError 380) for this name, even for the
    // always-available ones.
    void refuseFont(const std::string& name);
    // FontCharset(v) is refused for any value other than 0.
    void refuseCharset(bool on = true);
    int faultsLeft() const { return failCount_; }
    int killed() const { return killed_; }  // documents dropped by KillDoc

private:
    friend class Printer;
    std::vector<Document> docs_;
    int failNumber_ = 0;
    int failCount_ = 0;
    std::vector<std::string> refusedFonts_;
    bool refuseCharset_ = false;
    int killed_ = 0;
};

}  // namespace prn
