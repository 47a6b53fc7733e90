// Val, whole-number conversions, print forms, string functions and dates.
#include "core/vbtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vb;

TEST(Val, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(Val("  -12abc"), -12);
    EXPECT_DOUBLE_EQ(Val(".5"), 0.5);
    EXPECT_DOUBLE_EQ(Val("+7"), 7);
    EXPECT_DOUBLE_EQ(Val("12abc"), 12);
    EXPECT_DOUBLE_EQ(Val("1E3"), 1000);
    EXPECT_DOUBLE_EQ(Val("2.5e-2x"), 0.025);
    EXPECT_DOUBLE_EQ(Val("1D2"), 100);  // old double-precision exponent letter
    EXPECT_DOUBLE_EQ(Val("12e"), 12);   // exponent letter without digits
    EXPECT_DOUBLE_EQ(Val("12 days"), 12);
    EXPECT_DOUBLE_EQ(Val("1 000"), 1000);  // blanks inside the number are skipped
    EXPECT_DOUBLE_EQ(Val("750.5"), 750.5);
    EXPECT_DOUBLE_EQ(Val("0.1"), 0.1);  // correctly rounded, same as the literal
}

TEST(Val, NoNumberGivesZero) {
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("   "), 0);
    EXPECT_EQ(Val("$12"), 0);
}

TEST(Val, ExtremesStayFinite) {
    EXPECT_EQ(Val("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(Val("1e99999999999999999999"), std::numeric_limits<double>::max());
    EXPECT_EQ(Val("1e-999"), 0);
    EXPECT_EQ(Val("0e999"), 0);
    EXPECT_EQ(Val("0.0000001e-99999999"), 0);
    std::string longDigits(5000, '9');
    EXPECT_EQ(Val(longDigits), std::numeric_limits<double>::max());
    std::string longFraction = "0." + std::string(4000, '0') + "1";
    EXPECT_EQ(Val(longFraction), 0);
    EXPECT_DOUBLE_EQ(Val(std::string(200, '0') + "12"), 12);
}

TEST(WholeNumbers, CIntHalvesToEvenAndSaturates) {
    EXPECT_EQ(CInt(10.5), 10);
    EXPECT_EQ(CInt(9.5), 10);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(2.4999), 2);
    EXPECT_EQ(CInt(1e9), 32767);
    EXPECT_EQ(CInt(-1e9), -32768);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(std::nan("")), 0);
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(3.5), 4);
    EXPECT_EQ(CLng(1e12), 2147483647);
    EXPECT_EQ(CLng(-1e12), -2147483647 - 1);
    EXPECT_EQ(CLng(std::numeric_limits<double>::infinity()), 2147483647);
}

TEST(WholeNumbers, IntFloorsFixTruncates) {
    EXPECT_EQ(Int(-0.5), -1);
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Fix(-0.5), 0);
    EXPECT_EQ(Fix(-2.7), -2);
}

