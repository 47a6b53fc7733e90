// The finance calculator window driven through its controls.
#include "tests/finance/finance_ui_fixture.h"

#include <QTest>

namespace {

class LeaseWindow : public FinanceUi {
protected:
    void SetUp() override {
        FinanceUi::SetUp();
        g.equip_cost = cy(10000);
    }
};

TEST_F(LeaseWindow, FirstOpeningOffersATwelveMonthLease) {
    lease* w = openLease();
    EXPECT_EQ(g.fin_mode, 1);
    EXPECT_EQ(w->Combo2->Text(), "Lease");
    EXPECT_EQ(g.fin_months, 12);
    EXPECT_TRUE(w->Option(1)->Value());
    EXPECT_TRUE(w->Check2->Value());
    EXPECT_EQ(g.help_off, 1);
    EXPECT_FALSE(w->Text10->isVisibleTo(w));
    EXPECT_EQ(w->SSCommand1->text(), "Tot costs");
    // One opening, one calculation: its figures are on the window.
    EXPECT_EQ(w->calculations(), 1);
    EXPECT_EQ(text(w->Label(2)), "   $10,000.00");
    EXPECT_EQ(text(w->Label(12)), fin::right13(vb::Format(g.pay_term.toDouble(), "$#,##0.00")));
    EXPECT_EQ(g.pay_term, cy(10000 * g.lease_fact[1][2]));

    // Each click of the total button swaps the total and its caption.
    typeIn(w->Text(3), "500");
    w->SSCommand2->DoClick();
    const std::string payments = text(w->Label(21));
    w->SSCommand1->DoClick();
    EXPECT_EQ(w->SSCommand1->text(), "Tot payments");
    EXPECT_NE(text(w->Label(21)), payments);
    w->SSCommand1->DoClick();
    EXPECT_EQ(w->SSCommand1->text(), "Tot costs");
    EXPECT_EQ(text(w->Label(21)), payments);
}

TEST_F(LeaseWindow, TermFollowsTheModeAndSurvivesLeavingTheWindow) {
    lease* w = openLease();
    w->Option(2)->click();  // 18 months
    EXPECT_EQ(g.fin_months, 18);
    EXPECT_EQ(g.term_idx, 2);

    w->Combo2->SetListIndex(1);  // loan
    EXPECT_EQ(g.fin_mode, 2);
    for (int n = 1; n <= 3; ++n) EXPECT_FALSE(w->Option(n)->isVisibleTo(w)) << n;
    EXPECT_EQ(g.fin_months, 36);
    EXPECT_TRUE(w->Option(4)->Value());
    EXPECT_TRUE(w->Text(11)->isVisibleTo(w));
    EXPECT_FALSE(w->Text(9)->isVisibleTo(w));
    EXPECT_EQ(text(w->Label(17)), "Baloon Payment");
    // A short term chosen in loan mode anyway gives 36 months.
    w->Option(6)->click();
    EXPECT_EQ(g.fin_months, 60);
    w->Option(1)->SetValue(true);
    EXPECT_TRUE(w->Option(4)->Value());
    EXPECT_EQ(g.fin_months, 36);

    w->Combo2->SetListIndex(0);  // back to the lease: the term stays
    EXPECT_EQ(g.fin_mode, 1);
    EXPECT_EQ(g.fin_months, 36);
    EXPECT_TRUE(w->Option(4)->Value());
    EXPECT_TRUE(w->Option(1)->isVisibleTo(w));
    EXPECT_EQ(text(w->Label(17)), "Buyout at the end of the lease");

    // Another window active, then this one again: mode and term kept.
    plat::Form* other = windows().setfin();
    other->Show();
    w->Show();
    EXPECT_EQ(g.fin_mode, 1);
    EXPECT_EQ(g.fin_months, 36);
    EXPECT_TRUE(w->Option(4)->Value());
}

TEST_F(LeaseWindow, BoxesTakeNumbersOnlyAndTypingDoesNotRecompute) {
    lease* w = openLease();
    const int before = w->calculations();
    const std::string total = text(w->Label(21));
    plat::TextBox* charges = w->Text(1);
    charges->SetText("$1,234.00");
    // The first key after the focus replaces the text.
    focus(charges);
    type(charges, "5");
    EXPECT_EQ(charges->Text(), "5");
    EXPECT_EQ(g.add_charges, cy(5));
    type(charges, "0.2");
    EXPECT_EQ(g.add_charges, cy(50.2));
    leave(charges);
    EXPECT_EQ(charges->Text(), "$50.20");
    EXPECT_EQ(w->calculations(), before);
    EXPECT_EQ(text(w->Label(21)), total);

    // Every decimal point passes: the number at the start is stored.
    focus(charges);
    type(charges, "1.2.3");
    EXPECT_EQ(g.add_charges, cy(1.2));
    // A letter, a minus sign, a comma and Enter warn and empty the box.
    for (const char* bad : {"x", "-", ",", "\r"}) {
        script->clear();
        script->answer(ui::vbOK);
        focus(charges);
        type(charges, QString("7") + bad);
        EXPECT_EQ(charges->Text(), "") << bad;
        EXPECT_EQ(g.add_charges, Currency{}) << bad;
        EXPECT_EQ(boxes("Please"), 1) << bad;
    }
    // Escape empties it without a word; the percent boxes go to 0.00.
    script->clear();
    type(charges, "9\x1b");
    EXPECT_EQ(charges->Text(), "");
    w->Combo2->SetListIndex(1);
    type(w->Text(11), "\x1b");
    EXPECT_EQ(w->Text(11)->Text(), "0.00");
    EXPECT_TRUE(script->shown().empty());

    // CALCULATE takes what was typed.
    typeIn(w->Text(2), "500");
    w->SSCommand2->DoClick();
    EXPECT_EQ(g.sys_total, cy(10500));
    // A click inside the figure before the first key changes nothing: the
    // cost is typed afresh ($500.00 and 900 is $900, never $9,500.00).
    focus(w->Text(2));
    QTest::mouseClick(w->Text(2), Qt::LeftButton, {}, QPoint(12, 5));
    type(w->Text(2), "900");
    leave(w->Text(2));
    w->SSCommand2->DoClick();
    EXPECT_EQ(g.sys_total, cy(10900));
}

TEST_F(LeaseWindow, TypedFiguresLandWhereTheyBelong) {
    lease* w = openLease();
    w->Option(4)->click();  // 36 months; 10,000 financed is bracket 2
    ASSERT_EQ(g.term_idx, 4);
    ASSERT_EQ(g.amt_bracket, 2);
    typeIn(w->Text(7), "0.0456");
    EXPECT_EQ(g.lease_fact[4][2], 0.0456);
    EXPECT_EQ(w->Text(7)->Text(), "0.04560");
    w->SSCommand2->DoClick();
    EXPECT_EQ(g.pay_term, cy(456));

    // Loan, price 700: 100 down shows 14.29 % and becomes 100.03.
    g.equip_cost = cy(700);
    w->Combo2->SetListIndex(1);
    script->answer(ui::vbOK);  // 700 less 25 % is too small to finance
    ASSERT_EQ(g.sys_total, cy(700));
    script->clear();
    typeIn(w->Text(3), "100");
    EXPECT_EQ(w->Text(8)->Text(), "14.29");
    EXPECT_EQ(g.down_pay, cy(100.03));
    // More than the price is refused with the limit named (the box as
    // before the typing: RefusedDownPaymentsLeaveNoKeysBehind).
    script->answer(ui::vbOK);
    typeIn(w->Text(3), "800");
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].text, "The down payment can be at most the system's total price, $700.00.");
    EXPECT_EQ(w->Text(3)->Text(), "$100.03");
    // The balloon percent is stored only for simple interest.
    g.fin_opts[3] = cy(1);
    typeIn(w->Text(11), "20");
    EXPECT_EQ(g.balloon_perc, 0.0f);
    g.fin_opts[3] = cy(0);
    typeIn(w->Text(11), "20");
    EXPECT_EQ(g.balloon_perc, 20.0f);
    EXPECT_EQ(g.balloon_amt, cy(140));
    EXPECT_EQ(text(w->Label(23)), "$140.00");
}

