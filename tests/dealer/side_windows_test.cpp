// The heater adjustment factors window, the customer-name window and the
// calculator window, driven through their controls.
#include "tests/dealer/dealer_test.h"

#include <QApplication>
#include <QMouseEvent>

#include "dealer/ui/calculator.h"
#include "dealer/ui/custname.h"
#include "dealer/ui/setheat.h"
#include "platform/application.h"
#include "tests/support/clicks.h"

using namespace dealertest;

class DealerWindows : public WindowTest {};

class HeaterFactors : public DealerWindows {
protected:
    setheat* open() {
        auto* w = static_cast<setheat*>(windows().setheat());
        w->Move(1750, 1400, 7890, 5450);
        return w;
    }
    // Types into box n and leaves it.
    void enter(setheat* w, int n, const QString& keys) {
        focus(w->Text[n]);
        w->Text[n]->SetText("");
        type(w->Text[n], keys);
        leave(w->Text[n]);
    }
};

// The window opens with the focus in its first box, the figure there
// selected: 10 typed at once is 10 %, never 0.0010 (shown as 0.00).
TEST_F(HeaterFactors, AFigureTypedAsTheWindowOpensReplacesTheShownOne) {
    g.year_factor = 0;
    setheat* w = open();
    ASSERT_EQ(w->focusWidget(), w->Text[1]);  // the box the keys go to
    EXPECT_EQ(w->Text[1]->selectedText(), "0.00");
    type(w->Text[1], "10");
    leave(w->Text[1]);
    EXPECT_EQ(w->Text[1]->Text(), "10.00");
    EXPECT_FLOAT_EQ(g.year_factor, 0.1f);
}

TEST_F(HeaterFactors, TypingLeavingRangesAndClosingWritesTheSettings) {
    g.year_factor = 0.123456f;
    g.sel_buffer[2] = 12000.4;
    g.allow_lowtemp = 2;
    setheat* w = open();
    EXPECT_EQ(w->Text[1]->Text(), "12.35");  // shown and restored at the shown precision
    EXPECT_FLOAT_EQ(g.year_factor, 0.1235f);
    EXPECT_EQ(w->Text[13]->Text(), "12,000");
    EXPECT_EQ(g.allow_lowtemp, 2);  // kept until the box is clicked
    w->Check1->click();
    EXPECT_EQ(g.allow_lowtemp, 1);

    focus(w->Text[1]);
    w->Text[1]->SetText("");
    type(w->Text[1], "12.345");
    EXPECT_FLOAT_EQ(g.year_factor, 0.12345f);  // stored while typing
    leave(w->Text[1]);
    EXPECT_EQ(w->Text[1]->Text(), "12.35");
    script->answer(ui::vbOK);
    enter(w, 1, "90");
    EXPECT_EQ(shown("Error", "Wrong input"), 1);
    EXPECT_EQ(w->Text[1]->Text(), "");
    EXPECT_EQ(g.year_factor, 0);

    // Appending a digit to "12,000" gives 120005: out of range.
    w->Text[12]->SetText("12,000");
    script->answer(ui::vbOK);
    focus(w->Text[12]);
    w->Text[12]->end(false);
    type(w->Text[12], "5");
    leave(w->Text[12]);
    EXPECT_EQ(shown("Error", "Wrong input"), 2);
    EXPECT_EQ(g.sel_buffer[1], 0);

    w->Text[5]->SetText("12");
    script->answer(ui::vbOK);
    type(w->Text[5], "-");  // no sign in the pool-size boxes: the box is emptied
    EXPECT_EQ(shown("Please", "Numbers only"), 1);
    EXPECT_EQ(w->Text[5]->Text(), "");

    script->answer(ui::vbOK);
    script->type("120");
    w->SSCommand2->click();  // the 7-days buffer dialogue
    enter(w, 6, "7.5");
    forget_file();
    w->SSCommand1->click();
    EXPECT_FALSE(w->isLoaded());
    ASSERT_TRUE(file_written());
    const DataModel f = saved();
    EXPECT_EQ(f.off_buffer[3], 120);
    EXPECT_FLOAT_EQ(f.size_comp[3], 7.5f);
}

class Customer : public DealerWindows {
protected:
    custname* open() {
        show_custname();
        return static_cast<custname*>(windows().custname());
    }
};

