// Sizing, backup months, lowered temperatures and the compensating factors.
#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace {

using namespace samples;

TEST_F(EngineTest, BackupHeaterTakesWhatThePumpCannotCover) {
    set_climate(kChicago);
    g.fuel_type = HT_PROPANE;
    ASSERT_TRUE(engine::Calc());
    const int alone = g.combo_idx;
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(g.backup_month[m], 0);

    // (The share it covers and the backup months: schedule_test.cpp.)
    g.backup_on = 1;
    ASSERT_TRUE(engine::Calc());
    EXPECT_LT(g.combo_idx, alone);  // a smaller system with the heater behind it
    EXPECT_EQ(g.temp_lowered, 0);   // the heater holds every temperature

    // January (23.6 °F) is below the pump's minimum: all heat from the
    // propane heater, no heat-pump cost, nothing saved.
    EXPECT_EQ(g.backup_month[1], 1);
    EXPECT_EQ(g.month_cop[1], 0);
    EXPECT_EQ(g.calc_f32[calc_row::hp_cost(1)], 0);
    EXPECT_GT(g.calc_f32[calc_row::heater_cost(1)], 0);
    EXPECT_NEAR(g.calc_f32[calc_row::saving(1)], 0, 0.011);

    g.fuel_type = 1;  // no existing heater: nothing to back up with
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.combo_idx, alone);
}

// Without backup, months the pump cannot run in are off: no heating, no
// cost, not a frozen pool "kept".
TEST_F(EngineTest, MonthsThePumpCannotRunInAreOff) {
    set_climate(kChicago);
    g.fuel_type = HT_GAS;
    g.rate_elec = Currency{};  // the average C.O.P. does not depend on prices
    ASSERT_TRUE(engine::Calc());
    int lowered = 0, running = 0;
    double cop_sum = 0;
    for (int m = 1; m <= 12; ++m) {
        const bool off = g.month_city_c[m] < 45;
        EXPECT_EQ(g.hrs_flag[m], off ? 1 : 0) << m;
        EXPECT_EQ(g.month_off[m], off ? 1 : 0) << m;
        EXPECT_EQ(g.temp_table[m][5] < g.temp_table[m][6], off) << m;
        EXPECT_EQ(g.month_need[m] == 0, off) << m;
        EXPECT_EQ(g.month_cop[m] == 0, off) << m;
        if (off) {
            EXPECT_TRUE(g.calc_f32[calc_row::hp_cost(m)] == 0 && g.calc_f32[calc_row::heater_cost(m)] == 0 &&
                        g.calc_f32[calc_row::hours(m)] == 0)
                << m;
        }
        lowered += off;
        running += !off;
        cop_sum += g.month_cop[m];
    }
    EXPECT_GT(lowered, 0);
    EXPECT_EQ(g.temp_lowered, lowered);
    // The average C.O.P. is over the months the pump runs; warmer months run better.
    EXPECT_NEAR(g.cop_sum, cop_sum, 1e-4);
    EXPECT_NEAR(g.cop_avg, cop_sum / running, 1e-5);
    EXPECT_GT(g.month_cop[7], g.month_cop[4]);

    // Every calculation starts again from the temperatures as entered.
    set_climate(kOrlando);
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.temp_lowered, 0);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(g.temp_table[m][5], 82.0f);
        EXPECT_EQ(g.hrs_flag[m], 0);
    }
}

// A system too small for some months holds them at a whole degree below
// the desired temperature, within the heating hours.
TEST_F(EngineTest, ASystemTooSmallLowersTheTemperature) {
    auto expect_lowered = [](const char* what) {
        int lowered = 0;
        for (int m = 1; m <= 12; ++m) {
            if (g.hrs_flag[m] == 0) continue;
            ++lowered;
            const float t5 = g.temp_table[m][5];
            EXPECT_LT(t5, 82.0f) << what << m;
            EXPECT_EQ(t5, std::floor(t5)) << what << m;
            EXPECT_GT(g.month_need[m], 0) << what << m;
            EXPECT_LE(g.calc_f32[calc_row::hours(m)], 24.0f) << what << m;
        }
        EXPECT_GT(lowered, 0) << what;
        EXPECT_EQ(g.temp_lowered, lowered) << what;
    };
    g.sel_buffer[2] = -80000;  // the dealer forces the smallest system
    ASSERT_TRUE(engine::Calc());
    EXPECT_EQ(g.combo_idx, 1);
    expect_lowered("forced: ");

    // No configuration up to 37 units holds a 50,000 ft² pool: 37 units,
    // and the message only for an explicit calculation, not every keystroke.
    SetUp();
    g.pool_area = 50000;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_EQ(g.combo_idx, 37);
    expect_lowered("too large: ");
    EXPECT_GT(g.tot_hp, Currency{});
    g.calc_mode2 = 2;
    script.answer(ui::vbOK);
    ASSERT_TRUE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "The system requires too many heat pumps");
    EXPECT_EQ(script.shown()[0].title, " Calc error");
}

// Compensating factor element k set to 1.k (C.O.P.) and 2.0 (output); the
// same air in every month, no sun, so that every month has a need.
TEST_F(EngineTest, CompensatingFactorsByAirTemperature) {
    g.sun_pct = 0;
    for (int k = 1; k <= 8; ++k) {
        g.hp_cop_factor[k] = 1.0f + 0.1f * k;
        g.hp_btu_factor[k] = 2.0f;
    }
    auto at = [](float air, int on, int low) {
        for (int m = 1; m <= 12; ++m) g.month_city_c[m] = air;
        g.comp_factors_on = static_cast<i16>(on);
        g.allow_lowtemp = static_cast<i16>(low);
        EXPECT_TRUE(engine::Calc());
        return std::pair<double, double>{g.month_cop[1], g.month_load[1][1] / g.combo_idx};
    };
    const struct {
        float air;
        int low;
        double factor;  // C.O.P. with the factors on against off
        bool output;    // the output doubled too
    } table[] = {
        {52.4f, 0, 1.1, true}, {52.5f, 0, 1.2, true},
        {82.5f, 0, 1.8, true}, {47.0f, 0, 1.0, false},  // below 50 °F only with the low-temperature switch
        {47.0f, 1, 1.1, true},
    };
    for (const auto& r : table) {
        const auto off = at(r.air, 0, r.low), on = at(r.air, 1, r.low);
        ASSERT_GT(off.first, 0) << r.air;
        EXPECT_NEAR(on.first / off.first, r.factor, 1e-5) << r.air << " " << r.low;
        EXPECT_NEAR(on.second / off.second, r.output ? 2.0 : 1.0, 1e-6) << r.air << " " << r.low;
    }
    g.hp_cop_factor[2] = 0;  // 0 is read as 1.0
    EXPECT_EQ(at(52.5f, 1, 0).first, at(52.5f, 0, 0).first);
    EXPECT_EQ(at(44.9f, 1, 1).first, 0);  // never below the minimum air temperature
}

}  // namespace
