// Repeatability, randomised inputs within the input limits, failures and the
// display hooks.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <regex>
#include <vector>

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace {

using namespace enginetest;

// Every result of the engine as raw bytes.
struct Snapshot {
    std::vector<unsigned char> bytes;
    std::string proj_save;

    template <class T> void add(const T& v) {
        const auto* p = reinterpret_cast<const unsigned char*>(&v);
        bytes.insert(bytes.end(), p, p + sizeof v);
    }
    static Snapshot take() {
        Snapshot s;
        s.add(g.month_need), s.add(g.loss_evap), s.add(g.loss_conv), s.add(g.month_load), s.add(g.month_cop);
        s.add(g.backup_month), s.add(g.temp_table), s.add(g.hrs_flag), s.add(g.temp_lowered), s.add(g.calc_f32);
        s.add(g.combo_idx), s.add(g.combo_n1), s.add(g.need_total), s.add(g.cop_sum), s.add(g.cop_avg);
        s.add(g.heater_yr_cost), s.add(g.heater_energy), s.add(g.heater_cost_cy), s.add(g.heater_fuel_cy);
        s.add(g.heater_year_cy), s.add(g.heater_cum_cy), s.add(g.tot_hp), s.add(g.tot_heater), s.add(g.tot_saving);
        s.add(g.save_pct_elec), s.add(g.save_amt_elec), s.add(g.save_pct_gas), s.add(g.save_amt_gas);
        s.add(g.save_pct_propane), s.add(g.save_amt_propane), s.add(g.save_pct_oil), s.add(g.save_amt_oil);
        s.add(g.equip_cost), s.add(g.invest_cy), s.add(g.invest_f32), s.add(g.year_saving), s.add(g.payback_f32);
        s.add(g.hp_month_cost), s.add(g.month_cost_elec), s.add(g.month_cost_gas), s.add(g.month_cost_propane);
        s.add(g.month_cost_oil), s.add(g.reduce_factor), s.add(g.year_tab_hp), s.add(g.year_tab_fuel);
        s.add(g.year_tab_backup), s.add(g.backup_cost_total);
        s.proj_save = g.proj_save;
        return s;
    }
    bool operator==(const Snapshot&) const = default;
};

// Every floating result is a finite number.
void expect_all_finite(const char* where) {
    auto fin = [&](double x, const char* name, int i) { EXPECT_TRUE(std::isfinite(x)) << where << ": " << name << "(" << i << ")"; };
    for (int m = 0; m <= 12; ++m) {
        fin(g.month_need[m], "month_need", m);
        fin(g.loss_evap[m], "loss_evap", m);
        fin(g.loss_conv[m], "loss_conv", m);
        fin(g.month_cop[m], "month_cop", m);
        fin(g.temp_table[m][5], "temp_table5", m);
        for (int c = 0; c <= 3; ++c) fin(g.month_load[m][c], "month_load", m * 10 + c);
    }
    for (int r = 0; r <= 100; ++r) fin(g.calc_f32[r], "calc_f32", r);
    for (int t = 0; t <= 6; ++t) {
        fin(g.heater_yr_cost[t], "heater_yr_cost", t);
        fin(g.heater_energy[t], "heater_energy", t);
        fin(g.invest_f32[t], "invest_f32", t);
        fin(g.payback_f32[t], "payback_f32", t);
    }
    fin(g.need_total, "need_total", 0);
    fin(g.cop_avg, "cop_avg", 0);
    fin(g.hp_month_cost, "hp_month_cost", 0);
}

TEST_F(EngineTest, RepeatedCalculationsGiveIdenticalResults) {
    // A project that lowers temperatures, has days off and an existing heater.
    set_climate(kChicago);
    g.fuel_type = HT_GAS;
    g.heat_days = 5;
    g.heat_hours = 10;
    set_cover(12);
    ASSERT_TRUE(engine::calc_all());
    ASSERT_GT(g.temp_lowered, 0);
    const Snapshot first = Snapshot::take();
    ASSERT_TRUE(engine::calc_all());
    EXPECT_TRUE(Snapshot::take() == first);
    ASSERT_TRUE(engine::Calc());            // Calc alone, again and again
    ASSERT_TRUE(engine::Calc());
    ASSERT_TRUE(engine::Backcalc() && engine::Pbcalc() && engine::Yrcalc());
    EXPECT_TRUE(Snapshot::take() == first);

    // Another project in between leaves nothing behind.
    const DataModel inputs = g;
    set_climate(kOrlando);
    g.backup_on = 1;
    g.opt_reduce = 1;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_FALSE(Snapshot::take() == first);
    g = inputs;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_TRUE(Snapshot::take() == first);
}

TEST_F(EngineTest, RandomInputsWithinLimitsAlwaysGiveFiniteResults) {
    std::mt19937 rng(20240611);
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int run = 0; run < 400; ++run) {
        SetUp();
        set_climate(pick(0, 1) ? kOrlando : kChicago);
        g.pool_area = static_cast<float>(pick(0, 9) == 0 ? uni(1, 50000) : uni(1, 2000));
        g.pool_depth = static_cast<float>(uni(1, 30));
        g.wind_mph = static_cast<float>(uni(0, 50));
        g.sun_pct = static_cast<float>(uni(0, 100));
        g.pool_type = pick(0, 3) == 0 ? "Spa" : "Pool";
        g.pool_site = pick(0, 3) == 0 ? "In" : "out";
        g.spa_blower = static_cast<i16>(pick(0, 1));
        g.heat_days = static_cast<i16>(pick(1, 7));
        g.heat_hours = static_cast<i16>(pick(1, 24));
        g.fuel_type = static_cast<i16>(pick(1, 5));
        g.heater_eff = static_cast<float>(uni(0, 100));
        g.backup_on = static_cast<i16>(pick(0, 1));
        g.opt_reduce = static_cast<i16>(pick(0, 1));
        g.comp_factors_on = static_cast<i16>(pick(0, 1));
        g.allow_lowtemp = static_cast<i16>(pick(0, 1));
        g.cover_quality = static_cast<float>(uni(0, 50));
        g.year_factor = static_cast<float>(uni(-0.5, 0.8));
        g.summer_factor_out = static_cast<float>(uni(-0.8, 0.8));
        g.sel_buffer[2] = uni(-80000, 80000);
        g.off_buffer[3] = uni(50, 150);
        g.price_rise[1] = static_cast<float>(uni(0, 0.2));
        g.price_rise[g.fuel_type] = static_cast<float>(uni(0, 0.2));
        g.model_price[2] = cy(uni(0, 9000));
        for (int k = 1; k <= 8; ++k) {
            g.size_comp[k] = static_cast<float>(uni(0, 99));
            g.hp_btu_factor[k] = static_cast<float>(pick(0, 2) == 0 ? 0.0 : uni(0.5, 2));
            g.hp_cop_factor[k] = static_cast<float>(pick(0, 2) == 0 ? 0.0 : uni(0.5, 2));
        }
        for (int m = 1; m <= 12; ++m) {
            g.run_state[m][0] = static_cast<i16>(pick(0, 3) != 0);
            g.temp_table[m][6] = static_cast<float>(uni(40, 104));
            g.month_hours_c[m][0] = static_cast<i16>(pick(0, 24));
            g.month_city_a[m] = static_cast<float>(uni(0, 100));
            g.month_city_c[m] = static_cast<float>(uni(-20, 105));
        }
        ASSERT_NO_THROW(EXPECT_TRUE(engine::calc_all()) << "run " << run);
        expect_all_finite("random project");
        EXPECT_GE(g.combo_idx, 1);
        EXPECT_LE(g.combo_idx, 37);
        for (int m = 1; m <= 12; ++m) {
            EXPECT_GE(g.month_need[m], 0);
            EXPECT_GE(g.calc_f32[39 + m], 0);
            EXPECT_LE(g.calc_f32[39 + m], 24);
            EXPECT_LE(g.temp_table[m][5], g.temp_table[m][6]);
        }
        if (HasFailure()) {
            ADD_FAILURE() << "first failing run: " << run;
            break;
        }
    }
}

