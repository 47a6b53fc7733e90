// The engine tests' fixture: a fresh data model holding the sample project
// in Orlando; no message box may appear unless scripted.
#pragma once

#include <gtest/gtest.h>

#include "core/ui.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "tests/support/samples.h"

namespace samples {

// Sum of the month needs, BTU.
inline double season_need() {
    double s = 0;
    for (int m = 1; m <= 12; ++m) s += g.month_need[m];
    return s;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        set_project(kOrlando);
        windows() = WindowRegistry{};
    }
    void TearDown() override {
        for (const auto& s : script.unexpected()) ADD_FAILURE() << "unexpected box \"" << s.title << "\": " << s.text;
    }
    ui::Script script;
};

}  // namespace samples
