// The project input window, headless: typing rules, limits, cities, units,
// live results, leaving and the last project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/forms.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "data.h"
#include "input/weathers.h"
#include "model.h"
#include "platform/testing.h"

namespace fs = std::filesystem;

namespace {

// A data folder of its own with copies of the built default data.
class DataFolder {
public:
    DataFolder() {
        const char* bin = std::getenv("HEATER_BIN_DIR");
        src_ = bin ? fs::path(bin) : fs::current_path() / ".." / "bin";
        dir_ = fs::temp_directory_path() / ("heater-input-" + std::to_string(::getpid()) + "-" +
                                            std::to_string(counter_++));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const char* f : {"location.dat", "PumpHP.dat", "PumpHP1.dat", "PumpHP2.dat", "PumpHP3.dat",
                              "defaulte.dat"})
            if (fs::exists(src_ / f)) fs::copy_file(src_ / f, dir_ / f);
    }
    ~DataFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path() const { return dir_.string() + "/"; }
    bool complete() const { return fs::exists(dir_ / "location.dat") && fs::exists(dir_ / "PumpHP.dat"); }

private:
    static inline int counter_ = 0;
    fs::path src_, dir_;
};

double moneyValue(const QString& text) {
    return vb::Val(remove_comma(text.toStdString()));
}

class Weathers : public ::testing::Test {
protected:
    void SetUp() override {
        plat::ensureApp();
        script = std::make_unique<ui::Script>();
        data = std::make_unique<DataFolder>();
        ASSERT_TRUE(data->complete()) << "the built default data is missing (HEATER_BIN_DIR)";
        set_defaults(g);
        g.data_dir = data->path();
        g.sound_off = 0;
        load_brand_pumps();
        load_locations();
    }
    void TearDown() override {
        delete w;
        w = nullptr;
        EXPECT_TRUE(script->unexpected().empty()) << "unexpected box: " << script->unexpected().front().title
                                                   << " / " << script->unexpected().front().text;
        script.reset();
        data.reset();
    }

    // Opens a fresh window on what the model holds.
    void open() {
        delete w;
        w = new weathers();
        w->Show();
        ASSERT_TRUE(w->isLoaded());
    }

    // The box gets the focus as by the Tab key.
    void focus(plat::TextBox* b) {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(b, &in);
    }
    void leave(plat::TextBox* b) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(b, &out);
    }
    // Keys as typed: digits, ".", letters, "\b" for Backspace.
    void type(plat::TextBox* b, const QString& keys) {
        for (QChar c : keys) {
            int key = Qt::Key_unknown;
            QString text(c);
            if (c == '\b') key = Qt::Key_Backspace;
            else if (c == '.') key = Qt::Key_Period;
            else if (c.isDigit()) key = Qt::Key_0 + c.digitValue();
            else if (c.isLetter()) key = Qt::Key_A + (c.toUpper().unicode() - 'A');
            else if (c == '-') key = Qt::Key_Minus;
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(b, &e);
        }
    }
    int boxes(const std::string& title, const std::string& text) const {
        int n = 0;
        for (const auto& s : script->shown())
            if (s.title == title && s.text.find(text) != std::string::npos) ++n;
        return n;
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<DataFolder> data;
    weathers* w = nullptr;
};

// ---- typing rules ---------------------------------------------------------------------

TEST_F(Weathers, FirstKeyReplacesTheBoxAndTypingStores) {
    open();
    plat::TextBox* area = w->Text1(0);
    EXPECT_EQ(area->text(), "450");
    focus(area);
    type(area, "6");
    EXPECT_EQ(area->text(), "6");
    type(area, "00");
    EXPECT_EQ(area->text(), "600");
    EXPECT_FLOAT_EQ(g.pool_area, 600);
    // Later keys edit as usual; Backspace too.
    type(area, "\b");
    EXPECT_EQ(area->text(), "60");
    EXPECT_FLOAT_EQ(g.pool_area, 60);
    // Focus again: the next key replaces again, Backspace included.
    leave(area);
    focus(area);
    type(area, "\b");
    EXPECT_EQ(area->text(), "");
    EXPECT_FLOAT_EQ(g.pool_area, 0);  // an empty box stores 0
    leave(area);
    EXPECT_EQ(area->text(), "0");
    EXPECT_TRUE(script->shown().empty());
}

