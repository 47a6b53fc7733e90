#include "dealer/ui/custname.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"

custname::custname() : plat::Form("custname") {}

void custname::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setVerticalSpacing(8);
    const char* labels[] = {"Name:", "Street:", "City, State, Zip:"};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(labels[i], this), i, 0);
        auto* b = new plat::TextBox(this, i);
        b->setMinimumWidth(230);
        b->Change = [this](int k) { Text1_Change(k); };
        b->KeyPress = [this](int k, int& key) { Text1_KeyPress(k, key); };
        Text1[i] = b;
        grid->addWidget(b, i, 1);
    }
    SSCommand1 = new plat::CommandButton("Continue", this);
    SSCommand1->setMinimumWidth(100);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    grid->addWidget(SSCommand1, 3, 1, Qt::AlignRight);
    grid->setRowStretch(4, 1);
}

void custname::set_cust_flag() { g.sound_wait = 1; }
void custname::clear_cust_flag() { g.sound_wait = 0; }

void custname::Form_Load() {
    SetCaption("Customer's name and address");
    // Copies first: filling box 0 stores all three boxes, the still empty
    // boxes 1 and 2 included.
    const std::string lines[3] = {g.cust_name, g.cust_street, g.cust_city};
    for (int i = 0; i < 3; ++i) Text1[i]->SetText(QString::fromStdString(lines[i]));
}

void custname::Form_Activate() { brand_caption(); }

void custname::mousePressEvent(QMouseEvent* e) {
    plat::Form::mousePressEvent(e);
    Form_Click();
}

void custname::Form_Click() {
    if (g.cust_win_state != 1 && windows().show_custname) windows().show_custname();
}

void custname::Text1_Change(int index) {
    const std::string text = Text1[index]->Text().toStdString();
    if (vb::Len(text) > static_cast<std::size_t>(limit(index))) {
        warn_truncate(limit(index));
        return;
    }
    g.cust_name = vb::Left(Text1[0]->Text().toStdString(), limit(0));
    g.cust_street = vb::Left(Text1[1]->Text().toStdString(), limit(1));
    g.cust_city = vb::Left(Text1[2]->Text().toStdString(), limit(2));
}

void custname::warn_truncate(int limit) {
    g.crlf = "\r\n";
    ui::Beep();
    ui::MsgBox("Maximum " + std::to_string(limit) + " characters" + g.crlf + "are allowed for this line." + g.crlf +
                   "This line will be truncated.",
               ui::vbExclamation, "Error");
}

void custname::Text1_KeyPress(int index, int& key) {
    if (key == 27) {
        key = 0;
        Text1[index]->SetText("");
    } else if (key == '*') {
        key = 0;
        ui::Beep();
        ui::MsgBox("Illigal input", ui::vbExclamation, "Error");
    }
}

void custname::give_back_input_window() {
    g.cust_done = 1;
    if (plat::Form* w = windows().weathers.existing()) {
        w->SetEnabled(true);
        w->ZOrder(0);
    }
}

void custname::SSCommand1_Click() {
    give_back_input_window();
    Unload();
}

void custname::Form_Unload(int& /*cancel*/) { give_back_input_window(); }

void show_custname() {
    if (!windows().custname) return;
    auto* f = static_cast<custname*>(windows().custname());
    f->Move(2170, 1600, 5565, 3045);
    // Copies first: filling box 0 stores all three boxes through their
    // Change handler, which would otherwise wipe the street and city lines
    // before they are put in.
    const std::string lines[3] = {g.cust_name, g.cust_street, g.cust_city};
    for (int i = 0; i < 3; ++i) f->Text1[i]->SetText(QString::fromStdString(lines[i]));
    g.cust_win_state = 1;
    f->ZOrder(0);  // in front and active, whoever opened it
}
