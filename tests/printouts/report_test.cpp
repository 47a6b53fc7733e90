// The report cost recalculation, the pump caption and the fuel-price labels.
#include <gtest/gtest.h>

#include "app/data.h"
#include "core/ui.h"
#include "engine/engine.h"
#include "print/printer.h"
#include "printouts/page.h"
#include "printouts/report.h"
#include "tests/printouts/printouts_fixture.h"
#include "tests/support/expected.h"

namespace {

using prtest::PrintoutTest;

// A model with hand-set monthly results: every month heated at 80 °F in
// 70 °F air, 3,413,000 BTU a month, C.O.P. 4, no backup.
class Calc3Test : public PrintoutTest {
protected:
    void SetUp() override {
        PrintoutTest::SetUp();
        for (int m = 1; m <= 12; ++m) {
            g.run_state[m][0] = 1;
            g.month_need[m] = 3413000;
            g.month_cop[m] = 4;
            g.month_city_c[m] = 70;
            g.temp_table[m][5] = 80;
            g.month_hours_c[m][0] = 8;
            g.calc_f32[calc_row::hours(m)] = 6;
        }
        g.rate_elec = cy(0.095);
        g.fuel_type = HT_HEATPUMP;
        g.prt_choice = kChoiceSummary;
    }
    double hp = -1;
    Currency fuel = Currency::dollars(-1), saving = Currency::dollars(-1);
    void run() { calculate3(hp, fuel, saving); }
};

// The year's heat-pump cost: 1000 kWh a month ($95.0 at C.O.P. 4), floor
// returns on a pool only; a backup month runs the pump around the clock
// (4,000 BTU/h in January's 744 hours) and leaves the rest, 437,000 BTU, to
// the propane heater at 91 % of 91,000 BTU a gallon. (The other month
// costs by heater: the whole pages.)
TEST_F(Calc3Test, PumpCostFloorReturnsAndBackupMonth) {
    const struct {
        const char* type;
        int reduce, backup;
        double hp, fuel;
    } rows[] = {
        {"Pool", 0, 0, 12 * 95.0 / 4, 0},
        {"Pool", 1, 0, 12 * 95.0 / 4 * 0.8, 0},
        {"Spa", 1, 0, 12 * 95.0 / 4, 0},
        {"Pool", 0, 1, 4000.0 * 24 * 31 * 0.095 / 4 * 0.293 / 1000 + 11 * 95.0 / 4, 437000.0 / (0.91 * 91000) * 2.0},
    };
    for (const auto& r : rows) {
        SetUp();
        g.pool_type = r.type;
        g.opt_reduce = static_cast<i16>(r.reduce);
        g.reduce_pct = 0.2f;  // a share: 20 % less
        if (r.backup) {
            g.fuel_type = HT_PROPANE;
            g.heater_eff = 91;
            g.rate_propane = cy(2.00);
            g.backup_on = g.backup_month[1] = 1;
            g.month_load[1][1] = 4000;
            for (int m = 2; m <= 12; ++m) g.month_load[m][1] = 10000;  // more than the need: no rest
        }
        run();
        EXPECT_NEAR(hp, r.hp, 1e-4) << r.type << r.reduce << r.backup;
        EXPECT_EQ(fuel, cy(r.fuel)) << r.type << r.reduce << r.backup;  // a negative rest counts as nothing
    }
}

// A heater without efficiency, as a settings file may hold it: no fuel cost.
TEST_F(Calc3Test, AHeaterWithoutEfficiencyCostsNothing) {
    g.fuel_type = HT_GAS;
    g.heater_eff = 0;
    run();
    EXPECT_EQ(fuel, Currency{});
    EXPECT_EQ(saving, cy(-12 * 23.75));  // the pump's 1000 kWh at 9.5 cents and C.O.P. 4
}

TEST_F(Calc3Test, MonthRowsInTheirHeaterAndNoHeaterForms) {
    g.run_state[3][0] = 0;  // March not heated
    g.month_hours_c[2][0] = 0;
    g.calc_f32[calc_row::hours(4)] = 0.4f;
    g.calc_f32[calc_row::hours(5)] = 0;
    g.calc_f32[calc_row::hours(6)] = 12.6f;
    g.calc_f32[calc_row::hours(10)] = 1;  // exactly one hour
    g.month_city_c[1] = 0;                // no air value yet: 0 in January
    g.month_city_c[9] = -3;               // a value below 0 keeps August's
    g.month_city_c[8] = 77;
    // The rows (0 .. 12, columns 0 .. 8) without a heater, with an oil
    // heater, in Celsius (70 °F = 21.1, 80 °F = 26.7), with 0.2 °C in July
    // (a figure, not an empty cell), and none for the plain-text page.
    std::string rows;
    auto dump = [&](const char* form) {
        run();
        rows += std::string("# ") + form + "\n";
        for (int m = 0; m <= 12; ++m) {
            for (int c = 0; c <= 8; ++c) rows += rep_text(m, c) + "|";
            rows += "\n";
        }
    };
    dump("no heater: 0 hours read <1");
    g.fuel_type = HT_OIL;
    g.heater_eff = 80;
    dump("oil heater: 0 hours read Off");
    g.units_temp = 1;
    dump("Celsius");
    g.month_city_c[7] = 32.3f;
    dump("0.2 C in July");
    g.prt_choice = kChoicePlainText;
    rep_text.clear();
    dump("the plain-text page prints instead");
    EXPECT_EQ("", testsupport::diff_text_with_expected(rows, "printouts/expected/month_rows.txt"));
}

// The month lines of the plain-text audit, compared as printed columns.
std::vector<std::string> printed(const std::vector<PrintLine>& lines) {
    prn::Capture cap;
    for (const PrintLine& l : lines) print_line(l);
    const auto text = prn::printer().document().pageText(0);
    prn::printer().KillDoc();
    return text;
}

TEST_F(Calc3Test, PrintedMonthLines) {
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
    g.run_state[12][0] = 0;
    g.calc_f32[calc_row::hp_cost(1)] = 1234.5f;
    g.calc_f32[calc_row::heater_cost(1)] = 98765.43f;
    g.calc_f32[calc_row::saving(1)] = -12.0f;
    g.month_city_c[1] = -2;  // below 0 °F in January: no air (nor water) value to print
    const auto lines = printed(month_lines(9));
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "          JAN                       8        6       $1,234.50    $98,765.43       -$12.00");
    // An unheated month: N/A under the temperatures, "Off" for its costs
    // (never $0.00), ended like every line.
    EXPECT_EQ(lines[11], "          DEC      70     N/A     N/A      off             Off           Off           Off");

