// The Word audit and summary, read back bookmark by bookmark (whole
// documents against the expected files in tests/printouts/expected/), the
// template and picture choices, and every way they can fail.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "core/windows.h"
#include "engine/engine.h"
#include "print/transcript.h"
#include "printouts/printouts.h"
#include "printouts/values.h"
#include "tests/printouts/office_fakes.h"
#include "tests/printouts/printouts_fixture.h"
#include "tests/support/expected.h"

namespace {

using prtest::PrintoutTest;

class WordTest : public PrintoutTest {
protected:
    void SetUp() override {
        PrintoutTest::SetUp();
        g.data_dir = "/data/";
        office.wscript.pictures = {"/data/hppic61.bmp", "/data/hppic62.bmp", "/data/hppic3", "/data/hppic1"};
    }
    void calculate(void (*project)()) {
        project();
        g.data_dir = "/data/";
        ASSERT_TRUE(engine::calc_all());
    }
    prtest::FakeOffice office;
    prtest::FixedDate date;
};

// ---- the audit ---------------------------------------------------------------------------------

TEST_F(WordTest, AuditDocumentsWhole) {
    const std::pair<void (*)(), const char*> projects[] = {
        {prtest::pool_with_gas_and_cover, "printouts/expected/word_audit_pool_gas_cover.txt"},
        {prtest::metric_spa_with_backup, "printouts/expected/word_audit_metric_spa_backup.txt"},
        {prtest::pool_no_heater, "printouts/expected/word_audit_pool_no_heater.txt"},
    };
    for (const auto& [set, expected] : projects) {
        calculate(set);
        g.prt_choice = kChoiceOneCoverage;
        office.word = {};
        EXPECT_TRUE(prt_word());
        EXPECT_EQ("", testsupport::diff_text_with_expected(office.word.dump(), expected));
        // Picture first, hidden, then the bookmarks; printed, closed, quit.
        const auto& c = office.word.calls;
        ASSERT_GE(c.size(), 8u);
        EXPECT_EQ(c[0], "Open /data/WordPrt1a.dotx");
        EXPECT_EQ(c[1], "Select Getpic");
        EXPECT_EQ(c[3], "Visible False");
        EXPECT_EQ(std::vector<std::string>(c.end() - 3, c.end()),
                  (std::vector<std::string>{"PrintOut", "Close", "Quit"}));
        // Every bookmark is written once.
        for (const auto& [name, text] : office.word.inserts) EXPECT_EQ(office.word.count(name), 1) << name;
    }
}

TEST_F(WordTest, AuditTextsOfTheUnitsHoursAndTotals) {
    calculate(prtest::pool_with_gas_and_cover);
    g.calc_f32[calc_row::hours(1)] = 0;
    g.calc_f32[calc_row::hours(2)] = 0.4f;
    g.calc_f32[calc_row::hours(3)] = 1;
    g.calc_f32[calc_row::hours(4)] = 12.6f;
    for (int m = 1; m <= 12; ++m) g.calc_f32[calc_row::hp_cost(m)] = m == 1 ? 123.45f : 0;
    g.prt_choice = kChoiceOneCoverage;
    ASSERT_TRUE(prt_word());
    prtest::WordLog w = office.word;
    EXPECT_EQ(w.at("bm21e") + "|" + w.at("bm22e") + "|" + w.at("bm23e") + "|" + w.at("bm24e"), "Off| <1|1|13");
    EXPECT_EQ(w.at("bm34f"), "$617.25");  // five times $123.45, exact
    // (The project's values in US and metric units, and the no-heater form:
    // the whole documents above.)

    // An electric heater's price caption keeps its unit label's blanks.
    g.fuel_type = HT_ELEC;
    office.word = {};
    ASSERT_TRUE(prt_word());
    EXPECT_EQ(office.word.at("bm17"), "  Cost per KWH        :");

    // A heater cheaper to run than the heat pump: no "saving" of a negative amount.
    g.fuel_type = HT_GAS;
    g.rate_natgas = cy(0.01);
    ASSERT_TRUE(engine::calc_all());
    ASSERT_LT(g.tot_saving, Currency{});
    office.word = {};
    ASSERT_TRUE(prt_word());
    EXPECT_EQ(office.word.count("bm35"), 0);
}

TEST_F(WordTest, TemplatePictureAndHeading) {
    calculate(prtest::pool_with_gas_and_cover);
    g.prt_choice = kChoiceOneCoverage;
    // A brand typed in lower case with a blank still finds its template,
    // and the sentences use it as typed.
    prtest::brand_box() = " kestrolin";
    g.company_var = 1;
    g.company_name = "";
    ASSERT_TRUE(prt_word());
    EXPECT_EQ(office.word.template_path, "/data/WordPrt2a.dotx");
    EXPECT_EQ(office.word.at("bm1"), "kestrolin");
    EXPECT_NE(office.word.at("bm39").find("your kestrolin distributor."), std::string::npos);
    // The article follows the brand's first letter: "a kestrolin", "an Ixora".
    EXPECT_EQ(office.word.at("bm35").substr(0, 24) + "|" + with_article("Ixora"), "  By using a kestrolin h|an Ixora");
    EXPECT_EQ(g.company_name, "");                        // the settings keep the dealer's own (empty) name
    EXPECT_EQ(office.word.picture, "/data/hppic61.bmp");  // models_used 3, brand 1

    for (const auto& [name, shown] :
         std::vector<std::pair<std::string, std::string>>{{"Zuro Zove Vodirizi", "kestrolin"},
                                                          {"zuro zove vodirizi", "zuro zove vodirizi"},
                                                          {"  Acme Pools ", "Acme Pools"}}) {
        g.company_name = name;
        office.word = {};
        ASSERT_TRUE(prt_word());
        EXPECT_EQ(office.word.at("bm1"), shown);
        EXPECT_EQ(g.company_name, name);
    }

    // Missing pictures: each fallback is tried once, then the document
    // prints without a picture.
    prtest::brand_box() = "Tindraly";
    g.company_var = 0;
    g.models_used = 0;
    office.wscript.pictures = {"/data/hppic1"};
    office.word = {};
    ASSERT_TRUE(prt_word());
    EXPECT_EQ(office.word.template_path, "/data/WordPrt1b.dotx");
    EXPECT_EQ(office.word.picture, "/data/hppic1");
    std::vector<std::string> tried;
    for (const std::string& c : office.word.calls)
        if (c.rfind("AddPicture", 0) == 0) tried.push_back(c);
    EXPECT_EQ(tried, (std::vector<std::string>{"AddPicture /data/hppic02.bmp", "AddPicture /data/hppic3",
                                               "AddPicture /data/hppic1"}));
    office.wscript.pictures.clear();
    office.word = {};
    ASSERT_TRUE(prt_word());
    EXPECT_EQ(office.word.picture, "");
    EXPECT_EQ(office.word.prints, 1);
}

// A brand without a template, a template without a bookmark, no word
// processor, a printer fault answered OK twice, and one given up.
TEST_F(WordTest, FailuresEndThePrintoutNotTheProgram) {
    calculate(prtest::pool_with_gas_and_cover);
    g.prt_choice = kChoiceOneCoverage;
    const struct {
        const char *brand, *missing;
        bool not_installed;
        int print_faults;
        std::vector<int> answers;
        bool printed;
        std::size_t boxes;
        std::string last;  // the last box, "title: text"
        int quits, closes;
    } cases[] = {
        {"KESTROLIN X",
         "",
         false,
         0,
         {ui::vbOK},
         false,
         1,
         "Prt Word err: No template for the brand \"KESTROLIN X\" (the brand must be Kestrolin, Tindraly or Morvenic) "
         "4248 in  0",
         1,
         0},
        {"Kestrolin",
         "bm21c",
         false,
         0,
         {ui::vbOK},
         false,
         1,
         "Prt Word err: The requested member of the collection does not exist. 5941 in  24",
         1,
         1},
        {"Kestrolin",
         "",
         true,
         0,
         {ui::vbOK},
         false,
         1,
         "Prt Word err: ActiveX component can't create object 429 in  0",
         0,
         0},
        {"Kestrolin", "", false, 2, {ui::vbOK, ui::vbOK}, true, 2, "Printer error: Check the paper", 1, 1},
        {"Kestrolin", "", false, 5, {ui::vbCancel}, false, 1, "Printer error: Check the paper", 1, 1},
    };
    for (const auto& c : cases) {
        prtest::brand_box() = c.brand;
        office.word = {};
        office.wscript.fail_at_bookmark = c.missing;
        office.wscript.not_installed = c.not_installed;
        office.wscript.print_faults = c.print_faults;
        script.clear();
        for (int a : c.answers) script.answer(a);
        EXPECT_EQ(prt_word(), c.printed) << c.last;
        ASSERT_EQ(script.shown().size(), c.boxes) << c.last;
        EXPECT_EQ(script.shown().back().title + ": " + script.shown().back().text, c.last);
        EXPECT_EQ(office.word.prints, c.printed ? 1 : 0) << c.last;
        EXPECT_EQ(office.word.quits, c.quits) << c.last;
        EXPECT_EQ(office.word.closes, c.closes) << c.last;
    }
    EXPECT_EQ(script.busyDepth(), 0);

    // Cancel on the progress window: given up the same way, with no message.
    office.wscript.cancelled = true;
    office.word = {};
    script.clear();
    EXPECT_FALSE(prt_word());
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(office.word.quits, 1);
}

// ---- the summary -------------------------------------------------------------------------------

// The model's results and cover hours as the input window shows them.
struct Shown {
    arr2<i16, 12, 1> cover;
    arr<float, 100> table;
    Currency hp, heater, saving;
    i16 units;
    static Shown now() { return {g.month_hours_c, g.calc_f32, g.tot_hp, g.tot_heater, g.tot_saving, g.combo_idx}; }
    bool operator==(const Shown&) const = default;
};

TEST_F(WordTest, SummaryDocumentsWholeAndTheProjectAsBefore) {
    const std::pair<void (*)(), const char*> projects[] = {
        {prtest::pool_with_gas_and_cover, "printouts/expected/word_summary_pool_gas_cover.txt"},
        {prtest::metric_spa_with_backup, "printouts/expected/word_summary_metric_spa_backup.txt"},
        {prtest::pool_no_heater, "printouts/expected/word_summary_pool_no_heater.txt"},
        {prtest::anchorage_pool_84_backup, "printouts/expected/word_summary_anchorage_84_backup.txt"},
    };
    for (const auto& [set, expected] : projects) {
        calculate(set);
        g.prt_choice = kChoiceSummary;
        const Shown before = Shown::now();
        int shows = 0;
        windows().show_results = [&shows] { ++shows; };
        office.word = {};
        prt_word_summary();
        windows().show_results = nullptr;
        EXPECT_EQ("", testsupport::diff_text_with_expected(office.word.dump(), expected));
        EXPECT_EQ(office.word.prints, 1);
        EXPECT_TRUE(Shown::now() == before) << expected;
        EXPECT_EQ(shows, 3);  // uncovered, covered, and the user's own again
        EXPECT_EQ(office.word.template_path, "/data/WordPrt1aa.dotx");
    }
}

// (No cover hours at all, compared with 24 a day: the Nassau document above.)
TEST_F(WordTest, SummaryCoverHoursAsStored) {
    calculate(prtest::pool_no_heater);
    g.prt_choice = kChoiceSummary;
    // 8, 10 and 10 hours (the input window stored 10.5 and 9.5 as 10).
    g.month_hours_c[1][0] = 8;
    g.month_hours_c[2][0] = 10;
    g.month_hours_c[3][0] = 10;
    g.month_hours_c[3][1] = 7;  // the settings' copy stays as it was, too
    ASSERT_TRUE(engine::calc_all());
    const Shown before = Shown::now();
    prt_word_summary();
    EXPECT_EQ(office.word.at("bm23d"), " 10");
    EXPECT_TRUE(Shown::now() == before);
}

TEST_F(WordTest, SummaryRoundsUpAndKeepsWideAmounts) {
    calculate(prtest::pool_with_gas_and_cover);
    g.prt_choice = kChoiceSummary;
    g.round_up = 1;
    // (Money in whole dollars right-aligned in 7, hours in 4: the whole
    // documents.) A month costing 12.50 with rounding on, and one above
    // $99,999, which keeps all its digits.
    windows().show_results = [] {
        g.calc_f32[calc_row::hp_cost(1)] = 12.5f;
        g.calc_f32[calc_row::heater_cost(1)] = 123456.7f;
    };
    prt_word_summary();
    windows().show_results = nullptr;
    EXPECT_EQ(office.word.at("bm21f"), "    $13");
    EXPECT_EQ(office.word.at("bm21gu"), "$123,457");
    g.round_up = 0;
}

// Each total is the sum of the rows above it, whatever the months the two
// tables heat differently; where they differ, a line of its own compares
// the two pools over the months heated alike and names them.
TEST_F(WordTest, SummaryTotalsAddUpTheirRowsAndTheLikeForLikeLineNamesItsMonths) {
    const auto dollars = [](const std::string& cell) {
        const std::string t = vb::Trim(cell);
        return t == "Off" ? 0.0 : vb::Val(remove_comma(t));
    };
    // Covered 10 hours a night (the whole document above), every other
    // month 12 hours and the rest not at all, and July not heated.
    enum Cover { kNightly, kOddMonths, kNoJuly };
    const struct {
        float temp;
        Cover cover;
        const char* line;
        std::vector<int> alike;  // the months it names
    } cases[] = {
        {84, kNightly, "  Heated alike, JUN–AUG: covered $1,379, uncovered $2,295", {6, 7, 8}},
        {84, kOddMonths, "  Heated alike, APR, JUN–AUG, OCT: covered $2,113, uncovered $2,490", {4, 6, 7, 8, 10}},
        {60, kNoJuly, "  Heated alike, MAY, JUN, AUG, SEP: covered $589, uncovered $1,085", {5, 6, 8, 9}},
    };
    // (Orlando, heated alike all year, has no such line: its whole document.)
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        calculate(prtest::anchorage_pool_84_backup);
        samples::heat_months(1, 12, c.temp);
        if (c.cover == kOddMonths)
            for (int m = 1; m <= 12; ++m) g.month_hours_c[m][0] = m % 2 ? 12 : 0;
        if (c.cover == kNoJuly) g.run_state[7][0] = 0;
        ASSERT_TRUE(engine::calc_all());
        g.prt_choice = kChoiceSummary;
        office.word = {};
        prt_word_summary();
        const prtest::WordLog& w = office.word;
        for (const std::string u : {"", "u"}) {
            for (const char* col : {"f", "g"}) {
                double rows = 0;
                for (int m = 21; m <= 32; ++m) rows += dollars(w.at("bm" + std::to_string(m) + col + u));
                // Each row is rounded to the dollar, the total once.
                EXPECT_NEAR(dollars(w.at("bm33" + std::string(col) + u)), rows, 6.0) << col << u;
            }
        }
        EXPECT_EQ(w.at("bm40"), c.line);
        // Its two figures add up the whole dollars printed in those rows
        // (the heat pumps and the backup heater), not the cents behind them.
        const std::string line = w.at("bm40");
        for (const auto& [u, label] : {std::pair{"", ": covered $"}, {"u", "uncovered $"}}) {
            double rows = 0;
            for (int m : c.alike)
                for (const char* col : {"f", "g"}) rows += dollars(w.at("bm" + std::to_string(20 + m) + col + u));
            EXPECT_EQ(dollars(line.substr(line.find(label) + std::strlen(label))), rows) << label;
        }
    }

