// Fixed-length record files: field encoding, short records, record counts and
// the safe replacement of a whole file.
#include "core/recfile.h"
#include "tests/support/data_dir.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s.push_back(static_cast<char>(v));
    return s;
}

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    std::string operator/(const std::string& name) const { return dir_.file(name); }
    const std::string& path() const { return dir_.path(); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_.path())) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    testsupport::TempDataDir dir_{"recfile"};
};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

constexpr auto Kept = rec::KeepResult::Kept;
constexpr auto NotKept = rec::KeepResult::NotKept;
constexpr auto NotReplaced = rec::KeepResult::NotReplaced;

// location.dat in a folder of its own, replaced through keepCopy; one step
// of one file can be made to fail.
class KeptCopies : public ::testing::Test {
protected:
    ~KeptCopies() override { rec::setFaultHook(nullptr); }
    rec::Replacement writing(const std::string& text) const {
        return [this, text](std::string* w) { return rec::replaceFile(path, text, w); };
    }
    // keepCopy on location.dat, files of up to 1 MiB copied.
    rec::KeepResult keep(const rec::Replacement& replace, std::uint64_t maxBytes = 1 << 20) {
        return rec::keepCopy(path, maxBytes, replace, &why);
    }
    // The file and every place of its chain up to two after it, as lay()
    // takes them, trimmed().
    std::string laid() const {
        std::string s = fs::exists(path) ? slurp(path) : "-";
        for (int n = 0; n <= rec::kKeptCopies + 1; ++n) {
            const std::string name = rec::keptName(path, n);
            s += " " + (fs::exists(name) ? slurp(name) : "-");
        }
        return trimmed(s);
    }
    // A list of lay() without the empty places at its end.
    static std::string trimmed(std::string list) {
        while (list.ends_with(" -")) list.resize(list.size() - 2);
        return list;
    }
    // The kept copies, newest first, separated by blanks (a missing one empty).
    std::string chain() const {
        std::string s;
        for (int n = 0; n < rec::kKeptCopies; ++n) s += (n ? " " : "") + slurp(rec::keptName(path, n));
        return s;
    }
    // The step `step` of `file` fails with `err`: after `after` such steps
    // went through, `times` of them (-1: every one).
    static void failAt(rec::Step step, const std::string& file, int err, int after = 0, int times = -1) {
        g_step = step, g_file = file, g_err = err, g_after = after, g_times = times;
        rec::setFaultHook([](rec::Step s, const std::string& p) {
            if (s != g_step || p != g_file || g_after-- > 0 || g_times == 0) return 0;
            if (g_times > 0) --g_times;
            return g_err;
        });
    }
    // Fills the places of the chain from a list separated by blanks, the
    // file first, then its copies newest first ("-": none there).
    void lay(const std::string& files, const std::string& ext = "bak") const {
        for (const std::string& name : dir.entries()) fs::remove_all(dir / name);
        std::istringstream in(files);
        std::string text;
        for (int n = -1; in >> text; ++n)
            if (text != "-") std::ofstream(n < 0 ? path : rec::keptName(path, n, ext)) << text;
    }

    TempDir dir;
    const std::string path = dir / "location.dat";
    std::string why;
    static inline rec::Step g_step;
    static inline std::string g_file;
    static inline int g_err = 0, g_after = 0, g_times = -1;
};

}  // namespace

TEST(RecordFields, WriterProducesLittleEndianBytes) {
    rec::Writer w(30);
    w.i16(-2);            // FE FF
    w.i16(0x1234);        // 34 12
    w.f32(1.5f);          // 3FC00000
    w.f64(-2.0);          // C000000000000000
    w.str("M\u00B2", 5);  // M, 0xB2, three blanks
    w.gap(2);
    w.str("abcdefgh", 3);
    EXPECT_EQ(w.pos(), 26u);
    const std::string expected = bytes({0xFE, 0xFF, 0x34, 0x12,                                //
                                        0x00, 0x00, 0xC0, 0x3F,                                //
                                        0,    0,    0,    0,    0,   0, 0x00, 0xC0,            //
                                        'M',  0xB2, ' ',  ' ',  ' ', 0, 0,    'a',  'b', 'c',  //
                                        0,    0,    0,    0});
    EXPECT_EQ(w.bytes(), expected);

    rec::Reader r(expected);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.i16(), 0x1234);
    EXPECT_EQ(r.f32(), 1.5f);
    EXPECT_EQ(r.f64(), -2.0);
    EXPECT_EQ(r.str(5), "M\u00B2   ");
    r.skip(2);
    EXPECT_EQ(r.str(3), "abc");
    EXPECT_EQ(r.pos(), 26u);
    EXPECT_FALSE(r.shortRead());
}