TEST_F(Weathers, RefusedKeysGiveTheNumbersOnlyWarning) {
    open();
    for (int k = 0; k < 4; ++k) script->answer(ui::vbOK);  // the boxes this test expects
    plat::TextBox* depth = w->Text1(1);
    focus(depth);
    type(depth, "4.5");
    EXPECT_EQ(depth->text(), "4.5");
    type(depth, "x");
    EXPECT_EQ(depth->text(), "4.5");
    EXPECT_EQ(boxes("Please", "Numbers only"), 1);
    EXPECT_EQ(script->sounds(), 1);
    type(depth, ".");  // a second decimal point
    EXPECT_EQ(depth->text(), "4.5");
    EXPECT_EQ(boxes("Please", "Numbers only"), 2);
    type(depth, "-");
    EXPECT_EQ(boxes("Please", "Numbers only"), 3);
    EXPECT_FLOAT_EQ(g.pool_depth, 4.5f);

    // A refused first key does not use up the replacing key.
    leave(depth);
    focus(depth);
    type(depth, "q");
    EXPECT_EQ(depth->text(), "4.5");
    type(depth, ".5");  // the point replaces the old text, point and all
    EXPECT_EQ(depth->text(), ".5");
    EXPECT_FLOAT_EQ(g.pool_depth, 0.5f);
    EXPECT_EQ(boxes("Please", "Numbers only"), 4);

    // With the sound switched off the warning is silent, the key still dropped.
    g.sound_off = 1;
    type(depth, "z");
    EXPECT_EQ(depth->text(), ".5");
    EXPECT_EQ(boxes("Please", "Numbers only"), 4);
}

TEST_F(Weathers, PastedTextThatIsNoNumberIsRefused) {
    open();
    for (int k = 0; k < 2; ++k) script->answer(ui::vbOK);  // the boxes this test expects
    plat::TextBox* wind = w->Text1(2);
    const QString before = wind->text();
    const float stored = g.wind_mph;
    wind->setText("seven");  // as a paste would
    EXPECT_EQ(wind->text(), before);
    EXPECT_FLOAT_EQ(g.wind_mph, stored);
    EXPECT_EQ(boxes("Please", "Numbers only"), 1);
    wind->setText("1.2.3");
    EXPECT_EQ(wind->text(), before);
    // Money pasted with its signs is a number.
    w->Text1(33)->setText("$0.25");
    EXPECT_EQ(g.rate_elec, cy(0.25));
    EXPECT_EQ(boxes("Please", "Numbers only"), 2);
}

// ---- limits -------------------------------------------------------------------------------

TEST_F(Weathers, OverTheLimitShowsErrorAndSetsZero) {
    open();
    for (int k = 0; k < 3; ++k) script->answer(ui::vbOK);  // the boxes this test expects
    plat::TextBox* area = w->Text1(0);
    focus(area);
    type(area, "60000");
    EXPECT_EQ(boxes("Error", "Maximum value is 50000"), 1);
    EXPECT_EQ(area->text(), "0");
    EXPECT_FLOAT_EQ(g.pool_area, 0);
    // The engine copes with nothing to heat.
    EXPECT_EQ(w->result_text(13, weathers::kHpCost), "$0");

    w->Text1(3)->setText("101");  // sun %
    EXPECT_EQ(boxes("Error", "Maximum value is 100"), 1);
    EXPECT_FLOAT_EQ(g.sun_pct, 0);
    w->Text1(1)->setText("31");  // depth
    EXPECT_EQ(boxes("Error", "Maximum value is 30"), 1);
    w->Text1(2)->setText("50");  // wind at its limit is accepted
    EXPECT_FLOAT_EQ(g.wind_mph, 50);
    EXPECT_EQ(script->shown().size(), 3u);
}

