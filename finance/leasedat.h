// Lease and loan pricing of the project's heat-pump system: the one
// calculation of the finance window (`Leasedat`), its helpers and the rules
// by which the window's boxes store what they show. No windows here: the
// calculation reports what each control of the finance window is to show in
// a LeaseView, which the window applies and lays out for the mode.
//
// The finance figures live in the shared data model `g` (app/model.h):
//   fin_mode      1 lease, 2 loan, 0 before the finance window chose one
//   fin_months    term in months (lease at least 12, loan at least 36)
//   equip_cost    equipment price from the engine (read only)
//   add_charges, inst_cost           typed amounts; sys_total is their sum
//                                    with equip_cost
//   down_perc, down_pay              loan down payment in percent / amount
//                                    (lease: the amount is typed)
//   fees_lease, fees_loan            fees of each kind
//   sales_tax     percent; a lease taxes every payment, a loan the price
//   resid_val     lease value at the end, taken off the financed amount
//   upfront       loan: down payment + fees + tax, paid at the start
//   loan_rate     annual percent (3.3 when not above 0); mon_rate the
//                 monthly fraction the annuity uses
//   balloon_perc, balloon_amt, balloon_end   loan balloon (percent, principal,
//                 what is paid at the end); lease: balloon_end is the buy-out
//   fin_amount    the amount the monthly payment is worked out on
//   term_idx, amt_bracket   row and column of lease_fact in use
//   lease_key     the lease key factor in use (monthly payment per dollar)
//   pay_term      payment for fin_months; pay12 .. pay60 for each term
//   tot_toggle    0: the total shows the payments, else the total costs
#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/currency.h"

namespace fin {

// The controls of the finance window that the calculation writes, by their
// names on the window. Where each stands is the window's business.
enum class Item {
    Label2,
    Label5,
    Label6,
    Label7,
    Label11,
    Label12,
    Label15,
    Label16,
    Label17,
    Label18,
    Label20,
    Label21,
    Label22,
    Label23,
    Label24,
    Label26,
    Label27,
    Label28,
    Label29,
    Text1,
    Text2,
    Text3,
    Text4,
    Text5,
    Text6,
    Text7,
    Text8,
    Text9,
    Text11,
    SSCommand1,
};
// What one control is to show; unset members keep the control as it is.
struct Shown {
    std::optional<std::string> text;  // a box's text, a label's or a button's caption
    std::optional<bool> visible;
};
using LeaseView = std::map<Item, Shown>;

// A figure shown right-aligned in a 13-character result label: blanks in
// front up to 13 characters; a longer text is shown whole, never cut.
std::string right13(const std::string& text);

// The number at the start of a box's text after "," "$" and "%" are taken
// out (0 when there is none).
double box_number(const std::string& text);

// A box as it stood before the dealer began typing in it: the text it
// showed and the down payment (amount and percent) as it was then.
struct BoxEntry {
    std::string text;
    Currency down_pay;
    float down_perc = 0;
};
// The entry of a box showing `text`, with the down payment as it is now.
BoxEntry box_entry(const std::string& text);

// The Change rule of the finance window's input boxes Text1 .. Text9 and
// Text11 (box = 1..11, 10 is the help box): stores the value the text shows
// into its finance figure for the current fin_mode. Returns the text the box
// must show instead when the value is refused (a sales tax or a balloon
// percent above 100), after storing what that text means. A refused down
// payment (above the price, or above 100 %) gives back the down payment and
// the text of `before`, so that none of the keys typed on the way to it
// stays; without `before`, the down payment stored last stays.
std::optional<std::string> box_changed(int box, const std::string& text, const BoxEntry* before = nullptr);

// Sets term_idx from the term (12, 18, 24, 36, 48, 60 months give 1..6; any
// other term keeps it) and amt_bracket from fin_amount: up to 5,000 is 1
// (amounts below 2,000 included), up to 15,000 is 2, up to 25,000 is 3,
// above is 4, every amount in exactly one bracket.
void loan_bands(int months);
// The lease payment for `months` on fin_amount with its key factor; an
// empty (0) factor becomes 0.03 in the table. Sets lease_key.
Currency lease_pay(int months);
// Annuity payment per period: pv * r / (1 - (1 + r)^-n). `err` becomes 1 and
// the result 0 when a future value or payment timing other than 0 is asked
// for. A rate of 0 gives the straight pv / n.
double pmt_calc(double rate, int periods, Currency pv, double fv, int timing, short& err);
// The loan payment for `months` at mon_rate on fin_amount, in currency.
Currency loan_pay(int months);
// The too-small message ("Lease basic amount" / "loan basic amount").
void fin_amount_msg();

// The whole calculation. Fills the finance figures of g and, when `view` is
// given, what every written control of the finance window shows (texts,
// visibility, captions). Shows the too-small message at most once.
// A run-time failure (an amount too large for currency) is reported in a
// message box titled "Leasedat" and abandons the calculation; it returns
// false then.
bool Leasedat(LeaseView* view = nullptr);

// The label of amount bracket 1..4 in the key-factor help; "" otherwise.
std::string bracket_label(int bracket);

}  // namespace fin
