// The word-processor object: text after bookmarks, pictures, the error
// numbers the printouts handle, and the template left as it was.
#include "office/word.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/recfile.h"
#include "core/ui.h"
#include "office/excel.h"
#include "office/render.h"
#include "tests/office/fixtures.h"
#include "tests/support/data_dir.h"
#include "tests/support/expected.h"

using fixtures::descriptionOf;
using fixtures::errorOf;
using office::Word;

namespace {

struct WordTest : ::testing::Test {
    std::string dir = fixtures::tempDir("word");
    std::string dotx = dir + "/WordPrt1a.dotx";
    void SetUp() override {
        office::setOfficeForTest(office::OfficeSeam::Present);  // filling needs no LibreOffice
        fixtures::wordTemplate().save(dotx);
    }
    void TearDown() override { office::setOfficeForTest(office::OfficeSeam::Real); }

    // The filled document's main part, as written by saveCopy.
    pugi::xml_document saved(Word& w) {
        const std::string path = dir + "/copy.docx";
        w.ActiveDocument().saveCopy(path);
        pugi::xml_document d;
        d.load_string(office::Package::load(path).part("word/document.xml").c_str());
        return d;
    }
};

void fill(Word& w, const std::string& bookmark, const std::string& text) {
    w.ActiveDocument().Bookmarks(bookmark).Select();
    w.Selection().InsertAfter(text);
}

TEST_F(WordTest, TextGoesAfterItsBookmarkInTheFormattingThere) {
    const std::string before = fixtures::readAll(dotx);
    Word w;
    w.Documents().Open(dotx);
    fill(w, "bm1", "ACME Pools");
    fill(w, "bm6", "  Pool Area:");
    fill(w, "bmb6", "450.0 Ft\xC2\xB2");
    w.Selection().InsertAfter(" (x)");  // a further InsertAfter follows the text before
    fill(w, "bm3", "Total:");
    fill(w, "bm3", "Total:");  // the same bookmark twice: both texts stay
    fill(w, "between", "Temp F\xC2\xBA\tend");
    EXPECT_EQ(w.ActiveDocument().textAt("bm1"), "ACME Pools");
    EXPECT_EQ(w.ActiveDocument().textAt("bm6"), "  Pool Area:");
    EXPECT_EQ(w.ActiveDocument().textAt("bmb6"), "450.0 Ft\xC2\xB2 (x)");
    EXPECT_EQ(w.ActiveDocument().textAt("bm3"), "Total:Total: fixed");
    EXPECT_EQ(w.ActiveDocument().textAt("Getpic"), "");

    // The document compared whole: bm1's text in the heading's bold 14 pt,
    // bmb6's in the italic run before it, a bookmark between paragraphs
    // writing into the next one (a tab as a tab), blanks at either end kept.
    w.ActiveDocument().saveCopy(dir + "/copy.docx");
    EXPECT_EQ("", testsupport::diff_text_with_expected(
                      fixtures::parts(office::Package::load(dir + "/copy.docx"), {"word/document.xml"}),
                      "office/expected/bookmarks.txt"));
    w.ActiveDocument().Close(false);
    w.Quit();
    EXPECT_EQ(fixtures::readAll(dotx), before);  // the template is never written
}

TEST_F(WordTest, TextThatIsNotTextIsMadeValidAndATemplateHoldingSuchIsDamaged) {
    Word w;
    w.Documents().Open(dotx);
    // A name of the old code page with a control character and U+FFFF in it.
    fill(w, "bm1",
         "M\xFCller \x01Pools\xEF\xBF\xBF \x93"
         "Best\x94");
    EXPECT_EQ(w.ActiveDocument().textAt("bm1"),
              "M\u00FCller Pools \u201C"
              "Best\u201D");
    EXPECT_TRUE(saved(w).child("w:document"));
    EXPECT_EQ(std::filesystem::status(dir + "/copy.docx").permissions(),  // a customer's name: the owner's only
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    w.Quit();
    office::Package bad = fixtures::wordTemplate();
    std::string xml = bad.part("word/document.xml");
    bad.set("word/document.xml", xml.replace(xml.find("after"), 5, "\xFF\x01"));
    bad.save(dotx);
    EXPECT_EQ(errorOf([&] { Word().Documents().Open(dotx); }), 5792);
}

TEST_F(WordTest, PicturesAreEmbeddedAtTheirSizeWhateverTheirName) {
    fixtures::write(dir + "/hppic41.bmp", fixtures::bmp(192, 96, 192));  // 1 x 0.5 inch
    fixtures::write(dir + "/hppic3", fixtures::bmp(10, 20, 0));          // no name extension, no resolution
    fixtures::write(dir + "/broken.bmp", "BM not really a picture");
    Word w;
    w.Documents().Open(dotx);
    w.ActiveDocument().Bookmarks("Getpic").Select();
    EXPECT_EQ(errorOf([&] { w.Selection().InlineShapes().AddPicture(dir + "/hppic01.bmp", false, true); }), 5152);
    EXPECT_EQ(errorOf([&] { w.Selection().InlineShapes().AddPicture(dir + "/broken.bmp", false, true); }), 5152);
    w.Selection().InlineShapes().AddPicture(dir + "/hppic41.bmp", false, true);
    w.ActiveDocument().Bookmarks("Getpic").Select();
    w.Selection().InlineShapes().AddPicture(dir + "/hppic3", false, true);  // the fallback name
    w.Visible(false);
    EXPECT_EQ(w.ActiveDocument().pictureCount(), 2);

    // Embedded as pictures of their type where the selection stands (the
    // second inserted first), 1 x 0.5 inch at 192 dpi, 96 dpi when not given.
    const std::string path = dir + "/pic.docx";
    w.ActiveDocument().saveCopy(path);
    const auto pkg = office::Package::load(path);
    EXPECT_EQ(pkg.part("word/media/image1.bmp"), fixtures::bmp(192, 96, 192));
    EXPECT_EQ("",
              testsupport::diff_text_with_expected(
                  fixtures::parts(pkg, {"[Content_Types].xml", "word/_rels/document.xml.rels", "word/document.xml"}),
                  "office/expected/pictures_docx.txt"));
}

TEST_F(WordTest, FailuresCarryTheNumbersThePrintoutsHandle) {
    fixtures::write(dir + "/damaged.dotx", "PK\x03\x04 cut short");
    office::Package noBody = fixtures::wordTemplate();
    noBody.set("word/document.xml", "<w:document xmlns:w=\"x\"/>");
    noBody.save(dir + "/nobody.dotx");

    Word w;
    EXPECT_EQ(errorOf([&] { w.ActiveDocument().Bookmarks("bm1").Select(); }), 4248);  // nothing open
    EXPECT_EQ(errorOf([&] { w.Selection().InsertAfter("x"); }), 4248);
    EXPECT_EQ(errorOf([&] { w.Documents().Open(dir + "/WordPrt9z.dotx"); }), 5174);
    EXPECT_EQ(errorOf([&] { w.Documents().Open(dir + "/damaged.dotx"); }), 5792);
    EXPECT_EQ(errorOf([&] { w.Documents().Open(dir + "/nobody.dotx"); }), 5792);
    w.Documents().Open(dotx);
    EXPECT_EQ(errorOf([&] { w.ActiveDocument().Bookmarks("bm99").Select(); }), 5941);
    EXPECT_EQ(errorOf([&] { w.ActiveDocument().Bookmarks("BM1").Select(); }), 5941);  // names are exact
    w.ActiveDocument().Close(false);
    EXPECT_EQ(errorOf([&] { w.ActiveDocument().Bookmarks("bm1").Select(); }), 4248);
    w.Quit();
    EXPECT_EQ(errorOf([&] { w.Documents().Open(dotx); }), 462);

    office::setOfficeForTest(office::OfficeSeam::Missing);
    EXPECT_EQ(errorOf([] { Word none; }), 429);
    EXPECT_EQ(descriptionOf([] { Word none; }), "The office printouts need LibreOffice, which is not installed.");
}

}  // namespace

// A picture, template or workbook that is no file - a named pipe nobody
// writes to, a link to an endless device - fails at once with the error
// the printouts handle, as a missing one does: it neither hangs the
// printout nor fills the memory.
TEST_F(WordTest, FilesThatAreNoFilesFailAtOnce) {
    using testsupport::NotAFile;
    const std::string pic = dir + "/hppic41.bmp", book = dir + "/ENERGY COSTS.xlsx";
    fixtures::workbook().save(book);
    for (NotAFile kind : {NotAFile::Fifo, NotAFile::EndlessDevice}) {
        const int k = static_cast<int>(kind);
        int error = 0;
        testsupport::put_not_a_file(pic, kind);
        EXPECT_TRUE(testsupport::returns_promptly(pic, [&] {
            Word w;
            w.Documents().Open(dotx);
            w.ActiveDocument().Bookmarks("Getpic").Select();
            error = errorOf([&] { w.Selection().InlineShapes().AddPicture(pic, false, true); });
        })) << k;
        EXPECT_EQ(error, 5152) << k;
        EXPECT_TRUE(testsupport::returns_promptly(pic, [&] {
            office::Excel x;
            x.Workbooks().Open(book);
            x.Range("b3").Select();
            error = errorOf([&] { x.ActiveSheet().Pictures().Insert(pic); });
        })) << k;
        EXPECT_EQ(error, 1004) << k;
        const std::string other = dir + "/other.dotx";
        testsupport::put_not_a_file(other, kind);
        EXPECT_TRUE(testsupport::returns_promptly(other, [&] {
            error = errorOf([&] { Word().Documents().Open(other); });
        })) << k;
        EXPECT_NE(error, 0) << k;
        const std::string sheet = dir + "/other.xlsx";
        testsupport::put_not_a_file(sheet, kind);
        EXPECT_TRUE(testsupport::returns_promptly(sheet, [&] {
            error = errorOf([&] { office::Excel().Workbooks().Open(sheet); });
        })) << k;
        EXPECT_NE(error, 0) << k;
    }
}

// A filled document that cannot be saved for printing (a full temporary
// folder) fails with the number the printouts handle and names the cause
// and the folder; nothing is left in the temporary folder.
TEST_F(WordTest, AFullTemporaryFolderIsNamed) {
    const std::string tmp = dir + "/tmp";  // its own: tests beside it print too
    std::filesystem::create_directories(tmp);
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string saved = savedTmp ? savedTmp : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    const auto jobs = [&tmp] {
        int n = 0;
        for (auto& e : std::filesystem::directory_iterator(tmp))
            n += e.path().filename().string().rfind("heater-print-", 0) == 0;
        return n;
    };
    const int before = jobs();
    const std::string book = dir + "/ENERGY COSTS.xlsx";
    fixtures::workbook().save(book);
    office::failPackageSavesForTest(ENOSPC);
    Word w;
    w.Documents().Open(dotx);
    office::Excel x;
    x.Workbooks().Open(book);
    const std::string cause = "No space left in the temporary folder " + tmp;
    EXPECT_EQ(errorOf([&] { w.ActiveDocument().PrintOut(false); }), 4198);
    EXPECT_EQ(descriptionOf([&] { w.ActiveDocument().PrintOut(false); }), "Command failed\r\n" + cause);
    EXPECT_EQ(errorOf([&] { x.ActiveSheet().PrintOut(); }), 1004);
    EXPECT_NE(descriptionOf([&] { x.ActiveSheet().PrintOut(); }).find(cause), std::string::npos);
    office::failPackageSavesForTest(0);
    EXPECT_EQ(jobs(), before);
    if (saved.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", saved.c_str(), 1);
}

// A text the same as its expected file leaves nothing in the temporary
// folder: the folder for texts that differ is made only for one.
TEST(ExpectedFiles, ASameTextLeavesNoFolderBehind) {
    const std::string tmp = fixtures::tempDir("expected-tmp");
    const char* savedTmp = std::getenv("TMPDIR");
    const std::string saved = savedTmp ? savedTmp : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    const std::string expected = "office/expected/pictures_docx.txt";
    std::string text;
    const char* source = std::getenv("HEATER_SOURCE_DIR");
    ASSERT_TRUE(source);
    ASSERT_TRUE(rec::readFile(std::string(source) + "/tests/" + expected, text));
    EXPECT_EQ(testsupport::diff_text_with_expected(text, expected), "");
    EXPECT_TRUE(std::filesystem::is_empty(tmp));
    if (saved.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", saved.c_str(), 1);
}
