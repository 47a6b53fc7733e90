// The program's shared data model: every setting, the project being worked
// on, the loaded data files and the engine's results. One instance, `g`,
// lives for the whole run; every window and routine reads and writes it.
// Arrays keep the bounds the program has always used (month arrays 0..12
// with 0 unused, heater-type arrays 0..6: 1 heat pump, 2 electric
// resistance, 3 natural gas, 4 propane, 5 fuel oil).
// Values are held in US units: ft, ft², mph, °F, BTU and BTU/h, US gallons.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/currency.h"

using i16 = std::int16_t;

template <class T, std::size_t Hi> using arr = std::array<T, Hi + 1>;  // 0..Hi
template <class T, std::size_t Hi1, std::size_t Hi2> using arr2 = std::array<std::array<T, Hi2 + 1>, Hi1 + 1>;

// ---- records of the data files --------------------------------------------

// One brand group of heat-pump performance data (PumpHP.dat, 1724 bytes).
// Rating point (m - 1) * 8 + r belongs to model m and row r; rows 1..8 are
// air temperatures 85, 80, 75, 70, 65, 60, 55, 50 °F.
struct PumpBrand {
    std::string brand;          // fixed 39
    arr<std::string, 9> model;  // fixed 25 each, 1..9
    arr<i16, 9> in_list{};      // 1 = offered in the model lists
    i16 spare = 0;
    arr<float, 72> rh{};          // relative humidity of the rating point, %
    arr<float, 72> cop{};         // coefficient of performance
    arr<double, 72> btu{};        // output, BTU/h
    arr<float, 72> water_temp{};  // water temperature of the rating point, °F
};

// One competitor's performance data (PumpHP1.dat .. PumpHP3.dat, 596 bytes).
struct CompetitorPump {
    std::string brand;          // fixed 39
    arr<std::string, 3> model;  // fixed 25: 1 small, 2 medium, 3 large
    arr<float, 24> rh{};
    arr<float, 24> cop{};
    arr<float, 24> water_temp{};
    arr<double, 24> btu{};
};

// One weather city (location.dat, 228 bytes). Prices in $/kWh, $/therm,
// $/US gal, $/US gal; wind mph; humidity %; sun langley/day; air °F.
struct CityRecord {
    std::string city;   // fixed 39
    std::string state;  // fixed 25
    float elec_cost = 0, gas_cost = 0, propane_cost = 0, oil_cost = 0, wind = 0;
    arr<float, 12> humidity{};
    arr<float, 12> sun{};
    arr<float, 12> air_temp{};
};

// The results of one compared system (Pumpchk.dat).
struct CompareResult {
    std::string brand;      // fixed 39
    std::string equipment;  // fixed 25
    arr<float, 12> water_temp{}, cop{}, op_cost{}, output{}, backup_cost{};
    arr<i16, 12> hours{};
    arr<float, 5> year_cost{}, year_save{};
    float save_year1 = 0, equip_cost = 0, payback = 0, roi = 0;
};

// ---- the data model ---------------------------------------------------------

struct DataModel {
    // -- calendar, text, folders
    arr<std::string, 12> month_name;
    arr<i16, 12> month_days{};
    std::string crlf = "\r\n";
    std::string data_dir;  // program folder, ends in "/"
    arr<std::string, 18> disp_str;
    std::vector<std::string> brand_words;
    i16 calc_month = 0;  // the shared month (or year) loop counter

    // -- settings: company, brand, series, units, locks, sound
    std::string company_name = "Dealer";  // at most 34 characters
    i16 no_prices = 0;                    // 1: no heat-pump prices nor finance offered
    i16 company_var = 0;                  // 0 first office / template set, else second
    i16 brand_code = 1;                   // 1..3
    std::string brand_name;               // brand word of the last project
    std::string model_name;               // model designation of the last project
    i16 series_sel = 1;                   // 1 = A, 2 = D
    i16 series_idx = 0;
    arr<i16, 10> dealer_lock{};  // (1) allow dealer access, (2) dealer cannot select brand; -1 ticked
    float compet_check = 0;
    float units_len = 0;         // 0 ft/ft²/mph, else m/m²/km/h
    float units_vol = 0;         // 0 US gal, 1 UK gal, 2 ft³, 3 litres
    float units_sun = 0;         // 0 BTU/ft², 1 langley, 2 W-h/m²
    float units_heat = 0;        // 0 BTU, else kWh / watts
    float units_temp = 0;        // 0 °F, else °C
    arr<float, 5> fuel_units{};  // (1) gas, (2) oil, (3) propane price units
    i16 sound_off = 0;           // 1 silences the numbers-only warning
    i16 sound_wait = 0;          // 1: the warning sound plays to its end first

