// The Word printouts and the chart on the program's own templates and
// workbooks (the built data folder), filled by the office layer and read
// back from the filled file bookmark by bookmark and cell by cell before
// they would be printed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "engine/engine.h"
#include "printouts/office_link.h"
#include "printouts/printouts.h"
#include "tests/printouts/office_fakes.h"
#include "tests/printouts/printouts_fixture.h"

namespace fs = std::filesystem;

namespace {

using prtest::PrintoutTest;

// The program's word processor, except that printing reads every bookmark
// the printout wrote back from the filled document instead.
class ReadBackWord : public OfficeWord {
public:
    ReadBackWord(std::map<std::string, std::string>& out, const prtest::WordLog& names) : out_(out), names_(names) {}
    void PrintOut() override {
        for (const auto& [name, text] : names_.inserts) out_[name] = w_.ActiveDocument().textAt(name);
        pictures_ = w_.ActiveDocument().pictureCount();
    }
    static inline int pictures_ = 0;

private:
    std::map<std::string, std::string>& out_;
    const prtest::WordLog& names_;
};

// The program's spreadsheet, reading every cell written back instead of
// printing.
class ReadBackExcel : public OfficeExcel {
public:
    ReadBackExcel(std::map<std::string, std::string>& out, const prtest::ExcelLog& names) : out_(out), names_(names) {}
    void PrintOut() override {
        for (const std::string& a : names_.order) {
            x_.Range(a).Select();
            out_[a] = x_.ActiveCell().FormulaR1C1();
        }
        area_ = x_.ActiveSheet().PageSetup().PrintArea();
        pictures_ = x_.pictureCount();
    }
    static inline std::string area_;
    static inline int pictures_ = 0;

private:
    std::map<std::string, std::string>& out_;
    const prtest::ExcelLog& names_;
};

class OfficeDocsTest : public PrintoutTest {
protected:
    void SetUp() override {
        PrintoutTest::SetUp();
        const char* bin = std::getenv("HEATER_BIN_DIR");
        dir = bin ? bin : "../bin";
        if (!fs::exists(dir + "/WordPrt1a.dotx")) GTEST_SKIP() << "no templates in " << dir;
    }
    void calculate(void (*project)()) {
        project();
        g.data_dir = dir + "/";
        ASSERT_TRUE(engine::calc_all());
    }
    // Runs the printout once with the recorder (what was written where),
    // then on the real templates, read back.
    void both(const std::function<void()>& printout) {
        {
            prtest::FakeOffice fake;
            printout();
            written = fake.word;
            cells = fake.excel;
        }
        read.clear();
        office_app::word_factory() = [this] {
            return std::unique_ptr<office_app::Word>(new ReadBackWord(read, written));
        };
        office_app::excel_factory() = [this] {
            return std::unique_ptr<office_app::Excel>(new ReadBackExcel(read, cells));
        };
        printout();
    }
    void TearDown() override {
        office_app::word_factory() = saved_word;
        office_app::excel_factory() = saved_excel;
        PrintoutTest::TearDown();
    }
    std::string dir;
    prtest::WordLog written;
    prtest::ExcelLog cells;
    std::map<std::string, std::string> read;
    prtest::FixedDate date;
    office_app::WordFactory saved_word = office_app::word_factory();
    office_app::ExcelFactory saved_excel = office_app::excel_factory();
};

TEST_F(OfficeDocsTest, EveryBookmarkOfTheAuditAndTheSummaryReadsBack) {
    for (void (*project)() :
         {prtest::pool_with_gas_and_cover, prtest::metric_spa_with_backup, prtest::pool_no_heater}) {
        for (PrintChoice choice : {kChoiceOneCoverage, kChoiceSummary}) {
            calculate(project);
            g.prt_choice = choice;
            both([choice] {
                if (choice == kChoiceOneCoverage) prt_word();
                else prt_word_summary();
            });
            ASSERT_FALSE(written.inserts.empty());
            for (const auto& [name, text] : written.inserts) EXPECT_EQ(read[name], written.at(name)) << name;
            EXPECT_EQ(ReadBackWord::pictures_, 1);
        }
    }
}

TEST_F(OfficeDocsTest, EveryCellOfTheChartReadsBack) {
    calculate(prtest::pool_with_gas_and_cover);
    both([] { prt_graph(); });
    ASSERT_FALSE(cells.order.empty());
    // The last value written to each cell ("G65" is cleared, "g65" later
    // labelled: one cell), against what the workbook holds.
    std::map<std::string, std::string> last;
    for (const std::string& a : cells.order) last[vb::UCase(a)] = a;
    for (const auto& [cell, a] : last) {
        const office_app::CellValue& v = cells.cells.at(a);
        if (const double* d = std::get_if<double>(&v))
            EXPECT_EQ(static_cast<float>(std::stod(read[a])), static_cast<float>(*d)) << a;
        else EXPECT_EQ(read[a], std::get<std::string>(v)) << a;
    }
    EXPECT_EQ(vb::UCase(ReadBackExcel::area_), "$C$12:$O$68");
    EXPECT_EQ(ReadBackExcel::pictures_, 2);
}

}  // namespace
