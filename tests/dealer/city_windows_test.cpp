// The weather-city list window and the record editor, driven through their
// controls; location.dat is read back after every path that writes it.

#include "dealer/ui/filldata.h"
#include "dealer/ui/setdata.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

class CityWindows : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ends = 0;
        static const std::function<void()> program_end = setdata_end_program();
        default_end = program_end;
        setdata_end_program() = [this] { ++ends; };
        windows().save_project = [this] { saved_project = !exists("defaulte.dat"); };
        write_cities({city("Miami", "FL", 1), city("Tampa", "fl", 2), city("Austin", "TX", 3),
                      city("Saint Petersburg By The Sea", "Russia", 4), city("Miami", "FL", 5),
                      city("Dallas", "TX", 6)});
        g.city_name = "Ocala";
        g.sel_state = "FL";
        g.area_group = 0;
        g.area_sel = 1;
        g.cities_changed = 0;
    }
    void TearDown() override {
        windows().save_project = nullptr;
        WindowTest::TearDown();
    }
    // Opens the list window as the settings menu does.
    setdata* open() {
        setdata* w = frm_setdata();
        w->Move(3150, 1400, 6945, 5400);
        EXPECT_TRUE(w->isLoaded());
        return w;
    }
    filldata* editor() { return frm_filldata(); }
    void choose(setdata* w, int region, int row) {
        w->Combo1->SetListIndex(region);
        w->List1[region]->setCurrentRow(row);
    }
    int ends = 0;
    bool saved_project = false;  // before the settings were written
    std::function<void()> default_end;
};

TEST_F(CityWindows, ListsByRegionWithoutTouchingTheProjectsCity) {
    setdata* w = open();
    EXPECT_EQ(items(w->List1[0]), (QStringList{"Miami", "Tampa", "Miami"}));
    EXPECT_EQ(items(w->List1[1]), (QStringList{"TX  Austin", "TX  Dallas"}));
    EXPECT_EQ(items(w->List1[2]), (QStringList{"Russia    Saint Petersburg By The Sea"}));
    EXPECT_TRUE(w->SSOption1[1]->isChecked());  // area_sel 1 shown
    EXPECT_EQ(w->Combo1->Text(), "Florida");

    w->Combo1->SetListIndex(2);
    EXPECT_EQ(g.area_group, 2);
    EXPECT_EQ(w->List1[2]->currentRow(), 0);  // the first city of the region is chosen
    ASSERT_NE(w->chosen(), nullptr);
    EXPECT_EQ(w->chosen()->record, 4);
    choose(w, 1, 1);
    EXPECT_EQ(w->chosen()->record, 6);
    EXPECT_EQ(g.city_name, "Ocala");  // browsing leaves the project's city alone
    EXPECT_EQ(g.sel_state, "FL");
    w->SSOption1[3]->click();
    EXPECT_EQ(g.area_sel, 3);
    EXPECT_TRUE(exists("defaulte.dat"));  // opening saves the settings
}

TEST_F(CityWindows, AddNewCityWithDummyValuesIsAppended) {
    setdata* w = open();
    const std::string before = read("location.dat");
    w->Text1->SetText("  Port  Charlotte ");
    w->SSCommand1->DoClick();
    filldata* f = editor();
    ASSERT_TRUE(f->isLoaded());
    EXPECT_TRUE(w->subWindow()->isHidden());
    EXPECT_EQ(f->Label23->text(), " 7");
    EXPECT_EQ(f->Label26->text().trimmed(), "Port  Charlotte");

    script->answer(ui::vbNo);
    f->SSCommand3->DoClick();
    EXPECT_EQ(f->Text1[5]->Text(), "0.00");
    script->answer(ui::vbYes);
    f->SSCommand3->DoClick();
    EXPECT_EQ(shown("About to overwrite values", "Are you sure you want to\rinsert dummy values? "), 2);
    f->SSCommand1->DoClick();  // "Save/Exit" with a blank state
    EXPECT_FALSE(f->isLoaded());

    const auto now = city_file();
    ASSERT_EQ(now.size(), 7u);
    EXPECT_EQ(read("location.dat").substr(0, before.size()), before);
    const CityRecord& r = now[6];
    EXPECT_EQ(label(r), "Port  Charlotte/Unknown");
    EXPECT_EQ(r.humidity[12], 80);
    EXPECT_EQ(r.sun[1], 180);
    EXPECT_EQ(r.oil_cost, 1);
    EXPECT_FLOAT_EQ(r.wind, 2.5f);
    EXPECT_EQ(g.cities_changed, 1);
    // The list window is back with the rebuilt lists.
    EXPECT_TRUE(!w->subWindow()->isHidden());
    EXPECT_EQ(items(w->List1[2]).last(), "Unknown   Port  Charlotte");
}

