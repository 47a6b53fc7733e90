// The heat-pump performance tables as the performance-table editor shows
// and stores them: one model's eight rating rows (air 85 down to 50 °F) of
// relative humidity, C.O.P., output and water temperature, its designation
// and its "in list" flag. No windows here.
//
// Numbers are shown and read in one fixed form whatever the desktop's
// regional settings: "." is the decimal point and "," only groups
// thousands, so a saved table never changes its values.
#pragma once

#include <array>
#include <string>

#include "app/model.h"

namespace pumpfiles {

constexpr int kMakerModels = 9;
constexpr int kCompetitorModels = 3;  // small, medium, large: points 1..24

// The editor's boxes of one model.
struct ModelBoxes {
    std::array<std::string, 8> rh, cop, btu, water;
    std::string designation;
    bool in_list = false;
};

// The file of an editor mode: 1 PumpHP.dat, 2..4 PumpHP1.dat..PumpHP3.dat.
std::string file_of(int mode);
// How many models a mode's record holds (9, or 3 for a competitor).
int models_of(int mode);

// Model `model` of a maker record: humidity and C.O.P. with 2 decimals,
// output and water temperature whole, digits grouped; the designation
// trimmed (its inner blanks kept).
ModelBoxes show_maker(const PumpBrand& r, int model);
// Model 1..3 of competitor k = 1..3 (competitors 2 and 3 ungrouped).
ModelBoxes show_competitor(const CompetitorPump& r, int model, int k);
// The figures behind those boxes: each stored value as the shortest decimal
// text that reads back as it (a water temperature of 84.5 where the box
// shows "85"), so a model written back unedited keeps every figure the
// dealer measured. Only the four columns are filled.
ModelBoxes figures(const PumpBrand& r, int model);
ModelBoxes figures(const CompetitorPump& r, int model);

// The four columns of the table.
enum class Column { Rh, Cop, Btu, Water };
// A box's figure shown as the unedited boxes of its column show theirs, for
// the maker's table (k = 0) or competitor k = 1..3; an empty box stays empty.
std::string cell_text(Column c, const std::string& box, int k);

// The value of a box: "," "$" and "%" dropped, then the number at its
// start (0 for none).
double number(const std::string& box);

// The boxes stored as model `model`; a maker record also takes the flag and
// the group name (`caption` without its blanks). Nothing outside the
// model's eight points changes.
void store_maker(PumpBrand& r, int model, const ModelBoxes& b, const std::string& caption);
void store_competitor(CompetitorPump& r, int model, const ModelBoxes& b);

// The column-fill buttons: typical C.O.P. of rows 85..50 °F, and the output
// column of model `model` scaled by 1 + (model - 1) × step (an empty step
// gives the factor 1), 63,000 .. 35,000 BTU/h for factor 1.
extern const std::array<const char*, 8> kCopColumn;
std::array<std::string, 8> btu_column(int model, const std::string& step);

}  // namespace pumpfiles
