#include "lease.h"

#include <QFontDatabase>

#include <array>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "finance/leasedat.h"
#include "finance/ui/finbox.h"

namespace {

constexpr const char* kMoney = "$##,##0.00";
// Amount boxes and result figures: from column 4080 to the window's edge.
constexpr int kAmountWidth = 1350;
constexpr int kInputBoxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11};

// Help of each field code: where the help box stands (top, twips) and its
// lines, for the lease and for the loan.
struct Help {
    int top_lease, top_loan;
    std::vector<std::string> lease, loan;
};

const std::string k36(36, ' ');

const Help* help_of(char code) {
    static const Help a{1090,
                        1090,
                        {"   Enter an amount which includes     ", "   additional expenses and charges.   ",
                         "   Use (-) figure to discount the     ", "   price of the system if necessary.  "},
                        {}};
    static const Help i{1450,
                        1450,
                        {"   Enter the installation costs       ", "   which are not included in the cost ",
                         "   of the basic system. Include the   ", "   cost of materials, permits etc..   "},
                        {}};
    static const Help d{2050,
                        2050,
                        {"   A down payment may reduce the      ", "   the cap on the lease payments.     ",
                         "   Two payments are automatically     ", "   calculated as a starting amount.   "},
                        {"   A down payment of up to 25% from   ", "   the total purchase price may be    ",
                         "   required with a loan%. Enter the    ", "   percentage of the down payment.    "}};
    static const Help b{2900,
                        2300,
                        {"   An optional Buyout amount will     ", "   allow the customer to take          ",
                         "   ownership of the system at the     ", "   end of the lease period.           "},
                        {"   A one time large amount payable    ", "   at the end of the loan will allow  ",
                         "   the lender to offer lower payments ", "   during the life of the loan.       "}};
    static const Help r{
        3275,
        3275,
        {},  // built with the term and the bracket, see inputdata
        {"   LOAN INTEREST RATE", "   The rate may change with the       ", "   prevailing rate, the availability  ",
         "   of funds, the credit status of the ", "   customer and the loan% size.        "}};
    static const Help f{
        2375, 2375, {k36, "   Closing fees, Ending fees,         ", "   permits, etc..                     ", k36}, {}};
    static const Help s{2260,
                        1450,
                        {k36, "   Sales tax is due with every        ", "   instalment.                       ", k36},
                        {k36, "   Sales tax is paid in advance with  ", "   all financed loans.                ", k36}};
    static const Help v{2775,
                        3275,
                        {"   Residual value should be kept      ", "   as low as possible. Ideally the    ",
                         "   system should be fully depreciated ", "   during the life of the lease.      "},
                        {"   Residual value is used to calculate", "   the tax deduction. Only interest   ",
                         "   payments and depreciation qualify  ", "   as tax deductions.                 "}};
    switch (code) {
        case 'A': return &a;
        case 'I': return &i;
        case 'D': return &d;
        case 'B': return &b;
        case 'R': return &r;
        case 'F': return &f;
        case 'S': return &s;
        case 'V': return &v;
        default: return nullptr;
    }
}

char help_code(int box) {
    switch (box) {
        case 1: return 'A';
        case 2: return 'I';
        case 3:
        case 8: return 'D';
        case 4: return 'F';
        case 5: return 'V';
        case 6: return 'S';
        case 7: return 'R';
        case 9:
        case 11: return 'B';
        default: return 0;
    }
}

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string fmt(Currency c, const char* mask) { return vb::Format(c.toDouble(), mask); }
std::string fmt(double x, const char* mask) { return vb::Format(x, mask); }

bool is_lease() { return g.fin_mode == 1; }
bool is_loan() { return g.fin_mode == 2; }

}  // namespace

lease::Action::~Action() {
    if (--w_->depth_ == 0 && w_->pending_) {
        w_->pending_ = false;
        w_->calculate();
    }
}

lease::lease() : plat::Form("lease") {}

