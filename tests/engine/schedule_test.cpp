// A schedule that holds: heating days after days off, hours per heating
// day, the backed-up system and the existing heater's output, nothing to
// heat.
#include <algorithm>
#include <cmath>

#include "tests/engine/engine_fixture.h"

namespace {

using namespace samples;

double heating_days(int m) { return g.month_days[m] * g.heat_days / 7.0; }

// The need of one ordinary heating day of each month (BTU), from the same
// project heated every day.
arr<double, 12> day_loss() {
    const i16 days = g.heat_days;
    g.heat_days = 7;
    EXPECT_TRUE(engine::Calc());
    arr<double, 12> q{};
    for (int m = 1; m <= 12; ++m) q[m] = g.month_need[m] / g.month_days[m];
    g.heat_days = days;
    return q;
}

// Share of the season's need (months the pump can run in) that `units`
// units cover running 24 h on each heating day.
double pump_share(int units) {
    double season = 0, covered = 0;
    for (int m = 1; m <= 12; ++m) {
        if (g.month_load[m][1] <= 0) continue;
        const double one = g.month_load[m][1] / g.combo_idx;
        season += g.month_need[m];
        covered += std::min(g.month_need[m], units * one * 24 * heating_days(m));
    }
    return covered / season;
}

TEST_F(EngineTest, FirstHeatingDayAfterDaysOffMakesUpTheWholeLoss) {
    // The smallest system that holds every month: every day for 12 hours,
    // and a Daytona Beach-like pool heated on few days for a few hours.
    const struct { int days, hours; } schedules[] = {{7, 12}, {1, 8}, {3, 10}, {5, 6}, {6, 24}};
    for (const auto& s : schedules) {
        SCOPED_TRACE(testing::Message() << s.days << " days x " << s.hours << " h");
        SetUp();
        g.heat_days = static_cast<i16>(s.days);
        g.heat_hours = static_cast<i16>(s.hours);
        const arr<double, 12> q = day_loss();
        ASSERT_TRUE(engine::Calc());
        const int units = g.combo_idx;
        ASSERT_GT(units, 1);
        ASSERT_LT(units, 37);
        for (int i = 1; i <= units; ++i) EXPECT_EQ(g.combo_n1[i], i);
        EXPECT_EQ(g.temp_lowered, 0);
        bool one_fewer_holds = true;
        for (int m = 1; m <= 12; ++m) {
            // The month's need is d ordinary days and one reheat a week.
            const double reheat = g.month_need[m] * 7 / g.month_days[m] - s.days * q[m];
            EXPECT_GE(reheat, -1e-9 * q[m]) << m;
            const double out = g.month_load[m][1];
            EXPECT_GE(out * s.hours * (1 + 1e-9), q[m] + reheat) << m;
            if ((units - 1) * out / units * s.hours < q[m] + reheat) one_fewer_holds = false;
            // Hours per heating day: the need over the heating days, never
            // more than the heating hours.
            const float h = g.calc_f32[calc_row::hours(m)];
            EXPECT_LE(h, s.hours + 1e-4f) << m;
            EXPECT_NEAR(h, g.month_need[m] / (heating_days(m) * out), 1e-3) << m;
        }
        EXPECT_FALSE(one_fewer_holds);
    }
}

TEST_F(EngineTest, BackedUpSystemCoversEightyPercentWithFewerHours) {
    set_climate(kChicago);
    g.fuel_type = HT_GAS;
    g.heater_eff = 80;
    g.backup_on = 1;
    for (const bool reduce : {false, true}) {
        for (const auto& [days, hours] : {std::pair{7, 10}, std::pair{4, 12}}) {
            SCOPED_TRACE(testing::Message() << days << " x " << hours << " h, floor returns " << reduce);
            g.opt_reduce = reduce ? 1 : 0;
            g.heat_days = static_cast<i16>(days);
            g.heat_hours = static_cast<i16>(hours);
            ASSERT_TRUE(engine::calc_all());
            const int units = g.combo_idx;
            ASSERT_GT(units, 0);
            EXPECT_GE(pump_share(units), 0.8 - 1e-9);
            if (units > 1) {
                EXPECT_LT(pump_share(units - 1), 0.8);
            }
            const double rf = reduce ? 0.8 : 1.0;
            int backup_months = 0;
            for (int m = 1; m <= 12; ++m) {
                const double pump = g.month_load[m][1] * 24 * heating_days(m);
                const double need = g.month_need[m];
                // What the pump leaves is the heater's; never a negative cost.
                EXPECT_EQ(g.backup_month[m] == 1, pump < need) << m;
                EXPECT_NEAR(g.month_load[m][2] * 24 * heating_days(m), std::max(0.0, need - pump), 1e-3) << m;
                EXPECT_GE(g.calc_f32[calc_row::heater_cost(m)], 0) << m;
                EXPECT_LE(g.calc_f32[calc_row::hours(m)], 24.0f) << m;
                // The saving is the heater's own cost less what the system costs.
                EXPECT_NEAR(g.heater_alone_cy[m].toDouble() - g.calc_f32[calc_row::hp_cost(m)] -
                                g.calc_f32[calc_row::heater_cost(m)],
                            g.calc_f32[calc_row::saving(m)], 0.015)
                    << m;
                if (g.backup_month[m] == 1) {
                    ++backup_months;
                    if (g.month_cop[m] > 0) {
                        EXPECT_FLOAT_EQ(g.calc_f32[calc_row::hours(m)], 24.0f) << m;  // around the clock
                    }
                    const double gas = (need - (g.month_cop[m] > 0 ? pump : 0)) / 80000.0 * 1.11 * rf;
                    EXPECT_NEAR(g.calc_f32[calc_row::heater_cost(m)], gas, 0.011) << m;
                }
            }
            EXPECT_GT(backup_months, 0);
            EXPECT_NEAR(g.tot_heater_alone.toDouble(), (g.tot_hp + g.tot_heater + g.tot_saving).toDouble(), 0.13);
            EXPECT_EQ(g.temp_lowered, 0);  // an output not given covers the rest
        }
    }
}

// Chicago, backed up by a gas heater: its output limits what it delivers.
TEST_F(EngineTest, TheHeatersOutputLimitsTheBackup) {
    set_climate(kChicago);
    g.fuel_type = HT_GAS;
    g.backup_on = 1;
    auto january = [](double output) {
        g.heater_btu = output;
        EXPECT_TRUE(engine::calc_all());
        return g.temp_table[1][5];
    };
    // Output not given, or plenty: January (the pump cannot run) held.
    EXPECT_EQ(january(0), 82.0f);
    EXPECT_EQ(g.temp_lowered, 0);
    const Currency heater_not_given = g.tot_heater;
    EXPECT_EQ(january(5000000), 82.0f);
    EXPECT_EQ(g.tot_heater, heater_not_given);
    // A small heater: the cold months come down by whole degrees and are
    // flagged; a larger one holds them warmer.
    const float small = january(50000);
    EXPECT_LT(small, 82.0f);
    EXPECT_EQ(small, std::floor(small));
    EXPECT_EQ(g.hrs_flag[1], 1);
    EXPECT_EQ(g.month_off[1], 0);
    EXPECT_GT(g.temp_lowered, 0);
    EXPECT_LE(g.month_need[1], 50000.0 * 24 * 31 * (1 + 1e-9));
    EXPECT_LT(g.tot_heater, heater_not_given);
    EXPECT_GT(january(150000), small);
    // A heater of next to nothing cannot keep the water above its own
    // temperature: the month is off, nothing spent.
    january(10);
    EXPECT_EQ(g.month_off[1], 1);
    EXPECT_EQ(g.month_need[1], 0);
    EXPECT_EQ(g.calc_f32[calc_row::hp_cost(1)], 0);
    EXPECT_EQ(g.calc_f32[calc_row::heater_cost(1)], 0);
    EXPECT_EQ(g.calc_f32[calc_row::hours(1)], 0);
}

TEST_F(EngineTest, NothingToHeatNeedsNoHeatPump) {
    const struct {
        const char* what;
        void (*set)();
    } cases[] = {
        {"no month ticked", [] { heat_months(1, 0, 82); }},
        {"40 F wanted in Orlando", [] { heat_months(1, 12, 40); }},
        {"no surface", [] { g.pool_area = 0; }},
        {"a spa indoors, no month ticked",
         [] {
             heat_months(1, 0, 82);
             g.pool_type = "Spa";
             g.pool_site = "In";
         }},
    };
    for (const auto& c : cases) {
        SetUp();
        g.fuel_type = HT_GAS;
        g.model_price[2] = cy(4000);
        c.set();
        ASSERT_TRUE(engine::calc_all()) << c.what;
        EXPECT_EQ(g.combo_idx, 0) << c.what;
        EXPECT_EQ(g.equip_cost, Currency{}) << c.what;
        EXPECT_EQ(g.tot_hp, Currency{}) << c.what;
        EXPECT_EQ(g.temp_lowered, 0) << c.what;
        EXPECT_EQ(g.need_total, 0) << c.what;
        EXPECT_EQ(g.payback_f32[HT_GAS], 0) << c.what;
        for (int r = calc_row::hp_cost(1); r <= calc_row::hours(12); ++r)
            EXPECT_EQ(g.calc_f32[r], 0) << c.what << " row " << r;
    }
}

}  // namespace
