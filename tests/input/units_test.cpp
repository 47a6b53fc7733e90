// Unit conversions of the project input window (no window needed).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/limits.h"
#include "app/model.h"
#include "app/settings.h"
#include "input/cities.h"
#include "input/fields.h"
#include "input/units.h"

namespace {

// The shown price is the printed fuel-price label's conversion; typing a
// price per unit stores its exact inverse.
TEST(InputUnits, FuelPricesMatchThePrintedLabels) {
    using units::kGas, units::kOil, units::kPropane;
    const Currency one = cy(1.00);
    EXPECT_EQ(units::price_shown(one, kGas, 0), one);              // per therm
    EXPECT_EQ(units::price_shown(one, kGas, 1), one);              // per 100,000 BTU
    EXPECT_EQ(units::price_shown(one, kGas, 2), cy(0.0341));       // per kWh
    EXPECT_EQ(units::price_shown(one, kGas, 3), cy(0.9480));       // per 100 MJ
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
    EXPECT_EQ(units::unit_name(kPropane, 4), "UK Gal Propane");  // the name the lists give it
    // A unit the lists do not know counts as the stored unit.
    EXPECT_EQ(units::price_shown(cy(2.5), kOil, 9), cy(2.5));
    EXPECT_EQ(units::price_stored(2.5, kOil, -1), cy(2.5));
}

// Typing a price per unit stores its exact inverse, so a typed price comes
// back as typed and a stored one survives being shown and typed back, but
// for the rounding to 1/10000 of a dollar on either side (units of a therm
// or gallon and more come back exactly).
TEST(InputUnits, PricesSurviveTheWayThroughTheBox) {
    for (int fuel : {int(units::kGas), int(units::kPropane), int(units::kOil)}) {
        for (int unit = 0; unit < units::unit_count(fuel); ++unit) {
            const double f = units::price_factor(fuel, unit);
            for (double typed : {0.0, 0.0341, 0.05, 0.25, 0.99, 1.2, 3.5, 12.75}) {
                const Currency back = units::price_shown(units::price_stored(typed, fuel, unit), fuel, unit);
                if (f >= 1.0) EXPECT_EQ(back, cy(typed)) << fuel << " " << unit << " " << typed;
                else EXPECT_NEAR(back.toDouble(), typed, 0.00005 / f + 0.00005) << fuel << " " << unit;
            }
            for (double price : {0.5, 1.2, 2.45, 3.89}) {
                const Currency shown = units::price_shown(cy(price), fuel, unit);
                const Currency back = units::price_stored(shown.toDouble(), fuel, unit);
                EXPECT_NEAR(back.toDouble(), price, 0.00005 * f + 0.00005 + 1e-9) << fuel << " " << unit;
            }
        }
    }
}

// Outside Florida a city is the project's only in its state: the second
// Springfield is found by its state, an unknown state finds none unless the
// state is left out (then the first of the name).
// Whatever a box stores, at either end of its limits and in either units,
// and a finance window's largest tax and rate, load again from the settings
// file at the next start: the file never refuses what a window stored.
TEST(InputLimits, EveryValueAWindowStoresLoadsFromTheSettingsFile) {
    const auto loads = [] {
        auto m = std::make_unique<DataModel>();
        set_defaults(*m);
        const settings::ParseResult res = settings::fromText(settings::toText(g), *m);
        return res.ok() ? std::string() : res.refused.empty() ? "incomplete" : res.refused.front();
    };
    for (int metric : {0, 1}) {
        for (int i = 0; i <= fields::kPriceOil; ++i) {
            const fields::Field* f = fields::field(i);
            if (!f) continue;
            for (bool max : {false, true}) {
                set_defaults(g);
                g.units_len = g.units_heat = g.units_temp = static_cast<float>(metric);
                fields::store(i, fields::limit_shown(*f, max));
                EXPECT_EQ(loads(), "") << "box " << i << (max ? " max" : " min") << (metric ? " metric" : "");
            }
        }
    }
    set_defaults(g);
    g.sales_tax = static_cast<float>(limits::kSalesTax.typed.max);
    g.loan_rate = static_cast<float>(limits::kLoanRate.typed.max);
    EXPECT_EQ(loads(), "");
    set_defaults(g);
}

TEST(InputCities, OutsideFloridaTheStateBelongsToTheName) {
    set_defaults(g);
    g.city_count = 3;
    g.city_tab[1].city = g.city_tab[2].city = g.city_tab[3].city = "Springfield";
    g.city_tab[1].state = "IL";
    g.city_tab[2].state = "MO";
    g.city_tab[3].state = "FL";
    g.city_tab[2].air_temp[1] = 1;  // months the project does not hold
    const cities::Lists l = cities::build_lists();
    EXPECT_EQ(cities::find(l, 1, "Springfield", "MO", true), 1);
    EXPECT_EQ(cities::find(l, 1, "Springfield", "TX", true), -1);
    EXPECT_EQ(cities::find(l, 1, "Springfield", "TX", false), 0);
    EXPECT_EQ(cities::find(l, 0, "Springfield", "GA", true), 0);  // Florida's list holds Florida only
}

}  // namespace

// Whatever reaches store() is kept within the box's limits, and a fuel unit
// the settings file holds outside its list, or as a fraction, is read as
// the first unit.
TEST(InputFields, StoredValuesAndFuelUnitsStayWithinTheirLimits) {
    set_defaults(g);
    const std::pair<int, double> over[] = {{fields::kArea, 60000}, {fields::kWind, -3}, {fields::kHeatHours, 30}};
    for (auto [box, shown] : over) {
        fields::store(box, shown);
        const fields::Field& f = *fields::field(box);
        EXPECT_EQ(fields::stored_value(box), shown > f.max_us ? f.max_us : f.min_us) << box;
    }
    g.month_hours_c[3][0] = 9;  // a box without limits of its own: March's cover hours
    EXPECT_EQ(fields::stored_value(fields::kFirstCover + 2), 9);
    const int slot = units::fuel_units_slot(units::kGas);
    ASSERT_GT(slot, 0);
    const float kept[] = {static_cast<float>(units::unit_count(units::kGas)), 1.5f, -1};
    for (float u : kept) {
        g.fuel_units[slot] = u;
        EXPECT_EQ(fields::fuel_unit(units::kGas), 0) << u;
    }
    g.fuel_units[slot] = 1;
    EXPECT_EQ(fields::fuel_unit(units::kGas), 1);
    set_defaults(g);
}
