// Money as a 64-bit count of ten-thousandths (four decimals), the way the
// program's figures have always been kept: sums and differences are exact,
// conversion from a double rounds to the nearest ten-thousandth with halves
// going to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

struct Currency {
    std::int64_t v = 0;  // ten-thousandths of a dollar

    static constexpr std::int64_t scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency raw(std::int64_t r) {
        Currency c;
        c.v = r;
        return c;
    }
    // Whole dollars (exact).
    static constexpr Currency dollars(std::int64_t d) { return raw(d * scale); }

    // From a double: nearest ten-thousandth, halves to even. Non-finite or
    // out-of-range values saturate instead of invoking undefined behaviour.
    static Currency from(double d) {
        if (std::isnan(d)) return raw(0);
        double scaled = d * static_cast<double>(scale);
        constexpr double lim = 9.2e18;
        if (scaled >= lim) return raw(std::numeric_limits<std::int64_t>::max());
        if (scaled <= -lim) return raw(std::numeric_limits<std::int64_t>::min() + 1);
        // nearbyint uses the current rounding mode, which is to-nearest-even
        // unless someone changed it; rint/nearbyint keep halves to even.
        double r = std::nearbyint(scaled);
        // A decimal half such as 0.00015 is not exact in binary (0.00015 *
        // 10000 = 1.4999999999999998): within binary noise of a half (about
        // the 15th significant digit) it is taken as the half it stands for
        // and goes to the even neighbour. Beyond 10^10 dollars the binary
        // grid is too coarse for the question to arise.
        const double lo = std::floor(scaled);
        if (std::fabs(scaled) < 1e14 && std::fabs(scaled - lo - 0.5) <= std::fabs(scaled) * 1e-15)
            r = (std::floor(lo * 0.5) * 2.0 == lo) ? lo : lo + 1.0;
        return raw(static_cast<std::int64_t>(r));
    }

    double toDouble() const { return static_cast<double>(v) / static_cast<double>(scale); }
    explicit operator double() const { return toDouble(); }

    constexpr Currency operator+(Currency o) const { return raw(v + o.v); }
    constexpr Currency operator-(Currency o) const { return raw(v - o.v); }
    constexpr Currency operator-() const { return raw(-v); }
    Currency& operator+=(Currency o) {
        v += o.v;
        return *this;
    }
    Currency& operator-=(Currency o) {
        v -= o.v;
        return *this;
    }
    // Currency times a small whole number stays in currency arithmetic (exact).
    constexpr Currency operator*(std::int64_t n) const { return raw(v * n); }

    constexpr bool operator==(const Currency&) const = default;
    constexpr auto operator<=>(const Currency&) const = default;
    constexpr bool isZero() const { return v == 0; }
};

inline Currency cy(double d) { return Currency::from(d); }
