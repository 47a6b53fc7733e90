// The project input window `weathers`: the window a heat-pump dealer fills in
// in front of the customer. Every input is stored into the data model `g` as
// it is typed (in US units) and the project is recalculated at once; the
// results grid shows month by month what the heat pumps do and cost against
// the existing heater.
//
// Control arrays and their indices (fixed ones are used by other windows:
// Text1(7..18), Text1(65), Combo1(8..10), SSCommand1(8), (10), (11)):
//
//   Text1(0)        surface area            ft² / m²        pool_area
//   Text1(1)        average depth           ft / m          pool_depth
//   Text1(2)        wind                    mph / km/h      wind_mph
//   Text1(3)        sun exposure            %               sun_pct
//   Text1(4)        heating days per week   1..7            heat_days
//   Text1(5)        heating hours per day   1..24           heat_hours
//   Text1(6)        thermostat, all months  °F / °C         desired_temp and temp_table(1..12, 6)
//   Text1(7..18)    cover hours per day, January .. December   month_hours_c(m, 0) and (m, 1)
//   Text1(19..30)   desired water temperature, January .. December   temp_table(m, 6)
//   Text1(31)       existing heater efficiency   %          heater_eff
//   Text1(32)       existing heater output   BTU/h / kW     heater_btu
//   Text1(33)       electricity price        $/kWh          rate_elec
//   Text1(34)       natural gas price        per fuel_units(1)   rate_natgas ($/therm)
//   Text1(35)       propane price            per fuel_units(3)   rate_propane ($/US gal)
//   Text1(36)       oil price                per fuel_units(2)   rate_oil ($/US gal)
//   Text1(65)       brand box (read-only: the brand word of the proposal)
//
//   Combo1(1)       existing heater: None, Electric, Natural gas, Propane, Oil -> fuel_type 1..5
//   Combo1(7)       Florida cities
//   Combo1(8)       heat-pump model list (models "in list" of the brand's record)
//   Combo1(9)       other US cities ("ST  City")
//   Combo1(10)      cities outside the US ("Country_  City")
//   Combo1(11)      natural-gas price unit   -> fuel_units(1)
//   Combo1(12)      oil price unit           -> fuel_units(2)
//   Combo1(13)      propane price unit       -> fuel_units(3)
//
//   Check1(1..12)   heating month, January .. December    run_state(m, 0)
//   Check1(13)      spa blower (spas only)                 spa_blower
//   Check1(14)      floor returns / reverse flow (pools only)   opt_reduce
//   Check1(15)      existing heater as backup              backup_on
//
//   Option1(0..2)   city group Florida, "US Other", "Non US"   area_group 0..2
//   Option1(3), (4) pool, spa                              pool_type "Pool" / "Spa"
//   Option1(5), (6) outdoor, indoor                        pool_site "out" / "In"
//
//   SSCommand1(0)   "Calculate"      SSCommand1(1)  "Customer"
//   SSCommand1(2)   "Calculator"     SSCommand1(3)  "Exit"
//   SSCommand1(8)   "HP Price"       SSCommand1(10) "Finance"
//   SSCommand1(11)  "Print"
//
// The numeric boxes are plat::NumBox: digits, Backspace, Delete and one
// decimal point, the numbers-only warning for anything else, the first key
// after the focus replaces the text, a pasted text that is no number gives
// the last good text back. Their limits, units and decimals are the field
// table of input/fields.h. A value over its limit gives "Maximum value is ..." titled
// "Error" and the box becomes "0" (selected: the next key replaces it).
// Cover hours over 24 say so and become 24. Boxes whose smallest sensible
// value is above 0 (surface area, days, hours,
// temperatures, efficiency) hand the engine that smallest value while they
// show less, and say so when they are left. Values that come from the
// settings file are brought into the same limits before they are shown.
#pragma once

#include <QString>

#include <array>
#include <map>
#include <set>
#include <vector>

#include "input/cities.h"
#include "platform/form.h"

class QLabel;
class QPlainTextEdit;
class QGroupBox;

class weathers : public plat::Form {
public:
    weathers();
    ~weathers() override;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;

    // The controls by index (built on first use without loading the window;
    // nullptr for an index the window does not have).
    plat::TextBox* Text1(int i);
    plat::ComboBox* Combo1(int i);
    plat::CheckBox* Check1(int i);
    plat::OptionButton* Option1(int i);
    plat::CommandButton* SSCommand1(int i);

