// The monthly need: which way each input moves it, the cover and thermostat
// effects against published figures, the dealer factors and the heating
// schedule.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace {

using namespace samples;

TEST_F(EngineTest, EachHarsherConditionRaisesTheNeed) {
    const struct {
        const char* what;
        std::function<void()> change;
    } table[] = {
        {"more wind", [] { g.wind_mph += 5; }},
        {"colder air",
         [] {
             for (int m = 1; m <= 12; ++m) g.month_city_c[m] -= 5;
         }},
        {"drier air",
         [] {
             for (int m = 1; m <= 12; ++m) g.month_city_a[m] -= 30;
         }},
        {"less sun", [] { g.sun_pct = 40; }},
        {"less solar radiation",
         [] {
             for (int m = 1; m <= 12; ++m) g.month_city_b[m] *= 0.7f;
         }},
        {"fewer cover hours", [] { set_cover(6); }},
        {"a worse cover", [] { g.cover_quality = 30; }},
        {"warmer water", [] { heat_months(1, 12, 84); }},
    };
    for (const auto& r : table) {
        SetUp();
        set_cover(10);
        ASSERT_TRUE(engine::Calc()) << r.what;
        const auto before = g.month_need;
        r.change();
        ASSERT_TRUE(engine::Calc()) << r.what;
        for (int m = 1; m <= 12; ++m) EXPECT_GT(g.month_need[m], before[m]) << r.what << ", month " << m;
    }
}

// DOE seasonal figures for a mild climate (Orlando, March to October, 82 °F):
// a cover on 16 h a day cuts the season's need to 10-25 %; 2 °F more on the
// thermostat adds 25-35 %.
TEST_F(EngineTest, CoverAndThermostatEffectsAsPublished) {
    heat_months(3, 10, 82);
    ASSERT_TRUE(engine::Calc());
    const double open = season_need();
    set_cover(16);
    ASSERT_TRUE(engine::Calc());
    EXPECT_GE(season_need() / open, 0.10);
    EXPECT_LE(season_need() / open, 0.25);

    set_cover(0);
    heat_months(3, 10, 84);
    ASSERT_TRUE(engine::Calc());
    EXPECT_GE(season_need() / open, 1.25);
    EXPECT_LE(season_need() / open, 1.35);
}

TEST_F(EngineTest, DealerFactorsScaleTheNeed) {
    ASSERT_TRUE(engine::Calc());
    const auto plain = g.month_need;
    const int warmest = 7, coldest = 1;  // Orlando: July 80.4 °F, January 58.2 °F
    const struct {
        const char* what;
        std::function<void()> set;
        double warmest, coldest;  // need against the plain one
    } table[] = {
        {"a warmer year", [] { g.year_factor = 0.1f; }, 0.9, 0.9},
        {"size class 1 (450 ft²)", [] { g.size_comp[1] = 20, g.size_comp[2] = 50; }, 1.2, 1.2},
        // A warmer summer weighs fully on the warmest month only; the indoor
        // factor does not apply outdoors.
        {"a warmer summer", [] { g.summer_factor_out = 0.5f, g.summer_factor_in = 0.9f; }, 0.5, 1.0},
    };
    for (const auto& r : table) {
        SetUp();
        r.set();
        ASSERT_TRUE(engine::Calc()) << r.what;
        EXPECT_NEAR(g.month_need[warmest], r.warmest * plain[warmest], 1e-6 * plain[warmest]) << r.what;
        EXPECT_NEAR(g.month_need[coldest], r.coldest * plain[coldest], 1e-6 * plain[coldest]) << r.what;
        const double april = g.month_need[4] / plain[4];  // 70.8 °F: between the two
        EXPECT_GE(april, std::min(r.warmest, r.coldest) - 1e-6) << r.what;
        EXPECT_LE(april, std::max(r.warmest, r.coldest) + 1e-6) << r.what;
    }
}

TEST_F(EngineTest, DaysOffSaveEnergyButRaiseTheDemandOnHeatingDays) {
    g.heat_hours = 12;
    ASSERT_TRUE(engine::Calc());
    const auto every_day = g.month_need;
    const int units_every_day = g.combo_idx;

    g.heat_days = 4;
    ASSERT_TRUE(engine::Calc());
    EXPECT_GT(g.combo_idx, units_every_day);  // the reheat after 3 days off needs more output
    for (int m = 1; m <= 12; ++m) {
        if (every_day[m] == 0) continue;
        // Less than heating every day, more than the 4 days alone: the
        // heating days also put back what the water lost meanwhile.
        EXPECT_LT(g.month_need[m], every_day[m]) << m;
        EXPECT_GT(g.month_need[m], every_day[m] * 4.0 / 7.0) << m;
    }
    EXPECT_EQ(g.temp_lowered, 0);

    // A smaller recovery buffer asks for more units, a larger one for fewer.
    const int units_100 = g.combo_idx;
    g.off_buffer[3] = 50;
    ASSERT_TRUE(engine::Calc());
    EXPECT_GT(g.combo_idx, units_100);
    g.off_buffer[3] = 150;
    ASSERT_TRUE(engine::Calc());
    EXPECT_LT(g.combo_idx, units_100);
}

}  // namespace
