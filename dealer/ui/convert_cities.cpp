#include "dealer/ui/convert_cities.h"

#include <QLabel>

#include <string>

#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "dealer/cityimport.h"
#include "platform/form.h"

namespace {

// The background window's progress label (hidden until an import runs).
QLabel* progress_label() {
    plat::Form* bg = windows().backgrnd.existing();
    return bg ? bg->findChild<QLabel*>("Label4") : nullptr;
}

void show_progress(const std::string& text) {
    if (QLabel* l = progress_label()) {
        l->setVisible(true);
        l->setText(QString::fromStdString(text));
    }
}

void report(const std::string& text) { ui::MsgBox(text, ui::vbOKOnly, "convert cities err"); }

}  // namespace

void convert_cities() {
    const std::string path = cityimport::find_workbook(g.data_dir);
    if (path.empty()) {
        report("File not found: hpcities.xls" + g.crlf + "Looking in " + g.data_dir + " and its A/ and B/ folders.");
        return;
    }
    // Every city of location.dat, hand-added ones too, is replaced.
    if (ui::MsgBox("All cities of the weather-city file will be replaced" + g.crlf + "by the cities of " + path + "." +
                       g.crlf + g.crlf + "Are you sure you want to proceed?",
                   ui::vbYesNo, "Copy Excel Data") != ui::vbYes)
        return;

    ui::BusyPointer busy;
    show_progress("");
    cityimport::Sheet sheet;
    std::string why;
    if (!cityimport::read_workbook(path, sheet, &why)) {
        report(why);
        return;
    }
    const std::vector<CityRecord> cities = cityimport::convert(sheet);
    if (cities.empty()) {
        report("No cities found in " + path + g.crlf + "(city names in column C, rows 6 to 303).");
        return;
    }
    show_progress(" " + std::to_string(cities.size()));
    if (!records::writeCityFile(g.data_dir, cities, &why)) {
        // The replacement failed before the swap: location.dat is as it was.
        report(why);
        return;
    }
    const int n = static_cast<int>(cities.size());
    for (int i = 1; i <= n; ++i) g.city_tab[i] = cities[i - 1];
    g.city_count = static_cast<i16>(n);
    g.cur_city = static_cast<i16>(n + 1);
    g.calc_month = 13;
    g.cities_changed = 1;  // the project input window reloads its city lists
    show_progress("Done");
}
