// The cost stages: month costs by heater type, the backup heater, the
// results table, savings, payback, return and the yearly tables.
#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace {

using namespace samples;

// Only January heated, with the given need (BTU) and C.O.P.; the pump
// delivers `load` BTU/h.
void january(double need, float cop, double load = 60000) {
    for (int m = 1; m <= 12; ++m) {
        g.run_state[m][0] = m == 1 ? 1 : 0;
        g.month_need[m] = m == 1 ? need : 0;
        g.month_cop[m] = m == 1 ? cop : 0.0f;
        g.month_load[m] = {};
        g.backup_month[m] = 0;
    }
    g.month_load[1][1] = load;
}

// One month's costs in the results table: heat pump (row 1), existing
// heater (13), saving (25), each in cents; January heated, the other months
// not. The pump's C.O.P. is 4.
TEST_F(EngineTest, MonthCostsByHeaterType) {
    const struct {
        const char* what;
        int fuel;
        double need, rate;
        float eff;
        const char* type;
        int reduce, backup;
        double hp, heater, saving;
    } table[] = {
        {"electric: 1000 kWh at 9.5 cents", HT_ELEC, 3413000, 0.095, 80, "Pool", 0, 0, 23.75, 95.00, 71.25},
        {"electric, no cutting to tenths", HT_ELEC, 3412000, 0.095, 80, "Pool", 0, 0, 23.74, 94.97, 71.23},
        {"half a cent rounds away from zero", HT_GAS, 400, 1.00, 80, "Pool", 0, 0, 0.00, 0.01, 0.00},
        {"gas: 100 therms at 80 %", HT_GAS, 8000000, 1.00, 80, "Pool", 0, 0, 55.67, 100.00, 44.33},
        {"propane: 91,000 BTU a gallon", HT_PROPANE, 8000000, 2.00, 80, "Pool", 0, 0, 55.67, 219.78, 164.11},
        {"oil: 140,000 BTU a gallon", HT_OIL, 8000000, 3.00, 80, "Pool", 0, 0, 55.67, 214.29, 158.62},
        {"gas heater without efficiency: no cost, no failure", HT_GAS, 3413000, 1.00, 0, "Pool", 0, 0, 23.75, 0,
         -23.75},
        {"floor returns cut a pool's pump cost", HT_ELEC, 3413000, 0.095, 80, "Pool", 1, 0, 19.00, 95.00, 76.00},
        {"but never a spa's", HT_ELEC, 3413000, 0.095, 80, "Spa", 1, 0, 23.75, 95.00, 71.25},
        // A backup month: the pump runs around the clock at 10,000 BTU/h
        // (7,440,000 BTU x 0.095 / 4 x 0.293 / 1000), gas at 80 % the other
        // 8,000,000 BTU; saved against the gas heater alone (193.00).
        {"backup month", HT_GAS, 7440000 + 8000000, 1.00, 80, "Pool", 0, 1, 51.77, 100.00, 41.23},
    };
    for (const auto& r : table) {
        SetUp();
        g.rate_elec = cy(0.095);
        g.rate_natgas = g.rate_propane = g.rate_oil = cy(r.rate);
        g.fuel_type = static_cast<i16>(r.fuel);
        g.heater_eff = r.eff;
        g.pool_type = r.type;
        g.opt_reduce = static_cast<i16>(r.reduce);
        g.reduce_pct = 0.2f;
        g.backup_on = static_cast<i16>(r.backup);
        january(r.need, 4.0f, r.backup ? 10000 : 60000);
        g.backup_month[1] = static_cast<i16>(r.backup);
        ASSERT_TRUE(engine::Backcalc()) << r.what;
        EXPECT_FLOAT_EQ(g.calc_f32[calc_row::hp_cost(1)], static_cast<float>(r.hp)) << r.what;
        EXPECT_FLOAT_EQ(g.calc_f32[calc_row::heater_cost(1)], static_cast<float>(r.heater)) << r.what;
        EXPECT_FLOAT_EQ(g.calc_f32[calc_row::saving(1)], static_cast<float>(r.saving)) << r.what;
        EXPECT_FLOAT_EQ(g.reduce_factor, r.reduce && r.type[0] == 'P' ? 0.8f : 1.0f) << r.what;
        EXPECT_EQ(g.tot_heater, cy(r.heater)) << r.what;
        // The year's fuel is January's alone, however many unheated months follow.
        EXPECT_NEAR(g.heater_energy[r.fuel], r.heater, 0.0051) << r.what;
    }
}

