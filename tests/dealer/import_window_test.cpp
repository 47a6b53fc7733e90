// "Copy Excel Data" from the background window: the shipped sample read,
// asked, imported with the old city file kept as location.bak, and
// location.dat kept whole whenever anything fails.

#include <QLabel>
#include <optional>

#include "app/ui/backgrnd.h"
#include "dealer/ui/convert_cities.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

class ImportWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        write_cities({city("Hand Added", "FL", 1), city("Waco", "TX", 2)});
        load_locations();
        before = read("location.dat");
        sheet = read("hpcities.xls");  // the shipped sample, taken away until a test puts it back
        std::filesystem::remove(path("hpcities.xls"));
    }
    std::string before, sheet;
};

TEST_F(ImportWindow, TheBackgroundWindowsButtonReplacesEveryCityAfterYes) {
    write("hpcities.xls", sheet);
    backgrnd* bg = frm_backgrnd();
    bg->Load();
    QLabel* bar = bg->Label4;
    EXPECT_FALSE(bar->isVisibleTo(bar->parentWidget()));
    script->answer(ui::vbNo);
    bg->Command1->DoClick();
    EXPECT_EQ(shown("Copy Excel Data", "All cities of the weather-city file will be replaced"), 1);
    EXPECT_EQ(read("location.dat"), before);

    EXPECT_EQ(shown("Copy Excel Data", "by the 194 cities read from " + path("hpcities.xls") + "."), 1);
    EXPECT_EQ(shown("Copy Excel Data", "Cities added by hand are lost"), 1);

    script->answer(ui::vbYes).answer(ui::vbOK);
    bg->Command1->DoClick();
    EXPECT_EQ(shown("Copy Excel Data", "194 cities were imported."), 1);
    EXPECT_EQ(read("location.bak"), before);  // the replaced file kept
    const auto now = city_file();
    ASSERT_EQ(now.size(), 194u);
    EXPECT_EQ(label(now[0]), "Daytona Beach/FL");
    EXPECT_EQ(g.city_count, 194);
    EXPECT_EQ(records::pack(g.city_tab[194]), records::pack(now[193]));
    EXPECT_EQ(g.cities_changed, 1);
    EXPECT_EQ(bar->text(), "Done");
    EXPECT_TRUE(bar->isVisibleTo(bar->parentWidget()));
    EXPECT_EQ(script->busyDepth(), 0);  // the pointer is back
    EXPECT_EQ(copies_left(), std::vector<std::string>{});

    // A second import keeps the first one's cities too: the dealer's own
    // file moves on to location.bak1 rather than being replaced.
    const std::string imported = read("location.dat");
    script->answer(ui::vbYes).answer(ui::vbOK);
    bg->Command1->DoClick();
    EXPECT_EQ(shown("Copy Excel Data", "was kept as " + path("location.bak") + "."), 2);
    EXPECT_EQ(read("location.bak"), imported);
    EXPECT_EQ(read("location.bak1"), before);
}

TEST_F(ImportWindow, AnyFailureKeepsTheOldCityFile) {
    // No workbook anywhere.
    script->answer(ui::vbOK);
    convert_cities();
    EXPECT_EQ(shown("convert cities err", "File not found: hpcities.xls"), 1);

    // A damaged workbook on the first diskette: said before anything is asked.
    write("A/hpcities.xls", sheet.substr(0, 700));
    script->answer(ui::vbOK);
    convert_cities();
    EXPECT_EQ(shown("convert cities err"), 2);
    EXPECT_EQ(read("location.dat"), before);

    std::filesystem::remove_all(path("A"));

    // The replacement fails at its last step.
    write("hpcities.xls", sheet);
    {
        FailStep fail(rec::Step::Rename, 2);
        script->answer(ui::vbYes).answer(ui::vbOK);
        convert_cities();
        EXPECT_TRUE(fail.fired());
    }
    EXPECT_EQ(shown("convert cities err"), 3);
    EXPECT_EQ(read("location.dat"), before);
    EXPECT_FALSE(exists("locatio2.dat"));
    EXPECT_EQ(script->busyDepth(), 0);

    // With no city file to replace, none is said kept.
    std::filesystem::remove(path("location.dat"));
    script->answer(ui::vbYes).answer(ui::vbOK);
    convert_cities();
    EXPECT_EQ(shown("Copy Excel Data", "cities were imported."), 1);
    EXPECT_EQ(shown("Copy Excel Data", "kept as"), 0);
}

// Imports that fail (the disk full as the kept copy or the new file is
// written) leave every kept copy where it was; the same workbook imported
// again and again is kept once, so the dealer's own files stay.
TEST_F(ImportWindow, FailedAndRepeatedImportsKeepTheDealersOlderFiles) {
    write("hpcities.xls", sheet);
    write("location.bak", "older");
    for (int i = 0; i < 2 * rec::kKeptCopies; ++i) {
        // The copy's write fails, then the new file's; then none.
        const bool failing = i < rec::kKeptCopies;
        std::optional<FailStep> fail;
        if (failing) fail.emplace(rec::Step::Write, i == 0 ? 1 : 2);
        script->answer(ui::vbYes).answer(ui::vbOK);
        convert_cities();
        EXPECT_EQ(read("location.bak") == "older", failing) << i;
        EXPECT_EQ(read("location.dat") == before, failing) << i;
        EXPECT_EQ(copies_left(), std::vector<std::string>{}) << i;
    }
    EXPECT_EQ(shown("convert cities err"), rec::kKeptCopies);
    EXPECT_EQ(read("location.bak"), read("location.dat"));
    EXPECT_EQ(read("location.bak1") + read("location.bak2"), before + "older");
    EXPECT_FALSE(exists("location.bak3"));
}

}  // namespace
