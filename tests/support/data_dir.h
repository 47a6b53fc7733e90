// A data folder of its own for one test or benchmark: a new temporary folder
// (a unique name, so test programs can run side by side), removed with the
// object, optionally holding copies of the built default data files. No
// test framework here, so that bench/ can use it too.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

namespace testsupport {

// The folder of the built default data: HEATER_BIN_DIR, else bin/ beside
// the folder of the running program.
std::string built_data_dir();

class TempDataDir {
public:
    explicit TempDataDir(const std::string& tag = "heater");
    ~TempDataDir();
    TempDataDir(const TempDataDir&) = delete;
    TempDataDir& operator=(const TempDataDir&) = delete;

    // The folder, without a final "/".
    const std::string& path() const { return path_; }
    // A file in it.
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Copies these built data files into the folder, or every built file;
    // false (and the name in missing()) when one is not there. The data
    // files come from the shipped versions (bin/defaults/), never from the
    // copies in bin/ that a run of the program there may have changed.
    bool copy_built(std::initializer_list<const char*> names);
    bool copy_built();
    const std::string& missing() const { return missing_; }
    // Makes it the program's data folder, as start-up does: g.data_dir :=
    // path + "/", printouts into path + "/printouts/".
    void use() const;
    // Starts the program's data model on the folder as the program does:
    // defaults, use(), then the settings, heat-pump and city files.
    void load_program_data() const;

private:
    std::string path_;
    std::string missing_;
};

// Something that is no regular file in place of `path` (whatever was there
// goes): a named pipe nobody writes to, or a link to an endless device.
enum class NotAFile { Fifo, EndlessDevice };
void put_not_a_file(const std::string& path, NotAFile kind);
// Runs `read` and says whether it came back within `ms`. A read stuck
// opening the named pipe at `path` is let go afterwards (a writer opens and
// closes it), so a test fails rather than hangs.
bool returns_promptly(const std::string& path, const std::function<void()>& read, int ms = 5000);

}  // namespace testsupport
