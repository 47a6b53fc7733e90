// "Copy Excel Data": rebuilds the weather-city file from the spreadsheet
// hpcities.xls (or hpcities.xlsx). The workbook is read first; the dealer
// is told how many cities were read and how many rows could not be (asked
// once more when there are such rows) and confirms; the old location.dat is
// kept as location.bak; the end says how many cities were imported. The
// background window's progress label shows how it went.
#pragma once

void convert_cities();
