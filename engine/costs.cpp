// The cost stages:
//   month costs (Calc runs it last; Backcalc runs it alone): the heat pump,
//             each heater alone and the backup heater; the results table
//             calc_f32 rows 1..39 and the yearly totals;
//   Pbcalc    savings against each heater, equipment cost, payback, return
//             on investment and the projected-savings text;
//   Yrcalc    the five-year tables with the yearly price rises.
// Money is kept in currency (four decimals); the results table in cents.
#include <algorithm>
#include <cmath>
#include <string>

#include "app/model.h"
#include "core/vbtext.h"
#include "engine/energy.h"
#include "engine/engine.h"
#include "engine/fault.h"

namespace engine {
namespace {

using namespace energy;
constexpr double kHoursPerDay = 24.0;
constexpr int kTableYears = 5;

// Whole cents, halves away from zero.
Currency cents(Currency c) {
    std::int64_t q = c.v / 100;
    const std::int64_t r = c.v % 100;
    if (r >= 50) ++q;
    else if (r <= -50) --q;
    return Currency::raw(q * 100);
}

float f32(Currency c) { return static_cast<float>(c.toDouble()); }

}  // namespace

void clear_month_costs() {
    g.heater_yr_cost = {};
    g.heater_energy = {};
    g.heater_cost_cy = {};
    g.heater_fuel_cy = {};
    g.tot_hp = g.tot_heater = g.tot_saving = g.tot_heater_alone = Currency{};
    g.heater_alone_cy = {};
}

void clear_payback() {
    g.save_pct_elec = g.save_amt_elec = g.save_pct_gas = g.save_amt_gas = Currency{};
    g.save_pct_propane = g.save_amt_propane = g.save_pct_oil = g.save_amt_oil = Currency{};
    g.invest_cy = {};
    g.invest_f32 = {};
    g.payback_f32 = {};
}

void clear_year_tables() {
    g.backup_cost_total = Currency{};
    g.year_tab_hp = {};
    g.year_tab_fuel = {};
    g.year_tab_backup = {};
    g.heater_year_cy = {};
    g.heater_cum_cy = {};
}

void month_costs(int& stage) {
    stage = ST_MONTHCOST;
    ENGINE_CHECK(g.heater_eff, stage);
    ENGINE_CHECK(g.reduce_pct, stage);
    const int ft = existing_heater();
    const bool backup = has_backup(g);
    // Floor returns (reverse flow) cut a pool's heat-pump cost; never a spa's.
    const float rf = floor_return_factor();
    g.reduce_factor = rf;

    clear_month_costs();

    for (int m = 1; m <= 12; ++m) {
        stage = ST_MONTHCOST;
        const double need = g.month_need[m];
        const double cop = g.month_cop[m];
        const double N = g.month_days[m];
        const bool heated = g.run_state[m][0] != 0;
        ENGINE_CHECK(need, stage);
        ENGINE_CHECK(cop, stage);

        // Each heater heating the month alone.
        Currency elec = cy(ENGINE_MONEY(heater_cost(HT_ELEC, need), stage));
        Currency gas = cy(ENGINE_MONEY(heater_cost(HT_GAS, need), stage));
        Currency propane = cy(ENGINE_MONEY(heater_cost(HT_PROPANE, need), stage));
        Currency oil = cy(ENGINE_MONEY(heater_cost(HT_OIL, need), stage));
        const Currency alone[6] = {Currency{}, Currency{}, elec, gas, propane, oil};
        g.heater_yr_cost[HT_ELEC] += elec.toDouble();
        if (ft >= HT_GAS) g.heater_yr_cost[ft] += static_cast<float>(alone[ft].toDouble());

        // A heated month the heat pump cannot run in is the backup heater's
        // alone; any other month without a C.O.P. costs nothing.
        const bool backup_alone = backup && heated && need > 0 && cop <= 0;
        double hp = 0;
        if (cop <= 0 && !backup_alone) {
            elec = gas = propane = oil = Currency{};
            for (int t = HT_ELEC; t <= HT_OIL; ++t) g.heater_cost_cy[t] = Currency{};
        } else {
            if (cop > 0) hp = elec.toDouble() / cop * rf;  // electric cost / C.O.P. x reduce factor
            g.heater_cost_cy[HT_ELEC] = elec;
            g.heater_cost_cy[HT_GAS] = gas;
            g.heater_cost_cy[HT_PROPANE] = propane;
            g.heater_cost_cy[HT_OIL] = oil;
            if (!(need != 0 && heated)) {
                hp = 0;
                g.month_cop[m] = 0.0f;
            }
        }
        g.month_cost_elec = elec;
        g.month_cost_gas = gas;
        g.month_cost_propane = propane;
        g.month_cost_oil = oil;

        Currency fuel_part, saving, alone_part;
        if (heated) {
            stage = ST_BACKUP;
            // In a backup month the heat pump runs around the clock on the
            // heating days.
            const double heating_days = N * std::clamp<int>(g.heat_days, 1, 7) / 7.0;
            const double delivered = g.month_load[m][1] * kHoursPerDay * heating_days;
            if (g.backup_month[m] == 1 && cop > 0) hp = delivered * g.rate_elec.toDouble() / cop * kKwhPerBtu * rf;
            if (ft >= HT_ELEC) {
                if (backup) {
                    // The backup heater covers what the pump does not.
                    const double rest = need - (cop > 0 ? delivered : 0.0);
                    Currency f = cy(ENGINE_MONEY(heater_cost(ft, rest), stage));
                    f = cy(f.toDouble() * rf);
                    g.heater_fuel_cy[ft] = f < Currency{} ? Currency{} : f;
                } else {
                    g.heater_fuel_cy[ft] = g.heater_cost_cy[ft];
                }
                fuel_part = g.heater_fuel_cy[ft];
                alone_part = g.heater_cost_cy[ft];
                const Currency hp_cy = cy(ENGINE_MONEY(hp, stage));
                saving = backup ? g.heater_cost_cy[ft] - (hp_cy + g.heater_fuel_cy[ft]) : g.heater_cost_cy[ft] - hp_cy;
            }
        } else {
            hp = 0;
        }
        stage = ST_MONTHCOST;
        g.hp_month_cost = ENGINE_MONEY(hp, stage);

        // The results table in cents; the yearly totals are their sums.
        const Currency hp_c = cents(cy(hp)), fuel_c = cents(fuel_part), sav_c = cents(saving);
        g.calc_f32[calc_row::hp_cost(m)] = f32(hp_c);
        g.calc_f32[calc_row::heater_cost(m)] = f32(fuel_c);
        g.calc_f32[calc_row::saving(m)] = f32(sav_c);
        g.tot_hp += hp_c;
        g.tot_heater += fuel_c;
        g.tot_saving += sav_c;
        g.heater_alone_cy[m] = cents(alone_part);
        g.tot_heater_alone += g.heater_alone_cy[m];

        g.heater_energy[HT_HEATPUMP] += hp;
        // Only this month's fuel part: heater_fuel_cy still holds the last
        // heated month's in a month that is not heated.
        g.heater_energy[ft] += fuel_part.toDouble();
        g.heater_yr_cost[HT_HEATPUMP] += hp;
    }
    g.calc_f32[calc_row::kFiveYearHp] = f32(g.tot_hp * kTableYears);
    g.calc_f32[calc_row::kFiveYearHeater] = f32(g.tot_heater * kTableYears);
    g.calc_f32[calc_row::kFiveYearSaving] = f32(g.tot_saving * kTableYears);
}

namespace {

void pb_body(int& stage) {
    stage = ST_PAYBACK;
    const int ft = existing_heater();
    const bool backup = has_backup(g);
    // The average C.O.P. stays whatever the energy prices: it describes the
    // heat pump, not the money.
    const auto& hyc = g.heater_yr_cost;

    clear_payback();
    // Savings against electric resistance and against the existing fuel heater.
    if (hyc[HT_ELEC] != 0)
        g.save_pct_elec = cy(ENGINE_MONEY((hyc[HT_ELEC] - hyc[HT_HEATPUMP]) / hyc[HT_ELEC] * 100.0, stage));
    g.save_amt_elec = cy(ENGINE_MONEY(hyc[HT_ELEC] - hyc[HT_HEATPUMP], stage));
    // The saving against the existing fuel heater is the heat pump's year
    // saved on it: in a backed-up system the heater still burns fuel in the
    // backup months, so that fuel is not saved (the same saving as
    // year_saving below, so that the report book's percent and its dollar
    // saving agree).
    if (ft >= HT_GAS && hyc[ft] != 0) {
        const double kept = backup ? g.heater_energy[ft] : 0.0;
        const float s = static_cast<float>(hyc[ft] - (kept + hyc[HT_HEATPUMP]));
        const float p = static_cast<float>(s / hyc[ft] * 100.0);
        ENGINE_MONEY(p, stage);
        Currency* pct[6] = {nullptr, nullptr, nullptr, &g.save_pct_gas, &g.save_pct_propane, &g.save_pct_oil};
        Currency* amt[6] = {nullptr, nullptr, nullptr, &g.save_amt_gas, &g.save_amt_propane, &g.save_amt_oil};
        *pct[ft] = cy(p);
        *amt[ft] = cy(ENGINE_MONEY(s, stage));
    }

    // Equipment: the chosen model's price, as typed beside its name in the
    // model-price window, times its count in the configuration.
    const int idx = std::clamp<int>(g.combo_idx, 0, 40);
    const int units = std::max<int>(0, g.combo_n1[idx]);
    g.equip_cost = chosen_price(g) * units;
    if (units > 0) g.models_used = 3;

    g.invest_cy[ft] = g.equip_cost;
    double ys = 0;
    if (ft >= HT_ELEC) ys = backup ? hyc[ft] - (g.heater_energy[ft] + hyc[HT_HEATPUMP]) : hyc[ft] - hyc[HT_HEATPUMP];
    g.year_saving = cy(ENGINE_MONEY(ys, stage));
    const Currency invest = g.invest_cy[ft];
    if (invest > Currency{} && g.year_saving > Currency{}) {
        g.payback_f32[ft] = static_cast<float>(invest.toDouble() / g.year_saving.toDouble());
        g.invest_f32[ft] = static_cast<float>(g.year_saving.toDouble() / invest.toDouble());
    }

    // "$1,234 a year (56%)" against the existing heater; nothing without one.
    if (ft == HT_HEATPUMP) {
        g.proj_save.clear();
    } else {
        const double pct = hyc[ft] != 0 ? g.year_saving.toDouble() / hyc[ft] * 100.0 : 0.0;
        g.proj_save = vb::Format(g.year_saving.toDouble(), "$#,##0") + " a year (" + vb::Format(pct, "#0") + "%)";
    }
}

void yr_body(int& stage) {
    stage = ST_YEARLY;
    const int f = existing_heater();
    const bool backup = has_backup(g);
    clear_year_tables();
    // g(t) = (1 + price_rise(t)) ^ (y - 1)
    double g_hp = 1.0, g_f = 1.0;
    const double rise_hp = 1.0 + g.price_rise[HT_HEATPUMP], rise_f = 1.0 + g.price_rise[f];
    ENGINE_CHECK(rise_hp, stage);
    ENGINE_CHECK(rise_f, stage);
    for (int y = 1; y <= kTableYears; ++y) {
        const double hp_year = backup ? g.heater_energy[HT_HEATPUMP] : g.heater_yr_cost[HT_HEATPUMP];
        g.heater_year_cy[HT_HEATPUMP] = cy(ENGINE_MONEY(g_hp * hp_year, stage));
        g.year_tab_hp[y] = g.heater_year_cy[HT_HEATPUMP];
        g.heater_cum_cy[HT_HEATPUMP] += g.heater_year_cy[HT_HEATPUMP];
        if (f >= HT_ELEC) {
            if (backup) {
                g.year_tab_backup[y] = cy(ENGINE_MONEY(g_f * g.heater_yr_cost[f], stage));
                g.heater_year_cy[f] = cy(ENGINE_MONEY(g_f * g.heater_energy[f], stage));
            } else {
                g.heater_year_cy[f] = cy(ENGINE_MONEY(g_f * g.heater_yr_cost[f], stage));
            }
            g.year_tab_fuel[y] = g.heater_year_cy[f];
            g.heater_cum_cy[f] += g.heater_year_cy[f];
            if (backup) g.backup_cost_total += g.year_tab_backup[y] - (g.year_tab_hp[y] + g.year_tab_fuel[y]);
        }
        g_hp *= rise_hp;
        g_f *= rise_f;
    }
}

}  // namespace

bool Backcalc() {
    int stage = ST_MONTHCOST;
    return guarded("Backcalc", stage, month_costs);
}

bool Pbcalc() {
    int stage = ST_PAYBACK;
    return guarded("Pbcalc", stage, pb_body);
}

bool Yrcalc() {
    int stage = ST_YEARLY;
    return guarded("Yrcalc", stage, yr_body);
}

}  // namespace engine
