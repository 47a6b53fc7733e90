// Units of the project input window: the values are kept in US units (ft,
// ft², mph, BTU/h; gas per therm, propane and oil per US gallon) and shown
// and typed in the units the dealer chose. Pure functions, no windows, so
// they are tested without a screen.
#pragma once

#include <string>
#include <string_view>

#include "core/currency.h"

namespace units {

// Conversion factors, each the one the printouts use for the same quantity.
constexpr double kSqFtPerSqM = 10.764;      // ft² in one m²
constexpr double kFtPerM = 3.2809;          // ft in one m
constexpr double kKmhPerMph = 1.609347219;  // km/h in one mph
constexpr double kBtuhPerKw = 3412.142;     // BTU/h in one kW (1 W = 3.412142 BTU/h)

// Length flag units_len: 0 US (ft, ft², mph), anything else metric.
double area_shown(double sq_ft, bool metric);   // ft² -> ft² or m²
double area_stored(double shown, bool metric);  // ft² or m² -> ft²
double depth_shown(double ft, bool metric);     // ft -> ft or m
double depth_stored(double shown, bool metric);
double wind_shown(double mph, bool metric);  // mph -> mph or km/h
double wind_stored(double shown, bool metric);
// Heat flag units_heat: 0 BTU/h, anything else kW.
double output_shown(double btuh, bool kw);
double output_stored(double shown, bool kw);

// ---- fuel prices ------------------------------------------------------------------
// Fuels by the existing-heater code: 3 natural gas, 4 propane, 5 oil. The
// stored price is per therm (gas) or per US gallon (propane, oil). Units by
// fuel_units: gas (1) 0 therm, 1 100,000 BTU, 2 kWh, 3 100 MJ; oil (2)
// 0 US gal, 1 litre, 2 ft³, 3 UK gal; propane (3) 0 US gal, 1 litre,
// 2 pound, 3 kg, 4 UK gal. A unit that is none of these counts as the
// stored unit.
enum Fuel : int { kGas = 3, kPropane = 4, kOil = 5 };

// How many of the chosen unit make one stored unit: the price per chosen
// unit is the stored price divided by this (therm = 29.299392 kWh =
// 1.054852 × 100 MJ; US gal = 3.785 l = 4.2486592 lb = 1.9271596 kg
// = 0.832268 UK gal of propane; US gal = 3.78533 l = 0.1336805 ft³
// = 0.832268 UK gal of oil).
double price_factor(int fuel, int unit);
// Number of units offered for the fuel (4 gas, 5 propane, 4 oil).
int unit_count(int fuel);
// The unit's name as the window's unit lists show it ("Therm", "KWH Gas",
// "UK Gal Propane" ...).
std::string unit_name(int fuel, int unit);
// Stored price -> price per chosen unit, in currency (four decimals): the
// conversion of the printed fuel-price labels (the 100 MJ price is
// price × 100 / 105.4852).
Currency price_shown(Currency stored, int fuel, int unit);
// Price typed per chosen unit -> stored price (the exact inverse).
Currency price_stored(double shown, int fuel, int unit);
// The element of fuel_units (1 gas, 2 oil, 3 propane) that holds the unit of
// a fuel; 0 for other codes.
int fuel_units_slot(int fuel);

}  // namespace units
