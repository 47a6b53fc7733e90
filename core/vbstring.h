// String rules the program has always followed: trimming, character-counted
// Left, Right, Mid and Len, letter case, padding. All strings are UTF-8;
// none of these functions throws or crashes on empty or garbage input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vb {

std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// Character-counted (UTF-8 aware) Left, Right, Mid (Mid is 1-based).
std::string Left(std::string_view s, long n);
std::string Right(std::string_view s, long n);
std::string Mid(std::string_view s, long start, long n = -1);
std::size_t Len(std::string_view s);  // characters, not bytes
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);
std::string Space(long n);
// Pad with blanks or cut to exactly n characters.
std::string FixLen(std::string_view s, long n);

}  // namespace vb
