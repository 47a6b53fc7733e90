// Energy content of what the heaters buy, shared by the engine's month costs
// and the printouts' cost tables, which must agree to the cent.
#pragma once

namespace energy {

constexpr double kBtuPerKwh = 3413.0;          // heat bought as electricity (electric resistance, 1 kWh)
constexpr double kKwhPerBtu = 0.293 / 1000.0;  // heat-pump electricity per BTU delivered at a C.O.P. of 1
// BTU in one priced unit of fuel: natural gas per therm, propane and oil per
// US gallon.
constexpr double kBtuPerTherm = 100000.0;
constexpr double kBtuPerGalPropane = 91000.0;
constexpr double kBtuPerGalOil = 140000.0;

}  // namespace energy
