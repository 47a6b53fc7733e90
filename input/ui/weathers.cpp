// The project input window: construction, life cycle, showing the inputs,
// the brand box and model list, and the window's services to the program.
// The parts: weathers_make.cpp builds the controls, weathers_cities.cpp the
// city lists, weathers_events.cpp the handlers, weathers_results.cpp the
// calculation and results display.
#include "input/ui/weathers.h"

#include <QLabel>
#include <QPointer>

#include <algorithm>

#include "core/ui.h"
#include "core/windows.h"
#include "engine/engine.h"
#include "input/fields.h"
#include "input/ui/register.h"
#include "input/ui/weathers_parts.h"
#include "input/units.h"
#include "platform/instances.h"

using namespace weathers_parts;

namespace {

QPointer<weathers> g_weathers;  // the program's one input window (frm_weathers)
weathers* g_live = nullptr;     // the window the registry's routines talk to: the newest one

}  // namespace

// ---- construction -----------------------------------------------------------------------

weathers::weathers() : plat::Form("weathers") {
    SetCaption("Pool / Spa Heat Pump Project");
    g_live = this;
}

weathers::~weathers() {
    if (g_live == this) g_live = nullptr;
}

plat::TextBox* weathers::Text1(int i) {
    make();
    return plat::element(text1_, i);
}
plat::ComboBox* weathers::Combo1(int i) {
    make();
    return plat::element(combo1_, i);
}
plat::CheckBox* weathers::Check1(int i) {
    make();
    return plat::element(check1_, i);
}
plat::OptionButton* weathers::Option1(int i) {
    make();
    return plat::element(option1_, i);
}
plat::CommandButton* weathers::SSCommand1(int i) {
    make();
    return plat::element(cmd_, i);
}

void weathers::build() { make(); }

// ---- life cycle ---------------------------------------------------------------------------

void weathers::Form_Load() {
    make();
    ++filling_;
    show_units();
    set_brand_model();
    --filling_;
    load_locations();  // fills the city lists through the hook and selects the project's city
    show_inputs();
    refresh_buttons();
    price_visibility();
    full_calc(false);
}

void weathers::Form_Activate() {
    if (g.cities_changed == 1) {
        g.cities_changed = 0;
        load_locations();
    }
    // The performance-table editor wrote the heat-pump file: the models on
    // offer and the chosen model's tables as the file now holds them. The
    // reload clears the mark; cleared first, a file that cannot be read is
    // said once, not at every activation.
    if (g.pump_saved == 1) {
        g.pump_saved = 0;
        load_brand_pumps();
        select_model(true);
    }
    refresh_buttons();
    price_visibility();
    // Units and prices may have been changed by other windows meanwhile.
    show_units();
    show_inputs();
    full_calc(false);
    // A project started before the customer was entered: ask for the
    // customer first (once).
    if (g.cust_done != 1 && g.cust_win_state == 0 && windows().custname) {
        SetEnabled(false);
        if (windows().show_custname) windows().show_custname();
    }
}

void weathers::Form_Unload(int& cancel) {
    if (ui::MsgBox("Do you want to leave?", ui::vbYesNo | ui::vbQuestion, "Heater") != ui::vbYes) {
        cancel = 1;
        return;
    }
    save_last_data();
    Dfltout();
}

// ---- showing the inputs -------------------------------------------------------------------

void weathers::set_box(int i, const QString& text) {
    plat::TextBox* b = text1_[i];
    if (!b) return;
    ++filling_;
    if (b->text() != text) b->setText(text);
    --filling_;
}

void weathers::show_units() {
    if (!made_) return;
    for (auto& [i, label] : unit_labels_) {
        if (i == 33) continue;
        const fields::Field* f = fields::field(i);
        if (f) label->setText(f->kind == fields::Kind::Count ? QString() : q(fields::unit_suffix(*f)).trimmed());
    }
    const QString deg = celsius() ? u8("°C") : u8("°F");
    head_wanted_->setText("Wanted\n" + deg);
    head_air_->setText("Air\n" + deg);
    head_water_->setText("Water\n" + deg);
    ++filling_;
    for (int fuel : {int(units::kGas), int(units::kOil), int(units::kPropane)}) {
        plat::ComboBox* c = combo1_[10 + units::fuel_units_slot(fuel)];
        if (c->currentIndex() != fields::fuel_unit(fuel)) c->setCurrentIndex(fields::fuel_unit(fuel));
    }
    --filling_;
}

