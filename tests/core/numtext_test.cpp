// Numbers as the boxes show and take them.
#include "core/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(NumText, NumberTexts) {
    EXPECT_EQ(numtext::num_text(100, 1), "100");
    EXPECT_EQ(numtext::num_text(27.84, 1), "27.8");
    EXPECT_EQ(numtext::num_text(0.12, 4, 2), "0.12");
    EXPECT_EQ(numtext::num_text(1.2, 4, 2), "1.20");
    EXPECT_EQ(numtext::num_text(0.0341, 4, 2), "0.0341");
    EXPECT_EQ(numtext::num_text(-0.01, 1), "0");
    EXPECT_EQ(numtext::num_text(std::nan(""), 2), "0");
    EXPECT_EQ(numtext::num_text(450, 0), "450");
    EXPECT_EQ(numtext::num_text(7, 1, 1), "7.0");
}

TEST(NumText, ThousandsGroups) {
    EXPECT_EQ(numtext::grouped("5000000"), "5,000,000");
    EXPECT_EQ(numtext::grouped("1234.5678"), "1,234.5678");
    EXPECT_EQ(numtext::grouped("999"), "999");
    EXPECT_EQ(numtext::grouped("100000.5"), "100,000.5");
    EXPECT_EQ(numtext::grouped("0.0341"), "0.0341");
    EXPECT_EQ(numtext::grouped(""), "");
    EXPECT_EQ(numtext::grouped("-"), "-");
    // What a grouped text reads back as.
    double v = 0;
    EXPECT_TRUE(numtext::clean_number(numtext::grouped("5000000.25"), v));
    EXPECT_DOUBLE_EQ(v, 5000000.25);
}

TEST(NumText, CleanNumbers) {
    double v = -1;
    EXPECT_TRUE(numtext::clean_number("12.5", v));
    EXPECT_DOUBLE_EQ(v, 12.5);
    EXPECT_TRUE(numtext::clean_number("", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(numtext::clean_number(".", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(numtext::clean_number(".5", v));
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_TRUE(numtext::clean_number("12.", v));
    EXPECT_DOUBLE_EQ(v, 12);
    EXPECT_TRUE(numtext::clean_number(" $1,200 ", v));  // pasted money
    EXPECT_DOUBLE_EQ(v, 1200);
    for (const char* bad : {"abc", "1.2.3", "-5", "1e5", "12a", "0x10", "1 2", "+3"})
        EXPECT_FALSE(numtext::clean_number(bad, v)) << bad;
    EXPECT_FALSE(numtext::clean_number(std::string(400, '9'), v));  // no finite double
}

}  // namespace
