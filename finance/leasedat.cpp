// Lease and loan pricing (see leasedat.h).
#include "finance/leasedat.h"

#include <cmath>

#include "app/data.h"
#include "app/limits.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"

namespace fin {
namespace {

constexpr const char* kMoney = "$##,##0.00";  // amounts in boxes and labels
constexpr const char* kPay = "$#,##0.00";     // payments and tax
constexpr const char* kPct = " ##0.00";       // percents written into boxes

// Amounts beyond this (ten trillion dollars) cannot be priced: they would
// overflow the currency sums further on.
constexpr double kMaxAmount = 1e13;

[[noreturn]] void overflow() { throw ui::RtError(6, ui::ErrorText(6)); }

// A figure worked out in floating point, rounded to currency.
Currency money(double x) {
    if (!std::isfinite(x) || std::fabs(x) >= kMaxAmount) overflow();
    return cy(x);
}
void check(Currency c) {
    if (std::fabs(c.toDouble()) >= kMaxAmount) overflow();
}

std::string fmt(Currency c, const char* mask) { return vb::Format(c.toDouble(), mask); }
std::string fmt(double x, const char* mask) { return vb::Format(x, mask); }

bool lease_mode() { return g.fin_mode == 1; }
bool loan_mode() { return g.fin_mode == 2; }

// What the calculation writes, and the Change rules it runs by writing
// into the window's input boxes.
class Writer {
public:
    explicit Writer(LeaseView* v) : view_(v) {}
    Shown& at(Item item) {
        static Shown scratch;
        if (!view_) return scratch = Shown{};
        return (*view_)[item];
    }
    void label(Item item, const std::string& text) { at(item).text = text; }
    // A box written from the program stores what it shows, as typing does.
    void box(int number, const std::string& text) {
        std::string shown = text;
        if (auto instead = box_changed(number, shown)) shown = *instead;
        at(box_item(number)).text = shown;
    }
    void show(Item item, bool on) { at(item).visible = on; }

private:
    static Item box_item(int number) {
        switch (number) {
            case 1: return Item::Text1;
            case 2: return Item::Text2;
            case 3: return Item::Text3;
            case 4: return Item::Text4;
            case 5: return Item::Text5;
            case 6: return Item::Text6;
            case 7: return Item::Text7;
            case 8: return Item::Text8;
            case 9: return Item::Text9;
            default: return Item::Text11;
        }
    }
    LeaseView* view_;
};

// Step 18: captions and visibility by mode (the window places the controls).
void layout(Writer& w) {
    using I = Item;
    const bool lease = lease_mode(), loan = loan_mode();
    if (lease) {
        w.label(I::Label7, "Desired depreciation");
        w.show(I::Label22, true);
        w.show(I::Label12, true);
        w.label(I::Label6, "Total system costs");
        w.label(I::Label17, "Buyout at the end of the lease");
        for (I c : {I::Text11, I::Label23, I::Label29}) w.show(c, false);
        w.show(I::Label20, false);
    } else if (loan) {
        w.label(I::Label7, "Up-front costs");
        w.show(I::Label22, false);
        w.show(I::Label12, false);
        w.label(I::Label6, "Total system price");
        w.label(I::Label17, "Baloon Payment");
        w.show(I::Text9, false);
        for (I c : {I::Text11, I::Label23, I::Label29, I::Label27}) w.show(c, true);
        w.show(I::Label20, true);
    } else {
        // Before a mode is chosen: no lease payment and no balance.
        w.show(I::Label20, false);
        w.show(I::Label22, false);
        w.show(I::Label12, false);
    }
    const bool balance = loan && g.balloon_amt > Currency{};
    w.show(I::Label18, balance);
    w.show(I::Label26, balance);
    if (balance) w.label(I::Label18, "Balance");
}

// The balloon percent of the price, 0 when there is no price to take it of.
float percent_of_total(Currency amount) {
    if (g.sys_total.isZero()) return 0.0f;
    return static_cast<float>(amount.toDouble() * 100.0 / g.sys_total.toDouble());
}

// Steps 2 to 14: one pass over the figures.
void pass(Writer& w, int& step) {
    const bool lease = lease_mode(), loan = loan_mode();
    step = 2;
    check(g.equip_cost);
    check(g.add_charges);
    check(g.inst_cost);
    w.label(Item::Label2, right13(fmt(g.equip_cost, kMoney)));
    w.box(1, fmt(g.add_charges, kMoney));
    w.box(2, fmt(g.inst_cost, kMoney));

    step = 3;
    g.sys_total = g.equip_cost + g.add_charges + g.inst_cost;
    w.label(Item::Label5, right13(fmt(g.sys_total, kMoney)));

    step = 4;
    if (g.down_perc == 0 || lease) {
        w.show(Item::Text8, false);
        w.show(Item::Label24, false);
    }
    if (loan && g.down_perc > 0) {
        w.show(Item::Text8, true);
        w.show(Item::Label24, true);
        w.box(8, fmt(static_cast<double>(g.down_perc), kPct));
    }
    if (loan) g.down_pay = money(g.sys_total.toDouble() * g.down_perc / 100.0);

    step = 5;
    check(g.down_pay);
    w.box(3, fmt(g.down_pay, kMoney));
    w.box(4, fmt(lease ? g.fees_lease : g.fees_loan, kMoney));

    step = 6;
    Currency lease_amount;
    if (loan) {
        check(g.fees_loan);
        const Currency tax = money((g.sys_total + g.fees_loan).toDouble() * g.sales_tax / 100.0);
        g.upfront = g.down_pay + g.fees_loan + tax;
        w.label(Item::Label11, right13(fmt(g.upfront, kMoney)));
        w.label(Item::Label15, right13(fmt(tax, kMoney)));
    } else {
        w.box(5, fmt(g.resid_val, kMoney));
        check(g.fees_lease);
        check(g.resid_val);
        // The down payment without the sales tax it contains.
        const Currency net_down = money(g.down_pay.toDouble() * 100.0 / (100.0 + g.sales_tax));
        lease_amount = g.sys_total - net_down + g.fees_lease - g.resid_val;
        if (lease_amount < Currency{}) lease_amount = Currency{};  // nothing left to finance
        w.label(Item::Label11, right13(fmt(lease_amount, kMoney)));
    }

    step = 7;
    if (lease) {
        if (g.fin_opts[2].isZero()) g.fin_opts[2] = Currency::dollars(1);
        g.balloon_perc = percent_of_total(g.balloon_amt);
        g.balloon_end = g.fin_opts[2];
        check(g.balloon_end);
        w.box(9, fmt(g.balloon_end, kMoney));
    } else {
        const double yearly = g.loan_rate / 100.0;
        const auto from_percent = [&] {
            w.box(11, g.balloon_perc <= 0 ? std::string() : fmt(static_cast<double>(g.balloon_perc), kPct));
            g.balloon_amt = money(g.sys_total.toDouble() * g.balloon_perc / 100.0);
            w.label(Item::Label23, g.balloon_amt > Currency{} ? fmt(g.balloon_amt, kMoney) : std::string());
        };
        const Currency mode = g.fin_opts[3];
        if (mode == Currency::dollars(1)) {  // compounded monthly
            from_percent();
            g.balloon_end = g.balloon_amt;
            for (int m = 1; m <= g.fin_months; ++m)
                g.balloon_end = money(g.balloon_end.toDouble() * (yearly / 12.0 + 1.0));
            w.label(Item::Label27, right13(fmt(g.balloon_end, kMoney)));
        }
        if (mode.isZero()) {  // simple interest per year
            from_percent();
            g.balloon_end = money(g.balloon_amt.toDouble() * (yearly * g.fin_months / 12.0 + 1.0));
            w.label(Item::Label27, right13(fmt(g.balloon_end, kMoney)));
        }
        if (mode == Currency::dollars(2)) {  // typed directly
            g.balloon_end = g.balloon_amt;
            w.label(Item::Label27, right13(fmt(g.balloon_end, kMoney)));
            g.balloon_perc = percent_of_total(g.balloon_amt);
            if (loan) w.box(11, g.balloon_perc > 0 ? fmt(static_cast<double>(g.balloon_perc), kPct) : std::string());
        }
    }

    step = 8;
    if (lease) {
        g.fin_amount = lease_amount;
    } else {
        g.fin_amount = g.sys_total - g.down_pay - g.balloon_amt;
        g.mon_rate = g.loan_rate / 100.0 / 12.0;
    }
    // A down payment and a balloon together larger than the price leave
    // nothing to finance, never a negative amount: no payment or total is
    // ever negative. The too-small message then says so.
    if (g.fin_amount < Currency{}) g.fin_amount = Currency{};

    step = 9;
    if (loan && g.balloon_amt > Currency{}) w.label(Item::Label26, fmt(g.fin_amount, kMoney));

    step = 10;
    if (loan) {
        g.pay_term = loan_pay(g.fin_months);
        g.pay36 = loan_pay(36);
        g.pay48 = loan_pay(48);
        g.pay60 = loan_pay(60);
        w.box(7, fmt(static_cast<double>(g.loan_rate), kPct));
    } else {
        g.pay_term = lease_pay(g.fin_months);
        g.pay12 = lease_pay(12);
        g.pay18 = lease_pay(18);
        g.pay24 = lease_pay(24);
        g.pay36 = lease_pay(36);
        g.pay48 = lease_pay(48);
        g.pay60 = lease_pay(60);
        loan_bands(g.fin_months);
        g.lease_key = g.lease_fact[g.term_idx][g.amt_bracket];
        w.box(7, fmt(g.lease_key, " 0.00000"));
    }

    step = 11;
    w.label(Item::Label28, fmt(static_cast<double>(g.fin_months), "##"));
    w.label(lease ? Item::Label12 : Item::Label16, right13(fmt(g.pay_term, kPay)));

    step = 12;
    // Shown also when 0, as every amount of the window is.
    w.box(6, fmt(static_cast<double>(g.sales_tax), kPct));

    step = 13;
    const Currency tax = lease ? money(g.pay_term.toDouble() * (g.sales_tax / 100.0))
                               : money((g.sys_total + g.fees_loan).toDouble() * g.sales_tax / 100.0);
    w.label(Item::Label15, right13(fmt(tax, kPay)));

    step = 14;
    if (lease) {
        const Currency with_tax = money(g.pay_term.toDouble() * (g.sales_tax + 100.0) / 100.0);
        w.label(Item::Label16, right13(fmt(with_tax, kPay)));
    }
}

// Step 16: the total of the payments or of all costs.
Currency total() {
    if (lease_mode()) {
        const Currency with_tax = money(g.pay_term.toDouble() * (g.sales_tax + 100.0) / 100.0);
        Currency t = with_tax * g.fin_months;
        if (!g.tot_toggle.isZero()) t += g.down_pay;
        return t;
    }
    Currency t = g.pay_term * g.fin_months;
    if (!g.tot_toggle.isZero())
        t += g.down_pay + g.balloon_end + g.fees_loan +
             money((g.sys_total + g.fees_loan).toDouble() * g.sales_tax / 100.0);
    return t;
}

}  // namespace

std::string right13(const std::string& text) {
    const std::size_t n = vb::Len(text);
    return n >= 13 ? text : std::string(13 - n, ' ') + text;
}

double box_number(const std::string& text) {
    const double v = vb::Val(remove_comma(text));
    return std::isfinite(v) ? v : 0.0;
}

namespace {

// A refused down payment: the message naming the limit, then the down
// payment and text from before the typing began (or, without them, the
// down payment stored last, shown in the box's own form).
std::string down_payment_refused(const std::string& limit, const BoxEntry* before, const std::string& last) {
    ui::MsgBox(limit, ui::vbExclamation, "Down payment");
    if (!before) return last;
    g.down_pay = before->down_pay;
    g.down_perc = before->down_perc;
    return before->text;
}

}  // namespace

BoxEntry box_entry(const std::string& text) { return {text, g.down_pay, g.down_perc}; }

std::optional<std::string> box_changed(int box, const std::string& text, const BoxEntry* before) {
    const double v = box_number(text);
    const auto amount = [v] { return Currency::from(v); };
    switch (box) {
        case 1: g.add_charges = amount(); break;
        case 2: g.inst_cost = amount(); break;
        case 3:
            // A loan's down payment is part of the price: more than all of
            // it would finance a negative amount (negative payments). Refused
            // with the limit named.
            if (loan_mode() && amount() > g.sys_total && g.sys_total >= Currency{})
                return down_payment_refused(
                    "The down payment can be at most the system's total price, " + fmt(g.sys_total, kMoney) + ".",
                    before, fmt(g.down_pay, kMoney));
            g.down_pay = amount();
            if (loan_mode()) {
                // No price, no percentage: it stays 0 rather than dividing by 0.
                g.down_perc = g.down_pay.isZero() || g.sys_total.isZero()
                                  ? 0.0f
                                  : static_cast<float>(g.down_pay.toDouble() / g.sys_total.toDouble() * 100.0);
            }
            break;
        case 8:
            if (v > limits::kDownPayPct.typed.max)
                return down_payment_refused("The down payment can be at most " +
                                                vb::CStr(limits::kDownPayPct.typed.max) +
                                                " % of the system's total price (" + fmt(g.sys_total, kMoney) + ").",
                                            before, fmt(static_cast<double>(g.down_perc), "##0.00"));
            g.down_perc = static_cast<float>(v);
            g.down_pay = g.down_perc > 0 ? Currency::from(g.sys_total.toDouble() * g.down_perc / 100.0) : Currency{};
            break;
        case 4: (lease_mode() ? g.fees_lease : g.fees_loan) = amount(); break;
        case 5: (lease_mode() ? g.resid_val : g.fin_opts[16]) = amount(); break;
        case 6:
            if (v > limits::kSalesTax.typed.max) {
                g.sales_tax = 0;
                return std::string("0.00");
            }
            g.sales_tax = static_cast<float>(v);
            break;
        case 7:
            if (loan_mode()) {
                g.loan_rate = static_cast<float>(v);
            } else {
                g.lease_key = v;
                g.lease_fact[g.term_idx][g.amt_bracket] = v;
            }
            break;
        case 9:
            if (lease_mode()) g.fin_opts[2] = amount();
            break;
        case 11:
            if (loan_mode() && g.fin_opts[3].isZero()) {
                const bool refused = v > limits::kBalloonPct.typed.max;
                g.balloon_perc = refused ? 0.0f : static_cast<float>(v);
                g.balloon_amt = g.balloon_perc > 0 && vb::CLng(g.sys_total.toDouble()) != 0
                                    ? Currency::from(g.sys_total.toDouble() * g.balloon_perc / 100.0)
                                    : Currency{};
                if (refused) return std::string();
            }
            break;
        default: break;
    }
    return std::nullopt;
}

void loan_bands(int months) {
    switch (months) {
        case 12: g.term_idx = 1; break;
        case 18: g.term_idx = 2; break;
        case 24: g.term_idx = 3; break;
        case 36: g.term_idx = 4; break;
        case 48: g.term_idx = 5; break;
        case 60: g.term_idx = 6; break;
        default: break;
    }
    // Each bracket runs up to and including its upper bound, so an amount
    // between two brackets' printed bounds (5,000.50) and an amount below
    // the first one belong to a bracket too.
    const Currency a = g.fin_amount;
    if (a <= Currency::dollars(5000)) g.amt_bracket = 1;
    else if (a <= Currency::dollars(15000)) g.amt_bracket = 2;
    else if (a <= Currency::dollars(25000)) g.amt_bracket = 3;
    else g.amt_bracket = 4;
}

Currency lease_pay(int months) {
    loan_bands(months);
    double& cell = g.lease_fact[g.term_idx][g.amt_bracket];
    if (cell == 0) cell = 0.03;
    g.lease_key = cell;
    return money(g.fin_amount.toDouble() * g.lease_key);
}

double pmt_calc(double rate, int periods, Currency pv, double fv, int timing, short& err) {
    if (fv != 0 || timing != 0) {
        err = 1;
        return 0;
    }
    err = 0;
    if (periods <= 0) throw ui::RtError(5, ui::ErrorText(5));
    if (rate == 0) return pv.toDouble() / periods;
    return pv.toDouble() * rate / (1.0 - std::pow(1.0 + rate, -periods));
}

Currency loan_pay(int months) { return money(pmt_calc(g.mon_rate, months, g.fin_amount, 0, 0, g.pmt_err)); }

void fin_amount_msg() {
    ui::MsgBox((lease_mode() ? "Lease basic amount" : "loan basic amount") + g.crlf + "is too small." + g.crlf +
                   "Check the inputs.",
               ui::vbOKOnly, "Error");
}

std::string bracket_label(int bracket) {
    switch (bracket) {
        case 1: return " $2,000 to $5,000   ";
        case 2: return " $5,001 to $15,000  ";
        case 3: return " $15,001 to $25,000 ";
        case 4: return " $25,000 and up     ";
        default: return "";
    }
}

bool Leasedat(LeaseView* view) {
    Writer w(view);
    int step = 1;
    try {
        // Defaults.
        if (loan_mode() && g.down_perc == 0) g.down_perc = 25;
        if (g.loan_rate <= 0) g.loan_rate = 3.3f;
        if (lease_mode()) {
            if (g.fin_months < 12) g.fin_months = 12;
        } else if (g.fin_months < 36) {
            g.fin_months = 36;
        }
        pass(w, step);
        step = 15;
        if (g.fin_amount < Currency::dollars(350)) {
            fin_amount_msg();
            pass(w, step);  // once more with what the boxes now hold
        }
        step = 16;
        w.label(Item::Label21, right13(fmt(total(), kMoney)));
        step = 17;
        if (loan_mode()) w.box(5, fmt(g.fin_opts[16], kMoney));
        step = 18;
        layout(w);
        step = 19;
        w.label(Item::SSCommand1, g.tot_toggle.isZero() ? "Tot costs" : "Tot payments");
        return true;
    } catch (const ui::RtError& e) {
        ui::MsgBox(e.description() + vb::Str(e.number) + " in " + vb::Str(step), ui::vbOKOnly, "Leasedat");
        return false;
    }
}

}  // namespace fin
