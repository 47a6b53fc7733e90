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
#include "tests/support/samples.h"

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
        prt1::st = prt1::State{};      // no page 1 of an earlier report: its system text and notes
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
    void city(const std::string& name) { ASSERT_TRUE(samples::from_data::choose_city(name)) << "no city " << name; }
    void heat(int first, int last, float temp) { samples::heat_season(first, last, temp); }

    // The projects of tests/support/samples.h, on the default data.
    void pool_with_gas() { ASSERT_TRUE(samples::from_data::pool_with_gas()); }
    void metric_spa_with_backup() { ASSERT_TRUE(samples::from_data::metric_spa_with_backup()); }
    void pool_without_heater() { ASSERT_TRUE(samples::from_data::pool_without_heater()); }
    static void three_competitors() { samples::from_data::three_competitors(); }

    testsupport::TempDataDir data_{"heater-rb"};
    ui::Script script;
    prn::Capture cap;
};

}  // namespace rbtest