plat::TextBox* lease::Text(int n) const { return static_cast<plat::TextBox*>(control("Text" + std::to_string(n))); }
QLabel* lease::Label(int n) const { return static_cast<QLabel*>(control("Label" + std::to_string(n))); }
plat::OptionButton* lease::Option(int n) const {
    return static_cast<plat::OptionButton*>(control("Option" + std::to_string(n)));
}
QWidget* lease::control(const std::string& name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void lease::build() {
    setFont(QFont("Arial", 8));  // narrow enough for the window's places
    const auto label = [this](int n, const char* caption, int left, int top, int width = 0) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString("Label%1").arg(n));
        controls_["Label" + std::to_string(n)] = l;
        l->adjustSize();
        place(l, left, top, width > 0 ? width : plat::twips(l->width()) + 30, 255);
        return l;
    };
    // Result labels: figures right-aligned, as wide as the window allows.
    const auto result = [&](int n, int left, int top, int width = kAmountWidth) {
        QLabel* l = label(n, "", left, top, width);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto box = [this](int n, int left, int top, int width) {
        auto* b = new FinBox(this, n);
        b->setObjectName(QString("Text%1").arg(n));
        controls_["Text" + std::to_string(n)] = b;
        place(b, left, top, width, 285);
        b->setAlignment(Qt::AlignRight);  // figures in one column with the results
        b->Change = [this](int i) { Text_Change(i); };
        b->GotFocus = [this](int i) { Text_GotFocus(i); };
        b->LostFocus = [this](int i) { Text_LostFocus(i); };
        // A refused key warns and resets the box; Esc resets it silently.
        b->Refused = [this, n] {
            numbers_only();
            reset_box(n);
        };
        b->Escape = [this, n] { reset_box(n); };
        return b;
    };
    const char* terms[] = {"12 months", "18 months", "24 months", "36 months", "48 months", "60 months"};
    for (int n = 1; n <= 6; ++n) {
        auto* o = new plat::OptionButton(terms[n - 1], this, n);
        o->setObjectName(QString("Option%1").arg(n));
        controls_["Option" + std::to_string(n)] = o;
        place(o, n <= 3 ? 0 : 1080, 240 * ((n - 1) % 3), n <= 3 ? 1080 : 1095, 255);
        o->Click = [this](int i) { Option_Click(i); };
    }
    Combo2 = new plat::ComboBox(this, 2, true);
    controls_["Combo2"] = Combo2;
    place(Combo2, 2640, 120, 1215, 360);
    Combo2->Click = [this](int) { Combo2_Click(); };
    SSCommand2 = new plat::CommandButton("CALCULATE", this, 2);
    controls_["SSCommand2"] = SSCommand2;
    place(SSCommand2, 4080, 120, 1215, 375);
    SSCommand2->Click = [this](int) { SSCommand2_Click(); };

    label(1, "Equipment costs", 2400, 600);
    result(2, 4080, 600);
    label(3, "Additional charges", 480, 840);
    box(1, 4080, 840, kAmountWidth);
    label(4, "Installation costs", 480, 1200);
    box(2, 4080, 1200, kAmountWidth);
    label(6, "Total system costs", 2400, 1560);
    result(5, 4080, 1560);
    label(8, "Down payment", 480, 1800);
    box(8, 3240, 1800, 615);
    label(24, "%", 3840, 1800);
    box(3, 4080, 1800, kAmountWidth);
    label(9, "Fees", 480, 2160);
    box(4, 4080, 2160, kAmountWidth);
    label(10, "Value at end", 480, 2520);
    box(5, 4080, 2520, kAmountWidth);
    label(7, "Desired depreciation", 480, 2880);
    result(11, 4080, 2880);
    label(28, "", 1920, 3120, 400);
    label(22, "Installments", 2760, 3120);
    result(12, 4080, 3120);
    label(13, "Sales tax", 480, 3360);
    box(6, 3240, 3360, 615);
    label(25, "%", 3840, 3360);
    result(15, 4080, 3360);
    label(18, "Balance", 480, 3600);
    result(26, 1440, 3600, 1200);
    label(14, "Monthly pay", 3000, 3600);
    result(16, 4080, 3600);
    label(17, "Buy-out at the end of the lease", 480, 3840);
    box(11, 2280, 3840, 615);
    label(29, "%", 2880, 3840);
    result(23, 3000, 3840, 1050);
    box(9, 4080, 3840, kAmountWidth);
    result(27, 4080, 3840);
    label(19, "Rate", 480, 4200);
    box(7, 1080, 4200, 615);
    label(20, "%", 1680, 4200);
    SSCommand1 = new plat::CommandButton("Tot payments", this, 1);
    controls_["SSCommand1"] = SSCommand1;
    place(SSCommand1, 2640, 4200, 1215, 330);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    result(21, 4080, 4200);
    Check1 = new plat::CheckBox("Cover letter", this, 1);
    controls_["Check1"] = Check1;
    place(Check1, 3000, 4560, 1300, 255);
    Check1->Click = [this](int) { Check1_Click(); };
    Check2 = new plat::CheckBox("  Help off", this, 2);
    controls_["Check2"] = Check2;
    place(Check2, 4320, 4560, 1150, 255);
    Check2->Click = [this](int) { Check2_Click(); };

    Text10 = new QPlainTextEdit(this);
    Text10->setObjectName("Text10");
    Text10->setReadOnly(true);  // the help can't be typed into
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    Text10->setFont(fixed);  // the help lines are laid out in blanks
    Text10->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text10->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->hide();
    controls_["Text10"] = Text10;
}

