// The Word summary ("Summary"): the uncovered and the covered pool side by
// side. The project holds one set of cover hours, so the summary computes
// both cases itself: the project without cover, then with the user's cover
// hours (24 hours a day when the user gave none), and at the end with the
// user's hours again, so that the input window shows what it showed before.
#include <array>
#include <cmath>
#include <string>

#include "app/limits.h"
#include "app/model.h"
#include "core/cp1252.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/values.h"
#include "printouts/word_doc.h"

namespace {

constexpr auto kMaxCover = static_cast<i16>(limits::kCoverHours.typed.max);  // hours a day

// The table being filled: 0 uncovered, 1 covered.
int cover_pass = 0;
// The month (or box) the summary was working on, reported with a failure.
int loop_x = 0;

// The whole dollars a cell prints: with "Round up Summary costs" halves go
// up, otherwise they round as the mask rounds them (away from zero). No
// cents in this document.
Currency dollars(Currency v) {
    const double d = v.toDouble();
    return cy(g.round_up == 1 ? vb::Int(d + 0.5) : std::round(d));
}
std::string money(Currency v) { return vb::Format(dollars(v).toDouble(), "$##,##0"); }
std::string money(float v) { return money(cy(v)); }

// Right-aligned in 7 characters; a longer text is kept whole.
std::string right7(const std::string& t) {
    const long n = static_cast<long>(vb::Len(t));
    return n >= 7 ? t : vb::Space(7 - n) + t;
}

std::string pad4(const std::string& t) { return vb::Space(4 - static_cast<long>(vb::Len(t))) + t; }

std::string hours_cell(float h) {
    if (h >= 1) return pad4(vb::Trim(vb::Format(h, "##")));
    if (h > 0) return "  <1";
    return " Off";
}

void fill_header(WordDoc& d) {
    d.fill("bm1", heading_name());
    d.fill("bm3", audit_title());
    d.fill("bm3b", g.cust_name);
    d.fill("bm4b", g.cust_street);
    d.fill("bm5b", g.cust_city);
    d.fill("ddate", "Date: " + date_text());
    fill_project_block(d, true);
    d.fill("cvron", std::string(33, ' ') + "Covered pool");
    d.fill("cvroff", std::string(32, ' ') + "Uncovered pool");

    const std::string T = temp_unit();
    const std::string fuel = vb::Left(fuel_name(), 7);
    const std::string heater_head = has_heater() ? (has_backup() ? "$ Backup" : "$ Cost") : std::string(5, ' ');
    struct Head {
        const char* column;
        std::string first, second;
        bool both;  // the column stands in the covered and the uncovered table
    };
    const Head heads[] = {
        {"b", "Avg Air", "Temp " + T, false}, {"c", "Water", "Temp " + T, true}, {"d", "Cover", "Hrs/Day", true},
        {"e", "Heat", "Hrs/Day", true},       {"f", " HP", "  $ Cost", true},    {"g", fuel, heater_head, true},
    };
    for (int line = 19; line <= 20; ++line) {
        for (const Head& h : heads) {
            const std::string name = "bm" + std::to_string(line) + h.column;
            const std::string& text = line == 19 ? h.first : h.second;
            d.fill(name, text);
            if (h.both) d.fill(name + "u", text);
        }
    }
}

// What one table showed of each month, for the comparison of the two: the
// water temperature the system held (kNotWanted for a month not ticked,
// kCannot for a month it cannot heat at all) and what the system costs to
// run that month as its row prints it, in whole dollars, "Off" none (the
// heat pumps, and the backup heater's fuel in a backed-up system; without
// backup the heater column is the existing heater heating alone, which is
// not the system's cost), so the comparison line adds up to the rows.
constexpr float kNotWanted = -2000, kCannot = -1000;
struct Table {
    std::array<float, 13> held{};
    std::array<Currency, 13> system{};
};

Table fill_table(WordDoc& d) {
    const bool covered = cover_pass == 1;
    const bool heater = has_heater();
    const bool backup = has_backup();
    const std::string u = covered ? "" : "u";
    Table t;
    for (int m = 1; m <= 12; ++m) {
        loop_x = m;
        const std::string row = "bm" + std::to_string(20 + m);
        if (covered) {
            d.fill(row + "a", " " + rep_text(m, 1));
            d.fill(row + "b", "  " + rep_text(m, 2));
        }
        // A month the system does not heat reads "Off", never $0.
        t.held[m] = g.run_state[m][0] == 0 ? kNotWanted : g.month_off[m] != 0 ? kCannot : g.temp_table[m][5];
        const float hp = g.calc_f32[calc_row::hp_cost(m)], fuel = g.calc_f32[calc_row::heater_cost(m)];
        t.system[m] = pump_off(m) ? Currency{} : dollars(cy(hp));
        if (backup && month_heated(m)) t.system[m] += dollars(cy(fuel));
        d.fill(row + "c" + u, pad4(vb::Trim(rep_text(m, 3))));
        d.fill(row + "d" + u, covered ? " " + rep_text(m, 4) : "   0");
        d.fill(row + "e" + u, hours_cell(g.calc_f32[calc_row::hours(m)]));
        d.fill(row + "f" + u, right7(pump_off(m) ? "Off" : money(hp)));
        d.fill(row + "g" + u, !heater ? "" : right7(month_heated(m) ? money(fuel) : "Off"));
    }
    return t;
}

// The totals under one table: the year's sums of its rows, as calculate3
// left them.
void fill_totals(WordDoc& d) {
    const bool covered = cover_pass == 1;
    const std::string P = money(g.tot_hp);
    if (!has_heater()) {
        if (!covered) d.fill("bm33c", "Total:");  // once: the label stands for both tables
        d.fill(covered ? "bm33f" : "bm33fu", P);
        return;
    }
    const std::string H = money(g.tot_heater);
    if (covered) {
        d.fill("bm33eu", "Total:");
        d.fill("bm33f", right7(P));
        d.fill("bm33g", right7(H));
    } else {
        d.fill("bm33fu", right7(P));
        d.fill("bm33gu", right7(H));
    }
}

// Where the system cannot hold the wanted temperature it holds a lower one,
// or none; a month it holds differently with and without the cover (the
// uncovered pool lowered or off, the covered one heated) has costs that do
// not compare, so the two totals say less than they seem to. A line of its
// own then sets the two pools side by side over the months they are heated
// alike (a month the cover alone keeps warm counts: its saving is real) and
// names them; months off in both tables cost nothing in either.
void fill_comparison(WordDoc& d, const Table& uncovered, const Table& covered) {
    bool differ = false;
    std::array<bool, 13> alike{};
    Currency with_cover, without;
    for (int m = 1; m <= 12; ++m) {
        if (uncovered.held[m] != covered.held[m]) {
            differ = true;
            continue;
        }
        alike[m] = covered.held[m] > kCannot;
        if (!alike[m]) continue;
        with_cover += covered.system[m];
        without += uncovered.system[m];
    }
    if (!differ) return;
    const std::string months = month_runs(alike, cp1252::Chr(150), ", ");  // "MAR–MAY, SEP"
    d.fill("bm40", months.empty() ? "  Heated alike with and without the cover: no month."
                                  : "  Heated alike, " + months + ": covered " + money(with_cover) + ", uncovered " +
                                        money(without));
}

// The cover hours of the project, put back when the summary ends, however
// it ends, with the results recalculated for them.
class CoverHours {
public:
    CoverHours() : saved_(g.month_hours_c) {}
    ~CoverHours() {
        if (changed_) restore();
    }
    // Every month's cover hours := hours(month's own).
    template <class F> void set(F hours) {
        changed_ = true;
        for (int m = 1; m <= 12; ++m) {
            loop_x = m + 6;
            const i16 h = std::min<i16>(hours(saved_[m][0]), kMaxCover);
            g.month_hours_c[m][0] = g.month_hours_c[m][1] = h;
        }
    }
    int sum() const {
        int s = 0;
        for (int m = 1; m <= 12; ++m) s += saved_[m][0];
        return s;
    }
    bool restore() {
        changed_ = false;
        g.month_hours_c = saved_;
        return recalc_cover();
    }

private:
    arr2<i16, 12, 1> saved_;
    bool changed_ = false;
};

}  // namespace

