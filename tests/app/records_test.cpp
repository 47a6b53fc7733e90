// Disk images of the heat-pump, competitor and city records, the record
// count rule of the loaders, and the safe rewriting of the record files.
#include <sys/stat.h>

#include <bit>
#include <cstring>

#include "app/records.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "tests/support/data_test.h"

using namespace testsupport;
using DataDirTest = DataTest;
namespace fs = std::filesystem;

namespace {

static_assert(std::endian::native == std::endian::little, "the expected bytes are built in host order");

// A record image built by hand: zeros, then the fields put at their offsets.
struct Image {
    std::string b;
    explicit Image(std::size_t n) : b(n, '\0') {}
    void text(std::size_t off, const std::string& bytes, std::size_t width) {
        b.replace(off, width, bytes + std::string(width - bytes.size(), ' '));
    }
    template <class T> void num(std::size_t off, T v) { std::memcpy(b.data() + off, &v, sizeof v); }
};

PumpBrand samplePump(const std::string& brand, double scale = 1) {
    PumpBrand p;
    p.brand = brand;
    const char* names[] = {"", "HX 310", "HX 520", "HX 730", "HX 310TX", "HX 520TX", "HX 730TX"};
    for (int m = 1; m <= 6; ++m) p.model[m] = names[m], p.in_list[m] = 1;
    for (int i = 1; i <= 72; ++i)
        p.rh[i] = 80, p.cop[i] = 5, p.btu[i] = (30000 + 500.0 * i) * scale, p.water_temp[i] = 80;
    return p;
}

CityRecord sampleCity(const std::string& city, const std::string& state) {
    CityRecord c;
    c.city = city;
    c.state = state;
    c.elec_cost = 0.152f;
    c.wind = 7.6f;
    for (int m = 1; m <= 12; ++m) c.humidity[m] = 70.0f + m, c.sun[m] = 300.0f + m, c.air_temp[m] = 60.0f + m;
    return c;
}

std::string pumpFile(int records) {
    std::string bytes;
    for (int k = 1; k <= records; ++k) bytes += records::pack(samplePump("Brand " + std::to_string(k), k));
    return bytes;
}

}  // namespace

TEST(RecordImages, CityRecordLiesAtItsOffsets) {
    CityRecord c = sampleCity("Z\u00fcrich", "Switzerland");
    c.gas_cost = 1.5f;
    c.oil_cost = -2.25f;
    Image img(228);
    img.text(0, "Z\xFCrich", 39);  // Windows-1252
    img.text(39, "Switzerland", 25);
    img.num(64, 0.152f);
    img.num(68, 1.5f);
    img.num(76, -2.25f);
    img.num(80, 7.6f);
    for (int m = 1; m <= 12; ++m) {
        img.num(84 + 4 * (m - 1), 70.0f + m);
        img.num(132 + 4 * (m - 1), 300.0f + m);
        img.num(180 + 4 * (m - 1), 60.0f + m);
    }
    EXPECT_EQ(records::pack(c), img.b);

    CityRecord back = records::unpackCity(img.b);
    EXPECT_EQ(back.city, "Z\u00fcrich" + std::string(33, ' '));  // blanks kept
    EXPECT_EQ(records::pack(back), img.b);
}

TEST(RecordImages, PumpBrandLiesAtItsOffsets) {
    PumpBrand p;
    p.brand = "Kestrolin";
    p.model[1] = "HX 310";
    p.model[9] = "A designation longer than twenty-five";
    p.in_list[1] = 1;
    p.in_list[9] = -1;
    p.spare = 0x1234;
    p.rh[1] = 80;
    p.cop[72] = 3.2f;
    p.btu[1] = 63000.5;
    p.btu[72] = 35000;
    p.water_temp[72] = 80;
    Image img(1724);
    img.text(0, "Kestrolin", 39);
    img.text(39, "HX 310", 25);
    for (int m = 2; m <= 8; ++m) img.text(39 + 25 * (m - 1), "", 25);
    img.text(239, "A designation longer than", 25);  // cut to 25
    img.num<std::int16_t>(264, 1);
    img.num<std::int16_t>(280, -1);
    img.num<std::int16_t>(282, 0x1234);
    img.num(284, 80.0f);
    img.num(572 + 71 * 4, 3.2f);
    img.num(860, 63000.5);
    img.num(860 + 71 * 8, 35000.0);
    img.num(1436 + 71 * 4, 80.0f);
    EXPECT_EQ(records::pack(p), img.b);

    EXPECT_EQ(records::pack(records::unpackPump(img.b)), img.b);
}

