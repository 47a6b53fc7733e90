#include "dealer/citydata.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/data.h"
#include "app/records.h"
#include "core/recfile.h"
#include "core/vbtext.h"

namespace citydata {

namespace {

constexpr const char* kCityFile = "location.dat";
// More records than any real file holds: the rewrites keep every record,
// also those past the 500 the program loads.
constexpr std::size_t kAllRecords = 1u << 20;

std::string no_blanks_upper(const std::string& s) {
    std::string out;
    strip_spaces(s, out);
    return out;
}

bool fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

// The whole records of location.dat as they are on disk.
bool raw_records(const std::string& dir, std::string& bytes, std::vector<std::string_view>& recs) {
    if (!rec::readFile(dir + kCityFile, bytes, records::cityFileLimit())) {
        bytes.clear();
        recs.clear();
        // A missing file has no records; opening it creates it empty.
        return !std::filesystem::exists(dir + kCityFile);
    }
    recs = rec::records(bytes, records::kCityLen, kAllRecords);
    return true;
}

}  // namespace

Lists build_lists(const std::vector<CityRecord>& cities) {
    Lists lists;
    for (std::size_t i = 0; i < cities.size(); ++i) {
        Entry e;
        e.record = static_cast<int>(i) + 1;
        const int region = city_entry(cities[i], e.text);
        lists[region].push_back(std::move(e));
    }
    return lists;
}

NameCheck check_new_name(const std::string& text, int listed) {
    if (listed >= kMaxListed) return NameCheck::TooMany;
    const std::string test = no_blanks_upper(text);
    if (vb::Len(test) > kMaxNameChars) return NameCheck::TooLong;
    if (test.empty()) return NameCheck::Missing;
    return NameCheck::Ok;
}

std::vector<int> same_names(const std::vector<Entry>& list, const std::vector<CityRecord>& cities,
                            const std::string& text) {
    std::vector<int> found;
    const std::string test = no_blanks_upper(text);
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        const int rec = list[i].record;
        if (rec < 1 || rec > static_cast<int>(cities.size())) continue;
        if (no_blanks_upper(cities[rec - 1].city) == test) found.push_back(i);
    }
    return found;
}

CityRecord new_record(const std::string& name) {
    CityRecord r;
    r.city = vb::FixLen(vb::Trim(name), 39);
    r.state = vb::Space(25);
    return r;
}

Boxes to_boxes(const CityRecord& r) {
    Boxes b;
    for (int m = 0; m < 12; ++m) {
        b.humidity[m] = vb::Format(r.humidity[m + 1], "##0.00");
        b.sun[m] = vb::Format(r.sun[m + 1], "##0.00");
        b.air[m] = vb::Format(r.air_temp[m + 1], "##0.00");
    }
    const float prices[4] = {r.elec_cost, r.gas_cost, r.propane_cost, r.oil_cost};
    for (int k = 0; k < 4; ++k) b.cost[k] = vb::Format(prices[k], "#0.0000");
    b.cost[4] = vb::Format(r.wind, "#0.00");
    b.state = vb::Trim(r.state);
    return b;
}

Boxes empty_boxes() {
    CityRecord zero;
    Boxes b = to_boxes(zero);
    b.state.clear();
    return b;
}

CityRecord from_boxes(const Boxes& b, const std::string& city) {
    auto num = [](const std::string& t) { return static_cast<float>(vb::Val(t)); };
    CityRecord r;
    for (int m = 0; m < 12; ++m) {
        r.humidity[m + 1] = num(b.humidity[m]);
        r.sun[m + 1] = num(b.sun[m]);
        r.air_temp[m + 1] = num(b.air[m]);
    }
    r.elec_cost = num(b.cost[0]);
    r.gas_cost = num(b.cost[1]);
    r.propane_cost = num(b.cost[2]);
    r.oil_cost = num(b.cost[3]);
    r.wind = num(b.cost[4]);
    r.city = vb::FixLen(city, 39);
    std::string state = vb::Trim(b.state);
    if (vb::UCase(state) == "FLORIDA") state = "FL";
    r.state = vb::FixLen(state, 25);
    return r;
}

std::vector<CityRecord> load(const std::string& dir, bool* more) {
    records::FileInfo info;
    auto cities = records::readCityFile(dir + kCityFile, &info);
    if (more) *more = info.oversize;
    return cities;
}

bool erase(const std::string& dir, int record, std::string* why) {
    std::string bytes;
    std::vector<std::string_view> recs;
    if (!raw_records(dir, bytes, recs)) return fail(why, "Cannot read " + dir + kCityFile);
    if (record < 1 || record > static_cast<int>(recs.size())) return fail(why, "City not found");
    std::string out;
    out.reserve(bytes.size());
    for (int i = 0; i < static_cast<int>(recs.size()); ++i) {
        if (i + 1 != record) out.append(recs[i]);
    }
    return records::writeCityBytes(dir, out, why);
}

bool put(const std::string& dir, int record, const CityRecord& r, std::string* why) {
    std::string bytes;
    std::vector<std::string_view> recs;
    if (!raw_records(dir, bytes, recs)) return fail(why, "Cannot read " + dir + kCityFile);
    const int count = static_cast<int>(recs.size());
    if (record < 1 || record > count + 1) return fail(why, "City not found");
    std::string out;
    out.reserve(bytes.size() + records::kCityLen);
    for (int i = 0; i < count; ++i) {
        if (i + 1 == record) {
            out += records::pack(r);
        } else {
            out.append(recs[i]);
        }
    }
    if (record == count + 1) out += records::pack(r);
    return records::writeCityBytes(dir, out, why);
}

bool erase_all(const std::string& dir, std::string* why) {
    // The cities are kept as location.bak (older copies moving on) as the
    // file goes; without that copy the file is not deleted.
    const std::string path = dir + kCityFile;
    const auto remove = [&path](std::string* w) { return rec::removeFile(path, w); };
    return rec::keepCopy(path, records::cityFileLimit(), remove, why) == rec::KeepResult::Kept;
}

}  // namespace citydata
