#include "dealer/cityimport.h"

#include <freexl.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/limits.h"
#include "core/cp1252.h"
#include "core/recfile.h"
#include "core/vbtext.h"
#include "office/xlsx_read.h"

// Present only in sanitizer builds.
extern "C" void __sanitizer_set_death_callback(void (*)(void)) __attribute__((weak));

namespace cityimport {

namespace {

// Humidity (%) and solar radiation (langley a day) written for every
// imported city, January to December; the spreadsheet gives temperatures
// only.
constexpr float kHumidity[12] = {72, 71, 71, 69, 71, 74, 78, 79, 77, 72, 73, 73};
constexpr float kSun[12] = {250, 300, 400, 500, 550, 550, 550, 500, 450, 400, 300, 250};
constexpr float kElec = 0.07f, kGas = 0.7f, kPropane = 1.3f, kOil = 1.4f, kWind = 7.5f;

// A cell text longer than this is cut: the rules use a name's first 39
// characters and a number's first digits.
constexpr std::size_t kMaxCellBytes = 4096;
// The longest a legacy workbook may take to read.
constexpr int kXlsSeconds = 20;

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

// ---- the active sheet of a .xls ----------------------------------------------------
// FreeXL reads cells but cannot tell which sheet is shown when the workbook
// opens. The workbook stream itself says it: libgsf opens the compound
// file, and the records of the workbook globals (each: 16-bit type, 16-bit
// length, body; up to the first EOF, 0x000A) give the sheets in tab order
// (BOUNDSHEET, 0x0085: the name's length at byte 6, then in BIFF8 a flags
// byte, bit 0 set for UTF-16LE, else 8-bit characters) and the active tab
// (WINDOW1, 0x003D: its index at byte 10). BIFF5 (BOF version 0x0500) has
// no flags byte and Windows-1252 names.

std::uint16_t u16_at(const std::string& b, std::size_t i) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[i]) | (static_cast<unsigned char>(b[i + 1]) << 8));
}

std::string sheet_name(const std::string& b, std::size_t body, std::size_t len, bool biff8) {
    const std::size_t cch = static_cast<unsigned char>(b[body + 6]);
    if (!biff8) return len >= 7 + cch ? cp1252::toUtf8(b.substr(body + 7, cch)) : std::string();
    if (len < 8) return {};
    const bool wide = b[body + 7] & 1;
    if (len < 8 + cch * (wide ? 2 : 1)) return {};
    std::u16string units;
    for (std::size_t i = 0; i < cch; ++i)
        units += wide ? static_cast<char16_t>(u16_at(b, body + 8 + 2 * i))
                      : static_cast<char16_t>(static_cast<unsigned char>(b[body + 8 + i]));
    gchar* utf8 = g_utf16_to_utf8(reinterpret_cast<const gunichar2*>(units.data()), static_cast<glong>(units.size()),
                                  nullptr, nullptr, nullptr);
    std::string name = utf8 ? utf8 : "";
    g_free(utf8);
    return name;
}

// The workbook stream of a compound file ("" when there is none).
std::string workbook_stream(const std::string& path) {
    gsf_init();
    std::string bytes;
    GsfInput* file = gsf_input_stdio_new(path.c_str(), nullptr);
    if (!file) return bytes;
    GsfInfile* ole = gsf_infile_msole_new(file, nullptr);
    g_object_unref(file);
    if (!ole) return bytes;
    GsfInput* book = gsf_infile_child_by_name(ole, "Workbook");
    if (!book) book = gsf_infile_child_by_name(ole, "Book");
    if (book) {
        // The globals come first; a few megabytes hold them in any workbook,
        // and the cell records of a sheet of cities. A sheet starting past
        // them is taken as what FreeXL gives of it.
        const gsf_off_t size = std::min<gsf_off_t>(gsf_input_size(book), 8 << 20);
        if (size > 0)
            if (const guint8* data = gsf_input_read(book, static_cast<std::size_t>(size), nullptr))
                bytes.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
        g_object_unref(book);
    }
    g_object_unref(ole);
    return bytes;
}

