// Saves that survive a kill: a helper process saves the settings file,
// location.dat and PumpHP.dat (and, separately, copies the data disk) in a
// loop and is killed with SIGKILL at random moments. After every kill each
// file must be byte for byte either the old or the new version, and load.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "app/records.h"
#include "app/settings.h"

namespace {

namespace fs = std::filesystem;

const char* kFiles[] = {"defaulte.dat", "location.dat", "PumpHP.dat"};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path saverPath() { return fs::read_symlink("/proc/self/exe").parent_path() / "kill_saver"; }

// In the child of a fork: becomes the saver with `args`.
[[noreturn]] void execSaver(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string exe = saverPath().string();
    argv.push_back(exe.data());
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
}

// Runs the saver to its end (write mode).
int runSaver(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid == 0) execSaver(args);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts the saver, waits for its "go", lets it save for `delay`, kills it.
// Returns false when it ended by itself (it must not) or never said "go".
bool killSaverAfter(const std::vector<std::string>& args, std::chrono::microseconds delay) {
    int out[2];
    if (pipe(out) != 0) return false;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execSaver(args);
    }
    close(out[1]);
    char buf[3] = {};
    const bool go = read(out[0], buf, 3) == 3 && std::string(buf, 2) == "go";
    close(out[0]);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return go && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// At least this many kills, more (up to the most) until some landed inside
// a save: on a busy machine the saver gets little of the time before its
// kill, so the moments also spread wider as the kills go on.
constexpr int kKills = 200, kMaxKills = 2000;

std::chrono::microseconds moment(std::mt19937& rnd, int maxUs, int kills) {
    return std::chrono::microseconds(std::uniform_int_distribution<int>(0, maxUs * (1 + kills / kKills))(rnd));
}

class KillTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "heater-kill-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        for (int v : {0, 1}) {
            const fs::path dir = root_ / ("v" + std::to_string(v));
            fs::create_directories(dir);
            ASSERT_EQ(runSaver({"write", std::to_string(v), dir.string()}), 0);
            for (const char* f : kFiles) ref_[v].push_back(slurp(dir / f));
        }
        ASSERT_NE(ref_[0], ref_[1]);
        work_ = root_ / "work";
        fs::create_directories(work_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }

    void resetWork() {
        for (std::size_t i = 0; i < 3; ++i) std::ofstream(work_ / kFiles[i], std::ios::binary) << ref_[0][i];
    }

    // Each file is one version whole and loads; returns how many files hold
    // the new version.
    int checkWork() {
        int fresh = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string bytes = slurp(work_ / kFiles[i]);
            const bool old = bytes == ref_[0][i], now = bytes == ref_[1][i];
            EXPECT_TRUE(old || now) << kFiles[i] << " is neither version (" << bytes.size() << " bytes)";
            fresh += now;
        }
        DataModel m;
        set_defaults(m);
        EXPECT_TRUE(settings::fromText(slurp(work_ / "defaulte.dat"), m).complete);
        records::FileInfo info;
        const auto cities = records::readCityFile((work_ / "location.dat").string(), &info);
        EXPECT_TRUE(cities.size() == 194 || cities.size() == 120);
        EXPECT_FALSE(info.partial);
        EXPECT_EQ(records::readPumpFile((work_ / "PumpHP.dat").string()).size(), 100u);
        return fresh;
    }

    fs::path root_, work_;
    std::vector<std::string> ref_[2];
};

TEST_F(KillTest, SavesKilledAtRandomMomentsLeaveOneWholeVersion) {
    resetWork();
    std::mt19937 rnd(20261206);
    int kills = 0, fresh = 0, mixed = 0;
    while (kills < kMaxKills && !(kills >= kKills && fresh > 0 && mixed > 0)) {
        ASSERT_TRUE(killSaverAfter({"loop", work_.string()}, moment(rnd, 12000, kills)));
        ++kills;
        const int n = checkWork();
        fresh += n > 0;
        mixed += n == 1 || n == 2;
        if (HasFailure()) break;
    }
    EXPECT_GE(kills, kKills);
    // The kills did land inside saves: some files had been replaced, some
    // kills fell between the files of one round.
    EXPECT_GT(fresh, 0);
    EXPECT_GT(mixed, 0);
}

TEST_F(KillTest, DataDiskCopyKilledAtRandomMomentsLeavesOneWholeVersion) {
    // The disk carries the new version under the names a diskette uses.
    const fs::path disk = work_ / "A";
    fs::create_directories(disk);
    const char* onDisk[] = {"defaults.dat", "location.dat", "pump.data"};
    for (std::size_t i = 0; i < 3; ++i) std::ofstream(disk / onDisk[i], std::ios::binary) << ref_[1][i];

    // The disk restores missing files only: each round starts without them,
    // and after a kill each is still missing or the disk's version whole.
    std::mt19937 rnd(6122026);
    int fresh = 0, kills = 0;
    while (kills < kMaxKills && !(kills >= kKills && fresh > 0)) {
        for (const char* f : kFiles) fs::remove(work_ / f);
        ASSERT_TRUE(killSaverAfter({"disk", work_.string()}, moment(rnd, 4000, kills)));
        ++kills;
        int here = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            if (!fs::exists(work_ / kFiles[i])) continue;
            EXPECT_EQ(slurp(work_ / kFiles[i]), ref_[1][i]) << kFiles[i] << " is not the disk's version whole";
            ++here;
        }
        if (here == 3) fresh += checkWork() == 3;
        if (HasFailure()) break;
    }
    EXPECT_GE(kills, kKills);
    EXPECT_GT(fresh, 0);
}

}  // namespace
