#include "input/ui/weathers.h"

#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "data.h"
#include "engine/engine.h"
#include "input/units.h"
#include "model.h"
#include "input/ui/register.h"
#include "platform/instances.h"

namespace {

QPointer<weathers> g_weathers;   // the program's one input window (frm_weathers)
weathers* g_hooked = nullptr;    // the window the engine and data hooks talk to

constexpr int kBrandBox = 65;
constexpr int kFirstCover = 7;   // Text1(7..18): cover hours, January .. December
constexpr int kFirstWanted = 19; // Text1(19..30): desired water temperature by month
constexpr int kHeaterType = 1;   // Combo1(1)
constexpr int kModelList = 8;    // Combo1(8)
constexpr int kFirstMonthCheck = 1;  // Check1(1..12)
constexpr int kSpaBlower = 13, kFloorReturns = 14, kBackup = 15;
enum Buttons : int { kCalculate = 0, kCustomer = 1, kCalculator = 2, kExit = 3, kHpPrice = 8, kFinance = 10,
                     kPrint = 11 };

// The city list of each group: Florida, other US, outside the US.
constexpr int kCityCombo[3] = {7, 9, 10};

bool isCover(int i) { return i >= kFirstCover && i < kFirstCover + 12; }
bool isWanted(int i) { return i >= kFirstWanted && i < kFirstWanted + 12; }

bool metricLen() { return g.units_len != 0; }
bool kwHeat() { return g.units_heat != 0; }
bool celsius() { return g.units_temp != 0; }

QString q(const std::string& s) { return QString::fromStdString(s); }
QString u8(const char* s) { return QString::fromUtf8(s); }

std::string trimmed(const std::string& s) { return vb::Trim(s); }

std::string keyOf(const std::string& s) {
    std::string out;
    strip_spaces(s, out);
    return out;
}

// The fuel whose price a box holds (Text1(34..36)).
int fuelOfBox(int i) { return i == 34 ? units::kGas : i == 35 ? units::kPropane : units::kOil; }
int fuelUnit(int fuel) {
    const int slot = units::fuel_units_slot(fuel);
    const float u = slot ? g.fuel_units[slot] : 0.0f;
    if (!(u >= 0 && u < static_cast<float>(units::unit_count(fuel)))) return 0;  // NaN too
    const int n = static_cast<int>(u);
    return static_cast<float>(n) == u ? n : 0;
}

QString money(double v) { return q(vb::Format(v, "$##,##0")); }

// A city's wind as the project takes it: 0..50 mph.
float cityWind(const CityRecord& r) { return std::isfinite(r.wind) ? std::clamp(r.wind, 0.0f, 50.0f) : 0.0f; }

// The project's monthly weather is that city's.
bool sameWeather(const CityRecord& r) {
    for (int m = 1; m <= 12; ++m)
        if (r.humidity[m] != g.month_city_a[m] || r.sun[m] != g.month_city_b[m] || r.air_temp[m] != g.month_city_c[m])
            return false;
    return true;
}

// The project holds everything choosing the city would copy.
bool holdsCity(const CityRecord& r) {
    return g.city_name == trimmed(r.city) && g.sel_state == trimmed(r.state) && g.rate_elec == cy(r.elec_cost) &&
           g.rate_natgas == cy(r.gas_cost) && g.rate_propane == cy(r.propane_cost) && g.rate_oil == cy(r.oil_cost) &&
           g.wind_mph == cityWind(r) && sameWeather(r);
}

const char* fuelWord(int type) {
    switch (type) {
        case HT_ELEC: return "Electric";
        case HT_GAS: return "Gas";
        case HT_PROPANE: return "Propane";
        case HT_OIL: return "Oil";
        default: return "";
    }
}

}  // namespace

// ---- the numeric boxes ----------------------------------------------------------------

namespace {
enum class Kind { Area, Depth, Wind, Percent, Count, Temp, Eff, Output, PriceElec, PriceFuel };
}  // namespace

struct weathers::Field {
    int index;
    Kind kind;
    double min_us;  // smallest value the engine is handed, US units
    double max_us;  // largest value accepted, US units
};

namespace {

// Limits a dealer would expect; the engine is never handed a value outside.
const weathers::Field* fieldTable(int i);

double toShown(Kind k, double us, int box) {
    switch (k) {
        case Kind::Area: return units::area_shown(us, metricLen());
        case Kind::Depth: return units::depth_shown(us, metricLen());
        case Kind::Wind: return units::wind_shown(us, metricLen());
        case Kind::Temp: {
            float c = 0;
            to_deg_c(c, static_cast<float>(us));
            return c;
        }
        case Kind::Output: return units::output_shown(us, kwHeat());
        case Kind::PriceFuel: {
            const int fuel = fuelOfBox(box);
            return units::price_shown(cy(us), fuel, fuelUnit(fuel)).toDouble();
        }
        default: return us;
    }
}

double toUs(Kind k, double shown, int box) {
    switch (k) {
        case Kind::Area: return units::area_stored(shown, metricLen());
        case Kind::Depth: return units::depth_stored(shown, metricLen());
        case Kind::Wind: return units::wind_stored(shown, metricLen());
        case Kind::Temp: return from_deg_c(static_cast<float>(shown));
        case Kind::Output: return units::output_stored(shown, kwHeat());
        case Kind::PriceFuel: {
            const int fuel = fuelOfBox(box);
            return units::price_stored(shown, fuel, fuelUnit(fuel)).toDouble();
        }
        default: return shown;
    }
}

// Decimals a box shows (and its limits are rounded to).
int decimals(Kind k) {
    switch (k) {
        case Kind::Area: return metricLen() ? 1 : 0;
        case Kind::Depth: return metricLen() ? 2 : 1;
        case Kind::Wind: return 1;
        case Kind::Percent: return 1;
        case Kind::Count: return 0;
        case Kind::Temp: return 1;
        case Kind::Eff: return 1;
        case Kind::Output: return kwHeat() ? 2 : 0;
        case Kind::PriceElec:
        case Kind::PriceFuel: return 4;
    }
    return 0;
}

}  // namespace

