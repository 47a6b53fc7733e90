// The project input window: building its controls (the layout, every
// control with its index, caption and handler), one builder per group of
// the window in the order the dealer meets them, which is also the order of
// the Tab key.
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <vector>

#include "input/cities.h"
#include "input/ui/weathers.h"
#include "input/ui/weathers_parts.h"
#include "input/units.h"
#include "platform/numbox.h"

using namespace weathers_parts;

// Builds the window's controls: the control factories, one builder per group,
// and the fonts handed out at the end.
struct weathers::Maker {
    explicit Maker(weathers& w);

    // -- control factories: each control under its index, with its handler
    plat::NumBox* num_box(int i, int widthPx);
    plat::ComboBox* combo(int i);
    plat::CheckBox* check(int i, const QString& caption);
    plat::OptionButton* option(int i, const QString& caption, QWidget* parent);
    plat::CommandButton* button(int i, const QString& caption, const QString& tip);
    QLabel* unit_label(int i);
    QGroupBox* group(const QString& title);
    // A labelled row of a form grid: caption, box, unit.
    void row(QGridLayout* grid, int r, const QString& caption, QWidget* box, QWidget* unit = nullptr);
    QFrame* line(QFrame::Shape shape);
    // A result cell: a fixed size, its own background (see month_grid).
    QLabel* result_label(int widthPx);

    // -- the groups: left column, right column, buttons
    void location(QVBoxLayout* column);
    void pool(QVBoxLayout* column);
    void heating(QVBoxLayout* column);
    void heat_pump(QVBoxLayout* column);
    void existing_heater(QHBoxLayout* top);
    void prices(QHBoxLayout* top);
    QVBoxLayout* month_table(QVBoxLayout* column);
    void month_grid(QVBoxLayout* table);
    void results(QVBoxLayout* table);
    void buttons(QVBoxLayout* outer);
    void fonts();

    weathers& win;
    QFont normalFont;
    QFont bold;
    QFont fixed;
    std::vector<QWidget*> boldWidgets;  // the headings and the values that stand out
    int cellH = 0;                      // height of a result row
};

weathers::Maker::Maker(weathers& w) : win(w) {
    // Explicitly not bold: a font that leaves the weight open would take the
    // group box's bold title weight.
    normalFont = win.font();
    normalFont.setBold(false);
    bold = normalFont;
    bold.setBold(true);
    fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (normalFont.pointSize() > 0) fixed.setPointSize(normalFont.pointSize());
    cellH = QFontMetrics(bold).height() + 4;
}

void weathers::make() {
    if (made_) return;
    made_ = true;
    SetSize(15600, 10800);  // about 1040 x 720 pixels
    Maker m(*this);

    // The controls keep the size they need: a window larger than that
    // (maximized on a desktop screen) keeps its spare room around them,
    // rather than pulling the group boxes apart from what they hold.
    auto* page = new QWidget(this);
    auto* frame = new QGridLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(page, 0, 0, Qt::AlignCenter);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(10, 6, 10, 6);
    outer->setSpacing(6);
    auto* columns = new QHBoxLayout();
    columns->setSpacing(10);
    outer->addLayout(columns, 1);

    // left column: location, pool or spa, heating, heat pump
    auto* leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(320);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(8);
    columns->addWidget(leftColumn, 0);
    m.location(left);
    m.pool(left);
    m.heating(left);
    m.heat_pump(left);
    left->addStretch(1);

    // right column: existing heater and prices side by side, then the months
    // and the year's result
    auto* right = new QVBoxLayout();
    right->setSpacing(6);
    columns->addLayout(right, 1);
    auto* top = new QHBoxLayout();
    top->setSpacing(10);
    right->addLayout(top);
    m.existing_heater(top);
    m.prices(top);
    QVBoxLayout* table = m.month_table(right);
    m.month_grid(table);
    m.results(table);

    m.buttons(outer);
    m.fonts();
}

// ---- control factories ----------------------------------------------------------------------

plat::NumBox* weathers::Maker::num_box(int i, int widthPx) {
    auto* b = new plat::NumBox(&win, i);
    b->setFixedWidth(widthPx);
    b->setAlignment(Qt::AlignRight);
    b->setMaxLength(12);
    b->Refused = numbers_only;
    b->Change = [w = &win](int k) { w->Text1_Change(k); };
    b->LostFocus = [w = &win](int k) { w->Text1_LostFocus(k); };
    win.text1_[i] = b;
    return b;
}

