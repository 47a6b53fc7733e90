#include "app/records.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/recfile.h"

namespace records {
namespace {

constexpr std::size_t kBrandLen = 39;
constexpr std::size_t kModelLen = 25;

using rec::getF32;
using rec::getF64;
using rec::putF32;
using rec::putF64;

FileInfo describe(bool found, std::uint64_t length, std::size_t recLen, bool partial, bool oversize) {
    FileInfo fi;
    fi.found = found;
    fi.length = length;
    fi.count = rec::recordCount(length, static_cast<std::uint32_t>(recLen));
    fi.partial = partial;
    fi.oversize = oversize;
    return fi;
}

// Reads a record file and hands each whole record (at most maxRecords) to
// `take`. Missing or unreadable files give no records.
template <class Take>
FileInfo readRecords(const std::string& path, std::size_t recLen, std::size_t maxRecords, Take take) {
    std::string bytes;
    if (!rec::readFile(path, bytes, fileLimit(recLen, maxRecords))) return FileInfo{};
    bool partial = false;
    // One more than the table holds tells an oversized file from a full one.
    auto recs = rec::records(bytes, recLen, maxRecords + 1, &partial);
    bool oversize = recs.size() > maxRecords;
    if (oversize) recs.pop_back();
    for (auto r : recs) take(r);
    return describe(true, bytes.size(), recLen, partial, oversize);
}

// The bytes an old file holds beyond its first `count` records ("" when
// none, or when the file is refused as far too large).
std::string tailBeyond(const std::string& path, std::size_t recLen, std::size_t count) {
    std::string old;
    const std::size_t keep = recLen * count;
    if (!rec::readFile(path, old, fileLimit(recLen, count)) || old.size() <= keep) return {};
    return old.substr(keep);
}

}  // namespace

std::uint64_t fileLimit(std::size_t recLen, std::size_t maxRecords) {
    return std::max<std::uint64_t>(8ULL * recLen * (maxRecords + 1), 1ULL << 20);
}

std::uint64_t cityFileLimit() { return fileLimit(kCityLen, kMaxCities); }

std::string pack(const PumpBrand& r) {
    rec::Writer w(kPumpLen);
    w.str(r.brand, kBrandLen);
    for (int k = 1; k <= 9; ++k) w.str(r.model[k], kModelLen);
    for (int k = 1; k <= 9; ++k) w.i16(r.in_list[k]);
    w.i16(r.spare);
    putF32(w, r.rh, 72);
    putF32(w, r.cop, 72);
    putF64(w, r.btu, 72);
    putF32(w, r.water_temp, 72);
    return w.bytes();
}

std::string pack(const CompetitorPump& r) {
    rec::Writer w(kCompLen);
    w.str(r.brand, kBrandLen);
    for (int k = 1; k <= 3; ++k) w.str(r.model[k], kModelLen);
    w.gap(2);
    putF32(w, r.rh, 24);
    putF32(w, r.cop, 24);
    putF64(w, r.btu, 24);
    putF32(w, r.water_temp, 24);
    return w.bytes();
}

std::string pack(const CityRecord& r) {
    rec::Writer w(kCityLen);
    w.str(r.city, 39);
    w.str(r.state, 25);
    w.f32(r.elec_cost);
    w.f32(r.gas_cost);
    w.f32(r.propane_cost);
    w.f32(r.oil_cost);
    w.f32(r.wind);
    putF32(w, r.humidity, 12);
    putF32(w, r.sun, 12);
    putF32(w, r.air_temp, 12);
    return w.bytes();
}

PumpBrand unpackPump(std::string_view bytes) {
    rec::Reader r(bytes);
    PumpBrand p;
    p.brand = r.str(kBrandLen);
    for (int k = 1; k <= 9; ++k) p.model[k] = r.str(kModelLen);
    for (int k = 1; k <= 9; ++k) p.in_list[k] = r.i16();
    p.spare = r.i16();
    getF32(r, p.rh, 72);
    getF32(r, p.cop, 72);
    getF64(r, p.btu, 72);
    getF32(r, p.water_temp, 72);
    return p;
}

CompetitorPump unpackCompetitor(std::string_view bytes) {
    rec::Reader r(bytes);
    CompetitorPump c;
    c.brand = r.str(kBrandLen);
    for (int k = 1; k <= 3; ++k) c.model[k] = r.str(kModelLen);
    r.skip(2);
    getF32(r, c.rh, 24);
    getF32(r, c.cop, 24);
    getF64(r, c.btu, 24);
    getF32(r, c.water_temp, 24);
    return c;
}

CityRecord unpackCity(std::string_view bytes) {
    rec::Reader r(bytes);
    CityRecord c;
    c.city = r.str(39);
    c.state = r.str(25);
    c.elec_cost = r.f32();
    c.gas_cost = r.f32();
    c.propane_cost = r.f32();
    c.oil_cost = r.f32();
    c.wind = r.f32();
    getF32(r, c.humidity, 12);
    getF32(r, c.sun, 12);
    getF32(r, c.air_temp, 12);
    return c;
}

std::vector<PumpBrand> readPumpFile(const std::string& path, FileInfo* info, std::size_t maxRecords) {
    std::vector<PumpBrand> out;
    FileInfo fi = readRecords(path, kPumpLen, maxRecords, [&](std::string_view b) { out.push_back(unpackPump(b)); });
    if (info) *info = fi;
    return out;
}

std::vector<CityRecord> readCityFile(const std::string& path, FileInfo* info, std::size_t maxRecords) {
    std::vector<CityRecord> out;
    FileInfo fi = readRecords(path, kCityLen, maxRecords, [&](std::string_view b) { out.push_back(unpackCity(b)); });
    if (info) *info = fi;
    return out;
}

bool readCompetitorFile(const std::string& path, CompetitorPump& out, FileInfo* info) {
    bool got = false;
    FileInfo fi = readRecords(path, kCompLen, 1, [&](std::string_view b) {
        out = unpackCompetitor(b);
        got = true;
    });
    fi.oversize = false;  // further records are simply not used
    if (info) *info = fi;
    return got;
}

bool writePumpFile(const std::string& path, const arr<PumpBrand, 100>& tab, std::string* why) {
    std::string bytes;
    bytes.reserve(kPumpLen * kMaxPumps);
    for (std::size_t k = 1; k <= kMaxPumps; ++k) bytes += pack(tab[k]);
    bytes += tailBeyond(path, kPumpLen, kMaxPumps);
    return rec::replaceFile(path, bytes, why);
}

bool writeCompetitorFile(const std::string& path, const CompetitorPump& r, std::string* why) {
    std::string bytes = pack(r) + tailBeyond(path, kCompLen, 1);
    return rec::replaceFile(path, bytes, why);
}

bool writeCityFile(const std::string& dir, const std::vector<CityRecord>& cities, std::string* why) {
    std::string bytes;
    bytes.reserve(kCityLen * cities.size());
    for (const auto& c : cities) bytes += pack(c);
    return writeCityBytes(dir, bytes, why);
}

bool writeCityBytes(const std::string& dir, std::string_view bytes, std::string* why) {
    // The copy is written complete (never appended to a copy an earlier run
    // left behind) before it replaces the file.
    const std::string copy = dir + "locatio2.dat";
    if (!rec::replaceFile(copy, bytes, why, dir + "location.dat")) return false;
    if (!rec::renameFile(copy, dir + "location.dat", why)) {
        std::error_code ec;
        std::filesystem::remove(copy, ec);
        return false;
    }
    return true;
}

}  // namespace records
