// The heater adjustment factors: how the boxes read, show and check their
// values, and the "7 days buffer" dialogue.
#include <gtest/gtest.h>

#include <locale>
#include <memory>
#include <string>

#include "app/model.h"
#include "app/settings.h"
#include "core/ui.h"
#include "dealer/calckeys.h"
#include "dealer/heatfactors.h"

namespace hf = heatfactors;

class HeatFactors : public ::testing::Test {
protected:
    void SetUp() override { set_defaults(g); }
};

TEST_F(HeatFactors, TypedTextIsStoredAndShownBack) {
    hf::store(1, "12.345");  // a share: percent / 100, as typed
    EXPECT_FLOAT_EQ(g.year_factor, 0.12345f);
    EXPECT_EQ(hf::shown(1), "12.35");
    hf::store(15, "12%");
    EXPECT_FLOAT_EQ(g.reduce_pct, 0.12f);
    hf::store(12, "12,0005");  // "12,000" with a 5 appended
    EXPECT_EQ(g.sel_buffer[1], 120005);
    g.sel_buffer[3] = 0;
    EXPECT_EQ(hf::shown(14), "");  // 0 shows as an empty box
    g.sel_buffer[3] = -5000;       // from the settings file only
    EXPECT_EQ(hf::shown(14), "-5,000");
    hf::store(16, "$25.5");
    EXPECT_FLOAT_EQ(g.cover_quality, 25.5f);
}

namespace {
// A desktop language that writes 5,79 for 5.79 and groups thousands with ".".
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};
}  // namespace

TEST_F(HeatFactors, NumbersReadTheSameInAnyDesktopLanguage) {
    const std::locale was = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    hf::store(16, "5.79");
    const std::string shown = hf::shown(16);
    const double calc = CalcKeys::full_value(std::string("5.79"));
    CalcKeys c;
    c.keys("1 2 . 5 + 1 =");
    std::locale::global(was);
    EXPECT_FLOAT_EQ(g.cover_quality, 5.79f);
    EXPECT_EQ(shown, "5.79");
    EXPECT_EQ(calc, 5.79);
    EXPECT_EQ(c.display, "13.5");
}

TEST_F(HeatFactors, RangesOnLeaving) {
    struct Case {
        int box;
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {1, "90", false},      {1, "80", true},      {1, "-51", true},     {1, "-51.5", false},   {2, "-81", true},
        {3, "-81.01", false},  {3, "80.5", false},   {4, "99", true},      {11, "99.01", false},  {4, "", true},
        {12, "120005", false}, {12, "80,000", true}, {14, "-80000", true}, {13, "-80001", false}, {15, "80", true},
        {15, "81", false},     {15, "abc", true},    {16, "50", true},     {16, "50.01", false},  {16, "0", true},
        {16, "-10", false},  // a pool cover better than excellent does not exist
    };
    for (const Case& c : cases) EXPECT_EQ(hf::in_range(c.box, c.text), c.ok) << c.box << " " << c.text;
}

// What a box accepts at either end loads again from the settings file at
// the next start: the file never refuses what the window stored.
TEST_F(HeatFactors, EveryValueABoxAcceptsLoadsFromTheSettingsFile) {
    for (int n = 1; n <= hf::kBoxes; ++n) {
        for (float v : {hf::box(n).lo, hf::box(n).hi}) {
            set_defaults(g);
            const std::string text = std::to_string(v);
            ASSERT_TRUE(hf::in_range(n, text)) << n << " " << text;
            hf::store(n, text);
            auto m = std::make_unique<DataModel>();
            set_defaults(*m);
            const settings::ParseResult res = settings::fromText(settings::toText(g), *m);
            EXPECT_TRUE(res.ok()) << n << " " << text << " " << (res.refused.empty() ? "" : res.refused.front());
        }
    }
}

TEST_F(HeatFactors, KeyFilters) {
    for (int n = 1; n <= hf::kBoxes; ++n) {
        for (int key : {int('0'), int('9'), int('.'), 8, 127}) EXPECT_TRUE(hf::key_passes(n, key)) << n << " " << key;
        const bool minus = n <= 3 || n == 16 || n == 15;
        EXPECT_EQ(hf::key_passes(n, '-'), minus) << n;
        EXPECT_EQ(hf::key_passes(n, 'a'), n == 15) << n;
        EXPECT_EQ(hf::key_passes(n, ','), n == 15) << n;
    }
}

TEST_F(HeatFactors, SevenDaysBufferDialogue) {
    auto run = [](std::initializer_list<const char*> answers, ui::Script& s) {
        s.answer(ui::vbOK);  // the explanation
        for (const char* a : answers) s.type(a);
        hf::PumpOffBuff();
    };
    g.off_buffer[3] = 100;
    {
        ui::Script s;
        run({"75.5"}, s);
        EXPECT_EQ(g.off_buffer[3], 76);
        ASSERT_EQ(s.shown().size(), 2u);
        EXPECT_NE(s.shown()[0].text.find("to set the sensitivety or response.\r\n\r\nEnter"), std::string::npos);
        EXPECT_EQ(s.shown()[1].text,
                  "The recommended adjustment is 100 (%).\r\n\r\nThe current setting is  100\r\n"
                  "Enter a percentage of 50 to 150\r\n");
    }
    {
        ui::Script s;
        run({"50.5"}, s);  // halves to the even neighbour
        EXPECT_EQ(g.off_buffer[3], 50);
    }
    {
        ui::Script s;
        s.answer(ui::vbOK);
        s.answer(ui::vbOK);
        s.answer(ui::vbOK);
        run({"151", "49", "99999", "150"}, s);
        EXPECT_EQ(g.off_buffer[3], 150);
        int again = 0;
        for (const auto& b : s.shown()) again += b.text == "Please try again" && b.title == "Error";
        EXPECT_EQ(again, 3);
        EXPECT_TRUE(s.unexpected().empty());
    }
    for (const char* giveUp : {"", "abc", "0.4", "-0.5"}) {
        ui::Script s;
        run({giveUp}, s);
        EXPECT_EQ(g.off_buffer[3], 150) << giveUp;
        EXPECT_EQ(s.shown().size(), 2u);
    }
}
