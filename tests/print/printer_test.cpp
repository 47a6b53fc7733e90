// The printer the pages print through: column arithmetic, open lines, pages,
// fonts, faults, and the transcript dump compared with an expected file.
#include "print/printer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/ui.h"
#include "print/destination.h"
#include "tests/support/expected.h"

using prn::Spc;
using prn::Tab;

namespace {

struct PrinterTest : ::testing::Test {
    prn::Capture cap;
    prn::Printer& P = prn::printer();

    // Text of page `page` of the one captured document.
    std::vector<std::string> page(std::size_t n = 0) {
        EXPECT_EQ(cap.documents().size(), 1u);
        return cap.documents().empty() ? std::vector<std::string>{} : cap.documents()[0].pageText(n);
    }
};

TEST_F(PrinterTest, TabSpcAndTextPlaceColumnsFromOne) {
    P.Print({Tab(5), "ab", Spc(2), "cd", Tab(12), "x"});
    P.Print({"y", Spc(0), Spc(-3), "z", Tab(0), "w"});             // no blanks; Tab(0) is column 1, already past
    P.Print({Tab(3), "q", Tab(4), "r"});                           // Tab to the very column we stand on: no move
    P.Print({Tab(3), "abcdef", Tab(5), "next", Tab(20), "same"});  // a passed column: the next line
    P.Print({"M\xFCller", Tab(9), "x"});  // a byte of the old code page: one character, as typed
    P.FontSize(20);                       // a line begun in 20 pt, its text in 10 pt: wider than
    P.Print({Spc(0)}, prn::Open);         // the line's cells, and what follows stays after it
    P.FontSize(10);
    P.Print({"ABCDEFGHIJ", Tab(12), "X"});
    P.EndDoc();
    EXPECT_EQ(page(), (std::vector<std::string>{"    ab  cd x", "yz", "w", "  qr", "  abcdef",
                                                "    next           same", "M\u00FCller  x", "ABCDEFGHIJX"}));
    const auto& runs = cap.documents()[0].pages[0].lines[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].column, 5);
    EXPECT_DOUBLE_EQ(runs[0].x, 4 * prn::metrics(prn::Font{}).cell);
    EXPECT_EQ(runs[2].column, 12);
}

TEST_F(PrinterTest, OpenLinesAreContinuedAndEndedByTheNextStatement) {
    P.Print({Tab(3), "JAN", Tab(12), "72"}, prn::Open);
    EXPECT_EQ(P.CurrentColumn(), 14);
    P.Print({Tab(20), "more"}, prn::Open);  // continues the open line
    P.Print({Tab(2), "FEB"});               // column 2 is passed: next line
    P.Print({"open"}, prn::Open);
    P.Print();                     // only ends the open line
    P.Print();                     // an empty line
    P.Print({"last"}, prn::Open);  // EndDoc ends it
    P.EndDoc();
    EXPECT_EQ(page(), (std::vector<std::string>{"  JAN      72      more", " FEB", "open", "", "last"}));
}

TEST_F(PrinterTest, ColumnsCountCellsOfTheCurrentFont) {
    P.Print({Spc(7)}, prn::Open);  // 7 cells of 10 pt = 42 pt
    P.FontSize(20);
    EXPECT_EQ(P.CurrentColumn(), 4);  // 42 pt lies in the 4th 12-pt cell
    P.Print({"BIG", Tab(10), "X"});
    P.FontSize(12);
    P.Print({Tab(11), "twelve"});
    P.EndDoc();
    const auto& lines = cap.documents()[0].pages[0].lines;
    EXPECT_DOUBLE_EQ(lines[0].runs[0].x, 42);
    EXPECT_EQ(lines[0].runs[0].column, 4);
    EXPECT_NEAR(lines[0].runs[1].x, 9 * 0.6 * 20, 1e-9);
    EXPECT_NEAR(lines[1].runs[0].x, 10 * 0.6 * 12, 1e-9);
    // The line height follows the font current when the line ends.
    EXPECT_NEAR(lines[1].y, 2320.0 / 2048 * 20, 1e-9);
    // Arial counts its own (narrower) average character width.
    P.FontName("Arial");
    P.Print({Tab(11), "a"});
    P.EndDoc();
    EXPECT_NEAR(cap.documents()[1].pages[0].lines[0].runs[0].x, 10 * 904.0 / 2048 * 12, 1e-9);
}