    // -- dealer adjustment factors (applied by the engine)
    float year_factor = 0;        // a warmer (+) or cooler (-) year, share
    float summer_factor_out = 0;  // a warmer summer, outdoor, share
    float summer_factor_in = 0;   // a warmer summer, indoor, share
    arr<float, 8> size_comp{};    // % by area class 540 .. 12,000 ft²
    arr<double, 3> sel_buffer{};  // system selector buffer, BTU/h: (1) small, (2) medium, (3) large
    float reduce_pct = 0.2f;      // floor-returns saving as a share (0.2 = 20 %)
    float cover_quality = 0;      // 0 excellent .. 50 very bad, %
    i16 allow_lowtemp = 0;
    arr<double, 3> off_buffer{};    // (3): recovery buffer, % (100 recommended)
    arr<float, 8> hp_btu_factor{};  // output compensating factors, 50..85 °F
    arr<float, 8> hp_cop_factor{};  // C.O.P. compensating factors
    i16 comp_factors_on = 0;

    // -- the project (last-project block of the settings file)
    std::string pool_type = "Pool";    // "Pool", anything else a spa
    std::string pool_site = "out";     // "In" indoor, "out" outdoor
    float pool_area = 0;               // ft²
    float pool_depth = 0;              // ft
    float wind_mph = 0;                // mph
    float sun_pct = 0;                 // % of sun exposure, 0..100
    float desired_temp = 0;            // thermostat, °F
    arr2<float, 12, 6> temp_table{};   // (m,6) desired water °F as entered, (m,5) as last used
    arr2<i16, 12, 1> month_hours_c{};  // (m,0) cover hours per day, (m,1) the settings' box copy
    arr2<i16, 12, 6> run_state{};      // (m,0) 1 = heating month
    i16 heat_days = 7;                 // heating days per week, 1..7
    i16 heat_hours = 24;               // heating hours per day, 1..24
    i16 spa_blower = 0;                // 1 = spa blower runs
    i16 fuel_type = 1;                 // existing heater: 1 none, 2 elec, 3 gas, 4 propane, 5 oil
    i16 backup_on = 0;                 // 1 = heat pump backed up by the existing heater
    float heater_eff = 80;             // existing fuel heater efficiency, %
    double heater_btu = 0;             // existing heater output, BTU/h
    Currency heater_cost;              // price of the existing heater
    Currency rate_elec, rate_natgas, rate_propane, rate_oil;  // $/kWh, $/therm, $/US gal, $/US gal
    arr<float, 6> price_rise{};                               // yearly price increase by heater type, fraction
    i16 opt_reduce = 0;                                       // 1 = floor returns (reverse flow)
    i16 area_group = 0;                                       // 0 Florida, 1 other US, 2 outside the US
    i16 area_sel = 0;                                         // cities on offer: 0 all, 1 FL, 2 other US, 3 non-US
    std::string city_name;
    std::string sel_state;
    arr<float, 12> month_city_a{};                  // relative humidity, %
    arr<float, 12> month_city_b{};                  // solar radiation, langley/day
    arr<float, 12> month_city_c{};                  // mean air temperature, °F
    arr<Currency, 3> model_price{};                 // rows of the model-price window: (1) large, (2) medium, (3) small
    arr<Currency, 11> model_price_tab{};            // (6..8) mirror model_price(1..3)
    std::string cust_name, cust_street, cust_city;  // not kept in the settings file

