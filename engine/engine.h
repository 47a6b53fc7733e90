// The heating and cost engine: the monthly model of a pool or spa, heat-pump
// sizing, output and C.O.P., running hours and recovery, backup heater,
// energy costs by fuel, savings, payback, return on investment and the
// yearly tables. Works on the shared data model `g` only; no windows.
#pragma once

#include <functional>

namespace engine {

// The monthly model and sizing: losses, need, configuration (combo_idx),
// output, C.O.P., hours, backup months, lowered temperatures; then the month
// costs (as Backcalc), so that after Calc alone calc_f32 rows 1..51,
// tot_hp/tot_heater/tot_saving, heater_yr_cost, heater_energy, need_total
// and cop_avg all belong to the current inputs. Calc never touches
// equip_cost, the savings, payback and year tables (the later stages).
// Returns false when a stage failed (its message has been shown and the
// results cleared).
bool Calc();
// The cost stages: month costs into calc_f32, yearly totals, savings,
// equipment cost, payback and return, year tables, proj_save.
bool Backcalc();  // month costs and backup heater (Calc's last stage, alone)
bool Pbcalc();    // equipment cost, savings, payback, return on investment
bool Yrcalc();    // yearly tables by price_rise
// Calc followed by the later cost stages (Pbcalc, Yrcalc).
bool calc_all();

// Clears every engine result (keeps inputs).
void clear_engine_results();

}  // namespace engine

// Entry points the printouts use; they show through the input window's
// entries of the window registry (core/windows.h), when it has filled them.
// Recalculates the whole project from the current inputs and shows the results.
void run_calc();
// Clears the result boxes of the project input window.
void clear_results();
// Refreshes the monthly ambient-temperature display.
void show_ambient();
