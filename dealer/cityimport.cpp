#include "dealer/cityimport.h"

#include <freexl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "core/recfile.h"
#include "core/vbtext.h"
#include "platform/office/xlsx_read.h"

namespace cityimport {

namespace {

// Humidity (%) and solar radiation (langley a day) written for every
// imported city, January to December; the spreadsheet gives temperatures
// only.
constexpr float kHumidity[12] = {72, 71, 71, 69, 71, 74, 78, 79, 77, 72, 73, 73};
constexpr float kSun[12] = {250, 300, 400, 500, 550, 550, 550, 500, 450, 400, 300, 250};
constexpr float kElec = 0.07f, kGas = 0.7f, kPropane = 1.3f, kOil = 1.4f, kWind = 7.5f;

bool fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

void put_cell(Sheet& out, long row, long col, std::string text) {
    if (row < kFirstRow || row > kLastRow || col < 1 || col > kColumns) return;
    out.rows[static_cast<std::size_t>(row - kFirstRow)][static_cast<std::size_t>(col - 1)] = std::move(text);
}

// Capitalises the first character and every character after a blank;
// with `cutAtComma` it stops at the first comma.
std::string capitalise(std::string_view lowered, bool cutAtComma) {
    std::string out;
    out.reserve(lowered.size());
    bool upper = true;
    for (std::size_t i = 0; i < lowered.size();) {
        std::size_t n = 1;  // bytes of this UTF-8 character
        while (i + n < lowered.size() && (static_cast<unsigned char>(lowered[i + n]) & 0xC0) == 0x80) ++n;
        const std::string_view ch = lowered.substr(i, n);
        if (cutAtComma && ch == ",") break;
        out += upper ? vb::UCase(ch) : std::string(ch);
        upper = ch == " ";
        i += n;
    }
    return out;
}

// ---- .xls -----------------------------------------------------------------------

std::string freexl_error(int rc) {
    switch (rc) {
        case FREEXL_FILE_NOT_FOUND: return "File not found";
        case FREEXL_CRAFTED_FILE: return "The workbook is damaged";
        case FREEXL_INSUFFICIENT_MEMORY: return "Out of memory";
        case FREEXL_UNSUPPORTED_CHARSET: return "The workbook uses an unsupported character set";
        default: return "Not a readable Excel workbook";
    }
}

std::string cell_text(const FreeXL_CellValue& v) {
    switch (v.type) {
        case FREEXL_CELL_INT: return std::to_string(v.value.int_value);
        case FREEXL_CELL_DOUBLE: return vb::CStr(v.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME: return v.value.text_value ? v.value.text_value : "";
        default: return {};  // empty, or a formula (FreeXL gives no formula cells)
    }
}

}  // namespace

bool read_xls(const std::string& path, Sheet& out, std::string* why) {
    out = Sheet{};
    const void* h = nullptr;
    const int rc = freexl_open(path.c_str(), &h);
    // The handle is closed on every path, also after a failed open.
    struct Closer {
        const void*& h;
        ~Closer() {
            if (h) freexl_close(h);
        }
    } closer{h};
    if (rc != FREEXL_OK) return fail(why, freexl_error(rc) + ": " + path);
    unsigned int sheets = 0;
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(h, 0) != FREEXL_OK)
        return fail(why, "The workbook has no worksheet: " + path);
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
        return fail(why, "The worksheet cannot be read: " + path);
    for (unsigned r = kFirstRow - 1; r < rows && r < static_cast<unsigned>(kLastRow); ++r) {
        for (unsigned short c = 0; c < cols && c < kColumns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK) continue;
            put_cell(out, static_cast<long>(r) + 1, c + 1, cell_text(v));
        }
    }
    return true;
}

bool read_xlsx(const std::string& path, Sheet& out, std::string* why) {
    out = Sheet{};
    try {
        const office::CellTexts cells = office::readActiveSheet(path);
        for (int r = kFirstRow; r <= kLastRow && r <= cells.lastRow(); ++r)
            for (int c = 1; c <= kColumns; ++c) put_cell(out, r, c, cells.text(r, c));
        return true;
    } catch (const std::exception& e) {
        // A missing, damaged or foreign file: nothing read.
        out = Sheet{};
        return fail(why, e.what());
    }
}

std::string find_workbook(const std::string& dataDir) {
    for (const char* sub : {"", "A/", "B/"}) {
        for (const char* name : {"hpcities.xls", "hpcities.xlsx"}) {
            const std::string p = dataDir + sub + name;
            std::error_code ec;
            if (std::filesystem::is_regular_file(p, ec)) return p;
        }
    }
    return {};
}

bool read_workbook(const std::string& path, Sheet& out, std::string* why) {
    const bool xlsx = path.size() >= 5 && vb::LCase(path.substr(path.size() - 5)) == ".xlsx";
    return xlsx ? read_xlsx(path, out, why) : read_xls(path, out, why);
}

std::string name_rule(std::string_view cell) {
    return vb::Trim(capitalise(vb::LCase(vb::Trim(cell)), true));
}

std::string region_rule(std::string_view cell) {
    const std::string t = vb::Trim(cell);
    if (vb::Len(t) <= 2) return t;
    return capitalise(vb::LCase(t), false);
}

std::vector<CityRecord> convert(const Sheet& s) {
    std::vector<CityRecord> out;
    out.reserve(s.rows.size());
    for (const auto& row : s.rows) {
        const std::string name = name_rule(row[2]);
        if (name.empty()) continue;
        CityRecord r;
        for (int m = 1; m <= 12; ++m) {
            r.humidity[m] = kHumidity[m - 1];
            r.sun[m] = kSun[m - 1];
            r.air_temp[m] = static_cast<float>(vb::Val(row[2 + m]));  // D .. O
        }
        r.elec_cost = kElec;
        r.gas_cost = kGas;
        r.propane_cost = kPropane;
        r.oil_cost = kOil;
        r.wind = kWind;
        r.city = vb::FixLen(name, 39);
        r.state = vb::FixLen(region_rule(row[0]), 25);
        out.push_back(std::move(r));
    }
    return out;
}

void fuzz_one(const std::uint8_t* data, std::size_t size, bool xlsx) {
    // Both readers read files: the bytes go into a temporary one first.
    std::string tmpl = (std::filesystem::temp_directory_path() / "hpcities-fuzz-XXXXXX").string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    Sheet s;
    std::string why;
    if (written && (xlsx ? read_xlsx(tmpl, s, &why) : read_xls(tmpl, s, &why))) convert(s);
    ::unlink(tmpl.c_str());
}

}  // namespace cityimport
