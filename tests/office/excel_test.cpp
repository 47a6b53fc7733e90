// The spreadsheet object: cells written and read back, pictures with their
// size, the print area, and the error numbers the chart printout handles.
#include "office/excel.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "core/ui.h"
#include "office/render.h"
#include "office/xlsx_read.h"
#include "tests/office/fixtures.h"

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

    const auto pkg = saved(x);
    const auto cells = office::readActiveSheet(pkg);
    EXPECT_EQ(cells.text("B3"), "99.5");
    EXPECT_EQ(cells.text("M3"), "-0.5");
    EXPECT_EQ(cells.text("C3"), "1e+07");
    EXPECT_EQ(cells.text("J65"), "");
    EXPECT_EQ(cells.text("J66"), "$1,234");
    EXPECT_EQ(cells.text("A10"), "         Oil                  Saving             Heat Pump");
    EXPECT_EQ(cells.text("I29"), "=not a formula");  // stays a text
    EXPECT_EQ(cells.text("E1"), "3");
    EXPECT_EQ(cells.text("J17"), "M\u00FCller ");

    const auto sheet = xml(pkg, "xl/worksheets/sheet1.xml");
    const auto b3 = sheet.select_node("//c[@r='B3']").node();
    EXPECT_STREQ(b3.attribute("s").value(), "2");  // formatting kept
    EXPECT_FALSE(b3.attribute("t"));               // a number
    EXPECT_STREQ(sheet.select_node("//c[@r='J66']").node().attribute("t").value(), "inlineStr");
    // Rows and cells stay in order, as the format requires.
    std::vector<std::string> order;
    for (auto n : sheet.select_nodes("//c")) order.push_back(n.node().attribute("r").value());
    EXPECT_EQ(order, (std::vector<std::string>{"A1", "E1", "B3", "C3", "M3", "A10", "J17", "I29", "J65", "J66"}));
    EXPECT_STREQ(xml(pkg, "xl/workbook.xml").select_node("//calcPr").node().attribute("fullCalcOnLoad").value(), "1");
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

    const auto pkg = saved(x);
    const auto sheet = xml(pkg, "xl/worksheets/sheet1.xml");
    const auto drawingRef = sheet.select_node("//drawing").node();
    ASSERT_TRUE(drawingRef);
    EXPECT_STREQ(drawingRef.previous_sibling().name(), "pageMargins");  // the schema's order
    const auto drawing = xml(pkg, "xl/drawings/drawing1.xml");
    const auto anchors = drawing.select_nodes("//xdr:oneCellAnchor");
    ASSERT_EQ(anchors.size(), 2u);
    const auto first = anchors[0].node();
    EXPECT_STREQ(first.child("xdr:from").child_value("xdr:col"), "10");             // K
    EXPECT_STREQ(first.child("xdr:from").child_value("xdr:row"), "19");             // 20
    EXPECT_STREQ(first.child("xdr:ext").attribute("cy").value(), "1381125");        // 108.75 pt
    EXPECT_STREQ(first.child("xdr:ext").attribute("cx").value(), "1238250");        // 97.5 pt
    EXPECT_STREQ(anchors[1].node().child("xdr:from").child_value("xdr:col"), "4");  // e
    EXPECT_EQ(pkg.part("xl/media/image1.bmp"), fixtures::bmp(96, 48));
    EXPECT_NE(pkg.part("[Content_Types].xml").find("/xl/drawings/drawing1.xml"), std::string::npos);
    EXPECT_NE(pkg.part("xl/drawings/_rels/drawing1.xml.rels").find("../media/image2.bmp"), std::string::npos);
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
