// The whole report book of realistic projects, compared line by line with
// the expected transcripts.
#include <algorithm>
#include <functional>

#include "tests/reportbook/report_fixture.h"

#include "finance/leasedat.h"
#include "print/transcript.h"
#include "tests/support/expected.h"

namespace rbtest {
namespace {

TEST_F(ReportTest, WholeReports) {
    const struct {
        std::function<void()> set;
        bool compare;
        const char* expected;
    } reports[] = {
        {[this] { pool_without_heater(); }, false, "reportbook/expected/pool_no_heater.txt"},
        {[this] { pool_with_gas(); }, true, "reportbook/expected/pool_gas_compare.txt"},
        {[this] { metric_spa_with_backup(); }, true, "reportbook/expected/spa_metric_backup.txt"},
    };
    for (const auto& r : reports) {
        SetUp();
        r.set();
        if (r.compare) three_competitors();
        prt1::The_Print();
        ASSERT_FALSE(cap.documents().empty());
        EXPECT_EQ("", testsupport::diff_with_expected(cap.documents().back(), r.expected));
    }
    // The savings rows of the backed-up spa are savings: the heater alone
    // less the heat pump and the backup fuel, as Tables 4 to 6 show them.
    Currency five;
    for (int y = 1; y <= 5; ++y) five += prt1::year_figures(y).saving;
    EXPECT_GT(g.tot_saving, Currency{});
    EXPECT_EQ(cy(g.cmp_res[1].save_year1), g.tot_saving);
    EXPECT_EQ(cy(g.cmp_res[1].year_save[1]), five);

    // At body font 11 pages run over, and still no page is blank.
    g.fnt_body_size = 11;
    prt1::The_Print();
    for (const auto& page : cap.documents().back().pages) {
        bool shows = false;
        for (const auto& line : page.lines)
            for (const auto& run : line.runs) shows |= !vb::Trim(run.text).empty();
        EXPECT_TRUE(shows);
    }
}

// The finance pages follow the comparison once: the leasing sales page
// (with its title font) when the cover letter is ticked, else the tables.
TEST_F(ReportTest, TheFinancePagesPrintOnceAfterTheComparison) {
    pool_with_gas();
    three_competitors();
    for (int t = 1; t <= 6; ++t)
        for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.035 - t * 0.002 - b * 0.0005;
    g.fin_mode = 1;
    g.fin_months = 60;
    g.down_pay = cy(1000);
    g.fees_lease = cy(150);
    ASSERT_TRUE(engine::calc_all());
    ASSERT_TRUE(fin::Leasedat());
    for (const int letter : {1, 0}) {
        SCOPED_TRACE(letter);
        g.fin_opts[4] = Currency::dollars(letter);
        prt1::The_Print();
        ASSERT_FALSE(cap.documents().empty());
        const prn::Document& doc = cap.documents().back();
        int sales = 0, tables = 0, comparisons = 0;
        bool titleFont = false;
        for (const auto& page : doc.pages)
            for (const auto& line : page.lines)
                for (const auto& run : line.runs) {
                    sales += run.text.find("ADVANTAGES OF LEASING") != std::string::npos;
                    tables += run.text.find("Year     Heat pump   Lease") != std::string::npos;
                    comparisons += run.text.find("COMPETITIVE COMPARISONS") != std::string::npos;
                    titleFont |=
                        run.text.find("MAKES  SENSE") != std::string::npos && run.font.size == 14 && run.font.bold;
                }
        EXPECT_EQ(comparisons, 1);
        EXPECT_EQ(sales, letter);
        EXPECT_EQ(tables, 1);
        EXPECT_EQ(titleFont, letter == 1);
    }
}

// Table 3's rows: each from its own month; a heating month with no need
// shows no output, hours or C.O.P. (and its C.O.P. is 0 afterwards); a month
// not heated shows the weather only; run hours stop at 24.
TEST_F(ReportTest, SystemPerformanceRows) {
    pool_with_gas();
    ASSERT_TRUE(engine::Calc());
    for (int m = 1; m <= 12; ++m) {
        g.run_state[m][0] = 1;
        g.month_need[m] = 30e6;
        g.month_load[m][1] = 60000;
        g.month_cop[m] = 4.5f;
        g.calc_f32[calc_row::hours(m)] = 6;
    }
    g.month_need[1] = 0;      // heated, nothing needed
    g.run_state[2][0] = 0;    // not heated
    g.month_city_c[3] = -5;   // a month below 0 °F
    g.month_need[4] = 100e6;  // more than a day holds: 24 hours
    g.combo_idx = 1;
    g.combo_n1[1] = 1;
    // Table 3 compared whole with its expected pages: January shows no
    // output, hours or C.O.P. and brings the zero-hours note, February the
    // weather only, March its -5.0 °F, April 24 hours; then every month
    // heated (the count of heat pumps said), May under an hour a day
    // (1,000,000 BTU / 60,000 BTU/h / 31 days: the note again), and Celsius
    // to a tenth rounded half up (50.1 °F is 10.06 °C, printed 10.1).
    std::string pages;
    auto table = [&pages](const char* what) {
        prt1::table3();
        pages += std::string("# ") + what + "\n";
        for (const std::string& l : lines()) pages += l + "\n";
        prn::printer().KillDoc();
    };
    table("January to April");
    EXPECT_EQ(g.month_cop[1], 0.0f);
    EXPECT_EQ(prt1::st.zero_hours_seen, 1);
    g.month_need[1] = 30e6;
    g.month_cop[1] = 4.5f;
    g.run_state[2][0] = 1;
    table("every month heated");
    g.month_need[5] = 1e6;
    table("May under an hour a day");
    g.units_temp = 1;
    g.month_city_c[6] = 50.1f;
    table("Celsius");
    EXPECT_EQ("", testsupport::diff_text_with_expected(pages, "reportbook/expected/table3.txt"));
}

// The bases page: the energy prices and rises of the existing heater's
// fuel only where there is one; the efficiency sentence with any heater.
TEST_F(ReportTest, BasesForEvaluationByHeater) {
    pool_with_gas();
    g.price_rise[HT_ELEC] = 0.035f;
    g.price_rise[HT_GAS] = 0.05f;
    g.do_compare = 0;
    g.disp_str[2] = "Electric resistance";
    g.disp_str[3] = "Natural gas";
    std::string pages;
    for (int fuel : {HT_GAS, HT_ELEC, HT_HEATPUMP}) {
        g.fuel_type = static_cast<i16>(fuel);
        prt1::Bases();
        ASSERT_FALSE(cap.documents().empty());
        pages += "# heater " + std::to_string(fuel) + "\n";
        for (const std::string& l : lines(cap.documents().back())) pages += l + "\n";
    }
    EXPECT_EQ("", testsupport::diff_text_with_expected(pages, "reportbook/expected/bases.txt"));
}

// Page 1's sunlight and floor-return notes: an indoor pool or spa without
// sun prints 0 %, and only a pool is told about floor returns (they never
// save on a spa).
TEST_F(ReportTest, PageOneSunAndFloorReturnNotes) {
    const struct {
        const char* type;
        const char* site;
        float sun;
        const char* sun_line;
        bool floor_tip;
    } cases[] = {{"Pool", "out", 75, "Pool receives 75% of possible sunlight.", true},
                 {"Pool", "In", 0, "Pool receives 0% of possible sunlight.", true},
                 {"Spa", "In", 0, "Spa receives 0% of possible sunlight.", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.site);
        pool_with_gas();
        g.do_compare = 0;
        g.pool_type = c.type;
        g.pool_site = c.site;
        g.sun_pct = c.sun;
        prt1::The_Print();
        ASSERT_FALSE(cap.documents().empty());
        const auto page = lines(cap.documents().back());
        EXPECT_TRUE(has(page, c.sun_line));
        EXPECT_EQ(std::any_of(page.begin(), page.end(),
                              [](const std::string& l) { return l.find("FLOOR POOL RETURNS") != std::string::npos; }),
                  c.floor_tip);
    }
}

// Table 5's payback and return sentences from the year's saving and the
// equipment cost (one unit of the chosen model at its price).
TEST_F(ReportTest, PaybackAndReturnSentences) {
    pool_with_gas();
    const struct {
        double saving, price;
        const char* payback;
        const char* ret;
    } cases[] = {
        {0, 2345, "The PAYBACK period is very long", "The RETURN ON INVESTMENT is  0.0%"},
        {1000, 0, "The PAYBACK is instant + profit", "The RETURN ON INVESTMENT is  +500%"},
        {1000, 2345, "The PAYBACK period is only  2.3  Years.", "The RETURN ON INVESTMENT is  42.6%"},
        {1000, 200, "The PAYBACK period is only  0.2  Years.", "The RETURN ON INVESTMENT is  500.0%"},
        {1000, 100, "The PAYBACK period is only  0.1  Years.", "The RETURN ON INVESTMENT is  +500%"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.payback);
        ASSERT_TRUE(engine::Calc());
        g.combo_idx = 1;
        g.combo_n1[1] = 1;
        g.model_price[2] = cy(c.price);  // the row of the chosen HX 520
        g.heater_yr_cost[HT_HEATPUMP] = 500;
        g.heater_yr_cost[HT_GAS] = 500 + c.saving;
        prt1::BG();
        prt1::roi_line();
        EXPECT_TRUE(has(lines(), c.payback));
        EXPECT_TRUE(has(lines(), c.ret));
        prn::printer().KillDoc();
    }
    // A heater dearer to run than the heat pump saves nothing: 0 %.
    g.heater_yr_cost[HT_GAS] = 400;
    prt1::BG();
    EXPECT_EQ(g.save_pct_gas, cy(-25));
    EXPECT_TRUE(has(lines(), "PERCENT SAVINGS by using Kestrolin system:    0.0%"));
    prn::printer().KillDoc();
}

// (Degrees Celsius and kWh in the cells: the metric spa's whole report.)

// Unusable title-font settings are corrected in memory and the title
// printed with the correction; a refused font or setting never stops it.
TEST_F(ReportTest, TheTitleFontCorrectsWhatItCannotUse) {
    prn::Printer& p = prn::printer();
    const struct {
        const char* name;
        int size;
        const char* usedName;
        int usedSize;
    } cases[] = {{"Times", 13, "Courier", 10},
                 {"courier new", 8, "Courier", 10},
                 {"Arial", 16, "Arial", 16},
                 {"Courier New", 9, "Courier New", 9}};
    for (const auto& c : cases) {
        g.fnt_title_name = c.name;
        g.fnt_title_size = static_cast<i16>(c.size);
        g.fnt_title_bold = "True";
        prt1::Fnt_title();
        EXPECT_EQ(p.FontName(), c.usedName);
        EXPECT_EQ(g.fnt_title_name, c.usedName);
        EXPECT_EQ(p.FontSize(), c.usedSize);
        EXPECT_EQ(g.fnt_title_size, c.usedSize);
        EXPECT_TRUE(p.FontBold());
    }
    cap.refuseFont("Arial");
    cap.refuseCharset();
    g.fnt_title_name = "Arial";
    g.fnt_title_x = 3;
    g.fnt_title_bold = "true";
    prt1::Fnt_title();
    EXPECT_EQ(p.FontName(), "Courier");
    EXPECT_EQ(g.fnt_title_name, "Courier");
    EXPECT_EQ(g.fnt_title_x, 0);
    EXPECT_FALSE(p.FontBold());
    EXPECT_FALSE(p.FontItalic() || p.FontUnderline() || p.FontStrikethru());
}

// The company name centred in the title: an empty one leaves an empty line
// and no title font; one wider than the centring width starts at the margin.
TEST_F(ReportTest, TheCompanyNameOnPageOne) {
    pool_with_gas();
    ASSERT_TRUE(engine::Calc());
    g.title_font_on = -1;
    g.title_indent = 2;
    g.company_name = "  " + std::string(40, 'W') + " ";
    prt1::Page1();
    const auto& lines = prn::printer().document().pages[0].lines;
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines[2].runs.back().text, std::string(40, 'W'));
    EXPECT_EQ(lines[2].runs.back().font.size, 14);
    EXPECT_EQ(g.company_name, std::string(40, 'W'));
    prn::printer().KillDoc();

    g.company_name = "";
    g.title_font_on = 0;
    prt1::Page1();
    const prn::Document& doc = prn::printer().document();
    EXPECT_TRUE(doc.pageText(0)[2].empty());
    for (const auto& line : doc.pages[0].lines)
        for (const auto& run : line.runs) EXPECT_FALSE(run.font.bold) << run.text;
    prn::printer().KillDoc();
}

}  // namespace
}  // namespace rbtest
