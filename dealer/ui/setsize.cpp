#include "dealer/ui/setsize.h"

#include <QGridLayout>
#include <QGroupBox>

#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/cp1252.h"
#include "core/windows.h"
#include "dealer/ui/menu.h"
#include "dealer/ui/protocol.h"

namespace {

// Characters 178, 179 and 176 of the Windows code page, as UTF-8.
const std::string kSq = cp1252::Chr(178);    // ²
const std::string kCube = cp1252::Chr(179);  // ³
const std::string kDeg = cp1252::Chr(176);   // °

// The entries of Combo1 .. Combo8 in index order.
const std::vector<std::string>& entries(int n) {
    static const std::vector<std::string> lists[9] = {
        {},
        {"US/UK ", "Metric"},
        {"US Gal.", "UK Gal.", "  FT" + kCube, " Liters"},
        {"BTU/FT" + kSq, "Langley", " W-h/M" + kSq},
        {"BTU", "KWH"},
        {"Therm  ", "  BTU  ", "  KWH  ", "100 MJ "},
        {"US Gal.", " Liter ", " FT^3  ", "UK Gal."},
        {"US Gal.", " Liter ", " Pound ", " KGram ", "UK Gal."},
        {"  F" + kDeg, "  C" + kDeg},
    };
    return lists[n];
}

// The flag each list sets, and whether it stores the list index (else 0
// for the first entry and 1.0 for any other).
float* flag(int n) {
    switch (n) {
        case 1: return &g.units_len;
        case 2: return &g.units_vol;
        case 3: return &g.units_sun;
        case 4: return &g.units_heat;
        case 5: return &g.fuel_units[1];
        case 6: return &g.fuel_units[2];
        case 7: return &g.fuel_units[3];
        case 8: return &g.units_temp;
        default: return nullptr;
    }
}
bool stores_index(int n) { return n == 2 || n == 3 || n == 5 || n == 6 || n == 7; }

void set_all(float len, float vol, float sun, float temp, float heat, float gas, float oil, float propane) {
    g.units_len = len;
    g.units_vol = vol;
    g.units_sun = sun;
    g.units_temp = temp;
    g.units_heat = heat;
    g.fuel_units[1] = gas;
    g.fuel_units[2] = oil;
    g.fuel_units[3] = propane;
}

}  // namespace

setsize::setsize() : plat::Form("setsize") { keep_focus(this); }

void setsize::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    auto combo = [this](int n) {
        // Editable with a read-only text: the window shows a flag's entry
        // without selecting it (and without storing anything).
        auto* c = new plat::ComboBox(this, n, true);
        c->lineEdit()->setReadOnly(true);
        c->setMinimumContentsLength(8);
        // Every choice stores, also the entry that is selected already.
        connect(c, &QComboBox::activated, this, [this, n] { Combo_Click(n); });
        Combo[n] = c;
        return c;
    };
    auto label = [this](const char* t) { return new QLabel(t, this); };

    grid->addWidget(label("Area     Lenth     Depth"), 0, 0);
    grid->addWidget(combo(1), 1, 0);
    grid->addWidget(label("Volume"), 0, 1);
    grid->addWidget(combo(2), 1, 1);
    grid->addWidget(label("Sun radiation"), 0, 2);
    grid->addWidget(combo(3), 1, 2);
    grid->addWidget(label("Heating and heat loss"), 0, 3);
    grid->addWidget(combo(4), 1, 3);

    auto* energy = new QGroupBox("Energy", this);
    auto* eg = new QGridLayout(energy);
    eg->addWidget(new QLabel("Natural gas", energy), 0, 0);
    eg->addWidget(new QLabel("Oil", energy), 0, 1);
    eg->addWidget(new QLabel("Propane", energy), 0, 2);
    grid->addWidget(energy, 2, 0, 1, 3);
    eg->addWidget(combo(5), 1, 0);
    eg->addWidget(combo(6), 1, 1);
    eg->addWidget(combo(7), 1, 2);
    grid->addWidget(label("Temperature"), 2, 3, Qt::AlignBottom);
    grid->addWidget(combo(8), 3, 3, Qt::AlignTop);

    auto* presets = new QGroupBox("Pre selected", this);
    auto* pg = new QGridLayout(presets);
    SSCommand1 = new plat::CommandButton("US", presets, 1);
    SSCommand2 = new plat::CommandButton("UK", presets, 2);
    SSCommand3 = new plat::CommandButton("Metric", presets, 3);
    pg->addWidget(SSCommand1, 0, 0);
    pg->addWidget(SSCommand2, 0, 1);
    pg->addWidget(SSCommand3, 0, 2);
    pg->addWidget(new QLabel("Most other countries", presets), 1, 2);
    grid->addWidget(presets, 4, 0, 1, 3);

    auto* access = new QHBoxLayout();
    SSCheck1 = new plat::CheckBox("", this);
    SSCheck1->Click = [this](int) { SSCheck1_Click(); };
    Label11 = new QLabel("Allow dealer access", this);
    Label11->setBuddy(SSCheck1);
    access->addWidget(SSCheck1);
    access->addWidget(Label11);
    access->addStretch(1);
    grid->addLayout(access, 5, 0, 1, 3);

    SSCommand4 = new plat::CommandButton("Save/Exit", this, 4);
    grid->addWidget(SSCommand4, 4, 3, Qt::AlignBottom);
    for (plat::CommandButton* b : {SSCommand1, SSCommand2, SSCommand3, SSCommand4}) {
        b->setMinimumWidth(80);
        b->Click = [this](int n) { SSCommand_Click(n); };
    }
    grid->setRowStretch(6, 1);
}

