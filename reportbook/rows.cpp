#include "reportbook/rows.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/vbtext.h"
#include "reportbook/lp.h"

namespace compet1 {
namespace {

using namespace rb;

int M() { return g.left_margin; }

int pad(const std::string& formatted, int width) { return width - static_cast<int>(vb::Len(formatted)); }

// A value of a row: its text and the column it is printed at (the field's
// start column plus the pad of the formatted text, so that it ends at the
// field's last column). A value of exactly 0 prints nothing.
struct Cell {
    std::string text;
    int at;
};
Cell placed(const std::string& formatted, bool zero, int column, int width) {
    return Cell{zero ? std::string() : formatted, column + pad(formatted, width)};
}

// The brand, then every cell, as one line.
void print_row(int k, const std::vector<Cell>& cells) {
    std::vector<Item> items = {Tab(M() + 1), vb::Left(g.cmp_res[k].brand, 14)};
    for (const Cell& c : cells) {
        items.push_back(Tab(M() + c.at));
        items.push_back(c.text);
    }
    out(items);
}

// One half-year of a monthly row: `value` gives the month's printed value.
template <class Value>
void months(int k, int first, const int (&cols)[6], const char* mask, int width, bool isMoney, Value value) {
    std::vector<Cell> cells;
    for (int i = 0; i < 6; ++i) {
        const double v = value(g.cmp_res[k], first + i);
        const std::string s = vb::Format(v, mask);
        const bool zero = isMoney ? cy(v).isZero() : v == 0;
        cells.push_back(placed(s, zero, cols[i], width));
    }
    print_row(k, cells);
}

constexpr int kTempCols[6] = {20, 28, 36, 44, 52, 60};
constexpr int kCopCols[6] = {19, 27, 35, 43, 51, 59};
constexpr int kHourCols[6] = {21, 29, 37, 45, 53, 61};
constexpr int kCostCols[6] = {19, 28, 37, 46, 55, 64};

void temps(int k, int first) {
    months(k, first, kTempCols, "##0.0", 5, false,
           [](const CompareResult& r, int m) { return double{to_cels(r.water_temp[m])}; });
}
void cops(int k, int first) {
    months(k, first, kCopCols, "#0.00", 5, false, [](const CompareResult& r, int m) { return double{r.cop[m]}; });
}
void outputs(int k, int first) {
    months(k, first, kCopCols, "###,##0", 7, false,
           [](const CompareResult& r, int m) { return double{to_watt(r.output[m])}; });
}
void hours(int k, int first) {
    months(k, first, kHourCols, "##0", 3, false,
           [](const CompareResult& r, int m) { return static_cast<double>(r.hours[m]); });
}
void costs(int k, int first) {
    months(k, first, kCostCols, "#,##0.00", 8, true,
           [](const CompareResult& r, int m) { return double{r.op_cost[m]}; });
}
void backups(int k, int first) {
    months(k, first, kCostCols, "#,##0.00", 8, true,
           [](const CompareResult& r, int m) { return double{r.backup_cost[m]}; });
}

// A row printer that deals with its own printing faults: the message once,
// then the step once more (see lp.h).
struct Trapping : Proc {
    Trapping(const char* name, const char* literal) : Proc(name, OnFault::Skip, literal) {}
};

// Own figure, the chosen system's figure and the difference, all money.
void three(int k, Currency own, Currency base, Currency diff, const char* mask, int width, const int (&cols)[3]) {
    const Currency v[3] = {own, base, diff};
    std::vector<Cell> cells;
    for (int i = 0; i < 3; ++i) {
        const std::string s = vb::Format(v[i].toDouble(), mask);
        cells.push_back(placed(s, v[i].isZero(), cols[i], width));
    }
    print_row(k, cells);
}

Currency as_money(float x) { return cy(x); }

}  // namespace

float to_cels(float f) {
    if (g.units_temp == 0) return f;
    return static_cast<float>(vb::Int((f - 32.0) / 1.8 * 10.0 + 0.5) / 10.0);
}

float to_watt(float btu) {
    if (g.units_heat == 0) return btu;
    return static_cast<float>(btu / 3.41304);
}

void temp1(const i16& k) { temps(k, 1); }
void temp2(const i16& k) { temps(k, 7); }
void cop1(const i16& k) { cops(k, 1); }
void cop2(const i16& k) { cops(k, 7); }
void outp1(const i16& k) { outputs(k, 1); }
void outp2(const i16& k) { outputs(k, 7); }
void hrs1(const i16& k) { hours(k, 1); }
void hrs2(const i16& k) { hours(k, 7); }
void cst1(const i16& k) {
    Trapping t("cst1", "Bad Data error:");
    costs(k, 1);
}
void cst2(const i16& k) { costs(k, 7); }
void bak1(const i16& k) { backups(k, 1); }
void bak2(const i16& k) { backups(k, 7); }

void yrcst(const i16& k) {
    const CompareResult& r = g.cmp_res[k];
    std::vector<Item> items = {Tab(M() + 1), vb::Left(r.brand, 14), Tab(M() + 18)};
    Currency total;
    for (int i = 1; i <= 5; ++i) {
        const std::string s = vb::Format(r.year_cost[i], "$###,##0");
        items.push_back(Tab(M() + 20 + 8 * (i - 1) + pad(s, 8)));
        items.push_back(cy(r.year_cost[i]).isZero() ? std::string() : s);
        total += as_money(r.year_cost[i]);
    }
    const std::string s = vb::Format(total.toDouble(), "$#,###,##0");
    items.push_back(Tab(M() + 60 + pad(s, 8)));
    items.push_back(total.isZero() ? std::string() : s);
    out(items);
}

void sav(const i16& k) {
    Trapping t("sav", "Bad data :");
    g.sav_base = as_money(g.cmp_res[1].save_year1);
    const Currency own = as_money(g.cmp_res[k].save_year1);
    three(k, own, g.sav_base, g.sav_base - own, "$###,##0.00", 11, {20, 35, 50});
}

void savtot(const i16& k) {
    Trapping t("savtot", "Bad Data :");
    g.savtot_base = as_money(g.cmp_res[1].year_save[1]);
    const Currency own = as_money(g.cmp_res[k].year_save[1]);
    three(k, own, g.savtot_base, g.savtot_base - own, "$###,##0.00", 11, {20, 35, 50});
}

void syscst(const i16& k) {
    Trapping t("syscst", " Bad Data error:");
    g.syscst_base = as_money(g.cmp_res[1].equip_cost);
    const Currency own = as_money(g.cmp_res[k].equip_cost);
    three(k, own, g.syscst_base, own - g.syscst_base, "$###,##0", 7, {18, 28, 47});
}

void pbak(const i16& k) {
    Trapping t("pbak", " Bad Data error:");
    const CompareResult& r = g.cmp_res[k];
    const std::string brand = vb::Left(r.brand, 14);
    if (r.payback <= 0) {
        out({Tab(M() + 1), brand, Tab(M() + 35), "None"});
        return;
    }
    const bool whole = vb::Int(r.payback) == r.payback;
    const std::string s = vb::Format(r.payback, whole ? "#0" : "#0.#");
    out({Tab(M() + 1), brand, Tab(M() + 33 + pad(s, whole ? 2 : 4)), s});
}

void roi(const i16& k) {
    const CompareResult& r = g.cmp_res[k];
    std::string s = vb::Format(r.roi, "#0.0");
    const int p = pad(s, 4);
    s = r.roi != 0 ? s + "%" : std::string();
    out({Tab(M() + 1), vb::Left(r.brand, 14), Tab(M() + 33 + p), s});
}

void year_hours(const i16& k, Currency& total) {
    // Hours a heating day times the heating days of each month.
    const CompareResult& r = g.cmp_res[k];
    const int days = g.heat_days >= 1 && g.heat_days <= 7 ? g.heat_days : 7;
    double hours = 0;
    for (int m = 1; m <= 12; ++m) hours += static_cast<double>(r.hours[m]) * g.month_days[m] * days / 7.0;
    total += Currency::dollars(std::llround(hours));
}

void hrsyr(const float& carried, const i16& unused, const i16& k) {
    (void)unused;
    Currency total;
    year_hours(k, total);
    const double own = total.toDouble();
    const std::string a = vb::Format(own, "###,##0"), b = vb::Format(carried, "##,##0"),
                      c = vb::Format(own - carried, "##,##0");
    out({Tab(M() + 1), vb::Left(g.cmp_res[k].brand, 14), Tab(M() + 22 + pad(a, 7)), own == 0 ? std::string() : a,
         Tab(M() + 40 + pad(b, 6)), carried == 0 ? std::string() : b, Tab(M() + 58 + pad(c, 6)),
         own - carried == 0 ? std::string() : c});
}

void brand_hdr(const i16& k) {
    out({Tab(M() + 1), "Brand     :  " + vb::Trim(g.cmp_res[k].brand)});
    out({Tab(M() + 1), "Equipment :  " + vb::Trim(g.cmp_res[k].equipment)});
    blank();
}

}  // namespace compet1
