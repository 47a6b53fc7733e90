#include "app/ui/pass.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QVBoxLayout>

#include "app/model.h"
#include "app/ui/forms.h"
#include "app/ui/style.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"

const std::vector<AccessCode>& access_codes() {
    static const std::vector<AccessCode> table = {
        {"dealer", AccessTarget::SettingsMenu, "the settings menu"},
        {"units", AccessTarget::MeasurementSystem, "the measurement-system window with \"Allow dealer access\""},
        {"metric", AccessTarget::MeasurementSystem, "the measurement-system window with \"Allow dealer access\""},
    };
    return table;
}

const AccessCode* find_access_code(const std::string& typed) {
    const std::string t = vb::LCase(vb::Trim(typed));
    for (const AccessCode& c : access_codes()) {
        if (t == c.code) return &c;
    }
    return nullptr;
}

namespace {
constexpr int kWidthPx = 380;
constexpr int kHeightPx = 170;
}  // namespace

pass::pass() : plat::Form("pass") {}

void pass::build() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(18, 16, 18, 14);
    v->setSpacing(10);
    Label1 = new QLabel("Type your access code:", this);
    Label1->setFont(uistyle::font(10));
    v->addWidget(Label1);
    Text1 = new plat::TextBox(this, 0);
    Text1->setEchoMode(QLineEdit::Password);
    Text1->setFont(uistyle::font(12));
    Text1->setMinimumHeight(30);
    Text1->KeyPress = [this](int i, int& key) { Text1_KeyPress(i, key); };
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Command1_Click(); });
    v->addWidget(Text1);
    v->addStretch(1);
    auto* h = new QHBoxLayout();
    h->addStretch(1);
    Command1 = new plat::CommandButton("OK", this, 0);
    Command2 = new plat::CommandButton("Cancel", this, 0);
    for (auto* b : {Command1, Command2}) {
        b->setMinimumSize(90, 28);
        b->setFont(uistyle::font(10));
        h->addWidget(b);
    }
    Command1->setDefault(true);
    Command1->Click = [this](int) { Command1_Click(); };
    Command2->Click = [this](int) { Command2_Click(); };
    v->addLayout(h);
}

void pass::Form_Load() {
    SetCaption("Password");
    uistyle::dialog_frame(subWindow());
    const QSize area = plat::MainWindow::instance()->mdi()->size();
    const int left = std::max(0, (area.width() - kWidthPx) / 2);
    const int top = std::max(0, (area.height() - kHeightPx) / 3);
    Move(plat::twips(left), plat::twips(top), plat::twips(kWidthPx), plat::twips(kHeightPx));
    Text1->SetText("");
    Text1->setFocus();
}

// Enter checks the code (returnPressed); Escape leaves.
void pass::Text1_KeyPress(int /*index*/, int& key) {
    if (key == 27) {
        key = 0;
        Command2_Click();
    }
}

void pass::Command2_Click() { Unload(); }

void pass::Command1_Click() {
    const AccessCode* code = find_access_code(Text1->Text().toStdString());
    if (!code) {
        ui::MsgBox("Invalid access code", ui::vbOKOnly | ui::vbExclamation, "Password");
        Text1->SetText("");
        Text1->setFocus();
        return;
    }

    const WindowRegistry& w = windows();
    switch (code->target) {
        case AccessTarget::SettingsMenu: {
            if (!w.menu) {
                ui::MsgBox("The access code is right, but the settings menu is not part of this" + g.crlf +
                               "version of the program yet.",
                           ui::vbOKOnly | ui::vbInformation, "Password");
                break;
            }
            Unload();
            plat::Form* f = w.menu();
            f->Show();  // the menu places itself when it loads
            f->ZOrder(0);
            return;
        }
        case AccessTarget::MeasurementSystem: {
            if (!w.setsize) {
                ui::MsgBox("The access code is right, but the measurement-system window is not part" + g.crlf +
                               "of this version of the program yet.",
                           ui::vbOKOnly | ui::vbInformation, "Password");
                break;
            }
            Unload();
            g.units_from_menu = 1;
            g.from_menu = 0;
            // Like the background window's button: this window hands the
            // background window back when it closes.
            if (plat::Form* b = existing_backgrnd()) b->SetEnabled(false);
            plat::Form* f = w.setsize();
            f->Move(2775, 1400, 8115, 3960);
            f->Show();
            f->ZOrder(0);
            return;
        }
    }
    Text1->SetText("");
}