    // Without backup the heater column is the existing heater heating
    // alone, not what the system costs: the line counts the heat pumps only.
    // (Orlando, its July held at 80 °F uncovered as too few pumps would.)
    calculate(prtest::pool_with_gas_and_cover);
    g.prt_choice = kChoiceSummary;
    int pass = 0;
    windows().show_results = [&pass] {
        if (pass++ == 0) g.temp_table[7][5] = 80;
    };
    office.word = {};
    prt_word_summary();
    windows().show_results = nullptr;
    EXPECT_EQ(office.word.at("bm40"), "  Heated alike, JAN–JUN, AUG–DEC: covered $1,418, uncovered $2,515");
}

TEST_F(WordTest, SummaryFailureAfterTheCoverWasChangedPutsItBack) {
    calculate(prtest::pool_with_gas_and_cover);
    g.prt_choice = kChoiceSummary;
    const Shown before = Shown::now();
    // The covered table's March water cell is missing from the template.
    office.wscript.fail_at_bookmark = "bm23c";
    script.answer(ui::vbOK);
    prt_word_summary();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Prt Word err");
    EXPECT_NE(script.shown()[0].text.find("5941 in  24   x=  3"), std::string::npos) << script.shown()[0].text;
    EXPECT_TRUE(Shown::now() == before);
    EXPECT_EQ(office.word.prints, 0);
    EXPECT_EQ(office.word.quits, 1);

    // Word cannot be started: the uncovered calculation is undone as well.
    office.wscript.fail_at_bookmark.clear();
    office.wscript.not_installed = true;
    script.clear();
    script.answer(ui::vbOK);
    prt_word_summary();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(Shown::now() == before);

    // A printer fault given up.
    office.wscript.not_installed = false;
    office.wscript.print_faults = 1;
    office.word = {};
    script.clear();
    script.answer(ui::vbCancel);
    prt_word_summary();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_TRUE(Shown::now() == before);
    EXPECT_EQ(office.word.quits, 1);
}

}  // namespace