// The last row (from 1) with a cell record of any kind in the sheet whose
// BOF record is at `pos`, up to its EOF: a formula or a formatted blank cell
// too, which FreeXL gives as no cell. 0 for none.
unsigned last_record_row(const std::string& b, std::size_t pos) {
    // FORMULA, MULRK, MULBLANK, LABELSST, BLANK, NUMBER, LABEL, BOOLERR, RK:
    // each starts with its row.
    static constexpr std::uint16_t kCells[] = {0x0006, 0x00BD, 0x00BE, 0x00FD, 0x0201, 0x0203, 0x0204, 0x0205, 0x027E};
    unsigned last = 0;
    for (bool first = true; pos + 4 <= b.size(); first = false) {
        const std::uint16_t type = u16_at(b, pos), len = u16_at(b, pos + 2);
        const std::size_t body = pos + 4;
        if (body + len > b.size() || type == 0x000A || (first && type != 0x0809)) break;
        if (len >= 2 && std::find(std::begin(kCells), std::end(kCells), type) != std::end(kCells))
            last = std::max<unsigned>(last, u16_at(b, body) + 1u);
        pos = body + len;
    }
    return last;
}

// What the workbook stream tells of the sheet shown when the workbook
// opens: its name ("" when it cannot be told) and the last row of its cell
// records (BOUNDSHEET gives where the sheet starts in the stream, at byte 0).
struct ActiveSheet {
    std::string name;
    unsigned lastRow = 0;
};
ActiveSheet active_sheet_of(const std::string& path) {
    const std::string b = workbook_stream(path);
    std::vector<std::string> names;
    std::vector<std::size_t> starts;
    std::size_t active = 0;
    bool biff8 = true;
    for (std::size_t pos = 0; pos + 4 <= b.size();) {
        const std::uint16_t type = u16_at(b, pos), len = u16_at(b, pos + 2);
        const std::size_t body = pos + 4;
        if (body + len > b.size()) break;
        if (type == 0x0809 && len >= 2) biff8 = u16_at(b, body) == 0x0600;
        if (type == 0x0085 && len >= 7) {
            names.push_back(sheet_name(b, body, len, biff8));
            starts.push_back(u16_at(b, body) | static_cast<std::size_t>(u16_at(b, body + 2)) << 16);
        }
        if (type == 0x003D && len >= 12) active = u16_at(b, body + 10);
        if (type == 0x000A) break;
        pos = body + len;
    }
    if (active >= names.size()) return {};
    return {names[active], last_record_row(b, starts[active])};
}

// The FreeXL index of the sheet of that name, else the first.
unsigned short sheet_index(const void* h, unsigned int sheets, const std::string& active) {
    for (unsigned int i = 0; i < sheets && i <= 0xFFFF && !active.empty(); ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(h, static_cast<unsigned short>(i), &name) == FREEXL_OK && name && active == name)
            return static_cast<unsigned short>(i);
    }
    return 0;
}

// A workbook cut short (a damaged file whose cell records stop early) still
// declares how many rows its sheet has: every declared row of 6..303 after
// the last one that gave a cell is counted as unreadable, rather than
// passed over as an empty row. Not before `recordsTo`, the last row of the
// sheet's cell records (formulas and formatted blank cells too, below row
// 303 too): a sheet whose records go on lost none of the rows read.
void mark_cut_rows(Sheet& s, unsigned declaredRows, unsigned recordsTo) {
    unsigned last = recordsTo;  // from 1
    for (unsigned r = kFirstRow; r <= kLastRow; ++r)
        for (const auto& cell : s.rows[r - kFirstRow])
            if (!cell.empty()) last = std::max(last, r);
    const unsigned to = std::min<unsigned>(declaredRows, kLastRow);
    for (unsigned r = std::max<unsigned>(last + 1, kFirstRow); r <= to; ++r) s.damaged[r - kFirstRow] = 1;
}

// Reads the active sheet with FreeXL in this process.
bool read_xls_here(const std::string& path, Sheet& out, std::string* why) {
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
    const ActiveSheet active = active_sheet_of(path);
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0 ||
        freexl_select_active_worksheet(h, sheet_index(h, sheets, active.name)) != FREEXL_OK)
        return fail(why, "The workbook has no worksheet: " + path);
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(h, &rows, &cols) != FREEXL_OK)
        return fail(why, "The worksheet cannot be read: " + path);
    for (unsigned r = kFirstRow - 1; r < rows && r < static_cast<unsigned>(kLastRow); ++r) {
        for (unsigned short c = 0; c < cols && c < kColumns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(h, r, c, &v) != FREEXL_OK) {
                out.damaged[r + 1 - kFirstRow] = 1;
                continue;
            }
            std::string text = cell_text(v);
            if (text.size() > kMaxCellBytes) text.resize(kMaxCellBytes);
            put_cell(out, static_cast<long>(r) + 1, c + 1, std::move(text));
        }
    }
    mark_cut_rows(out, rows, active.lastRow);
    // A legacy sheet has 65,536 rows at most: each row below the last read
    // is looked at for a city name (told, not read).
    for (unsigned r = kLastRow; r < rows && cols > 2; ++r) {
        FreeXL_CellValue v;
        if (freexl_get_cell_value(h, r, 2, &v) == FREEXL_OK && !cell_text(v).empty()) ++out.below;
    }
    return true;
}