    // -- city data
    arr<CityRecord, 500> city_tab;
    i16 city_count = 0;
    i16 city_rec_no = 0;
    i16 cur_city = 0;
    i16 city_changed = 0;
    i16 cities_changed = 0;
    std::string preset_city;
    i16 new_city = 0;

    // -- heat-pump data and working tables
    arr<PumpBrand, 100> pump_tab;
    i16 pump_count = 0;  // records read from PumpHP.dat
    i16 pump_rec = 1;    // record of the brand group in use
    arr<float, 72> hp_rh{}, hp_cop{}, hp_wtemp{};
    arr<double, 72> hp_btu{};
    // Small, medium and large model of the chosen model's series, each
    // right-trimmed plus one blank (see chosen_model below).
    std::string model_txt1, model_txt2, model_txt3;
    i16 pump_mode = 1;  // editor: 1 PumpHP.dat, 2..4 competitor files
    i16 cur_model = 1;
    i16 pump_saved = 0;
    arr<CompetitorPump, 1> comp1_rec, comp2_rec, comp3_rec;  // element 1 used
    arr<std::string, 3> comp_names;
    std::array<std::array<arr<std::string, 3>, 7>, 8> comp_models;  // brand 0..7, series 0..6, slot 1..3
    arr<CompareResult, 4> cmp_res;

    // -- engine results and working values
    i16 combo_idx = 0;  // configuration chosen, 1..37
    arr<i16, 40> combo_n1{}, combo_n2{}, combo_n3{};
    arr<i16, 12> hrs_flag{};   // 1: the month's temperature was lowered (or the month is off)
    arr<i16, 12> month_off{};  // 1: a heated month the system cannot hold at all: no heating
    i16 temp_lowered = 0;
    arr<double, 12> month_need{};              // BTU per month
    arr<double, 12> loss_evap{}, loss_conv{};  // BTU per month
    // (m,0) average demand per hour of the month, (m,1) system output,
    // (m,2) the backup heater's average output per hour of a backup month; BTU/h.
    arr2<double, 12, 3> month_load{};
    arr<float, 12> month_cop{};
    arr<i16, 12> backup_month{};
    double need_total = 0;  // kBTU a year
    float cop_sum = 0, cop_avg = 0;
    arr<double, 6> heater_yr_cost{};  // $ a year, each heater alone (1 = heat pump)
    arr<double, 6> heater_energy{};   // $ a year inside a backed-up system
    arr<Currency, 6> heater_cost_cy{}, heater_fuel_cy{}, heater_year_cy{}, heater_cum_cy{};
    Currency tot_hp, tot_heater, tot_saving;
    // The existing heater's own cost, heating each month alone, in cents, and
    // its year: the saving is worked out against it (with backup too).
    arr<Currency, 12> heater_alone_cy{};
    Currency tot_heater_alone;
    Currency save_pct_elec, save_amt_elec, save_pct_gas, save_amt_gas;
    Currency save_pct_propane, save_amt_propane, save_pct_oil, save_amt_oil;
    Currency equip_cost;
    arr<Currency, 6> invest_cy{};
    arr<float, 6> invest_f32{};
    Currency year_saving;
    arr<float, 6> payback_f32{};
    double hp_month_cost = 0;
    Currency month_cost_elec, month_cost_gas, month_cost_propane, month_cost_oil;
    float reduce_factor = 1.0f;
    arr<float, 100> calc_f32{};  // results table (rows 1..51, see calc_row below)
    arr<Currency, 12> year_tab_hp{}, year_tab_fuel{}, year_tab_backup{};
    Currency backup_cost_total;
    i16 models_used = 0;
    std::string proj_save;
    i16 calc_flag1 = 0;
    i16 calc_mode2 = 0;