TEST_F(Weathers, BoxesWithALeastValueNeverHandTheEngineLess) {
    open();
    for (int k = 0; k < 5; ++k) script->answer(ui::vbOK);  // the boxes this test expects
    plat::TextBox* hours = w->Text1(5);
    focus(hours);
    type(hours, "30");
    EXPECT_EQ(boxes("Error", "Maximum value is 24"), 1);
    EXPECT_EQ(hours->text(), "0");
    EXPECT_EQ(g.heat_hours, 1);  // the engine gets the least value while the box shows 0
    leave(hours);
    EXPECT_EQ(boxes("Error", "Minimum value is 1"), 1);
    EXPECT_EQ(hours->text(), "1");
    EXPECT_EQ(g.heat_hours, 1);

    plat::TextBox* days = w->Text1(4);
    days->setText("5");
    EXPECT_EQ(g.heat_days, 5);
    days->setText("8");
    EXPECT_EQ(boxes("Error", "Maximum value is 7"), 1);
    EXPECT_EQ(g.heat_days, 1);

    // Desired temperature 40..104 °F: typing "3" on the way to "30"...
    plat::TextBox* jan = w->Text1(19);
    focus(jan);
    type(jan, "3");
    EXPECT_FLOAT_EQ(g.temp_table[1][6], 40);
    leave(jan);
    EXPECT_EQ(boxes("Error", "Minimum value is 40"), 1);
    EXPECT_EQ(jan->text(), "40");
    jan->setText("105");
    EXPECT_EQ(boxes("Error", "Maximum value is 104"), 1);
    EXPECT_FLOAT_EQ(g.temp_table[1][6], 40);

    // Efficiency 1..100 %: 0 never reaches the engine.
    g.fuel_type = 3;
    open();
    w->Text1(31)->setText("0");
    EXPECT_FLOAT_EQ(g.heater_eff, 1);
    w->Text1(31)->setText("85");
    EXPECT_FLOAT_EQ(g.heater_eff, 85);
}

// Whatever the boxes accept, the engine computes without a failure box.
TEST_F(Weathers, EveryAcceptedValueIsOneTheEngineCanCompute) {
    g.fuel_type = 5;
    open();
    for (auto [box, text] : std::vector<std::pair<int, const char*>>{
             {0, "0"}, {1, "0"}, {2, "0"}, {3, "0"}, {4, "1"}, {5, "1"}, {6, "40"}, {31, "1"}, {32, "0"},
             {33, "0"}, {34, "0"}, {35, "0"}, {36, "0"}, {7, "24"}}) {
        w->Text1(box)->setText(text);
        EXPECT_FALSE(w->result_text(13, weathers::kHpCost).contains("nan", Qt::CaseInsensitive)) << box;
    }
    for (auto [box, text] : std::vector<std::pair<int, const char*>>{
             {0, "50000"}, {1, "30"}, {2, "50"}, {3, "100"}, {4, "7"}, {5, "24"}, {6, "104"}, {31, "100"},
             {32, "5000000"}, {33, "5"}, {36, "50"}, {7, "0"}, {4, "2"}, {5, "3"}}) {
        w->Text1(box)->setText(text);
        EXPECT_FALSE(w->result_text(1, weathers::kHpCost).isEmpty()) << box;
    }
    w->Option1(4)->setChecked(true);
    w->Option1(6)->setChecked(true);
    for (int m = 1; m <= 12; ++m) w->Check1(m)->setChecked(false);
    EXPECT_EQ(w->result_text(13, weathers::kHpCost), "$0");
    EXPECT_TRUE(script->shown().empty()) << script->shown().front().title << ": " << script->shown().front().text;
}

// ---- cover hours as the printouts write them ---------------------------------------------------

TEST_F(Weathers, CoverBoxesStoreWholeHoursAndStopAt24) {
    open();
    plat::TextBox* jan = w->Text1(7);
    jan->SetText("25");
    EXPECT_EQ(jan->text(), "24");
    EXPECT_EQ(g.month_hours_c[1][0], 24);
    EXPECT_EQ(g.month_hours_c[1][1], 24);
    w->Text1(8)->SetText("10.5");  // halves to even
    EXPECT_EQ(g.month_hours_c[2][0], 10);
    EXPECT_EQ(w->Text1(8)->text(), "10.5");
    w->Text1(9)->SetText("9.5");
    EXPECT_EQ(g.month_hours_c[3][0], 10);
    w->Text1(18)->SetText("8");
    EXPECT_EQ(g.month_hours_c[12][0], 8);
    w->Text1(18)->SetText("");
    EXPECT_EQ(g.month_hours_c[12][0], 0);
    w->Text1(10)->SetText("99999");
    EXPECT_EQ(w->Text1(10)->text(), "24");
    EXPECT_TRUE(script->shown().empty());  // no message for cover hours
}

