// The pure physics: saturation pressure, sky, indoor evaporation against the
// ASHRAE natatorium form, rating-point interpolation and corrections, the
// compensating-factor bins.
#include <gtest/gtest.h>

#include "engine/physics.h"
#include "engine_fixture.h"

namespace {

using namespace engine::phys;
using namespace enginetest;

// Saturation pressures of water, inHg (steam-table values).
constexpr double kPsat32 = 0.1805, kPsat80 = 1.0330, kPsat82 = 1.1025, kPsat104 = 2.1803;

TEST(Physics, SaturationPressureMatchesSteamTables) {
    EXPECT_NEAR(p_sat(32), kPsat32, 0.005 * kPsat32);
    EXPECT_NEAR(p_sat(80), kPsat80, 0.005 * kPsat80);
    EXPECT_NEAR(p_sat(82), kPsat82, 0.005 * kPsat82);
    EXPECT_NEAR(p_sat(104), kPsat104, 0.005 * kPsat104);   // the hottest spa
}

TEST(Physics, SkyAndAir) {
    // Drier air: lower dew point, clearer (colder) sky, lower vapour pressure.
    const Air humid = outdoor_air(70, 80, 10), dry = outdoor_air(70, 30, 10);
    EXPECT_LT(dry.tsky4, humid.tsky4);
    EXPECT_LT(dry.pa, humid.pa);
    // Dew point of saturated air is the air temperature.
    EXPECT_NEAR(dew_point_c(68, 100), 20.0, 0.01);
    // The sky is colder than the air, and no RH (even 0 %) gives a non-finite sky.
    for (double rh : {0.0, 1.0, 50.0, 100.0}) {
        const Air a = outdoor_air(50, rh, 5);
        EXPECT_TRUE(std::isfinite(a.tsky4));
        EXPECT_LT(std::pow(a.tsky4, 0.25), 50 + kRankine);
    }
    // Water colder than the air gains by convection; evaporation never turns negative.
    const Loss l = outdoor_loss(40, outdoor_air(80, 90, 10));
    EXPECT_LT(l.conv, 0);
    EXPECT_EQ(l.evap, 0);
}

TEST(Physics, CoverAndSun) {
    const CoverShares none = cover_shares(0, 0), full = cover_shares(24, 0), bad = cover_shares(24, 50);
    EXPECT_DOUBLE_EQ(none.evap, 1.0);
    EXPECT_DOUBLE_EQ(full.evap, kCoverEvapShare);
    EXPECT_DOUBLE_EQ(full.conv, kCoverConvShare);
    EXPECT_DOUBLE_EQ(bad.conv, 1.0);   // a very bad cover keeps at most everything
    EXPECT_DOUBLE_EQ(bad.evap, 0.55);
    // 400 ly at full sun: 0.8 x 3.687 x 400 BTU/ft²; covers on by night cost no sun.
    EXPECT_NEAR(solar_gain(400, 100, 12), 0.8 * 3.687 * 400, 1e-9);
    EXPECT_NEAR(solar_gain(400, 100, 24), 0.8 * 3.687 * 400 * 0.9, 1e-9);
    EXPECT_NEAR(solar_gain(400, 50, 0), 0.4 * 3.687 * 400, 1e-9);
}

TEST(Physics, SizeClasses) {
    EXPECT_EQ(size_class(0), 1);
    EXPECT_EQ(size_class(540), 1);
    EXPECT_EQ(size_class(541), 2);
    EXPECT_EQ(size_class(1100), 5);
    EXPECT_EQ(size_class(12000), 8);
    EXPECT_EQ(size_class(50000), 8);
}

TEST(Physics, CompensatingFactorBins) {
    EXPECT_EQ(comp_element(30), 1);
    EXPECT_EQ(comp_element(52.4), 1);
    EXPECT_EQ(comp_element(52.5), 2);
    EXPECT_EQ(comp_element(57.4), 2);
    EXPECT_EQ(comp_element(57.5), 3);
    EXPECT_EQ(comp_element(77.5), 7);
    EXPECT_EQ(comp_element(82.4), 7);
    EXPECT_EQ(comp_element(82.5), 8);
    EXPECT_EQ(comp_element(110), 8);
    EXPECT_EQ(comp_value(0), 1.0);
    EXPECT_EQ(comp_value(1.5), 1.5);
}

class RatingTest : public EngineTest {
protected:
    Points pts() const { return {g.hp_rh.data(), g.hp_cop.data(), g.hp_btu.data(), g.hp_wtemp.data()}; }
};

TEST_F(RatingTest, InterpolatesBetweenRowsAndStopsBelow45F) {
    const Points p = pts();
    Rated r = interpolate(p, 85);
    EXPECT_DOUBLE_EQ(r.cap, 63000);
    EXPECT_NEAR(r.cop, 6.06, 1e-6);
    EXPECT_DOUBLE_EQ(interpolate(p, 95).cap, 63000);     // above the table: the 85 °F row
    EXPECT_DOUBLE_EQ(interpolate(p, 50).cap, 35000);
    EXPECT_DOUBLE_EQ(interpolate(p, 67.5).cap, (51000 + 46000) / 2.0);
    EXPECT_NEAR(interpolate(p, 82).cap, 63000 - 0.6 * 3000, 1e-6);
    r = interpolate(p, 47.5);                              // the 55 -> 50 °F slope carried on
    EXPECT_TRUE(r.runs && r.low);
    EXPECT_NEAR(r.cap, 33500, 1e-6);
    EXPECT_NEAR(r.cop, 2.95, 1e-6);
    EXPECT_FALSE(interpolate(p, 44.9).runs);
    EXPECT_EQ(corrected(interpolate(p, 44.9), 80, 80).cap, 0);
}

TEST_F(RatingTest, HumidityAndWaterCorrections) {
    const Rated r = interpolate(pts(), 80);   // 60000 BTU/h, C.O.P. 5.79 at 80 % RH, 80 °F water
    Rating c = corrected(r, 80, 80);
    EXPECT_NEAR(c.cap, 60000, 1e-6);
    c = corrected(r, 70, 80);                   // 10 % drier: -2 % output, -1.5 % C.O.P.
    EXPECT_NEAR(c.cap, 60000 * 0.98, 1e-6);
    EXPECT_NEAR(c.cop, 5.79 * 0.985, 1e-5);
    c = corrected(r, 80, 90);                   // 10 °F warmer water: -5 % output, -12 % C.O.P.
    EXPECT_NEAR(c.cap, 60000 * 0.95, 1e-6);
    EXPECT_NEAR(c.cop, 5.79 * 0.88, 1e-5);
    c = corrected(r, 80, 60);                   // colder water helps at most 10 %
    EXPECT_NEAR(c.cap, 60000 * 1.10, 1e-6);
    EXPECT_NEAR(c.cop, 5.79 * 1.10, 1e-5);
}

// Indoor evaporation against ASHRAE's natatorium form w = 0.1·A·AF·Δp lb/h
// (Δp inHg, hall at water + 2 °F and 55 % RH), 1050 BTU per lb.
TEST_F(EngineTest, IndoorEvaporationMatchesAshrae) {
    g.pool_site = "In";
    g.sun_pct = 0;
    heat_months(1, 12, 80);
    ASSERT_TRUE(engine::Calc());
    const double dp = kPsat80 - 0.55 * kPsat82;
    const double ashrae_pool = 0.1 * g.pool_area * 0.5 * dp * 1050.0;   // BTU/h
    for (int m = 1; m <= 12; ++m)
        EXPECT_NEAR(g.loss_evap[m] / (24.0 * g.month_days[m]), ashrae_pool, 0.02 * ashrae_pool) << m;
    EXPECT_EQ(g.loss_conv[1], 0);   // no convection or radiation indoors

    g.pool_type = "Spa";            // activity factor 1.0
    ASSERT_TRUE(engine::Calc());
    EXPECT_NEAR(g.loss_evap[1] / (24.0 * 31), 2 * ashrae_pool, 0.04 * ashrae_pool);
    g.spa_blower = 1;               // the blower raises evaporation by 30 %
    const double without = g.loss_evap[1];
    ASSERT_TRUE(engine::Calc());
    EXPECT_NEAR(g.loss_evap[1], 1.3 * without, 1e-6 * without);
}

}  // namespace