TEST(RecordFields, WriterNeverGrowsTheRecord) {
    rec::Writer w(3);
    w.i16(1);
    w.f64(1.0);
    EXPECT_EQ(w.bytes().size(), 3u);
    EXPECT_EQ(w.pos(), 10u);  // the overrun is visible to the caller
    EXPECT_EQ(w.bytes(), bytes({1, 0, 0}));
}

TEST(RecordFields, ShortRecordReadsZerosAndBlanks) {
    const std::string data = bytes({0x05, 0x00, 0x41});
    rec::Reader r(data);
    EXPECT_EQ(r.i16(), 5);
    EXPECT_FALSE(r.shortRead());
    EXPECT_EQ(r.str(4), "A   ");
    EXPECT_TRUE(r.shortRead());
    EXPECT_EQ(r.f64(), 0.0);
    EXPECT_EQ(r.f32(), 0.0f);
    EXPECT_EQ(r.i16(), 0);

    const std::string oneByte = bytes({0x34});
    rec::Reader half(oneByte);
    EXPECT_EQ(half.i16(), 0x34);  // the missing high byte reads as zero
    EXPECT_TRUE(half.shortRead());

    const std::string twoBytes = bytes({1, 2});
    rec::Reader skipper(twoBytes);
    skipper.skip(3);
    EXPECT_TRUE(skipper.shortRead());
}

TEST(RecordFiles, RecordCountRoundsHalvesToEven) {
    EXPECT_EQ(rec::recordCount(0, 228), 0);
    EXPECT_EQ(rec::recordCount(228 * 501, 228), 501);
    EXPECT_EQ(rec::recordCount(228 + 114, 228), 2);      // 1.5 -> 2
    EXPECT_EQ(rec::recordCount(2 * 228 + 114, 228), 2);  // 2.5 -> 2
    EXPECT_EQ(rec::recordCount(2 * 228 + 115, 228), 3);
    EXPECT_EQ(rec::recordCount(113, 228), 0);
    EXPECT_EQ(rec::recordCount(114, 228), 0);  // 0.5 -> 0
    EXPECT_EQ(rec::recordCount(1724 * 100, 1724), 100);
    EXPECT_EQ(rec::recordCount(1000, 0), 0);
}

TEST(RecordFiles, RecordsKeepsWholeRecordsOnly) {
    const std::string file = "aaaabbbbcc";
    bool partial = false;
    auto recs = rec::records(file, 4, 100, &partial);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[0], "aaaa");
    EXPECT_EQ(recs[1], "bbbb");
    EXPECT_TRUE(partial);

    recs = rec::records("aaaabbbb", 4, 1, &partial);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_FALSE(partial);

    EXPECT_TRUE(rec::records("", 4, 10, &partial).empty());
    EXPECT_FALSE(partial);
    EXPECT_TRUE(rec::records("abc", 0, 10, &partial).empty());
    EXPECT_TRUE(rec::records("abc", 4, 10).empty());
}

TEST(RecordFiles, ReplaceFileAndReadBack) {
    TempDir dir;
    const std::string path = dir / "location.dat";
    std::string why;
    ASSERT_TRUE(rec::replaceFile(path, "first", &why)) << why;
    ASSERT_TRUE(rec::replaceFile(path, std::string("se\0cond", 7), &why)) << why;
    std::string got;
    ASSERT_TRUE(rec::readFile(path, got));
    EXPECT_EQ(got, std::string("se\0cond", 7));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"location.dat"});

    ASSERT_TRUE(rec::replaceFile(path, "", &why)) << why;
    EXPECT_TRUE(rec::readFile(path, got));
    EXPECT_EQ(got, "");

    // The replaced file keeps its permissions.
    for (auto mode : {fs::perms(0600), fs::perms(0640), fs::perms(0444)}) {
        fs::permissions(path, mode);
        ASSERT_TRUE(rec::replaceFile(path, "again", &why)) << why;
        EXPECT_EQ(fs::status(path).permissions(), mode);
    }
}