TEST_F(CityWindows, NewNameChecksAndCancelWritesNothing) {
    setdata* w = open();
    const std::string before = read("location.dat");
    w->Text1->SetText("abcdefghij klmnopqrstu");
    script->answer(ui::vbOK).answer(ui::vbOK);  // the two refusals below
    w->SSCommand1->DoClick();
    EXPECT_EQ(shown("File name is too long", "Maximum 20 characters."), 1);
    EXPECT_EQ(w->Text1->Text(), "");
    w->Text1->SetText("   ");
    w->SSCommand1->DoClick();
    EXPECT_EQ(shown("Missing name", "Enter a file name"), 1);

    // Named like two cities of the region: asked for each; Cancel stops.
    w->Text1->SetText("mi ami");
    script->answer(ui::vbCancel);
    w->SSCommand1->DoClick();
    EXPECT_EQ(shown("Continue?", "The city Miami in FL already exist"), 1);
    EXPECT_FALSE(existing_filldata() && existing_filldata()->isLoaded());
    w->Text1->SetText("Miami");
    script->answer(ui::vbOK).answer(ui::vbOK);
    w->SSCommand1->DoClick();
    filldata* f = editor();
    ASSERT_TRUE(f->isLoaded());
    typeIn(f->Text1[0], "55");
    f->SSCommand2->DoClick();  // "Cancel"
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(read("location.dat"), before);
    EXPECT_EQ(g.cities_changed, 0);
    EXPECT_TRUE(!w->subWindow()->isHidden());

    // A full list refuses another city.
    std::vector<CityRecord> many;
    for (int i = 0; i < 499; ++i) many.push_back(city("C" + std::to_string(i), "TX"));
    write_cities(many);
    w->loadlist3();
    w->Text1->SetText("One more");
    script->answer(ui::vbOK);
    w->SSCommand1->DoClick();
    EXPECT_EQ(shown("Error", "Too many files on record\r\nPlease remove cities before \r\nadding new cities."), 1);
    many.pop_back();
    write_cities(many);
    w->loadlist3();
    w->Text1->SetText("abcde fghij klmno pqrst");  // 20 characters without the blanks
    w->SSCommand1->DoClick();                      // 498: accepted
    EXPECT_TRUE(editor()->isLoaded());
    editor()->SSCommand2->DoClick();
}

