// The loan data page: the basic loan data, the yearly saving table with a
// loan, then the tax-deduction, average and saving figures. Money figures
// of the data block end in column left_margin + 50, the averages in + 45,
// the savings in + 60.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "finance/pages.h"
#include "finance/pagetext.h"
#include "printouts/page.h"

using finpage::blank;
using finpage::kCents;
using finpage::kPayment;
using finpage::label_figure;
using finpage::len;
using finpage::line;
using finpage::right;

namespace {

std::string fmt(Currency c, const char* mask) { return vb::Format(c.toDouble(), mask); }
std::string fmt(double x, const char* mask) { return vb::Format(x, mask); }

const char* fuel_word(int ft) {
    static const char* words[] = {"", "", "Elect  ", "Nat gas", "Propane", "Oil    "};
    return words[ft];
}

void body(int& step) {
    const int m = g.left_margin;
    const int ft = existing_heater();
    // "label", then the figure right-aligned in `w`; left out when zero and
    // asked to (its blanks stay).
    const auto figure = [](const char* label, int w, Currency v, bool blankZero = false) {
        label_figure(label, w, fmt(v, kCents), !(blankZero && v.isZero()));
    };

    step = 1;
    line(PrintLine{}.tab(m + 23).text("--BASIC loan DATA--"));
    blank();
    figure("Equipment purchase price          :     ", 11, g.equip_cost);
    figure("Additional charges                :     ", 11, g.add_charges, true);
    figure("Installation cost                 :     ", 11, g.inst_cost, true);
    figure("Installed system Price            :     ", 11, g.sys_total);
    blank();
    step = 2;
    {
        const bool shown = !g.down_pay.isZero();
        const std::string pct = fmt(static_cast<double>(g.down_perc), "##0.00") + "%";
        PrintLine l;
        l.tab(m).text("Down payment       ");
        right(l, 7, pct, shown).tab(m + 34).text(":");
        line(right(l, 16, fmt(g.down_pay, kCents), shown));
    }
    figure("Fees                              :     ", 11, g.fees_loan, true);
    const Currency tax = cy((g.sys_total + g.fees_loan).toDouble() * g.sales_tax / 100.0);
    {
        const std::string pct = fmt(static_cast<double>(g.sales_tax), "##0.00");
        PrintLine l;
        l.tab(m).text("Sales Tax         ").spc(7 - len(pct)).text(pct + "%").tab(m + 34).text(":     ");
        line(right(l, 11, fmt(tax, kCents)));
    }
    figure("Up-front costs                    :     ", 11, g.upfront);
    step = 3;
    // The balloon as the calculator worked it out, in its interest mode.
    if (g.balloon_end > Currency{}) {
        figure("End of the period Balloon pay     :    ", 12, g.balloon_end);
    } else {
        blank();
    }
    blank();
    {
        const std::string rate = fmt(static_cast<double>(g.loan_rate), "#0.00");
        PrintLine l;
        l.tab(m).text("Annual loan rate                  :        ").spc(6 - len(rate)).text(rate + "%");
        line(l);
    }
    label_figure("Number of monthly periods         :   ", 2, fmt(static_cast<double>(g.fin_months), "#0"));
    figure("Monthly Payment                   :     ", 11, g.pay_term);
    blank();
    {
        PrintLine l;
        l.tab(m).text("Optional   36 Months =");
        right(l, 9, fmt(g.pay36, kPayment)).tab(m + 35).text("48 months =");
        line(right(l, 9, fmt(g.pay48, kPayment)));
        PrintLine l2;
        l2.tab(m + 11).text("60 Months =");
        line(right(l2, 9, fmt(g.pay60, kPayment)));
    }
    blank(2);
    step = 4;
    line(PrintLine{}.tab(m + 18).text("--SAVING WITH A LOAN--"));
    blank();
    // The heading words stand over their columns of the rows below.
    const auto words = [m](std::initializer_list<std::pair<int, std::string>> at) {
        PrintLine l;
        for (const auto& [column, text] : at) l.tab(m + column).text(text);
        line(l);
    };
    words({{6, "Year"}, {15, "Heat pump"}, {27, "loan"}, {37, "Numb"}, {45, "Total"}, {55, "Costs"}, {65, "Saving"}});
    words({{15, g.backup_on != 0 ? "and backup" : "Run costs"},
           {27, "Payments"},
           {37, "Pay"},
           {45, "Costs"},
           {55, fuel_word(ft)},
           {65, "Per year"}});
    blank();
    step = 5;
    Currency saving;
    fin_years(saving);

    step = 6;
    const double n = g.fin_months / 12.0;
    const auto per_year = [n](Currency c) { return n == 0 ? Currency{} : cy(c.toDouble() / n); };
    const Currency interest = g.pay_term * g.fin_months - (g.sys_total - g.down_pay - g.balloon_amt);
    const Currency balloon_interest = g.balloon_end - g.balloon_amt;
    const Currency depreciation = g.sys_total + g.fees_loan + tax - g.fin_opts[16];
    const Currency fuel_avg = per_year(g.heater_cum_cy[ft]);
    const Currency hp_avg = per_year(g.heater_cum_cy[1]);
    const Currency fin_avg = per_year(g.fin_total);
    const Currency avg_saving = fuel_avg - (hp_avg + fin_avg);
    Currency term_saving = cy(avg_saving.toDouble() * g.fin_months / 12.0);
    if (g.fin_opts[18].isZero()) term_saving -= g.down_pay + g.balloon_end;  // DEDUCT
    const int after = vb::CInt(10 - g.fin_months / 12.0);
    const Currency yearly_after = cy(g.post_saving.toDouble() * std::pow(1.0 + g.price_rise[ft], after - 1));
    Currency ten_years = term_saving;
    for (int y = 0; y < after; ++y) ten_years += yearly_after;

    line(PrintLine{}.tab(m).text("Total tax deductions for"));
    figure("interest and depreciation         :", 11, interest + balloon_interest + depreciation);
    static const char* labels[] = {"",
                                   "",
                                   "Average annual energy costs       :",
                                   "Average annual Natural Gas costs  :",
                                   "Average annual Propane costs      :",
                                   "Average annual Heating Oil costs  :"};
    figure(labels[ft], 11, fuel_avg);
    line(PrintLine{}.tab(m).text("Average annual heat pump"));
    figure(g.backup_on != 0 ? "and backup energy costs           :" : "energy costs                      :", 11,
           hp_avg);
    figure("Average annual finance costs      :", 11, fin_avg);
    blank();
    figure("Average annual savings            :               ", 11, avg_saving);
    blank();
    {
        const std::string months = fmt(static_cast<double>(g.fin_months), "#0");
        PrintLine l;
        l.tab(m).text("Total ").spc(2 - len(months)).text(months).tab(m + 10).text("months savings          :");
        line(right(l, 26, fmt(term_saving, kCents)));
    }
    figure("Total 10 years savings            :", 26, ten_years);
    if (g.fin_months < 48) blank();
    blank(2);
}

}  // namespace

void Loanprt() {
    int step = 0;
    try {
        body(step);
    } catch (const ui::RtError& e) {
        ui::MsgBox(e.description() + vb::Str(e.number) + " in " + vb::Str(step), ui::vbOKOnly, "Loanprt error");
        throw PrintAbandoned{};
    }
}
