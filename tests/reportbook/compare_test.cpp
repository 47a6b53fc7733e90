// The competitor comparison's computation: every system's own figures, the
// scratch file, competitors that cannot be read, the capacity flags, and the
// user's own system after a report or a comparison.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/records.h"
#include "core/recfile.h"
#include "reportbook/lp.h"
#include "reportbook/pumpchk.h"
#include "reportbook/user_system.h"
#include "tests/reportbook/report_fixture.h"
#include "tests/support/expected.h"

namespace rbtest {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The results a calculation leaves and the chosen model's points and prices.
auto results(const DataModel& m) {
    return std::tie(m.combo_idx, m.temp_table, m.hrs_flag, m.month_need, m.loss_evap, m.loss_conv, m.month_cop,
                    m.backup_month, m.month_load, m.calc_f32, m.need_total, m.cop_avg, m.heater_yr_cost,
                    m.heater_energy, m.heater_cum_cy, m.heater_year_cy, m.tot_hp, m.tot_heater, m.tot_saving,
                    m.equip_cost, m.invest_cy, m.invest_f32, m.payback_f32, m.year_saving, m.year_tab_hp,
                    m.year_tab_fuel, m.year_tab_backup, m.proj_save, m.hp_rh, m.hp_cop, m.hp_btu, m.hp_wtemp,
                    m.model_price, m.model_txt1, m.model_txt2, m.model_txt3);
}
void expect_same_results(const DataModel& a, const DataModel& b) { EXPECT_TRUE(results(a) == results(b)); }

TEST_F(ReportTest, PumpchkRecordsFollowTheFileLayout) {
    CompareResult r;
    r.brand = "Brisalto";
    r.equipment = "2 model BR 35";
    for (int m = 1; m <= 12; ++m) {
        r.water_temp[m] = 80.0f + m;
        r.cop[m] = 3.0f + m / 10.0f;
        r.op_cost[m] = 100.25f * m;
        r.output[m] = 40000.0f + m;
        r.hours[m] = static_cast<i16>(m);
        r.backup_cost[m] = 7.5f * m;
    }
    for (int y = 1; y <= 5; ++y) r.year_cost[y] = 1000.0f * y;
    r.year_save[1] = 16542.5f;
    r.save_year1 = 2936.03f;
    r.equip_cost = 7800;
    r.payback = 2.7f;
    r.roi = -37.6f;

    // Brand (39), equipment (25), then singles low byte first: water
    // temperatures, C.O.P.s, costs, outputs by month, hours (16-bit), backup
    // costs, five years' costs, the first year's and five years' saving,
    // equipment cost, payback, return: 384 bytes, compared whole.
    const std::string b = pumpchk::pack(r);
    std::string hex;
    for (std::size_t i = 0; i < b.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x%c", static_cast<unsigned char>(b[i]), i % 16 == 15 ? '\n' : ' ');
        hex += byte;
    }
    EXPECT_EQ("", testsupport::diff_text_with_expected(hex, "reportbook/expected/pumpchk_record.txt"));
    const CompareResult back = pumpchk::unpack(b);
    EXPECT_EQ(pumpchk::pack(back), b);
    EXPECT_EQ(pumpchk::unpack(b.substr(0, 100)).roi, 0.0f);  // short: the rest reads as 0
}

// Each row is its own system: computed through the engine and every cost
// stage, its monthly C.O.P. and output, its own costs, hours, savings,
// payback and return; all four go to Pumpchk.dat and come back.
TEST_F(ReportTest, EverySystemCarriesItsOwnFiguresAndRecord) {
    pool_with_gas();
    three_competitors();
    ASSERT_TRUE(engine::calc_all());
    const DataModel fresh = g;

    const auto systems = compet1::compute_systems(compet1::UserSystem::save());
    ASSERT_EQ(systems, (std::vector<int>{1, 2, 3, 4}));

    const CompareResult& own = g.cmp_res[1];
    EXPECT_EQ(vb::Trim(own.brand), "Kestrolin");
    EXPECT_EQ(vb::Trim(own.equipment), "2 model HX 520");
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(own.cop[m], fresh.month_cop[m]) << m;
        EXPECT_EQ(own.output[m], static_cast<float>(fresh.month_load[m][1])) << m;
        EXPECT_EQ(own.op_cost[m], fresh.calc_f32[calc_row::hp_cost(m)]) << m;
    }
    EXPECT_EQ(cy(own.save_year1), fresh.tot_saving);
    EXPECT_EQ(cy(own.equip_cost), fresh.equip_cost);
    EXPECT_EQ(own.payback, fresh.payback_f32[HT_GAS]);
    EXPECT_FLOAT_EQ(own.roi, fresh.invest_f32[HT_GAS] * 100.0f);

