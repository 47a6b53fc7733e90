#include "input/cities.h"

#include <algorithm>
#include <cmath>

#include "app/data.h"
#include "core/vbtext.h"

namespace cities {

Lists build_lists() {
    Lists l;
    for (int i = 1; i <= std::min<int>(g.city_count, 500); ++i) {
        std::string entry;
        const int grp = city_entry(g.city_tab[i], entry);
        if (grp < 0 || grp > 2) continue;
        l.entries[grp].push_back(entry);
        l.records[grp].push_back(i);
    }
    return l;
}

float wind(const CityRecord& r) { return std::isfinite(r.wind) ? std::clamp(r.wind, 0.0f, 50.0f) : 0.0f; }

bool same_weather(const CityRecord& r) {
    for (int m = 1; m <= 12; ++m)
        if (r.humidity[m] != g.month_city_a[m] || r.sun[m] != g.month_city_b[m] || r.air_temp[m] != g.month_city_c[m])
            return false;
    return true;
}

bool holds(const CityRecord& r) {
    return g.city_name == vb::Trim(r.city) && g.sel_state == vb::Trim(r.state) && g.rate_elec == cy(r.elec_cost) &&
           g.rate_natgas == cy(r.gas_cost) && g.rate_propane == cy(r.propane_cost) && g.rate_oil == cy(r.oil_cost) &&
           g.wind_mph == wind(r) && same_weather(r);
}

int find(const Lists& l, int grp, const std::string& city, const std::string& state, bool with_state) {
    int first = -1;
    for (std::size_t j = 0; j < l.records[grp].size(); ++j) {
        const CityRecord& r = g.city_tab[l.records[grp][j]];
        if (r.city != city || (with_state && grp != 0 && r.state != state)) continue;
        if (same_weather(r)) return static_cast<int>(j);
        if (first < 0) first = static_cast<int>(j);
    }
    return first;
}

std::array<int, 2> find_preset(const Lists& l, const std::string& preset) {
    const std::string want = vb::UCase(vb::RTrim(preset));
    for (int grp = 0; grp < 3; ++grp) {
        if (g.area_sel >= 1 && g.area_sel <= 3 && grp != g.area_sel - 1) continue;
        for (std::size_t j = 0; j < l.records[grp].size(); ++j) {
            if (vb::UCase(vb::Trim(g.city_tab[l.records[grp][j]].city)) == want) return {grp, static_cast<int>(j)};
        }
    }
    return {-1, -1};
}

void take_weather(const CityRecord& r) {
    for (int m = 1; m <= 12; ++m) {
        g.month_city_a[m] = r.humidity[m];
        g.month_city_b[m] = r.sun[m];
        g.month_city_c[m] = r.air_temp[m];
    }
}

void take(const CityRecord& r, int grp) {
    g.area_group = static_cast<i16>(grp);
    g.city_name = vb::Trim(r.city);
    g.sel_state = vb::Trim(r.state);
    g.rate_elec = cy(r.elec_cost);
    g.rate_natgas = cy(r.gas_cost);
    g.rate_propane = cy(r.propane_cost);
    g.rate_oil = cy(r.oil_cost);
    g.wind_mph = wind(r);
    take_weather(r);
}

}  // namespace cities
