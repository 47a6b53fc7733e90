// Painting printed documents: PDF in the printouts folder when no printer is
// installed (read back with pdftotext -layout), the printer path and its
// fault, the printer dialog, and the fonts the pages name.
#include "platform/print_qt.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/model.h"
#include "core/ui.h"
#include "print/destination.h"
#include "print/printer.h"
#include "print/process.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

using prn::Tab;

namespace {

std::string noPrinter() { return ""; }
std::string aPrinter() { return "Office_Laser"; }

std::vector<std::string> pdfLines(const std::string& pdf) {
    const auto r = prn::runProcess({"pdftotext", "-layout", "-fixed", "6", pdf, "-"}, 20000);
    std::vector<std::string> v;
    std::istringstream in(r.output);
    for (std::string l; std::getline(in, l);) {
        while (!l.empty() && (l.back() == ' ' || l.back() == '\f')) l.pop_back();
        v.push_back(l);
    }
    return v;
}

class PrintQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::ensure_app(); }
    void SetUp() override {
        savedDataDir = g.data_dir;
        savedPrintouts = prn::printoutsFolder();
        dir.use();
        prevLookup = prn::setDefaultPrinterLookup(noPrinter);
        prn::setChosenPrinter("");
        prn::printer().reset();
    }
    void TearDown() override {
        plat::setPrinterSeam(nullptr);
        plat::setPrinterDialogSeam(nullptr);
        plat::setAnyPrinterSeam(nullptr);
        prn::setChosenPrinter("");
        prn::setDefaultPrinterLookup(prevLookup);
        prn::setPrintoutsFolder(savedPrintouts);
        g.data_dir = savedDataDir;
    }
    std::vector<std::string> printouts() {
        std::vector<std::string> v;
        std::error_code ec;
        for (auto& e : std::filesystem::directory_iterator(prn::printoutsFolder(), ec)) v.push_back(e.path().string());
        return v;
    }

    testsupport::TempDataDir dir{"heater-print"};
    std::string savedDataDir, savedPrintouts;
    prn::PrinterLookup prevLookup = nullptr;
};

// A fixed-pitch page reads back from the PDF with its text in the columns the
// transcript gives: pdftotext counts 6-pt cells from the paper's edge, so
// the 0.25 in unprintable margin shows as three more blanks.
TEST_F(PrintQt, WithoutPrinterThePageBecomesAPdfWithTheTranscriptColumns) {
    auto& P = prn::printer();
    P.DocumentName("Plain text audit");
    P.FontName("Courier New");
    P.FontBold(true);
    P.Print({"Company"});
    P.FontBold(false);
    P.Print();
    P.Print({Tab(3), "JAN", Tab(14), "72", Tab(22), "80", Tab(39), "12", Tab(47), "$123.45"});
    P.Print({Tab(3), "FEB", Tab(22), "N/A", Tab(47), "$0.00"});
    P.Print({Tab(25), "Heat Pump Pool Heating Audit"});
    ui::Script box;
    box.answer(ui::vbNo);
    P.EndDoc();

    ASSERT_EQ(box.shown().size(), 1u);
    EXPECT_EQ(box.shown()[0].title, "Printout saved");
    const auto files = printouts();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(box.shown()[0].text.find(files[0]), std::string::npos);
    const std::string name = std::filesystem::path(files[0]).filename().string();
    EXPECT_EQ(name.size(), std::string("2026-12-06 19-40-12 Plain text audit.pdf").size()) << name;
    EXPECT_NE(name.find(" Plain text audit.pdf"), std::string::npos);

    std::vector<std::string> lines = pdfLines(files[0]);
    std::erase(lines, "");
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "   Company",
                         "     JAN        72      80               12      $123.45",
                         "     FEB                N/A                      $0.00",
                         "                           Heat Pump Pool Heating Audit",
                     }));
}

TEST_F(PrintQt, APrintoutIsToldSavedOnlyWholeAndOpenedOnlyWhereAProgramCan) {
    auto& P = prn::printer();
    P.Print({"Mr. and Mrs. J. Alvarez"});
    prn::failPrintoutWritesForTest(ENOSPC);  // a full disk: the cause, no box, no file
    try {
        P.EndDoc();
        ADD_FAILURE() << "told saved";
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 75);
        EXPECT_NE(e.description().find("No space left on device"), std::string::npos) << e.description();
    }
    prn::failPrintoutWritesForTest(0);
    EXPECT_TRUE(printouts().empty());

    // Saved (the same document, again), readable by its owner only; "Open
    // it now?" answered Yes where the desktop knows no program for PDF files.
    const std::string bin = dir.path() + "/bin", path = std::getenv("PATH");
    std::filesystem::create_directories(bin);
    std::ofstream(bin + "/xdg-mime") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(bin + "/xdg-mime", std::filesystem::perms::owner_all);
    setenv("PATH", (bin + ":" + path).c_str(), 1);
    ui::Script box;
    box.answer(ui::vbYes).answer(ui::vbOK);
    P.EndDoc();
    setenv("PATH", path.c_str(), 1);
    const auto files = printouts();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(std::filesystem::status(files[0]).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(box.shown().size(), 2u);
    EXPECT_NE(box.shown()[1].text.find("could not be opened"), std::string::npos) << box.shown()[1].text;
    EXPECT_NE(box.shown()[1].text.find(files[0]), std::string::npos);
}

