// Fixed-length record files. The byte order is written out explicitly, so the
// files are the same on any host; floating-point values travel as their IEEE
// bit patterns.
#include "core/recfile.h"

#include "core/cp1252.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace rec {

long recordCount(std::uint64_t fileLength, std::uint32_t recordLength) {
    if (recordLength == 0 || fileLength == 0) return 0;
    std::uint64_t q = fileLength / recordLength;
    const std::uint64_t r = fileLength % recordLength;
    // Round the quotient to the nearest whole number, halves to even.
    const std::uint64_t twice = 2 * r;
    if (twice > recordLength || (twice == recordLength && (q & 1))) ++q;
    constexpr std::uint64_t maxLong = static_cast<std::uint64_t>(~0UL >> 1);
    return q > maxLong ? static_cast<long>(maxLong) : static_cast<long>(q);
}

// ------------------------------------------------------------ Writer -------

Writer::Writer(std::size_t length) : buf_(length, '\0') {}

// Bytes beyond the record's fixed length are dropped (the file layout must
// not shift); pos() still advances, so a caller can see the overrun.
void Writer::put(const void* p, std::size_t n) {
    const auto* src = static_cast<const unsigned char*>(p);
    if (pos_ < buf_.size()) {
        const std::size_t room = buf_.size() - pos_;
        std::memcpy(buf_.data() + pos_, src, n < room ? n : room);
    }
    pos_ += n;
}

void Writer::i16(std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    const unsigned char b[2] = {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>(u >> 8)};
    put(b, 2);
}

void Writer::f32(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    unsigned char b[4];
    for (int i = 0; i < 4; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
    put(b, 4);
}

void Writer::f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    unsigned char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(u >> (8 * i));
    put(b, 8);
}

void Writer::str(std::string_view utf8, std::size_t n) {
    std::string bytes = cp1252::fromUtf8(utf8);
    bytes.resize(n, ' ');
    put(bytes.data(), n);
}

void Writer::gap(std::size_t n) {
    if (pos_ < buf_.size()) {
        const std::size_t room = buf_.size() - pos_;
        std::memset(buf_.data() + pos_, 0, n < room ? n : room);
    }
    pos_ += n;
}

// ------------------------------------------------------------ Reader -------

Reader::Reader(std::string_view bytes) : buf_(bytes) {}

// Copies n bytes into p; bytes past the end read as zero.
bool Reader::take(void* p, std::size_t n) {
    auto* dst = static_cast<unsigned char*>(p);
    std::size_t have = pos_ < buf_.size() ? buf_.size() - pos_ : 0;
    if (have > n) have = n;
    if (have) std::memcpy(dst, buf_.data() + pos_, have);
    if (have < n) {
        std::memset(dst + have, 0, n - have);
        short_ = true;
    }
    pos_ += n;
    return have == n;
}

std::int16_t Reader::i16() {
    unsigned char b[2];
    take(b, 2);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
}

float Reader::f32() {
    unsigned char b[4];
    take(b, 4);
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(b[i]) << (8 * i);
    float v;
    std::memcpy(&v, &u, 4);
    return v;
}

double Reader::f64() {
    unsigned char b[8];
    take(b, 8);
    std::uint64_t u = 0;
    for (int i = 0; i < 8; ++i) u |= static_cast<std::uint64_t>(b[i]) << (8 * i);
    double v;
    std::memcpy(&v, &u, 8);
    return v;
}

std::string Reader::str(std::size_t n) {
    std::string bytes(n, ' ');
    std::size_t have = pos_ < buf_.size() ? buf_.size() - pos_ : 0;
    if (have > n) have = n;
    if (have) std::memcpy(bytes.data(), buf_.data() + pos_, have);
    if (have < n) short_ = true;  // the missing part stays blank
    pos_ += n;
    return cp1252::toUtf8(bytes);
}

void Reader::skip(std::size_t n) {
    if (pos_ + n > buf_.size()) short_ = true;
    pos_ += n;
}

// -------------------------------------------------------- whole files ------

