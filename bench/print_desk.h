// Shared by the printing benchmarks: a copy of the built default data in a
// temporary folder, loaded into the data model, with no printer installed,
// so that every printout becomes a PDF file in its printouts folder.
#pragma once

#include <filesystem>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "platform/print_qt.h"
#include "print/destination.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

class PdfDesk {
public:
    explicit PdfDesk(const std::string& name) : dir_("heater-bench-" + name) {
        testsupport::ensure_app();
        plat::installPrinting();
        prn::setDefaultPrinterLookup([] { return std::string(); });
        prn::setChosenPrinter("");
        dir_.copy_built();
        set_defaults(g);
        dir_.use();
        Dfltinp();
        load_brand_pumps();
        load_locations();
    }
    PdfDesk(const PdfDesk&) = delete;
    PdfDesk& operator=(const PdfDesk&) = delete;

    // Files written into the printouts folder so far.
    std::size_t files() const {
        namespace fs = std::filesystem;
        const fs::path out = fs::path(dir_.path()) / "printouts";
        if (!fs::exists(out)) return 0;
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(out), fs::directory_iterator{}));
    }

private:
    testsupport::TempDataDir dir_;
};
