// Number rules: Val, the whole-number conversions, the print forms of
// numbers and the picture masks. No locale, no iostreams: every result is
// the same on every machine whatever its language settings. One file over
// the usual length: Val, the print forms and the masks share the digit
// generation at its top, so that every number text of the program is made
// one way.
#include "core/vbnumber.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace vb {

namespace {

constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kPow10u[] = {1ULL,
                                     10ULL,
                                     100ULL,
                                     1000ULL,
                                     10000ULL,
                                     100000ULL,
                                     1000000ULL,
                                     10000000ULL,
                                     100000000ULL,
                                     1000000000ULL,
                                     10000000000ULL,
                                     100000000000ULL,
                                     1000000000000ULL,
                                     10000000000000ULL,
                                     100000000000000ULL,
                                     1000000000000000ULL,
                                     10000000000000000ULL,
                                     100000000000000000ULL,
                                     1000000000000000000ULL};

inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
// Val skips blanks, tabs and line feeds anywhere in the number ("1 000" -> 1000).
inline bool is_val_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Writes the decimal digits of v at p (no sign); returns the count.
inline int put_digits(char* p, std::uint64_t v) {
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < n; ++i) p[i] = tmp[n - 1 - i];
    return n;
}

// Nearest whole number of 0 <= v < 2^52, halves to even: adding 2^52 leaves
// no bits for a fraction, so the addition itself rounds. (nearbyint would do
// the same but goes through a slow library call on plain x86-64.)
inline std::uint64_t round_positive(double v) {
    constexpr double two52 = 4503599627370496.0;
    const double t = v + two52;
    return static_cast<std::uint64_t>(t - two52);
}

// A finite, non-zero magnitude as a decimal with (at most) `digits`
// significant digits: value = m * 10^e, m < 10^digits. Rounded to nearest.
struct Dec {
    std::uint64_t m = 0;
    int e = 0;
};

Dec decimal_digits(double a, int digits) {
    Dec d;
    if (a == 0) return d;
    // Fast path for the everyday range: scale into [10^(digits-1), 10^digits)
    // with one multiplication by an exactly representable power of ten.
    if (digits == 15 && a >= 1e-5 && a < 1e15) {
        int i = 0;  // number of integer digits (may be zero or negative)
        if (a >= 1) {
            i = 1;
            while (i < 16 && a >= kPow10[i]) ++i;
        } else {
            // a in [1e-5, 1): count the zeros after the decimal point
            double t = a;
            while (t < 0.1) {
                t *= 10;
                --i;
            }
        }
        int k = 15 - i;  // 0..20
        double scaled = (k >= 0) ? a * kPow10[k] : a / kPow10[-k];
        std::uint64_t m = round_positive(scaled);
        int e = -k;
        if (m >= kPow10u[15]) {  // rounded up to 10^15, or boundary misjudged
            m = (m + 5) / 10;
            ++e;
        } else if (m < kPow10u[14]) {  // boundary misjudged by a hair
            // Redo with one more digit of scale.
            ++k;
            if (k <= 22) {
                m = round_positive(a * kPow10[k]);
                e = -k;
                if (m >= kPow10u[15]) {
                    m /= 10;
                    ++e;
                }
            }
        }
        d.m = m;
        d.e = e;
        return d;
    }
    // General path: the library's correctly rounded scientific form.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, digits - 1);
    const char* p = buf;
    const char* end = res.ptr;
    std::uint64_t m = 0;
    int nd = 0;
    while (p < end && *p != 'e') {
        if (is_digit(*p)) {
            m = m * 10 + static_cast<std::uint64_t>(*p - '0');
            ++nd;
        }
        ++p;
    }
    int ex = 0;
    if (p < end) {
        ++p;  // 'e'
        bool neg = false;
        if (p < end && (*p == '+' || *p == '-')) {
            neg = *p == '-';
            ++p;
        }
        while (p < end && is_digit(*p)) ex = ex * 10 + (*p++ - '0');
        if (neg) ex = -ex;
    }
    d.m = m;
    d.e = ex - (nd - 1);
    return d;
}

