#include "dealer/ui/convert_cities.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/limits.h"
#include "app/model.h"
#include "app/records.h"
#include "core/recfile.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "dealer/cityimport.h"

namespace {

// The background window's progress label (hidden until an import runs).
void show_progress(const std::string& text) {
    if (windows().show_import_progress) windows().show_import_progress(text);
}

void report(const std::string& text) { ui::MsgBox(text, ui::vbOKOnly, "convert cities err"); }

// "1 row", "3 rows".
std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void convert_cities() {
    const std::string path = cityimport::find_workbook(g.data_dir);
    if (path.empty()) {
        report("File not found: hpcities.xls" + g.crlf + "Looking in " + g.data_dir + " and its A/ and B/ folders.");
        return;
    }
    cityimport::Sheet sheet;
    std::vector<CityRecord> cities;
    {
        ui::BusyPointer busy;
        show_progress("");
        std::string why;
        if (!cityimport::read_workbook(path, sheet, &why)) {
            report(why);
            return;
        }
        cities = cityimport::convert(sheet);
    }
    if (cities.empty()) {
        report("No cities found in " + path + g.crlf + "(city names in column C, rows 6 to 303).");
        return;
    }
    const std::string n = std::to_string(cities.size());
    const int bad = cityimport::unreadable_rows(sheet), empty = cityimport::empty_rows_between(sheet);
    const std::string unread =
        counted(bad, "row", "rows") +
        " of the workbook could not be read (a damaged or empty cell, no city name in column C or no "
        "region in column A, or a temperature that is no number or outside " +
        std::to_string(static_cast<int>(limits::kCityAirTemp.min)) + " to " +
        std::to_string(static_cast<int>(limits::kCityAirTemp.max)) + " °F).";
    // Blank rows between cities are no damage, but a row a damaged workbook
    // lost looks the same: told, not asked about again.
    const std::string blank = counted(empty, "empty row", "empty rows") +
                              " above the last city (left blank, or lost from a damaged workbook).";
    // The workbook is read to row 303, however few cities it holds: a city
    // below is never read, and never dropped without a word (blank rows
    // between cities push the last ones down there).
    const int below = sheet.below;
    const std::string last = std::to_string(cityimport::kLastRow);
    const std::string past = counted(below, "city below row ", "cities below row ") + last +
                             (below == 1 ? " is" : " are") + " not read: the workbook is read to row " + last + ".";
    // Every city of location.dat, hand-added ones too, is replaced, and the
    // workbook gives temperatures only. No is the default button: the
    // "Copy Excel Data" button keeps the focus after an import, and a stray
    // Enter there must not replace every city again.
    if (ui::MsgBox("All cities of the weather-city file will be replaced by the " + n + " cities read from " + path +
                       "." + g.crlf + (bad ? unread + g.crlf : "") + (empty ? blank + g.crlf : "") +
                       (below ? past + g.crlf : "") +
                       "Cities added by hand are lost, and every city's energy prices, humidity, sunlight and wind "
                       "are set to the same standard values (the workbook gives the temperatures only)." +
                       g.crlf + g.crlf + "Are you sure you want to proceed?",
                   ui::vbYesNo | ui::vbDefaultButton2 | (bad || below ? ui::vbExclamation : 0),
                   "Copy Excel Data") != ui::vbYes)
        return;
    if (bad && ui::MsgBox(unread + g.crlf + "Replace the weather-city file all the same, with the " + n +
                              " cities that were read?",
                          ui::vbYesNo | ui::vbDefaultButton2 | ui::vbExclamation, "Copy Excel Data") != ui::vbYes)
        return;

    // The file being replaced is kept as location.bak first, the copies
    // earlier imports or restores kept moving on to location.bak1 ...
    const std::string old = g.data_dir + "location.dat", kept = rec::keptName(old);
    std::error_code ec;
    const bool keeps = std::filesystem::exists(old, ec);
    {
        ui::BusyPointer busy;
        show_progress(" " + n);
        std::string why;
        const auto write = [&](std::string* w) { return records::writeCityFile(g.data_dir, cities, w); };
        if (rec::keepCopy(old, records::cityFileLimit(), write, &why) != rec::KeepResult::Kept) {
            // Not replaced: location.dat and its kept copies are as they were.
            report(why);
            return;
        }
    }
    const int count = static_cast<int>(cities.size());
    for (int i = 1; i <= count; ++i) g.city_tab[i] = cities[i - 1];
    g.city_count = static_cast<i16>(count);
    g.cur_city = static_cast<i16>(count + 1);
    g.calc_month = 13;
    g.cities_changed = 1;  // the project input window reloads its city lists
    show_progress("Done");
    ui::MsgBox(n + " cities were imported." +
                   (keeps ? g.crlf + "The weather-city file they replaced was kept as " + kept + "." : std::string()),
               ui::vbOKOnly | ui::vbInformation, "Copy Excel Data");
    // The open project follows at once, as after the heat-pump editor's
    // Save: its city read again from the new file (one the workbook lacks
    // is said, as at a start) and its figures recalculated, so the printouts
    // made next show what the next start shows.
    if (windows().refresh_project) windows().refresh_project();
}
