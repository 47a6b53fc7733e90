#include "tests/support/data_dir.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <set>
#include <stdexcept>

#include "app/data.h"
#include "app/model.h"
#include "print/destination.h"

namespace fs = std::filesystem;

namespace testsupport {

std::string built_data_dir() {
    if (const char* env = std::getenv("HEATER_BIN_DIR"); env && *env) return env;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return (exe.parent_path() / ".." / "bin").lexically_normal().string();
}

TempDataDir::TempDataDir(const std::string& tag) {
    std::string tmpl = (fs::temp_directory_path() / (tag + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a temporary folder " + tmpl);
    path_ = tmpl;
}

TempDataDir::~TempDataDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

namespace {

// Where the build keeps the shipped version of a file: bin/defaults/ for the
// data files (the files in bin/ itself may have been edited by whoever ran
// the program there), else bin/.
fs::path built_file(const std::string& name) {
    const fs::path bin = built_data_dir();
    std::error_code ec;
    if (fs::is_regular_file(bin / "defaults" / name, ec)) return bin / "defaults" / name;
    return bin / name;
}

}  // namespace

bool TempDataDir::copy_built(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        std::error_code ec;
        fs::copy_file(built_file(name), fs::path(path_) / name, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            missing_ = name;
            return false;
        }
        fs::permissions(fs::path(path_) / name, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                        ec);
    }
    return true;
}

bool TempDataDir::copy_built() {
    std::error_code ec;
    std::set<std::string> names;
    for (const fs::path& dir : {fs::path(built_data_dir()), fs::path(built_data_dir()) / "defaults"}) {
        for (const auto& e : fs::directory_iterator(dir, ec)) {
            if (!e.is_regular_file()) continue;
            const std::string name = e.path().filename().string();
            // The program run from the built folder by a test beside this one
            // keeps its instance lock file there: no data file of the folder.
            if (name.rfind("heater.lock", 0) == 0) continue;
            names.insert(name);
        }
        if (ec) {
            missing_ = dir.string();
            return false;
        }
    }
    for (const std::string& name : names)
        if (!copy_built({name.c_str()})) return false;
    return true;
}

void TempDataDir::use() const {
    g.data_dir = path_ + "/";
    prn::setPrintoutsFolder(path_ + "/printouts/");
}

void TempDataDir::load_program_data() const {
    set_defaults(g);
    use();
    Dfltinp();
    load_brand_pumps();
    load_locations();
}

void put_not_a_file(const std::string& path, NotAFile kind) {
    std::error_code ec;
    fs::remove(path, ec);
    if (kind == NotAFile::Fifo) ::mkfifo(path.c_str(), 0600);
    else fs::create_symlink("/dev/zero", path, ec);
}

bool returns_promptly(const std::string& path, const std::function<void()>& read, int ms) {
    auto done = std::async(std::launch::async, [&read] {
        try {
            read();
        } catch (...) {}
    });
    if (done.wait_for(std::chrono::milliseconds(ms)) == std::future_status::ready) return true;
    // Let a reader stuck opening the pipe go: it then reads an empty file.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) ::close(fd);
    done.wait();
    return false;
}

}  // namespace testsupport
