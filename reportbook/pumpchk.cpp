#include "reportbook/pumpchk.h"

#include "core/recfile.h"

namespace pumpchk {
namespace {

constexpr std::size_t kBrandLen = 39;
constexpr std::size_t kEquipLen = 25;

}  // namespace

std::string pack(const CompareResult& r) {
    rec::Writer w(kRecLen);
    w.str(r.brand, kBrandLen);
    w.str(r.equipment, kEquipLen);
    rec::putF32(w, r.water_temp, 12);
    rec::putF32(w, r.cop, 12);
    rec::putF32(w, r.op_cost, 12);
    rec::putF32(w, r.output, 12);
    for (int m = 1; m <= 12; ++m) w.i16(r.hours[m]);
    rec::putF32(w, r.backup_cost, 12);
    rec::putF32(w, r.year_cost, 5);
    w.f32(r.save_year1);
    rec::putF32(w, r.year_save, 5);
    w.f32(r.equip_cost);
    w.f32(r.payback);
    w.f32(r.roi);
    return w.bytes();
}

CompareResult unpack(std::string_view bytes) {
    rec::Reader rd(bytes);
    CompareResult r;
    r.brand = rd.str(kBrandLen);
    r.equipment = rd.str(kEquipLen);
    rec::getF32(rd, r.water_temp, 12);
    rec::getF32(rd, r.cop, 12);
    rec::getF32(rd, r.op_cost, 12);
    rec::getF32(rd, r.output, 12);
    for (int m = 1; m <= 12; ++m) r.hours[m] = rd.i16();
    rec::getF32(rd, r.backup_cost, 12);
    rec::getF32(rd, r.year_cost, 5);
    r.save_year1 = rd.f32();
    rec::getF32(rd, r.year_save, 5);
    r.equip_cost = rd.f32();
    r.payback = rd.f32();
    r.roi = rd.f32();
    return r;
}

bool write(const std::string& path, const std::vector<CompareResult>& recs, std::string* why) {
    std::string bytes;
    bytes.reserve(recs.size() * kRecLen);
    for (const CompareResult& r : recs) bytes += pack(r);
    return rec::replaceFile(path, bytes, why);
}

std::vector<CompareResult> read(const std::string& path) {
    std::vector<CompareResult> out;
    std::string bytes;
    // A comparison file holds a few hundred results at most; anything far
    // larger is no such file and is not read into memory.
    constexpr std::uint64_t kMaxBytes = std::uint64_t{kRecLen} * 100000;
    if (!rec::readFile(path, bytes, kMaxBytes)) return out;
    for (std::string_view b : rec::records(bytes, kRecLen, bytes.size() / kRecLen + 1)) out.push_back(unpack(b));
    return out;
}

}  // namespace pumpchk
