// Windows-1252 (the Windows "ANSI" code page) conversion for the fixed
// strings of the record files and for printed characters such as 178 "²",
// 179 "³" and 186 "º".
#pragma once

#include <string>
#include <string_view>

namespace cp1252 {

// UTF-8 text to Windows-1252 bytes; characters outside the code page
// become '?'. Malformed UTF-8 bytes become '?' too.
std::string fromUtf8(std::string_view utf8);
// Windows-1252 bytes to UTF-8 (the five undefined bytes map to U+FFFD).
std::string toUtf8(std::string_view bytes);
// Any text as valid UTF-8: well-formed UTF-8 sequences are kept, and every
// other byte is read as a character of this code page (the code page the
// settings and data files were written in before they held UTF-8), so a
// name typed on such a system prints as it was typed.
std::string asUtf8(std::string_view text);
// One character of the code page, as UTF-8 (Chr$(178) -> "²").
std::string Chr(unsigned char code);

}  // namespace cp1252
