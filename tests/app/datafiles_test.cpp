// Brand and model search, the completeness checks, the competitor reader,
// the data disk, the city list rule and the small input helpers.
#include <sys/stat.h>

#include <memory>

#include "app/records.h"
#include "app/settings.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "tests/support/data_test.h"

using namespace testsupport;
using DataDirTest = DataTest;

namespace {

// Group k's model m, rating row r has the output 1000 k + 100 m + r.
PumpBrand group(int k, const std::string& brand) {
    PumpBrand p;
    p.brand = brand;
    const char* names[] = {"", "HX 310", "HX 520", "HX 730", "HX 310TX", "HX 520TX", "HX 730TX"};
    for (int m = 1; m <= 6; ++m) {
        p.model[m] = names[m];
        p.in_list[m] = 1;
        for (int r = 1, pt = (m - 1) * 8 + 1; r <= 8; ++r, ++pt)
            p.rh[pt] = 80, p.cop[pt] = 5, p.btu[pt] = 1000 * k + 100 * m + r, p.water_temp[pt] = 80;
    }
    return p;
}

CompetitorPump competitor(const std::string& brand) {
    CompetitorPump c;
    c.brand = brand;
    c.model = {"", "S 1", "M 2", "L 3"};
    for (int p = 1; p <= 24; ++p) c.rh[p] = 80, c.cop[p] = 5, c.btu[p] = 20000 + p, c.water_temp[p] = 80;
    return c;
}

const char* const kAllMissing =
    "The following data is missing:\r\nBrand name\r\nSmall  competitor model designation\r\n"
    "Medium competitor designation\r\nLarge  competitor designation\r\nRelative humidity data\r\n"
    "Co efficient of performance\r\nBTU Output data\r\nPool/Spa Water temperatures..\r\n"
    "THE PROGRAM MAY FAIL\r\nTO COMPARE COMPETITORS";

}  // namespace

