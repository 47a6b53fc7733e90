// The energy-cost chart ("One coverage and chart", after the Word audit):
// the brand's workbook, whose sheet already carries the chart over its data
// cells, filled with the month costs, pictures, captions and legend, printed
// and closed unsaved.
#include <string>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "printouts/office_app.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/values.h"

namespace {

constexpr int kErrCannotCreate = 429;
constexpr int kErrTemplate = 1004;

const char* const kColumns[] = {"b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m"};

// The heat-pump picture number: brand groups 1, 3, 5 (first series) take
// 1..3 and groups 2, 4, 6 take 4..6 by the models used; anything else 0.
int chart_picture() {
    if (g.models_used < 1 || g.models_used > 3 || g.pump_rec < 1 || g.pump_rec > 6) return 0;
    return (g.pump_rec % 2 == 1 ? 0 : 3) + g.models_used;
}

std::string legend() {
    const char* fuel = nullptr;
    switch (existing_heater()) {
        case HT_ELEC: fuel = "Electricity"; break;
        case HT_GAS: fuel = "Natural Gas"; break;
        case HT_PROPANE: fuel = "Propane"; break;
        case HT_OIL: fuel = "Oil"; break;
        default: return "";
    }
    return std::string(9, ' ') + vb::FixLen(fuel, 21) + "Saving" + std::string(13, ' ') + "Heat Pump";
}

std::string chart_fuel_name() {
    const std::string l = legend();
    return l.empty() ? std::string() : vb::Trim(vb::Mid(l, 10, 21));
}

class Chart {
public:
    explicit Chart(office_app::Excel& x) : x_(x) {}
    int step = 1;
    std::string picture;  // the picture file being inserted

    void cell(const std::string& address, const office_app::CellValue& v) {
        x_.Range_Select(address);
        x_.ActiveCell_FormulaR1C1(v);
    }
    void number(const std::string& address, float v) { cell(address, static_cast<double>(v)); }
    void text(const std::string& address, const std::string& t) { cell(address, t); }

