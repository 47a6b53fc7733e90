#include "dealer/ui/showpump.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

#include "app/data.h"
#include "app/model.h"
#include "app/records.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "dealer/ui/protocol.h"
#include "platform/instances.h"

namespace {

QPointer<Showpump> g_showpump;

constexpr int kRows = 8;
const char* const kAirRows[kRows] = {"85", "80", "75", "70", "65", "60", "55", "50"};
const char* const kSizes[3] = {"Small", "Medium", "Large"};
constexpr const char* kCompetitorCaption = "Competitor heat pumps";

CompetitorPump& competitor_rec(int k) { return k == 1 ? g.comp1_rec[1] : k == 2 ? g.comp2_rec[1] : g.comp3_rec[1]; }

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Showpump* frm_Showpump() { return plat::instance(g_showpump); }
Showpump* existing_Showpump() { return g_showpump.data(); }

Showpump::Showpump() : plat::Form("Showpump") { keep_focus(this); }

void Showpump::build() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(12);

    // Left: the groups and what is shown.
    auto* left = new QGridLayout();
    left->setVerticalSpacing(4);
    left->addWidget(new QLabel("Group No.", this), 0, 0);
    Label22 = new QLabel(this);
    Label22->setObjectName("Label22");
    left->addWidget(Label22, 0, 1);
    List1 = new QListWidget(this);
    List1->setFixedWidth(130);
    List1->setMaximumHeight(150);
    connect(List1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) List1_Click(row);
    });
    connect(List1, &QListWidget::itemClicked, this, [this] {
        if (List1->currentRow() >= 0) List1_Click(List1->currentRow());
    });
    List1->installEventFilter(this);  // its focus clears the status line
    left->addWidget(List1, 1, 0, 1, 2);
    left->addWidget(new QLabel("Double click to select", this), 2, 0, 1, 2);
    left->addWidget(new QLabel("Brand", this), 3, 0);
    Label6 = new QLabel(this);
    Label6->setObjectName("Label6");
    left->addWidget(Label6, 3, 1);
    Text3 = new plat::TextBox(this);
    Text3->setMaxLength(39);
    left->addWidget(Text3, 4, 0, 1, 2);
    left->addWidget(new QLabel("Model      :", this), 5, 0);
    Text23 = new plat::TextBox(this);
    Text23->setMaxLength(25);
    Text23->GotFocus = [this](int) {
        first_key = 1;
        Label25->clear();
    };
    Text23->KeyPress = [this](int, int&) {
        if (first_key == 1) {
            first_key = 0;
            Text23->SetText("");
        }
    };
    connect(Text23, &QLineEdit::textChanged, this, [this] {
        // The designation goes into the shown model in memory as it is typed.
        if (!competitor() && group >= 1 && group <= 3 && g.cur_model >= 1 && g.cur_model <= 9)
            g.pump_tab[group].model[g.cur_model] = vb::FixLen(Text23->Text().toStdString(), 25);
    });
    left->addWidget(Text23, 6, 0, 1, 2);
    left->addWidget(new QLabel("Size :", this), 7, 0);
    Label5 = new QLabel(this);
    Label5->setObjectName("Label5");
    left->addWidget(Label5, 7, 1);
    SSCheck1 = new plat::CheckBox("Include in list of models", this);
    left->addWidget(SSCheck1, 8, 0, 1, 2);
    Text2 = new plat::TextBox(this);
    Text2->setVisible(false);
    left->setRowStretch(9, 1);
    outer->addLayout(left);

    // Middle: the table and its fill buttons.
    auto* mid = new QVBoxLayout();
    auto* table = new QGridLayout();
    table->setHorizontalSpacing(4);
    table->setVerticalSpacing(2);
    const char* const heads[5] = {"Air F", "% RH", "C.O.P.", "BTU/hr", "Water F"};
    for (int c = 0; c < 5; ++c) table->addWidget(new QLabel(heads[c], this), 0, c, Qt::AlignCenter);
    auto cell = [this](plat::ControlArray<plat::TextBox>& array, int i, bool point, int width) {
        auto* b = new plat::TextBox(this, i);
        b->setFixedWidth(width);
        b->setAlignment(Qt::AlignRight);
        b->setMaxLength(14);
        b->GotFocus = [this, &array](int) {
            first_key = 1;
            if (&array == &Text1) Label25->clear();
        };
        b->KeyPress = [this, b, point](int, int& key) { box_key(b, point, key); };
        connect(b, &QLineEdit::textChanged, this, [this, b](const QString& text) {
            if (!masking_) figure_[b] = text.toStdString();
        });
        // A typed figure is shown as the others of its column ("60,000"),
        // and stays behind the box as typed.
        b->LostFocus = [this, b, &array](int) {
            const auto column = &array == &Text1    ? pumpfiles::Column::Rh
                                : &array == &Text9  ? pumpfiles::Column::Cop
                                : &array == &Text17 ? pumpfiles::Column::Btu
                                                    : pumpfiles::Column::Water;
            const QScopedValueRollback mask(masking_, true);
            b->SetText(q(pumpfiles::cell_text(column, b->Text().toStdString(), competitor() ? g.pump_mode - 1 : 0)));
        };
        array[i] = b;
        return b;
    };
    for (int i = 0; i < kRows; ++i) {
        table->addWidget(new QLabel(kAirRows[i], this), i + 1, 0, Qt::AlignCenter);
        table->addWidget(cell(Text1, i, true, 64), i + 1, 1, Qt::AlignCenter);
        table->addWidget(cell(Text9, i, true, 56), i + 1, 2, Qt::AlignCenter);
        table->addWidget(cell(Text17, i, false, 76), i + 1, 3, Qt::AlignCenter);
        table->addWidget(cell(Text27, i, true, 56), i + 1, 4, Qt::AlignCenter);
    }
    auto button = [this](int index, const char* caption) {
        auto* b = new plat::CommandButton(caption, this, index);
        b->Click = [this](int i) { SSCommand6_Click(i); };
        SSCommand6[index] = b;
        return b;
    };
    table->addWidget(button(9, "80"), kRows + 1, 1);
    table->addWidget(button(11, "C.O.P."), kRows + 1, 2);
    table->addWidget(button(12, "BTU"), kRows + 1, 3);
    table->addWidget(button(10, "80"), kRows + 1, 4);
    mid->addLayout(table);

    auto* models = new QHBoxLayout();
    models->setSpacing(3);
    for (int i = 0; i < 9; ++i) {
        auto* b = button(i, std::to_string(i + 1).c_str());
        b->setFixedWidth(30);
        models->addWidget(b);
    }
    mid->addLayout(models);
    Label24 = new QLabel(this);
    Label24->setWordWrap(true);
    Label21 = new QLabel(this);
    Label21->setWordWrap(true);
    mid->addWidget(Label24);
    mid->addWidget(Label21);
    mid->addStretch(1);
    outer->addLayout(mid, 1);

    // Right: save, exit, help and the status line.
    auto* right = new QVBoxLayout();
    SSCommand5 = new plat::CommandButton("Save", this);
    SSCommand5->Click = [this](int) { SSCommand5_Click(); };
    SSCommand4 = new plat::CommandButton("Exit", this);
    SSCommand4->Click = [this](int) { SSCommand4_Click(); };
    Label12 = new QPushButton("&Help", this);
    Label12->setFlat(true);
    connect(Label12, &QPushButton::clicked, this, [this] { Label12_Click(); });
    Label25 = new QLabel(this);
    Label25->setObjectName("Label25");
    right->addWidget(SSCommand5);
    right->addWidget(SSCommand4);
    right->addWidget(Label12);
    right->addWidget(Label25);
    right->addStretch(1);
    outer->addLayout(right);
    SetCaption("Heat pump performance data");
}