TEST_F(CityWindows, EditInPlaceByRecordNumberAndEditorKeys) {
    setdata* w = open();
    const std::string before = read("location.dat");
    // A long name in region 2: found by its record, not by its cut text.
    choose(w, 2, 0);
    w->SSCommand2->DoClick();
    filldata* f = editor();
    ASSERT_TRUE(f->isLoaded());
    EXPECT_FALSE(f->SSCommand3->isVisibleTo(f));  // dummy values for new cities only
    EXPECT_EQ(f->Label23->text(), " 4");
    EXPECT_EQ(f->Text4[5]->Text(), "Russia");

    typeIn(f->Text1[0], "9");  // the first key replaces the box
    type(f->Text1[0], "5.5");
    EXPECT_EQ(f->Text1[0]->Text(), "95.5");
    script->answer(ui::vbOK);
    typeIn(f->Text4[0], "x");  // a letter in a price box
    EXPECT_EQ(shown("Please", "Numbers only"), 1);
    EXPECT_EQ(f->Text4[0]->Text(), "");
    type(f->Text4[0], "0.25");
    typeIn(f->Text2[3], "\b");  // backspace after focusing empties the box
    typeIn(f->Text3[2], "\x1b");
    typeIn(f->Text4[5],
           "ontario\x1b"
           "florida");  // any key in the state box; Esc empties it
    f->SSCommand1->DoClick();

    const auto now = city_file();
    ASSERT_EQ(now.size(), 6u);
    const std::string after = read("location.dat");
    EXPECT_EQ(after.substr(0, 3 * 228), before.substr(0, 3 * 228));
    EXPECT_EQ(after.substr(4 * 228), before.substr(4 * 228));
    EXPECT_EQ(label(now[3]), "Saint Petersburg By The Sea/FL");
    EXPECT_FLOAT_EQ(now[3].humidity[1], 95.5f);
    EXPECT_FLOAT_EQ(now[3].elec_cost, 0.25f);
    EXPECT_EQ(now[3].sun[4], 0);
    EXPECT_EQ(now[3].air_temp[3], 0);
    EXPECT_EQ(g.cities_changed, 0);  // no new city

    // Closed by the close box with a blank state: written blank.
    choose(w, 1, 0);
    w->SSCommand2->DoClick();
    f = editor();
    f->Text4[5]->SetText("");
    f->Unload();
    EXPECT_EQ(label(city_file()[2]), "Austin/");

    // Nothing chosen.
    w->List1[0]->setCurrentRow(-1);
    w->Combo1->SetListIndex(0);
    w->List1[0]->setCurrentRow(-1);
    script->answer(ui::vbOK);
    w->SSCommand2->DoClick();
    EXPECT_EQ(shown("No city selected", "Select a city first"), 1);
}

TEST_F(CityWindows, DeleteOneDeleteAllAndAFailedSave) {
    setdata* w = open();
    choose(w, 0, 2);  // the second Miami, record 5
    script->answer(ui::vbNo);
    w->SSCommand3->DoClick();
    EXPECT_EQ(city_file().size(), 6u);
    script->answer(ui::vbYes);
    w->SSCommand3->DoClick();
    EXPECT_EQ(shown("About to delete a city", "Are you sure you want to\rdelete the city Miami in FL?"), 2);
    auto now = city_file();
    ASSERT_EQ(now.size(), 5u);
    EXPECT_EQ(g.cities_changed, 1);  // the project window lists the cities afresh
    EXPECT_EQ(now[0].wind, 6);       // the first Miami stays
    EXPECT_EQ(label(now[4]), "Dallas/TX");
    EXPECT_EQ(items(w->List1[0]), (QStringList{"Miami", "Tampa"}));

    // The editor's save fails: nothing written, the typed values kept.
    choose(w, 1, 1);
    w->SSCommand2->DoClick();
    filldata* f = editor();
    const std::string before = read("location.dat");
    typeIn(f->Text1[0], "42");
    {
        FailStep fail(rec::Step::Write);
        script->answer(ui::vbOK);
        f->SSCommand1->DoClick();
        EXPECT_TRUE(fail.fired());
    }
    EXPECT_EQ(shown("Cities 5"), 1);
    EXPECT_TRUE(f->isLoaded());
    EXPECT_EQ(f->Text1[0]->Text(), "42");
    EXPECT_EQ(read("location.dat"), before);
    f->SSCommand1->DoClick();  // the fault gone, the save goes through
    EXPECT_FLOAT_EQ(city_file()[4].humidity[1], 42);

    script->answer(ui::vbNo);
    w->SSCommand5->DoClick();
    EXPECT_TRUE(exists("location.dat"));
    const std::string cities = read("location.dat");
    {
        // The cities are kept, then the delete fails: said, the copy undone,
        // and every city still listed as it is in the file.
        FailStep fail(rec::Step::Remove);
        script->answer(ui::vbYes).answer(ui::vbOK);
        w->SSCommand5->DoClick();
        EXPECT_TRUE(fail.fired());
    }
    EXPECT_EQ(shown("Warning", "Cannot delete " + path("location.dat") + ": "), 1);
    EXPECT_EQ(read("location.dat"), cities);
    EXPECT_FALSE(exists("location.bak"));
    EXPECT_EQ(items(w->List1[0]), (QStringList{"Miami", "Tampa"}));
    EXPECT_EQ(g.city_count, 5);
    script->answer(ui::vbYes);
    w->SSCommand5->DoClick();
    EXPECT_EQ(shown("Warning", "All cities will be erased.\r\n\r\nAre you sure you want to proceed?"), 3);
    EXPECT_FALSE(exists("location.dat"));
    EXPECT_EQ(read("location.bak"), cities);  // the erased cities kept
    for (auto* l : w->List1) EXPECT_EQ(l->count(), 0);
    EXPECT_EQ(g.city_count, 0);
    EXPECT_EQ(g.city_tab[1].city, vb::Space(39));
    w->loadlist3();  // the next rebuild finds an empty file
    EXPECT_TRUE(exists("location.dat"));
    EXPECT_EQ(read("location.dat").size(), 0u);
}

