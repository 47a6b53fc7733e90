// The cost stages: month costs by heater type, the backup heater, the
// results table, savings, payback, return and the yearly tables.
#include <cmath>
#include <regex>

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

using namespace enginetest;

class CostTest : public EngineTest {
protected:
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
};

TEST_F(CostTest, ElectricResistanceAt3413BtuPerKwh) {
    g.rate_elec = cy(0.095);
    g.fuel_type = HT_ELEC;
    january(3413000, 4.0f);
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[13], 95.00f);        // 1000 kWh at 9.5 cents
    EXPECT_EQ(g.calc_f32[1], 23.75f);         // the same heat at a C.O.P. of 4
    EXPECT_EQ(g.calc_f32[25], 71.25f);
    EXPECT_EQ(g.tot_heater, cy(95.00));
    EXPECT_DOUBLE_EQ(g.heater_yr_cost[HT_ELEC], 95.0);

    january(3412000, 4.0f);                   // no cutting to tenths: 94.97
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[13], 94.97f);
}

TEST_F(CostTest, FuelHeatersByEfficiencyAndHeatContent) {
    g.heater_eff = 80;
    g.rate_natgas = cy(1.00);
    g.fuel_type = HT_GAS;
    january(8000000, 4.0f);                   // 100 therms at 80 %
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[13], 100.00f);
    EXPECT_EQ(g.tot_heater, cy(100.0));

    g.rate_propane = cy(2.00);
    g.fuel_type = HT_PROPANE;                 // 91,000 BTU a gallon
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_NEAR(g.calc_f32[13], 2.0 * 8e6 / (0.8 * 91000), 0.005);

    g.rate_oil = cy(3.00);
    g.fuel_type = HT_OIL;                     // 140,000 BTU a gallon
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_NEAR(g.calc_f32[13], 3.0 * 8e6 / (0.8 * 140000), 0.005);
}

TEST_F(CostTest, FuelHeaterWithoutEfficiencyCostsNothingAndNeverFails) {
    g.heater_eff = 0;
    g.fuel_type = HT_GAS;
    g.rate_elec = cy(0.095);
    ASSERT_TRUE(engine::calc_all());
    for (int r = 13; r <= 24; ++r) EXPECT_EQ(g.calc_f32[r], 0.0f) << r;
    EXPECT_EQ(g.payback_f32[HT_GAS], 0.0f);

    january(3413000, 4.0f);
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[13], 0.0f);
    EXPECT_EQ(g.calc_f32[1], 23.75f);
    EXPECT_EQ(g.calc_f32[25], -23.75f);
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(CostTest, FloorReturnsCutAPoolsHeatPumpCostButNeverASpas) {
    g.rate_elec = cy(0.095);
    january(3413000, 4.0f);
    g.opt_reduce = 1;
    g.reduce_pct = 0.2f;
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[1], 19.00f);
    EXPECT_FLOAT_EQ(g.reduce_factor, 0.8f);

    g.pool_type = "Spa";
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[1], 23.75f);
    EXPECT_EQ(g.reduce_factor, 1.0f);

    g.pool_type = "Pool";
    g.opt_reduce = 0;
    ASSERT_TRUE(engine::Backcalc());
    EXPECT_EQ(g.calc_f32[1], 23.75f);
}

TEST_F(CostTest, BackupMonthPumpAroundTheClockAndTheHeaterTheRest) {
    g.rate_elec = cy(0.095);
    g.rate_natgas = cy(1.00);
    g.heater_eff = 80;
    g.fuel_type = HT_GAS;
    g.backup_on = 1;
    const double delivered = 10000.0 * 24 * 31;          // 7,440,000 BTU
    january(delivered + 8000000, 4.0f, 10000);
    g.backup_month[1] = 1;
    // February: covered by the pump alone.
    g.run_state[2][0] = 1;
    g.month_need[2] = 2000000;
    g.month_cop[2] = 4.0f;
    g.month_load[2][1] = 60000;
    ASSERT_TRUE(engine::Backcalc());

    const double hp = delivered * 0.095 / 4.0 * 0.293 / 1000;
    EXPECT_NEAR(g.calc_f32[1], hp, 0.005);
    EXPECT_EQ(g.calc_f32[13], 100.00f);                  // 8,000,000 BTU of gas at 80 %
    const double alone = (delivered + 8000000) / 80000.0;
    EXPECT_NEAR(g.calc_f32[25], alone - (hp + 100.0), 0.006);
    EXPECT_EQ(g.calc_f32[14], 0.0f);                     // no backup in February
    EXPECT_NEAR(g.calc_f32[26], 2000000 / 80000.0 - 2000000 * 0.095 / 3413 / 4, 0.006);
    EXPECT_NEAR(g.heater_energy[HT_GAS], 100.0, 1e-9);
}

