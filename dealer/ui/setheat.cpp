#include "dealer/ui/setheat.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "dealer/heatfactors.h"
#include "dealer/ui/protocol.h"

namespace {
QLabel* note(const char* text, QWidget* parent, bool wrap = false) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(wrap);
    return l;
}
}  // namespace

setheat::setheat() : plat::Form("setheat") { keep_focus(this); }

void setheat::build() {
    setFont(QFont(font().family(), 8));
    auto box = [this](int n, QWidget* parent) {
        auto* b = new plat::TextBox(parent, n);
        b->setMaximumWidth(n >= 12 && n <= 14 ? 70 : 52);
        b->setAlignment(Qt::AlignRight);
        b->Change = [this](int i) { Text_Change(i); };
        if (heatfactors::box(n).filtered) b->KeyPress = [this](int i, int& k) { Text_KeyPress(i, k); };
        b->LostFocus = [this](int i) { Text_LostFocus(i); };
        Text[n] = b;
        return b;
    };
    auto group = [this](const char* title) {
        auto* grp = new QGroupBox(title, this);
        auto* l = new QGridLayout(grp);
        l->setContentsMargins(6, 4, 6, 4);
        l->setHorizontalSpacing(6);
        l->setVerticalSpacing(2);
        return std::pair{grp, l};
    };
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setSpacing(6);

    {
        auto [grp, l] = group("A warmer or cooler year");
        l->addWidget(note("All 12 month of the year will be affected.", grp), 0, 0, 1, 3);
        l->addWidget(box(1, grp), 1, 0);
        l->addWidget(note("%", grp), 1, 1);
        l->addWidget(note("-50.00%   to   +80.00%", grp), 1, 2);
        grid->addWidget(grp, 0, 0);
    }
    {
        auto [grp, l] = group("A warmer summer");
        l->addWidget(note("Warmest months will be affected most", grp), 0, 0, 1, 4);
        l->addWidget(note("Outdoor", grp), 1, 0);
        l->addWidget(box(2, grp), 1, 1);
        l->addWidget(note("%", grp), 1, 2);
        l->addWidget(note("Indoor", grp), 2, 0);
        l->addWidget(box(3, grp), 2, 1);
        l->addWidget(note("%", grp), 2, 2);
        l->addWidget(note("-80.00%    to  +80.00%", grp), 1, 3, 2, 1);
        grid->addWidget(grp, 0, 1);
    }
    {
        auto [grp, l] = group("Pool size compensator");
        l->addWidget(
            note("Large pools have prpotionaly more heat loss owing to larger filteration systems, depth etc.", grp), 0,
            0, 1, 8);
        const char* classes[] = {"540", "720", "800", "980", "1,100", "2,200", "5,000", "12,000"};
        for (int k = 0; k < 8; ++k) {
            l->addWidget(note(classes[k], grp), 1, k, Qt::AlignCenter);
            auto* cell = new QHBoxLayout();
            cell->setSpacing(1);
            cell->addWidget(box(4 + k, grp));
            cell->addWidget(note("%", grp));
            l->addLayout(cell, 2, k);
        }
        l->addWidget(note("0%    to  +99%", grp), 3, 0, 1, 8);
        grid->addWidget(grp, 1, 0, 1, 2);
    }
    {
        auto [grp, l] = group("System selector buffer");
        l->addWidget(note("Force the program to select a larger or smaller system", grp), 0, 0, 1, 3);
        const char* rows[] = {"HX 310", "HX 520", "HX 730"};
        for (int k = 0; k < 3; ++k) {
            l->addWidget(note(rows[k], grp), 1 + k, 0);
            l->addWidget(box(12 + k, grp), 1 + k, 1);
            l->addWidget(note("Btu", grp), 1 + k, 2);
        }
        l->setColumnStretch(2, 1);
        grid->addWidget(grp, 2, 0, 2, 1);
    }
    {
        auto [grp, l] = group("Reverse flow savings");
        l->addWidget(note("Reduce the heating load in a swimming pool ", grp), 0, 0, 1, 3);
        l->addWidget(note("( Not for spas )", grp), 1, 0, 1, 3);
        l->addWidget(box(15, grp), 2, 0);
        l->addWidget(note("%", grp), 2, 1);
        l->addWidget(note("Max 40%", grp), 2, 2);
        l->setColumnStretch(2, 1);
        grid->addWidget(grp, 2, 1);
        auto [c, cl] = group("Pool cover quality");
        cl->addWidget(note("0% is excelnt 50% is very bad", c), 0, 0, 1, 2);
        cl->addWidget(box(16, c), 1, 0);
        cl->setColumnStretch(1, 1);
        grid->addWidget(c, 3, 1);
    }
    {
        auto* row = new QHBoxLayout();
        Check1 = new plat::CheckBox("", this);
        Check1->Click = [this](int) { Check1_Click(); };
        row->addWidget(Check1, 0, Qt::AlignTop);
        auto* lowtemp = note(
            "The heat pump requires a minimum temperature to operate. Check the box to allow the heat "
            "pump compensation feature at lower than minimum temperatures.",
            this, true);
        lowtemp->setMinimumWidth(330);
        row->addWidget(lowtemp, 1);
        SSCommand2 = new plat::CommandButton("7 days buffer", this);
        SSCommand2->Click = [this](int) { PumpOffBuff(); };
        SSCommand1 = new plat::CommandButton("Save/Exit", this);
        SSCommand1->Click = [this](int) { Unload(); };
        row->addWidget(SSCommand2, 0, Qt::AlignBottom);
        row->addWidget(SSCommand1, 0, Qt::AlignBottom);
        grid->addLayout(row, 4, 0, 1, 2);
    }
}

void setheat::Form_Load() {
    SetCaption("Heater adjustment factors");
    fit_window(this);
    // The box as loaded is clear; ticking it runs Click, which stores 1.
    // Any other value than 1 is shown clear and kept until a click.
    {
        const QSignalBlocker quiet(Check1);
        Check1->setChecked(false);
    }
    if (g.allow_lowtemp == 1) Check1->SetValue(1);
    // Each fill runs the box's Change: the globals take the shown precision.
    for (int n = 1; n <= heatfactors::kBoxes; ++n) Text[n]->SetText(QString::fromStdString(heatfactors::shown(n)));
    menu_child_loaded();
}

void setheat::Check1_Click() { g.allow_lowtemp = Check1->isChecked() ? 1 : 0; }

void setheat::Text_Change(int n) { heatfactors::store(n, Text[n]->Text().toStdString()); }

void setheat::Text_KeyPress(int n, int& key) {
    if (heatfactors::key_passes(n, key)) return;
    const int typed = key;
    key = 0;
    if (typed != 27) numbers_only();
    Text[n]->SetText("");
}

void setheat::Text_LostFocus(int n) {
    plat::TextBox* b = Text[n];
    if (heatfactors::in_range(n, b->Text().toStdString())) {
        b->SetText(QString::fromStdString(heatfactors::shown(n)));
        return;
    }
    ui::MsgBox("Wrong input", ui::vbOKOnly, "Error");
    b->SetText("");
    // Back into the box once the focus change that left it is over.
    QTimer::singleShot(0, b, [b] { b->setFocus(Qt::OtherFocusReason); });
}

void setheat::PumpOffBuff() { heatfactors::PumpOffBuff(); }

void setheat::Form_Deactivate() { reclaim_focus(this); }

void setheat::Form_Unload(int& /*cancel*/) {
    Dfltout();
    menu_move_home();
    menu_child_unloaded();
    project_follows();
}
