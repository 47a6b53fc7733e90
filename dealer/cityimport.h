// The weather-city spreadsheet: reading hpcities.xls (legacy Excel, through
// FreeXL) or hpcities.xlsx (Office Open XML, through the office layer),
// and turning its rows into city records. No windows here.
//
// Sheet layout: the sheet shown when the workbook opens (in a .xls found
// through libgsf, else the first sheet); city k = 1..298 in row k + 5 (rows 6..303): column A the
// region (state code or country), C the city name (a comma and what follows
// it is dropped), D..O the air temperature of January..December in °F.
// Each cell counts as the text typed into it: a number as its shortest
// decimal text, a text as it is, a formula as its formula text.
// A row gives a city only when all of it reads: a name, a region, and for
// every month a cell that starts with a number ("71.5F" is 71.5) within
// limits::kCityAirTemp. A text or formula where a number belongs, an
// absurd temperature or a lost region is what a damaged workbook gives:
// such a row gives no city and counts as unreadable.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"

namespace cityimport {

constexpr int kFirstRow = 6;
constexpr int kCities = 298;
constexpr int kLastRow = kFirstRow + kCities - 1;  // 303
constexpr int kColumns = 15;                       // A .. O

// The cell texts of rows 6..303, columns A..O (row 6 is rows[0], column A
// is [0]). Cells the sheet does not have are empty.
struct Sheet {
    std::vector<std::array<std::string, kColumns>> rows = std::vector<std::array<std::string, kColumns>>(kCities);
    // Rows with a cell the reader could not read (a damaged workbook).
    std::vector<char> damaged = std::vector<char>(kCities, 0);
    // Rows below row 303 with a city name in column C: the workbook is read
    // to row 303, so they are never read, but told.
    int below = 0;
};

// Reads the sheet of a workbook file; false with a reason when the file
// cannot be read or is not a workbook of its kind. Never throws.
bool read_xls(const std::string& path, Sheet& out, std::string* why = nullptr);
bool read_xlsx(const std::string& path, Sheet& out, std::string* why = nullptr);

// The workbook to import: hpcities.xls, else hpcities.xlsx, in the data
// folder, then in its data-diskette folders A/ and B/. Empty when none.
std::string find_workbook(const std::string& dataDir);
// Reads whichever kind `path` names (by its extension).
bool read_workbook(const std::string& path, Sheet& out, std::string* why = nullptr);

// A city name cell: lower-cased and trimmed, cut at the first comma, the
// first letter and every letter after a blank in capitals, trimmed again.
std::string name_rule(std::string_view cell);
// A region cell: trimmed; longer than 2 characters it is capitalised like a
// name (without the comma cut), else kept as typed.
std::string region_rule(std::string_view cell);

// The records of the sheet's cities, in row order, with the fixed monthly
// humidity and radiation, prices 0.07, 0.7, 1.3, 1.4 $ and wind 7.5 mph.
// Only rows that read whole give a record (see above).
std::vector<CityRecord> convert(const Sheet& s);

// Rows of the sheet that give no city though they should: a cell could not
// be read, or a row holds something but does not read whole (see above).
int unreadable_rows(const Sheet& s);
// Empty rows above the last filled one: rows left blank between cities, or
// rows a damaged record took with it (the reader passes over a whole row).
// Told apart from unreadable rows, and still told. Empty rows after the
// last filled one are not counted (a workbook cut short marks its lost rows
// as damaged).
int empty_rows_between(const Sheet& s);

// For the fuzzers: the whole import of one file's bytes (written to a
// temporary file first); never crashes, whatever the bytes. Returns the
// cities it gave (0 when the file was refused).
std::size_t fuzz_one(const std::uint8_t* data, std::size_t size, bool xlsx);

}  // namespace cityimport