plat::ComboBox* weathers::Maker::combo(int i) {
    auto* c = new plat::ComboBox(&win, i);
    c->Click = [w = &win](int k) { w->Combo1_Click(k); };
    win.combo1_[i] = c;
    return c;
}

plat::CheckBox* weathers::Maker::check(int i, const QString& caption) {
    auto* c = new plat::CheckBox(caption, &win, i);
    c->Click = [w = &win](int k) { w->Check1_Click(k); };
    win.check1_[i] = c;
    return c;
}

plat::OptionButton* weathers::Maker::option(int i, const QString& caption, QWidget* parent) {
    auto* o = new plat::OptionButton(caption, parent, i);
    o->Click = [w = &win](int k) { w->Option1_Click(k); };
    win.option1_[i] = o;
    return o;
}

plat::CommandButton* weathers::Maker::button(int i, const QString& caption, const QString& tip) {
    auto* b = new plat::CommandButton(caption, &win, i);
    b->setMinimumHeight(30);
    b->setMinimumWidth(96);
    b->setToolTip(tip);
    b->Click = [w = &win](int k) { w->SSCommand1_Click(k); };
    win.cmd_[i] = b;
    return b;
}

QLabel* weathers::Maker::unit_label(int i) {
    auto* l = new QLabel(&win);
    l->setMinimumWidth(60);
    win.unit_labels_[i] = l;
    return l;
}

QGroupBox* weathers::Maker::group(const QString& title) {
    auto* box = new QGroupBox(title, &win);
    box->setFont(bold);
    return box;
}

void weathers::Maker::row(QGridLayout* grid, int r, const QString& caption, QWidget* box, QWidget* unit) {
    grid->addWidget(new QLabel(caption, &win), r, 0);
    grid->addWidget(box, r, 1);
    if (unit) grid->addWidget(unit, r, 2);
}