TEST_F(PrinterTest, PagesEndByNewPageAndWhenFull) {
    P.Print({"one"});
    P.NewPage();
    P.Print({"two"}, prn::Open);
    P.NewPage();  // ends the open line first
    // 10-pt lines are 11.33 pt apart: 66 fit in the 756-pt printable height.
    for (int i = 1; i <= 67; ++i) P.Print({std::to_string(i)});
    // A page of blank lines only is no page: a break there, or the end of
    // the document, prints no blank page.
    for (int i = 1; i <= 66; ++i) P.Print();
    P.NewPage();
    P.Print({""}, prn::Open);
    P.Print({"  "});
    P.EndDoc();
    const auto& doc = cap.documents()[0];
    ASSERT_EQ(doc.pages.size(), 4u);
    EXPECT_EQ(doc.pageText(1), std::vector<std::string>{"two"});
    EXPECT_EQ(doc.pages[2].lines.size(), 66u);
    EXPECT_EQ(doc.pageText(3).front(), "67");
    EXPECT_DOUBLE_EQ(doc.pages[3].lines[0].y, 0);
}

TEST_F(PrinterTest, DocumentsEndWholeOrNotAtAll) {
    P.EndDoc();  // nothing printed: nothing sent
    EXPECT_TRUE(cap.documents().empty());
    P.DocumentName("Plain text audit");
    P.Print({"kept"});
    P.EndDoc();
    P.Print({"dropped"});
    P.KillDoc();
    P.Print({"after"});
    P.EndDoc();
    ASSERT_EQ(cap.documents().size(), 2u);
    EXPECT_EQ(cap.documents()[0].name, "Plain text audit");
    EXPECT_EQ(cap.documents()[1].name, "printout");  // the name lasts one document
    EXPECT_EQ(cap.documents()[1].pageText(0), std::vector<std::string>{"after"});
    EXPECT_EQ(cap.killed(), 1);
    EXPECT_FALSE(P.DocumentOpen());
}

TEST_F(PrinterTest, AFailedStatementChangesNothingAndCanBeRunAgain) {
    P.Print({"first"}, prn::Open);
    cap.failNext(25, 2);
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            P.Print({Tab(10), "second"});
            FAIL() << "no fault";
        } catch (const ui::RtError& e) {
            EXPECT_EQ(e.number, 25);
        }
    }
    P.Print({Tab(10), "second"});  // the retry works and the line was kept open
    cap.failNext(25);
    EXPECT_THROW(P.EndDoc(), ui::RtError);
    EXPECT_TRUE(P.DocumentOpen());
    P.EndDoc();
    EXPECT_EQ(page(), std::vector<std::string>{"first    second"});
}

TEST_F(PrinterTest, RefusedFontsAndSettingsKeepTheOldValue) {
    EXPECT_THROW(P.FontName("No Such Font"), ui::RtError);
    EXPECT_EQ(P.FontName(), "Courier New");
    P.FontName("arial");  // names are not case-sensitive
    EXPECT_EQ(P.FontName(), "arial");
    cap.refuseFont("Arial");
    try {
        P.FontName("Arial");
        FAIL();
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 380);
    }
    P.FontName("Courier");  // the fallback the pages take
    EXPECT_EQ(P.FontName(), "Courier");

    P.PrintQuality(-4);
    P.DeviceSetting(0);
    P.FontTransparent(false);
    P.FontCharset(2);
    EXPECT_EQ(P.PrintQuality(), -4);
    EXPECT_EQ(P.FontCharset(), 2);
    cap.refuseCharset();
    EXPECT_THROW(P.FontCharset(7), ui::RtError);
    EXPECT_EQ(P.FontCharset(), 2);
    P.FontCharset(0);
    EXPECT_EQ(P.FontCharset(), 0);
    P.FontSize(0);
    EXPECT_EQ(P.FontSize(), 1);
}

