// Disk images of the three record types and the whole-file readers and
// writers of the heat-pump files (PumpHP.dat, PumpHP1.dat .. PumpHP3.dat)
// and the weather-city file (location.dat).
//
// Records are the members in declaration order, little-endian, fixed strings
// in Windows-1252 padded with blanks (see core/recfile.h). Unpacking keeps
// the fixed strings as stored, blanks included; the loaders of data.h trim
// what the program trims.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"

namespace records {

constexpr std::size_t kPumpLen = 1724;   // PumpBrand
constexpr std::size_t kCompLen = 596;    // CompetitorPump (2-byte gap at offset 114)
constexpr std::size_t kCityLen = 228;    // CityRecord
constexpr std::size_t kMaxPumps = 100;   // pump_tab(1..100)
constexpr std::size_t kMaxCities = 500;  // city_tab(1..500)

// A record file far larger than its table can hold is refused like a
// damaged one rather than read whole (a 1 GB file, a link to a device): the
// most bytes read of one, eight times the table, at least 1 MiB.
std::uint64_t fileLimit(std::size_t recLen, std::size_t maxRecords);
// The same for the weather-city file, location.dat.
std::uint64_t cityFileLimit();

std::string pack(const PumpBrand& r);
std::string pack(const CompetitorPump& r);
std::string pack(const CityRecord& r);
// Unpacking a short buffer reads the missing bytes as zeros / blanks.
PumpBrand unpackPump(std::string_view bytes);
CompetitorPump unpackCompetitor(std::string_view bytes);
CityRecord unpackCity(std::string_view bytes);

// What a reader found in a record file.
struct FileInfo {
    bool found = false;        // the file exists and could be read
    std::uint64_t length = 0;  // bytes
    long count = 0;            // CInt(length / record length)
    bool partial = false;      // a trailing partial record was ignored
    bool oversize = false;     // more whole records than the table holds
};

// Reads whole records only, at most `maxRecords`, never past the end.
std::vector<PumpBrand> readPumpFile(const std::string& path, FileInfo* info = nullptr,
                                    std::size_t maxRecords = kMaxPumps);
std::vector<CityRecord> readCityFile(const std::string& path, FileInfo* info = nullptr,
                                     std::size_t maxRecords = kMaxCities);
// Record 1 of a competitor file; false when the file holds no whole record.
bool readCompetitorFile(const std::string& path, CompetitorPump& out, FileInfo* info = nullptr);

// PumpHP.dat: writes pump_tab(1..100) as records 1..100. Whatever an older,
// longer file holds beyond record 100 is kept. The file is replaced through
// a complete temporary copy, so a failure leaves the old file as it was.
bool writePumpFile(const std::string& path, const arr<PumpBrand, 100>& tab, std::string* why = nullptr);
// A competitor file: `r` as record 1; any further records of the old file kept.
bool writeCompetitorFile(const std::string& path, const CompetitorPump& r, std::string* why = nullptr);
// location.dat in `dir` (ends in "/"): the cities are written in order into
// the temporary copy locatio2.dat, which is then renamed over location.dat.
// A failure leaves location.dat as it was and removes the copy.
bool writeCityFile(const std::string& dir, const std::vector<CityRecord>& cities, std::string* why = nullptr);
// The same replacement for ready-made records (whole 228-byte records in
// order), so unchanged records are copied byte for byte.
bool writeCityBytes(const std::string& dir, std::string_view bytes, std::string* why = nullptr);

}  // namespace records
