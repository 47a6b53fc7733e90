// Speed of the helpers every window and printed page leans on: masks, Val and
// currency conversion and sums.
#include "core/currency.h"
#include "core/vbtext.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<double> kValues = {1234.5, 0.0, 750.5, 98765.4321, -3.456, 12.0, 4567890.125, 0.0341};

void BM_FormatMoney(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        std::string s = vb::Format(kValues[i++ & 7], "$##,##0.00");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_FormatMoney);

void BM_FormatPercent(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        std::string s = vb::Format(kValues[i++ & 7] / 1000.0, "#0.0%");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_FormatPercent);

void BM_Val(benchmark::State& state) {
    const std::vector<std::string> texts = {"1234.5", "750", "  -12abc", "0.0341", "98765.4321", "", "1.2.3", "45"};
    std::size_t i = 0;
    for (auto _ : state) {
        double v = vb::Val(texts[i++ & 7]);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_Val);

void BM_CurrencyFrom(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        Currency c = Currency::from(kValues[i++ & 7] / 29.299392);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CurrencyFrom);

// Twelve monthly costs converted and summed, as for a yearly total.
void BM_CurrencyYearSum(benchmark::State& state) {
    double months[12];
    for (int m = 0; m < 12; ++m) months[m] = 100.0 + 13.37 * m;
    for (auto _ : state) {
        benchmark::DoNotOptimize(months);
        Currency total;
        for (double m : months) total += Currency::from(m);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_CurrencyYearSum);

}  // namespace
