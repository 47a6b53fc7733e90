// The weather-city spreadsheet import: the name and region rules, the
// .xlsx and .xls readers, the conversion of a 300-row sheet, the shipped
// sample spreadsheet, and damaged workbooks.

#include <cstring>
#include <map>
#include <sstream>

#include "dealer/cityimport.h"
#include "dealer/ui/convert_cities.h"
#include "office/package.h"
#include "tests/dealer/dealer_test.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace dealertest;

namespace {

// One cell of a generated workbook: a number, a text (shared or inline) or
// a formula.
struct Cell {
    enum Kind { Number, Shared, Inline, Formula } kind = Shared;
    std::string text;
};
using Rows = std::map<int, std::map<int, Cell>>;  // row -> column (1 = A) -> cell

std::string col_name(int c) {
    std::string s;
    for (; c > 0; c = (c - 1) / 26) s.insert(s.begin(), static_cast<char>('A' + (c - 1) % 26));
    return s;
}

std::string escape(const std::string& s) {
    std::string o;
    for (char c : s) o += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
    return o;
}

// A workbook of several sheets; `active` is the tab shown when it opens.
std::string make_xlsx(const std::vector<Rows>& sheets, int active = 0) {
    std::vector<std::string> shared;
    std::vector<std::pair<std::string, std::string>> parts;
    std::ostringstream wb, rels;
    wb << R"(<?xml version="1.0"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
       << R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
       << "<bookViews><workbookView activeTab=\"" << active << "\"/></bookViews><sheets>";
    rels
        << R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        wb << "<sheet name=\"S" << k << "\" sheetId=\"" << k + 1 << "\" r:id=\"rId" << k + 1 << "\"/>";
        rels << "<Relationship Id=\"rId" << k + 1 << "\" Target=\"worksheets/sheet" << k + 1 << ".xml\"/>";
        std::ostringstream ws;
        ws << R"(<?xml version="1.0"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)";
        for (const auto& [r, cells] : sheets[k]) {
            ws << "<row r=\"" << r << "\">";
            for (const auto& [c, cell] : cells) {
                const std::string ref = col_name(c) + std::to_string(r);
                switch (cell.kind) {
                    case Cell::Number: ws << "<c r=\"" << ref << "\"><v>" << cell.text << "</v></c>"; break;
                    case Cell::Shared:
                        shared.push_back(cell.text);
                        ws << "<c r=\"" << ref << "\" t=\"s\"><v>" << shared.size() - 1 << "</v></c>";
                        break;
                    case Cell::Inline:
                        ws << "<c r=\"" << ref << "\" t=\"inlineStr\"><is><t>" << escape(cell.text) << "</t></is></c>";
                        break;
                    case Cell::Formula:
                        ws << "<c r=\"" << ref << "\"><f>" << escape(cell.text) << "</f><v>61.5</v></c>";
                        break;
                }
            }
            ws << "</row>";
        }
        ws << "</sheetData></worksheet>";
        parts.emplace_back("xl/worksheets/sheet" + std::to_string(k + 1) + ".xml", ws.str());
    }
    wb << "</sheets></workbook>";
    rels << "</Relationships>";
    std::ostringstream sst;
    sst << R"(<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
    for (const auto& s : shared) sst << "<si><t xml:space=\"preserve\">" << escape(s) << "</t></si>";
    sst << "</sst>";
    parts.emplace_back("xl/workbook.xml", wb.str());
    parts.emplace_back("xl/_rels/workbook.xml.rels", rels.str());
    parts.emplace_back("xl/sharedStrings.xml", sst.str());
    parts.emplace_back(
        "[Content_Types].xml",
        R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="xml" ContentType="application/xml"/></Types>)");

    office::Package pkg;
    for (auto& [name, body] : parts) pkg.set(name, body);
    const std::string tmp = path("made.xlsx");  // in the test's data folder
    pkg.save(tmp);
    std::string out;
    rec::readFile(tmp, out);
    fs::remove(tmp);
    return out;
}

