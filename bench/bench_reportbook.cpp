// The detailed report book of a pool with a gas heater, compared with three
// competitors, from the call to the PDF written (no printer installed): the
// tables, four systems through the engine, Pumpchk.dat, and the painting.
#include <benchmark/benchmark.h>

#include "app/model.h"
#include "bench/print_desk.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "reportbook/prt1.h"
#include "tests/support/samples.h"

namespace {

class ReportDesk : public PdfDesk {
public:
    ReportDesk() : PdfDesk("report") {
        windows() = WindowRegistry{};
        project();
    }

private:
    // The report book tests' pool in Orlando heated October to April at
    // 82 °F with a natural-gas heater, and the three competitors of the
    // default data.
    static void project() {
        samples::from_data::pool_with_gas();
        samples::from_data::three_competitors();
        g.cust_name = "Mr. and Mrs. J. Alvarez";
        engine::calc_all();
    }
};

ReportDesk& desk() {
    static ReportDesk d;
    return d;
}

void BM_ReportBookWithThreeCompetitorsToPdf(benchmark::State& state) {
    ReportDesk& d = desk();
    ui::Script answers;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t before = d.files();
        answers.answer(ui::vbNo);  // "Printout saved ... Open it now?"
        state.ResumeTiming();
        prt1::The_Print();
        state.PauseTiming();
        if (d.files() != before + 1) state.SkipWithError("no PDF written");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReportBookWithThreeCompetitorsToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