    // -- finance kept in the settings file
    arr<Currency, 20> fin_opts{};     // (1) rate type, (2) lease buy-out, (3) balloon interest mode,
                                      // (4) cover letter, (16) loan residual value, (18) loan saving rule
    arr2<double, 6, 4> lease_fact{};  // lease key factors: term index 1..6 by amount bracket 1..4
    Currency fees_loan;
    float sales_tax = 0;  // percent
    float loan_rate = 0;  // annual loan interest, percent
    // -- finance of the current offer (finance/leasedat.h explains each)
    i16 fin_mode = 0;    // 0 not chosen yet, 1 lease, 2 loan
    i16 fin_months = 0;  // the term in months
    Currency add_charges, inst_cost, sys_total;
    float down_perc = 0;  // loan down payment, percent of sys_total
    Currency down_pay, fees_lease, resid_val, upfront;
    double mon_rate = 0;     // monthly loan rate as a fraction
    float balloon_perc = 0;  // loan balloon, percent of sys_total
    Currency balloon_amt, balloon_end, fin_amount;
    i16 term_idx = 0;      // 1..6 for 12, 18, 24, 36, 48, 60 months
    i16 amt_bracket = 0;   // 1..4 financed-amount bracket
    double lease_key = 0;  // the key factor in use
    Currency pay_term, pay12, pay18, pay24, pay36, pay48, pay60;
    i16 pmt_err = 0;
    Currency tot_toggle;  // 0 total of payments, else total costs
    i16 help_off = 0;     // finance window: 1 no help on focus
    // -- the finance saving table by year
    i16 year_npay = 0;
    Currency year_pay, fin_total, post_saving;

    // -- print options and printer settings
    i16 prt_choice = 5;  // a PrintChoice
    float small_title = 0;
    i16 letter_head = 0;
    i16 round_up = 0;
    i16 col_offset = 0;
    i16 left_margin = 5;
    i16 name_pad = 0;
    std::string fnt_body_name = "Courier New";
    i16 fnt_body_size = 10;
    std::string fnt_body_bold = "False";
    float fnt_body_x = 0;
    std::string fnt_title_name = "Courier New";
    std::string fnt_title_bold = "True";
    i16 fnt_title_size = 14;
    float fnt_title_x = 0;
    i16 title_font_on = -1;
    i16 title_indent = 0;
    i16 table_indent = 0, table_years = 0;
    Currency syscst_base, savtot_base, sav_base;
    i16 do_compare = 0;

    // -- window-state flags
    i16 menu_open = 0;
    i16 setwin_open = 0;
    i16 backup_asked = 0;
    i16 from_menu = 0;
    i16 units_from_menu = 0;
    i16 calculator_open = 0;
    i16 cust_done = 0;
    i16 cust_win_state = 0;
    i16 settings_unread = 0;  // 1: the settings file could not be read in full (kept before overwriting)
};

extern DataModel g;

// The rows of the results table `calc_f32`, as the engine fills them: for
// month m (1..12) the heat pump's cost, the existing heater's cost (with
// backup: the backup's part), the saving, in dollars to the cent, and the
// pump's hours per heating day; then the five-year totals of the three costs.
namespace calc_row {
constexpr int hp_cost(int m) { return m; }           // rows 1..12
constexpr int heater_cost(int m) { return 12 + m; }  // rows 13..24
constexpr int saving(int m) { return 24 + m; }       // rows 25..36
constexpr int kFiveYearHp = 37;
constexpr int kFiveYearHeater = 38;
constexpr int kFiveYearSaving = 39;
constexpr int hours(int m) { return 39 + m; }  // rows 40..51
}  // namespace calc_row

// The start-up defaults of the whole model (calendar, settings, an example
// project). Tests call it to start from a fresh model.
void set_defaults(DataModel& m);

// Heater-type indices.
enum HeaterType : int { HT_HEATPUMP = 1, HT_ELEC = 2, HT_GAS = 3, HT_PROPANE = 4, HT_OIL = 5 };

// The printouts the printout selection runs, by the number `prt_choice`
// holds. Every place that tells them apart switches over these names with
// no default, so that a new one is a compiler warning at each place that
// has not learnt it yet.
enum PrintChoice : i16 {
    kChoiceCoverageChart = 1,  // "One coverage and chart": the Word audit, then the Excel chart
    kChoicePlainText = 2,      // "Plain text": the audit page on the printer
    kChoiceReportBook = 3,     // the detailed report book (no list row)
    kChoiceOneCoverage = 4,    // "One coverage": the Word audit
    kChoiceSummary = 5,        // "Summary": the Word summary
};

