// The quick calculator's arithmetic, key sequence by key sequence.
#include <gtest/gtest.h>

#include "core/ui.h"
#include "dealer/calckeys.h"

namespace {

std::string after(const std::string& keys) {
    CalcKeys c;
    c.keys(keys);
    return c.display;
}

}  // namespace

TEST(CalcKeys, TypingNumbers) {
    EXPECT_EQ(after(""), "0.");
    EXPECT_EQ(after("1 2 . 5"), "12.5");
    EXPECT_EQ(after(". 5"), "0.5");
    EXPECT_EQ(after("- 5"), "-5.");
    EXPECT_EQ(after("- . 5"), "-0.5");
    EXPECT_EQ(after("1 2 CE 3"), "3.");
    EXPECT_EQ(after("9 9 C"), "0.");
}

TEST(CalcKeys, Operations) {
    EXPECT_EQ(after("5 + 3 ="), "8");
    EXPECT_EQ(after("5 + 3 = + 2 ="), "10");
    EXPECT_EQ(after("5 + - 3 ="), "2");  // "-" after an operator starts a negative number
    EXPECT_EQ(after("1 . 5 X 4 ="), "6");
    EXPECT_EQ(after("7 / 2 ="), "3.5");
    EXPECT_EQ(after("1 + 2 +"), "3");  // the chain computes as it goes
    EXPECT_EQ(after("0 . 1 + 0 . 2 ="), "0.3");
}

TEST(CalcKeys, PercentMultipliesThePendingOperation) {
    EXPECT_EQ(after("2 0 0 X 5 %"), "0.05");
    EXPECT_EQ(after("2 0 0 X 5 % ="), "10");
    EXPECT_EQ(after("2 0 0 + 5 % ="), "10");
}

TEST(CalcKeys, DivisionByZeroKeepsTheFirstOperand) {
    ui::Script s;
    s.answer(ui::vbOK);
    EXPECT_EQ(after("8 / 0 ="), "8.");
    ASSERT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(s.shown()[0].text, "Can't divide by zero");
    EXPECT_EQ(s.shown()[0].title, "Calculator");
    EXPECT_EQ(s.shown()[0].style, ui::vbExclamation);
}

TEST(CalcKeys, Memory) {
    EXPECT_EQ(after("5 M+ C MRC"), "0.");      // "C" clears the memory
    EXPECT_EQ(after("5 M+ 3"), "53.");         // the memory keys do not end the number
    EXPECT_EQ(after("1 2 M+ CE MRC"), "12.");  // a whole number keeps its point
    EXPECT_EQ(after("2 . 5 M+ M+ CE 1 M- CE MRC"), "4.");
    EXPECT_EQ(after("1 . 2 3 4 5 6 M+ CE MRC"), "1.235");  // three decimals at most
    EXPECT_EQ(after("5 M+ CE MRC 7"), "7.");               // a digit after a recall starts a new number
    EXPECT_EQ(after("5 M+ CE 3 MRC"), "5.");               // MRC only recalls
    // The recalled value is the number an operator works on.
    EXPECT_EQ(after("5 M+ CE 3 + MRC ="), "8");
    EXPECT_EQ(after("4 M+ CE MRC X 3 ="), "12");
    EXPECT_EQ(after("5 0 M+ CE 2 0 0 X MRC % ="), "100");  // the percent of a recalled value counts once
    // "CE" clears a recalled value as it clears a typed one: the operator
    // after it has no number, as after "CE" alone.
    EXPECT_EQ(after("5 M+ MRC CE X 3 ="), "3.");
    EXPECT_EQ(after("5 M+ MRC CE X 3 ="), after("CE X 3 ="));
}

TEST(CalcKeys, OperandsThatAreNoNumber) {
    // A lone "-" or "." counts as 0 for "-", "X", "/" and the percent key.
    EXPECT_EQ(after("5 X - 3 ="), "-15");
    CalcKeys c;
    c.keys("5 + - %");
    EXPECT_EQ(c.display, "0");
    EXPECT_EQ(CalcKeys::full_value(std::string("12.")), 12);
    EXPECT_EQ(CalcKeys::full_value(std::string("1.2.")), 0);
    EXPECT_EQ(CalcKeys::lead_value(std::string("1.2.")), 1.2);
}

TEST(CalcKeys, AfterAPercentOperatorsOnlyRecordThemselvesUntilC) { EXPECT_EQ(after("5 + - C 2 X 5 % 3 + 4 ="), "4."); }

TEST(CalcKeys, OverflowKeepsTheFirstOperand) {
    ui::Script s;
    s.answer(ui::vbOK);
    CalcKeys c;
    c.keys("9 X");
    c.op1 = 1e308;
    c.keys("1 0 =");
    EXPECT_EQ(s.shown().size(), 1u);
    EXPECT_EQ(c.display, CalcKeys::text(1e308));
}

TEST(CalcKnob, FollowsEveryTwelfthMoveAndSwitchesOffPast400Twips) {
    CalcKnob k;
    bool off = false;
    EXPECT_FALSE(k.move(500, off));  // not held
    k.down = 1;
    int jumps = 0;
    for (int i = 0; i < 24; ++i)
        if (k.move(200, off)) {
            ++jumps;
            EXPECT_FALSE(off);
        }
    EXPECT_EQ(jumps, 2);
    for (int i = 0; i < 11; ++i) EXPECT_FALSE(k.move(450, off));
    EXPECT_TRUE(k.move(450, off));
    EXPECT_TRUE(off);
}