    for (int k = 2; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const CompareResult& r = g.cmp_res[k];
        EXPECT_EQ(vb::Trim(r.brand), g.comp_names[k - 1]);
        EXPECT_NE(r.year_cost[1], own.year_cost[1]);
        EXPECT_NE(r.save_year1, own.save_year1);
        EXPECT_NE(r.year_save[1], own.year_save[1]);
        EXPECT_NE(r.payback, own.payback);
        EXPECT_NE(r.roi, own.roi);
        EXPECT_NE(r.hours, own.hours);
        EXPECT_NE(r.cop[1], own.cop[1]);
        EXPECT_GT(r.cop[1], 1.0f);
        EXPECT_LT(r.cop[1], 8.0f);
        EXPECT_GT(r.output[1], 10000.0f);  // a month's output, not a rating point
        // Its saving is that of its own costs: the heater alone less its heat pump.
        EXPECT_NEAR(r.save_year1 + r.year_cost[1], own.save_year1 + own.year_cost[1], 0.02);
    }
    EXPECT_EQ(vb::Trim(g.cmp_res[2].equipment), "2 model BR 35");

    const std::string file = slurp(path("Pumpchk.dat"));
    ASSERT_EQ(file.size(), 4u * 384);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(file.substr((k - 1) * 384, 384), pumpchk::pack(g.cmp_res[k])) << k;
}

// A scratch file far larger than any comparison (a sparse file here) is
// not read into memory: no results, as from a file that cannot be read.
TEST_F(ReportTest, AComparisonFileFarTooLargeIsNotRead) {
    std::ofstream(path("Pumpchk.dat"));
    std::filesystem::resize_file(path("Pumpchk.dat"), std::uint64_t{pumpchk::kRecLen} * 100001);
    EXPECT_TRUE(pumpchk::read(path("Pumpchk.dat")).empty());
}

// Only the named competitors are run and printed, in slot order; with none
// named the section shows the chosen system alone.
TEST_F(ReportTest, OnlyNamedCompetitorsAreCompared) {
    pool_with_gas();
    g.do_compare = -1;
    g.comp_names[2] = "Corvane Pool";
    compet1::compare();
    EXPECT_TRUE(has(lines(), "1 system is used for comparison"));
    EXPECT_TRUE(has(lines(), "Brand     :  Corvane Pool"));
    EXPECT_FALSE(has(lines(), "Brand     :  Brisalto"));
    EXPECT_EQ(slurp(path("Pumpchk.dat")).size(), 2u * 384);
    EXPECT_EQ(vb::Trim(pumpchk::read(path("Pumpchk.dat"))[1].brand), "Corvane Pool");
    prn::printer().KillDoc();

    g.comp_names[2].clear();
    compet1::compare();
    EXPECT_TRUE(has(lines(), "used for comparison"));
    EXPECT_EQ(slurp(path("Pumpchk.dat")).size(), 384u);
    prn::printer().KillDoc();
}