// ---- questions about the project that many places ask ------------------------------
// Ask these rather than comparing the fields again, so that every window,
// the engine and the printouts answer them alike.

// A spa: `pool_type` is anything but "Pool" (blanks around it aside).
bool is_spa(const DataModel& m = g);
// An indoor pool or spa: `pool_site` is "In" (blanks around it aside).
bool is_indoor(const DataModel& m = g);
// An existing heater (electric, gas, propane or oil) backs up the heat pump:
// `backup_on` is set and `fuel_type` is 2..5. "Backup" without a heater is none.
bool has_backup(const DataModel& m = g);
// The existing heater's type, HT_ELEC .. HT_OIL, or HT_HEATPUMP when there is
// none: `fuel_type` 1, or a value that is no heater type.
int existing_heater(const DataModel& m = g);
// An existing heater (electric, gas, propane or oil) is compared with the
// heat pump: existing_heater() is not HT_HEATPUMP.
bool has_heater(const DataModel& m = g);

// The months m (1..12) with in[m] set, as runs of `month_name` in month
// order: a run of three or more as its first and last month joined by
// `dash` ("JAN-APR"), two in a row and the runs themselves joined by `sep`
// ("MAY JUN OCT-DEC" with " ", "MAY, JUN, OCT–DEC" with ", "). "" for none.
std::string month_runs(const std::array<bool, 13>& in, const std::string& dash, const std::string& sep,
                       const DataModel& m = g);

// ---- the chosen heat-pump model ----------------------------------------------------
// One rule for every user. The chosen model is `model_name` among the listed
// models (`in_list` 1, letter case and blanks aside) of the brand group
// `pump_tab`(`pump_rec`); a name not found there counts as model 1. Models
// 1..3 of a group are series A (small, medium, large), 4..6 series D, 7..9 a
// third series.
//   - Its rating points are the group's points (index - 1) * 8 + 1 .. + 8;
//     read_pumpa and every reload (load_brand_pumps) copy them into points
//     1..8, which the engine sizes.
//   - `model_txt1`..`model_txt3` are the small, medium and large model of
//     its series; they label the model-price window's rows and the sizes of
//     the selector buffer.
//   - Its price is the one typed beside its name in the model-price window,
//     whose row 1 (`model_price`(1)) is labelled `model_txt3`, the large
//     model, and row 3 the small one: price_slot = 4 - size.
//   - Its selector buffer is `sel_buffer`(size), the heater-settings rows
//     "HX 310", "HX 520", "HX 730" being small, medium, large.
// The model-price window, the engine, the printouts and the comparison all
// take the price and buffer from here.
struct ChosenModel {
    int record = 1;                                      // brand group in pump_tab (pump_rec, held to 1..100)
    int index = 1;                                       // model 1..9 in that group
    int series_first = 1;                                // first model of its series: 1, 4 or 7
    int size = 1;                                        // 1 small, 2 medium, 3 large within its series
    int price_slot = 3;                                  // model_price element: 1 large, 2 medium, 3 small
    int buffer_slot = 1;                                 // sel_buffer element: 1 small, 2 medium, 3 large
    bool found = false;                                  // model_name is a listed model of the group
    int first_point() const { return (index - 1) * 8; }  // its points are first_point() + 1 .. + 8
};
ChosenModel chosen_model(const DataModel& m = g);
// The model-price element that row `size` labels: 1 large .. 3 small.
int price_slot_of_size(int size);
// The chosen model's price (as typed in the model-price window) and its
// selector buffer, BTU/h.
Currency chosen_price(const DataModel& m = g);
double chosen_buffer(const DataModel& m = g);
// The chosen model's designation, trimmed (its name in the brand group;
// `model_name` when the group does not list it).
std::string chosen_model_text(const DataModel& m = g);
// Puts the chosen model into the working tables: its series' names into
// model_txt1..3 and its eight rating points into points 1..8.
void use_chosen_model(DataModel& m = g);