// Little-endian fields of the legacy formats.
void put16(std::string& b, unsigned v) { b += {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
void put32(std::string& b, std::size_t v) {
    put16(b, v & 0xFFFF);
    put16(b, (v >> 16) & 0xFFFF);
}
void put_record(std::string& b, unsigned type, const std::string& body) {
    put16(b, type);
    put16(b, static_cast<unsigned>(body.size()));
    b += body;
}

// The records of one worksheet of a legacy workbook (BIFF8), BOF to EOF:
// numbers as NUMBER, texts as 16-bit LABEL, an empty text as BLANK, a
// formula as FORMULA without tokens.
std::string xls_sheet(const Rows& rows) {
    std::string bof, dims, sheet;
    for (unsigned v : {0x0600, 0x0010, 0, 0, 0, 0, 0, 0}) put16(bof, v);  // BIFF8, a worksheet
    put_record(sheet, 0x0809, bof);
    for (std::size_t v : {0, rows.empty() ? 0 : rows.rbegin()->first}) put32(dims, v);
    int columns = 15;  // A .. O at least
    for (const auto& [r, cells] : rows) columns = std::max(columns, cells.empty() ? 0 : cells.rbegin()->first);
    for (int v : {0, columns, 0}) put16(dims, static_cast<unsigned>(v));
    put_record(sheet, 0x0200, dims);
    for (const auto& [r, cells] : rows)
        for (const auto& [c, cell] : cells) {
            std::string body;
            for (int v : {r - 1, c - 1, 0}) put16(body, static_cast<unsigned>(v));
            if (cell.kind == Cell::Number || cell.kind == Cell::Formula) {
                const double x = cell.kind == Cell::Number ? std::stod(cell.text) : 61.5;
                body.append(reinterpret_cast<const char*>(&x), sizeof x);
                if (cell.kind == Cell::Formula) body.append(8, '\0');  // no flags, no tokens: FreeXL reads none
                put_record(sheet, cell.kind == Cell::Number ? 0x0203 : 0x0006, body);
            } else if (cell.text.empty()) {
                put_record(sheet, 0x0201, body);  // a blank cell, as a formatted one is kept
            } else {
                const std::u16string units = QString::fromStdString(cell.text).toStdU16String();
                put16(body, static_cast<unsigned>(units.size()));
                body += '\1';
                for (char16_t u : units) put16(body, u);
                put_record(sheet, 0x0204, body);
            }
        }
    put_record(sheet, 0x000A, "");
    return sheet;
}

// The same sheets as a legacy workbook, sheets "S0", "S1" ... (at most 10;
// the first shown when it opens), in a compound file of 512-byte sectors:
// the FAT, the directory, then the stream (4,096 bytes at least, so in
// sectors of its own).
std::string make_xls(const std::vector<Rows>& sheets) {
    std::string bof, globals;
    for (unsigned v : {0x0600, 0x0005, 0, 0, 0, 0, 0, 0}) put16(bof, v);  // BIFF8, the workbook globals
    put_record(globals, 0x0809, bof);
    const std::size_t bounds = globals.size();  // BOUNDSHEETs of 14 bytes: where, visible, "Sk"
    for (std::size_t k = 0; k < sheets.size(); ++k)
        put_record(globals, 0x0085, std::string("\0\0\0\0\0\0\x02\0S", 9) + std::to_string(k));
    put_record(globals, 0x00E1, std::string(4096, '\0'));  // a filler no reader looks at
    put_record(globals, 0x000A, "");
    std::string stream = globals;
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        for (int i = 0; i < 4; ++i) stream[bounds + 14 * k + 4 + i] = static_cast<char>(stream.size() >> (8 * i));
        stream += xls_sheet(sheets[k]);
    }

    constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF;
    const std::size_t sectors = (stream.size() + 511) / 512, fats = (sectors + 127) / 127;  // 128 entries a FAT sector
    std::string head = std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(16, '\0');
    for (unsigned v : {0x003E, 0x0003, 0xFFFE, 0x0009, 0x0006, 0, 0, 0}) put16(head, v);
    // No directory sector count (version 3), the FAT's sectors, the directory
    // after them, no transaction, streams from 4,096 bytes in sectors, no mini
    // FAT and no further FAT list.
    for (std::size_t v : {std::size_t{0}, fats, fats, std::size_t{0}, std::size_t{0x1000}, std::size_t{kEnd},
                          std::size_t{0}, std::size_t{kEnd}, std::size_t{0}})
        put32(head, v);
    for (std::size_t i = 0; i < 109; ++i) put32(head, i < fats ? i : kFree);
    std::string fat;
    for (std::size_t i = 0; i < fats; ++i) put32(fat, 0xFFFFFFFD);  // sectors of the FAT
    put32(fat, kEnd);                                               // the directory
    for (std::size_t i = 1; i <= sectors; ++i) put32(fat, i == sectors ? kEnd : fats + 1 + i);
    fat.resize(fats * 512, '\xFF');
    std::string dir;
    for (const auto& [name, type, child, start, size] :
         {std::tuple{std::u16string(u"Root Entry"), 5, 1u, kEnd, std::size_t{0}},
          std::tuple{std::u16string(u"Workbook"), 2, kFree, static_cast<std::uint32_t>(fats + 1), stream.size()}}) {
        std::string e;
        for (char16_t u : name) put16(e, u);
        e.resize(64, '\0');
        put16(e, static_cast<unsigned>(2 * name.size() + 2));
        e += {static_cast<char>(type), '\1'};  // black in the directory's tree
        for (std::uint32_t v : {kFree, kFree, child}) put32(e, v);
        e.resize(116, '\0');
        for (std::size_t v : {std::size_t{start}, size, std::size_t{0}}) put32(e, v);
        dir += e;
    }
    dir.resize(512, '\0');
    stream.resize(sectors * 512, '\0');
    head.resize(512, '\0');
    return head + fat + dir + stream;
}

Cell num(double x) {
    std::ostringstream s;
    s.precision(17);
    s << x;
    return {Cell::Number, s.str()};
}
Cell text(const std::string& t) { return {Cell::Shared, t}; }

// Row r of the generated 300-row sheet: every kind of cell the rules know.
void city_row(Rows& rows, int r) {
    const int k = r - 5;
    static const char* const regions[] = {"FL", "fl", "GERMANY", "", "  tx ", "new zealand", "st. kitts, nevis"};
    static const char* const names[] = {
        "NEW PORT RICHEY, FL", "st. petersburg", "  la  crosse ", "berlin, de, x", "ÉVORA", "", "ocala"};
    const int v = k % 7;
    rows[r][1] = text(regions[v]);
    rows[r][2] = text("ignored");
    if (names[v][0])
        rows[r][3] = v == 6 ? Cell{Cell::Inline, std::string(names[v]) + " " + std::to_string(k)} : text(names[v]);
    for (int m = 1; m <= 12; ++m) rows[r][3 + m] = num(40 + m + k / 10.0);
    if (k % 50 == 1) rows[r][4] = {Cell::Formula, "RC[1]+1"};  // a formula where January's number belongs
    if (k % 50 == 2) rows[r][5] = text("warm");                // a text
    if (k % 50 == 3) rows[r][6] = text("71.5F");               // a number followed by text
}

class CityImport : public DataDir {};

TEST_F(CityImport, ThreeHundredRowSheetGivesExactlyTheRuledRecords) {
    Rows rows;
    rows[1][1] = text("Heat pump weather cities");
    rows[5][3] = text("City");
    for (int r = 6; r <= 305; ++r) city_row(rows, r);  // two rows more than fit
    Rows other;
    other[6][3] = text("Wrong sheet");
    const std::string bytes = make_xlsx({other, rows}, 1);
    write("hpcities.xlsx", bytes);

    cityimport::Sheet s;
    std::string why;
    ASSERT_TRUE(cityimport::read_xlsx(path("hpcities.xlsx"), s, &why)) << why;
    const std::vector<CityRecord> recs = cityimport::convert(s);

    // Rows 6..303 only; a row without a name or a region, or with a formula
    // or a text where a temperature belongs, gives no city and is counted.
    std::vector<int> kept;
    for (int k = 1; k <= 298; ++k)
        if (k % 7 != 5 && k % 7 != 3 && k % 50 != 1 && k % 50 != 2) kept.push_back(k);
    ASSERT_EQ(recs.size(), kept.size());
    EXPECT_EQ(cityimport::unreadable_rows(s), static_cast<int>(298 - kept.size()));
    static const char* const regions[] = {"FL", "fl", "Germany", "", "tx", "New Zealand", "St. Kitts, Nevis"};
    static const char* const names[] = {
        "New Port Richey", "St. Petersburg", "La  Crosse", "Berlin", "Évora", "", "Ocala"};
    for (std::size_t i = 0; i < recs.size(); ++i) {
        const int k = kept[i];
        const CityRecord& r = recs[i];
        SCOPED_TRACE(k);
        const std::string name = k % 7 == 6 ? "Ocala " + std::to_string(k) : names[k % 7];
        ASSERT_EQ(r.city, vb::FixLen(name, 39));
        ASSERT_EQ(r.state, vb::FixLen(regions[k % 7], 25));
        for (int m = 1; m <= 12; ++m) {
            float want = static_cast<float>(40 + m + k / 10.0);
            if (k % 50 == 3 && m == 3) want = 71.5f;  // a number followed by text
            ASSERT_FLOAT_EQ(r.air_temp[m], want) << m;
        }
        ASSERT_EQ(r.humidity[1], 72);
        ASSERT_EQ(r.humidity[8], 79);
        ASSERT_EQ(r.sun[5], 550);
        ASSERT_EQ(r.sun[12], 250);
        ASSERT_FLOAT_EQ(r.elec_cost, 0.07f);
        ASSERT_FLOAT_EQ(r.gas_cost, 0.7f);
        ASSERT_FLOAT_EQ(r.propane_cost, 1.3f);
        ASSERT_FLOAT_EQ(r.oil_cost, 1.4f);
        ASSERT_FLOAT_EQ(r.wind, 7.5f);
    }
    // Written and read back through the city file, the same records.
    ASSERT_TRUE(records::writeCityFile(dir_, recs, &why)) << why;
    const auto back = city_file();
    ASSERT_EQ(back.size(), recs.size());
    for (std::size_t i = 0; i < recs.size(); ++i) ASSERT_EQ(records::pack(back[i]), records::pack(recs[i]));
}

// tests/dealer/data/edge.xls: edge.csv converted by LibreOffice (its
// "=D6+1" became a formula).
TEST_F(CityImport, LegacyWorkbookCellsFollowTheRules) {
    const std::string xls = std::string(std::getenv("HEATER_SOURCE_DIR")) + "/tests/dealer/data/edge.xls";
    cityimport::Sheet s;
    std::string why;
    ASSERT_TRUE(cityimport::read_workbook(xls, s, &why)) << why;
    EXPECT_EQ(s.rows[0][2], "NEW PORT RICHEY, FL");
    EXPECT_EQ(s.rows[0][3], "60.5");
    EXPECT_EQ(s.rows[0][4], "");  // a formula: FreeXL gives no cell
    EXPECT_EQ(s.rows[2][4], "warm");
    EXPECT_EQ(s.rows[2][14], "41");
    // Only Tampa reads whole: a formula and a text where a temperature
    // belongs, a row without a region and one without a name are counted.
    const auto recs = cityimport::convert(s);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(cityimport::unreadable_rows(s), 4);
    EXPECT_EQ(label(recs[0]), "Tampa/fl");
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(recs[0].air_temp[m], 49 + m);
    // Florida by its code in either case: the city lists put both under Florida.
    std::string entry;
    EXPECT_EQ(city_entry(recs[0], entry), 0);
}

// tests/dealer/data/second-active.xls: three sheets, saved by LibreOffice
// with the middle one ("Cities": Ocala, Waco) shown on opening.
TEST_F(CityImport, LegacyWorkbookIsReadFromItsActiveSheet) {
    const std::string xls = std::string(std::getenv("HEATER_SOURCE_DIR")) + "/tests/dealer/data/second-active.xls";
    cityimport::Sheet s;
    std::string why;
    ASSERT_TRUE(cityimport::read_workbook(xls, s, &why)) << why;
    const auto recs = cityimport::convert(s);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(label(recs[0]), "Ocala/FL");
    EXPECT_EQ(recs[0].air_temp[12], 71);
    EXPECT_EQ(label(recs[1]), "Waco/TX");
}

// tests/dealer/data/cut-short.xls: data/hpcities.xls with one bit of its
// allocation table flipped, so that its sheet's cell records stop inside the
// 152nd city while the sheet still declares 194. The shipped workbook itself
// reads whole.
TEST_F(CityImport, ALegacyWorkbookCutShortCountsTheRowsItLost) {
    const std::string src = std::string(std::getenv("HEATER_SOURCE_DIR"));
    cityimport::Sheet s;
    std::string why;
    ASSERT_TRUE(cityimport::read_workbook(src + "/data/hpcities.xls", s, &why)) << why;
    EXPECT_EQ(cityimport::convert(s).size(), 194u);
    EXPECT_EQ(cityimport::unreadable_rows(s), 0);

    ASSERT_TRUE(cityimport::read_workbook(src + "/tests/dealer/data/cut-short.xls", s, &why)) << why;
    EXPECT_EQ(cityimport::convert(s).size(), 151u);
    EXPECT_EQ(cityimport::unreadable_rows(s), 43);  // the city read in part, and the 42 lost
    EXPECT_FALSE(s.damaged[151]);                   // the last city read
    EXPECT_TRUE(s.damaged[152]);
    EXPECT_TRUE(s.damaged[193]);  // the last row the sheet declares
    EXPECT_FALSE(s.damaged[194]);

    // A sheet that declares 400 rows and whose cells stop in row 11: every
    // row from 12 to 303 lost, none past them, also before a sheet whose
    // cells go on to row 500; with a formula in row 400 (FreeXL gives no
    // formula cells) none lost.
    Rows rows, next;
    rows[11][3] = text("Last Read");
    rows[400];
    next[500][3] = text("Another Sheet");
    Rows formula = rows;
    formula[400][1] = {Cell::Formula, "A1"};
    const struct {
        std::vector<Rows> sheets;
        int lost;
    } books[] = {{{rows}, 292}, {{rows, next}, 292}, {{formula}, 0}};
    for (const auto& [sheets, lost] : books) {
        write("cut.xls", make_xls(sheets));
        ASSERT_TRUE(cityimport::read_workbook(path("cut.xls"), s, &why)) << why;
        EXPECT_EQ(cityimport::unreadable_rows(s), 1 + lost) << sheets.size();
    }
}

// A record of a legacy workbook's stream (BIFF8, little-endian): 16-bit
// type and length; a cell's record goes on with its row and column (0-based).
struct Record {
    std::size_t at;
    int type, length, row, column;
};
Record record_at(const std::string& b, std::size_t at) {
    const auto u16 = [&b](std::size_t i) {
        return static_cast<int>(static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1]) << 8);
    };
    return {at, u16(at), u16(at + 2), u16(at + 4), u16(at + 6)};
}
constexpr int kNumber = 0x0203, kLabelSst = 0x00FD;

