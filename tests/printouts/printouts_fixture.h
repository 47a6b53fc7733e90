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
    samples::set_people();
    brand_box() = "Kestrolin";
}

// The three projects the whole-page tests print (tests/support/samples.h).
using samples::metric_spa_with_backup;
using samples::pool_no_heater;
using samples::pool_with_gas_and_cover;

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