    void fill() {
        step = 3;
        x_.Workbooks_Open(g.data_dir + (g.company_var == 0 ? "ENERGY COSTS.xlsx" : "ENERGY COSTS2.xlsx"));
        step = 4;
        for (const char* c : {"F", "G", "H", "I", "J", "K", "L"}) {
            text(std::string(c) + "65", "");
            text(std::string(c) + "66", "");
        }
        step = 5;
        int b = brand_number();
        if (b == 0) b = g.brand_code;
        const int n = chart_picture();
        step = 6;
        x_.Range_Select("K20");
        picture = g.data_dir + "hpopen" + std::to_string(n) + std::to_string(b) + ".bmp";
        x_.Pictures_Insert(picture);
        x_.ShapeRange_LockAspectRatio(false);
        x_.ShapeRange_Height(108.75);
        x_.ShapeRange_Width(97.5);
        step = 7;
        x_.Range_Select("e21");
        picture = g.data_dir + "ksl logo2" + std::to_string(b) + ".bmp";
        x_.Pictures_Insert(picture);
        // The bars set the customer's two ways of heating side by side. In
        // a backed-up system the results table keeps the backup heater's
        // fuel apart from the heat pump's electricity; the heat-pump bar is
        // then the system's cost (both together) and the fuel bar the
        // existing heater heating the pool alone, so that the month's saving
        // is the difference of the two bars, as without a backup.
        const bool backup = has_backup();
        const auto system_cost = [backup](int m) {
            return backup ? g.calc_f32[calc_row::hp_cost(m)] + g.calc_f32[calc_row::heater_cost(m)]
                          : g.calc_f32[calc_row::hp_cost(m)];
        };
        const auto heater_alone = [backup](int m) {
            return backup ? static_cast<float>(g.heater_alone_cy[m].toDouble()) : g.calc_f32[calc_row::heater_cost(m)];
        };
        step = 8;
        for (int m = 1; m <= 12; ++m) number(std::string(kColumns[m - 1]) + "3", system_cost(m));
        for (int m = 1; m <= 12; ++m) number(std::string(kColumns[m - 1]) + "2", g.calc_f32[calc_row::saving(m)]);
        step = 9;
        float S = 0;
        for (int m = 1; m <= 12; ++m) S += g.calc_f32[calc_row::saving(m)];
        step = 10;
        for (int m = 1; m <= 12; ++m) number(std::string(kColumns[m - 1]) + "1", heater_alone(m));
        float system5 = g.calc_f32[calc_row::kFiveYearHp], alone5 = g.calc_f32[calc_row::kFiveYearHeater];
        if (backup) {
            system5 = static_cast<float>(((g.tot_hp + g.tot_heater) * 5).toDouble());
            alone5 = static_cast<float>((g.tot_heater_alone * 5).toDouble());
        }
        number("b6", alone5);
        number("b7", system5);
        number("b8", g.calc_f32[calc_row::kFiveYearSaving]);
        // A month the system does not heat has no bars; its name under the
        // chart says "Off" rather than leaving an empty place that reads $0.
        for (int m = 1; m <= 12; ++m)
            text(std::string(kColumns[m - 1]) + "4", g.month_name[m] + (month_heated(m) ? "" : "\nOff"));
        step = 11;
        // Whole dollars, rounded as the project window and the pages round
        // them; "$###,##0" so that no saving reads "$0", not a lone "$".
        text("j65", vb::Format(S, "$###,##0"));
        text("j66", vb::Format(g.calc_f32[calc_row::kFiveYearSaving], "$###,##0"));
        step = 12;
        std::string caption, model_b, model_c, model_a;
        pump_title(caption, model_b, model_c, model_a);
        text("I29", "Proposed System:   " + caption);
        step = 14;
        text("J15", heading_name());
        step = 15;
        text("j14", audit_title());
        text("j17", g.cust_name);
        text("j18", g.cust_street);
        text("j19", g.cust_city);
        step = 16;
        text("g65", "Savings in the first year:");
        text("g66", "Savings after five years:");
        step = 17;
        text("a10", legend());
        text("a1", chart_fuel_name());
        text("a6", chart_fuel_name());
        step = 18;
        x_.PageSetup_PrintArea("$C$12:$o$68");
        step = 19;
        x_.PrintOut();
    }

private:
    office_app::Excel& x_;
};

// A failure in the workbook (1004) says the template may be damaged, except
// where the template is not what failed: a picture file (steps 6 and 7) or
// the printing itself (step 19) is named instead.
// A workbook failure (1004) says the template may be damaged, except where
// the template is not what failed: a picture file (steps 6 and 7) or the
// printing itself (step 19) is named instead.
void report(int number, const std::string& description, int step, const std::string& picture) {
    if (number != kErrTemplate) {
        ui::MsgBox(description + vb::Str(number) + " in " + vb::Str(step), ui::vbOKOnly, "Prt Graph err");
        return;
    }
    std::string what = "Cannot insert picture. Template may be damaged!";
    std::string title = "Please check the template for the graphic printout";
    if (step == 6 || step == 7) {
        what = "Cannot insert picture " + picture + ": the file is missing or is not a picture";
        title = "Prt Graph err";
    } else if (step == 19) {
        what = "The chart could not be printed: " + description;
        title = "Prt Graph err";
    }
    ui::MsgBox(what + "\rError " + vb::Str(number) + " in " + vb::Str(step) + "\rThe graphic charts will be aborted",
               ui::vbOKOnly, title);
}

}  // namespace

void prt_graph() {
    ui::BusyPointer busy;
    std::unique_ptr<office_app::Excel> x;
    int step = 2;
    std::string picture;
    try {
        const office_app::ExcelFactory& make = office_app::excel_factory();
        if (make) x = make();
        if (!x) throw ui::RtError(kErrCannotCreate, ui::ErrorText(kErrCannotCreate));
        Chart chart(*x);
        try {
            chart.fill();
        } catch (...) {
            step = chart.step;
            picture = chart.picture;
            throw;
        }
    } catch (const ui::ProgramEnd&) {
        throw;
    } catch (const ui::Cancelled&) {
        // The dealer stopped the printing on the progress window: no message.
    } catch (const ui::RtError& e) {
        report(e.number, e.description(), step, picture);
    } catch (const std::exception& e) {
        report(51, e.what(), step, picture);
    }
    if (!x) return;  // nothing was started: nothing to quit
    // Step 20: the workbook is closed unsaved first, so that nothing waits
    // for an answer to "save changes?", then the application quits.
    try {
        x->Close();
    } catch (...) {}
    try {
        x->Quit();
    } catch (...) {}
}
