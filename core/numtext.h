// Numbers as the boxes show and take them: written with a given number of
// decimals in the C locale, and read back only when the text is a clean
// number (what a numeric box lets through).
#pragma once

#include <string>
#include <string_view>

namespace numtext {

// x with at most `max_dec` decimals and at least `min_dec`, no grouping,
// trailing zeros dropped: 100 -> "100", 27.8 -> "27.8", (0.12, 2, 4) -> "0.12".
// Negative zero shows as "0"; non-finite values as "0".
std::string num_text(double x, int max_dec, int min_dec = 0);

// A number text with its whole part grouped in thousands by ",":
// "5000000" -> "5,000,000", "1234.56" -> "1,234.56"; other texts unchanged.
std::string grouped(std::string text);

// A clean typed number: digits with at most one decimal point, optionally
// surrounded by blanks (",", "$" and "%" are dropped first, as a pasted
// "$1,200" is meant). An empty text and a lone "." read as 0. Anything else
// (letters, signs, exponents, a second point) is not clean.
bool clean_number(std::string_view text, double& value);

}  // namespace numtext
