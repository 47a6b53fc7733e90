// The energy-cost chart workbook, read back cell by cell, and its failures.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "printouts/printouts.h"
#include "tests/printouts/office_fakes.h"
#include "tests/printouts/printouts_fixture.h"
#include "tests/support/expected.h"

namespace {

using prtest::PrintoutTest;

class ChartTest : public PrintoutTest {
protected:
    void SetUp() override {
        PrintoutTest::SetUp();
        prtest::pool_with_gas_and_cover();
        g.data_dir = "/data/";
        ASSERT_TRUE(engine::calc_all());
    }
    prtest::FakeOffice office;
};

// Every call and cell, compared whole with the expected file: the result
// cells cleared first, the pictures placed and sized, the month costs, the
// totals and texts, the print area, printed, closed, quit.
TEST_F(ChartTest, EveryCellOfTheWorkbook) {
    g.company_name = "  Acme Pools ";
    prt_graph();
    EXPECT_EQ("",
              testsupport::diff_text_with_expected(office.excel.dump(), "printouts/expected/chart_pool_gas_cover.txt"));
    EXPECT_EQ(g.company_name, "  Acme Pools ");  // the settings keep it as typed
}

TEST_F(ChartTest, WorkbookPictureLegendAndSavingTexts) {
    struct Case {
        int pump_rec, models_used;
        const char* picture;
    };
    for (const Case& k : {Case{2, 3, "/data/hpopen61.bmp"}, Case{1, 3, "/data/hpopen31.bmp"},
                          Case{1, 0, "/data/hpopen01.bmp"}, Case{7, 3, "/data/hpopen01.bmp"}}) {
        g.pump_rec = static_cast<i16>(k.pump_rec);
        g.models_used = static_cast<i16>(k.models_used);
        office.excel = {};
        prt_graph();
        EXPECT_EQ(office.excel.pictures.at(0), k.picture);
    }
    g.company_var = 1;
    g.fuel_type = HT_HEATPUMP;
    prtest::brand_box() = "Morvenic";
    g.company_name = "Zuro Zove Vodirizi";
    office.excel = {};
    prt_graph();
    EXPECT_EQ(office.excel.workbook, "/data/ENERGY COSTS2.xlsx");
    EXPECT_EQ(office.excel.pictures.at(1), "/data/ksl logo23.bmp");
    EXPECT_EQ(office.excel.text("J15"), "Morvenic");
    EXPECT_EQ(g.company_name, "Zuro Zove Vodirizi");
    for (const char* c : {"a10", "a1", "a6"}) EXPECT_EQ(office.excel.text(c), "");
    g.fuel_type = HT_OIL;
    office.excel = {};
    prt_graph();
    EXPECT_EQ(office.excel.text("a10"), "         Oil                  Saving             Heat Pump");
    EXPECT_EQ(office.excel.text("a1"), "Oil");

    // The first year's saving in whole dollars rounded, as the project
    // window and the pages show it; "$0" for none.
    for (const auto& [saving, shown] : std::vector<std::pair<float, std::string>>{
             {0.0f, "$0"}, {0.49f, "$0"}, {999.99f, "$1,000"}, {4694.6f, "$4,695"}, {-0.7f, "-$1"}}) {
        for (int m = 25; m <= 36; ++m) g.calc_f32[calc_row::hp_cost(m)] = m == 25 ? saving : 0.0f;
        office.excel = {};
        prt_graph();
        EXPECT_EQ(office.excel.text("j65"), shown);
    }
}

// With a backup heater the heat-pump bar is the system's cost (pump and
// backup fuel) and the fuel bar the existing heater heating alone: each
// month's saving is their difference, and the year's is the pages' figure.
TEST_F(ChartTest, ABackedUpSystemIsChartedAgainstTheHeaterAlone) {
    prtest::metric_spa_with_backup();
    ASSERT_TRUE(engine::calc_all());
    prt_graph();
    const prtest::ExcelLog& x = office.excel;
    const char* cols = "bcdefghijklm";
    int backed_up = 0;
    for (int m = 1; m <= 12; ++m) {
        const std::string c(1, cols[m - 1]);
        backed_up += g.calc_f32[calc_row::heater_cost(m)] > 0;
        EXPECT_FLOAT_EQ(x.number(c + "3"), g.calc_f32[calc_row::hp_cost(m)] + g.calc_f32[calc_row::heater_cost(m)])
            << c;
        EXPECT_NEAR(x.number(c + "1") - x.number(c + "3"), x.number(c + "2"), 0.015) << c;
    }
    EXPECT_GT(backed_up, 0);
    EXPECT_NEAR(x.number("b6") - x.number("b7"), x.number("b8"), 0.1);
    EXPECT_EQ(x.text("j65"), vb::Format(g.tot_saving.toDouble(), "$##,##0"));  // the audit page's saving
}

TEST_F(ChartTest, AFailureEndsTheChartAndQuits) {
    struct Case {
        int number;
        const char* call;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {1004, "Open", "Please check the template for the graphic printout",
         "Cannot insert picture. Template may be damaged!\rError  1004 in  3\rThe graphic charts will be aborted"},
        // The template is fine when a picture file or the printing fails: that is named.
        {1004, "Insert", "Prt Graph err",
         "Cannot insert picture /data/hpopen31.bmp: the file is missing or is not a picture\rError  1004 in  6\r"
         "The graphic charts will be aborted"},
        {1004, "PrintOut", "Prt Graph err",
         "The chart could not be printed: Application-defined error\rError  1004 in  19\r"
         "The graphic charts will be aborted"},
        {53, "Open", "Prt Graph err", "Application-defined error 53 in  3"},
        {25, "PrintOut", "Prt Graph err", "Application-defined error 25 in  19"},
        {1004, "j14", "Please check the template for the graphic printout",
         "Cannot insert picture. Template may be damaged!\rError  1004 in  15\rThe graphic charts will be aborted"},
    };
    for (const Case& k : cases) {
        office.excel = {};
        office.xscript = {k.number, k.call, false};
        script.clear();
        script.answer(ui::vbOK);
        prt_graph();
        ASSERT_EQ(script.shown().size(), 1u) << k.call;
        EXPECT_EQ(script.shown()[0].title, k.title);
        EXPECT_EQ(script.shown()[0].text, k.text);
        EXPECT_EQ(office.excel.prints, 0) << k.call;
        EXPECT_EQ(office.excel.quits, 1);
        EXPECT_EQ(office.excel.closes, 1);
    }
    // No spreadsheet program: one message and nothing to quit.
    office.xscript = {};
    office.xscript.not_installed = true;
    office.excel = {};
    script.clear();
    script.answer(ui::vbOK);
    prt_graph();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "ActiveX component can't create object 429 in  2");
    EXPECT_EQ(office.excel.quits, 0);
    EXPECT_EQ(script.busyDepth(), 0);
    // Cancel on the progress window: no message, the workbook closed.
    office.xscript = {};
    office.xscript.cancelled = true;
    script.clear();
    prt_graph();
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(office.excel.closes, 1);
}

}  // namespace