namespace {

FaultHook g_fault = nullptr;

// True when the test seam makes this step fail; errno is then set.
bool injected(Step step, const std::string& path) {
    if (!g_fault) return false;
    const int err = g_fault(step, path);
    if (err == 0) return false;
    errno = err;
    return true;
}

std::string reason(const char* what, const std::string& path, int err) {
    std::string s = what;
    s += " ";
    s += path;
    s += ": ";
    s += std::strerror(err);
    return s;
}

bool writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = EIO;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

// Opens a new, unique temporary file next to `path` ("<path>.tmp~XXXXXX").
int openTemp(const std::string& path, std::string& tmp) {
    static std::atomic<unsigned> counter{0};
    const auto seed = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long long v = seed ^ (static_cast<unsigned long long>(::getpid()) << 20) ^
                               (static_cast<unsigned long long>(counter++) * 0x9E3779B97F4A7C15ULL);
        char suffix[7];
        static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (char& c : suffix) {
            c = alphabet[v % 36];
            v /= 36;
        }
        tmp = path + ".tmp~" + std::string(suffix, 6);
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

int openRegular(const std::string& path, std::uint64_t maxBytes) {
    // Opened without waiting: a named pipe in the file's place would
    // otherwise block the open until someone writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool readFile(const std::string& path, std::string& out, std::uint64_t maxBytes) {
    out.clear();
    const int fd = openRegular(path, maxBytes);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0) out.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            out.clear();
            return false;
        }
        if (r == 0) break;
        if (out.size() + static_cast<std::size_t>(r) > maxBytes) {  // it grew while being read
            ::close(fd);
            out.clear();
            return false;
        }
        out.append(buf, static_cast<std::size_t>(r));
    }
    ::close(fd);
    return true;
}

bool replaceFile(const std::string& path, std::string_view bytes, std::string* why, const std::string& modeOf) {
    auto fail = [&](const std::string& text) {
        if (why) *why = text;
        return false;
    };
    std::string tmp;
    const int fd = injected(Step::Create, path) ? -1 : openTemp(path, tmp);
    if (fd < 0) return fail(reason("Cannot create a temporary file for", path, errno));

    // Keep the old file's permissions (or those of the file it copies),
    // before a byte is written: a copy of a private file is never readable
    // by others, not even for a moment.
    struct stat st {};
    const std::string& of = modeOf.empty() ? path : modeOf;
    if (::stat(of.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);

    if (injected(Step::Write, path) || !writeAll(fd, bytes.data(), bytes.size()) || injected(Step::Sync, path) ||
        ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail(reason("Cannot write", tmp, err));
    }
    if (::close(fd) != 0 || injected(Step::Close, path)) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail(reason("Cannot write", tmp, err));
    }
    if (injected(Step::Rename, path) || ::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail(reason("Cannot replace", path, err));
    }
    // Make the rename itself durable; a failure here no longer endangers
    // either version of the file.
    const int dfd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    if (why) why->clear();
    return true;
}

std::string notAFile(const std::string& path, mode_t mode) {
    const char* what = S_ISFIFO(mode)                   ? "a named pipe (FIFO)"
                       : S_ISSOCK(mode)                 ? "a socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                       : S_ISDIR(mode)                  ? "a folder"
                       : S_ISLNK(mode)                  ? "a link"
                                                        : "no regular file";
    return path + " is " + what + ", not a file";
}

std::string keptName(const std::string& path, int n, const std::string& ext) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const std::string stem =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
    return stem + "." + ext + (n > 0 ? std::to_string(n) : std::string());
}

