// Unit conversions of the project input window (no window needed).
#include <gtest/gtest.h>

#include <cmath>

#include "data.h"
#include "input/units.h"
#include "model.h"

namespace {

TEST(InputUnits, LengthAreaSpeedRoundTrip) {
    for (double v : {0.0, 1.0, 41.8, 100.0, 450.0, 4645.1, 50000.0}) {
        EXPECT_NEAR(units::area_stored(units::area_shown(v, true), true), v, 1e-9);
        EXPECT_NEAR(units::depth_stored(units::depth_shown(v, true), true), v, 1e-9);
        EXPECT_NEAR(units::wind_stored(units::wind_shown(v, true), true), v, 1e-9);
        EXPECT_NEAR(units::output_stored(units::output_shown(v, true), true), v, 1e-9);
        // US units pass unchanged.
        EXPECT_EQ(units::area_shown(v, false), v);
        EXPECT_EQ(units::wind_stored(v, false), v);
    }
    EXPECT_NEAR(units::area_stored(100, true), 1076.4, 1e-9);       // 100 m² typed
    EXPECT_NEAR(units::depth_stored(2, true), 6.5618, 1e-9);        // 2 m typed
    EXPECT_NEAR(units::wind_stored(16.09347219, true), 10, 1e-9);   // km/h typed
    EXPECT_NEAR(units::area_shown(450, true), 41.806, 1e-3);        // as the printouts show it
    EXPECT_NEAR(units::output_shown(341214.2, true), 100, 1e-9);    // BTU/h -> kW
}

// The shown price is the printed fuel-price label's conversion; typing a
// price per unit stores its exact inverse.
TEST(InputUnits, FuelPricesMatchThePrintedLabels) {
    using units::kGas, units::kOil, units::kPropane;
    const Currency one = cy(1.00);
    EXPECT_EQ(units::price_shown(one, kGas, 0), one);           // per therm
    EXPECT_EQ(units::price_shown(one, kGas, 1), one);           // per 100,000 BTU
    EXPECT_EQ(units::price_shown(one, kGas, 2), cy(0.0341));    // per kWh
    EXPECT_EQ(units::price_shown(one, kGas, 3), cy(0.9480));    // per 100 MJ
    EXPECT_EQ(units::price_shown(cy(1.50), kOil, 1), cy(0.3963));  // per litre
    EXPECT_EQ(units::price_shown(cy(3.785), kPropane, 1), cy(1.0));
    EXPECT_EQ(units::price_shown(cy(4.2486592), kPropane, 2), cy(1.0));
    EXPECT_EQ(units::price_shown(cy(1.9271596), kPropane, 3), cy(1.0));
    EXPECT_EQ(units::price_shown(cy(0.832268), kPropane, 4), cy(1.0));
    EXPECT_EQ(units::price_shown(one, kOil, 2), cy(1.0 / 0.1336805));  // 7.4805 per ft³
    EXPECT_EQ(units::price_shown(one, kOil, 3), cy(1.0 / 0.832268));   // 1.2015 per UK gal

    EXPECT_EQ(units::price_stored(0.05, kGas, 2), cy(0.05 * 29.299392));
    EXPECT_EQ(units::price_stored(1.0, kGas, 3), cy(1.054852));
    EXPECT_EQ(units::price_stored(1.0, kPropane, 1), cy(3.785));
    EXPECT_EQ(units::price_stored(1.0, kOil, 1), cy(3.78533));
    // A unit the lists do not know counts as the stored unit.
    EXPECT_EQ(units::price_shown(cy(2.5), kOil, 9), cy(2.5));
    EXPECT_EQ(units::price_stored(2.5, kOil, -1), cy(2.5));
}

// A typed price comes back as typed, but for the rounding of the stored
// price to 1/10000 of a dollar per therm or gallon: at most 0.00005 divided
// by the size of the unit (plus the shown price's own rounding). Units of
// a therm or more come back exactly.
TEST(InputUnits, TypedPriceComesBackAsTyped) {
    using units::kGas, units::kOil, units::kPropane;
    for (int fuel : {int(kGas), int(kPropane), int(kOil)}) {
        for (int unit = 0; unit < units::unit_count(fuel); ++unit) {
            const double f = units::price_factor(fuel, unit);
            for (double typed : {0.0, 0.0341, 0.05, 0.25, 0.99, 1.2, 3.5, 12.75}) {
                const Currency stored = units::price_stored(typed, fuel, unit);
                const Currency back = units::price_shown(stored, fuel, unit);
                if (f >= 1.0) EXPECT_EQ(back, cy(typed)) << "fuel " << fuel << " unit " << unit << " " << typed;
                else EXPECT_NEAR(back.toDouble(), typed, 0.00005 / f + 0.00005) << fuel << " " << unit;
            }
        }
    }
}

TEST(InputUnits, StoredPriceSurvivesShowingAndTypingBack) {
    // A stored price shown in a unit and typed back as shown moves by less
    // than the rounding of the shown price (0.00005 a unit) and of the
    // stored one (0.00005).
    for (int fuel : {int(units::kGas), int(units::kPropane), int(units::kOil)}) {
        for (int unit = 0; unit < units::unit_count(fuel); ++unit) {
            for (double price : {0.5, 1.2, 2.45, 3.89}) {
                const Currency shown = units::price_shown(cy(price), fuel, unit);
                const Currency back = units::price_stored(shown.toDouble(), fuel, unit);
                EXPECT_NEAR(back.toDouble(), price, 0.00005 * units::price_factor(fuel, unit) + 0.00005 + 1e-9);
            }
        }
    }
}

TEST(InputUnits, UnitNames) {
    EXPECT_EQ(units::unit_count(units::kGas), 4);
    EXPECT_EQ(units::unit_count(units::kPropane), 5);
    EXPECT_EQ(units::unit_count(units::kOil), 4);
    EXPECT_EQ(units::unit_count(2), 0);
    EXPECT_EQ(units::unit_name(units::kPropane, 4), "UK Gal Propane");
    EXPECT_EQ(units::unit_name(units::kGas, 2), "KWH Gas");
    EXPECT_EQ(units::fuel_units_slot(units::kGas), 1);
    EXPECT_EQ(units::fuel_units_slot(units::kOil), 2);
    EXPECT_EQ(units::fuel_units_slot(units::kPropane), 3);
}

TEST(InputUnits, TemperatureRoundTripToATenth) {
    set_defaults(g);
    g.units_temp = 1;
    for (float f = 40; f <= 104; f += 0.5f) {
        float c = 0;
        to_deg_c(c, f);
        float back = 0;
        to_deg_c(back, from_deg_c(c));
        EXPECT_FLOAT_EQ(back, c) << f;
        EXPECT_NEAR(from_deg_c(c), f, 0.1) << f;
    }
    g.units_temp = 0;
    EXPECT_EQ(from_deg_c(82), 82);
}

TEST(InputUnits, NumberTexts) {
    EXPECT_EQ(units::num_text(100, 1), "100");
    EXPECT_EQ(units::num_text(27.84, 1), "27.8");
    EXPECT_EQ(units::num_text(0.12, 4, 2), "0.12");
    EXPECT_EQ(units::num_text(1.2, 4, 2), "1.20");
    EXPECT_EQ(units::num_text(0.0341, 4, 2), "0.0341");
    EXPECT_EQ(units::num_text(-0.01, 1), "0");
    EXPECT_EQ(units::num_text(std::nan(""), 2), "0");
    EXPECT_EQ(units::num_text(450, 0), "450");
}

TEST(InputUnits, CleanNumbers) {
    double v = -1;
    EXPECT_TRUE(units::clean_number("12.5", v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_TRUE(units::clean_number("", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(units::clean_number(".", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(units::clean_number(".5", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(units::clean_number("12.", v));
    EXPECT_DOUBLE_EQ(v, 12);
    EXPECT_TRUE(units::clean_number(" $1,200 ", v));  // pasted money
    EXPECT_DOUBLE_EQ(v, 1200);
    for (const char* bad : {"abc", "1.2.3", "-5", "1e5", "12a", "0x10", "1 2", "+3"})
        EXPECT_FALSE(units::clean_number(bad, v)) << bad;
    EXPECT_FALSE(units::clean_number(std::string(400, '9'), v));  // no finite double
}

}  // namespace
