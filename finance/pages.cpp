// The leasing sales page, the finance table page, the lease data page and
// the footer of the finance tables.
#include <algorithm>
#include <cmath>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "finance/pages.h"
#include "finance/pagetext.h"
#include "printouts/page.h"
#include "printouts/values.h"

using finpage::blank;
using finpage::kCents;
using finpage::kPayment;
using finpage::kWhole;
using finpage::label_figure;
using finpage::len;
using finpage::line;
using finpage::right;

namespace {

TitleFont g_title_font = nullptr;

std::string fmt(Currency c, const char* mask) { return vb::Format(c.toDouble(), mask); }
std::string fmt(double x, const char* mask) { return vb::Format(x, mask); }

void op(const std::function<void()>& f) { printer_retry(f, kCheckPaper); }

// The fuel word of the table heading and the fuel line's label, by the
// compared heater.
const char* fuel_word(int ft) {
    switch (ft) {
        case 2: return "Elect  ";
        case 3: return "Nat gas";
        case 4: return "Propane";
        case 5: return "Oil    ";
        default: return "";
    }
}

// A page's unexpected failure: the message, then the caller drops the
// document. Printer faults the user gave up on pass straight through.
template <class F> void guarded(const char* title, int& step, F&& body) {
    try {
        body();
    } catch (const ui::RtError& e) {
        ui::MsgBox(e.description() + vb::Str(e.number) + " in " + vb::Str(step), ui::vbOKOnly, title);
        throw PrintAbandoned{};
    }
}

// One headline of the sales page: size 12, at the indent, in the title
// font when the settings ask for it.
void headline(int indent, const std::string& text) {
    prn::Printer& P = prn::printer();
    op([&] { P.FontSize(12); });
    line(PrintLine{}.tab(g.left_margin + indent).leaveOpen());
    if (g.title_font_on && g_title_font) g_title_font();
    line(PrintLine{}.text(text));
}

void at(int column, const std::string& text) { line(PrintLine{}.tab(column).text(text)); }

// The two blocks the sales page prints where its text asks for them.
void who_can_lease_block(int m) {
    line(PrintLine{}.tab(m + 1).spc(16).text("e.g. hotel, motel, club, municipal or owner"));
    at(m + 17, "operated properties.");
    blank();
    at(m + 17, "In business for a minimum of two years.");
    blank();
}
void tax_block(int m) {
    at(m + 5, "    Leasing payments are deducted as operating expenses.");
    at(m + 5, "    (Only the interest charges and the depreciation of");
    at(m + 5, "    the equipment are expensed on loans)");
    blank();
}

}  // namespace

TitleFont set_fin_title_font(TitleFont f) {
    TitleFont old = g_title_font;
    g_title_font = f;
    return old;
}

// ---- leasing sales page -----------------------------------------------------------------

void Lease1() {
    int step = 1;
    guarded("Lease1 error", step, [&] {
        prn::Printer& P = prn::printer();
        const int m = g.left_margin;
        step = 2;
        if (g.fin_mode == 2) prt_fin_tables();
        step = 3;
        op([&] { P.NewPage(); });
        blank(2);
        step = 4;
        const int indent = vb::CInt(g.fin_opts[5].toDouble());
        const std::string brand = vb::FixLen(g.pump_tab[std::clamp<int>(g.pump_rec, 0, 100)].brand, 39);
        headline(indent, " LEASING " + brand);
        blank(2);
        step = 5;
        headline(indent, vb::Space(10) + "HEAT PUMPS");
        blank(2);
        headline(indent, vb::Space(9) + "MAKES  SENSE");
        blank(2);
        step = 6;
        if (g.title_font_on) Fnt_body();
        at(m + 25, "THE SAVINGS WILL");
        blank();
        at(m + 21, "Pay for  THE LEASING COSTS");
        blank();
        at(m + 21, "Pay for  THE OPERATIONAL COSTS");
        blank();
        at(m + 21, "and give you SPARE CASH");
        blank(3);
        at(m + 1, "Since the monthly savings are larger than the combined cost of");
        at(m + 1, "the leasing and running of the heat pump system, you are left");
        at(m + 1, "with spare money you could spend any way you wish.");
        blank(2);
        step = 7;
        at(m + 1, std::string("WHO CAN LEASE:") + "  A business with a pool avaliable to patrons.");
        who_can_lease_block(m);
        at(m + 1, "LEASING TERMS:  First and last payment in advance.");
        blank();
        at(m + 17, "12 to 60 months closed ended lease.");
        blank(4);
        step = 8;
        at(m + 23, "ADVANTAGES OF LEASING");
        blank(2);
        at(m + 1, "1.  FIXED MONTHLY PAYMENTS ");
        at(m + 5, "    Your payments will stay the same for the full term");
        at(m + 5, "    of the lease.");
        blank();
        at(m + 1, "2.  MINIMUM CASH IS REQUIRED FOR INSTALLATION ONLY");
        at(m + 5, "    (Some loans may require up to 25% down payment)");
        blank();
        at(m + 1, "3.  TAX DEDUCTED LEASING PAYMENTS");
        tax_block(m);
        at(m + 1, "4.  PRESERVES YOUR CREDIT LINE");
        at(m + 5, "    The cost of the equipment is not listed in your");
        at(m + 5, "    financial Balance Sheet.");
        step = 9;
        prt_fin_tables();
    });
}