const weathers::Field* weathers::field(int i) const { return fieldTable(i); }

namespace {
const weathers::Field* fieldTable(int i) {
    using F = weathers::Field;
    static const F area{0, Kind::Area, 0, 50000};
    static const F depth{1, Kind::Depth, 0, 30};
    static const F wind{2, Kind::Wind, 0, 50};
    static const F sun{3, Kind::Percent, 0, 100};
    static const F days{4, Kind::Count, 1, 7};
    static const F hours{5, Kind::Count, 1, 24};
    static const F temp{6, Kind::Temp, 40, 104};
    static const F eff{31, Kind::Eff, 1, 100};
    static const F output{32, Kind::Output, 0, 5000000};   // BTU/h (about 1,465 kW)
    static const F elec{33, Kind::PriceElec, 0, 5};         // $/kWh
    static const F gas{34, Kind::PriceFuel, 0, 50};         // $/therm
    static const F propane{35, Kind::PriceFuel, 0, 50};     // $/US gal
    static const F oil{36, Kind::PriceFuel, 0, 50};         // $/US gal
    switch (i) {
        case 0: return &area;
        case 1: return &depth;
        case 2: return &wind;
        case 3: return &sun;
        case 4: return &days;
        case 5: return &hours;
        case 6: return &temp;
        case 31: return &eff;
        case 32: return &output;
        case 33: return &elec;
        case 34: return &gas;
        case 35: return &propane;
        case 36: return &oil;
        default: break;
    }
    if (isWanted(i)) return &temp;
    return nullptr;
}
}  // namespace

double weathers::limit_shown(const Field& f, bool max) const {
    const double v = toShown(f.kind, max ? f.max_us : f.min_us, f.index);
    const double p = std::pow(10.0, decimals(f.kind));
    // Rounded inwards, so that every value inside the shown range is inside
    // the stored one as well.
    return max ? std::floor(v * p + 1e-6) / p : std::ceil(v * p - 1e-6) / p;
}

QString weathers::unit_suffix(const Field& f) const {
    switch (f.kind) {
        case Kind::Area: return metricLen() ? u8(" m²") : u8(" ft²");
        case Kind::Depth: return metricLen() ? " m" : " ft";
        case Kind::Wind: return metricLen() ? " km/h" : " mph";
        case Kind::Percent:
        case Kind::Eff: return " %";
        case Kind::Count: return f.index == 4 ? " days a week" : " hours a day";
        case Kind::Temp: return celsius() ? u8(" °C") : u8(" °F");
        case Kind::Output: return kwHeat() ? " kW" : " BTU/h";
        case Kind::PriceElec: return " $/kWh";
        case Kind::PriceFuel: {
            const int fuel = fuelOfBox(f.index);
            return " $/" + q(units::unit_name(fuel, fuelUnit(fuel)));
        }
    }
    return {};
}

// The stored value behind box i, in US units.
double weathers::stored_value(int i) const {
    switch (i) {
        case 0: return g.pool_area;
        case 1: return g.pool_depth;
        case 2: return g.wind_mph;
        case 3: return g.sun_pct;
        case 4: return g.heat_days;
        case 5: return g.heat_hours;
        case 6: return g.desired_temp;
        case 31: return g.heater_eff;
        case 32: return g.heater_btu;
        case 33: return g.rate_elec.toDouble();
        case 34: return g.rate_natgas.toDouble();
        case 35: return g.rate_propane.toDouble();
        case 36: return g.rate_oil.toDouble();
        default: break;
    }
    if (isWanted(i)) return g.temp_table[i - kFirstWanted + 1][6];
    if (isCover(i)) return g.month_hours_c[i - kFirstCover + 1][0];
    return 0;
}

QString weathers::shown_text(int i) const {
    if (isCover(i)) return QString::number(g.month_hours_c[i - kFirstCover + 1][0]);
    const Field* f = field(i);
    if (!f) return {};
    const bool price = f->kind == Kind::PriceElec || f->kind == Kind::PriceFuel;
    return q(units::num_text(toShown(f->kind, stored_value(i), i), decimals(f->kind), price ? 2 : 0));
}

// Whether the box's text, read as if typed, gives the stored value (then
// the text is kept as the dealer typed it: "7.48" per ft³ of oil is not
// turned into the 7.4798 that the stored price per gallon gives back).
bool weathers::box_holds_stored(int i) const {
    auto it = text1_.find(i);
    if (it == text1_.end()) return false;
    const QString text = it->second->text();
    double v = 0;
    if (text.trimmed().isEmpty() || !units::clean_number(text.toStdString(), v)) return false;
    if (isCover(i)) return vb::CInt(v) == g.month_hours_c[i - kFirstCover + 1][0];
    const Field* f = field(i);
    if (!f || v > limit_shown(*f, true) + 1e-9) return false;
    const double us = std::clamp(toUs(f->kind, v, i), f->min_us, f->max_us);
    const double stored = stored_value(i);
    switch (f->kind) {
        case Kind::PriceElec:
        case Kind::PriceFuel: return cy(us) == cy(stored);
        case Kind::Count: return vb::CInt(us) == vb::CInt(stored);
        case Kind::Output: return std::abs(us - stored) < 1e-6;
        default: return static_cast<float>(us) == static_cast<float>(stored);
    }
}

// ---- construction -----------------------------------------------------------------------

weathers::weathers() : plat::Form("weathers") {
    SetCaption("Pool / Spa Heat Pump Project");
    install_hooks();
}

