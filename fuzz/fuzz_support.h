// Shared set-up of the fuzz targets: each target writes the input bytes into
// one data file of a private data folder and runs the program's own loader
// on it, with message boxes answered by their first button (as a dealer
// pressing OK would) and nothing shown.
#pragma once

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/model.h"
#include "core/ui.h"

namespace fuzz {

// A data folder of this process, made once, emptied of the fuzzed file on
// every input. Returned with a trailing "/" like g.data_dir.
inline const std::string& dataDir() {
    static const std::string dir = [] {
        namespace fs = std::filesystem;
        fs::path p = fs::temp_directory_path() / ("heater-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p);
        return p.string() + "/";
    }();
    return dir;
}

// Message boxes answer with their first button; input boxes with nothing;
// sounds and the busy pointer do nothing.
inline void quietBoxes() {
    static bool done = false;
    if (done) return;
    done = true;
    ui::Backend b;
    b.msgBox = [](const std::string&, int style, const std::string&) {
        switch (style & 7) {
            case ui::vbOKCancel: return ui::vbOK;
            case ui::vbAbortRetryIgnore: return ui::vbAbort;
            case ui::vbYesNoCancel:
            case ui::vbYesNo: return ui::vbYes;
            case ui::vbRetryCancel: return ui::vbCancel;  // never retry forever
            default: return ui::vbOK;
        }
    };
    b.inputBox = [](const std::string&, const std::string&, const std::string&) { return std::string(); };
    b.warningSound = [](bool) {};
    b.beep = [] {};
    b.setBusy = [](bool) {};
    ui::install(b);
}

// Fresh program state on the private folder; `name` holds the input bytes.
inline void prepare(const std::string& name, const std::uint8_t* data, std::size_t size) {
    quietBoxes();
    set_defaults(g);
    g.data_dir = dataDir();
    std::ofstream(g.data_dir + name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace fuzz
