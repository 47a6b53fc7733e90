// Brand and model search, the completeness checks, the competitor reader,
// the data disk, the city list rule and the small input helpers.
#include "app_fixture.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "records.h"

using apptest::DataDirTest;

namespace {

// Group k's model m, rating row r has the output 1000 k + 100 m + r.
PumpBrand group(int k, const std::string& brand) {
    PumpBrand p;
    p.brand = brand;
    const char* names[] = {"", "HX 310", "HX 520", "HX 730", "HX 310TX", "HX 520TX", "HX 730TX"};
    for (int m = 1; m <= 6; ++m) {
        p.model[m] = names[m];
        p.in_list[m] = 1;
        for (int r = 1; r <= 8; ++r) {
            const int pt = (m - 1) * 8 + r;
            p.rh[pt] = 80;
            p.cop[pt] = static_cast<float>(6 - 0.3 * r);
            p.btu[pt] = 1000 * k + 100 * m + r;
            p.water_temp[pt] = 80;
        }
    }
    return p;
}

CompetitorPump competitor(const std::string& brand) {
    CompetitorPump c;
    c.brand = brand;
    c.model[1] = "S 1";
    c.model[2] = "M 2";
    c.model[3] = "L 3";
    for (int p = 1; p <= 24; ++p) {
        c.rh[p] = 80;
        c.cop[p] = 5;
        c.btu[p] = 20000 + p;
        c.water_temp[p] = 80;
    }
    return c;
}

const char* const kAllMissing =
    "The following data is missing:\r\n"
    "Brand name\r\n"
    "Small  competitor model designation\r\n"
    "Medium competitor designation\r\n"
    "Large  competitor designation\r\n"
    "Relative humidity data\r\n"
    "Co efficient of performance\r\n"
    "BTU Output data\r\n"
    "Pool/Spa Water temperatures..\r\n"
    "THE PROGRAM MAY FAIL\r\n"
    "TO COMPARE COMPETITORS";

class PumpFileTest : public DataDirTest {
protected:
    void SetUp() override {
        DataDirTest::SetUp();
        PumpBrand third = group(3, "Morvenic");
        third.in_list[2] = 0;  // HX 520 not offered
        write("PumpHP.dat", records::pack(group(1, "Kestrolin")) + records::pack(group(2, "  Tindraly  ")) +
                                records::pack(third));
        for (int p = 1; p <= 72; ++p) g.hp_btu[p] = -p;
    }
};

}  // namespace

TEST_F(PumpFileTest, BrandAndModelAreFoundWhateverTheirCaseAndBlanks) {
    ui::Script script;
    read_pumpa("  kestrolin ", "hx 520");
    EXPECT_EQ(g.pump_rec, 1);
    EXPECT_EQ(g.brand_name, "kestrolin");
    EXPECT_EQ(g.model_name, "hx 520");
    for (int r = 1; r <= 8; ++r) EXPECT_EQ(g.hp_btu[r], 1200 + r);  // model 2 as points 1..8
    EXPECT_EQ(g.hp_btu[9], 1201);                                    // the group's own points stay
    EXPECT_EQ(g.hp_btu[41], 1601);

    read_pumpa("TIN DRALY", "HX730 TX");
    EXPECT_EQ(g.pump_rec, 2);
    EXPECT_EQ(g.hp_btu[1], 2601);
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(PumpFileTest, EmptyNamesMeanTheDefaultBrandAndModel) {
    g.brand_name = "  ";
    g.model_name = "";
    read_pumpa(g.brand_name, g.model_name);
    EXPECT_EQ(g.brand_name, "Kestrolin");
    EXPECT_EQ(g.model_name, "HX 730TX");
    EXPECT_EQ(g.pump_rec, 1);
    EXPECT_EQ(g.hp_btu[1], 1601);
}

TEST_F(PumpFileTest, AModelThatIsMissingOrNotOfferedLeavesTheTables) {
    read_pumpa("Morvenic", "HX 520");
    EXPECT_EQ(g.pump_rec, 3);
    read_pumpa("Kestrolin", "HX 999");
    EXPECT_EQ(g.pump_rec, 1);
    for (int p = 1; p <= 72; ++p) EXPECT_EQ(g.hp_btu[p], -p);
}

TEST_F(PumpFileTest, AnUnknownBrandIsReported) {
    ui::Script script;
    script.answer(ui::vbOK);
    read_pumpa("Nobrand", "HX 520");
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Brand name Nobrand was not found");
    EXPECT_EQ(script.shown()[0].title, "Error");
    EXPECT_EQ(g.pump_rec, 3);
    EXPECT_EQ(g.hp_btu[1], -1);
}

TEST_F(DataDirTest, AnEmptyHeatPumpFileIsReportedBeforeTheSearch) {
    write("PumpHP.dat", "");
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    read_pumpa("Kestrolin", "HX 520");
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[0].text, "Bad heat pump data file\rLooking in " + g.data_dir + " directory.");
    EXPECT_EQ(script.shown()[0].title, "Update file");
    EXPECT_EQ(script.shown()[1].title, "Load your data disk");
    EXPECT_EQ(script.shown()[2].text, "Brand name Kestrolin was not found");
    EXPECT_EQ(g.pump_rec, 1);
}