TEST(RecordFiles, FailedReplaceKeepsTheOldFileAndLeavesNoTemporary) {
    TempDir dir;
    // Renaming over a non-empty folder fails even for root, after the
    // temporary copy has been written in full.
    const std::string target = dir / "PumpHP.dat";
    fs::create_directory(target);
    { std::ofstream(dir / "PumpHP.dat/keep") << "old"; }
    std::string why;
    EXPECT_FALSE(rec::replaceFile(target, "new contents", &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(slurp(dir / "PumpHP.dat/keep"), "old");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"PumpHP.dat"});

    // A folder that does not exist: nothing can be created, nothing changes.
    EXPECT_FALSE(rec::replaceFile(dir / "missing/location.dat", "x", &why));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"PumpHP.dat"});
}

TEST(RecordFiles, ReadFileTakesRegularFilesWithinTheirLimitOnly) {
    TempDir dir;
    std::string got = "stale";
    EXPECT_FALSE(rec::readFile(dir / "nothing.dat", got));
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(rec::readFile(dir / "", got));
    // A named pipe is refused at once, not waited on; so is a device.
    ASSERT_EQ(::mkfifo((dir / "location.dat").c_str(), 0600), 0);
    EXPECT_FALSE(rec::readFile(dir / "location.dat", got));
    fs::create_symlink("/dev/null", dir / "PumpHP.dat");
    EXPECT_FALSE(rec::readFile(dir / "PumpHP.dat", got));
    // A file longer than the limit is not read.
    { std::ofstream(dir / "big.dat") << std::string(100, 'x'); }
    EXPECT_FALSE(rec::readFile(dir / "big.dat", got, 99));
    EXPECT_TRUE(rec::readFile(dir / "big.dat", got, 100));
    EXPECT_EQ(got.size(), 100u);
    // A file that grows past the limit while it is read: a kernel file
    // states a size of 0 and reads far more.
    EXPECT_FALSE(rec::readFile("/proc/self/status", got, 10));
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(rec::readFile("/proc/self/status", got, 1 << 20));
    EXPECT_GT(got.size(), 10u);
}

// Every replacement keeps the file it replaces as .bak, the older copies
// moving on to .bak1 .. .bak4 and the oldest dropped; a copy that cannot
// move on stops the keeping before any copy is lost.
TEST_F(KeptCopies, KeptCopiesMoveOnAndTheOldestIsDropped) {
    EXPECT_EQ(rec::keptName(path), dir / "location.bak");
    EXPECT_EQ(rec::keptName(path, 3), dir / "location.bak3");
    EXPECT_EQ(rec::keptName(dir / "noext", 1), dir / "noext.bak1");
    EXPECT_EQ(keep(writing("v1")), Kept) << why;  // nothing to keep
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"location.dat"});

    for (int v = 2; v <= 8; ++v) ASSERT_EQ(keep(writing("v" + std::to_string(v))), Kept) << why;
    // v1 and v2 are gone.
    EXPECT_EQ(slurp(path), "v8");
    EXPECT_EQ(chain(), "v7 v6 v5 v4 v3");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"location.bak", "location.bak1", "location.bak2",
                                                       "location.bak3", "location.bak4", "location.dat"}));
    // The kept copy is no second name of the file's contents: replacing the
    // file leaves it as it was.
    ASSERT_TRUE(rec::replaceFile(path, "v9", &why)) << why;
    EXPECT_EQ(slurp(rec::keptName(path)), "v7");

    // .bak2 cannot move on (a folder with files holds its next place): not
    // kept, not replaced, and every copy still there.
    fs::remove(rec::keptName(path, 3));
    fs::create_directory(rec::keptName(path, 3));
    { std::ofstream(rec::keptName(path, 3) + "/x") << "x"; }
    EXPECT_EQ(keep(writing("v10")), NotKept);
    EXPECT_EQ(why, rec::keptName(path, 3) + " is a folder, not a file");
    EXPECT_EQ(slurp(path), "v9");
    EXPECT_EQ(slurp(rec::keptName(path, 0)) + slurp(rec::keptName(path, 1)) + slurp(rec::keptName(path, 2)) +
                  slurp(rec::keptName(path, 3) + "/x"),
              "v7v6v5x");
    // So does a link in its place (before a gap, where the copies move):
    // it stays a link, and the file it names as it was.
    fs::remove_all(rec::keptName(path, 3));
    const std::string mine = dir / "mine.txt";
    { std::ofstream(mine) << "mine"; }
    fs::remove(rec::keptName(path, 1));
    fs::create_symlink(mine, rec::keptName(path, 1));
    const std::vector<std::string> before = dir.entries();
    EXPECT_EQ(keep(writing("v10")), NotKept);
    EXPECT_EQ(why, rec::keptName(path, 1) + " is a link, not a file");
    EXPECT_EQ(dir.entries(), before);
    EXPECT_TRUE(fs::is_symlink(rec::keptName(path, 1)));
    EXPECT_EQ(slurp(mine) + slurp(path), "minev9");
}

