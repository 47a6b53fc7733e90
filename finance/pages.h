// The finance pages of the printed report book: the leasing sales page,
// the finance table page with the lease or the loan data, and the yearly
// saving table both data pages end with. They print through the program's
// printer (print/printer.h) inside a document the caller opened
// and ends; they read the finance figures of the last finance calculation
// (fin::Leasedat) and the yearly running costs of the last heating
// calculation.
//
// Failures: a printer that does not answer asks "Check the paper" (OK tries
// again, Cancel abandons). Any other failure is reported in a message box
// titled with the page ("Lease1 error", "Loanprt error", "prttot"); the
// page then throws PrintAbandoned (printouts/page.h): the caller drops the
// document (KillDoc) and the program runs on.
#pragma once

#include <vector>

#include "core/currency.h"

// ---- pages (called by the report book) ---------------------------------------------

// The leasing sales page, then the finance table page. A loan prints the
// finance table page before the sales page as well.
void Lease1();
// One finance table page: a new page, the body font, the table title, the
// lease data (fin_mode 1) or the loan data, and the footer.
void prt_fin_tables();
// The lease data page body.
void prt_lease();
// The loan data page body.
void Loanprt();
// The footer under the finance tables.
void prt_fin_footer();

// The title font the sales page's headlines use (the report book's
// Fnt_title). The report book installs it; until then the headlines keep
// the current font.
using TitleFont = void (*)();
TitleFont set_fin_title_font(TitleFont f);

// ---- the yearly saving table ----------------------------------------------------------

// Prints the table rows of the finance term, then its Total and Average
// rows and the blank lines after them, at the printer's position. Sets
// table_years, heater_year_cy and heater_cum_cy (heat pump and fuel_type),
// year_npay, year_pay, fin_total and post_saving. `saving_total` gets the
// saving of a backed-up system over the term (0 for a heat pump alone).
void fin_years(Currency& saving_total);

namespace fin {

// The figures of one row of the yearly table.
struct YearRow {
    int year = 0;
    Currency hp;          // running cost of the heat-pump system (H)
    Currency other;       // running cost of heater fuel_type (O)
    Currency fuel_alone;  // backed-up system: the compared heater alone
    Currency backup_tab;  // backed-up system: the engine's yearly cost of the compared heater (B)
    int npay = 0;         // payments falling in the year
    Currency pay;         // their sum (a lease's with sales tax)
};
struct YearTable {
    std::vector<YearRow> rows;
    Currency hp_total;     // heater_cum_cy(1)
    Currency fuel_total;   // heater_cum_cy(fuel_type)
    Currency pay_total;    // fin_total
    Currency saving;       // backed-up system: the term's saving; else 0
    Currency post_saving;  // the yearly saving once the payments have ended
};

// Payments falling in year `year` (1..) of a term: a lease takes the first
// and the last payment in advance (13 in year 1), then 12 a year; a loan 12
// a year; the last year takes what is left, so the counts add up to the
// term.
int payments_in_year(bool lease, int months, int year);

// The table's figures, without printing (the same as fin_years prints).
YearTable year_table();

}  // namespace fin