TEST_F(DataDirTest, CompetitorCheckListsWhatIsMissing) {
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    verify_compet2();  // an empty record
    CompetitorPump part = competitor("Brisalto");
    part.model[2] = "    ";
    for (int p = 1; p <= 24; ++p) part.btu[p] = 0;
    g.comp3_rec[1] = part;
    verify_compet3();
    g.comp1_rec[1] = competitor("Corvane Pool");
    verify_compet1();  // complete: no box

    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, kAllMissing);
    EXPECT_EQ(script.shown()[0].title, "Incomplete Heat Pump data");
    EXPECT_EQ(script.shown()[1].text,
              "The following data is missing:\r\nMedium competitor designation\r\nBTU Output data\r\n"
              "THE PROGRAM MAY FAIL\r\nTO COMPARE COMPETITORS");
}

TEST_F(DataDirTest, BrandCheckListsWhatIsMissing) {
    g.pump_rec = 2;
    g.pump_tab[2] = group(2, "Tindraly");
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    verify_brand();  // complete
    g.pump_tab[2].model[3] = "  ";
    for (int p = 1; p <= 72; ++p) g.pump_tab[2].water_temp[p] = 0;
    verify_brand();
    g.pump_rec = 5;  // nothing at all
    verify_brand();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text,
              "The following data is missing:\r\nModel designation\r\nPool/Spa Water temperatures..\r\n"
              "THE PROGRAM MAY FAIL");
    EXPECT_EQ(script.shown()[0].title, "Incomplete Heat Pump data");
    EXPECT_EQ(script.shown()[1].text,
              "The following data is missing:\r\nBrand name\r\nModel designation\r\nRelative humidity data\r\n"
              "Co efficient of performance\r\nBTU Output data\r\nPool/Spa Water temperatures..\r\n"
              "THE PROGRAM MAY FAIL");
}

TEST_F(DataDirTest, ACompetitorReplacesTheFirst24PointsAndItsBrandsModelNames) {
    write("PumpHP1.dat", records::pack(competitor("Brisalto")) + records::pack(competitor("Second")));
    g.brand_code = 2;
    g.series_sel = 1;
    g.hp_btu[25] = 99;
    g.comp_models[1][1][1] = "untouched";
    g.need_total = 5;
    g.heater_cum_cy[3] = cy(10);
    g.temp_table[4][6] = 78;
    g.hrs_flag[4] = 1;

    ui::Script script;
    EXPECT_TRUE(read_compet(1));
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(vb::Trim(g.comp1_rec[1].brand), "Brisalto");
    for (int p = 1; p <= 24; ++p) EXPECT_EQ(g.hp_btu[p], 20000 + p);
    EXPECT_EQ(g.hp_btu[25], 99);
    EXPECT_EQ(g.comp_models[2][1][2], "M 2" + std::string(22, ' '));
    EXPECT_EQ(g.comp_models[1][1][1], "untouched");
    EXPECT_EQ(g.need_total, 0);
    EXPECT_TRUE(g.heater_cum_cy[3].isZero());
    EXPECT_EQ(g.temp_table[4][5], 78);
    EXPECT_EQ(g.hrs_flag[4], 0);
}

TEST_F(DataDirTest, AnEmptyCompetitorFileIsReportedAndReadAsNoData) {
    write("PumpHP2.dat", "");
    g.hp_btu[1] = 5;
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    EXPECT_FALSE(read_compet(2));
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[0].text, "Bad competitor #2 heat pump data file");
    EXPECT_EQ(script.shown()[0].title, "Update file");
    EXPECT_EQ(script.shown()[1].title, "Load your data disk");
    EXPECT_EQ(script.shown()[2].text, kAllMissing);
    EXPECT_EQ(g.hp_btu[1], 0);
}

