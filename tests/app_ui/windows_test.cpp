// The background, access-code and programmer-information windows.
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>

#include <set>

#include "app_ui_fixture.h"

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
    // Nothing of the dealer area exists yet.
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kProject]->isEnabled());
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kDealer]->isEnabled());
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kAbout]->isEnabled());
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kExit]->isEnabled());
    EXPECT_FALSE(bg->SSCommand1[backgrnd::kBrand]->isEnabled());
    EXPECT_FALSE(bg->SSCommand1[backgrnd::kUnits]->isEnabled());
    EXPECT_FALSE(bg->SSCommand1[backgrnd::kInternet]->isEnabled());
    EXPECT_FALSE(bg->Command1->isEnabled());
    EXPECT_EQ(bg->Command1->text(), "Copy Excel Data");
    ASSERT_NE(bg->Label4, nullptr);
    EXPECT_TRUE(bg->Label4->isHidden());

    windows().setname = reg(fake("setname"));
    windows().setsize = reg(fake("setsize"));
    windows().frmBrowser = reg(fake("frmBrowser"));
    windows().convert_cities = [] {};
    bg->refresh_buttons();
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kBrand]->isEnabled());
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kUnits]->isEnabled());
    EXPECT_TRUE(bg->SSCommand1[backgrnd::kInternet]->isEnabled());
    EXPECT_TRUE(bg->Command1->isEnabled());

    // "Dealer cannot select brand" (picked up at the next picture change).
    g.dealer_lock[2] = -1;
    bg->Timer1_Timer();
    EXPECT_FALSE(bg->SSCommand1[backgrnd::kBrand]->isEnabled());
    bg->SSCommand1_Click(backgrnd::kBrand);  // even when called directly
    EXPECT_FALSE(loaded(windows().setname()));
}

TEST_F(StartWindowsTest, PicturesRotate) {
    EXPECT_EQ(bg->Timer1->interval(), 4000);
    EXPECT_TRUE(bg->Timer1->isActive());
    const QImage first = bg->Image1->pixmap().toImage();
    ASSERT_FALSE(first.isNull());
    bg->Timer1_Timer();
    EXPECT_EQ(bg->picture_no, 1);
    EXPECT_NE(bg->Image1->pixmap().toImage(), first);
    bg->Timer1_Timer();
    bg->Timer1_Timer();
    EXPECT_EQ(bg->picture_no, 0);
    EXPECT_EQ(bg->Image1->pixmap().toImage(), first);
    // Another brand, another picture.
    g.brand_code = 3;
    bg->Timer1_Timer();
    bg->Timer1_Timer();
    bg->Timer1_Timer();
    EXPECT_NE(bg->Image1->pixmap().toImage(), first);
}

TEST_F(StartWindowsTest, InternetAsksFirst) {
    FakeForm* browser = fake("frmBrowser");
    windows().frmBrowser = reg(browser);
    bg->refresh_buttons();
    {
        ui::Script s;
        s.answer(ui::vbCancel);
        bg->SSCommand1[backgrnd::kInternet]->DoClick();
        ASSERT_EQ(s.shown().size(), 1u);
        EXPECT_EQ(s.shown()[0].text, "PLEASE ensure that you are connected\r\nto the internet before proceeding.");
        EXPECT_EQ(s.shown()[0].style & 7, ui::vbOKCancel);
        EXPECT_FALSE(browser->isLoaded());
    }
    ui::Script s;
    s.answer(ui::vbOK);
    bg->SSCommand1_Click(backgrnd::kInternet);
    EXPECT_TRUE(browser->isLoaded());
    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), browser);
}

