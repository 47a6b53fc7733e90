// The weather cities as the project input window offers them: three lists
// (Florida, other US, outside the US) built from city_tab, finding the
// project's city in them, and what choosing a city copies into the project.
// No windows: the city editor windows use the same rules.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/model.h"

namespace cities {

// The entries of the three lists and the city_tab record behind each.
struct Lists {
    std::array<std::vector<std::string>, 3> entries;
    std::array<std::vector<int>, 3> records;
};
// The lists of city_tab(1..city_count) (at most 500), by city_entry's groups.
Lists build_lists();

// A city's wind as the project takes it: 0..50 mph.
float wind(const CityRecord& r);
// The project's monthly weather is that city's.
bool same_weather(const CityRecord& r);
// The project holds everything choosing the city would copy.
bool holds(const CityRecord& r);

// The entry of group `grp` for the project's city: the first record of
// that name (and state, outside Florida, when `with_state`), or of two
// alike the one whose months the project holds; -1 when none.
int find(const Lists& l, int grp, const std::string& city, const std::string& state, bool with_state);
// The entry named by preset_city (upper-cased, trailing blanks dropped) in
// the groups area_sel allows: {group, entry}, or {-1, -1}.
std::array<int, 2> find_preset(const Lists& l, const std::string& preset);

// Choosing a city: its name, state, energy prices, wind and months go into
// the project (area_group := grp).
void take(const CityRecord& r, int grp);
// Only its months (the weather the window does not let anyone type).
void take_weather(const CityRecord& r);

}  // namespace cities
