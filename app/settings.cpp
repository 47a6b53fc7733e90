// The settings file defaulte.dat: its line table, the text writer and
// reader, and Dfltinp / Dfltout.
#include "app/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <type_traits>

#include "app/data.h"
#include "app/limits.h"
#include "core/recfile.h"
#include "core/ui.h"
#include "core/vbtext.h"

namespace settings {
namespace {

// ---- building the table -------------------------------------------------------

std::string indexed(const std::string& name, int i) { return name + "(" + std::to_string(i) + ")"; }
std::string indexed(const std::string& name, int i, int j) {
    return name + "(" + std::to_string(i) + "," + std::to_string(j) + ")";
}

// Ranges of the values no window types a number into; the typed values
// take the `file` range of their limit (app/limits.h).
using limits::kInf;
using limits::Range;
constexpr Range kSwitch{0, 1};
constexpr Range kNotNegative{0, kInf};
constexpr Range file(const limits::Limit& l) { return l.file; }

class TableBuilder {
public:
    std::vector<Field> out;

    template <class T> void one(const char* name, T DataModel::*member, std::size_t maxChars = 0) {
        out.push_back({name, [member](DataModel& m) { return Ref(&(m.*member)); }, maxChars});
    }
    // A number that can only take values min..max.
    template <class T> void one(const char* name, T DataModel::*member, Range r) {
        out.push_back({name, [member](DataModel& m) { return Ref(&(m.*member)); }, 0, r.min, r.max});
    }
    // A number the file gained in version `since` (see Field::since).
    template <class T> void later(int since, const char* name, T DataModel::*member, Range r) {
        one(name, member, r);
        out.back().since = since;
    }
    // Elements lo..hi of a one-dimensional array.
    template <class T, std::size_t N>
    void list(const char* name, std::array<T, N> DataModel::*member, int lo, int hi, Range r = {}) {
        for (int i = lo; i <= hi; ++i)
            out.push_back(
                {indexed(name, i), [member, i](DataModel& m) { return Ref(&(m.*member)[i]); }, 0, r.min, r.max});
    }
    // Elements (i, j) for i = lo..hi, j fixed: one column of a month table.
    template <class T, std::size_t N1, std::size_t N2> void column(const char* name,
                                                                   std::array<std::array<T, N2>, N1> DataModel::*member,
                                                                   int lo, int hi, int j, Range r = {}) {
        for (int i = lo; i <= hi; ++i)
            out.push_back({indexed(name, i, j), [member, i, j](DataModel& m) { return Ref(&(m.*member)[i][j]); }, 0,
                           r.min, r.max});
    }
    // Every element (i, j) row by row.
    template <class T, std::size_t N1, std::size_t N2>
    void grid(const char* name, std::array<std::array<T, N2>, N1> DataModel::*member, int rows, int cols) {
        for (int i = 1; i <= rows; ++i)
            for (int j = 1; j <= cols; ++j)
                out.push_back({indexed(name, i, j), [member, i, j](DataModel& m) { return Ref(&(m.*member)[i][j]); }});
    }
};

std::vector<Field> buildTable() {
    TableBuilder t;
    // -- settings: company, brand, units, locks
    t.one("company_name", &DataModel::company_name, 34);
    t.one("no_prices", &DataModel::no_prices, kSwitch);
    t.one("company_var", &DataModel::company_var, kSwitch);
    t.one("brand_code", &DataModel::brand_code, Range{0, 3});
    t.one("series_sel", &DataModel::series_sel, Range{0, 2});
    t.list("dealer_lock", &DataModel::dealer_lock, 1, 10, Range{-1, 1});
    t.one("compet_check", &DataModel::compet_check, kSwitch);
    t.one("units_len", &DataModel::units_len, kSwitch);
    t.one("units_vol", &DataModel::units_vol, Range{0, 3});
    t.one("units_sun", &DataModel::units_sun, Range{0, 2});
    t.one("units_heat", &DataModel::units_heat, kSwitch);
    t.one("units_temp", &DataModel::units_temp, kSwitch);
    t.list("fuel_units", &DataModel::fuel_units, 1, 3, Range{0, 4});
    t.one("area_sel", &DataModel::area_sel, Range{0, 3});
    // -- dealer adjustment factors
    t.one("year_factor", &DataModel::year_factor, file(limits::kYearFactor));
    t.one("summer_factor_out", &DataModel::summer_factor_out, file(limits::kSummerFactor));
    t.one("summer_factor_in", &DataModel::summer_factor_in, file(limits::kSummerFactor));
    t.list("size_comp", &DataModel::size_comp, 1, 8, file(limits::kSizeComp));
    t.list("sel_buffer", &DataModel::sel_buffer, 1, 3, file(limits::kSelBuffer));
    t.one("reduce_pct", &DataModel::reduce_pct, file(limits::kFloorReturns));
    t.one("cover_quality", &DataModel::cover_quality, file(limits::kCoverQuality));
    t.one("allow_lowtemp", &DataModel::allow_lowtemp, kSwitch);
    t.list("off_buffer", &DataModel::off_buffer, 3, 3, file(limits::kOffBuffer));
    t.list("hp_btu_factor", &DataModel::hp_btu_factor, 1, 8, kNotNegative);
    t.list("hp_cop_factor", &DataModel::hp_cop_factor, 1, 8, kNotNegative);
    t.one("comp_factors_on", &DataModel::comp_factors_on, kSwitch);
    // -- print options and printer fonts
    t.one("small_title", &DataModel::small_title);
    t.one("round_up", &DataModel::round_up);
    t.one("name_pad", &DataModel::name_pad);
    t.one("fnt_body_name", &DataModel::fnt_body_name);
    t.one("fnt_body_size", &DataModel::fnt_body_size);
    t.one("fnt_body_bold", &DataModel::fnt_body_bold);
    t.one("fnt_body_x", &DataModel::fnt_body_x);
    t.one("fnt_title_name", &DataModel::fnt_title_name);
    t.one("fnt_title_bold", &DataModel::fnt_title_bold);
    t.one("fnt_title_size", &DataModel::fnt_title_size);
    t.one("fnt_title_x", &DataModel::fnt_title_x);
    // -- prices and finance key data
    t.list("model_price_tab", &DataModel::model_price_tab, 0, 11);
    t.list("fin_opts", &DataModel::fin_opts, 1, 20);
    t.grid("lease_fact", &DataModel::lease_fact, 6, 4);
    t.one("fees_loan", &DataModel::fees_loan, file(limits::kLoanFees));
    t.one("sales_tax", &DataModel::sales_tax, file(limits::kSalesTax));
    t.later(1, "loan_rate", &DataModel::loan_rate,
            file(limits::kLoanRate));  // the finance key data window's default rate

    // -- the last project
    t.one("brand_name", &DataModel::brand_name);
    t.one("model_name", &DataModel::model_name);
    t.one("city_name", &DataModel::city_name);
    t.one("sel_state", &DataModel::sel_state);
    t.one("area_group", &DataModel::area_group, Range{0, 2});
    t.one("pool_type", &DataModel::pool_type);
    t.one("pool_site", &DataModel::pool_site);
    t.one("pool_area", &DataModel::pool_area, file(limits::kPoolArea));
    t.one("pool_depth", &DataModel::pool_depth, file(limits::kPoolDepth));
    t.one("wind_mph", &DataModel::wind_mph, file(limits::kWind));
    t.one("sun_pct", &DataModel::sun_pct, file(limits::kSunPct));
    t.one("desired_temp", &DataModel::desired_temp, file(limits::kWaterTemp));
    t.column("temp_table", &DataModel::temp_table, 1, 12, 6, file(limits::kWaterTemp));
    t.column("month_hours_c", &DataModel::month_hours_c, 1, 12, 0, file(limits::kCoverHours));
    t.column("month_hours_c", &DataModel::month_hours_c, 1, 12, 1, file(limits::kCoverHours));
    t.column("run_state", &DataModel::run_state, 1, 12, 0, kSwitch);
    t.one("heat_days", &DataModel::heat_days, file(limits::kHeatDays));
    t.one("heat_hours", &DataModel::heat_hours, file(limits::kHeatHours));
    t.one("spa_blower", &DataModel::spa_blower, kSwitch);
    t.one("fuel_type", &DataModel::fuel_type, Range{HT_HEATPUMP, HT_OIL});
    t.one("backup_on", &DataModel::backup_on, kSwitch);
    t.one("heater_eff", &DataModel::heater_eff, file(limits::kHeaterEff));
    t.one("heater_btu", &DataModel::heater_btu, file(limits::kHeaterOutput));
    t.one("heater_cost", &DataModel::heater_cost, kNotNegative);
    t.one("rate_elec", &DataModel::rate_elec, file(limits::kPriceElec));
    t.one("rate_natgas", &DataModel::rate_natgas, file(limits::kPriceFuel));
    t.one("rate_propane", &DataModel::rate_propane, file(limits::kPriceFuel));
    t.one("rate_oil", &DataModel::rate_oil, file(limits::kPriceFuel));
    t.one("opt_reduce", &DataModel::opt_reduce, kSwitch);
    t.list("month_city_a", &DataModel::month_city_a, 1, 12, Range{0, 100});
    t.list("month_city_b", &DataModel::month_city_b, 1, 12, kNotNegative);
    t.list("month_city_c", &DataModel::month_city_c, 1, 12, Range{-80, 140});
    t.list("model_price", &DataModel::model_price, 1, 3, kNotNegative);
    return std::move(t.out);
}

// ---- values as text -------------------------------------------------------------

template <class T> std::string numberText(T v) {
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(v)) v = 0;  // never write a value the reader refuses
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// Money with exactly four decimals: "-12.3400".
std::string currencyText(Currency c) {
    std::uint64_t mag = c.v < 0 ? 0 - static_cast<std::uint64_t>(c.v) : static_cast<std::uint64_t>(c.v);
    std::string frac = std::to_string(mag % 10000);
    frac.insert(0, 4 - frac.size(), '0');
    return (c.v < 0 ? "-" : "") + std::to_string(mag / 10000) + "." + frac;
}

// A text value on one line: line breaks would split the record.
std::string lineText(std::string s, std::size_t maxChars) {
    for (char& ch : s)
        if (ch == '\r' || ch == '\n') ch = ' ';
    return maxChars ? vb::Left(s, static_cast<long>(maxChars)) : s;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Whole-text number in the C locale; false when the text is not exactly one
// number of the type (out of range included).
template <class T> bool parseNumber(std::string_view s, T& out) {
    s = trimBlanks(s);
    if (s.empty()) return false;
    if (s.front() == '+') s.remove_prefix(1);
    T v{};
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(v)) return false;
    }
    out = v;
    return true;
}

// "[-]digits[.digits]" with at most four decimals, exact.
bool parseCurrency(std::string_view s, Currency& out) {
    s = trimBlanks(s);
    bool neg = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    auto dot = s.find('.');
    std::string_view whole = s.substr(0, dot);
    std::string_view frac = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
    if ((whole.empty() && frac.empty()) || frac.size() > 4) return false;
    std::int64_t w = 0;
    if (!whole.empty()) {
        auto res = std::from_chars(whole.data(), whole.data() + whole.size(), w);
        if (res.ec != std::errc() || res.ptr != whole.data() + whole.size() || w < 0) return false;
    }
    std::int64_t f = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        char ch = i < frac.size() ? frac[i] : '0';
        if (ch < '0' || ch > '9') return false;
        f = f * 10 + (ch - '0');
    }
    // Within what a currency holds (-922337203685477.5808 to
    // 922337203685477.5807), checked before anything is multiplied.
    constexpr std::int64_t maxWhole = std::numeric_limits<std::int64_t>::max() / Currency::scale;
    constexpr std::int64_t maxFrac = std::numeric_limits<std::int64_t>::max() % Currency::scale;
    if (w > maxWhole || (w == maxWhole && f > maxFrac + (neg ? 1 : 0))) return false;
    out = Currency::raw(neg ? -(w * Currency::scale) - f : w * Currency::scale + f);
    return true;
}