TEST_F(StartWindowsTest, BrandAndUnitsOpenTheirWindowsAndHoldTheBackground) {
    FakeForm* setname = fake("setname");
    FakeForm* setsize = fake("setsize");
    windows().setname = reg(setname);
    windows().setsize = reg(setsize);
    bg->refresh_buttons();
    g.from_menu = 1;

    bg->SSCommand1[backgrnd::kBrand]->DoClick();
    ASSERT_TRUE(setname->isLoaded());
    EXPECT_EQ(setname->from_menu_at_load, 0);
    EXPECT_EQ(plat::px(setname->Left()), plat::px(3400));
    EXPECT_EQ(plat::px(setname->Top()), plat::px(1400));
    EXPECT_FALSE(bg->Enabled());  // the brand window gives it back when it closes
    bg->SetEnabled(true);

    bg->SSCommand1_Click(backgrnd::kUnits);
    ASSERT_TRUE(setsize->isLoaded());
    EXPECT_EQ(setsize->units_flag_at_load, 0);  // no "Allow dealer access" from here
    EXPECT_EQ(plat::px(setsize->Width()), plat::px(8115));
    bg->SetEnabled(true);
}

TEST_F(StartWindowsTest, CopyExcelDataRunsTheImport) {
    int runs = 0;
    windows().convert_cities = [&runs] { ++runs; };
    bg->refresh_buttons();
    bg->Command1->DoClick();
    EXPECT_EQ(runs, 1);
}

TEST_F(StartWindowsTest, ShowCustnameKeepsAllThreeLines) {
    FakeForm* cust = fake("custname");
    windows().custname = reg(cust);
    g.cust_name = "Ann Lee";
    g.cust_street = "12 Palm Way";
    g.cust_city = "Naples, FL 34102";
    show_custname();
    ASSERT_TRUE(cust->isLoaded());
    // Places are kept in whole pixels (15 twips).
    EXPECT_EQ(plat::px(cust->Left()), plat::px(2170));
    EXPECT_EQ(plat::px(cust->Top()), plat::px(1600));
    EXPECT_EQ(plat::px(cust->Width()), plat::px(5565));
    EXPECT_EQ(plat::px(cust->Height()), plat::px(3045));
    EXPECT_EQ(cust->box[0]->Text(), "Ann Lee");
    EXPECT_EQ(cust->box[1]->Text(), "12 Palm Way");
    EXPECT_EQ(cust->box[2]->Text(), "Naples, FL 34102");
    EXPECT_EQ(g.cust_street, "12 Palm Way");
    EXPECT_EQ(g.cust_city, "Naples, FL 34102");
    EXPECT_EQ(g.cust_win_state, 1);
}

TEST_F(StartWindowsTest, PictureStartsAProjectWithTheCustomerInFront) {
    FakeForm* cust = fake("custname");
    windows().custname = reg(cust);
    g.cust_name = "Bob Ray";
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), bg->Image1->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bg->Image1, &press);
    ASSERT_TRUE(loaded(existing_weathers()));
    ASSERT_TRUE(cust->isLoaded());
    EXPECT_EQ(cust->box[0]->Text(), "Bob Ray");
    EXPECT_FALSE(existing_weathers()->Enabled());  // the customer window gives it back
    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), cust);
    existing_weathers()->SetEnabled(true);
}

TEST_F(StartWindowsTest, ProjectButtonOpensTheInputWindowAlone) {
    bg->SSCommand1[backgrnd::kProject]->DoClick();
    ASSERT_TRUE(loaded(existing_weathers()));
    EXPECT_TRUE(existing_weathers()->Enabled());
}

TEST_F(StartWindowsTest, AboutShowsProgramAndData) {
    bg->SSCommand1_Click(backgrnd::kAbout);
    proginfo* p = frm_proginfo();
    ASSERT_TRUE(p->isLoaded());
    EXPECT_EQ(p->Label1->text(), "Heater");
    EXPECT_EQ(p->Label2->text(), QString(program_version()));
    EXPECT_EQ(p->Label3->text(), path());
    const QString files = p->Label4->text();
    EXPECT_TRUE(files.contains(QString("location.dat: %1 weather cities").arg(g.city_count))) << files.toStdString();
    EXPECT_TRUE(files.contains(QString("PumpHP.dat: %1 heat-pump records").arg(g.pump_count))) << files.toStdString();
    EXPECT_TRUE(files.contains("Competitor files: 3 of 3"));

    QFile::remove(path() + "PumpHP2.dat");
    p->fill();
    EXPECT_TRUE(p->Label4->text().contains("Competitor files: 2 of 3"));
    p->Command1->DoClick();
    EXPECT_FALSE(p->isLoaded());
}