bool recalc_cover() {
    g.calc_flag1 = 0;
    g.calc_mode2 = 2;
    clear_results();
    const bool ok = engine::calc_all();
    if (windows().show_results) windows().show_results();
    show_ambient();
    return ok;
}

void prt_word_summary() {
    ui::BusyPointer busy;
    loop_x = 0;
    WordDoc d("Prt Word err");
    CoverHours cover;
    // A calculation that fails has said so itself; the summary stops.
    struct Stop {};
    try {
        cover.set([](i16) { return i16{0}; });
        if (!recalc_cover()) throw Stop{};
        cover_pass = 0;
        d.open(true);
        fill_header(d);
        Table tables[2];
        for (;;) {
            double hp_year = 0;
            Currency fuel_year, saving_year;
            calculate3(hp_year, fuel_year, saving_year);
            tables[cover_pass] = fill_table(d);
            fill_totals(d);
            if (cover_pass == 1) break;
            cover_pass = 1;
            const bool none = cover.sum() == 0;
            cover.set([none](i16 h) { return none ? i16{kMaxCover} : h; });
            if (!recalc_cover()) throw Stop{};
        }
        fill_comparison(d, tables[0], tables[1]);
        cover.restore();
        d.fill("bm37",
               "  Above data is based on historical weather data of 30 years in " + vb::Trim(g.city_name) + ".");
        d.fill("bm39", "  Wind speed will greatly affect the performance and cost of operation.");
        d.fill("bm38",
               "  This report is based on normal weather conditions and is reliant on specific pool data and "
               "conditions provided in the report.");
        d.finish();
    } catch (const Stop&) {
        d.fail(std::make_exception_ptr(DocAbandoned{}));
    } catch (...) {
        d.fail(std::current_exception(), "   x= " + vb::Str(loop_x));
    }
}