namespace {

// One rename of the chain: the copy that was `from` is now `to`.
struct Move {
    std::string from, to;
};

// Moves the copies of `path` on to make place 0 free, closing the first gap
// in the chain: only the copies before the first free place move, each one
// place on, from the oldest end (every rename onto the place the one after
// it has just left), so that no older copy is lost while the chain has
// room. A full chain moves its oldest onto the first free name after it
// ("location.bak5", or ".bak6" when the dealer has a file of that name),
// where it waits until the replacement is done: `*waiting` names it, empty
// when the chain had room. `moved` lists the renames, for moveChainBack.
// Every copy must be a regular file: a folder or a link in the chain's
// place is the dealer's, and stays where it is.
bool moveChainOn(const std::string& path, const std::string& ext, std::vector<Move>& moved, std::string* waiting,
                 std::string* why) {
    int free = kKeptCopies;  // the first free place
    for (int n = kKeptCopies - 1; n >= 0; --n) {
        struct stat st {};
        const std::string name = keptName(path, n, ext);
        if (::lstat(name.c_str(), &st) != 0) {
            if (errno == ENOENT) free = n;
        } else if (!S_ISREG(st.st_mode)) {
            if (why) *why = notAFile(name, st.st_mode);
            return false;
        }
    }
    if (free == kKeptCopies) {
        int n = kKeptCopies;
        struct stat st {};
        while (::lstat(keptName(path, n, ext).c_str(), &st) == 0) ++n;
        *waiting = keptName(path, n, ext);
    }
    for (int n = free; n >= 1; --n) {
        Move m{keptName(path, n - 1, ext), n == kKeptCopies ? *waiting : keptName(path, n, ext)};
        if (!renameFile(m.from, m.to, why)) return false;
        moved.push_back(std::move(m));
    }
    return true;
}

// Back the way they came, the newest first, each into the place it has just
// left; one that cannot go back stops the rest (the next would take its
// place). Returns "" when every copy is back, else why not and where the
// copies not back are now.
std::string moveChainBack(const std::vector<Move>& moved) {
    for (auto m = moved.rbegin(); m != moved.rend(); ++m) {
        std::string why;
        if (renameFile(m->to, m->from, &why)) continue;
        std::string left;
        for (auto r = m; r != moved.rend(); ++r) left += (left.empty() ? "" : ", ") + r->from + " is now " + r->to;
        return "; the kept copies could not all go back (" + why + "): " + left;
    }
    return {};
}

}  // namespace

KeepResult keepCopy(const std::string& path, std::uint64_t maxBytes, const Replacement& replace, std::string* why,
                    const std::string& ext) {
    const auto replaced = [&] { return replace(why) ? KeepResult::Kept : KeepResult::NotReplaced; };
    const auto notKept = [&](const std::string& text) {
        if (why) *why = text;
        return KeepResult::NotKept;
    };
    // stat before any open: a named pipe is never opened, so never waited on.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        // Nothing to keep (a link to nothing holds no bytes either).
        if (errno == ENOENT || errno == ENOTDIR) return replaced();
        return notKept(reason("Cannot keep", path, errno));
    }
    if (!S_ISREG(st.st_mode)) return notKept(notAFile(path, st.st_mode));

    const std::string kept = keptName(path, 0, ext), fresh = kept + kNewCopy;
    // Larger than any file of its kind: kept by its name, neither read into
    // memory nor written out again. A link is no such name (moved, it would
    // keep the link and not the bytes).
    const bool whole = static_cast<std::uint64_t>(st.st_size) > maxBytes;
    if (whole) {
        struct stat own {};
        if (::lstat(path.c_str(), &own) != 0 || !S_ISREG(own.st_mode))
            return notKept(path + " is a link to a file of " + std::to_string(st.st_size) +
                           " bytes, too large to be copied (at most " + std::to_string(maxBytes) + ")");
    } else {
        std::string bytes, newest;
        if (!readFile(path, bytes, maxBytes)) return notKept(reason("Cannot keep", path, errno ? errno : EINVAL));
        // The newest copy holds these very bytes already: the chain stays as
        // it is, so that the same file replaced again and again does not
        // push the older versions out.
        if (readFile(kept, newest, bytes.size()) && newest == bytes) return replaced();
        if (!replaceFile(fresh, bytes, why, path)) return KeepResult::NotKept;
    }
    // The copy takes the newest place before anything is replaced: from
    // here on a kill leaves the file's bytes in the chain.
    std::vector<Move> moved;
    std::string failed, waiting;
    if (!moveChainOn(path, ext, moved, &waiting, &failed) || !renameFile(whole ? path : fresh, kept, &failed)) {
        failed += moveChainBack(moved);
        if (!whole) ::unlink(fresh.c_str());
        return notKept(failed);
    }
    if (!replace(why)) {
        // The file is as it was: its copy goes (a file kept whole comes
        // back), and the older copies return to their places.
        std::string back;
        if (!whole) {
            ::unlink(kept.c_str());
        } else if (!renameFile(kept, path, &back)) {
            // It holds the newest place still: the chain stays moved on.
            if (why) *why += "; " + back + " (the file is left as " + kept + ")";
            return KeepResult::NotReplaced;
        }
        back = moveChainBack(moved);
        if (why) *why += back;
        return KeepResult::NotReplaced;
    }
    if (!waiting.empty()) ::unlink(waiting.c_str());  // the oldest, dropped
    return KeepResult::Kept;
}

