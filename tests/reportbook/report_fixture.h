// The report book's tests: a fresh data model on the program's default data
// files (copied into a temporary data folder), a chosen project, a fixed
// date, and a printer capture, so that every page printed is kept. No box
// may appear unless a test scripts it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "print/printer.h"
#include "reportbook/compare.h"
#include "reportbook/prt1.h"
#include "tests/support/data_dir.h"

namespace rbtest {

namespace fs = std::filesystem;

inline std::tm fixed_day() {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 2;  // March
    t.tm_mday = 14;
    t.tm_wday = 6;  // Saturday
    return t;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(data_.copy_built(
            {"defaulte.dat", "location.dat", "PumpHP.dat", "PumpHP1.dat", "PumpHP2.dat", "PumpHP3.dat"}))
            << data_.missing();
        set_defaults(g);
        data_.use();
        windows() = WindowRegistry{};  // no windows: nothing shown
        vb::today_clock() = &fixed_day;
        Dfltinp();
        load_brand_pumps();
        load_locations();
        read_pumpa(g.brand_name, g.model_name);
        g.cust_name = "Mr and Mrs J. Sample";
        g.cust_street = "12 Palm Court";
        g.cust_city = "Orlando FL 32801";
    }
    void TearDown() override {
        for (const auto& s : script.unexpected()) ADD_FAILURE() << "unexpected box \"" << s.title << "\": " << s.text;
        vb::today_clock() = nullptr;
        set_defaults(g);
    }

    std::string path(const std::string& name) const { return data_.file(name); }

    // The lines of a document (by default the one being printed), trimmed.
    static std::vector<std::string> lines(const prn::Document& d = prn::printer().document()) {
        std::vector<std::string> v;
        for (std::size_t p = 0; p < d.pages.size(); ++p)
            for (const auto& l : d.pageText(p)) v.push_back(vb::Trim(l));
        return v;
    }
    static bool has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // The weather city of that name, as the input window takes it.
    void city(const std::string& name) {
        for (int i = 1; i <= g.city_count; ++i) {
            const CityRecord& r = g.city_tab[i];
            if (vb::Trim(r.city) != name) continue;
            g.city_name = vb::Trim(r.city);
            g.sel_state = vb::Trim(r.state);
            g.rate_elec = cy(r.elec_cost);
            g.rate_natgas = cy(r.gas_cost);
            g.rate_propane = cy(r.propane_cost);
            g.rate_oil = cy(r.oil_cost);
            g.wind_mph = r.wind;
            for (int m = 1; m <= 12; ++m) {
                g.month_city_a[m] = r.humidity[m];
                g.month_city_b[m] = r.sun[m];
                g.month_city_c[m] = r.air_temp[m];
            }
            return;
        }
        FAIL() << "no city " << name;
    }

    void heat(int first, int last, float temp) {
        for (int m = 1; m <= 12; ++m) {
            g.run_state[m][0] = (first <= last ? (m >= first && m <= last) : (m >= first || m <= last)) ? 1 : 0;
            g.temp_table[m][6] = g.temp_table[m][5] = temp;
        }
        g.desired_temp = temp;
    }
    void cover(int hours) {
        for (int m = 1; m <= 12; ++m) g.month_hours_c[m][0] = static_cast<i16>(hours);
    }

    // The model-price window's rows: large, medium, small model.
    void prices(double large, double medium, double small) {
        g.model_price[1] = cy(large);
        g.model_price[2] = cy(medium);
        g.model_price[3] = cy(small);
        for (int i = 1; i <= 3; ++i) g.model_price_tab[5 + i] = g.model_price[i];
    }

    // An outdoor 15 x 30 ft pool in Orlando with a natural-gas heater.
    void pool_with_gas() {
        city("Orlando");
        read_pumpa("Kestrolin", "HX 520");
        g.pool_type = "Pool";
        g.pool_site = "out";
        g.pool_area = 450;
        g.pool_depth = 5;
        g.sun_pct = 75;
        heat(10, 4, 82);
        cover(12);
        g.fuel_type = HT_GAS;
        g.heater_eff = 80;
        g.heater_cost = cy(2400);
        g.backup_on = 0;
        g.price_rise[HT_HEATPUMP] = g.price_rise[HT_ELEC] = 0.03f;
        g.price_rise[HT_GAS] = 0.05f;
        prices(4600, 3900, 3400);
    }
    // A 7 x 7 ft outdoor spa in Chicago, metric units, backed up by propane.
    void metric_spa_with_backup() {
        city("Chicago");
        read_pumpa("Kestrolin", "HX 310");
        g.pool_type = "Spa";
        g.pool_site = "out";
        g.pool_area = 49;
        g.pool_depth = 3.5f;
        g.sun_pct = 60;
        g.spa_blower = 1;
        heat(1, 12, 102);
        cover(20);
        g.units_len = 1;
        g.units_vol = 3;
        g.units_sun = 2;
        g.units_heat = 1;
        g.units_temp = 1;
        g.fuel_type = HT_PROPANE;
        g.heater_eff = 78;
        g.heater_btu = 150000;
        g.heater_cost = cy(1800);
        g.backup_on = 1;
        prices(4300, 3600, 3100);
    }
    // A 20 x 40 ft pool in Phoenix heated October to April, no heater yet.
    void pool_without_heater() {
        city("Phoenix");
        read_pumpa("Kestrolin", "HX 730");
        g.pool_type = "Pool";
        g.pool_site = "out";
        g.pool_area = 800;
        g.pool_depth = 5.5f;
        g.sun_pct = 90;
        heat(10, 4, 84);
        cover(0);
        g.fuel_type = HT_HEATPUMP;
        g.heater_cost = Currency{};
        g.backup_on = 0;
        prices(4600, 3900, 3400);
    }
    // The three competitors of the default data named for the comparison.
    void three_competitors() {
        g.do_compare = -1;
        g.comp_names[1] = "Brisalto";
        g.comp_names[2] = "Corvane Pool";
        g.comp_names[3] = "Tessaric";
    }

    testsupport::TempDataDir data_{"heater-rb"};
    ui::Script script;
    prn::Capture cap;
};

}  // namespace rbtest
