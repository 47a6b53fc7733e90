// Date texts the program prints, and today's date.
#pragma once

#include <ctime>
#include <string>

namespace vb {

// Date texts: "mm-dd-yyyy" and "dddd, mmmm d, yyyy".
std::string DateMDY(const std::tm& t);
std::string DateLong(const std::tm& t);
std::tm Today();

}  // namespace vb