bool Showpump::competitor() const { return g.pump_mode >= 2 && g.pump_mode <= 4; }

void Showpump::Form_Load() {
    Move(1300, 1400, 8800, 6810);
    loadlist();
    Label24->setText(
        "Important - For realistic results humidity has to be specified at 80% RH and water "
        "temperature at 80F");
    Label21->setText(
        "Important - The model sizes must be listed from 1 to ....9 according to their output in an "
        "ascending output order.");
    table_colours("#FFFFFF", "#C0C0C0");
    group = 0;
    saved = 0;
    first_key = 0;
    SSCheck1->setVisible(false);
    SSCommand5->setEnabled(false);
    enable_buttons(false);
    Text2->setEnabled(false);
    Text2->setVisible(false);
    Label5->setVisible(false);
    Label6->setVisible(true);
    Text3->setVisible(true);
    Label22->clear();
    Label25->clear();
    menu_child_loaded();
    clearit();
    fit_window(this);
}

void Showpump::enable_buttons(bool on) {
    const int models = pumpfiles::models_of(g.pump_mode);
    for (auto& [i, b] : SSCommand6) {
        // A competitor's record holds three models: points past 24 do not exist.
        b->setEnabled(on && (i >= 9 || i < models));
    }
}

void Showpump::table_colours(const char* text, const char* back) {
    text_colour_ = text;
    back_colour_ = back;
    const QString css = QString("color: %1; background-color: %2;").arg(text_colour_, back_colour_);
    for (auto* a : {&Text1, &Text9, &Text17, &Text27})
        for (auto& [i, b] : *a) b->setStyleSheet(css);
    Text23->setStyleSheet(css);
}

