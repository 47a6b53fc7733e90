// The plain-text audit page, compared whole with the expected transcripts in
// tests/printouts/expected/, and its layouts, faults and side effects.
#include <gtest/gtest.h>

#include <tuple>

#include "engine/engine.h"
#include "print/printer.h"
#include "printouts/page.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/values.h"
#include "tests/printouts/printouts_fixture.h"
#include "tests/support/expected.h"

namespace {

using prtest::PrintoutTest;

class AuditPageTest : public PrintoutTest {
protected:
    // Prints the page of the project in the model; its one document.
    prn::Document print() {
        g.prt_choice = kChoicePlainText;
        const std::size_t before = cap.documents().size();
        To_print();
        EXPECT_EQ(cap.documents().size(), before + 1);
        return cap.documents().empty() ? prn::Document{} : cap.documents().back();
    }
    std::vector<std::string> page_text() { return print().pageText(0); }
    prn::Capture cap;
    prtest::FixedDate date;
};

TEST_F(AuditPageTest, WholePages) {
    struct Project {
        void (*set)();
        const char* expected;
    };
    const Project projects[] = {
        {prtest::pool_with_gas_and_cover, "printouts/expected/audit_pool_gas_cover.txt"},
        {prtest::metric_spa_with_backup, "printouts/expected/audit_metric_spa_backup.txt"},
        {prtest::pool_no_heater, "printouts/expected/audit_pool_no_heater.txt"},
    };
    for (const Project& p : projects) {
        p.set();
        ASSERT_TRUE(engine::calc_all()) << p.expected;
        const std::string name_before = g.company_name;
        EXPECT_EQ("", testsupport::diff_with_expected(print(), p.expected));
        cap.documents();
        EXPECT_EQ(g.company_name, name_before);
    }
    EXPECT_EQ(cap.documents().size(), 3u);

    // A heater cheaper to run than the heat pump: no sentence "saving" a negative amount.
    prtest::pool_with_gas_and_cover();
    g.rate_natgas = cy(0.01);
    ASSERT_TRUE(engine::calc_all());
    for (const std::string& l : page_text()) EXPECT_EQ(l.find("saving"), std::string::npos) << l;
}

std::string find(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& l : lines)
        if (l.find(start) != std::string::npos) return l;
    return "(no line with " + start + ")";
}

// The heads of the page compared with the expected file: the large layout
// centres the name in 40 columns after 7 blanks, at 20 points (10 letters,
// 40, 41 and 38; an empty name prints blanks only); the small one puts it
// after column C + 4, in the body font, after two empty lines; on letter
// paper eight more empty lines come first and the page stays one page, also
// with a fuel heater's saving sentences.
TEST_F(AuditPageTest, CompanyLineLayouts) {
    std::string heads;
    auto head = [&](const std::string& name) {
        g.company_name = name;
        const prn::Document d = print();
        EXPECT_EQ(d.pages.size(), 1u) << name;
        heads += "# \"" + name + "\"\n";
        const auto t = d.pageText(0);
        for (std::size_t i = 0; i < 14 && i < t.size(); ++i) heads += "|" + t[i] + "\n";
        EXPECT_EQ(g.company_name, name);  // the settings keep the name as typed
    };
    for (const std::string& name : {std::string("  Acme Pools  "), std::string(40, 'N'), std::string(41, 'N'),
                                    std::string(38, 'N'), std::string()})
        head(name);
    g.small_title = 1.0f;
    g.fnt_body_name = "Arial";
    g.fnt_body_size = 13;
    head("Twenty Letters Name.");
    EXPECT_EQ(g.fnt_body_name, "Courier");  // a font the page cannot use is corrected
    EXPECT_EQ(g.fnt_body_size, 10);
    prtest::pool_with_gas_and_cover();
    ASSERT_TRUE(engine::calc_all());
    g.letter_head = 1;
    for (float small : {0.0f, 1.0f}) {
        g.small_title = small;
        head("Twenty Letters Name.");
    }
    EXPECT_EQ("", testsupport::diff_text_with_expected(heads, "printouts/expected/company_lines.txt"));
}

// (US and metric units, labels and columns: the whole pages.) Sunlight from
// 80 % on reads "Maximum"; the peak loss is the month's own hourly need.
TEST_F(AuditPageTest, SunlightAndPeakLossAtTheirEdges) {
    prtest::pool_with_gas_and_cover();
    ASSERT_TRUE(engine::calc_all());
    g.sun_pct = 79.9f;
    EXPECT_NE(find(page_text(), "Exposure to the sun:").find("79.9 %"), std::string::npos);
    g.sun_pct = 80;
    for (int m = 1; m <= 12; ++m) g.month_need[m] = 0;
    g.month_need[2] = 123456.0 * 28 * 24;  // 123,456 BTU an hour all February
    g.month_need[3] = 123456.0 * 28 * 24;  // the same need over March's longer month
    const std::vector<std::string> t = page_text();
    EXPECT_NE(find(t, "Exposure to the sun:").find("Maximum"), std::string::npos);
    EXPECT_EQ(find(t, "Loss ").substr(10, 30), "Loss KBtu/H in peak month: 123");
}