// The existing heater as every window, the engine and the printouts ask it:
// a heater type that the settings file or an older version left out of
// range is no heater, so that it indexes no per-heater array and backs up
// nothing; the engine prices no heater for it.
TEST_F(EngineTest, AHeaterTypeOutOfRangeIsNoHeater) {
    const struct {
        int fuel, existing;
    } table[] = {{-1, HT_HEATPUMP}, {0, HT_HEATPUMP}, {HT_HEATPUMP, HT_HEATPUMP}, {HT_ELEC, HT_ELEC},
                 {HT_GAS, HT_GAS},  {HT_OIL, HT_OIL}, {6, HT_HEATPUMP},           {300, HT_HEATPUMP}};
    for (const auto& r : table) {
        for (int backup : {0, 1}) {
            SetUp();
            g.fuel_type = static_cast<i16>(r.fuel);
            g.backup_on = static_cast<i16>(backup);
            EXPECT_EQ(existing_heater(), r.existing) << r.fuel;
            EXPECT_EQ(has_heater(), r.existing != HT_HEATPUMP) << r.fuel;
            EXPECT_EQ(has_backup(), backup == 1 && r.existing != HT_HEATPUMP) << r.fuel;
            january(8000000, 4.0f);
            ASSERT_TRUE(engine::Backcalc()) << r.fuel;
            // (With backup the pump's 60,000 BTU/h leave the heater nothing.)
            if (backup == 0) {
                EXPECT_EQ(g.calc_f32[calc_row::heater_cost(1)] > 0, r.existing != HT_HEATPUMP) << r.fuel;
            }
        }
    }
}

// A full year: the results table is laid out as the printouts read it, and
// the yearly figures are the sums of the months.
TEST_F(EngineTest, ResultsTableAndYearlyFigures) {
    g.fuel_type = HT_GAS;
    heat_months(2, 11, 82);
    set_cover(8);
    ASSERT_TRUE(engine::calc_all());
    Currency hp, heater, saving;
    for (int m = 1; m <= 12; ++m) {
        hp += cy(g.calc_f32[calc_row::hp_cost(m)]);
        heater += cy(g.calc_f32[calc_row::heater_cost(m)]);
        saving += cy(g.calc_f32[calc_row::saving(m)]);
        if (m == 1 || m == 12)  // not heated
            for (int r : {calc_row::hp_cost(m), calc_row::heater_cost(m), calc_row::saving(m), calc_row::hours(m)})
                EXPECT_EQ(g.calc_f32[r], 0.0f) << "row " << r;
        else
            EXPECT_NEAR(g.calc_f32[calc_row::saving(m)],
                        g.calc_f32[calc_row::heater_cost(m)] - g.calc_f32[calc_row::hp_cost(m)], 0.011)
                << m;
    }
    // (Each month's figures as printed: the whole pages.)
    EXPECT_EQ(g.tot_hp, hp);
    EXPECT_EQ(g.tot_heater, heater);
    EXPECT_EQ(g.tot_saving, saving);
    EXPECT_GT(g.tot_saving, Currency{});
    EXPECT_EQ(g.calc_f32[calc_row::kFiveYearHp], static_cast<float>((hp * 5).toDouble()));
    EXPECT_EQ(g.calc_f32[calc_row::kFiveYearHeater], static_cast<float>((heater * 5).toDouble()));
    EXPECT_EQ(g.calc_f32[calc_row::kFiveYearSaving], static_cast<float>((saving * 5).toDouble()));

    // Chicago, April to October: backup months in spring and autumn, then
    // unheated months. The yearly saving and the backup fuel are the sums of
    // the months (within a cent a month), with and without the backup.
    set_climate(kChicago);
    heat_months(4, 10, 82);
    for (int backup : {0, 1}) {
        g.backup_on = static_cast<i16>(backup);
        ASSERT_TRUE(engine::calc_all());
        EXPECT_NEAR(g.heater_yr_cost[HT_HEATPUMP], g.tot_hp.toDouble(), 0.06) << backup;
        EXPECT_NEAR(g.year_saving.toDouble(), g.tot_saving.toDouble(), 0.12) << backup;
        EXPECT_NEAR(backup ? g.heater_energy[HT_GAS] : g.heater_yr_cost[HT_GAS], g.tot_heater.toDouble(), 0.06);
    }
    EXPECT_GT(g.backup_month[4] + g.backup_month[10], 0);

    // No existing heater: no heater cost, no saving; the yearly table counts
    // the heat pump once.
    g.fuel_type = 1;
    ASSERT_TRUE(engine::calc_all());
    for (int r = calc_row::heater_cost(1); r <= calc_row::saving(12); ++r) EXPECT_EQ(g.calc_f32[r], 0.0f) << r;
    EXPECT_GT(g.tot_hp, Currency{});
    EXPECT_EQ(g.year_saving, Currency{});
    EXPECT_EQ(g.payback_f32[1], 0.0f);
    EXPECT_TRUE(g.proj_save.empty());
    EXPECT_EQ(g.heater_cum_cy[1], g.year_tab_hp[1] * 5);
    EXPECT_EQ(g.year_tab_fuel[1], Currency{});
}