TEST_F(Weathers, CoverHoursChangeTheResult) {
    g.fuel_type = 3;
    open();
    for (int i = 7; i <= 18; ++i) w->Text1(i)->SetText("0");
    const double open0 = moneyValue(w->result_text(13, weathers::kHpCost));
    for (int i = 7; i <= 18; ++i) w->Text1(i)->SetText("16");
    const double covered = moneyValue(w->result_text(13, weathers::kHpCost));
    EXPECT_GT(open0, 0);
    EXPECT_LT(covered, open0);
    EXPECT_EQ(w->result_text(13, weathers::kHpCost), QString::fromStdString(vb::Format(g.tot_hp.toDouble(), "$##,##0")));
}

// ---- cities -----------------------------------------------------------------------------------

TEST_F(Weathers, ChoosingACityCopiesItsPricesWindAndMonths) {
    open();
    ASSERT_GT(w->Combo1(9)->count(), 3);
    w->Option1(1)->setChecked(true);  // "US Other"
    EXPECT_EQ(g.area_group, 1);
    EXPECT_TRUE(w->Combo1(9)->isVisibleTo(w));
    EXPECT_FALSE(w->Combo1(7)->isVisibleTo(w));
    w->Combo1(9)->SetListIndex(3);
    // Find the record behind the entry.
    const std::string entry = w->Combo1(9)->currentText().toStdString();
    const CityRecord* rec = nullptr;
    for (int i = 1; i <= g.city_count; ++i) {
        std::string e;
        if (city_entry(g.city_tab[i], e) == 1 && e == entry) rec = &g.city_tab[i];
    }
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(g.city_name, vb::Trim(rec->city));
    EXPECT_EQ(g.sel_state, vb::Trim(rec->state));
    EXPECT_EQ(g.rate_elec, cy(rec->elec_cost));
    EXPECT_EQ(g.rate_natgas, cy(rec->gas_cost));
    EXPECT_EQ(g.rate_propane, cy(rec->propane_cost));
    EXPECT_EQ(g.rate_oil, cy(rec->oil_cost));
    EXPECT_FLOAT_EQ(g.wind_mph, rec->wind);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_FLOAT_EQ(g.month_city_a[m], rec->humidity[m]);
        EXPECT_FLOAT_EQ(g.month_city_b[m], rec->sun[m]);
        EXPECT_FLOAT_EQ(g.month_city_c[m], rec->air_temp[m]);
    }
    // Shown on the window, and the user may change them afterwards.
    EXPECT_EQ(w->Text1(2)->text(), QString::fromStdString(vb::Format(rec->wind, "0.0")).remove(QRegularExpression("\\.0$")));
    EXPECT_EQ(w->result_text(1, weathers::kAir), QString::fromStdString(vb::Format(rec->air_temp[1], "##0.0")));
    w->Text1(33)->setText("0.3");
    EXPECT_EQ(g.rate_elec, cy(0.3));
    EXPECT_EQ(g.city_name, vb::Trim(rec->city));
}

TEST_F(Weathers, AreaSelOffersOneGroupOnly) {
    g.area_sel = 3;  // non-US cities only
    open();
    EXPECT_FALSE(w->Option1(0)->isEnabled());
    EXPECT_FALSE(w->Option1(1)->isEnabled());
    EXPECT_TRUE(w->Option1(2)->isEnabled());
    EXPECT_EQ(g.area_group, 2);
    ASSERT_GT(w->Combo1(10)->count(), 0);
    // The project had no city of that group: the group's first city.
    EXPECT_EQ(w->Combo1(10)->currentIndex(), 0);
    EXPECT_NE(g.city_name, "");
    EXPECT_TRUE(w->Combo1(10)->currentText().endsWith(QString::fromStdString(g.city_name)));
}

TEST_F(Weathers, PresetCityIsChosenWhenTheListsLoad) {
    open();
    const std::string name = vb::Trim(g.city_tab[5].city);
    g.preset_city = vb::LCase(name);
    g.cities_changed = 1;
    w->Form_Activate();
    EXPECT_EQ(g.cities_changed, 0);
    EXPECT_EQ(g.city_name, name);
    EXPECT_EQ(g.wind_mph, g.city_tab[5].wind);
    EXPECT_TRUE(g.preset_city.empty());
}

// ---- units ------------------------------------------------------------------------------------