TEST_F(AuditPageTest, ALongCityEntryEndsInsideThePage) {
    prtest::pool_no_heater();
    ASSERT_TRUE(engine::calc_all());
    for (const auto& [city, country, shown] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {"Nassau", "Bahamas", "Bahamas   Nassau"},          // fits where it stands
             {"Melbourne", "Australia", "Australi Melbourne"},   // squeezed, moved left
             {"Rio de Janeiro", "Brazil", "Rio de Janeiro"}}) {  // too long even so: the city
        g.city_name = city;
        g.sel_state = country;
        const std::string l = find(page_text(), "Weather data used:");
        EXPECT_LE(vb::Len(l), 96u) << l;
        EXPECT_EQ(l.substr(l.size() - shown.size()), shown);
        EXPECT_NE(l.find("Weather data used:  "), std::string::npos);
    }
}

TEST_F(AuditPageTest, PrinterFaultsAskAgainOrAbandonThePage) {
    prtest::pool_no_heater();
    ASSERT_TRUE(engine::calc_all());
    // Two faults, each answered OK: the page comes out whole.
    cap.failNext(25, 2);
    script.answer(ui::vbOK).answer(ui::vbOK);
    const prn::Document whole = print();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].title, "Printer error");
    EXPECT_EQ(script.shown()[0].text, "Check the paper");
    EXPECT_EQ(script.shown()[0].style & 7, ui::vbOKCancel);

    // A fault in the month table asks the month table's question; Cancel
    // drops the page and nothing more is asked.
    script.clear();
    const int before = static_cast<int>(cap.documents().size());
    g.prt_choice = kChoicePlainText;
    cap.failNext(25, 1);
    script.answer(ui::vbCancel);
    To_print();
    EXPECT_EQ(static_cast<int>(cap.documents().size()), before);
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(prn::printer().DocumentOpen(), false);

    // Any other failure is reported with its step and the page dropped;
    // the program goes on.
    script.clear();
    cap.failNext(57, 1);
    script.answer(ui::vbOK);
    To_print();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "To print error");
    EXPECT_EQ(script.shown()[0].text, "Device I/O error 57 in  3");
    EXPECT_EQ(static_cast<int>(cap.documents().size()), before);
    EXPECT_EQ(script.busyDepth(), 0);
}

TEST_F(AuditPageTest, TheMonthTableAsksItsOwnPrinterQuestion) {
    prtest::pool_no_heater();
    ASSERT_TRUE(engine::calc_all());
    g.prt_choice = kChoicePlainText;
    g.col_offset = 9;
    prn::printer().reset();
    cap.failNext(25, 1);
    script.answer(ui::vbOK);
    double hp = 0;
    Currency f, s;
    calculate3(hp, f, s);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Device fault");
    EXPECT_EQ(script.shown()[0].text, "Check the printer");
    EXPECT_EQ(prn::printer().document().pages.at(0).lines.size(), 12u);
}

TEST_F(AuditPageTest, BodyFontFallsBackOnceAndStops) {
    g.fnt_body_name = "Courier New";
    g.fnt_body_size = 16;
    g.fnt_body_bold = "True";
    g.fnt_body_x = 3.6f;
    Fnt_body();
    prn::Printer& P = prn::printer();
    EXPECT_EQ(P.FontName(), "Courier New");
    EXPECT_EQ(P.FontSize(), 16);
    EXPECT_TRUE(P.FontBold());
    EXPECT_EQ(P.FontCharset(), 4);

    // A refused name and setting fall back to Courier and 0; when even
    // those are refused the font is left as it is and nothing loops.
    cap.refuseFont("Courier New");
    cap.refuseCharset();
    g.fnt_body_name = "courier new";  // another letter case is not accepted
    g.fnt_body_size = 8;
    Fnt_body();
    EXPECT_EQ(g.fnt_body_name, "Courier");
    EXPECT_EQ(g.fnt_body_size, 10);
    g.fnt_body_name = "Courier New";
    Fnt_body();
    EXPECT_EQ(g.fnt_body_name, "Courier");
    EXPECT_EQ(P.FontName(), "Courier");
    EXPECT_EQ(g.fnt_body_x, 0);
    cap.refuseFont("Courier");
    g.fnt_body_size = 17;
    Fnt_body();
    EXPECT_EQ(P.FontSize(), 10);
    EXPECT_FALSE(P.FontItalic());
    EXPECT_FALSE(P.FontStrikethru());
}

}  // namespace