// ---- the access-code window ---------------------------------------------------

class PassTest : public StartWindowsTest {
protected:
    void SetUp() override {
        StartWindowsTest::SetUp();
        bg->SSCommand1[backgrnd::kDealer]->DoClick();
        pw = frm_pass();
        ASSERT_TRUE(pw->isLoaded());
    }
    void type(const char* code) {
        pw->Text1->SetText(code);
        pw->Command1->DoClick();
    }
    pass* pw = nullptr;
};

TEST_F(PassTest, WrongCodeIsRefusedAndCleared) {
    EXPECT_EQ(pw->Text1->echoMode(), QLineEdit::Password);
    ui::Script s;
    s.answer(ui::vbOK);
    type("opensesame");
    ASSERT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(s.shown()[0].text, "Invalid access code");
    EXPECT_EQ(s.shown()[0].title, "Password");
    EXPECT_TRUE(pw->Text1->Text().isEmpty());
    EXPECT_TRUE(pw->isLoaded());
}

TEST_F(PassTest, UnitsCodesOpenTheMeasurementWindowWithDealerAccess) {
    FakeForm* setsize = fake("setsize");
    windows().setsize = reg(setsize);
    for (const char* code : {"units", " METRIC "}) {
        ui::Script s;
        g.units_from_menu = 0;
        if (!pw->isLoaded()) pw->Show();
        type(code);
        EXPECT_TRUE(s.shown().empty()) << code;
        ASSERT_TRUE(setsize->isLoaded()) << code;
        EXPECT_EQ(setsize->units_flag_at_load, 1) << code;
        EXPECT_EQ(setsize->from_menu_at_load, 0);
        EXPECT_FALSE(pw->isLoaded());
        setsize->Unload();
        bg->SetEnabled(true);
    }
}

TEST_F(PassTest, EnterChecksTheCode) {
    FakeForm* menu = fake("menu");
    windows().menu = reg(menu);
    pw->Text1->SetText("dealer");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(pw->Text1, &enter);
    EXPECT_TRUE(menu->isLoaded());
    EXPECT_FALSE(pw->isLoaded());
}

TEST_F(PassTest, CodesForWindowsNotThereYetSaySo) {
    ui::Script s;
    s.answer(ui::vbOK).answer(ui::vbOK);
    type("dealer");
    type("units");
    ASSERT_EQ(s.shown().size(), 2u);
    EXPECT_NE(s.shown()[0].text.find("settings menu"), std::string::npos);
    EXPECT_NE(s.shown()[1].text.find("measurement-system window"), std::string::npos);
    EXPECT_EQ(g.units_from_menu, 0);  // no dealer access left pending
    EXPECT_TRUE(pw->isLoaded());
}

TEST(AccessCodes, OneTableDocumentedForDealers) {
    std::set<std::string> seen;
    for (const AccessCode& c : access_codes()) {
        EXPECT_TRUE(seen.insert(c.code).second) << c.code;
        EXPECT_EQ(find_access_code(c.code), &c);
    }
    EXPECT_EQ(find_access_code(""), nullptr);
    EXPECT_EQ(find_access_code("deale"), nullptr);
    EXPECT_EQ(find_access_code("  Dealer "), find_access_code("dealer"));

    QFile doc(qEnvironmentVariable("HEATER_SOURCE_DIR") + "/docs/access-codes.md");
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(doc.readAll());
    for (const AccessCode& c : access_codes()) {
        EXPECT_TRUE(text.contains(QString("`%1`").arg(c.code))) << c.code;
    }
}
