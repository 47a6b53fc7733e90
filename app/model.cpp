#include "app/model.h"

#include <algorithm>
#include <string_view>

DataModel g;

void set_defaults(DataModel& m) {
    m = DataModel{};
    static const char* names[] = {"",    "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
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

// ---- questions about the project -------------------------------------------------------

namespace {

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Upper case, blanks removed: how model and brand names are compared.
std::string name_key(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        if (c == ' ') continue;
        out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return out;
}

int brand_record(const DataModel& m) { return m.pump_rec >= 1 && m.pump_rec <= 100 ? int{m.pump_rec} : 1; }

}  // namespace

bool is_spa(const DataModel& m) { return trim_blanks(m.pool_type) != "Pool"; }
bool is_indoor(const DataModel& m) { return trim_blanks(m.pool_site) == "In"; }
int existing_heater(const DataModel& m) {
    return m.fuel_type >= HT_ELEC && m.fuel_type <= HT_OIL ? int{m.fuel_type} : int{HT_HEATPUMP};
}
bool has_heater(const DataModel& m) { return existing_heater(m) != HT_HEATPUMP; }
bool has_backup(const DataModel& m) { return m.backup_on != 0 && has_heater(m); }

std::string month_runs(const std::array<bool, 13>& in, const std::string& dash, const std::string& sep,
                       const DataModel& m) {
    std::string s;
    for (int first = 1; first <= 12; ++first) {
        if (!in[first]) continue;
        int last = first;
        while (last < 12 && in[last + 1]) ++last;
        if (!s.empty()) s += sep;
        s += m.month_name[first];
        if (last > first) s += (last == first + 1 ? sep : dash) + m.month_name[last];
        first = last;
    }
    return s;
}

int price_slot_of_size(int size) { return 4 - std::clamp(size, 1, 3); }

ChosenModel chosen_model(const DataModel& m) {
    ChosenModel c;
    c.record = brand_record(m);
    const std::string key = name_key(m.model_name);
    const PumpBrand& r = m.pump_tab[c.record];
    if (!key.empty()) {
        for (int k = 1; k <= 9; ++k) {
            if (r.in_list[k] == 1 && name_key(r.model[k]) == key) {
                c.index = k;
                c.found = true;
                break;
            }
        }
        if (!c.found) {
            // Not in the group as loaded (no heat-pump file yet): its size
            // among the models on offer.
            const std::string* txt[3] = {&m.model_txt1, &m.model_txt2, &m.model_txt3};
            for (int s = 0; s < 3; ++s)
                if (name_key(*txt[s]) == key) c.index = s + 1;
        }
    }
    c.series_first = (c.index - 1) / 3 * 3 + 1;
    c.size = c.index - c.series_first + 1;
    c.price_slot = price_slot_of_size(c.size);
    c.buffer_slot = c.size;
    return c;
}

Currency chosen_price(const DataModel& m) { return m.model_price[chosen_model(m).price_slot]; }
double chosen_buffer(const DataModel& m) { return m.sel_buffer[chosen_model(m).buffer_slot]; }

std::string chosen_model_text(const DataModel& m) {
    const ChosenModel c = chosen_model(m);
    if (!c.found) return std::string(trim_blanks(m.model_name));
    return std::string(trim_blanks(m.pump_tab[c.record].model[c.index]));
}

void use_chosen_model(DataModel& m) {
    const ChosenModel c = chosen_model(m);
    const PumpBrand& r = m.pump_tab[c.record];
    auto label = [&](int k) {
        std::string_view s = r.model[k];
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return std::string(s) + " ";
    };
    m.model_txt1 = label(c.series_first);
    m.model_txt2 = label(c.series_first + 1);
    m.model_txt3 = label(c.series_first + 2);
    for (int p = 1; p <= 8; ++p) {
        const int src = c.first_point() + p;
        m.hp_rh[p] = r.rh[src];
        m.hp_cop[p] = r.cop[src];
        m.hp_btu[p] = r.btu[src];
        m.hp_wtemp[p] = r.water_temp[src];
    }
}
