// The project input window, headless: typing rules, limits, cover hours,
// leaving and the last project.
#include "tests/input/weathers_fixture.h"

#include "engine/engine.h"

namespace {

using inputtest::cityOf;
using inputtest::money;
using Weathers = inputtest::Weathers;

// ---- typing rules ---------------------------------------------------------------------

// The boxes follow the numeric box's typing rules (tested with the box in
// the platform layer): what is typed is stored at once, a refused key or
// paste gives the program's numbers-only warning and stores nothing.
TEST_F(Weathers, TypingStoresAndRefusalsWarn) {
    open();
    plat::TextBox* area = w->Text1(0);
    EXPECT_EQ(area->text(), "450");
    focus(area, QEvent::FocusIn, Qt::MouseFocusReason);
    type(area, "600\b");  // the first key replaces the text
    EXPECT_EQ(area->text(), "60");
    EXPECT_FLOAT_EQ(g.pool_area, 60);
    leave(area);
    plat::TextBox* depth = w->Text1(1);
    focus(depth);
    type(depth, "\b");  // an empty box stands for 0 and says so when left
    EXPECT_FLOAT_EQ(g.pool_depth, 0);
    leave(depth);
    EXPECT_EQ(depth->text(), "0.0");
    EXPECT_TRUE(script->shown().empty());

    answerOk(2);
    plat::TextBox* wind = w->Text1(2);
    const QString before = wind->text();
    const float wind0 = g.wind_mph;
    focus(wind);
    type(wind, "x");
    wind->setText("seven");
    EXPECT_EQ(wind->text(), before);
    EXPECT_EQ(g.wind_mph, wind0);
    EXPECT_EQ(shown("Please", "Numbers only"), 2);
    EXPECT_EQ(script->sounds(), 2);
    w->Text1(33)->setText("$0.25");  // money pasted with its signs is a number
    EXPECT_EQ(g.rate_elec, cy(0.25));
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
        const char* minText;  // nullptr: 0 is a value of its own
        const char* note;     // the note while it is 0
        double kept;          // the value stored meanwhile (last valid one typed)
        std::function<double()> stored;
    };
    const Case cases[] = {
        {0, "60000", "Maximum value is 50000 ft²", "Minimum value is 1 ft²", "The surface area must be 1 to 50000 ft²",
         6000, [] { return double(g.pool_area); }},
        {1, "31", "Maximum value is 30 ft", nullptr, nullptr, 0, [] { return double(g.pool_depth); }},
        {2, "51", "Maximum value is 50 mph", nullptr, nullptr, 0, [] { return double(g.wind_mph); }},
        {3, "101", "Maximum value is 100 %", nullptr, nullptr, 0, [] { return double(g.sun_pct); }},
        {4, "8", "Maximum value is 7 days a week.", "Minimum value is 1 day a week.",
         "The heating days per week must be 1 to 7 days a week", 7, [] { return double(g.heat_days); }},
        {5, "25", "Maximum value is 24 hours a day.", "Minimum value is 1 hour a day.",
         "The heating hours per day must be 1 to 24 hours a day", 2, [] { return double(g.heat_hours); }},
        {6, "105", "Maximum value is 104 °F", "Minimum value is 40 °F", "The water temperature must be 40 to 104 °F",
         82, [] { return double(g.desired_temp); }},
        {19, "105", "Maximum value is 104 °F", "Minimum value is 40 °F",
         "The water temperature of JAN must be 40 to 104 °F", 82, [] { return double(g.temp_table[1][6]); }},
        {31, "801", "Maximum value is 100 %", "Minimum value is 1 %", "The heater efficiency must be 1 to 100 %", 80,
         [] { return double(g.heater_eff); }},
        {32, "5000001", "Maximum value is 5000000 BTU/h", nullptr, nullptr, 0, [] { return g.heater_btu; }},
        {33, "6", "Maximum value is 5 $/kWh", nullptr, nullptr, 0, [] { return g.rate_elec.toDouble(); }},
        {34, "51", "Maximum value is 50 $/Therm", nullptr, nullptr, 0, [] { return g.rate_natgas.toDouble(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        plat::TextBox* b = w->Text1(c.box);
        script->clear();
        answerOk(c.minText ? 2 : 1);
        focus(b);
        type(b, c.typed);
        EXPECT_EQ(shown("Error", c.maxText), 1);
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
            EXPECT_EQ(shown("Error", c.minText), 1);
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
    // A click into the focused box puts the cursor before the 0: the keys
    // replace the 0 all the same. While the message is open no figures stand.
    QString during = "figures";
    ui::Backend reading;
    reading.msgBox = [&](const std::string&, int, const std::string&) {
        during = w->units_text() + w->result_text(13, weathers::kHpCost);
        return int(ui::vbOK);
    };
    const ui::Backend before = ui::install(reading);
    type(area, "00000");
    ui::install(before);
    EXPECT_TRUE(during.isEmpty()) << during.toStdString();
    area->setCursorPosition(0);
    type(area, "12");
    EXPECT_EQ(area->text(), "12");
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
    EXPECT_EQ(shown("Error", "Maximum value is 104"), 1);
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
    type(depth, "x");  // the numbers-only warning
    leave(depth);
    focus(wind, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    type(wind, "4");
    EXPECT_EQ(wind->text(), "4");
    type(wind, "2");
    EXPECT_EQ(wind->text(), "42");
    leave(wind);
    // End before the first key changes nothing: 5.0 and 4 is 4, never 45.0
    // (over the 30 ft limit).
    typeIn(depth, "5");
    leave(depth);
    focus(depth);
    type(depth, ">4");
    leave(depth);
    EXPECT_EQ(g.pool_depth, 4);
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
    EXPECT_FLOAT_EQ(g.pool_area, 1);
    EXPECT_FLOAT_EQ(g.desired_temp, 104);
    EXPECT_FLOAT_EQ(g.temp_table[2][6], 40);
    EXPECT_EQ(g.month_hours_c[1][0], 24);
    EXPECT_EQ(w->Text1(7)->text(), "24");
    EXPECT_EQ(g.heater_btu, 0);

    w->Combo1(1)->SetListIndex(4);  // oil
    for (auto [box, text] : std::vector<std::pair<int, const char*>>{
             {0, "1"},  {1, "0"},  {2, "0"},   {3, "0"},    {4, "1"},        {5, "1"},  {6, "40"},  {31, "1"},
             {32, "0"}, {33, "0"}, {36, "0"},  {7, "24"},   {0, "50000"},    {1, "30"}, {2, "50"},  {3, "100"},
             {4, "7"},  {5, "24"}, {6, "104"}, {31, "100"}, {32, "5000000"}, {33, "5"}, {36, "50"}, {7, "0"}}) {
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
    answerOk(2);
    for (auto [text, hours, shown] : std::vector<std::tuple<const char*, int, const char*>>{{"25", 24, "24"},
                                                                                            {"99999", 24, "24"},
                                                                                            {"10.5", 10, "10.5"},
                                                                                            {"9.5", 10, "9.5"},
                                                                                            {"8", 8, "8"},
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
    // Set to the limit and said so, as every limit is.
    EXPECT_EQ(shown("Error", "Maximum value is 24 hours a day."), 2);
    EXPECT_EQ(script->shown().size(), 2u);
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
    for (auto [box, keys] : std::vector<std::pair<int, const char*>>{{0, "4.5"},
                                                                     {1, "1.2"},
                                                                     {2, "4.2"},
                                                                     {4, "5"},
                                                                     {5, "12"},
                                                                     {6, "38"},
                                                                     {20, "36.5"},
                                                                     {31, "78"},
                                                                     {32, "44.5"},
                                                                     {33, "0.1789"},
                                                                     {35, "0.90"},
                                                                     {7, "10.5"},
                                                                     {12, "14"}})
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
    EXPECT_EQ(shown("Heater", "Do you want to leave?"), 1);
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
            if (f->kind != fields::Kind::PriceElec && f->kind != fields::Kind::PriceFuel) {
                EXPECT_EQ(shownDecimals, fields::decimals(*f)) << "Text1(" << i << ") " << text;
            }
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

    // Gone, it is no longer what the data files and the engine show on.
    open();
    g.brand_name = "Tindraly";
    delete w;
    w = nullptr;
    load_locations();
    run_calc();
    EXPECT_EQ(windows().brand_box_text(), "Tindraly");
}

}  // namespace
