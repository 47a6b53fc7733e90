#include "dealer/ui/filldata.h"

#include <QGridLayout>

#include <QHBoxLayout>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/data.h"
#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "dealer/ui/protocol.h"
#include "dealer/ui/setdata.h"
#include "platform/instances.h"

namespace {

QPointer<filldata> g_filldata;

constexpr int kState = 5;  // Text4(5): the state box takes any key

}  // namespace

filldata* frm_filldata() { return plat::instance(g_filldata); }
filldata* existing_filldata() { return g_filldata.data(); }

filldata::filldata() : plat::Form("filldata") {}

void filldata::build() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(14);
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

    auto box = [this](plat::ControlArray<plat::TextBox>& array, int i, bool anyKey) {
        auto* b = new plat::TextBox(this, i);
        b->setFixedWidth(62);
        b->setAlignment(anyKey ? Qt::AlignLeft : Qt::AlignRight);
        b->GotFocus = [this](int) { clear_on_key = 1; };
        b->KeyPress = [this, b, anyKey](int, int& key) { key_press(b, anyKey, key); };
        array[i] = b;
        return b;
    };

    // Two blocks of six months: humidity, radiation and air temperature.
    for (int block = 0; block < 2; ++block) {
        auto* grid = new QGridLayout();
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(3);
        auto* head = new QLabel("RH                LANG          AMB temp F", this);
        head->setMinimumWidth(head->sizeHint().width());  // never cut, whatever the font
        grid->addWidget(head, 0, 1, 1, 3);
        for (int r = 0; r < 6; ++r) {
            const int m = block * 6 + r;
            grid->addWidget(new QLabel(kMonths[m], this), r + 1, 0);
            grid->addWidget(box(Text1, m, false), r + 1, 1);
            grid->addWidget(box(Text2, m, false), r + 1, 2);
            grid->addWidget(box(Text3, m, false), r + 1, 3);
        }
        grid->setRowStretch(7, 1);
        outer->addLayout(grid);
    }

    // Prices, wind, state, the city and the buttons.
    auto* right = new QGridLayout();
    right->setHorizontalSpacing(6);
    right->setVerticalSpacing(3);
    auto* city = new QHBoxLayout();
    city->addWidget(new QLabel("City:", this));
    Label26 = new QLabel(this);
    Label26->setObjectName("Label26");
    city->addWidget(Label26, 1);
    Label23 = new QLabel(this);
    Label23->setObjectName("Label23");
    city->addWidget(Label23);
    right->addLayout(city, 0, 0, 1, 3);
    right->addWidget(new QLabel("Cost:", this), 1, 0);
    static const char* const kNames[5] = {"Electricity", "Natural Gas", "Propane", "Fuel oil", "Wind speed"};
    static const char* const kUnits[5] = {"KWH", "THERM", "GALLON", "GALLON", "MPH"};
    for (int k = 0; k < 5; ++k) {
        right->addWidget(new QLabel(kNames[k], this), k + 2, 0);
        right->addWidget(box(Text4, k, false), k + 2, 1);
        right->addWidget(new QLabel(kUnits[k], this), k + 2, 2);
    }
    right->addWidget(new QLabel("State:", this), 7, 0);
    plat::TextBox* state = box(Text4, kState, true);
    state->setFixedWidth(130);
    state->setMaxLength(25);
    right->addWidget(state, 7, 1, 1, 2);

    auto* buttons = new QHBoxLayout();
    SSCommand1 = new plat::CommandButton("Save/Exit", this);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    SSCommand2 = new plat::CommandButton("Cancel", this);
    SSCommand2->Click = [this](int) { SSCommand2_Click(); };
    // Offered for a new city only: says what it does, as its neighbours do.
    SSCommand3 = new plat::CommandButton("Dummy values", this);
    SSCommand3->Click = [this](int) { SSCommand3_Click(); };
    buttons->addWidget(SSCommand1);
    buttons->addWidget(SSCommand2);
    buttons->addWidget(SSCommand3);
    right->addLayout(buttons, 9, 0, 1, 3);
    right->setRowStretch(8, 1);
    outer->addLayout(right, 1);
    SetCaption("City Weather Data File");
}

void filldata::Form_Load() {
    discard_ = false;
    clear_on_key = 0;
    Label23->setText(QString::fromStdString(" " + std::to_string(g.cur_city)));
    SSCommand3->setVisible(g.new_city != 0);
    fill_text();
    fit_window(this);
}

