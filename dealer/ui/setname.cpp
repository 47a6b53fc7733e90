#include "dealer/ui/setname.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "app/data.h"
#include "app/model.h"
#include "core/windows.h"
#include "dealer/ui/menu.h"
#include "dealer/ui/protocol.h"

namespace {
const char* const kBrands[] = {"Kestrolin", "Tindraly", "Morvenic"};

bool is_enter(QEvent* e) {
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) return false;
    const int k = static_cast<QKeyEvent*>(e)->key();
    return k == Qt::Key_Return || k == Qt::Key_Enter;
}

}  // namespace

std::string brand_word_of(int code) {
    if (code == 0 || code == 1) return kBrands[0];
    if (code == 2 || code == 3) return kBrands[code - 1];
    return {};
}

// ---- setname -------------------------------------------------------------------

setname::setname() : plat::Form("setname") { keep_focus(this); }

void setname::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setVerticalSpacing(8);
    grid->addWidget(new QLabel("Brand:", this), 0, 0);
    // Editable with a read-only text: it shows the brand in use while no
    // entry of the list is selected.
    Combo1 = new plat::ComboBox(this, 0, true);
    Combo1->lineEdit()->setReadOnly(true);
    Combo1->setMinimumContentsLength(12);
    Combo1->Click = [this](int) { Combo1_Click(); };
    grid->addWidget(Combo1, 0, 1);
    Option1 = new plat::OptionButton("First office", this, 0);
    Option2 = new plat::OptionButton("Second office", this, 1);
    grid->addWidget(Option1, 1, 0, 1, 2);
    grid->addWidget(Option2, 2, 0, 1, 2);
    SSCheck1 = new plat::CheckBox("Dealer cannot select brand", this);
    SSCheck1->Click = [this](int) { SSCheck1_Click(); };
    grid->addWidget(SSCheck1, 3, 0, 1, 2);
    SSCommand1 = new plat::CommandButton("Save\\Exit", this);
    SSCommand1->setMinimumWidth(100);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    grid->addWidget(SSCommand1, 4, 1, Qt::AlignRight);
    grid->setRowStretch(5, 1);
    for (QWidget* w : {static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Combo1->lineEdit()),
                       static_cast<QWidget*>(SSCheck1), static_cast<QWidget*>(SSCommand1)})
        w->installEventFilter(this);
}

// Enter does not close the window, wherever it is pressed.
bool setname::eventFilter(QObject* o, QEvent* e) {
    if (is_enter(e)) {
        e->accept();
        return true;
    }
    return plat::Form::eventFilter(o, e);
}

void setname::keyPressEvent(QKeyEvent* e) {
    if (is_enter(e)) {
        e->accept();
        return;
    }
    plat::Form::keyPressEvent(e);
}

void setname::Form_Load() {
    SetCaption("Brand name selection");
    fit_window(this);
    Combo1->Clear();
    Combo1->setEditText(QString::fromStdString(brand_word_of(g.brand_code)));
    for (const char* b : kBrands) Combo1->AddItem(b);
    if (g.from_menu == 1) menu_child_loaded();
    SSCheck1->SetValue(g.dealer_lock[2]);
    if (g.company_var != 0) Option2->SetValue(true);
    else Option1->SetValue(true);
}

void setname::Form_Deactivate() { reclaim_focus(this); }

void setname::Combo1_Click() {
    if (Combo1->ListIndex() < 0) return;
    g.brand_code = static_cast<i16>(Combo1->ListIndex() + 1);
    if (g.brand_code >= 1 && g.brand_code <= 3) g.pump_rec = g.brand_code;
    brand_caption();  // refreshes the shared display strings
}

void setname::SSCheck1_Click() { g.dealer_lock[2] = SSCheck1->isChecked() ? -1 : 0; }

void setname::take_brand() {
    // No entry picked: the brand shown (the one in use) stays, rather than
    // a brand number 0 that no longer matches the record and brand word.
    int code = Combo1->ListIndex() + 1;
    if (code == 0) {
        for (int i = 0; i < 3; ++i)
            if (Combo1->Text().trimmed() == kBrands[i]) code = i + 1;
        if (code == 0) return;
    }
    g.brand_code = static_cast<i16>(code);
    g.pump_rec = g.brand_code;
    g.brand_name = brand_word_of(code);
    if (windows().set_brand_box) windows().set_brand_box(g.brand_name);
}

void setname::SSCommand1_Click() { Unload(); }

void setname::Form_Unload(int& /*cancel*/) {
    // The close box keeps the brand as "Save\Exit" does: brand number,
    // record, brand word and the input window's brand box stay together.
    take_brand();
    g.company_var = Option1->Value() ? 0 : 1;
    Dfltout();
    if (g.menu_open == 1) {
        menu_move_home();
        if (menu* m = existing_menu()) {
            m->Show();
            m->ZOrder(0);
        }
    }
    give_back_opener();
    project_follows();
}

// ---- Names -----------------------------------------------------------------------

Names::Names() : plat::Form("Names") {}

void Names::build() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(14, 12, 14, 12);
    List1 = new QListWidget(this);
    List1->setFont(QFont("Courier New", 10));
    List1->setMinimumSize(180, 60);
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) List1_Click();
    });
    v->addWidget(List1);
    SSCheck1 = new plat::CheckBox("Competitors", this);
    v->addWidget(SSCheck1);
    SSCommand1 = new plat::CommandButton("Save/Exit", this);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    v->addWidget(SSCommand1, 0, Qt::AlignRight);
}

void Names::sets_options() {
    if (g.series_sel == 0) g.series_sel = 1;
    List1->clear();
    std::string word;
    switch (g.brand_code) {
        case 0:
        case 1:
            g.brand_code = 1;
            word = "Kestrolin";
            break;
        case 2: word = "Tindraly"; break;
        case 3: word = "Morvenic"; break;
        default: break;
    }
    if (word.empty()) return;  // no entries, so nothing to select
    for (const char* s : {"A", "D"}) {
        std::string e = word;
        e.resize(13, ' ');
        List1->addItem(QString::fromStdString(e + s));
    }
    const int row = g.series_sel - 1;
    if (row >= 0 && row < List1->count()) List1->setCurrentRow(row);
}

void Names::Form_Load() {
    SetCaption("Brand name selection");
    fit_window(this);
    sets_options();
    SSCheck1->SetValue(g.compet_check != 0 ? 1 : 0);
}

void Names::Form_Activate() { SSCheck1->SetValue(g.compet_check != 0 ? 1 : 0); }

void Names::List1_Click() { g.series_sel = static_cast<i16>(List1->currentRow() + 1); }

void Names::SSCommand1_Click() { Unload(); }

void Names::Form_Unload(int& /*cancel*/) {
    g.compet_check = SSCheck1->isChecked() ? 1.0f : 0.0f;
    Dfltout();
    project_follows();
}