QFrame* weathers::Maker::line(QFrame::Shape shape) {
    auto* f = new QFrame(&win);
    f->setFrameShape(shape);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

QLabel* weathers::Maker::result_label(int widthPx) {
    auto* l = new QLabel(&win);
    l->setTextFormat(Qt::PlainText);
    l->setFixedSize(widthPx, cellH);
    l->setAutoFillBackground(true);
    return l;
}

// ---- left column ----------------------------------------------------------------------------

void weathers::Maker::location(QVBoxLayout* column) {
    QGroupBox* box = group("Location");
    auto* v = new QVBoxLayout(box);
    auto* opts = new QHBoxLayout();
    // Option1(0..2): the city group, Option1(group)
    opts->addWidget(option(0, "Florida", &win));
    opts->addWidget(option(1, "US Other", &win));
    opts->addWidget(option(2, "Non US", &win));
    opts->addStretch(1);
    v->addLayout(opts);
    for (int grp = 0; grp < 3; ++grp) {
        plat::ComboBox* c = combo(kCityCombo[grp]);
        c->setMaxVisibleItems(20);
        // Picking the city the list already shows takes its prices, wind
        // and months again (a new city has done so through Click).
        QObject::connect(c, &QComboBox::activated, &win, [w = &win, grp](int idx) {
            if (w->filling_ > 0 || idx < 0 || idx >= static_cast<int>(w->lists_.records[grp].size())) return;
            if (!cities::holds(g.city_tab[w->lists_.records[grp][idx]])) w->choose_city(grp, idx);
        });
        v->addWidget(c);
    }
    win.city_note_ = new QLabel(&win);
    win.city_note_->setWordWrap(true);
    win.city_note_->setStyleSheet("color: #505050;");
    v->addWidget(win.city_note_);
    column->addWidget(box);
}

void weathers::Maker::pool(QVBoxLayout* column) {
    QGroupBox* box = group("Pool or spa");
    auto* v = new QVBoxLayout(box);
    auto* kind = new QHBoxLayout();
    // Two sets of options, each in its own frame so that each set is
    // exclusive on its own.
    auto* typeFrame = new QWidget(&win);
    auto* th = new QHBoxLayout(typeFrame);
    th->setContentsMargins(0, 0, 0, 0);
    th->addWidget(option(kPoolOption, "Pool", typeFrame));
    th->addWidget(option(kSpaOption, "Spa", typeFrame));
    auto* siteFrame = new QWidget(&win);
    auto* sh = new QHBoxLayout(siteFrame);
    sh->setContentsMargins(0, 0, 0, 0);
    sh->addWidget(option(kOutdoorOption, "Outdoor", siteFrame));
    sh->addWidget(option(kIndoorOption, "Indoor", siteFrame));
    kind->addWidget(typeFrame);
    kind->addWidget(line(QFrame::VLine));
    kind->addWidget(siteFrame);
    kind->addStretch(1);
    v->addLayout(kind);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(8);
    row(grid, 0, "Surface area", num_box(kArea, 80), unit_label(kArea));
    row(grid, 1, "Average depth", num_box(kDepth, 80), unit_label(kDepth));
    row(grid, 2, "Sun exposure", num_box(kSun, 80), unit_label(kSun));
    row(grid, 3, "Wind", num_box(kWind, 80), unit_label(kWind));
    grid->setColumnStretch(3, 1);
    v->addLayout(grid);
    v->addWidget(check(kSpaBlower, "Spa blower runs"));
    v->addWidget(check(kFloorReturns, "Floor returns (reverse flow)"));
    column->addWidget(box);
}

void weathers::Maker::heating(QVBoxLayout* column) {
    QGroupBox* box = group("Heating");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    row(grid, 0, "Heating days per week", num_box(kHeatDays, 80), unit_label(kHeatDays));
    row(grid, 1, "Heating hours per day", num_box(kHeatHours, 80), unit_label(kHeatHours));
    row(grid, 2, "Water temperature", num_box(kThermostat, 80), unit_label(kThermostat));
    win.text1_[kThermostat]->setToolTip("The thermostat: sets the wanted temperature of every month");
    grid->setColumnStretch(3, 1);
    column->addWidget(box);
}

void weathers::Maker::heat_pump(QVBoxLayout* column) {
    QGroupBox* box = group("Heat pump");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    auto* brand = new plat::TextBox(&win, kBrandBox);
    brand->setReadOnly(true);
    brand->setFocusPolicy(Qt::NoFocus);
    brand->setStyleSheet("background: #eeeeee;");
    brand->Change = [w = &win](int k) { w->Text1_Change(k); };
    win.text1_[kBrandBox] = brand;
    row(grid, 0, "Brand", brand);
    plat::ComboBox* models = combo(kModelList);
    models->setMinimumWidth(160);
    row(grid, 1, "Model", models);
    grid->setColumnStretch(1, 1);
    column->addWidget(box);
}

// ---- right column -------------------------------------------------------------------------

void weathers::Maker::existing_heater(QHBoxLayout* top) {
    QGroupBox* box = group("Existing heater");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    plat::ComboBox* type = combo(kHeaterType);
    for (const char* s : {"None", "Electric resistance", "Natural gas", "Propane", "Fuel oil"}) type->AddItem(s);
    grid->addWidget(new QLabel("Type", &win), 0, 0);
    grid->addWidget(type, 0, 1, 1, 2);
    row(grid, 1, "Efficiency", num_box(kHeaterEff, 76), unit_label(kHeaterEff));
    row(grid, 2, "Output", num_box(kHeaterOutput, 76), unit_label(kHeaterOutput));
    grid->addWidget(check(kBackup, "Backup for the heat pump"), 3, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    top->addWidget(box, 1);
}

void weathers::Maker::prices(QHBoxLayout* top) {
    QGroupBox* box = group("Energy prices");
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    row(grid, 0, "Electricity", num_box(kPriceElec, 70), unit_label(kPriceElec));
    win.unit_labels_[kPriceElec]->setText("$/kWh");
    const char* names[] = {"Natural gas", "Propane", "Oil"};
    const int boxes[] = {kPriceGas, kPricePropane, kPriceOil};
    for (int k = 0; k < 3; ++k) {
        const int fuel = fields::fuel_of_box(boxes[k]);
        // Combo1(11..13): the fuel's price unit
        plat::ComboBox* unit = combo(10 + units::fuel_units_slot(fuel));
        for (int u = 0; u < units::unit_count(fuel); ++u) unit->AddItem("$/" + q(units::unit_name(fuel, u)));
        unit->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        row(grid, k + 1, names[k], num_box(boxes[k], 70), unit);
    }
    grid->setColumnStretch(3, 1);
    top->addWidget(box, 1);
}

// Month by month, on a white table: inputs left of the line, results right
// of it (month_grid), the year's result below (results).
QVBoxLayout* weathers::Maker::month_table(QVBoxLayout* column) {
    win.month_box_ = group("Month by month");
    auto* boxLayout = new QVBoxLayout(win.month_box_);
    boxLayout->setContentsMargins(6, 2, 6, 2);
    auto* table = new QFrame(&win);
    table->setFrameShape(QFrame::StyledPanel);
    table->setAutoFillBackground(true);
    QPalette pal = table->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    table->setPalette(pal);
    boxLayout->addWidget(table);
    auto* tableLayout = new QVBoxLayout(table);
    tableLayout->setContentsMargins(8, 2, 8, 2);
    tableLayout->setSpacing(2);
    column->addWidget(win.month_box_, 1);
    return tableLayout;
}

void weathers::Maker::month_grid(QVBoxLayout* table) {
    static const char* const kMonths[] = {"",    "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    // Grid columns: the month's name, its check box, wanted temperature and
    // cover hours, the line, then the result columns (ResultCol) from kFirstResult.
    constexpr int kLineCol = 4, kFirstResult = 5, kYearRow = 14, kYear = 13;
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(7);
    grid->setVerticalSpacing(0);
    // Pump hours are per heating day, the figure to set against the
    // heating hours typed.
    const char* heads[] = {
        "Month",        "Heat",      "Wanted",   "Cover\nh/day", "", "Air", "Water", "Pump h per\nheating day",
        "Heat pump\n$", "Heater\n$", "Saving\n$"};
    QLabel* headLabels[11] = {};
    for (int c = 0; c < 11; ++c) {
        if (c == kLineCol) continue;
        auto* h = new QLabel(heads[c], &win);
        h->setAlignment(c >= kFirstResult ? (Qt::AlignRight | Qt::AlignBottom) : (Qt::AlignHCenter | Qt::AlignBottom));
        grid->addWidget(h, 0, c);
        headLabels[c] = h;
        boldWidgets.push_back(h);
    }
    win.head_wanted_ = headLabels[2];
    win.head_air_ = headLabels[kFirstResult + kAir];
    win.head_water_ = headLabels[kFirstResult + kWater];
    win.head_heater_ = headLabels[kFirstResult + kHeaterCost];
    grid->addWidget(line(QFrame::VLine), 0, kLineCol, 15, 1);

    // Created column by column: Tab walks down a column (January to
    // December) before it moves to the next.
    for (int m = 1; m <= 12; ++m) {
        plat::CheckBox* c = check(kFirstMonthCheck + m - 1, "");
        c->setToolTip("Heat the water this month");
        grid->addWidget(c, m, 1, Qt::AlignHCenter);
    }
    // The month boxes as high as a result row: the twelve months and the
    // notes under them fit the window.
    auto monthBox = [&](int i, int widthPx) {
        plat::TextBox* b = num_box(i, widthPx);
        b->setFixedHeight(cellH + 2);
        return b;
    };
    for (int m = 1; m <= 12; ++m) grid->addWidget(monthBox(kFirstWanted + m - 1, 56), m, 2, Qt::AlignHCenter);
    for (int m = 1; m <= 12; ++m) grid->addWidget(monthBox(kFirstCover + m - 1, 46), m, 3, Qt::AlignHCenter);

    // Result labels have a fixed size and paint their own background: a
    // new text then repaints that label alone, without laying the
    // window out again (the results follow every key).
    const QFontMetrics fm(bold);
    const int moneyW = fm.horizontalAdvance("-$99,999") + 6;
    const int numW = fm.horizontalAdvance("199.9 *") + 6;
    for (int m = 1; m <= kYear; ++m) {
        const int r = m == kYear ? kYearRow : m;
        auto* name = new QLabel(m == kYear ? QString("Year") : QString(kMonths[m]), &win);
        if (m == kYear) boldWidgets.push_back(name);
        grid->addWidget(name, r, 0);
        for (int c = 0; c < kResultCols; ++c) {
            QLabel* cell = result_label(c >= kHpCost ? moneyW : numW);
            cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (m == kYear) boldWidgets.push_back(cell);
            win.cells_[m][c] = cell;
            grid->addWidget(cell, r, kFirstResult + c);
        }
    }
    grid->addWidget(line(QFrame::HLine), kYearRow - 1, kFirstResult, 1, kResultCols);
    grid->setColumnStretch(kFirstResult + kResultCols, 1);
    table->addLayout(grid);
    table->addWidget(line(QFrame::HLine));
}

// The year's result under the months: heat pumps needed, C.O.P., savings,
// payback, backup, and the notes.
void weathers::Maker::results(QVBoxLayout* table) {
    auto* sum = new QGridLayout();
    sum->setHorizontalSpacing(10);
    sum->setVerticalSpacing(1);
    auto value = [&](int widthPx) {
        QLabel* l = result_label(widthPx);
        boldWidgets.push_back(l);
        return l;
    };
    auto caption = [this](const char* s) { return new QLabel(s, &win); };
    win.units_ = value(220);
    win.savings_ = value(220);
    win.cop_ = value(90);
    win.payback_ = value(90);
    win.backup_ = value(440);
    win.payback_caption_ = caption("Payback:");
    sum->addWidget(caption("Heat pumps needed:"), 0, 0);
    sum->addWidget(win.units_, 0, 1);
    sum->addWidget(caption("Average C.O.P.:"), 0, 2);
    sum->addWidget(win.cop_, 0, 3);
    sum->addWidget(caption("Projected savings:"), 1, 0);
    sum->addWidget(win.savings_, 1, 1);
    sum->addWidget(win.payback_caption_, 1, 2);
    sum->addWidget(win.payback_, 1, 3);
    sum->addWidget(caption("Backup:"), 2, 0);
    sum->addWidget(win.backup_, 2, 1, 1, 3);
    // With backup, what the existing heater would cost alone: the
    // saving is taken from it.
    win.alone_caption_ = caption("Heater alone:");
    win.alone_ = value(220);
    sum->addWidget(win.alone_caption_, 3, 0);
    sum->addWidget(win.alone_, 3, 1);
    // The notes in a read-only text of three lines, which scrolls when
    // there are more: however many notes there are, the grid and every
    // box keep their room. Painted on the window's background, without a
    // frame, and out of the Tab order: it reads like the labels around it.
    auto* notes = new QPlainTextEdit(&win);
    notes->setObjectName("notes");
    notes->setReadOnly(true);
    notes->setFocusPolicy(Qt::NoFocus);
    notes->setFrameShape(QFrame::NoFrame);
    notes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notes->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    notes->document()->setDocumentMargin(0);
    QPalette pal = notes->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Window));
    pal.setColor(QPalette::Text, QColor(0xb0, 0x00, 0x00));
    notes->setPalette(pal);
    notes->setFont(normalFont);
    notes->setFixedHeight(3 * QFontMetrics(normalFont).lineSpacing() + 2);
    notes->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    notes->setVisible(false);
    win.warning_ = notes;
    sum->setColumnStretch(4, 1);
    table->addLayout(sum);
    // Below the grid rather than across its columns.
    table->addWidget(win.warning_);
    table->addStretch(1);
}

// ---- buttons and fonts ----------------------------------------------------------------------

void weathers::Maker::buttons(QVBoxLayout* outer) {
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(8);
    buttons->addWidget(button(kCalculate, "Calculate", "Calculate the whole project again"));
    buttons->addWidget(button(kCustomer, "Customer", "The customer's name and address"));
    buttons->addWidget(button(kCalculator, "Calculator", "A pocket calculator"));
    buttons->addStretch(1);
    buttons->addWidget(button(kHpPrice, "HP Price", "Sales prices of the heat-pump models"));
    buttons->addWidget(button(kFinance, "Finance", "Lease or loan for the heat-pump system"));
    buttons->addWidget(button(kPrint, "Print", "Save the project and print it"));
    buttons->addStretch(1);
    buttons->addWidget(button(kExit, "Exit", "Save the project and close this window"));
    outer->addLayout(buttons);
}

// Group boxes carry a bold title; what is inside them uses the normal font,
// but for the headings and the values that stand out.
void weathers::Maker::fonts() {
    for (QGroupBox* gb : win.findChildren<QGroupBox*>())
        for (QWidget* w : gb->findChildren<QWidget*>()) w->setFont(normalFont);
    for (QWidget* w : boldWidgets) w->setFont(bold);
    for (int grp : {1, 2}) win.combo1_[kCityCombo[grp]]->setFont(fixed);  // "ST  City": the columns line up
}