// A competitor whose file is missing or empty is said and left out: the
// file is not created, the data disk is not touched, the others go on.
TEST_F(ReportTest, AnUnreadableCompetitorIsSaidAndLeftOut) {
    pool_with_gas();
    three_competitors();
    fs::remove(path("PumpHP2.dat"));
    { std::ofstream(path("PumpHP3.dat"), std::ios::trunc); }
    fs::create_directories(path("A"));
    { std::ofstream(path("A/pump.dat2")) << "a diskette file"; }
    script.answer(ui::vbOK).answer(ui::vbOK);

    const auto systems = compet1::compute_systems(compet1::UserSystem::save());
    EXPECT_EQ(systems, (std::vector<int>{1, 2}));
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, "Bad competitor #2 heat pump data file");
    EXPECT_EQ(script.shown()[1].text, "Bad competitor #3 heat pump data file");
    EXPECT_EQ(script.shown()[1].title, "Update file");
    EXPECT_FALSE(fs::exists(path("PumpHP2.dat")));
    EXPECT_EQ(fs::file_size(path("PumpHP3.dat")), 0u);
    EXPECT_EQ(slurp(path("Pumpchk.dat")).size(), 2u * 384);
}

// The scratch file cannot be written: said (a full disk as "Disk is full"),
// and the comparison goes on from the records in memory.
TEST_F(ReportTest, AScratchFileThatCannotBeWrittenIsSaidAndPassedOver) {
    pool_with_gas();
    three_competitors();
    struct Case {
        rec::Step step;
        int err;
        const char* title;
    };
    static Case current{};
    for (const Case c :
         {Case{rec::Step::Write, ENOSPC, "Sorry"}, Case{rec::Step::Rename, EACCES, "Error in compare"}}) {
        current = c;
        rec::setFaultHook([](rec::Step step, const std::string& p) {
            return step == current.step && p.find("Pumpchk.dat") != std::string::npos ? current.err : 0;
        });
        script.clear();
        script.answer(ui::vbOK);
        const auto systems = compet1::compute_systems(compet1::UserSystem::save());
        rec::setFaultHook(nullptr);
        EXPECT_EQ(systems.size(), 4u);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, c.title);
        if (c.err == ENOSPC) {
            EXPECT_EQ(script.shown()[0].text, "Disk is full");
        }
        EXPECT_FALSE(fs::exists(path("Pumpchk.dat")));
        EXPECT_EQ(vb::Trim(g.cmp_res[4].brand), "Tessaric");
    }
}

// The capacity flags belong to this run only; a competitor whose pumps
// cannot hold the water is flagged, the others are not.
TEST_F(ReportTest, CapacityFlagsAreThoseOfThisRun) {
    pool_with_gas();
    three_competitors();
    compet1::no_capacity = {0, 1, 1, 1, 1};
    const compet1::UserSystem user = compet1::UserSystem::save();
    compet1::compute_systems(user);
    EXPECT_EQ(compet1::no_capacity, (arr<i16, 4>{0, 0, 0, 0, 0}));

    // Competitor 2's pumps barely heat at all.
    CompetitorPump weak;
    ASSERT_TRUE(records::readCompetitorFile(path("PumpHP2.dat"), weak));
    for (int p = 1; p <= 24; ++p) weak.btu[p] = 1;
    ASSERT_TRUE(records::writeCompetitorFile(path("PumpHP2.dat"), weak));
    g.comp_names[3].clear();
    compet1::compute_systems(user);
    EXPECT_EQ(compet1::no_capacity, (arr<i16, 4>{0, 0, 1, 0, 0}));
    user.restore();  // the caller's part after compute_systems

    // Only when the chosen system lacks capacity too is it said, naming the
    // competitors that lack it as well.
    auto note = [] {
        std::vector<std::string> v = lines();
        prn::printer().KillDoc();
        v.erase(v.begin(), std::find_if(v.begin(), v.end(), [](const std::string& l) {
                    return l.find("Unfortunately") != std::string::npos;
                }));
        v.resize(std::min<std::size_t>(v.size(), 3));
        return v;
    };
    compet1::compare();
    EXPECT_TRUE(note().empty());
    city("Chicago");  // winter water the heat pumps cannot hold
    heat(1, 12, 82);
    compet1::compare();
    EXPECT_EQ(compet1::no_capacity[4], 1);
    EXPECT_EQ(note(), (std::vector<std::string>{"Unfortunately the", "Brisalto", "Corvane Pool"}));
    g.comp_names[1].clear();
    g.comp_names[2].clear();
    compet1::compare();
    EXPECT_EQ(note(), (std::vector<std::string>{"Unfortunately the",
                                                "system lacks the capacity required to maintain water temperatures.",
                                                "A larger system will result in an increase in equipment costs,"}));
}