TEST_F(PrintQt, ThePrinterPathPaintsAndReportsFaultsForTheRetry) {
    prn::setDefaultPrinterLookup(aPrinter);
    const std::string pdf = dir.path() + "/printer.pdf";
    int calls = 0;
    plat::setPrinterSeam([&](const std::string& name) -> std::string {
        EXPECT_EQ(name, "Office_Laser");
        return ++calls == 1 ? "" : pdf;  // off line first, then back
    });
    auto& P = prn::printer();
    P.Print({Tab(5), "to the printer"});
    try {
        P.EndDoc();
        FAIL() << "no fault";
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 25);
    }
    P.EndDoc();  // the retry prints the same document
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(printouts().empty());
    const auto lines = pdfLines(pdf);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "       to the printer");
    EXPECT_FALSE(P.DocumentOpen());

    // A printer that is not installed is named: no paper mends that.
    plat::setPrinterSeam(nullptr);
    prn::setChosenPrinter("No_Such_Printer");
    P.Print({"x"});
    try {
        P.EndDoc();
        FAIL() << "no fault";
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 482);
        EXPECT_EQ(e.description(), "The printer \"No_Such_Printer\" is not installed on this computer.");
    }
}

TEST_F(PrintQt, SelectAPrinterServesTheRestOfTheRun) {
    plat::setAnyPrinterSeam([] { return false; });
    plat::setPrinterDialogSeam([] { return std::string("Shop_Inkjet"); });
    {
        ui::Script s;
        s.answer(ui::vbOK);
        EXPECT_FALSE(plat::selectPrinter(nullptr));  // no empty dialog: said so
        ASSERT_EQ(s.shown().size(), 1u);
        EXPECT_EQ(s.shown()[0].text.substr(0, 23), "No printer is installed");
    }
    plat::setAnyPrinterSeam([] { return true; });
    plat::setPrinterDialogSeam([] { return std::string(); });  // Cancel
    EXPECT_FALSE(plat::selectPrinter(nullptr));
    EXPECT_EQ(prn::currentPrinter(), "");
    plat::setPrinterDialogSeam([] { return std::string("Shop_Inkjet"); });
    EXPECT_TRUE(plat::selectPrinter(nullptr));
    prn::setDefaultPrinterLookup(aPrinter);
    EXPECT_EQ(prn::currentPrinter(), "Shop_Inkjet");
}

TEST_F(PrintQt, PageFontsResolveToInstalledMetricCompatibleFamilies) {
    prn::Font f;
    f.name = "Courier New";
    EXPECT_EQ(QFontInfo(plat::resolveFont(f)).family(), "Liberation Mono");
    f.name = "courier";
    EXPECT_EQ(QFontInfo(plat::resolveFont(f)).family(), "Liberation Mono");
    f.name = "Arial";
    f.bold = true;
    const QFont arial = plat::resolveFont(f);
    EXPECT_EQ(QFontInfo(arial).family(), "Liberation Sans");
    EXPECT_TRUE(QFontInfo(arial).bold());
    f.name = "Not Installed Anywhere";  // the same family on every machine, not the desktop's choice
    EXPECT_EQ(QFontInfo(plat::resolveFont(f)).family(), "Liberation Mono");
    // The printer accepts installed families through the backend's check.
    prn::printer().FontName("Liberation Serif");
    EXPECT_THROW(prn::printer().FontName("Not Installed Anywhere"), ui::RtError);
}

TEST(PrintoutNames, AreUniqueAndHoldOnlyFileNameCharacters) {
    testsupport::TempDataDir dir{"heater-names"};
    const std::string saved = prn::printoutsFolder();
    prn::setPrintoutsFolder(dir.path() + "/printouts");  // without the final "/"
    std::tm t{};
    t.tm_year = 126, t.tm_mon = 11, t.tm_mday = 6, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 3;
    const std::string a = prn::newPrintoutPath("Word audit/summary: \"x\"", t);
    EXPECT_EQ(a, dir.path() + "/printouts/2026-12-06 09-05-03 Word audit_summary_ _x_.pdf");
    std::ofstream(a) << "x";
    EXPECT_EQ(prn::newPrintoutPath("Word audit/summary: \"x\"", t),
              dir.path() + "/printouts/2026-12-06 09-05-03 Word audit_summary_ _x_ (2).pdf");
    EXPECT_NE(prn::newPrintoutPath("", t).find(" printout.pdf"), std::string::npos);
    prn::setPrintoutsFolder(saved);
}

}  // namespace
