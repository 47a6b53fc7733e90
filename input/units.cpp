#include "units.h"

#include <charconv>
#include <cmath>

namespace units {

double area_shown(double sq_ft, bool metric) { return metric ? sq_ft / kSqFtPerSqM : sq_ft; }
double area_stored(double shown, bool metric) { return metric ? shown * kSqFtPerSqM : shown; }
double depth_shown(double ft, bool metric) { return metric ? ft / kFtPerM : ft; }
double depth_stored(double shown, bool metric) { return metric ? shown * kFtPerM : shown; }
double wind_shown(double mph, bool metric) { return metric ? mph * kKmhPerMph : mph; }
double wind_stored(double shown, bool metric) { return metric ? shown / kKmhPerMph : shown; }
double output_shown(double btuh, bool kw) { return kw ? btuh / kBtuhPerKw : btuh; }
double output_stored(double shown, bool kw) { return kw ? shown * kBtuhPerKw : shown; }

namespace {

struct UnitDef {
    const char* name;
    double factor;  // chosen units in one stored unit
};

// Gas is stored per therm (100,000 BTU).
constexpr UnitDef kGasUnits[] = {
    {"Therm", 1.0}, {"100K BTU", 1.0}, {"KWH Gas", 29.299392}, {"100 MJ Gas", 1.054852}};
// Propane is stored per US gallon.
constexpr UnitDef kPropaneUnits[] = {{"Gal Propane", 1.0},
                                     {"Ltr Propane", 3.785},
                                     {"LB Propane", 4.2486592},
                                     {"KG Propane", 1.9271596},
                                     {"UK Gal Propane", 0.832268}};
// Oil is stored per US gallon.
constexpr UnitDef kOilUnits[] = {
    {"Gal Oil", 1.0}, {"Liter Oil", 3.78533}, {"Ft^3 Oil", 0.1336805}, {"UK Gal Oil", 0.832268}};

const UnitDef* unitsOf(int fuel, int& count) {
    switch (fuel) {
        case kGas: count = 4; return kGasUnits;
        case kPropane: count = 5; return kPropaneUnits;
        case kOil: count = 4; return kOilUnits;
        default: count = 0; return nullptr;
    }
}

const UnitDef* unitOf(int fuel, int unit) {
    int count = 0;
    const UnitDef* defs = unitsOf(fuel, count);
    if (!defs) return nullptr;
    if (unit < 0 || unit >= count) unit = 0;
    return &defs[unit];
}

}  // namespace

double price_factor(int fuel, int unit) {
    const UnitDef* u = unitOf(fuel, unit);
    return u ? u->factor : 1.0;
}

int unit_count(int fuel) {
    int count = 0;
    unitsOf(fuel, count);
    return count;
}

std::string unit_name(int fuel, int unit) {
    const UnitDef* u = unitOf(fuel, unit);
    return u ? u->name : "";
}

Currency price_shown(Currency stored, int fuel, int unit) {
    const double f = price_factor(fuel, unit);
    if (f == 1.0) return stored;  // the stored unit: the value as it is
    if (fuel == kGas && unit == 3) {
        // Per 100 MJ: the price times 100 in currency, then / 105.4852.
        return cy((stored * 100).toDouble() / 105.4852);
    }
    return cy(stored.toDouble() / f);
}

Currency price_stored(double shown, int fuel, int unit) {
    if (!std::isfinite(shown)) return Currency{};
    return cy(shown * price_factor(fuel, unit));
}

int fuel_units_slot(int fuel) {
    switch (fuel) {
        case kGas: return 1;
        case kOil: return 2;
        case kPropane: return 3;
        default: return 0;
    }
}

std::string num_text(double x, int max_dec, int min_dec) {
    if (!std::isfinite(x)) x = 0;
    if (max_dec < 0) max_dec = 0;
    if (max_dec > 6) max_dec = 6;
    if (min_dec > max_dec) min_dec = max_dec;
    // to_chars: the C locale's point whatever locale the program runs in.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, max_dec);
    std::string s(buf, res.ptr);
    if (max_dec > 0) {
        const std::size_t dot = s.find('.');
        std::size_t keep = s.size();
        while (keep > dot + 1 + static_cast<std::size_t>(min_dec) && s[keep - 1] == '0') --keep;
        if (keep == dot + 1) keep = dot;  // no decimals left: drop the point
        s.resize(keep);
    }
    if (s == "-0") s = "0";
    return s;
}

bool clean_number(std::string_view text, double& value) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != ',' && c != '$' && c != '%') t += c;
    std::size_t b = 0, e = t.size();
    while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
    while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
    t = t.substr(b, e - b);
    int points = 0;
    for (char c : t) {
        if (c == '.') {
            if (++points > 1) return false;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    if (t.empty() || t == ".") {
        value = 0;
        return true;
    }
    if (t.front() == '.') t.insert(t.begin(), '0');
    double v = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace units
