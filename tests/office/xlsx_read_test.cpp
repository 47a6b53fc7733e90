// Cell texts of a spreadsheet read without an office program: a workbook as
// LibreOffice writes it, every kind of cell, the active sheet, addresses and
// damaged files.
#include "office/xlsx_read.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/office/fixtures.h"

namespace {

std::string sourceFile(const std::string& rel) {
    const char* src = std::getenv("HEATER_SOURCE_DIR");
    return std::string(src ? src : "..") + "/tests/" + rel;
}

const char* kTypes =
    R"(<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="xml" ContentType="application/xml"/></Types>)";

// A workbook of two sheets whose second one is active on opening.
office::Package twoSheets() {
    office::Package p;
    p.set("[Content_Types].xml", kTypes);
    p.set(
        "xl/workbook.xml",
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<bookViews><workbookView activeTab="1"/></bookViews><sheets>)"
        R"(<sheet name="Notes" sheetId="1" r:id="rId1"/><sheet name="Cities" sheetId="2" r:id="rId2"/></sheets></workbook>)");
    p.set("xl/_rels/workbook.xml.rels",
          R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
          R"(<Relationship Id="rId1" Type="x" Target="worksheets/notes.xml"/>)"
          R"(<Relationship Id="rId2" Type="x" Target="/xl/worksheets/cities.xml"/></Relationships>)");
    p.set("xl/sharedStrings.xml",
          R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>MIAMI BEACH, FL</t></si>)"
          R"(<si><r><t>Pa</t></r><r><rPr><b/></rPr><t>ris</t></r></si></sst>)");
    p.set("xl/worksheets/notes.xml",
          R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
          R"(<row r="6"><c r="A6" t="inlineStr"><is><t>wrong sheet</t></is></c></row></sheetData></worksheet>)");
    p.set("xl/worksheets/cities.xml",
          R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
          R"(<row r="6"><c r="A6" t="inlineStr"><is><t>FL</t></is></c><c r="C6" t="s"><v>0</v></c>)"
          R"(<c r="D6"><v>67.2</v></c><c r="E6"><f>D6+1</f><v>68.2</v></c><c r="F6" t="b"><v>1</v></c>)"
          R"(<c r="G6" t="s"><v>99</v></c><c r="H6"/></row>)"
          R"(<row r="303"><c r="C303" t="s"><v>1</v></c><c r="AB303"><v>-4</v></c><c r="bad"><v>1</v></c></row>)"
          R"(</sheetData></worksheet>)");
    return p;
}

TEST(XlsxRead, AWorkbookWrittenByLibreOfficeGivesItsCellTexts) {
    const auto cells = office::readActiveSheet(sourceFile("office/data/cities_lo.xlsx"));
    EXPECT_EQ(cells.text("A1"), "Weather cities");
    EXPECT_EQ(cells.text(6, 1), "FL");
    EXPECT_EQ(cells.text(6, 3), "MIAMI BEACH, FL");
    EXPECT_EQ(cells.text(6, 4), "67.2");
    EXPECT_EQ(cells.text(6, 5), "68");
    EXPECT_EQ(cells.text("A7"), "france");
    EXPECT_EQ(cells.text("E7"), "=D7+1");  // a formula never reads as a number
    EXPECT_EQ(cells.text("B6"), "");
    EXPECT_EQ(cells.lastRow(), 7);
}

TEST(XlsxRead, EveryKindOfCellOnTheActiveSheet) {
    const auto cells = office::readActiveSheet(twoSheets());
    EXPECT_EQ(cells.text("A6"), "FL");  // not "wrong sheet": the active one is read
    EXPECT_EQ(cells.text("C6"), "MIAMI BEACH, FL");
    EXPECT_EQ(cells.text("d6"), "67.2");
    EXPECT_EQ(cells.text("$E$6"), "=D6+1");
    EXPECT_EQ(cells.text("F6"), "TRUE");
    EXPECT_EQ(cells.text("G6"), "");  // a shared string the workbook lacks
    EXPECT_EQ(cells.text("H6"), "");
    EXPECT_EQ(cells.text(303, 3), "Paris");  // rich text runs joined
    EXPECT_EQ(cells.text(303, 28), "-4");
    EXPECT_EQ(cells.lastRow(), 303);
    EXPECT_EQ(cells.lastColumn(), 28);
    EXPECT_EQ(cells.text(0, 0), "");
    EXPECT_EQ(cells.text("6C"), "");
}