void weathers::show_inputs() {
    if (!made_) return;
    fields::clamp_inputs();
    invalid_.clear();  // every box shows its stored value again
    ++filling_;
    // A box whose text gives the stored value keeps it as the dealer typed
    // it ("7.48" per ft³ of oil, not the 7.4798 the stored price gives back).
    auto show = [this](int i) {
        if (!fields::text_holds_stored(i, text1_[i]->text().toStdString())) set_box(i, q(fields::shown_text(i)));
    };
    for (int i : {0, 1, 2, 3, 4, 5, 6, 31, 32, 33, 34, 35, 36}) show(i);
    for (int m = 1; m <= 12; ++m) {
        show(kFirstCover + m - 1);
        show(kFirstWanted + m - 1);
        check1_[kFirstMonthCheck + m - 1]->setChecked(g.run_state[m][0] != 0);
    }
    option1_[is_spa() ? kSpaOption : kPoolOption]->setChecked(true);
    option1_[is_indoor() ? kIndoorOption : kOutdoorOption]->setChecked(true);
    check1_[kSpaBlower]->setChecked(g.spa_blower != 0);
    check1_[kFloorReturns]->setChecked(g.opt_reduce != 0);
    check1_[kBackup]->setChecked(g.backup_on != 0);
    combo1_[kHeaterType]->setCurrentIndex(existing_heater() - 1);
    --filling_;
    heater_enabling();
    pool_enabling();
}

void weathers::heater_enabling() {
    const int t = existing_heater();
    text1_[kHeaterEff]->setEnabled(t >= HT_GAS);             // a fuel heater's, not electric resistance's
    set_box(kHeaterEff, q(fields::shown_text(kHeaterEff)));  // the efficiency the calculation uses
    text1_[kHeaterOutput]->setEnabled(has_heater());
    check1_[kBackup]->setEnabled(has_heater());
    // No existing heater: its empty column has no heading, not a lone "$".
    const QString heater = has_backup() ? QString("Backup") : QString(fuel_word(t));
    head_heater_->setText(heater.isEmpty() ? QString() : heater + "\n$");
}

void weathers::pool_enabling() {
    check1_[kSpaBlower]->setEnabled(is_spa());
    check1_[kFloorReturns]->setEnabled(!is_spa());
    text1_[kWind]->setEnabled(!is_indoor());  // no wind indoors
}

void weathers::refresh_buttons() {
    if (!made_) return;
    auto avail = [this](int i, bool registered) {
        plat::CommandButton* b = cmd_[i];
        if (!registered) {
            unregistered_[i] = true;
            b->setEnabled(false);
        } else if (unregistered_[i]) {
            unregistered_[i] = false;
            b->setEnabled(true);
        }
    };
    const WindowRegistry& w = windows();
    avail(kCustomer, static_cast<bool>(w.custname));
    avail(kCalculator, static_cast<bool>(w.Calculator));
    avail(kHpPrice, static_cast<bool>(w.elect));
    avail(kFinance, static_cast<bool>(w.lease));
    avail(kPrint, static_cast<bool>(w.Prt2));
}

void weathers::price_visibility() {
    if (!made_) return;
    // Heat-pump prices and finance are not offered: no price buttons and no
    // payback, which rests on the heat pumps' price.
    const bool prices = g.no_prices != 1;
    cmd_[kHpPrice]->setVisible(prices);
    cmd_[kFinance]->setVisible(prices);
    payback_->setVisible(prices);
    payback_caption_->setVisible(prices);
}

// ---- heat pump: brand box and model list -----------------------------------------------------

void weathers::fill_cmb8() {
    make();
    const std::string brandKey = keyOf(text1_[kBrandBox]->text().toStdString());
    int rec = 0;
    for (int k = 1; k <= 100 && !brandKey.empty(); ++k) {
        if (!g.pump_tab[k].brand.empty() && keyOf(g.pump_tab[k].brand) == brandKey) {
            rec = k;
            break;
        }
    }
    if (rec == 0) rec = std::clamp<int>(g.pump_rec, 1, 100);
    plat::ComboBox* c = combo1_[kModelList];
    c->Clear();
    const PumpBrand& r = g.pump_tab[rec];
    for (int k = 1; k <= 9; ++k) {
        const std::string name = trimmed(r.model[k]);
        if (r.in_list[k] == 1 && !name.empty()) c->AddItem(q(name));
    }
}

