// Calc: the monthly model of the pool or spa and the sizing of the heat-pump
// system.
//
// For each month: the heat the water loses by evaporation, convection and
// radiation to the sky less the sun it gains (physics.h), the dealer's
// factors, the heating schedule (days off and the reheat after them), the
// heat pump's output and C.O.P.; then the smallest number of units that
// holds the desired temperatures (or, with a backup heater, covers most of
// the season), the months the backup heater works, the running hours, the
// months whose temperature has to come down, and last the month costs.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "app/model.h"
#include "core/ui.h"
#include "engine/engine.h"
#include "engine/fault.h"
#include "engine/physics.h"

namespace engine {
namespace {

using namespace phys;

constexpr int kMaxUnits = 37;                       // largest configuration examined
constexpr double kBackupShare = 0.80;               // heat-pump share of the season a backed-up system covers
constexpr double kLowestWater = 32.0;               // water is never lowered below freezing, °F
constexpr double kWaterMax = 212.0;                 // working range of the water, °F
constexpr double kAirMin = -80.0, kAirMax = 140.0;  // working range of the air, °F
constexpr double kEqSearchBelowAir = 40.0;          // lowest equilibrium looked for: air - 40 °F
constexpr double kRootTolerance = 0.01;             // °F
constexpr int kRootMaxSteps = 60;
constexpr double kHoursPerDay = 24.0;

// What the whole project shares.
struct Project {
    double area = 0;  // ft²
    double mass = 0;  // BTU per °F of the water
    bool indoor = false;
    bool spa = false;
    double activity = 0;    // indoor activity factor
    double blower = 1;      // evaporation factor of a running spa blower
    int days = 7;           // heating days a week, 1..7
    double hours = 24;      // heating hours a day, 1..24
    double off_buf = 1;     // recovery buffer as a factor (off_buffer(3) / 100)
    double sel_buf = 0;     // system selector buffer of the model's size, BTU/h
    bool backup = false;    // backed up by the existing heater
    double heater_out = 0;  // existing heater's output, BTU/h; 0: not given (it covers the rest)
};

// One month's conditions, worked out once.
struct Month {
    bool heated = false;
    double days = 0;        // days in the month
    double ta = 0, rh = 0;  // air °F, %
    Air air;
    CoverShares cover;
    double solar = 0;                // BTU/ft²·day
    double factor = 1;               // dealer factors on the daily need
    Rated rated;                     // heat pump rating at the month's air
    double fcap = 1, fcop = 1;       // compensating factors
    double t6 = 0;                   // desired water temperature, °F
    mutable bool teq_known = false;  // outdoors: the water's equilibrium, found once
    mutable double teq = 0;
};

// The month evaluated with the water held at t.
struct Eval {
    double t = 0;
    double qday = 0;            // need of one heated day, BTU (may be negative: nothing to do)
    double qmonth = 0;          // need of the month, BTU, never below 0
    double reheat = 0;          // heat to bring the water back after the days off, BTU
    double evap = 0, conv = 0;  // losses per ft² and hour after the cover (conv incl. radiation)
    double cap = 0, cop = 0;    // one unit's output BTU/h and C.O.P.
};

// Loss per ft² and hour of water at t; for an indoor pool the hall is held
// for water at t_hold (the hall does not follow the water while it cools).
double loss_rate(const Project& p, const Month& m, double t, double t_hold, double* evap, double* conv) {
    Loss l;
    if (p.indoor) l.evap = indoor_evap(t, t_hold + kHallAboveWater, kHallRH, p.activity);
    else l = outdoor_loss(t, m.air);
    l.evap *= p.blower;
    const double e = m.cover.evap * l.evap;
    const double c = m.cover.conv * (l.conv + l.rad);
    if (evap) *evap = e;
    if (conv) *conv = c;
    return e + c;
}

// The need of one heated day with the water at t, BTU (factors applied).
double q_day(const Project& p, const Month& m, double t, double t_hold) {
    return p.area * (kHoursPerDay * loss_rate(p, m, t, t_hold, nullptr, nullptr) - m.solar) * m.factor;
}

// The temperature the water drifts to without heating (its daily need is 0),
// for water held at t_hold: false position (Illinois) between air - 40 °F
// and t_hold. When even the lower end still loses heat, the lower end.
double equilibrium(const Project& p, const Month& m, double t_hold) {
    double hi = t_hold;
    double fhi = q_day(p, m, hi, t_hold);
    if (fhi <= 0) return hi;
    double lo = std::min(m.ta - kEqSearchBelowAir, hi - 1.0);
    double flo = q_day(p, m, lo, t_hold);
    if (flo > 0) return lo;
    int side = 0;
    for (int step = 0; step < kRootMaxSteps && hi - lo > kRootTolerance; ++step) {
        double x = (lo * fhi - hi * flo) / (fhi - flo);
        if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
        const double fx = q_day(p, m, x, t_hold);
        if (fx > 0) {
            hi = x;
            fhi = fx;
            if (side == 1) flo *= 0.5;
            side = 1;
        } else {
            lo = x;
            flo = fx;
            if (side == -1) fhi *= 0.5;
            side = -1;
        }
    }
    return 0.5 * (lo + hi);
}

// Outdoors the equilibrium does not depend on the temperature the water was
// held at, so it is found once per month (from the top of the working range).
double equilibrium_below(const Project& p, const Month& m, double t) {
    if (p.indoor) return equilibrium(p, m, t);
    if (!m.teq_known) {
        m.teq = equilibrium(p, m, kWaterMax);
        m.teq_known = true;
    }
    return std::min(m.teq, t);
}

Eval evaluate(const Project& p, const Month& m, double t) {
    Eval e;
    e.t = t;
    const double rate = loss_rate(p, m, t, t, &e.evap, &e.conv);
    e.qday = p.area * (kHoursPerDay * rate - m.solar) * m.factor;
    if (e.qday > 0) {
        if (p.days >= 7) {
            e.qmonth = m.days * e.qday;
        } else {
            // Days off: the water cools towards its equilibrium T_eq with the
            // time constant tau = C / U (U = daily need per °F above T_eq);
            // after 7 - d days it has lost dT = (t - T_eq)(1 - exp(-(7 - d) / tau)),
            // which the first heating day has to put back: R = C * dT.
            const double teq = equilibrium_below(p, m, t);
            const double span = t - teq;
            if (span > 0 && p.mass > 0) {
                const double u = e.qday / span;              // BTU/day·°F
                const double x = (7 - p.days) * u / p.mass;  // (7 - d) / tau
                e.reheat = p.mass * span * -std::expm1(-x);
            }
            e.qmonth = (p.days * e.qday + e.reheat) * m.days / 7.0;
        }
    }
    const Rating r = corrected(m.rated, m.rh, t);
    e.cap = r.cap * m.fcap;
    e.cop = r.cop * m.fcop;
    return e;
}

// Does a configuration of `units` units hold the month? A heating day of h
// hours must make up the whole day's loss (the water cools in the hours off
// and is brought back in the hours on): an ordinary heating day fits at the
// output less the selector buffer, and after days off the first heating day
// must bring back the day's loss plus the reheat at the output scaled by
// the recovery buffer.
bool fits(const Project& p, const Eval& e, int units, double buffer) {
    if (e.qmonth <= 0) return true;
    if (e.cap <= 0) return false;
    const double out = units * e.cap;
    if ((out - buffer) * p.hours < e.qday) return false;
    if (p.days < 7 && out * p.off_buf * p.hours < e.qday + e.reheat) return false;
    return true;
}

// Heating days in a month of n days at `days` heating days a week.
double heating_days_of(const Project& p, double n) { return n * p.days / 7.0; }

// Does the system hold the month? Without backup the heating days must fit
// (above); with backup the pump running 24 h on each heating day plus the
// existing heater at its output must deliver the month's need. A heater
// whose output was not given (0) is taken to cover whatever is left.
bool holds(const Project& p, const Eval& e, int units, double n_days) {
    if (!p.backup) return fits(p, e, units, 0.0);
    if (e.qmonth <= 0 || p.heater_out <= 0) return true;
    const double pump = e.cap > 0 ? units * e.cap : 0.0;
    return e.qmonth <= (pump + p.heater_out) * kHoursPerDay * heating_days_of(p, n_days);
}

void check_inputs() {
    const int st = ST_INPUTS;
    ENGINE_CHECK(g.pool_area, st);
    ENGINE_CHECK(g.pool_depth, st);
    ENGINE_CHECK(g.wind_mph, st);
    ENGINE_CHECK(g.sun_pct, st);
    ENGINE_CHECK(g.cover_quality, st);
    ENGINE_CHECK(g.year_factor, st);
    ENGINE_CHECK(g.summer_factor_in, st);
    ENGINE_CHECK(g.summer_factor_out, st);
    ENGINE_CHECK(g.off_buffer[3], st);
    for (int k = 1; k <= 3; ++k) ENGINE_CHECK(g.sel_buffer[k], st);
    for (int k = 1; k <= 8; ++k) {
        ENGINE_CHECK(g.size_comp[k], st);
        ENGINE_CHECK(g.hp_rh[k], st);
        ENGINE_CHECK(g.hp_cop[k], st);
        ENGINE_CHECK(g.hp_btu[k], st);
        ENGINE_CHECK(g.hp_wtemp[k], st);
    }
    for (int m = 1; m <= 12; ++m) {
        ENGINE_CHECK(g.temp_table[m][6], st);
        ENGINE_CHECK(g.month_city_a[m], st);
        ENGINE_CHECK(g.month_city_b[m], st);
        ENGINE_CHECK(g.month_city_c[m], st);
    }
}

using Months = std::array<Month, 13>;  // [1..12]
using Evals = std::array<Eval, 13>;    // [1..12]

// ---- 1. inputs: the project's figures, and the results of the last run
// cleared: every calculation starts again from the temperatures as entered.
Project st_inputs(int& stage) {
    stage = ST_INPUTS;
    check_inputs();
    Project p;
    p.area = std::max(0.0, static_cast<double>(g.pool_area));
    const double depth = std::max(0.0, static_cast<double>(g.pool_depth));
    p.mass = kWaterHeatCapacity * p.area * depth;
    p.indoor = is_indoor(g);
    p.spa = is_spa(g);
    p.activity = p.spa ? kActivitySpa : kActivityPool;
    p.blower = (p.spa && g.spa_blower != 0) ? kBlowerEvapFactor : 1.0;
    p.days = std::clamp<int>(g.heat_days, 1, 7);
    p.hours = std::clamp<int>(g.heat_hours, 1, 24);
    p.off_buf = std::max(0.0, g.off_buffer[3]) / 100.0;
    p.sel_buf = chosen_buffer(g);
    p.backup = has_backup(g);
    p.heater_out = std::max(0.0, g.heater_btu);

    for (int m = 0; m <= 12; ++m) {
        g.temp_table[m][5] = g.temp_table[m][6];
        g.hrs_flag[m] = 0;
        g.month_off[m] = 0;
        g.month_need[m] = 0;
        g.loss_evap[m] = 0;
        g.loss_conv[m] = 0;
        g.month_load[m] = {};
        g.month_cop[m] = 0;
        g.backup_month[m] = 0;
    }
    g.temp_lowered = 0;
    return p;
}

// ---- 2. losses: the month's air, cover, sun and dealer factors
void st_losses(const Project& p, Months& mon, int& stage) {
    stage = ST_LOSSES;
    const double wind = std::max(0.0, static_cast<double>(g.wind_mph));
    const double sun = std::clamp(static_cast<double>(g.sun_pct), 0.0, 100.0);
    // Size compensator by area class; a warmer (positive) or cooler year.
    const double size_factor = 1.0 + g.size_comp[size_class(p.area)] / 100.0;
    const double year_factor = 1.0 - g.year_factor;
    // A warmer summer weighs most on the warmest months: w = 1 for the
    // warmest month, 0 for the coldest (0 for all when all are equal).
    double tmin = g.month_city_c[1], tmax = g.month_city_c[1];
    for (int m = 2; m <= 12; ++m) {
        tmin = std::min<double>(tmin, g.month_city_c[m]);
        tmax = std::max<double>(tmax, g.month_city_c[m]);
    }
    const double summer = p.indoor ? g.summer_factor_in : g.summer_factor_out;

    for (int m = 1; m <= 12; ++m) {
        Month& M = mon[m];
        M.heated = g.run_state[m][0] != 0 && g.month_days[m] > 0;
        M.days = std::max<int>(0, g.month_days[m]);
        M.ta = std::clamp(static_cast<double>(g.month_city_c[m]), kAirMin, kAirMax);
        M.rh = std::clamp(static_cast<double>(g.month_city_a[m]), 0.0, 100.0);
        M.t6 = std::clamp(static_cast<double>(g.temp_table[m][6]), kLowestWater, kWaterMax);
        const double cover_h = g.month_hours_c[m][0];
        if (!p.indoor) M.air = outdoor_air(M.ta, M.rh, wind);
        M.cover = cover_shares(cover_h, g.cover_quality);
        M.solar = solar_gain(g.month_city_b[m], sun, cover_h);
        const double w = tmax > tmin ? (M.ta - tmin) / (tmax - tmin) : 0.0;
        M.factor = std::max(0.0, size_factor * year_factor * (1.0 - summer * w));
        ENGINE_CHECK(M.air.tsky4, stage);
        ENGINE_CHECK(M.solar, stage);
        ENGINE_CHECK(M.factor, stage);
    }
}

// ---- 4. the heat pump at each month's air (it runs before 3: the
// schedule needs the pump's output)
void st_heatpump(Months& mon, int& stage) {
    stage = ST_HEATPUMP;
    const Points pts{g.hp_rh.data(), g.hp_cop.data(), g.hp_btu.data(), g.hp_wtemp.data()};
    for (int m = 1; m <= 12; ++m) {
        Month& M = mon[m];
        M.rated = interpolate(pts, M.ta);
        if (g.comp_factors_on == 1 && M.rated.runs && (!M.rated.low || g.allow_lowtemp == 1)) {
            const int k = comp_element(M.ta);
            M.fcap = comp_value(g.hp_btu_factor[k]);
            M.fcop = comp_value(g.hp_cop_factor[k]);
        }
        ENGINE_CHECK(M.rated.cap, stage);
        ENGINE_CHECK(M.rated.cop, stage);
    }
}

// ---- 3. schedule: each heated month at its desired temperature
Evals st_schedule(const Project& p, const Months& mon, int& stage) {
    stage = ST_SCHEDULE;
    Evals ev;
    for (int m = 1; m <= 12; ++m) {
        if (!mon[m].heated) continue;
        ev[m] = evaluate(p, mon[m], mon[m].t6);
        ENGINE_CHECK(ev[m].qmonth, stage);
        ENGINE_CHECK(ev[m].reheat, stage);
        ENGINE_CHECK(ev[m].cap, stage);
        ENGINE_CHECK(ev[m].cop, stage);
    }
    return ev;
}

// ---- 5. sizing: configuration i = i units of the model; the number of units
int st_sizing(const Project& p, const Months& mon, const Evals& ev, int& stage) {
    stage = ST_SIZING;
    int units = 0;
    g.combo_n1 = {};
    bool any_need = false;  // nothing to heat: no heat pump at all
    for (int m = 1; m <= 12; ++m)
        if (mon[m].heated && ev[m].qmonth > 0) any_need = true;
    if (!any_need) {
        // units stays 0
    } else if (!p.backup) {
        // The smallest i that holds every heated month the heat pump can run in.
        for (int i = 1; i <= kMaxUnits && units == 0; ++i) {
            g.combo_n1[i] = static_cast<i16>(i);
            bool ok = true;
            for (int m = 1; m <= 12 && ok; ++m)
                if (mon[m].heated && ev[m].cap > 0) ok = fits(p, ev[m], i, p.sel_buf);
            if (ok) units = i;
        }
    } else {
        // The smallest i whose heat pump share, running at most 24 h on each
        // heating day, is at least 80 % of the need of the months it can run in.
        double season = 0;
        for (int m = 1; m <= 12; ++m)
            if (mon[m].heated && ev[m].cap > 0) season += ev[m].qmonth;
        for (int i = 1; i <= kMaxUnits && units == 0; ++i) {
            g.combo_n1[i] = static_cast<i16>(i);
            double share = 0;
            for (int m = 1; m <= 12; ++m)
                if (mon[m].heated && ev[m].cap > 0)
                    share += std::min(ev[m].qmonth, std::max(0.0, i * ev[m].cap - p.sel_buf) * kHoursPerDay *
                                                        heating_days_of(p, mon[m].days));
            ENGINE_CHECK(share, stage);
            if (share >= kBackupShare * season) units = i;
        }
    }
    if (units == 0 && any_need) {
        units = kMaxUnits;
        if (g.calc_mode2 == 2) ui::MsgBox("The system requires too many heat pumps", ui::vbExclamation, " Calc error");
    }
    g.combo_idx = static_cast<i16>(units);
    return units;
}

// A month the system of `units` units cannot hold at its desired temperature:
// the temperature is lowered by whole degrees until the system holds it,
// never below the water's own equilibrium or freezing; a month not held above
// those is off (`off`): no heating at all. Holding is easier the lower the
// water, so the first degree that holds is found by bisection.
Eval lowered_month(const Project& p, const Month& M, int units, double n_days, bool& off) {
    const double floor_t = std::max(kLowestWater, equilibrium_below(p, M, M.t6));
    const int kmax = static_cast<int>(std::floor(std::clamp(M.t6 - floor_t, 0.0, kWaterMax)));
    int found = 0;
    if (kmax > 0 && holds(p, evaluate(p, M, M.t6 - kmax), units, n_days)) {
        int lo = 1, hi = kmax;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (holds(p, evaluate(p, M, M.t6 - mid), units, n_days)) hi = mid;
            else lo = mid + 1;
        }
        found = lo;
    }
    off = found == 0;
    return evaluate(p, M, off ? floor_t : M.t6 - found);
}

// ---- 7. backup: the pump runs around the clock on the heating days and the
// existing heater covers the rest (all of it when the pump cannot run).
// Runs inside stage 6, month by month.
void st_backup(const Project& p, const Eval& e, double out, double heating_days, int m, int& stage) {
    stage = ST_BACKUP;
    if (p.backup && e.qmonth > 0 && out * kHoursPerDay * heating_days < e.qmonth) {
        g.backup_month[m] = 1;
        g.month_load[m][2] = (e.qmonth - out * kHoursPerDay * heating_days) / (kHoursPerDay * heating_days);
    }
}

// ---- 6. hours, and the months the system cannot hold
void st_hours(const Project& p, const Months& mon, const Evals& ev, int units, int& stage) {
    stage = ST_HOURS;
    double need_total = 0, cop_sum = 0;
    int cop_count = 0, lowered = 0;
    for (int m = 1; m <= 12; ++m) {
        const Month& M = mon[m];
        g.calc_f32[calc_row::hours(m)] = 0.0f;
        if (!M.heated) continue;
        const double N = M.days;
        const double Nh = heating_days_of(p, N);  // heating days of the month
        Eval e = ev[m];
        bool off = false;
        if (units > 0 && !holds(p, e, units, N)) {
            e = lowered_month(p, M, units, N, off);
            g.hrs_flag[m] = 1;
            ++lowered;
        }
        if (off) e.qmonth = 0;
        ENGINE_CHECK(e.qmonth, stage);
        ENGINE_CHECK(e.evap, stage);
        ENGINE_CHECK(e.conv, stage);

        const double out = e.cap > 0 ? units * e.cap : 0.0;
        const bool runs = e.qmonth > 0 && out > 0;
        g.month_off[m] = off ? 1 : 0;
        g.temp_table[m][5] = static_cast<float>(e.t);
        g.month_need[m] = e.qmonth;
        g.loss_evap[m] = p.area * kHoursPerDay * N * e.evap;
        g.loss_conv[m] = p.area * kHoursPerDay * N * e.conv;
        g.month_load[m][0] = e.qmonth / (kHoursPerDay * N);
        g.month_load[m][1] = out;
        g.month_cop[m] = runs ? static_cast<float>(e.cop) : 0.0f;
        if (runs) {
            cop_sum += g.month_cop[m];
            ++cop_count;
        }
        need_total += e.qmonth / 1000.0;

        st_backup(p, e, out, Nh, m, stage);

        // Hours per heating day, the figure a dealer compares with the
        // heating hours he typed: at most those hours, at most 24 in a
        // backed-up system (its pump runs longer before the heater helps).
        stage = ST_HOURS;
        const double most = p.backup ? kHoursPerDay : p.hours;
        const double hours = runs ? std::min(most, e.qmonth / (Nh * out)) : 0.0;
        ENGINE_CHECK(hours, stage);
        g.calc_f32[calc_row::hours(m)] = static_cast<float>(hours);
    }
    g.temp_lowered = static_cast<i16>(lowered);
    g.need_total = need_total;
    g.cop_sum = static_cast<float>(cop_sum);
    g.cop_avg = cop_count > 0 ? static_cast<float>(cop_sum / cop_count) : 0.0f;
    ENGINE_CHECK(g.need_total, stage);
}

// The stages in the order they run. Their numbers are those of "Check the
// data inputs (n)", not their order: the heat pump (4) runs before the
// schedule (3), which needs its output, and the backup (7) inside the
// running hours (6).
void calc_body(int& stage) {
    const Project p = st_inputs(stage);
    Months mon;
    st_losses(p, mon, stage);
    st_heatpump(mon, stage);
    const Evals ev = st_schedule(p, mon, stage);
    const int units = st_sizing(p, mon, ev, stage);
    st_hours(p, mon, ev, units, stage);
    // ---- 8. month costs: the report book prints the results table and the
    // yearly totals right after Calc.
    month_costs(stage);
}

}  // namespace

bool Calc() {
    int stage = ST_INPUTS;
    return guarded("Calc", stage, calc_body);
}

}  // namespace engine
