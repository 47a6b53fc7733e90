// The weather-city file as the dealer's city windows edit it: the three
// region lists, the rules for a new city's name, the record editor's box
// texts, and the rewrites of location.dat (delete one city, replace or
// append one, delete them all). No windows here.
//
// Every rewrite builds the whole new file in memory and hands it to the
// replacement of records.h (complete copy locatio2.dat, then renamed over
// location.dat): a failure at any step leaves location.dat as it was.
// Records that are not changed are copied byte for byte.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/model.h"

namespace citydata {

constexpr int kRegions = 3;        // 0 Florida, 1 "US Other", 2 "Non US"
constexpr int kMaxListed = 499;    // "Add new" refuses a city once the lists hold this many
constexpr int kMaxNameChars = 20;  // a new name, upper-cased and without blanks

// One entry of a region list and the record it shows.
struct Entry {
    std::string text;
    int record = 0;  // record number in location.dat, from 1
};
using Lists = std::array<std::vector<Entry>, kRegions>;

// The three lists of `cities` (record i + 1 is cities[i]), each in file
// order, by the region rule and entry formats of the city lists.
Lists build_lists(const std::vector<CityRecord>& cities);

// What the text of a new city's name box allows: the text upper-cased with
// every blank removed must be 1..20 characters, and the lists together
// must hold fewer than 499 entries.
enum class NameCheck { Ok, TooMany, TooLong, Missing };
NameCheck check_new_name(const std::string& text, int listed);

// Entries of `list` whose city, upper-cased and without blanks, is the same
// as the new name's, in list order.
std::vector<int> same_names(const std::vector<Entry>& list, const std::vector<CityRecord>& cities,
                            const std::string& text);

// The record a new city starts from: the typed name (trimmed, at most 39
// characters), everything else 0 and blank.
CityRecord new_record(const std::string& name);

// ---- the record editor's boxes ---------------------------------------------------
// Texts of the editor's boxes: months 0..11 of humidity, sun and air
// temperature, then the four prices, the wind speed and the state.
struct Boxes {
    std::array<std::string, 12> humidity, sun, air;
    std::array<std::string, 5> cost;  // electricity, gas, propane, oil, wind
    std::string state;
};
// The record shown in the boxes ("##0.00", prices "#0.0000", wind "#0.00").
Boxes to_boxes(const CityRecord& r);
// A new city's boxes: every number 0 in its box's format, the state empty.
Boxes empty_boxes();
// The boxes read back into a record named `city`: each number is the value
// at the start of its box (0 when none); the state is trimmed, "FLORIDA" in
// any letter case becomes "FL".
CityRecord from_boxes(const Boxes& b, const std::string& city);

// ---- location.dat ---------------------------------------------------------------
// The records of location.dat in `dir` (ends in "/"), whole records only;
// `more` is set when the file holds more than the 500 the program loads.
std::vector<CityRecord> load(const std::string& dir, bool* more = nullptr);
// Record `record` (from 1) removed; the others keep their order. False with
// a reason when the record is not there or the file cannot be replaced.
bool erase(const std::string& dir, int record, std::string* why = nullptr);
// Record `record` replaced by `r` (record count + 1 appends it).
bool put(const std::string& dir, int record, const CityRecord& r, std::string* why = nullptr);
// location.dat removed (no file at all afterwards; missing already is fine),
// kept as location.bak (rec::keepCopy); not removed when it could not be
// kept, and a failed removal leaves the kept copies as they were.
bool erase_all(const std::string& dir, std::string* why = nullptr);

}  // namespace citydata