// The model list of the brand in the brand box; the project's model chosen
// in it (or the first one) and its rating points put into points 1..8 for
// the engine (read_pumpa also keeps brand_name and model_name). With
// `tell`, a project model the list no longer offers (taken out of it in the
// performance-table editor) is said, with the model that replaces it: the
// number of heat pumps and every cost change with it.
void weathers::select_model(bool tell) {
    fill_cmb8();
    plat::ComboBox* c = combo1_[kModelList];
    const std::string was = trimmed(g.model_name);
    ++filling_;
    const bool gone = c->SelectText(q(was)) < 0 && c->count() > 0;
    if (gone) c->setCurrentIndex(0);
    --filling_;
    const std::string brand = trimmed(text1_[kBrandBox]->text().toStdString());
    const std::string model = trimmed(c->currentText().toStdString());
    if (brand.empty()) return;
    if (model.empty()) g.brand_name = brand;
    else read_pumpa(brand, model);
    if (tell && gone && !was.empty())
        ui::MsgBox("The project's heat pump model " + was + " is no longer offered." + g.crlf +
                       "The project now uses the " + model + ".",
                   ui::vbOKOnly | ui::vbExclamation, "Heat pump model");
}

// Shows the project's brand and model.
void weathers::set_brand_model() {
    std::string brand = trimmed(g.brand_name);
    if (brand.empty()) brand = trimmed(g.pump_tab[std::clamp<int>(g.pump_rec, 1, 100)].brand);
    set_box(kBrandBox, q(brand));
    select_model(true);
}

// The brand box was given another brand (the brand window): its models.
void weathers::brand_changed() {
    select_model(false);  // another brand's models: the project's need not be among them
    quick_calc();
}

// ---- services of the window ---------------------------------------------------------------------

weathers* frm_weathers() { return plat::instance(g_weathers); }

plat::Form* existing_weathers() { return g_weathers.data(); }

// The routines the data files, the engine and the printouts reach the
// window by; each does nothing while no input window exists.
void register_input_windows() {
    WindowRegistry& w = windows();
    w.weathers = plat::window_slot(g_weathers);
    // Settings changed in another window: the open input window shows them
    // and recalculates, as when it becomes active.
    w.refresh_project = [] {
        if (g_weathers && g_weathers->isLoaded()) g_weathers->Form_Activate();
    };
    w.save_project = [] {
        if (g_weathers && g_weathers->isLoaded()) save_last_data();
    };
    w.brand_box_text = [] { return g_live ? g_live->brand_box_text() : g.brand_name; };
    w.set_brand_box = [](const std::string& brand) {
        if (g_weathers) g_weathers->Text1(kBrandBox)->SetText(QString::fromStdString(brand));
    };
    w.enable_project_print = [](bool on) {
        if (g_weathers) g_weathers->SSCommand1(kPrint)->setEnabled(on);
    };
    // Only a loaded window: one that was closed would choose another city
    // for the project and tell of it with no project window open.
    w.fill_city_lists = [] {
        if (g_live && g_live->isLoaded()) g_live->fill_city_lists();
    };
    w.clear_results = [] {
        if (g_live) g_live->clear_results();
    };
    w.show_ambient = [] {
        if (g_live) g_live->show_ambient();
    };
    w.show_results = [] {
        if (g_live) g_live->show_results();
    };
}

std::string weathers::brand_box_text() {
    if (made_) {
        const std::string t = text1_[kBrandBox]->text().toStdString();
        if (!trimmed(t).empty()) return t;
    }
    return g.brand_name;
}

void save_last_data() {
    for (int m = 1; m <= 12; ++m) g.month_hours_c[m][1] = g.month_hours_c[m][0];
    weathers* w = g_live;
    if (!w) return;
    const std::string brand = vb::Trim(w->Text1(kBrandBox)->text().toStdString());
    const std::string model = vb::Trim(w->Combo1(kModelList)->currentText().toStdString());
    if (!brand.empty()) g.brand_name = brand;
    if (!model.empty()) g.model_name = model;
}

void show_lease() {
    if (!windows().lease) return;
    windows().lease()->Move(2170, 950, 5625, 5385);
}
