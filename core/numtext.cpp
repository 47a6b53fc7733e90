#include "core/numtext.h"

#include <charconv>
#include <cmath>

namespace numtext {

std::string num_text(double x, int max_dec, int min_dec) {
    if (!std::isfinite(x)) x = 0;
    if (max_dec < 0) max_dec = 0;
    if (max_dec > 6) max_dec = 6;
    if (min_dec > max_dec) min_dec = max_dec;
    // to_chars: the C locale's point whatever locale the program runs in.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, max_dec);
    std::string s(buf, res.ptr);
    if (max_dec > 0) {
        const std::size_t dot = s.find('.');
        std::size_t keep = s.size();
        while (keep > dot + 1 + static_cast<std::size_t>(min_dec) && s[keep - 1] == '0') --keep;
        if (keep == dot + 1) keep = dot;  // no decimals left: drop the point
        s.resize(keep);
    }
    if (s == "-0") s = "0";
    return s;
}

std::string grouped(std::string text) {
    const std::size_t digits = text.find_first_not_of("0123456789");
    const std::size_t whole = digits == std::string::npos ? text.size() : digits;
    if (digits != std::string::npos && text[digits] != '.') return text;
    for (std::size_t at = whole; at > 3; at -= 3) text.insert(at - 3, 1, ',');
    return text;
}

bool clean_number(std::string_view text, double& value) {
    std::string t;
    t.reserve(text.size());
    for (char c : text)
        if (c != ',' && c != '$' && c != '%') t += c;
    std::size_t b = 0, e = t.size();
    while (b < e && (t[b] == ' ' || t[b] == '\t')) ++b;
    while (e > b && (t[e - 1] == ' ' || t[e - 1] == '\t')) --e;
    t = t.substr(b, e - b);
    int points = 0;
    for (char c : t) {
        if (c == '.') {
            if (++points > 1) return false;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    if (t.empty() || t == ".") {
        value = 0;
        return true;
    }
    if (t.front() == '.') t.insert(t.begin(), '0');
    double v = 0;
    const auto res = std::from_chars(t.data(), t.data() + t.size(), v);
    if (res.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

}  // namespace numtext