TEST_F(PrinterTest, InstalledFontsCanBeAllowedByTheBackend) {
    auto prev = prn::setFontAvailable([](const std::string& n) { return n == "DejaVu Serif"; });
    P.FontName("DejaVu Serif");
    EXPECT_EQ(P.FontName(), "DejaVu Serif");
    prn::setFontAvailable(prev);
    EXPECT_THROW(P.FontName("Helvetica"), ui::RtError);
}

// A page with every kind of item, font and style changes (each on the runs it
// applies to) and two pages, compared whole.
TEST_F(PrinterTest, TranscriptDumpMatchesTheExpectedFile) {
    P.DocumentName("sample");
    P.FontBold(true);
    P.Print();
    P.Print({Spc(7)}, prn::Open);
    P.FontSize(20);
    P.Print({"        ACME POOLS"});
    P.FontSize(10);
    P.FontBold(false);
    P.Print({Spc(34), "Heat Pump Pool Heating Audit"});
    P.Print({Tab(11), "Kestrolin", Tab(58), "For:", Tab(63), "Ann Smith"});
    P.Print({Tab(11), "JAN", Tab(20), "72", Tab(44), "off"}, prn::Open);
    P.Print({Tab(11), "FEB", Tab(20), "74"});
    P.FontName("Arial");
    P.FontItalic(true);
    P.Print({Tab(3), "Notes"});
    P.NewPage();
    P.FontName("Courier New");
    P.FontItalic(false);
    P.FontUnderline(true);
    P.Print({Tab(5), "second page"}, prn::Open);
    P.FontStrikethru(true);
    P.Print({" gone"});
    P.EndDoc();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ("", testsupport::diff_with_expected(cap.documents()[0], "print/expected/sample.txt"));
}

}  // namespace

// Output outside the test seam: the installed output receives the document,
// and a printer fault keeps it for the retry.
TEST(PrinterOutput, AFailingOutputKeepsTheDocumentForTheRetry) {
    struct Flaky : prn::Output {
        int fails = 1;
        std::vector<prn::Document> got;
        void send(const prn::Document& d) override {
            if (fails-- > 0) throw ui::RtError(25, "Device timeout");
            got.push_back(d);
        }
    } out;
    auto& P = prn::printer();
    P.reset();
    prn::Output* prev = prn::setOutput(&out);
    P.Print({"hello"});
    EXPECT_THROW(P.EndDoc(), ui::RtError);
    P.EndDoc();
    prn::setOutput(prev);
    ASSERT_EQ(out.got.size(), 1u);
    EXPECT_EQ(out.got[0].pageText(0), std::vector<std::string>{"hello"});
    EXPECT_FALSE(P.DocumentOpen());
}

