// Date texts and today's date. No locale: the day and month names are
// English on every machine.
#include "core/vbdate.h"

#include <charconv>

namespace vb {

// ------------------------------------------------------- dates -------------

namespace {
constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

// Normalised civil date of a tm (month and day out of range roll over).
void civil(const std::tm& t, long& y, int& m, int& d) {
    long yy = 1900L + t.tm_year;
    long mm = t.tm_mon;
    yy += mm / 12;
    mm %= 12;
    if (mm < 0) {
        mm += 12;
        --yy;
    }
    y = yy;
    m = static_cast<int>(mm) + 1;
    d = t.tm_mday;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's formula).
long days_from_civil(long y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(long z, long& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y += m <= 2;
}

void append_num(std::string& out, long v, int width) {
    if (v < 0) {
        out.push_back('-');
        v = -v;
    }
    char b[24];
    const int n = static_cast<int>(std::to_chars(b, b + sizeof b, static_cast<unsigned long>(v)).ptr - b);
    for (int i = n; i < width; ++i) out.push_back('0');
    out.append(b, static_cast<std::size_t>(n));
}
}  // namespace

std::string DateMDY(const std::tm& t) {
    long y;
    int m, d;
    civil(t, y, m, d);
    civil_from_days(days_from_civil(y, m, d), y, m, d);
    std::string out;
    out.reserve(10);
    append_num(out, m, 2);
    out.push_back('-');
    append_num(out, d, 2);
    out.push_back('-');
    append_num(out, y, 4);
    return out;
}

std::string DateLong(const std::tm& t) {
    long y;
    int m, d;
    civil(t, y, m, d);
    long days = days_from_civil(y, m, d);
    civil_from_days(days, y, m, d);
    long wd = (days + 4) % 7;  // 1970-01-01 was a Thursday
    if (wd < 0) wd += 7;
    std::string out = kDays[wd];
    out += ", ";
    out += kMonths[m - 1];
    out.push_back(' ');
    append_num(out, d, 1);
    out += ", ";
    append_num(out, y, 1);
    return out;
}

std::function<std::tm()>& today_clock() {
    static std::function<std::tm()> clock;
    return clock;
}

std::tm Today() {
    if (today_clock()) return today_clock()();
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

}  // namespace vb
