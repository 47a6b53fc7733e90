// Energy content of what the heaters buy, and the rules of a month's cost
// that the engine's month costs and the printouts' cost tables share, so
// that they agree to the cent.
#pragma once

#include "app/model.h"

namespace energy {

constexpr double kBtuPerKwh = 3413.0;          // heat bought as electricity (electric resistance, 1 kWh)
constexpr double kKwhPerBtu = 0.293 / 1000.0;  // heat-pump electricity per BTU delivered at a C.O.P. of 1
// BTU in one priced unit of fuel: natural gas per therm, propane and oil per
// US gallon.
constexpr double kBtuPerTherm = 100000.0;
constexpr double kBtuPerGalPropane = 91000.0;
constexpr double kBtuPerGalOil = 140000.0;

// Cost in dollars of `btu` of heat from heater type t (HT_ELEC .. HT_OIL)
// heating alone, at the model's prices: electric resistance turns every kWh
// into 3413 BTU; a fuel heater burns btu / (efficiency % x BTU per unit / 100)
// units of fuel. A fuel heater of no efficiency, and any other type, costs
// nothing here (the input window refuses an efficiency of 0; a settings file
// may still hold one).
double heater_cost(int t, double btu, const DataModel& m = g);

// The factor floor returns (reverse flow) apply to a pool's heat-pump cost:
// 1 - reduce_pct (a share: 0.2 is 20 %, held to 0..1) when opt_reduce is on,
// else 1. A spa has no floor returns.
float floor_return_factor(const DataModel& m = g);

}  // namespace energy