// ---- the calculation -------------------------------------------------------------

void lease::calculate() {
    fin::LeaseView view;
    ++calculations_;
    if (!fin::Leasedat(&view)) return;
    for (const auto& [name, c] : view) {
        QWidget* w = control(name);
        if (!w) continue;
        if (c.left || c.top || c.width) {
            const int left = c.left ? plat::px(*c.left) : w->x();
            const int top = c.top ? plat::px(*c.top) : w->y();
            const int width = c.width ? plat::px(*c.width) : w->width();
            w->setGeometry(left, top, width, w->height());
        }
        if (c.visible) w->setVisible(*c.visible);
        if (!c.text) continue;
        // The calculation already stored what each box shows: no second
        // store through the box's Change.
        if (auto* b = qobject_cast<plat::TextBox*>(w)) {
            const QSignalBlocker quiet(b);
            b->setText(q(*c.text));
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            l->setText(q(*c.text));
        } else if (auto* p = qobject_cast<QAbstractButton*>(w)) {
            p->setText(q(*c.text));
        }
    }
}

// ---- window life --------------------------------------------------------------------

void lease::Form_Load() {
    SetCaption("Heat pump system finance");
    const Action act(this);
    // The activation that follows every loading computes; nothing to work
    // out before it.
    on_items();
    Combo2->SetText(is_loan() ? "loan" : "Lease");
    if (Combo2->ListCount() == 0) {
        Combo2->AddItem("Lease");
        Combo2->AddItem("loan");
    }
}

void lease::Form_Activate() {
    const Action act(this);
    ZOrder(0);
    on_items();
    Combo2->SetText(is_loan() ? "loan" : "Lease");
    Check1->SetValue(g.fin_opts[4] == Currency::dollars(1) ? 1 : 0);
    Text10->hide();
    if (g.fin_mode == 0) {
        g.fin_mode = 1;  // the first opening offers a lease
        on_items();
    }
    if (g.sales_tax > 100) g.sales_tax = 100;
    mode_layout();
    opt_set();
    help_off();
}

void lease::Combo2_Click() {
    const Action act(this);
    Text10->hide();
    const int pos = Combo2->ListIndex();
    if (pos == 0 || pos == 1) {
        g.fin_mode = static_cast<i16>(pos + 1);
        on_items();
        recompute();
    }
    mode_layout();
    opt_set();
    help_off();
}

void lease::mode_layout() {
    if (g.fin_mode != 1 && g.fin_mode != 2) return;
    const bool lease_mode = is_lease();
    for (int n = 1; n <= 3; ++n) Option(n)->setVisible(lease_mode);
    if (g.fin_months == 0) g.fin_months = lease_mode ? 12 : 36;
    Text(9)->setVisible(lease_mode);
    Text(11)->setVisible(!lease_mode);
    for (int n : {27, 23, 29}) Label(n)->setVisible(!lease_mode);
}

void lease::on_items() {
    SSCommand2->show();
    Check2->show();
    for (int n = 1; n <= 7; ++n) Text(n)->show();
    if (is_lease()) Text(9)->show();
    Label(5)->show();
    Text(8)->show();
    if (is_loan()) {
        for (int n : {20, 23, 27, 29}) Label(n)->show();
        Text(11)->show();
    }
    for (int n : {24, 25, 26, 28}) Label(n)->show();
    for (int n = 1; n <= 6; ++n) Option(n)->show();
    Check1->show();
    SSCommand1->show();
}

void lease::opt_set() {
    const Action act(this);
    if (g.fin_months > 60) g.fin_months = 60;
    static constexpr std::array<int, 6> terms{12, 18, 24, 36, 48, 60};
    if (is_lease()) {
        if (g.fin_months < 12) g.fin_months = 12;
        for (int n = 1; n <= 6; ++n) {
            if (g.fin_months == terms[n - 1]) {
                g.term_idx = static_cast<i16>(n);
                Option(n)->SetValue(true);
            }
        }
    } else if (is_loan()) {
        if (g.fin_months < 36) g.fin_months = 36;
        for (int n = 4; n <= 6; ++n)
            if (g.fin_months == terms[n - 1]) Option(n)->SetValue(true);
    }
    recompute();
}

void lease::help_off() {
    if (Check2->Value() == 0) {
        Text10->hide();
        Check2->SetValue(1);  // its Click sets help_off
    }
}

// ---- buttons and check boxes ------------------------------------------------------------

