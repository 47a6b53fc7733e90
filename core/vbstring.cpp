// String rules: trimming, the character-counted (UTF-8) Left, Right, Mid
// and Len, letter case, padding. No locale.
#include "core/vbstring.h"

namespace vb {

namespace {

// Length in bytes of the UTF-8 sequence starting with byte c (1 for stray
// continuation bytes, so every byte is counted once).
inline std::size_t seq_len(unsigned char c) {
    if (c < 0xC0) return 1;
    if (c < 0xE0) return 2;
    if (c < 0xF0) return 3;
    return 4;
}

// Byte offset of character index `chars` (0-based) in s, or s.size().
std::size_t byte_offset(std::string_view s, std::size_t chars) {
    std::size_t i = 0;
    while (chars > 0 && i < s.size()) {
        std::size_t l = seq_len(static_cast<unsigned char>(s[i]));
        i += l;
        // A truncated sequence at the end must not run past it.
        if (i > s.size()) i = s.size();
        --chars;
    }
    return i;
}

}  // namespace

// ------------------------------------------------------- strings -----------

std::string LTrim(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && s[b] == ' ') ++b;
    return std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && s[e - 1] == ' ') --e;
    return std::string(s.substr(0, e));
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && s[b] == ' ') ++b;
    while (e > b && s[e - 1] == ' ') --e;
    return std::string(s.substr(b, e - b));
}

std::size_t Len(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    // Stray continuation bytes at the very start count as characters.
    std::size_t i = 0;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) {
        ++n;
        ++i;
    }
    return n;
}

std::string Left(std::string_view s, long n) {
    if (n <= 0) return {};
    return std::string(s.substr(0, byte_offset(s, static_cast<std::size_t>(n))));
}

std::string Right(std::string_view s, long n) {
    if (n <= 0) return {};
    std::size_t total = Len(s);
    if (static_cast<std::size_t>(n) >= total) return std::string(s);
    return std::string(s.substr(byte_offset(s, total - static_cast<std::size_t>(n))));
}

std::string Mid(std::string_view s, long start, long n) {
    if (start < 1) start = 1;
    std::size_t b = byte_offset(s, static_cast<std::size_t>(start - 1));
    if (n < 0) return std::string(s.substr(b));
    if (n == 0) return {};
    std::string_view rest = s.substr(b);
    return std::string(rest.substr(0, byte_offset(rest, static_cast<std::size_t>(n))));
}

namespace {
// Case mapping for ASCII, Latin-1 and the few letters of the Windows code page
// beyond it (Š/š, Œ/œ, Ž/ž, Ÿ/ÿ). `upper` selects the direction.
std::string map_case(std::string_view s, bool upper) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (upper && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 32);
            if (!upper && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
            continue;
        }
        if (i + 1 >= out.size()) break;
        unsigned char d = static_cast<unsigned char>(out[i + 1]);
        if ((d & 0xC0) != 0x80) continue;
        unsigned cp = ((c & 0x1Fu) << 6) | (d & 0x3Fu);
        unsigned to = cp;
        if (c >= 0xC2 && c <= 0xDF) {
            if (upper) {
                if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) to = cp - 0x20;
                else if (cp == 0xFF) to = 0x178;
                else if (cp == 0x161 || cp == 0x153 || cp == 0x17E) to = cp - 1;
            } else {
                if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) to = cp + 0x20;
                else if (cp == 0x178) to = 0xFF;
                else if (cp == 0x160 || cp == 0x152 || cp == 0x17D) to = cp + 1;
            }
        }
        if (to != cp) {
            // All these stay two-byte sequences.
            out[i] = static_cast<char>(0xC0 | (to >> 6));
            out[i + 1] = static_cast<char>(0x80 | (to & 0x3F));
        }
        i += seq_len(c) - 1;
    }
    return out;
}
}  // namespace

std::string UCase(std::string_view s) { return map_case(s, true); }
std::string LCase(std::string_view s) { return map_case(s, false); }

std::string Space(long n) { return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string(); }

std::string FixLen(std::string_view s, long n) {
    if (n <= 0) return {};
    std::string out = Left(s, n);
    std::size_t have = Len(out);
    if (have < static_cast<std::size_t>(n)) out.append(static_cast<std::size_t>(n) - have, ' ');
    return out;
}

}  // namespace vb