TEST_F(DataDirTest, ReadPumpaFindsTheBrandAndTheOfferedModel) {
    PumpBrand third = group(3, "Morvenic");
    third.in_list[2] = 0;  // HX 520 not offered
    write("PumpHP.dat",
          records::pack(group(1, "Kestrolin")) + records::pack(group(2, "  Tindraly  ")) + records::pack(third));
    struct Case {
        const char* brand;
        const char* model;
        int rec;                // pump_rec afterwards
        const char* keptBrand;  // brand_name and model_name afterwards
        const char* keptModel;
        double btu1, btu9;    // hp_btu(1) and (9); -1 / -9: the tables were left alone
        const char* message;  // "" for none
    };
    const Case cases[] = {
        // case and blanks aside; the model's 8 points become points 1..8, the group's own points stay
        {"  kestrolin ", "hx 520", 1, "kestrolin", "hx 520", 1201, 1201, ""},
        {"TIN DRALY", "HX730 TX", 2, "TIN DRALY", "HX730 TX", 2601, 2201, ""},
        // empty names: the default brand and model
        {"  ", "", 1, "Kestrolin", "HX 730TX", 1601, 1201, ""},
        // a model not offered, or not there: the tables stay as they were
        {"Morvenic", "HX 520", 3, "Morvenic", "HX 520", -1, -9, ""},
        {"Kestrolin", "HX 999", 1, "Kestrolin", "HX 999", -1, -9, ""},
        // an unknown brand: said; pump_rec is the last record read
        {"Nobrand", "HX 520", 3, "Nobrand", "HX 520", -1, -9, "Brand name Nobrand was not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.brand);
        for (int p = 1; p <= 72; ++p) g.hp_btu[p] = -p;
        ui::Script script;
        if (*c.message) script.answer(ui::vbOK);
        read_pumpa(c.brand, c.model);
        EXPECT_EQ(g.pump_rec, c.rec);
        EXPECT_EQ(g.brand_name, c.keptBrand);
        EXPECT_EQ(g.model_name, c.keptModel);
        EXPECT_EQ(g.hp_btu[1], c.btu1);
        EXPECT_EQ(g.hp_btu[9], c.btu9);
        for (int r = 2; r <= 8 && c.btu1 > 0; ++r) EXPECT_EQ(g.hp_btu[r], c.btu1 + r - 1);
        ASSERT_EQ(script.shown().size(), *c.message ? 1u : 0u);
        if (*c.message) {
            EXPECT_EQ(script.shown()[0].text, c.message);
            EXPECT_EQ(script.shown()[0].title, "Error");
        }
    }
}

// An empty file is said, the data disk is tried (there is none), and the
// reader goes on with what it has; load_brand_pumps takes the file a disk
// brings.
TEST_F(DataDirTest, AnEmptyRecordFileIsSaidAndTheDataDiskTried) {
    write("PumpHP.dat", "");
    {
        ui::Script script;
        for (int i = 0; i < 3; ++i) script.answer(ui::vbOK);
        read_pumpa("Kestrolin", "HX 520");
        ASSERT_EQ(script.shown().size(), 3u);
        EXPECT_EQ(script.shown()[0].text, "Bad heat pump data file\rLooking in " + g.data_dir + " directory.");
        EXPECT_EQ(script.shown()[0].title, "Update file");
        EXPECT_EQ(script.shown()[1].title, "Load your data disk");
        EXPECT_EQ(script.shown()[2].text, "Brand name Kestrolin was not found");
    }
    EXPECT_EQ(g.pump_count, 0);

    write("B/pump.data", records::pack(group(1, "Kestrolin")) + records::pack(group(2, "Tindraly")));
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    load_brand_pumps();
    EXPECT_EQ(script.shown().size(), 2u);  // bad file, then restored
    EXPECT_EQ(g.pump_count, 2);
    EXPECT_EQ(read("PumpHP.dat").size(), 2u * 1724);
}

TEST_F(DataDirTest, CompletenessChecksListWhatIsMissing) {
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    verify_compet2();  // an empty record
    CompetitorPump part = competitor("Brisalto");
    part.model[2] = "    ";
    for (int p = 1; p <= 24; ++p) part.btu[p] = 0;
    g.comp3_rec[1] = part;
    verify_compet3();
    g.comp1_rec[1] = competitor("Corvane Pool");
    verify_compet1();  // complete: no box

    // The chosen brand's group at start-up.
    g.pump_rec = 2;
    g.pump_tab[2] = group(2, "Tindraly");
    verify_brand();  // complete
    g.pump_tab[2].model[3] = "  ";
    for (int p = 1; p <= 72; ++p) g.pump_tab[2].water_temp[p] = 0;
    verify_brand();
    g.pump_rec = 5;  // nothing at all
    verify_brand();

    ASSERT_EQ(script.shown().size(), 4u);
    for (const ui::Shown& s : script.shown()) EXPECT_EQ(s.title, "Incomplete Heat Pump data");
    EXPECT_EQ(script.shown()[0].text, kAllMissing);
    EXPECT_EQ(script.shown()[1].text,
              "The following data is missing:\r\nMedium competitor designation\r\nBTU Output data\r\n"
              "THE PROGRAM MAY FAIL\r\nTO COMPARE COMPETITORS");
    EXPECT_EQ(script.shown()[2].text,
              "The following data is missing:\r\nModel designation\r\nPool/Spa Water temperatures..\r\n"
              "THE PROGRAM MAY FAIL");
    EXPECT_EQ(script.shown()[3].text,
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
    auto dirty = [] {
        g.need_total = 5;
        g.heater_cum_cy[3] = cy(10);
        g.temp_table[4][6] = 78;
        g.hrs_flag[4] = 1;
    };
    auto expectReset = [] {
        EXPECT_EQ(g.need_total, 0);
        EXPECT_TRUE(g.heater_cum_cy[3].isZero());
        EXPECT_EQ(g.temp_table[4][5], 78);
        EXPECT_EQ(g.hrs_flag[4], 0);
    };

    ui::Script script;
    dirty();
    EXPECT_TRUE(read_compet(1));
    EXPECT_TRUE(script.shown().empty());
    expectReset();
    EXPECT_EQ(vb::Trim(g.comp1_rec[1].brand), "Brisalto");  // record 1 only
    for (int p = 1; p <= 24; ++p) EXPECT_EQ(g.hp_btu[p], 20000 + p);
    EXPECT_EQ(g.hp_btu[25], 99);
    EXPECT_EQ(g.comp_models[2][1][2], "M 2" + std::string(22, ' '));
    EXPECT_EQ(g.comp_models[1][1][1], "untouched");

    // Any other number only resets the totals.
    for (int k : {0, 4}) {
        dirty();
        EXPECT_FALSE(read_compet(k));
        expectReset();
        EXPECT_EQ(g.hp_btu[1], 20001);
    }
    EXPECT_TRUE(script.shown().empty());
}

// The disk restores only the files the program cannot use (missing, or
// without a whole record), from A, else B; each file it replaces is kept as
// .bak, an older copy moving on to .bak1, and the dealer is told which were
// restored. A city file of whole records with a few bytes after them is the
// dealer's and stays.
TEST_F(DataDirTest, TheDataDiskRestoresOnlyFilesTheProgramCannotUseAndKeepsWhatItReplaces) {
    write("PumpHP.dat", "current");  // no whole record: damaged
    {
        // No disk in either drive: said once, nothing changed.
        ui::Script script;
        script.answer(ui::vbOK);
        load_data_disk();
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, "Load your data disk");
        EXPECT_NE(script.shown()[0].text.find(g.data_dir + "A/"), std::string::npos);
        EXPECT_EQ(files(), std::vector<std::string>{"PumpHP.dat"});
    }
    const std::string mine = records::pack(CityRecord{}) + records::pack(CityRecord{}) + "stray";
    write("location.dat", mine);                                 // whole records and a few bytes: used as it is
    write("PumpHP1.dat", records::pack(competitor("Mine")));     // whole
    write("A/notes.txt", "not a data file");                     // drive A holds none of the files
    write("B/Pump.Data", records::pack(group(1, "Kestrolin")));  // letter case as on a diskette
    write("B/pump.dat1", records::pack(competitor("Disk")));
    write("B/pump.dat2", records::pack(competitor("Disk")));
    write("B/location.dat", records::pack(CityRecord{}));
    auto disk = std::make_unique<DataModel>();
    set_defaults(*disk);
    disk->company_name = "From the disk";
    write("B/defaults.dat", settings::toText(*disk));
    write("defaulte.dat", "company_name=Cut short\n");  // not read in full: damaged
    ui::Script script;
    script.answer(ui::vbOK);
    load_data_disk();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Load your data disk");
    EXPECT_EQ(script.shown()[0].text, "Restored from the data disk in " + g.data_dir +
                                          "B/:\r\ndefaulte.dat (the damaged file kept as defaulte.bak)\r\n"
                                          "PumpHP.dat (the damaged file kept as PumpHP.bak)\r\n"
                                          "PumpHP2.dat (it was missing)");
    EXPECT_EQ(read("defaulte.dat"), settings::toText(*disk));
    EXPECT_EQ(read("defaulte.bak"), "company_name=Cut short\n");
    EXPECT_EQ(read("PumpHP.dat"), records::pack(group(1, "Kestrolin")));
    EXPECT_EQ(read("PumpHP.bak"), "current");
    EXPECT_EQ(read("PumpHP2.dat"), records::pack(competitor("Disk")));
    EXPECT_EQ(read("PumpHP1.dat"), records::pack(competitor("Mine")));
    EXPECT_EQ(read("location.dat"), mine);

    // A city file cut short of one record, then an empty one, from drive A:
    // each restore keeps the file it replaces, the older copy moving on.
    write("A/location.dat", records::pack(CityRecord{}));
    for (const char* damaged : {"cut", ""}) {
        write("location.dat", damaged);
        script.answer(ui::vbOK);
        load_data_disk();
        EXPECT_EQ(read("location.dat"), records::pack(CityRecord{}));
    }
    EXPECT_EQ(read("location.bak"), "");
    EXPECT_EQ(read("location.bak1"), "cut");
    EXPECT_EQ(read("PumpHP.dat"), records::pack(group(1, "Kestrolin")));
    EXPECT_EQ(files(), (std::vector<std::string>{"A", "B", "PumpHP.bak", "PumpHP.dat", "PumpHP1.dat", "PumpHP2.dat",
                                                 "defaulte.bak", "defaulte.dat", "location.bak", "location.bak1",
                                                 "location.dat"}));
}

// A disk file replaces nothing unless it is a whole file of its kind within
// the size its table takes; a file far too large is refused unread. Only
// the files whose copy succeeded are said restored; the others are named
// with the reason.
TEST_F(DataDirTest, TheDataDiskTakesOnlyWholeFilesAndSaysRestoredOnlyOfCopiesThatSucceeded) {
    write("A/location.dat", "");
    std::filesystem::resize_file(path("A/location.dat"), 1'500'000'000);  // sparse: no disk space taken
    write("A/pump.data", records::pack(group(1, "Kestrolin")) + "x");     // a partial record after the first
    write("A/pump.dat1", records::pack(competitor("Two")) + records::pack(competitor("Two")));
    write("A/pump.dat2", records::pack(competitor("Disk")));
    write("A/pump.dat3", records::pack(competitor("Disk")));
    write("A/defaults.dat", "company_name=Cut short\n");
    // The copy of PumpHP3.dat fails at its last step.
    rec::setFaultHook([](rec::Step step, const std::string& p) {
        return step == rec::Step::Rename && p.find("PumpHP3.dat") != std::string::npos ? 5 : 0;
    });
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    load_data_disk();
    rec::setFaultHook(nullptr);
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text,
              "Restored from the data disk in " + g.data_dir + "A/:\r\nPumpHP2.dat (it was missing)");
    const std::string& failed = script.shown()[1].text;
    EXPECT_EQ(script.shown()[1].title, "Error in load_data_disk");
    for (const char* said : {"defaults.dat: not a whole settings file",
                             "location.dat: 1500000000 bytes, too large for a weather-city file (at most 114000)",
                             "pump.data: 1725 bytes, not a whole heat pump data file (records of 1724 bytes)",
                             "pump.dat1: 1192 bytes, too large for a competitor heat pump file (at most 596)",
                             "pump.dat3: Cannot replace"})
        EXPECT_NE(failed.find(said), std::string::npos) << said << "\n" << failed;
    EXPECT_EQ(failed.find("pump.dat2"), std::string::npos);
    EXPECT_EQ(files(), (std::vector<std::string>{"A", "PumpHP2.dat"}));

    // An empty file on the disk is no city file either.
    std::filesystem::remove_all(path("A"));
    write("A/location.dat", "");
    script.answer(ui::vbOK);
    load_data_disk();
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_NE(script.shown()[2].text.find("location.dat: 0 bytes, not a whole weather-city file"), std::string::npos);
    EXPECT_FALSE(exists("location.dat"));

    // A damaged file far too large to read is kept whole (renamed, not
    // copied); one that cannot be kept, a named pipe, stays and is said.
    write("A/location.dat", records::pack(CityRecord{}));
    write("A/pump.data", records::pack(group(1, "Kestrolin")));
    ASSERT_EQ(::mkfifo(path("location.dat").c_str(), 0600), 0);
    write("PumpHP.dat", "");
    std::filesystem::resize_file(path("PumpHP.dat"), 600'000'000);
    script.answer(ui::vbOK).answer(ui::vbOK);
    load_data_disk();
    ASSERT_EQ(script.shown().size(), 5u);
    EXPECT_EQ(script.shown()[3].text, "Restored from the data disk in " + g.data_dir +
                                          "A/:\r\nPumpHP.dat (the damaged file kept as PumpHP.bak)");
    EXPECT_NE(script.shown()[4].text.find("location.dat: the damaged file could not be kept: " + path("location.dat") +
                                          " is a named pipe (FIFO), not a file"),
              std::string::npos)
        << script.shown()[4].text;
    EXPECT_EQ(std::filesystem::file_size(path("PumpHP.bak")), 600'000'000u);
    EXPECT_EQ(read("PumpHP.dat"), records::pack(group(1, "Kestrolin")));
}

// A restore that fails at every start (the damaged file cannot be
// replaced) leaves the older kept copy alone, instead of filling the chain
// with copies of the damaged file.
TEST_F(DataDirTest, ARestoreThatFailsAtEveryStartKeepsTheOlderCopies) {
    write("PumpHP.dat", "damaged");
    write("PumpHP.bak", "older");
    write("A/pump.data", records::pack(group(1, "Kestrolin")));
    rec::setFaultHook([](rec::Step step, const std::string& p) {
        return step == rec::Step::Rename && p.ends_with("/PumpHP.dat") ? 28 /* ENOSPC */ : 0;
    });
    ui::Script script;
    for (int start = 0; start <= rec::kKeptCopies; ++start) {
        script.answer(ui::vbOK);
        load_data_disk();
    }
    rec::setFaultHook(nullptr);
    EXPECT_NE(script.shown().back().text.find("pump.data: Cannot replace"), std::string::npos);
    EXPECT_EQ(files(), (std::vector<std::string>{"A", "PumpHP.bak", "PumpHP.dat"}));
    EXPECT_EQ(read("PumpHP.bak"), "older");
}

// A start without cities says so and how to get them back, instead of
// empty city lists under the project's old city; Yes loads the data disk,
// and a disk that brings no cities is said too.
TEST_F(DataDirTest, AStartWithoutCitiesSaysSoAndOffersTheDataDisk) {
    CityRecord waco;
    waco.city = "Waco";
    write("location.dat", records::pack(waco));
    load_locations();
    check_cities();  // cities there: not a word (an unscripted box fails the test)

    std::filesystem::remove(path("location.dat"));
    load_locations();
    {
        ui::Script script;
        script.answer(ui::vbNo);
        check_cities();
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, "Weather data");
        for (const std::string& said : {path("location.dat") + " is missing.", g.data_dir + "A/ (or B/)",
                                        std::string("\"Copy Excel Data\""), std::string("data disk now?")})
            EXPECT_NE(script.shown()[0].text.find(said), std::string::npos) << said;
        EXPECT_EQ(script.shown()[0].text.find("kept as"), std::string::npos);
        EXPECT_FALSE(exists("location.dat"));
    }
    write("location.dat", "");
    write("location.bak", records::pack(waco));
    load_locations();
    {
        // No disk: said by the disk, then that no cities came.
        ui::Script script;
        script.answer(ui::vbYes).answer(ui::vbOK).answer(ui::vbOK);
        check_cities();
        ASSERT_EQ(script.shown().size(), 3u);
        EXPECT_NE(script.shown()[0].text.find(" holds no cities."), std::string::npos);
        EXPECT_NE(script.shown()[0].text.find("kept as " + path("location.bak") +
                                              ".\r\nTo get them back, close the "
                                              "program, rename location.bak to location.dat in " +
                                              g.data_dir + " and start it again."),
                  std::string::npos);
        EXPECT_EQ(script.shown()[1].text.rfind("The data disk was not found.", 0), 0u);
        EXPECT_EQ(script.shown()[2].text.rfind("The data disk brought no weather cities.", 0), 0u);
    }
    write("A/location.dat", records::pack(waco) + records::pack(waco));
    ui::Script script;
    script.answer(ui::vbYes).answer(ui::vbOK);
    check_cities();
    EXPECT_EQ(script.shown().size(), 2u);  // the question, then "Restored"
    EXPECT_EQ(g.city_count, 2);
    EXPECT_EQ(g.city_tab[2].city, "Waco");
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
    const std::pair<int, std::string> cases[] = {
        {1, "    Kestrolin     "}, {0, "    Kestrolin     "},  // 0 is read as 1
        {2, "A brand name longe"}, {4, std::string(18, ' ')}, {-3, std::string(18, ' ')},
    };
    for (const auto& [code, caption] : cases) {
        g.brand_code = static_cast<i16>(code);
        EXPECT_EQ(brand_caption(), caption) << code;
        for (int i = 1; i <= 18; ++i) EXPECT_EQ(g.disp_str[i], caption.substr(i - 1, 1)) << code;
    }
}

TEST_F(DataDirTest, ModelListTextNamesTheModelsAndTheBrandBox) {
    g.model_txt1 = "HX 310 ";
    g.model_txt2 = "HX 520 ";
    g.model_txt3 = "HX 730 ";
    g.model_name = "HX 520";
    std::vector<std::string> words(2, "old");
    std::string phrase, brand = "x", c, b, a, note = "x";
    model_list_text(words, phrase, brand, c, b, a, note);
    EXPECT_EQ(brand, "");  // no input window
    windows().brand_box_text = [] { return std::string("  kestrolin "); };
    model_list_text(words, phrase, brand, c, b, a, note);
    EXPECT_EQ(words, (std::vector<std::string>{"", "HX 730  and ", "HX 520 ", "HX 520 ", "HX 310 ", ""}));
    EXPECT_EQ(phrase, " Model HX 520 ");
    EXPECT_EQ(brand, "kestrolin");
    EXPECT_EQ(c + "|" + b + "|" + a + "|" + note, "HX 730|HX 520|HX 310|");
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
    to_deg_c(c, from_deg_c(27.8f));
    EXPECT_FLOAT_EQ(c, 27.8f);
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