TEST_F(CityWindows, AFileOfMoreThanFiveHundredCitiesListsTheFirstFiveHundred) {
    std::vector<CityRecord> many;
    for (int i = 1; i <= 503; ++i) many.push_back(city("C" + std::to_string(i), "TX"));
    write_cities(many);
    script->answer(ui::vbOK);
    setdata* w = open();
    EXPECT_EQ(shown("Set Data loadlist3", "more than 500 cities"), 1);
    EXPECT_EQ(w->List1[1]->count(), 500);
    EXPECT_EQ(g.city_count, 500);
    w->loadlist3();  // said once per opening
    EXPECT_EQ(shown("Set Data loadlist3"), 1);
    // Deleting one keeps the records past 500.
    choose(w, 1, 0);
    script->answer(ui::vbYes);
    w->SSCommand3->DoClick();
    EXPECT_EQ(city_file().size(), 502u);
    EXPECT_EQ(label(city_file().back()), "C503/TX");
}

TEST_F(CityWindows, ClosingSavesTheEditorAndTheProjectAndEndsAtOnce) {
    setdata* w = open();
    choose(w, 1, 0);
    w->SSCommand2->DoClick();
    filldata* f = editor();
    typeIn(f->Text1[11], "12");
    std::remove(path("defaulte.dat").c_str());
    script->answer(ui::vbOK);
    w->SSCommand4->DoClick();  // "Save/Exit"
    EXPECT_FALSE(w->isLoaded());
    EXPECT_FALSE(f->isLoaded());
    EXPECT_EQ(shown("", "Please restart the program for changes to take effect"), 1);
    EXPECT_EQ(ends, 1);          // the end is asked for, once
    EXPECT_TRUE(saved_project);  // the open project first, into the settings written then
    EXPECT_TRUE(exists("defaulte.dat"));
    EXPECT_FLOAT_EQ(city_file()[2].humidity[12], 12);
    // The program ends at once: nothing asks "Do you want to leave?", whose
    // No would keep it running on the old city lists.
    bool asked = false;
    plat::MainWindow::instance()->onClose = [&] { return asked = true; };
    default_end();
    QCoreApplication::processEvents();
    plat::MainWindow::instance()->onClose = nullptr;
    EXPECT_FALSE(asked);
}

}  // namespace