// data/hpcities.xls with one cell record changed as a flipped bit changes
// it, found in the test by its cell's row, column and value: a temperature's
// exponent (the first temperature stored as a double: some 30 °F become two
// million), a state's record type (0x00FD becomes 0x01FD, no cell: the state
// is lost), the length of October's cell in the row before a city (256 bytes
// longer: the reader passes over the rest of that row and the whole row of
// the city, and reads on after it). Each time that city is not imported, and
// every other one is imported as shipped or counted: none wrong, none lost
// without a word.
TEST_F(CityImport, ADamagedLegacyWorkbookNeverImportsWrongOrLosesCitiesSilently) {
    const std::string src = std::string(std::getenv("HEATER_SOURCE_DIR")) + "/data/hpcities.xls";
    cityimport::Sheet shipped;
    ASSERT_TRUE(cityimport::read_workbook(src, shipped));
    const auto cities = cityimport::convert(shipped);
    ASSERT_EQ(cities.size(), 194u);  // rows 6 .. 199, every one a city
    std::map<std::string, std::string> packed;
    for (const auto& c : cities) packed[label(c)] = records::pack(c);
    std::string bytes;
    ASSERT_TRUE(rec::readFile(src, bytes));
    const auto cell = [&](const Record& r) -> const std::string& {
        return shipped.rows.at(static_cast<std::size_t>(r.row + 1 - cityimport::kFirstRow))
            .at(static_cast<std::size_t>(r.column));
    };
    const auto index_of = [&](const std::string& city) {
        std::size_t i = 0;
        while (i < cities.size() && label(cities[i]) != city) ++i;
        return i;
    };
    // The record of a cell of city i (in row i + 5, 0-based), by its head.
    const auto cell_of = [&](std::size_t i, int type, int length, int column) {
        const int row = static_cast<int>(i) + cityimport::kFirstRow - 1;
        const char head[] = {static_cast<char>(type), static_cast<char>(type >> 8), static_cast<char>(length), 0,
                             static_cast<char>(row),  static_cast<char>(row >> 8),  static_cast<char>(column), 0};
        const std::size_t at = i < cities.size() ? bytes.find(std::string(head, sizeof head)) : std::string::npos;
        return at == std::string::npos ? Record{at, 0, 0, -1, -1} : record_at(bytes, at);
    };

    // The first temperature stored as a double whose value is the sheet's.
    Record number{std::string::npos, 0, 0, -1, -1};
    for (std::size_t at = bytes.find("\x03\x02\x0e", 0, 3); at != std::string::npos && number.row < 0;
         at = bytes.find("\x03\x02\x0e", at + 1, 3)) {
        const Record r = record_at(bytes, at);
        double value = 0;
        std::memcpy(&value, bytes.data() + at + 10, sizeof value);
        if (r.length == 14 && r.column >= 3 && r.column <= 14 && r.row >= 5 && r.row < 199 && value == vb::Val(cell(r)))
            number = r;
    }
    ASSERT_GE(number.row, 0);
    const struct {
        std::string city;
        Record record;
        std::size_t byte;       // of the record, flipped in its lowest bit
        int unreadable, empty;  // rows counted, and told
    } damages[] = {
        {label(cities[static_cast<std::size_t>(number.row + 1 - cityimport::kFirstRow)]), number, 17, 1, 0},
        {"Asheville/NC", cell_of(index_of("Asheville/NC"), kLabelSst, 10, 0), 1, 1, 0},
        // the row before and the row after Beaumont's read in part, its own row lost: empty
        {"Beaumont/TX", cell_of(index_of("Beaumont/TX") - 1, kNumber, 14, 12), 3, 2, 1},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.city);
        ASSERT_NE(d.record.at, std::string::npos);
        std::string damaged = bytes;
        damaged[d.record.at + d.byte] = static_cast<char>(damaged[d.record.at + d.byte] ^ 1);
        write("hpcities.xls", damaged);

        cityimport::Sheet s;
        std::string why;
        ASSERT_TRUE(cityimport::read_workbook(path("hpcities.xls"), s, &why)) << why;
        const auto read = cityimport::convert(s);
        for (const auto& c : read) {
            EXPECT_NE(label(c), d.city);
            EXPECT_EQ(records::pack(c), packed[label(c)]) << label(c);
        }
        EXPECT_LT(read.size(), 194u);
        EXPECT_EQ(cityimport::unreadable_rows(s), d.unreadable);
        EXPECT_EQ(cityimport::empty_rows_between(s), d.empty);
        EXPECT_EQ(read.size() + static_cast<std::size_t>(d.unreadable + d.empty), 194u);
    }

    // The same cells with a note in the sheet's last row: a legacy workbook
    // that goes on below row 303 is no workbook cut short, and counts what
    // the same sheet counts as .xlsx (nothing).
    Rows rows;
    for (std::size_t i = 0; i < shipped.rows.size(); ++i)
        for (std::size_t c = 0; c < cityimport::kColumns; ++c)
            if (!shipped.rows[i][c].empty())
                rows[static_cast<int>(i) + cityimport::kFirstRow][static_cast<int>(c) + 1] = text(shipped.rows[i][c]);
    rows[65536][1] = text("end");
    for (const char* file : {"below.xls", "below.xlsx"}) {
        SCOPED_TRACE(file);
        write(file, std::string(file) == "below.xls" ? make_xls({rows}) : make_xlsx({rows}));
        cityimport::Sheet s;
        ASSERT_TRUE(cityimport::read_workbook(path(file), s));
        EXPECT_EQ(cityimport::convert(s).size(), 194u);
        EXPECT_EQ(cityimport::unreadable_rows(s) + cityimport::empty_rows_between(s) + s.below, 0);
    }
}