std::string valueText(const Field& f, const DataModel& m) {
    // The accessor hands out a pointer into the model; it is only read here.
    Ref ref = f.at(const_cast<DataModel&>(m));
    if (auto p = std::get_if<i16*>(&ref)) return numberText(**p);
    if (auto p = std::get_if<float*>(&ref)) return numberText(**p);
    if (auto p = std::get_if<double*>(&ref)) return numberText(**p);
    if (auto p = std::get_if<Currency*>(&ref)) return currencyText(**p);
    return lineText(*std::get<std::string*>(ref), f.max_chars);
}

// Within the range, allowing for a bound that a single cannot hold exactly
// (0.8 is 0.800000011920929 as a single).
bool inRange(const Field& f, double v) {
    auto slack = [](double b) { return 1e-6 * std::max(1.0, std::fabs(b)); };
    return v >= f.lo - slack(f.lo) && v <= f.hi + slack(f.hi);
}

// Sets the field from its text; false (the field unchanged) when the text
// does not parse or the value is outside the field's range.
bool setValue(const Field& f, DataModel& m, std::string_view text) {
    Ref ref = f.at(m);
    auto number = [&](auto* p) {
        std::remove_pointer_t<decltype(p)> v{};
        if (!parseNumber(text, v) || !inRange(f, static_cast<double>(v))) return false;
        *p = v;
        return true;
    };
    if (auto p = std::get_if<i16*>(&ref)) return number(*p);
    if (auto p = std::get_if<float*>(&ref)) return number(*p);
    if (auto p = std::get_if<double*>(&ref)) return number(*p);
    if (auto p = std::get_if<Currency*>(&ref)) {
        Currency c;
        if (!parseCurrency(text, c) || !inRange(f, c.toDouble())) return false;
        **p = c;
        return true;
    }
    std::string s(text);
    *std::get<std::string*>(ref) = f.max_chars ? vb::Left(s, static_cast<long>(f.max_chars)) : s;
    return true;
}

}  // namespace

