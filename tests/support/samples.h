// Sample projects for the tests and benchmarks: an outdoor
// 450 ft² pool, 5 ft deep, a mid-size heat pump (rating rows 85 .. 50 °F at
// 80 % RH and 80 °F water) and typical-year climates; the three projects the
// printouts' pages are compared on; and the three the report book's pages are
// compared on, which take their cities and heat pumps from the default data.
// No test framework here, so that bench/ can use it too.
#pragma once

#include <string>

#include "app/data.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "input/cities.h"

namespace samples {

struct Climate {
    float rh[12], sun[12], air[12], wind;
    double elec, gas, propane, oil;
};

// Typical meteorological year means (monthly RH %, langley/day, °F; mph;
// $/kWh, $/therm, $/US gal propane and oil).
inline const Climate kOrlando = {{79, 67, 68, 70, 73, 80, 81, 86, 80, 80, 80, 78},
                                 {244, 304, 401, 519, 541, 488, 471, 422, 390, 333, 287, 246},
                                 {58.2f, 63.4f, 65.9f, 70.8f, 76.2f, 79.7f, 80.4f, 79.2f, 79.0f, 73.6f, 68.2f, 61.4f},
                                 8.2f,
                                 0.152,
                                 2.45,
                                 3.86,
                                 3.89};
inline const Climate kChicago = {{71, 66, 71, 69, 63, 62, 74, 74, 75, 69, 75, 75},
                                 {152, 214, 296, 378, 514, 541, 531, 444, 360, 253, 156, 129},
                                 {23.6f, 27.5f, 38.9f, 49.9f, 59.6f, 70.0f, 75.4f, 71.2f, 64.6f, 51.8f, 40.5f, 25.4f},
                                 10.2f,
                                 0.157,
                                 1.11,
                                 1.92,
                                 3.82};

inline const Climate kAnchorage = {{79, 76, 72, 67, 55, 54, 74, 69, 71, 82, 85, 86},
                                   {20, 77, 164, 259, 316, 472, 396, 314, 213, 89, 31, 12},
                                   {28.4f, 21.6f, 28.5f, 36.7f, 48.4f, 59.6f, 57.7f, 61.0f, 45.0f, 35.1f, 34.3f, 23.5f},
                                   3.9f,
                                   0.239,
                                   1.14,
                                   3.07,
                                   3.88};

inline void set_climate(const Climate& c) {
    for (int m = 1; m <= 12; ++m) {
        g.month_city_a[m] = c.rh[m - 1];
        g.month_city_b[m] = c.sun[m - 1];
        g.month_city_c[m] = c.air[m - 1];
    }
    g.wind_mph = c.wind;
    g.rate_elec = cy(c.elec);
    g.rate_natgas = cy(c.gas);
    g.rate_propane = cy(c.propane);
    g.rate_oil = cy(c.oil);
}

// Rating points 1..8 of a mid-size model (rows 85, 80 ... 50 °F), the
// series' medium model chosen.
inline void set_pump() {
    static const float cop[8] = {6.06f, 5.79f, 5.35f, 5.00f, 4.60f, 4.20f, 3.70f, 3.20f};
    static const double btu[8] = {63000, 60000, 55600, 51000, 46000, 41000, 38000, 35000};
    for (int r = 1; r <= 8; ++r) {
        g.hp_rh[r] = 80;
        g.hp_wtemp[r] = 80;
        g.hp_cop[r] = cop[r - 1];
        g.hp_btu[r] = btu[r - 1];
    }
    g.model_txt1 = "HX 310 ";
    g.model_txt2 = "HX 520 ";
    g.model_txt3 = "HX 730 ";
    g.model_name = "HX 520";
}

// Heat the months first..last (inclusive) at `temp` °F, the others off.
inline void heat_months(int first, int last, float temp) {
    for (int m = 1; m <= 12; ++m) {
        g.run_state[m][0] = m >= first && m <= last ? 1 : 0;
        g.temp_table[m][6] = temp;
        g.temp_table[m][5] = temp;
    }
}

// A heating season that may run over the new year (10, 4: October to
// April) at `temp` °F, the thermostat set to it as well.
inline void heat_season(int first, int last, float temp) {
    heat_months(1, 12, temp);
    for (int m = 1; m <= 12; ++m)
        g.run_state[m][0] = (first <= last ? m >= first && m <= last : m >= first || m <= last) ? 1 : 0;
    g.desired_temp = temp;
}

inline void set_cover(int hours) {
    for (int m = 1; m <= 12; ++m) g.month_hours_c[m][0] = static_cast<i16>(hours);
}

// The model-price window's rows: large, medium, small model.
inline void set_model_prices(double large, double medium, double small) {
    g.model_price[1] = cy(large);
    g.model_price[2] = cy(medium);
    g.model_price[3] = cy(small);
    for (int i = 1; i <= 3; ++i) g.model_price_tab[5 + i] = g.model_price[i];
}

// A fresh model holding the project: all year at 82 °F, heated around the
// clock every day, no cover, 75 % sun, in the given climate.
inline void set_project(const Climate& c) {
    set_defaults(g);
    set_pump();
    set_climate(c);
    g.pool_area = 450;
    g.pool_depth = 5;
    g.sun_pct = 75;
    g.heat_days = 7;
    g.heat_hours = 24;
    heat_months(1, 12, 82);
    set_cover(0);
}

// ---- the printouts' projects ------------------------------------------------------------

// The dealer, the customer and the brand every printout project prints with.
inline void set_people() {
    g.company_name = "Sunshine Pool & Spa";
    g.cust_name = "Mr. and Mrs. J. Alvarez";
    g.cust_street = "1412 Lakeview Drive";
    g.cust_city = "Orlando, FL 32804";
    g.brand_name = "Kestrolin";
}

// An outdoor 450 ft² pool in Orlando with floor returns, covered 10 hours a
// night, heated all year at 82 °F against an existing natural-gas heater.
inline void pool_with_gas_and_cover() {
    set_project(kOrlando);
    set_people();
    g.area_group = 0;
    g.city_name = "Orlando";
    g.sel_state = "FL";
    set_cover(10);
    g.opt_reduce = 1;
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
    g.fuel_units[1] = 0;
}

// A 7 m² (75 ft²) outdoor spa in Chicago at 38 °C (100 °F) all year, shown
// in metric units, with the existing propane heater kept as backup and
// propane priced per litre.
inline void metric_spa_with_backup() {
    set_project(kChicago);
    set_people();
    g.cust_city = "Chicago, IL 60614";
    g.area_group = 1;
    g.city_name = "Chicago";
    g.sel_state = "IL";
    g.pool_type = "Spa";
    g.pool_area = 75;
    g.pool_depth = 3.5f;
    g.units_len = 1;
    g.units_temp = 1;
    g.units_heat = 1;
    heat_months(1, 12, 100);
    set_cover(20);
    g.fuel_type = HT_PROPANE;
    g.backup_on = 1;
    g.heater_eff = 85;
    g.heater_btu = 150000;
    g.fuel_units[3] = 1;
}

// An outdoor pool in Nassau heated March to November at 84 °F, no cover, no
// existing heater.
inline void pool_no_heater() {
    set_project(kOrlando);
    set_people();
    g.cust_city = "Nassau, Bahamas";
    g.area_group = 2;
    g.city_name = "Nassau";
    g.sel_state = "Bahamas";
    g.pool_area = 600;
    g.pool_depth = 4.5f;
    heat_months(3, 11, 84);
    g.fuel_type = HT_HEATPUMP;
    g.sun_pct = 85;
}

// ---- the report book's projects, on the default data --------------------------------------
// They change the project only: the settings, the customer and the loaded
// cities and heat pumps (city_tab, pump_tab) are the caller's.
namespace from_data {

// The weather city of that name in city_tab, chosen as the project window
// chooses it; false when the loaded cities have none.
inline bool choose_city(const std::string& name) {
    for (int i = 1; i <= g.city_count; ++i) {
        const CityRecord& r = g.city_tab[i];
        if (vb::Trim(r.city) != name) continue;
        std::string entry;
        cities::take(r, city_entry(r, entry));
        return true;
    }
    return false;
}

// An outdoor 15 x 30 ft pool in Orlando with a natural-gas heater.
inline bool pool_with_gas() {
    if (!choose_city("Orlando")) return false;
    read_pumpa("Kestrolin", "HX 520");
    g.pool_type = "Pool";
    g.pool_site = "out";
    g.pool_area = 450;
    g.pool_depth = 5;
    g.sun_pct = 75;
    heat_season(10, 4, 82);
    set_cover(12);
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
    g.heater_cost = cy(2400);
    g.backup_on = 0;
    g.price_rise[HT_HEATPUMP] = g.price_rise[HT_ELEC] = 0.03f;
    g.price_rise[HT_GAS] = 0.05f;
    set_model_prices(4600, 3900, 3400);
    return true;
}

// A 7 x 7 ft outdoor spa in Chicago, metric units, backed up by propane.
inline bool metric_spa_with_backup() {
    if (!choose_city("Chicago")) return false;
    read_pumpa("Kestrolin", "HX 310");
    g.pool_type = "Spa";
    g.pool_site = "out";
    g.pool_area = 49;
    g.pool_depth = 3.5f;
    g.sun_pct = 60;
    g.spa_blower = 1;
    heat_season(1, 12, 102);
    set_cover(20);
    g.units_len = 1;
    g.units_vol = 3;
    g.units_sun = 2;
    g.units_heat = 1;
    g.units_temp = 1;
    g.fuel_type = HT_PROPANE;
    g.heater_eff = 78;
    g.heater_btu = 150000;
    g.heater_cost = cy(1800);
    g.backup_on = 1;
    set_model_prices(4300, 3600, 3100);
    return true;
}

// A 20 x 40 ft pool in Phoenix heated October to April, no heater yet.
inline bool pool_without_heater() {
    if (!choose_city("Phoenix")) return false;
    read_pumpa("Kestrolin", "HX 730");
    g.pool_type = "Pool";
    g.pool_site = "out";
    g.pool_area = 800;
    g.pool_depth = 5.5f;
    g.sun_pct = 90;
    heat_season(10, 4, 84);
    set_cover(0);
    g.fuel_type = HT_HEATPUMP;
    g.heater_cost = Currency{};
    g.backup_on = 0;
    set_model_prices(4600, 3900, 3400);
    return true;
}

// The three competitors of the default data named for the comparison.
inline void three_competitors() {
    g.do_compare = -1;
    g.comp_names[1] = "Brisalto";
    g.comp_names[2] = "Corvane Pool";
    g.comp_names[3] = "Tessaric";
}

}  // namespace from_data

}  // namespace samples