void Showpump::loadlist() {
    default_brand_labels();
    QSignalBlocker quiet(List1);
    List1->clear();
    for (const char* s : {"Kestrolin", "Tindraly", "Morvenic", "", "", "", "", "", ""}) List1->addItem(s);
}

void Showpump::name_colour(const char* text) { Text3->setStyleSheet(QString("color: %1;").arg(text)); }

void Showpump::clearit() {
    table_colours("#FFFFFF", back_colour_.toLatin1().constData());
    name_colour("#FFFFFF");
    SSCheck1->setVisible(false);
}

void Showpump::showit() {
    table_colours("#000000", back_colour_.toLatin1().constData());
    name_colour("#000000");
    SSCheck1->setVisible(true);
}

void Showpump::List1_Click(int index) {
    if (index > 2) {
        clearit();
        return;
    }
    showit();
    if (g.cur_model >= 1 && g.cur_model <= 3) Label5->setText(kSizes[g.cur_model - 1]);
    for (auto* a : {&Text1, &Text9, &Text17, &Text27})
        for (auto& [i, b] : *a) b->SetText("");
    Text23->SetText("");
    Label6->setText(List1->item(index)->text());
    group = index + 1;
    Label22->setText(QString::number(group));
    Text3->setVisible(competitor());
    Label6->setVisible(true);
    set_table();
}

void Showpump::set_table() {
    Text23->SetText("");
    for (auto* a : {&Text1, &Text9, &Text17, &Text27})
        for (auto& [i, b] : *a) b->SetText("");
    table_colours("#000000", "#FFFFFF");
    SSCheck1->setVisible(true);
    SSCommand5->setEnabled(true);
    enable_buttons(true);
    Text2->setEnabled(true);
    Label5->setVisible(true);
    text_fill();
}

void Showpump::show_boxes(const pumpfiles::ModelBoxes& b, const pumpfiles::ModelBoxes& exact) {
    for (int i = 0; i < kRows; ++i) {
        Text1[i]->SetText(q(b.rh[i]));
        Text9[i]->SetText(q(b.cop[i]));
        Text17[i]->SetText(q(b.btu[i]));
        Text27[i]->SetText(q(b.water[i]));
        figure_[Text1[i]] = exact.rh[i];
        figure_[Text9[i]] = exact.cop[i];
        figure_[Text17[i]] = exact.btu[i];
        figure_[Text27[i]] = exact.water[i];
    }
    Text23->SetText(q(b.designation));
}

