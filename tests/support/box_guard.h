// For the few tests that check what happens to a box nobody scripted: while
// an AllowUnscriptedBoxes lives, such boxes do not fail the test.
#pragma once

struct AllowUnscriptedBoxes {
    AllowUnscriptedBoxes();
    ~AllowUnscriptedBoxes();
    AllowUnscriptedBoxes(const AllowUnscriptedBoxes&) = delete;
    AllowUnscriptedBoxes& operator=(const AllowUnscriptedBoxes&) = delete;
};

// For programs that start Qt WebEngine (a browser window). The test
// application is never destroyed, so the engine's threads are never shut
// down with it and run on while exit() destroys what they use (now and then
// a crash after every test passed). Once this was called, the program ends
// with its tests' result as soon as they are done, through quick_exit: only
// the handlers registered for it (the kept LibreOffice renderer) run.
void end_at_once_after_the_tests();