// A refused down payment leaves the box and the figures as they were before
// the dealer began typing in it: none of the keys typed on the way to the
// refused value (the "15" of 150 %) stays, and CALCULATE prices with the
// down payment the box showed before.
TEST_F(LeaseWindow, RefusedDownPaymentsLeaveNoKeysBehind) {
    g.equip_cost = cy(9000);
    lease* w = openLease();
    w->Combo2->SetListIndex(1);  // a loan: 25 % down
    ASSERT_EQ(g.down_pay, cy(2250));
    const struct {
        int box;
        const char* keys;
        const char* limit;
    } cases[] = {
        {8, "150", "The down payment can be at most 100 % of the system's total price ($9,000.00)."},
        {3, "20000", "The down payment can be at most the system's total price, $9,000.00."},
    };
    for (const auto& c : cases) {
        const QString shown = w->Text(c.box)->Text();
        script->clear();
        script->answer(ui::vbOK);
        focus(w->Text(c.box));
        type(w->Text(c.box), c.keys);
        ASSERT_EQ(script->shown().size(), 1u) << c.keys;
        EXPECT_EQ(script->shown()[0].text, c.limit);
        EXPECT_EQ(w->Text(c.box)->Text(), shown) << c.keys;
        EXPECT_EQ(g.down_perc, 25.0f) << c.keys;
        EXPECT_EQ(g.down_pay, cy(2250)) << c.keys;
        // The next key starts afresh: 1 is 1 %, or $1, not 1501 or 20001.
        leave(w->Text(c.box));
        w->SSCommand2->DoClick();
        EXPECT_EQ(g.down_pay, cy(2250)) << c.keys;
        EXPECT_EQ(w->Text(8)->Text(), " 25.00") << c.keys;
        EXPECT_EQ(w->Text(3)->Text(), "$2,250.00") << c.keys;
    }

    // Typing begins again from what a calculation leaves in the box in
    // focus: 30 % typed, the window active again (it calculates) with the
    // box still in focus, then a refused 300 % gives back 30 %.
    focus(w->Text(8));
    type(w->Text(8), "30");
    w->Form_Activate();
    ASSERT_EQ(g.down_pay, cy(2700));
    script->clear();
    script->answer(ui::vbOK);
    testkeys::focus(w->Text(8), QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // the first key replaces again
    type(w->Text(8), "300");
    EXPECT_EQ(w->Text(8)->Text(), " 30.00");
    EXPECT_EQ(g.down_perc, 30.0f);
    EXPECT_EQ(g.down_pay, cy(2700));
    leave(w->Text(8));
}

TEST_F(LeaseWindow, EachActionCalculatesOnceAndWarnsOnce) {
    g.equip_cost = cy(300);  // too small to lease
    script->answer(ui::vbOK);
    lease* w = openLease();
    EXPECT_EQ(boxes("Error"), 1);
    EXPECT_EQ(w->calculations(), 1);
    for (auto act : {+[](lease* l) { l->Combo2->SetListIndex(1); },   // mode
                     +[](lease* l) { l->Option(5)->click(); },        // term
                     +[](lease* l) { l->SSCommand2->DoClick(); },     // CALCULATE
                     +[](lease* l) { l->SSCommand1->DoClick(); }}) {  // total
        script->clear();
        script->answer(ui::vbOK);
        const int before = w->calculations();
        act(w);
        EXPECT_EQ(boxes("Error"), 1);
        EXPECT_EQ(w->calculations(), before + 1);
    }
}

TEST_F(LeaseWindow, HelpExplainsTheBoxInFocus) {
    lease* w = openLease();
    w->Check2->SetValue(0);
    EXPECT_EQ(g.help_off, 0);
    g.amt_bracket = 0;
    focus(w->Text(7));
    ASSERT_TRUE(w->Text10->isVisibleTo(w));
    const std::string help = w->Text10->toPlainText().toStdString();
    EXPECT_NE(help.find("LEASE RATE KEY FACTOR"), std::string::npos);
    EXPECT_NE(help.find("   For  12 months and \n"), std::string::npos);
    leave(w->Text(7));

    // Loan: the help stands below every input, the balloon box stays.
    w->Combo2->SetListIndex(1);
    EXPECT_EQ(g.help_off, 1);  // a mode switch turns the help off again
    w->Check2->SetValue(0);
    focus(w->Text(7));
    EXPECT_NE(w->Text10->toPlainText().indexOf("LOAN INTEREST RATE"), -1);
    EXPECT_TRUE(w->Text(11)->isVisibleTo(w));
    leave(w->Text(7));
    w->SSCommand2->DoClick();
    EXPECT_FALSE(w->Text10->isVisibleTo(w));

    w->Check1->SetValue(1);  // cover letter
    EXPECT_EQ(g.fin_opts[4], cy(1));
}

}  // namespace
