// The project input window: the calculation after every change and the
// results display the engine is handed (grid, summary, backup, ambient).
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>

#include <array>
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
    if (made_ && !invalid_.empty()) {
        // No figures from a value a box cannot have: the results wait.
        clear_results();
        warning_->setPlainText(q(fields::range_note(*invalid_.begin())));
        warning_->setVisible(true);
        return;
    }
    const bool ok = engine::calc_all();  // a failure has been reported
    show_ambient();
    if (ok) show_results();
    else clear_results();
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
    // The months the backup heater works in and its own cost are results
    // too: none stands from an earlier calculation.
    backup_->clear();
    alone_->clear();
}

void weathers::show_backup() {
    if (!made_) return;
    const int t = existing_heater();
    QString s;
    if (!has_heater()) {
        s = "no existing heater";
    } else if (!has_backup()) {
        s = "heat pump alone";
    } else {
        // Runs of months as ranges ("JAN-APR OCT-DEC"), so that a heater
        // working most of the year still fits its line.
        std::array<bool, 13> works{};
        for (int m = 1; m <= 12; ++m) works[m] = g.backup_month[m] == 1;
        const std::string runs = month_runs(works, "-", " ");
        s = QString("%1 heater").arg(QString(fuel_word(t)).toLower());
        s += runs.empty() ? QString(", not needed") : ", works in " + q(runs);
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
    const int t = existing_heater();
    const bool heater = has_heater();
    const bool backup = has_backup();
    bool off_months = false, lowered = false, pumps_idle = false, no_need = false;
    for (int m = 1; m <= 12; ++m) {
        const bool heated = g.run_state[m][0] != 0;
        auto& row = cells_[m];
        if (heated && g.month_off[m] != 0) {
            // Not held above the water's own temperature: no heating at all.
            off_months = true;
            row[kWater]->setText("Off");
            row[kRunHours]->setText("Off");
        } else if (heated) {
            lowered = lowered || g.hrs_flag[m] != 0;
            float c = 0;
            to_deg_c(c, g.temp_table[m][5]);
            row[kWater]->setText(q(vb::Format(c, "##0.0")) + (g.hrs_flag[m] ? " *" : "  "));
            const float h = g.calc_f32[calc_row::hours(m)];
            row[kRunHours]->setText(h > 0 ? q(vb::Format(h, "#0.0")) : QString("Off"));
            // The pumps stand: too cold for them with the heater covering
            // the month, or nothing to bring back.
            if (h <= 0) (backup && g.backup_month[m] == 1 ? pumps_idle : no_need) = true;
        } else {
            row[kWater]->setText("-");
            row[kRunHours]->setText("Off");
            no_need = true;
        }
        row[kHpCost]->setText(money(g.calc_f32[calc_row::hp_cost(m)]));
        row[kHeaterCost]->setText(heater ? money(g.calc_f32[calc_row::heater_cost(m)]) : QString());
        row[kSaving]->setText(heater ? money(g.calc_f32[calc_row::saving(m)]) : QString());
    }
    cells_[13][kHpCost]->setText(money(g.tot_hp.toDouble()));
    cells_[13][kHeaterCost]->setText(heater ? money(g.tot_heater.toDouble()) : QString());
    cells_[13][kSaving]->setText(heater ? money(g.tot_saving.toDouble()) : QString());
    // With backup the heater column holds its share; its own cost, from
    // which the saving is taken, stands below.
    alone_caption_->setVisible(backup);
    alone_->setVisible(backup);
    alone_->setText(backup ? money(g.tot_heater_alone.toDouble()) + " a year" : QString());

    const int idx = g.combo_idx;
    const int n = idx >= 0 && idx <= 40 ? g.combo_n1[idx] : 0;
    const QString model = combo1_[kModelList]->currentText().trimmed();
    units_->setText(n > 0 ? QString::fromUtf8("%1 × %2").arg(n).arg(model) : QString("none needed"));
    cop_->setText(g.cop_avg > 0 ? q(vb::Format(g.cop_avg, "#0.00")) : QString("-"));
    const float pb = heater ? g.payback_f32[t] : 0.0f;
    payback_->setText(pb > 0 ? q(vb::Format(pb, "#0.0")) + " years" : QString("-"));
    savings_->setText(g.proj_save.empty() ? QString("-") : q(g.proj_save));
    QStringList warn;
    if (n == 0)
        warn << "No heat pump is needed: no month is ticked for heating, or the water is already as warm as "
                "wanted.";
    if (lowered) warn << "* The heat pumps cannot hold the wanted temperature: the water stays at the one shown.";
    // Every "Off" in the grid is explained, whatever its reason, in one line
    // where it can: the notes share the window's height with the grid.
    QStringList off;
    if (off_months) off << "too cold to heat the water with this system";
    if (pumps_idle) off << QString("the %1 heater alone heats the water").arg(QString(fuel_word(t)).toLower());
    if (no_need) off << "not heated, or no heat needed";
    if (!off.isEmpty()) warn << "Off: " + off.join("; ") + '.';
    // Without its output the heater is taken to cover whatever the pumps leave.
    if (backup && g.heater_btu <= 0)
        warn
            << QString("%1 heater output not given: it is taken to cover what the heat pumps leave.").arg(fuel_word(t));
    if (n > 0 && g.heat_days < 7) warn << "Sized for the first heating day, which brings back what the days off lost.";
    if (idx >= 37) warn << "The system requires too many heat pumps.";
    if (warning_->toPlainText() != warn.join('\n')) warning_->setPlainText(warn.join('\n'));
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
QString weathers::cop_text() const { return made_ ? cop_->text() : QString(); }
QString weathers::heater_alone_text() const { return made_ && !alone_->isHidden() ? alone_->text() : QString(); }
QString weathers::warning_text() const { return made_ ? warning_->toPlainText() : QString(); }
