// The word processor and the spreadsheet as the documents drive them: the
// members the printouts call, by their automation names, and nothing more.
// Failures arrive as ui::RtError with the numbers the documents handle:
// 429 the application cannot be started, 53 a missing template or workbook,
// 5152 a picture file the document cannot use, 5941 a bookmark the document
// lacks, 25 a printer fault, 1004 a workbook that refuses a call. The
// program's office layer provides the applications (office_link.cpp);
// tests put recorders in their place.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <variant>

namespace office_app {

class Word {
public:
    virtual ~Word() = default;
    virtual void Documents_Open(const std::string& path) = 0;           // Documents.Open path
    virtual void Bookmarks_Select(const std::string& name) = 0;         // ActiveDocument.Bookmarks(name).Select
    virtual void InlineShapes_AddPicture(const std::string& file) = 0;  // Selection.InlineShapes.AddPicture, embedded
    virtual void Visible(bool on) = 0;
    virtual void InsertAfter(const std::string& text) = 0;  // Selection.InsertAfter
    virtual void PrintOut() = 0;                            // ActiveDocument.PrintOut Background:=False
    virtual void Close() = 0;                               // ActiveDocument.Close savechanges:=False
    virtual void Quit() = 0;
};

// A cell's value: a number, or a text.
using CellValue = std::variant<double, std::string>;

class Excel {
public:
    virtual ~Excel() = default;
    virtual void Workbooks_Open(const std::string& path) = 0;
    virtual void Range_Select(const std::string& address) = 0;  // Range(address).Select
    virtual void ActiveCell_FormulaR1C1(const CellValue& v) = 0;
    virtual void Pictures_Insert(const std::string& file) = 0;  // ActiveSheet.Pictures.Insert(file).Select
    virtual void ShapeRange_LockAspectRatio(bool on) = 0;       // Selection.ShapeRange...
    virtual void ShapeRange_Height(double points) = 0;
    virtual void ShapeRange_Width(double points) = 0;
    virtual void PageSetup_PrintArea(const std::string& area) = 0;  // ActiveSheet.PageSetup.PrintArea
    virtual void PrintOut() = 0;                                    // ActiveSheet.PrintOut
    virtual void Close() = 0;                                       // ActiveWorkbook.Close SaveChanges:=False
    virtual void Quit() = 0;
};

// Start a new application ("word.application", "Excel.application");
// throw RtError 429 when there is none.
using WordFactory = std::function<std::unique_ptr<Word>()>;
using ExcelFactory = std::function<std::unique_ptr<Excel>()>;
WordFactory& word_factory();
ExcelFactory& excel_factory();

}  // namespace office_app