    // Handlers.
    void Text1_Change(int i);
    void Text1_LostFocus(int i);
    void Combo1_Click(int i);
    void Check1_Click(int i);
    void Option1_Click(int i);
    void SSCommand1_Click(int i);

    // The display the engine and the printouts reach through the window
    // registry (register_input_windows).
    void clear_results();
    void show_backup();
    void show_ambient();
    void show_results();

    // Stores nothing; runs the engine on what the model holds and redraws.
    // The quick one follows every change; `explicit_calc` (the Calculate
    // button) lets the engine report a system that needs too many pumps.
    void quick_calc();
    void full_calc(bool explicit_calc);

    // The brand box's text, or the project's brand while it is empty.
    std::string brand_box_text();
    // Fills the three city lists from city_tab (load_locations calls it).
    void fill_city_lists();
    // Fills the model list Combo1(8) with the offered models of the brand
    // shown in the brand box.
    void fill_cmb8();
    // Shows every input from the model in the chosen units.
    void show_inputs();

    // Results grid, for tests and the benchmark: the text of a cell. Rows
    // 1..12 are the months, 13 the year's totals; columns below.
    enum ResultCol { kAir = 0, kWater, kRunHours, kHpCost, kHeaterCost, kSaving, kResultCols };
    QString result_text(int row, ResultCol col) const;
    // The summary lines: number of heat pumps, payback, projected savings,
    // backup state, average C.O.P.
    QString units_text() const;
    QString payback_text() const;
    QString savings_text() const;
    QString backup_text() const;
    QString cop_text() const;
    QString heater_alone_text() const;  // with backup: the existing heater's own cost a year
    QString warning_text() const;       // the notes under the results

protected:
    void build() override;

private:
    struct Maker;  // builds the controls group by group (weathers_make.cpp)
    void make();
    void store(int i, double shown);
    void store_cover(int i);
    void set_box(int i, const QString& text);  // our own text: stores nothing
    void show_units();
    void show_city_group();
    void choose_city(int group, int entry);
    void select_project_city();
    static std::string city_and_state();
    void apply_area_sel();
    void brand_changed();
    void select_model(bool tell);
    void set_brand_model();
    void heater_enabling();
    void pool_enabling();
    void refresh_buttons();
    void price_visibility();
    void recalc();

    bool made_ = false;
    int filling_ = 0;  // > 0 while the window shows stored values: no storing, no recalculation

    plat::ControlArray<plat::TextBox> text1_;
    plat::ControlArray<plat::ComboBox> combo1_;
    plat::ControlArray<plat::CheckBox> check1_;
    plat::ControlArray<plat::OptionButton> option1_;
    plat::ControlArray<plat::CommandButton> cmd_;
    std::map<int, QLabel*> unit_labels_;  // unit after a box, by box index
    std::map<int, bool> unregistered_;    // buttons disabled because their window does not exist yet
    std::set<int> invalid_;               // boxes holding a value below their least: no results

    cities::Lists lists_;  // the three city lists and the city_tab record of each entry
    QGroupBox* month_box_ = nullptr;
    std::array<std::array<QLabel*, kResultCols>, 14> cells_{};
    QLabel* head_air_ = nullptr;
    QLabel* head_water_ = nullptr;
    QLabel* head_wanted_ = nullptr;
    QLabel* head_heater_ = nullptr;
    QLabel* alone_caption_ = nullptr;
    QLabel* alone_ = nullptr;
    QLabel* units_ = nullptr;
    QLabel* payback_ = nullptr;
    QLabel* payback_caption_ = nullptr;
    QLabel* savings_ = nullptr;
    QLabel* backup_ = nullptr;
    QLabel* cop_ = nullptr;
    QPlainTextEdit* warning_ = nullptr;  // the notes: three lines, scrolled when more
    QLabel* city_note_ = nullptr;
};

// The program's one input window, created on first use; existing_weathers()
// is nullptr while it was never created.
weathers* frm_weathers();
plat::Form* existing_weathers();

// Copies the window's inputs into the last-project part of the settings (the
// cover-hour box copy month_hours_c(m, 1), the brand and the model).
void save_last_data();
// Opens the finance calculator window (when it exists) at 2170, 950,
// 5625 x 5385 twips; while it is open it is only moved back to its place.
void show_lease();
