// The pure physics against published values: saturation pressure, sky,
// cover and sun, the dealer's size classes and compensating-factor bins, the
// rating points, and indoor evaporation against the ASHRAE natatorium form.
#include <gtest/gtest.h>

#include "engine/physics.h"
#include "tests/engine/engine_fixture.h"

namespace {

using namespace engine::phys;
using namespace samples;

// Saturation pressures of water, inHg (steam tables).
constexpr double kPsat80 = 1.0330, kPsat82 = 1.1025;

TEST(Physics, SaturationPressureMatchesSteamTables) {
    const struct { double t, p; } table[] = {{32, 0.1805}, {80, kPsat80}, {82, kPsat82}, {104, 2.1803}};
    for (const auto& r : table) EXPECT_NEAR(p_sat(r.t), r.p, 0.005 * r.p) << r.t;
}

TEST(Physics, SkyCoverAndSun) {
    // Drier air: clearer (colder) sky, less vapour. The sky is colder than the
    // air and finite at any RH, 0 % included; saturated air's dew point is the air.
    const Air humid = outdoor_air(70, 80, 10), dry = outdoor_air(70, 30, 10);
    EXPECT_LT(dry.tsky4, humid.tsky4);
    EXPECT_LT(dry.pa, humid.pa);
    EXPECT_NEAR(dew_point_c(68, 100), 20.0, 0.01);
    for (double rh : {0.0, 50.0, 100.0}) {
        const Air a = outdoor_air(50, rh, 5);
        EXPECT_TRUE(std::isfinite(a.tsky4)) << rh;
        EXPECT_LT(std::pow(a.tsky4, 0.25), 50 + kRankine) << rh;
    }
    // Water colder than warm, humid air gains by convection and never condenses.
    const Loss l = outdoor_loss(40, outdoor_air(80, 90, 10));
    EXPECT_LT(l.conv, 0);
    EXPECT_EQ(l.evap, 0);
    // A very bad cover keeps at most all of the loss.
    EXPECT_DOUBLE_EQ(cover_shares(24, 50).conv, 1.0);
    EXPECT_DOUBLE_EQ(cover_shares(24, 50).evap, 0.55);
    // 400 ly at full sun is 0.8 x 3.687 x 400 BTU/ft²; covers on by night cost no
    // sun, a cover on all day 10 %.
    EXPECT_NEAR(solar_gain(400, 100, 12), 0.8 * 3.687 * 400, 1e-9);
    EXPECT_NEAR(solar_gain(400, 100, 24), 0.8 * 3.687 * 400 * 0.9, 1e-9);
    EXPECT_NEAR(solar_gain(400, 50, 0), 0.4 * 3.687 * 400, 1e-9);
}

// Size classes: the first bound (540 .. 12,000 ft²) at least the area.
// Compensating factors: below 52.5 °F element 1, one per 5 °F, 82.5 °F and up 8.
TEST(Physics, SizeClassesAndCompensatingFactorBins) {
    const struct {
        double area;
        int k;
    } sizes[] = {{0, 1}, {540, 1}, {541, 2}, {1100, 5}, {12000, 8}, {50000, 8}};
    for (const auto& r : sizes) EXPECT_EQ(size_class(r.area), r.k) << r.area;
    const struct {
        double air;
        int k;
    } bins[] = {{30, 1}, {52.4, 1}, {52.5, 2}, {57.4, 2}, {57.5, 3}, {77.5, 7}, {82.4, 7}, {82.5, 8}, {110, 8}};
    for (const auto& r : bins) EXPECT_EQ(comp_element(r.air), r.k) << r.air;
    EXPECT_EQ(comp_value(0), 1.0);  // a factor of 0 means none
    EXPECT_EQ(comp_value(1.5), 1.5);
}

// The fixture's pump: 63,000 .. 35,000 BTU/h, C.O.P. 6.06 .. 3.20 at 85 .. 50 °F,
// rated at 80 % RH and 80 °F water.
TEST_F(EngineTest, RatingInterpolationAndCorrections) {
    const Points p{g.hp_rh.data(), g.hp_cop.data(), g.hp_btu.data(), g.hp_wtemp.data()};
    const struct {
        double air, rh, water, cap, cop;
    } table[] = {
        {85, 80, 80, 63000, 6.06},                 // a row
        {95, 80, 80, 63000, 6.06},                 // above the table: the 85 °F row
        {67.5, 80, 80, 48500, 4.80},               // halfway between rows
        {47.5, 80, 80, 33500, 2.95},               // 45 .. 50 °F: the 55 -> 50 slope carried on
        {44.9, 80, 80, 0, 0},                      // below the minimum: nothing
        {80, 70, 80, 60000 * 0.98, 5.79 * 0.985},  // 10 % drier: -2 % output, -1.5 % C.O.P.
        {80, 80, 90, 60000 * 0.95, 5.79 * 0.88},   // 10 °F warmer water: -5 %, -12 %
        {80, 80, 60, 60000 * 1.10, 5.79 * 1.10},   // colder water helps at most 10 %
    };
    for (const auto& r : table) {
        const Rated rated = interpolate(p, r.air);
        EXPECT_EQ(rated.low, r.air < 50 && r.air >= 45) << r.air;
        const Rating c = corrected(rated, r.rh, r.water);
        EXPECT_NEAR(c.cap, r.cap, 1e-6 * r.cap + 1e-9) << r.air << " " << r.rh << " " << r.water;
        EXPECT_NEAR(c.cop, r.cop, 1e-5) << r.air << " " << r.rh << " " << r.water;
    }
}

// Indoor evaporation against ASHRAE's natatorium form w = 0.1·A·AF·Δp lb/h
// (Δp inHg, hall at water + 2 °F and 55 % RH), 1050 BTU per lb.
TEST_F(EngineTest, IndoorEvaporationMatchesAshrae) {
    g.pool_site = "In";
    g.sun_pct = 0;
    heat_months(1, 12, 80);
    ASSERT_TRUE(engine::Calc());
    const double ashrae_pool = 0.1 * g.pool_area * 0.5 * (kPsat80 - 0.55 * kPsat82) * 1050.0;  // BTU/h
    for (int m = 1; m <= 12; ++m)
        EXPECT_NEAR(g.loss_evap[m] / (24.0 * g.month_days[m]), ashrae_pool, 0.02 * ashrae_pool) << m;
    EXPECT_EQ(g.loss_conv[1], 0);  // no convection or radiation indoors

    g.pool_type = "Spa";  // activity factor 1.0
    ASSERT_TRUE(engine::Calc());
    EXPECT_NEAR(g.loss_evap[1] / (24.0 * 31), 2 * ashrae_pool, 0.04 * ashrae_pool);
    const double without = g.loss_evap[1];
    g.spa_blower = 1;  // the blower raises evaporation by 30 %
    ASSERT_TRUE(engine::Calc());
    EXPECT_NEAR(g.loss_evap[1], 1.3 * without, 1e-6 * without);
}

}  // namespace
