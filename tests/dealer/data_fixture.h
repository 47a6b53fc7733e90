// Shared set-up of the city and heat-pump data tests: a fresh model whose
// data folder is a temporary folder, helpers to build and read back city
// files, and a switch that makes one step of the file replacement fail.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "app/records.h"
#include "core/recfile.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "tests/support/data_dir.h"

namespace dealertest {

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

class DataDir : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        data_.use();
    }
    void TearDown() override { rec::setFaultHook(nullptr); }

    std::string path(const std::string& name) const { return dir_ + name; }
    void write(const std::string& name, const std::string& bytes) const {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::string read(const std::string& name) const {
        std::string s;
        rec::readFile(path(name), s);
        return s;
    }
    bool exists(const std::string& name) const { return fs::exists(path(name)); }
    void write_cities(const std::vector<CityRecord>& cities) const {
        std::string bytes;
        for (const auto& c : cities) bytes += records::pack(c);
        write("location.dat", bytes);
    }
    std::vector<CityRecord> cities() const { return records::readCityFile(path("location.dat"), nullptr, 100000); }
    // Only the expected files are in the folder (no copies left behind).
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TempDataDir data_{"heater-dealer"};
    const std::string dir_ = data_.path() + "/";
};

// The city and state of a record, trimmed ("Name/ST").
inline std::string label(const CityRecord& r) { return vb::Trim(r.city) + "/" + vb::Trim(r.state); }

}  // namespace dealertest
