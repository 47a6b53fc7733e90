// The record editor's box texts and the rewrites of location.dat, including
// a failure at every step of the replacement. The lists by region are
// checked through their window (city_windows_test).

#include "dealer/citydata.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

class CityFiles : public DataDir {};

TEST(CityEditorBoxes, ShowAndReadBack) {
    const CityRecord r = city("Ocala", "FL", 2);
    const citydata::Boxes b = citydata::to_boxes(r);
    EXPECT_EQ(b.humidity[0], "63.00");
    EXPECT_EQ(b.sun[11], "422.00");
    EXPECT_EQ(b.air[0], "51.20");
    EXPECT_EQ(b.cost[0], "0.2000");
    EXPECT_EQ(b.cost[4], "7.00");
    const CityRecord back = citydata::from_boxes(b, r.city);
    EXPECT_EQ(records::pack(back), records::pack(r));

    citydata::Boxes e = citydata::empty_boxes();
    e.humidity[0] = "1.2.3";  // two decimal points: the number at the start
    e.sun[0] = "";
    e.air[0] = "abc";
    e.cost[0] = ".5";
    e.state = "  florida ";
    CityRecord n = citydata::from_boxes(e, "Ocala");
    EXPECT_FLOAT_EQ(n.humidity[1], 1.2f);
    EXPECT_EQ(n.sun[1], 0);
    EXPECT_EQ(n.air_temp[1], 0);
    EXPECT_FLOAT_EQ(n.elec_cost, 0.5f);
    EXPECT_EQ(n.state, vb::FixLen("FL", 25));
    e.state = " Ontario ";
    EXPECT_EQ(citydata::from_boxes(e, "X").state, vb::FixLen("Ontario", 25));
}

// Erasing and replacing in place through the windows: city_windows_test.
TEST_F(CityFiles, AppendOnlyRightAfterTheLastRecord) {
    write_cities({city("Miami", "FL", 1), city("Ocala", "FL", 2)});
    ASSERT_TRUE(citydata::put(dir_, 3, city("Tyler", "TX", 5)));
    ASSERT_EQ(city_file().size(), 3u);
    EXPECT_EQ(label(city_file()[2]), "Tyler/TX");
    std::string why;
    EXPECT_FALSE(citydata::put(dir_, 5, city("X", "TX"), &why));
    EXPECT_FALSE(citydata::erase(dir_, 4, &why));
    EXPECT_FALSE(citydata::erase(dir_, 0, &why));
    EXPECT_EQ(city_file().size(), 3u);
    EXPECT_EQ(files(), (std::vector<std::string>{"location.dat"}));
}

TEST_F(CityFiles, LastCityEmptyFileDeleteAllAndStaleCopy) {
    // A copy an earlier run left behind, larger than the result: none of
    // its records may reach the new file.
    std::string stale;
    for (int i = 0; i < 400; ++i) stale += records::pack(city("Old", "XX", static_cast<float>(i)));
    write("locatio2.dat", stale);
    write_cities({city("Miami", "FL")});
    ASSERT_TRUE(citydata::erase(dir_, 1));
    EXPECT_TRUE(exists("location.dat"));
    EXPECT_EQ(read("location.dat").size(), 0u);
    EXPECT_FALSE(exists("locatio2.dat"));

    // Appending to an empty or missing file.
    ASSERT_TRUE(citydata::put(dir_, 1, city("Ocala", "FL")));
    EXPECT_EQ(city_file().size(), 1u);
    const std::string one = read("location.dat");
    ASSERT_TRUE(citydata::erase_all(dir_));
    EXPECT_FALSE(exists("location.dat"));
    EXPECT_EQ(read("location.bak"), one);
    EXPECT_TRUE(citydata::erase_all(dir_));  // nothing to delete is fine
    EXPECT_EQ(read("location.bak"), one);
    ASSERT_TRUE(citydata::put(dir_, 1, city("Waco", "TX")));
    EXPECT_EQ(label(city_file()[0]), "Waco/TX");
}

TEST_F(CityFiles, AFailureAtAnyStepKeepsTheOldFileByteForByte) {
    write_cities({city("Miami", "FL", 1), city("Ocala", "FL", 2), city("Waco", "TX", 3)});
    const std::string before = read("location.dat");
    // Two renames take part (the copy into place as locatio2.dat, then
    // locatio2.dat over location.dat): fail each in turn.
    for (rec::Step step : kAllSteps) {
        for (int nth = 1; nth <= (step == rec::Step::Rename ? 2 : 1); ++nth) {
            SCOPED_TRACE(static_cast<int>(step) * 10 + nth);
            for (int op = 0; op < 3; ++op) {
                FailStep fail(step, nth);
                std::string why;
                bool ok = op == 0   ? citydata::erase(dir_, 2, &why)
                          : op == 1 ? citydata::put(dir_, 1, city("X", "TX"), &why)
                                    : citydata::put(dir_, 4, city("Y", "TX"), &why);
                ASSERT_TRUE(fail.fired());
                EXPECT_FALSE(ok);
                EXPECT_FALSE(why.empty());
                EXPECT_EQ(read("location.dat"), before);
                EXPECT_EQ(files(), (std::vector<std::string>{"location.dat"}));
            }
        }
    }
    // And with the fault gone the same rewrite goes through.
    ASSERT_TRUE(citydata::erase(dir_, 2));
    EXPECT_EQ(city_file().size(), 2u);
}

}  // namespace