// After the report book, with or without the comparison, the data model
// holds exactly what a fresh calculation of the user's project gives.
TEST_F(ReportTest, TheUsersSystemIsRestoredAfterTheReport) {
    for (int project = 1; project <= 3; ++project) {
        SCOPED_TRACE(project);
        if (project == 1) pool_with_gas();
        if (project == 2) metric_spa_with_backup();
        if (project == 3) pool_without_heater();
        if (project != 3) three_competitors();
        ASSERT_TRUE(engine::calc_all());
        const DataModel fresh = g;
        prt1::The_Print();
        expect_same_results(g, fresh);

        // The comparison alone, too.
        compet1::compare();
        expect_same_results(g, fresh);
        prn::printer().KillDoc();
    }
}

// A printer fault in the comparison: Retry goes on; Cancel ends the
// comparison there, and the user's system is back either way.
TEST_F(ReportTest, APrinterFaultInTheComparisonRetriesOrEndsIt) {
    pool_with_gas();
    three_competitors();
    ASSERT_TRUE(engine::calc_all());
    const DataModel fresh = g;

    cap.failNext(25, 2);
    script.answer(ui::vbRetry).answer(ui::vbRetry);
    compet1::compare();
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, "Printer is not responding.");
    EXPECT_EQ(script.shown()[0].title, "Error 25");
    EXPECT_GT(prn::printer().PageNumber(), 3);
    expect_same_results(g, fresh);
    prn::printer().KillDoc();

    script.clear();
    cap.failNext(25);
    script.answer(ui::vbCancel);
    compet1::compare();
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_FALSE(prn::printer().DocumentOpen());
    expect_same_results(g, fresh);
}

// A failure anywhere abandons the whole document (nothing half printed
// reaches the printer), restores the user's system and keeps the program.
TEST_F(ReportTest, AFailureAbandonsTheDocumentAndKeepsTheProgram) {
    pool_with_gas();
    three_competitors();
    ASSERT_TRUE(engine::calc_all());
    const DataModel fresh = g;

    prn::printer().Print({"a page already begun"});
    cap.failNext(57);
    script.answer(ui::vbOK);
    EXPECT_NO_THROW(prt1::The_Print());
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Page1 error");
    EXPECT_EQ(script.shown()[0].text, ui::ErrorText(57) + " 57 in  1");
    EXPECT_TRUE(cap.documents().empty());
    EXPECT_EQ(cap.killed(), 1);
    EXPECT_FALSE(prn::printer().DocumentOpen());
    expect_same_results(g, fresh);

    // Device fault in Table 4: OK tries again, Cancel gives the report up.
    for (int answer : {ui::vbOK, ui::vbCancel}) {
        script.clear();
        ASSERT_TRUE(engine::Calc());
        prn::printer().Print({"open"});
        cap.failNext(25);
        script.answer(answer);
        if (answer == ui::vbOK) {
            prt1::table4_calc();
            EXPECT_EQ(prn::printer().document().pages[0].lines.size(), 13u);
        } else {
            EXPECT_THROW(prt1::table4_calc(), rb::Abandon);
        }
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].text, "Check the printer");
        EXPECT_EQ(script.shown()[0].title, "Device fault");
        prn::printer().KillDoc();
    }
}

}  // namespace
}  // namespace rbtest