// A replacement that fails, at whichever step, leaves the file and every
// kept copy as they were, and no copy of its own behind; so does a copy
// that cannot be made, or a chain that cannot move on after the file was
// replaced (the file then goes back). A deletion is a replacement too.
TEST_F(KeptCopies, AFailedReplacementLeavesTheFileAndEveryCopyAsTheyWere) {
    struct Case {
        rec::Step step;
        const char* failing;  // the file whose step fails
        int err;
        rec::KeepResult result;
    };
    const Case cases[] = {
        {rec::Step::Write, "location.dat", ENOSPC, NotReplaced},   // the disk full
        {rec::Step::Rename, "location.dat", EIO, NotReplaced},     // the new file cannot take its place
        {rec::Step::Write, "location.bak.new~", ENOSPC, NotKept},  // the copy cannot be made
        {rec::Step::Rename, "location.bak2", EIO, NotKept},        // the chain cannot move on
        {rec::Step::Rename, "location.bak", EIO, NotKept},         // the copy cannot become the newest
    };
    for (int v = 1; v <= 4; ++v) ASSERT_EQ(keep(writing("v" + std::to_string(v))), Kept) << why;
    const std::vector<std::string> before = dir.entries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        for (int attempt = 0; attempt < rec::kKeptCopies; ++attempt) {
            failAt(c.step, dir / c.failing, c.err, 0, 1);  // the copies' way back open
            EXPECT_EQ(keep(writing("new")), c.result);
            EXPECT_NE(why.find(std::strerror(c.err)), std::string::npos) << why;
        }
        rec::setFaultHook(nullptr);
        EXPECT_EQ(slurp(path) + ": " + chain(), "v4: v3 v2 v1  ");
        EXPECT_EQ(dir.entries(), before);
    }
    const rec::Replacement refused = [](std::string* w) { return (*w = "Cannot delete").empty(); };
    EXPECT_EQ(keep(refused), NotReplaced);
    EXPECT_EQ(keep([this](std::string* w) { return rec::removeFile(path, w); }), Kept) << why;
    EXPECT_EQ(dir.entries().size(), 4u);
    EXPECT_EQ(chain(), "v4 v3 v2 v1 ");
}