weathers::~weathers() {
    if (g_hooked == this) {
        data_hooks().fill_city_lists = nullptr;
        data_hooks().brand_box_text = nullptr;
        engine::set_display({});
        g_hooked = nullptr;
    }
}

void weathers::install_hooks() {
    g_hooked = this;
    data_hooks().fill_city_lists = [this] { fill_city_lists(); };
    data_hooks().brand_box_text = [this]() -> std::string {
        if (made_) {
            const std::string t = text1_[kBrandBox]->text().toStdString();
            if (!trimmed(t).empty()) return t;
        }
        return g.brand_name;
    };
    engine::Display d;
    d.clear_results = [this] { clear_results(); };
    d.show_backup = [this] { show_backup(); };
    d.show_ambient = [this] { show_ambient(); };
    d.show_results = [this] { show_results(); };
    engine::set_display(std::move(d));
}

plat::TextBox* weathers::Text1(int i) {
    make();
    return plat::element(text1_, i);
}
plat::ComboBox* weathers::Combo1(int i) {
    make();
    return plat::element(combo1_, i);
}
plat::CheckBox* weathers::Check1(int i) {
    make();
    return plat::element(check1_, i);
}
plat::OptionButton* weathers::Option1(int i) {
    make();
    return plat::element(option1_, i);
}
plat::CommandButton* weathers::SSCommand1(int i) {
    make();
    return plat::element(cmd_, i);
}