TEST(RecordImages, CompetitorRecordKeepsItsTwoByteGap) {
    CompetitorPump c;
    c.brand = "Brisalto";
    c.model[1] = "BR 35";
    c.model[3] = "BR 85";
    c.rh[1] = 80;
    c.cop[1] = 5.38f;
    c.btu[24] = 80000;
    c.water_temp[24] = 81;
    Image img(596);
    img.text(0, "Brisalto", 39);
    img.text(39, "BR 35", 25);
    img.text(64, "", 25);
    img.text(89, "BR 85", 25);
    img.num(116, 80.0f);
    img.num(212, 5.38f);
    img.num(308 + 23 * 8, 80000.0);
    img.num(500 + 23 * 4, 81.0f);
    EXPECT_EQ(records::pack(c), img.b);

    const std::string packed = img.b;
    img.b[114] = img.b[115] = '\x7F';  // whatever the gap holds is not data
    EXPECT_EQ(records::pack(records::unpackCompetitor(img.b)), packed);
}

TEST_F(DataDirTest, LoadingTheHeatPumpFileSetsTheChosenGroupsTexts) {
    // 3.6 records: the count rule says 4, but only three are whole.
    std::string bytes = pumpFile(4);
    PumpBrand padded = samplePump("   Tindraly");
    bytes.replace(1724, 1724, records::pack(padded));
    write("PumpHP.dat", bytes.substr(0, 3 * 1724 + 1034));
    g.pump_tab[50].brand = "stale";
    g.pump_saved = 1;
    g.pump_rec = 2;
    g.hp_btu[25] = -1;
    ui::Script script;
    load_brand_pumps();
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(g.pump_count, 3);  // whole records only
    EXPECT_EQ(g.pump_tab[2].brand, "Tindraly");
    EXPECT_EQ(g.pump_tab[50].brand, "");
    EXPECT_EQ(g.model_txt1, "HX 310 ");
    EXPECT_EQ(g.model_txt3, "HX 730 ");
    for (int p = 1; p <= 24; ++p) EXPECT_EQ(g.hp_btu[p], padded.btu[p]);
    EXPECT_EQ(g.hp_btu[25], -1);
    EXPECT_EQ(g.pump_saved, 0);

    // A chosen group beyond the file's end stays the group in use (blank,
    // for the brand check to report), no other brand's data in its place.
    g.pump_rec = 5;
    load_brand_pumps();
    EXPECT_EQ(g.pump_rec, 5);
    EXPECT_EQ(g.model_txt1, " ");
    EXPECT_EQ(g.hp_btu[1], 0);
}

TEST_F(DataDirTest, Only100PumpRecordsAnd500CitiesAreLoadedAndThatIsSaidOnce) {
    write("PumpHP.dat", pumpFile(101));
    std::string cities;
    for (int i = 1; i <= 501; ++i) cities += records::pack(sampleCity("City " + std::to_string(i), "GA"));
    write("location.dat", cities);
    int filled = 0;
    windows().fill_city_lists = [&] { ++filled; };

    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbOK);
    load_brand_pumps();
    load_locations();
    load_brand_pumps();  // a reload of the same file says nothing more
    load_locations();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_NE(script.shown()[0].text.find("more than 100"), std::string::npos);
    EXPECT_NE(script.shown()[1].text.find("more than 500"), std::string::npos);
    EXPECT_EQ(g.pump_count, 100);
    EXPECT_EQ(g.pump_tab[100].brand, "Brand 100");
    EXPECT_EQ(g.city_count, 500);
    EXPECT_EQ(g.city_tab[500].city, "City 500");
    EXPECT_EQ(filled, 2);
}