TEST_F(CityImport, DamagedOrMissingWorkbooksFailCleanly) {
    cityimport::Sheet s;
    std::string why;
    EXPECT_FALSE(cityimport::read_xls(path("none.xls"), s, &why));
    EXPECT_NE(why.find("not found"), std::string::npos) << why;
    EXPECT_FALSE(cityimport::read_xlsx(path("none.xlsx"), s, &why));

    // A file on which the spreadsheet library itself reads out of bounds
    // (found by fuzzing): refused as damaged, the program goes on.
    const std::string freexl_bug =
        std::string(std::getenv("HEATER_SOURCE_DIR")) + "/tests/dealer/data/damaged-freexl.xls";
    EXPECT_FALSE(cityimport::read_xls(freexl_bug, s, &why));
    EXPECT_NE(why.find("damaged"), std::string::npos) << why;
    EXPECT_TRUE(cityimport::convert(s).empty());

    // No pipe to be had for the reading process (one file descriptor left,
    // enough to open the workbook here): refused, never read in the program.
    const int lowest = ::open("/dev/null", O_RDONLY);
    ::close(lowest);
    rlimit saved{}, one{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    one = saved;
    one.rlim_cur = static_cast<rlim_t>(lowest) + 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &one), 0);
    const bool read =
        cityimport::read_xls(std::string(std::getenv("HEATER_SOURCE_DIR")) + "/data/hpcities.xls", s, &why);
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_FALSE(read);
    EXPECT_NE(why.find("no process"), std::string::npos) << why;

    Rows rows;
    city_row(rows, 11);  // Ocala 6
    std::string x = make_xlsx({rows});
    write("ok.xlsx", x);
    EXPECT_TRUE(cityimport::read_xlsx(path("ok.xlsx"), s, &why)) << why;
    EXPECT_EQ(vb::Trim(cityimport::convert(s).at(0).city), "Ocala 6");
    for (std::size_t cut : {x.size() / 3, x.size() - 30}) {
        write("cut.xlsx", x.substr(0, cut));
        EXPECT_FALSE(cityimport::read_xlsx(path("cut.xlsx"), s, &why));
        EXPECT_TRUE(cityimport::convert(s).empty());
    }
    // Every byte flipped in turn: read or refused, never a crash.
    for (std::size_t i = 0; i < x.size(); i += 7) {
        std::string bad = x;
        bad[i] = static_cast<char>(bad[i] ^ 0x55);
        cityimport::fuzz_one(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size(), true);
    }
}

