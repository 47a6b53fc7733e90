// The data files the build makes from data/: they load without a complaint
// and hold the example project; the tool never overwrites the dealer's
// settings file.
#include <cstdlib>

#include "core/ui.h"
#include "core/vbtext.h"
#include "tests/support/data_test.h"

using namespace testsupport;
using DataDirTest = DataTest;
namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {"defaulte.dat", "location.dat", "PumpHP.dat",
                              "PumpHP1.dat",  "PumpHP2.dat",  "PumpHP3.dat"};

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

class DefaultDataTest : public DataDirTest {
protected:
    void SetUp() override {
        DataDirTest::SetUp();
        bin_ = env("HEATER_BIN_DIR");
        src_ = env("HEATER_SOURCE_DIR");
        if (bin_.empty() || src_.empty()) GTEST_SKIP() << "run through ctest";
    }
    // Runs the build-time tool on the repository's sources into our folder.
    int mkdata() const {
        const std::string tool = bin_ + "/../tools/mkdata";
        return std::system(("\"" + tool + "\" \"" + src_ + "/data\" \"" + dir_ + "\" > /dev/null").c_str());
    }
    std::string read_built(const std::string& name) const {
        std::ifstream in(bin_ + "/defaults/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string bin_, src_;
};

}  // namespace

TEST_F(DefaultDataTest, TheBuiltDataLoadsWithoutAComplaint) {
    for (const char* f : kFiles) fs::copy_file(bin_ + "/defaults/" + f, path(f));
    ui::Script script;
    Dfltinp();
    load_brand_pumps();
    verify_brand();
    load_locations();
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(read_compet(k));
    read_pumpa(g.brand_name, g.model_name);
    EXPECT_TRUE(script.shown().empty());

    // The example project: the first Florida city and the first brand's HX 520.
    EXPECT_EQ(g.company_name, "Dealer");
    EXPECT_EQ(g.brand_name + "|" + g.model_name, "Kestrolin|HX 520");
    EXPECT_EQ(g.city_name + "|" + g.sel_state, "Daytona Beach|FL");
    EXPECT_EQ(g.rate_elec, cy(0.152));
    EXPECT_FLOAT_EQ(g.month_city_c[1], 56.3f);
    EXPECT_EQ(g.city_count, 194);
    EXPECT_EQ(g.pump_count, 100);
    EXPECT_EQ(g.pump_tab[1].brand + "|" + g.pump_tab[2].brand + "|" + g.pump_tab[3].brand + "|" + g.pump_tab[4].brand,
              "Kestrolin|Tindraly|Morvenic|");
    EXPECT_EQ(vb::Trim(g.pump_tab[2].model[6]), "HX 730TX");
    EXPECT_EQ(g.hp_btu[2], 52000);  // the 80 F row of the HX 520
    EXPECT_FLOAT_EQ(g.hp_cop[2], 5.79f);
    for (int r = 1; r < 8; ++r) EXPECT_GT(g.hp_btu[r], g.hp_btu[r + 1]);
}

// The tool writes every shipped file afresh into its own folder; the
// dealer's files are never its output (the build creates them from these
// only where one is missing: build_keeps_data.cmake).
TEST_F(DefaultDataTest, TheToolWritesEveryShippedFileAfresh) {
    write("defaulte.dat", "company_name=Older defaults\n");
    write("location.dat", "older cities");
    ASSERT_EQ(mkdata(), 0);
    for (const char* f : kFiles) EXPECT_TRUE(exists(f)) << f;
    EXPECT_EQ(read("PumpHP.dat").size(), 100u * 1724);
    EXPECT_EQ(read("location.dat").size(), 194u * 228);
    EXPECT_EQ(read("defaulte.dat").rfind("company_name=Dealer\n", 0), 0u);
    EXPECT_EQ(read("defaulte.dat"), read_built("defaulte.dat"));
    EXPECT_FALSE(exists("locatio2.dat"));
}