// Moving the chain on closes its first gap (a kill or a way back that
// failed leaves one): only the copies before it move, so nothing older is
// lost while the chain has room; a full chain drops its oldest. A file of
// the dealer's after the chain (location.bak5) is none of its copies and
// stays. A replacement that fails leaves every place as it was, the oldest
// of a full chain too.
TEST_F(KeptCopies, AKeepClosesTheFirstGapAndLeavesTheFilesAfterTheChain) {
    const struct {
        const char* before;  // the file, then its copies (lay())
        const char* after;   // once "new" replaced the file
    } rows[] = {
        {"v5 - - - - -", "new v5"},
        {"v5 - v3 v2 v1 v0", "new v5 v3 v2 v1 v0"},   // no newest copy: none moves
        {"v5 v4 - v2 v1 v0", "new v5 v4 v2 v1 v0"},   // a gap at .bak1
        {"v5 v4 v3 - v1 v0", "new v5 v4 v3 v1 v0"},   // in the middle
        {"v5 v4 v3 v2 v1 -", "new v5 v4 v3 v2 v1"},   // at the end
        {"v5 v4 - - v1 v0", "new v5 v4 - v1 v0"},     // two: the first closes
        {"v5 v4 v3 v2 v1 v0", "new v5 v4 v3 v2 v1"},  // full: the oldest dropped
    };
    // The names a list of lay() fills, and its places up to the dealer's
    // files after the chain.
    const auto files = [](const std::string& list) {
        std::istringstream in(list);
        return std::count_if(std::istream_iterator<std::string>(in), {}, [](const auto& t) { return t != "-"; });
    };
    const auto chainOf = [](std::string list) {
        while (std::count(list.begin(), list.end(), ' ') < rec::kKeptCopies) list += " -";
        return list;
    };
    const rec::Replacement refused = [](std::string* w) { return (*w = "Cannot write").empty(); };
    for (const auto& row : rows)
        for (const std::string after : {"", " mine", " - mine"}) {  // the dealer's .bak5, .bak6
            const std::string before = row.before + after;
            SCOPED_TRACE(before);
            lay(before);
            EXPECT_EQ(keep(refused), NotReplaced);
            EXPECT_EQ(laid(), trimmed(before));
            ASSERT_EQ(keep(writing("new")), Kept) << why;
            EXPECT_EQ(laid(), trimmed(chainOf(row.after) + after));
            EXPECT_EQ(static_cast<long>(dir.entries().size()), files(row.after + after));
        }
}

