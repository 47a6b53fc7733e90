// The comparison's rows, printed from hand-made result records, and the
// equipment texts of compared systems.
#include <gtest/gtest.h>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "print/printer.h"
#include "reportbook/equip_desc.h"
#include "reportbook/rows.h"
#include "tests/support/expected.h"

namespace {

using namespace compet1;

class RowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        g.left_margin = 5;
        g.cmp_res[1].brand = vb::FixLen("Kestrolin", 39);
        g.cmp_res[2].brand = vb::FixLen("Corvane Pool Heat Systems", 39);
    }
    void TearDown() override {
        for (const auto& s : script.unexpected()) ADD_FAILURE() << "unexpected box \"" << s.title << "\": " << s.text;
        set_defaults(g);
    }
    // The printed lines so far (the document stays open).
    std::vector<std::string> lines() const { return prn::printer().document().pageText(0); }

    prn::Capture cap;
    ui::Script script;
};

// The rows compared whole with reportbook/expected/rows.txt: monthly rows
// right-aligned, zeros left empty and the brand cut to 14 characters (0 °F
// prints nothing, 32 °F prints, and in Celsius 0.0 prints nothing); a five
// years' total of a million or more starts left of its field; paybacks of
// none, whole and tenths; returns; hours a year of 2 h a day on 5 heating
// days a week (521).
TEST_F(RowsTest, RowsAsPrinted) {
    CompareResult& r = g.cmp_res[2];
    r.backup_cost[1] = 12.0f;
    r.backup_cost[4] = 1234.56f;
    r.water_temp[1] = 82;
    r.water_temp[2] = 32;
    r.water_temp[3] = 0;
    bak1(2);
    temp1(2);
    g.units_temp = 1;
    temp1(2);
    g.units_temp = 0;
    CompareResult& own = g.cmp_res[1];
    for (int y = 1; y <= 4; ++y) own.year_cost[y] = 250000;
    yrcst(1);
    for (float p : {0.0f, -1.0f, 3.0f, 3.25f, 2.96f}) {
        own.payback = p;
        pbak(1);
    }
    for (float x : {0.0f, 37.6f, -12.5f}) {
        own.roi = x;
        roi(1);
    }
    for (int m = 1; m <= 12; ++m) own.hours[m] = 2;
    g.heat_days = 5;
    hrsyr(0, 0, 1);
    prn::printer().EndDoc();
    ASSERT_EQ(cap.documents().size(), 1u);
    EXPECT_EQ("", testsupport::diff_with_expected(cap.documents()[0], "reportbook/expected/rows.txt"));

    g.units_temp = 1;
    EXPECT_EQ(to_cels(31), -0.6f);
    g.units_heat = 1;
    EXPECT_FLOAT_EQ(to_watt(34130.4f), 10000.0f);
    g.units_heat = 0;
    EXPECT_EQ(to_watt(34130.4f), 34130.4f);
}

// A row printer that keeps failing says so once and leaves the row out.
TEST_F(RowsTest, ARowThatKeepsFailingIsSaidOnceAndLeftOut) {
    g.cmp_res[1].op_cost[1] = 10;
    prn::printer().Print({"first"});
    cap.failNext(57, 2);
    script.answer(ui::vbOK);
    cst1(1);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Skipping cst1");
    EXPECT_EQ(script.shown()[0].text, ui::ErrorText(57) + "Bad Data error: 57");
    EXPECT_EQ(lines().size(), 1u);

    cap.failNext(57);  // once only: the second try prints the row
    script.answer(ui::vbOK);
    cst1(1);
    EXPECT_EQ(lines().size(), 2u);
    cap.failNext(55);  // error 55 is passed over without a word
    cst1(1);
    EXPECT_EQ(script.shown().size(), 2u);
}

TEST(EquipDesc, FormsOfTheConfiguration) {
    set_defaults(g);
    CompetitorPump& c = g.comp2_rec[1];
    c.model[1] = "  BR 35" + std::string(18, ' ');
    c.model[2] = "BR 55";
    c.model[3] = "BR 85";
    g.combo_idx = 5;
    auto desc = [](int ns, int nm, int nl) {
        g.combo_n1[5] = static_cast<i16>(ns);
        g.combo_n2[5] = static_cast<i16>(nm);
        g.combo_n3[5] = static_cast<i16>(nl);
        std::string t = "old";
        equip_desc(3, t);
        return t;
    };
    EXPECT_EQ(desc(3, 1, 0), std::string(9, ' ') + " 3 model   BR 35 and 1 model BR 55");
    EXPECT_EQ(desc(2, 0, 0), std::string(19, ' ') + " 2 model   BR 35");  // leading blanks of a name stay
    EXPECT_EQ(desc(0, 2, 0), std::string(19, ' ') + " 2 model BR 55");
    EXPECT_EQ(desc(0, 0, 1), std::string(19, ' ') + " 1 model BR 85");
    EXPECT_EQ(desc(0, 2, 1), std::string(19, ' ') + " 2 model BR 55");  // form 3 comes first
    // Mixes no form covers name every model with its count.
    EXPECT_EQ(vb::Trim(desc(2, 2, 0)), "2 model   BR 35 and 2 model BR 55");
    EXPECT_EQ(vb::Trim(desc(0, 0, 3)), "3 model BR 85");
    EXPECT_EQ(vb::Trim(desc(0, 0, 0)), "0 model");

    std::string t = "old";
    equip_desc(5, t);
    EXPECT_EQ(t, "");
    g.pump_rec = 2;
    g.pump_tab[2].model[1] = "HX 310";
    g.combo_n1[5] = 1;
    equip_desc(1, t);
    EXPECT_EQ(vb::Trim(t), "1 model HX 310");  // the chosen group, not record 1
    set_defaults(g);
}

}  // namespace
