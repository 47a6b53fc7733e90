// The project input window, headless: typing rules, limits, cities, units,
// live results, leaving and the last project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/numtext.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "data.h"
#include "input/fields.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "model.h"
#include "platform/testing.h"
#include "tests/support/data_dir.h"

namespace fs = std::filesystem;

namespace {

double money(const QString& text) { return vb::Val(remove_comma(text.toStdString())); }

// The record behind an entry of a city list.
CityRecord* cityOf(const QString& entry) {
    for (int i = 1; i <= g.city_count; ++i) {
        std::string e;
        city_entry(g.city_tab[i], e);
        if (QString::fromStdString(e) == entry) return &g.city_tab[i];
    }
    return nullptr;
}

class Weathers : public ::testing::Test {
protected:
    // A data folder of its own with the built default data.
    void SetUp() override {
        plat::ensureApp();
        script = std::make_unique<ui::Script>();
        dir = std::make_unique<testsupport::TempDataDir>("heater-input");
        ASSERT_TRUE(dir->copy_built({"location.dat", "PumpHP.dat"})) << dir->missing();
        set_defaults(g);
        dir->use();
        windows() = WindowRegistry{};
        register_input_windows();
        load_brand_pumps();
        load_locations();
    }
    void TearDown() override {
        delete w;
        windows() = WindowRegistry{};
        EXPECT_TRUE(script->unexpected().empty()) << "unexpected box: " << script->unexpected().front().title
                                                   << " / " << script->unexpected().front().text;
        script.reset();
        dir.reset();
    }

    // Opens a fresh window on what the model holds.
    void open() {
        delete w;
        w = new weathers();
        w->Show();
        ASSERT_TRUE(w->isLoaded());
    }
    // Leaves with Yes and starts again from the settings file, as the
    // program does at its next start.
    void restart() {
        script->answer(ui::vbYes);
        ASSERT_TRUE(w->Unload());
        set_defaults(g);
        dir->use();
        Dfltinp();
        load_brand_pumps();
        load_locations();
        open();
    }

