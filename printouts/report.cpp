// The report cost recalculation and the pump caption and fuel-price labels.
#include "printouts/report.h"

#include <algorithm>
#include <cmath>

#include "app/data.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "engine/energy.h"
#include "input/units.h"
#include "printouts/page.h"

RepText rep_text;

PrintLine& PrintLine::right(int edge, const std::string& t) { return tab(edge - static_cast<int>(vb::Len(t))).text(t); }

namespace {

using namespace energy;
constexpr double kHoursPerDay = 24.0;

const char* const kMoney = "$##,##0.00";

// Cost of `btu` of heat from the existing heater of type t heating alone,
// taken as currency.
Currency heater_cost_cy(int t, double btu) { return cy(heater_cost(t, btu)); }

// The month's heat bought as electricity, cut down to whole tenths of a
// dollar. Worked from the price's exact ten-thousandths so that a price of
// 0.095 and 3,413,000 BTU give exactly 95.0.
Currency electric_tenths(double need) {
    const double tenths = static_cast<double>(g.rate_elec.v) * need / kBtuPerKwh / 1000.0;
    return cy(vb::Int(tenths + tenths * 1e-12) / 10.0);
}

std::string hours_text(float x, bool heater_form) {
    if (heater_form && x <= 0) return "Off";
    if (x < 1) return "<1";
    return vb::Format(x, "##");
}

struct MonthTexts {
    std::string air, water, cover, hours;
};

}  // namespace

bool month_heated(int m) {
    const double need = g.month_need[m];
    return g.run_state[m][0] != 0 && std::isfinite(need) && need != 0;
}

bool pump_off(int m) {
    return !month_heated(m) || (g.calc_f32[calc_row::hours(m)] <= 0 && g.calc_f32[calc_row::hp_cost(m)] == 0);
}

namespace {

// One pass over the twelve months: the three sums, the month rows and the
// printed lines. Works on locals only.
struct Pass {
    double hp_year = 0;
    Currency fuel_year, saving_year;
    std::vector<PrintLine> lines;
};

Pass run_months(bool fill_rows, bool print_lines, int co) {
    Pass p;
    const int ft = existing_heater();
    const bool backup = has_backup();
    const float factor = floor_return_factor();
    float a = 0, w = 0;     // last air and water values shown (°F or °C)
    bool have_air = false;  // a month so far had an air value above 0 °F
    for (int m = 1; m <= 12; ++m) {
        if (g.month_city_c[m] > 0) {
            to_deg_c(a, g.month_city_c[m]);
            have_air = true;
        }
        const double need = std::isfinite(g.month_need[m]) ? g.month_need[m] : 0.0;
        const double cop = g.month_cop[m];
        const bool heated = g.run_state[m][0] != 0 && need != 0;

        // The month's costs of each heater alone; nothing in a month the
        // heat pump does not run.
        double hp = 0;
        Currency alone;  // the existing heater heating the month alone
        if (cop != 0 && std::isfinite(cop)) {
            alone = ft == HT_ELEC ? electric_tenths(need) : heater_cost_cy(ft, need);
            hp = electric_tenths(need).toDouble() / cop * factor;
            if (!heated) hp = 0;
        }

        Currency fuel_part, saving;
        if (heated) {
            const double delivered = g.month_load[m][1] * kHoursPerDay * g.month_days[m];
            if (g.backup_month[m] == 1 && cop != 0) hp = delivered * g.rate_elec.toDouble() / cop * kKwhPerBtu * factor;
            if (!std::isfinite(hp)) hp = 0;
            Currency fuel;  // this month's part of the existing heater
            if (backup) {
                if (cop != 0) fuel = cy(heater_cost_cy(ft, need - delivered).toDouble() * factor);
                if (fuel < Currency{}) fuel = Currency{};
            } else {
                fuel = alone;
            }
            if (g.month_city_c[m] > 0) to_deg_c(w, g.temp_table[m][5]);
            if (ft > HT_HEATPUMP) {
                fuel_part = fuel;
                saving = backup ? alone - (cy(hp) + fuel) : alone - cy(hp);
            }
            p.hp_year += hp;
            p.fuel_year += fuel_part;
            p.saving_year += saving;
        }

        // The month's texts.
        const float x = g.calc_f32[calc_row::hours(m)];
        const bool heater_form = ft > HT_HEATPUMP;
        MonthTexts t;
        // A month at or below 0 °F keeps the last month's air value; before
        // any month had one there is none, and the cell stays empty. A
        // month at 0 degrees Celsius is a figure: "0".
        t.air = have_air ? vb::Format(a, "##0") : std::string();
        if (heated) {
            t.water = vb::Format(w, "##");
            // No cover reads 0 beside a heater's costs, and stays empty in
            // the shorter table of a project without an existing heater.
            t.cover = vb::Format(g.month_hours_c[m][0], heater_form ? "##0" : "##");
            t.hours = hours_text(x, heater_form);
        } else {
            t.water = t.cover = "N/A";
            t.hours = "Off";
        }
        if (fill_rows) {
            rep_text(m, 1) = g.month_name[m];
            rep_text(m, 2) = t.air;
            rep_text(m, 3) = t.water;
            rep_text(m, 4) = t.cover;
            rep_text(m, 5) = t.hours;
        }
        if (print_lines) {
            // The printed table always uses the heater form of the texts.
            PrintLine l;
            l.tab(co + 2).text(g.month_name[m]);
            // A heated month's air temperature ends in column co + 12; an
            // unheated month's starts in column co + 11.
            if (heated) l.right(co + 13, t.air);
            else l.tab(co + 11).text(t.air);
            if (heated) {
                l.right(co + 21, t.water);
                l.right(co + 29, vb::Format(g.month_hours_c[m][0], "##0"));
                l.right(co + 38, hours_text(x, true));
                l.right(co + 54, pump_off(m) ? "Off" : vb::Format(g.calc_f32[calc_row::hp_cost(m)], kMoney));
                if (ft > HT_HEATPUMP) {
                    l.right(co + 68, vb::Format(g.calc_f32[calc_row::heater_cost(m)], kMoney));
                    l.right(co + 82, vb::Format(g.calc_f32[calc_row::saving(m)], kMoney));
                }
            } else {
                l.right(co + 21, "N/A").right(co + 29, "N/A");
                // A month the system does not heat costs nothing: "Off",
                // never $0.00.
                l.tab(co + 35).text("off");
                l.right(co + 54, "Off");
                if (ft > HT_HEATPUMP) l.right(co + 68, "Off").right(co + 82, "Off");
            }
            p.lines.push_back(std::move(l));
        }
    }
    return p;
}

}  // namespace