// Print form with `digits` significant digits, trailing zeros dropped;
// plain notation while the exponent stays within the digits shown, else
// "1.5E+20" / "1E-07".
std::string print_form(double x, int digits) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";
    if (x == 0) return "0";
    Dec d = decimal_digits(std::fabs(x), digits);
    char md[24];
    int n = put_digits(md, d.m);
    // Drop trailing zeros of the mantissa.
    while (n > 1 && md[n - 1] == '0') {
        --n;
        ++d.e;
    }
    // Decimal exponent of the leading digit.
    int lead = d.e + n - 1;
    std::string out;
    out.reserve(32);
    if (x < 0) out.push_back('-');
    if (lead >= digits || lead < -5) {
        // Scientific: d.dddE+XX
        out.push_back(md[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(md + 1, static_cast<std::size_t>(n - 1));
        }
        out.push_back('E');
        out.push_back(lead < 0 ? '-' : '+');
        int ae = lead < 0 ? -lead : lead;
        char eb[8];
        int en = put_digits(eb, static_cast<std::uint64_t>(ae));
        if (en < 2) out.push_back('0');
        out.append(eb, static_cast<std::size_t>(en));
        return out;
    }
    if (d.e >= 0) {
        out.append(md, static_cast<std::size_t>(n));
        out.append(static_cast<std::size_t>(d.e), '0');
    } else if (lead >= 0) {
        int intDigits = lead + 1;
        out.append(md, static_cast<std::size_t>(intDigits));
        out.push_back('.');
        out.append(md + intDigits, static_cast<std::size_t>(n - intDigits));
    } else {
        out.append("0.");
        out.append(static_cast<std::size_t>(-lead - 1), '0');
        out.append(md, static_cast<std::size_t>(n));
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- Val ------

double Val(std::string_view t) {
    // Collect the number's characters without blanks into a small buffer and
    // let from_chars (locale-free, correctly rounded) convert it.
    // At most every input character plus "e-" and a five-digit exponent.
    char small[96];
    std::string big;
    char* buf = small;
    if (t.size() + 8 > sizeof small) {
        big.resize(t.size() + 8);
        buf = big.data();
    }
    std::size_t n = 0;
    auto push = [&](char c) { buf[n++] = c; };

    std::size_t i = 0;
    const std::size_t len = t.size();
    auto skipBlanks = [&] {
        while (i < len && is_val_blank(t[i])) ++i;
    };
    skipBlanks();
    bool neg = false;
    if (i < len && (t[i] == '-' || t[i] == '+')) {
        neg = t[i] == '-';
        ++i;
    }
    bool sawDigit = false, sawPoint = false;
    int intDigits = 0;      // significant integer digits (magnitude guess)
    int leadFracZeros = 0;  // zeros right after the point before a digit
    bool nonZero = false;
    for (; i < len; ++i) {
        char c = t[i];
        if (is_val_blank(c)) continue;
        if (is_digit(c)) {
            sawDigit = true;
            if (c != '0') nonZero = true;
            if (!sawPoint) {
                if (nonZero) ++intDigits;
            } else if (!nonZero) {
                ++leadFracZeros;
            }
            push(c);
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
            push(c);
        } else {
            break;
        }
    }
    if (!sawDigit) return 0.0;
    long exp10 = 0;
    // Exponent: E or D (the old double-precision marker), optional sign, digits.
    if (i < len && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
        std::size_t j = i + 1;
        while (j < len && is_val_blank(t[j])) ++j;
        bool eneg = false;
        if (j < len && (t[j] == '-' || t[j] == '+')) {
            eneg = t[j] == '-';
            ++j;
        }
        while (j < len && is_val_blank(t[j])) ++j;
        if (j < len && is_digit(t[j])) {
            push('e');
            if (eneg) push('-');
            for (; j < len; ++j) {
                if (is_val_blank(t[j])) continue;
                if (!is_digit(t[j])) break;
                if (exp10 < 100000) exp10 = exp10 * 10 + (t[j] - '0');
                if (exp10 < 100000) push(t[j]);
            }
            if (exp10 >= 100000) {
                // Absurd exponent: keep a representative that still over- or
                // underflows the same way.
                // Remove the digits pushed so far and write a fixed one.
                while (n > 0 && buf[n - 1] != 'e' && buf[n - 1] != '-') --n;
                push('9');
                push('9');
                push('9');
                push('9');
                push('9');
            }
            if (eneg) exp10 = -exp10;
        }
    }
    double v = 0;
    auto res = std::from_chars(buf, buf + n, v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        if (!nonZero) {
            v = 0;
        } else {
            // Decide overflow against underflow from the magnitude.
            long mag = sawPoint && intDigits == 0 ? -leadFracZeros : intDigits;
            v = (mag + exp10 > 0) ? std::numeric_limits<double>::max() : 0.0;
        }
    } else if (res.ec != std::errc()) {
        v = 0;
    }
    if (std::isinf(v)) v = std::numeric_limits<double>::max();
    return (neg && v != 0) ? -v : v;
}

// -------------------------------------------------- whole numbers ----------

std::int16_t CInt(double x) {
    if (std::isnan(x)) return 0;
    double r = std::nearbyint(x);
    if (r >= 32767.0) return 32767;
    if (r <= -32768.0) return -32768;
    return static_cast<std::int16_t>(r);
}

std::int32_t CLng(double x) {
    if (std::isnan(x)) return 0;
    double r = std::nearbyint(x);
    if (r >= 2147483647.0) return 2147483647;
    if (r <= -2147483648.0) return static_cast<std::int32_t>(-2147483647 - 1);
    return static_cast<std::int32_t>(r);
}

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }

// ---------------------------------------------------- print forms ----------

std::string CStr(double x) { return print_form(x, 15); }
std::string CStrSingle(float x) { return print_form(static_cast<double>(x), 7); }

std::string Str(double x) {
    std::string s = CStr(x);
    if (!(x < 0) && s[0] != '-') s.insert(s.begin(), ' ');
    return s;
}

std::string StrSingle(float x) {
    std::string s = CStrSingle(x);
    if (!(x < 0) && s[0] != '-') s.insert(s.begin(), ' ');
    return s;
}

// ------------------------------------------------------- masks -------------

namespace {

// The layout of one mask section, found in a single pass.
struct MaskInfo {
    std::string_view s;
    std::size_t point = std::string_view::npos;  // index of the decimal point
    int intPlaces = 0;                           // digit placeholders before the point
    int fracPlaces = 0;                          // digit placeholders after the point
    int intForced = 0;                           // places from the right forced by a "0" (width)
    int fracLastZero = -1;                       // index of the last "0" among the fraction places
    bool group = false;
    bool percent = false;
};

MaskInfo scan_mask(std::string_view s) {
    MaskInfo m;
    m.s = s;
    int leftmostZeroFromLeft = -1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '"') {
            std::size_t q = s.find('"', i + 1);
            i = (q == std::string_view::npos) ? s.size() : q;
            continue;
        }
        if (c == '.' && m.point == std::string_view::npos) {
            m.point = i;
        } else if (c == '#' || c == '0') {
            if (m.point == std::string_view::npos) {
                if (c == '0' && leftmostZeroFromLeft < 0) leftmostZeroFromLeft = m.intPlaces;
                ++m.intPlaces;
            } else {
                if (c == '0') m.fracLastZero = m.fracPlaces;
                ++m.fracPlaces;
            }
        } else if (c == ',' && m.point == std::string_view::npos) {
            m.group = true;
        } else if (c == '%') {
            m.percent = true;
        }
    }
    if (leftmostZeroFromLeft >= 0) m.intForced = m.intPlaces - leftmostZeroFromLeft;
    return m;
}

