// The data store's shared routines: settings file, record files, data
// diskette, heat-pump and weather-city loading, the checks of the heat-pump
// data and the small input helpers every window uses. No windows here: the
// few places where a routine touches a window go through the window
// registry (core/windows.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/model.h"

// ---- settings file defaulte.dat ---------------------------------------------
// Reads the whole settings file into the model (settings and last project).
void Dfltinp();
// Writes every setting and the last-project block (complete temporary copy
// renamed over the old file). Reports its own failures and returns.
void Dfltout();

// ---- input helpers ---------------------------------------------------------------
// result := text without "," "$" and "%".
void remove_comma(const std::string& text, std::string& result);
std::string remove_comma(const std::string& text);
// The refused-key warning: sound, then "Numbers only" titled "Please".
void numbers_only();
// result := x unchanged when units_temp is 0, else °C to 0.1.
void to_deg_c(float& result, float x);
// Inverse for typed values: °C to °F when units_temp is not 0.
float from_deg_c(float x);
// result := source upper-cased with every blank removed.
void strip_spaces(const std::string& source, std::string& result);

// ---- files -----------------------------------------------------------------------
// Sets owner read/write on every program file in data_dir, ignoring errors.
void clear_file_attrs();
// Copies the data files from the data diskette (data_dir + "A/", then "B/").
void load_data_disk();
// Reads PumpHP.dat into pump_tab; the first 24 points of record pump_rec,
// then the chosen model's points 1..8 and model_txt1..3 (use_chosen_model).
void load_brand_pumps();
// Reads location.dat into city_tab (at most 500) and fills the city lists.
void load_locations();
// Start-up, after load_locations: a weather-city file that is missing or
// holds no city is said, with the ways to get cities back (the data disk,
// the spreadsheet import); Yes loads the data disk and the cities again.
void check_cities();
// Makes `model` of brand `brand` the chosen model (brand_name, model_name,
// pump_rec) and puts it into the working tables (use_chosen_model).
void read_pumpa(const std::string& brand, const std::string& model);
// Competitor k (1..3): clears the engine's totals, reads record 1 of
// PumpHPk.dat into compk_rec(1), checks it and loads its 24 rating points
// into the working tables. A missing or empty file is said ("Bad competitor
// #k heat pump data file") and false returned with the tables untouched.
bool read_compet(int k);
// Before another system's run: the engine's yearly totals (heater types
// 1..5) and the yearly need cleared, the desired water temperatures put
// back (temp_table column 5 := column 6) and hrs_flag cleared.
void reset_run_totals();
void verify_compet1();
void verify_compet2();
void verify_compet3();
// Start-up check of the chosen brand's record for missing fields.
void verify_brand();
void default_brand_labels();
std::string brand_caption();
void model_list_text(std::vector<std::string>& brand_words, std::string& phrase, std::string& brand,
                     std::string& model_c, std::string& model_b, std::string& model_a, std::string& note);

// City list entry of one record by the region rule: Florida ("FL") the city
// alone; a state shorter than 3 characters padded to 2, two blanks, the
// city; otherwise the state padded or cut to 8, two blanks, the city.
// Returns the group: 0 Florida, 1 other US, 2 outside the US.
int city_entry(const CityRecord& r, std::string& entry);

// Unloads the open settings windows in order (through the window registry).
void unload_settings();
