// The background, access-code and programmer-information windows.
#include <QMouseEvent>

#include <set>

#include "tests/app_ui/app_ui_fixture.h"

class StartWindowsTest : public AppUiTest {
protected:
    void SetUp() override {
        AppUiTest::SetUp();
        start();
        frm_splash()->Timer1_Timer();
        bg = frm_backgrnd();
        ASSERT_TRUE(bg->isLoaded());
    }
    backgrnd* bg = nullptr;
};

TEST_F(StartWindowsTest, ButtonsFollowTheWindowsThatExist) {
    // Project, Brand, Units, Dealer, Internet, About, Exit, then "Copy Excel Data".
    auto enabled = [this] {
        std::string on;
        for (int i = 0; i < backgrnd::kButtons; ++i) on += bg->SSCommand1[i]->isEnabled() ? '1' : '0';
        return on + (bg->Command1->isEnabled() ? '1' : '0');
    };
    EXPECT_EQ(enabled(), "10010110");  // nothing of the dealer area exists yet
    EXPECT_EQ(bg->Command1->text(), "Copy Excel Data");
    EXPECT_TRUE(bg->Label4->isHidden());

    windows().setname = reg(fake("setname"));
    windows().setsize = reg(fake("setsize"));
    windows().frmBrowser = reg(fake("frmBrowser"));
    int imports = 0;
    windows().convert_cities = [&imports] { ++imports; };
    bg->refresh_buttons();
    EXPECT_EQ(enabled(), "11111111");
    bg->Command1->DoClick();  // "Copy Excel Data" runs the import
    EXPECT_EQ(imports, 1);

    // "Dealer cannot select brand" (picked up at the next picture change).
    g.dealer_lock[2] = -1;
    bg->Timer1_Timer();
    EXPECT_EQ(enabled(), "10111111");
    bg->SSCommand1_Click(backgrnd::kBrand);  // even when called directly
    EXPECT_FALSE(loaded(windows().setname()));
}

TEST_F(StartWindowsTest, PicturesRotate) {
    EXPECT_EQ(bg->Timer1->interval(), 4000);
    const QImage first = bg->Image1->pixmap().toImage();
    bg->Timer1_Timer();
    EXPECT_NE(bg->Image1->pixmap().toImage(), first);
    bg->Timer1_Timer();
    bg->Timer1_Timer();  // round to the first picture again
    EXPECT_EQ(bg->Image1->pixmap().toImage(), first);
    g.brand_code = 3;  // another brand, other pictures
    for (int i = 0; i < 3; ++i) bg->Timer1_Timer();
    EXPECT_NE(bg->Image1->pixmap().toImage(), first);
}

TEST_F(StartWindowsTest, ButtonsOpenTheBrandUnitsAndBrowserWindows) {
    FakeForm* setname = fake("setname");
    FakeForm* setsize = fake("setsize");
    FakeForm* browser = fake("frmBrowser");
    windows().setname = reg(setname);
    windows().setsize = reg(setsize);
    windows().frmBrowser = reg(browser);
    bg->refresh_buttons();
    g.from_menu = 1;

    // Brand and units: placed as from the menu, not "from the menu", and the
    // background held until they give it back.
    bg->SSCommand1[backgrnd::kBrand]->DoClick();
    ASSERT_TRUE(setname->isLoaded());
    EXPECT_EQ(setname->from_menu_at_load, 0);
    EXPECT_EQ(plat::px(setname->Left()), plat::px(3400));
    EXPECT_FALSE(bg->Enabled());
    bg->SetEnabled(true);
    bg->SSCommand1_Click(backgrnd::kUnits);
    ASSERT_TRUE(setsize->isLoaded());
    EXPECT_EQ(setsize->units_flag_at_load, 0);  // no "Allow dealer access" from here
    bg->SetEnabled(true);

    // The browser only after the prompt, and not on Cancel.
    ui::Script s;
    s.answer(ui::vbCancel).answer(ui::vbOK);
    bg->SSCommand1[backgrnd::kInternet]->DoClick();
    EXPECT_FALSE(browser->isLoaded());
    bg->SSCommand1_Click(backgrnd::kInternet);
    EXPECT_TRUE(browser->isLoaded());
    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), browser);
    ASSERT_EQ(s.shown().size(), 2u);
    EXPECT_EQ(s.shown()[0].text, "PLEASE ensure that you are connected\r\nto the internet before proceeding.");
    EXPECT_EQ(s.shown()[0].style & 7, ui::vbOKCancel);
}