bool renameFile(const std::string& from, const std::string& to, std::string* why) {
    if (injected(Step::Rename, to) || ::rename(from.c_str(), to.c_str()) != 0) {
        if (why) *why = reason("Cannot replace", to, errno);
        return false;
    }
    if (why) why->clear();
    return true;
}

bool removeFile(const std::string& path, std::string* why) {
    if (injected(Step::Remove, path) || (::unlink(path.c_str()) != 0 && errno != ENOENT)) {
        if (why) *why = reason("Cannot delete", path, errno);
        return false;
    }
    if (why) why->clear();
    return true;
}

void setFaultHook(FaultHook hook) { g_fault = hook; }

std::vector<std::string_view> records(std::string_view file, std::size_t length, std::size_t maxRecords,
                                      bool* partial) {
    std::vector<std::string_view> out;
    if (partial) *partial = false;
    if (length == 0) return out;
    const std::size_t whole = file.size() / length;
    const std::size_t n = whole < maxRecords ? whole : maxRecords;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) out.push_back(file.substr(i * length, length));
    if (partial) *partial = file.size() % length != 0;
    return out;
}

// --------------------------------------------------------- leftovers -------

int removeLeftovers(const std::string& folder, const NameTest& ours, std::time_t before, const NameTest& inUse,
                    bool folders) {
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!ours(name)) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || st.st_uid != ::geteuid() || st.st_mtime >= before) continue;
        if (!S_ISREG(st.st_mode) && !(folders && S_ISDIR(st.st_mode))) continue;
        if (inUse && inUse(it->path().string())) continue;
        std::error_code rc;
        fs::remove_all(it->path(), rc);
        if (!rc) ++removed;
    }
    return removed;
}

bool isKeptCopyInProgress(const std::string& name) {
    for (const char* chain : {".bak", ".bad"}) {
        const std::string tail = chain + std::string(kNewCopy);
        if (name.size() > tail.size() && name.ends_with(tail)) return true;
    }
    return false;
}

int removeDataLeftovers(const std::string& dataDir, std::time_t before) {
    // Regular files only: the program makes no folder under these names in
    // the data folder, so a folder that has one is the dealer's.
    const auto ours = [](const std::string& name) { return isTempCopy(name) || isKeptCopyInProgress(name); };
    return removeLeftovers(dataDir, ours, before, {}, false);
}

bool isTempCopy(const std::string& name) {
    constexpr std::size_t kSuffix = 6;
    const std::size_t at = name.rfind(".tmp~");
    if (at == std::string::npos || at == 0 || name.size() != at + 5 + kSuffix) return false;
    for (std::size_t i = at + 5; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::time_t processStartTime() {
    // /proc/self/stat, field 22: the start in clock ticks after the boot;
    // /proc/stat "btime": the boot in seconds since the epoch.
    std::ifstream self("/proc/self/stat");
    std::string stat;
    std::getline(self, stat);
    const auto close = stat.rfind(')');
    unsigned long long ticks = 0;
    if (close != std::string::npos && close + 2 < stat.size()) {
        std::istringstream in(stat.substr(close + 2));  // from field 3 on
        std::string skip;
        for (int field = 3; field < 22; ++field) in >> skip;
        in >> ticks;
    }
    std::ifstream sys("/proc/stat");
    long long boot = 0;
    for (std::string key; sys >> key;) {
        if (key == "btime") {
            sys >> boot;
            break;
        }
        sys.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    const long hz = ::sysconf(_SC_CLK_TCK);
    if (boot <= 0 || ticks == 0 || hz <= 0) return std::time(nullptr);
    return static_cast<std::time_t>(boot + static_cast<long long>(ticks / static_cast<unsigned long long>(hz)));
}

}  // namespace rec