// Output of one formatted number, written into storage sized in advance.
struct Sink {
    char* b;
    std::size_t n = 0;
    void push_back(char c) { b[n++] = c; }
    void append(std::string_view t) {
        std::memcpy(b + n, t.data(), t.size());
        n += t.size();
    }
};

// Appends the literal character at s[i] (handling \x and "...") and returns
// the index of its last byte.
inline std::size_t put_literal(Sink& out, std::string_view s, std::size_t i) {
    char c = s[i];
    if (c == '\\') {
        if (i + 1 < s.size()) out.push_back(s[i + 1]);
        return i + 1;
    }
    if (c == '"') {
        std::size_t q = s.find('"', i + 1);
        if (q == std::string_view::npos) q = s.size();
        out.append(s.substr(i + 1, q - i - 1));
        return q;
    }
    out.push_back(c);
    return i;
}

// Formats |x| under one section; `minus` puts the sign in front.
std::string format_section(double ax, bool minus, const MaskInfo& m, bool* zero = nullptr) {
    if (m.percent) ax *= 100.0;
    const int Q = m.fracPlaces;

    // The rounded value as a digit string N = round(ax * 10^Q), halves away
    // from zero, taken from the 15-digit decimal form of the value.
    char nd[400];
    int nlen = 0;
    Dec d = decimal_digits(ax, 15);
    int shift = d.e + Q;
    if (d.m == 0) {
        nlen = 0;
    } else if (shift >= 0) {
        if (shift <= 3) {
            nlen = put_digits(nd, d.m * kPow10u[shift]);
        } else {
            nlen = put_digits(nd, d.m);
            int zeros = shift;
            if (nlen + zeros > static_cast<int>(sizeof nd)) zeros = static_cast<int>(sizeof nd) - nlen;
            std::memset(nd + nlen, '0', static_cast<std::size_t>(zeros));
            nlen += zeros;
        }
    } else {
        int drop = -shift;
        std::uint64_t v = 0;
        if (drop <= 15) v = (d.m + kPow10u[drop] / 2) / kPow10u[drop];
        nlen = v ? put_digits(nd, v) : 0;
    }
    // A value that rounds to zero prints without a minus sign.
    if (nlen == 0) minus = false;
    if (zero) *zero = nlen == 0;

    // Split into integer digits (no leading zeros) and Q fraction digits.
    int intLen = nlen > Q ? nlen - Q : 0;
    const char* intDigits = nd;
    char frac[32];
    const char* fracDigits = frac;
    char* fracBig = nullptr;
    std::string fracStore;
    if (Q > 0) {
        char* f = frac;
        if (Q > static_cast<int>(sizeof frac)) {
            fracStore.assign(static_cast<std::size_t>(Q), '0');
            f = fracStore.data();
            fracBig = f;
        }
        int have = nlen - intLen;  // fraction digits present in nd
        int pad = Q - have;
        for (int k = 0; k < pad; ++k) f[k] = '0';
        std::memcpy(f + pad, nd + intLen, static_cast<std::size_t>(have));
        fracDigits = fracBig ? fracBig : frac;
    }
    // Last significant fraction digit.
    int fracSig = -1;
    for (int k = Q - 1; k >= 0; --k)
        if (fracDigits[k] != '0') {
            fracSig = k;
            break;
        }
    const int fracShowTo = fracSig > m.fracLastZero ? fracSig : m.fracLastZero;

    // Integer width: significant digits or the forced places, whichever wider.
    const int W = intLen > m.intForced ? intLen : m.intForced;
    auto digitAt = [&](int r) -> char {  // r counted from the right, 0 = units
        int idx = intLen - 1 - r;
        return idx >= 0 ? intDigits[idx] : '0';
    };

    // Every mask character gives at most one output character, except the
    // first integer place, which takes the digits left of it with their
    // separators; plus the sign.
    const std::size_t bound = m.s.size() + static_cast<std::size_t>(W) + static_cast<std::size_t>(W) / 3 + 2;
    char stack[128];
    std::string heap;
    char* storage = stack;
    if (bound > sizeof stack) {
        heap.resize(bound);
        storage = heap.data();
    }
    Sink out{storage};
    if (minus) out.push_back('-');

    auto emitInt = [&](int r) {
        out.push_back(digitAt(r));
        if (m.group && r > 0 && r % 3 == 0) out.push_back(',');
    };

    const std::string_view s = m.s;
    int place = 0;   // integer placeholders seen
    int fplace = 0;  // fraction placeholders seen
    bool inFrac = false;
    bool intEmitted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (!inFrac) {
            if (c == '#' || c == '0') {
                int r = m.intPlaces - 1 - place;
                if (place == 0) {
                    // The first place takes every digit left of it too.
                    for (int q = W - 1; q > r; --q) emitInt(q);
                }
                if (r < W) emitInt(r);
                ++place;
                intEmitted = true;
                continue;
            }
            if (c == ',') continue;
            if (i == m.point) {
                if (!intEmitted && m.intPlaces == 0)
                    for (int q = W - 1; q >= 0; --q) emitInt(q);
                intEmitted = true;
                inFrac = true;
                out.push_back('.');
                continue;
            }
            i = put_literal(out, s, i);
        } else {
            if (c == '#' || c == '0') {
                if (fplace <= fracShowTo) out.push_back(fracDigits[fplace]);
                ++fplace;
                continue;
            }
            i = put_literal(out, s, i);
        }
    }
    // A mask without any digit place or point still shows the number.
    if (!intEmitted && m.intPlaces == 0)
        for (int q = W - 1; q >= 0; --q) emitInt(q);
    return std::string(storage, out.n);
}