TEST(XlsxRead, CellsWithoutTheirPositionFollowTheOneBefore) {
    auto p = twoSheets();
    p.set("xl/worksheets/cities.xml",
          R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
          R"(<row r="6"><c r="C6" t="inlineStr"><is><t>c6</t></is></c><c><v>4</v></c></row>)"
          R"(<row><c t="inlineStr"><is><t>a7</t></is></c><c r="XFE7"><v>1</v></c></row></sheetData></worksheet>)");
    const auto cells = office::readActiveSheet(p);
    EXPECT_EQ(cells.text("D6"), "4");
    EXPECT_EQ(cells.text("A7"), "a7");
    EXPECT_EQ(cells.lastColumn(), 4);
}

TEST(XlsxRead, AddressesAndColumnNames) {
    int r = 0, c = 0;
    EXPECT_TRUE(office::parseAddress("$C$12", r, c));
    EXPECT_EQ(r, 12);
    EXPECT_EQ(c, 3);
    EXPECT_TRUE(office::parseAddress("o68", r, c));
    EXPECT_EQ(c, 15);
    EXPECT_TRUE(office::parseAddress("XFD1048576", r, c));
    for (const char* bad : {"", "C", "12", "C0", "C-1", "C1048577", "XFE1", "ABCD1", "C6 ", "C6:D7", "$$C6"})
        EXPECT_FALSE(office::parseAddress(bad, r, c)) << bad;
    EXPECT_EQ(office::columnName(1), "A");
    EXPECT_EQ(office::columnName(26), "Z");
    EXPECT_EQ(office::columnName(27), "AA");
    EXPECT_EQ(office::columnName(16384), "XFD");
}

TEST(XlsxRead, MissingOrDamagedFilesAreReportedNotCrashedOn) {
    EXPECT_THROW(office::readActiveSheet(std::string("/no/such/hpcities.xlsx")), office::BadPackage);
    const std::string dir = fixtures::tempDir("xlsx-read");
    const std::string junk = dir + "/junk.xlsx";
    std::ofstream(junk) << "this is not a zip file";
    EXPECT_THROW(office::readActiveSheet(junk), office::BadPackage);

    auto p = twoSheets();
    p.set("xl/worksheets/cities.xml", "<worksheet><sheetData><row>");  // cut short
    EXPECT_THROW(office::readActiveSheet(p), office::BadPackage);
    p = twoSheets();
    p.set("xl/_rels/workbook.xml.rels", "<Relationships/>");
    EXPECT_THROW(office::readActiveSheet(p), office::BadPackage);

    // A package written and read back keeps its parts; a truncated copy is refused.
    const std::string path = dir + "/two.xlsx";
    twoSheets().save(path);
    EXPECT_EQ(office::readActiveSheet(path).text("C6"), "MIAMI BEACH, FL");
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
    EXPECT_THROW(office::readActiveSheet(path), office::BadPackage);

    // Parts each within the part limit (64 MB) that together pass the total
    // (256 MB), or more parts than a document has (4096), are refused.
    auto zipOf = [&dir](const std::string& name, int parts, const std::string& part) {
        int err = 0;
        zip_t* z = zip_open((dir + "/" + name).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
        zip_file_add(z, "[Content_Types].xml", zip_source_buffer(z, "<Types/>", 8, 0), 0);
        for (int i = 1; i < parts; ++i) {
            const auto at = zip_file_add(z, ("xl/part" + std::to_string(i)).c_str(),
                                         zip_source_buffer(z, part.data(), part.size(), 0), 0);
            zip_set_file_compression(z, static_cast<zip_uint64_t>(at), ZIP_CM_DEFLATE, 1);
        }
        EXPECT_EQ(zip_close(z), 0);
        return dir + "/" + name;
    };
    EXPECT_THROW(office::Package::load(zipOf("big.xlsx", 6, std::string(60u << 20, '\0'))), office::BadPackage);
    EXPECT_NO_THROW(office::Package::load(zipOf("parts.xlsx", 4096, "")));
    EXPECT_THROW(office::Package::load(zipOf("many.xlsx", 4097, "")), office::BadPackage);
}

}  // namespace
