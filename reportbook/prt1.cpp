// The report book's pages in printing order: page 1 with Tables 1 and 2,
// Tables 3 to 6, the bases page and The_Print that runs them. One file on
// purpose (about 750 lines): the pages share one document's print frame,
// title font, page numbering and running figures, and are read top to
// bottom as the printed book is; each page is one function.
#include "reportbook/prt1.h"

#include <algorithm>
#include <cmath>

#include "app/data.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "engine/engine.h"
#include "finance/pages.h"
#include "printouts/page.h"
#include "printouts/report.h"
#include "reportbook/compare.h"
#include "reportbook/lp.h"
#include "reportbook/user_system.h"

namespace prt1 {

State st;

namespace {

using namespace rb;

constexpr double kBtuPerKwh = 3413.04;       // the report's energy cells
constexpr double kBtuPerWattHour = 3.41304;  // BTU/h in one watt
constexpr double kSqFtPerSqM = 10.764;
constexpr double kKmPerMile = 1.609347219;
constexpr double kBtuPerSqFtPerLangley = 3.687;
constexpr double kWhPerSqMPerLangley = 11.63;
const std::string kDeg = "\u00B0";  // character 176
const std::string kSq = "\u00B2";   // character 178

int lm() { return g.left_margin; }
Item T(int k) { return Tab(lm() + k); }
std::string F(double x, const char* mask) { return vb::Format(x, mask); }
int pad(const std::string& s, int width) { return width - static_cast<int>(vb::Len(s)); }

bool backed_up() { return g.backup_on == 1 && has_heater(); }
bool is_spa() { return g.pool_type.find("Spa") != std::string::npos; }

std::string chosen_brand() { return g.pump_tab[std::clamp<int>(g.pump_rec, 1, 100)].brand; }
std::string temp_unit() { return std::string(g.units_temp == 0 ? "F" : "C") + kDeg; }

// A whole number rounded halves to even, as a 64-bit value.
long long round_even(double x) { return static_cast<long long>(std::nearbyint(x)); }

// An engine stage that fails has said so; the report book stops.
void need(bool ok) {
    if (!ok) throw Abandon{};
}

}  // namespace

// ---- converters and the title font ------------------------------------------

double f_to_c(const float& value) {
    if (g.units_temp == 0) return value;
    return vb::Int((value - 32.0) / 1.8 * 10.0 + 0.5) / 10.0;
}

void btu_to_kwh(const double& value, double& result) { result = g.units_heat == 0 ? value : value / kBtuPerKwh; }
double btu_to_kwh(double value) {
    double r = 0;
    btu_to_kwh(value, r);
    return r;
}

void Fnt_title() {
    Proc proc("Fnt_title", OnFault::Pass);
    prn::Printer& p = P();
    try {
        const std::string& n = g.fnt_title_name;
        if (n != "Courier" && n != "Courier New" && n != "Arial") g.fnt_title_name = "Courier";
        try {
            p.FontName(g.fnt_title_name);
        } catch (const ui::RtError&) {
            g.fnt_title_name = "Courier";  // the printer lacks the font: once more with Courier
            p.FontName(g.fnt_title_name);
        }
        const int s = g.fnt_title_size;
        if (!(s == 9 || s == 10 || s == 11 || s == 12 || s == 14 || s == 15 || s == 16)) g.fnt_title_size = 10;
        p.FontSize(g.fnt_title_size);
        p.FontBold(g.fnt_title_bold == "True");
        p.FontItalic(false);
        p.FontUnderline(false);
        p.FontStrikethru(false);
        try {
            p.FontCharset(vb::CLng(g.fnt_title_x));
        } catch (const ui::RtError&) {
            g.fnt_title_x = 0;  // refused: the property's fallback value
            p.FontCharset(0);
        }
    } catch (const ui::RtError& e) {
        // The font setup ends here; the report goes on in the font it has.
        ui::MsgBox(error_text(e.description(), e.number, proc.statement()), ui::vbOKOnly, "Fnt_title");
    }
}

// ---- page 1: title block, Table 1, Table 2, notes --------------------------

std::string system_text() {
    // combo_n1 counts units of the chosen model (the one the engine sized).
    const int idx = std::clamp<int>(g.combo_idx, 0, 40);
    const int count = g.combo_n1[idx];
    if (count < 1) return vb::Str(0) + " model ";
    return vb::Str(count) + " model " + ::chosen_model_text(g);
}

namespace {

void title_block() {
    blank(2);
    P().FontSize(12);
    g.company_name = vb::Trim(g.company_name);
    const bool titleFont = g.title_font_on != 0;
    if (g.company_name.empty()) {
        out({T(0)});
    } else {
        const long L = static_cast<long>(vb::Len(g.company_name));
        long n = 0;
        open({T(0)});
        if (titleFont) {
            n = (30 - L) / 2;
            Fnt_title();
        } else {
            n = (66 - L) / 2;
            Fnt_body();
        }
        // A name wider than the centring width stands at the margin.
        out({vb::Space(std::max(0L, g.title_indent + n)) + g.company_name});
    }
    if (titleFont) Fnt_body();
    blank(2);

    P().PrintQuality(-4);
    const std::string b = vb::Trim(vb::Left(chosen_brand(), 16));
    out({T(23), vb::Space(11 - static_cast<long>(vb::Len(b)) / 2) + b});
    out({T(26), g.pool_type + " heating cost"});
    out({T(30), "Analysis"});
    blank();
    out({T(45), g.cust_name});

    const bool metric = g.units_len != 0;
    const double area = metric ? g.pool_area / kSqFtPerSqM : g.pool_area;
    const std::string unit = (metric ? "M" : "Ft") + kSq;
    out({T(1), g.pool_type + " surface area : ", T(22), F(area, "###,##0"), Spc(2), unit, T(45), g.cust_street});
    out({T(1), "Weather area      : ", T(22), vb::Trim(g.city_name), T(45), g.cust_city});
    blank();
    out({T(29), "Table 1"});
    out({T(24), "-WEATHER & COVER-"});
    blank();
}

void table1() {
    std::string sun1, sun2;
    if (g.units_sun == 0) {
        sun1 = "Solar    ";
        sun2 = "  BTU/Ft" + kSq;
    } else if (g.units_sun == 1) {
        sun1 = "Solar Cm" + kSq;
        sun2 = "Langley  ";
    } else if (g.units_sun == 2) {
        sun1 = "Solar    ";
        sun2 = "   W-h/M" + kSq;
    }
    const bool metric = g.units_len != 0;
    out({T(13), "Avg", T(26), "Avg", T(38), "Avg", T(48), sun1, T(62), "Cover"});
    out({T(13), "Ambient", T(26), "%", T(38), "Wind", T(48), "Gain/day", T(62), "Hours"});
    out({T(13), temp_unit(), T(26), "RH", T(38), metric ? "KMH" : "MPH", T(48), sun2, T(62), "Week"});

    const double wind = metric ? g.wind_mph * kKmPerMile : g.wind_mph;
    for (g.calc_month = 1; g.calc_month <= 12; ++g.calc_month) {
        const int m = g.calc_month;
        double sun = g.month_city_b[m];
        if (g.units_sun == 0) sun *= kBtuPerSqFtPerLangley;
        else if (g.units_sun != 1) {
            sun *= kWhPerSqMPerLangley;
            g.units_sun = 2;
        }
        out({T(1), g.month_name[m], T(13), F(f_to_c(g.month_city_c[m]), "#0.0"), T(26), F(g.month_city_a[m], "##"),
             T(38), wind == 0 ? std::string() : F(wind, "#0.0"), T(50),
             g.sun_pct > 0 ? F(sun, "#######") : std::string(" 0 sun "), T(64), num(g.month_hours_c[m][0])});
    }
    blank();
    // "##0": a shaded or indoor pool receives 0 %, not an empty figure.
    out({T(1), g.pool_type + " receives " + F(g.sun_pct, "##0") + "% of possible sunlight."});
    blank(3);
}

void table2() {
    out({T(29), "Table 2"});
    const int c = g.fnt_body_size == 10 ? 77 : g.fnt_body_size == 11 ? 73 : 69;
    if (is_spa()) out({T(27), "----SPA HEAT LOSS---", Tab(c), "-SPA-"});
    else out({T(27), "---POOL HEAT LOSS---", Tab(c), "-POOL-"});
    const bool kwh = g.units_heat != 0;
    out({T(13), "Heat", T(26), "Daily", T(41), "Monthly", T(62), " Temp"});
    out({T(13), "Pump", T(26), kwh ? "KWH" : "Btu", T(41), kwh ? "KWH " : "KBtu", T(63), " " + temp_unit()});
    blank();
    for (g.calc_month = 1; g.calc_month <= 12; ++g.calc_month) {
        const int m = g.calc_month;
        const double need = g.month_need[m];
        st.page1_run_txt[m] = need == 0 ? "Off" : "Run";
        const double monthly = kwh ? btu_to_kwh(need) : need / 1000.0;
        const std::string mtext = monthly > 0 ? F(monthly, "#,###,###,###") : std::string();
        const double days = g.month_days[m] > 0 ? g.month_days[m] : 1;
        const std::string dtext = F(btu_to_kwh(need / days), "#,###,###,###");
        out({T(1), g.month_name[m], T(13), st.page1_run_txt[m], T(18 + pad(dtext, 13)), dtext, T(35 + pad(mtext, 13)),
             mtext, T(64), F(f_to_c(g.temp_table[m][5]), "###")});
    }
    blank();
}

void page1_notes() {
    blank(2);
    const float t = g.desired_temp;
    const std::string deg = g.units_temp == 0 ? vb::StrSingle(t) : vb::Str(f_to_c(t));
    out({T(1), "The thermostat is set to switch the heater off at " + deg + temp_unit()});
    // Floor returns save only on a pool (the engine never reduces a spa's
    // cost): a spa's report promises nothing about them.
    const float r = is_spa(g) ? 0.0f : g.reduce_pct * 100.0f;
    if (r > 0 && g.opt_reduce == 0)
        out({T(1), "TO SAVE AN ADDITIONAL" + vb::StrSingle(r) + "%" + " USE FLOOR POOL RETURNS."});
    else if (r > 0 && g.opt_reduce == 1)
        out({T(1), "A FLOOR POOL RETURNS ARE USED WHICH WILL REDUCE THE HEAT LOSS BY " + vb::StrSingle(r) + "%"});
    else blank();
    blank();
}

}  // namespace

void Page1() {
    Proc proc("Page1", OnFault::Pass);
    trap("Page1 error", [] {
        title_block();
        table1();
        table2();
        page1_notes();
        const int idx = std::clamp<int>(g.combo_idx, 0, 40);
        st.model_text = (g.combo_n1[idx] >= 1 ? vb::Space(11) : std::string()) + system_text();
    });
}

// ---- Table 3: system performance --------------------------------------------

void table3() {
    Proc proc("table3", OnFault::Pass);
    blank();
    new_page();
    blank(3);
    out({T(31), "Table 3"});
    blank();
    out({T(23), "---SYSTEM PERFORMANCE---"});
    blank();
    out({T(10), st.model_text});
    blank();
    const std::string tu = " " + kDeg + (g.units_temp == 0 ? "F" : "C");
    const bool watts = g.units_heat != 0;
    out({T(12), "Avg", T(23), "Avg", T(33), "Avg", T(43), "Hours", T(52), "Water", T(61), "Avg"});
    out({T(12), "Ambient", T(23), "RH", T(33), "Heat/Hr", T(43), "Day", T(52), "Temp", T(61), "C.O.P"});
    out({T(12), tu, T(23), "%", T(33), watts ? "Watt " : "BTU  ", T(43), "Run", T(52), tu});
    blank();
    st.zero_hours_seen = 0;
    for (int m = 1; m <= 12; ++m) {
        // Run hours a day: whole BTU of the month over whole BTU/h, over the days.
        long long run = 0;
        const double need = g.month_need[m], load = g.month_load[m][1];
        if (need != 0 && load != 0) {
            const long long l = round_even(load);
            const int days = g.month_days[m] > 0 ? g.month_days[m] : 1;
            run = l != 0 ? round_even(need) / l / days : 0;
            run = std::min<long long>(run, 24);
        }
        // Each row from its own month (a month at or below 0 °F included).
        const double ambient = f_to_c(g.month_city_c[m]);
        const double water = f_to_c(g.temp_table[m][5]);
        // The hourly output in BTU/h, or in watts.
        double heat = watts ? load / kBtuPerWattHour : load;

        const std::string amb = ambient == 0 ? std::string() : F(ambient, "#0.0");
        const std::string hum = F(g.month_city_a[m], "##");
        std::string heatTxt = F(heat, "###,###,###");
        const int heatPad = pad(heatTxt, 11);
        std::string hours = F(g.calc_f32[calc_row::hours(m)], "##");
        const int hoursPad = pad(hours, 2);
        const std::string wat = F(water, "###");
        std::string cop = g.month_cop[m] == 0 ? std::string() : F(g.month_cop[m], "0.00");
        if (g.run_state[m][0] == 1) {
            if (need == 0) {
                heat = 0;
                g.month_cop[m] = 0;
                heatTxt.clear();
                cop.clear();
                hours.clear();
            }
            out({T(1), g.month_name[m], T(12), amb, T(23), hum, T(28 + heatPad), heatTxt, T(44 + hoursPad), hours,
                 T(52), wat, T(61), cop});
        } else {
            out({T(1), g.month_name[m], T(12), amb, T(23), hum});
        }
        if (g.month_cop[m] == 0 || run == 0) st.zero_hours_seen = 1;
    }
    blank();
    if (st.zero_hours_seen == 1) {
        out({T(1), "Zero Hours indicates Heat Pump runs less than an a hour, or is off."});
    } else {
        const int idx = std::clamp<int>(g.combo_idx, 0, 40);
        const int n = g.combo_n1[idx] + g.combo_n2[idx] + g.combo_n3[idx];
        out({T(1), "The Heat/Hr is the total hourly output of the ", num(n), n == 1 ? " Heat Pump." : " Heat Pumps."});
    }
    if (g.temp_lowered > 0) {
        out({T(1), "When a pre set water temperature cannot be achieved, the computer"});
        out({T(1), "will re adjust to a lower temperature and hours combination."});
    }
    out({T(1), "A variation in weather conditions, equipment design and the usage"});
    out({T(1), "of the pool cover etc. will influence the results."});
    out({T(1), "Higher output can be expected during the warmer mid day hours."});
    out({T(1), "Please install the Heat Pump in a well ventilated place."});
    if (g.temp_lowered == 0) blank();
    blank();
}

// ---- Table 4: financial aspects -----------------------------------------------

void table4() {
    Proc proc("table4", OnFault::Pass);
    out({T(28), "    Table 4"});
    blank();
    out({T(22), "   --FINANCIAL ASPECTS--"});
    blank();
    const std::string brand9 = vb::Left(vb::Trim(chosen_brand()), 9);
    const int ft = existing_heater();
    if (ft != HT_HEATPUMP) {
        g.disp_str[2] = "Electrical";
        g.disp_str[3] = "Natural   ";
        g.disp_str[4] = "Propane   ";
        g.disp_str[5] = "Fuel Oil  ";
        out({T(10), "Total", T(22), "COP", T(30), brand9, T(44), g.disp_str[ft], T(57), "Savings"});
        out({T(8), "Heat Input", T(30), "Heat Pump", T(44), ft == HT_GAS ? "Gas" : "Heater", T(57), "Per"});
    } else {
        out({T(10), "Total", T(22), "COP", T(30), brand9});
        out({T(8), "Heat Input", T(30), "Heat Pump"});
    }
    const std::string unitWord = g.units_heat == 0 ? "kbtu/Month" : "KWH/Month ";
    if (ft != HT_HEATPUMP)
        out({T(8), unitWord, T(31), "$/Month", T(45), backed_up() ? "$/Backup" : "$/Month", T(58), "$/Month"});
    else out({T(8), unitWord, T(31), "$/Month"});
    blank();  // one empty line before the month rows, with or without a heater
}

// The month rows print the engine's month costs (its results table in
// cents); the yearly sums the later tables read are the engine's too.
void table4_calc() {
    Proc proc("table4_calc", OnFault::DeviceFault);
    trap("Error in table4_calc", [] {
        need(engine::Backcalc());
        const int ft = existing_heater();
        const bool kwh = g.units_heat != 0;
        for (g.calc_month = 1; g.calc_month <= 12; ++g.calc_month) {
            const int m = g.calc_month;
            if (g.run_state[m][0] == 0) {
                out({T(1), g.month_name[m], T(11), "off"});
                continue;
            }
            // The row starts at its month column: indent blanks before it
            // would only push the row onto a line of its own.
            const double heatIn = kwh ? btu_to_kwh(g.month_need[m]) : g.month_need[m] / 1000.0;
            const std::string heatTxt = F(heatIn, "###,###,###");
            std::string cop;
            int copPad = 0;
            if (g.month_cop[m] != 0) {
                cop = F(g.month_cop[m], "#0.00");
                copPad = pad(cop, 5);
            }
            std::string hp;
            int hpPad = 0;
            if (g.calc_f32[calc_row::hp_cost(m)] == 0) {
                cop = " off";
                copPad = 0;
            } else {
                hp = F(g.calc_f32[calc_row::hp_cost(m)], "$###,##0.00");
                hpPad = pad(hp, 10);
            }
            std::vector<Item> row = {
                T(1), g.month_name[m], T(7 + pad(heatTxt, 11)), heatTxt, T(21 + copPad), cop, T(30 + hpPad), hp};
            if (ft != HT_HEATPUMP) {
                std::string heater, saving;
                int heaterPad = 0, savingPad = 0;
                if (g.calc_f32[calc_row::heater_cost(m)] != 0) {
                    heater = F(g.calc_f32[calc_row::heater_cost(m)], "$###,##0.00");
                    heaterPad = pad(heater, 10);
                }
                // A backed-up system's month shows no negative saving.
                const float s = g.calc_f32[calc_row::saving(m)];
                if (backed_up() ? s > 0 : s != 0) {
                    saving = F(s, "$###,##0.00");
                    savingPad = pad(saving, 10);
                }
                row.insert(row.end(), {T(42 + heaterPad), heater, T(55 + savingPad), saving});
            }
            out(row);
        }
    });
}

// ---- Table 5: savings, amortisation, return ----------------------------------

void BG() {
    Proc proc("BG", OnFault::Pass);
    trap(
        "BG error",
        [] {
            const int ft = existing_heater();
            const bool backup = backed_up();
            const auto& hyc = g.heater_yr_cost;
            need(engine::Pbcalc());

            // The TOTAL line of Table 4.
            const double needTotal = g.units_heat != 0 ? btu_to_kwh(g.need_total * 1000.0) : g.need_total;
            const std::string needTxt = needTotal == 0 ? std::string() : F(needTotal, "#,###,###,###");
            const std::string copTxt = vb::Val(F(g.cop_avg, "#0.00")) == 0 ? std::string() : F(g.cop_avg, "#0.00");
            const std::string hpTxt = hyc[HT_HEATPUMP] == 0 ? std::string() : F(g.tot_hp.toDouble(), "$###,##0.00");
            std::vector<Item> total = {T(1),  "TOTAL", T(5 + pad(needTxt, 13)), needTxt,
                                       T(22), copTxt,  T(30 + pad(hpTxt, 10)),  hpTxt};
            if (ft > HT_HEATPUMP) {
                const double heaterYear = backup ? g.heater_energy[ft] : hyc[ft];
                const double savingYear =
                    backup ? hyc[ft] - (g.heater_energy[ft] + hyc[HT_HEATPUMP]) : hyc[ft] - hyc[HT_HEATPUMP];
                const std::string heaterTxt =
                    heaterYear == 0 ? std::string() : F(g.tot_heater.toDouble(), "$###,##0.00");
                const std::string savingTxt =
                    cy(savingYear).isZero() ? std::string() : F(g.tot_saving.toDouble(), "$###,##0.00");
                total.insert(total.end(),
                             {T(42 + pad(heaterTxt, 10)), heaterTxt, T(55 + pad(savingTxt, 10)), savingTxt});
                blank();
                out(total);
            } else {
                blank();
                open(total);
            }
            blank(2);
            if (ft != HT_HEATPUMP) blank(2);

            // Percent savings by heater type (then, below, the amounts).
            g.heater_cost_cy[HT_ELEC] = g.save_pct_elec;
            g.heater_cost_cy[HT_GAS] = g.save_pct_gas;
            g.heater_cost_cy[HT_PROPANE] = g.save_pct_propane;
            g.heater_cost_cy[HT_OIL] = g.save_pct_oil;
            if (g.heater_cost_cy[ft] < Currency{}) g.heater_cost_cy[ft] = Currency{};

            blank(2);
            new_page();
            blank();
            blank(ft == HT_HEATPUMP ? 4 : 2);
            out({T(31), "  Table 5"});
            out({T(16), "--SAVINGS AND EQUIPMENT AMORTIZATION--"});
            blank(2);
            // Without an existing heater there is nothing to save against.
            if (ft != HT_HEATPUMP) {
                const std::string b = vb::Trim(vb::Left(chosen_brand(), 16));
                out({T(1), "PERCENT SAVINGS by using ",
                     b + " system: ", "   " + F(g.heater_cost_cy[ft].toDouble(), "##0.0") + "%"});
            }
            blank();
            if (ft == HT_HEATPUMP) blank(5);
            out({T(1), "EQUIPMENT COSTS  -  Heat Pump system"});
            blank();
            if (vb::Len(st.model_text) > 9) {
                st.model_text = vb::Mid(st.model_text, 10);
                out({T(10), st.model_text + "     " + F(g.equip_cost.toDouble(), "$###,##0")});
            }
            blank();
            if (!g.heater_cost.isZero() && ft != HT_HEATPUMP) {
                static const char* const names[] = {
                    "", "", "Electric Resistance heater", "Natural Gas heater", "Propane heater", "Fuel Oil heater"};
                blank(2);
                out({T(13), names[ft], T(41), F(g.heater_cost.toDouble(), "$###,###")});
                blank();
                out({T(13), "FIRST YEAR DOLLAR SAVING is", T(41), F(g.tot_saving.toDouble(), "$###,##0")});
            }
            blank();
            g.disp_str[2] = "Electric resistance ";
            g.disp_str[3] = "Natural gas  ";
            g.disp_str[4] = "Propane ";
            g.disp_str[5] = "Fuel oil ";
            g.heater_cost_cy[HT_ELEC] = g.save_amt_elec;
            g.heater_cost_cy[HT_GAS] = g.save_amt_gas;
            g.heater_cost_cy[HT_PROPANE] = g.save_amt_propane;
            g.heater_cost_cy[HT_OIL] = g.save_amt_oil;

            // Payback: equipment over the yearly saving.
            if (ft == HT_HEATPUMP) return;
            if (g.year_saving <= Currency{}) {
                out({T(13), "The PAYBACK period is very long    "});
                blank();
            } else if (g.invest_cy[ft] <= Currency{}) {
                open({T(13), "The PAYBACK is instant + profit    "});
                blank();
            } else {
                out({T(13), "The PAYBACK period is only  " + F(g.payback_f32[ft], "#0.0") + "  Years."});
                blank();
            }
        },
        false);
}

void roi_line() {
    Proc proc("roi_line", OnFault::Pass);
    const int ft = existing_heater();
    g.table_indent = ft == HT_HEATPUMP ? 20 : 0;
    if (ft != HT_HEATPUMP) {
        open({T(13), "The RETURN ON INVESTMENT is  "});
        if (g.invest_f32[ft] <= 5.0f && g.invest_cy[ft] > Currency{}) {
            out({F(g.invest_f32[ft] * 100.0f, "###0.0") + "%"});
        } else {
            out({"+500%"});
        }
        blank(2);
    }
    g.table_years = 5;
    if (ft == HT_HEATPUMP) blank(2);
    if (ft > HT_HEATPUMP) blank();
}

// ---- Table 6: yearly energy expenditures ---------------------------------------

YearFigures year_figures(int y) {
    YearFigures f;
    const int ft = existing_heater();
    const double gHp = std::pow(1.0 + g.price_rise[HT_HEATPUMP], y - 1);
    f.hp = y == 1 ? g.tot_hp : cy(g.tot_hp.toDouble() * gHp);
    if (ft == HT_HEATPUMP) return f;
    const double gF = std::pow(1.0 + g.price_rise[ft], y - 1);
    f.fuel = y == 1 ? g.tot_heater : cy(g.tot_heater.toDouble() * gF);
    // The existing heater heating alone, whose cost the saving is taken from.
    const Currency alone = g.tot_saving + g.tot_hp + (backed_up() ? g.tot_heater : Currency{});
    f.alone = y == 1 ? alone : cy(alone.toDouble() * gF);
    f.saving = f.alone - f.hp - (backed_up() ? f.fuel : Currency{});
    return f;
}

void table6() {
    Proc proc("table6", OnFault::Pass);
    const int ft = existing_heater();
    const bool backup = backed_up();
    if (ft == HT_HEATPUMP) blank(4);
    g.table_years = 5;
    blank();
    out({T(31), ft < HT_ELEC ? "   Table 5" : "   Table 6"});
    out({T(21), "- " + num(g.table_years) + "YEAR ENERGY EXPENDITURES -"});
    blank();
    const int c1 = backup ? 17 : 16, c2 = backup ? 34 : 37;
    if (ft == HT_HEATPUMP) {
        out({T(2), "End of", T(c1), "Heat Pump"});
        open({T(3), "Year", T(c1), "Electricity"});
        blank();
        out({T(16), "Cost"});
    } else {
        g.disp_str[2] = "Resistance";
        g.disp_str[3] = "Natural   ";
        g.disp_str[4] = "Propane   ";
        g.disp_str[5] = "Fuel Oil  ";
        if (backup)
            out({T(2), "End of", T(c1), "Heat Pump", T(c2), g.disp_str[ft], T(48), "Existing", T(61), "Savings"});
        else out({T(2), "End of", T(c1), "Heat Pump", T(c2), g.disp_str[ft], T(57), "Savings"});
        if (ft == HT_ELEC) out({T(3), "Year", T(c1), "Electricity", " "});
        else if (backup) out({T(3), "Year", T(c1), "Electricity", T(c2), "Gas", T(48), "Heater", T(61), "Per"});
        else out({T(3), "Year", T(c1), "Electricity", T(c2), "Gas", T(57), "Per"});
        if (backup) out({T(c1), "Cost", T(c2), "Backup", T(48), "Cost", T(61), "Year"});
        else out({T(c1), "Cost", T(c2), "Cost", T(57), "Year"});
    }
    blank();
}

namespace {

// The money cells of a Table 6 row, each right-aligned in 13 columns from
// its start: the heat pump, the existing heater's cost, the saving; for a
// backed-up system the heater's backup fuel and the heater alone, each under
// its own heading, before the saving.
std::vector<Item> year_cells(const YearFigures& f, int hpStart) {
    const char* mask = "$##,###,##0.00";
    struct Cell {
        Currency v;
        int start;
    };
    std::vector<Cell> cells = {{f.hp, hpStart}};
    if (backed_up()) cells.insert(cells.end(), {{f.fuel, 27}, {f.alone, 43}, {f.saving, 56}});
    else if (has_heater()) cells.insert(cells.end(), {{f.fuel, 32}, {f.saving, 52}});
    std::vector<Item> items;
    for (const Cell& c : cells) {
        const std::string text = F(c.v.toDouble(), mask);
        items.push_back(T(c.start + pad(text, 13)));
        items.push_back(text);
    }
    return items;
}

}  // namespace

// Each year's row shows that year's costs with the yearly price rises (the
// first year's are the totals of Table 4); the total row is their sum.
void table6_rows() {
    Proc proc("table6_rows", OnFault::Pass);
    g.table_years = 5;
    YearFigures sum;
    for (g.calc_month = 1; g.calc_month <= g.table_years; ++g.calc_month) {
        const int y = g.calc_month;
        const YearFigures f = year_figures(y);
        sum.hp += f.hp;
        sum.fuel += f.fuel;
        sum.alone += f.alone;
        sum.saving += f.saving;
        // The amounts stand right-aligned under each other and under the
        // TOTAL, also without an existing heater.
        std::vector<Item> row = {T(5), has_heater() ? F(y, "##") : num(y)};
        for (Item& i : year_cells(f, 11)) row.push_back(std::move(i));
        out(row);
    }
    blank();
    std::vector<Item> total = {T(1), "TOTAL"};
    for (Item& i : year_cells(sum, backed_up() ? 12 : 11)) total.push_back(std::move(i));
    if (has_heater()) {
        out(total);
        g.disp_str[2] = "Electric resistance";
        g.disp_str[3] = "Natural gas";
        g.disp_str[4] = "Propane";
        g.disp_str[5] = "Fuel oil";
        blank();
    } else {
        open(total);
    }
    blank(2);
}

// ---- the bases page --------------------------------------------------------------

void Bases() {
    Proc proc("Bases", OnFault::Pass);
    trap("Bases error", [] {
        const int ft = existing_heater();
        out({T(23), "--BASES FOR EVALUATION--"});
        blank();
        out({T(1), "ENERGY PRICES:"});
        out({T(9), "Electricity", T(26), ft == HT_HEATPUMP ? std::string() : g.disp_str[ft]});
        if (ft > HT_HEATPUMP) {
            Currency price;
            std::string label;
            unit_labels(price, label);
            out({T(10), F(g.rate_elec.toDouble(), "$#.###") + "/KWH ", T(27), F(price.toDouble(), "$#.###") + label});
        } else {
            out({T(10), F(g.rate_elec.toDouble(), "$#.###") + "/KWH "});
        }
        blank();
        out({T(1), "EXPECTED RATES OF PRICE INCREASE  (%/YR):"});
        static const char* const words[] = {"", "", "Electricity", "Natural gas", "Propane", "Fuel oil"};
        out({T(9), "Electricity", T(26), words[ft]});
        if (ft > HT_ELEC) {
            out({T(12), F(g.price_rise[HT_ELEC] * 100.0, "#0.#"), T(28), F(g.price_rise[ft] * 100.0, "#0.#")});
            blank();
        } else {
            open({T(12), F(g.price_rise[HT_ELEC] * 100.0, "#0.#")});
            blank();
        }
        blank();
        if (ft != HT_HEATPUMP)
            out({T(1), "Combustion type heaters are assumed ", numSingle(g.heater_eff), "% efficient."});
        for (const char* line : {"The figures represented above are weatherss only and  are",
                                 "based on normal conditions as provided by the national weather",
                                 "bureau and other climatic data sources. Even though we feel",
                                 "our computations are the most accurate available, the final",
                                 "cost may depend on each individual situation.",
                                 "Costs and savings may vary with energy rates and usage etc."})
            out({T(1), line});
        out({T(1), "This report was compiled on the ", vb::DateMDY(vb::Today()), "    "});

        Fnt_body();
        open({T(1)});
        P().FontSize(8);
        out({"[ code ", numSingle(g.year_factor), "|", numSingle(g.summer_factor_out), "|",
             numSingle(g.summer_factor_in), "|", num(g.sel_buffer[1]), "|", num(g.sel_buffer[2]), "|",
             num(g.sel_buffer[3]), "]"});
        Fnt_body();
        open({T(1)});
        P().FontSize(8);
        std::string comp = "[" + vb::Space(6);
        for (int i = 1; i <= 8; ++i) comp += (i > 1 ? "|" : "") + numSingle(g.size_comp[i]);
        out({comp + "]"});
        Fnt_body();

        if (g.do_compare != 0) compet1::compare();
        if (g.fin_mode > 0) {
            if (g.fin_opts[4] == Currency::dollars(1) && g.fin_mode == 1) Lease1();
            else prt_fin_tables();
        }
        end_doc();
    });
}

// ---- the driver ------------------------------------------------------------------

void The_Print() {
    const compet1::UserSystem user = compet1::UserSystem::save();
    {
        Proc proc("The_Print", OnFault::Pass);
        P().DocumentName("Report book");
        set_fin_title_font(&Fnt_title);  // the finance pages' headlines
        try {
            trap("The Print error", [] {
                need(engine::Calc());
                g.table_indent = has_heater() ? 0 : 14;
                Page1();
                table3();
                table4();
                table4_calc();
                BG();
                roi_line();
                table6();
                table6_rows();
                Bases();
            });
        } catch (const Abandon&) {
            P().KillDoc();  // no half document reaches the printer
        } catch (const PrintAbandoned&) {
            P().KillDoc();  // given up at a printer fault of a finance page
        } catch (const ui::ProgramEnd&) {
            throw;
        } catch (const std::exception& e) {
            ui::MsgBox(error_text(e.what(), 51, proc.statement()), ui::vbOKOnly, "The Print error");
            P().KillDoc();
        }
        for (g.calc_month = 1; g.calc_month <= 12; ++g.calc_month) {
            const int m = g.calc_month;
            g.month_load[m][0] = g.month_load[m][1] = g.month_load[m][2] = 0;
            g.loss_evap[m] = g.month_need[m] = g.loss_conv[m] = 0;
        }
        g.need_total = 0;
        for (g.calc_month = 1; g.calc_month <= 5; ++g.calc_month) {
            g.heater_yr_cost[g.calc_month] = 0;
            g.heater_cum_cy[g.calc_month] = Currency{};
        }
    }
    // The user's own system, recalculated afresh.
    user.restore();
}

}  // namespace prt1
