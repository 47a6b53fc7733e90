// mkdata SRCDIR OUTDIR
//
// Builds the shipped data files from the readable sources in SRCDIR:
//   cities.csv       -> location.dat
//   pumps.csv        -> PumpHP.dat (records 1..100)
//   competitors.csv  -> PumpHP1.dat, PumpHP2.dat, PumpHP3.dat
//   (the defaults) and lease_factors.csv -> defaulte.dat
// OUTDIR is the folder of the shipped files (bin/defaults/), the tool's own:
// every file is written afresh. The dealer's files in the data folder are
// never the tool's output; the build creates them from these only where
// one is missing (cmake/default_data.cmake).
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/model.h"
#include "app/records.h"
#include "app/settings.h"
#include "core/recfile.h"
#include "core/vbtext.h"

namespace fs = std::filesystem;

namespace {

// ---- reading the CSV sources ------------------------------------------------------

struct CsvRow {
    int line = 0;
    std::vector<std::string> cells;
};

[[noreturn]] void fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

// Splits one line into cells; a cell may be quoted ("a, b"), "" inside
// quotes standing for one quote.
std::vector<std::string> splitCsv(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cells.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// The data rows of a CSV file whose header must start with `firstColumn`;
// every row must have as many cells as the header.
std::vector<CsvRow> readCsv(const fs::path& path, const std::string& firstColumn) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot be read");
    std::vector<CsvRow> rows;
    std::string line;
    std::size_t columns = 0;
    for (int n = 1; std::getline(in, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;  // blank or a comment
        auto cells = splitCsv(line);
        if (columns == 0) {
            if (cells.front() != firstColumn) fail(path.string(), n, "unexpected header");
            columns = cells.size();
            continue;
        }
        if (cells.size() != columns)
            fail(path.string(), n, std::to_string(cells.size()) + " cells, expected " + std::to_string(columns));
        rows.push_back({n, std::move(cells)});
    }
    return rows;
}

double number(const std::string& file, const CsvRow& row, std::size_t col) {
    const std::string& s = row.cells.at(col);
    double v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || res.ec != std::errc() || res.ptr != s.data() + s.size())
        fail(file, row.line, "column " + std::to_string(col + 1) + " is not a number: \"" + s + "\"");
    return v;
}

int whole(const std::string& file, const CsvRow& row, std::size_t col, int lo, int hi) {
    double v = number(file, row, col);
    if (v != static_cast<int>(v) || v < lo || v > hi)
        fail(file, row.line,
             "column " + std::to_string(col + 1) + " must be a whole number " + std::to_string(lo) + ".." +
                 std::to_string(hi));
    return static_cast<int>(v);
}

// Rating row r stands for the air temperature 90 - 5 r °F (85 .. 50).
void checkAir(const std::string& file, const CsvRow& row, int r, double air) {
    if (air != 90 - 5 * r)
        fail(file, row.line, "row " + std::to_string(r) + " is " + std::to_string(90 - 5 * r) + " F");
}

// ---- the sources -------------------------------------------------------------------

// city,state,source,elec_cost,gas_cost,propane_cost,oil_cost,wind,hum1..12,sun1..12,temp1..12
struct City {
    CityRecord rec;
    double prices[4] = {};  // as written, for the money values of the defaults
};

std::vector<City> readCities(const fs::path& path) {
    const std::string file = path.string();
    std::vector<City> out;
    for (const CsvRow& row : readCsv(path, "city")) {
        if (row.cells.size() != 44) fail(file, row.line, "expected 44 columns");
        City c;
        c.rec.city = row.cells[0];
        c.rec.state = row.cells[1];
        for (int i = 0; i < 4; ++i) c.prices[i] = number(file, row, 3 + i);
        c.rec.elec_cost = static_cast<float>(c.prices[0]);
        c.rec.gas_cost = static_cast<float>(c.prices[1]);
        c.rec.propane_cost = static_cast<float>(c.prices[2]);
        c.rec.oil_cost = static_cast<float>(c.prices[3]);
        c.rec.wind = static_cast<float>(number(file, row, 7));
        for (int m = 1; m <= 12; ++m) {
            c.rec.humidity[m] = static_cast<float>(number(file, row, 7 + m));
            c.rec.sun[m] = static_cast<float>(number(file, row, 19 + m));
            c.rec.air_temp[m] = static_cast<float>(number(file, row, 31 + m));
        }
        out.push_back(std::move(c));
    }
    if (out.size() > records::kMaxCities) throw std::runtime_error(file + ": more than 500 cities");
    return out;
}

// record,brand,model_no,model,in_list,row,air_f,rh,cop,btu,water_f
void readPumps(const fs::path& path, arr<PumpBrand, 100>& tab) {
    const std::string file = path.string();
    for (const CsvRow& row : readCsv(path, "record")) {
        const int k = whole(file, row, 0, 1, 100);
        const int m = whole(file, row, 2, 1, 9);
        const int r = whole(file, row, 5, 1, 8);
        checkAir(file, row, r, number(file, row, 6));
        PumpBrand& b = tab[k];
        b.brand = row.cells[1];
        b.model[m] = row.cells[3];
        b.in_list[m] = static_cast<i16>(whole(file, row, 4, 0, 1));
        const int p = (m - 1) * 8 + r;
        b.rh[p] = static_cast<float>(number(file, row, 7));
        b.cop[p] = static_cast<float>(number(file, row, 8));
        b.btu[p] = number(file, row, 9);
        b.water_temp[p] = static_cast<float>(number(file, row, 10));
    }
}

// competitor,brand,model_no,model,row,air_f,rh,cop,btu,water_f
void readCompetitors(const fs::path& path, CompetitorPump (&comp)[4]) {
    const std::string file = path.string();
    for (const CsvRow& row : readCsv(path, "competitor")) {
        const int k = whole(file, row, 0, 1, 3);
        const int m = whole(file, row, 2, 1, 3);
        const int r = whole(file, row, 4, 1, 8);
        checkAir(file, row, r, number(file, row, 5));
        CompetitorPump& c = comp[k];
        c.brand = row.cells[1];
        c.model[m] = row.cells[3];
        const int p = (m - 1) * 8 + r;
        c.rh[p] = static_cast<float>(number(file, row, 6));
        c.cop[p] = static_cast<float>(number(file, row, 7));
        c.btu[p] = number(file, row, 8);
        c.water_temp[p] = static_cast<float>(number(file, row, 9));
    }
}

// term,2000-5000,5001-15000,15001-25000,over-25000: the lease rate key
// factors by term (12, 18, 24, 36, 48, 60 months) and amount bracket.
using LeaseFactors = arr2<double, 6, 4>;
LeaseFactors readLeaseFactors(const fs::path& path) {
    const std::string file = path.string();
    static const int kTerms[] = {12, 18, 24, 36, 48, 60};
    LeaseFactors f{};
    const auto rows = readCsv(path, "term");
    if (rows.size() != 6) throw std::runtime_error(file + ": six terms expected");
    for (std::size_t t = 1; t <= 6; ++t) {
        const CsvRow& row = rows[t - 1];
        if (row.cells.size() != 5) fail(file, row.line, "a term and four factors expected");
        if (whole(file, row, 0, 12, 60) != kTerms[t - 1]) fail(file, row.line, "terms 12, 18, 24, 36, 48, 60 expected");
        for (std::size_t b = 1; b <= 4; ++b) {
            const double v = number(file, row, b);
            if (!(v > 0 && v < 1)) fail(file, row.line, "a factor is a payment per dollar, above 0 and below 1");
            f[t][b] = v;
        }
    }
    return f;
}

// The settings a new installation starts with: the program's defaults and,
// as the example project, the first Florida city with the middle model of
// the first brand's series A.
void dealerDefaults(DataModel& m, const std::vector<City>& cities, const arr<PumpBrand, 100>& pumps,
                    const LeaseFactors& lease) {
    set_defaults(m);
    m.lease_fact = lease;
    m.brand_code = 1;
    m.series_sel = 1;
    m.brand_name = vb::Trim(pumps[1].brand);
    m.model_name = vb::Trim(pumps[1].model[2]);
    m.area_group = 0;
    m.area_sel = 0;
    for (const City& c : cities) {
        if (vb::UCase(vb::Trim(c.rec.state)) != "FL") continue;
        m.city_name = c.rec.city;
        m.sel_state = c.rec.state;
        m.rate_elec = cy(c.prices[0]);
        m.rate_natgas = cy(c.prices[1]);
        m.rate_propane = cy(c.prices[2]);
        m.rate_oil = cy(c.prices[3]);
        m.wind_mph = c.rec.wind;
        for (int mo = 1; mo <= 12; ++mo) {
            m.month_city_a[mo] = c.rec.humidity[mo];
            m.month_city_b[mo] = c.rec.sun[mo];
            m.month_city_c[mo] = c.rec.air_temp[mo];
        }
        break;
    }
}

// ---- writing ------------------------------------------------------------------------

void check(bool ok, const fs::path& out, const std::string& why) {
    if (!ok) throw std::runtime_error(out.string() + ": " + why);
    std::printf("mkdata: wrote %s\n", out.string().c_str());
}

int run(const fs::path& src, const fs::path& outDir) {
    const std::string out = outDir.string() + "/";
    std::string why;

    const std::vector<City> cities = readCities(src / "cities.csv");
    std::vector<CityRecord> recs;
    for (const City& c : cities) recs.push_back(c.rec);
    check(records::writeCityFile(out, recs, &why), out + "location.dat", why);

    auto pumps = std::make_unique<arr<PumpBrand, 100>>();
    readPumps(src / "pumps.csv", *pumps);
    check(records::writePumpFile(out + "PumpHP.dat", *pumps, &why), out + "PumpHP.dat", why);

    CompetitorPump comp[4];
    readCompetitors(src / "competitors.csv", comp);
    for (int k = 1; k <= 3; ++k) {
        const std::string path = out + "PumpHP" + std::to_string(k) + ".dat";
        check(records::writeCompetitorFile(path, comp[k], &why), path, why);
    }

    auto m = std::make_unique<DataModel>();
    dealerDefaults(*m, cities, *pumps, readLeaseFactors(src / "lease_factors.csv"));
    check(rec::replaceFile(out + "defaulte.dat", settings::toText(*m), &why), out + "defaulte.dat", why);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkdata SRCDIR OUTDIR\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdata: %s\n", e.what());
        return 1;
    }
}
