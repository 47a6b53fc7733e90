// Helper process of the kill test: saves the program's data files the way
// the program does (Dfltout, the city file through locatio2.dat, PumpHP.dat
// through a complete copy, the data-disk copy) until it is killed.
//   kill_saver write V DIR   write version V (0 or 1) of the three files once
//   kill_saver loop DIR      write version 1, 0, 1, 0 ... for ever (the
//                            folder starts with version 0)
//   kill_saver disk DIR      restore the missing files of DIR from the data
//                            disk DIR/A/, then again for ever
// It prints "go" once set up, so the killer knows the saving has begun.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"

namespace {

void version(int v) {
    set_defaults(g);
    g.company_name = v ? "Bright Water Heat Pumps" : "Alpha Pool Heating";
    g.pool_area = v ? 1234.5f : 450.0f;
}

std::vector<CityRecord> cities(int v) {
    std::vector<CityRecord> out(v ? 120 : 194);
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i].city = "City " + std::to_string(i + 1) + (v ? " new" : " old");
        out[i].state = v ? "FL" : "GA";
        out[i].wind = static_cast<float>(i % 17);
        for (int m = 1; m <= 12; ++m) out[i].air_temp[m] = static_cast<float>(40 + m + v);
    }
    return out;
}

void pumps(int v) {
    for (int k = 1; k <= 100; ++k) {
        g.pump_tab[k] = PumpBrand{};
        g.pump_tab[k].brand = "Brand " + std::to_string(k) + (v ? " B" : " A");
        g.pump_tab[k].model[1] = v ? "HX 520" : "HX 310";
        for (int p = 1; p <= 72; ++p) g.pump_tab[k].cop[p] = static_cast<float>(3 + v + p % 5);
    }
}

void save(const std::string& dir, int v) {
    version(v);
    g.data_dir = dir;
    Dfltout();
    if (!records::writeCityFile(dir, cities(v))) std::exit(3);
    pumps(v);
    if (!records::writePumpFile(dir + "PumpHP.dat", g.pump_tab)) std::exit(4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string mode = argv[1];
    std::string dir = argv[argc - 1];
    if (dir.back() != '/') dir += '/';
    // No box may wait for an answer here: any box ends the helper with a
    // failure the test sees.
    ui::Backend quiet;
    // (The data disk's note of what it restored only informs: it is let by.)
    quiet.msgBox = [](const std::string& text, int style, const std::string& title) -> int {
        if (title == "Load your data disk" && (style & ui::vbInformation)) return ui::vbOK;
        std::fprintf(stderr, "box: %s\n", text.c_str());
        std::_Exit(5);
    };
    quiet.warningSound = [](bool) {};
    quiet.beep = [] {};
    quiet.setBusy = [](bool) {};
    ui::install(quiet);

    if (mode == "write" && argc == 4) {
        save(dir, std::atoi(argv[2]));
        return 0;
    }
    set_defaults(g);
    g.data_dir = dir;
    std::puts("go");
    std::fflush(stdout);
    if (mode == "loop")
        for (int v = 1;; v ^= 1) save(dir, v);
    if (mode == "disk")
        for (;;) load_data_disk();
    return 2;
}
