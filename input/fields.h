// The numeric boxes of the project input window as data: which value of the
// data model each box Text1(i) holds, its limits (in US units, the units the
// model keeps), how it is shown in the dealer's units, with how many
// decimals and which unit. No windows: the input window and the dealer
// windows that show the same values use these.
#pragma once

#include <string>

namespace fields {

// The boxes that hold one value of the model each, by their Text1 index
// (used as plain box numbers too). Every row of the field table names one,
// and stored_value() and store() switch over them without a default: the
// compiler names a box that either of them forgot (-Wswitch).
enum Box : int {
    kArea = 0,           // Text1(0): surface area
    kDepth = 1,          // Text1(1): average depth
    kWind = 2,           // Text1(2): wind
    kSun = 3,            // Text1(3): sun exposure
    kHeatDays = 4,       // Text1(4): heating days per week
    kHeatHours = 5,      // Text1(5): heating hours per day
    kThermostat = 6,     // Text1(6): water temperature of every month
    kHeaterEff = 31,     // Text1(31): existing heater efficiency
    kHeaterOutput = 32,  // Text1(32): existing heater output
    kPriceElec = 33,     // Text1(33): electricity price
    kPriceGas = 34,      // Text1(34..36): natural gas, propane, oil prices
    kPricePropane = 35,
    kPriceOil = 36,
};
// Box indices with a meaning of their own besides.
constexpr int kBrandBox = 65;     // Text1(65): the brand word (not numeric)
constexpr int kFirstCover = 7;    // Text1(7..18): cover hours, January .. December
constexpr int kFirstWanted = 19;  // Text1(19..30): desired water temperature by month
inline bool is_cover(int i) { return i >= kFirstCover && i < kFirstCover + 12; }
inline bool is_wanted(int i) { return i >= kFirstWanted && i < kFirstWanted + 12; }

enum class Kind { Area, Depth, Wind, Percent, Count, Temp, Eff, Output, PriceElec, PriceFuel };

struct Field {
    Box index;  // Text1(index)
    Kind kind;
    double min_us;  // smallest value the engine is handed, US units
    double max_us;  // largest value accepted, US units
};

// The field of box i; nullptr for a box that is not numeric with limits
// (the cover hours, the brand box).
const Field* field(int i);

// A US value as the box shows it in the chosen units, and back.
double to_shown(const Field& f, double us);
double to_us(const Field& f, double shown);
// Decimals the box shows (and its limits are rounded to).
int decimals(const Field& f);
// The shown limit, rounded inwards so that every value inside the shown
// range is inside the stored one as well.
double limit_shown(const Field& f, bool max);
// The unit after a value, with its leading blank (" ft²", " $/Therm"), UTF-8;
// after the value 1 in the singular ("1 day a week", "7 days a week").
std::string unit_suffix(const Field& f, double value = 0);
// A value below the box's least, where 0 and small values are no value
// (surface area, days, hours, temperatures, efficiency): nothing may be
// computed from it.
bool below_least(const Field& f, double shown);
// What the window says while box i holds such a value: the box and its range.
std::string range_note(int i);

// The fuel whose price box i holds (Text1(34..36)) and the unit it is
// priced in (fuel_units, a unit the fuel does not have counting as 0).
int fuel_of_box(int i);
int fuel_unit(int fuel);

// The model's value behind box i, in US units.
double stored_value(int i);
// The stored value as the box shows it.
std::string shown_text(int i);
// Whether a box text, read as if typed, gives the stored value.
bool text_holds_stored(int i, const std::string& text);
// Stores a shown value (brought into the limits) into the model.
// Box 6, the thermostat, sets every month's wanted temperature as well.
void store(int i, double shown);
// Brings values read from the settings file into the limits a typed value
// has, so the engine and the printouts never work on what the window would
// refuse (an efficiency of 0 prices the fuel heater at nothing).
void clamp_inputs();

}  // namespace fields
