// Lease and loan pricing checked against figures worked out here from the
// textbook formulas, not taken from the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <tuple>

#include "app/model.h"
#include "app/settings.h"
#include "core/ui.h"
#include "finance/leasedat.h"
#include "tests/support/settings_files.h"

namespace {

// Money rounded to cents the way a person checks a quote.
double cents(double x) { return std::round(x * 100.0) / 100.0; }
// Annuity payment per month on `pv` at `yearly` percent over `n` months.
double annuity(double pv, double yearly, int n) {
    const double r = yearly / 1200.0;
    return pv * r / (1.0 - std::pow(1.0 + r, -n));
}

class Finance : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        for (int t = 1; t <= 6; ++t)
            for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.02 + t * 0.001 + b * 0.0001;
    }
    void loan(double price, int months, float rate) {
        g.fin_mode = 2;
        g.equip_cost = cy(price);
        g.fin_months = static_cast<i16>(months);
        g.loan_rate = rate;
    }
    void lease(double price, int months) {
        g.fin_mode = 1;
        g.equip_cost = cy(price);
        g.fin_months = static_cast<i16>(months);
    }
    ui::Script boxes;
};

// The shipped settings price leases: each factor is the annuity per dollar
// at the yearly rate data/lease_factors.csv names for its amount bracket,
// and the factors fall with the term and with the amount.
TEST_F(Finance, ShippedLeaseFactorsAreAnnuitiesFallingWithTermAndAmount) {
    const char* bin = std::getenv("HEATER_BIN_DIR");
    std::ifstream in(std::string(bin ? bin : "../bin") + "/defaults/defaulte.dat", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(settings::fromText(text, g).ok());
    const int terms[] = {12, 18, 24, 36, 48, 60};
    const double rates[] = {14, 11, 9.5, 8.5};
    for (int t = 1; t <= 6; ++t)
        for (int b = 1; b <= 4; ++b) {
            EXPECT_NEAR(g.lease_fact[t][b], annuity(1, rates[b - 1], terms[t - 1]), 0.000005) << t << " " << b;
            if (t > 1) {
                EXPECT_LT(g.lease_fact[t][b], g.lease_fact[t - 1][b]);
            }
            if (b > 1) {
                EXPECT_LT(g.lease_fact[t][b], g.lease_fact[t][b - 1]);
            }
        }
    // $13,500 over 12 months at 11 %: about $1,193 a month (the factor has
    // five decimals), not the $405 of an empty table's 0.03.
    lease(13500, 12);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_NEAR(g.pay_term.toDouble(), annuity(13500, 11, 12), 0.05);
}

// Loan: a down payment above the system's price is refused with the limit
// named, and the last valid one stays; whatever is typed, no payment or
// total is negative.
TEST_F(Finance, ADownPaymentAboveThePriceIsRefusedAndNothingGoesNegative) {
    loan(13500, 60, 6);
    ASSERT_TRUE(fin::Leasedat());
    const Currency down = g.down_pay;  // the default 25 %
    EXPECT_EQ(fin::box_changed(3, "$15,000.00"), "$3,375.00");
    EXPECT_EQ(fin::box_changed(8, "150"), "25.00");
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "The down payment can be at most the system's total price, $13,500.00.");
    EXPECT_EQ(boxes.shown()[1].text, "The down payment can be at most 100 % of the system's total price ($13,500.00).");
    EXPECT_EQ(g.down_pay, down);
    // Given the box as it stood before the typing, the refusal gives that
    // back, not what the keys on the way stored ("15" of 150 %, "2000" of
    // 20000).
    const fin::BoxEntry before = fin::box_entry(" 25.00");
    for (const auto& [box, on_the_way, typed] : {std::tuple{8, "15", "150"}, std::tuple{3, "2000", "20000"}}) {
        ASSERT_EQ(fin::box_changed(box, on_the_way), std::nullopt);
        ASSERT_NE(g.down_pay, down);
        EXPECT_EQ(fin::box_changed(box, typed, &before), " 25.00") << typed;
        EXPECT_EQ(g.down_pay, down) << typed;
        EXPECT_EQ(g.down_perc, 25.0f) << typed;
    }
    EXPECT_EQ(fin::box_changed(8, "100"), std::nullopt);  // the whole price is a valid down payment
    // A balloon likewise at most the whole price; one above it is refused and none kept.
    EXPECT_EQ(fin::box_changed(11, "101"), std::string());
    EXPECT_EQ(g.balloon_perc, 0.0f);
    EXPECT_EQ(fin::box_changed(11, "100"), std::nullopt);
    EXPECT_EQ(g.balloon_perc, 100.0f);

    // 60 % down and a 60 % balloon leave nothing to finance.
    g.down_perc = 60;
    g.balloon_perc = 60;
    fin::LeaseView v;
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.fin_amount, Currency{});
    for (const Currency p : {g.pay_term, g.pay36, g.pay48, g.pay60}) EXPECT_GE(p, Currency{});
    for (const fin::Item i : {fin::Item::Label16, fin::Item::Label21, fin::Item::Label26})
        EXPECT_EQ(v[i].text.value_or("-").find('-'), std::string::npos);
    // A lease paid down beyond its price likewise.
    lease(13500, 36);
    g.down_pay = cy(20000);
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_GE(g.pay_term, Currency{});
    for (const fin::Item i : {fin::Item::Label11, fin::Item::Label16, fin::Item::Label21})
        EXPECT_EQ(v[i].text.value_or("-").find('-'), std::string::npos);
}

