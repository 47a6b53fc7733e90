// The project input window: the handlers of its controls. Every change is
// stored into the data model (in US units) and the project recalculated.
#include <algorithm>

#include "app/limits.h"
#include "core/numtext.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "input/ui/weathers.h"
#include "input/ui/weathers_parts.h"
#include "platform/numbox.h"

using namespace weathers_parts;

// ---- handlers -------------------------------------------------------------------------------

void weathers::Text1_Change(int i) {
    if (filling_ > 0) return;
    plat::TextBox* b = text1_[i];
    if (!b) return;
    if (i == kBrandBox) {
        brand_changed();
        return;
    }
    double v = 0;
    numtext::clean_number(b->text().toStdString(), v);  // the box lets only clean numbers through
    if (fields::is_cover(i)) {
        store_cover(i);
        return;
    }
    const fields::Field* f = fields::field(i);
    if (!f) return;
    const double max = fields::limit_shown(*f, true);
    if (v > max + 1e-9) {
        // Nothing computed from the impossible value, nor left standing from
        // the last one, while the dealer reads why.
        clear_results();
        ui::MsgBox(
            "Maximum value is " + numtext::num_text(max, fields::decimals(*f)) + fields::unit_suffix(*f, max) + ".",
            ui::vbOKOnly | ui::vbExclamation, "Error");
        b->SetText("0");  // runs this handler again: 0, or no results where 0 is no value
        // The dealer types the right value over the 0, not after it.
        if (auto* n = qobject_cast<plat::NumBox*>(b)) n->StartReplacing();
        return;
    }
    // A value below the box's least ("1" on the way to "105", or the 0 the
    // limit rule left) is neither stored nor spread nor clamped: the results
    // wait for a valid value, and the box is checked when it is left.
    if (fields::below_least(*f, v)) {
        invalid_.insert(i);
        recalc();
        return;
    }
    invalid_.erase(i);
    store(i, v);
    quick_calc();
}

// Cover hours: CInt(Val(text)) into month_hours_c(m, 0) and the settings'
// box copy (m, 1); more than 24 (limits::kCoverHours) becomes "24".
void weathers::store_cover(int i) {
    plat::TextBox* b = text1_[i];
    const int m = i - kFirstCover + 1;
    const int hours = vb::CInt(vb::Val(b->text().toStdString()));
    const std::string most = vb::CStr(limits::kCoverHours.typed.max);
    if (hours > limits::kCoverHours.typed.max) {
        // Said, as every other limit is, then set to the limit.
        clear_results();
        ui::MsgBox("Maximum value is " + most + " hours a day.", ui::vbOKOnly | ui::vbExclamation, "Error");
        b->SetText(QString::fromStdString(most));  // runs the change handling again with the limit
        return;
    }
    g.month_hours_c[m][0] = static_cast<i16>(std::max(hours, 0));
    g.month_hours_c[m][1] = g.month_hours_c[m][0];
    quick_calc();
}

void weathers::store(int i, double shown) {
    fields::store(i, shown);
    // The thermostat has set every month's wanted temperature.
    if (i == 6)
        for (int m = 1; m <= 12; ++m) set_box(kFirstWanted + m - 1, q(fields::shown_text(kFirstWanted + m - 1)));
}

void weathers::Text1_LostFocus(int i) {
    plat::TextBox* b = text1_[i];
    if (!b || i == kBrandBox || filling_ > 0) return;
    if (b->text().trimmed().isEmpty()) {
        set_box(i, "0");  // an empty box stands for 0 and says so
    }
    const fields::Field* f = fields::field(i);
    if (!f) return;
    // Left with a valid value, a box shows it in its field's decimals, as
    // every other box does ("84.0", not the "84" typed); a price keeps what
    // was typed (a price per unit may not come back in its own digits).
    const bool price = f->kind == fields::Kind::PriceElec || f->kind == fields::Kind::PriceFuel;
    if (!invalid_.count(i) && !price && fields::text_holds_stored(i, b->text().toStdString()))
        set_box(i, q(fields::shown_text(i)));
    if (!invalid_.count(i)) return;
    // Left below its least value: said, and the box shows again the last
    // valid value, from which the results are computed (never the least
    // value put in its place: a heater of 1 % would "save" everything).
    const double min = fields::limit_shown(*f, false);
    ui::MsgBox("Minimum value is " + numtext::num_text(min, fields::decimals(*f)) + fields::unit_suffix(*f, min) + ".",
               ui::vbOKOnly | ui::vbExclamation, "Error");
    invalid_.erase(i);
    set_box(i, q(fields::shown_text(i)));
    quick_calc();
}

