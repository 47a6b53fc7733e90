// The user-facing seam: scripted boxes, the busy pointer and error texts.
#include "core/ui.h"
#include "tests/support/box_guard.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

TEST(UiScript, AnswersBoxesInOrderAndRecordsThem) {
    ui::Script script;
    script.answer(ui::vbNo).answer(ui::vbCancel).type("1500");
    EXPECT_EQ(ui::MsgBox("Do you want to leave?", ui::vbYesNo + ui::vbQuestion, "Heater"), ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Check the paper", ui::vbRetryCancel, "Printer error"), ui::vbCancel);
    EXPECT_EQ(ui::InputBox("Price", "Model", "0"), "1500");
    ASSERT_EQ(script.shown().size(), 3u);
    EXPECT_EQ(script.shown()[0].kind, "msgbox");
    EXPECT_EQ(script.shown()[0].text, "Do you want to leave?");
    EXPECT_EQ(script.shown()[0].title, "Heater");
    EXPECT_EQ(script.shown()[0].style, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(script.shown()[2].kind, "inputbox");
    EXPECT_EQ(script.shown()[2].title, "Model");
    EXPECT_TRUE(script.unexpected().empty());
}

// Enter presses the button the style makes the default, as the platform's
// box does: what the tests of a stray Enter on a question rely on.
TEST(UiScript, EnterPressesTheDefaultButton) {
    const struct {
        int style, pressed;
    } boxes[] = {
        {ui::vbYesNo, ui::vbYes},
        {ui::vbYesNo | ui::vbDefaultButton2, ui::vbNo},
        {ui::vbYesNoCancel | ui::vbDefaultButton3, ui::vbCancel},
        {ui::vbOKOnly | ui::vbDefaultButton2, ui::vbOK},  // no second button: the first
    };
    for (const auto& b : boxes) {
        ui::Script script;
        script.enter();
        EXPECT_EQ(ui::MsgBox("Sure?", b.style), b.pressed) << b.style;
    }
}

TEST(UiScript, UnscriptedBoxesAreRecordedAndGetTheFirstButton) {
    ui::Script script;
    EXPECT_EQ(ui::MsgBox("Numbers only"), ui::vbOK);
    EXPECT_EQ(ui::MsgBox("Leave?", ui::vbYesNoCancel), ui::vbYes);
    EXPECT_EQ(ui::MsgBox("Retry?", ui::vbRetryCancel + ui::vbCritical), ui::vbRetry);
    EXPECT_EQ(ui::MsgBox("Abort?", ui::vbAbortRetryIgnore), ui::vbAbort);
    EXPECT_EQ(ui::InputBox("Name", "", "default"), "default");
    ASSERT_EQ(script.unexpected().size(), 5u);
    EXPECT_EQ(script.unexpected()[0].text, "Numbers only");
    EXPECT_EQ(script.unexpected()[4].kind, "inputbox");
    script.clear();
    EXPECT_TRUE(script.shown().empty());
    EXPECT_TRUE(script.unexpected().empty());
}

TEST(UiScript, CountsSoundsAndBeepsAndNestsInnermostFirst) {
    ui::Script outer;
    outer.answer(ui::vbYes);
    ui::Beep();
    {
        ui::Script inner;
        inner.answer(ui::vbNo);
        ui::WarningSound(true);
        EXPECT_EQ(ui::MsgBox("Inner?", ui::vbYesNo), ui::vbNo);
        EXPECT_EQ(inner.sounds(), 1);
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    EXPECT_EQ(ui::MsgBox("Outer?", ui::vbYesNo), ui::vbYes);
    EXPECT_EQ(outer.beeps(), 1);
    EXPECT_EQ(outer.sounds(), 0);
    EXPECT_EQ(outer.shown().size(), 1u);
}

TEST(UiBusy, NestedGuardsRestoreThePointerEvenOnExceptions) {
    ui::Script script;
    EXPECT_THROW(
        {
            ui::BusyPointer outer;
            EXPECT_EQ(script.busyDepth(), 1);
            {
                ui::BusyPointer inner;
                EXPECT_EQ(script.busyDepth(), 1);  // one pointer, however deep
            }
            EXPECT_EQ(script.busyDepth(), 1);
            throw std::runtime_error("fault in a printout");
        },
        std::runtime_error);
    EXPECT_EQ(script.busyDepth(), 0);
}

TEST(UiBusy, APointerUpWhenAScriptStartsMovesOverAndBack) {
    int realBusy = 0;
    ui::Backend real;
    real.setBusy = [&](bool b) { realBusy += b ? 1 : -1; };
    ui::Backend before = ui::install(real);
    {
        ui::BusyPointer busy;
        EXPECT_EQ(realBusy, 1);
        {
            ui::Script script;
            EXPECT_EQ(realBusy, 0);
            EXPECT_EQ(script.busyDepth(), 1);
        }
        EXPECT_EQ(realBusy, 1);
    }
    EXPECT_EQ(realBusy, 0);
    ui::install(before);
}

TEST(UiBusy, AFailingBackendLeavesTheCountConsistent) {
    ui::Backend failing;
    failing.setBusy = [](bool) { throw std::runtime_error("no display"); };
    ui::Backend before = ui::install(failing);
    EXPECT_THROW(ui::BusyPointer b, std::runtime_error);
    ui::install(before);
    ui::Script script;
    {
        ui::BusyPointer b;
        EXPECT_EQ(script.busyDepth(), 1);
    }
    EXPECT_EQ(script.busyDepth(), 0);
}

TEST(UiDefaults, WithoutABackendBoxesTakeTheFirstButton) {
    AllowUnscriptedBoxes allow;
    ui::Backend before = ui::install(ui::Backend{});
    EXPECT_EQ(ui::MsgBox("Check the printer", ui::vbRetryCancel, "Device fault"), ui::vbRetry);
    EXPECT_EQ(ui::MsgBox("Leave?", ui::vbYesNo), ui::vbYes);
    EXPECT_EQ(ui::MsgBox("Saved", ui::vbOKCancel), ui::vbOK);
    EXPECT_EQ(ui::InputBox("Code", "", "1234"), "1234");
    ui::Beep();
    ui::WarningSound(false);
    { ui::BusyPointer b; }
    ui::install(before);
}

TEST(UiErrors, EndProgramAndErrorTexts) {
    EXPECT_THROW(ui::EndProgram(), ui::ProgramEnd);
    EXPECT_EQ(ui::ErrorText(53), "File not found");
    EXPECT_EQ(ui::ErrorText(11), "Division by zero");
    EXPECT_EQ(ui::ErrorText(25), "Device timeout");
    EXPECT_EQ(ui::ErrorText(429), "ActiveX component can't create object");
    EXPECT_EQ(ui::ErrorText(5152), "This is not a valid file name.");
    EXPECT_EQ(ui::ErrorText(12345), "Application-defined or object-defined error");
    ui::RtError e(62, ui::ErrorText(62));
    EXPECT_EQ(e.number, 62);
    EXPECT_EQ(e.description(), "Input past end of file");
}

// Every test program fails a test that shows a box nobody scripted.
TEST(UiGuard, AnUnscriptedBoxFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(ui::MsgBox("Numbers only", ui::vbOKOnly, "Please"), "unexpected msgbox \"Please\"");
    ui::Script script;
    script.answer(ui::vbOK);
    ui::MsgBox("Numbers only", ui::vbOKOnly, "Please");  // scripted: no failure
    EXPECT_EQ(script.shown().size(), 1u);
}

// Cancel belongs to the work in progress: none is heard with no Progress
// running, a nested Progress shares the outer one's (once pressed it
// stays pressed), and the next piece of work starts uncancelled.
TEST(UiProgress, CancelBelongsToTheWorkInProgress) {
    ui::Script script;
    script.cancelWhen([] { return true; });  // one press, at the first look
    EXPECT_FALSE(ui::cancelRequested());
    {
        ui::Progress outer("Printing Audit...");
        EXPECT_TRUE(ui::cancelRequested());
        {
            ui::Progress inner("Printing Energy costs...");
            EXPECT_TRUE(ui::cancelRequested());
        }
        EXPECT_TRUE(ui::cancelRequested());
    }
    EXPECT_EQ(script.progress(), std::vector<std::string>{"Printing Audit..."});
    ui::Progress next("Printing Audit...");
    EXPECT_FALSE(ui::cancelRequested());
}
