// The heater adjustment factors window, the customer-name window and the
// calculator window, driven through their controls.
#include "dealer_windows.h"

#include <QMouseEvent>

#include "dealer/ui/calculator.h"
#include "dealer/ui/custname.h"
#include "dealer/ui/setheat.h"
#include "input/ui/weathers.h"
#include "platform/application.h"

// ---- heater adjustment factors -----------------------------------------------------------

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

TEST_F(HeaterFactors, OpeningShowsAndRestoresTheFactorsAtTheirShownPrecision) {
    g.year_factor = 0.123456f;
    g.sel_buffer[2] = 12000.4;
    g.reduce_pct = 0.2f;
    g.allow_lowtemp = 2;
    setheat* w = open();
    EXPECT_EQ(w->Caption(), "Heater adjustment factors");
    EXPECT_EQ(w->Text[1]->Text(), "12.35");
    EXPECT_FLOAT_EQ(g.year_factor, 0.1235f);
    EXPECT_EQ(w->Text[13]->Text(), "12,000");
    EXPECT_EQ(g.sel_buffer[2], 12000);
    EXPECT_EQ(w->Text[15]->Text(), "20.00");
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_EQ(g.allow_lowtemp, 2);  // kept until the box is clicked
    w->Check1->click();
    EXPECT_EQ(g.allow_lowtemp, 1);
    w->Check1->click();
    EXPECT_EQ(g.allow_lowtemp, 0);
}

TEST_F(HeaterFactors, TypingLeavingAndRanges) {
    setheat* w = open();
    focus(w->Text[1]);
    w->Text[1]->SetText("");
    type(w->Text[1], "12.345");
    EXPECT_FLOAT_EQ(g.year_factor, 0.12345f);  // stored while typing
    leave(w->Text[1]);
    EXPECT_EQ(w->Text[1]->Text(), "12.35");
    EXPECT_FLOAT_EQ(g.year_factor, 0.1235f);

    script->answer(ui::vbOK);
    enter(w, 1, "90");
    EXPECT_EQ(boxes("Error", "Wrong input"), 1);
    EXPECT_EQ(w->Text[1]->Text(), "");
    EXPECT_EQ(g.year_factor, 0);
    enter(w, 1, "-51");
    EXPECT_FLOAT_EQ(g.year_factor, -0.51f);

    // Appending a digit to "12,000" gives 120005: out of range.
    w->Text[12]->SetText("12,000");
    script->answer(ui::vbOK);
    focus(w->Text[12]);
    w->Text[12]->end(false);
    type(w->Text[12], "5");
    leave(w->Text[12]);
    EXPECT_EQ(boxes("Error", "Wrong input"), 2);
    EXPECT_EQ(g.sel_buffer[1], 0);

    enter(w, 15, "12%");  // no key filter on the reverse-flow box
    EXPECT_FLOAT_EQ(g.reduce_pct, 0.12f);
    EXPECT_EQ(w->Text[15]->Text(), "12.00");

    script->answer(ui::vbOK);
    enter(w, 16, "-10");  // no cover better than excellent
    EXPECT_EQ(boxes("Error", "Wrong input"), 3);
    EXPECT_EQ(g.cover_quality, 0);
    enter(w, 16, "50");
    EXPECT_EQ(g.cover_quality, 50);
}

TEST_F(HeaterFactors, RefusedKeysEmptyTheBox) {
    setheat* w = open();
    w->Text[5]->SetText("12");
    script->answer(ui::vbOK);
    type(w->Text[5], "-");  // no sign in the pool-size boxes
    EXPECT_EQ(boxes("Please", "Numbers only"), 1);
    EXPECT_EQ(w->Text[5]->Text(), "");
    EXPECT_EQ(g.size_comp[2], 0);
    w->Text[2]->SetText("5");
    type(w->Text[2], "-");  // a sign is fine here
    EXPECT_EQ(w->Text[2]->Text(), "5-");
    type(w->Text[2], "\x1b");  // Esc empties without the warning
    EXPECT_EQ(w->Text[2]->Text(), "");
    EXPECT_EQ(boxes("Please", "Numbers only"), 1);
}

TEST_F(HeaterFactors, ClosingWritesTheSettingsAndTheBufferDialogueStores) {
    setheat* w = open();
    script->answer(ui::vbOK);
    script->type("120");
    w->SSCommand2->click();
    EXPECT_EQ(g.off_buffer[3], 120);
    enter(w, 6, "7.5");
    forget_file();
    w->SSCommand1->click();
    EXPECT_FALSE(w->isLoaded());
    ASSERT_TRUE(file_written());
    const DataModel f = saved();
    EXPECT_EQ(f.off_buffer[3], 120);
    EXPECT_FLOAT_EQ(f.size_comp[3], 7.5f);
}