void weathers::build() { make(); }

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
    static const char* const kMonths[] = {"", "JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

    // -- control factories
    auto numBox = [this](int i, int widthPx) {
        auto* b = new plat::TextBox(this, i);
        b->setFixedWidth(widthPx);
        b->setAlignment(Qt::AlignRight);
        b->setMaxLength(12);
        b->Change = [this](int k) { Text1_Change(k); };
        b->KeyPress = [this](int k, int& key) { Text1_KeyPress(k, key); };
        b->GotFocus = [this](int k) { Text1_GotFocus(k); };
        b->LostFocus = [this](int k) { Text1_LostFocus(k); };
        // The user placed the cursor or selected part of the text (mouse,
        // arrow keys, Home/End, paste): the next key edits there.
        QObject::connect(b, &QLineEdit::selectionChanged, this, [this, i] {
            if (selecting_ == 0) first_key_[i] = false;
        });
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
                if (filling_ > 0 || idx < 0 || idx >= static_cast<int>(city_recs_[grp].size())) return;
                if (!holdsCity(g.city_tab[city_recs_[grp][idx]])) choose_city(grp, idx);
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
            const int fuel = fuelOfBox(boxes[k]);
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
        const char* heads[] = {"Month", "Heat", "Wanted", "Cover\nh/day", "", "Air", "Water", "Pump\nh/day",
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
        for (int m = 1; m <= 12; ++m) grid->addWidget(numBox(kFirstWanted + m - 1, 56), m, 2, Qt::AlignHCenter);
        for (int m = 1; m <= 12; ++m) grid->addWidget(numBox(kFirstCover + m - 1, 46), m, 3, Qt::AlignHCenter);

        // Result labels have a fixed size and paint their own background: a
        // new text then repaints that label alone, without laying the
        // window out again (the results follow every key).
        const QFontMetrics fm(bold);
        const int cellH = fm.height() + 4;
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
        warning_ = new QLabel(this);
        warning_->setStyleSheet("color: #b00000;");
        warning_->setWordWrap(true);
        warning_->setVisible(false);
        sum->addWidget(warning_, 3, 0, 1, 4);
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
    combo1_[9]->setFont(fixed);   // "ST  City": the columns line up
    combo1_[10]->setFont(fixed);
}

// ---- life cycle ---------------------------------------------------------------------------

void weathers::Form_Load() {
    make();
    install_hooks();
    ++filling_;
    show_units();
    set_brand_model();
    --filling_;
    load_locations();  // fills the city lists through the hook and selects the project's city
    show_inputs();
    refresh_buttons();
    price_visibility();
    full_calc(false);
}

void weathers::Form_Activate() {
    install_hooks();
    if (g.cities_changed == 1) {
        g.cities_changed = 0;
        load_locations();
    }
    refresh_buttons();
    price_visibility();
    // Units and prices may have been changed by other windows meanwhile.
    show_units();
    show_inputs();
    full_calc(false);
    // A project started before the customer was entered: ask for the
    // customer first (once).
    if (g.cust_done != 1 && g.cust_win_state == 0 && windows().custname) {
        SetEnabled(false);
        if (windows().show_custname) windows().show_custname();
    }
}

void weathers::Form_Unload(int& cancel) {
    if (ui::MsgBox("Do you want to leave?", ui::vbYesNo | ui::vbQuestion, "Heater") != ui::vbYes) {
        cancel = 1;
        return;
    }
    save_last_data();
    Dfltout();
}

// ---- showing the inputs -------------------------------------------------------------------

void weathers::set_box(int i, const QString& text) {
    plat::TextBox* b = text1_[i];
    if (!b) return;
    ++filling_;
    if (b->text() != text) b->setText(text);
    --filling_;
    last_good_[i] = text;
}

void weathers::show_units() {
    if (!made_) return;
    for (auto& [i, label] : unit_labels_) {
        if (i == 33) continue;
        const Field* f = field(i);
        if (f) label->setText(f->kind == Kind::Count ? QString() : unit_suffix(*f).trimmed());
    }
    const QString deg = celsius() ? u8("°C") : u8("°F");
    head_wanted_->setText("Wanted\n" + deg);
    head_air_->setText("Air\n" + deg);
    head_water_->setText("Water\n" + deg);
    ++filling_;
    for (int fuel : {int(units::kGas), int(units::kOil), int(units::kPropane)}) {
        plat::ComboBox* c = combo1_[10 + units::fuel_units_slot(fuel)];
        if (c->currentIndex() != fuelUnit(fuel)) c->setCurrentIndex(fuelUnit(fuel));
    }
    --filling_;
}

// A value outside a box's limits can only come from the settings file
// (edited by hand, or written by another version): it is brought into the
// limits a typed value has, so that the engine and the printouts never work
// on what the window would refuse (an efficiency of 0 prices the fuel
// heater at nothing; 99 cover hours a day).
void weathers::clamp_inputs() {
    auto lim = [this](int i, double v) {
        const Field* f = field(i);
        return std::isfinite(v) ? std::clamp(v, f->min_us, f->max_us) : f->min_us;
    };
    auto fit = [&](float& x, int i) { x = static_cast<float>(lim(i, x)); };
    auto fitMoney = [&](Currency& c, int i) {
        const double v = c.toDouble();
        if (lim(i, v) != v) c = cy(lim(i, v));
    };
    fit(g.pool_area, 0);
    fit(g.pool_depth, 1);
    fit(g.wind_mph, 2);
    fit(g.sun_pct, 3);
    g.heat_days = static_cast<i16>(lim(4, g.heat_days));
    g.heat_hours = static_cast<i16>(lim(5, g.heat_hours));
    fit(g.desired_temp, 6);
    fit(g.heater_eff, 31);
    g.heater_btu = lim(32, g.heater_btu);
    fitMoney(g.rate_elec, 33);
    fitMoney(g.rate_natgas, 34);
    fitMoney(g.rate_propane, 35);
    fitMoney(g.rate_oil, 36);
    for (int m = 1; m <= 12; ++m) {
        fit(g.temp_table[m][6], kFirstWanted + m - 1);
        for (int c = 0; c <= 1; ++c)
            g.month_hours_c[m][c] = static_cast<i16>(std::clamp<int>(g.month_hours_c[m][c], 0, 24));
    }
    if (g.fuel_type < HT_HEATPUMP || g.fuel_type > HT_OIL) g.fuel_type = HT_HEATPUMP;  // no existing heater
}

void weathers::show_inputs() {
    if (!made_) return;
    clamp_inputs();
    ++filling_;
    auto show = [this](int i) {
        if (box_holds_stored(i)) last_good_[i] = text1_[i]->text();
        else set_box(i, shown_text(i));
    };
    for (int i : {0, 1, 2, 3, 4, 5, 6, 31, 32, 33, 34, 35, 36}) show(i);
    for (int m = 1; m <= 12; ++m) {
        show(kFirstCover + m - 1);
        show(kFirstWanted + m - 1);
        check1_[kFirstMonthCheck + m - 1]->setChecked(g.run_state[m][0] != 0);
    }
    const bool isPool = g.pool_type == "Pool";
    option1_[isPool ? 3 : 4]->setChecked(true);
    option1_[g.pool_site == "In" ? 6 : 5]->setChecked(true);
    check1_[kSpaBlower]->setChecked(g.spa_blower != 0);
    check1_[kFloorReturns]->setChecked(g.opt_reduce != 0);
    check1_[kBackup]->setChecked(g.backup_on != 0);
    const int type = std::clamp<int>(g.fuel_type, 1, 5);
    combo1_[kHeaterType]->setCurrentIndex(type - 1);
    --filling_;
    heater_enabling();
    pool_enabling();
}

void weathers::heater_enabling() {
    const int t = g.fuel_type;
    text1_[31]->setEnabled(t >= HT_GAS && t <= HT_OIL);
    text1_[32]->setEnabled(t >= HT_ELEC && t <= HT_OIL);
    check1_[kBackup]->setEnabled(t >= HT_ELEC && t <= HT_OIL);
    head_heater_->setText((g.backup_on != 0 && t >= HT_ELEC ? QString("Backup") : QString(fuelWord(t))) + "\n$");
}

void weathers::pool_enabling() {
    const bool isPool = g.pool_type == "Pool";
    check1_[kSpaBlower]->setEnabled(!isPool);
    check1_[kFloorReturns]->setEnabled(isPool);
}

void weathers::refresh_buttons() {
    if (!made_) return;
    auto avail = [this](int i, bool registered) {
        plat::CommandButton* b = cmd_[i];
        if (!registered) {
            unregistered_[i] = true;
            b->setEnabled(false);
        } else if (unregistered_[i]) {
            unregistered_[i] = false;
            b->setEnabled(true);
        }
    };
    const WindowRegistry& w = windows();
    avail(kCustomer, static_cast<bool>(w.custname));
    avail(kCalculator, static_cast<bool>(w.Calculator));
    avail(kHpPrice, static_cast<bool>(w.elect));
    avail(kFinance, static_cast<bool>(w.lease));
    avail(kPrint, static_cast<bool>(w.Prt2));
}

void weathers::price_visibility() {
    if (!made_) return;
    // Heat-pump prices and finance are not offered: no price buttons and no
    // payback, which rests on the heat pumps' price.
    const bool prices = g.no_prices != 1;
    cmd_[kHpPrice]->setVisible(prices);
    cmd_[kFinance]->setVisible(prices);
    payback_->setVisible(prices);
    payback_caption_->setVisible(prices);
}

// ---- heat pump: brand box and model list -----------------------------------------------------

void weathers::fill_cmb8() {
    make();
    const std::string brandKey = keyOf(text1_[kBrandBox]->text().toStdString());
    int rec = 0;
    for (int k = 1; k <= 100 && !brandKey.empty(); ++k) {
        if (!g.pump_tab[k].brand.empty() && keyOf(g.pump_tab[k].brand) == brandKey) {
            rec = k;
            break;
        }
    }
    if (rec == 0) rec = std::clamp<int>(g.pump_rec, 1, 100);
    plat::ComboBox* c = combo1_[kModelList];
    c->Clear();
    const PumpBrand& r = g.pump_tab[rec];
    for (int k = 1; k <= 9; ++k) {
        const std::string name = trimmed(r.model[k]);
        if (r.in_list[k] == 1 && !name.empty()) c->AddItem(q(name));
    }
}

// The model list of the brand in the brand box; the project's model chosen
// in it (or the first one) and its rating points put into points 1..8 for
// the engine (read_pumpa also keeps brand_name and model_name).
void weathers::select_model() {
    fill_cmb8();
    plat::ComboBox* c = combo1_[kModelList];
    ++filling_;
    if (c->SelectText(q(trimmed(g.model_name))) < 0 && c->count() > 0) c->setCurrentIndex(0);
    --filling_;
    const std::string brand = trimmed(text1_[kBrandBox]->text().toStdString());
    const std::string model = trimmed(c->currentText().toStdString());
    if (brand.empty()) return;
    if (model.empty()) g.brand_name = brand;
    else read_pumpa(brand, model);
}

// Shows the project's brand and model.
void weathers::set_brand_model() {
    std::string brand = trimmed(g.brand_name);
    if (brand.empty()) brand = trimmed(g.pump_tab[std::clamp<int>(g.pump_rec, 1, 100)].brand);
    set_box(kBrandBox, q(brand));
    select_model();
}

// The brand box was given another brand (the brand window): its models.
void weathers::brand_changed() {
    last_good_[kBrandBox] = text1_[kBrandBox]->text();
    select_model();
    quick_calc();
}

// ---- cities ---------------------------------------------------------------------------------

void weathers::fill_city_lists() {
    make();
    ++filling_;
    for (int grp = 0; grp < 3; ++grp) {
        combo1_[kCityCombo[grp]]->Clear();
        city_recs_[grp].clear();
    }
    for (int i = 1; i <= std::min<int>(g.city_count, 500); ++i) {
        std::string entry;
        const int grp = city_entry(g.city_tab[i], entry);
        if (grp < 0 || grp > 2) continue;
        combo1_[kCityCombo[grp]]->AddItem(q(entry));
        city_recs_[grp].push_back(i);
    }
    --filling_;
    apply_area_sel();
    select_project_city();

    // A city named to be chosen when the lists are loaded.
    if (!g.preset_city.empty()) {
        const std::string want = vb::UCase(vb::RTrim(g.preset_city));
        g.preset_city.clear();
        for (int grp = 0; grp < 3; ++grp) {
            if (g.area_sel >= 1 && g.area_sel <= 3 && grp != g.area_sel - 1) continue;
            for (std::size_t j = 0; j < city_recs_[grp].size(); ++j) {
                if (vb::UCase(trimmed(g.city_tab[city_recs_[grp][j]].city)) == want) {
                    choose_city(grp, static_cast<int>(j));
                    return;
                }
            }
        }
    }
}

void weathers::apply_area_sel() {
    const int sel = g.area_sel;
    for (int i = 0; i < 3; ++i) option1_[i]->setEnabled(sel < 1 || sel > 3 || sel == i + 1);
    if (sel >= 1 && sel <= 3) g.area_group = static_cast<i16>(sel - 1);
}

// Shows the project's city in its list without taking its prices again (the
// project's own prices and wind may differ from the city's). Its monthly
// weather, which the window does not let anyone type, is the city's: a
// project whose months are not those of its city (the city list window
// chose another city, or the record was edited) takes the record's months.
// A project whose city is not in the lists takes the first city of its group.
void weathers::select_project_city() {
    int grp = std::clamp<int>(g.area_group, 0, 2);
    const std::string city = trimmed(g.city_name);
    const std::string state = trimmed(g.sel_state);
    // The first record of that name, or of two alike the one whose months
    // the project holds.
    auto find = [&](int k, bool withState) {
        int first = -1;
        for (std::size_t j = 0; j < city_recs_[k].size(); ++j) {
            const CityRecord& r = g.city_tab[city_recs_[k][j]];
            if (r.city != city || (withState && k != 0 && r.state != state)) continue;
            if (sameWeather(r)) return static_cast<int>(j);
            if (first < 0) first = static_cast<int>(j);
        }
        return first;
    };
    int found = city.empty() ? -1 : find(grp, true);
    if (found < 0 && !city.empty()) found = find(grp, false);
    if (found < 0 && !city.empty() && (g.area_sel < 1 || g.area_sel > 3)) {
        // The city may stand in another group (its record was edited).
        for (int k = 0; k < 3 && found < 0; ++k) {
            if (k == grp) continue;
            const int j = find(k, true);
            if (j >= 0) {
                grp = k;
                found = j;
                g.area_group = static_cast<i16>(k);
            }
        }
    }
    ++filling_;
    for (int k = 0; k < 3; ++k) {
        plat::ComboBox* c = combo1_[kCityCombo[k]];
        const int want = (k == grp && found >= 0) ? found : (c->count() > 0 ? 0 : -1);
        if (c->currentIndex() != want) c->setCurrentIndex(want);
    }
    option1_[grp]->setChecked(true);
    --filling_;
    show_city_group();
    if (found >= 0) {
        const CityRecord& r = g.city_tab[city_recs_[grp][found]];
        if (!sameWeather(r)) {
            for (int m = 1; m <= 12; ++m) {
                g.month_city_a[m] = r.humidity[m];
                g.month_city_b[m] = r.sun[m];
                g.month_city_c[m] = r.air_temp[m];
            }
            quick_calc();
        }
    } else if (!city_recs_[grp].empty()) {
        choose_city(grp, 0);
    }
}

void weathers::show_city_group() {
    const int grp = std::clamp<int>(g.area_group, 0, 2);
    for (int k = 0; k < 3; ++k) combo1_[kCityCombo[k]]->setVisible(k == grp);
    QString where = q(trimmed(g.city_name));
    const std::string state = trimmed(g.sel_state);
    if (!where.isEmpty() && !state.empty()) where += ", " + q(state);
    city_note_->setText(where.isEmpty() ? QString("Choose the customer's city.")
                                        : where + "  (prices and wind from the city; change them if needed)");
}

void weathers::choose_city(int grp, int entry) {
    if (grp < 0 || grp > 2 || entry < 0 || entry >= static_cast<int>(city_recs_[grp].size())) return;
    const CityRecord& r = g.city_tab[city_recs_[grp][entry]];
    g.area_group = static_cast<i16>(grp);
    g.city_name = trimmed(r.city);
    g.sel_state = trimmed(r.state);
    g.rate_elec = cy(r.elec_cost);
    g.rate_natgas = cy(r.gas_cost);
    g.rate_propane = cy(r.propane_cost);
    g.rate_oil = cy(r.oil_cost);
    g.wind_mph = cityWind(r);
    for (int m = 1; m <= 12; ++m) {
        g.month_city_a[m] = r.humidity[m];
        g.month_city_b[m] = r.sun[m];
        g.month_city_c[m] = r.air_temp[m];
    }
    ++filling_;
    plat::ComboBox* c = combo1_[kCityCombo[grp]];
    if (c->currentIndex() != entry) c->setCurrentIndex(entry);
    option1_[grp]->setChecked(true);
    --filling_;
    for (int i : {2, 33, 34, 35, 36}) set_box(i, shown_text(i));
    show_city_group();
    quick_calc();
}

// ---- handlers -------------------------------------------------------------------------------

void weathers::Text1_GotFocus(int i) {
    plat::TextBox* b = text1_[i];
    if (!b || b->isReadOnly()) return;
    start_replacing(i);
    // A mouse click places the cursor after the focus came: select again
    // once it has (unless a key came first).
    const unsigned keys = keys_[i];
    QTimer::singleShot(0, b, [this, b, i, keys] {
        if (b->hasFocus() && keys_[i] == keys) start_replacing(i);
    });
}

void weathers::start_replacing(int i) {
    plat::TextBox* b = text1_[i];
    if (!b) return;
    first_key_[i] = true;
    ++selecting_;
    b->SelectAll();
    --selecting_;
}

void weathers::Text1_KeyPress(int i, int& key) {
    plat::TextBox* b = text1_[i];
    if (!b || i == kBrandBox) return;
    ++keys_[i];
    if (key == 27) {  // Esc: nothing to do
        key = 0;
        return;
    }
    const bool replace = first_key_[i];
    bool ok = (key >= '0' && key <= '9') || key == 8 || key == 127;
    if (key == '.') {
        // One decimal point: a second one is refused, unless the point
        // already there is about to be replaced.
        QString rest = b->text();
        if (replace) rest.clear();
        else if (b->hasSelectedText()) rest.remove(b->selectionStart(), b->selectedText().size());
        ok = !rest.contains('.');
    }
    if (!ok) {
        key = 0;
        numbers_only();
        return;
    }
    if (replace) {
        ++selecting_;
        b->SelectAll();  // the key replaces the whole text
        --selecting_;
        first_key_[i] = false;
    }
}

void weathers::Text1_Change(int i) {
    if (filling_ > 0) return;
    plat::TextBox* b = text1_[i];
    if (!b) return;
    if (i == kBrandBox) {
        brand_changed();
        return;
    }
    double v = 0;
    if (!units::clean_number(b->text().toStdString(), v)) {
        // Pasted or set text that is no number: refused like a key, and
        // the last good text comes back (nothing is stored).
        numbers_only();
        auto it = last_good_.find(i);
        set_box(i, it != last_good_.end() ? it->second : shown_text(i));
        return;
    }
    last_good_[i] = b->text();
    if (isCover(i)) {
        store_cover(i);
        return;
    }
    const Field* f = field(i);
    if (!f) return;
    const double max = limit_shown(*f, true);
    if (v > max + 1e-9) {
        ui::MsgBox("Maximum value is " + units::num_text(max, decimals(f->kind)) +
                       unit_suffix(*f).toStdString() + ".",
                   ui::vbOKOnly | ui::vbExclamation, "Error");
        b->SetText("0");  // runs this handler again: stores 0 (or the least the engine can use)
        start_replacing(i);  // the dealer types the right value over the 0, not after it
        return;
    }
    store(i, v);
    quick_calc();
}

// Cover hours: CInt(Val(text)) into month_hours_c(m, 0) and the settings'
// box copy (m, 1); more than 24 becomes "24".
void weathers::store_cover(int i) {
    plat::TextBox* b = text1_[i];
    const int m = i - kFirstCover + 1;
    const int hours = vb::CInt(vb::Val(b->text().toStdString()));
    if (hours > 24) {
        b->SetText("24");  // runs the change handling again with 24
        return;
    }
    g.month_hours_c[m][0] = static_cast<i16>(std::max(hours, 0));
    g.month_hours_c[m][1] = g.month_hours_c[m][0];
    quick_calc();
}

void weathers::store(int i, double shown) {
    const Field* f = field(i);
    if (!f) return;
    const double us = std::clamp(toUs(f->kind, shown, i), f->min_us, f->max_us);
    auto whole = [&](double lo, double hi) {
        return static_cast<i16>(std::clamp<int>(vb::CInt(us), static_cast<int>(lo), static_cast<int>(hi)));
    };
    switch (i) {
        case 0: g.pool_area = static_cast<float>(us); break;
        case 1: g.pool_depth = static_cast<float>(us); break;
        case 2: g.wind_mph = static_cast<float>(us); break;
        case 3: g.sun_pct = static_cast<float>(us); break;
        case 4: g.heat_days = whole(f->min_us, f->max_us); break;
        case 5: g.heat_hours = whole(f->min_us, f->max_us); break;
        case 6:
            // The thermostat sets every month's wanted temperature.
            g.desired_temp = static_cast<float>(us);
            for (int m = 1; m <= 12; ++m) {
                g.temp_table[m][6] = g.desired_temp;
                g.temp_table[m][5] = g.desired_temp;
                set_box(kFirstWanted + m - 1, shown_text(kFirstWanted + m - 1));
            }
            break;
        case 31: g.heater_eff = static_cast<float>(us); break;
        case 32: g.heater_btu = us; break;
        case 33: g.rate_elec = cy(us); break;
        case 34: g.rate_natgas = cy(us); break;
        case 35: g.rate_propane = cy(us); break;
        case 36: g.rate_oil = cy(us); break;
        default:
            if (isWanted(i)) {
                const int m = i - kFirstWanted + 1;
                g.temp_table[m][6] = static_cast<float>(us);
                g.temp_table[m][5] = static_cast<float>(us);
            }
            break;
    }
}

void weathers::Text1_LostFocus(int i) {
    first_key_[i] = false;
    plat::TextBox* b = text1_[i];
    if (!b || i == kBrandBox || filling_ > 0) return;
    if (b->text().trimmed().isEmpty()) {
        set_box(i, "0");  // an empty box stands for 0 and says so
    }
    const Field* f = field(i);
    if (!f || f->min_us <= 0) return;
    // A box below its smallest value (the engine has been handed that
    // value while it was typed) takes the smallest value when it is left.
    double v = 0;
    if (!units::clean_number(b->text().toStdString(), v)) return;
    const double min = limit_shown(*f, false);
    if (v < min - 1e-9) {
        const std::string minText = units::num_text(min, decimals(f->kind));
        ui::MsgBox("Minimum value is " + minText + unit_suffix(*f).toStdString() + ".",
                   ui::vbOKOnly | ui::vbExclamation, "Error");
        b->SetText(q(minText));
    }
}

void weathers::Combo1_Click(int i) {
    if (filling_ > 0) return;
    plat::ComboBox* c = combo1_[i];
    if (!c) return;
    const int idx = c->currentIndex();
    switch (i) {
        case kHeaterType:
            if (idx < 0) return;
            g.fuel_type = static_cast<i16>(idx + 1);
            if (g.fuel_type == 1 && g.backup_on != 0) {
                // No heater, no backup.
                g.backup_on = 0;
                ++filling_;
                check1_[kBackup]->setChecked(false);
                --filling_;
            }
            heater_enabling();
            quick_calc();
            return;
        case kModelList: {
            const std::string model = trimmed(c->currentText().toStdString());
            if (model.empty()) return;
            read_pumpa(trimmed(text1_[kBrandBox]->text().toStdString()), model);
            quick_calc();
            return;
        }
        case 11:
        case 12:
        case 13: {
            // A new price unit: the same stored price shown per that unit.
            if (idx < 0) return;
            g.fuel_units[i - 10] = static_cast<float>(idx);
            const int box = i == 11 ? 34 : i == 12 ? 36 : 35;
            set_box(box, shown_text(box));
            return;
        }
        default:
            for (int grp = 0; grp < 3; ++grp)
                if (i == kCityCombo[grp] && idx >= 0) choose_city(grp, idx);
            return;
    }
}

void weathers::Check1_Click(int i) {
    if (filling_ > 0) return;
    plat::CheckBox* c = check1_[i];
    if (!c) return;
    const i16 v = static_cast<i16>(c->Value());
    if (i >= kFirstMonthCheck && i < kFirstMonthCheck + 12) g.run_state[i - kFirstMonthCheck + 1][0] = v;
    else if (i == kSpaBlower) g.spa_blower = v;
    else if (i == kFloorReturns) g.opt_reduce = v;
    else if (i == kBackup) {
        g.backup_on = v;
        heater_enabling();
        show_backup();
    }
    quick_calc();
}

void weathers::Option1_Click(int i) {
    if (filling_ > 0) return;
    switch (i) {
        case 0:
        case 1:
        case 2: {
            g.area_group = static_cast<i16>(i);
            show_city_group();
            // The group's list shows a city: that city is the project's now.
            const int idx = combo1_[kCityCombo[i]]->currentIndex();
            if (idx >= 0) choose_city(i, idx);
            return;
        }
        case 3:
        case 4:
            g.pool_type = i == 3 ? "Pool" : "Spa";
            // A pool has no spa blower; a spa no floor returns.
            ++filling_;
            if (i == 3) {
                g.spa_blower = 0;
                check1_[kSpaBlower]->setChecked(false);
            } else {
                g.opt_reduce = 0;
                check1_[kFloorReturns]->setChecked(false);
            }
            --filling_;
            pool_enabling();
            break;
        case 5:
        case 6: g.pool_site = i == 5 ? "out" : "In"; break;
        default: return;
    }
    quick_calc();
}

void weathers::SSCommand1_Click(int i) {
    const WindowRegistry& w = windows();
    switch (i) {
        case kCalculate: full_calc(true); break;
        case kCustomer:
            if (!w.custname) return;
            SetEnabled(false);  // the customer window enables it again when it is left
            if (windows().show_custname) windows().show_custname();
            break;
        case kCalculator:
            if (!w.Calculator) return;
            SetEnabled(false);  // the calculator's OFF switch enables it again
            w.Calculator()->Show();
            break;
        case kExit: Unload(); break;
        case kHpPrice: {
            if (!w.elect) return;
            plat::Form* f = w.elect();
            f->Move(3650, 3750);
            f->Show();
            break;
        }
        case kFinance: show_lease(); break;
        case kPrint: {
            if (!w.Prt2) return;
            save_last_data();
            Dfltout();
            SetEnabled(false);
            plat::Form* f = w.Prt2();
            f->Move(5000, 2000);
            f->Show();
            cmd_[kPrint]->setEnabled(false);  // the print window makes it available again
            break;
        }
        default: break;
    }
}

// ---- calculation and results ------------------------------------------------------------------

void weathers::quick_calc() {
    g.calc_mode2 = 0;  // typing: no "too many heat pumps" box at every key
    recalc();
}

void weathers::full_calc(bool explicit_calc) {
    g.calc_flag1 = 1;
    g.calc_mode2 = explicit_calc ? 2 : 0;
    recalc();
}

// Show the backup state, run the engine, show the month's air temperatures
// and the results. The shown results are not cleared first: inside one
// handler nobody sees the cleared grid, and cells whose text stays the same
// are then not repainted (the engine's clear_results hook does clear them).
void weathers::recalc() {
    show_backup();
    engine::calc_all();
    show_ambient();
    show_results();
}

void weathers::clear_results() {
    if (!made_) return;
    for (int r = 1; r <= 13; ++r)
        for (int c = kWater; c < kResultCols; ++c) cells_[r][c]->clear();
    units_->clear();
    cop_->clear();
    payback_->clear();
    savings_->clear();
    warning_->clear();
}

void weathers::show_backup() {
    if (!made_) return;
    const int t = g.fuel_type;
    QString s;
    if (t < HT_ELEC || t > HT_OIL) {
        s = "no existing heater";
    } else if (g.backup_on == 0) {
        s = "heat pump alone";
    } else {
        QStringList months;
        for (int m = 1; m <= 12; ++m)
            if (g.backup_month[m] == 1) months << q(g.month_name[m]);
        s = QString("%1 heater").arg(QString(fuelWord(t)).toLower());
        s += months.isEmpty() ? QString(", not needed") : ", works in " + months.join(' ');
    }
    if (backup_->text() != s) backup_->setText(s);
}

void weathers::show_ambient() {
    if (!made_) return;
    for (int m = 1; m <= 12; ++m) {
        float c = 0;
        to_deg_c(c, g.month_city_c[m]);
        cells_[m][kAir]->setText(q(vb::Format(c, "##0.0")));
    }
}

void weathers::show_results() {
    if (!made_) return;
    const int t = g.fuel_type;
    const bool heater = t >= HT_ELEC && t <= HT_OIL;
    for (int m = 1; m <= 12; ++m) {
        const bool heated = g.run_state[m][0] != 0;
        auto& row = cells_[m];
        if (heated) {
            float c = 0;
            to_deg_c(c, g.temp_table[m][5]);
            row[kWater]->setText(q(vb::Format(c, "##0.0")) + (g.hrs_flag[m] ? " *" : "  "));
            const float h = g.calc_f32[39 + m];
            row[kRunHours]->setText(h > 0 ? q(vb::Format(h, "#0.0")) : QString("Off"));
        } else {
            row[kWater]->setText("-");
            row[kRunHours]->setText("Off");
        }
        row[kHpCost]->setText(money(g.calc_f32[m]));
        row[kHeaterCost]->setText(heater ? money(g.calc_f32[12 + m]) : QString());
        row[kSaving]->setText(heater ? money(g.calc_f32[24 + m]) : QString());
    }
    cells_[13][kHpCost]->setText(money(g.tot_hp.toDouble()));
    cells_[13][kHeaterCost]->setText(heater ? money(g.tot_heater.toDouble()) : QString());
    cells_[13][kSaving]->setText(heater ? money(g.tot_saving.toDouble()) : QString());

    const int idx = g.combo_idx;
    const int n = idx >= 0 && idx <= 40 ? g.combo_n1[idx] : 0;
    const QString model = combo1_[kModelList]->currentText().trimmed();
    units_->setText(n > 0 ? QString::fromUtf8("%1 × %2").arg(n).arg(model) : QString("-"));
    cop_->setText(g.cop_avg > 0 ? q(vb::Format(g.cop_avg, "#0.00")) : QString("-"));
    const float pb = heater ? g.payback_f32[t] : 0.0f;
    payback_->setText(pb > 0 ? q(vb::Format(pb, "#0.0")) + " years" : QString("-"));
    savings_->setText(g.proj_save.empty() ? QString("-") : q(g.proj_save));
    QStringList warn;
    if (g.temp_lowered > 0)
        warn << "* The heat pumps cannot hold the wanted temperature in the marked months: "
                "the water is kept at the temperature shown.";
    if (idx >= 37) warn << "The system requires too many heat pumps.";
    warning_->setText(warn.join('\n'));
    warning_->setVisible(!warn.isEmpty());
    show_backup();
}

QString weathers::result_text(int row, ResultCol col) const {
    if (!made_ || row < 1 || row > 13 || col < 0 || col >= kResultCols) return {};
    return cells_[row][col]->text();
}
QString weathers::units_text() const { return made_ ? units_->text() : QString(); }
QString weathers::payback_text() const { return made_ ? payback_->text() : QString(); }
QString weathers::savings_text() const { return made_ ? savings_->text() : QString(); }
QString weathers::backup_text() const { return made_ ? backup_->text() : QString(); }

// ---- services of the window ---------------------------------------------------------------------

weathers* frm_weathers() { return plat::instance(g_weathers); }

plat::Form* existing_weathers() { return g_weathers.data(); }

void register_input_windows() { windows().weathers = plat::window_slot(g_weathers); }

void save_last_data() {
    for (int m = 1; m <= 12; ++m) g.month_hours_c[m][1] = g.month_hours_c[m][0];
    weathers* w = g_hooked;
    if (!w) return;
    const std::string brand = vb::Trim(w->Text1(kBrandBox)->text().toStdString());
    const std::string model = vb::Trim(w->Combo1(kModelList)->currentText().toStdString());
    if (!brand.empty()) g.brand_name = brand;
    if (!model.empty()) g.model_name = model;
}

void show_lease() {
    if (!windows().lease) return;
    windows().lease()->Move(2170, 950, 5625, 5385);
}