// A mask split into its sections and scanned once. The few masks in use
// are kept per thread, so formatting a number does not rescan its mask.
struct ParsedMask {
    std::string text;
    int nsec = 0;
    MaskInfo sec[3];
};

void parse_into(ParsedMask& pm, std::string_view mask) {
    pm.text.assign(mask.data(), mask.size());
    const std::string_view t = pm.text;  // the sections refer to this copy
    std::string_view parts[3];
    int n = 0;
    std::size_t b = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < t.size() && n < 2; ++i) {
        const char c = t[i];
        if (c == '"') quoted = !quoted;
        else if (c == '\\' && !quoted) ++i;
        else if (c == ';' && !quoted) {
            parts[n++] = t.substr(b, i - b);
            b = i + 1;
        }
    }
    parts[n++] = t.substr(b < t.size() ? b : t.size());
    pm.nsec = n;
    for (int k = 0; k < n; ++k) pm.sec[k] = scan_mask(parts[k]);
}

const ParsedMask& parsed(std::string_view mask) {
    constexpr std::size_t kSlots = 8, kLongest = 64;
    thread_local ParsedMask slots[kSlots];
    thread_local std::size_t next = 0;
    thread_local ParsedMask scratch;
    if (mask.size() > kLongest) {
        parse_into(scratch, mask);
        return scratch;
    }
    for (auto& p : slots)
        if (p.nsec != 0 && p.text.size() == mask.size() && std::memcmp(p.text.data(), mask.data(), mask.size()) == 0)
            return p;
    ParsedMask& p = slots[next];
    next = (next + 1) % kSlots;
    parse_into(p, mask);
    return p;
}

}  // namespace

std::string Format(double x, std::string_view mask) {
    if (mask.empty()) return CStr(x);
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";

    const ParsedMask& pm = parsed(mask);
    const double ax = std::fabs(x);
    const bool neg = x < 0;
    if (pm.nsec == 1) return format_section(ax, neg, pm.sec[0]);

    // Sections: positive;negative;zero. The negative section prints the
    // magnitude without a minus sign; an empty section falls back to the
    // first. The zero section applies when the value shows as zero under
    // the section it would otherwise use.
    const MaskInfo* use = &pm.sec[0];
    bool minus = neg;
    if (neg && !pm.sec[1].s.empty()) {
        use = &pm.sec[1];
        minus = false;
    }
    bool zero = false;
    std::string out = format_section(ax, minus, *use, &zero);
    if (pm.nsec == 3 && zero && !pm.sec[2].s.empty()) return format_section(0.0, false, pm.sec[2]);
    return out;
}

}  // namespace vb