// A copy that cannot go back to its place says so, and where the copies
// not back are now; none is lost, and the next keep closes the gap.
TEST_F(KeptCopies, CopiesThatCannotGoBackAreNamedAndTheNextKeepClosesTheGap) {
    const auto now = [this](int from, int to) {
        return rec::keptName(path, from) + " is now " + rec::keptName(path, to);
    };
    const struct {
        const char* what;
        const char* failing;  // the place a copy cannot be renamed to
        int after;            // renames onto it that go through first
        bool replaced;        // the replacement goes through
        rec::KeepResult result;
        const char* left;  // lay()
        std::string said;
    } rows[] = {
        // .bak1 -> .bak2 fails, then .bak3 -> .bak2 on the way back
        {"the chain cannot move on", "location.bak2", 0, true, NotKept, "v4 v3 v2 - v1", now(2, 3)},
        // .bak2 -> .bak1 fails on the way back, .bak1 -> .bak having gone
        {"the replacement fails", "location.bak1", 1, false, NotReplaced, "v4 v3 - v2 v1",
         now(1, 2) + ", " + now(2, 3)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        lay("v4 v3 v2 v1");
        failAt(rec::Step::Rename, dir / row.failing, EIO, row.after, 2);
        const rec::Replacement refused = [](std::string* w) { return (*w = "Cannot write").empty(); };
        EXPECT_EQ(keep(row.replaced ? writing("new") : refused), row.result);
        rec::setFaultHook(nullptr);
        EXPECT_EQ(laid(), row.left);
        EXPECT_NE(why.find("could not all go back (Cannot replace " + dir / row.failing), std::string::npos) << why;
        EXPECT_TRUE(why.ends_with(row.said)) << why;
        ASSERT_EQ(keep(writing("new")), Kept) << why;
        EXPECT_EQ(laid(), "new v4 v3 v2 v1");
    }
}

// The same file kept again does not move the chain: the older versions
// stay. A file that is a link is kept as its bytes, not as a second link.
TEST_F(KeptCopies, TheSameBytesAreKeptOnceAndALinkIsKeptAsItsBytes) {
    ASSERT_EQ(keep(writing("mine")), Kept) << why;
    ASSERT_EQ(keep(writing("workbook")), Kept) << why;
    for (int i = 0; i < rec::kKeptCopies; ++i) ASSERT_EQ(keep(writing("workbook")), Kept) << why;
    EXPECT_EQ(chain(), "workbook mine   ");

    const std::string target = dir / "shared.dat";
    { std::ofstream(target) << "linked"; }
    fs::remove(path);
    fs::create_symlink(target, path);
    fs::permissions(target, fs::perms(0604));
    ASSERT_EQ(keep(writing("new")), Kept) << why;
    EXPECT_FALSE(fs::is_symlink(rec::keptName(path)));
    EXPECT_EQ(chain(), "linked workbook mine  ");
    { std::ofstream(target) << "changed"; }
    EXPECT_EQ(slurp(rec::keptName(path)), "linked");
    // A kept copy has the permissions of the file it keeps (behind a link:
    // of the file the link names), not the folder's default.
    EXPECT_EQ(fs::status(rec::keptName(path)).permissions(), fs::perms(0604));
    fs::permissions(path, fs::perms(0640));
    ASSERT_EQ(keep(writing("newer")), Kept) << why;
    EXPECT_EQ(fs::status(rec::keptName(path)).permissions(), fs::perms(0640));
    // ...from before its first byte is written: a private file's copy is
    // never readable by others, not even for a moment.
    fs::permissions(path, fs::perms(0600));
    static fs::perms seen;
    static std::string folder;
    seen = fs::perms::unknown;
    folder = dir.path();
    rec::setFaultHook([](rec::Step s, const std::string& p) {
        if (s == rec::Step::Write && p.ends_with(rec::kNewCopy))
            for (const auto& e : fs::directory_iterator(folder))
                if (rec::isTempCopy(e.path().filename().string())) seen = e.status().permissions();
        return 0;
    });
    ASSERT_EQ(keep(writing("newest")), Kept) << why;
    rec::setFaultHook(nullptr);
    EXPECT_EQ(seen, fs::perms(0600));
}

// A kill at any step of a keeping (the program stopped there, its files
// left as they are), then a start and its sweep: the replaced file's bytes
// are in the file or in the chain, and so is every older copy. For a
// write (an import, a restore) and a deletion, in either chain, and for a
// file kept whole.
TEST_F(KeptCopies, AKillAtAnyStepLosesNoCopy) {
    struct Killed {};
    const struct Row {
        const char* what;
        bool deletes;
        const char* ext;
        std::uint64_t maxBytes;
        const char* start;  // the file, then its copies (lay())
    } rows[] = {{"a write", false, "bak", 1 << 20, "v4 v3 v2 v1"},
                {"a deletion", true, "bak", 1 << 20, "v4 v3 v2 v1"},
                {"an unread settings file", false, "bad", 1 << 20, "v4 v3 v2 v1"},
                {"a file kept whole", false, "bak", 1, "v4 v3 v2 v1"},
                {"a chain with a gap", false, "bak", 1 << 20, "v4 v3 - v2 v1"},
                {"a full chain and the dealer's file after it", false, "bak", 1 << 20, "v6 v5 v4 v3 v2 v1 mine"}};
    static int calls = 0, killAt = -1;
    rec::setFaultHook([](rec::Step, const std::string&) {
        if (calls++ == killAt) throw Killed{};
        return 0;
    });
    for (const Row& row : rows) {
        const rec::Replacement replace = [&](std::string* w) {
            return row.deletes ? rec::removeFile(path, w) : rec::replaceFile(path, "new", w);
        };
        const auto start = [&] {
            lay(row.start, row.ext);
            calls = 0;
        };
        start();
        killAt = -1;
        ASSERT_EQ(rec::keepCopy(path, row.maxBytes, replace, &why, row.ext), Kept) << why;
        const int steps = calls;
        for (killAt = 0; killAt < steps; ++killAt) {
            SCOPED_TRACE(std::string(row.what) + ", killed at step " + std::to_string(killAt));
            start();
            EXPECT_THROW(rec::keepCopy(path, row.maxBytes, replace, &why, row.ext), Killed);
            rec::removeDataLeftovers(dir.path(), std::time(nullptr) + 3600);
            std::string held = slurp(path);
            for (int n = 0; n <= rec::kKeptCopies + 1; ++n) held += " " + slurp(rec::keptName(path, n, row.ext));
            std::istringstream versions(row.start);
            for (std::string v; versions >> v;)
                EXPECT_TRUE(v == "-" || held.find(v) != std::string::npos) << v << ": " << held;
        }
    }
}

// A file far larger than any of its kind (damaged) is kept by a rename:
// neither read nor copied, a sparse one stays sparse. What is no regular
// file is refused unread, never waited on, with its name and what it is;
// so is a link to a file too large to copy.
TEST_F(KeptCopies, AHugeFileIsKeptWholeAndWhatIsNoFileIsRefused) {
    { std::ofstream(path) << ""; }
    fs::resize_file(path, 600'000'000);  // sparse: no disk space taken
    const rec::Replacement refused = [](std::string* w) { return (*w = "Cannot write").empty(); };
    ASSERT_EQ(keep(refused), NotReplaced);  // back in its place
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"location.dat"});
    { std::ofstream(rec::keptName(path)) << "older"; }
    failAt(rec::Step::Rename, path, EIO);  // and when it cannot go back, it stays the newest copy
    ASSERT_EQ(keep(refused), NotReplaced);
    rec::setFaultHook(nullptr);
    EXPECT_NE(why.find("the file is left as " + rec::keptName(path)), std::string::npos) << why;
    EXPECT_EQ(fs::file_size(rec::keptName(path)), 600'000'000u);
    EXPECT_EQ(slurp(rec::keptName(path, 1)), "older");
    fs::rename(rec::keptName(path), path);
    ASSERT_EQ(keep(writing("new")), Kept) << why;
    struct stat st {};
    ASSERT_EQ(::stat(rec::keptName(path).c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 600'000'000);
    EXPECT_LT(st.st_blocks, 1024);  // no copy written
    EXPECT_EQ(slurp(path), "new");

    const std::string elsewhere = dir / "elsewhere";
    const struct {
        const char* said;
        std::function<void()> make;
    } rows[] = {
        {"a named pipe (FIFO), not a file", [&] { ::mkfifo(path.c_str(), 0600); }},
        {"a named pipe (FIFO), not a file",
         [&] { ::mkfifo(elsewhere.c_str(), 0600), fs::create_symlink(elsewhere, path); }},
        {"a folder, not a file", [&] { fs::create_directory(path); }},
        {"a device, not a file", [&] { fs::create_symlink("/dev/null", path); }},
        {"a socket, not a file",
         [&] {
             sockaddr_un a{};
             a.sun_family = AF_UNIX;
             std::strncpy(a.sun_path, path.c_str(), sizeof a.sun_path - 1);
             const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
             ::close(fd);
         }},
        {"a link to a file of 600000000 bytes, too large to be copied (at most 1048576)",
         [&] {
             { std::ofstream(elsewhere) << ""; }
             fs::resize_file(elsewhere, 600'000'000);
             fs::create_symlink(elsewhere, path);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.said);
        for (const std::string& name : dir.entries()) fs::remove_all(dir / name);
        row.make();
        const std::vector<std::string> before = dir.entries();
        EXPECT_EQ(keep(writing("new")), NotKept);
        EXPECT_EQ(why, path + " is " + row.said);
        EXPECT_EQ(dir.entries(), before);
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(path)));
    }
    // A file that grows past the limit as it is read (a kernel file states
    // a size of 0) is not replaced without its copy.
    fs::remove_all(path);
    fs::create_symlink("/proc/self/status", path);
    EXPECT_EQ(keep(writing("new"), 10), NotKept);
    EXPECT_TRUE(fs::is_symlink(path));
}

