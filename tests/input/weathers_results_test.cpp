// The project input window, headless: cities, units, live results, the
// heat pump and the buttons to other windows.
#include "app/records.h"
#include "tests/input/weathers_fixture.h"

namespace {

using inputtest::cityOf;
using inputtest::money;
using Weathers = inputtest::Weathers;

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

// The project's city was deleted from the city file (or was not in the
// spreadsheet the cities were copied from): at the next start the project
// shows its group's first city, and the dealer is told which city went and
// which stands in its place.
TEST_F(Weathers, AProjectCityNoLongerInTheListIsSaidAndReplaced) {
    open();
    w->Option1(1)->setChecked(true);
    w->Combo1(9)->SetListIndex(3);
    const std::string gone = vb::Trim(cityOf(w->Combo1(9)->currentText())->city);
    const std::string state = g.sel_state;
    std::vector<CityRecord> kept;
    for (int i = 1; i <= g.city_count; ++i)
        if (vb::Trim(g.city_tab[i].city) != gone) kept.push_back(g.city_tab[i]);
    ASSERT_TRUE(records::writeCityFile(data.path() + "/", kept));
    // Leaving says "Do you want to leave?"; the cities read again while no
    // project window is open change nothing and say nothing; the next start
    // tells of the city.
    const auto restart_told = [this] {
        script->answer(ui::vbYes);
        ASSERT_TRUE(w->Unload());
        const std::string was = g.city_name;
        data.load_program_data();
        ASSERT_EQ(g.city_name, was);
        script->answer(ui::vbOK);
        open();
    };
    restart_told();
    const CityRecord* first = cityOf(w->Combo1(9)->itemText(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(g.city_name, vb::Trim(first->city));
    EXPECT_EQ(g.rate_elec, cy(first->elec_cost));
    ASSERT_EQ(shown("Weather city"), 1);
    EXPECT_EQ(script->shown().back().text,
              "The project's city " + gone + ", " + state + " is no longer in the weather city list.\r\n" +
                  g.city_name + ", " + g.sel_state + " is shown instead, with its weather, energy prices and wind.");

    // Offered no more (the dealer's city display shows Florida only): said
    // as such.
    w->Combo1(9)->SetListIndex(2);
    g.area_sel = 1;
    restart_told();
    EXPECT_EQ(g.area_group, 0);
    ASSERT_EQ(shown("Weather city", "is not among the cities offered."), 1);
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
        {0, "100", 1076.4, [] { return double(g.pool_area); }},                                  // m² -> ft²
        {1, "2", 6.5618, [] { return double(g.pool_depth); }},                                   // m -> ft
        {2, "16.1", 16.1 / 1.609347219, [] { return double(g.wind_mph); }},                      // km/h -> mph
        {6, "30", 86, [] { return double(g.temp_table[7][6]); }},                                // °C, every month
        {32, "100", 341214.2, [] { return g.heater_btu; }},                                      // kW -> BTU/h
        {34, "0.05", cy(0.05 * 29.299392).toDouble(), [] { return g.rate_natgas.toDouble(); }},  // per kWh
        {35, "1", 3.785, [] { return g.rate_propane.toDouble(); }},                              // per litre
    };
    for (const auto& [box, typed, us, stored] : cases) {
        w->Text1(box)->setText(typed);
        EXPECT_NEAR(stored(), us, 1e-4) << box;
    }
    EXPECT_EQ(w->Text1(25)->text(), "30.0");  // July follows the thermostat, with the field's decimal
    // The metric limit: 50,000 ft² are 4645.1 m².
    answerOk(1);
    w->Text1(0)->setText("4646");
    EXPECT_EQ(shown("Error", "Maximum value is 4645.1 m²"), 1);
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
    EXPECT_EQ(w->result_text(13, weathers::kHpCost),
              QString::fromStdString(vb::Format(g.tot_hp.toDouble(), "$##,##0")));
    EXPECT_FALSE(w->result_text(13, weathers::kHeaterCost).isEmpty());
    typeIn(w->Text1(6), "88");
    EXPECT_FLOAT_EQ(g.temp_table[1][6], 88);
    EXPECT_EQ(w->Text1(6)->text(), "88.0");  // in the field's decimals, as the months show it
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

    // Electric resistance: the greyed efficiency is the 100 % it is priced
    // at; a fuel heater shows its own again.
    w->Combo1(1)->SetListIndex(1);
    EXPECT_EQ(w->Text1(31)->text(), "100.0");
    w->Combo1(1)->SetListIndex(2);
    EXPECT_EQ(w->Text1(31)->text().toStdString(), fields::shown_text(31));
    EXPECT_NE(w->Text1(31)->text(), "100.0");

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
    EXPECT_EQ(shown(" Calc error", "too many heat pumps"), 1);
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
    ASSERT_LT(g.month_city_c[1], 45);  // too cold for the pump
    EXPECT_EQ(w->result_text(1, weathers::kWater), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kRunHours), "Off");
    EXPECT_EQ(w->result_text(1, weathers::kHpCost), "$0");
    EXPECT_TRUE(w->warning_text().contains("Off:"));
    EXPECT_FALSE(w->warning_text().contains("*"));

    // Backed up by the gas heater, its output not given: it covers the rest,
    // and its own cost (the saving's base) is shown beside its share.
    w->Check1(15)->setChecked(true);
    EXPECT_NE(w->result_text(1, weathers::kWater), "Off");
    EXPECT_TRUE(w->warning_text().contains("output not given")) << w->warning_text().toStdString();
    EXPECT_EQ(money(w->heater_alone_text()), std::round(g.tot_heater_alone.toDouble()));
    // The months it works in, as runs: the line stays short however many.
    EXPECT_EQ(w->backup_text().toStdString(), "gas heater, works in JAN-MAY OCT-DEC");
    EXPECT_GT(g.tot_heater_alone, g.tot_heater);
    // Water at 104 °F: the pumps stand in January, and the note says why.
    typeIn(w->Text1(6), "104");
    EXPECT_EQ(w->result_text(1, weathers::kRunHours), "Off");
    EXPECT_TRUE(w->warning_text().contains("Off: the gas heater alone heats the water"))
        << w->warning_text().toStdString();
    typeIn(w->Text1(6), "82");
    typeIn(w->Text1(32), "50000");
    EXPECT_FALSE(w->warning_text().contains("not given"));
    EXPECT_TRUE(w->result_text(1, weathers::kWater).endsWith(" *"));
    w->Check1(15)->setChecked(false);
    EXPECT_TRUE(w->heater_alone_text().isEmpty());

    // Hours per heating day, never above the heating hours; the average
    // C.O.P. whatever the price of electricity.
    typeIn(w->Text1(4), "2");
    typeIn(w->Text1(5), "8");
    for (int m = 1; m <= 12; ++m) {
        const QString h = w->result_text(m, weathers::kRunHours);
        if (h != "Off") {
            EXPECT_LE(h.toDouble(), 8.0) << m;
        }
    }
    EXPECT_TRUE(w->warning_text().contains("first heating day"));
    typeIn(w->Text1(33), "0");
    EXPECT_NE(w->cop_text(), "-");

    // Nothing to heat: no heat pump.
    for (int m = 1; m <= 12; ++m) w->Check1(m)->setChecked(false);
    EXPECT_EQ(w->units_text(), "none needed");
    EXPECT_TRUE(w->warning_text().contains("No heat pump is needed"));
    EXPECT_TRUE(script->shown().empty());

    // No existing heater: no column heading without its name.
    w->Combo1(1)->SetListIndex(0);
    for (const QLabel* l : w->findChildren<QLabel*>())
        EXPECT_FALSE(l->text().startsWith('\n')) << l->text().toStdString();
}

// A value the box cannot have blanks every result, the backup heater's
// months and its cost alone among them, until a valid value brings them back.
TEST_F(Weathers, ResultsBlankedForAnInvalidValueLeaveNothingStanding) {
    g.city_name = "Chicago";
    g.sel_state = "IL";
    g.area_group = 1;
    g.fuel_type = 3;
    g.backup_on = 1;
    open();
    const QString backup = w->backup_text(), alone = w->heater_alone_text();
    ASSERT_TRUE(backup.contains("works in")) << backup.toStdString();
    ASSERT_FALSE(alone.isEmpty());
    plat::TextBox* jan = w->Text1(19);  // January's water temperature, 40 .. 104 °F
    focus(jan);
    type(jan, "1");  // on the way to 100
    EXPECT_TRUE(w->result_text(13, weathers::kHpCost).isEmpty());
    EXPECT_EQ(w->backup_text().toStdString(), "");
    EXPECT_EQ(w->heater_alone_text().toStdString(), "");
    type(jan, "00");
    EXPECT_TRUE(w->backup_text().contains("works in"));
    EXPECT_FALSE(w->heater_alone_text().isEmpty());
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

    // A saved project whose model the brand no longer offers: the next start
    // says which model takes its place.
    g.model_name = "HX 999";
    script->answer(ui::vbOK);
    open();
    ASSERT_EQ(shown("Heat pump model"), 1);
    EXPECT_EQ(script->shown().back().text,
              "The project's heat pump model HX 999 is no longer offered.\r\nThe project now uses the " +
                  w->Combo1(8)->currentText().toStdString() + ".");
    EXPECT_EQ(g.model_name, w->Combo1(8)->currentText().toStdString());
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

}  // namespace
