// Repeatability, what Calc alone leaves, randomised inputs within the input
// limits, failures and the display hooks.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <random>
#include <regex>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace {

using namespace samples;

template <class... T> std::vector<unsigned char> bytes_of(const T&... v) {
    std::vector<unsigned char> b;
    (b.insert(b.end(), reinterpret_cast<const unsigned char*>(&v), reinterpret_cast<const unsigned char*>(&v + 1)),
     ...);
    return b;
}
// What Calc leaves: the monthly model, the results table and the month costs.
std::vector<unsigned char> calc_results() {
    return bytes_of(g.month_need, g.loss_evap, g.loss_conv, g.month_load, g.month_cop, g.backup_month, g.temp_table,
                    g.hrs_flag, g.temp_lowered, g.calc_f32, g.combo_idx, g.combo_n1, g.need_total, g.cop_sum, g.cop_avg,
                    g.heater_yr_cost, g.heater_energy, g.heater_cost_cy, g.heater_fuel_cy, g.tot_hp, g.tot_heater,
                    g.tot_saving, g.hp_month_cost, g.month_cost_elec, g.month_cost_gas, g.month_cost_propane,
                    g.month_cost_oil, g.reduce_factor);
}
// What the later stages add (all of it zero once cleared).
std::vector<unsigned char> later_results() {
    return bytes_of(g.heater_year_cy, g.heater_cum_cy, g.save_pct_elec, g.save_amt_elec, g.save_pct_gas, g.save_amt_gas,
                    g.save_pct_propane, g.save_amt_propane, g.save_pct_oil, g.save_amt_oil, g.equip_cost, g.invest_cy,
                    g.invest_f32, g.year_saving, g.payback_f32, g.year_tab_hp, g.year_tab_fuel, g.year_tab_backup,
                    g.backup_cost_total);
}
std::vector<unsigned char> all_results() {
    auto b = calc_results();
    const auto later = later_results();
    b.insert(b.end(), later.begin(), later.end());
    b.insert(b.end(), g.proj_save.begin(), g.proj_save.end());
    return b;
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
    const auto first = all_results(), first_calc = calc_results();
    const DataModel inputs = g;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_TRUE(all_results() == first);
    ASSERT_TRUE(engine::Calc() && engine::Backcalc() && engine::Pbcalc() && engine::Yrcalc());
    EXPECT_TRUE(all_results() == first);

    // Another project in between leaves nothing behind.
    set_climate(kOrlando);
    g.backup_on = 1;
    g.opt_reduce = 1;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_FALSE(all_results() == first);
    g = inputs;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_TRUE(all_results() == first);
    // Nor does another heater (savings and payback are kept by heater type).
    g.fuel_type = HT_PROPANE;
    ASSERT_TRUE(engine::calc_all());
    g.fuel_type = HT_GAS;
    ASSERT_TRUE(engine::calc_all());
    EXPECT_TRUE(all_results() == first);

    // The report book runs Calc alone, then prints the results table, the
    // yearly totals and the average C.O.P.: they belong to Calc's inputs,
    // not to the last full calculation.
    set_climate(kOrlando);
    ASSERT_TRUE(engine::calc_all());
    set_climate(kChicago);
    ASSERT_TRUE(engine::Calc());
    EXPECT_TRUE(calc_results() == first_calc);
}

