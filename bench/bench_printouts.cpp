// The printouts from the printout selection window's Print button to their
// files: the plain-text audit painted into its PDF (no printer installed),
// and, with the office renderer warm, the Word audit with the chart and the
// Word summary. A dealer waits for these in front of the customer.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "app/ui/register.h"
#include "app/ui/startup.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "platform/print/destination.h"
#include "platform/print_qt.h"
#include "platform/testing.h"
#include "printouts/ui/Prt2.h"
#include "printouts/ui/register.h"

namespace fs = std::filesystem;

namespace {

// The input window on a copy of the built default data, with a project
// compared with a gas heater, and no printer: printouts become PDF files.
class PrintDesk {
public:
    PrintDesk() {
        plat::ensureApp();
        plat::installPrinting();
        prn::setDefaultPrinterLookup([] { return std::string(); });
        prn::setChosenPrinter("");
        const char* env = std::getenv("HEATER_BIN_DIR");
        const fs::path bin = env ? fs::path(env) : fs::read_symlink("/proc/self/exe").parent_path() / ".." / "bin";
        dir_ = fs::temp_directory_path() / ("heater-bench-print-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const auto& e : fs::directory_iterator(bin))
            if (e.is_regular_file()) fs::copy_file(e.path(), dir_ / e.path().filename());
        set_defaults(g);
        g.data_dir = dir_.string() + "/";
        Dfltinp();
        load_brand_pumps();
        load_locations();
        windows() = WindowRegistry{};
        install_window_hooks();
        register_app_windows();
        register_input_windows();
        register_printouts_windows();
        g.fuel_type = 3;
        g.cust_name = "Mr. and Mrs. J. Alvarez";
        frm_weathers()->Show();
        QApplication::processEvents();
    }
    ~PrintDesk() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // Opens the selection window from the input window and picks a row.
    Prt2* choose(int row) {
        frm_weathers()->SSCommand1(11)->DoClick();
        Prt2* p = frm_prt2();
        p->Combo1->SetListIndex(row);
        return p;
    }
    std::size_t files() const {
        const fs::path out = dir_ / "printouts";
        if (!fs::exists(out)) return 0;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(out), fs::directory_iterator{}));
    }

private:
    fs::path dir_;
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
        answers.answer(ui::vbNo);   // "Printout saved ... Open it now?"
        state.ResumeTiming();
        p->SSCommand1[0]->DoClick();
        state.PauseTiming();
        if (d.files() != before + 1) state.SkipWithError("no PDF written");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainTextAuditToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