TEST_F(Finance, LoanPaymentsFollowTheAnnuityFormula) {
    // 10,000.00 at 6 % a year over 60 months.
    short err = 9;
    const double p = fin::pmt_calc(0.06 / 12, 60, cy(10000), 0, 0, err);
    EXPECT_EQ(err, 0);
    EXPECT_DOUBLE_EQ(cents(p), cents(annuity(10000, 6, 60)));
    EXPECT_DOUBLE_EQ(cents(p), 193.33);

    // A future value or a payment at the start of the period is not offered.
    EXPECT_EQ(fin::pmt_calc(0.005, 60, cy(10000), 1, 0, err), 0);
    EXPECT_EQ(err, 1);
    EXPECT_EQ(fin::pmt_calc(0.005, 60, cy(10000), 0, 1, err), 0);
    EXPECT_EQ(err, 1);
    // Interest-free: the price split evenly.
    EXPECT_DOUBLE_EQ(fin::pmt_calc(0, 48, cy(4800), 0, 0, err), 100.0);

    // Through the calculation: 12,000 with the default 25 % down leaves
    // 9,000 financed; every term's payment is the annuity of that amount.
    loan(12000, 48, 6);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.down_pay, cy(3000));
    EXPECT_EQ(g.fin_amount, cy(9000));
    EXPECT_NEAR(g.pay_term.toDouble(), annuity(9000, 6, 48), 0.00005);
    EXPECT_NEAR(g.pay36.toDouble(), annuity(9000, 6, 36), 0.00005);
    EXPECT_NEAR(g.pay60.toDouble(), annuity(9000, 6, 60), 0.00005);
    EXPECT_DOUBLE_EQ(g.mon_rate, 6.0f / 100.0 / 12.0);
    // Up-front: down payment, fees and the tax on price and fees.
    g.fees_loan = cy(200);
    g.sales_tax = 6;
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.upfront, cy(3000 + 200 + 0.06 * 12200));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Finance, DefaultsFillWhatIsMissing) {
    fin::LeaseView v;
    loan(8000, 0, 0);
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.down_perc, 25.0f);
    EXPECT_EQ(g.down_pay, cy(2000));
    EXPECT_FLOAT_EQ(g.loan_rate, 3.3f);
    EXPECT_EQ(*v[fin::Item::Text7].text, " 3.30");
    EXPECT_EQ(*v[fin::Item::Text6].text, " 0.00");  // no sales tax shows 0, as every other figure
    EXPECT_EQ(g.fin_months, 36);

    lease(8000, 6);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.fin_months, 12);
    loan(8000, 24, 5);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.fin_months, 36);
    // Before a mode is chosen the term takes the loan minimum.
    g.fin_mode = 0;
    g.fin_months = 0;
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.fin_months, 36);

    // A loan leaves the lease-only payments as the last lease left them.
    lease(8000, 24);
    ASSERT_TRUE(fin::Leasedat());
    const Currency p12 = g.pay12, p18 = g.pay18, p24 = g.pay24;
    loan(20000, 60, 7);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.pay12, p12);
    EXPECT_EQ(g.pay18, p18);
    EXPECT_EQ(g.pay24, p24);
}

