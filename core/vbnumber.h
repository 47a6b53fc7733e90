// Number rules the program has always followed: leading-number parsing
// (Val), whole-number conversions, the print forms of numbers and the
// picture masks used on every window and printed page. None of these
// functions throws or crashes on garbage input.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vb {

// The number at the start of t: optional blanks, optional sign, digits and
// one decimal point, optional exponent ("1E3"); stops at the first other
// character; 0 when there is none. "1.2.3" -> 1.2, "12abc" -> 12, "" -> 0.
double Val(std::string_view t);

// Round to a whole number, halves to even (CInt(10.5) = 10, CInt(9.5) = 10).
// Saturates to the 16-bit range like the stored 16-bit integers it feeds.
std::int16_t CInt(double x);
// Same rounding to a 32-bit value (CLng).
std::int32_t CLng(double x);
// Largest whole number not above x (Int(-0.5) = -1).
double Int(double x);
// Whole part toward zero (Fix(-0.5) = 0).
double Fix(double x);

// Print form of a number: a single shows at most seven significant digits,
// a double fifteen; no trailing zeros, no exponent for ordinary magnitudes.
std::string CStr(double x);       // double precision
std::string CStrSingle(float x);  // single precision (7 digits)
// Str$: CStr with one leading blank when the number is not negative.
std::string Str(double x);
std::string StrSingle(float x);

// Picture masks: "#" digit shown only when significant, "0" digit always
// shown, "," thousands grouping, "." decimal point, "%" multiplies by 100
// and shows a percent sign; every other character is printed unchanged.
// The value is rounded to the mask's last digit (halves away from zero), a
// negative value gets a leading minus sign, and a zero under a mask without
// "0" digits prints only the mask's other characters.
std::string Format(double x, std::string_view mask);

}  // namespace vb