// ---- FreeXL in a child process ----------------------------------------------------
// FreeXL reads memory out of bounds on some damaged files, so a damaged
// workbook could take the program down. It therefore reads in a child
// process that hands the cell texts back through a pipe: a crash, a hang
// (killed after kXlsSeconds) or any other failure of the child is a
// workbook that cannot be read, and the program goes on.

void put_u32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b += static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool get_u32(std::string_view& b, std::uint32_t& v) {
    if (b.size() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    b.remove_prefix(4);
    return true;
}

bool get_text(std::string_view& b, std::string& t) {
    std::uint32_t n = 0;
    if (!get_u32(b, n) || n > b.size()) return false;
    t.assign(b.substr(0, n));
    b.remove_prefix(n);
    return true;
}

// Message: 1 byte ok, then the reason (failed) or, row by row, the row's
// damaged flag (1 byte) and its cell texts.
std::string encode(bool ok, const Sheet& s, const std::string& why) {
    std::string b(1, ok ? '\1' : '\0');
    if (!ok) {
        put_u32(b, static_cast<std::uint32_t>(why.size()));
        b += why;
        return b;
    }
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        b += s.damaged[r] ? '\1' : '\0';
        for (const auto& cell : s.rows[r]) {
            put_u32(b, static_cast<std::uint32_t>(cell.size()));
            b += cell;
        }
    }
    put_u32(b, static_cast<std::uint32_t>(s.below));
    return b;
}

bool decode(std::string_view b, Sheet& s, std::string* why) {
    if (b.empty()) return fail(why, "The workbook is damaged");
    const bool ok = b[0] == '\1';
    b.remove_prefix(1);
    std::string text;
    if (!ok) return fail(why, get_text(b, text) ? text : "The workbook is damaged");
    for (std::size_t r = 0; r < s.rows.size(); ++r) {
        if (b.empty()) return fail(why, "The workbook is damaged");
        s.damaged[r] = b[0] == '\1';
        b.remove_prefix(1);
        for (auto& cell : s.rows[r])
            if (!get_text(b, cell)) return fail(why, "The workbook is damaged");
    }
    std::uint32_t below = 0;
    if (!get_u32(b, below) || below > 65536) return fail(why, "The workbook is damaged");
    s.below = static_cast<int>(below);
    return true;
}

