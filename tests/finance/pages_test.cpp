// The finance pages, compared whole with the expected transcripts in
// tests/finance/expected/, and the yearly saving table's figures.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbdate.h"
#include "finance/leasedat.h"
#include "finance/pages.h"
#include "print/printer.h"
#include "printouts/page.h"
#include "printouts/values.h"
#include "tests/support/expected.h"

namespace {

int g_title_fonts = 0;
void title_font() {
    ++g_title_fonts;
    prn::printer().FontName("Arial");
    prn::printer().FontSize(14);
    prn::printer().FontBold(true);
}

class FinancePages : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        vb::today_clock() = [] {
            std::tm t{};
            t.tm_year = 2026 - 1900;
            t.tm_mon = 11;
            t.tm_mday = 6;
            return t;
        };
        for (int t = 1; t <= 6; ++t)
            for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.035 - t * 0.002 - b * 0.0005;
        g.pump_tab[1].brand = "Kestrolin";
        g.pump_rec = 1;
        // A year's running costs from the heating calculation: the heat
        // pump 900.40, a gas heater alone 5,100.75; with the gas heater as
        // backup the heat pump 820.10 and the backup 310.55.
        g.fuel_type = HT_GAS;
        g.heater_yr_cost[HT_HEATPUMP] = 900.40;
        g.heater_yr_cost[HT_GAS] = 5100.75;
        g.heater_energy[HT_HEATPUMP] = 820.10;
        g.heater_energy[HT_GAS] = 310.55;
        for (int y = 1; y <= 12; ++y) g.year_tab_backup[y] = cy(5050 + 50 * y);
        g.backup_cost_total = cy(310.55);
        g.equip_cost = cy(14500);
        g.add_charges = cy(350);
        g.inst_cost = cy(1200);
        g.sales_tax = 6;
    }
    void TearDown() override { vb::today_clock() = nullptr; }

    // Prints `page` into one captured document.
    prn::Document print(void (*page)()) {
        const std::size_t before = cap.documents().size();
        prn::printer().Print({"(the report book's pages before)"});
        page();
        prn::printer().EndDoc();
        EXPECT_EQ(cap.documents().size(), before + 1);
        return cap.documents().empty() ? prn::Document{} : cap.documents().back();
    }
    void lease(int months) {
        g.fin_mode = 1;
        g.fin_months = static_cast<i16>(months);
        g.down_pay = cy(1060);
        g.fees_lease = cy(150);
        g.resid_val = cy(500);
        ASSERT_TRUE(fin::Leasedat());
    }
    void loan(int months) {
        g.fin_mode = 2;
        g.fin_months = static_cast<i16>(months);
        g.down_perc = 20;
        g.fees_loan = cy(250);
        g.loan_rate = 6.5f;
        g.balloon_perc = 10;
        g.fin_opts[3] = cy(1);  // compounded balloon
        g.fin_opts[16] = cy(2000);
        ASSERT_TRUE(fin::Leasedat());
    }
    ui::Script boxes;
    prn::Capture cap;
};

TEST_F(FinancePages, WholeLeasePages) {
    lease(36);
    g_title_fonts = 0;
    const TitleFont before = set_fin_title_font(title_font);
    // The sales page, then the lease table page.
    EXPECT_EQ("", testsupport::diff_with_expected(print(Lease1), "finance/expected/lease_gas.txt"));
    EXPECT_EQ(g_title_fonts, 3);
    set_fin_title_font(before);
    EXPECT_EQ(g.backup_cost_total, cy(310.55));  // the engine's figure is left alone

    g.backup_on = 1;
    lease(60);
    EXPECT_EQ("", testsupport::diff_with_expected(print(prt_fin_tables), "finance/expected/lease_gas_backup.txt"));

    // No existing heater: nothing is saved, and the savings read $0.
    g.backup_on = 0;
    g.fuel_type = HT_HEATPUMP;
    lease(12);
    EXPECT_EQ("", testsupport::diff_with_expected(print(prt_fin_tables), "finance/expected/lease_no_heater.txt"));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FinancePages, WholeLoanPages) {
    loan(48);
    const Currency balloon_end = g.balloon_end;
    EXPECT_EQ("", testsupport::diff_with_expected(print(prt_fin_tables), "finance/expected/loan_gas.txt"));
    // The page prints, and leaves, the calculator's compounded balloon.
    EXPECT_EQ(g.balloon_end, balloon_end);

    g.backup_on = 1;
    g.fin_opts[18] = cy(1);  // savings without deductions
    loan(60);
    EXPECT_EQ("", testsupport::diff_with_expected(print(prt_fin_tables), "finance/expected/loan_gas_backup.txt"));
    // Loan mode: the finance table page before and after the sales page.
    EXPECT_EQ(print(Lease1).pages.size(), 1u + 3u);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FinancePages, PaymentCountsAddUpToTheTerm) {
    for (bool lease : {true, false}) {
        for (int months : {12, 18, 24, 36, 48, 60}) {
            int sum = 0;
            for (int y = 1; y <= 5; ++y) sum += fin::payments_in_year(lease, months, y);
            EXPECT_EQ(sum, months) << (lease ? "lease " : "loan ") << months;
        }
    }
    // First and last payment in advance: 13 in the first year.
    EXPECT_EQ(fin::payments_in_year(true, 36, 1), 13);
    EXPECT_EQ(fin::payments_in_year(true, 36, 3), 11);
    EXPECT_EQ(fin::payments_in_year(true, 60, 5), 11);
    EXPECT_EQ(fin::payments_in_year(false, 60, 5), 12);
}

