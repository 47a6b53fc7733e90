// Linked into every test program. A message or input box that a test shows
// without a ui::Script to answer it fails that test: a test that expects a
// box scripts its answer; anything else is a box a user would have seen and
// nobody checked. And the programs run headless with the built default data
// however they are started (ctest, by hand, a debugger); the environment
// overrides. Caches (LibreOffice profiles) and the runtime folder go into a
// temporary folder of the test program, removed when it ends, never into the
// user's ~/.cache or a runtime folder left in the temporary folder.
#include "tests/support/box_guard.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "core/ui.h"

namespace {

// One folder of the test program's own (mkdtemp: mode 0700) holds its caches
// and its runtime folder; both must be private, and Qt refuses a runtime
// folder another user could open. Without XDG_RUNTIME_DIR Qt would make
// runtime-<user> in the temporary folder and leave it there.
void use_own_folders() {
    static const pid_t owner = ::getpid();
    static std::string dir = (std::filesystem::temp_directory_path() / "heater-test-XXXXXX").string();
    if (!::mkdtemp(dir.data())) return;
    for (const auto& [var, sub] : {std::pair{"XDG_CACHE_HOME", "/cache"}, std::pair{"XDG_RUNTIME_DIR", "/runtime"}}) {
        const std::string path = dir + sub;
        if (::mkdir(path.c_str(), 0700) == 0) setenv(var, path.c_str(), 1);
    }
    auto remove = [] {
        std::error_code ec;
        if (::getpid() == owner) std::filesystem::remove_all(dir, ec);  // not by a forked child
    };
    std::atexit(remove);
    std::at_quick_exit(remove);
}

void fail_test(const ui::Shown& s) { ADD_FAILURE() << "unexpected " << s.kind << " \"" << s.title << "\": " << s.text; }

const bool installed = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HEATER_SOURCE_DIR", HEATER_SOURCE_DIR_DEFAULT, 0);
    setenv("HEATER_BIN_DIR", HEATER_BIN_DIR_DEFAULT, 0);
    use_own_folders();
    ui::onUnscriptedBox(fail_test);
    return true;
}();

// Ends the program after the summary is printed (listeners hear the end in
// the reverse order of their adding, so this one is put before the printer).
struct EndAtOnce : ::testing::EmptyTestEventListener {
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        std::fflush(nullptr);
        std::quick_exit(unit.Passed() ? 0 : 1);  // what must end with the program registers for it
    }
};

}  // namespace

void end_at_once_after_the_tests() {
    static const bool added = [] {
        auto& listeners = ::testing::UnitTest::GetInstance()->listeners();
        ::testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer());
        listeners.Append(new EndAtOnce);
        if (printer) listeners.Append(printer);
        return true;
    }();
    (void)added;
}

AllowUnscriptedBoxes::AllowUnscriptedBoxes() { ui::onUnscriptedBox(nullptr); }
AllowUnscriptedBoxes::~AllowUnscriptedBoxes() { ui::onUnscriptedBox(fail_test); }