bool write_all(int fd, const std::string& b) {
    std::size_t done = 0;
    while (done < b.size()) {
        const ssize_t n = ::write(fd, b.data() + done, b.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool read_xls(const std::string& path, Sheet& out, std::string* why) {
    out = Sheet{};
    const std::string damaged = "The workbook is damaged: " + path;
    // Without its own process the workbook is not read at all: reading it
    // here is exactly what the child process is there to avoid.
    const auto no_process = [&](int err) {
        return fail(why, "The workbook could not be read (no process for it: " + std::string(std::strerror(err)) +
                             "): " + path);
    };
    // libgsf's types are registered here, before the fork, so that the child
    // takes no lock of the type system another thread might have held.
    gsf_init();
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return no_process(errno);
    const pid_t pid = ::fork();
    if (pid < 0) {
        const int err = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return no_process(err);
    }
    if (pid == 0) {
        ::close(fds[0]);
        // Under a fuzzer the child's own death is no finding: the parent
        // reports the workbook as damaged and goes on.
        if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
        Sheet s;
        std::string reason;
        const bool ok = read_xls_here(path, s, &reason);
        ::_exit(write_all(fds[1], encode(ok, s, reason)) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string msg;
    bool timed_out = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kXlsSeconds);
    char buf[65536];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timed_out = true;
            break;
        }
        pollfd p{fds[0], POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left.count()));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) continue;  // the deadline is checked above
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        msg.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (timed_out) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (timed_out || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return fail(why, damaged);
    if (!decode(msg, out, why)) {
        out = Sheet{};
        if (why && why->find(path) == std::string::npos) *why += ": " + path;
        return false;
    }
    return true;
}

bool read_xlsx(const std::string& path, Sheet& out, std::string* why) {
    out = Sheet{};
    try {
        const office::CellTexts cells = office::readActiveSheet(path);
        for (int r = kFirstRow; r <= kLastRow && r <= cells.lastRow(); ++r)
            for (int c = 1; c <= kColumns; ++c) put_cell(out, r, c, cells.text(r, c));
        out.below = cells.filledBelow(kLastRow, 3);
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

std::string name_rule(std::string_view cell) { return vb::Trim(capitalise(vb::LCase(vb::Trim(cell)), true)); }

std::string region_rule(std::string_view cell) {
    const std::string t = vb::Trim(cell);
    if (vb::Len(t) <= 2) return t;
    return capitalise(vb::LCase(t), false);
}

namespace {

// A month's temperature cell: a number at its start (the rule of the cell
// text: "71.5F" is 71.5), within what any city has. A text, a formula, an
// empty cell or a number a flipped bit made absurd (335,573.6 °F) is none.
bool temperature_reads(const std::string& cell) {
    const std::string trimmed = vb::Trim(cell);
    std::string_view t = trimmed;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    if (!t.empty() && t[0] == '.') t.remove_prefix(1);
    if (t.empty() || t[0] < '0' || t[0] > '9') return false;
    const double f = vb::Val(cell);
    return f >= limits::kCityAirTemp.min && f <= limits::kCityAirTemp.max;
}

// Column B is not read: a note there is no city.
bool row_filled(const std::array<std::string, kColumns>& row) {
    for (std::size_t c = 0; c < row.size(); ++c)
        if (c != 1 && !vb::Trim(row[c]).empty()) return true;
    return false;
}

// A row that gives a city: every cell read, a name, a region and twelve
// temperatures that read.
bool row_is_city(const Sheet& s, std::size_t r) {
    const auto& row = s.rows[r];
    if (s.damaged[r] || name_rule(row[2]).empty() || region_rule(row[0]).empty()) return false;
    for (int m = 1; m <= 12; ++m)
        if (!temperature_reads(row[static_cast<std::size_t>(2 + m)])) return false;  // D .. O
    return true;
}

}  // namespace

std::vector<CityRecord> convert(const Sheet& s) {
    std::vector<CityRecord> out;
    out.reserve(s.rows.size());
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        if (!row_is_city(s, i)) continue;
        const auto& row = s.rows[i];
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
        r.city = vb::FixLen(name_rule(row[2]), 39);
        r.state = vb::FixLen(region_rule(row[0]), 25);
        out.push_back(std::move(r));
    }
    return out;
}

int unreadable_rows(const Sheet& s) {
    int n = 0;
    for (std::size_t r = 0; r < s.rows.size(); ++r)
        if (s.damaged[r] || (row_filled(s.rows[r]) && !row_is_city(s, r))) ++n;
    return n;
}

int empty_rows_between(const Sheet& s) {
    // A damaged length of a cell record makes the reader pass over the
    // records after it: a whole row can vanish between rows that read, and
    // looks like one left blank.
    std::size_t filled_to = 0;
    for (std::size_t r = 0; r < s.rows.size(); ++r)
        if (row_filled(s.rows[r])) filled_to = r + 1;
    int n = 0;
    for (std::size_t r = 0; r < filled_to; ++r)
        if (!s.damaged[r] && !row_filled(s.rows[r])) ++n;
    return n;
}

std::size_t fuzz_one(const std::uint8_t* data, std::size_t size, bool xlsx) {
    // Both readers read files: the bytes go into a temporary one first.
    std::string tmpl = (std::filesystem::temp_directory_path() / "hpcities-fuzz-XXXXXX").string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) return 0;
    const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ::close(fd);
    Sheet s;
    std::string why;
    std::size_t n = 0;
    if (written && (xlsx ? read_xlsx(tmpl, s, &why) : read_xls(tmpl, s, &why))) n = convert(s).size();
    ::unlink(tmpl.c_str());
    return n;
}

}  // namespace cityimport
