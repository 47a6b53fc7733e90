// The report tables every printout reads, the report cost recalculation
// `calculate3`, and the small shared services of the printed pages: the
// proposed system's caption (`pump_title`) and the existing heater's fuel
// price in the unit the user chose (`unit_labels`). No Qt.
//
// The results table `calc_f32` (data model, filled by the engine, money in
// cents) is read by rows, m = 1 January .. 12 December:
//   1..12   heat-pump running cost of month m, $
//   13..24  existing heater's cost of month m - 12 (its fuel part in a
//           backed-up system), $
//   25..36  saving of month m - 24, $
//   37, 38, 39  five-year heat-pump cost, heater cost, saving
//   40..51  heat-pump running hours per heating day of month m - 39
//
// The report text table `rep_text` holds one row per month (1..12) and the
// columns 1 month name, 2 air temperature, 3 water temperature ("N/A" when
// the month is not heated), 4 cover hours per day ("N/A"), 5 running hours
// ("Off"); row 0 and columns 0, 6..8 stay empty.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/model.h"
#include "printouts/printline.h"

class RepText {
public:
    static constexpr int kRows = 13, kCols = 9;
    std::string& operator()(int m, int c) { return cell_.at(static_cast<std::size_t>(m + kRows * c)); }
    const std::string& operator()(int m, int c) const { return cell_.at(static_cast<std::size_t>(m + kRows * c)); }
    void clear() { cell_.fill(std::string()); }

private:
    std::array<std::string, kRows * kCols> cell_{};
};
extern RepText rep_text;

// The report cost recalculation, run by every printout just before its
// twelve-month table. It reads the engine's last monthly results (it runs
// no engine stage), recomputes each month's costs with the report's own
// formulas and returns the sums of the heated months:
//   hp_year      heat-pump cost, $
//   fuel_year    the existing heater's fuel part (its whole cost, or the
//                backup heater's share in a backed-up system); 0 without one
//   saving_year  saving against the existing heater (may be negative); 0
//                without one
// It sets tot_hp, tot_heater and tot_saving to the sums of calc_f32 rows
// 1..12, 13..24 and 25..36, and, by month_table(prt_choice), fills the month
// rows of rep_text (the Word printouts) or prints the twelve month lines of
// the plain-text audit on the printer of the open page, at col_offset.
// Everything else it works out stays in its own locals: the engine's month
// values and yearly accumulators are left as the engine computed them, so
// two calls in a row give the same results.
void calculate3(double& hp_year, Currency& fuel_year, Currency& saving_year);

// Where a print choice's printout takes calculate3's month table from.
enum class MonthTable {
    WordRows,      // the month rows of rep_text (the Word documents)
    PrintedLines,  // the month lines printed on the open page (the plain-text audit)
    None,          // neither: the printout builds its own (any other number too)
};
MonthTable month_table(int choice);

// Month m (1..12) is heated: ticked, with heat to give. Every other month
// is "Off" on the printouts: no cost of it is printed as $0.
bool month_heated(int m);
// The heat pump stands still in month m: the month is not heated, or the
// backup heater heats it alone (no running hours, no cost).
bool pump_off(int m);

// The month lines calculate3 prints for the plain-text audit (exposed for
// the page and its tests): twelve lines at column offset `co`.
std::vector<PrintLine> month_lines(int co);

// The proposed system's caption: " n   Brand  " + " Model " + model, or ""
// when the chosen configuration has no units. The model is the one chosen in
// the input window's model list (chosen_model_text). The three model arguments
// receive the series' model names from model_list_text (model_b then holds
// " Model " and the chosen model, as the callers have always received it).
void pump_title(std::string& caption, std::string& model_b, std::string& model_c, std::string& model_a);

// The existing heater's price in the unit chosen for its fuel and the label
// printed after it (12 characters, "/Therm      "). Where no fuel or unit
// applies (no existing heater, an unknown unit) both are left as passed.
void unit_labels(Currency& price, std::string& label);

// The brand text of the proposal (the brand box, trimmed, letter case as
// typed) and its short form of at most 16 characters.
std::string brand_text();
std::string short_brand();

// The text of the city list of the project's city group (area_group 1: other
// US cities "ST  City", 2: cities outside the US), trimmed.
std::string city_list_text(int group);

// Number of the brand word ("KESTROLIN" 1, "TINDRALY" 2, "MORVENIC" 3) of the
// brand box, upper-cased and trimmed; 0 for any other text.
int brand_number();
