// Reading the cell texts of a spreadsheet (.xlsx, Office Open XML) without
// any office program: the weather-city import reads hpcities.xlsx this way.
// No Qt.
//
//     #include "office/xlsx_read.h"
//     office::CellTexts cells = office::readActiveSheet(data_dir + "hpcities.xlsx");
//     std::string name = cells.text(6, 3);    // row 6, column C
//     std::string jan  = cells.text("D6");    // the same by address
//
// A cell's text is what the spreadsheet shows as the cell's formula: the
// number as stored ("72.5"), the text as typed, "TRUE"/"FALSE", and for a
// formula "=" followed by the formula (so it never starts with a number).
// Empty or missing cells give "".
// readActiveSheet throws office::BadPackage (package.h) for a missing or
// damaged file; its what() names the file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "office/package.h"

namespace office {

class CellTexts {
public:
    // Row and column count from 1; "" outside the sheet.
    std::string text(int row, int column) const;
    // By address: "C6", "c6", "$C$6"; "" for an address that is not one.
    std::string text(std::string_view address) const;
    int lastRow() const { return lastRow_; }
    // How many cells of `column` below row `after` hold a text (the cells
    // the sheet has, not every row number up to the last).
    int filledBelow(int after, int column) const;
    int lastColumn() const { return lastColumn_; }

    void set(int row, int column, std::string text);

private:
    std::map<std::pair<int, int>, std::string> cells_;
    int lastRow_ = 0, lastColumn_ = 0;
};

// The worksheet that is active when the workbook opens (its first sheet
// when the workbook names none).
CellTexts readActiveSheet(const std::string& xlsxPath);
CellTexts readActiveSheet(const Package& pkg);

// ---- addresses and sheet parts, shared with the workbook automation object
// "C6", "$C$6", "c6" -> row 6, column 3. False for anything else.
bool parseAddress(std::string_view address, int& row, int& column);
// 1 -> "A", 27 -> "AA".
std::string columnName(int column);
// The part name of the worksheet active on opening ("xl/worksheets/sheet1.xml").
std::string activeSheetPart(const Package& pkg);
// The workbook's shared strings, in order (empty when it has none).
std::vector<std::string> sharedStrings(const Package& pkg);

}  // namespace office
