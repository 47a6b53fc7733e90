// The monthly need: which way each input moves it, the size of the cover
// and thermostat effects against published figures, the dealer factors and
// the heating schedule.
#include <functional>

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

using namespace enginetest;

// Runs Calc on the fixture's project, then on it changed by `change`, and
// expects every heated month to need more afterwards.
class NeedTest : public EngineTest {
protected:
    void expect_more_need(const char* what, const std::function<void()>& change) {
        SetUp();
        set_cover(10);
        ASSERT_TRUE(engine::Calc()) << what;
        const auto before = g.month_need;
        change();
        ASSERT_TRUE(engine::Calc()) << what;
        for (int m = 1; m <= 12; ++m) EXPECT_GT(g.month_need[m], before[m]) << what << ", month " << m;
    }
};

TEST_F(NeedTest, EachHarsherConditionRaisesTheNeed) {
    expect_more_need("more wind", [] { g.wind_mph += 5; });
    expect_more_need("colder air", [] {
        for (int m = 1; m <= 12; ++m) g.month_city_c[m] -= 5;
    });
    expect_more_need("drier air", [] {
        for (int m = 1; m <= 12; ++m) g.month_city_a[m] -= 30;
    });
    expect_more_need("less sun", [] { g.sun_pct = 40; });
    expect_more_need("less solar radiation", [] {
        for (int m = 1; m <= 12; ++m) g.month_city_b[m] *= 0.7f;
    });
    expect_more_need("fewer cover hours", [] { set_cover(6); });
    expect_more_need("a worse cover", [] { g.cover_quality = 30; });
    expect_more_need("warmer water", [] { heat_months(1, 12, 84); });
}

// Season of a mild climate: Orlando, March to October, at 82 °F.
TEST_F(EngineTest, CoverSixteenHoursCutsTheSeasonToTenToTwentyFivePercent) {
    heat_months(3, 10, 82);
    ASSERT_TRUE(engine::Calc());
    const double open = season_need();
    set_cover(16);
    ASSERT_TRUE(engine::Calc());
    const double ratio = season_need() / open;
    EXPECT_GE(ratio, 0.10);
    EXPECT_LE(ratio, 0.25);
}

TEST_F(EngineTest, TwoDegreesMoreAddsTwentyFiveToThirtyFivePercent) {
    heat_months(3, 10, 82);
    ASSERT_TRUE(engine::Calc());
    const double at82 = season_need();
    heat_months(3, 10, 84);
    ASSERT_TRUE(engine::Calc());
    const double ratio = season_need() / at82;
    EXPECT_GE(ratio, 1.25);
    EXPECT_LE(ratio, 1.35);
}

TEST_F(EngineTest, NeedAddsUpAndUnheatedMonthsNeedNothing) {
    heat_months(4, 9, 82);
    ASSERT_TRUE(engine::Calc());
    double total = 0;
    for (int m = 1; m <= 12; ++m) {
        if (m < 4 || m > 9) {
            EXPECT_EQ(g.month_need[m], 0) << m;
            EXPECT_EQ(g.month_cop[m], 0) << m;
            EXPECT_EQ(g.calc_f32[39 + m], 0) << m;
        } else {
            EXPECT_GT(g.month_need[m], 0) << m;
        }
        total += g.month_need[m];
    }
    EXPECT_NEAR(g.need_total, total / 1000.0, 1e-6 * g.need_total);
    // Losses are reported before the sun: open-pool evaporation plus
    // convection and radiation exceed the need.
    for (int m = 4; m <= 9; ++m) EXPECT_GT(g.loss_evap[m] + g.loss_conv[m], g.month_need[m]) << m;
}

TEST_F(EngineTest, DealerFactorsScaleTheNeed) {
    ASSERT_TRUE(engine::Calc());
    const auto plain = g.month_need;

    g.year_factor = 0.1f;                 // a warmer year: 10 % less every month
    ASSERT_TRUE(engine::Calc());
    for (int m = 1; m <= 12; ++m) EXPECT_NEAR(g.month_need[m], 0.9 * plain[m], 1e-6 * plain[m]) << m;
    g.year_factor = 0;

    g.size_comp[1] = 20;                  // 450 ft² is in the first size class
    g.size_comp[2] = 50;
    ASSERT_TRUE(engine::Calc());
    for (int m = 1; m <= 12; ++m) EXPECT_NEAR(g.month_need[m], 1.2 * plain[m], 1e-6 * plain[m]) << m;
    g.size_comp = {};

    g.summer_factor_out = 0.5f;           // a warmer summer weighs on the warmest month only fully
    g.summer_factor_in = 0.9f;            // (indoor factor: not for an outdoor pool)
    ASSERT_TRUE(engine::Calc());
    const int warmest = 7, coldest = 1;   // Orlando: July 80.4 °F, January 58.2 °F
    EXPECT_NEAR(g.month_need[warmest], 0.5 * plain[warmest], 1e-6 * plain[warmest]);
    EXPECT_NEAR(g.month_need[coldest], plain[coldest], 1e-6 * plain[coldest]);
    EXPECT_LT(g.month_need[4], plain[4]);
}

TEST_F(EngineTest, DaysOffSaveEnergyButRaiseTheDemandOnHeatingDays) {
    g.heat_hours = 12;
    ASSERT_TRUE(engine::Calc());
    const auto every_day = g.month_need;
    const int units_every_day = g.combo_idx;

    g.heat_days = 4;
    ASSERT_TRUE(engine::Calc());
    EXPECT_GT(g.combo_idx, units_every_day);   // the reheat after 3 days off needs more output
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

TEST_F(EngineTest, NothingToHeatGivesZeroResults) {
    g.pool_area = 0;
    g.fuel_type = HT_GAS;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_EQ(g.need_total, 0);
    EXPECT_EQ(g.combo_idx, 1);
    EXPECT_EQ(g.tot_hp, Currency{});
    EXPECT_EQ(g.payback_f32[HT_GAS], 0);

    SetUp();
    heat_months(1, 0, 82);                 // no heated month
    ASSERT_TRUE(engine::calc_all());
    EXPECT_EQ(g.need_total, 0);
    EXPECT_EQ(g.cop_avg, 0);
    for (int r = 1; r <= 51; ++r) EXPECT_EQ(g.calc_f32[r], 0) << r;
}

}  // namespace
