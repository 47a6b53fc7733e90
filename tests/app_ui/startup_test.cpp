// Start-up: command line, second instance, loading the data, the splash and
// its hand-over to the background window.
#include <QElapsedTimer>
#include <QLockFile>
#include <QMouseEvent>
#include <QSysInfo>

#include "app_ui_fixture.h"

using StartupTest = AppUiTest;

TEST_F(StartupTest, AcceptedSwitchesShowNothing) {
    for (const QStringList& args : {QStringList{}, QStringList{"/OFFICE"}, QStringList{"OFFICE"},
                                    QStringList{"/OLD"}, QStringList{"OLD"}, QStringList{"/office"}}) {
        ui::Script s;
        EXPECT_TRUE(check_command_line(args)) << args.join(' ').toStdString();
        EXPECT_TRUE(s.shown().empty());
        EXPECT_EQ(s.beeps(), 0);
    }
}

TEST_F(StartupTest, BadSwitchBeepsWarnsAndStartsAnyway) {
    ui::Script s;
    s.answer(ui::vbOK);
    ASSERT_TRUE(startup({"/FAST"}, path()));
    ASSERT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(s.shown()[0].text, "  Invalid switch after Heater");
    EXPECT_EQ(s.beeps(), 1);
    EXPECT_TRUE(s.unexpected().empty());
    // Start-up went on: the data is loaded and the splash is up.
    EXPECT_GT(g.city_count, 100);
    EXPECT_TRUE(loaded(existing_splash()));

    // Two words are one switch text, and not an accepted one.
    ui::Script s2;
    EXPECT_FALSE(check_command_line({"/OLD", "/OFFICE"}));
    EXPECT_EQ(s2.beeps(), 1);
}

TEST_F(StartupTest, SecondInstanceIsRefused) {
    QLockFile other(instance_lock_path(path()));
    ASSERT_TRUE(other.tryLock(0));

    ui::Script s;
    s.answer(ui::vbOK);
    EXPECT_FALSE(startup({}, path()));
    ASSERT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(s.shown()[0].text, "already running");
    EXPECT_EQ(s.shown()[0].title, "Heater program");
    EXPECT_FALSE(loaded(existing_splash()));
    EXPECT_EQ(g.city_count, 0);  // nothing was read

    // Once the other program has ended, the folder is free again.
    other.unlock();
    start();
    // ... and this run now holds it.
    QLockFile third(instance_lock_path(path()));
    EXPECT_FALSE(third.tryLock(0));
    release_instance_lock();
    EXPECT_TRUE(third.tryLock(0));
}

TEST_F(StartupTest, LockLeftByACrashedRunDoesNotBlock) {
    // A lock file whose owner no longer runs.
    QFile f(instance_lock_path(path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2147483646\nheater\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    f.close();
    start();
}

TEST_F(StartupTest, NormalStartLoadsDataAndShowsTheSplash) {
    g.company_name = "left over";
    start();
    EXPECT_EQ(QString::fromStdString(g.data_dir), path());
    EXPECT_EQ(g.crlf, "\r\n");
    EXPECT_GT(g.city_count, 100);
    EXPECT_GE(g.pump_count, 3);
    EXPECT_FALSE(vb::Trim(g.pump_tab[g.pump_rec].brand).empty());
    EXPECT_EQ(g.month_name[12], "DEC");  // defaults were set first

    splash* sp = frm_splash();
    ASSERT_TRUE(sp->isLoaded());
    EXPECT_TRUE(sp->Timer1->isActive());
    EXPECT_EQ(sp->Timer1->interval(), 3000);
    EXPECT_EQ(sp->Label1->text(), "Heater");
    EXPECT_EQ(sp->Label5->text(), "Heat pump sizing for pools and spas");
    EXPECT_FALSE(loaded(existing_backgrnd()));

    // The timer's handler closes the splash and opens the background.
    sp->Timer1_Timer();
    EXPECT_FALSE(sp->isLoaded());
    EXPECT_TRUE(loaded(existing_backgrnd()));
    // A late click on the closed splash opens nothing twice.
    sp->Form_Click();
    EXPECT_TRUE(loaded(existing_backgrnd()));
}

TEST_F(StartupTest, SplashTimerRunsOutInTheEventLoop) {
    splash_delay_ms() = 20;
    start();
    QElapsedTimer t;
    t.start();
    while (!loaded(existing_backgrnd()) && t.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(loaded(existing_backgrnd()));
    EXPECT_FALSE(loaded(existing_splash()));
}

TEST_F(StartupTest, SplashClosesOnAClick) {
    start();
    splash* sp = frm_splash();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), sp->mapToGlobal(QPointF(10, 10)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(sp, &press);
    EXPECT_FALSE(sp->isLoaded());
    EXPECT_TRUE(loaded(existing_backgrnd()));
    EXPECT_FALSE(sp->Timer1->isActive());
}

TEST_F(StartupTest, MissingSettingsFileGoesThroughTheDataMessages) {
    ASSERT_TRUE(QFile::remove(path() + "defaulte.dat"));
    ui::Script s;
    ASSERT_TRUE(startup({}, path()));
    ASSERT_FALSE(s.shown().empty());
    EXPECT_EQ(s.shown()[0].text, "File not found, insert the data");
    EXPECT_EQ(s.shown()[0].title, "Upload data files");
    for (const ui::Shown& b : s.shown()) std::printf("  box: [%s] %s\n", b.title.c_str(), b.text.c_str());
    // The program still comes up on its defaults and the built data.
    EXPECT_EQ(g.company_name, "Dealer");
    EXPECT_GT(g.city_count, 100);
    EXPECT_TRUE(loaded(existing_splash()));
}
