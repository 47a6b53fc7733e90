// Helper programs run with an argument list and a time limit, leaving nothing
// behind.
#include "print/process.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace {

// True while a process with that id is alive (a zombie counts as gone).
bool alive(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] != 'Z';
}

// A file name of this test process alone (test programs run side by side).
std::string ownFile(const std::string& name) {
    return ::testing::TempDir() + "/heater-process-" + std::to_string(::getpid()) + "-" + name;
}

TEST(Process, ReportsOutputAndExitStatusWithoutAShell) {
    auto r = prn::runProcess({"sh", "-c", "echo \"$1\"; exit 3", "sh", "a b; rm -rf x"}, 5000);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.output, "a b; rm -rf x\n");  // the argument arrives as one word, unexpanded
    EXPECT_FALSE(r.ok());
    r = prn::runProcess(
        {
            "sh",
            "-c",
            "echo \"$X\"",
        },
        5000, {"X=extra"});
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.output, "extra\n");
}

// A helper runs in the folder it is given with the program's own umask,
// which the start leaves as it was: no umask of the moment reaches a helper
// (LibreOffice made its installation's shared folders private with one);
// what the program makes is private by its own modes.
TEST(Process, AHelperRunsInItsOwnFolderWithTheProgramsUmask) {
    const mode_t before = ::umask(0);
    const auto r = prn::runProcess({"sh", "-c", "umask; pwd"}, 5000, {}, "/");
    EXPECT_EQ(::umask(before), 0u);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.output, "0000\n/\n");
}

TEST(Process, AMissingProgramIsNotStarted) {
    const auto r = prn::runProcess({"no-such-program-here"}, 1000);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(prn::programExists("no-such-program-here"));
    EXPECT_TRUE(prn::programExists("sh"));
    EXPECT_FALSE(prn::runProcess({}, 1000).started);
}

TEST(Process, TheTimeLimitEndsTheProgramAndWhatItStarted) {
    const std::string pidFile = ownFile("bg.pid");
    const auto t0 = std::chrono::steady_clock::now();
    // The limit leaves a busy machine time to start the shell.
    const auto r = prn::runProcess({"sh", "-c", "sleep 30 & echo $! > \"$1\"; sleep 30", "sh", pidFile}, 2000);
    const auto took = std::chrono::steady_clock::now() - t0;
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.timedOut);
    EXPECT_LT(took, std::chrono::seconds(15));
    int bg = 0;
    std::ifstream(pidFile) >> bg;
    std::remove(pidFile.c_str());
    ASSERT_GT(bg, 0);
    EXPECT_FALSE(alive(bg));  // runProcess waited for it to go
}

TEST(Process, ProgramsLeftBehindByAFinishedProgramAreEnded) {
    const std::string pidFile = ownFile("left.pid");
    const auto r = prn::runProcess({"sh", "-c", "sleep 30 >/dev/null 2>&1 & echo $! > \"$1\"", "sh", pidFile}, 20000);
    EXPECT_TRUE(r.ok());
    int bg = 0;
    std::ifstream(pidFile) >> bg;
    std::remove(pidFile.c_str());
    ASSERT_GT(bg, 0);
    EXPECT_FALSE(alive(bg));  // runProcess waited for it to go
}

}  // namespace