TEST_F(Weathers, MetricValuesAreStoredInUsUnits) {
    g.units_len = 1;
    g.units_temp = 1;
    g.units_heat = 1;
    g.fuel_type = 3;
    g.fuel_units[1] = 2;  // gas per kWh
    g.fuel_units[3] = 1;  // propane per litre
    open();
    for (int k = 0; k < 1; ++k) script->answer(ui::vbOK);  // the boxes this test expects
    EXPECT_EQ(w->Text1(0)->text(), "41.8");  // 450 ft²
    w->Text1(0)->setText("100");
    EXPECT_NEAR(g.pool_area, 1076.4, 1e-3);
    w->Text1(1)->setText("2");
    EXPECT_NEAR(g.pool_depth, 6.5618, 1e-4);
    w->Text1(2)->setText("16.1");
    EXPECT_NEAR(g.wind_mph, 16.1 / 1.609347219, 1e-4);
    w->Text1(6)->setText("30");  // °C, every month
    EXPECT_NEAR(g.desired_temp, 86, 1e-4);
    EXPECT_NEAR(g.temp_table[7][6], 86, 1e-4);
    EXPECT_EQ(w->Text1(25)->text(), "30");
    w->Text1(32)->setText("100");  // kW
    EXPECT_NEAR(g.heater_btu, 341214.2, 1e-6);
    w->Text1(34)->setText("0.05");  // per kWh of gas
    EXPECT_EQ(g.rate_natgas, cy(0.05 * 29.299392));
    w->Text1(35)->setText("1");  // per litre of propane
    EXPECT_EQ(g.rate_propane, cy(3.785));
    // The metric limit: 50,000 ft² are 4645.1 m².
    w->Text1(0)->setText("4646");
    EXPECT_EQ(boxes("Error", "Maximum value is 4645.1"), 1);

    // Another price unit shows the same stored price per that unit.
    w->Combo1(11)->SetListIndex(0);  // per therm
    EXPECT_EQ(g.fuel_units[1], 0);
    EXPECT_EQ(w->Text1(34)->text(), "1.465");
    EXPECT_EQ(g.rate_natgas, cy(1.465));
}

// ---- live results ------------------------------------------------------------------------------

TEST_F(Weathers, ResultsFollowEveryChange) {
    g.fuel_type = 3;
    open();
    const double jan = moneyValue(w->result_text(1, weathers::kHpCost));
    const double year = moneyValue(w->result_text(13, weathers::kHpCost));
    EXPECT_GT(year, 0);
    EXPECT_FALSE(w->result_text(13, weathers::kHeaterCost).isEmpty());
    plat::TextBox* temp = w->Text1(6);
    focus(temp);
    type(temp, "88");
    EXPECT_FLOAT_EQ(g.temp_table[1][6], 88);
    EXPECT_GT(moneyValue(w->result_text(1, weathers::kHpCost)), jan);
    EXPECT_GT(moneyValue(w->result_text(13, weathers::kHpCost)), year);

    // A month that is not heated costs nothing.
    w->Check1(1)->setChecked(false);
    EXPECT_EQ(g.run_state[1][0], 0);
    EXPECT_EQ(w->result_text(1, weathers::kRunHours), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kHpCost), "$0");

    // No existing heater: no heater or saving columns.
    w->Combo1(1)->SetListIndex(0);
    EXPECT_EQ(g.fuel_type, 1);
    EXPECT_TRUE(w->result_text(2, weathers::kHeaterCost).isEmpty());
    EXPECT_TRUE(w->result_text(13, weathers::kSaving).isEmpty());
    EXPECT_FALSE(w->Text1(31)->isEnabled());
    EXPECT_FALSE(w->Check1(15)->isEnabled());
    EXPECT_FALSE(w->units_text().isEmpty());
}

// Typing never stops at the engine's "too many heat pumps"; the Calculate
// button lets it speak.
TEST_F(Weathers, CalculateReportsWhatTypingDoesNot) {
    open();
    w->Text1(5)->setText("1");
    w->Text1(0)->setText("50000");
    EXPECT_TRUE(script->shown().empty());
    script->answer(ui::vbOK);
    w->SSCommand1(0)->DoClick();
    EXPECT_EQ(g.calc_mode2, 2);
    EXPECT_EQ(boxes(" Calc error", "too many heat pumps"), 1);
    w->Text1(0)->setText("450");
    EXPECT_EQ(g.calc_mode2, 0);
    EXPECT_EQ(script->shown().size(), 1u);
}

