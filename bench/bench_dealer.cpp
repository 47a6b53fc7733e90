// The dealer's city data: importing a 300-row weather-city spreadsheet
// (read, convert, write location.dat; at most 100 ms) and opening the city
// list window on a file of 500 cities (at most 50 ms).
//
// bench/data/hpcities300.xls: the default cities cycled to 300 rows in the
// import's layout (names in capitals with ", ST"), converted from CSV by
// LibreOffice.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"
#include "dealer/cityimport.h"
#include "dealer/ui/setdata.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

namespace {

std::string temp_dir(const char* what) {
    std::string tmpl = (fs::temp_directory_path() / (std::string("heater-bench-") + what + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) std::abort();
    return tmpl + "/";
}

void BM_ImportCitySpreadsheet300(benchmark::State& state) {
    const std::string dir = temp_dir("import");
    const std::string sheet = std::string(HEATER_BENCH_SOURCE) + "/bench/data/hpcities300.xls";
    std::size_t n = 0;
    for (auto _ : state) {
        cityimport::Sheet s;
        std::string why;
        if (!cityimport::read_workbook(sheet, s, &why)) state.SkipWithError(why.c_str());
        const auto cities = cityimport::convert(s);
        if (!records::writeCityFile(dir, cities, &why)) state.SkipWithError(why.c_str());
        n = cities.size();
    }
    state.counters["cities"] = static_cast<double>(n);
    fs::remove_all(dir);
}
BENCHMARK(BM_ImportCitySpreadsheet300)->Unit(benchmark::kMillisecond);

void BM_OpenCityList500(benchmark::State& state) {
    testsupport::ensure_app();
    const std::string dir = temp_dir("citylist");
    set_defaults(g);
    g.data_dir = dir;
    std::vector<CityRecord> cities;
    for (int i = 1; i <= 500; ++i) {
        CityRecord r;
        r.city = "City " + std::to_string(i);
        r.state = i % 3 == 0 ? "FL" : i % 3 == 1 ? "TX" : "Germany";
        cities.push_back(r);
    }
    std::string why;
    records::writeCityFile(dir, cities, &why);
    setdata_end_program() = [] {};
    setdata* w = frm_setdata();
    for (auto _ : state) {
        w->Move(3150, 1400, 6945, 5400);  // load, activate: the lists built from the file
        state.PauseTiming();
        {
            ui::Script quiet;  // the restart note on closing
            w->Unload();
        }
        state.ResumeTiming();
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_OpenCityList500)->Unit(benchmark::kMillisecond);

}  // namespace
