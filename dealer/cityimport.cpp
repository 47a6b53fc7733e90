#include "dealer/cityimport.h"

#include <freexl.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>

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

// Reads the sheet with FreeXL in this process.
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
            std::string text = cell_text(v);
            if (text.size() > kMaxCellBytes) text.resize(kMaxCellBytes);
            put_cell(out, static_cast<long>(r) + 1, c + 1, std::move(text));
        }
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

// Message: 1 byte ok, then the reason (failed) or every cell text.
std::string encode(bool ok, const Sheet& s, const std::string& why) {
    std::string b(1, ok ? '\1' : '\0');
    if (!ok) {
        put_u32(b, static_cast<std::uint32_t>(why.size()));
        b += why;
        return b;
    }
    for (const auto& row : s.rows)
        for (const auto& cell : row) {
            put_u32(b, static_cast<std::uint32_t>(cell.size()));
            b += cell;
        }
    return b;
}

bool decode(std::string_view b, Sheet& s, std::string* why) {
    if (b.empty()) return fail(why, "The workbook is damaged");
    const bool ok = b[0] == '\1';
    b.remove_prefix(1);
    std::string text;
    if (!ok) return fail(why, get_text(b, text) ? text : "The workbook is damaged");
    for (auto& row : s.rows)
        for (auto& cell : row)
            if (!get_text(b, cell)) return fail(why, "The workbook is damaged");
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
    int fds[2];
    if (::pipe(fds) != 0) return read_xls_here(path, out, why);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return read_xls_here(path, out, why);
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
