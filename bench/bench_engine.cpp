// Speed of the engine: the quick recalculation runs Calc and the cost stages
// on every keystroke of the project input window, so a twelve-month project
// must take well under a millisecond (target: 20 µs).
#include <benchmark/benchmark.h>

#include "core/ui.h"
#include "engine/engine.h"
#include "model.h"

namespace {

struct Climate {
    float rh[12], sun[12], air[12], wind;
    double elec, gas;
};

// Typical-year monthly means: RH %, langley/day, °F; wind mph; $/kWh, $/therm.
const Climate kOrlando = {
    {79, 67, 68, 70, 73, 80, 81, 86, 80, 80, 80, 78},
    {244, 304, 401, 519, 541, 488, 471, 422, 390, 333, 287, 246},
    {58.2f, 63.4f, 65.9f, 70.8f, 76.2f, 79.7f, 80.4f, 79.2f, 79.0f, 73.6f, 68.2f, 61.4f},
    8.2f, 0.152, 2.45};
const Climate kChicago = {
    {71, 66, 71, 69, 63, 62, 74, 74, 75, 69, 75, 75},
    {152, 214, 296, 378, 514, 541, 531, 444, 360, 253, 156, 129},
    {23.6f, 27.5f, 38.9f, 49.9f, 59.6f, 70.0f, 75.4f, 71.2f, 64.6f, 51.8f, 40.5f, 25.4f},
    10.2f, 0.157, 1.11};

// An outdoor 450 ft² pool at 82 °F all year with a mid-size heat pump, an
// existing gas heater, 8 hours of cover a night.
void project(const Climate& c) {
    set_defaults(g);
    static const float cop[8] = {6.06f, 5.79f, 5.35f, 5.00f, 4.60f, 4.20f, 3.70f, 3.20f};
    static const double btu[8] = {63000, 60000, 55600, 51000, 46000, 41000, 38000, 35000};
    for (int r = 1; r <= 8; ++r) {
        g.hp_rh[r] = 80;
        g.hp_wtemp[r] = 80;
        g.hp_cop[r] = cop[r - 1];
        g.hp_btu[r] = btu[r - 1];
    }
    g.model_txt1 = "HX 310 ";
    g.model_txt2 = "HX 520 ";
    g.model_txt3 = "HX 730 ";
    g.model_name = "HX 520";
    g.model_price[2] = cy(4200);
    for (int m = 1; m <= 12; ++m) {
        g.month_city_a[m] = c.rh[m - 1];
        g.month_city_b[m] = c.sun[m - 1];
        g.month_city_c[m] = c.air[m - 1];
        g.temp_table[m][6] = 82;
        g.run_state[m][0] = 1;
        g.month_hours_c[m][0] = 8;
    }
    g.wind_mph = c.wind;
    g.rate_elec = cy(c.elec);
    g.rate_natgas = cy(c.gas);
    g.pool_area = 450;
    g.pool_depth = 5;
    g.sun_pct = 75;
    g.heat_days = 7;
    g.heat_hours = 12;
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
}

void run(benchmark::State& state) {
    ui::Script quiet;   // no dialog can block a benchmark
    for (auto _ : state) {
        bool ok = engine::calc_all();
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(g.calc_f32.data());
    }
    if (!quiet.shown().empty()) state.SkipWithError("the engine showed a message");
}

void BM_CalcAll_Florida(benchmark::State& state) {
    project(kOrlando);
    run(state);
}
BENCHMARK(BM_CalcAll_Florida);

// Chicago: five winter months the pump cannot run in (temperatures lowered).
void BM_CalcAll_Chicago(benchmark::State& state) {
    project(kChicago);
    run(state);
}
BENCHMARK(BM_CalcAll_Chicago);

// Five heating days a week: each month also finds the water's equilibrium.
void BM_CalcAll_Florida_DaysOff(benchmark::State& state) {
    project(kOrlando);
    g.heat_days = 5;
    run(state);
}
BENCHMARK(BM_CalcAll_Florida_DaysOff);

// A heat pump backed up by the gas heater.
void BM_CalcAll_Chicago_Backup(benchmark::State& state) {
    project(kChicago);
    g.backup_on = 1;
    run(state);
}
BENCHMARK(BM_CalcAll_Chicago_Backup);

// Worst case: a pool too large for 37 units, with days off, so that most
// months search for the temperature the system can hold.
void BM_CalcAll_Huge_DaysOff(benchmark::State& state) {
    project(kChicago);
    g.pool_area = 50000;
    g.heat_days = 4;
    run(state);
}
BENCHMARK(BM_CalcAll_Huge_DaysOff);

// The monthly model alone.
void BM_Calc_Florida(benchmark::State& state) {
    project(kOrlando);
    ui::Script quiet;
    for (auto _ : state) {
        bool ok = engine::Calc();
        benchmark::DoNotOptimize(ok);
    }
}
BENCHMARK(BM_Calc_Florida);

}  // namespace
