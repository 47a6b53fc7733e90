// The spreadsheet program as the energy-cost chart drives it, on Office
// Open XML workbooks in this process (libzip + pugixml): exactly the members
// the printouts call, with their names, arguments and error numbers. No Qt.
//
//     office::Excel xl;                                    // "Excel.application"
//     xl.Workbooks().Open(data_dir + "ENERGY COSTS.xlsx");
//     xl.Range("F65").Select();
//     xl.ActiveCell().FormulaR1C1("");                     // text
//     xl.Range("K20").Select();
//     xl.ActiveSheet().Pictures().Insert(data_dir + "hpopen31.bmp").Select();
//     xl.Selection().ShapeRange().LockAspectRatio(false);
//     xl.Selection().ShapeRange().Height(108.75);          // points
//     xl.Selection().ShapeRange().Width(97.5);
//     xl.Range("b3").Select();
//     xl.ActiveCell().FormulaR1C1(calc_f32[1]);            // a number (float)
//     std::string back = xl.ActiveCell().FormulaR1C1();    // read
//     xl.Application().ActiveSheet().PageSetup().PrintArea("$C$12:$o$68");
//     xl.Application().ActiveSheet().PrintOut();
//     xl.Quit();
//
// Every failure is a ui::RtError with the number the spreadsheet gives:
//   429  LibreOffice (which prints the workbooks) is not installed: the
//        application cannot be created
//   1004 a missing or damaged workbook, an address that is not one, a
//        member used with no workbook open, a picture file that is missing
//        or not a picture, a print area that is not a range, a failed
//        rendering in PrintOut
//   438  ShapeRange when the selection is a cell, not a picture
//   25   PrintOut: the printer did not take the workbook
//   462  any member after Quit
//
// Numbers are written as numbers (a float keeps its shortest decimal form,
// 12.34f is 12.34), texts as texts (a text starting with "=" too), an empty
// text empties the cell; a cell keeps its formatting. A text is made fit
// for the workbook as Word's InsertAfter makes it. Reading gives the
// cell's text as the reader of xlsx_read.h does. Pictures are placed with
// their top-left corner on the active cell at their natural size, aspect
// ratio locked until LockAspectRatio(false). PrintArea becomes the sheet's
// _xlnm.Print_Area name. The workbook file is never changed: Open works on
// a copy in memory; PrintOut renders an .xlsx copy through LibreOffice
// (render.h) and deletes it; Quit never saves.
#pragma once

#include <memory>
#include <string>

namespace office {

class Excel {
public:
    Excel();  // throws RtError 429 when LibreOffice is missing
    ~Excel();
    Excel(const Excel&) = delete;
    Excel& operator=(const Excel&) = delete;

    class WorkbooksObj {
    public:
        void Open(const std::string& fileName);

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class RangeObj {
    public:
        void Select();

    private:
        friend class Excel;
        Excel* x_ = nullptr;
        int row_ = 0, col_ = 0;
    };
    class CellObj {
    public:
        void FormulaR1C1(const std::string& text);
        void FormulaR1C1(const char* text) { FormulaR1C1(std::string(text)); }
        void FormulaR1C1(float number);
        void FormulaR1C1(double number);
        std::string FormulaR1C1() const;

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class PictureObj {
    public:
        void Select();

    private:
        friend class Excel;
        Excel* x_ = nullptr;
        int index_ = -1;
    };
    class PicturesObj {
    public:
        PictureObj Insert(const std::string& FileName);

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class PageSetupObj {
    public:
        void PrintArea(const std::string& area);
        std::string PrintArea() const;

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class SheetObj {
    public:
        PicturesObj Pictures();
        PageSetupObj PageSetup();
        void PrintOut();

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class ShapeRangeObj {
    public:
        void LockAspectRatio(bool on);
        void Height(double points);
        void Width(double points);
        double Height() const;
        double Width() const;

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };
    class SelectionObj {
    public:
        ShapeRangeObj ShapeRange();

    private:
        friend class Excel;
        Excel* x_ = nullptr;
    };

    WorkbooksObj& Workbooks();
    RangeObj Range(const std::string& address);
    CellObj& ActiveCell();
    SheetObj& ActiveSheet();
    SelectionObj& Selection();
    Excel& Application() { return *this; }
    void Quit();

    // ---- test helpers (not members the printouts call)
    void saveCopy(const std::string& path);
    int pictureCount() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    WorkbooksObj workbooks_;
    CellObj cell_;
    SheetObj sheet_;
    SelectionObj selection_;
    void alive() const;
    Impl& book();  // the open workbook, else RtError 1004
};

}  // namespace office
