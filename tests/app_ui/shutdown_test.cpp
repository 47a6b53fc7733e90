// Shutdown: the order in which the main window's close unloads the windows,
// and the project input window's chance to keep the program open.
#include "tests/app_ui/app_ui_fixture.h"

class ShutdownTest : public AppUiTest {
protected:
    void SetUp() override {
        AppUiTest::SetUp();
        start();
        frm_splash()->Timer1_Timer();
        ASSERT_TRUE(loaded(existing_backgrnd()));
        plat::MainWindow::instance()->onClose = [] { return shutdown_windows(); };
        using Slot = WindowSlot WindowRegistry::*;
        const std::pair<const char*, Slot> table[] = {
            {"coname", &WindowRegistry::coname},         {"setname", &WindowRegistry::setname},
            {"setsize", &WindowRegistry::setsize},       {"setdata", &WindowRegistry::setdata},
            {"setfin", &WindowRegistry::setfin},         {"setheat", &WindowRegistry::setheat},
            {"Showpump", &WindowRegistry::Showpump},     {"setoutp", &WindowRegistry::setoutp},
            {"frmBrowser", &WindowRegistry::frmBrowser}, {"Calculator", &WindowRegistry::Calculator},
            {"custname", &WindowRegistry::custname},     {"lease", &WindowRegistry::lease},
            {"elect", &WindowRegistry::elect},           {"Prt2", &WindowRegistry::Prt2}};
        for (const auto& [name, slot] : table) windows().*slot = reg(forms[name] = fake(name, &log));
    }
    void TearDown() override {
        plat::MainWindow::instance()->onClose = nullptr;
        AppUiTest::TearDown();
    }
    std::vector<std::string> log;
    std::map<std::string, FakeForm*> forms;
};

TEST_F(ShutdownTest, SettingsWindowsFirstThenTheOthersInOrder) {
    // Open in a scrambled order; some never opened.
    for (const char* n : {"Prt2", "setoutp", "custname", "setname", "frmBrowser", "setfin", "lease", "coname"})
        forms[n]->Show();
    frm_proginfo()->Show();
    frm_pass()->Show();

    ui::Script s;
    EXPECT_TRUE(shutdown_windows());
    EXPECT_TRUE(s.shown().empty());
    const std::vector<std::string> want = {"coname",     "setname",  "setfin", "setoutp",
                                           "frmBrowser", "custname", "lease",  "Prt2"};
    EXPECT_EQ(log, want);
    for (auto& [name, f] : forms) EXPECT_FALSE(f->isLoaded()) << name;
    // Windows never opened were not loaded just to be closed.
    EXPECT_EQ(forms["Showpump"]->loads, 0);
    EXPECT_EQ(forms["Calculator"]->loads, 0);
    EXPECT_FALSE(loaded(existing_backgrnd()));
    EXPECT_FALSE(loaded(existing_pass()));
    EXPECT_FALSE(loaded(existing_proginfo()));
}

// A window that refuses to close keeps the program open; once it gives in,
// the background window's Exit closes the main window through the shutdown.
TEST_F(ShutdownTest, AWindowThatRefusesToCloseKeepsTheProgramOpen) {
    forms["setheat"]->Show();
    forms["setheat"]->refuse_unload = true;
    forms["lease"]->Show();
    EXPECT_FALSE(shutdown_windows());
    EXPECT_TRUE(forms["setheat"]->isLoaded());
    EXPECT_TRUE(forms["lease"]->isLoaded());
    EXPECT_TRUE(loaded(existing_backgrnd()));
    forms["setheat"]->refuse_unload = false;
    log.clear();
    frm_backgrnd()->SSCommand1[backgrnd::kExit]->DoClick();
    EXPECT_EQ(log, (std::vector<std::string>{"setheat", "lease"}));
    EXPECT_FALSE(loaded(existing_backgrnd()));
    EXPECT_FALSE(plat::MainWindow::instance()->isVisible());
}

// The project input window asks "Do you want to leave?"; "No" keeps the
// program as it was, with no other window closed.
TEST_F(ShutdownTest, NotLeavingTheProjectKeepsTheProgramOpen) {
    open_project();
    ASSERT_TRUE(loaded(existing_weathers()));
    forms["setname"]->Show();
    // The input window opens the customer-name window itself while no
    // customer was entered.
    const bool cust_open = forms["custname"]->isLoaded();
    {
        ui::Script s;
        s.answer(ui::vbNo);
        EXPECT_FALSE(shutdown_windows());
        ASSERT_FALSE(s.shown().empty());
        EXPECT_EQ(s.shown()[0].text, "Do you want to leave?");
    }
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(loaded(existing_weathers()));
    EXPECT_TRUE(forms["setname"]->isLoaded());
    EXPECT_TRUE(loaded(existing_backgrnd()));
    EXPECT_EQ(forms["custname"]->isLoaded(), cust_open);

    ui::Script s;
    s.answer(ui::vbYes);
    EXPECT_TRUE(shutdown_windows());
    EXPECT_FALSE(loaded(existing_weathers()));
    std::vector<std::string> want = {"setname"};
    if (cust_open) want.push_back("custname");
    EXPECT_EQ(log, want);
    EXPECT_FALSE(loaded(existing_backgrnd()));
}