TEST_F(Weathers, PoolOrSpaSwitchesItsOwnOptions) {
    open();
    w->Check1(14)->setChecked(true);  // floor returns
    EXPECT_EQ(g.opt_reduce, 1);
    w->Option1(4)->setChecked(true);  // spa
    EXPECT_EQ(g.pool_type, "Spa");
    EXPECT_EQ(g.opt_reduce, 0);
    EXPECT_FALSE(w->Check1(14)->isEnabled());
    EXPECT_TRUE(w->Check1(13)->isEnabled());
    w->Check1(13)->setChecked(true);
    EXPECT_EQ(g.spa_blower, 1);
    w->Option1(3)->setChecked(true);
    EXPECT_EQ(g.pool_type, "Pool");
    EXPECT_EQ(g.spa_blower, 0);
    w->Option1(6)->setChecked(true);
    EXPECT_EQ(g.pool_site, "In");
    w->Option1(5)->setChecked(true);
    EXPECT_EQ(g.pool_site, "out");
}

TEST_F(Weathers, BrandAndModel) {
    open();
    EXPECT_EQ(w->Text1(65)->text(), "Kestrolin");
    ASSERT_GE(w->Combo1(8)->count(), 3);
    w->Combo1(8)->SelectText("HX 520");
    EXPECT_EQ(g.model_name, "HX 520");
    const PumpBrand& r = g.pump_tab[g.pump_rec];
    int slot = 0;
    for (int k = 1; k <= 9; ++k)
        if (vb::Trim(r.model[k]) == "HX 520") slot = k;
    ASSERT_GT(slot, 0);
    EXPECT_EQ(g.hp_btu[1], r.btu[(slot - 1) * 8 + 1]);  // the model's points are points 1..8
    EXPECT_TRUE(w->units_text().endsWith("HX 520"));

    // The brand window puts another brand word into the brand box.
    w->Text1(65)->SetText("Tindraly");
    EXPECT_EQ(g.brand_name, "Tindraly");
    EXPECT_EQ(vb::Trim(g.pump_tab[g.pump_rec].brand), "Tindraly");
    EXPECT_EQ(w->Combo1(8)->currentText(), "HX 520");  // the same model of the new brand
    save_last_data();
    EXPECT_EQ(g.model_name, "HX 520");
}

TEST_F(Weathers, PriceButtonsFollowNoPricesAndTheirWindows) {
    g.no_prices = 1;
    open();
    EXPECT_FALSE(w->SSCommand1(8)->isVisibleTo(w));
    EXPECT_FALSE(w->SSCommand1(10)->isVisibleTo(w));
    EXPECT_TRUE(w->SSCommand1(11)->isVisibleTo(w));
    // Windows that do not exist yet: their buttons are unavailable.
    EXPECT_FALSE(w->SSCommand1(11)->isEnabled());
    EXPECT_FALSE(w->SSCommand1(1)->isEnabled());
    EXPECT_TRUE(w->SSCommand1(0)->isEnabled());
}

// The Print and Finance buttons with stand-in windows.
TEST_F(Weathers, PrintHandsOverToThePrintWindow) {
    plat::Form prt("Prt2");
    plat::Form fin("lease");
    windows().Prt2 = [&prt] { return &prt; };
    windows().lease = [&fin] { return &fin; };
    open();
    ASSERT_TRUE(w->SSCommand1(11)->isEnabled());
    w->Text1(7)->SetText("6");
    fs::remove(g.data_dir + "defaulte.dat");
    w->SSCommand1(11)->DoClick();
    EXPECT_TRUE(fs::exists(g.data_dir + "defaulte.dat"));  // the settings were written
    EXPECT_EQ(g.month_hours_c[1][1], 6);                   // the box copy was taken
    EXPECT_FALSE(w->Enabled());
    EXPECT_FALSE(w->SSCommand1(11)->isEnabled());
    EXPECT_TRUE(prt.isLoaded());
    EXPECT_NEAR(prt.Left(), 5000, plat::kTwipsPerPixel);  // to the pixel
    EXPECT_NEAR(prt.Top(), 2000, plat::kTwipsPerPixel);
    w->SetEnabled(true);

    w->SSCommand1(10)->DoClick();
    EXPECT_TRUE(fin.isLoaded());
    EXPECT_NEAR(fin.Left(), 2170, plat::kTwipsPerPixel);
    EXPECT_NEAR(fin.Top(), 950, plat::kTwipsPerPixel);
    EXPECT_NEAR(fin.Width(), 5625, plat::kTwipsPerPixel);
    EXPECT_NEAR(fin.Height(), 5385, plat::kTwipsPerPixel);
    delete w;
    w = nullptr;
    windows().Prt2 = nullptr;
    windows().lease = nullptr;
}

