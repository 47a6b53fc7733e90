// Sizing, backup months, lowered temperatures and the compensating factors.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

using namespace enginetest;

TEST_F(EngineTest, SizesTheSmallestConfigurationThatHoldsEveryMonth) {
    g.heat_hours = 12;
    ASSERT_TRUE(engine::Calc());
    const int units = g.combo_idx;
    ASSERT_GT(units, 1);
    for (int i = 1; i <= units; ++i) EXPECT_EQ(g.combo_n1[i], i);
    EXPECT_EQ(g.temp_lowered, 0);
    bool one_fewer_suffices = true;
    for (int m = 1; m <= 12; ++m) {
        const double per_unit = g.month_load[m][1] / units;
        const double day = g.month_need[m] / g.month_days[m];
        EXPECT_LE(day, g.month_load[m][1] * 12 * (1 + 1e-9)) << m;   // fits into 12 h
        EXPECT_LE(g.calc_f32[39 + m], 12.0f + 1e-4f) << m;
        if (day > per_unit * (units - 1) * 12) one_fewer_suffices = false;
    }
    EXPECT_FALSE(one_fewer_suffices);

    // The dealer's selector buffer of the chosen model's size pushes it up.
    g.sel_buffer[2] = 40000;
    ASSERT_TRUE(engine::Calc());
    EXPECT_GT(g.combo_idx, units);
    g.sel_buffer[2] = 0;
    g.sel_buffer[1] = 40000;                 // another size: no effect
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.combo_idx, units);
}

TEST_F(EngineTest, TooManyHeatPumpsOnlyWhenCalculatingExplicitly) {
    g.pool_area = 50000;
    ASSERT_TRUE(engine::calc_all());          // every keystroke: no message
    EXPECT_EQ(g.combo_idx, 37);
    EXPECT_TRUE(script.shown().empty());

    g.calc_mode2 = 2;                         // the calculate command
    script.answer(ui::vbOK);
    ASSERT_TRUE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "The system requires too many heat pumps");
    EXPECT_EQ(script.shown()[0].title, " Calc error");
    // Results for 37 units, lowered where they cannot hold.
    EXPECT_EQ(g.combo_idx, 37);
    EXPECT_GT(g.temp_lowered, 0);
    for (int m = 1; m <= 12; ++m) EXPECT_TRUE(std::isfinite(g.month_need[m]));
    EXPECT_GT(g.tot_hp, Currency{});
}

TEST_F(EngineTest, BackupMonthsWhereThePumpCannotCoverTheNeed) {
    set_climate(kChicago);
    heat_months(4, 10, 82);
    g.fuel_type = HT_GAS;
    ASSERT_TRUE(engine::Calc());
    const int alone = g.combo_idx;
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(g.backup_month[m], 0);

    g.backup_on = 1;
    ASSERT_TRUE(engine::Calc());
    EXPECT_LT(g.combo_idx, alone);            // a smaller system with the heater behind it
    int backup_months = 0;
    double season = 0, by_pump = 0;
    for (int m = 1; m <= 12; ++m) {
        const double full_month = g.month_load[m][1] * 24 * g.month_days[m];
        season += g.month_need[m];
        by_pump += std::min(g.month_need[m], full_month);
        if (g.backup_month[m] == 1) {
            ++backup_months;
            EXPECT_LT(full_month, g.month_need[m]) << m;
            EXPECT_FLOAT_EQ(g.calc_f32[39 + m], 24.0f) << m;
            EXPECT_NEAR(g.month_load[m][2] * 24 * g.month_days[m], g.month_need[m] - full_month, 1e-3) << m;
        } else {
            EXPECT_GE(full_month, g.month_need[m]) << m;
            EXPECT_EQ(g.month_load[m][2], 0) << m;
        }
    }
    EXPECT_GT(backup_months, 0);
    EXPECT_GE(by_pump, 0.8 * season);
    EXPECT_EQ(g.temp_lowered, 0);             // the backup heater holds the temperatures

    // Without an existing heater there is nothing to back up with.
    g.fuel_type = 1;
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.combo_idx, alone);
}

TEST_F(EngineTest, BackupHeaterAloneWhereThePumpCannotRun) {
    set_climate(kChicago);
    heat_months(1, 12, 82);
    g.fuel_type = HT_PROPANE;
    g.backup_on = 1;
    ASSERT_TRUE(engine::calc_all());
    // January (23.6 °F) is below the pump's minimum: all heat from the heater.
    EXPECT_EQ(g.backup_month[1], 1);
    EXPECT_EQ(g.month_cop[1], 0);
    EXPECT_GT(g.month_need[1], 0);
    EXPECT_EQ(g.calc_f32[1], 0);              // no heat-pump cost
    EXPECT_GT(g.calc_f32[13], 0);             // the propane heater's cost
    EXPECT_NEAR(g.calc_f32[25], 0, 0.011);    // nothing saved in that month
}

