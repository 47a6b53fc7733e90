#include "dealer/ui/coname.h"

#include <QGridLayout>
#include <QLabel>

#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "dealer/ui/protocol.h"

coname::coname() : plat::Form("coname") {}

void coname::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setVerticalSpacing(10);
    grid->addWidget(new QLabel("Company name:", this), 0, 0);
    Text1 = new plat::TextBox(this, 0);
    Text1->setMinimumWidth(300);
    Text1->Change = [this](int) { Text1_Change(); };
    grid->addWidget(Text1, 0, 1, 1, 2);
    Check1 = new plat::CheckBox("Include HP prices and finance calculator", this);
    Check1->Click = [this](int) { Check1_Click(); };
    grid->addWidget(Check1, 1, 0, 1, 3);
    SSCommand1 = new plat::CommandButton("Save/Exit", this);
    SSCommand1->setMinimumWidth(100);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    grid->addWidget(SSCommand1, 2, 2, Qt::AlignRight);
    grid->setRowStretch(3, 1);
}

void coname::Form_Load() {
    SetCaption("Company's name");
    fit_window(this);
    Text1->SetText(QString::fromStdString(g.company_name));
    if (g.from_menu == 1) menu_child_loaded();
}

void coname::Form_Activate() {
    Text1->SetText(QString::fromStdString(g.company_name));
    Check1->SetValue(g.no_prices != 0 ? 0 : 1);
}

void coname::Text1_Change() {
    std::string name = vb::Trim(Text1->Text().toStdString());
    if (vb::Len(name) > kMaxName) {
        ui::MsgBox("Maximum 34 letters", ui::vbOKOnly, "Error");
        name = vb::Left(name, kMaxName);
        Text1->SetText(QString::fromStdString(name));  // runs this handler again, now within the limit
        name = vb::Trim(name);                         // a cut that ends in a blank stores no blank
    }
    g.company_name = name;
}

void coname::Check1_Click() { g.no_prices = Check1->Value() == 1 ? 0 : 1; }

void coname::SSCommand1_Click() { Unload(); }

void coname::Form_Unload(int& /*cancel*/) {
    give_back_opener();
    project_follows();
}
