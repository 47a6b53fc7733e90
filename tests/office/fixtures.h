// Small documents, workbooks and pictures for the office tests, built in
// code so each test shows what it starts from.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <list>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "core/ui.h"
#include "office/package.h"
#include "tests/support/data_dir.h"

namespace fixtures {

// A fresh folder of its own (tests run side by side), removed at the latest
// when the test program ends.
inline std::string tempDir(const std::string& name) {
    static std::list<testsupport::TempDataDir> dirs;
    return dirs.emplace_back("heater-office-" + name).path();
}

// The error number `f` raises (0 when it raises none).
inline int errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ui::RtError& e) {
        return e.number;
    }
    return 0;
}

// The description of the error `f` raises ("" when it raises none).
inline std::string descriptionOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ui::RtError& e) {
        return e.description();
    }
    return {};
}

inline std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

// An uncompressed 24-bit BMP of w x h pixels at `dpi` (0: no resolution given).
inline std::string bmp(int w, int h, int dpi = 96) {
    const int row = (w * 3 + 3) / 4 * 4;
    const std::uint32_t size = 54 + static_cast<std::uint32_t>(row * h);
    std::string b(size, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B', b[1] = 'M';
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(h));
    b[26] = 1, b[28] = 24;
    const auto ppm = static_cast<std::uint32_t>(dpi / 0.0254 + 0.5);
    put32(38, dpi ? ppm : 0);
    put32(42, dpi ? ppm : 0);
    for (std::size_t i = 54; i < size; ++i) b[i] = static_cast<char>(0x40 + i % 3 * 0x40);
    return b;
}

inline void write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The parts of a package, an element a line, to compare with an expected file.
inline std::string parts(const office::Package& p, std::initializer_list<const char*> names) {
    std::ostringstream o;
    for (const char* name : names) {
        pugi::xml_document d;
        d.load_string(p.part(name).c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
        o << "== " << name << '\n';
        d.save(o, " ", pugi::format_indent | pugi::format_no_declaration);
    }
    return o.str();
}

inline const char* kWordTypes =
    R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml"/></Types>)";

// A word-processing template: a heading paragraph in bold 14 pt holding
// "bm1", a paragraph "Getpic", a two-cell table row with "bm6"/"bmb6", a
// bookmark between paragraphs ("between"), and fixed text after "bm3".
inline office::Package wordTemplate() {
    office::Package p;
    p.set("[Content_Types].xml", kWordTypes);
    p.set(
        "_rels/.rels",
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)");
    p.set(
        "word/document.xml",
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
        R"(<w:p><w:pPr><w:rPr><w:b/><w:sz w:val="28"/></w:rPr></w:pPr><w:bookmarkStart w:id="1" w:name="bm1"/><w:bookmarkEnd w:id="1"/></w:p>)"
        R"(<w:p><w:bookmarkStart w:id="2" w:name="Getpic"/><w:bookmarkEnd w:id="2"/></w:p>)"
        R"(<w:tbl><w:tr><w:tc><w:p><w:bookmarkStart w:id="3" w:name="bm6"/><w:bookmarkEnd w:id="3"/></w:p></w:tc>)"
        R"(<w:tc><w:p><w:r><w:rPr><w:i/></w:rPr><w:t>Value: </w:t></w:r><w:bookmarkStart w:id="4" w:name="bmb6"/><w:bookmarkEnd w:id="4"/></w:p></w:tc></w:tr></w:tbl>)"
        R"(<w:bookmarkStart w:id="5" w:name="between"/><w:bookmarkEnd w:id="5"/>)"
        R"(<w:p><w:r><w:t>after between</w:t></w:r></w:p>)"
        R"(<w:p><w:bookmarkStart w:id="6" w:name="bm3"/><w:bookmarkEnd w:id="6"/><w:r><w:t xml:space="preserve"> fixed</w:t></w:r></w:p>)"
        R"(<w:sectPr/></w:body></w:document>)");
    return p;
}

inline const char* kBookTypes =
    R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)";

// A one-sheet workbook named "Energy's costs" with a styled cell B3 and a
// row 65 holding "old" in J65, no drawing yet.
inline office::Package workbook() {
    office::Package p;
    p.set("[Content_Types].xml", kBookTypes);
    p.set(
        "_rels/.rels",
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)");
    p.set(
        "xl/workbook.xml",
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<sheets><sheet name="Energy's costs" sheetId="1" r:id="rId1"/></sheets><calcPr calcId="0"/></workbook>)");
    p.set(
        "xl/_rels/workbook.xml.rels",
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)");
    p.set(
        "xl/worksheets/sheet1.xml",
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)"
        R"(<row r="3"><c r="B3" s="2"/></row><row r="65"><c r="J65" t="inlineStr"><is><t>old</t></is></c></row>)"
        R"(</sheetData><pageMargins left="0.5" right="0.5" top="0.5" bottom="0.5" header="0" footer="0"/></worksheet>)");
    return p;
}

}  // namespace fixtures