// Yearly costs: heat pump 766, gas heater alone 2,000, electric resistance
// 3,000; two units of the medium model at 4,000.
class PaybackTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g.fuel_type = HT_GAS;
        g.heater_yr_cost = {0, 766, 3000, 2000};
        g.heater_energy = {0, 766};
        g.combo_idx = g.combo_n1[2] = 2;
        g.model_price = {Currency{}, cy(3000), cy(4000), cy(5000)};
    }
};

TEST_F(PaybackTest, SavingsPaybackAndReturn) {
    const struct {
        const char* what;
        int backup;
        double hp_year, backup_fuel, price;
        double saving;
        float payback, roi;
        const char* proj;
    } table[] = {
        {"saving", 0, 766, 0, 4000, 1234, 8000.0f / 1234.0f, 1234.0f / 8000.0f, "$1,234 a year (62%)"},
        {"backed up: the backup fuel counts", 1, 766, 300, 4000, 934, 8000.0f / 934.0f, 934.0f / 8000.0f,
         "$934 a year (47%)"},
        {"no saving: no payback", 0, 2500, 0, 4000, -500, 0, 0, "-$500 a year (-25%)"},
        {"no investment: no payback", 0, 766, 0, 0, 1234, 0, 0, "$1,234 a year (62%)"},
    };
    for (const auto& r : table) {
        SetUp();
        g.backup_on = static_cast<i16>(r.backup);
        g.heater_yr_cost[HT_HEATPUMP] = g.heater_energy[HT_HEATPUMP] = r.hp_year;
        g.heater_energy[HT_GAS] = r.backup_fuel;
        g.model_price[2] = cy(r.price);
        ASSERT_TRUE(engine::Pbcalc()) << r.what;
        EXPECT_EQ(g.equip_cost, cy(2 * r.price)) << r.what;
        EXPECT_EQ(g.invest_cy[HT_GAS], cy(2 * r.price)) << r.what;
        EXPECT_EQ(g.year_saving, cy(r.saving)) << r.what;
        EXPECT_FLOAT_EQ(g.payback_f32[HT_GAS], r.payback) << r.what;
        EXPECT_FLOAT_EQ(g.invest_f32[HT_GAS], r.roi) << r.what;
        EXPECT_EQ(g.proj_save, r.proj) << r.what;
        // The report book's percent and amount saved against the gas heater
        // (2000 a year alone) are those of the same saving.
        EXPECT_EQ(g.save_amt_gas, cy(r.saving)) << r.what;
        EXPECT_NEAR(g.save_pct_gas.toDouble(), r.saving / 2000.0 * 100.0, 1e-3) << r.what;
    }
    // Against each heater alone, and the model priced in the row labelled
    // with its name: row 1 the large model, row 3 the small one (a name not
    // in the series counts as the series' first, small model).
    SetUp();
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.save_amt_gas, cy(1234));
    EXPECT_NEAR(g.save_pct_gas.toDouble(), 61.7, 1e-3);
    EXPECT_EQ(g.save_amt_elec, cy(2234));
    EXPECT_NEAR(g.save_pct_elec.toDouble(), 2234.0 / 30.0, 1e-3);
    EXPECT_EQ(g.models_used, 3);
    for (const auto& [name, cost] : {std::pair{"HX 730", 6000}, std::pair{"unknown", 10000}}) {
        g.model_name = name;
        ASSERT_TRUE(engine::Pbcalc());
        EXPECT_EQ(g.equip_cost, cy(cost)) << name;
    }
}

TEST_F(PaybackTest, YearTablesRiseWithPrices) {
    g.price_rise[HT_HEATPUMP] = 0.05f;
    g.price_rise[HT_GAS] = 0.10f;
    g.heater_yr_cost[HT_HEATPUMP] = 1000;
    ASSERT_TRUE(engine::Yrcalc());
    EXPECT_EQ(g.year_tab_hp[1], cy(1000));
    EXPECT_NEAR(g.year_tab_hp[3].toDouble(), 1102.5, 0.01);  // 1000 x 1.05²
    EXPECT_NEAR(g.year_tab_fuel[2].toDouble(), 2200, 0.01);
    Currency cum;
    for (int y = 1; y <= 5; ++y) cum += g.year_tab_hp[y];
    EXPECT_EQ(g.heater_cum_cy[HT_HEATPUMP], cum);
    EXPECT_EQ(g.backup_cost_total, Currency{});

    g.price_rise = {};
    g.backup_on = 1;
    g.heater_energy[HT_HEATPUMP] = 1000;
    g.heater_energy[HT_GAS] = 300;
    ASSERT_TRUE(engine::Yrcalc());
    EXPECT_EQ(g.year_tab_backup[5], cy(2000));  // the gas heater alone
    EXPECT_EQ(g.year_tab_fuel[5], cy(300));     // the backup share
    EXPECT_EQ(g.backup_cost_total, cy(5 * (2000 - 1300)));
    EXPECT_EQ(g.heater_cum_cy[HT_GAS], cy(1500));
}

}  // namespace