void filldata::fill_text() {
    const bool known = g.new_city == 0 && g.cur_city >= 1 && g.cur_city <= static_cast<int>(records::kMaxCities);
    CityRecord& r = g.city_tab[std::clamp<int>(g.cur_city, 0, static_cast<int>(records::kMaxCities))];
    const citydata::Boxes b = known ? citydata::to_boxes(r) : citydata::empty_boxes();
    if (known) r.state = vb::FixLen(b.state, 25);
    for (int m = 0; m < 12; ++m) {
        Text1[m]->SetText(QString::fromStdString(b.humidity[m]));
        Text2[m]->SetText(QString::fromStdString(b.sun[m]));
        Text3[m]->SetText(QString::fromStdString(b.air[m]));
    }
    for (int k = 0; k < 5; ++k) Text4[k]->SetText(QString::fromStdString(b.cost[k]));
    Text4[kState]->SetText(QString::fromStdString(b.state));
    Label26->setText(QString::fromStdString(r.city));
}

CityRecord filldata::read_txt() const {
    citydata::Boxes b;
    for (int m = 0; m < 12; ++m) {
        b.humidity[m] = Text1.at(m)->Text().toStdString();
        b.sun[m] = Text2.at(m)->Text().toStdString();
        b.air[m] = Text3.at(m)->Text().toStdString();
    }
    for (int k = 0; k < 5; ++k) b.cost[k] = Text4.at(k)->Text().toStdString();
    b.state = Text4.at(kState)->Text().toStdString();
    return citydata::from_boxes(b, Label26->text().toStdString());
}

void filldata::key_press(plat::TextBox* box, bool anyKey, int& key) {
    if (clear_on_key == 1) {
        clear_on_key = 0;
        box->SetText("");
    }
    if ((key >= '0' && key <= '9') || key == 8 || key == 127 || key == '.') return;
    if (key == 27) {
        key = 0;
        box->SetText("");
        return;
    }
    if (anyKey) return;
    key = 0;
    numbers_only();
    box->SetText("");
}

void filldata::SSCommand3_Click() {
    // No by default: the dummy values replace the months the dealer typed.
    if (ui::MsgBox("Are you sure you want to\rinsert dummy values? ", ui::vbYesNo | ui::vbDefaultButton2,
                   "About to overwrite values") != ui::vbYes)
        return;
    for (int m = 0; m < 12; ++m) {
        Text1[m]->SetText("80.00");
        Text2[m]->SetText("180.00");
        Text3[m]->SetText("80.00");
    }
    for (int k = 0; k < 4; ++k) Text4[k]->SetText("1");
    Text4[4]->SetText("2.5");
}

void filldata::SSCommand1_Click() {
    if (Text4[kState]->Text().trimmed().isEmpty()) Text4[kState]->SetText("Unknown");
    Unload();
}

// "Cancel" leaves location.dat exactly as it was, for a new city and for
// an edited one.
void filldata::SSCommand2_Click() {
    discard_ = true;
    if (!Unload()) discard_ = false;
}

void filldata::Form_Unload(int& cancel) {
    if (!discard_) {
        clear_file_attrs();
        const CityRecord r = read_txt();
        const int count = static_cast<int>(citydata::load(g.data_dir).size());
        const int rec = g.new_city == 1 ? count + 1 : g.cur_city;
        std::string why;
        if (!citydata::put(g.data_dir, rec, r, &why)) {
            // Nothing was written: the old file stays whole and the typed
            // values stay in the boxes for another try or "Cancel".
            ui::MsgBox(why, ui::vbOKOnly, "Cities 5");
            cancel = 1;
            return;
        }
        if (g.new_city == 1) g.cities_changed = 1;
        g.new_city = 0;
        g.city_count = static_cast<i16>(std::max(count, rec));
        if (rec >= 1 && rec <= static_cast<int>(records::kMaxCities)) g.city_tab[rec] = r;
    }
    g.new_city = 0;
    discard_ = false;
    // The list window comes back; its activation rebuilds the lists.
    if (setdata* s = existing_setdata(); s && s->isLoaded() && !s->closing()) {
        s->SetVisible(true);
        s->ZOrder(0);
    }
}
