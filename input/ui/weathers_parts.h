// What the parts of the project input window share (weathers.cpp,
// weathers_make.cpp, weathers_cities.cpp, weathers_events.cpp,
// weathers_results.cpp): control indices and small text helpers. Private to
// input/ui.
#pragma once

#include <QString>

#include <string>

#include "app/data.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "input/fields.h"

namespace weathers_parts {

using fields::kArea;
using fields::kBrandBox;
using fields::kDepth;
using fields::kFirstCover;
using fields::kFirstWanted;
using fields::kHeatDays;
using fields::kHeaterEff;
using fields::kHeaterOutput;
using fields::kHeatHours;
using fields::kPriceElec;
using fields::kPriceGas;
using fields::kPriceOil;
using fields::kPricePropane;
using fields::kSun;
using fields::kThermostat;
using fields::kWind;
constexpr int kHeaterType = 1;       // Combo1(1)
constexpr int kModelList = 8;        // Combo1(8)
constexpr int kFirstMonthCheck = 1;  // Check1(1..12)
constexpr int kSpaBlower = 13, kFloorReturns = 14, kBackup = 15;
// Option1(0..2) is the city group (Option1(group)); then pool or spa, outdoor or indoor.
constexpr int kPoolOption = 3, kSpaOption = 4, kOutdoorOption = 5, kIndoorOption = 6;
enum Buttons : int {
    kCalculate = 0,
    kCustomer = 1,
    kCalculator = 2,
    kExit = 3,
    kHpPrice = 8,
    kFinance = 10,
    kPrint = 11
};

constexpr float kOutdoorSun = 75;  // % sun exposure of an outdoor pool unless typed

// The city list of each group: Florida, other US, outside the US.
constexpr int kCityCombo[3] = {7, 9, 10};

inline bool celsius() { return g.units_temp != 0; }

inline QString q(const std::string& s) { return QString::fromStdString(s); }
inline QString u8(const char* s) { return QString::fromUtf8(s); }

inline std::string trimmed(const std::string& s) { return vb::Trim(s); }

inline std::string keyOf(const std::string& s) {
    std::string out;
    strip_spaces(s, out);
    return out;
}

inline QString money(double v) { return q(vb::Format(v, "$##,##0")); }

inline const char* fuel_word(int type) {
    switch (type) {
        case HT_ELEC: return "Electric";
        case HT_GAS: return "Gas";
        case HT_PROPANE: return "Propane";
        case HT_OIL: return "Oil";
        default: return "";
    }
}

}  // namespace weathers_parts
