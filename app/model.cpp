#include "model.h"

DataModel g;

void set_defaults(DataModel& m) {
    m = DataModel{};
    static const char* names[] = {"", "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                  "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    static const i16 days[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int i = 0; i <= 12; ++i) {
        m.month_name[i] = names[i];
        m.month_days[i] = days[i];
    }
    m.crlf = "\r\n";
    // Start-up defaults of the dealer factors (no adjustment).
    m.off_buffer[3] = 100;
    for (int i = 1; i <= 8; ++i) {
        m.hp_btu_factor[i] = 1.0f;
        m.hp_cop_factor[i] = 1.0f;
    }
    // An example project: an outdoor 15 x 30 ft pool heated all year at 82 °F.
    m.pool_area = 450;
    m.pool_depth = 5;
    m.wind_mph = 7;
    m.sun_pct = 75;
    m.desired_temp = 82;
    for (int mo = 1; mo <= 12; ++mo) {
        m.temp_table[mo][6] = 82;
        m.temp_table[mo][5] = 82;
        m.run_state[mo][0] = 1;
        m.month_city_a[mo] = 70;
        m.month_city_b[mo] = 400;
        m.month_city_c[mo] = 70;
    }
    m.rate_elec = cy(0.12);
    m.rate_natgas = cy(1.20);
    m.rate_propane = cy(2.50);
    m.rate_oil = cy(3.50);
}