TEST_F(Finance, BalloonGrowsByTheChosenInterestMode) {
    fin::LeaseView v;
    // 1,000.00 balloon (10 % of 10,000) at 6 % for 36 months.
    loan(10000, 36, 6);
    g.balloon_perc = 10;
    g.fin_opts[3] = cy(0);  // simple
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.balloon_amt, cy(1000));
    EXPECT_EQ(g.balloon_end, cy(1180));
    EXPECT_EQ(*v[fin::Item::Text11].text, " 10.00");
    EXPECT_EQ(*v[fin::Item::Label23].text, "$1,000.00");
    // The instalments pay off the rest, shown as the balance.
    EXPECT_EQ(g.fin_amount, cy(10000 - 2500 - 1000));
    EXPECT_TRUE(*v[fin::Item::Label18].visible);
    EXPECT_EQ(*v[fin::Item::Label18].text, "Balance");
    EXPECT_EQ(*v[fin::Item::Label26].text, "$6,500.00");
    EXPECT_NEAR(g.pay_term.toDouble(), annuity(6500, 6, 36), 0.00005);

    g.fin_opts[3] = cy(1);  // compounded monthly, rounded to 1/10000 each month
    ASSERT_TRUE(fin::Leasedat());
    double end = 1000;
    for (int m = 0; m < 36; ++m) end = std::nearbyint(end * 1.005 * 10000) / 10000;
    EXPECT_NEAR(g.balloon_end.toDouble(), end, 0.00005);
    EXPECT_NEAR(end, 1196.68, 0.005);

    g.fin_opts[3] = cy(2);  // typed directly: paid as it stands
    g.balloon_amt = cy(1500);
    v.clear();
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.balloon_end, cy(1500));
    EXPECT_FLOAT_EQ(g.balloon_perc, 15.0f);
    EXPECT_EQ(*v[fin::Item::Text11].text, " 15.00");

    // No balloon: no balance row.
    g.fin_opts[3] = cy(0);
    g.balloon_perc = 0;
    v.clear();
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_FALSE(*v[fin::Item::Label18].visible);
    EXPECT_FALSE(*v[fin::Item::Label26].visible);
    EXPECT_EQ(*v[fin::Item::Text11].text, "");
}

TEST_F(Finance, AmountBracketsCoverEveryAmount) {
    struct Case {
        double amount;
        int bracket;
    } cases[] = {{1999.99, 1}, {0, 1},       {2000, 1},  {5000, 1},     {5000.50, 2}, {5001, 2},
                 {15000, 2},   {15000.5, 3}, {25000, 3}, {25000.01, 4}, {1e6, 4}};
    for (const Case& c : cases) {
        g.amt_bracket = 0;
        g.fin_amount = cy(c.amount);
        fin::loan_bands(36);
        EXPECT_EQ(g.amt_bracket, c.bracket) << c.amount;
    }
    const int terms[] = {12, 18, 24, 36, 48, 60};
    for (int i = 0; i < 6; ++i) {
        fin::loan_bands(terms[i]);
        EXPECT_EQ(g.term_idx, i + 1);
    }
    fin::loan_bands(30);  // not a term of the table: the row stays
    EXPECT_EQ(g.term_idx, 6);
    EXPECT_EQ(fin::bracket_label(4), " $25,000 and up     ");
    EXPECT_EQ(fin::bracket_label(0), "");
}

