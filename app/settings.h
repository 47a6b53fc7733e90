// The settings file defaulte.dat as text: one `name=value` line per value,
// UTF-8, in one fixed order (the table below) that the writer and the reader
// share. Array elements have one line each, `fin_opts(3)=0`, two-dimensional
// ones `lease_fact(1,2)=0.5`. Numbers are written in the C locale, floats in
// their shortest form that reads back to the same value, money with exactly
// four decimals. Dfltinp and Dfltout (data.h) are built on these.
//
// The last line, `file_version=1`, says which lines the file holds: every
// line of that version or older (Field::since). A file without it was
// written before it was: version 1 at most. Old programs stop reading at
// the end of their own table, so the line costs them nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/model.h"

namespace settings {

// A settings file longer than this is not read (it holds some 30 KB).
inline constexpr std::uint64_t kMaxFileBytes = 4u << 20;

// One value of the model as the file holds it.
using Ref = std::variant<i16*, float*, double*, Currency*, std::string*>;

struct Field {
    std::string name;                   // as written before the "="
    std::function<Ref(DataModel&)> at;  // where the value lives
    std::size_t max_chars = 0;          // strings: cut to this many characters (0: no limit)
    // Numbers: the range the setting can take (as its window limits it);
    // a value outside it is refused like one that does not parse.
    double lo = -std::numeric_limits<double>::infinity();
    double hi = std::numeric_limits<double>::infinity();
    // The file version that gained the line: 0 for the lines every file
    // has. A file of an older version lacks it, and then it keeps its
    // default (also where an older file ends before it).
    int since = 0;
};

// Every value of the file in file order: the settings, then the last project.
const std::vector<Field>& fields();

// The name of the last line, which holds the file's version.
inline constexpr std::string_view kVersionLine = "file_version";
// The highest version of a file without that line: it holds the lines of
// version 1 or older, those of version 1 only where it was written after
// them (it is of the newest version among its lines).
inline constexpr int kUnmarkedVersion = 1;

// The whole file text for model m, its version the highest of the table's
// lines. `table` is fields() but for tests of a table that grew.
std::string toText(const DataModel& m, const std::vector<Field>& table = fields());

struct ParseResult {
    std::size_t read = 0;              // lines read in order (refused values included)
    bool complete = false;             // every field of the file's version was present, in order
    std::vector<std::string> refused;  // fields whose value did not parse or was out of range
    bool ok() const { return complete && refused.empty(); }
};
// Reads the text into m field by field. A value that does not parse, does
// not fit its type or lies outside its range leaves that one field as it is
// and the reading goes on; the first line that is missing or out of order
// stops it, leaving that field and all later ones as they are (a field
// added later may be missing: it keeps its value and reading goes on).
// The file is complete when it holds every line of its version: a file
// that ends before lines newer than its version is whole, one cut short
// before a line it should have, or without one in its middle, is not.
ParseResult fromText(std::string_view text, DataModel& m, const std::vector<Field>& table = fields());

// Copies every value of the settings file from one model to another.
void copyFields(const DataModel& from, DataModel& to);

}  // namespace settings
