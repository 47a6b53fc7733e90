// The heat-pump performance tables as the editor shows and stores them.

#include <clocale>

#include "dealer/pumpfiles.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

PumpBrand group_with_points() {
    PumpBrand r;
    r.brand = vb::FixLen("Kestrolin", 39);
    for (int m = 1; m <= 9; ++m) {
        r.model[m] = vb::FixLen("HX 7" + std::to_string(m) + "0 TX", 25);
        r.in_list[m] = m % 2;
    }
    r.spare = 77;
    for (int p = 1; p <= 72; ++p) {
        r.rh[p] = 80.1f;
        r.cop[p] = 5.79f;
        r.btu[p] = 63000 + p;
        r.water_temp[p] = 80;
    }
    return r;
}

TEST(PumpTables, MakerModelShownWithGroupingAndItsInnerBlanks) {
    const PumpBrand r = group_with_points();
    const pumpfiles::ModelBoxes b = pumpfiles::show_maker(r, 2);
    EXPECT_EQ(b.rh[0], "80.10");  // the typed 80.1, not its single's 80.0999985
    EXPECT_EQ(b.cop[7], "5.79");
    EXPECT_EQ(b.btu[0], "63,009");  // point 9: model 2, 85 °F
    EXPECT_EQ(b.btu[7], "63,016");
    EXPECT_EQ(b.designation, "HX 720 TX");
    EXPECT_FALSE(b.in_list);
    EXPECT_TRUE(pumpfiles::show_maker(r, 3).in_list);
    EXPECT_EQ(pumpfiles::show_maker(r, 10).designation, "");  // no such model
    // The figures behind the boxes: the stored values, a double's digits too.
    PumpBrand exact = r;
    exact.btu[9] = 63009.123;
    EXPECT_EQ(pumpfiles::figures(exact, 2).btu[0], "63009.123");
    EXPECT_EQ(pumpfiles::figures(exact, 2).rh[0], "80.1");
    EXPECT_EQ(pumpfiles::figures(exact, 10).btu[0], "");

    CompetitorPump c;
    c.model[3] = vb::FixLen("Big One", 25);
    for (int p = 1; p <= 24; ++p) {
        c.btu[p] = 123456;
        c.cop[p] = 4.2f;
    }
    EXPECT_EQ(pumpfiles::show_competitor(c, 3, 1).btu[0], "123,456");
    EXPECT_EQ(pumpfiles::show_competitor(c, 3, 2).btu[0], "123456");
    EXPECT_EQ(pumpfiles::show_competitor(c, 4, 2).btu[0], "");  // never past point 24
    EXPECT_EQ(pumpfiles::figures(c, 4).btu[0], "");
}

TEST(PumpTables, StoringAModelChangesOnlyItsPoints) {
    PumpBrand r = group_with_points();
    const PumpBrand before = r;
    pumpfiles::ModelBoxes b = pumpfiles::show_maker(r, 2);
    b.btu[0] = "70,500";
    b.btu[1] = "";
    b.rh[2] = "$12.5%";
    b.cop[3] = "5.79.1";
    b.water[4] = "abc";
    b.designation = "A designation longer than 25 characters";
    b.in_list = true;
    pumpfiles::store_maker(r, 2, b, "Kestr olin");
    EXPECT_EQ(r.btu[9], 70500);
    EXPECT_EQ(r.btu[10], 0);
    EXPECT_FLOAT_EQ(r.rh[11], 12.5f);
    EXPECT_FLOAT_EQ(r.cop[12], 5.79f);
    EXPECT_EQ(r.water_temp[13], 0);
    EXPECT_EQ(r.model[2], "A designation longer than");
    EXPECT_EQ(r.in_list[2], 1);
    EXPECT_EQ(r.brand, vb::FixLen("Kestrolin", 39));
    // Everything outside points 9..16 and model 2 as it was.
    for (int p = 1; p <= 72; ++p) {
        if (p >= 9 && p <= 16) continue;
        ASSERT_EQ(r.btu[p], before.btu[p]) << p;
        ASSERT_EQ(r.rh[p], before.rh[p]) << p;
    }
    for (int m = 1; m <= 9; ++m) {
        if (m == 2) continue;
        EXPECT_EQ(r.model[m], before.model[m]);
        EXPECT_EQ(r.in_list[m], before.in_list[m]);
    }
    EXPECT_EQ(r.spare, 77);

    // Shown and stored again without typing: the same values.
    PumpBrand again = r;
    pumpfiles::store_maker(again, 1, pumpfiles::show_maker(again, 1), "Kestrolin");
    EXPECT_EQ(records::pack(again), records::pack(r));

    CompetitorPump c;
    pumpfiles::ModelBoxes cb;
    cb.btu.fill("40000");
    cb.designation = "Mid";
    pumpfiles::store_competitor(c, 2, cb);
    EXPECT_EQ(c.btu[9], 40000);
    EXPECT_EQ(c.btu[8], 0);
    EXPECT_EQ(c.model[2], vb::FixLen("Mid", 25));
    pumpfiles::store_competitor(c, 4, cb);  // points 25..32 do not exist
    EXPECT_EQ(records::pack(c).size(), 596u);
}

TEST(PumpTables, NumbersIgnoreTheDesktopLocale) {
    // A desktop whose decimal separator is "," must not turn 5.79 into 579.
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    EXPECT_DOUBLE_EQ(pumpfiles::number("5.79"), 5.79);
    EXPECT_DOUBLE_EQ(pumpfiles::number("63,000"), 63000);
    PumpBrand r = group_with_points();
    EXPECT_EQ(pumpfiles::show_maker(r, 1).cop[0], "5.79");
    std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