// ---- finance table page ----------------------------------------------------------------------

void prt_fin_tables() {
    prn::Printer& P = prn::printer();
    op([&] { P.NewPage(); });
    Fnt_body();
    blank(3);
    at(g.left_margin + 30, has_heater() ? "Table 7" : "Table 6");
    if (g.fin_mode == 1) prt_lease();
    else Loanprt();
    prt_fin_footer();
}

void prt_fin_footer() {
    prn::Printer& P = prn::printer();
    const int m = g.left_margin;
    const bool lease = g.fin_mode == 1;
    const std::string w1 = lease ? "leasing" : "loan", w2 = lease ? "lease" : "loan";
    at(m + 5, "The tables above are approximate weatherss of " + w1 + " costs and");
    at(m + 5, "do not include tax. The " + w2 + " is subject to credit approval by");
    at(m + 5, "Vuzozov Uvurev. For more information please Call the manufacturer.");
    at(m + 5, "This weathers was compiled on " + date_text());
    blank();
    op([&] { P.FontSize(8); });
    at(m + 5, "Figures are estimates from the data above; actual costs and savings may vary.");
    op([&] { P.FontSize(10); });
}

// ---- lease data page ---------------------------------------------------------------------------

void prt_lease() {
    const int m = g.left_margin;
    const int ft = existing_heater();
    const float f = (g.sales_tax + 100.0f) / 100.0f;  // the tax factor of a payment
    const auto taxed = [f](Currency pay) { return cy(pay.toDouble() * f); };
    // "label : figure", the figure right-aligned in 11, left out when zero.
    const auto amount = [](const char* label, Currency v, bool blankZero) {
        label_figure(label, 11, fmt(v, kCents), !(blankZero && v.isZero()));
    };

    at(m + 23, "--BASIC LEASE DATA--");
    blank();
    amount("Equipment purchase cost           :   ", g.equip_cost, false);
    amount("Additional charges                :   ", g.add_charges, true);
    amount("Installation cost                 :   ", g.inst_cost, true);
    blank();
    amount("Down payment for cap reduction    :   ", g.down_pay, true);
    amount("Fees                              :   ", g.fees_lease, true);
    amount("Buy-out at the end of the lease   :   ", g.fin_opts[2], true);
    blank();
    label_figure("Annual Lease rate                 :   ", 7, fmt(g.lease_key, "0.0####"));
    label_figure("Number of monthly periods         :   ", 2, fmt(static_cast<double>(g.fin_months), "#0"));
    label_figure("Basic payment                     :   ", 11, fmt(g.pay_term, kPayment));
    const Currency month_tax = cy(g.pay_term.toDouble() * g.sales_tax / 100.0);
    {
        const bool shown = g.sales_tax != 0;
        PrintLine l;
        l.tab(m).text("Sales tax").tab(m + 10);
        right(l, 7, fmt(static_cast<double>(g.sales_tax), "##0.00"), shown);
        l.text("%").tab(m + 34).text(":").tab(m + 41);
        right(l, 9, fmt(month_tax, kPayment), shown);
        line(l);
    }
    {
        const Currency monthly = g.pay_term + month_tax;
        const std::string t = fmt(monthly, kPayment);
        PrintLine l;
        l.tab(m).text("Monthly Payment                   :     ").spc(7 - len(t));
        if (!monthly.isZero()) l.text(t);
        line(l);
    }
    blank();
    const Currency t12 = taxed(g.pay12), t18 = taxed(g.pay18);
    if (t12.isZero()) {
        PrintLine l;
        l.tab(m).text("           12 Months =   N/A       18 Months =");
        line(right(l, 9, fmt(t18, kPayment)));
    } else if (t12 > Currency{}) {
        PrintLine l;
        l.tab(m).text("           12 Months =");
        right(l, 9, fmt(t12, kPayment)).tab(m + 35).text("18 Months =");
        line(right(l, 9, fmt(t18, kPayment)));
    }
    // Two terms a line, the second at column 35.
    const auto pair = [&](const char* first, Currency a, const char* second, Currency b) {
        PrintLine l;
        l.tab(m).text(first);
        right(l, 9, fmt(taxed(a), kPayment)).tab(m + 35).text(second);
        line(right(l, 9, fmt(taxed(b), kPayment)));
    };
    pair("           24 Months =", g.pay24, "36 Months =", g.pay36);
    {
        // "60 Months =" goes back to the margin: it starts a line of its own.
        PrintLine l;
        l.tab(m).text("           48 Months =");
        right(l, 9, fmt(taxed(g.pay48), kPayment)).tab(m).text("60 Months =");
        line(right(l, 9, fmt(taxed(g.pay60), kPayment)));
    }
    blank();
    at(m, "First and last payments are required with order.");
    blank(2);
    at(m + 18, "--SAVING THROUGH LEASING--");
    blank();
    at(m + 6, "Year     Heat pump   Lease     Numb    Total     Costs     Saving");
    at(m + 6, std::string(g.backup_on == 0 ? "         Run costs   Payments  Pay     Costs     "
                                           : "         and backup  Payments  Pay     Costs     ") +
                  fuel_word(ft) + "   Per year");
    blank();
    Currency saving;
    fin_years(saving);

    const double years = g.fin_months / 12.0;
    const auto per_year = [years](Currency c) { return years == 0 ? 0.0 : c.toDouble() / years; };
    const Currency S = g.backup_on != 0 ? saving : g.heater_cum_cy[ft] - g.heater_cum_cy[1];
    at(m, "Total tax deductions for");
    const Currency costs = cy(g.pay_term.toDouble() * g.fin_months * (g.sales_tax + 100.0) / 100.0) + g.down_pay;
    label_figure("lease costs                       :  ", 8, fmt(costs, kWhole));
    static const char* labels[] = {"",
                                   "",
                                   "Average annual energy costs       : ",
                                   "Average annual Natural Gas costs  : ",
                                   "Average annual Propane costs      : ",
                                   "Average annual Heating Oil costs  : "};
    label_figure(labels[ft], 11, fmt(per_year(g.heater_cum_cy[ft]), kWhole));
    at(m, "Average annual heat pump");
    label_figure(g.backup_on == 0 ? "energy costs                      :  " : "and backup energy costs           :  ",
                 10, fmt(per_year(g.heater_cum_cy[1]), kWhole));
    label_figure("Average annual leasing costs      :  ", 10, fmt(per_year(g.fin_total), kWhole));
    label_figure("Average annual savings            : ", 32, fmt(per_year(S), kWhole));
    blank();
    {
        const std::string n = fmt(static_cast<double>(g.fin_months), "#0");
        PrintLine l;
        l.tab(m).text("Total ").tab(m + 9 - len(n)).text(n).tab(m + 10).text(" months savings         : ");
        line(right(l, 32, fmt(S, kWhole)));
    }
    {
        // The years after the term at the saving of the term's last year,
        // grown once by the compared fuel's price rise.
        const int k = vb::CInt(10 - g.fin_months / 12.0);
        Currency ten;
        for (int i = 0; i < k; ++i) ten += cy(g.post_saving.toDouble() * std::pow(1.0 + g.price_rise[ft], k - 1));
        ten += S;
        label_figure("Total  10 years savings           : ", 32, fmt(ten, "$#,###,##0"));
    }
    if (g.fin_months < 48) blank();
    blank(2);
}