const std::vector<Field>& fields() {
    static const std::vector<Field> table = buildTable();
    return table;
}

std::string toText(const DataModel& m, const std::vector<Field>& table) {
    std::string out;
    int version = kUnmarkedVersion;
    for (const Field& f : table) {
        out += f.name;
        out += '=';
        out += valueText(f, m);
        out += '\n';
        version = std::max(version, f.since);
    }
    out += kVersionLine;
    out += '=' + std::to_string(version) + '\n';
    return out;
}

ParseResult fromText(std::string_view text, DataModel& m, const std::vector<Field>& table) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a UTF-8 byte-order mark
    ParseResult res;
    int version = kUnmarkedVersion;                       // until the last line says otherwise
    bool marked = false;                                  // the file has its version line
    int newest = 0;                                       // the newest line read
    int oldest_passed = std::numeric_limits<int>::max();  // the oldest line passed over as missing
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto eq = line.find('=');
        if (eq != std::string_view::npos && line.substr(0, eq) == kVersionLine) {
            if (!parseNumber(line.substr(eq + 1), version)) return res;
            marked = true;
            break;
        }
        const auto named = [&](const Field& f) { return eq != std::string_view::npos && line.substr(0, eq) == f.name; };
        // A file written before a value was added lacks its line.
        std::size_t at = res.read;
        while (at < table.size() && table[at].since > 0 && !named(table[at])) ++at;
        if (at == table.size()) break;  // a line past the fields (not read, as ever)
        for (; res.read < at; ++res.read) oldest_passed = std::min(oldest_passed, table[res.read].since);
        const Field& f = table[res.read];
        if (!named(f)) return res;
        if (!setValue(f, m, line.substr(eq + 1))) res.refused.push_back(f.name);
        newest = std::max(newest, f.since);
        ++res.read;
    }
    // An unmarked file is of the newest version among its lines (version 1
    // at most): one without the loan rate was written before it.
    if (!marked) version = std::min(newest, kUnmarkedVersion);
    // Whole when it holds every line of its version, wherever in the file,
    // and none newer. A file that lost its end lost its version line too and
    // reads as unmarked: cut before a line every unmarked file has, or after
    // a line newer than those, it is incomplete. (Cut exactly where an
    // unmarked file ends, it cannot be told from one.)
    res.complete = newest <= version && oldest_passed > version;
    for (std::size_t i = res.read; i < table.size(); ++i) res.complete = res.complete && table[i].since > version;
    return res;
}

