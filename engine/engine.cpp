// The engine's entry points, its failure reports and the display hooks.
#include "engine/engine.h"

#include <exception>
#include <string>

#include "app/model.h"
#include "core/ui.h"
#include "core/windows.h"
#include "engine/fault.h"

namespace engine {

namespace {

// "Error <n> in line <l>" / "Check the data inputs (<stage>)", titled
// " <routine> error". The program goes on: the results are cleared and the
// user can correct the inputs (ending it would lose the unsaved project).
void report(const char* routine, int number, int line, int stage) {
    ui::MsgBox("Error " + std::to_string(number) + " in line " + std::to_string(line) + g.crlf +
                   "Check the data inputs (" + std::to_string(stage) + ")",
               ui::vbCritical, std::string(" ") + routine + " error");
}

}  // namespace

bool guarded(const char* routine, int& stage, void (*body)(int& stage)) {
    try {
        body(stage);
        return true;
    } catch (const Fault& f) {
        report(routine, f.number, f.line, f.stage);
    } catch (const ui::ProgramEnd&) {
        throw;
    } catch (const ui::RtError& e) {
        report(routine, e.number, 0, stage);
    } catch (const std::exception&) {
        report(routine, kErrInternal, 0, stage);
    } catch (...) {
        report(routine, kErrInternal, 0, stage);
    }
    clear_engine_results();
    return false;
}

bool calc_all() { return Calc() && Pbcalc() && Yrcalc(); }  // Calc ends with the month costs

void clear_engine_results() {
    g.combo_idx = 0;
    for (int m = 0; m <= 12; ++m) {
        g.temp_table[m][5] = g.temp_table[m][6];
        g.hrs_flag[m] = 0;
        g.month_off[m] = 0;
    }
    g.temp_lowered = 0;
    g.month_need = {};
    g.loss_evap = {};
    g.loss_conv = {};
    g.month_load = {};
    g.month_cop = {};
    g.backup_month = {};
    g.need_total = 0;
    g.cop_sum = g.cop_avg = 0;
    clear_month_costs();
    clear_payback();
    clear_year_tables();
    g.equip_cost = Currency{};
    g.year_saving = Currency{};
    g.hp_month_cost = 0;
    g.month_cost_elec = g.month_cost_gas = g.month_cost_propane = g.month_cost_oil = Currency{};
    g.reduce_factor = 1.0f;
    g.calc_f32 = {};
    g.proj_save.clear();
}

}  // namespace engine

namespace {
void show_results_body(int& stage) {
    stage = engine::ST_DISPLAY;
    if (windows().show_results) windows().show_results();
}
}  // namespace

void run_calc() {
    engine::calc_all();  // on a failure the results have been cleared and are shown so
    int stage = engine::ST_DISPLAY;
    engine::guarded("run_calc", stage, show_results_body);
}

void clear_results() {
    if (windows().clear_results) windows().clear_results();
}

void show_ambient() {
    if (windows().show_ambient) windows().show_ambient();
}
