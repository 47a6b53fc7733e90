// The detailed report book: page 1 (title block, Table 1 weather and cover,
// Table 2 heat loss), Table 3 system performance, Table 4 financial aspects,
// Table 5 savings and amortisation, Table 6 yearly energy expenditures and
// the bases page, which runs the competitor comparison and the finance pages
// and ends the document. Printed through the program's printer; no windows.
//
// The tables run in a fixed order (The_Print): a later table reads what an
// earlier one left in the data model or in this module's state.
#pragma once

#include <string>

#include "app/model.h"

namespace prt1 {

// What the report module keeps between its tables.
struct State {
    arr<std::string, 12> page1_run_txt;  // "Run" / "Off" by month (Table 2)
    std::string model_text;              // equipment text of the chosen system (page 1)
    i16 zero_hours_seen = 0;             // Table 3: a month with no C.O.P. or no run hours
};
extern State st;

// The whole report book on the program's printer, ended and sent. After it
// (also after a failure, which abandons the document) the user's own system
// is recalculated afresh: every result is that of a fresh calculation.
void The_Print();

// Report cells: °F as printed (unchanged, or °C to 0.1 with halves upward).
double f_to_c(const float& value);
// BTU as printed: unchanged, or kWh (/ 3413.04).
void btu_to_kwh(const double& value, double& result);
double btu_to_kwh(double value);
// The title font from the settings (unusable settings corrected in memory).
void Fnt_title();

void Page1();
void table3();
void table4();
void table4_calc();
void BG();
void roi_line();
void table6();
void table6_rows();
void Bases();

// The equipment text of the chosen system as page 1 builds it (blanks,
// count, " model ", the model counted by combo_n1), without the blanks.
std::string system_text();

// One year's figures of the chosen system with the yearly price rises:
// heat-pump cost, the existing heater's cost (its backup share in a
// backed-up system), the existing heater heating alone, and the saving
// against it. Year 1 is the engine's one-year totals (tot_hp, tot_heater,
// tot_saving).
struct YearFigures {
    Currency hp, fuel, alone, saving;
};
YearFigures year_figures(int y);

}  // namespace prt1
