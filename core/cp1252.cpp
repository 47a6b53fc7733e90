// Windows-1252: bytes 0x00..0x7F are ASCII, 0xA0..0xFF are Latin-1
// (U+00A0..U+00FF); 0x80..0x9F carry the typographic characters below, five
// of them undefined.
#include "core/cp1252.h"

#include <cstdint>

namespace cp1252 {

namespace {

constexpr char32_t kBad = 0xFFFD;

// Unicode code points of bytes 0x80..0x9F.
constexpr char32_t kHigh[32] = {
    0x20AC, kBad,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kBad,   0x017D, kBad,    // 88-8F
    kBad,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kBad,   0x017E, 0x0178,  // 98-9F
};

void putUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Byte for a code point, or '?' when the code page has none.
char encode(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0xA0 && cp <= 0xFF) return static_cast<char>(cp);
    if (cp != kBad)
        for (int i = 0; i < 32; ++i)
            if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

// The length of the well-formed UTF-8 sequence at s[i] and its code point;
// 0 when the bytes there are not one. Strict: no overlong forms, no
// surrogates, nothing past U+10FFFF.
std::size_t utf8Length(std::string_view s, std::size_t i, char32_t& cp) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
        min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
        min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
        min = 0x10000;
    }
    if (len == 0 || i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (d & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::string fromUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8Length(s, i, cp);
        // A malformed lead byte becomes one '?', and decoding resumes at the
        // next byte.
        out.push_back(len == 0 ? '?' : encode(cp));
        i += len == 0 ? 1 : len;
    }
    return out;
}

std::string asUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8Length(text, i, cp);
        if (len == 0) {
            out += Chr(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::string toUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) out.push_back(ch);
        else if (c < 0xA0) putUtf8(out, kHigh[c - 0x80]);
        else putUtf8(out, c);
    }
    return out;
}

std::string Chr(unsigned char code) {
    const char b = static_cast<char>(code);
    return toUtf8(std::string_view(&b, 1));
}

}  // namespace cp1252