TEST_F(Finance, LeasePaymentsUseTheKeyFactorOfTermAndAmount) {
    fin::LeaseView v;
    // 10,600 down with 6 % tax in it is 10,000 without; 30,000 + 400 fees
    // - 500 residual - 10,000 = 19,900 financed: bracket 3.
    lease(30000, 36);
    g.down_pay = cy(10600);
    g.sales_tax = 6;
    g.fees_lease = cy(400);
    g.resid_val = cy(500);
    g.lease_fact[4][3] = 0.03125;
    g.lease_fact[1][3] = 0;  // an empty cell
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.fin_amount, cy(19900));
    EXPECT_EQ(g.amt_bracket, 3);
    EXPECT_EQ(g.pay_term, cy(19900 * 0.03125));
    EXPECT_EQ(g.lease_key, 0.03125);
    EXPECT_EQ(*v[fin::Item::Text7].text, " 0.03125");
    // The empty cell was priced at 0.03 and keeps it.
    EXPECT_EQ(g.lease_fact[1][3], 0.03);
    EXPECT_EQ(g.pay12, cy(19900 * 0.03));
    // Each payment carries the tax; the total is the term's payments.
    // 621.875 a month, 659.1875 with tax, 36 of them 23,730.75.
    EXPECT_EQ(*v[fin::Item::Label12].text, "      $621.88");
    EXPECT_EQ(*v[fin::Item::Label16].text, "      $659.19");
    EXPECT_EQ(*v[fin::Item::Label21].text, "   $23,730.75");
    // The buy-out defaults to one dollar.
    EXPECT_EQ(g.balloon_end, cy(1));
    EXPECT_EQ(*v[fin::Item::Text9].text, "$1.00");

    // Total costs add the down payment.
    g.tot_toggle = cy(1);
    v.clear();
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(*v[fin::Item::Label21].text, "   $34,330.75");
    EXPECT_EQ(*v[fin::Item::SSCommand1].text, "Tot payments");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Finance, TooSmallAmountIsReportedOncePerCalculation) {
    lease(349.99, 12);
    ASSERT_TRUE(fin::Leasedat());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Error");
    EXPECT_EQ(boxes.shown()[0].text, "Lease basic amount\r\nis too small.\r\nCheck the inputs.");
    ASSERT_TRUE(fin::Leasedat());  // the next calculation checks again
    EXPECT_EQ(boxes.shown().size(), 2u);

    boxes.clear();
    lease(350, 12);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_TRUE(boxes.shown().empty());

    loan(400, 36, 5);  // 25 % down leaves 300
    ASSERT_TRUE(fin::Leasedat());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text.substr(0, 17), "loan basic amount");
}

TEST_F(Finance, BoxesStoreWhatTheyShow) {
    // A rate of 3.125 prices this calculation and is kept as shown, 3.13.
    loan(10000, 36, 3.125f);
    fin::LeaseView v;
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_NEAR(g.pay_term.toDouble(), annuity(7500, 3.125, 36), 0.00005);
    EXPECT_EQ(*v[fin::Item::Text7].text, " 3.13");
    EXPECT_FLOAT_EQ(g.loan_rate, 3.13f);

    // (100 down of 700 shown as 14.29 %, the balloon percent and the key
    // factor's cell: typed into the window, lease_window_test.cpp.)
    // No price: no down payment above it, and a percentage of 0, not a
    // division by zero.
    g.sys_total = Currency{};
    EXPECT_TRUE(fin::box_changed(3, "50").has_value());
    EXPECT_EQ(fin::box_changed(3, "0"), std::nullopt);
    EXPECT_EQ(g.down_perc, 0.0f);

    // (Text read up to the first character that is no part of a number:
    // typed into the window, lease_window_test.cpp.)
    fin::box_changed(2, "");
    EXPECT_EQ(g.inst_cost, Currency{});
    // Refused values: a sales tax of 100 % is the most there is.
    EXPECT_EQ(fin::box_changed(6, "100"), std::nullopt);
    EXPECT_EQ(g.sales_tax, 100.0f);
    EXPECT_EQ(fin::box_changed(6, "100.01"), std::optional<std::string>("0.00"));
    EXPECT_EQ(g.sales_tax, 0.0f);
    g.fin_opts[3] = cy(0);
    EXPECT_EQ(fin::box_changed(11, "150"), std::optional<std::string>(""));
    EXPECT_EQ(g.balloon_perc, 0.0f);

    // The fee and the value at the end follow the mode.
    g.fin_mode = 1;
    fin::box_changed(4, "$75");
    fin::box_changed(5, "$1,250");
    EXPECT_EQ(g.fees_lease, cy(75));
    EXPECT_EQ(g.resid_val, cy(1250));
    g.fin_mode = 2;
    fin::box_changed(4, "80");
    fin::box_changed(5, "900");
    EXPECT_EQ(g.fees_loan, cy(80));
    EXPECT_EQ(g.fin_opts[16], cy(900));
}

