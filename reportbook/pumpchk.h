// The comparison's scratch file Pumpchk.dat: one CompareResult per compared
// system, 384 bytes each, little-endian, no header, records from 1.
//
//   0  brand (39)          64 water_temp f32x12   112 cop f32x12
//   39 equipment (25)      160 op_cost f32x12     208 output f32x12
//   256 hours i16x12       280 backup_cost f32x12 328 year_cost f32x5
//   348 save_year1 f32     352 year_save f32x5    372 equip_cost f32
//   376 payback f32        380 roi f32
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"

namespace pumpchk {

constexpr std::size_t kRecLen = 384;
constexpr const char* kFileName = "Pumpchk.dat";

std::string pack(const CompareResult& r);
// A short buffer reads its missing bytes as zeros / blanks.
CompareResult unpack(std::string_view bytes);

// Writes the records in order as the whole file (a complete copy renamed
// over the old file). False with a reason when the file cannot be written.
bool write(const std::string& path, const std::vector<CompareResult>& recs, std::string* why = nullptr);
// Reads every whole record back; none when the file is missing or empty.
std::vector<CompareResult> read(const std::string& path);

}  // namespace pumpchk
