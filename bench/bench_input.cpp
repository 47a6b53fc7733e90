// The project input window's keystroke path: a box's text changes, the
// value is checked and stored, the project is recalculated and the results
// grid redrawn. It has to keep up with typing (well under 1 ms a key).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/windows.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "platform/form.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

namespace {

// A loaded input window on a copy of the built default data.
class InputWindow {
public:
    InputWindow() {
        testsupport::ensure_app();
        const bool settings = dir_.copy_built({"location.dat", "PumpHP.dat", "defaulte.dat"});
        set_defaults(g);
        dir_.use();
        // The window shows its results through its registry entries.
        windows() = WindowRegistry{};
        register_input_windows();
        if (settings) Dfltinp();
        load_brand_pumps();
        g.fuel_type = 3;  // compared with a gas heater: every column is filled
        w_ = std::make_unique<weathers>();
        w_->Show();
        QApplication::processEvents();
    }
    ~InputWindow() {
        w_.reset();
        windows() = WindowRegistry{};
    }
    weathers& w() { return *w_; }

private:
    ui::Script quiet_;  // no box may wait for a user here
    testsupport::TempDataDir dir_{"heater-bench-input"};
    std::unique_ptr<weathers> w_;
};

// Typing into the pool-area box: Change -> store -> quick recalculation ->
// results grid.
void BM_InputKeystrokeToGrid(benchmark::State& state) {
    InputWindow win;
    plat::TextBox* area = win.w().Text1(0);
    bool flip = false;
    for (auto _ : state) {
        area->SetText(flip ? "450" : "460");
        flip = !flip;
        benchmark::DoNotOptimize(win.w().result_text(13, weathers::kHpCost));
    }
    if (!area->isEnabled() || win.w().result_text(13, weathers::kHpCost).isEmpty())
        state.SkipWithError("the window did not calculate");
}
BENCHMARK(BM_InputKeystrokeToGrid)->Unit(benchmark::kMicrosecond);

// A cover-hour box, as the printouts write them, on a project heated only
// part of the week (the slowest schedule of the engine).
void BM_InputCoverHoursPartWeek(benchmark::State& state) {
    InputWindow win;
    win.w().Text1(4)->SetText("5");
    plat::TextBox* jan = win.w().Text1(7);
    bool flip = false;
    for (auto _ : state) {
        jan->SetText(flip ? "8" : "16");
        flip = !flip;
        benchmark::DoNotOptimize(win.w().result_text(1, weathers::kHpCost));
    }
}
BENCHMARK(BM_InputCoverHoursPartWeek)->Unit(benchmark::kMicrosecond);

// The same keystroke with the window's layout and painting that follow it
// in the event loop (offscreen).
void BM_InputKeystrokeWithRepaint(benchmark::State& state) {
    InputWindow win;
    plat::MainWindow::instance()->show();
    plat::TextBox* area = win.w().Text1(0);
    bool flip = false;
    for (auto _ : state) {
        area->SetText(flip ? "450" : "460");
        flip = !flip;
        QApplication::processEvents();
    }
}
BENCHMARK(BM_InputKeystrokeWithRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
