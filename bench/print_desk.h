// Shared by the printing benchmarks: a copy of the built default data in a
// temporary folder, loaded into the data model, with no printer installed,
// so that every printout becomes a PDF file in its printouts folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "platform/print/destination.h"
#include "platform/print_qt.h"
#include "platform/testing.h"

class PdfDesk {
public:
    explicit PdfDesk(const std::string& name) {
        namespace fs = std::filesystem;
        plat::ensureApp();
        plat::installPrinting();
        prn::setDefaultPrinterLookup([] { return std::string(); });
        prn::setChosenPrinter("");
        const char* env = std::getenv("HEATER_BIN_DIR");
        const fs::path bin = env ? fs::path(env) : fs::read_symlink("/proc/self/exe").parent_path() / ".." / "bin";
        dir_ = fs::temp_directory_path() / ("heater-bench-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const auto& e : fs::directory_iterator(bin))
            if (e.is_regular_file()) fs::copy_file(e.path(), dir_ / e.path().filename());
        set_defaults(g);
        g.data_dir = dir_.string() + "/";
        Dfltinp();
        load_brand_pumps();
        load_locations();
    }
    ~PdfDesk() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    PdfDesk(const PdfDesk&) = delete;
    PdfDesk& operator=(const PdfDesk&) = delete;

    // Files written into the printouts folder so far.
    std::size_t files() const {
        namespace fs = std::filesystem;
        const fs::path out = dir_ / "printouts";
        if (!fs::exists(out)) return 0;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(out), fs::directory_iterator{}));
    }

private:
    std::filesystem::path dir_;
};
