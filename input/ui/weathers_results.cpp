// The project input window: the calculation after every change and the
// results display the engine is handed (grid, summary, backup, ambient).
#include <QLabel>
#include <QStringList>

#include <cmath>

#include "engine/engine.h"
#include "input/ui/weathers.h"
#include "input/ui/weathers_parts.h"

using namespace weathers_parts;

// ---- calculation and results ------------------------------------------------------------------

void weathers::quick_calc() {
    g.calc_mode2 = 0;  // typing: no "too many heat pumps" box at every key
    recalc();
}

void weathers::full_calc(bool explicit_calc) {
    g.calc_flag1 = 1;
    g.calc_mode2 = explicit_calc ? 2 : 0;
    recalc();
}

// Show the backup state, run the engine, show the month's air temperatures
// and the results. The shown results are not cleared first: inside one
// handler nobody sees the cleared grid, and cells whose text stays the same
// are then not repainted (the engine's clear_results hook does clear them).
void weathers::recalc() {
    show_backup();
    engine::calc_all();
    show_ambient();
    show_results();
}

void weathers::clear_results() {
    if (!made_) return;
    for (int r = 1; r <= 13; ++r)
        for (int c = kWater; c < kResultCols; ++c) cells_[r][c]->clear();
    units_->clear();
    cop_->clear();
    payback_->clear();
    savings_->clear();
    warning_->clear();
}

void weathers::show_backup() {
    if (!made_) return;
    const int t = g.fuel_type;
    QString s;
    if (t < HT_ELEC || t > HT_OIL) {
        s = "no existing heater";
    } else if (g.backup_on == 0) {
        s = "heat pump alone";
    } else {
        QStringList months;
        for (int m = 1; m <= 12; ++m)
            if (g.backup_month[m] == 1) months << q(g.month_name[m]);
        s = QString("%1 heater").arg(QString(fuelWord(t)).toLower());
        s += months.isEmpty() ? QString(", not needed") : ", works in " + months.join(' ');
    }
    if (backup_->text() != s) backup_->setText(s);
}

void weathers::show_ambient() {
    if (!made_) return;
    for (int m = 1; m <= 12; ++m) {
        float c = 0;
        to_deg_c(c, g.month_city_c[m]);
        cells_[m][kAir]->setText(q(vb::Format(c, "##0.0")));
    }
}

void weathers::show_results() {
    if (!made_) return;
    const int t = g.fuel_type;
    const bool heater = t >= HT_ELEC && t <= HT_OIL;
    for (int m = 1; m <= 12; ++m) {
        const bool heated = g.run_state[m][0] != 0;
        auto& row = cells_[m];
        if (heated) {
            float c = 0;
            to_deg_c(c, g.temp_table[m][5]);
            row[kWater]->setText(q(vb::Format(c, "##0.0")) + (g.hrs_flag[m] ? " *" : "  "));
            const float h = g.calc_f32[39 + m];
            row[kRunHours]->setText(h > 0 ? q(vb::Format(h, "#0.0")) : QString("Off"));
        } else {
            row[kWater]->setText("-");
            row[kRunHours]->setText("Off");
        }
        row[kHpCost]->setText(money(g.calc_f32[m]));
        row[kHeaterCost]->setText(heater ? money(g.calc_f32[12 + m]) : QString());
        row[kSaving]->setText(heater ? money(g.calc_f32[24 + m]) : QString());
    }
    cells_[13][kHpCost]->setText(money(g.tot_hp.toDouble()));
    cells_[13][kHeaterCost]->setText(heater ? money(g.tot_heater.toDouble()) : QString());
    cells_[13][kSaving]->setText(heater ? money(g.tot_saving.toDouble()) : QString());

    const int idx = g.combo_idx;
    const int n = idx >= 0 && idx <= 40 ? g.combo_n1[idx] : 0;
    const QString model = combo1_[kModelList]->currentText().trimmed();
    units_->setText(n > 0 ? QString::fromUtf8("%1 × %2").arg(n).arg(model) : QString("-"));
    cop_->setText(g.cop_avg > 0 ? q(vb::Format(g.cop_avg, "#0.00")) : QString("-"));
    const float pb = heater ? g.payback_f32[t] : 0.0f;
    payback_->setText(pb > 0 ? q(vb::Format(pb, "#0.0")) + " years" : QString("-"));
    savings_->setText(g.proj_save.empty() ? QString("-") : q(g.proj_save));
    QStringList warn;
    if (g.temp_lowered > 0)
        warn << "* The heat pumps cannot hold the wanted temperature in the marked months: "
                "the water is kept at the temperature shown.";
    if (idx >= 37) warn << "The system requires too many heat pumps.";
    warning_->setText(warn.join('\n'));
    warning_->setVisible(!warn.isEmpty());
    show_backup();
}

QString weathers::result_text(int row, ResultCol col) const {
    if (!made_ || row < 1 || row > 13 || col < 0 || col >= kResultCols) return {};
    return cells_[row][col]->text();
}
QString weathers::units_text() const { return made_ ? units_->text() : QString(); }
QString weathers::payback_text() const { return made_ ? payback_->text() : QString(); }
QString weathers::savings_text() const { return made_ ? savings_->text() : QString(); }
QString weathers::backup_text() const { return made_ ? backup_->text() : QString(); }

