#include "dealer/ui/setoutp.h"

#include <QGridLayout>

#include "app/data.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "dealer/ui/protocol.h"

setoutp::setoutp() : plat::Form("setoutp") { keep_focus(this); }

void setoutp::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    auto* heads = new QLabel("      BTU              C.O.P.                   BTU             C.O.P.", this);
    heads->setObjectName("Label1");
    grid->addWidget(heads, 0, 0, 1, 6);
    grid->addWidget(new QLabel("F°", this), 1, 0);
    grid->addWidget(new QLabel("F°", this), 1, 3);
    const char* temps[] = {"50", "55", "60", "65", "70", "75", "80", "85"};
    for (int i = 0; i < 8; ++i) {
        const int col = i < 4 ? 0 : 3;
        const int row = 2 + i % 4;
        grid->addWidget(new QLabel(temps[i], this), row, col);
        for (int k = 0; k < 2; ++k) {
            auto* b = new plat::NumBox(this, i);
            b->setMaximumWidth(70);
            b->setAlignment(Qt::AlignRight);
            b->Change = [this](int index) { Text_Change(index); };
            // Every point passes ("1.2.3" is stored as 1.2); a refused key
            // empties the box after the warning, Esc empties it silently:
            // an empty box is a factor of 0, no adjustment.
            b->SetEveryPoint(true);
            b->Refused = [b] {
                numbers_only();
                b->SetText("");
            };
            b->Escape = [b] { b->SetText(""); };
            (k == 0 ? Text1 : Text2)[i] = b;
            grid->addWidget(b, row, col + 1 + k);
        }
    }
    auto* l4 =
        new QLabel("0.5 is half and 2 is double the C.O.P. or BTU output 1.0000 or 0.0000 means no adjustment", this);
    l4->setWordWrap(true);
    grid->addWidget(l4, 6, 0, 1, 6);
    auto* l3 = new QLabel(
        "IMPORTANT! First set the above adjustments to zero, while adjusting the heater factors. If "
        "necessary adjust these settings in small increments. ",
        this);
    l3->setWordWrap(true);
    grid->addWidget(l3, 7, 0, 1, 6);
    SSCommand1 = new plat::CommandButton("Save/Exit", this);
    SSCommand2 = new plat::CommandButton("Cancel", this);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    SSCommand2->Click = [this](int) { SSCommand2_Click(); };
    grid->addWidget(SSCommand1, 8, 0, 1, 3);
    grid->addWidget(SSCommand2, 8, 3, 1, 3);
    grid->setRowStretch(9, 1);
}

void setoutp::Form_Load() {
    SetCaption("Hard disk HP data compensating factors");
    fit_window(this);
    cancelled_ = false;
    // The factors held in memory: reading the settings file again here
    // would throw away every setting changed since it was last written.
    for (int i = 1; i <= 8; ++i) {
        Text1[i - 1]->SetText(QString::fromStdString(vb::Format(g.hp_btu_factor[i], "#0.0000")));
        Text2[i - 1]->SetText(QString::fromStdString(vb::Format(g.hp_cop_factor[i], "#0.0000")));
    }
    menu_child_loaded();
}

void setoutp::Text_Change(int) { box_changed = 1; }

void setoutp::SSCommand1_Click() { Unload(); }

// Leaves the factors as they were before the window opened: nothing typed
// is stored and the settings file is not written.
void setoutp::SSCommand2_Click() {
    cancelled_ = true;
    if (!Unload()) cancelled_ = false;
}

void setoutp::Form_Deactivate() {
    if (g.calculator_open == 0) reclaim_focus(this);
}

void setoutp::Form_Unload(int& /*cancel*/) {
    if (box_changed == 1 && !cancelled_) {
        for (int i = 1; i <= 8; ++i)
            g.hp_cop_factor[i] = static_cast<float>(vb::Val(Text2[i - 1]->Text().toStdString()));
        for (int i = 1; i <= 8; ++i)
            g.hp_btu_factor[i] = static_cast<float>(vb::Val(Text1[i - 1]->Text().toStdString()));
        Dfltout();
    }
    cancelled_ = false;
    menu_child_unloaded();
    project_follows();
}