    // The box gets the focus (by the Tab key unless told) / loses it.
    void focus(plat::TextBox* b, Qt::FocusReason why = Qt::TabFocusReason, QEvent::Type t = QEvent::FocusIn) {
        QFocusEvent e(t, why);
        QCoreApplication::sendEvent(b, &e);
    }
    void leave(plat::TextBox* b) { focus(b, Qt::TabFocusReason, QEvent::FocusOut); }
    // Keys as typed: digits, ".", "-", letters, "\b" Backspace, "\x1b" End.
    void type(plat::TextBox* b, const QString& keys) {
        for (QChar c : keys) {
            int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();  // digits, '.', '-'
            QString text(c);
            if (c == '\b') key = Qt::Key_Backspace;
            if (c == '\x1b') key = Qt::Key_End, text.clear();
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(b, &e);
        }
    }
    void typeIn(plat::TextBox* b, const QString& keys) {
        focus(b);
        type(b, keys);
        leave(b);
    }
    int boxes(const std::string& title, const std::string& text) const {
        int n = 0;
        for (const auto& s : script->shown())
            if (s.title == title && s.text.find(text) != std::string::npos) ++n;
        return n;
    }
    void answerOk(int n) {
        for (int k = 0; k < n; ++k) script->answer(ui::vbOK);
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<testsupport::TempDataDir> dir;
    weathers* w = nullptr;
};

// ---- typing rules ---------------------------------------------------------------------

TEST_F(Weathers, FirstKeyReplacesUnlessTheCursorWasPlaced) {
    open();
    plat::TextBox* area = w->Text1(0);
    EXPECT_EQ(area->text(), "450");
    focus(area, Qt::MouseFocusReason);  // a click selects nothing by itself
    type(area, "6");
    EXPECT_EQ(area->text(), "6");
    type(area, "00\b");  // later keys edit as usual
    EXPECT_EQ(area->text(), "60");
    EXPECT_FLOAT_EQ(g.pool_area, 60);
    leave(area);

    // Focus again: Backspace as the first key empties the box (0), which
    // shows "0" when it is left.
    focus(area, Qt::MouseFocusReason);
    type(area, "\b");
    EXPECT_EQ(area->text(), "");
    EXPECT_FLOAT_EQ(g.pool_area, 0);
    leave(area);
    EXPECT_EQ(area->text(), "0");

    // The dealer moves the cursor first (End, a click, a paste): the key
    // edits where the cursor is.
    area->SetText("450");
    focus(area);
    type(area, "\x1b" "0");
    EXPECT_EQ(area->text(), "4500");
    EXPECT_FLOAT_EQ(g.pool_area, 4500);
    EXPECT_TRUE(script->shown().empty());
}

TEST_F(Weathers, RefusedKeysAndPastesGiveTheNumbersOnlyWarning) {
    open();
    answerOk(6);
    plat::TextBox* depth = w->Text1(1);
    focus(depth);
    type(depth, "4.5x.-");  // a letter, a second point, a sign
    EXPECT_EQ(depth->text(), "4.5");
    EXPECT_FLOAT_EQ(g.pool_depth, 4.5f);
    EXPECT_EQ(boxes("Please", "Numbers only"), 3);
    EXPECT_EQ(script->sounds(), 3);
    // A refused first key does not use up the replacing key; the point
    // then replaces the old text, point and all.
    leave(depth);
    focus(depth);
    type(depth, "q.5");
    EXPECT_EQ(depth->text(), ".5");
    EXPECT_FLOAT_EQ(g.pool_depth, 0.5f);
    EXPECT_EQ(boxes("Please", "Numbers only"), 4);

    // Pasted text that is no number is refused and the last good text
    // comes back; money pasted with its signs is a number.
    plat::TextBox* wind = w->Text1(2);
    const QString before = wind->text();
    const float wind0 = g.wind_mph;
    for (const char* paste : {"seven", "1.2.3"}) {
        wind->setText(paste);
        EXPECT_EQ(wind->text(), before) << paste;
    }
    EXPECT_EQ(g.wind_mph, wind0);
    w->Text1(33)->setText("$0.25");
    EXPECT_EQ(g.rate_elec, cy(0.25));
    EXPECT_EQ(boxes("Please", "Numbers only"), 6);
}

// ---- limits -------------------------------------------------------------------------------

// Over its limit a box shows "Error" and becomes "0". Where 0 is no value
// (days, hours, temperatures, efficiency) nothing is stored and the results
// wait, with a note naming the box and its range; left so, the box says its
// least value and shows again the last valid one.
TEST_F(Weathers, OverTheLimitShowsErrorAndSetsZero) {
    g.fuel_type = 3;  // the efficiency box is in use
    open();
    struct Case {
        int box;
        const char* typed;
        const char* maxText;
        const char* minText;           // nullptr: 0 is a value of its own
        const char* note;              // the note while it is 0
        double kept;                   // the value stored meanwhile (last valid one typed)
        std::function<double()> stored;
    };
    const Case cases[] = {
        {0, "60000", "Maximum value is 50000 ft²", nullptr, nullptr, 0, [] { return double(g.pool_area); }},
        {1, "31", "Maximum value is 30 ft", nullptr, nullptr, 0, [] { return double(g.pool_depth); }},
        {3, "101", "Maximum value is 100 %", nullptr, nullptr, 0, [] { return double(g.sun_pct); }},
        {4, "8", "Maximum value is 7 days a week.", "Minimum value is 1 day a week.",
         "The heating days per week must be 1 to 7 days a week", 7, [] { return double(g.heat_days); }},
        {5, "25", "Maximum value is 24 hours a day.", "Minimum value is 1 hour a day.",
         "The heating hours per day must be 1 to 24 hours a day", 2, [] { return double(g.heat_hours); }},
        {19, "105", "Maximum value is 104 °F", "Minimum value is 40 °F",
         "The water temperature of JAN must be 40 to 104 °F", 82, [] { return double(g.temp_table[1][6]); }},
        {31, "801", "Maximum value is 100 %", "Minimum value is 1 %", "The heater efficiency must be 1 to 100 %", 80,
         [] { return double(g.heater_eff); }},
        {33, "6", "Maximum value is 5 $/kWh", nullptr, nullptr, 0, [] { return g.rate_elec.toDouble(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        plat::TextBox* b = w->Text1(c.box);
        script->clear();
        answerOk(c.minText ? 2 : 1);
        focus(b);
        type(b, c.typed);
        EXPECT_EQ(boxes("Error", c.maxText), 1);
        EXPECT_EQ(b->text(), "0");
        EXPECT_EQ(c.stored(), c.kept);
        if (c.note) {
            // No figures from a value the box cannot have.
            EXPECT_TRUE(w->result_text(13, weathers::kHpCost).isEmpty());
            EXPECT_TRUE(w->units_text().isEmpty());
            EXPECT_TRUE(w->warning_text().startsWith(c.note)) << w->warning_text().toStdString();
        } else {
            EXPECT_FALSE(w->result_text(13, weathers::kHpCost).isEmpty());
        }
        leave(b);
        if (c.minText) {
            EXPECT_EQ(boxes("Error", c.minText), 1);
            EXPECT_EQ(money(b->text()), c.kept);
            EXPECT_FALSE(w->result_text(13, weathers::kHpCost).isEmpty());
        }
        EXPECT_EQ(script->shown().size(), c.minText ? 2u : 1u);
    }
    // The 0 stands selected: the corrected value replaces it.
    script->clear();
    answerOk(1);
    plat::TextBox* area = w->Text1(0);
    focus(area);
    type(area, "600005");
    EXPECT_EQ(area->text(), "5");
    EXPECT_FLOAT_EQ(g.pool_area, 5);
}

// Typing "105" digit by digit into the thermostat: "1" and "10" are no
// values and "105" is over the limit; none of them is stored or spread to
// the months, and the results wait until "95" is typed over the 0.
TEST_F(Weathers, TypingThroughATooSmallValueChangesNothing) {
    g.fuel_type = 3;
    open();
    plat::TextBox* thermostat = w->Text1(6);
    auto months_left_alone = [this](const char* when) {
        for (int m = 1; m <= 12; ++m) {
            EXPECT_EQ(g.temp_table[m][6], 82.0f) << when << m;
            EXPECT_EQ(w->Text1(18 + m)->text(), QString("82.0")) << when << m;
        }
        EXPECT_TRUE(w->result_text(13, weathers::kSaving).isEmpty()) << when;
        EXPECT_TRUE(w->savings_text().isEmpty()) << when;
    };
    focus(thermostat);
    type(thermostat, "1");
    months_left_alone("1: ");
    type(thermostat, "0");
    months_left_alone("10: ");
    answerOk(1);
    type(thermostat, "5");
    EXPECT_EQ(boxes("Error", "Maximum value is 104"), 1);
    months_left_alone("105: ");
    type(thermostat, "95");
    EXPECT_EQ(thermostat->text(), "95");
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(g.temp_table[m][6], 95.0f) << m;
    EXPECT_FALSE(w->result_text(13, weathers::kSaving).isEmpty());
    leave(thermostat);
    EXPECT_EQ(script->shown().size(), 1u);
}

// The window came back with a box in focus without handing it the focus
// (a message box closed): the first key typed there replaces it all the same.
TEST_F(Weathers, FirstKeyReplacesAfterAMessageBox) {
    open();
    plat::TextBox* depth = w->Text1(1);
    plat::TextBox* wind = w->Text1(2);
    answerOk(1);
    focus(depth);
    type(depth, "x");                                  // the numbers-only warning
    leave(depth);
    focus(wind, Qt::ActiveWindowFocusReason);
    type(wind, "4");
    EXPECT_EQ(wind->text(), "4");
    type(wind, "2");
    EXPECT_EQ(wind->text(), "42");
}

TEST_F(Weathers, IndoorsNoWindAndNoSunUnlessTyped) {
    open();
    EXPECT_TRUE(w->Text1(2)->isEnabled());
    w->Option1(6)->setChecked(true);
    EXPECT_EQ(g.pool_site, "In");
    EXPECT_FALSE(w->Text1(2)->isEnabled());
    EXPECT_EQ(g.sun_pct, 0);
    EXPECT_EQ(w->Text1(3)->text(), QString("0.0"));
    typeIn(w->Text1(3), "20");
    w->Option1(5)->setChecked(true);
    EXPECT_TRUE(w->Text1(2)->isEnabled());
    EXPECT_EQ(g.sun_pct, 20);
    w->Option1(6)->setChecked(true);
    w->Option1(5)->setChecked(true);
    EXPECT_EQ(g.sun_pct, 75);
}

// Whatever the boxes accept, and whatever the settings file brings, the
// engine computes without a failure box.
TEST_F(Weathers, NoValueReachesTheEngineThatItCannotCompute) {
    // A settings file edited by hand: out of every limit.
    g.fuel_type = 9;
    g.heater_eff = 0;
    g.heat_days = 0;
    g.heat_hours = 99;
    g.pool_area = -5;
    g.desired_temp = 300;
    g.temp_table[2][6] = 10;
    g.month_hours_c[1][0] = 99;
    g.heater_btu = -100;
    open();
    EXPECT_EQ(g.fuel_type, 1);
    EXPECT_EQ(w->Combo1(1)->currentIndex(), 0);
    EXPECT_FLOAT_EQ(g.heater_eff, 1);
    EXPECT_EQ(g.heat_days, 1);
    EXPECT_EQ(g.heat_hours, 24);
    EXPECT_FLOAT_EQ(g.pool_area, 0);
    EXPECT_FLOAT_EQ(g.desired_temp, 104);
    EXPECT_FLOAT_EQ(g.temp_table[2][6], 40);
    EXPECT_EQ(g.month_hours_c[1][0], 24);
    EXPECT_EQ(w->Text1(7)->text(), "24");
    EXPECT_EQ(g.heater_btu, 0);

    w->Combo1(1)->SetListIndex(4);  // oil
    for (auto [box, text] : std::vector<std::pair<int, const char*>>{
             {0, "0"}, {1, "0"}, {2, "0"}, {3, "0"}, {4, "1"}, {5, "1"}, {6, "40"}, {31, "1"}, {32, "0"},
             {33, "0"}, {36, "0"}, {7, "24"}, {0, "50000"}, {1, "30"}, {2, "50"}, {3, "100"}, {4, "7"},
             {5, "24"}, {6, "104"}, {31, "100"}, {32, "5000000"}, {33, "5"}, {36, "50"}, {7, "0"}}) {
        w->Text1(box)->setText(text);
        EXPECT_FALSE(w->result_text(13, weathers::kHpCost).isEmpty()) << box << " " << text;
    }
    w->Option1(4)->setChecked(true);
    w->Option1(6)->setChecked(true);
    for (int m = 1; m <= 12; ++m) w->Check1(m)->setChecked(false);
    EXPECT_EQ(w->result_text(13, weathers::kHpCost), "$0");
    EXPECT_TRUE(script->shown().empty()) << script->shown().front().title << ": " << script->shown().front().text;
}

// ---- cover hours as the printouts write them ---------------------------------------------------

TEST_F(Weathers, CoverBoxesStoreWholeHoursAndStopAt24) {
    g.fuel_type = 3;
    open();
    for (auto [text, hours, shown] : std::vector<std::tuple<const char*, int, const char*>>{
             {"25", 24, "24"}, {"99999", 24, "24"}, {"10.5", 10, "10.5"}, {"9.5", 10, "9.5"}, {"8", 8, "8"},
             {"", 0, ""}}) {
        plat::TextBox* jan = w->Text1(7);
        jan->SetText(text);
        EXPECT_EQ(jan->text(), shown) << text;
        EXPECT_EQ(g.month_hours_c[1][0], hours) << text;
        EXPECT_EQ(g.month_hours_c[1][1], hours) << text;  // the settings' box copy
    }
    // December is box 18; the result follows the boxes.
    for (int i = 7; i <= 18; ++i) w->Text1(i)->SetText("0");
    const double uncovered = money(w->result_text(13, weathers::kHpCost));
    for (int i = 7; i <= 18; ++i) w->Text1(i)->SetText("16");
    EXPECT_EQ(g.month_hours_c[12][0], 16);
    EXPECT_GT(uncovered, 0);
    EXPECT_LT(money(w->result_text(13, weathers::kHpCost)), uncovered);
    EXPECT_TRUE(script->shown().empty());  // no message for cover hours
}

// ---- cities -----------------------------------------------------------------------------------

TEST_F(Weathers, ChoosingACityCopiesItsPricesWindAndMonths) {
    open();
    w->Option1(1)->setChecked(true);  // "US Other"
    EXPECT_EQ(g.area_group, 1);
    EXPECT_TRUE(w->Combo1(9)->isVisibleTo(w));
    EXPECT_FALSE(w->Combo1(7)->isVisibleTo(w));
    ASSERT_GT(w->Combo1(9)->count(), 3);
    w->Combo1(9)->SetListIndex(3);
    const CityRecord* rec = cityOf(w->Combo1(9)->currentText());
    ASSERT_NE(rec, nullptr);
    auto expectCity = [&] {
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
    };
    expectCity();
    EXPECT_EQ(w->result_text(1, weathers::kAir), QString::fromStdString(vb::Format(rec->air_temp[1], "##0.0")));

    // The dealer may change prices and wind afterwards; picking the same
    // city again takes the city's back.
    w->Text1(33)->setText("0.3");
    w->Text1(2)->setText("3");
    EXPECT_EQ(g.rate_elec, cy(0.3));
    EXPECT_EQ(g.city_name, vb::Trim(rec->city));
    emit w->Combo1(9)->activated(3);
    expectCity();
    EXPECT_EQ(w->Text1(33)->text(), QString::fromStdString(vb::Format(rec->elec_cost, "0.00##")));

    // A record whose wind is no number (an imported sheet) gives no wind.
    cityOf(w->Combo1(9)->itemText(4))->wind = std::nanf("");
    w->Combo1(9)->SetListIndex(4);
    EXPECT_EQ(g.wind_mph, 0);
    EXPECT_TRUE(script->shown().empty());
}

// The city list window changed the project's city behind the input window
// (it saves city_name and sel_state and ends the program): the project
// computes with that city's months, its own prices stay.
TEST_F(Weathers, AProjectCityChangedElsewhereBringsItsWeather) {
    open();
    w->Option1(1)->setChecked(true);
    w->Combo1(9)->SetListIndex(2);
    const CityRecord* other = cityOf(w->Combo1(9)->itemText(5));
    ASSERT_NE(other, nullptr);
    w->Text1(33)->setText("0.2222");
    g.city_name = vb::Trim(other->city);
    g.sel_state = vb::Trim(other->state);
    restart();
    EXPECT_EQ(w->Combo1(9)->currentIndex(), 5);
    EXPECT_EQ(g.rate_elec, cy(0.2222));
    for (int m = 1; m <= 12; ++m) EXPECT_FLOAT_EQ(g.month_city_c[m], other->air_temp[m]) << m;
    EXPECT_EQ(w->result_text(7, weathers::kAir), QString::fromStdString(vb::Format(other->air_temp[7], "##0.0")));
}

TEST_F(Weathers, AreaSelAndPresetCityChooseTheOfferedCity) {
    g.area_sel = 3;  // non-US cities only
    open();
    EXPECT_FALSE(w->Option1(0)->isEnabled());
    EXPECT_FALSE(w->Option1(1)->isEnabled());
    EXPECT_TRUE(w->Option1(2)->isEnabled());
    EXPECT_EQ(g.area_group, 2);
    // The project had no city of that group: the group's first city.
    ASSERT_GT(w->Combo1(10)->count(), 1);
    EXPECT_EQ(w->Combo1(10)->currentIndex(), 0);
    EXPECT_TRUE(w->Combo1(10)->currentText().endsWith(QString::fromStdString(g.city_name)));

    // A city the editor added is chosen when the lists load at activation.
    const CityRecord* second = cityOf(w->Combo1(10)->itemText(1));
    ASSERT_NE(second, nullptr);
    g.preset_city = vb::LCase(vb::Trim(second->city));
    g.cities_changed = 1;
    w->Form_Activate();
    EXPECT_EQ(g.cities_changed, 0);
    EXPECT_EQ(g.city_name, vb::Trim(second->city));
    EXPECT_FLOAT_EQ(g.wind_mph, second->wind);
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
    EXPECT_EQ(w->Text1(0)->text(), "41.8");  // 450 ft²
    const std::vector<std::tuple<int, const char*, double, std::function<double()>>> cases = {
        {0, "100", 1076.4, [] { return double(g.pool_area); }},                   // m² -> ft²
        {1, "2", 6.5618, [] { return double(g.pool_depth); }},                    // m -> ft
        {2, "16.1", 16.1 / 1.609347219, [] { return double(g.wind_mph); }},       // km/h -> mph
        {6, "30", 86, [] { return double(g.temp_table[7][6]); }},                 // °C, every month
        {32, "100", 341214.2, [] { return g.heater_btu; }},                       // kW -> BTU/h
        {34, "0.05", cy(0.05 * 29.299392).toDouble(), [] { return g.rate_natgas.toDouble(); }},  // per kWh
        {35, "1", 3.785, [] { return g.rate_propane.toDouble(); }},               // per litre
    };
    for (const auto& [box, typed, us, stored] : cases) {
        w->Text1(box)->setText(typed);
        EXPECT_NEAR(stored(), us, 1e-4) << box;
    }
    EXPECT_EQ(w->Text1(25)->text(), "30.0");  // July follows the thermostat, with the field's decimal
    // The metric limit: 50,000 ft² are 4645.1 m².
    answerOk(1);
    w->Text1(0)->setText("4646");
    EXPECT_EQ(boxes("Error", "Maximum value is 4645.1 m²"), 1);
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
    const double jan = money(w->result_text(1, weathers::kHpCost));
    const double year = money(w->result_text(13, weathers::kHpCost));
    EXPECT_GT(year, 0);
    EXPECT_EQ(w->result_text(13, weathers::kHpCost), QString::fromStdString(vb::Format(g.tot_hp.toDouble(), "$##,##0")));
    EXPECT_FALSE(w->result_text(13, weathers::kHeaterCost).isEmpty());
    typeIn(w->Text1(6), "88");
    EXPECT_FLOAT_EQ(g.temp_table[1][6], 88);
    EXPECT_GT(money(w->result_text(1, weathers::kHpCost)), jan);
    EXPECT_GT(money(w->result_text(13, weathers::kHpCost)), year);

    // A month that is not heated costs nothing.
    w->Check1(1)->setChecked(false);
    EXPECT_EQ(g.run_state[1][0], 0);
    EXPECT_EQ(w->result_text(1, weathers::kRunHours), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kHpCost), "$0");

    // A spa has no floor returns.
    w->Check1(14)->setChecked(true);
    w->Option1(4)->setChecked(true);
    EXPECT_EQ(g.pool_type, "Spa");
    EXPECT_EQ(g.opt_reduce, 0);
    EXPECT_FALSE(w->Check1(14)->isEnabled());

    // No existing heater: no heater or saving columns, no backup.
    w->Check1(15)->setChecked(true);
    w->Combo1(1)->SetListIndex(0);
    EXPECT_EQ(g.fuel_type, 1);
    EXPECT_EQ(g.backup_on, 0);
    EXPECT_TRUE(w->result_text(2, weathers::kHeaterCost).isEmpty());
    EXPECT_TRUE(w->result_text(13, weathers::kSaving).isEmpty());

    // Typing never stops at the engine's "too many heat pumps"; the
    // Calculate button lets it speak.
    w->Text1(5)->setText("1");
    w->Text1(0)->setText("50000");
    EXPECT_TRUE(script->shown().empty());
    script->answer(ui::vbOK);
    w->SSCommand1(0)->DoClick();
    EXPECT_EQ(boxes(" Calc error", "too many heat pumps"), 1);
    w->Text1(0)->setText("450");
    EXPECT_EQ(g.calc_mode2, 0);
    EXPECT_EQ(script->shown().size(), 1u);
}

// Chicago: what the grid and the notes say of months off, a backup heater
// and its output, hours per heating day and nothing to heat.
TEST_F(Weathers, ResultsSayWhatTheSystemDoes) {
    g.city_name = "Chicago";
    g.sel_state = "IL";
    g.area_group = 1;
    g.fuel_type = 3;
    open();
    ASSERT_LT(g.month_city_c[1], 45);   // too cold for the pump
    EXPECT_EQ(w->result_text(1, weathers::kWater), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kRunHours), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kHpCost), "$0");
    EXPECT_TRUE(w->warning_text().contains("Off:"));
    EXPECT_FALSE(w->warning_text().contains("*"));

    // Backed up by the gas heater, its output not given: it covers the rest,
    // and its own cost (the saving's base) is shown beside its share.
    w->Check1(15)->setChecked(true);
    EXPECT_NE(w->result_text(1, weathers::kWater), "Off");
    EXPECT_TRUE(w->backup_text().contains("output not given")) << w->backup_text().toStdString();
    EXPECT_EQ(money(w->result_text(13, weathers::kHeaterAlone)), std::round(g.tot_heater_alone.toDouble()));
    EXPECT_GT(money(w->result_text(1, weathers::kHeaterAlone)), 0);
    typeIn(w->Text1(32), "50000");
    EXPECT_FALSE(w->backup_text().contains("not given"));
    EXPECT_TRUE(w->result_text(1, weathers::kWater).endsWith(" *"));
    w->Check1(15)->setChecked(false);
    EXPECT_TRUE(w->result_text(1, weathers::kHeaterAlone).isEmpty());

    // Hours per heating day, never above the heating hours; the average
    // C.O.P. whatever the price of electricity.
    typeIn(w->Text1(4), "2");
    typeIn(w->Text1(5), "8");
    for (int m = 1; m <= 12; ++m) {
        const QString h = w->result_text(m, weathers::kRunHours);
        if (h != "Off") EXPECT_LE(h.toDouble(), 8.0) << m;
    }
    EXPECT_TRUE(w->warning_text().contains("first heating day"));
    typeIn(w->Text1(33), "0");
    EXPECT_NE(w->cop_text(), "-");

    // Nothing to heat: no heat pump.
    for (int m = 1; m <= 12; ++m) w->Check1(m)->setChecked(false);
    EXPECT_EQ(w->units_text(), "none needed");
    EXPECT_TRUE(w->warning_text().contains("No heat pump is needed"));
    EXPECT_TRUE(script->shown().empty());
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
    EXPECT_EQ(w->Combo1(8)->currentText(), "HX 520");  // the same model of the new brand
}

// The buttons, with stand-in windows for the print and finance windows.
TEST_F(Weathers, ButtonsHandOverToTheirWindows) {
    g.no_prices = 1;
    open();
    // Windows that do not exist yet: their buttons are unavailable; no
    // prices: no price buttons.
    EXPECT_FALSE(w->SSCommand1(11)->isEnabled());
    EXPECT_FALSE(w->SSCommand1(1)->isEnabled());
    EXPECT_FALSE(w->SSCommand1(8)->isVisibleTo(w));
    EXPECT_FALSE(w->SSCommand1(10)->isVisibleTo(w));

    plat::Form prt("Prt2");
    plat::Form fin("lease");
    windows().Prt2 = [&prt] { return &prt; };
    windows().lease = [&fin] { return &fin; };
    g.no_prices = 0;
    w->Form_Activate();
    ASSERT_TRUE(w->SSCommand1(11)->isEnabled());
    fs::remove(g.data_dir + "defaulte.dat");
    w->SSCommand1(11)->DoClick();
    EXPECT_TRUE(fs::exists(g.data_dir + "defaulte.dat"));  // the last project was written
    EXPECT_FALSE(w->Enabled());
    EXPECT_FALSE(w->SSCommand1(11)->isEnabled());
    EXPECT_NEAR(prt.Left(), 5000, plat::kTwipsPerPixel);
    EXPECT_NEAR(prt.Top(), 2000, plat::kTwipsPerPixel);
    w->SetEnabled(true);

    w->SSCommand1(10)->DoClick();
    EXPECT_NEAR(fin.Width(), 5625, plat::kTwipsPerPixel);
    delete w;
    w = nullptr;
    windows().Prt2 = nullptr;
    windows().lease = nullptr;
}

// ---- leaving and the last project -----------------------------------------------------------------

// A dealer's session in metric units, left with Yes: at the next start
// every box, choice and typed price or wind comes back.
TEST_F(Weathers, TheLastProjectSurvivesARestart) {
    g.units_len = 1;
    g.units_temp = 1;
    g.units_heat = 1;
    g.fuel_units[3] = 1;  // propane per litre
    open();
    w->Option1(2)->setChecked(true);  // a city outside the US
    w->Combo1(10)->SetListIndex(1);
    w->Combo1(8)->SelectText("HX 730");
    w->Option1(4)->setChecked(true);  // spa
    w->Check1(13)->setChecked(true);
    w->Combo1(1)->SetListIndex(3);  // propane
    w->Check1(15)->setChecked(true);
    w->Check1(7)->setChecked(false);
    for (auto [box, keys] : std::vector<std::pair<int, const char*>>{
             {0, "4.5"}, {1, "1.2"}, {2, "4.2"}, {4, "5"}, {5, "12"}, {6, "38"}, {20, "36.5"}, {31, "78"},
             {32, "44.5"}, {33, "0.1789"}, {35, "0.90"}, {7, "10.5"}, {12, "14"}})
        typeIn(w->Text1(box), keys);
    const std::string city = g.city_name;
    const QString cityEntry = w->Combo1(10)->currentText();
    std::map<int, QString> texts;
    for (int i = 0; i <= 36; ++i)
        if (w->Text1(i)) texts[i] = w->Text1(i)->text();
    const QString year = w->result_text(13, weathers::kSaving);

    // "No" keeps the window; "Yes" saves.
    script->answer(ui::vbNo);
    EXPECT_FALSE(w->Unload());
    EXPECT_EQ(boxes("Heater", "Do you want to leave?"), 1);
    restart();

    EXPECT_EQ(g.city_name, city);
    EXPECT_EQ(w->Combo1(10)->currentText(), cityEntry);
    EXPECT_TRUE(w->Option1(2)->isChecked());
    EXPECT_EQ(w->Combo1(8)->currentText(), "HX 730");
    EXPECT_TRUE(w->Option1(4)->isChecked());
    EXPECT_TRUE(w->Check1(13)->isChecked());
    EXPECT_TRUE(w->Check1(15)->isChecked());
    EXPECT_FALSE(w->Check1(7)->isChecked());
    EXPECT_EQ(w->Combo1(1)->currentIndex(), 3);
    EXPECT_EQ(g.rate_elec, cy(0.1789));
    EXPECT_EQ(g.rate_propane, cy(0.9 * 3.785));
    EXPECT_EQ(g.month_hours_c[1][0], 10);
    // Every box shows the value typed, in its field's decimals and grouped
    // in thousands ("1.2" m comes back as "1.20").
    for (const auto& [i, t] : texts) {
        if (i == 7) {
            EXPECT_EQ(w->Text1(i)->text(), "10");  // whole hours come back
            continue;
        }
        double typed = 0, shown = 0;
        ASSERT_TRUE(numtext::clean_number(t.toStdString(), typed)) << i;
        ASSERT_TRUE(numtext::clean_number(w->Text1(i)->text().toStdString(), shown)) << i;
        EXPECT_NEAR(shown, typed, 1e-9) << "Text1(" << i << ") " << w->Text1(i)->text().toStdString();
        if (const fields::Field* f = fields::field(i)) {
            const std::string text = w->Text1(i)->text().toStdString();
            const std::size_t dot = text.find('.');
            const int shownDecimals = dot == std::string::npos ? 0 : int(text.size() - dot - 1);
            if (f->kind != fields::Kind::PriceElec && f->kind != fields::Kind::PriceFuel)
                EXPECT_EQ(shownDecimals, fields::decimals(*f)) << "Text1(" << i << ") " << text;
        }
    }
    EXPECT_EQ(w->Text1(32)->text(), "44.50");  // kW with its two decimals
    EXPECT_EQ(w->result_text(13, weathers::kSaving), year);
}

TEST_F(Weathers, TheProgramsOneWindow) {
    weathers* a = frm_weathers();
    EXPECT_EQ(frm_weathers(), a);
    EXPECT_EQ(existing_weathers(), a);
    // Its controls exist before it is loaded, and using them loads nothing.
    a->Text1(7)->SetText("8");
    EXPECT_EQ(g.month_hours_c[1][0], 8);
    EXPECT_EQ(a->Text1(64), nullptr);
    EXPECT_FALSE(a->isLoaded());
    delete a;
    EXPECT_EQ(existing_weathers(), nullptr);
}

}  // namespace
