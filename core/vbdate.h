// Date texts the program prints, and today's date.
#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace vb {

// Date texts: "mm-dd-yyyy" and "dddd, mmmm d, yyyy".
std::string DateMDY(const std::tm& t);
std::string DateLong(const std::tm& t);
// Today's local date; while today_clock() holds a function (tests fix the
// day through it), what that returns.
std::tm Today();
std::function<std::tm()>& today_clock();

}  // namespace vb