TEST_F(DataDirTest, AnyOtherCompetitorNumberOnlyResetsTheTotals) {
    g.need_total = 5;
    g.hp_btu[1] = 7;
    ui::Script script;
    EXPECT_FALSE(read_compet(0));
    EXPECT_FALSE(read_compet(4));
    EXPECT_EQ(g.need_total, 0);
    EXPECT_EQ(g.hp_btu[1], 7);
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(DataDirTest, TheDataDiskIsCopiedFromAOrElseB) {
    write("PumpHP.dat", "current");
    write("A/notes.txt", "not a data file");  // drive A holds none of the files
    write("B/Pump.Data", "from B");
    write("B/pump.dat2", "competitor 2");
    ui::Script script;
    load_data_disk();
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(read("PumpHP.dat"), "from B");
    EXPECT_EQ(read("PumpHP2.dat"), "competitor 2");
    EXPECT_FALSE(exists("PumpHP1.dat"));

    write("A/location.dat", "from A");
    load_data_disk();
    EXPECT_EQ(read("location.dat"), "from A");
    EXPECT_EQ(read("PumpHP.dat"), "from B");
}

TEST_F(DataDirTest, NoDataDiskIsSaidOnceAndChangesNothing) {
    write("PumpHP.dat", "current");
    ui::Script script;
    script.answer(ui::vbOK);
    load_data_disk();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Load your data disk");
    EXPECT_NE(script.shown()[0].text.find(g.data_dir + "A/"), std::string::npos);
    EXPECT_EQ(read("PumpHP.dat"), "current");
    EXPECT_EQ(entries(), std::vector<std::string>{"PumpHP.dat"});
}

TEST(CityList, EntriesFollowTheRegionRule) {
    struct Case {
        const char* state;
        const char* city;
        int group;
        const char* entry;
    };
    const Case cases[] = {
        {"FL", "Miami", 0, "Miami"},
        {" fl ", "  Key West ", 0, "Key West"},
        {"GA", "Atlanta", 1, "GA  Atlanta"},
        {"", "Nowhere", 1, "    Nowhere"},
        {"D", "Dover", 1, "D   Dover"},
        {"Florida", "Orlando", 2, "Florida   Orlando"},
        {"United Kingdom", "London", 2, "United K  London"},
    };
    for (const Case& c : cases) {
        CityRecord r;
        r.state = c.state;
        r.city = c.city;
        std::string entry;
        EXPECT_EQ(city_entry(r, entry), c.group) << c.state;
        EXPECT_EQ(entry, c.entry);
    }
}

TEST_F(DataDirTest, BrandCaptionIsCentredIn18) {
    g.pump_tab[1].brand = "Kestrolin";
    g.pump_tab[2].brand = "A brand name longer than eighteen";
    g.brand_code = 1;
    EXPECT_EQ(brand_caption(), "    Kestrolin     ");
    EXPECT_EQ(g.disp_str[5], "K");
    EXPECT_EQ(g.disp_str[18], " ");
    g.brand_code = 0;  // read as 1
    EXPECT_EQ(brand_caption(), "    Kestrolin     ");
    g.brand_code = 2;
    EXPECT_EQ(brand_caption(), "A brand name longe");
    g.brand_code = 4;
    EXPECT_EQ(brand_caption(), std::string(18, ' '));
    EXPECT_EQ(g.disp_str[1], " ");
}

TEST_F(DataDirTest, ModelListTextNamesTheModelsAndTheBrandBox) {
    g.model_txt1 = "HX 310 ";
    g.model_txt2 = "HX 520 ";
    g.model_txt3 = "HX 730 ";
    std::vector<std::string> words(2, "old");
    std::string phrase, brand = "x", c, b, a, note = "x";
    model_list_text(words, phrase, brand, c, b, a, note);
    EXPECT_EQ(brand, "");  // no input window
    data_hooks().brand_box_text = [] { return std::string("  kestrolin "); };
    model_list_text(words, phrase, brand, c, b, a, note);
    ASSERT_EQ(words.size(), 6u);
    EXPECT_EQ(words[1], "HX 730  and ");
    EXPECT_EQ(words[2], "HX 730 ");
    EXPECT_EQ(words[4], "HX 310 ");
    EXPECT_EQ(phrase, " Model HX 520 ");
    EXPECT_EQ(brand, "kestrolin");
    EXPECT_EQ(c, "HX 730");
    EXPECT_EQ(a, "HX 310");
    EXPECT_EQ(note, "");
}

TEST_F(DataDirTest, InputHelpers) {
    EXPECT_EQ(remove_comma("$1,234.50%"), "1234.50");
    std::string out = "x";
    remove_comma("", out);
    EXPECT_EQ(out, "");
    strip_spaces(" hx 520 tx ", out);
    EXPECT_EQ(out, "HX520TX");

    float c = 0;
    to_deg_c(c, 82);
    EXPECT_EQ(c, 82.0f);
    g.units_temp = 1;
    to_deg_c(c, 82);
    EXPECT_FLOAT_EQ(c, 27.8f);
    to_deg_c(c, 32);
    EXPECT_EQ(c, 0.0f);
    to_deg_c(c, from_deg_c(27.8f));
    EXPECT_FLOAT_EQ(c, 27.8f);
    EXPECT_NEAR(from_deg_c(100), 212, 1e-4);
}

TEST_F(DataDirTest, NumbersOnlyWarnsUnlessSoundIsOff) {
    ui::Script script;
    script.answer(ui::vbOK);
    numbers_only();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Numbers only");
    EXPECT_EQ(script.shown()[0].title, "Please");
    EXPECT_EQ(script.sounds(), 1);
    g.sound_off = 1;
    numbers_only();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.sounds(), 1);
}
