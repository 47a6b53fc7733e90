// The project's values as the printouts show them.
#include "printouts/values.h"

#include <cctype>

#include "app/model.h"
#include "core/cp1252.h"
#include "core/vbtext.h"
#include "printouts/report.h"

namespace {

bool metric_len() { return g.units_len != 0; }

constexpr double kFt2PerM2 = 10.764;
constexpr double kFtPerM = 3.2809;
constexpr double kKmhPerMph = 1.609347219;
constexpr double kGalPerFt3 = 7.48052;
constexpr double kBtuPerWattHour = 3.4129692;

// One decimal, halves up: Int(x * 10 + 0.5) / 10.
float tenths(double x) { return static_cast<float>(vb::Int(x * 10 + 0.5) / 10); }

float area_shown() { return metric_len() ? tenths(g.pool_area / kFt2PerM2) : g.pool_area; }
float depth_shown() { return metric_len() ? tenths(g.pool_depth / kFtPerM) : tenths(g.pool_depth); }

}  // namespace

std::string area_text() {
    const std::string sq = cp1252::Chr(178);
    return vb::Trim(vb::Format(area_shown(), " ##,##0.0")) + (metric_len() ? " M" + sq + " " : " Ft" + sq);
}

std::string depth_text() { return vb::Trim(vb::Format(depth_shown(), " ##,##0.0")) + (metric_len() ? " M" : " Ft"); }

std::string wind_text() {
    const float w =
        metric_len() ? tenths(g.wind_mph * kKmhPerMph) : static_cast<float>(vb::Int(g.wind_mph * 100.0 + 0.5) / 100);
    return vb::Trim(vb::Format(w, " ##0.0")) + (metric_len() ? " KMH" : " MPH");
}

std::string volume_text(Doc d) {
    if (!metric_len()) {
        const double v = static_cast<double>(depth_shown()) * area_shown() * kGalPerFt3;
        return vb::Trim(vb::Format(v, " ##,###,##0")) + " Gal.";
    }
    const float v = depth_shown() * area_shown() * 1000.0f;
    return vb::Trim(vb::Format(v, " ##,###,##0")) + (d == Doc::Plain ? " Liter." : " Liters.");
}

std::string sun_text() {
    if (g.sun_pct >= 80) return "Maximum";
    return vb::Trim(vb::Format(g.sun_pct, " ##0.0")) + " %";
}

std::string returns_text() { return g.opt_reduce != 0 ? "Floor " : "Standard"; }

std::string electricity_text() { return vb::Trim(vb::Format(g.rate_elec.toDouble(), " $##0.000")); }

std::string fuel_name() {
    switch (existing_heater()) {
        case HT_ELEC: return "Electricity";
        case HT_GAS: return "Natural gas";
        case HT_PROPANE: return "Propane";
        case HT_OIL: return "Oil";
        default: return "";
    }
}

std::string temp_unit() { return (g.units_temp == 0 ? "F" : "C") + cp1252::Chr(186); }

std::string city_text() {
    switch (g.area_group) {
        case 0: return vb::Trim(g.city_name);
        case 1:
        case 2: return city_list_text(g.area_group);
        default: return "";
    }
}

PeakLoss peak_loss(Doc d) {
    // The heat lost in an average hour of the month that loses the most.
    float p = 0;
    for (int m = 1; m <= 12; ++m) {
        if (g.month_days[m] <= 0) continue;
        const float hourly = static_cast<float>(g.month_need[m] / (g.month_days[m] * 24.0));
        if (hourly > p) p = hourly;
    }
    PeakLoss r;
    double shown;
    if (g.units_heat == 0) {
        shown = p / 1000.0;
        r.label = d == Doc::Plain ? "KBtu/H " : "KBtu/Hr ";
    } else {
        shown = p / kBtuPerWattHour / 1000.0;
        r.label = "KWatt/Hr";
    }
    r.value = vb::LTrim(vb::Format(shown, " #,###,###"));
    return r;
}

FuelPrice fuel_price() {
    FuelPrice f;
    if (!has_heater()) return f;
    Currency price;
    std::string label;
    unit_labels(price, label);
    f.caption = "Cost per " + vb::Right(label, 11) + ":";
    f.price = vb::Trim(vb::Format(price.toDouble(), " $##0.000"));
    return f;
}

std::string with_article(const std::string& word) {
    const char c = word.empty() ? ' ' : static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    const bool vowel = c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U';
    return (vowel ? "an " : "a ") + word;
}

std::string heading_name() {
    const std::string name = vb::Trim(g.company_name);
    if (name.empty() || name == "Zuro Zove Vodirizi") return brand_text();
    return name;
}

std::string date_text() { return vb::DateMDY(vb::Today()); }

std::string audit_title() { return is_spa() ? "Heat Pump Spa Heating Audit" : "Heat Pump Pool Heating Audit"; }
