// Linked into every test program. A message or input box that a test shows
// without a ui::Script to answer it fails that test: a test that expects a
// box scripts its answer; anything else is a box a user would have seen and
// nobody checked. And the programs run headless with the built default data
// however they are started (ctest, by hand, a debugger); the environment
// overrides.
#include "box_guard.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/ui.h"

namespace {

void failTest(const ui::Shown& s) { ADD_FAILURE() << "unexpected " << s.kind << " \"" << s.title << "\": " << s.text; }

const bool installed = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HEATER_SOURCE_DIR", HEATER_SOURCE_DIR_DEFAULT, 0);
    setenv("HEATER_BIN_DIR", HEATER_BIN_DIR_DEFAULT, 0);
    ui::onUnscriptedBox(failTest);
    return true;
}();

}  // namespace

AllowUnscriptedBoxes::AllowUnscriptedBoxes() { ui::onUnscriptedBox(nullptr); }
AllowUnscriptedBoxes::~AllowUnscriptedBoxes() { ui::onUnscriptedBox(failTest); }
