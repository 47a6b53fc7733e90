#include "dealer/ui/setdata.h"

#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "app/data.h"
#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "dealer/ui/filldata.h"
#include "dealer/ui/protocol.h"
#include "platform/instances.h"

namespace {

QPointer<setdata> g_setdata;

const char* const kRegionNames[citydata::kRegions] = {"Florida", "US Other", "Non US"};

QString q(const std::string& s) { return QString::fromStdString(s); }

// The city and state of a record as the messages name them (a Florida city
// by its code).
void names_of(const CityRecord& r, int region, std::string& city, std::string& state) {
    city = vb::Trim(r.city);
    state = region == 0 ? "FL" : vb::Trim(r.state);
}

}  // namespace

setdata* frm_setdata() { return plat::instance(g_setdata); }
setdata* existing_setdata() { return g_setdata.data(); }

std::function<void()>& setdata_end_program() {
    static std::function<void()> end = [] {
        // After the current handler, at once: the open project was saved
        // with the settings, and no question may keep the program running
        // on city lists the other windows still hold from before.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    };
    return end;
}

setdata::setdata() : plat::Form("setdata") {}

void setdata::build() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    // Left: the region and its list.
    auto* head = new QHBoxLayout();
    head->addWidget(new QLabel("City list", this));
    Combo1 = new plat::ComboBox(this);
    Combo1->Click = [this](int) { Combo1_Click(); };
    head->addWidget(Combo1, 1);
    head->addWidget(new QLabel("<<", this));
    grid->addLayout(head, 0, 0);

    QFont courier("Courier New");
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(9);
    auto* holder = new QWidget(this);
    stack_ = new QStackedLayout(holder);
    for (int k = 0; k < citydata::kRegions; ++k) {
        auto* l = new QListWidget(holder);
        l->setObjectName(QString("List1_%1").arg(k));
        l->setFont(courier);
        connect(l, &QListWidget::currentRowChanged, this, [this, k](int row) {
            if (row >= 0) List1_Click(k);
        });
        connect(l, &QListWidget::itemDoubleClicked, this, [this, k] { List1_DblClick(k); });
        List1[k] = l;
        stack_->addWidget(l);
    }
    grid->addWidget(holder, 1, 0, 3, 1);

    // Right: the new name and the buttons.
    auto* right = new QVBoxLayout();
    auto* hint = new QLabel("Input city name only, No state, No comma", this);
    hint->setWordWrap(true);
    right->addWidget(hint);
    Text1 = new plat::TextBox(this);
    right->addWidget(Text1);
    auto button = [this, right](const char* caption, void (setdata::*handler)()) {
        auto* b = new plat::CommandButton(caption, this);
        b->setMinimumHeight(26);
        b->Click = [this, handler](int) { (this->*handler)(); };
        right->addWidget(b);
        return b;
    };
    SSCommand1 = button("Add new", &setdata::SSCommand1_Click);
    SSCommand2 = button("Edit city", &setdata::SSCommand2_Click);
    SSCommand3 = button("Delete city", &setdata::SSCommand3_Click);
    SSCommand5 = button("Delete Weather file", &setdata::SSCommand5_Click);
    right->addStretch(1);
    SSCommand4 = button("Save/Exit", &setdata::SSCommand4_Click);
    grid->addLayout(right, 0, 1, 2, 1);

    auto* frame = new QGroupBox("On screen city display", this);
    auto* opts = new QVBoxLayout(frame);
    opts->setSpacing(2);
    const char* const captions[4] = {"  Alll cities", "  Florida cities", "  Cities in other states",
                                     "  Non US cities"};
    for (int i = 0; i < 4; ++i) {
        auto* o = new plat::OptionButton(captions[i], frame, i);
        o->Click = [this](int k) { SSOption1_Click(k); };
        SSOption1[i] = o;
        opts->addWidget(o);
    }
    grid->addWidget(frame, 2, 1, 2, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(1, 1);
    SetCaption("Weather and energy data files");
}

void setdata::Form_Load() {
    menu_child_loaded();
    closing_ = false;
    Text1->SetText("");
    Dfltout();
    Combo1->Clear();
    for (const char* name : kRegionNames) Combo1->AddItem(name);
    warned_more_ = false;
    sel_area();
    fit_window(this);
}

void setdata::Form_Activate() {
    if (auto* o = plat::element(SSOption1, g.area_sel)) o->SetValue(true);
    loadlist3();
}

void setdata::Form_Deactivate() { g.setwin_open = 0; }

void setdata::Form_Unload(int& /*cancel*/) {
    g.setwin_open = 0;
    closing_ = true;
    if (filldata* f = existing_filldata(); f && f->isLoaded()) f->Unload();
    if (windows().save_project) windows().save_project();  // the program ends below
    Dfltout();
    menu_move_home();
    ui::MsgBox("Please restart the program for changes to take effect");
    if (setdata_end_program()) setdata_end_program()();
}

void setdata::sel_area() {
    if (g.area_group < 0 || g.area_group >= citydata::kRegions) return;
    Combo1->SetText(kRegionNames[g.area_group]);
    stack_->setCurrentIndex(g.area_group);
}

void setdata::loadlist3() {
    bool more = false;
    if (!QFile::exists(QString::fromStdString(g.data_dir + "location.dat"))) {
        // Opening the missing file creates it empty, as every reader expects.
        std::string why;
        records::writeCityBytes(g.data_dir, "", &why);
    }
    cities_ = citydata::load(g.data_dir, &more);
    lists_ = citydata::build_lists(cities_);
    g.city_count = static_cast<i16>(cities_.size());
    g.city_changed = 0;
    const std::string preset = vb::UCase(vb::RTrim(g.preset_city));
    for (std::size_t i = 0; i < cities_.size(); ++i) {
        CityRecord& r = cities_[i];
        r.city = vb::FixLen(vb::Trim(r.city), 39);
        r.state = vb::FixLen(vb::Trim(r.state), 25);
        g.city_tab[i + 1] = r;
        if (!preset.empty() && preset == vb::UCase(vb::RTrim(r.city))) g.city_changed = 1;
    }
    g.city_rec_no = static_cast<i16>(cities_.size());
    if (g.city_changed == 0) g.preset_city.clear();

    for (int k = citydata::kRegions - 1; k >= 0; --k) {
        QSignalBlocker quiet(List1[k]);
        List1[k]->clear();
        QStringList texts;
        texts.reserve(static_cast<int>(lists_[k].size()));
        for (const auto& e : lists_[k]) texts << q(e.text);
        List1[k]->addItems(texts);
    }
    if (more && !warned_more_) {
        warned_more_ = true;
        ui::MsgBox("location.dat holds more than 500 cities." + g.crlf + "Only the first 500 are listed.",
                   ui::vbExclamation, "Set Data loadlist3");
    }
}

const citydata::Entry* setdata::chosen() const {
    if (g.area_group < 0 || g.area_group >= citydata::kRegions) return nullptr;
    const int row = List1[g.area_group]->currentRow();
    const auto& list = lists_[g.area_group];
    if (row < 0 || row >= static_cast<int>(list.size())) return nullptr;
    return &list[row];
}

void setdata::Combo1_Click() {
    const int k = Combo1->ListIndex();
    if (k < 0 || k >= citydata::kRegions) return;
    g.area_group = static_cast<i16>(k);
    sel_area();
    if (List1[k]->count() > 0) List1[k]->setCurrentRow(0);
}

// Choosing a city here only marks it for "Edit city" and "Delete city":
// the project's own city stays what the project input window chose.
void setdata::List1_Click(int k) { (void)k; }

void setdata::List1_DblClick(int k) {
    if (k == g.area_group) SSCommand2_Click();
}

void setdata::SSOption1_Click(int index) { g.area_sel = static_cast<i16>(index); }

void setdata::SSCommand1_Click() {
    g.new_city = 0;
    int listed = 0;
    for (const auto& l : lists_) listed += static_cast<int>(l.size());
    const std::string text = Text1->Text().toStdString();
    switch (citydata::check_new_name(text, listed)) {
        case citydata::NameCheck::TooMany:
            ui::MsgBox(
                "Too many files on record" + g.crlf + "Please remove cities before " + g.crlf + "adding new cities.",
                ui::vbOKOnly, "Error");
            return;
        case citydata::NameCheck::TooLong:
            ui::MsgBox("Maximum 20 characters.", ui::vbOKOnly, "File name is too long");
            Text1->SetText("");
            return;
        case citydata::NameCheck::Missing: ui::MsgBox("Enter a file name", ui::vbOKOnly, "Missing name"); return;
        case citydata::NameCheck::Ok: break;
    }
    const int region = g.area_group >= 0 && g.area_group < citydata::kRegions ? g.area_group : 0;
    const auto& list = lists_[region];
    for (int i : citydata::same_names(list, cities_, text)) {
        std::string city, state;
        names_of(cities_[list[i].record - 1], region, city, state);
        if (ui::MsgBox("The city " + city + " in " + state + " already exist", ui::vbOKCancel, "Continue?") ==
            ui::vbCancel) {
            Text1->SetText("");
            return;
        }
    }
    const QString name = Text1->Text().trimmed();
    List1[region]->addItem(name);

    g.new_city = 1;
    g.city_count = static_cast<i16>(citydata::load(g.data_dir).size());
    g.cur_city = static_cast<i16>(g.city_count + 1);
    if (g.cur_city > static_cast<int>(records::kMaxCities)) {
        // The lists show at most 500 cities; a longer file has no room.
        g.new_city = 0;
        ui::MsgBox("Too many files on record" + g.crlf + "Please remove cities before " + g.crlf + "adding new cities.",
                   ui::vbOKOnly, "Error");
        return;
    }
    g.city_tab[g.cur_city] = citydata::new_record(name.toStdString());
    Text1->SetText("");
    hand_to_editor();
}

void setdata::SSCommand2_Click() {
    const citydata::Entry* e = chosen();
    if (!e || vb::Trim(e->text).empty()) {
        ui::MsgBox("Select a city first", ui::vbOKOnly, "No city selected");
        return;
    }
    // The entry keeps its record number; the file must still hold that
    // city there (nothing else writes it while this window is open).
    const auto now = citydata::load(g.data_dir);
    const int rec = e->record;
    if (rec < 1 || rec > static_cast<int>(now.size()) ||
        vb::Trim(now[rec - 1].city) != vb::Trim(cities_[rec - 1].city) ||
        vb::Trim(now[rec - 1].state) != vb::Trim(cities_[rec - 1].state)) {
        ui::MsgBox("City not found", ui::vbOKOnly, "Edit cities data");
        return;
    }
    g.city_count = static_cast<i16>(now.size());
    g.new_city = 0;
    g.cur_city = static_cast<i16>(rec);
    g.city_tab[rec] = now[rec - 1];
    hand_to_editor();
}

void setdata::hand_to_editor() {
    SetVisible(false);
    filldata* f = frm_filldata();
    if (f->isLoaded()) f->Unload();
    f->Move(400, 0, 8700, 5565);
    f->Show();
    f->ZOrder(0);
}

void setdata::SSCommand3_Click() {
    const citydata::Entry* e = chosen();
    if (!e) {
        ui::MsgBox("Select a city first", ui::vbOKOnly, "No city selected");
        return;
    }
    std::string city, state;
    names_of(cities_[e->record - 1], g.area_group, city, state);
    // No by default: an Enter meant for elsewhere deletes nothing.
    if (ui::MsgBox("Are you sure you want to\rdelete the city " + city + " in " + state + "?",
                   ui::vbYesNo | ui::vbDefaultButton2, "About to delete a city") != ui::vbYes)
        return;
    berase();
    loadlist3();
}

void setdata::berase() {
    const citydata::Entry* e = chosen();
    if (!e) return;
    clear_file_attrs();
    const int rec = e->record;
    const auto now = citydata::load(g.data_dir);
    if (rec < 1 || rec > static_cast<int>(now.size()) ||
        vb::Trim(now[rec - 1].city) != vb::Trim(cities_[rec - 1].city) ||
        vb::Trim(now[rec - 1].state) != vb::Trim(cities_[rec - 1].state)) {
        ui::MsgBox("City not found", ui::vbOKOnly, "Berase - Erase cities");
        return;
    }
    std::string why;
    if (!citydata::erase(g.data_dir, rec, &why)) {
        // Nothing was replaced: location.dat is as it was.
        ui::MsgBox(why, ui::vbOKOnly, "line  38File erase failure");
        return;
    }
    g.city_count = static_cast<i16>(now.size() - 1);
    g.cities_changed = 1;  // the records moved: the project window's lists are rebuilt
}

void setdata::SSCommand5_Click() {
    if (ui::MsgBox("All cities will be erased." + g.crlf + g.crlf + "Are you sure you want to proceed?",
                   ui::vbYesNo | ui::vbDefaultButton2, "Warning") != ui::vbYes)
        return;
    // The lists empty only once the file is gone: a delete that failed
    // (its copy undone) leaves every city listed, as it is in the file.
    std::string why;
    if (!citydata::erase_all(g.data_dir, &why)) {
        ui::MsgBox(why, ui::vbOKOnly, "Warning");
        return;
    }
    for (auto* l : List1) {
        QSignalBlocker quiet(l);
        l->clear();
    }
    for (auto& l : lists_) l.clear();
    cities_.clear();
    const int count = g.city_count;
    for (g.cur_city = 1; g.cur_city <= count && g.cur_city <= static_cast<int>(records::kMaxCities); ++g.cur_city)
        clr_dat();
    g.city_count = 0;
}

void setdata::clr_dat() {
    if (g.cur_city < 0 || g.cur_city > static_cast<int>(records::kMaxCities)) return;
    CityRecord& r = g.city_tab[g.cur_city];
    r = CityRecord{};
    g.calc_month = 13;
    r.city = vb::Space(39);
    r.state = vb::Space(25);
}

void setdata::SSCommand4_Click() { Unload(); }
