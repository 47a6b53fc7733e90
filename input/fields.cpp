#include "input/fields.h"

#include <algorithm>
#include <cmath>

#include "app/data.h"
#include "app/limits.h"
#include "app/model.h"
#include "core/numtext.h"
#include "core/vbtext.h"
#include "input/units.h"

namespace fields {

namespace {

bool metric_len() { return g.units_len != 0; }
bool kw_heat() { return g.units_heat != 0; }
bool celsius() { return g.units_temp != 0; }

}  // namespace

int fuel_of_box(int i) { return i == kPriceGas ? units::kGas : i == kPricePropane ? units::kPropane : units::kOil; }

int fuel_unit(int fuel) {
    const int slot = units::fuel_units_slot(fuel);
    const float u = slot ? g.fuel_units[slot] : 0.0f;
    if (!(u >= 0 && u < static_cast<float>(units::unit_count(fuel)))) return 0;  // NaN too
    const int n = static_cast<int>(u);
    return static_cast<float>(n) == u ? n : 0;
}

namespace {

constexpr Field typed(Box i, Kind kind, const limits::Limit& l) { return {i, kind, l.typed.min, l.typed.max}; }

}  // namespace

// Limits a dealer would expect (app/limits.h); the engine is never handed a
// value outside. The wanted temperatures of the months are the thermostat's
// field.
const Field* field(int i) {
    static constexpr Field kFields[] = {
        typed(kArea, Kind::Area, limits::kPoolArea),
        typed(kDepth, Kind::Depth, limits::kPoolDepth),
        typed(kWind, Kind::Wind, limits::kWind),
        typed(kSun, Kind::Percent, limits::kSunPct),
        typed(kHeatDays, Kind::Count, limits::kHeatDays),
        typed(kHeatHours, Kind::Count, limits::kHeatHours),
        typed(kThermostat, Kind::Temp, limits::kWaterTemp),
        typed(kHeaterEff, Kind::Eff, limits::kHeaterEff),
        typed(kHeaterOutput, Kind::Output, limits::kHeaterOutput),
        typed(kPriceElec, Kind::PriceElec, limits::kPriceElec),
        typed(kPriceGas, Kind::PriceFuel, limits::kPriceFuel),
        typed(kPricePropane, Kind::PriceFuel, limits::kPriceFuel),
        typed(kPriceOil, Kind::PriceFuel, limits::kPriceFuel),
    };
    if (is_wanted(i)) i = kThermostat;
    for (const Field& f : kFields)
        if (f.index == i) return &f;
    return nullptr;
}

double to_shown(const Field& f, double us) {
    switch (f.kind) {
        case Kind::Area: return units::area_shown(us, metric_len());
        case Kind::Depth: return units::depth_shown(us, metric_len());
        case Kind::Wind: return units::wind_shown(us, metric_len());
        case Kind::Temp: {
            float c = 0;
            to_deg_c(c, static_cast<float>(us));
            return c;
        }
        case Kind::Output: return units::output_shown(us, kw_heat());
        case Kind::PriceFuel: {
            const int fuel = fuel_of_box(f.index);
            return units::price_shown(cy(us), fuel, fuel_unit(fuel)).toDouble();
        }
        default: return us;
    }
}

double to_us(const Field& f, double shown) {
    switch (f.kind) {
        case Kind::Area: return units::area_stored(shown, metric_len());
        case Kind::Depth: return units::depth_stored(shown, metric_len());
        case Kind::Wind: return units::wind_stored(shown, metric_len());
        case Kind::Temp: return from_deg_c(static_cast<float>(shown));
        case Kind::Output: return units::output_stored(shown, kw_heat());
        case Kind::PriceFuel: {
            const int fuel = fuel_of_box(f.index);
            return units::price_stored(shown, fuel, fuel_unit(fuel)).toDouble();
        }
        default: return shown;
    }
}

int decimals(const Field& f) {
    switch (f.kind) {
        case Kind::Area: return metric_len() ? 1 : 0;
        case Kind::Depth: return metric_len() ? 2 : 1;
        case Kind::Wind: return 1;
        case Kind::Percent: return 1;
        case Kind::Count: return 0;
        case Kind::Temp: return 1;
        case Kind::Eff: return 1;
        case Kind::Output: return kw_heat() ? 2 : 0;
        case Kind::PriceElec:
        case Kind::PriceFuel: return 4;
    }
    return 0;
}

double limit_shown(const Field& f, bool max) {
    const double v = to_shown(f, max ? f.max_us : f.min_us);
    const double p = std::pow(10.0, decimals(f));
    return max ? std::floor(v * p + 1e-6) / p : std::ceil(v * p - 1e-6) / p;
}

std::string unit_suffix(const Field& f, double value) {
    switch (f.kind) {
        case Kind::Area: return metric_len() ? " m²" : " ft²";
        case Kind::Depth: return metric_len() ? " m" : " ft";
        case Kind::Wind: return metric_len() ? " km/h" : " mph";
        case Kind::Percent:
        case Kind::Eff: return " %";
        case Kind::Count:
            if (value == 1) return f.index == 4 ? " day a week" : " hour a day";
            return f.index == 4 ? " days a week" : " hours a day";
        case Kind::Temp: return celsius() ? " °C" : " °F";
        case Kind::Output: return kw_heat() ? " kW" : " BTU/h";
        case Kind::PriceElec: return " $/kWh";
        case Kind::PriceFuel: {
            const int fuel = fuel_of_box(f.index);
            return " $/" + units::unit_name(fuel, fuel_unit(fuel));
        }
    }
    return {};
}

double stored_value(int i) {
    if (is_wanted(i)) return g.temp_table[i - kFirstWanted + 1][6];
    if (is_cover(i)) return g.month_hours_c[i - kFirstCover + 1][0];
    const Field* f = field(i);
    if (!f) return 0;
    switch (f->index) {
        case kArea: return g.pool_area;
        case kDepth: return g.pool_depth;
        case kWind: return g.wind_mph;
        case kSun: return g.sun_pct;
        case kHeatDays: return g.heat_days;
        case kHeatHours: return g.heat_hours;
        case kThermostat: return g.desired_temp;
        case kHeaterEff: return g.heater_eff;
        case kHeaterOutput: return g.heater_btu;
        case kPriceElec: return g.rate_elec.toDouble();
        case kPriceGas: return g.rate_natgas.toDouble();
        case kPricePropane: return g.rate_propane.toDouble();
        case kPriceOil: return g.rate_oil.toDouble();
    }
    return 0;
}

std::string shown_text(int i) {
    if (is_cover(i)) return std::to_string(g.month_hours_c[i - kFirstCover + 1][0]);
    const Field* f = field(i);
    if (!f) return {};
    // Electric resistance turns every kWh into heat: the calculation prices
    // it at 100 %, whatever efficiency is stored for a fuel heater.
    if (i == 31 && existing_heater() == HT_ELEC) return numtext::num_text(100.0, decimals(*f), decimals(*f));
    // Every box shows its field's decimals (wind "7.0" beside "9.2"), grouped
    // in thousands; a price keeps up to four decimals as money does, at
    // least two.
    const bool price = f->kind == Kind::PriceElec || f->kind == Kind::PriceFuel;
    const int d = decimals(*f);
    return numtext::grouped(numtext::num_text(to_shown(*f, stored_value(i)), d, price ? 2 : d));
}

// True when the text is kept as the dealer typed it: "7.48" per ft³ of oil
// is not turned into the 7.4798 that the stored price per gallon gives back.
bool text_holds_stored(int i, const std::string& text) {
    double v = 0;
    if (text.find_first_not_of(" \t\r\n\v\f") == std::string::npos || !numtext::clean_number(text, v)) return false;
    if (is_cover(i)) return vb::CInt(v) == g.month_hours_c[i - kFirstCover + 1][0];
    const Field* f = field(i);
    if (!f || v > limit_shown(*f, true) + 1e-9) return false;
    const double us = std::clamp(to_us(*f, v), f->min_us, f->max_us);
    const double stored = stored_value(i);
    switch (f->kind) {
        case Kind::PriceElec:
        case Kind::PriceFuel: return cy(us) == cy(stored);
        case Kind::Count: return vb::CInt(us) == vb::CInt(stored);
        case Kind::Output: return std::abs(us - stored) < 1e-6;
        default: return static_cast<float>(us) == static_cast<float>(stored);
    }
}

void store(int i, double shown) {
    const Field* f = field(i);
    if (!f) return;
    const double us = std::clamp(to_us(*f, shown), f->min_us, f->max_us);
    auto whole = [&](double lo, double hi) {
        return static_cast<i16>(std::clamp<int>(vb::CInt(us), static_cast<int>(lo), static_cast<int>(hi)));
    };
    if (is_wanted(i)) {  // one month's wanted temperature, under the thermostat's field
        const int m = i - kFirstWanted + 1;
        g.temp_table[m][6] = static_cast<float>(us);
        g.temp_table[m][5] = static_cast<float>(us);
        return;
    }
    switch (f->index) {
        case kArea: g.pool_area = static_cast<float>(us); break;
        case kDepth: g.pool_depth = static_cast<float>(us); break;
        case kWind: g.wind_mph = static_cast<float>(us); break;
        case kSun: g.sun_pct = static_cast<float>(us); break;
        case kHeatDays: g.heat_days = whole(f->min_us, f->max_us); break;
        case kHeatHours: g.heat_hours = whole(f->min_us, f->max_us); break;
        case kThermostat:
            // The thermostat sets every month's wanted temperature.
            g.desired_temp = static_cast<float>(us);
            for (int m = 1; m <= 12; ++m) {
                g.temp_table[m][6] = g.desired_temp;
                g.temp_table[m][5] = g.desired_temp;
            }
            break;
        case kHeaterEff: g.heater_eff = static_cast<float>(us); break;
        case kHeaterOutput: g.heater_btu = us; break;
        case kPriceElec: g.rate_elec = cy(us); break;
        case kPriceGas: g.rate_natgas = cy(us); break;
        case kPricePropane: g.rate_propane = cy(us); break;
        case kPriceOil: g.rate_oil = cy(us); break;
    }
}

// A value outside a box's limits can only come from the settings file
// (edited by hand, or written by another version).
void clamp_inputs() {
    auto lim = [](int i, double v) {
        const Field* f = field(i);
        return std::isfinite(v) ? std::clamp(v, f->min_us, f->max_us) : f->min_us;
    };
    auto fit = [&](float& x, int i) { x = static_cast<float>(lim(i, x)); };
    auto fit_money = [&](Currency& c, int i) {
        const double v = c.toDouble();
        if (lim(i, v) != v) c = cy(lim(i, v));
    };
    fit(g.pool_area, 0);
    fit(g.pool_depth, 1);
    fit(g.wind_mph, 2);
    fit(g.sun_pct, 3);
    g.heat_days = static_cast<i16>(lim(4, g.heat_days));
    g.heat_hours = static_cast<i16>(lim(5, g.heat_hours));
    fit(g.desired_temp, 6);
    fit(g.heater_eff, 31);
    g.heater_btu = lim(32, g.heater_btu);
    fit_money(g.rate_elec, 33);
    fit_money(g.rate_natgas, 34);
    fit_money(g.rate_propane, 35);
    fit_money(g.rate_oil, 36);
    constexpr limits::Range kCover = limits::kCoverHours.typed;
    for (int m = 1; m <= 12; ++m) {
        fit(g.temp_table[m][6], kFirstWanted + m - 1);
        for (int c = 0; c <= 1; ++c)
            g.month_hours_c[m][c] = static_cast<i16>(
                std::clamp<int>(g.month_hours_c[m][c], static_cast<int>(kCover.min), static_cast<int>(kCover.max)));
    }
    g.fuel_type = static_cast<i16>(existing_heater());  // a value that is no heater type: no existing heater
}

bool below_least(const Field& f, double shown) { return f.min_us > 0 && shown < limit_shown(f, false) - 1e-9; }

std::string range_note(int i) {
    const Field* f = field(i);
    if (!f) return {};
    std::string name;
    switch (i) {
        case kArea: name = "surface area"; break;
        case kHeatDays: name = "heating days per week"; break;
        case kHeatHours: name = "heating hours per day"; break;
        case kThermostat: name = "water temperature"; break;
        case kHeaterEff: name = "heater efficiency"; break;
        default:
            if (is_wanted(i)) name = "water temperature of " + g.month_name[i - kFirstWanted + 1];
            break;
    }
    const double lo = limit_shown(*f, false), hi = limit_shown(*f, true);
    return "The " + name + " must be " + numtext::num_text(lo, decimals(*f)) + " to " +
           numtext::num_text(hi, decimals(*f)) + unit_suffix(*f, hi) + ": the results follow once it is.";
}

}  // namespace fields
