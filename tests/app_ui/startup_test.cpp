// Start-up: command line, second instance, loading the data, the splash and
// its hand-over to the background window.
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

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

namespace {

// Whether another open of the lock file could take the lock now (given
// back at once): false while a running program holds it.
bool lockIsFree(const std::string& lock) {
    const int fd = ::open(lock.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

// Another process takes the lock and holds it, as a running program does,
// until `p` is killed.
bool holdElsewhere(QProcess& p, const std::string& lock) {
    std::ofstream{lock};
    p.start("flock", {"--no-fork", QString::fromStdString(lock), "sleep", "30"});
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && lockIsFree(lock) && t.elapsed() < 20000) QThread::msleep(5);
    return !lockIsFree(lock);
}

}  // namespace

// Only a running program refuses a start: whatever a lock file holds (the
// number of a process that died or of one that is no Heater, another
// computer's name, nothing) does not. Something in the lock's place that is
// no file is refused at once, named, never opened or waited on. A refused
// start neither reads nor removes anything of the folder: what an
// interrupted run left goes only once the lock is this program's.
TEST_F(StartupTest, SecondInstanceIsRefusedButNotALockLeftByACrash) {
    const std::string lock = instance_lock_path(path()).toStdString();
    const std::string host = QSysInfo::machineHostName().toStdString();
    const std::string elsewhere = data.file("elsewhere");
    std::ofstream(elsewhere) << "a file of the dealer's";
    QProcess running;
    const auto text = [&](const std::string& t) { return [&, t] { std::ofstream(lock) << t; }; };
    const struct {
        const char* what;
        std::function<void()> make;
        std::string refused;  // the message; empty: the program starts
    } rows[] = {
        {"an empty lock file", text(""), ""},
        {"another computer's", text("4242\nheater\nnot-" + host + "\n"), ""},
        {"a run's that died", text("2147483646\nheater\n" + host + "\n"), ""},
        {"one naming a process that runs", text(std::to_string(::getpid()) + "\nheater\n" + host + "\n"), ""},
        {"a named pipe", [&] { ::mkfifo(lock.c_str(), 0600); }, lock + " is a named pipe (FIFO), not a file"},
        {"a folder", [&] { std::filesystem::create_directory(lock); }, lock + " is a folder, not a file"},
        {"a link to a file", [&] { std::filesystem::create_symlink(elsewhere, lock); },
         lock + " is a link, not a file"},
        {"a link to a device", [&] { std::filesystem::create_symlink("/dev/zero", lock); },
         lock + " is a link, not a file"},
        {"a running program's", [&] { ASSERT_TRUE(holdElsewhere(running, lock)); }, "already running"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string leftover = data.file("location.dat.tmp~a1b2c3");
        std::ofstream(leftover) << "half a city file";
        std::filesystem::last_write_time(leftover,
                                         std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        std::filesystem::remove_all(lock);
        row.make();
        const auto placed = std::filesystem::symlink_status(lock).type();
        ui::Script s;
        if (!row.refused.empty()) s.answer(ui::vbOK);
        EXPECT_EQ(startup({}, path()), row.refused.empty());
        if (row.refused.empty()) {
            EXPECT_TRUE(s.shown().empty());
            EXPECT_FALSE(std::filesystem::exists(leftover));
            EXPECT_FALSE(lockIsFree(lock));  // this run holds the folder now
            if (loaded(existing_splash())) existing_splash()->Unload();
            release_instance_lock();
            EXPECT_TRUE(lockIsFree(lock));
            continue;
        }
        ASSERT_EQ(s.shown().size(), 1u);
        EXPECT_EQ(s.shown()[0].text, row.refused);
        EXPECT_EQ(s.shown()[0].title, "Heater program");
        EXPECT_FALSE(loaded(existing_splash()));
        EXPECT_EQ(g.city_count, 0);  // nothing was read
        EXPECT_TRUE(std::filesystem::exists(leftover));
        EXPECT_EQ(std::filesystem::symlink_status(lock).type(), placed);  // left as it was
        running.kill();
        running.waitForFinished();
    }
    EXPECT_EQ(std::filesystem::file_size(elsewhere), 22u);  // a link's target untouched
    // A folder the lock cannot be made in (missing here; on a dealer's
    // read-only medium likewise) does not stop the start.
    EXPECT_TRUE(take_instance_lock(path() + "no such folder/"));
    // The lock goes with this run: a program it started (a print job,
    // LibreOffice) does not keep it.
    start();
    QProcess child;
    child.start("sleep", {"30"});
    ASSERT_TRUE(child.waitForStarted());
    release_instance_lock();
    EXPECT_TRUE(lockIsFree(lock));
    child.kill();
    child.waitForFinished();
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
