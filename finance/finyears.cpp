// The finance saving table by year: running costs grown by the yearly
// price rises, the finance payments of each year, and the saving against
// the compared fuel heater, with Total and Average rows.
#include <algorithm>
#include <cmath>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "finance/pages.h"
#include "finance/pagetext.h"
#include "printouts/page.h"

namespace fin {

int payments_in_year(bool lease, int months, int year) {
    if (year < 1 || months < 1) return 0;
    // Payments made before this year.
    const int before = year == 1 ? 0 : (lease ? 13 : 12) + 12 * (year - 2);
    const int in_year = year == 1 && lease ? 13 : 12;
    return std::clamp(months - before, 0, in_year);
}

YearTable year_table() {
    YearTable t;
    const int ft = existing_heater();
    const bool backed = has_backup();
    const bool lease = g.fin_mode == 1;
    const int years = static_cast<int>(vb::Int(g.fin_months / 12.0 + 0.99));
    // Cost of heater k in year y: year 1's figure grown by its yearly rise.
    const auto grown = [](int k, double year1, int y) { return cy(std::pow(1.0 + g.price_rise[k], y - 1) * year1); };
    for (int y = 1; y <= years; ++y) {
        YearRow r;
        r.year = y;
        if (!backed) {
            r.hp = grown(1, g.heater_yr_cost[1], y);
            r.other = grown(ft, g.heater_yr_cost[ft], y);
            t.hp_total += r.hp;
            if (ft > 1) t.fuel_total += r.other;
        } else {
            r.hp = grown(1, g.heater_energy[1], y);
            r.fuel_alone = grown(ft, g.heater_yr_cost[ft], y);
            r.other = grown(ft, g.heater_energy[ft], y);
            t.hp_total += r.hp + r.other;
            if (ft > 1) t.fuel_total += r.fuel_alone;
        }
        r.backup_tab = y <= 12 ? g.year_tab_backup[y] : Currency{};
        r.npay = payments_in_year(lease, g.fin_months, y);
        r.pay = g.pay_term * r.npay;
        if (lease) r.pay = cy(r.pay.toDouble() * (g.sales_tax + 100.0) / 100.0);
        t.pay_total += r.pay;
        if (backed) t.saving += r.fuel_alone - (r.hp + r.other + r.pay);
        if (ft > 1) {
            // After the term the system costs its running costs only, the
            // backup heater's fuel included.
            t.post_saving = backed ? r.backup_tab - (r.hp + r.other) : r.other - r.hp;
        }
        t.rows.push_back(r);
    }
    // Without a compared heater its column repeats the heat pump's.
    if (ft == 1) t.fuel_total = t.hp_total;
    return t;
}

}  // namespace fin

namespace {

using finpage::line;
using finpage::money_field;

// One row (prt_fin_year): three layouts by the compared heater and backup.
void prt_fin_year(const fin::YearRow& r) {
    const int m = g.left_margin;
    const bool backed = g.backup_on == 1;
    PrintLine l;
    if (has_heater() && !backed) {
        l.tab(m + 7).text(vb::Format(r.year, "0"));
        money_field(l, 15, r.hp);
        money_field(l, 25, r.pay);
        finpage::field(l, 37, 2, vb::Format(r.npay, "#0"));
        money_field(l, 43, r.hp + r.pay);
        money_field(l, 53, r.other);
        money_field(l, 65, r.other - (r.hp + r.pay));
    } else if (has_heater()) {
        l.tab(m + 5).text(vb::Format(r.year, "#"));
        money_field(l, 15, r.hp + r.other);
        money_field(l, 25, r.pay);
        finpage::field(l, 37, 2, vb::Format(r.npay, "#0"));
        money_field(l, 43, r.hp + r.other + r.pay);
        money_field(l, 53, r.backup_tab);
        money_field(l, 65, r.backup_tab - (r.hp + r.other + r.pay));
    } else {
        // No compared heater: the line stays open after the total; the next
        // row's first move, left of the position, starts a new line.
        l.tab(m + 5).text(vb::Format(r.year, "#"));
        money_field(l, 15, r.hp);
        money_field(l, 25, r.pay);
        finpage::field(l, 37, 2, vb::Format(r.npay, "##"));
        money_field(l, 43, r.hp + r.pay);
        l.leaveOpen();
    }
    line(l);
}

// The Total and Average rows and the blank lines under them.
void prttot(const fin::YearTable& t, Currency saving_total) {
    const int m = g.left_margin;
    const double n = g.fin_months / 12.0;  // years of the term, 1.5 for 18 months
    const Currency total = t.hp_total + t.pay_total;
    const Currency saving = g.backup_on == 1 ? saving_total : t.fuel_total - total;
    line(PrintLine{});
    const auto row = [&](const char* caption, double div) {
        const auto per = [div](Currency c) { return div == 0 ? 0.0 : c.toDouble() / div; };
        PrintLine l;
        l.tab(m + 5).text(caption);
        finpage::field(l, 15, 8, vb::Format(per(t.hp_total), finpage::kWhole));
        finpage::field(l, 25, 8, vb::Format(per(t.pay_total), finpage::kWhole));
        finpage::field(l, 37, 2, vb::Format(div == 0 ? 0.0 : g.fin_months / div, "#0"));
        finpage::field(l, 43, 8, vb::Format(per(total), finpage::kWhole));
        finpage::field(l, 53, 8, vb::Format(per(t.fuel_total), finpage::kWhole));
        finpage::field(l, 65, 8, vb::Format(per(saving), finpage::kWhole));
        line(l);
    };
    row("Total", 1.0);
    row("Average", n);
    const int blanks = g.fin_months <= 36 ? 1 : g.fin_months <= 48 ? 3 : g.fin_months <= 60 ? 2 : 1;
    finpage::blank(blanks);
}

}  // namespace

void fin_years(Currency& saving_total) {
    const fin::YearTable t = fin::year_table();
    const int ft = existing_heater();
    g.fin_total = Currency{};
    g.heater_cum_cy[1] = Currency{};
    g.heater_cum_cy[ft] = Currency{};
    saving_total = Currency{};
    g.table_years = static_cast<i16>(t.rows.size());
    for (const fin::YearRow& r : t.rows) {
        g.heater_year_cy[1] = r.hp;
        if (ft > 1) g.heater_year_cy[ft] = r.other;
        g.year_npay = static_cast<i16>(r.npay);
        g.year_pay = r.pay;
        g.fin_total += r.pay;
        prt_fin_year(r);
    }
    g.heater_cum_cy[1] = t.hp_total;
    if (ft > 1) g.heater_cum_cy[ft] = t.fuel_total;
    // Without a compared heater nothing is saved after the term either: no
    // saving of an earlier project may stand in the ten-year figure.
    g.post_saving = t.post_saving;
    saving_total = t.saving;
    prttot(t, saving_total);
}
