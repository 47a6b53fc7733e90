// "Copy Excel Data": rebuilds the weather-city file from the spreadsheet
// hpcities.xls (or hpcities.xlsx) after the dealer has confirmed it. The
// background window's progress label shows how it went.
#pragma once

void convert_cities();