TEST_F(EngineTest, ABadValueIsReportedAndTheProgramGoesOn) {
    ASSERT_TRUE(engine::calc_all());
    g.pool_area = std::numeric_limits<float>::quiet_NaN();
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, " Calc error");
    EXPECT_TRUE(std::regex_match(script.shown()[0].text,
                                 std::regex("Error 6 in line [0-9]+\r\nCheck the data inputs \\(1\\)")))
        << script.shown()[0].text;
    // Results cleared, inputs kept.
    EXPECT_EQ(g.combo_idx, 0);
    EXPECT_EQ(g.need_total, 0);
    EXPECT_EQ(g.tot_hp, Currency{});
    for (int r = 0; r <= 100; ++r) EXPECT_EQ(g.calc_f32[r], 0.0f);
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(g.temp_table[m][5], g.temp_table[m][6]);

    // Corrected, the next calculation works.
    g.pool_area = 450;
    EXPECT_TRUE(engine::calc_all());
    EXPECT_GT(g.combo_idx, 0);

    // Failures in the later stages carry their own routine and stage.
    g.fuel_type = HT_GAS;
    g.heater_eff = std::numeric_limits<float>::infinity();
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, " Backcalc error");
    EXPECT_NE(script.shown()[1].text.find("Check the data inputs (8)"), std::string::npos);

    g.heater_eff = 80;
    g.price_rise[HT_HEATPUMP] = 1e30f;       // escalates beyond any currency
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[2].title, " Yrcalc error");
    EXPECT_NE(script.shown()[2].text.find("Check the data inputs (10)"), std::string::npos);
    EXPECT_EQ(g.tot_hp, Currency{});
}

TEST_F(EngineTest, EntryPointsUseTheDisplayHooksWhenSet) {
    run_calc();                              // no window: nothing to show, nothing breaks
    clear_results();
    show_ambient();
    EXPECT_GT(g.combo_idx, 0);

    int shown = 0, cleared = 0, ambient = 0;
    engine::Display d;
    d.show_results = [&] {
        ++shown;
        EXPECT_GT(g.need_total, 0);          // the results are in when they are shown
    };
    d.clear_results = [&] { ++cleared; };
    d.show_ambient = [&] { ++ambient; };
    engine::set_display(d);
    g.combo_idx = 0;
    run_calc();
    clear_results();
    show_ambient();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(ambient, 1);

    d.show_results = [] { throw std::runtime_error("window gone"); };
    engine::set_display(d);
    script.answer(ui::vbOK);
    EXPECT_NO_THROW(run_calc());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, " run_calc error");
    EXPECT_NE(script.shown()[0].text.find("Check the data inputs (11)"), std::string::npos);
    engine::set_display({});
}

}  // namespace