// The picture starts a project with the customer-name window in front,
// placed and filled by its folder's show_custname (the dealer tests check
// that); "Project" opens the input window alone.
TEST_F(StartWindowsTest, PictureStartsAProjectWithTheCustomerInFront) {
    FakeForm* cust = fake("custname");
    windows().custname = reg(cust);
    windows().show_custname = [&] {
        g.cust_win_state = 1;
        cust->Show();
    };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), bg->Image1->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bg->Image1, &press);
    ASSERT_TRUE(loaded(existing_weathers()));
    ASSERT_TRUE(cust->isLoaded());
    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), cust);
    EXPECT_FALSE(existing_weathers()->Enabled());  // the customer window gives it back
    existing_weathers()->SetEnabled(true);

    cust->Unload();
    {
        ui::Script s;
        s.answer(ui::vbYes);
        existing_weathers()->Unload();
    }
    bg->SSCommand1[backgrnd::kProject]->DoClick();
    ASSERT_TRUE(loaded(existing_weathers()));
    EXPECT_TRUE(existing_weathers()->Enabled());
    EXPECT_FALSE(cust->isLoaded());
}

TEST_F(StartWindowsTest, AboutShowsProgramAndData) {
    bg->SSCommand1_Click(backgrnd::kAbout);
    proginfo* p = frm_proginfo();
    ASSERT_TRUE(p->isLoaded());
    EXPECT_EQ(p->Label3->text(), path());
    EXPECT_TRUE(p->Label4->text().contains(QString("location.dat: %1 weather cities").arg(g.city_count)));
    QFile::remove(path() + "PumpHP2.dat");
    p->Command1->DoClick();
    EXPECT_FALSE(p->isLoaded());
    bg->SSCommand1_Click(backgrnd::kAbout);  // shown afresh
    EXPECT_TRUE(p->Label4->text().contains("Competitor files: 2 of 3")) << p->Label4->text().toStdString();
}

// The access-code window: a wrong code, or one whose window is not part of
// the program yet, is said and keeps the window open; the measurement-system
// codes (case and outer blanks aside) open that window with "Allow dealer
// access"; the settings-menu code, checked by Enter, opens the menu.
TEST_F(StartWindowsTest, AccessCodesOpenTheirWindows) {
    bg->SSCommand1[backgrnd::kDealer]->DoClick();
    pass* pw = frm_pass();
    ASSERT_TRUE(pw->isLoaded());
    EXPECT_EQ(pw->Text1->echoMode(), QLineEdit::Password);
    auto type = [pw](const char* code) {
        if (!pw->isLoaded()) pw->Show();
        pw->Text1->SetText(code);
        pw->Command1->DoClick();
    };
    {
        ui::Script s;
        s.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
        type("opensesame");
        EXPECT_TRUE(pw->Text1->Text().isEmpty());
        type("dealer");
        type("units");
        ASSERT_EQ(s.shown().size(), 3u);
        EXPECT_EQ(s.shown()[0].text, "Invalid access code");
        EXPECT_EQ(s.shown()[0].title, "Password");
        EXPECT_NE(s.shown()[1].text.find("settings menu"), std::string::npos);
        EXPECT_NE(s.shown()[2].text.find("measurement-system window"), std::string::npos);
        EXPECT_EQ(g.units_from_menu, 0);  // no dealer access left pending
        EXPECT_TRUE(pw->isLoaded());
    }
    FakeForm* setsize = fake("setsize");
    FakeForm* menu = fake("menu");
    windows().setsize = reg(setsize);
    windows().menu = reg(menu);
    ui::Script s;
    for (const char* code : {"units", " METRIC "}) {
        g.units_from_menu = 0;
        type(code);
        ASSERT_TRUE(setsize->isLoaded()) << code;
        EXPECT_EQ(setsize->units_flag_at_load, 1) << code;
        EXPECT_EQ(setsize->from_menu_at_load, 0);
        EXPECT_FALSE(pw->isLoaded());
        setsize->Unload();
        bg->SetEnabled(true);
    }
    pw->Show();
    pw->Text1->SetText("dealer");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(pw->Text1, &enter);
    EXPECT_TRUE(menu->isLoaded());
    EXPECT_FALSE(pw->isLoaded());
    EXPECT_TRUE(s.shown().empty());
}

TEST(AccessCodes, OneTableDocumentedForDealers) {
    QFile doc(qEnvironmentVariable("HEATER_SOURCE_DIR") + "/docs/access-codes.md");
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    std::set<std::string> seen;
    for (const AccessCode& c : access_codes()) {
        EXPECT_TRUE(seen.insert(c.code).second) << c.code;
        EXPECT_EQ(find_access_code(c.code), &c);
        EXPECT_TRUE(text.contains(QString("`%1`").arg(c.code))) << c.code;
    }
    EXPECT_EQ(find_access_code(""), nullptr);
    EXPECT_EQ(find_access_code("deale"), nullptr);
}