void copyFields(const DataModel& from, DataModel& to) {
    for (const Field& f : fields()) {
        Ref src = f.at(const_cast<DataModel&>(from));
        Ref dst = f.at(to);
        std::visit([&](auto* s) { *std::get<decltype(s)>(dst) = *s; }, src);
    }
}

}  // namespace settings

// ---- Dfltinp / Dfltout ------------------------------------------------------------

namespace {

const char* kSettingsFile = "defaulte.dat";

void reportError(const char* where, int number, const std::string& reason) {
    std::string text = "Error " + std::to_string(number) + " in " + where;
    if (!reason.empty()) text += g.crlf + reason;
    ui::MsgBox(text, ui::vbOKOnly | ui::vbExclamation, std::string("Error in ") + where);
}

const char* kKeptExt = "bad";  // defaulte.bad, defaulte.bad1, ...

std::unique_ptr<DataModel> defaultModel() {
    auto d = std::make_unique<DataModel>();
    set_defaults(*d);
    return d;
}

// Takes over every value of the settings file; the brand group in use is
// the chosen brand's record (a brand code of 0 counts as brand 1).
void applySettings(const DataModel& from) {
    settings::copyFields(from, g);
    g.pump_rec = g.brand_code >= 1 && g.brand_code <= 100 ? g.brand_code : 1;
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

void Dfltinp() {
    try {
        const std::string path = g.data_dir + kSettingsFile;
        if (!fileExists(path)) {
            ui::MsgBox("File not found, insert the data", ui::vbOKOnly, "Upload data files");
            load_data_disk();
            if (!fileExists(path)) {
                // Nothing to read anywhere: start from the defaults and
                // leave a complete settings file for the next start.
                applySettings(*defaultModel());
                g.settings_unread = 0;
                Dfltout();
                return;
            }
        }
        std::string text;
        if (!rec::readFile(path, text, settings::kMaxFileBytes)) {
            g.settings_unread = 1;
            throw ui::RtError(75, ui::ErrorText(75));
        }

        // Read into a fresh default model, then take over every value of the
        // file at once: what a short or damaged file lacks, and every value
        // it holds that does not parse or is out of range, keeps its default.
        auto scratch = defaultModel();
        settings::ParseResult res = settings::fromText(text, *scratch);
        applySettings(*scratch);
        g.settings_unread = res.ok() ? 0 : 1;
        if (!res.ok()) ui::MsgBox("Missing data in the default settings file,", ui::vbOKOnly, "Load your data disk");
    } catch (const ui::RtError& e) {
        reportError("Dfltinp", e.number, e.description());
    } catch (const std::exception& e) {
        reportError("Dfltinp", 5, e.what());
    }
}

// A settings file that could not be read in full is kept beside the new one
// as it is overwritten, so that a dealer's settings are never lost
// silently: as defaulte.bad, an older one moving on to defaulte.bad1 and so
// on, so that a second unreadable file does not take the first one's copy.
// Not overwritten when it cannot be kept; a failed write keeps no copy.
void replaceUnreadFile(const std::string& path, const std::string& text) {
    const std::string kept = rec::keptName(path, 0, kKeptExt);
    std::string why;
    const auto write = [&](std::string* w) { return rec::replaceFile(path, text, w); };
    // Kept as it stands, however large: a file too large to read is one
    // that could not be read too (kept whole, by a rename).
    switch (rec::keepCopy(path, settings::kMaxFileBytes, write, &why, kKeptExt)) {
        case rec::KeepResult::Kept: break;
        case rec::KeepResult::NotReplaced: throw ui::RtError(75, why.empty() ? ui::ErrorText(75) : why);
        case rec::KeepResult::NotKept:
            reportError("Dfltout", 75,
                        "The settings file that could not be read was not kept as " + kept +
                            (why.empty() ? "" : ": " + why) + g.crlf + "It has not been overwritten.");
            return;
    }
    g.settings_unread = 0;
    ui::MsgBox("The settings file could not be read in full." + g.crlf + "It has been kept as " + kept +
                   " and a new one is written.",
               ui::vbOKOnly | ui::vbInformation, "Load your data disk");
}

void Dfltout() {
    try {
        clear_file_attrs();
        const std::string path = g.data_dir + kSettingsFile;
        if (g.settings_unread != 0 && fileExists(path)) return replaceUnreadFile(path, settings::toText(g));
        g.settings_unread = 0;
        std::string why;
        if (!rec::replaceFile(path, settings::toText(g), &why))
            throw ui::RtError(75, why.empty() ? ui::ErrorText(75) : why);
    } catch (const ui::RtError& e) {
        reportError("Dfltout", e.number, e.description());
    } catch (const std::exception& e) {
        reportError("Dfltout", 5, e.what());
    }
}
