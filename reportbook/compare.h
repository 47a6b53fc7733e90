// The competitor comparison: the chosen heat-pump system and the system each
// named competitor would supply for the same pool or spa, each run through
// the engine and its cost stages, kept in cmp_res (1 = the chosen system,
// 2..4 = competitors 1..3) and in the scratch file Pumpchk.dat, then printed
// side by side. Afterwards the user's own system is back in the data model.
#pragma once

#include <vector>

#include "app/model.h"
#include "reportbook/user_system.h"

namespace compet1 {

// 1 when system k lacked the capacity to hold the desired water
// temperatures in its last run: elements 1..3 competitors 1..3, 4 the
// chosen system. All four are cleared at the start of every run.
extern arr<i16, 4> no_capacity;

// Clears the engine's yearly totals, puts the desired water temperatures
// back and loads the chosen brand's working tables again: the user's, kept
// while a comparison runs, or else those of the chosen group's record.
void reset_pump();

// The computing half of compare: fills cmp_res for the chosen system and for
// each named competitor whose data could be read and computed, writes them
// in that order to Pumpchk.dat and reads them back. Returns the systems
// computed (k = 1..4 in order); empty when the chosen system itself could
// not be computed. Leaves the engine's results to the last system run: the
// caller restores the user's system (`user`, the system as it stood).
std::vector<int> compute_systems(const UserSystem& user);

// The whole comparison section on the open document, with the user's own
// system restored at the end (also when the run fails).
void compare();

}  // namespace compet1
