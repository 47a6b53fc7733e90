// The word processor and the spreadsheet of the program: the office layer's
// automation objects (OOXML filled in this process, printed through
// LibreOffice) behind the members the documents call. They are what
// office_app::word_factory() and excel_factory() make unless a test puts
// recorders in their place.
#pragma once

#include <memory>
#include <string>

#include "office/excel.h"
#include "office/word.h"
#include "printouts/office_app.h"

class OfficeWord : public office_app::Word {
public:
    void Documents_Open(const std::string& path) override { w_.Documents().Open(path); }
    void Bookmarks_Select(const std::string& name) override { w_.ActiveDocument().Bookmarks(name).Select(); }
    void InlineShapes_AddPicture(const std::string& file) override {
        w_.Selection().InlineShapes().AddPicture(file, /*LinkToFile*/ false, /*SaveWithDocument*/ true);
    }
    void Visible(bool on) override { w_.Visible(on); }
    void InsertAfter(const std::string& text) override { w_.Selection().InsertAfter(text); }
    void PrintOut() override { w_.ActiveDocument().PrintOut(/*Background*/ false); }
    void Close() override { w_.ActiveDocument().Close(/*SaveChanges*/ false); }
    void Quit() override { w_.Quit(); }

protected:
    office::Word w_;
};

class OfficeExcel : public office_app::Excel {
public:
    void Workbooks_Open(const std::string& path) override { x_.Workbooks().Open(path); }
    void Range_Select(const std::string& address) override { x_.Range(address).Select(); }
    void ActiveCell_FormulaR1C1(const office_app::CellValue& v) override {
        if (const double* d = std::get_if<double>(&v))
            x_.ActiveCell().FormulaR1C1(static_cast<float>(*d));  // the results table's single precision
        else x_.ActiveCell().FormulaR1C1(std::get<std::string>(v));
    }
    void Pictures_Insert(const std::string& file) override { x_.ActiveSheet().Pictures().Insert(file).Select(); }
    void ShapeRange_LockAspectRatio(bool on) override { x_.Selection().ShapeRange().LockAspectRatio(on); }
    void ShapeRange_Height(double points) override { x_.Selection().ShapeRange().Height(points); }
    void ShapeRange_Width(double points) override { x_.Selection().ShapeRange().Width(points); }
    void PageSetup_PrintArea(const std::string& area) override {
        x_.Application().ActiveSheet().PageSetup().PrintArea(area);
    }
    void PrintOut() override { x_.Application().ActiveSheet().PrintOut(); }
    void Close() override {}  // Quit closes the workbook unsaved; nothing asks
    void Quit() override { x_.Quit(); }

protected:
    office::Excel x_;
};