// A printout file is written whole or not at all: an empty one is refused
// (error 75) and leaves nothing; a link planted where its half-written
// copy goes is not followed; the file is its owner's alone.
TEST(PrintoutFiles, WrittenWholeAndPrivateOrNotAtAll) {
    const std::filesystem::path dir =
        std::filesystem::path(::testing::TempDir()) / ("heater-printouts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string pdf = (dir / "a.pdf").string();
    try {
        prn::writePrintout(pdf, "");
        ADD_FAILURE() << "an empty printout was written";
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 75);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    std::ofstream(dir / "victim") << "victim";
    std::filesystem::create_symlink(dir / "victim", pdf + ".part");
    prn::writePrintout(pdf, "%PDF-1.4");
    std::ifstream victim(dir / "victim");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "victim");
    EXPECT_EQ(std::filesystem::status(pdf).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(std::filesystem::file_size(pdf), 8u);
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part"));
    std::filesystem::remove_all(dir);
}

// The printouts folder is the dealer's alone (0700) whatever the umask: made
// so (its missing parents too), or made so again when it was open to its
// group or others; a link, a file or another user's folder in its place is
// refused, naming the folder and why (error 75), and nothing is made
// through it. The folder is judged and
// written through one handle: swapped for a link after it was judged by
// name, the printout is refused; swapped while it is written, the printout
// goes into the folder judged; the link's target stays empty either way.
TEST(PrintoutFiles, ThePrintoutsFolderIsPrivateWhateverTheUmask) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / ("heater-printouts-dir-" + std::to_string(::getpid()));
    const std::string saved = prn::printoutsFolder();
    const mode_t umaskBefore = ::umask(0);
    // How the folder is found, its mode when it is there, and why the
    // printout is refused ("": it is saved).
    struct Row {
        std::string before;
        unsigned mode;
        std::string told;
    };
    const std::vector<Row> rows = {{"missing", 0, ""},
                                   {"open", 0777, ""},
                                   {"open", 0750, ""},
                                   {"open", 0770, ""},
                                   {"open", 0705, ""},
                                   {"link", 0, "it is a link"},
                                   {"file", 0, "it is not a folder"},
                                   {"others'", 0700, "it belongs to another user (user id 65534)"},
                                   {"swapped", 0700, "it is a link"},
                                   {"swapped while written", 0700, ""}};
    const auto descriptors = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    const auto openBefore = descriptors();
    for (const auto& [before, mode, told] : rows) {
        fs::remove_all(dir);
        fs::create_directories(dir / "elsewhere");
        const fs::path folder = dir / (before == "missing" ? "data/printouts" : "printouts");
        if (before == "link") fs::create_directory_symlink(dir / "elsewhere", folder);
        else if (before == "file") std::ofstream(folder) << "notes";
        else if (mode) fs::create_directory(folder), fs::permissions(folder, fs::perms(mode));
        // Only root can give a folder away.
        if (before == "others'" && (::geteuid() != 0 || ::chown(folder.c_str(), 65534, 65534) != 0)) continue;
        const bool swapped = before.rfind("swapped", 0) == 0, upFront = !told.empty() && before != "swapped";
        const auto swap = [&] {
            fs::rename(folder, dir / "judged");
            fs::create_directory_symlink(dir / "elsewhere", folder);
        };
        prn::setPrintoutsFolder(folder.string());
        std::string pdf, why;
        fs::perms named{};  // the folder's mode once a name in it is handed out
        try {
            pdf = prn::newPrintoutPath("Audit");
            named = fs::symlink_status(folder).permissions() & fs::perms::all;
            if (before == "swapped") swap();
            if (before == "swapped while written") prn::setPrintoutFolderHookForTest(swap);
            prn::writePrintout(pdf, "%PDF-1.4");
        } catch (const ui::RtError& e) {
            EXPECT_EQ(e.number, 75);
            why = e.description();
        }
        prn::setPrintoutFolderHookForTest(nullptr);
        const std::string label = before + " " + std::to_string(mode);
        if (told.empty()) EXPECT_EQ(why, "") << label;
        else EXPECT_NE(why.find(folder.string() + ": " + told), std::string::npos) << label << ": " << why;
        EXPECT_TRUE(fs::is_empty(dir / "elsewhere")) << label;
        EXPECT_EQ(fs::status(dir / "elsewhere").permissions(), fs::perms::all) << label;
        // What is found in the folder's place is refused before a name is handed out.
        EXPECT_EQ(named, upFront ? fs::perms{} : fs::perms::owner_all) << label;
        if (upFront) continue;
        const fs::path judged = swapped ? dir / "judged" : folder;
        EXPECT_EQ(fs::exists(judged / fs::path(pdf).filename()), told.empty()) << label;
    }
    EXPECT_EQ(descriptors(), openBefore);  // the folder's handle closed however it ended
    ::umask(umaskBefore);
    prn::setPrintoutsFolder(saved);
    fs::remove_all(dir);
}
