// The chosen model, one rule for every user: its points after any reload,
// its series' models on offer, its price and selector buffer by the labels
// of the model-price and heater-settings windows.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/data.h"
#include "app/records.h"
#include "core/vbtext.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/data_dir.h"

namespace {

using namespace samples;
namespace fs = std::filesystem;

const char* const kNames[] = {"", "HX 310", "HX 520", "HX 730", "HX 310TX", "HX 520TX", "HX 730TX"};

// A brand group whose six models differ: output by size (small, medium,
// large) and series (TX 15 % more), the same C.O.P. rows for all.
PumpBrand brand_group(const std::string& brand, double scale) {
    static const float cop[8] = {6.06f, 5.79f, 5.35f, 5.00f, 4.60f, 4.20f, 3.70f, 3.20f};
    static const double row[8] = {1.0, 0.95, 0.88, 0.81, 0.73, 0.65, 0.60, 0.55};
    static const double size_btu[3] = {45000, 75000, 110000};
    PumpBrand p;
    p.brand = brand;
    for (int m = 1; m <= 6; ++m) {
        p.model[m] = kNames[m];
        p.in_list[m] = 1;
        const double top = size_btu[(m - 1) % 3] * (m > 3 ? 1.15 : 1.0) * scale;
        for (int r = 1; r <= 8; ++r) {
            const int pt = (m - 1) * 8 + r;
            p.rh[pt] = 80;
            p.water_temp[pt] = 80;
            p.cop[pt] = cop[r - 1];
            p.btu[pt] = top * row[r - 1];
        }
    }
    return p;
}

class ChosenModelTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        dir_.use();
        std::ofstream(dir_.file("PumpHP.dat"), std::ios::binary) << records::pack(brand_group("Kestrolin", 1.0)) +
                                                                        records::pack(brand_group("Tindraly", 1.3)) +
                                                                        records::pack(brand_group("Morvenic", 0.8));
        g.fuel_type = HT_GAS;
        g.heater_cost = cy(2500);
        g.model_price = {Currency{}, cy(5000), cy(4000), cy(3000)};  // rows: large, medium, small
    }
    testsupport::TempDataDir dir_{"heater-chosen"};
};

// Every result the windows and printouts show.
struct Results {
    arr<float, 100> table;
    arr<double, 12> need;
    arr<float, 12> cop;
    arr<i16, 12> backup;
    i16 units;
    Currency equip, hp, heater;
    std::string save;
    bool operator==(const Results&) const = default;
};
Results results() {
    return {g.calc_f32,   g.month_need, g.month_cop,  g.backup_month, g.combo_idx,
            g.equip_cost, g.tot_hp,     g.tot_heater, g.proj_save};
}

TEST_F(ChosenModelTest, AReloadNeverChangesAResult) {
    for (const char* model : {"HX 730", "HX 520", "HX 310TX", "HX 730TX"}) {
        SCOPED_TRACE(model);
        for (int backup : {0, 1}) {
            set_climate(backup ? kChicago : kOrlando);
            g.backup_on = static_cast<i16>(backup);
            g.heat_hours = 10;
            read_pumpa("Tindraly", model);
            ASSERT_TRUE(engine::calc_all());
            const Results before = results();
            ASSERT_GT(before.units, 0);
            // The model-price window and the comparison's reset reload the file.
            load_brand_pumps();
            ASSERT_TRUE(engine::calc_all());
            EXPECT_TRUE(results() == before) << "backup " << backup;
            load_brand_pumps();
            load_brand_pumps();
            ASSERT_TRUE(engine::calc_all());
            EXPECT_TRUE(results() == before) << "backup " << backup;
        }
    }
    EXPECT_EQ(g.pump_rec, 2);
}

// The models on offer are the chosen model's own series; points 1..8 are
// its own rating points.
TEST_F(ChosenModelTest, TheSeriesOnOfferFollowsTheChosenModel) {
    read_pumpa("Kestrolin", "hx 520 tx");
    EXPECT_EQ(g.model_txt1 + "|" + g.model_txt2 + "|" + g.model_txt3, "HX 310TX |HX 520TX |HX 730TX ");
    EXPECT_DOUBLE_EQ(g.hp_btu[1], 75000 * 1.15);
    EXPECT_EQ(chosen_model_text(), "HX 520TX");
    read_pumpa("Kestrolin", "HX 730");
    EXPECT_EQ(g.model_txt1 + "|" + g.model_txt2 + "|" + g.model_txt3, "HX 310 |HX 520 |HX 730 ");
    EXPECT_DOUBLE_EQ(g.hp_btu[1], 110000);
    load_brand_pumps();
    EXPECT_DOUBLE_EQ(g.hp_btu[1], 110000);

    // model_list_text's entry 2 names the model the units count.
    std::vector<std::string> words;
    std::string phrase, brand, c, b, a, note;
    read_pumpa("Kestrolin", "HX 310TX");
    model_list_text(words, phrase, brand, c, b, a, note);
    EXPECT_EQ(words[2], "HX 310TX ");
    EXPECT_EQ(c + "|" + b + "|" + a, "HX 730TX|HX 520TX|HX 310TX");
}

// The price typed beside a model's name (row 1 large .. row 3 small) is the
// one its equipment cost uses; the selector buffer of its size pushes the
// sizing, for an A and a TX model alike.
TEST_F(ChosenModelTest, PriceAndBufferByTheWindowsLabels) {
    const struct {
        const char* model;
        int size;  // 1 small .. 3 large
        Currency price;
    } table[] = {
        {"HX 310", 1, cy(3000)},
        {"HX 730", 3, cy(5000)},
        {"HX 520TX", 2, cy(4000)},
        {"HX 730TX", 3, cy(5000)},
    };
    for (const auto& r : table) {
        SCOPED_TRACE(r.model);
        g.sel_buffer = {};
        g.heat_hours = 8;
        read_pumpa("Kestrolin", r.model);
        const ChosenModel cm = chosen_model();
        EXPECT_EQ(cm.size, r.size);
        // The window labels row k with model_txt(4 - k).
        const std::string* label[4] = {nullptr, &g.model_txt3, &g.model_txt2, &g.model_txt1};
        EXPECT_EQ(vb::Trim(*label[cm.price_slot]), r.model);
        ASSERT_TRUE(engine::calc_all());
        const int units = g.combo_idx;
        EXPECT_EQ(g.equip_cost, r.price * units);

        for (int k = 1; k <= 3; ++k) {
            g.sel_buffer = {};
            g.sel_buffer[k] = 80000;
            ASSERT_TRUE(engine::calc_all());
            EXPECT_EQ(g.combo_idx > units, k == r.size) << "buffer row " << k;
        }
    }
}

}  // namespace
