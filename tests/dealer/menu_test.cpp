// The settings menu and the protocol of the windows it opens.
#include "tests/dealer/dealer_test.h"

#include <cstring>
#include <functional>

#include <QApplication>

#include "app/ui/backgrnd.h"
#include "app/ui/pass.h"
#include "dealer/ui/menu.h"
#include "dealer/ui/protocol.h"

using namespace dealertest;

class DealerWindows : public WindowTest {};

namespace {

// A settings window of the other half of the dealer area, or of the
// finance key data: records the flags it saw at its load and follows the
// menu protocol.
class ChildForm : public plat::Form {
public:
    explicit ChildForm(const char* name) : plat::Form(name) { keep_focus(this); }
    int from_menu_at_load = -1, units_at_load = -1, mode_at_load = -1, model_at_load = -1;
    std::vector<std::string>* log = nullptr;
    void Form_Load() override {
        from_menu_at_load = g.from_menu;
        units_at_load = g.units_from_menu;
        mode_at_load = g.pump_mode;
        model_at_load = g.cur_model;
        menu_child_loaded();
    }
    void Form_Deactivate() override { reclaim_focus(this); }
    void Form_Unload(int&) override {
        if (log) log->push_back(objectName().toStdString() + (g.menu_open ? " menu open" : " menu closed"));
        menu_child_unloaded();
    }
};

}  // namespace

class Menu : public DealerWindows {
protected:
    void SetUp() override {
        DealerWindows::SetUp();
        setdata = new ChildForm("setdata");
        setfin = new ChildForm("setfin");
        Showpump = new ChildForm("Showpump");
        windows().setdata = [this] { return static_cast<plat::Form*>(setdata); };
        windows().setfin = [this] { return static_cast<plat::Form*>(setfin); };
        windows().Showpump = [this] { return static_cast<plat::Form*>(Showpump); };
        background = frm_backgrnd();
        background->Show();
    }
    void TearDown() override {
        DealerWindows::TearDown();
        background->Unload();
        background->SetEnabled(true);
        for (ChildForm* f : {setdata, setfin, Showpump}) delete f;
    }
    menu* open() {
        script->answer(ui::vbOK);  // the backup question, first time only
        windows().menu()->Show();
        return frm_menu();
    }
    void choose(menu* m, int index) {
        m->Combo1->setCurrentIndex(index);
        emit m->Combo1->activated(index);
    }
    ChildForm *setdata = nullptr, *setfin = nullptr, *Showpump = nullptr;
    plat::Form* background = nullptr;
};

TEST_F(Menu, EntriesPlaceAndTheBackupQuestionOncePerRun) {
    menu* m = open();
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].text, "Did you backup all the data files\rbefore attempting to make changes?");
    EXPECT_EQ(script->shown()[0].title, "IMPORTANT");
    EXPECT_EQ(g.menu_open, 1);
    EXPECT_EQ(m->Combo1->currentText().toStdString(), " Menu" + std::string(19, ' '));
    ASSERT_EQ(m->Combo1->ListCount(), 8);
    const char* words[] = {" Company Name",     " Brand Name",        " Measurement System",  " Weather Data",
                           " Finance Key Data", " Heater Parameters", " Kestrolin HP output", " Output compensators"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(m->Combo1->List(i).toStdString(), words[i] + std::string((i == 6 ? 26 : 24) - strlen(words[i]), ' '));
    EXPECT_EQ(plat::px(m->Left()), plat::px(2180));
    EXPECT_FALSE(background->Enabled());
    m->Unload();
    EXPECT_EQ(g.menu_open, 0);
    EXPECT_TRUE(background->Enabled());
    m->Show();  // again in the same run: no question
    EXPECT_EQ(script->shown().size(), 1u);
}

TEST_F(Menu, EntriesSetTheirFlagsBeforeTheWindowLoads) {
    menu* m = open();
    g.from_menu = 0;
    choose(m, 4);  // finance key data: no from_menu
    EXPECT_TRUE(setfin->isLoaded());
    EXPECT_EQ(setfin->from_menu_at_load, 0);
    EXPECT_EQ(plat::px(setfin->Left()), plat::px(1800));
    EXPECT_FALSE(m->Enabled());
    EXPECT_EQ(m->list_color(), 0xC0C0C0u);
    setfin->Unload();
    EXPECT_TRUE(m->Enabled());
    EXPECT_EQ(m->list_color(), 0xFFFFFFu);
    g.menu_open = 1;
    windows().grey_menu(true);  // as the finance key data window asks while it is open
    EXPECT_FALSE(m->Enabled());
    EXPECT_EQ(m->list_color(), 0xC0C0C0u);
    windows().grey_menu(false);
    EXPECT_TRUE(m->Enabled());
    EXPECT_EQ(m->list_color(), 0xFFFFFFu);

    g.pump_mode = 3;
    g.cur_model = 5;
    choose(m, 6);  // performance tables: always the maker's file, first model
    EXPECT_EQ(Showpump->mode_at_load, 1);
    EXPECT_EQ(Showpump->model_at_load, 1);
    Showpump->Unload();

    choose(m, 0);  // company name: from_menu, and it disables the menu
    ASSERT_TRUE(windows().coname()->isLoaded());
    EXPECT_EQ(g.from_menu, 1);
    EXPECT_FALSE(m->Enabled());
    windows().coname()->Unload();
    EXPECT_EQ(g.from_menu, 0);
    EXPECT_TRUE(m->Enabled());

    choose(m, 2);  // measurement system: both flags, the dealer-access box shown
    ASSERT_TRUE(windows().setsize()->isLoaded());
    EXPECT_EQ(g.units_from_menu, 0);  // cleared by the window's load
    EXPECT_FALSE(windows().setsize()->findChild<plat::CheckBox*>()->isHidden());
    windows().setsize()->Unload();
}