// ---- leaving and the last project -----------------------------------------------------------------

TEST_F(Weathers, LeavingAsksAndSavesOnYes) {
    open();
    script->answer(ui::vbNo);
    EXPECT_FALSE(w->Unload());
    EXPECT_TRUE(w->isLoaded());
    EXPECT_EQ(boxes("Heater", "Do you want to leave?"), 1);

    w->Text1(0)->setText("777");
    fs::remove(g.data_dir + "defaulte.dat");
    script->answer(ui::vbYes);
    EXPECT_TRUE(w->Unload());
    EXPECT_FALSE(w->isLoaded());
    ASSERT_TRUE(fs::exists(g.data_dir + "defaulte.dat"));
    set_defaults(g);
    g.data_dir = data->path();
    Dfltinp();
    EXPECT_FLOAT_EQ(g.pool_area, 777);
}

TEST_F(Weathers, TheLastProjectSurvivesARestart) {
    g.fuel_type = 4;
    open();
    w->Option1(1)->setChecked(true);
    w->Combo1(9)->SetListIndex(7);
    w->Combo1(8)->SelectText("HX 730");
    w->Option1(4)->setChecked(true);  // spa
    w->Check1(13)->setChecked(true);
    w->Text1(0)->setText("96");
    w->Text1(1)->setText("3.5");
    w->Text1(2)->setText("4.2");      // the user's wind, not the city's
    w->Text1(33)->setText("0.1789");  // the user's price
    w->Text1(35)->setText("2.99");
    w->Text1(4)->setText("5");
    w->Text1(5)->setText("12");
    w->Text1(6)->setText("100");
    w->Text1(20)->setText("98");
    w->Text1(31)->setText("78");
    w->Text1(32)->setText("150000");
    w->Check1(15)->setChecked(true);
    w->Check1(7)->setChecked(false);
    w->Text1(7)->SetText("10.5");
    w->Text1(12)->SetText("14");
    const std::string city = g.city_name;
    const QString cityEntry = w->Combo1(9)->currentText();
    std::map<int, QString> texts;
    for (int i = 0; i <= 36; ++i)
        if (w->Text1(i)) texts[i] = w->Text1(i)->text();

    script->answer(ui::vbYes);
    ASSERT_TRUE(w->Unload());
    delete w;
    w = nullptr;

    set_defaults(g);
    g.data_dir = data->path();
    Dfltinp();
    load_brand_pumps();
    open();
    EXPECT_EQ(g.city_name, city);
    EXPECT_EQ(w->Combo1(9)->currentText(), cityEntry);
    EXPECT_TRUE(w->Option1(1)->isChecked());
    EXPECT_EQ(w->Combo1(8)->currentText(), "HX 730");
    EXPECT_EQ(g.model_name, "HX 730");
    EXPECT_TRUE(w->Option1(4)->isChecked());
    EXPECT_TRUE(w->Check1(13)->isChecked());
    EXPECT_TRUE(w->Check1(15)->isChecked());
    EXPECT_FALSE(w->Check1(7)->isChecked());
    EXPECT_EQ(w->Combo1(1)->currentIndex(), 3);  // propane
    EXPECT_EQ(g.rate_elec, cy(0.1789));
    EXPECT_FLOAT_EQ(g.wind_mph, 4.2f);
    EXPECT_EQ(g.month_hours_c[1][0], 10);
    for (const auto& [i, t] : texts) {
        if (i == 7) EXPECT_EQ(w->Text1(i)->text(), "10") << i;  // whole hours come back
        else EXPECT_EQ(w->Text1(i)->text(), t) << "Text1(" << i << ")";
    }
}

TEST_F(Weathers, TheProgramsOneWindow) {
    weathers* a = frm_weathers();
    EXPECT_EQ(frm_weathers(), a);
    EXPECT_EQ(existing_weathers(), a);
    // Its controls exist before it is loaded, and using them loads nothing.
    EXPECT_NE(a->Text1(65), nullptr);
    EXPECT_EQ(a->Text1(64), nullptr);
    EXPECT_FALSE(a->isLoaded());
    a->SSCommand1(11)->setEnabled(true);
    EXPECT_FALSE(a->isLoaded());
    delete a;
    EXPECT_EQ(existing_weathers(), nullptr);
}

}  // namespace
