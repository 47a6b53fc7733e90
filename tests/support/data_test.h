// The data tests' fixture: a fresh default model whose data folder
// (g.data_dir) is a new temporary folder of its own, an empty registry, and
// the folder's files written and read back by name.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/recfile.h"
#include "core/windows.h"
#include "tests/support/data_dir.h"

namespace testsupport {

// A file of the data folder (g.data_dir), by name.
inline std::string path(const std::string& name) { return g.data_dir + name; }
inline void write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path(name)).parent_path());
    std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
}
inline std::string read(const std::string& name) {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
inline bool exists(const std::string& name) { return std::filesystem::exists(path(name)); }
// The names in the folder, sorted (not descending into sub-folders).
inline std::vector<std::string> files() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(g.data_dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        data_.use();
        windows() = WindowRegistry{};
    }
    void TearDown() override {
        rec::setFaultHook(nullptr);
        set_defaults(g);
        windows() = WindowRegistry{};
    }

    TempDataDir data_{"heater-data"};
    const std::string dir_ = data_.path() + "/";  // the folder, ending in "/"
};

}  // namespace testsupport