TEST_F(Menu, KeepsTheFocusUntilAnEntryIsChosenAndNeverFightsOverIt) {
    plat::Form other("other");
    menu* m = open();
    other.ZOrder(0);
    EXPECT_TRUE(m->isActive());  // taken back
    choose(m, 3);
    ASSERT_TRUE(setdata->isActive());
    setfin->Show();  // a second window that keeps the focus (as the calculator does)
    EXPECT_TRUE(setfin->isActive());
    setdata->ZOrder(0);
    EXPECT_TRUE(setdata->isActive());
    other.ZOrder(0);  // a plain window: the one that had the focus takes it back
    EXPECT_TRUE(setdata->isActive());
    setfin->Unload();
    setdata->Unload();
    other.ZOrder(0);
    EXPECT_TRUE(other.isActive());  // after a choice the menu lets go
    other.Unload();
}

// When the window it opened closes, the menu comes in front again once what
// runs after that close is done (the project window's reload may bring the
// project window forward), but not over a window opened meanwhile that keeps
// the focus (the calculator).
TEST_F(Menu, InFrontAgainOnceItsWindowHasClosed) {
    plat::Form project("project"), calculator("calculator");
    keep_focus(&calculator);
    menu* m = open();
    const auto closeSetdata = [&] {
        choose(m, 3);
        setdata->Unload();
    };
    const auto ungrey = [] {  // as the finance key data window's greying ends
        windows().grey_menu(true);
        windows().grey_menu(false);
    };
    struct Case {
        const char* what;
        std::function<void()> close, meanwhile;
        plat::Form* front;
    };
    const Case cases[] = {
        {"window closed, project forward", closeSetdata, [&] { project.ZOrder(0); }, m},
        {"ungreyed, project forward", ungrey, [&] { project.ZOrder(0); }, m},
        {"calculator opened", closeSetdata, [&] { calculator.Show(); }, &calculator},
    };
    for (const Case& c : cases) {
        c.close();
        c.meanwhile();
        QApplication::processEvents();
        EXPECT_EQ(plat::MainWindow::instance()->activeForm(), c.front) << c.what;
        calculator.Unload();
    }
    project.Unload();
}

TEST_F(Menu, ClosingTheMenuClosesItsWindowsFirst) {
    std::vector<std::string> log;
    setdata->log = &log;
    setfin->log = &log;
    menu* m = open();
    choose(m, 4);
    setdata->Show();
    m->Unload();
    EXPECT_EQ(log, (std::vector<std::string>{"setdata menu open", "setfin menu open"}));
    EXPECT_FALSE(setfin->isLoaded());
    EXPECT_EQ(g.menu_open, 0);
    EXPECT_TRUE(background->Enabled());
}

TEST_F(Menu, EntriesOfWindowsNotInTheProgramDoNothing) {
    windows().setfin = nullptr;
    menu* m = open();
    choose(m, 4);
    EXPECT_EQ(m->item_chosen, 0);
    EXPECT_TRUE(m->Enabled());
}

// ---- the ways into the dealer area -----------------------------------------------------

TEST_F(Menu, TheDealerCodeOpensTheMenuAndTheButtonsOpenTheirWindows) {
    pass* p = frm_pass();
    p->Show();
    p->Text1->SetText("Dealer ");
    script->answer(ui::vbOK);  // the backup question
    p->Command1->click();
    ASSERT_TRUE(existing_menu() && existing_menu()->isLoaded());
    existing_menu()->Unload();

    // The background window's brand, units and internet buttons.
    auto* bg = static_cast<backgrnd*>(background);
    bg->refresh_buttons();
    bg->SSCommand1[backgrnd::kUnits]->click();
    ASSERT_TRUE(windows().setsize()->isLoaded());
    EXPECT_FALSE(bg->Enabled());
    windows().setsize()->Unload();
    EXPECT_TRUE(bg->Enabled());  // given back, as it was not opened from the menu

    // The input window's customer button (its calculator button: side_windows_test).
    weathers* w = open_input_window();
    w->SSCommand1(1)->click();
    EXPECT_TRUE(windows().custname()->isLoaded());
    EXPECT_FALSE(w->Enabled());
}