    g.fuel_type = HT_HEATPUMP;  // no heater: no heater or saving columns
    const auto short_lines = printed(month_lines(9));
    EXPECT_EQ(short_lines[0], "          JAN                       8        6       $1,234.50");
    EXPECT_EQ(short_lines[11], "          DEC      70     N/A     N/A      off             Off");
    for (const PrintLine& l : month_lines(9)) EXPECT_FALSE(l.open);

    // An unheated month's air temperature starts in column co + 11 (20),
    // whatever its width; a heated month's ends in co + 12 (21).
    g.run_state[10][0] = 0;
    g.month_city_c[10] = 105;
    g.month_city_c[11] = 5;
    g.month_city_c[12] = 5;
    const auto narrow = printed(month_lines(9));
    EXPECT_EQ(narrow[9].substr(0, 23), "          OCT      105 ");
    EXPECT_EQ(narrow[10].substr(0, 23), "          NOV       5  ");
    EXPECT_EQ(narrow[11].substr(0, 23), "          DEC      5   ");
}

// Each print choice gets the month table where its printout reads it: the
// Word documents in rep_text, the plain-text page as printed lines; the
// report book and a number that is no choice get neither.
TEST_F(Calc3Test, EachPrintChoiceGetsItsOwnMonthTable) {
    const struct {
        int choice;
        bool rows, lines;
    } cases[] = {{kChoiceCoverageChart, true, false},
                 {kChoicePlainText, false, true},
                 {kChoiceReportBook, false, false},
                 {kChoiceOneCoverage, true, false},
                 {kChoiceSummary, true, false},
                 {0, false, false},
                 {6, false, false}};
    for (const auto& c : cases) {
        g.prt_choice = static_cast<i16>(c.choice);
        rep_text.clear();
        prn::Capture cap;
        run();
        const auto lines = prn::printer().document().pageText(0);
        prn::printer().KillDoc();
        EXPECT_EQ(rep_text(1, 1) == "JAN" && rep_text(12, 5) == "6", c.rows) << c.choice;
        EXPECT_EQ(lines.size(), c.lines ? 12u : 0u) << c.choice;
    }
}