void lease::Option_Click(int n) {
    const Action act(this);
    static constexpr std::array<int, 6> terms{12, 18, 24, 36, 48, 60};
    if (is_lease()) {
        g.fin_months = static_cast<i16>(terms[n - 1]);
        g.term_idx = static_cast<i16>(n);
    } else if (n <= 3) {
        Option(4)->SetValue(true);  // loans run 36 months at least; its Click recomputes
        return;
    } else if (is_loan()) {
        g.fin_months = static_cast<i16>(terms[n - 1]);
    }
    recompute();
}

void lease::SSCommand2_Click() {
    const Action act(this);
    Text10->hide();
    recompute();
}

void lease::SSCommand1_Click() {
    const Action act(this);
    Text10->hide();
    g.tot_toggle = g.tot_toggle.isZero() ? Currency::dollars(1) : Currency{};
    recompute();
}

void lease::Check1_Click() { g.fin_opts[4] = Currency::dollars(Check1->Value() ? 1 : 0); }

void lease::Check2_Click() {
    if (Check2->Value()) {
        g.help_off = 1;
        Text10->hide();
    } else {
        g.help_off = 0;
    }
}

// ---- input boxes ----------------------------------------------------------------------------

void lease::set_box(int n, const std::string& text) { Text(n)->SetText(q(text)); }

void lease::Text_Change(int n) {
    if (auto instead = fin::box_changed(n, Text(n)->Text().toStdString())) set_box(n, *instead);
}

void lease::Text_GotFocus(int n) {
    if (g.help_off != 1) {
        inputdata(help_code(n));
        if (is_loan() && (n == 5 || n == 7)) Text(11)->hide();  // the help stands over it
    }
}

void lease::reset_box(int n) { set_box(n, n == 8 || n == 11 ? "0.00" : ""); }

void lease::Text_LostFocus(int n) {
    switch (n) {
        case 1: set_box(1, fmt(g.add_charges, kMoney)); break;
        case 2: set_box(2, fmt(g.inst_cost, kMoney)); break;
        case 3:
            set_box(3, fmt(g.down_pay, kMoney));
            if (is_loan()) set_box(8, g.down_pay.isZero() ? " 0.00" : fmt(g.down_perc, "##0.00"));
            break;
        case 8:
            set_box(3, fmt(g.down_pay, kMoney));
            set_box(8, fmt(g.down_perc, "##0.00"));
            break;
        case 4: set_box(4, fmt(Currency::from(fin::box_number(Text(4)->Text().toStdString())), kMoney)); break;
        case 5:
            set_box(5, fmt(is_lease() ? g.resid_val : g.fin_opts[16], kMoney));
            if (is_loan()) Text(11)->show();
            break;
        case 6: set_box(6, fmt(g.sales_tax, "##0.00")); break;
        case 7:
            if (!is_loan()) {
                set_box(7, fmt(g.lease_key, "0.00000"));
            } else {
                set_box(7, fmt(g.loan_rate, "##0.00"));
                Text(11)->show();
            }
            break;
        case 9:
            if (is_lease()) set_box(9, fmt(g.fin_opts[2], kMoney));
            break;
        case 11:
            if (is_loan() && g.fin_opts[3].isZero()) {
                Label(23)->setText(q(fmt(g.balloon_amt, kMoney)));
                set_box(11, fmt(g.balloon_perc, "##0.00"));
            }
            break;
        default: break;
    }
}

// ---- help ----------------------------------------------------------------------------------------

void lease::inputdata(char code) {
    const Help* h = help_of(code);
    if (!h) return;
    const bool lease_mode = is_lease();
    std::vector<std::string> lines = lease_mode || h->loan.empty() ? h->lease : h->loan;
    if (code == 'R' && lease_mode) {
        lines = {"   LEASE RATE KEY FACTOR",
                 "   For " + vb::Str(g.fin_months) + " months and " + fin::bracket_label(g.amt_bracket),
                 "   The rate may change with the       ",
                 "   prevailing rate, the availability  ",
                 "   of funds, the credit status of the ",
                 "   customer and the lease size.       "};
    }
    std::string text;
    for (const std::string& l : lines) text += l + '\n';
    const int top = lease_mode ? h->top_lease : h->top_loan;
    // Wide and tall enough for its lines.
    const QFontMetrics fm = Text10->fontMetrics();
    int width = plat::px(3100);
    for (const std::string& l : lines) width = std::max(width, fm.horizontalAdvance(q(l)) + 16);
    const int height = std::max(plat::px(935), fm.lineSpacing() * static_cast<int>(lines.size()) + 10);
    Text10->setGeometry(plat::px(100), plat::px(top), width, height);
    Text10->show();
    Text10->raise();
    Text10->setPlainText(q(text));
}