// An .xlsx with a bit flipped anywhere is refused (the package's checksums),
// or gives every city it holds, or counts the rows it could not read: never
// fewer cities without a word, as a cut legacy workbook could.
TEST_F(CityImport, AFlippedBitInAnXlsxNeverLosesCitiesSilently) {
    Rows rows;
    for (int r = 6; r < 26; ++r) {
        rows[r][1] = text("FL");
        rows[r][3] = text("City " + std::to_string(r));
        for (int m = 1; m <= 12; ++m) rows[r][3 + m] = num(60 + m);
    }
    const std::string x = make_xlsx({rows});
    int read = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::string bad = x;
        bad[i] = static_cast<char>(bad[i] ^ 0x10);
        write("flip.xlsx", bad);
        cityimport::Sheet s;
        if (!cityimport::read_xlsx(path("flip.xlsx"), s)) continue;
        ++read;
        EXPECT_GE(cityimport::convert(s).size() +
                      static_cast<std::size_t>(cityimport::unreadable_rows(s) + cityimport::empty_rows_between(s)),
                  20u)
            << "byte " << i;
    }
    EXPECT_GT(read, 0);  // flips outside the parts' contents leave it readable
}

// Rows that hold values but give no city are counted, said before the
// file is replaced, and asked about once more.
TEST_F(CityImport, UnreadableRowsAreSaidAndAskedAboutBeforeTheFileIsReplaced) {
    Rows rows;
    // k = 1 to 7: a formula and a text for a temperature, no region, a
    // city, no name, two cities.
    for (int r = 6; r <= 12; ++r) city_row(rows, r);
    write("hpcities.xlsx", make_xlsx({rows}));
    cityimport::Sheet s;
    ASSERT_TRUE(cityimport::read_xlsx(path("hpcities.xlsx"), s));
    EXPECT_EQ(cityimport::unreadable_rows(s), 4);
    s.damaged[200] = 1;  // a cell the reader could not read
    EXPECT_EQ(cityimport::unreadable_rows(s), 5);
    s.rows[250][1] = "a note";  // column B alone: not read, so no lost city
    EXPECT_EQ(cityimport::unreadable_rows(s), 5);

    write_cities({city("Hand Added", "FL")});
    const std::string before = read("location.dat");
    for (int second : {ui::vbNo, ui::vbYes}) {
        ui::Script script;
        script.answer(ui::vbYes).answer(second).answer(ui::vbOK);
        convert_cities();
        ASSERT_GE(script.shown().size(), 2u);
        EXPECT_NE(script.shown()[0].text.find("by the 3 cities read from"), std::string::npos);
        EXPECT_NE(script.shown()[0].text.find("4 rows of the workbook could not be read"), std::string::npos);
        EXPECT_NE(script.shown()[0].text.find("outside -80 to 130 °F"), std::string::npos);
        EXPECT_NE(script.shown()[1].text.find("Replace the weather-city file all the same"), std::string::npos);
        EXPECT_EQ(script.shown()[1].style & 0x300, ui::vbDefaultButton2);  // a stray Enter answers No
        EXPECT_EQ(city_file().size(), second == ui::vbYes ? 3u : 1u);
    }
    EXPECT_EQ(read("location.bak"), before);
}

