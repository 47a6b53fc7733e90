// Money kept in ten-thousandths: conversion rounding and exact arithmetic.
#include "core/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Currency, PricePerUnitQuotientsRoundToFourDecimals) {
    // Energy price per unit of heat: a dollar amount over a conversion factor.
    EXPECT_EQ(Currency::from(1.00 / 29.299392), Currency::raw(341));  // 0.0341
    EXPECT_EQ(Currency::from(1.50 / 3.78533), Currency::raw(3963));   // 0.3963
    EXPECT_EQ(Currency::from(-1.50 / 3.78533), Currency::raw(-3963));
}

TEST(Currency, HalvesAtTheFourthDecimalGoToEven) {
    EXPECT_EQ(Currency::from(0.00005), Currency::raw(0));
    EXPECT_EQ(Currency::from(0.00015), Currency::raw(2));  // 1.4999999999999998 in binary
    EXPECT_EQ(Currency::from(0.00025), Currency::raw(2));
    EXPECT_EQ(Currency::from(0.00035), Currency::raw(4));
    EXPECT_EQ(Currency::from(-0.00015), Currency::raw(-2));
    EXPECT_EQ(Currency::from(2.50005), Currency::raw(25000));
    EXPECT_EQ(Currency::from(2.50015), Currency::raw(25002));
    // Not halves: ordinary nearest rounding.
    EXPECT_EQ(Currency::from(0.000149), Currency::raw(1));
    EXPECT_EQ(Currency::from(0.000151), Currency::raw(2));
    // Large whole amounts are not disturbed by the half test.
    EXPECT_EQ(Currency::from(123456789012.0), Currency::raw(1234567890120000));
}

TEST(Currency, SumsDifferencesAndMultiplesAreExact) {
    EXPECT_EQ(Currency::from(0.1) + Currency::from(0.2), Currency::from(0.3));
    Currency total;
    for (int i = 0; i < 1000; ++i) total += Currency::from(0.01);
    EXPECT_EQ(total, Currency::dollars(10));
    EXPECT_EQ(Currency::from(1234.5678) * 5, Currency::raw(61728390));
    EXPECT_EQ(Currency::from(0.1) * 5, Currency::from(0.5));
    EXPECT_EQ(Currency::from(10.0) - Currency::from(9.99), Currency::from(0.01));
    EXPECT_DOUBLE_EQ(Currency::from(12.3456).toDouble(), 12.3456);
}

TEST(Currency, GarbageSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Currency::from(std::nan("")), Currency::raw(0));
    EXPECT_EQ(Currency::from(1e300).v, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Currency::from(std::numeric_limits<double>::infinity()).v, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Currency::from(-1e300).v, std::numeric_limits<std::int64_t>::min() + 1);
}