TEST_F(EngineTest, LowersTemperaturesTheSystemCannotHold) {
    set_climate(kChicago);
    heat_months(1, 12, 82);
    ASSERT_TRUE(engine::Calc());
    int lowered = 0;
    for (int m = 1; m <= 12; ++m) {
        if (g.month_city_c[m] < 45) {         // the pump cannot run: the month is off
            EXPECT_EQ(g.hrs_flag[m], 1) << m;
            EXPECT_LT(g.temp_table[m][5], g.temp_table[m][6]) << m;
            EXPECT_EQ(g.month_need[m], 0) << m;
            EXPECT_EQ(g.month_cop[m], 0) << m;
            ++lowered;
        } else {
            EXPECT_EQ(g.hrs_flag[m], 0) << m;
            EXPECT_EQ(g.temp_table[m][5], g.temp_table[m][6]) << m;
        }
    }
    EXPECT_EQ(g.temp_lowered, lowered);
    EXPECT_GT(lowered, 0);

    // Every calculation starts again from the temperatures as entered.
    set_climate(kOrlando);
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.temp_lowered, 0);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(g.temp_table[m][5], 82.0f);
        EXPECT_EQ(g.hrs_flag[m], 0);
    }
}

TEST_F(EngineTest, ASmallerSystemHoldsALowerTemperature) {
    g.sel_buffer[2] = -80000;                 // the dealer forces the smallest system
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.combo_idx, 1);
    int lowered = 0;
    for (int m = 1; m <= 12; ++m) {
        if (g.hrs_flag[m] == 0) continue;
        ++lowered;
        // Held at a whole degree below the desired one, heating every day
        // within the 24 heating hours.
        const float t5 = g.temp_table[m][5];
        EXPECT_LT(t5, 82.0f) << m;
        EXPECT_EQ(t5, std::floor(t5)) << m;
        EXPECT_GT(g.month_need[m], 0) << m;
        EXPECT_LE(g.calc_f32[39 + m], 24.0f) << m;
    }
    EXPECT_GT(lowered, 0);
    EXPECT_EQ(g.temp_lowered, lowered);
}

// C.O.P. of a month whose air is `air` °F with the factor arrays applied.
class CompFactorTest : public EngineTest {
protected:
    float cop_at(float air) {
        for (int m = 1; m <= 12; ++m) g.month_city_c[m] = air;
        EXPECT_TRUE(engine::Calc());
        return g.month_cop[1];
    }
    void SetUp() override {
        EngineTest::SetUp();
        g.sun_pct = 0;   // keep a need in every month, however warm the air
        for (int k = 1; k <= 8; ++k) g.hp_cop_factor[k] = 1.0f + 0.1f * k;   // element k: 1.k
    }
};

TEST_F(CompFactorTest, PicksTheElementByAirTemperature) {
    const float plain524 = cop_at(52.4f), plain525 = cop_at(52.5f), plain825 = cop_at(82.5f);
    g.comp_factors_on = 1;
    EXPECT_NEAR(cop_at(52.4f) / plain524, 1.1, 1e-5);
    EXPECT_NEAR(cop_at(52.5f) / plain525, 1.2, 1e-5);
    EXPECT_NEAR(cop_at(82.5f) / plain825, 1.8, 1e-5);
    g.hp_cop_factor[2] = 0;                    // 0 is read as 1.0
    EXPECT_NEAR(cop_at(52.5f) / plain525, 1.0, 1e-6);
    g.comp_factors_on = 0;                     // switched off: no effect
    EXPECT_EQ(cop_at(82.5f), plain825);
}

TEST_F(CompFactorTest, OutputFactorChangesTheSystemOutput) {
    g.heat_hours = 12;
    for (int m = 1; m <= 12; ++m) g.month_city_c[m] = 70;
    ASSERT_TRUE(engine::Calc());
    const double out = g.month_load[1][1] / g.combo_idx;
    g.comp_factors_on = 1;
    g.hp_btu_factor[5] = 2.0f;                 // 67.5 .. 72.5 °F
    ASSERT_TRUE(engine::Calc());
    EXPECT_NEAR(g.month_load[1][1] / g.combo_idx, 2 * out, 1e-6 * out);
}

TEST_F(CompFactorTest, BelowFiftyOnlyWithLowTemperatureCompensation) {
    const float plain = cop_at(47);
    EXPECT_GT(plain, 0);
    g.comp_factors_on = 1;
    EXPECT_EQ(cop_at(47), plain);
    g.allow_lowtemp = 1;
    EXPECT_NEAR(cop_at(47) / plain, 1.1, 1e-5);
    EXPECT_EQ(cop_at(44.9f), 0);               // never below the minimum air temperature
}

TEST_F(EngineTest, CopAverageOverTheMonthsThePumpRuns) {
    set_climate(kChicago);
    heat_months(1, 12, 82);
    ASSERT_TRUE(engine::Calc());
    double sum = 0;
    int n = 0;
    for (int m = 1; m <= 12; ++m)
        if (g.month_cop[m] > 0) {
            sum += g.month_cop[m];
            ++n;
        }
    ASSERT_GT(n, 0);
    ASSERT_LT(n, 12);
    EXPECT_NEAR(g.cop_sum, sum, 1e-4);
    EXPECT_NEAR(g.cop_avg, sum / n, 1e-5);
    // Warmer months run at a better C.O.P.
    EXPECT_GT(g.month_cop[7], g.month_cop[4]);
}

}  // namespace
