// "Copy Excel Data" with a project open: the project takes the imported
// cities at once, as the next start would, and a city the workbook lacks is
// said as at a start. A question that replaces or deletes the dealer's data
// answers No to a stray Enter.

#include <QTest>

#include "app/ui/backgrnd.h"
#include "dealer/ui/filldata.h"
#include "dealer/ui/setdata.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

class ImportProject : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        shipped = city_file();
        program_end = setdata_end_program();
        setdata_end_program() = [] {};  // the weather data window ends the program when it closes
    }
    void TearDown() override {
        WindowTest::TearDown();
        setdata_end_program() = program_end;
        // The next tests start without these windows (the project window
        // would answer their city lists).
        for (plat::Form* f : {existing_weathers(), static_cast<plat::Form*>(existing_setdata()),
                              static_cast<plat::Form*>(existing_filldata())})
            delete f;
    }
    // The shipped cities and one added by hand, which the workbook lacks.
    void dealers_cities() {
        std::vector<CityRecord> cities = shipped;
        cities.push_back(city("Hand Added", "FL", 1));
        write_cities(cities);
        load_locations();
    }
    // Every figure of the project window's results, the year's included.
    static std::string figures(const weathers* w) {
        QStringList out;
        for (int row = 1; row <= 13; ++row)
            for (int col = 0; col < weathers::kResultCols; ++col) out << w->result_text(row, weathers::ResultCol(col));
        return out.join(' ').toStdString();
    }
    std::vector<CityRecord> shipped;
    std::function<void()> program_end;
};

// The project on a city of the workbook keeps it with the workbook's
// humidity and sunlight; on a city it lacks, the project shows its group's
// first city and the dealer is told. Either way the figures are those the
// next start shows.
TEST_F(ImportProject, TheOpenProjectTakesTheImportedCitiesAsTheNextStartDoes) {
    const struct {
        const char* city;
        int told;  // "Weather city" boxes
    } rows[] = {{"Sarasota", 0}, {"Hand Added", 1}};
    backgrnd* bg = frm_backgrnd();
    bg->Load();
    for (const auto& row : rows) {
        dealers_cities();
        g.city_name = row.city;
        g.sel_state = "FL";
        g.area_group = 0;
        g.fuel_type = HT_GAS;  // the heater's own costs shown too
        weathers* w = open_input_window();
        ASSERT_EQ(g.city_name, row.city);
        const std::string before = figures(w);
        script->clear();
        script->answer(ui::vbYes).answer(ui::vbOK);
        if (row.told) script->answer(ui::vbOK);
        bg->Command1->DoClick();
        EXPECT_EQ(shown("Copy Excel Data", "cities were imported."), 1) << row.city;
        EXPECT_EQ(shown("Weather city",
                        "The project's city " + std::string(row.city) + ", FL is no longer in the weather city list."),
                  row.told)
            << row.city;
        const std::string now = figures(w);
        EXPECT_NE(now, before) << row.city;
        script->answer(ui::vbYes);  // "Do you want to leave?"
        ASSERT_TRUE(w->Unload());
        data.load_program_data();
        EXPECT_EQ(figures(open_input_window()), now) << row.city;
        EXPECT_EQ(shown("Weather city"), row.told) << row.city;
        script->answer(ui::vbYes);
        ASSERT_TRUE(w->Unload());
    }
}

// Enter on a question that replaces or deletes the dealer's cities presses
// No: after an import the "Copy Excel Data" button still has the focus, and
// a stray Enter there starts it again.
TEST_F(ImportProject, EnterOnAQuestionThatReplacesTheDealersDataAnswersNo) {
    backgrnd* bg = frm_backgrnd();
    bg->Show();
    script->answer(ui::vbYes).answer(ui::vbOK);
    bg->Command1->setFocus();
    QTest::keyClick(bg->Command1, Qt::Key_Return);
    ASSERT_EQ(shown("Copy Excel Data", "cities were imported."), 1);
    setdata* list = frm_setdata();
    const std::function<void()> asks[] = {
        [&] { QTest::keyClick(bg->Command1, Qt::Key_Return); },  // the import again
        [&] {
            g.city_count = 0;  // a start that found no cities: the data disk
            check_cities();
        },
        [&] {
            list->Move(3150, 1400, 6945, 5400);
            list->List1[g.area_group]->setCurrentRow(0);
            list->SSCommand3->DoClick();  // delete the city
        },
        [&] { list->SSCommand5->DoClick(); },  // "Delete Weather file"
        [&] {
            list->Text1->SetText("Tour town");
            list->SSCommand1->DoClick();            // a new city's editor
            frm_filldata()->SSCommand3->DoClick();  // dummy values over the typed ones
        },
    };
    for (const auto& ask : asks) {
        const std::string cities = read("location.dat");
        const size_t before = script->shown().size();
        script->enter();
        ask();
        ASSERT_EQ(script->shown().size(), before + 1);
        const ui::Shown& q = script->shown().back();
        EXPECT_EQ(q.style & 0x300, ui::vbDefaultButton2) << q.title;
        EXPECT_EQ(read("location.dat"), cities) << q.title;
    }
    EXPECT_NE(frm_filldata()->Text1[0]->Text(), "80.00");  // the months as they were
}

}  // namespace
