// Speed of the engine: the quick recalculation runs Calc and the cost stages
// on every keystroke of the project input window, so a twelve-month project
// must take well under a millisecond (target: 20 µs).
#include <benchmark/benchmark.h>

#include "app/model.h"
#include "core/ui.h"
#include "engine/engine.h"
#include "tests/support/samples.h"

namespace {

using namespace samples;

// The tests' outdoor 450 ft² pool at 82 °F all year with an existing gas
// heater, 8 hours of cover a night and 12 heating hours a day.
void project(const Climate& c) {
    set_project(c);
    set_cover(8);
    g.heat_hours = 12;
    g.model_price[2] = cy(4200);
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
}

void run(benchmark::State& state) {
    ui::Script quiet;  // no dialog can block a benchmark
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

// Calc alone: the monthly model and the month costs (what the report book runs).
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
