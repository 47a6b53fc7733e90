// The detailed report book of a pool with a gas heater, compared with three
// competitors, from the call to the PDF written (no printer installed): the
// tables, four systems through the engine, Pumpchk.dat, and the painting.
#include <benchmark/benchmark.h>

#include "app/data.h"
#include "app/model.h"
#include "bench/print_desk.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "reportbook/prt1.h"

namespace {

class ReportDesk : public PdfDesk {
public:
    ReportDesk() : PdfDesk("report") {
        windows() = WindowRegistry{};
        project();
    }

private:
    // An outdoor 450 ft² pool in Orlando heated October to April at 82 °F,
    // a natural-gas heater, and the three competitors of the default data.
    static void project() {
        for (int i = 1; i <= g.city_count; ++i) {
            const CityRecord& r = g.city_tab[i];
            if (vb::Trim(r.city) != "Orlando") continue;
            g.city_name = "Orlando";
            g.rate_elec = cy(r.elec_cost);
            g.rate_natgas = cy(r.gas_cost);
            g.wind_mph = r.wind;
            for (int m = 1; m <= 12; ++m) {
                g.month_city_a[m] = r.humidity[m];
                g.month_city_b[m] = r.sun[m];
                g.month_city_c[m] = r.air_temp[m];
            }
        }
        read_pumpa("Kestrolin", "HX 520");
        g.pool_area = 450;
        g.pool_depth = 5;
        for (int m = 1; m <= 12; ++m) {
            g.run_state[m][0] = m >= 10 || m <= 4 ? 1 : 0;
            g.temp_table[m][6] = g.temp_table[m][5] = 82;
            g.month_hours_c[m][0] = 12;
        }
        g.fuel_type = HT_GAS;
        g.heater_eff = 80;
        g.heater_cost = cy(2400);
        g.model_price[1] = cy(4600);
        g.model_price[2] = cy(3900);
        g.model_price[3] = cy(3400);
        g.cust_name = "Mr. and Mrs. J. Alvarez";
        g.do_compare = -1;
        g.comp_names[1] = "Brisalto";
        g.comp_names[2] = "Corvane Pool";
        g.comp_names[3] = "Tessaric";
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