TEST_F(EngineTest, RandomInputsWithinLimitsAlwaysGiveFiniteResults) {
    std::mt19937 rng(20240611);
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // The limits of the project input window and the dealer windows (the
    // cover quality has none below); the months as any city of the editor.
    const struct {
        float DataModel::*f;
        double lo, hi;
    } floats[] = {{&DataModel::pool_depth, 0, 30},
                  {&DataModel::wind_mph, 0, 50},
                  {&DataModel::sun_pct, 0, 100},
                  {&DataModel::heater_eff, 0, 100},
                  {&DataModel::cover_quality, -100, 50},
                  {&DataModel::year_factor, -0.51, 0.8},
                  {&DataModel::summer_factor_out, -0.81, 0.8},
                  {&DataModel::summer_factor_in, -0.81, 0.8},
                  {&DataModel::reduce_pct, 0, 0.8}};
    const struct {
        i16 DataModel::*f;
        int lo, hi;
    } ints[] = {{&DataModel::heat_days, 1, 7},       {&DataModel::heat_hours, 1, 24},  {&DataModel::fuel_type, 1, 5},
                {&DataModel::backup_on, 0, 1},       {&DataModel::opt_reduce, 0, 1},   {&DataModel::spa_blower, 0, 1},
                {&DataModel::comp_factors_on, 0, 1}, {&DataModel::allow_lowtemp, 0, 1}};
    for (int run = 0; run < 400; ++run) {
        SetUp();
        set_climate(pick(0, 1) ? kOrlando : kChicago);
        for (const auto& r : floats) g.*r.f = static_cast<float>(uni(r.lo, r.hi));
        for (const auto& r : ints) g.*r.f = static_cast<i16>(pick(r.lo, r.hi));
        g.pool_area = static_cast<float>(uni(0, pick(0, 9) == 0 ? 50000 : 2000));
        g.pool_type = pick(0, 3) == 0 ? "Spa" : "Pool";
        g.pool_site = pick(0, 3) == 0 ? "In" : "out";
        g.rate_elec = cy(uni(0, 5));
        g.rate_natgas = g.rate_propane = g.rate_oil = cy(uni(0, 50));
        g.price_rise[1] = static_cast<float>(uni(0, 0.2));
        g.price_rise[g.fuel_type] = static_cast<float>(uni(0, 0.2));
        g.model_price[2] = cy(uni(0, 9000));
        g.off_buffer[3] = uni(50, 150);
        g.heater_btu = pick(0, 2) == 0 ? 0.0 : uni(0, 500000);  // 0: output not given
        for (int k = 1; k <= 3; ++k) g.sel_buffer[k] = uni(-80000, 80000);
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
            g.month_city_b[m] = static_cast<float>(uni(0, 900));
            g.month_city_c[m] = static_cast<float>(uni(-20, 105));
        }
        ASSERT_NO_THROW(EXPECT_TRUE(engine::calc_all()) << "run " << run);
        auto finite = [](const auto& a) {
            return std::all_of(a.begin(), a.end(), [](double x) { return std::isfinite(x); });
        };
        EXPECT_TRUE(finite(g.month_need) && finite(g.loss_evap) && finite(g.loss_conv) && finite(g.month_cop) &&
                    finite(g.calc_f32) && finite(g.heater_yr_cost) && finite(g.heater_energy) && finite(g.invest_f32) &&
                    finite(g.payback_f32) && std::isfinite(g.need_total) && std::isfinite(g.cop_avg) &&
                    std::isfinite(g.hp_month_cost));
        EXPECT_TRUE(g.combo_idx >= 0 && g.combo_idx <= 37);
        if (g.combo_idx == 0) {
            EXPECT_EQ(g.need_total, 0);
        }
        for (int m = 1; m <= 12; ++m) {
            EXPECT_TRUE(finite(g.month_load[m]));
            EXPECT_GE(g.month_need[m], 0);
            EXPECT_TRUE(g.calc_f32[calc_row::hours(m)] >= 0 && g.calc_f32[calc_row::hours(m)] <= 24);
            EXPECT_LE(g.temp_table[m][5], g.temp_table[m][6]);
            EXPECT_GE(g.temp_table[m][5], 32.0f);                   // never lowered below freezing
            EXPECT_GE(g.calc_f32[calc_row::heater_cost(m)], 0.0f);  // a heater never costs less than nothing
        }
        if (HasFailure()) FAIL() << "first failing run: " << run;
    }
}

TEST_F(EngineTest, ABadValueIsReportedAndTheProgramGoesOn) {
    ASSERT_TRUE(engine::calc_all());
    g.pool_area = std::numeric_limits<float>::quiet_NaN();
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, " Calc error");
    EXPECT_TRUE(
        std::regex_match(script.shown()[0].text, std::regex("Error 6 in line [0-9]+\r\nCheck the data inputs \\(1\\)")))
        << script.shown()[0].text;
    // Results cleared, inputs kept.
    EXPECT_EQ(g.combo_idx, 0);
    EXPECT_EQ(g.tot_hp, Currency{});
    for (int r = 0; r <= 100; ++r) EXPECT_EQ(g.calc_f32[r], 0.0f);
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(g.temp_table[m][5], g.temp_table[m][6]);

    // Corrected, the next calculation works.
    g.pool_area = 450;
    EXPECT_TRUE(engine::calc_all());
    EXPECT_GT(g.combo_idx, 0);

    // Failures in the later stages carry their stage and the routine that ran them.
    g.fuel_type = HT_GAS;
    g.heater_eff = std::numeric_limits<float>::infinity();
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    g.heater_eff = 80;
    g.price_rise[HT_HEATPUMP] = 1e30f;  // escalates beyond any currency
    script.answer(ui::vbOK);
    EXPECT_FALSE(engine::calc_all());
    EXPECT_EQ(g.tot_hp, Currency{});
    // What Pbcalc and Yrcalc had filled before the failure is cleared too.
    const auto later = later_results();
    EXPECT_EQ(std::count(later.begin(), later.end(), 0), static_cast<std::ptrdiff_t>(later.size()));
    EXPECT_TRUE(g.proj_save.empty());
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[1].title, " Calc error");  // the month costs, Calc's last stage
    EXPECT_NE(script.shown()[1].text.find("Check the data inputs (8)"), std::string::npos);
    EXPECT_EQ(script.shown()[2].title, " Yrcalc error");
    EXPECT_NE(script.shown()[2].text.find("Check the data inputs (10)"), std::string::npos);
}

TEST_F(EngineTest, EntryPointsUseTheDisplayHooksWhenSet) {
    run_calc();  // no window: nothing to show, nothing breaks
    clear_results();
    show_ambient();
    EXPECT_GT(g.combo_idx, 0);

    int shown = 0, cleared = 0, ambient = 0;
    windows().clear_results = [&] { ++cleared; };
    windows().show_ambient = [&] { ++ambient; };
    windows().show_results = [&] {
        ++shown;
        EXPECT_GT(g.need_total, 0);  // the results are in when they are shown
    };
    g.combo_idx = 0;
    run_calc();
    clear_results();
    show_ambient();
    EXPECT_EQ(std::tuple(shown, cleared, ambient), std::tuple(1, 1, 1));

    windows() = WindowRegistry{};
    windows().show_results = [] { throw std::runtime_error("window gone"); };
    script.answer(ui::vbOK);
    EXPECT_NO_THROW(run_calc());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, " run_calc error");
    EXPECT_NE(script.shown()[0].text.find("Check the data inputs (11)"), std::string::npos);
}

}  // namespace