TEST_F(Finance, OddInputsNeverStopTheProgram) {
    // No price at all: lease and typed balloon take a percent of 0.
    lease(0, 12);
    fin::LeaseView v;
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.balloon_perc, 0.0f);
    boxes.clear();
    loan(0, 36, 5);
    g.fin_opts[3] = cy(2);
    g.balloon_amt = cy(100);
    ASSERT_TRUE(fin::Leasedat());
    EXPECT_EQ(g.balloon_perc, 0.0f);
    boxes.clear();

    // A figure wider than the label is shown whole.
    EXPECT_EQ(fin::right13("$12,345,678.90"), "$12,345,678.90");
    EXPECT_EQ(fin::right13("$5.00"), "        $5.00");

    // An amount beyond currency: one message, the program runs on.
    lease(5000, 12);
    g.add_charges = Currency::raw(std::numeric_limits<std::int64_t>::max());
    EXPECT_NO_THROW(EXPECT_FALSE(fin::Leasedat()));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Leasedat");
    EXPECT_EQ(boxes.shown()[0].text, "Overflow 6 in  2");
}

}  // namespace

// Settings files written before the finance key data window's loan rate was
// kept still load whole; a rate no window would take is refused. (Every
// setting written and read back: the settings tests.)
TEST(LoanRateSetting, OlderFilesLoadAndBadRatesAreRefused) {
    DataModel m;
    set_defaults(m);
    m.loan_rate = 7.25f;
    m.sales_tax = 6.5f;
    testsupport::expectLaterSetting(m, "loan_rate", "150");
}

// A sales tax below 0 in the settings file is refused: the setting keeps its
// default and no lease is quoted with a negative tax. A tax above 100 still
// loads; the finance window lowers it to 100 when it opens.
TEST(SalesTaxSetting, BelowZeroIsRefusedAndNeverQuoted) {
    DataModel m;
    set_defaults(m);
    const std::string text = settings::toText(m);
    // The sales tax and the loan fees: neither is ever below 0 (a negative
    // fee would lower the price financed); a tax above 100 still loads, for
    // the finance window to lower to 100.
    const struct {
        const char* name;
        const char* value;
        bool refused;
        double loaded;
    } cases[] = {{"sales_tax", "-2", true, 0},     {"sales_tax", "-0.01", true, 0},
                 {"sales_tax", "0", false, 0},     {"sales_tax", "7.5", false, 7.5},
                 {"sales_tax", "100", false, 100}, {"sales_tax", "150", false, 150},
                 {"fees_loan", "-250", true, 0},   {"fees_loan", "-0.0001", true, 0},
                 {"fees_loan", "0", false, 0},     {"fees_loan", "395.5", false, 395.5}};
    for (const auto& c : cases) {
        const std::string name = c.name;
        const std::size_t at = text.find("\n" + name + "=");
        ASSERT_NE(at, std::string::npos) << name;
        std::string file = text;
        file.replace(at, file.find('\n', at + 1) - at, "\n" + name + "=" + c.value);
        set_defaults(g);
        const settings::ParseResult r = settings::fromText(file, g);
        EXPECT_TRUE(r.complete) << name << c.value;
        EXPECT_EQ(r.refused, c.refused ? std::vector<std::string>{name} : std::vector<std::string>{})
            << name << c.value;
        EXPECT_DOUBLE_EQ(name == "sales_tax" ? g.sales_tax : g.fees_loan.toDouble(), c.loaded) << name << c.value;
    }
    const std::string line = "\nsales_tax=0\n";
    ASSERT_NE(text.find(line), std::string::npos);

    // The refused -2 never reaches a quote: a $2,000 lease over 12 months
    // carries no tax, not -$3.73 a month.
    set_defaults(g);
    std::string file = text;
    file.replace(file.find(line), line.size(), "\nsales_tax=-2\n");
    settings::fromText(file, g);
    for (int t = 1; t <= 6; ++t)
        for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.09325;
    g.fin_mode = 1;
    g.equip_cost = cy(2000);
    g.fin_months = 12;
    fin::LeaseView v;
    ASSERT_TRUE(fin::Leasedat(&v));
    EXPECT_EQ(g.pay_term, cy(186.5));
    EXPECT_EQ(v[fin::Item::Label15].text, "        $0.00");
    EXPECT_EQ(v[fin::Item::Label16].text, "      $186.50");
}