void setsize::us() { set_all(0, 0, 0, 0, 0, 0, 0, 0); }
void setsize::uk() { set_all(0, 1, 0, 0, 0, 1, 3, 4); }
void setsize::metr() { set_all(1, 3, 1, 1, 1, 3, 1, 1); }

void setsize::setsize_fill() {
    auto show = [this](int n, int entry) { Combo[n]->setEditText(QString::fromStdString(entries(n)[entry])); };
    show(1, g.units_len == 0 ? 0 : 1);
    show(8, g.units_temp == 0 ? 0 : 1);
    show(4, g.units_heat == 0 ? 0 : 1);
    show(3, g.units_sun == 0 ? 0 : g.units_sun == 1 ? 1 : 2);
    // A value that matches no entry leaves these lists as they were.
    for (int n : {2, 5, 6, 7}) {
        const float v = *flag(n);
        for (int i = 0; i < static_cast<int>(entries(n).size()); ++i)
            if (v == static_cast<float>(i)) show(n, i);
    }
}

void setsize::Form_Load() {
    SetCaption("Measurement units");
    for (int n = 1; n <= 8; ++n) {
        Combo[n]->Clear();
        Combo[n]->setEditText("");
        for (const std::string& e : entries(n)) Combo[n]->AddItem(QString::fromStdString(e));
    }
    setsize_fill();
    if (g.from_menu == 1) menu_child_loaded();
    if (g.units_from_menu == 1) {
        g.units_from_menu = 0;
        SSCheck1->setVisible(true);
        Label11->setVisible(true);
        SSCheck1->SetValue(g.dealer_lock[1]);
    } else {
        SSCheck1->setVisible(false);
        Label11->setVisible(false);
    }
    fit_window(this);
}

void setsize::Combo_Click(int n) {
    const int i = Combo[n]->ListIndex();
    if (i < 0) return;
    *flag(n) = stores_index(n) ? static_cast<float>(i) : (i == 0 ? 0.0f : 1.0f);
}

void setsize::SSCheck1_Click() { g.dealer_lock[1] = SSCheck1->isChecked() ? -1 : 0; }

void setsize::SSCommand_Click(int n) {
    switch (n) {
        case 1: us(); break;
        case 2: uk(); break;
        case 3: metr(); break;
        case 4: Unload(); return;
        default: return;
    }
    setsize_fill();
}

void setsize::Form_Deactivate() { reclaim_focus(this); }

void setsize::Form_Unload(int& /*cancel*/) {
    Dfltout();
    menu_move_home();
    give_back_opener();
    project_follows();
}