TEST_F(Customer, LinesAreStoredAndLimited) {
    g.cust_name = "Ann Smith";
    g.cust_street = "1 Palm Road";
    g.cust_city = "Naples, FL 34102";
    custname* w = open();
    EXPECT_EQ(plat::px(w->Left()), plat::px(2170));  // places are kept in whole pixels (15 twips)
    EXPECT_EQ(w->Text1[1]->Text(), "1 Palm Road");
    EXPECT_EQ(g.cust_city, "Naples, FL 34102");  // filling box 0 did not wipe the others

    script->answer(ui::vbOK);
    w->Text1[0]->SetText("");
    type(w->Text1[0], "ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // 26 characters
    ASSERT_EQ(shown("Error", "Maximum 25 characters\r\nare allowed for this line.\r\nThis line will be truncated."), 1);
    EXPECT_EQ(script->beeps(), 1);
    type(w->Text1[1], "X");  // a change elsewhere stores the name cut to 25
    EXPECT_EQ(g.cust_name, "ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(g.cust_street, "1 Palm RoadX");

    script->answer(ui::vbOK);
    type(w->Text1[2], "*");
    EXPECT_EQ(shown("Error", "Illigal input"), 1);
    EXPECT_EQ(w->Text1[2]->Text(), "Naples, FL 34102");
    type(w->Text1[2], "\x1b");
    EXPECT_EQ(g.cust_city, "");
}

TEST_F(Customer, LeavingGivesTheInputWindowBack) {
    weathers* input = open_input_window();
    for (bool close_box : {false, true}) {
        input->SetEnabled(false);
        g.cust_done = 0;
        custname* w = open();
        if (close_box) w->subWindow()->close();
        else w->SSCommand1->click();
        EXPECT_FALSE(w->isLoaded());
        EXPECT_EQ(g.cust_done, 1);
        EXPECT_TRUE(input->Enabled());
        EXPECT_TRUE(input->isActive());
    }
}

// The dealer who tabs to Continue and presses Enter (or Space) leaves the
// window as a click does.
TEST_F(Customer, EnterOrSpaceOnContinueLeaves) {
    plat::MainWindow::instance()->show();
    weathers* input = open_input_window();
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Space}) {
        input->SetEnabled(false);
        g.cust_done = 0;
        custname* w = open();
        QApplication::processEvents();
        w->SSCommand1->setFocus(Qt::TabFocusReason);
        testclicks::key(w, k);
        EXPECT_FALSE(w->isLoaded()) << k;
        EXPECT_EQ(g.cust_done, 1);
        EXPECT_TRUE(input->Enabled());
    }
}

class CalculatorWindow : public DealerWindows {
protected:
    static void mouse(QWidget* w, QEvent::Type t, int x_twips) {
        QMouseEvent e(t, QPointF(plat::px(x_twips), 5), w->mapToGlobal(QPointF(plat::px(x_twips), 5)), Qt::LeftButton,
                      t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

TEST_F(CalculatorWindow, KeysShowTheirResults) {
    auto* w = static_cast<Calculator*>(windows().Calculator());
    w->Show();
    EXPECT_EQ(g.calculator_open, 1);
    for (const QString& k : QString("C 2 0 0 + 5 % =").split(' ')) {
        for (auto* c : w->findChildren<plat::CommandButton*>())
            if (c->text() == k) c->click();
    }
    EXPECT_EQ(w->ReadOut->text(), "10");
}

TEST_F(CalculatorWindow, SwitchingOffGivesTheInputWindowBack) {
    weathers* input = open_input_window();
    input->SSCommand1(2)->click();  // the input window's calculator button
    EXPECT_FALSE(input->Enabled());
    auto* w = static_cast<Calculator*>(windows().Calculator());
    ASSERT_TRUE(w->isLoaded());
    w->Panel3D6_Click();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.calculator_open, 0);
    EXPECT_TRUE(input->Enabled());

    // Dragging the "ON" switch all the way switches the calculator off; the
    // program (and the project being worked on) stays.
    w->Show();
    mouse(w->Panel3D7, QEvent::MouseButtonPress, 0);
    for (int i = 0; i < 11; ++i) mouse(w->Panel3D7, QEvent::MouseMove, 600);
    EXPECT_TRUE(w->isLoaded());
    mouse(w->Panel3D7, QEvent::MouseMove, 600);
    EXPECT_FALSE(w->isLoaded());
    EXPECT_FALSE(testsupport::ensure_app()->endRequested());
}

// ---- the project follows the settings ----------------------------------------------------

TEST_F(HeaterFactors, TheOpenProjectIsRecalculatedWhenTheFactorsAreStored) {
    weathers* input = open_input_window();
    const QString before = input->result_text(13, weathers::kHpCost);
    // From the settings menu, which is the window active again afterwards.
    g.backup_asked = 1;
    windows().menu()->Show();
    auto* m = windows().menu()->findChild<plat::ComboBox*>();
    m->setCurrentIndex(5);
    emit m->activated(5);
    auto* w = static_cast<setheat*>(windows().setheat());
    ASSERT_TRUE(w->isLoaded());
    enter(w, 1, "-40");  // a much cooler year: more heat to buy
    w->SSCommand1->click();
    EXPECT_TRUE(windows().menu()->isActive());
    EXPECT_NE(input->result_text(13, weathers::kHpCost), before);
}

TEST_F(DealerWindows, TheOpenProjectShowsTheNewUnits) {
    weathers* input = open_input_window();
    const QString area = input->Text1(0)->Text();
    auto* units = windows().setsize();
    units->Move(2775, 1400, 8115, 3960);
    for (auto* b : units->findChildren<plat::CommandButton*>())
        if (b->text() == "Metric") b->click();
    units->Unload();
    EXPECT_NE(input->Text1(0)->Text(), area);  // square metres now
}