void weathers::Combo1_Click(int i) {
    if (filling_ > 0) return;
    plat::ComboBox* c = combo1_[i];
    if (!c) return;
    const int idx = c->currentIndex();
    switch (i) {
        case kHeaterType:
            if (idx < 0) return;
            g.fuel_type = static_cast<i16>(idx + 1);
            if (!has_heater() && g.backup_on != 0) {
                // No heater, no backup.
                g.backup_on = 0;
                ++filling_;
                check1_[kBackup]->setChecked(false);
                --filling_;
            }
            heater_enabling();
            quick_calc();
            return;
        case kModelList: {
            const std::string model = trimmed(c->currentText().toStdString());
            if (model.empty()) return;
            read_pumpa(trimmed(text1_[kBrandBox]->text().toStdString()), model);
            quick_calc();
            return;
        }
        case 11:
        case 12:
        case 13: {
            // A new price unit: the same stored price shown per that unit.
            if (idx < 0) return;
            g.fuel_units[i - 10] = static_cast<float>(idx);
            const int box = i == 11 ? 34 : i == 12 ? 36 : 35;
            set_box(box, q(fields::shown_text(box)));
            return;
        }
        default:
            for (int grp = 0; grp < 3; ++grp)
                if (i == kCityCombo[grp] && idx >= 0) choose_city(grp, idx);
            return;
    }
}

void weathers::Check1_Click(int i) {
    if (filling_ > 0) return;
    plat::CheckBox* c = check1_[i];
    if (!c) return;
    const i16 v = static_cast<i16>(c->Value());
    if (i >= kFirstMonthCheck && i < kFirstMonthCheck + 12) g.run_state[i - kFirstMonthCheck + 1][0] = v;
    else if (i == kSpaBlower) g.spa_blower = v;
    else if (i == kFloorReturns) g.opt_reduce = v;
    else if (i == kBackup) {
        g.backup_on = v;
        heater_enabling();
        show_backup();
    }
    quick_calc();
}

void weathers::Option1_Click(int i) {
    if (filling_ > 0) return;
    switch (i) {
        case 0:
        case 1:
        case 2: {
            g.area_group = static_cast<i16>(i);
            show_city_group();
            // The group's list shows a city: that city is the project's now.
            const int idx = combo1_[kCityCombo[i]]->currentIndex();
            if (idx >= 0) choose_city(i, idx);
            return;
        }
        case 3:
        case 4:
            g.pool_type = i == 3 ? "Pool" : "Spa";
            // A pool has no spa blower; a spa no floor returns.
            ++filling_;
            if (i == 3) {
                g.spa_blower = 0;
                check1_[kSpaBlower]->setChecked(false);
            } else {
                g.opt_reduce = 0;
                check1_[kFloorReturns]->setChecked(false);
            }
            --filling_;
            pool_enabling();
            break;
        case 5:
        case 6:
            g.pool_site = i == 5 ? "out" : "In";
            // Indoors the sun exposure starts at none (a sunlit hall is typed
            // in); outdoors again a pool without sun takes the usual 75 %.
            if (i == 6) g.sun_pct = 0;
            else if (g.sun_pct == 0) g.sun_pct = kOutdoorSun;
            set_box(3, q(fields::shown_text(3)));
            pool_enabling();
            break;
        default: return;
    }
    quick_calc();
}

void weathers::SSCommand1_Click(int i) {
    const WindowRegistry& w = windows();
    switch (i) {
        case kCalculate: full_calc(true); break;
        case kCustomer:
            if (!w.custname) return;
            SetEnabled(false);  // the customer window enables it again when it is left
            if (windows().show_custname) windows().show_custname();
            break;
        case kCalculator:
            if (!w.Calculator) return;
            SetEnabled(false);  // the calculator's OFF switch enables it again
            w.Calculator()->Show();
            break;
        case kExit: Unload(); break;
        case kHpPrice: {
            if (!w.elect) return;
            plat::Form* f = w.elect();
            f->Move(3650, 3750);
            f->Show();
            break;
        }
        case kFinance: show_lease(); break;
        case kPrint: {
            if (!w.Prt2) return;
            save_last_data();
            Dfltout();
            SetEnabled(false);
            plat::Form* f = w.Prt2();
            f->Move(5000, 2000);
            f->Show();
            cmd_[kPrint]->setEnabled(false);  // the print window makes it available again
            break;
        }
        default: break;
    }
}