// Rows left blank between cities are told as empty rows, apart from the
// rows that could not be read: a workbook whose only other rows are blank is
// asked once, with no row said to be unreadable. Cities below row 303 are
// told, not read; one in row 303 is read. A legacy workbook gives what the
// same sheet gives as .xlsx, also when its cells go on to its last row.
// Winters below 0 °F import.
TEST_F(CityImport, BlankRowsBetweenCitiesAreToldApartFromUnreadableOnes) {
    const struct {
        const char* what;
        bool damaged;
        std::vector<int> rows;  // of more cities
        int note, column;       // a note's cell, past the last city
        int below;              // cities below row 303, told
    } cases[] = {{"blank rows only", false, {}, 0, 0, 0},
                 {"and a row that does not read", true, {}, 0, 0, 0},
                 {"and a city past row 303", false, {309}, 0, 0, 1},
                 {"and cities past row 303 and a note in the sheet's last row", false, {309, 400}, 65536, 1, 2},
                 {"and a note in the sheet's last row", false, {}, 65536, 1, 0},
                 {"and a note in column Q", false, {}, 100, 17, 0},
                 {"and a blank cell in the sheet's last row", false, {}, 65536, -1, 0},
                 {"and a city in row 303", false, {303}, 0, 0, 0}};
    for (const auto& [what, damaged, more, note, column, below] : cases) {
        Rows rows;
        std::vector<int> at = {6, 8, 11};  // rows 7, 9 and 10 blank
        at.insert(at.end(), more.begin(), more.end());
        for (int r : at) {
            rows[r][1] = text("AK");
            rows[r][3] = text("Town " + std::to_string(r));
            for (int m = 1; m <= 12; ++m) rows[r][3 + m] = num(m <= 2 || m == 12 ? m - 10.5 : 40 + m);
        }
        if (damaged) rows[12][3] = text("No temperatures");
        if (note) rows[note][std::abs(column)] = text(column < 0 ? "" : "end");
        const int read = 3 + (more == std::vector<int>{303}), empty = read == 4 ? 3 + 291 : 3;  // rows 12 .. 302
        for (const char* file : {"hpcities.xls", "hpcities.xlsx"}) {
            SCOPED_TRACE(std::string(what) + ", " + file);
            fs::remove(path("hpcities.xls"));
            write(file, file == std::string("hpcities.xls") ? make_xls({rows}) : make_xlsx({rows}));
            write_cities({city("Hand Added", "FL")});
            ui::Script script;
            script.answer(ui::vbYes);
            if (damaged) script.answer(ui::vbYes);
            script.answer(ui::vbOK);
            convert_cities();
            ASSERT_EQ(script.shown().size(), damaged ? 3u : 2u);
            const ui::Shown& question = script.shown()[0];
            EXPECT_NE(
                question.text.find(std::to_string(empty) +
                                   " empty rows above the last city (left blank, or lost from a damaged workbook)."),
                std::string::npos);
            EXPECT_EQ(question.text.find("could not be read") != std::string::npos, damaged);
            EXPECT_EQ(question.text.find("1 row of the workbook could not be read") != std::string::npos, damaged);
            EXPECT_EQ(question.style & ui::vbExclamation, damaged || below ? ui::vbExclamation : 0);
            const std::string told = below == 1 ? "1 city below row 303 is not read: the workbook is read to row 303."
                                                : std::to_string(below) +
                                                      " cities below row 303 are not read: the workbook is read to "
                                                      "row 303.";
            EXPECT_EQ(question.text.find(told) != std::string::npos, below > 0);
            EXPECT_EQ(question.text.find("below row") != std::string::npos, below > 0);
            const auto cities = city_file();
            ASSERT_EQ(cities.size(), static_cast<std::size_t>(read));
            EXPECT_EQ(label(cities[0]), "Town 6/AK");
            EXPECT_EQ(label(cities.back()), "Town " + std::to_string(read == 4 ? 303 : 11) + "/AK");
            EXPECT_FLOAT_EQ(cities[0].air_temp[1], -9.5f);
            EXPECT_FLOAT_EQ(cities[0].air_temp[12], 1.5f);
        }
    }
}

