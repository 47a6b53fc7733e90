// The spreadsheet object: cells written and read back, pictures with their
// size, the print area, and the error numbers the chart printout handles.
#include "office/excel.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "core/ui.h"
#include "office/render.h"
#include "tests/office/fixtures.h"
#include "tests/support/expected.h"

using fixtures::errorOf;
using office::Excel;

namespace {

struct ExcelTest : ::testing::Test {
    std::string dir = fixtures::tempDir("excel");
    std::string book = dir + "/ENERGY COSTS.xlsx";
    void SetUp() override {
        office::setOfficeForTest(office::OfficeSeam::Present);
        fixtures::workbook().save(book);
    }
    void TearDown() override { office::setOfficeForTest(office::OfficeSeam::Real); }

    office::Package saved(Excel& x) {
        const std::string path = dir + "/copy.xlsx";
        x.saveCopy(path);
        return office::Package::load(path);
    }
    static pugi::xml_document xml(const office::Package& p, const std::string& part) {
        pugi::xml_document d;
        d.load_string(p.part(part).c_str());
        return d;
    }
};

void put(Excel& x, const char* address, float v) {
    x.Range(address).Select();
    x.ActiveCell().FormulaR1C1(v);
}
void put(Excel& x, const char* address, const std::string& t) {
    x.Range(address).Select();
    x.ActiveCell().FormulaR1C1(t);
}

TEST_F(ExcelTest, NumbersStayNumbersAndTextsTextsCellByCell) {
    const std::string before = fixtures::readAll(book);
    Excel x;
    x.Workbooks().Open(book);
    put(x, "b3", 12.34f);
    put(x, "m3", -0.5f);
    put(x, "c3", 1e7f);
    put(x, "J65", "");  // cleared
    put(x, "j66", "$1,234");
    put(x, "a10", "         Oil                  Saving             Heat Pump");
    put(x, "I29", "=not a formula");
    put(x, "e1", 3.0f);
    put(x, "A1", "Oil");                          // a cell before the others of its row
    put(x, "j17", "M\xFCller\x01 \xEF\xBF\xBE");  // old code page, a control character, U+FFFE
    put(x, "b3", 99.5f);                          // written again: the last value counts
    x.Range("b3").Select();
    EXPECT_EQ(x.ActiveCell().FormulaR1C1(), "99.5");
    x.Range("J65").Select();
    EXPECT_EQ(x.ActiveCell().FormulaR1C1(), "");
    x.Range("j66").Select();
    EXPECT_EQ(x.ActiveCell().FormulaR1C1(), "$1,234");

    // The sheet compared whole: numbers stay numbers and texts texts (a
    // "formula" too), the cell's formatting kept, rows and cells in order
    // as the format requires, text that is not text made valid; the
    // workbook recalculates on opening.
    const auto pkg = saved(x);
    EXPECT_EQ(
        "", testsupport::diff_text_with_expected(fixtures::parts(pkg, {"xl/worksheets/sheet1.xml", "xl/workbook.xml"}),
                                                 "office/expected/cells.txt"));
    x.Quit();
    EXPECT_EQ(fixtures::readAll(book), before);
}

TEST_F(ExcelTest, PicturesSitOnTheActiveCellAtTheSizeAsked) {
    fixtures::write(dir + "/hpopen31.bmp", fixtures::bmp(96, 48));  // 72 x 36 points
    fixtures::write(dir + "/ksl logo21.bmp", fixtures::bmp(120, 60));
    Excel x;
    x.Workbooks().Open(book);
    x.Range("K20").Select();
    EXPECT_EQ(errorOf([&] { x.Selection().ShapeRange().Height(10); }), 438);  // a cell is selected
    EXPECT_EQ(errorOf([&] { x.ActiveSheet().Pictures().Insert(dir + "/hpopen01.bmp"); }), 1004);
    x.ActiveSheet().Pictures().Insert(dir + "/hpopen31.bmp").Select();
    x.Selection().ShapeRange().LockAspectRatio(false);
    x.Selection().ShapeRange().Height(108.75);
    x.Selection().ShapeRange().Width(97.5);
    EXPECT_DOUBLE_EQ(x.Selection().ShapeRange().Height(), 108.75);
    EXPECT_DOUBLE_EQ(x.Selection().ShapeRange().Width(), 97.5);
    x.Range("e21").Select();
    x.ActiveSheet().Pictures().Insert(dir + "/ksl logo21.bmp").Select();
    x.Selection().ShapeRange().Height(45);  // locked: the width follows (90 x 45 -> 90 x 45)
    EXPECT_DOUBLE_EQ(x.Selection().ShapeRange().Width(), 90);
    x.Selection().ShapeRange().Height(90);
    EXPECT_DOUBLE_EQ(x.Selection().ShapeRange().Width(), 180);
    EXPECT_EQ(x.pictureCount(), 2);

    // The drawing after the page margins (the schema's order), anchored at
    // K20 and e21, 108.75 x 97.5 pt in EMU, the pictures' bytes as they were.
    const auto pkg = saved(x);
    EXPECT_EQ("", testsupport::diff_text_with_expected(
                      fixtures::parts(pkg, {"[Content_Types].xml", "xl/worksheets/sheet1.xml",
                                            "xl/drawings/drawing1.xml", "xl/drawings/_rels/drawing1.xml.rels"}),
                      "office/expected/pictures.txt"));
    EXPECT_EQ(pkg.part("xl/media/image1.bmp"), fixtures::bmp(96, 48));
}

TEST_F(ExcelTest, ThePrintAreaIsTheSheetsPrintAreaName) {
    Excel x;
    x.Workbooks().Open(book);
    x.Application().ActiveSheet().PageSetup().PrintArea("$C$1:$D$2");
    x.Application().ActiveSheet().PageSetup().PrintArea("$C$12:$o$68");  // replaces the first
    EXPECT_EQ(x.ActiveSheet().PageSetup().PrintArea(), "$C$12:$O$68");
    EXPECT_EQ(errorOf([&] { x.ActiveSheet().PageSetup().PrintArea("C12"); }), 1004);
    EXPECT_EQ(errorOf([&] { x.ActiveSheet().PageSetup().PrintArea("$C$12:$o$"); }), 1004);
    const auto wb = xml(saved(x), "xl/workbook.xml");
    const auto names = wb.select_nodes("//definedName");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_STREQ(names[0].node().attribute("name").value(), "_xlnm.Print_Area");
    EXPECT_STREQ(names[0].node().attribute("localSheetId").value(), "0");
    EXPECT_STREQ(names[0].node().text().get(), "'Energy''s costs'!$C$12:$O$68");
    EXPECT_STREQ(names[0].node().parent().previous_sibling().name(), "sheets");
}

TEST_F(ExcelTest, FailuresCarryTheNumbersThePrintoutsHandle) {
    fixtures::write(dir + "/damaged.xlsx", "not a workbook");
    Excel x;
    EXPECT_EQ(errorOf([&] { x.Range("b3").Select(); }), 1004);  // no workbook open
    EXPECT_EQ(errorOf([&] { x.Workbooks().Open(dir + "/ENERGY COSTS9.xlsx"); }), 1004);
    EXPECT_EQ(errorOf([&] { x.Workbooks().Open(dir + "/damaged.xlsx"); }), 1004);
    office::Package notText = fixtures::workbook();  // a sheet holding a byte that is not text
    std::string sheet = notText.part("xl/worksheets/sheet1.xml");
    notText.set("xl/worksheets/sheet1.xml", sheet.replace(sheet.find("old"), 3, "\xFF"));
    notText.save(dir + "/nottext.xlsx");
    EXPECT_EQ(errorOf([&] { x.Workbooks().Open(dir + "/nottext.xlsx"); }), 1004);
    x.Workbooks().Open(book);
    EXPECT_EQ(errorOf([&] { x.Range("K").Select(); }), 1004);
    EXPECT_EQ(errorOf([&] { x.Range("b3:c4").Select(); }), 1004);
    x.Quit();
    EXPECT_EQ(errorOf([&] { x.Range("b3").Select(); }), 462);
    EXPECT_EQ(errorOf([&] { x.Workbooks().Open(book); }), 462);
    office::setOfficeForTest(office::OfficeSeam::Missing);
    EXPECT_EQ(errorOf([] { Excel none; }), 429);
}

}  // namespace
