// The built templates, workbooks and pictures: every bookmark and cell the
// printouts name is there, a filled workbook reads back cell by cell (the
// Word printouts read back from these templates: tests/printouts/
// office_docs_test.cpp), and LibreOffice renders them on one page each - the
// chart following the cells it draws.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "app/model.h"
#include "office/excel.h"
#include "office/ooxml.h"
#include "office/render.h"
#include "office/word.h"
#include "office/xlsx_read.h"
#include "print/process.h"
#include "tests/office/fixtures.h"

namespace fs = std::filesystem;

namespace {

std::string binDir() {
    const char* b = std::getenv("HEATER_BIN_DIR");
    return std::string(b ? b : "../bin") + "/";
}

const std::vector<std::string> kProject = {
    "bm6",  "bmb6", "bm12",  "bmb12", "bm7",    "bmb7", "bm13",  "bmb13", "bm8",   "bmb8", "bm14",  "bmb14", "bm9",
    "bmb9", "bm10", "bmb10", "bm102", "bmb102", "bm15", "bmb15", "bm16",  "bmb16", "bm11", "bmb11", "bm17",  "bmb17"};

// The bookmarks the Word audit fills, in its order.
std::vector<std::string> auditBookmarks() {
    std::vector<std::string> v = {"Getpic", "bm1", "bm3", "bm3b", "bm4b", "bm5b"};
    v.insert(v.end(), kProject.begin(), kProject.end());
    v.push_back("bm18");
    for (int r : {19, 20})
        for (char c = 'b'; c <= 'h'; ++c) v.push_back("bm" + std::to_string(r) + c);
    for (int r = 21; r <= 32; ++r)
        for (char c = 'a'; c <= 'h'; ++c) v.push_back("bm" + std::to_string(r) + c);
    for (const char* t : {"bm33c", "bm33f", "bm33g", "bm33h", "bm34c", "bm34f", "bm34g", "bm34h", "bm35", "bm37",
                          "bm38", "bm39", "bm50"})
        v.push_back(t);
    return v;
}

// The bookmarks the Word summary fills.
std::vector<std::string> summaryBookmarks() {
    std::vector<std::string> v = {"Getpic", "bm1", "bm3", "bm3b", "bm4b", "bm5b", "ddate"};
    v.insert(v.end(), kProject.begin(), kProject.end());
    for (const char* t : {"bm18", "cvron", "cvroff"}) v.push_back(t);
    for (int r : {19, 20}) {
        v.push_back("bm" + std::to_string(r) + "b");
        for (char c = 'c'; c <= 'g'; ++c) {
            v.push_back("bm" + std::to_string(r) + c);
            v.push_back("bm" + std::to_string(r) + c + "u");
        }
    }
    for (int r = 21; r <= 32; ++r)
        for (char c = 'a'; c <= 'g'; ++c) {
            v.push_back("bm" + std::to_string(r) + c);
            if (c >= 'c') v.push_back("bm" + std::to_string(r) + c + "u");
        }
    for (const char* t : {"bm33c", "bm33f", "bm33fu", "bm33eu", "bm33g", "bm33gu", "bm37", "bm39", "bm38"})
        v.push_back(t);
    return v;
}

std::set<std::string> bookmarksIn(const std::string& dotx) {
    std::set<std::string> names;
    const auto pkg = office::Package::load(dotx);
    pugi::xml_document d;
    d.load_string(pkg.part("word/document.xml").c_str());
    for (auto n : d.select_nodes("//w:bookmarkStart")) names.insert(n.node().attribute("w:name").value());
    return names;
}

std::vector<std::string> templates(const std::string& suffix) {
    std::vector<std::string> v;
    for (char set : {'1', '2'})
        for (char brand : {'a', 'b', 'c'})
            v.push_back(binDir() + "WordPrt" + set + brand + (suffix.empty() ? "" : std::string(1, brand)) + ".dotx");
    return v;
}

// The templates are built by a Qt tool, with the windows (HEATER_GUI).
bool built() { return fs::exists(binDir() + "WordPrt1a.dotx"); }

struct Templates : ::testing::Test {
    void SetUp() override {
        if (!built()) GTEST_SKIP() << "the templates are not built";
    }
};

TEST_F(Templates, EveryTemplateHasEveryBookmarkItsPrintoutFills) {
    const auto audit = auditBookmarks(), summary = summaryBookmarks();
    ASSERT_EQ(audit.size(), 156u);
    ASSERT_EQ(summary.size(), 211u);
    for (const auto& t : templates("")) {
        const auto have = bookmarksIn(t);
        for (const auto& b : audit) EXPECT_TRUE(have.count(b)) << t << " lacks " << b;
    }
    for (const auto& t : templates("x")) {
        const auto have = bookmarksIn(t);
        for (const auto& b : summary) EXPECT_TRUE(have.count(b)) << t << " lacks " << b;
    }
    // The variants differ, and so do the brands.
    EXPECT_NE(fixtures::readAll(binDir() + "WordPrt1a.dotx"), fixtures::readAll(binDir() + "WordPrt2a.dotx"));
    EXPECT_NE(office::Package::load(binDir() + "WordPrt1a.dotx").part("word/styles.xml"),
              office::Package::load(binDir() + "WordPrt1b.dotx").part("word/styles.xml"));
}

TEST_F(Templates, ThePicturesArePicturesOfTheirNames) {
    std::vector<std::string> names = {"hppic3", "hppic1"};
    for (int b = 1; b <= 3; ++b) {
        for (int n : {0, 4, 5, 6}) names.push_back("hppic" + std::to_string(n) + std::to_string(b) + ".bmp");
        for (int n = 0; n <= 6; ++n) names.push_back("hpopen" + std::to_string(n) + std::to_string(b) + ".bmp");
        names.push_back("ksl logo2" + std::to_string(b) + ".bmp");
    }
    for (const auto& n : names) {
        office::ooxml::Image img;
        ASSERT_TRUE(office::ooxml::loadImage(binDir() + n, img)) << n;
        EXPECT_EQ(img.ext, "bmp") << n;
        EXPECT_DOUBLE_EQ(img.dpiX, 96) << n;
    }
}

// The workbook as the chart printout fills it.
void fillWorkbook(office::Excel& x, const std::string& book, float scale) {
    x.Workbooks().Open(book);
    const char* cols = "bcdefghijklm";
    auto put = [&](const std::string& a, auto v) {
        x.Range(a).Select();
        x.ActiveCell().FormulaR1C1(v);
    };
    for (char c : std::string("FGHIJKL")) {
        put(std::string(1, c) + "65", "");
        put(std::string(1, c) + "66", "");
    }
    x.Range("K20").Select();
    x.ActiveSheet().Pictures().Insert(binDir() + "hpopen61.bmp").Select();
    x.Selection().ShapeRange().LockAspectRatio(false);
    x.Selection().ShapeRange().Height(108.75);
    x.Selection().ShapeRange().Width(97.5);
    x.Range("e21").Select();
    x.ActiveSheet().Pictures().Insert(binDir() + "ksl logo21.bmp").Select();
    for (int m = 0; m < 12; ++m) {
        const std::string col(1, cols[m]);
        put(col + "3", scale * (40.0f + 5 * m));   // heat pump
        put(col + "2", scale * (110.0f - 3 * m));  // saving
        put(col + "1", scale * (150.0f + 2 * m));  // heater
    }
    put("b6", 9000.5f), put("b7", 2500.25f), put("b8", 6500.25f);
    put("j65", "$1,234"), put("j66", "$6,500");
    put("I29", "Proposed System:    2   Kestrolin   Model KP-110");
    put("J15", "ACME Pool Heating");
    put("j14", "Heat Pump Pool Heating Audit");
    put("j17", "Ann Smith"), put("j18", "12 Palm Street"), put("j19", "Miami, FL");
    put("g65", "Savings in the first year:"), put("g66", "Savings after five years:");
    put("a10", "         Propane              Saving             Heat Pump");
    put("a1", "Propane"), put("a6", "Propane");
    x.Application().ActiveSheet().PageSetup().PrintArea("$C$12:$o$68");
}

TEST_F(Templates, AFilledWorkbookHoldsItsCellsPrintAreaAndPictures) {
    office::setOfficeForTest(office::OfficeSeam::Present);
    const std::string dir = fixtures::tempDir("workbook");
    for (const char* name : {"ENERGY COSTS.xlsx", "ENERGY COSTS2.xlsx"}) {
        office::Excel x;
        fillWorkbook(x, binDir() + name, 1);
        x.saveCopy(dir + "/filled.xlsx");
        x.Quit();
        const auto pkg = office::Package::load(dir + "/filled.xlsx");
        const auto cells = office::readActiveSheet(pkg);
        EXPECT_EQ(cells.text("B3"), "40") << name;
        EXPECT_EQ(cells.text("M1"), "172") << name;
        EXPECT_EQ(cells.text("B7"), "2500.25") << name;
        EXPECT_EQ(cells.text("A2"), "Saving") << name;  // the template's own labels stay
        EXPECT_EQ(cells.text("J15"), "ACME Pool Heating") << name;
        EXPECT_EQ(cells.text("F65"), "") << name;
        pugi::xml_document wb, drawing, chart;
        wb.load_string(pkg.part("xl/workbook.xml").c_str());
        EXPECT_STREQ(wb.select_node("//definedName[@name='_xlnm.Print_Area']").node().text().get(),
                     "'Energy costs'!$C$12:$O$68");
        drawing.load_string(pkg.part("xl/drawings/drawing1.xml").c_str());
        EXPECT_EQ(drawing.select_nodes("//xdr:oneCellAnchor").size(), 2u) << name;  // the two pictures
        EXPECT_EQ(drawing.select_nodes("//xdr:twoCellAnchor").size(), 1u) << name;  // the chart
        // The chart draws the three data rows over the month names, with no
        // cached numbers: what it shows comes from the cells.
        chart.load_string(pkg.part("xl/charts/chart1.xml").c_str());
        const auto refs = chart.select_nodes("//c:val/c:numRef/c:f");
        ASSERT_EQ(refs.size(), 3u);
        EXPECT_STREQ(refs[0].node().text().get(), "'Energy costs'!$B$1:$M$1");
        EXPECT_STREQ(refs[2].node().text().get(), "'Energy costs'!$B$3:$M$3");
        EXPECT_TRUE(chart.select_nodes("//c:numCache").empty());
    }
    office::setOfficeForTest(office::OfficeSeam::Real);
}

// ------------------------------------------------------ with LibreOffice

struct Rendered : ::testing::Test {
    std::string dir = fixtures::tempDir("rendered");
    void SetUp() override {
        if (!office::officeAvailable()) GTEST_SKIP() << "LibreOffice is not installed";
        if (!built()) GTEST_SKIP() << "the templates are not built";
    }
    void TearDown() override {
        // HEATER_KEEP_RENDERS=folder keeps the pages for a look.
        if (const char* keep = std::getenv("HEATER_KEEP_RENDERS")) {
            fs::create_directories(keep);
            for (auto& e : fs::directory_iterator(dir))
                fs::copy_file(e.path(), fs::path(keep) / e.path().filename(), fs::copy_options::overwrite_existing);
        }
        office::renderer::stop();
        fs::remove_all(dir);
    }
    int pages(const std::string& pdf) {
        const auto out = prn::runProcess({"pdfinfo", pdf}, 20000).output;
        const auto at = out.find("Pages:");
        return at == std::string::npos ? 0 : std::atoi(out.c_str() + at + 6);
    }
    std::string text(const std::string& pdf) {
        return prn::runProcess({"pdftotext", "-layout", pdf, "-"}, 20000).output;
    }
    std::string image(const std::string& pdf, const std::string& stem) {
        prn::runProcess({"pdftoppm", "-r", "50", "-png", "-singlefile", pdf, dir + "/" + stem}, 20000);
        return fixtures::readAll(dir + "/" + stem + ".png");
    }
};

TEST_F(Rendered, AFilledAuditAndWorkbookRenderOnOnePageEach) {
    office::Word w;
    w.Documents().Open(binDir() + "WordPrt1a.dotx");
    w.ActiveDocument().Bookmarks("Getpic").Select();
    w.Selection().InlineShapes().AddPicture(binDir() + "hppic61.bmp", false, true);
    for (const auto& b : auditBookmarks())
        if (b != "Getpic") {
            w.ActiveDocument().Bookmarks(b).Select();
            w.Selection().InsertAfter(b == "bm1" ? "ACME Pool Heating" : "$1,234.56");
        }
    w.ActiveDocument().saveCopy(dir + "/audit.docx");
    w.Quit();
    office::Word s;
    s.Documents().Open(binDir() + "WordPrt2cc.dotx");
    s.ActiveDocument().Bookmarks("Getpic").Select();
    s.Selection().InlineShapes().AddPicture(binDir() + "hppic63.bmp", false, true);
    for (const auto& b : summaryBookmarks()) {
        if (b == "Getpic") continue;
        s.ActiveDocument().Bookmarks(b).Select();
        if (b == "bm1") s.Selection().InsertAfter("ACME Pool Heating");
        else if (b == "cvron") s.Selection().InsertAfter(std::string(33, ' ') + "Covered pool");
        else if (b == "cvroff") s.Selection().InsertAfter(std::string(32, ' ') + "Uncovered pool");
        else if (b.size() > 5 && b[2] >= '2' && b[3] >= '1') s.Selection().InsertAfter(" $1,234");
        else s.Selection().InsertAfter(b);
    }
    s.ActiveDocument().saveCopy(dir + "/summary.docx");
    s.Quit();
    office::Excel x;
    fillWorkbook(x, binDir() + "ENERGY COSTS.xlsx", 1);
    x.saveCopy(dir + "/chart1.xlsx");
    x.Quit();
    office::Excel x2;
    fillWorkbook(x2, binDir() + "ENERGY COSTS.xlsx", 3);  // the same, with other costs
    x2.saveCopy(dir + "/chart2.xlsx");
    x2.Quit();

    const auto pdfs = office::renderToPdf(
        {dir + "/audit.docx", dir + "/chart1.xlsx", dir + "/chart2.xlsx", dir + "/summary.docx"}, dir);
    ASSERT_EQ(pdfs.size(), 4u);
    EXPECT_EQ(pages(pdfs[0]), 1);
    EXPECT_EQ(pages(pdfs[1]), 1);
    EXPECT_EQ(pages(pdfs[3]), 1);
    EXPECT_NE(text(pdfs[3]).find("Uncovered pool"), std::string::npos);
    const std::string audit = text(pdfs[0]);
    EXPECT_NE(audit.find("ACME Pool Heating"), std::string::npos);
    EXPECT_NE(audit.find("$1,234.56"), std::string::npos);
    const std::string chart = text(pdfs[1]);
    EXPECT_NE(chart.find("ACME Pool Heating"), std::string::npos);
    EXPECT_NE(chart.find("Monthly energy costs"), std::string::npos);
    EXPECT_NE(chart.find("Savings in the first year:"), std::string::npos);
    // Only the cell values differ between the two workbooks: the rendered
    // bars (and the axis) differ too.
    EXPECT_NE(image(pdfs[1], "chart1"), image(pdfs[2], "chart2"));
}

}  // namespace
