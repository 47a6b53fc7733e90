#include "reportbook/compare.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "app/data.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "engine/engine.h"
#include "reportbook/equip_desc.h"
#include "reportbook/lp.h"
#include "reportbook/prt1.h"
#include "reportbook/pumpchk.h"
#include "reportbook/rows.h"
#include "reportbook/user_system.h"

namespace compet1 {

arr<i16, 4> no_capacity{};

namespace {

// The user's system while a comparison runs (reset_pump puts it back).
std::optional<UserSystem>& saved() {
    static std::optional<UserSystem> s;
    return s;
}

// Holds the user's system for reset_pump while a run lasts.
struct Keep {
    explicit Keep(const UserSystem& u) { saved() = u; }
    ~Keep() { saved().reset(); }
    Keep(const Keep&) = delete;
    Keep& operator=(const Keep&) = delete;
};

constexpr int kChosen = 1;

float f32(Currency c) { return static_cast<float>(c.toDouble()); }

// 1 when the engine had to lower any month's water temperature.
i16 lacks_capacity() {
    for (int m = 1; m <= 12; ++m)
        if (g.temp_table[m][5] != g.temp_table[m][6]) return 1;
    return 0;
}

// cmp_res(k) from the engine's results of the system just computed
// (monthly model and every cost stage).
void fill_result(int k, const std::string& brand, const std::string& equipment) {
    CompareResult& r = g.cmp_res[k];
    r = CompareResult{};
    r.brand = vb::FixLen(brand, 39);
    r.equipment = vb::FixLen(vb::Trim(equipment), 25);
    for (int m = 1; m <= 12; ++m) {
        r.water_temp[m] = g.temp_table[m][5];
        r.cop[m] = g.month_cop[m];
        r.output[m] = static_cast<float>(g.month_load[m][1]);
        r.op_cost[m] = g.calc_f32[calc_row::hp_cost(m)];
        r.hours[m] = vb::CInt(g.calc_f32[calc_row::hours(m)]);
        r.backup_cost[m] = g.calc_f32[calc_row::heater_cost(m)];
    }
    // The years as Table 6 prints them: with the yearly price rises, the
    // saving against the existing heater alone.
    Currency five_years;
    for (int y = 1; y <= 5; ++y) {
        const prt1::YearFigures f = prt1::year_figures(y);
        r.year_cost[y] = f32(f.hp);
        five_years += f.saving;
        if (y == 1) r.save_year1 = f32(f.saving);
    }
    r.year_save[1] = f32(five_years);
    r.equip_cost = f32(g.equip_cost);
    const int ft = existing_heater();
    r.payback = g.payback_f32[ft];
    r.roi = g.invest_f32[ft] * 100.0f;
}

}  // namespace

void reset_pump() {
    reset_run_totals();
    if (saved()) saved()->put_back();
    else load_brand_pumps();
}

std::vector<int> compute_systems(const UserSystem& user) {
    const Keep keep(user);
    std::vector<int> done;
    no_capacity = {};
    std::error_code ec;
    const std::string file = g.data_dir + pumpchk::kFileName;
    std::filesystem::remove(file, ec);  // a missing file is fine

    // The chosen system.
    reset_pump();
    if (!engine::calc_all()) return done;
    no_capacity[4] = lacks_capacity();
    fill_result(kChosen, g.pump_tab[std::clamp<int>(g.pump_rec, 1, 100)].brand, prt1::system_text());
    done.push_back(kChosen);

    // Each named competitor whose data can be read; a competitor whose file
    // is missing or empty has been reported by read_compet and is left out.
    for (int c = 1; c <= 3; ++c) {
        if (g.comp_names[c].empty()) continue;
        if (!read_compet(c)) continue;
        if (!engine::calc_all()) continue;
        const i16 k = static_cast<i16>(c + 1);
        no_capacity[c] = lacks_capacity();
        std::string text;
        equip_desc(k, text);
        fill_result(k, g.comp_names[c], text);
        done.push_back(k);
    }

    // The scratch file holds every system computed, in order; the records
    // read back are the ones printed. A file that cannot be written is said
    // and the records in memory serve.
    std::vector<CompareResult> recs;
    for (int k : done) recs.push_back(g.cmp_res[k]);
    std::string why;
    if (!pumpchk::write(file, recs, &why)) {
        if (why.find(std::strerror(ENOSPC)) != std::string::npos)
            ui::MsgBox("Disk is full", ui::vbOKOnly | ui::vbExclamation, "Sorry");
        else ui::MsgBox(why, ui::vbOKOnly | ui::vbExclamation, "Error in compare");
        return done;
    }
    const auto back = pumpchk::read(file);
    for (std::size_t i = 0; i < back.size() && i < done.size(); ++i) g.cmp_res[done[i]] = back[i];
    return done;
}

// ---- the printed comparison --------------------------------------------------

namespace {

using namespace rb;

using RowPrinter = void (*)(const i16&);

int lm() { return g.left_margin; }
Item T(int k) { return Tab(lm() + k); }

// Row printer `row` for every system computed, the chosen system first.
void rows(const std::vector<int>& systems, RowPrinter row) {
    for (int k : systems) row(static_cast<i16>(k));
}

// A header line of six month names, an empty line and the rows.
void half_year(const std::vector<int>& systems, int first, const int (&cols)[6], RowPrinter row) {
    static const char* const names[] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::vector<Item> header;
    for (int i = 0; i < 6; ++i) {
        header.push_back(T(cols[i]));
        header.push_back(names[first + i]);
    }
    out(header);
    blank();
    rows(systems, row);
}

constexpr int kCols19[6] = {19, 27, 35, 43, 51, 59};
constexpr int kCols21[6] = {21, 29, 37, 45, 53, 61};
constexpr int kCols9[6] = {19, 28, 37, 46, 55, 64};

std::string brand14(const std::string& b) { return vb::FixLen(b, 14); }

void print_comparison(const std::vector<int>& systems) {
    const bool backup = g.backup_on == 1;
    const bool metric = g.units_len != 0;
    const float area = metric ? static_cast<float>(g.pool_area / 10.764) : g.pool_area;
    const std::string unit = std::string(metric ? "M" : "F") + "\u00B2";
    const std::string chosen39 = vb::FixLen(g.cmp_res[1].brand, 39);
    const std::string chosen = vb::Trim(g.cmp_res[1].brand);
    const int n = static_cast<int>(systems.size()) - 1;

    blank(2);
    out({T(25), "COMPETITIVE COMPARISONS"});
    blank();
    out({T(1), "For a ", numSingle(area), " " + unit, backup ? " Backed up " : " domestic ", g.pool_type,
         " in an enviroment as above."});
    blank();
    brand_hdr(1);
    const std::string count = n == 1 ? "1 system is" : n > 1 ? vb::Str(n) + " systems are" : std::string();
    out({T(20), count + " used for comparison"});
    blank();
    for (std::size_t i = 1; i < systems.size(); ++i) brand_hdr(static_cast<i16>(systems[i]));
    blank();

    out({T(25), "WATER TEMPERATURES"});
    blank();
    half_year(systems, 1, kCols19, temp1);
    blank();
    half_year(systems, 7, kCols19, temp2);
    blank(2);

    out({T(17), "COEFFICIENCY OF PERFORMANCE - C.O.P."});
    blank();
    half_year(systems, 1, kCols19, cop1);
    blank(2);
    half_year(systems, 7, kCols19, cop2);
    blank(2);
    out({T(1), "The models chosen for comparison are the smallest or the most"});
    out({T(1), "practical sizes expected to heat the above ", numSingle(area), unit, " ", g.pool_type, " to the"});
    out({T(1), "specified temperature."});

    new_page();
    blank(2);
    out({T(20), std::string("HEAT PUMP PERFORMANCE IN ") + (g.units_heat == 0 ? "BTU/HR." : "Watt/h")});
    blank();
    half_year(systems, 1, kCols19, outp1);
    blank(2);
    half_year(systems, 7, kCols19, outp2);
    blank(3);

    out({T(22), "OPERATING HOURS PER DAY"});
    blank();
    half_year(systems, 1, kCols21, hrs1);
    blank();
    half_year(systems, 7, kCols21, hrs2);
    blank(3);

    out({T(22), "OPERATING HOURS PER YEAR"});
    blank();
    out({T(30), chosen39 + "   " + "Hrs saved"});
    blank();
    {
        // A fault while these rows print leaves the row out.
        Proc quiet("hrsyr", OnFault::Ignore);
        Currency chosenHours;
        year_hours(1, chosenHours);
        const float carried = static_cast<float>(chosenHours.toDouble());
        const i16 unused = 0;
        for (int k : systems) hrsyr(carried, unused, static_cast<i16>(k));
    }
    blank(2);

    out({T(1), std::string("The ") + (g.units_heat == 0 ? "BTU" : "KWH") +
                   " output, C.O.P. and other performance data calculated by"});
    out({T(1), "the program are based on tests done by " + chosen});
    for (const char* line :
         {"under stringent laboratory conditions, with the interest and the",
          "protection of the consumer in mind. The data used as a base for",
          "the calculations may not correspond with the manufacturers'",
          "published data. The tests were done on heat pumps which were",
          "available to us at the time of testing. Our data is continuously",
          "updated to reflect the latest inovations as soon as new models", "become available to us."})
        out({T(1), line});

    new_page();
    blank(2);
    out({T(25), "HEAT PUMP OPERATING COSTS"});
    blank();
    half_year(systems, 1, kCols9, cst1);
    blank();
    half_year(systems, 7, kCols9, cst2);
    if (backup) {
        blank(3);
        out({T(25), "ADDITIONAL BACKUP COSTS"});
        blank();
        half_year(systems, 1, kCols9, bak1);
        blank();
        half_year(systems, 7, kCols9, bak2);
    } else {
        blank(2);
    }

    blank();
    out({T(25), "ANNUAL OPERATING COSTS"});
    blank();
    out({T(22), " Year 1", T(30), "Year 2", T(38), "Year 3", T(46), "Year 4", T(54), "Year 5", T(62), "Total"});
    blank();
    rows(systems, yrcst);
    blank(3);

    out({T(21), "SAVE WITH A " + chosen39 + " SYSTEM"});
    blank();
    out({T(23), "Year 1", T(32), brand14(chosen39), T(52), "Difference"});
    blank();
    rows(systems, sav);
    if (backup) {
        blank(2);
        for (const char* line : {"Using the existing heater as a backup system during the cold",
                                 "months will allow the installation of a smaller more economical",
                                 "heat pump system which will operate at full capacity most of",
                                 "the time for maximum efficiency. The existing heater will also",
                                 "afford the advavantage of quicker recovery times."})
            out({T(1), line});
        new_page();
    } else {
        blank(3);
    }

    out({T(26), "5 YEAR TOTAL SAVINGS"});
    blank();
    out({T(33), brand14(chosen39) + "    Difference"});
    blank();
    rows(systems, savtot);
    blank(3);

    if (no_capacity[4] == 1) {
        open({T(1), "Unfortunately the "});
        bool others = false;
        for (int c = 1; c <= 3; ++c) {
            if (no_capacity[c] != 1) continue;
            others = true;
            open({T(12), brand14(g.comp_names[c])});
        }
        out({T(1), std::string(others ? "systems lack " : "system lacks ") +
                       "the capacity required to maintain water temperatures."});
        out({T(1), "A larger system will result in an increase in equipment costs,"});
        out({T(1), "reduced payback period and rate of investment return."});
    }

    if (!backup) new_page();
    blank(2);
    out({T(24), "EQUIPMENT COSTS"});
    blank();
    out({T(27), brand14(chosen39) + "    Difference"});
    blank();
    rows(systems, syscst);
    blank(3);

    out({T(20), "PAY BACK PERIOD IN YEARS"});
    blank();
    rows(systems, pbak);
    blank(2);

    out({T(23), "INVESTMENT RETURN"});
    blank();
    rows(systems, roi);
    blank(2);
    if (!backup) blank();
    blank();

    out({T(1), "Please keep in mind that in addition to " + chosen});
    out({T(1), "being the most efficient and cost effective heat pump, one"});
    out({T(1), "must also take into consideration it's exellence in design"});
    out({T(1), "for maximum performance and longativity."});
    blank();
    out({T(1), "The following brand names :"});
    for (std::size_t i = 1; i < systems.size(); ++i)
        out({T(1), vb::Space(25) + vb::RTrim(g.cmp_res[systems[i]].brand)});
    out({T(1), "may be registered trade marks."});
    blank();
    out({T(1), "This report was compiled on " + vb::DateLong(vb::Today())});
    blank(9);
}

}  // namespace

void compare() {
    const UserSystem user = UserSystem::save();
    try {
        Proc proc("compare", OnFault::NotResponding);
        trap("Error in compare", [&] {
            new_page();
            const std::vector<int> systems = compute_systems(user);
            if (systems.empty()) throw Abandon{};  // the engine has said why
            print_comparison(systems);
        });
    } catch (const CancelCompare&) {
        // Cancelled at a printer fault: no more of the comparison.
    } catch (...) {
        user.restore();
        throw;
    }
    user.restore();
}

}  // namespace compet1
