// Picture masks as used on the windows and printed pages.
#include "core/vbtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vb::Format;

TEST(FormatMask, MoneyMasks) {
    EXPECT_EQ(Format(0, "$###,###"), "$");
    EXPECT_EQ(Format(vb::Int(-0.5), "$###,###"), "-$1");
    EXPECT_EQ(Format(750.5, "$##,##0"), "$751");
    EXPECT_EQ(Format(-750.5, "$##,##0"), "-$751");
    EXPECT_EQ(Format(3750.40, "$##,##0"), "$3,750");
    EXPECT_EQ(Format(1234.5, "$##,##0.00"), "$1,234.50");
    EXPECT_EQ(Format(0, "$##,##0.00"), "$0.00");
    EXPECT_EQ(Format(0.5, "$##,##0.00"), "$0.50");
    EXPECT_EQ(Format(999.995, "$##,##0.00"), "$1,000.00");
    EXPECT_EQ(Format(1234567.891, "$##,##0.00"), "$1,234,567.89");
}

TEST(FormatMask, GroupingAndOverflowOfIntegerPlaces) {
    EXPECT_EQ(Format(1234567, "###,##0"), "1,234,567");
    EXPECT_EQ(Format(123, "###,##0"), "123");
    EXPECT_EQ(Format(1000, "###,##0"), "1,000");
    EXPECT_EQ(Format(-1234567, "###,##0"), "-1,234,567");
    // More integer digits than places: all digits are shown.
    EXPECT_EQ(Format(123456, "##0"), "123456");
    EXPECT_EQ(Format(123456789012.0, "#,##0"), "123,456,789,012");
    // Grouping of large values beyond the fast path.
    EXPECT_EQ(Format(1e18, "#,##0"), "1,000,000,000,000,000,000");
}

TEST(FormatMask, DecimalsRoundHalfAwayFromZero) {
    EXPECT_EQ(Format(2.25, "#0.0"), "2.3");
    EXPECT_EQ(Format(-2.25, "#0.0"), "-2.3");
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(-3.456, "##0.00"), "-3.46");
    // Decimal halves that binary cannot hold exactly still round up.
    EXPECT_EQ(Format(2.675, "0.00"), "2.68");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");
    EXPECT_EQ(Format(0.1 + 0.2, "0.0"), "0.3");
    EXPECT_EQ(Format(9.96, "#0.0"), "10.0");
    EXPECT_EQ(Format(0.04, "#0.0"), "0.0");
}

TEST(FormatMask, ZeroAndValuesThatRoundToZero) {
    EXPECT_EQ(Format(0, "##0.00"), "0.00");
    EXPECT_EQ(Format(0, "#.##"), ".");
    EXPECT_EQ(Format(0, " ###.##"), " .");
    EXPECT_EQ(Format(0, "###,###"), "");
    EXPECT_EQ(Format(-0.001, "#0.0"), "0.0");
    EXPECT_EQ(Format(-0.4, "$###,###"), "$");
    EXPECT_EQ(Format(-0.0, "0.00"), "0.00");
}

TEST(FormatMask, OptionalDigitsAndLiterals) {
    EXPECT_EQ(Format(0.5, "#.##"), ".5");
    EXPECT_EQ(Format(1.5, "#.##"), "1.5");
    EXPECT_EQ(Format(1, "#.##"), "1.");
    EXPECT_EQ(Format(12.5, " ###.##"), " 12.5");
    EXPECT_EQ(Format(7.25, "#0.0 Years"), "7.3 Years");
    EXPECT_EQ(Format(5, "00"), "05");
    EXPECT_EQ(Format(42, "##-##"), "-42");
    EXPECT_EQ(Format(1234, "##-##"), "12-34");
    EXPECT_EQ(Format(1.2, "0.0#"), "1.2");
    EXPECT_EQ(Format(1.23, "0.0#"), "1.23");
}

TEST(FormatMask, Percent) {
    EXPECT_EQ(Format(0.256, "0%"), "26%");
    EXPECT_EQ(Format(0.256, "#0.0%"), "25.6%");
    EXPECT_EQ(Format(1.5, "0%"), "150%");
    EXPECT_EQ(Format(0, "#0.0%"), "0.0%");
    EXPECT_EQ(Format(-0.125, "#0.0%"), "-12.5%");
}

TEST(FormatMask, Sections) {
    EXPECT_EQ(Format(-5, "0;(0)"), "(5)");
    EXPECT_EQ(Format(5, "0;(0)"), "5");
    EXPECT_EQ(Format(0, "0;(0);\"none\""), "none");
    EXPECT_EQ(Format(-5, "0;"), "-5");
    EXPECT_EQ(Format(-0.001, "0.00;(0.00);\"nil\""), "nil");
    EXPECT_EQ(Format(12, "\"1\"0;;\"nil\""), "112");  // literal digits are not the value
}

TEST(FormatMask, ManyMasksInTurnKeepTheirOwnLayout) {
    // More masks than are kept parsed at once, used round and round.
    const char* masks[] = {"$##,##0.00", "###,##0",  "#0.0",    "##0.00",     "0%",    "#0.0%",
                           "$##,##0",    "$###,###", " ###.##", "#0.0 Years", "0.000", "#,##0.0"};
    const char* expect[] = {"$1,234.57", "1,235",  "1234.6",   "1234.57",      "123457%",  "123456.8%",
                            "$1,235",    "$1,235", " 1234.57", "1234.6 Years", "1234.568", "1,234.6"};
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < 12; ++i) EXPECT_EQ(Format(1234.5678, masks[i]), expect[i]) << masks[i];
    const std::string longMask = std::string(70, '#') + "0.00";
    EXPECT_EQ(Format(-1.005, longMask), "-1.01");
}

TEST(FormatMask, GarbageDoesNotCrash) {
    EXPECT_EQ(Format(12.5, ""), "12.5");  // empty mask: the plain print form
    EXPECT_FALSE(Format(std::nan(""), "$##,##0.00").empty());
    EXPECT_FALSE(Format(std::numeric_limits<double>::infinity(), "0.00").empty());
    EXPECT_EQ(Format(5, "$"), "$5");  // no digit places: the number still shows
    EXPECT_EQ(Format(1.25, "\"a;b\"0.0"), "a;b1.3");
    EXPECT_EQ(Format(3, "0\\#"), "3#");
    // Huge and tiny magnitudes, long masks.
    std::string big = Format(1e300, "0");
    EXPECT_EQ(big.size(), 301u);
    EXPECT_EQ(big.substr(0, 2), "10");
    EXPECT_EQ(Format(1e-300, "0.00"), "0.00");
    EXPECT_EQ(Format(std::numeric_limits<double>::denorm_min(), "#.##"), ".");
    std::string longMask = "0." + std::string(60, '0');
    EXPECT_EQ(Format(0.5, longMask), "0.5" + std::string(59, '0'));
    EXPECT_EQ(Format(1.5, "\"unterminated"), "unterminated2");
}
