// Shared set-up of the data-store tests: a fresh default model whose data
// folder is a temporary folder, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/windows.h"
#include "tests/support/data_dir.h"

namespace apptest {

namespace fs = std::filesystem;

class DataDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_defaults(g);
        data_.use();
        windows() = WindowRegistry{};
    }
    void TearDown() override {
        set_defaults(g);
        windows() = WindowRegistry{};
    }

    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return fs::exists(path(name)); }
    // The names in the data folder (not descending into sub-folders).
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TempDataDir data_{"heater-app"};
    const std::string& dir_ = data_.path();
};

}  // namespace apptest
