// Start-up: command line, second instance, loading the data, the splash and
// its hand-over to the background window.
#include <QElapsedTimer>
#include <QLockFile>
#include <QMouseEvent>
#include <QSysInfo>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "print/destination.h"
#include "tests/app_ui/app_ui_fixture.h"

using StartupTest = AppUiTest;

TEST_F(StartupTest, OnlyTheFourSwitchesAreAccepted) {
    const std::pair<QStringList, bool> cases[] = {
        {{}, true},      {{"/OFFICE"}, true},  {{"OFFICE"}, true}, {{" /OLD "}, true},
        {{"OLD"}, true}, {{"/office"}, false}, {{"/FAST"}, false}, {{"/OLD", "/OFFICE"}, false},
    };
    for (const auto& [args, ok] : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        ui::Script s;
        if (!ok) s.answer(ui::vbOK);
        EXPECT_EQ(check_command_line(args), ok);
        ASSERT_EQ(s.shown().size(), ok ? 0u : 1u);
        EXPECT_EQ(s.beeps(), ok ? 0 : 1);
        if (!ok) {
            EXPECT_EQ(s.shown()[0].text, "  Invalid switch after Heater");
        }
    }
}

// A second start neither reads nor removes anything of the running
// program's folder: what an interrupted run left goes only once the lock
// is this program's.
TEST_F(StartupTest, SecondInstanceIsRefusedButNotALockLeftByACrash) {
    const std::string leftover = data.file("location.dat.tmp~a1b2c3");
    std::ofstream(leftover) << "half a city file";
    std::filesystem::last_write_time(leftover, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    QLockFile other(instance_lock_path(path()));
    ASSERT_TRUE(other.tryLock(0));
    {
        ui::Script s;
        s.answer(ui::vbOK);
        EXPECT_FALSE(startup({}, path()));
        ASSERT_EQ(s.shown().size(), 1u);
        EXPECT_EQ(s.shown()[0].text, "already running");
        EXPECT_EQ(s.shown()[0].title, "Heater program");
        EXPECT_FALSE(loaded(existing_splash()));
        EXPECT_EQ(g.city_count, 0);  // nothing was read
        EXPECT_TRUE(std::filesystem::exists(leftover));
    }
    other.unlock();

    // A lock file whose owner no longer runs does not block.
    QFile f(instance_lock_path(path()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("2147483646\nheater\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    f.close();
    start();
    EXPECT_FALSE(std::filesystem::exists(leftover));
    // ... and this run now holds the folder until it ends.
    QLockFile third(instance_lock_path(path()));
    EXPECT_FALSE(third.tryLock(0));
    release_instance_lock();
    EXPECT_TRUE(third.tryLock(0));
}

TEST_F(StartupTest, NormalStartLoadsDataAndShowsTheSplash) {
    g.company_name = "left over";
    prn::setPrintoutsFolder("elsewhere/");
    start();
    EXPECT_EQ(QString::fromStdString(g.data_dir), path());
    EXPECT_EQ(prn::printoutsFolder(), g.data_dir + "printouts/");  // handed to the printing layer
    EXPECT_EQ(g.company_name, "Dealer");                           // defaults, then the settings file
    EXPECT_GT(g.city_count, 100);
    EXPECT_GE(g.pump_count, 3);

    splash* sp = frm_splash();
    ASSERT_TRUE(sp->isLoaded());
    EXPECT_EQ(sp->Timer1->interval(), 3000);
    EXPECT_FALSE(loaded(existing_backgrnd()));

    // A click closes the splash and opens the background window, once.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), sp->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(sp, &press);
    EXPECT_FALSE(sp->isLoaded());
    EXPECT_FALSE(sp->Timer1->isActive());
    EXPECT_TRUE(loaded(existing_backgrnd()));
    sp->Timer1_Timer();  // the timer after the click opens nothing twice
    EXPECT_FALSE(sp->isLoaded());
    EXPECT_TRUE(loaded(existing_backgrnd()));
}

TEST_F(StartupTest, SplashTimerRunsOutInTheEventLoop) {
    splash_delay_ms() = 20;
    start();
    QElapsedTimer t;  // a generous bound: a loaded or instrumented machine may be slow
    t.start();
    while (!loaded(existing_backgrnd()) && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(loaded(existing_backgrnd()));
    EXPECT_FALSE(loaded(existing_splash()));
}

// A bad switch and a missing settings file: said, and the program comes up
// all the same, on its defaults and the built data, and leaves a settings
// file for the next start.
TEST_F(StartupTest, BadSwitchAndMissingSettingsAreSaidAndStartUpGoesOn) {
    ASSERT_TRUE(QFile::remove(path() + "defaulte.dat"));
    ui::Script s;
    s.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    ASSERT_TRUE(startup({"/FAST"}, path()));
    ASSERT_EQ(s.shown().size(), 3u);
    EXPECT_EQ(s.shown()[1].text, "File not found, insert the data");
    EXPECT_EQ(g.company_name, "Dealer");
    EXPECT_GT(g.city_count, 100);
    EXPECT_TRUE(loaded(existing_splash()));
    EXPECT_TRUE(QFile::exists(path() + "defaulte.dat"));
}

// A start on a data folder without a weather-city file says so before the
// project window offers empty city lists, naming the copy the last delete
// or replacement kept.
TEST_F(StartupTest, AStartWithoutCitiesSaysSo) {
    ASSERT_TRUE(QFile::rename(path() + "location.dat", path() + "location.bak"));
    ui::Script s;
    s.answer(ui::vbNo);
    ASSERT_TRUE(startup({}, path()));
    ASSERT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(s.shown()[0].title, "Weather data");
    EXPECT_NE(s.shown()[0].text.find("kept as " + path().toStdString() + "location.bak."), std::string::npos)
        << s.shown()[0].text;
    EXPECT_EQ(g.city_count, 0);
}
