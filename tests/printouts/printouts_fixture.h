// The printout tests' fixture: a fresh data model, the brand box the
// printouts read and the three projects the whole-page tests print.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "printouts/values.h"
#include "tests/support/samples.h"

namespace prtest {

// What the brand box of the input window shows.
inline std::string& brand_box() {
    static std::string s;
    return s;
}

// The customer, dealer and brand every project prints with.
inline void set_people() {
    g.company_name = "Sunshine Pool & Spa";
    g.cust_name = "Mr. and Mrs. J. Alvarez";
    g.cust_street = "1412 Lakeview Drive";
    g.cust_city = "Orlando, FL 32804";
    brand_box() = "Kestrolin";
    g.brand_name = "Kestrolin";
}

// An outdoor 450 ft² pool in Orlando with floor returns, covered 10 hours a
// night, heated all year at 82 °F against an existing natural-gas heater.
inline void pool_with_gas_and_cover() {
    samples::set_project(samples::kOrlando);
    set_people();
    g.area_group = 0;
    g.city_name = "Orlando";
    g.sel_state = "FL";
    samples::set_cover(10);
    g.opt_reduce = 1;
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
    g.fuel_units[1] = 0;
}

// A 7 m² (75 ft²) outdoor spa in Chicago at 38 °C (100 °F) all year, shown
// in metric units, with the existing propane heater kept as backup and
// propane priced per litre.
inline void metric_spa_with_backup() {
    samples::set_project(samples::kChicago);
    set_people();
    g.cust_city = "Chicago, IL 60614";
    g.area_group = 1;
    g.city_name = "Chicago";
    g.sel_state = "IL";
    g.pool_type = "Spa";
    g.pool_area = 75;
    g.pool_depth = 3.5f;
    g.units_len = 1;
    g.units_temp = 1;
    g.units_heat = 1;
    samples::heat_months(1, 12, 100);
    samples::set_cover(20);
    g.fuel_type = HT_PROPANE;
    g.backup_on = 1;
    g.heater_eff = 85;
    g.heater_btu = 150000;
    g.fuel_units[3] = 1;
}

// An outdoor pool in Nassau heated March to November at 84 °F, no cover, no
// existing heater.
inline void pool_no_heater() {
    samples::set_project(samples::kOrlando);
    set_people();
    g.cust_city = "Nassau, Bahamas";
    g.area_group = 2;
    g.city_name = "Nassau";
    g.sel_state = "Bahamas";
    g.pool_area = 600;
    g.pool_depth = 4.5f;
    samples::heat_months(3, 11, 84);
    g.fuel_type = HT_HEATPUMP;
    g.sun_pct = 85;
}

// The Orlando pool above moved to Anchorage and heated at 84 °F, with
// standard returns and a 10,000 BTU/h gas heater as backup. Uncovered, the
// pumps cannot hold 84 °F from March to May and September to November (the
// heater alone heats, or nothing does); covered 10 hours a night they can.
// Only June to August are heated alike with and without the cover.
inline void anchorage_pool_84_backup() {
    pool_with_gas_and_cover();
    samples::set_climate(samples::kAnchorage);
    g.cust_city = "Anchorage, AK 99501";
    g.city_name = "Anchorage";
    g.sel_state = "AK";
    g.area_group = 1;
    samples::heat_months(1, 12, 84);
    g.opt_reduce = 0;
    g.backup_on = 1;
    g.heater_btu = 10000;
}

// The printouts date themselves 03-14-2026 while this lives.
struct FixedDate {
    FixedDate() {
        vb::today_clock() = [] {
            std::tm t{};
            t.tm_year = 2026 - 1900;
            t.tm_mon = 2;
            t.tm_mday = 14;
            return t;
        };
    }
    ~FixedDate() { vb::today_clock() = nullptr; }
};

class PrintoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        windows() = WindowRegistry{};
        set_people();
        windows().brand_box_text = [] { return brand_box(); };
        g.model_txt1 = "HX 310 ";
        g.model_txt2 = "HX 520 ";
        g.model_txt3 = "HX 730 ";
        g.model_name = "HX 520";
    }
    void TearDown() override {
        windows().brand_box_text = nullptr;
        for (const auto& s : script.unexpected()) ADD_FAILURE() << "unexpected box \"" << s.title << "\": " << s.text;
    }
    ui::Script script;
};

}  // namespace prtest