std::string Showpump::figure(const plat::TextBox* box) const {
    const auto it = figure_.find(box);
    return it != figure_.end() ? it->second : box->Text().toStdString();
}

pumpfiles::ModelBoxes Showpump::boxes() const {
    pumpfiles::ModelBoxes b;
    for (int i = 0; i < kRows; ++i) {
        b.rh[i] = figure(Text1.at(i));
        b.cop[i] = figure(Text9.at(i));
        b.btu[i] = figure(Text17.at(i));
        b.water[i] = figure(Text27.at(i));
    }
    b.designation = Text23->Text().toStdString();
    b.in_list = SSCheck1->Value() == 1;
    return b;
}

void Showpump::text_fill() {
    Label5->setText(QString::number(g.cur_model));
    const std::string bad = "Bad heat pump data file\rLooking in " + g.data_dir + " directory.";
    if (!competitor()) {
        const std::string path = g.data_dir + pumpfiles::file_of(1);
        records::FileInfo info;
        auto recs = records::readPumpFile(path, &info);
        if (!info.found) {
            // One fresh copy from the data diskette, then one more look.
            ui::MsgBox(bad, ui::vbOKOnly, "Update file");
            load_data_disk();
            recs = records::readPumpFile(path, &info);
        }
        if (info.count < 1) ui::MsgBox(bad, ui::vbOKOnly, "Update file");
        for (std::size_t k = 0; k < recs.size(); ++k) g.pump_tab[k + 1] = std::move(recs[k]);
        if (group >= 1 && group <= 3) {
            const pumpfiles::ModelBoxes b = pumpfiles::show_maker(g.pump_tab[group], g.cur_model);
            SSCheck1->SetValue(b.in_list ? 1 : 0);
            show_boxes(b, pumpfiles::figures(g.pump_tab[group], g.cur_model));
        }
        Label22->setStyleSheet("color: #FF0000;");
        Label22->setText(QString::number(group));
        name_colour("#FF0000");
        Text3->setVisible(false);
        Label6->setVisible(true);
        return;
    }
    const int k = g.pump_mode - 1;
    Label6->setText(kCompetitorCaption);
    CompetitorPump& rec = competitor_rec(k);
    const std::string path = g.data_dir + pumpfiles::file_of(g.pump_mode);
    if (!records::readCompetitorFile(path, rec)) {
        ui::MsgBox("Bad competitor #" + std::to_string(k) + " heat pump data file", ui::vbOKOnly, "Update file");
        load_data_disk();
        records::readCompetitorFile(path, rec);
    }
    const int model = std::clamp(static_cast<int>(g.cur_model), 1, 3);
    show_boxes(pumpfiles::show_competitor(rec, model, k), pumpfiles::figures(rec, model));
    Text3->setVisible(true);
    Text3->SetText(q(vb::Trim(rec.brand)));
}

bool Showpump::write_pump(std::string* why) {
    clear_file_attrs();
    std::string reason;
    bool ok = false;
    if (!competitor()) {
        if (group < 1 || group > 3 || g.cur_model < 1 || g.cur_model > 9) return true;
        Label22->setText(QString::number(group) + " START");
        Text3->setVisible(false);
        Label6->setVisible(true);
        pumpfiles::store_maker(g.pump_tab[group], g.cur_model, boxes(), Label6->text().toStdString());
        ok = records::writePumpFile(g.data_dir + pumpfiles::file_of(1), g.pump_tab, &reason);
        if (ok) {
            name_colour("#0000FF");
            Label25->setText(QString::number(group) + " Saved");
        }
    } else {
        const int k = g.pump_mode - 1;
        if (g.cur_model < 1 || g.cur_model > 3) return true;
        CompetitorPump& rec = competitor_rec(k);
        pumpfiles::store_competitor(rec, g.cur_model, boxes());
        // The brand stays as read unless the dealer typed another one.
        const std::string brand = vb::Trim(Text3->Text().toStdString());
        if (!brand.empty()) rec.brand = vb::FixLen(brand, 39);
        ok = records::writeCompetitorFile(g.data_dir + pumpfiles::file_of(g.pump_mode), rec, &reason);
    }
    if (!ok) {
        if (why) *why = reason;
        return false;
    }
    // The working tables must follow the file whenever it was written.
    saved = 1;
    g.pump_saved = 1;
    Dfltout();
    return true;
}