// A month's temperature reads when it starts with a number within what any
// city has (limits::kCityAirTemp, -80 to 130 °F), in any month; a row with
// a cell the reader could not read gives no city, however whole it looks.
TEST_F(CityImport, TemperaturesReadWithinWhatAnyCityHas) {
    const struct {
        const char* cell;
        bool reads;
        float value;
    } cases[] = {{"-80.5", false, 0}, {"-80", true, -80}, {"-9.6", true, -9.6f}, {" -.5", true, -0.5f},
                 {".5", true, 0.5f},  {"+71", true, 71},  {"130", true, 130},    {"130.5", false, 0},
                 {"-", false, 0},     {"-x", false, 0}};
    cityimport::Sheet s;
    const auto month = [](std::size_t i) { return static_cast<int>(12 - i % 12); };  // December first
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto& row = s.rows[i];
        row[0] = "AK";
        row[2] = "Town " + std::to_string(i);
        for (int m = 1; m <= 12; ++m) row[static_cast<std::size_t>(2 + m)] = "20";
        row[static_cast<std::size_t>(2 + month(i))] = cases[i].cell;
    }
    // A row with a cell the reader could not read, after an empty one it
    // could not read either: each counted once, as unreadable.
    const std::size_t damaged = std::size(cases) + 1;
    s.rows[damaged] = s.rows[1];
    s.damaged[damaged] = s.damaged[damaged - 1] = 1;
    const auto recs = cityimport::convert(s);
    std::size_t k = 0;
    int refused = 2;  // the damaged rows
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].cell);
        if (!cases[i].reads) {
            ++refused;
            continue;
        }
        ASSERT_LT(k, recs.size());
        EXPECT_EQ(vb::Trim(recs[k].city), "Town " + std::to_string(i));
        EXPECT_FLOAT_EQ(recs[k].air_temp[month(i)], cases[i].value);
        ++k;
    }
    EXPECT_EQ(recs.size(), k);
    EXPECT_EQ(cityimport::unreadable_rows(s), refused);
    EXPECT_EQ(cityimport::empty_rows_between(s), 0);
}

