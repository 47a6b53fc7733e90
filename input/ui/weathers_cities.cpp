// The project input window: the three city lists and the project's city.
#include <algorithm>

#include "core/ui.h"
#include "input/cities.h"
#include "input/ui/weathers.h"
#include "input/ui/weathers_parts.h"

using namespace weathers_parts;

// ---- cities ---------------------------------------------------------------------------------

void weathers::fill_city_lists() {
    make();
    ++filling_;
    lists_ = cities::build_lists();
    for (int grp = 0; grp < 3; ++grp) {
        plat::ComboBox* c = combo1_[kCityCombo[grp]];
        c->Clear();
        for (const std::string& entry : lists_.entries[grp]) c->AddItem(q(entry));
    }
    --filling_;
    apply_area_sel();
    select_project_city();

    // A city named to be chosen when the lists are loaded.
    if (!g.preset_city.empty()) {
        const auto [grp, entry] = cities::find_preset(lists_, g.preset_city);
        g.preset_city.clear();
        if (grp >= 0) choose_city(grp, entry);
    }
}

void weathers::apply_area_sel() {
    const int sel = g.area_sel;
    for (int i = 0; i < 3; ++i) option1_[i]->setEnabled(sel < 1 || sel > 3 || sel == i + 1);
    if (sel >= 1 && sel <= 3) g.area_group = static_cast<i16>(sel - 1);
}

// Shows the project's city in its list without taking its prices again (the
// project's own prices and wind may differ from the city's). Its monthly
// weather, which the window does not let anyone type, is the city's: a
// project whose months are not those of its city (the city list window
// chose another city, or the record was edited) takes the record's months.
// A project whose city is not in the lists takes the first city of its
// group, and the dealer is told: its weather and prices change with it.
void weathers::select_project_city() {
    int grp = std::clamp<int>(g.area_group, 0, 2);
    const std::string city = trimmed(g.city_name);
    const std::string state = trimmed(g.sel_state);
    auto find = [&](int k, bool withState) { return cities::find(lists_, k, city, state, withState); };
    int found = city.empty() ? -1 : find(grp, true);
    if (found < 0 && !city.empty()) found = find(grp, false);
    if (found < 0 && !city.empty() && (g.area_sel < 1 || g.area_sel > 3)) {
        // The city may stand in another group (its record was edited).
        for (int k = 0; k < 3 && found < 0; ++k) {
            if (k == grp) continue;
            const int j = find(k, true);
            if (j >= 0) {
                grp = k;
                found = j;
                g.area_group = static_cast<i16>(k);
            }
        }
    }
    ++filling_;
    for (int k = 0; k < 3; ++k) {
        plat::ComboBox* c = combo1_[kCityCombo[k]];
        const int want = (k == grp && found >= 0) ? found : (c->count() > 0 ? 0 : -1);
        if (c->currentIndex() != want) c->setCurrentIndex(want);
    }
    option1_[grp]->setChecked(true);
    --filling_;
    show_city_group();
    if (found >= 0) {
        const CityRecord& r = g.city_tab[lists_.records[grp][found]];
        if (!cities::same_weather(r)) {
            cities::take_weather(r);
            quick_calc();
        }
    } else if (!lists_.records[grp].empty()) {
        const std::string was = city_and_state();
        choose_city(grp, 0);
        if (city.empty()) return;
        // Deleted in the city editor, or not in the spreadsheet the cities
        // were copied from; or there, in a group the dealer's "On screen
        // city display" does not offer.
        bool elsewhere = false;
        for (int k = 0; k < 3; ++k) elsewhere = elsewhere || (k != grp && find(k, true) >= 0);
        ui::MsgBox("The project's city " + was +
                       (elsewhere ? " is not among the cities offered." : " is no longer in the weather city list.") +
                       g.crlf + city_and_state() + " is shown instead, with its weather, energy prices and wind.",
                   ui::vbOKOnly | ui::vbExclamation, "Weather city");
    }
}

// "Orlando, FL": the project's city as the window names it.
std::string weathers::city_and_state() {
    std::string where = trimmed(g.city_name);
    const std::string state = trimmed(g.sel_state);
    if (!where.empty() && !state.empty()) where += ", " + state;
    return where;
}

void weathers::show_city_group() {
    const int grp = std::clamp<int>(g.area_group, 0, 2);
    for (int k = 0; k < 3; ++k) combo1_[kCityCombo[k]]->setVisible(k == grp);
    const QString where = q(city_and_state());
    city_note_->setText(where.isEmpty() ? QString("Choose the customer's city.")
                                        : where + "  (prices and wind from the city; change them if needed)");
}

void weathers::choose_city(int grp, int entry) {
    if (grp < 0 || grp > 2 || entry < 0 || entry >= static_cast<int>(lists_.records[grp].size())) return;
    cities::take(g.city_tab[lists_.records[grp][entry]], grp);
    ++filling_;
    plat::ComboBox* c = combo1_[kCityCombo[grp]];
    if (c->currentIndex() != entry) c->setCurrentIndex(entry);
    option1_[grp]->setChecked(true);
    --filling_;
    for (int i : {2, 33, 34, 35, 36}) set_box(i, q(fields::shown_text(i)));
    show_city_group();
    quick_calc();
}