TEST_F(DataDirTest, CitiesAreLoadedTrimmedAMissingFileHasNoneAnUnreadableOneIsReported) {
    write("location.dat", records::pack(sampleCity("  Miami ", "FL")) + records::pack(sampleCity("Tampa", "FL")));
    int filled = 0;
    windows().fill_city_lists = [&] { ++filled; };
    load_locations();
    EXPECT_EQ(g.city_count, 2);
    EXPECT_EQ(g.city_tab[1].city, "Miami");
    EXPECT_EQ(g.city_tab[1].state, "FL");
    EXPECT_EQ(g.city_tab[2].humidity[12], 82.0f);

    // A file that is there but cannot be read: a folder, a named pipe, one
    // far larger than the table: said, and the cities kept.
    ui::Script script;
    for (int kind = 0; kind < 3; ++kind) {
        fs::remove(path("location.dat"));
        if (kind == 0) fs::create_directories(path("location.dat"));
        if (kind == 1) {
            ASSERT_EQ(::mkfifo(path("location.dat").c_str(), 0600), 0);
        }
        if (kind == 2) {
            std::ofstream(path("location.dat")).close();
            fs::resize_file(path("location.dat"), 64 << 20);  // sparse: takes no room
        }
        script.answer(ui::vbOK);
        load_locations();
        ASSERT_EQ(script.shown().size(), kind + 1u);
        EXPECT_EQ(script.shown()[kind].title, "Error in load_locations");
    }
    EXPECT_EQ(g.city_count, 2);
    EXPECT_EQ(g.city_tab[1].city, "Miami");
    EXPECT_EQ(filled, 1);

    fs::remove(path("location.dat"));
    load_locations();
    EXPECT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(g.city_count, 0);
    EXPECT_EQ(g.city_tab[1].city, "");
    EXPECT_FALSE(exists("location.dat"));
}

TEST_F(DataDirTest, RecordFilesAreReplacedWhole) {
    // PumpHP.dat: records 1..100 written, whatever lies beyond them kept; a
    // shorter file grows to 100 records.
    const std::string old = pumpFile(102);
    write("PumpHP.dat", old);
    auto tab = std::make_unique<arr<PumpBrand, 100>>();
    (*tab)[1] = samplePump("Kestrolin");
    ASSERT_TRUE(records::writePumpFile(path("PumpHP.dat"), *tab));
    std::string now = read("PumpHP.dat");
    ASSERT_EQ(now.size(), old.size());
    EXPECT_EQ(now.substr(0, 1724), records::pack((*tab)[1]));
    EXPECT_EQ(now.substr(1724, 1724), records::pack(PumpBrand{}));
    EXPECT_EQ(now.substr(100 * 1724), old.substr(100 * 1724));
    write("PumpHP.dat", pumpFile(10));
    ASSERT_TRUE(records::writePumpFile(path("PumpHP.dat"), *tab));
    EXPECT_EQ(read("PumpHP.dat").size(), 100u * 1724);

    // A competitor file: record 1 replaced, the rest kept; a missing file has no record.
    CompetitorPump first, second, fresh;
    first.brand = "Old";
    second.brand = "Second";
    fresh.brand = "New";
    write("PumpHP1.dat", records::pack(first) + records::pack(second));
    ASSERT_TRUE(records::writeCompetitorFile(path("PumpHP1.dat"), fresh));
    EXPECT_EQ(read("PumpHP1.dat"), records::pack(fresh) + records::pack(second));
    CompetitorPump back;
    ASSERT_TRUE(records::readCompetitorFile(path("PumpHP1.dat"), back));
    EXPECT_EQ(vb::Trim(back.brand), "New");
    EXPECT_FALSE(records::readCompetitorFile(path("PumpHP2.dat"), back));

    // location.dat: through a fresh locatio2.dat (never one an earlier run
    // left behind), which is gone afterwards; a failure keeps the old file.
    fs::remove(path("PumpHP.dat"));
    fs::remove(path("PumpHP1.dat"));
    write("location.dat", records::pack(sampleCity("Old", "GA")));
    write("locatio2.dat", std::string(5 * 228, 'x'));
    fs::permissions(path("location.dat"), fs::perms(0640));
    const std::vector<CityRecord> cities = {sampleCity("Miami", "FL"), sampleCity("Atlanta", "GA")};
    ASSERT_TRUE(records::writeCityFile(g.data_dir, cities));
    const std::string both = records::pack(cities[0]) + records::pack(cities[1]);
    EXPECT_EQ(read("location.dat"), both);
    EXPECT_EQ(fs::status(path("location.dat")).permissions(), fs::perms(0640));  // kept across the rename
    EXPECT_EQ(files(), std::vector<std::string>{"location.dat"});
    std::string why;
    EXPECT_FALSE(records::writeCityFile(g.data_dir + "nowhere/", cities, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(read("location.dat"), both);
}
