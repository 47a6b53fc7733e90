// For the few tests that check what happens to a box nobody scripted: while
// an AllowUnscriptedBoxes lives, such boxes do not fail the test.
#pragma once

struct AllowUnscriptedBoxes {
    AllowUnscriptedBoxes();
    ~AllowUnscriptedBoxes();
    AllowUnscriptedBoxes(const AllowUnscriptedBoxes&) = delete;
    AllowUnscriptedBoxes& operator=(const AllowUnscriptedBoxes&) = delete;
};
