// The Word audit of the project's own cover hours ("One coverage").
#include <string>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/values.h"
#include "printouts/word_doc.h"

namespace {

const char* const kMoney = "$##,##0.00";

std::string money(double v) { return vb::Format(v, kMoney); }

std::string hours_cell(float h) {
    if (h >= 1) return vb::Format(h, "##");
    if (h <= 0) return "Off";
    return " <1";
}

void fill_audit(WordDoc& d) {
    d.open(false);
    d.fill("bm1", heading_name());
    d.fill("bm3", audit_title());
    d.fill("bm3b", g.cust_name);
    d.fill("bm4b", g.cust_street);
    d.fill("bm5b", g.cust_city);
    fill_project_block(d, false);

    const bool heater = has_heater();
    const std::string brand = short_brand();
    const std::string T = temp_unit();
    const std::string fuel = fuel_name();
    d.fill("bm19b", "Avg Air");
    d.fill("bm19c", "Water");
    d.fill("bm19d", "Cover");
    d.fill("bm19e", "Heating");
    d.fill("bm19f", "HeatPump");
    d.fill("bm19g", vb::Left(fuel, 7));
    d.fill("bm19h", heater ? vb::Left(brand, 9) : "     ");
    d.fill("bm20b", "Temp " + T);
    d.fill("bm20c", "Temp " + T);
    d.fill("bm20d", "Hrs/Day");
    d.fill("bm20e", "Hrs/Day");
    d.fill("bm20f", "$ Cost");
    d.fill("bm20g", heater ? (has_backup() ? "$ Backup" : "$ Cost") : "     ");
    d.fill("bm20h", heater ? "$ Savings" : "     ");

    double hp_year = 0;
    Currency fuel_year, saving_year;
    calculate3(hp_year, fuel_year, saving_year);

    for (int m = 1; m <= 12; ++m) {
        const std::string row = "bm" + std::to_string(20 + m);
        d.fill(row + "a", "   " + rep_text(m, 1));
        d.fill(row + "b", "   " + rep_text(m, 2));
        d.fill(row + "c", rep_text(m, 3));
        d.fill(row + "d", rep_text(m, 4));
        d.fill(row + "e", hours_cell(g.calc_f32[calc_row::hours(m)]));
        // A month the system does not heat reads "Off", never $0.00.
        const bool off = !month_heated(m);
        d.fill(row + "f", pump_off(m) ? "Off" : money(g.calc_f32[calc_row::hp_cost(m)]));
        d.fill(row + "g", !heater ? "" : off ? "Off" : money(g.calc_f32[calc_row::heater_cost(m)]));
        d.fill(row + "h", !heater ? "" : off ? "Off" : money(g.calc_f32[calc_row::saving(m)]));
    }

    d.fill("bm33c", "Total:");
    d.fill("bm33f", money(g.tot_hp.toDouble()));
    if (heater) {
        d.fill("bm33g", money(g.tot_heater.toDouble()));
        d.fill("bm33h", money(g.tot_saving.toDouble()));
    }
    d.fill("bm34c", heater ? "5 years:" : "5 year total:");
    d.fill("bm34f", money((g.tot_hp * 5).toDouble()));
    if (heater) {
        d.fill("bm34g", money((g.tot_heater * 5).toDouble()));
        d.fill("bm34h", money((g.tot_saving * 5).toDouble()));
        // As on the plain-text page: no saving, no saving sentence.
        if (g.tot_saving > Currency{})
            d.fill("bm35", "  By using " + with_article(brand) + " heater you will be saving " +
                               money(g.tot_saving.toDouble()) + " per year" + " or " +
                               money((g.tot_saving * 5).toDouble()) + " in 5 years.");
    }
    d.fill("bm37", "  Above data is based on historical weather data of 30 years in " + vb::Trim(g.city_name) + ".");
    d.fill("bm38", "  Wind speed will greatly affect the performance and cost of operation.");
    d.fill("bm39",
           "  For further information please contact your " + brand + " distributor.          Date: " + date_text());
    // Without an existing heater there is no saving to project: no label
    // standing without its figure.
    if (heater) d.fill("bm50", " Projected cost savings: " + g.proj_save);
    d.finish();
}

}  // namespace

bool prt_word() {
    ui::BusyPointer busy;
    WordDoc d("Prt Word err");
    try {
        fill_audit(d);
        return true;
    } catch (...) {
        d.fail(std::current_exception());
        return false;
    }
}