// ---- customer name ----------------------------------------------------------------------

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
    EXPECT_EQ(w->Caption(), "Customer's name and address");
    EXPECT_EQ(w->Text1[1]->Text(), "1 Palm Road");
    EXPECT_EQ(g.cust_city, "Naples, FL 34102");  // filling box 0 did not wipe the others
    EXPECT_EQ(g.cust_win_state, 1);

    script->answer(ui::vbOK);
    w->Text1[0]->SetText("");
    type(w->Text1[0], "ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // 26 characters
    ASSERT_EQ(boxes("Error", "Maximum 25 characters\r\nare allowed for this line.\r\nThis line will be truncated."), 1);
    EXPECT_EQ(script->shown().back().style, ui::vbExclamation);
    EXPECT_EQ(script->beeps(), 1);
    EXPECT_EQ(g.cust_name, "ABCDEFGHIJKLMNOPQRSTUVWXY");
    type(w->Text1[1], "X");  // a change elsewhere stores the name cut to 25
    EXPECT_EQ(g.cust_name, "ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(g.cust_street, "1 Palm RoadX");

    script->answer(ui::vbOK);
    type(w->Text1[2], "*");
    EXPECT_EQ(boxes("Error", "Illigal input"), 1);
    EXPECT_EQ(w->Text1[2]->Text(), "Naples, FL 34102");
    type(w->Text1[2], "\x1b");
    EXPECT_EQ(g.cust_city, "");
}

TEST_F(Customer, LeavingGivesTheInputWindowBack) {
    weathers* input = open_input_window();
    input->SetEnabled(false);
    g.cust_done = 0;
    custname* w = open();
    w->SSCommand1->click();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.cust_done, 1);
    EXPECT_TRUE(input->Enabled());
    EXPECT_TRUE(input->isActive());
    input->SetEnabled(false);
    g.cust_done = 0;
    w = open();
    w->subWindow()->close();  // the close box does the same
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.cust_done, 1);
    EXPECT_TRUE(input->Enabled());
}

// ---- calculator --------------------------------------------------------------------------

class CalculatorWindow : public DealerWindows {
protected:
    Calculator* open() {
        auto* w = static_cast<Calculator*>(windows().Calculator());
        w->Show();
        return w;
    }
    static void click(Calculator* w, const char* keys) {
        for (const QString& k : QString(keys).split(' ', Qt::SkipEmptyParts)) {
            plat::CommandButton* b = nullptr;
            for (auto* c : w->findChildren<plat::CommandButton*>())
                if (c->text() == k) b = c;
            ASSERT_TRUE(b) << k.toStdString();
            b->click();
        }
    }
    static void mouse(QWidget* w, QEvent::Type t, int x_twips) {
        QMouseEvent e(t, QPointF(plat::px(x_twips), 5), w->mapToGlobal(QPointF(plat::px(x_twips), 5)),
                      Qt::LeftButton, t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

TEST_F(CalculatorWindow, KeysShowTheirResults) {
    Calculator* w = open();
    EXPECT_EQ(w->Caption(), "Calculator");
    EXPECT_EQ(g.calculator_open, 1);
    EXPECT_EQ(plat::px(w->Left()), plat::px(1200));
    click(w, "C 1 2 . 5");
    EXPECT_EQ(w->ReadOut->text(), "12.5");
    click(w, "X 2 =");
    EXPECT_EQ(w->ReadOut->text(), "25");
    click(w, "M+ C MRC");
    EXPECT_EQ(w->ReadOut->text(), "0.");
    click(w, "2 0 0 + 5 % =");
    EXPECT_EQ(w->ReadOut->text(), "10");
    w->Move(3000, 3000);
    click(w, "C");  // back to its place
    EXPECT_EQ(plat::px(w->Left()), plat::px(1200));
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
    w = open();
    mouse(w->Panel3D7, QEvent::MouseButtonPress, 0);
    for (int i = 0; i < 11; ++i) mouse(w->Panel3D7, QEvent::MouseMove, 600);
    EXPECT_TRUE(w->isLoaded());
    mouse(w->Panel3D7, QEvent::MouseMove, 600);
    EXPECT_FALSE(w->isLoaded());
    EXPECT_FALSE(plat::ensureApp()->endRequested());
    EXPECT_EQ(g.calculator_open, 0);
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
    auto* w = windows().setsize();
    w->Move(2775, 1400, 8115, 3960);
    for (auto* b : w->findChildren<plat::CommandButton*>())
        if (b->text() == "Metric") b->click();
    w->Unload();
    EXPECT_NE(input->Text1(0)->Text(), area);  // square metres now
}
