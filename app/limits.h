// The limits of the values a dealer types, in the units the data model keeps
// them in (the project's values in US units; percent; dollars). One table:
// the project window's boxes (input/fields.h), the finance windows and the
// settings file all read their limits here, so that a limit changes in one
// place.
#pragma once

#include <limits>

namespace limits {

inline constexpr double kInf = std::numeric_limits<double>::infinity();

struct Range {
    double min = -kInf, max = kInf;
};

// A typed value is held to `typed`. The settings file takes `file`: a value
// in it but outside `typed` loads, and the window that shows it brings it
// into `typed` (fields::clamp_inputs, the finance window); a value outside
// `file` is refused and keeps its default.
struct Limit {
    Range typed;
    Range file;
};
constexpr Limit same(Range r) { return {r, r}; }

// -- the project
inline constexpr Limit kPoolArea{{1, 50000}, {0, 50000}};       // ft²; no pool or spa is smaller than 1 ft²
inline constexpr Limit kPoolDepth = same({0, 30});              // ft
inline constexpr Limit kWind = same({0, 50});                   // mph
inline constexpr Limit kSunPct = same({0, 100});                // percent of sun exposure
inline constexpr Limit kHeatDays = same({1, 7});                // heating days a week
inline constexpr Limit kHeatHours = same({1, 24});              // heating hours a day
inline constexpr Limit kWaterTemp = same({40, 104});            // wanted water temperature, °F
inline constexpr Limit kCoverHours = same({0, 24});             // cover hours a day
inline constexpr Limit kHeaterEff = same({1, 100});             // existing fuel heater's efficiency, percent
inline constexpr Limit kHeaterOutput{{0, 5000000}, {0, kInf}};  // BTU/h (5,000,000 is about 1,465 kW)
inline constexpr Limit kPriceElec{{0, 5}, {0, kInf}};           // $/kWh
inline constexpr Limit kPriceFuel{{0, 50}, {0, kInf}};          // $/therm of gas, $/US gal of propane or oil

// -- the dealer's heater factors (the heater-settings window; a share such
// as 0.2 is typed as the percentage 20)
inline constexpr Limit kYearFactor = same({-0.51, 0.80});    // share
inline constexpr Limit kSummerFactor = same({-0.81, 0.80});  // share, outdoor and indoor
inline constexpr Limit kSizeComp = same({0, 99});            // percent, per pool-size class
inline constexpr Limit kSelBuffer = same({-80000, 80000});   // BTU/h, per model size
inline constexpr Limit kFloorReturns = same({0, 0.80});      // share saved by floor returns
inline constexpr Limit kCoverQuality{{0, 50}, {-kInf, 50}};  // percent: 0 an excellent cover, 50 a very bad one
// The heater's output counted on for the recovery after the days off in a
// week of fewer than seven heating days, percent (100 recommended).
inline constexpr Limit kOffBuffer = same({50, 150});

// -- the weather cities
// A month's mean air temperature, °F: what any place a pool is heated has
// (the coldest months of inhabited places lie above -80 °F, the hottest
// below 130 °F). A workbook's temperature outside it is a damaged cell.
inline constexpr Range kCityAirTemp{-80, 130};

// -- finance
inline constexpr Limit kSalesTax{{0, 100}, {0, kInf}};  // percent
inline constexpr Limit kLoanRate = same({0, 100});      // percent a year
inline constexpr Limit kLoanFees = same({0, kInf});     // dollars, paid up front with a loan
// A loan's down payment and balloon, percent of the system's total price:
// more than all of it would finance a negative amount.
inline constexpr Limit kDownPayPct = same({0, 100});
inline constexpr Limit kBalloonPct = same({0, 100});

}  // namespace limits
