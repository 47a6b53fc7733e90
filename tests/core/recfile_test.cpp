// Fixed-length record files: field encoding, short records, record counts and
// the safe replacement of a whole file.
#include "core/recfile.h"
#include "tests/support/data_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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
}

// Every replacement keeps the file it replaces as .bak, the older copies
// moving on to .bak1 .. .bak4 and the oldest dropped; a copy that cannot
// move on stops the keeping before any copy is lost.
TEST(RecordFiles, KeptCopiesMoveOnAndTheOldestIsDropped) {
    TempDir dir;
    const std::string path = dir / "location.dat";
    EXPECT_EQ(rec::keptName(path), dir / "location.bak");
    EXPECT_EQ(rec::keptName(path, 3), dir / "location.bak3");
    EXPECT_EQ(rec::keptName(dir / "noext", 1), dir / "noext.bak1");
    std::string why;
    EXPECT_TRUE(rec::keepCopy(path, &why)) << why;  // nothing to keep
    EXPECT_TRUE(dir.entries().empty());

    for (int v = 1; v <= 7; ++v) {
        ASSERT_TRUE(rec::replaceFile(path, "v" + std::to_string(v), &why)) << why;
        ASSERT_TRUE(rec::keepCopy(path, &why)) << why;
    }
    // v7 is both the file and its newest copy; v1 and v2 are gone.
    EXPECT_EQ(slurp(path), "v7");
    const char* kept[] = {"v7", "v6", "v5", "v4", "v3"};
    for (int n = 0; n < rec::kKeptCopies; ++n) EXPECT_EQ(slurp(rec::keptName(path, n)), kept[n]) << n;
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"location.bak", "location.bak1", "location.bak2",
                                                       "location.bak3", "location.bak4", "location.dat"}));
    // The kept copy is no second name of the file's contents: replacing the
    // file leaves it as it was.
    ASSERT_TRUE(rec::replaceFile(path, "v8", &why)) << why;
    EXPECT_EQ(slurp(rec::keptName(path)), "v7");

    // .bak2 cannot move on (a folder with files holds its next place): not
    // kept, and every copy still there.
    fs::remove(rec::keptName(path, 3));
    fs::create_directory(rec::keptName(path, 3));
    { std::ofstream(rec::keptName(path, 3) + "/x") << "x"; }
    EXPECT_FALSE(rec::keepCopy(path, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(slurp(rec::keptName(path, 0)) + slurp(rec::keptName(path, 1)) + slurp(rec::keptName(path, 2)) +
                  slurp(rec::keptName(path, 3) + "/x"),
              "v7v6v5x");
}