TEST(PrintForm, SinglesShowSevenSignificantDigits) {
    EXPECT_EQ(CStrSingle(82.1f), "82.1");
    EXPECT_EQ(CStrSingle(0.1f), "0.1");
    EXPECT_EQ(CStrSingle(1234567.0f), "1234567");
    EXPECT_EQ(CStrSingle(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(CStrSingle(-2.5f), "-2.5");
    EXPECT_EQ(CStrSingle(0.0f), "0");
    EXPECT_EQ(CStrSingle(12345678.0f), "1.234568E+07");
}

TEST(PrintForm, DoublesShowFifteenSignificantDigits) {
    EXPECT_EQ(CStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(CStr(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(CStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(CStr(1e15), "1E+15");
    EXPECT_EQ(CStr(2.5e-10), "2.5E-10");
    EXPECT_EQ(CStr(0.00012), "0.00012");
    EXPECT_EQ(CStr(100), "100");
    EXPECT_EQ(CStr(-0.5), "-0.5");
    EXPECT_EQ(CStr(75), "75");
}

TEST(PrintForm, StrLeadsWithABlankUnlessNegative) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(2.25), " 2.25");
    EXPECT_EQ(StrSingle(82.1f), " 82.1");
    EXPECT_EQ(StrSingle(-1.5f), "-1.5");
}

TEST(Strings, TrimRemovesBlanksOnly) {
    EXPECT_EQ(Trim("  ab c  "), "ab c");
    EXPECT_EQ(LTrim("  ab  "), "ab  ");
    EXPECT_EQ(RTrim("  ab  "), "  ab");
    EXPECT_EQ(Trim("\tab\t"), "\tab\t");
    EXPECT_EQ(Trim("    "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(Strings, CharacterCountedFunctions) {
    const std::string s = "75\u00B0F \u00B2\u00B3";  // "75°F ²³"
    EXPECT_EQ(Len(s), 7u);
    EXPECT_EQ(Left(s, 3), "75\u00B0");
    EXPECT_EQ(Right(s, 2), "\u00B2\u00B3");
    EXPECT_EQ(Mid(s, 3, 2), "\u00B0F");
    EXPECT_EQ(Mid(s, 5), " \u00B2\u00B3");
    EXPECT_EQ(Left(s, 100), s);
    EXPECT_EQ(Right(s, 100), s);
    EXPECT_EQ(Left(s, -1), "");
    EXPECT_EQ(Mid(s, 0, 2), "75");
    EXPECT_EQ(Mid(s, 50, 2), "");
    EXPECT_EQ(Mid("abc", 2, 0), "");
    EXPECT_EQ(Space(3), "   ");
    EXPECT_EQ(Space(-3), "");
    EXPECT_EQ(FixLen("M\u00FCller", 8), "M\u00FCller  ");
    EXPECT_EQ(FixLen("Fort Lauderdale", 4), "Fort");
    // A sequence cut short at the end must not run past it.
    const std::string broken = "ab\xC3";
    EXPECT_EQ(Len(broken), 3u);
    EXPECT_EQ(Left(broken, 5), broken);
    EXPECT_EQ(Mid(broken, 3, 5), "\xC3");
}

TEST(Strings, CaseMappingCoversLatinLetters) {
    EXPECT_EQ(UCase("Miami, fl"), "MIAMI, FL");
    EXPECT_EQ(LCase("MIAMI"), "miami");
    EXPECT_EQ(UCase("m\u00FCnchen \u00E9t\u00E9"), "M\u00DCNCHEN \u00C9T\u00C9");
    EXPECT_EQ(LCase("\u00C5LESUND"), "\u00E5lesund");
    EXPECT_EQ(UCase("\u00F7\u00DF"), "\u00F7\u00DF");  // division sign and sharp s stay
    EXPECT_EQ(UCase("\u0161\u00FF"), "\u0160\u0178");
    EXPECT_EQ(UCase("\xC3"), "\xC3");  // truncated sequence left alone
}

TEST(Dates, MonthDayYearAndLongForm) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 1;  // February
    t.tm_mday = 29;
    t.tm_wday = 0;  // deliberately wrong: the weekday is worked out
    EXPECT_EQ(DateMDY(t), "02-29-2024");
    EXPECT_EQ(DateLong(t), "Thursday, February 29, 2024");
    t.tm_year = 1999 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 31;
    EXPECT_EQ(DateMDY(t), "12-31-1999");
    EXPECT_EQ(DateLong(t), "Friday, December 31, 1999");
    // Out-of-range fields roll over instead of indexing past the name tables.
    t.tm_mon = 12;
    t.tm_mday = 1;
    EXPECT_EQ(DateMDY(t), "01-01-2000");
    EXPECT_EQ(DateLong(t), "Saturday, January 1, 2000");
    t.tm_mon = 0;
    t.tm_mday = 0;  // the day before January 1, 1999
    EXPECT_EQ(DateMDY(t), "12-31-1998");
    std::tm today = Today();
    EXPECT_GE(today.tm_year, 124);
    EXPECT_EQ(DateMDY(today).size(), 10u);
}