// At the start the data folder loses what the program itself left there
// (replaceFile's temporary copies, the copies keepCopy was making), regular
// files only: a dealer's folder of such a name stays, and other names.
TEST(RecordFiles, TheStartSweepTakesOnlyTheProgramsOwnFilesFromTheDataFolder) {
    TempDir dir;
    const std::pair<const char*, bool> gone[] = {
        {"location.dat.tmp~a1b2c3", true}, {"location.bak.new~", true}, {"defaulte.bad.new~", true},
        {"photos.tmp~zzz999/", false},     {"albums.bak.new~/", false}, {".bak.new~", false},  // no kept copy's name
        {"location.bak", false},           {"notes.new~", false},       {"location.tmp~zzz99", false}};
    for (const auto& [name, goes] : gone) {
        if (std::string(name).ends_with('/')) fs::create_directory(dir / name);
        std::ofstream(dir / name + (std::string(name).ends_with('/') ? "picture.jpg" : "")) << "x";
    }
    EXPECT_EQ(rec::removeDataLeftovers(dir.path(), std::time(nullptr) - 3600), 0);  // a run still making them
    EXPECT_EQ(rec::removeDataLeftovers(dir.path(), std::time(nullptr) + 3600), 3);
    for (const auto& [name, goes] : gone) EXPECT_EQ(fs::exists(dir / name), !goes) << name;
    EXPECT_TRUE(fs::exists(dir / "photos.tmp~zzz999/picture.jpg"));
}