void Showpump::read_pumpa() { ::read_pumpa(g.brand_name, g.model_name); }

void Showpump::SSCommand6_Click(int index) {
    Label25->clear();
    if (index >= 0 && index <= 8) {
        if (index >= pumpfiles::models_of(g.pump_mode)) return;
        std::string why;
        if (!write_pump(&why)) {
            // The model shown stays, with what was typed, for another try.
            ui::MsgBox(why + " in 0", ui::vbOKOnly, "Error in show");
            return;
        }
        project_follows();
        g.cur_model = static_cast<i16>(index + 1);
        text_fill();
        return;
    }
    switch (index) {
        case 9:
            for (auto& [i, b] : Text1) b->SetText("80");
            break;
        case 10:
            for (auto& [i, b] : Text27) b->SetText("80");
            break;
        case 11:
            for (int i = 0; i < kRows; ++i) Text9[i]->SetText(pumpfiles::kCopColumn[i]);
            break;
        case 12: {
            const auto col = pumpfiles::btu_column(g.cur_model, Text2->Text().toStdString());
            for (int i = 0; i < kRows; ++i) Text17[i]->SetText(q(col[i]));
            break;
        }
        default: break;
    }
}

void Showpump::SSCommand5_Click() {
    std::string why;
    if (!write_pump(&why)) {
        // Nothing was replaced; the window stays open with the typed values.
        ui::MsgBox(why + " in 0", ui::vbOKOnly, "Error in show");
        return;
    }
    loadlist();
    saved = 1;
    g.pump_saved = 1;
    // The open project follows at once, not only when the editor closes:
    // its figures, and its model list when "Include in list of models"
    // changed.
    project_follows();
}

void Showpump::SSCommand4_Click() { Unload(); }

void Showpump::Form_Unload(int& /*cancel*/) {
    if (saved == 1) {
        read_pumpa();
        project_follows();  // the open project recalculates on the new tables
    }
    menu_child_unloaded();
}

// The status line ("1 Saved") tells of the last write only until the
// dealer turns to the window or its group list again.
void Showpump::Form_Activate() { Label25->clear(); }

bool Showpump::eventFilter(QObject* o, QEvent* e) {
    if (o == List1 && e->type() == QEvent::FocusIn) Label25->clear();
    return plat::Form::eventFilter(o, e);
}

void Showpump::Form_Deactivate() {
    if (g.calculator_open != 1) reclaim_focus(this);
}

void Showpump::box_key(plat::TextBox* box, bool point, int& key) {
    if (first_key == 1) {
        box->SetText("");
        first_key = 0;
    }
    if ((key >= '0' && key <= '9') || key == 8 || key == 127 || (point && key == '.')) return;
    const bool esc = key == 27;
    key = 0;
    if (!esc) numbers_only();
    box->SetText("");
}

void Showpump::Label12_Click() {
    static const char* const lines[] = {"Use this option to create a selection",
                                        "of performance data files for diffrent",
                                        "enviroments which will cause the heat",
                                        "pump's output to vary.",
                                        "E.g. colder or warmer weather, high",
                                        "altitudes, improved models, etc.",
                                        "Maximum 100 combinations.",
                                        "",
                                        "For maximum acuracy please measure",
                                        "the heat pump performance at the",
                                        "same conditions in which the heat",
                                        "pump is expected to operate.",
                                        "",
                                        "Heat pumps designed to heat spas",
                                        "should be measured at high water",
                                        "temperatures. Otherwise the results",
                                        "would be unreliable owing to design,",
                                        "freon gas properties, etc.",
                                        "time."};
    std::string text;
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        if (i) text += g.crlf;
        text += lines[i];
    }
    ui::MsgBox(text, ui::vbExclamation, "Help");
}
