// Fixed-length record files: random access, records numbered from 1, no
// header, little-endian 16-bit integers, singles and doubles, fixed strings
// of N bytes in Windows-1252 filled up with blanks.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rec {

// Record count = CInt(file length / record length), halves to even.
long recordCount(std::uint64_t fileLength, std::uint32_t recordLength);

// Serialises one record field by field into a buffer of fixed length.
class Writer {
public:
    explicit Writer(std::size_t length);
    void i16(std::int16_t v);
    void f32(float v);
    void f64(double v);
    // Fixed string of n bytes: UTF-8 text converted to Windows-1252, cut or
    // blank-padded to n.
    void str(std::string_view utf8, std::size_t n);
    void gap(std::size_t n);  // n zero bytes
    std::size_t pos() const { return pos_; }
    const std::string& bytes() const { return buf_; }

private:
    void put(const void* p, std::size_t n);
    std::string buf_;
    std::size_t pos_ = 0;
};

// Reads fields from one record; never reads past the end of the buffer
// (missing bytes read as zero / blank) and remembers whether it ran short.
class Reader {
public:
    explicit Reader(std::string_view bytes);
    std::int16_t i16();
    float f32();
    double f64();
    // Fixed string of n bytes, converted to UTF-8, blanks kept.
    std::string str(std::size_t n);
    void skip(std::size_t n);
    std::size_t pos() const { return pos_; }
    bool shortRead() const { return short_; }

private:
    bool take(void* p, std::size_t n);
    std::string_view buf_;
    std::size_t pos_ = 0;
    bool short_ = false;
};

// Elements 1..hi of a one-based array (the record layouts count from 1,
// element 0 is never stored), as singles or as doubles.
template <class T, std::size_t N> void putF32(Writer& w, const std::array<T, N>& a, std::size_t hi) {
    for (std::size_t i = 1; i <= hi; ++i) w.f32(static_cast<float>(a[i]));
}
template <class T, std::size_t N> void putF64(Writer& w, const std::array<T, N>& a, std::size_t hi) {
    for (std::size_t i = 1; i <= hi; ++i) w.f64(static_cast<double>(a[i]));
}
template <std::size_t N> void getF32(Reader& r, std::array<float, N>& a, std::size_t hi) {
    for (std::size_t i = 1; i <= hi; ++i) a[i] = r.f32();
}
template <std::size_t N> void getF64(Reader& r, std::array<double, N>& a, std::size_t hi) {
    for (std::size_t i = 1; i <= hi; ++i) a[i] = r.f64();
}

// Whole-file helpers: every file the program reads from its folders (data
// files, pictures, templates, settings, sounds) is read through these.
// openRegular opens it for reading without waiting (a named pipe in its
// place would block the open), and only when it is a regular file (no
// folder, pipe or device, also behind a link) of at most `maxBytes`, checked
// before anything is read; returns the descriptor (close-on-exec), or -1.
int openRegular(const std::string& path, std::uint64_t maxBytes);
// readFile returns false when the file cannot be read: missing, refused by
// openRegular, or grown past `maxBytes` while being read.
bool readFile(const std::string& path, std::string& out, std::uint64_t maxBytes = UINT64_MAX);
// Writes a complete temporary copy next to `path`, flushes it, then renames
// it over `path` (atomic on one file system). On any failure the old file is
// left untouched, the temporary copy removed, and false returned with a
// reason in *why. The new file has the permissions of the old one, or of
// `modeOf` when given (a copy of that file, made under another name), from
// before its first byte is written.
bool replaceFile(const std::string& path, std::string_view bytes, std::string* why = nullptr,
                 const std::string& modeOf = {});
