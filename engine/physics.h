// The physics of the monthly model, as pure functions: heat lost by one
// square foot of water surface, the sun it gains, and the heat pump's output
// and C.O.P. at a month's conditions. No data model, no state; the engine
// and the tests use the same functions.
//
// US units throughout: °F, inHg, mph, BTU/h·ft² (losses), BTU/ft²·day (sun),
// langley/day (1 ly = 3.687 BTU/ft²), BTU/h (output).
#pragma once

#include <algorithm>
#include <cmath>

namespace engine::phys {

// ---- constants ---------------------------------------------------------------------

inline constexpr double kRankine = 459.67;  // °F to °R

// Saturation pressure, Magnus form over water (Alduchov & Eskridge 1996):
// p[kPa] = 0.61094·exp(17.625·t / (t + 243.04)), t in °C.
inline constexpr double kMagnusP0 = 0.61094;  // kPa
inline constexpr double kMagnusA = 17.625;
inline constexpr double kMagnusB = 243.04;  // °C
inline constexpr double kInHgPerKPa = 0.2953;

// Airport winds are 10 m values; at the water of a fenced residential yard
// the wind is about 0.3 of it (between the ASHRAE wind-profile factors of
// suburban, 0.43, and urban, 0.21, terrain at 1 m).
inline constexpr double kWindAtWater = 0.3;

// Evaporation, outdoors: the Carrier equation (ASHRAE Applications,
// natatoriums) brought down to measured outdoor pools (Smith, Löf and
// Jones, Solar Energy 53, 1994: 72-84 % of Carrier):
// q_e = (68.5 + 32.1·V)·Δp, BTU/h·ft², V mph at the water, Δp inHg.
inline constexpr double kEvapStill = 68.5;
inline constexpr double kEvapPerMph = 32.1;

// Convection: h = 3.1 + 4.1·v W/m²K, v m/s (Czarnecki 1978, ISO TR 12596),
// in BTU/h·ft²·°F with V in mph.
inline constexpr double kConvStill = 0.546;
inline constexpr double kConvPerMph = 0.323;

// Long-wave radiation to the sky.
inline constexpr double kWaterEmissivity = 0.95;
inline constexpr double kStefanBoltzmann = 0.1714e-8;  // BTU/h·ft²·°R⁴
// Clear-sky emissivity, Berdahl & Martin 1984: ε = 0.711 + 0.56·(tdp/100)
// + 0.73·(tdp/100)², tdp the dew point in °C. The dew point is held within
// the range where the fit rises with it (its minimum lies at -38 °C).
inline constexpr double kSkyDewMin = -38.0, kSkyDewMax = 35.0;  // °C

// Indoor pools: the hall is held 2 °F above the water at 55 % RH
// (natatorium practice); evaporation by ASHRAE's w = 0.1·A·AF·Δp lb/h with
// 1,050 BTU per lb evaporated, activity factor 0.5 for a pool, 1.0 for a spa.
inline constexpr double kHallAboveWater = 2.0;  // °F
inline constexpr double kHallRH = 55.0;         // %
inline constexpr double kIndoorEvapCoef = 0.1;  // lb/h·ft²·inHg
inline constexpr double kLatentHeat = 1050.0;   // BTU/lb
inline constexpr double kActivityPool = 0.5;
inline constexpr double kActivitySpa = 1.0;

// A running spa blower: the air bubbles enlarge the water surface.
inline constexpr double kBlowerEvapFactor = 1.3;

// Cover: while covered, evaporation keeps 5 % and convection plus
// radiation 50 % of their open values, each raised by the dealer's cover
// quality (0 % excellent .. 50 % very bad).
inline constexpr double kCoverEvapShare = 0.05;
inline constexpr double kCoverConvShare = 0.50;

// Sun: pool water absorbs about 80 % (DOE: 75-85 %); a bubble cover in place
// by day loses about 10 % of the sun. Covers go on at night first, so only
// cover hours beyond 12 cover daylight.
inline constexpr double kWaterAbsorptance = 0.80;
inline constexpr double kBtuPerLangley = 3.687;  // BTU/ft² per langley
inline constexpr double kCoverSunLoss = 0.10;
inline constexpr double kNightHours = 12.0;

// Water: 62.4 lb/ft³ at 1 BTU/lb·°F.
inline constexpr double kWaterHeatCapacity = 62.4;  // BTU/ft³·°F

// Pool size classes of the dealer's size compensator, ft².
inline constexpr double kSizeClassBound[8] = {540, 720, 800, 980, 1100, 2200, 5000, 12000};

// Heat pump rating rows: air 85, 80 ... 50 °F (row r at 90 - 5r).
inline constexpr int kRatingRows = 8;
inline constexpr double kRowAirTop = 85.0, kRowAirBottom = 50.0, kRowStep = 5.0;
// No air-source heat pump runs below this air temperature.
inline constexpr double kMinAirTemp = 45.0;
// Humidity against the rating point, per 10 % RH (wet-bulb sensitivity of an
// air-source evaporator).
inline constexpr double kCapPer10RH = 0.02;
inline constexpr double kCopPer10RH = 0.015;
// Water warmer than the rating point, per °F; colder water helps up to +10 %.
inline constexpr double kCopPerWaterF = 0.012;
inline constexpr double kCapPerWaterF = 0.005;
inline constexpr double kWaterGainMax = 0.10;

// ---- air and water -------------------------------------------------------------------

// Saturation vapour pressure over water, inHg, at t °F.
inline double p_sat(double t_f) {
    const double t = (t_f - 32.0) / 1.8;
    return kMagnusP0 * std::exp(kMagnusA * t / (t + kMagnusB)) * kInHgPerKPa;
}

// Dew point in °C of air at t °F and rh % (Magnus inverse); rh below 1 % is
// read as 1 %.
inline double dew_point_c(double t_f, double rh) {
    const double t = (t_f - 32.0) / 1.8;
    const double gamma = std::log(std::clamp(rh, 1.0, 100.0) / 100.0) + kMagnusA * t / (t + kMagnusB);
    return kMagnusB * gamma / (kMagnusA - gamma);
}

// Clear-sky emissivity from the dew point (°C).
inline double sky_emissivity(double tdp_c) {
    const double x = std::clamp(tdp_c, kSkyDewMin, kSkyDewMax) / 100.0;
    return std::clamp(0.711 + 0.56 * x + 0.73 * x * x, 0.0, 1.0);
}

// The outdoor air of one month, worked out once for all water temperatures.
struct Air {
    double ta = 0;     // air °F
    double pa = 0;     // vapour pressure of the air, inHg
    double tsky4 = 0;  // (sky temperature °R)⁴
    double v = 0;      // wind at the water, mph
};

inline Air outdoor_air(double ta, double rh, double wind_mph) {
    Air a;
    a.ta = ta;
    a.pa = std::clamp(rh, 0.0, 100.0) / 100.0 * p_sat(ta);
    const double tsky = (ta + kRankine) * std::pow(sky_emissivity(dew_point_c(ta, rh)), 0.25);
    a.tsky4 = tsky * tsky * tsky * tsky;
    a.v = std::max(0.0, wind_mph) * kWindAtWater;
    return a;
}

// Open-water losses per ft², BTU/h.
struct Loss {
    double evap = 0;  // evaporation
    double conv = 0;  // convection (negative: warm air heats the water)
    double rad = 0;   // long-wave radiation to the sky
};

inline Loss outdoor_loss(double t, const Air& a) {
    Loss l;
    l.evap = (kEvapStill + kEvapPerMph * a.v) * std::max(0.0, p_sat(t) - a.pa);
    l.conv = (kConvStill + kConvPerMph * a.v) * (t - a.ta);
    const double tw = t + kRankine;
    l.rad = kWaterEmissivity * kStefanBoltzmann * (tw * tw * tw * tw - a.tsky4);
    return l;
}

// Indoor evaporation per ft², BTU/h, for water at t °F in a hall at t_hall °F
// and rh_hall %, activity factor af.
inline double indoor_evap(double t, double t_hall, double rh_hall, double af) {
    const double dp = std::max(0.0, p_sat(t) - rh_hall / 100.0 * p_sat(t_hall));
    return kIndoorEvapCoef * kLatentHeat * af * dp;
}

// Shares of the open-water losses that remain while the cover is on.
struct CoverShares {
    double open = 1;  // share of the day uncovered
    double evap = 1;  // evaporation kept over the day
    double conv = 1;  // convection and radiation kept over the day
};

inline CoverShares cover_shares(double cover_hours, double quality_pct) {
    const double f = std::clamp(cover_hours, 0.0, 24.0) / 24.0;
    const double q = std::max(0.0, quality_pct) / 100.0;
    const double se = std::min(1.0, kCoverEvapShare + q);
    const double sc = std::min(1.0, kCoverConvShare + q);
    CoverShares s;
    s.open = 1.0 - f;
    s.evap = (1.0 - f) + f * se;
    s.conv = (1.0 - f) + f * sc;
    return s;
}

// Sun absorbed per ft² and day, BTU, from ly langley/day at sun_pct % of sun
// exposure with cover_hours hours of cover a day.
inline double solar_gain(double ly, double sun_pct, double cover_hours) {
    const double covered_daylight = std::max(0.0, std::clamp(cover_hours, 0.0, 24.0) - kNightHours) / kNightHours;
    return kWaterAbsorptance * kBtuPerLangley * std::max(0.0, ly) * std::clamp(sun_pct, 0.0, 100.0) / 100.0 *
           (1.0 - kCoverSunLoss * covered_daylight);
}

// The dealer's size class 1..8 of a pool of `area` ft²: the first class whose
// bound is at least the area; 8 above 12,000 ft².
inline int size_class(double area) {
    for (int k = 0; k < 8; ++k)
        if (area <= kSizeClassBound[k]) return k + 1;
    return 8;
}

// ---- heat pump --------------------------------------------------------------------------

// The compensating-factor element 1..8 for a month's air temperature: below
// 52.5 °F element 1, then one element per 5 °F band, 82.5 °F and above 8.
inline int comp_element(double ta) {
    static constexpr double bounds[7] = {52.5, 57.5, 62.5, 67.5, 72.5, 77.5, 82.5};
    int k = 1;
    for (double b : bounds)
        if (ta >= b) ++k;
    return k;
}

// A factor as the dealer entered it: 0 (or anything not positive) means none.
inline double comp_value(double f) { return f > 0 && std::isfinite(f) ? f : 1.0; }

// The rating points of one model (indices 1..8, rows 85 .. 50 °F).
struct Points {
    const float* rh;
    const float* cop;
    const double* btu;
    const float* wtemp;
};

// Rating interpolated at an air temperature: output, C.O.P. and the rating
// conditions (RH, water temperature) they were measured at.
struct Rated {
    bool runs = false;  // false below the minimum air temperature
    bool low = false;   // between the minimum and the lowest row (45..50 °F)
    double cap = 0, cop = 0, rh = 0, wtemp = 0;
};

// Linear interpolation in the air temperature between the two bracketing
// rows; above 85 °F the 85 °F row; between 45 and 50 °F the 55 -> 50 °F slope
// carried on; below 45 °F nothing.
inline Rated interpolate(const Points& p, double ta) {
    Rated r;
    if (!(ta >= kMinAirTemp)) return r;
    r.runs = true;
    int hi;    // warmer row
    double w;  // weight of the colder row (hi + 1)
    if (ta >= kRowAirTop) {
        hi = 1;
        w = 0;
    } else if (ta >= kRowAirBottom) {
        hi = std::clamp(static_cast<int>((kRowAirTop - ta) / kRowStep) + 1, 1, kRatingRows - 1);
        const double t_hi = kRowAirTop - kRowStep * (hi - 1);
        w = (t_hi - ta) / kRowStep;
    } else {
        r.low = true;
        hi = kRatingRows - 1;  // 55 °F row; w > 1 extends its slope
        w = 1.0 + (kRowAirBottom - ta) / kRowStep;
    }
    const int lo = hi + 1;
    auto lerp = [w](double a, double b) { return a + (b - a) * w; };
    r.cap = std::max(0.0, lerp(p.btu[hi], p.btu[lo]));
    r.cop = std::max(0.0, lerp(p.cop[hi], p.cop[lo]));
    r.rh = lerp(p.rh[hi], p.rh[lo]);
    r.wtemp = lerp(p.wtemp[hi], p.wtemp[lo]);
    return r;
}

// Output and C.O.P. at the month's humidity and water temperature.
struct Rating {
    double cap = 0;  // BTU/h of one unit
    double cop = 0;
};

// Corrections against the rating conditions; a rating condition of 0 (not
// given in the table) leaves that correction out.
inline Rating corrected(const Rated& r, double rh, double tw) {
    Rating out;
    if (!r.runs) return out;
    double fcap = 1.0, fcop = 1.0;
    if (r.rh > 0) {
        const double d10 = (std::clamp(rh, 0.0, 100.0) - r.rh) / 10.0;
        fcap *= 1.0 + kCapPer10RH * d10;
        fcop *= 1.0 + kCopPer10RH * d10;
    }
    if (r.wtemp > 0) {
        const double dw = tw - r.wtemp;  // warmer water: less output, lower C.O.P.
        fcap *= std::min(1.0 + kWaterGainMax, 1.0 - kCapPerWaterF * dw);
        fcop *= std::min(1.0 + kWaterGainMax, 1.0 - kCopPerWaterF * dw);
    }
    out.cap = r.cap * std::max(0.0, fcap);
    out.cop = r.cop * std::max(0.0, fcop);
    return out;
}

}  // namespace engine::phys
