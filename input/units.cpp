#include "input/units.h"

#include <charconv>
#include <cmath>

namespace units {

double area_shown(double sq_ft, bool metric) { return metric ? sq_ft / kSqFtPerSqM : sq_ft; }
double area_stored(double shown, bool metric) { return metric ? shown * kSqFtPerSqM : shown; }
double depth_shown(double ft, bool metric) { return metric ? ft / kFtPerM : ft; }
double depth_stored(double shown, bool metric) { return metric ? shown * kFtPerM : shown; }
double wind_shown(double mph, bool metric) { return metric ? mph * kKmhPerMph : mph; }
double wind_stored(double shown, bool metric) { return metric ? shown / kKmhPerMph : shown; }
double output_shown(double btuh, bool kw) { return kw ? btuh / kBtuhPerKw : btuh; }
double output_stored(double shown, bool kw) { return kw ? shown * kBtuhPerKw : shown; }

namespace {

struct UnitDef {
    const char* name;
    double factor;  // chosen units in one stored unit
};

// Gas is stored per therm (100,000 BTU).
constexpr UnitDef kGasUnits[] = {{"Therm", 1.0}, {"100K BTU", 1.0}, {"KWH Gas", 29.299392}, {"100 MJ Gas", 1.054852}};
// Propane is stored per US gallon.
constexpr UnitDef kPropaneUnits[] = {{"Gal Propane", 1.0},
                                     {"Ltr Propane", 3.785},
                                     {"LB Propane", 4.2486592},
                                     {"KG Propane", 1.9271596},
                                     {"UK Gal Propane", 0.832268}};
// Oil is stored per US gallon.
constexpr UnitDef kOilUnits[] = {
    {"Gal Oil", 1.0}, {"Liter Oil", 3.78533}, {"Ft^3 Oil", 0.1336805}, {"UK Gal Oil", 0.832268}};

const UnitDef* units_of(int fuel, int& count) {
    switch (fuel) {
        case kGas: count = 4; return kGasUnits;
        case kPropane: count = 5; return kPropaneUnits;
        case kOil: count = 4; return kOilUnits;
        default: count = 0; return nullptr;
    }
}

const UnitDef* unit_of(int fuel, int unit) {
    int count = 0;
    const UnitDef* defs = units_of(fuel, count);
    if (!defs) return nullptr;
    if (unit < 0 || unit >= count) unit = 0;
    return &defs[unit];
}

}  // namespace

double price_factor(int fuel, int unit) {
    const UnitDef* u = unit_of(fuel, unit);
    return u ? u->factor : 1.0;
}

int unit_count(int fuel) {
    int count = 0;
    units_of(fuel, count);
    return count;
}

std::string unit_name(int fuel, int unit) {
    const UnitDef* u = unit_of(fuel, unit);
    return u ? u->name : "";
}

Currency price_shown(Currency stored, int fuel, int unit) {
    const double f = price_factor(fuel, unit);
    if (f == 1.0) return stored;  // the stored unit: the value as it is
    if (fuel == kGas && unit == 3) {
        // Per 100 MJ: the price times 100 in currency, then / 105.4852.
        return cy((stored * 100).toDouble() / 105.4852);
    }
    return cy(stored.toDouble() / f);
}

Currency price_stored(double shown, int fuel, int unit) {
    if (!std::isfinite(shown)) return Currency{};
    return cy(shown * price_factor(fuel, unit));
}

int fuel_units_slot(int fuel) {
    switch (fuel) {
        case kGas: return 1;
        case kOil: return 2;
        case kPropane: return 3;
        default: return 0;
    }
}

}  // namespace units