// A dealer's file that a restore, an import or a deletion replaces is kept,
// in generations beside it: "location.dat" as "location.bak" (the newest),
// "location.bak1", ... "location.bak4". keepCopy copies the file (its bytes,
// read through a link, never a second name of the same file) to
// "location.bak.new~", moves the older copies one place on as far as the
// first free place (a gap in the chain closes; only a full chain loses its
// oldest, which waits under the first free name after the chain,
// "location.bak5" unless the dealer has a file of that name, until the
// replacement is done: only what the keep moved there is dropped), renames
// the copy to "location.bak", and only then runs `replace` (which writes the
// new file, or deletes it): at no moment are the file's bytes only under a
// name the start-up sweep removes, so a kill at any step loses none of them. A
// file larger than `maxBytes` (no file of its kind is that large: a
// damaged one) is not read nor copied but renamed into the chain whole. A
// file equal to the newest copy is not kept again (the chain stays).
// Anything in the file's place that is no regular file (a named pipe, a
// socket, a device, a folder), or a folder in the chain, is refused unread,
// with a reason naming it. `ext` names the chain: "bak" for the copies a
// restore, an import or a deletion keeps, "bad" for the settings files that
// could not be read, so that neither chain pushes the other's copies out.
//   Kept:        the file was replaced, its bytes kept (or there was none).
//   NotKept:     no copy could be made; nothing was replaced.
//   NotReplaced: the replacement failed; the copy is undone.
// Unless Kept, the file and every kept copy are as they were, with a reason
// in *why (a file kept whole that cannot be renamed back stays the newest
// copy, and copies that cannot go back to their places stay where they
// moved: *why says so, naming where each is now).
enum class KeepResult { Kept, NotKept, NotReplaced };
constexpr int kKeptCopies = 5;
constexpr const char* kNewCopy = ".new~";  // "location.bak" + kNewCopy, while the copy is written
using Replacement = std::function<bool(std::string* why)>;
KeepResult keepCopy(const std::string& path, std::uint64_t maxBytes, const Replacement& replace,
                    std::string* why = nullptr, const std::string& ext = "bak");
// What stands in a file's place that is no regular file, for the message
// that refuses it: "<path> is a named pipe (FIFO), not a file" (a socket, a
// device, a folder, a link; `mode` as stat or lstat gives it).
std::string notAFile(const std::string& path, mode_t mode);
// The name of generation n (0 the newest) of the copies of `path`.
std::string keptName(const std::string& path, int n = 0, const std::string& ext = "bak");
// Renames `from` over `to` (atomic on one file system); false with a reason
// in *why when it fails, both files then left as they were.
bool renameFile(const std::string& from, const std::string& to, std::string* why = nullptr);
// Deletes the file `path` (one already gone is no failure); false with a
// reason in *why when it cannot.
bool removeFile(const std::string& path, std::string* why = nullptr);

// What an interrupted run of the program leaves, removed at the next
// start: the entries of `folder` (not below it) whose name `ours` accepts,
// owned by this user, regular files, and folders when `folders` says so (no
// link: what it points to is not ours), last changed before `before` (the
// start of the running program: what a run still going makes is newer) and
// not `inUse`. A folder goes whole. Returns how many went.
using NameTest = std::function<bool(const std::string& name)>;
int removeLeftovers(const std::string& folder, const NameTest& ours, std::time_t before, const NameTest& inUse = {},
                    bool folders = true);
// The program's leftovers in the data folder, regular files only: the
// temporary copies of replaceFile and the copies keepCopy was making.
int removeDataLeftovers(const std::string& dataDir, std::time_t before);
// A copy keepCopy was making: "<name>.bak.new~" or "<name>.bad.new~".
bool isKeptCopyInProgress(const std::string& name);
// The temporary copy replaceFile writes before the rename: "<name>.tmp~"
// and six letters or digits.
bool isTempCopy(const std::string& name);
// When this program started, in seconds since the epoch (rounded down).
std::time_t processStartTime();

// Test seam for the steps of replaceFile, renameFile and removeFile: while set, it is
// asked before each step with the step and the file it concerns; a non-zero
// result (an errno value) makes that step fail as the system would.
enum class Step { Create, Write, Sync, Close, Rename, Remove };
using FaultHook = int (*)(Step step, const std::string& path);
void setFaultHook(FaultHook hook);

// Splits file contents into records of `length` bytes: whole records only,
// in order, at most `maxRecords`. *partial is set when a trailing partial
// record was ignored.
std::vector<std::string_view> records(std::string_view file, std::size_t length, std::size_t maxRecords,
                                      bool* partial = nullptr);

}  // namespace rec
