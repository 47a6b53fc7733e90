#include "dealer/ui/menu.h"

#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/windows.h"
#include "dealer/ui/protocol.h"
#include "platform/instances.h"

namespace {

QPointer<menu> g_menu;

// The menu's own place and size, twips.
constexpr int kLeft = 2180, kTop = 90, kWidth = 5100, kHeight = 1215;

struct Row {
    const char* text;  // without the trailing blanks
    int pad;           // trailing blanks
    WindowSlot WindowRegistry::*window;
    int left, top, width, height;  // twips
};

const Row kRows[] = {
    {" Company Name", 11, &WindowRegistry::coname, 2500, 1350, 6525, 2640},
    {" Brand Name", 13, &WindowRegistry::setname, 3400, 1400, 4560, 2760},
    {" Measurement System", 5, &WindowRegistry::setsize, 2775, 1400, 8115, 3960},
    {" Weather Data", 11, &WindowRegistry::setdata, 3150, 1400, 6945, 5400},
    {" Finance Key Data", 7, &WindowRegistry::setfin, 1800, 1500, 7890, 5520},
    {" Heater Parameters", 6, &WindowRegistry::setheat, 1750, 1400, 7890, 5450},
    {" Kestrolin HP output", 6, &WindowRegistry::Showpump, 1300, 1400, 8800, 6810},
    {" Output compensators", 4, &WindowRegistry::setoutp, 3300, 1550, 4815, 4815},
};
constexpr int kEntries = static_cast<int>(std::size(kRows));

}  // namespace

menu* existing_menu() { return g_menu.data(); }
menu* frm_menu() { return plat::instance(g_menu); }

void grey_menu(bool grey) {
    menu* m = existing_menu();
    if (g.menu_open != 1 || !m || !m->isLoaded()) return;
    m->set_list_color(grey ? 0xC0C0C0 : 0xFFFFFF);
    m->SetEnabled(!grey);
    if (!grey) menu_to_front_later();
}

void menu_to_front_later() {
    menu* m = existing_menu();
    if (!m || !m->isLoaded()) return;
    // Later, not now: the closing window is still open here, and what runs
    // after this call (its close, the project window's reload) may bring
    // the project window forward; under a window manager a box of it that
    // takes the focus does. Left behind it, the menu's list would be
    // hidden and the dealer's next click meant for it would change the
    // project instead.
    QTimer::singleShot(0, m, [m] {
        if (!m->isLoaded() || !m->Enabled()) return;
        // A window opened meanwhile that keeps the focus (another entry,
        // the calculator) stays in front.
        plat::Form* active = plat::MainWindow::instance()->activeForm();
        if (active && active != m && keeps_focus(active)) return;
        m->ZOrder(0);
    });
}

menu::menu() : plat::Form("menu") { keep_focus(this); }

const std::string& menu::entry(int index) {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (const Row& r : kRows) t.push_back(std::string(r.text) + std::string(r.pad, ' '));
        return t;
    }();
    return texts.at(index);
}

std::string menu::menu_text() { return " Menu" + std::string(19, ' '); }

void menu::build() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(12, 10, 12, 10);
    // An editable list with a read-only text: it shows " Menu" before any
    // entry is chosen, as a plain drop-down cannot.
    Combo1 = new plat::ComboBox(this, 0, true);
    Combo1->lineEdit()->setReadOnly(true);
    Combo1->setFont(QFont("Courier New", 10));
    Combo1->setMaxVisibleItems(kEntries);
    Combo1->setMinimumContentsLength(26);
    // Choosing an entry again (after its window closed) must open it again:
    // `activated` reports every choice, not only a changed index.
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    v->addWidget(Combo1);
    v->addStretch(1);
}

void menu::set_list_color(unsigned rgb) {
    list_rgb_ = rgb;
    if (!Combo1) return;
    QPalette p = Combo1->palette();
    const QColor c(QRgb(0xFF000000u | rgb));
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
        p.setColor(group, QPalette::Button, c);
    }
    // Readable on the grey of a disabled menu.
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
    Combo1->setPalette(p);
    Combo1->lineEdit()->setPalette(p);
}

void menu::Setcmb1() {
    Combo1->Clear();
    Combo1->setEditText(QString::fromStdString(menu_text()));
    for (int i = 0; i < kEntries; ++i) Combo1->AddItem(QString::fromStdString(entry(i)));
}

void menu::Form_Load() {
    SetCaption("Menu");
    item_chosen = 0;
    Move(kLeft, kTop, kWidth, kHeight);
    fit_window(this);
    g.menu_open = 1;
    set_list_color(0xFFFFFF);
    Setcmb1();
}

void menu::Form_Activate() {
    if (plat::Form* b = windows().backgrnd.existing()) b->SetEnabled(false);
    if (g.backup_asked == 0) {
        ui::MsgBox("Did you backup all the data files\rbefore attempting to make changes?", ui::vbQuestion,
                   "IMPORTANT");
        g.backup_asked = 1;
    }
}

void menu::Form_Deactivate() {
    if (item_chosen == 0) reclaim_focus(this);
}

void menu::Combo1_Click() {
    const int index = Combo1->ListIndex();
    if (index < 0 || index >= kEntries) return;
    open_entry(index);
}

void menu::open_entry(int index) {
    const Row& r = kRows[index];
    const WindowSlot& window = windows().*r.window;
    if (!window) return;  // that window is not part of the program (yet)
    switch (index) {
        case 0:
        case 1: g.from_menu = 1; break;
        case 2:
            g.units_from_menu = 1;
            g.from_menu = 1;
            break;
        case 6:
            g.pump_mode = 1;
            g.cur_model = 1;
            break;
        default: break;
    }
    item_chosen = 1;
    plat::Form* f = window();
    // Move loads the window, so its load handler already sees the flags.
    f->Move(r.left, r.top, r.width, r.height);
    if (index == 0 || index == 6 || index == 7) f->Show();
}

void menu::Form_Unload(int& /*cancel*/) {
    unload_settings();
    g.menu_open = 0;
    if (plat::Form* b = windows().backgrnd.existing()) b->SetEnabled(true);
}
