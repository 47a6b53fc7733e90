// How the engine's stages fail: a stage that meets a value it cannot work
// with (not finite, or an impossible state) stops with a Fault carrying the
// run-time error number, the source line and the stage number; the routine
// that ran the stage reports it, clears the results and returns false.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace engine {

// Stage numbers shown in "Check the data inputs (n)".
enum Stage : int {
    ST_INPUTS = 1,
    ST_LOSSES = 2,
    ST_SCHEDULE = 3,
    ST_HEATPUMP = 4,
    ST_SIZING = 5,
    ST_HOURS = 6,
    ST_BACKUP = 7,
    ST_MONTHCOST = 8,
    ST_PAYBACK = 9,
    ST_YEARLY = 10,
    ST_DISPLAY = 11,
};

// Run-time error numbers the program has always reported.
inline constexpr int kErrOverflow = 6;  // a value out of range or not a number
inline constexpr int kErrDivZero = 11;
inline constexpr int kErrInternal = 51;

struct Fault {
    int number;
    int line;
    int stage;
};

[[noreturn]] inline void fail(int number, int line, int stage) { throw Fault{number, line, stage}; }

// Stops the stage when x is not a finite number.
#define ENGINE_CHECK(x, stage)                                                                                 \
    do {                                                                                                       \
        if (!std::isfinite(static_cast<double>(x))) ::engine::fail(::engine::kErrOverflow, __LINE__, (stage)); \
    } while (0)

// Runs body; on a Fault or any other failure shows "Error <n> in line <l>" /
// "Check the data inputs (<stage>)" titled " <routine> error", clears the
// engine's results and returns false. `stage` is the stage running when a
// failure other than a Fault arrives.
bool guarded(const char* routine, int& stage, void (*body)(int& stage));

// s without leading and trailing blanks (no copy).
inline std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// Stops the stage when a money amount is not finite or beyond what the
// currency type holds (an overflow in the old program, too).
inline double money(double x, int line, int stage) {
    if (!(std::fabs(x) <= 9.0e11)) fail(kErrOverflow, line, stage);
    return x;
}
#define ENGINE_MONEY(x, stage) ::engine::money((x), __LINE__, (stage))

// The month-cost stage (costs.cpp): Calc runs it last, so that the results
// table and the yearly totals always belong to the monthly results beside
// them; Backcalc runs it alone.
void month_costs(int& stage);

// What each cost stage (costs.cpp) fills, emptied: by the stage itself as it
// starts, so that repeated calculations give the same, and all of it when
// the results are cleared (clear_engine_results).
void clear_month_costs();  // month_costs: the year's costs and totals by heater type
void clear_payback();      // Pbcalc: savings, investment, payback
void clear_year_tables();  // Yrcalc: the tables by year

}  // namespace engine
