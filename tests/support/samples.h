// Sample projects for the tests and benchmarks: an outdoor
// 450 ft² pool, 5 ft deep, a mid-size heat pump (rating rows 85 .. 50 °F at
// 80 % RH and 80 °F water) and typical-year climates. No test framework
// here, so that bench/ can use it too.
#pragma once

#include "app/model.h"

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

inline void set_cover(int hours) {
    for (int m = 1; m <= 12; ++m) g.month_hours_c[m][0] = static_cast<i16>(hours);
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

}  // namespace samples