std::vector<PrintLine> month_lines(int co) { return run_months(false, true, co).lines; }

MonthTable month_table(int choice) {
    switch (static_cast<PrintChoice>(choice)) {
        case kChoiceCoverageChart:
        case kChoiceOneCoverage:
        case kChoiceSummary: return MonthTable::WordRows;
        case kChoicePlainText: return MonthTable::PrintedLines;
        case kChoiceReportBook: return MonthTable::None;  // the report book prints its own tables
    }
    return MonthTable::None;
}

void calculate3(double& hp_year, Currency& fuel_year, Currency& saving_year) {
    const bool word = month_table(g.prt_choice) == MonthTable::WordRows;
    const bool plain = month_table(g.prt_choice) == MonthTable::PrintedLines;
    Pass p = run_months(word, plain, g.col_offset);
    if (plain) {
        for (const PrintLine& l : p.lines) print_line(l, kCheckPrinter);
    }
    hp_year = p.hp_year;
    fuel_year = p.fuel_year;
    saving_year = p.saving_year;
    g.tot_hp = g.tot_heater = g.tot_saving = Currency{};
    for (int m = 1; m <= 12; ++m) {
        g.tot_hp += cy(g.calc_f32[calc_row::hp_cost(m)]);
        g.tot_heater += cy(g.calc_f32[calc_row::heater_cost(m)]);
        g.tot_saving += cy(g.calc_f32[calc_row::saving(m)]);
    }
}

// ---- caption, brand and fuel-price labels -----------------------------------------------------

std::string brand_text() {
    std::string phrase, brand, c, b, a, note;
    model_list_text(g.brand_words, phrase, brand, c, b, a, note);
    return brand;
}

std::string short_brand() { return vb::Trim(vb::Left(brand_text(), 16)); }

void pump_title(std::string& caption, std::string& model_b, std::string& model_c, std::string& model_a) {
    std::string phrase, brand, note;
    model_list_text(g.brand_words, phrase, brand, model_c, model_b, model_a, note);
    const std::string brand_part = "   " + vb::Trim(vb::Left(brand, 16)) + "  ";
    model_b = " Model " + vb::Trim(chosen_model_text());
    const int idx = std::clamp<int>(g.combo_idx, 0, 40);
    const int n = g.combo_n1[idx];
    caption = n > 0 ? vb::Str(n) + brand_part + model_b : std::string();
}

void unit_labels(Currency& price, std::string& label) {
    // The printed label of each price unit, in the order of the input
    // window's unit lists; the price per unit is the window's too
    // (units::price_shown). A unit no label knows leaves price and label.
    static const char* const kGasLabels[] = {"/Therm      ", "/100K BTU   ", "/KWH Gas    ", "/100 MJ Gas "};
    static const char* const kPropaneLabels[] = {"/Gal Prop", "/Ltr Propane", "/LB Propane ", "/KG Propane ",
                                                 "/UK Gal Prop"};
    static const char* const kOilLabels[] = {"/Gal Oil    ", "/Liter Oil  ", "/Ft^3 Oil   ", "/UK Gal Oil "};
    const auto per_unit = [&](int fuel, Currency stored, const char* const* labels) {
        const float unit = g.fuel_units[units::fuel_units_slot(fuel)];
        for (int k = 0; k < units::unit_count(fuel); ++k) {
            if (unit != static_cast<float>(k)) continue;
            price = units::price_shown(stored, fuel, k);
            label = labels[k];
        }
    };
    switch (existing_heater()) {
        case HT_ELEC:
            price = g.rate_elec;
            label = "/KWH        ";
            break;
        case HT_GAS: per_unit(units::kGas, g.rate_natgas, kGasLabels); break;
        case HT_PROPANE: per_unit(units::kPropane, g.rate_propane, kPropaneLabels); break;
        case HT_OIL: per_unit(units::kOil, g.rate_oil, kOilLabels); break;
        default: break;
    }
}

std::string city_list_text(int group) {
    CityRecord r;
    r.city = g.city_name;
    r.state = g.sel_state;
    std::string entry;
    const int grp = city_entry(r, entry);
    // The list shows the project's city in the group it belongs to; a
    // project whose state does not fit the group is shown by its name.
    return vb::Trim(grp == group ? entry : g.city_name);
}

int brand_number() {
    std::string t = windows().brand_box_text ? windows().brand_box_text() : g.brand_name;
    t = vb::Trim(vb::UCase(t));
    if (t == "KESTROLIN") return 1;
    if (t == "TINDRALY") return 2;
    if (t == "MORVENIC") return 3;
    return 0;
}