// On a real project: the engine's results stay as the engine left them, and
// a second run gives the same figures.
TEST_F(PrintoutTest, RecalculationLeavesTheEngineAloneAndRepeats) {
    prtest::pool_with_gas_and_cover();
    ASSERT_TRUE(engine::calc_all());
    const DataModel before = g;
    g.prt_choice = kChoiceOneCoverage;
    double hp1 = 0, hp2 = 0;
    Currency f1, f2, s1, s2;
    calculate3(hp1, f1, s1);
    const RepText rows1 = rep_text;
    calculate3(hp2, f2, s2);
    EXPECT_EQ(hp1, hp2);
    EXPECT_EQ(f1, f2);
    EXPECT_EQ(s1, s2);
    for (int m = 1; m <= 12; ++m)
        for (int c = 1; c <= 5; ++c) EXPECT_EQ(rows1(m, c), rep_text(m, c));
    EXPECT_EQ(g.heater_yr_cost, before.heater_yr_cost);
    EXPECT_EQ(g.heater_energy, before.heater_energy);
    EXPECT_EQ(g.need_total, before.need_total);
    EXPECT_EQ(g.month_cop, before.month_cop);
    EXPECT_EQ(g.heater_cost_cy, before.heater_cost_cy);
    EXPECT_EQ(g.heater_fuel_cy, before.heater_fuel_cy);
    EXPECT_EQ(g.hp_month_cost, before.hp_month_cost);
    EXPECT_EQ(g.calc_month, before.calc_month);
    // The totals are the engine's own, and the saving is the engine's year
    // saving to within the tenths the report cuts the electricity to.
    EXPECT_EQ(g.tot_hp, before.tot_hp);
    EXPECT_EQ(g.tot_heater, before.tot_heater);
    EXPECT_EQ(g.tot_saving, before.tot_saving);
    EXPECT_NEAR(s1.toDouble(), before.tot_saving.toDouble(), 2.0);
    EXPECT_NEAR(hp1, before.tot_hp.toDouble(), 2.0);
}

// ---- caption and labels -------------------------------------------------------------------------

TEST_F(PrintoutTest, PumpCaption) {
    g.combo_idx = 3;
    g.combo_n1[3] = 2;
    g.model_name = "HX 520";
    std::string cap, b, c, a;
    pump_title(cap, b, c, a);
    EXPECT_EQ(cap, " 2   Kestrolin   Model HX 520");
    EXPECT_EQ(b, " Model HX 520");
    EXPECT_EQ(c, "HX 730");
    EXPECT_EQ(a, "HX 310");

    prtest::brand_box() = "  A Brand Name Longer Than Sixteen";  // cut to 16, then trimmed
    pump_title(cap, b, c, a);
    EXPECT_EQ(cap, " 2   A Brand Name Lon   Model HX 520");

    g.combo_n1[3] = 0;
    pump_title(cap, b, c, a);
    EXPECT_EQ(cap, "");
}

TEST_F(PrintoutTest, FuelPriceInTheChosenUnit) {
    struct Case {
        int fuel, unit;
        double stored, price;
        const char* label;
    };
    const Case cases[] = {
        {HT_ELEC, 0, 0.15, 0.15, "/KWH        "},      {HT_GAS, 0, 1.00, 1.00, "/Therm      "},
        {HT_GAS, 1, 1.00, 1.00, "/100K BTU   "},       {HT_GAS, 2, 1.00, 0.0341, "/KWH Gas    "},
        {HT_GAS, 3, 1.00, 0.9480, "/100 MJ Gas "},     {HT_PROPANE, 0, 2.00, 2.00, "/Gal Prop"},
        {HT_PROPANE, 1, 3.785, 1.00, "/Ltr Propane"},  {HT_PROPANE, 2, 2.00, 0.4707, "/LB Propane "},
        {HT_PROPANE, 3, 2.00, 1.0378, "/KG Propane "}, {HT_PROPANE, 4, 2.00, 2.4031, "/UK Gal Prop"},
        {HT_OIL, 0, 1.50, 1.50, "/Gal Oil    "},       {HT_OIL, 1, 1.50, 0.3963, "/Liter Oil  "},
        {HT_OIL, 2, 1.50, 11.2208, "/Ft^3 Oil   "},    {HT_OIL, 3, 1.50, 1.8023, "/UK Gal Oil "},
    };
    for (const Case& k : cases) {
        g.fuel_type = static_cast<i16>(k.fuel);
        g.rate_elec = g.rate_natgas = g.rate_propane = g.rate_oil = cy(k.stored);
        g.fuel_units[1] = g.fuel_units[2] = g.fuel_units[3] = static_cast<float>(k.unit);
        Currency price;
        std::string label;
        unit_labels(price, label);
        EXPECT_EQ(price, cy(k.price)) << k.label;
        EXPECT_EQ(label, k.label);
        EXPECT_TRUE(vb::Len(label) == 12 || label == "/Gal Prop") << label;
    }
    // No heater, or a unit no row knows: the caller's values stand.
    for (int fuel : {1, 3}) {
        g.fuel_type = static_cast<i16>(fuel);
        g.fuel_units[1] = 7;
        Currency price = cy(9.99);
        std::string label = "keep";
        unit_labels(price, label);
        EXPECT_EQ(price, cy(9.99));
        EXPECT_EQ(label, "keep");
    }
}

// (The weather-city entry and the brand's number: the whole pages, the
// chart's pictures and the Word templates in the other printout tests.)

}  // namespace