// A workbook that gives no city at all (temperatures without names) is
// said, and the city file stays as it is: nothing is asked.
TEST_F(CityImport, AWorkbookWithoutCitiesReplacesNothing) {
    Rows rows;
    for (int r = 6; r <= 9; ++r)
        for (int m = 1; m <= 12; ++m) rows[r][3 + m] = num(60 + m);
    write("hpcities.xlsx", make_xlsx({rows}));
    write_cities({city("Hand Added", "FL")});
    const std::string before = read("location.dat");
    ui::Script script;
    script.answer(ui::vbOK);
    convert_cities();
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "convert cities err");
    EXPECT_EQ(script.shown()[0].text.rfind("No cities found in " + path("hpcities.xlsx"), 0), 0u);
    EXPECT_EQ(read("location.dat"), before);
    EXPECT_FALSE(exists("location.bak"));
}

TEST_F(CityImport, WorkbookFoundInTheDataFolderThenTheDiskettes) {
    EXPECT_EQ(cityimport::find_workbook(dir_), "");
    write("B/hpcities.xlsx", "x");
    EXPECT_EQ(cityimport::find_workbook(dir_), path("B/hpcities.xlsx"));
    write("A/hpcities.xlsx", "x");
    EXPECT_EQ(cityimport::find_workbook(dir_), path("A/hpcities.xlsx"));
    write("hpcities.xls", "x");
    EXPECT_EQ(cityimport::find_workbook(dir_), path("hpcities.xls"));
}

}  // namespace
