// Linked into every test program: a message or input box that a test shows
// without a ui::Script to answer it fails that test. A test that expects a
// box scripts its answer; anything else is a box a user would have seen and
// nobody checked.
#include "box_guard.h"

#include <gtest/gtest.h>

#include "core/ui.h"

namespace {

void failTest(const ui::Shown& s) {
    ADD_FAILURE() << "unexpected " << s.kind << " \"" << s.title << "\": " << s.text;
}

const bool installed = [] {
    ui::onUnscriptedBox(failTest);
    return true;
}();

}  // namespace

AllowUnscriptedBoxes::AllowUnscriptedBoxes() { ui::onUnscriptedBox(nullptr); }
AllowUnscriptedBoxes::~AllowUnscriptedBoxes() { ui::onUnscriptedBox(failTest); }
