// Shared by the dealer tests: the data folder's files written and read
// back (g.data_dir), cities to write, the settings file as saved, a switch
// that makes one step of the file replacement fail, and for the data tests
// an empty data folder of their own (the window tests use
// testsupport::WindowTest).
#pragma once

#include <cstdlib>

#include "app/records.h"
#include "app/settings.h"
#include "app/ui/forms.h"
#include "app/ui/startup.h"
#include "core/vbtext.h"
#include "input/ui/weathers.h"
#include "tests/support/data_test.h"
#include "tests/support/window_test.h"

namespace dealertest {

using testkeys::focus;
using testkeys::leave;
using testkeys::type;
using testkeys::typeIn;
using testsupport::exists;
using testsupport::files;
using testsupport::path;
using testsupport::read;
using testsupport::WindowTest;
using testsupport::write;

namespace fs = std::filesystem;

// Makes the n-th time `step` is reached fail with EIO (n from 1), for as
// long as the guard lives.
class FailStep {
public:
    FailStep(rec::Step step, int nth = 1) {
        step_() = step;
        left_() = nth;
        rec::setFaultHook(&hook);
    }
    ~FailStep() { rec::setFaultHook(nullptr); }
    FailStep(const FailStep&) = delete;
    FailStep& operator=(const FailStep&) = delete;
    // Whether the failure was injected.
    bool fired() const { return left_() == 0; }

private:
    static rec::Step& step_() {
        static rec::Step s;
        return s;
    }
    static int& left_() {
        static int n;
        return n;
    }
    static int hook(rec::Step s, const std::string&) {
        if (s != step_() || left_() <= 0) return 0;
        return --left_() == 0 ? 5 /* EIO */ : 0;
    }
};

inline const rec::Step kAllSteps[] = {rec::Step::Create, rec::Step::Write, rec::Step::Sync, rec::Step::Close,
                                      rec::Step::Rename};

// A city with recognisable values: every number derived from `seed`.
inline CityRecord city(const std::string& name, const std::string& state, float seed = 1) {
    CityRecord r;
    r.city = vb::FixLen(name, 39);
    r.state = vb::FixLen(state, 25);
    r.elec_cost = 0.1f * seed;
    r.gas_cost = 0.2f * seed;
    r.propane_cost = 0.3f * seed;
    r.oil_cost = 0.4f * seed;
    r.wind = 5 + seed;
    for (int m = 1; m <= 12; ++m) {
        r.humidity[m] = 60 + m + seed;
        r.sun[m] = 300 + m * 10 + seed;
        r.air_temp[m] = 50 + m + seed / 10;
    }
    return r;
}

inline void write_cities(const std::vector<CityRecord>& cities) {
    std::string bytes;
    for (const auto& c : cities) bytes += records::pack(c);
    write("location.dat", bytes);
}
inline std::vector<CityRecord> city_file() { return records::readCityFile(path("location.dat"), nullptr, 100000); }
// The temporary copies a replacement left behind in the folder.
inline std::vector<std::string> copies_left() {
    std::vector<std::string> out;
    for (const std::string& f : files())
        if (f == "locatio2.dat" || f.find('~') != std::string::npos) out.push_back(f);
    return out;
}

// The settings file as it is on disk now, read into a model of its own.
inline DataModel saved() {
    DataModel m;
    set_defaults(m);
    settings::fromText(read("defaulte.dat"), m);
    return m;
}
// Removes the settings file, so that file_written() tells whether the
// settings were written since.
inline void forget_file() { fs::remove(path("defaulte.dat")); }
inline bool file_written() { return exists("defaulte.dat"); }

// The project input window, open and active (the customer already
// entered, so it does not ask for one).
inline weathers* open_input_window() {
    g.cust_done = 1;
    weathers* w = frm_weathers();
    w->Show();
    return w;
}

using DataDir = testsupport::DataTest;

// The city and state of a record, trimmed ("Name/ST").
inline std::string label(const CityRecord& r) { return vb::Trim(r.city) + "/" + vb::Trim(r.state); }

}  // namespace dealertest
