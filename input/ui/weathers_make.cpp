// The project input window: building its controls (the layout, every
// control with its index, caption and handler).
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QVBoxLayout>

#include <vector>

#include "input/cities.h"
#include "input/ui/weathers.h"
#include "input/ui/weathers_parts.h"
#include "input/units.h"
#include "platform/numbox.h"

using namespace weathers_parts;

void weathers::make() {
    if (made_) return;
    made_ = true;
    SetSize(15600, 10800);  // about 1040 x 720 pixels

    // Explicitly not bold: a font that leaves the weight open would take the
    // group box's bold title weight.
    QFont normalFont = font();
    normalFont.setBold(false);
    QFont bold = normalFont;
    bold.setBold(true);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (normalFont.pointSize() > 0) fixed.setPointSize(normalFont.pointSize());
    std::vector<QWidget*> boldWidgets;
    static const char* const kMonths[] = {"",    "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

    // -- control factories
    auto numBox = [this](int i, int widthPx) {
        auto* b = new plat::NumBox(this, i);
        b->setFixedWidth(widthPx);
        b->setAlignment(Qt::AlignRight);
        b->setMaxLength(12);
        b->Refused = numbers_only;
        b->Change = [this](int k) { Text1_Change(k); };
        b->LostFocus = [this](int k) { Text1_LostFocus(k); };
        text1_[i] = b;
        return b;
    };
    auto combo = [this](int i) {
        auto* c = new plat::ComboBox(this, i);
        c->Click = [this](int k) { Combo1_Click(k); };
        combo1_[i] = c;
        return c;
    };
    auto check = [this](int i, const QString& caption) {
        auto* c = new plat::CheckBox(caption, this, i);
        c->Click = [this](int k) { Check1_Click(k); };
        check1_[i] = c;
        return c;
    };
    auto option = [this](int i, const QString& caption, QWidget* parent) {
        auto* o = new plat::OptionButton(caption, parent, i);
        o->Click = [this](int k) { Option1_Click(k); };
        option1_[i] = o;
        return o;
    };
    auto button = [this](int i, const QString& caption, const QString& tip) {
        auto* b = new plat::CommandButton(caption, this, i);
        b->setMinimumHeight(30);
        b->setMinimumWidth(96);
        b->setToolTip(tip);
        b->Click = [this](int k) { SSCommand1_Click(k); };
        cmd_[i] = b;
        return b;
    };
    auto unitLabel = [this](int i) {
        auto* l = new QLabel(this);
        l->setMinimumWidth(60);
        unit_labels_[i] = l;
        return l;
    };
    auto group = [this, &bold](const QString& title) {
        auto* box = new QGroupBox(title, this);
        box->setFont(bold);
        return box;
    };
    // A labelled row of a form grid: caption, box, unit.
    auto row = [this](QGridLayout* grid, int r, const QString& caption, QWidget* w, QWidget* unit = nullptr) {
        grid->addWidget(new QLabel(caption, this), r, 0);
        grid->addWidget(w, r, 1);
        if (unit) grid->addWidget(unit, r, 2);
    };
    auto vline = [this] {
        auto* f = new QFrame(this);
        f->setFrameShape(QFrame::VLine);
        f->setFrameShadow(QFrame::Sunken);
        return f;
    };

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);
    auto* columns = new QHBoxLayout();
    columns->setSpacing(10);
    outer->addLayout(columns, 1);

    // ============ left column: location, pool or spa, heating, heat pump
    auto* leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(320);
    auto* left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(8);
    columns->addWidget(leftColumn, 0);
    {
        QGroupBox* box = group("Location");
        auto* v = new QVBoxLayout(box);
        auto* opts = new QHBoxLayout();
        opts->addWidget(option(0, "Florida", this));
        opts->addWidget(option(1, "US Other", this));
        opts->addWidget(option(2, "Non US", this));
        opts->addStretch(1);
        v->addLayout(opts);
        for (int grp = 0; grp < 3; ++grp) {
            plat::ComboBox* c = combo(kCityCombo[grp]);
            c->setMaxVisibleItems(20);
            // Picking the city the list already shows takes its prices, wind
            // and months again (a new city has done so through Click).
            QObject::connect(c, &QComboBox::activated, this, [this, grp](int idx) {
                if (filling_ > 0 || idx < 0 || idx >= static_cast<int>(lists_.records[grp].size())) return;
                if (!cities::holds(g.city_tab[lists_.records[grp][idx]])) choose_city(grp, idx);
            });
            v->addWidget(c);
        }
        city_note_ = new QLabel(this);
        city_note_->setWordWrap(true);
        city_note_->setStyleSheet("color: #505050;");
        v->addWidget(city_note_);
        left->addWidget(box);
    }
    {
        QGroupBox* box = group("Pool or spa");
        auto* v = new QVBoxLayout(box);
        auto* kind = new QHBoxLayout();
        // Two sets of options, each in its own frame so that each set is
        // exclusive on its own.
        auto* typeFrame = new QWidget(this);
        auto* th = new QHBoxLayout(typeFrame);
        th->setContentsMargins(0, 0, 0, 0);
        th->addWidget(option(3, "Pool", typeFrame));
        th->addWidget(option(4, "Spa", typeFrame));
        auto* siteFrame = new QWidget(this);
        auto* sh = new QHBoxLayout(siteFrame);
        sh->setContentsMargins(0, 0, 0, 0);
        sh->addWidget(option(5, "Outdoor", siteFrame));
        sh->addWidget(option(6, "Indoor", siteFrame));
        kind->addWidget(typeFrame);
        kind->addWidget(vline());
        kind->addWidget(siteFrame);
        kind->addStretch(1);
        v->addLayout(kind);

        auto* grid = new QGridLayout();
        grid->setHorizontalSpacing(8);
        row(grid, 0, "Surface area", numBox(0, 80), unitLabel(0));
        row(grid, 1, "Average depth", numBox(1, 80), unitLabel(1));
        row(grid, 2, "Sun exposure", numBox(3, 80), unitLabel(3));
        row(grid, 3, "Wind", numBox(2, 80), unitLabel(2));
        grid->setColumnStretch(3, 1);
        v->addLayout(grid);
        v->addWidget(check(kSpaBlower, "Spa blower runs"));
        v->addWidget(check(kFloorReturns, "Floor returns (reverse flow)"));
        left->addWidget(box);
    }
    {
        QGroupBox* box = group("Heating");
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        row(grid, 0, "Heating days per week", numBox(4, 80), unitLabel(4));
        row(grid, 1, "Heating hours per day", numBox(5, 80), unitLabel(5));
        row(grid, 2, "Water temperature", numBox(6, 80), unitLabel(6));
        text1_[6]->setToolTip("The thermostat: sets the wanted temperature of every month");
        grid->setColumnStretch(3, 1);
        left->addWidget(box);
    }
    {
        QGroupBox* box = group("Heat pump");
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        auto* brand = new plat::TextBox(this, kBrandBox);
        brand->setReadOnly(true);
        brand->setFocusPolicy(Qt::NoFocus);
        brand->setStyleSheet("background: #eeeeee;");
        brand->Change = [this](int k) { Text1_Change(k); };
        text1_[kBrandBox] = brand;
        row(grid, 0, "Brand", brand);
        plat::ComboBox* models = combo(kModelList);
        models->setMinimumWidth(160);
        row(grid, 1, "Model", models);
        grid->setColumnStretch(1, 1);
        left->addWidget(box);
    }
    left->addStretch(1);

    // ============ right column: existing heater, prices, months, result
    auto* right = new QVBoxLayout();
    right->setSpacing(8);
    columns->addLayout(right, 1);
    auto* top = new QHBoxLayout();
    top->setSpacing(10);
    right->addLayout(top);
    {
        QGroupBox* box = group("Existing heater");
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        plat::ComboBox* type = combo(kHeaterType);
        for (const char* s : {"None", "Electric resistance", "Natural gas", "Propane", "Fuel oil"}) type->AddItem(s);
        grid->addWidget(new QLabel("Type", this), 0, 0);
        grid->addWidget(type, 0, 1, 1, 2);
        row(grid, 1, "Efficiency", numBox(31, 76), unitLabel(31));
        row(grid, 2, "Output", numBox(32, 76), unitLabel(32));
        grid->addWidget(check(kBackup, "Backup for the heat pump"), 3, 0, 1, 3);
        grid->setColumnStretch(3, 1);
        top->addWidget(box, 1);
    }
    {
        QGroupBox* box = group("Energy prices");
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(8);
        row(grid, 0, "Electricity", numBox(33, 70), unitLabel(33));
        unit_labels_[33]->setText("$/kWh");
        const char* names[] = {"Natural gas", "Propane", "Oil"};
        const int boxes[] = {34, 35, 36};
        for (int k = 0; k < 3; ++k) {
            const int fuel = fields::fuel_of_box(boxes[k]);
            plat::ComboBox* unit = combo(10 + units::fuel_units_slot(fuel));
            for (int u = 0; u < units::unit_count(fuel); ++u) unit->AddItem("$/" + q(units::unit_name(fuel, u)));
            unit->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            row(grid, k + 1, names[k], numBox(boxes[k], 70), unit);
        }
        grid->setColumnStretch(3, 1);
        top->addWidget(box, 1);
    }

    // -- month by month, on a white table: inputs left of the line, results
    //    right of it, the year's result below
    {
        month_box_ = group("Month by month");
        auto* boxLayout = new QVBoxLayout(month_box_);
        boxLayout->setContentsMargins(6, 6, 6, 6);
        auto* table = new QFrame(this);
        table->setFrameShape(QFrame::StyledPanel);
        table->setAutoFillBackground(true);
        QPalette pal = table->palette();
        pal.setColor(QPalette::Window, pal.color(QPalette::Base));
        table->setPalette(pal);
        boxLayout->addWidget(table);
        auto* tableLayout = new QVBoxLayout(table);
        tableLayout->setContentsMargins(8, 4, 8, 6);
        tableLayout->setSpacing(4);

        auto* grid = new QGridLayout();
        grid->setHorizontalSpacing(7);
        grid->setVerticalSpacing(1);
        // Pump hours are per heating day, the figure to set against the
        // heating hours typed.
        const char* heads[] = {
            "Month",        "Heat",      "Wanted",   "Cover\nh/day", "", "Air", "Water", "Pump h per\nheating day",
            "Heat pump\n$", "Heater\n$", "Saving\n$"};
        QLabel* headLabels[11] = {};
        for (int c = 0; c < 11; ++c) {
            if (c == 4) continue;
            auto* h = new QLabel(heads[c], this);
            h->setAlignment(c >= 5 ? (Qt::AlignRight | Qt::AlignBottom) : (Qt::AlignHCenter | Qt::AlignBottom));
            grid->addWidget(h, 0, c);
            headLabels[c] = h;
            boldWidgets.push_back(h);
        }
        head_wanted_ = headLabels[2];
        head_air_ = headLabels[5];
        head_water_ = headLabels[6];
        head_heater_ = headLabels[9];
        grid->addWidget(vline(), 0, 4, 15, 1);

        // Created column by column: Tab walks down a column (January to
        // December) before it moves to the next.
        for (int m = 1; m <= 12; ++m) {
            plat::CheckBox* c = check(kFirstMonthCheck + m - 1, "");
            c->setToolTip("Heat the water this month");
            grid->addWidget(c, m, 1, Qt::AlignHCenter);
        }
        // Result labels have a fixed size and paint their own background: a
        // new text then repaints that label alone, without laying the
        // window out again (the results follow every key).
        const QFontMetrics fm(bold);
        const int cellH = fm.height() + 4;
        // The month boxes as high as a result row: the twelve months and the
        // notes under them fit the window.
        auto monthBox = [&](int i, int widthPx) {
            plat::TextBox* b = numBox(i, widthPx);
            b->setFixedHeight(cellH + 2);
            return b;
        };
        for (int m = 1; m <= 12; ++m) grid->addWidget(monthBox(kFirstWanted + m - 1, 56), m, 2, Qt::AlignHCenter);
        for (int m = 1; m <= 12; ++m) grid->addWidget(monthBox(kFirstCover + m - 1, 46), m, 3, Qt::AlignHCenter);

        auto resultLabel = [this, cellH](int widthPx) {
            auto* l = new QLabel(this);
            l->setTextFormat(Qt::PlainText);
            l->setFixedSize(widthPx, cellH);
            l->setAutoFillBackground(true);
            return l;
        };
        const int moneyW = fm.horizontalAdvance("-$99,999") + 6;
        const int numW = fm.horizontalAdvance("199.9 *") + 6;
        for (int m = 1; m <= 13; ++m) {
            const int r = m == 13 ? 14 : m;
            auto* name = new QLabel(m == 13 ? QString("Year") : QString(kMonths[m]), this);
            if (m == 13) boldWidgets.push_back(name);
            grid->addWidget(name, r, 0);
            for (int c = 0; c < kResultCols; ++c) {
                QLabel* cell = resultLabel(c >= kHpCost ? moneyW : numW);
                cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (m == 13) boldWidgets.push_back(cell);
                cells_[m][c] = cell;
                grid->addWidget(cell, r, 5 + c);
            }
        }
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        grid->addWidget(line, 13, 5, 1, kResultCols);
        grid->setColumnStretch(11, 1);
        tableLayout->addLayout(grid);

        auto* rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Sunken);
        tableLayout->addWidget(rule);

        auto* sum = new QGridLayout();
        sum->setHorizontalSpacing(10);
        sum->setVerticalSpacing(2);
        auto value = [&](int widthPx) {
            QLabel* l = resultLabel(widthPx);
            boldWidgets.push_back(l);
            return l;
        };
        auto caption = [this](const char* s) { return new QLabel(s, this); };
        units_ = value(220);
        savings_ = value(220);
        cop_ = value(90);
        payback_ = value(90);
        backup_ = value(440);
        payback_caption_ = caption("Payback:");
        sum->addWidget(caption("Heat pumps needed:"), 0, 0);
        sum->addWidget(units_, 0, 1);
        sum->addWidget(caption("Average C.O.P.:"), 0, 2);
        sum->addWidget(cop_, 0, 3);
        sum->addWidget(caption("Projected savings:"), 1, 0);
        sum->addWidget(savings_, 1, 1);
        sum->addWidget(payback_caption_, 1, 2);
        sum->addWidget(payback_, 1, 3);
        sum->addWidget(caption("Backup:"), 2, 0);
        sum->addWidget(backup_, 2, 1, 1, 3);
        // With backup, what the existing heater would cost alone: the
        // saving is taken from it.
        alone_caption_ = caption("Heater alone:");
        alone_ = value(220);
        sum->addWidget(alone_caption_, 3, 0);
        sum->addWidget(alone_, 3, 1);
        warning_ = new QLabel(this);
        warning_->setStyleSheet("color: #b00000;");
        warning_->setWordWrap(true);
        warning_->setVisible(false);
        sum->addWidget(warning_, 4, 0, 1, 4);
        sum->setColumnStretch(4, 1);
        tableLayout->addLayout(sum);
        tableLayout->addStretch(1);
        right->addWidget(month_box_, 1);
    }

    // ============ buttons
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

    // Group boxes carry a bold title; what is inside them uses the normal
    // font, but for the headings and the values that stand out.
    for (QGroupBox* gb : findChildren<QGroupBox*>())
        for (QWidget* w : gb->findChildren<QWidget*>()) w->setFont(normalFont);
    for (QWidget* w : boldWidgets) w->setFont(bold);
    combo1_[9]->setFont(fixed);  // "ST  City": the columns line up
    combo1_[10]->setFont(fixed);
}