TEST_F(FinancePages, YearTableGrowsCostsAndSumsPayments) {
    // A 36-month loan: 3 rows of 12 payments.
    g.fin_mode = 2;
    g.fin_months = 36;
    g.pay_term = cy(210.37);
    g.price_rise[HT_GAS] = 0.05f;
    fin::YearTable t = fin::year_table();
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.pay_total, cy(210.37) * 36);
    // Year 3 costs year 1's figure grown twice by the price rise.
    const double r = 0.05f;
    EXPECT_EQ(t.rows[2].other, cy(5100.75 * (1 + r) * (1 + r)));
    EXPECT_EQ(t.rows[2].hp, cy(900.40));  // no rise for electricity
    EXPECT_EQ(t.post_saving, t.rows[2].other - t.rows[2].hp);

    // A lease's payments carry the sales tax.
    g.fin_mode = 1;
    g.sales_tax = 7;
    t = fin::year_table();
    EXPECT_EQ(t.rows[0].npay, 13);
    EXPECT_EQ(t.rows[0].pay, cy(210.37 * 13 * 1.07));

    // 18 months: two rows; the averages divide by one and a half years.
    g.fin_months = 18;
    Currency saving;
    fin_years(saving);
    EXPECT_EQ(g.table_years, 2);
    const auto text = prn::printer().document().pageText(0);
    ASSERT_GE(text.size(), 5u);
    EXPECT_NE(text[3].find("Total"), std::string::npos);
    EXPECT_NE(text[4].find("Average"), std::string::npos);
    EXPECT_EQ(text[3].substr(g.left_margin + 36, 2), "18");
    EXPECT_EQ(text[4].substr(g.left_margin + 36, 2), "12");
    prn::printer().KillDoc();

    // A backed-up system saves against the gas heater alone, and after the
    // term still pays for the backup heater's fuel.
    g.backup_on = 1;
    g.price_rise[HT_GAS] = 0;
    g.fin_mode = 2;
    g.fin_months = 36;
    t = fin::year_table();
    const Currency system = cy(820.10) + cy(310.55);
    EXPECT_EQ(t.saving, (cy(5100.75) - system) * 3 - t.pay_total);
    EXPECT_EQ(t.post_saving, g.year_tab_backup[3] - system);
}

}  // namespace

namespace {

// A failing printer never ends the program: the dealer is asked or told,
// and the page gives the document up for its caller to drop.
TEST_F(FinancePages, FailuresAbandonThePrintoutWithAMessage) {
    loan(36);
    prn::printer().Print({"(the report book's pages before)"});
    // The printer does not answer: "Check the paper", OK tries again.
    cap.failNext(25, 1);
    boxes.answer(ui::vbOK);
    EXPECT_NO_THROW(Loanprt());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Printer error");
    EXPECT_EQ(boxes.shown()[0].text, "Check the paper");
    // Cancel gives the printout up.
    cap.failNext(25, 1);
    boxes.answer(ui::vbCancel);
    EXPECT_THROW(Lease1(), PrintAbandoned);
    // Any other failure: the page's message, then the printout is given up.
    boxes.clear();
    cap.failNext(57, 1);
    boxes.answer(ui::vbOK);
    EXPECT_THROW(Loanprt(), PrintAbandoned);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Loanprt error");
    EXPECT_NE(boxes.shown()[0].text.find(" 57 in "), std::string::npos);
    boxes.clear();
    g.fin_mode = 1;
    cap.failNext(57, 1);
    boxes.answer(ui::vbOK);
    EXPECT_THROW(Lease1(), PrintAbandoned);
    EXPECT_EQ(boxes.shown().back().title, "Lease1 error");
    prn::printer().KillDoc();
}

}  // namespace
