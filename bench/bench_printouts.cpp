// The printouts from the printout selection window's Print button to their
// files: the plain-text audit painted into its PDF (no printer installed),
// and, with the office renderer warm, the Word audit with the chart and the
// Word summary. A dealer waits for these in front of the customer.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "app/ui/register.h"
#include "app/ui/startup.h"
#include "bench/print_desk.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "office/render.h"
#include "printouts/ui/Prt2.h"
#include "printouts/ui/register.h"

namespace {

// The input window on a copy of the built default data, with a project
// compared with a gas heater, and no printer: printouts become PDF files.
class PrintDesk : public PdfDesk {
public:
    PrintDesk() : PdfDesk("print") {
        windows() = WindowRegistry{};
        register_app_windows();
        register_input_windows();
        register_printouts_windows();
        g.fuel_type = 3;
        g.cust_name = "Mr. and Mrs. J. Alvarez";
        frm_weathers()->Show();
        QApplication::processEvents();
    }
    // Opens the selection window from the input window and picks a row.
    Prt2* choose(int row) {
        frm_weathers()->SSCommand1(11)->DoClick();
        Prt2* p = frm_prt2();
        p->Combo1->SetListIndex(row);
        return p;
    }
};

PrintDesk& desk() {
    static PrintDesk d;
    return d;
}

// Print with "Plain text" chosen, to the PDF written.
void BM_PlainTextAuditToPdf(benchmark::State& state) {
    PrintDesk& d = desk();
    ui::Script answers;
    for (auto _ : state) {
        state.PauseTiming();
        Prt2* p = d.choose(3);
        const std::size_t before = d.files();
        answers.answer(ui::vbNo);  // "Printout saved ... Open it now?"
        state.ResumeTiming();
        p->SSCommand1[0]->DoClick();
        state.PauseTiming();
        if (d.files() != before + 1) state.SkipWithError("no PDF written");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainTextAuditToPdf)->Unit(benchmark::kMillisecond);

// Print of a Word printout (row 2 "One coverage and chart": the audit and
// the chart, two PDFs; row 0 "Summary": three calculations, one PDF), with
// the office renderer already running, to the PDFs written.
void office_printout(benchmark::State& state, int row, std::size_t pdfs) {
    PrintDesk& d = desk();
    if (!office::officeAvailable()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    office::renderer::start();
    ui::Script answers;
    for (auto _ : state) {
        state.PauseTiming();
        Prt2* p = d.choose(row);
        const std::size_t before = d.files();
        for (std::size_t i = 0; i < pdfs; ++i) answers.answer(ui::vbNo);  // "Open it now?"
        state.ResumeTiming();
        p->SSCommand1[0]->DoClick();
        state.PauseTiming();
        if (d.files() != before + pdfs) state.SkipWithError("the PDFs were not written");
        state.ResumeTiming();
    }
    for (const ui::Shown& s : answers.unexpected()) state.SkipWithError(("unexpected box: " + s.text).c_str());
    office::renderer::stop();
}
void BM_AuditAndChartToPdf(benchmark::State& state) { office_printout(state, 2, 2); }
void BM_SummaryToPdf(benchmark::State& state) { office_printout(state, 0, 1); }
BENCHMARK(BM_AuditAndChartToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SummaryToPdf)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