// A full year: the results table is laid out as the printouts read it.
TEST_F(EngineTest, ResultsTableLayout) {
    g.fuel_type = HT_GAS;
    heat_months(2, 11, 82);
    set_cover(8);
    ASSERT_TRUE(engine::calc_all());
    Currency hp, heater, saving;
    for (int m = 1; m <= 12; ++m) {
        for (int r : {m, 12 + m, 24 + m}) {
            const double cents = g.calc_f32[r] * 100.0;
            EXPECT_NEAR(cents, std::round(cents), 0.01) << "row " << r;   // whole cents (as near as a single holds them)
        }
        hp += cy(g.calc_f32[m]);
        heater += cy(g.calc_f32[12 + m]);
        saving += cy(g.calc_f32[24 + m]);
        if (m == 1 || m == 12) {
            for (int r : {m, 12 + m, 24 + m, 39 + m}) EXPECT_EQ(g.calc_f32[r], 0.0f) << "row " << r;
            continue;
        }
        EXPECT_EQ(g.calc_f32[m] > 0, g.month_need[m] > 0) << m;
        EXPECT_NEAR(g.calc_f32[24 + m], g.calc_f32[12 + m] - g.calc_f32[m], 0.011) << m;
        const double hours = g.month_need[m] > 0 ? g.month_need[m] / (g.month_load[m][1] * g.month_days[m]) : 0.0;
        EXPECT_NEAR(g.calc_f32[39 + m], hours, 1e-4 * hours) << m;
    }
    EXPECT_EQ(g.tot_hp, hp);
    EXPECT_EQ(g.tot_heater, heater);
    EXPECT_EQ(g.tot_saving, saving);
    EXPECT_EQ(g.calc_f32[37], static_cast<float>((hp * 5).toDouble()));
    EXPECT_EQ(g.calc_f32[38], static_cast<float>((heater * 5).toDouble()));
    EXPECT_EQ(g.calc_f32[39], static_cast<float>((saving * 5).toDouble()));
    EXPECT_NEAR(g.heater_yr_cost[HT_HEATPUMP], hp.toDouble(), 0.06);
    EXPECT_NEAR(g.heater_yr_cost[HT_GAS], heater.toDouble(), 0.06);
    EXPECT_GT(g.tot_saving, Currency{});
}

TEST_F(EngineTest, NoExistingHeaterNoHeaterCostNoSaving) {
    g.fuel_type = 1;
    ASSERT_TRUE(engine::calc_all());
    for (int r = 13; r <= 36; ++r) EXPECT_EQ(g.calc_f32[r], 0.0f) << r;
    EXPECT_GT(g.tot_hp, Currency{});
    EXPECT_EQ(g.year_saving, Currency{});
    EXPECT_EQ(g.payback_f32[1], 0.0f);
    EXPECT_TRUE(g.proj_save.empty());
    // The yearly table counts the heat pump once.
    EXPECT_EQ(g.heater_cum_cy[1], g.year_tab_hp[1] * 5);
    EXPECT_EQ(g.year_tab_fuel[1], Currency{});
}

class PaybackTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g.fuel_type = HT_GAS;
        g.heater_yr_cost = {};
        g.heater_energy = {};
        g.heater_yr_cost[HT_HEATPUMP] = 766;
        g.heater_yr_cost[HT_ELEC] = 3000;
        g.heater_yr_cost[HT_GAS] = 2000;
        g.combo_idx = 2;
        g.combo_n1[2] = 2;
        g.model_price[1] = cy(3000);
        g.model_price[2] = cy(4000);
        g.model_price[3] = cy(5000);
    }
};

TEST_F(PaybackTest, SavingsPaybackAndReturn) {
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.equip_cost, cy(8000));        // two units of the chosen model "HX 520"
    EXPECT_EQ(g.invest_cy[HT_GAS], cy(8000));
    EXPECT_EQ(g.year_saving, cy(1234));
    EXPECT_FLOAT_EQ(g.payback_f32[HT_GAS], 8000.0f / 1234.0f);
    EXPECT_FLOAT_EQ(g.invest_f32[HT_GAS], 1234.0f / 8000.0f);
    EXPECT_EQ(g.save_amt_gas, cy(1234));
    EXPECT_NEAR(g.save_pct_gas.toDouble(), 61.7, 1e-3);
    EXPECT_EQ(g.save_amt_elec, cy(2234));
    EXPECT_NEAR(g.save_pct_elec.toDouble(), 2234.0 / 30.0, 1e-3);
    EXPECT_EQ(g.models_used, 3);
    EXPECT_EQ(g.proj_save, "$1,234 a year (62%)");

    g.model_name = "HX 730";                  // priced in its own slot
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.equip_cost, cy(10000));
    g.model_name = "unknown";                 // not in the series: the first slot
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.equip_cost, cy(6000));
}

TEST_F(PaybackTest, BackedUpSavingCountsTheBackupFuel) {
    g.backup_on = 1;
    g.heater_energy[HT_HEATPUMP] = 766;
    g.heater_energy[HT_GAS] = 300;
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.year_saving, cy(934));
    EXPECT_FLOAT_EQ(g.payback_f32[HT_GAS], 8000.0f / 934.0f);
}

TEST_F(PaybackTest, NoSavingNoPayback) {
    g.heater_yr_cost[HT_HEATPUMP] = 2500;
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_LT(g.year_saving, Currency{});
    EXPECT_EQ(g.payback_f32[HT_GAS], 0.0f);
    EXPECT_EQ(g.invest_f32[HT_GAS], 0.0f);
    EXPECT_TRUE(std::regex_search(g.proj_save, std::regex("500 a year")));

    g.heater_yr_cost[HT_HEATPUMP] = 766;      // a saving but no investment
    g.model_price = {};
    ASSERT_TRUE(engine::Pbcalc());
    EXPECT_EQ(g.payback_f32[HT_GAS], 0.0f);
}

TEST_F(PaybackTest, YearTablesRiseWithPrices) {
    g.price_rise[HT_HEATPUMP] = 0.05f;
    g.price_rise[HT_GAS] = 0.10f;
    g.heater_yr_cost[HT_HEATPUMP] = 1000;
    ASSERT_TRUE(engine::Yrcalc());
    EXPECT_EQ(g.year_tab_hp[1], cy(1000));
    EXPECT_NEAR(g.year_tab_hp[3].toDouble(), 1102.5, 0.01);
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
