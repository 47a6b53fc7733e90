#include "finance/ui/lease.h"

#include <QAbstractButton>
#include <QMdiSubWindow>

#include <array>
#include <vector>

#include "app/data.h"
#include "app/limits.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "finance/leasedat.h"
#include "finance/ui/finbox.h"

namespace {

constexpr const char* kMoney = "$##,##0.00";
// Places in twips. Amount boxes and result figures stand in one column,
// wide enough for a figure in the millions; rows are one box high with a
// pixel between them; a margin keeps every control off the window's edge.
constexpr int kAmounts = 4080;
constexpr int kAmountWidth = 1500;
constexpr int kMargin = 120;
constexpr int kFirstRow = 900;
constexpr int kRowPitch = 330;
constexpr int kRowHeight = 285;
constexpr int kRows = 14;      // thirteen rows of figures and the check boxes
constexpr int kHelpLines = 6;  // the longest help, the lease key factor's
int row_top(int row) { return kFirstRow + row * kRowPitch; }
constexpr int kInputBoxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11};

// Help of each field code: its lines for the lease and for the loan.
struct Help {
    std::vector<std::string> lease, loan;
};

const std::string k36(36, ' ');

const Help* help_of(char code) {
    static const Help a{{"   Enter an amount which includes     ", "   additional expenses and charges.   ",
                         "   Use (-) figure to discount the     ", "   price of the system if necessary.  "},
                        {}};
    static const Help i{{"   Enter the installation costs       ", "   which are not included in the cost ",
                         "   of the basic system. Include the   ", "   cost of materials, permits etc..   "},
                        {}};
    static const Help d{{"   A down payment may reduce the      ", "   the cap on the lease payments.     ",
                         "   Two payments are automatically     ", "   calculated as a starting amount.   "},
                        {"   A down payment of up to 25% from   ", "   the total purchase price may be    ",
                         "   required with a loan%. Enter the    ", "   percentage of the down payment.    "}};
    static const Help b{{"   An optional Buyout amount will     ", "   allow the customer to take          ",
                         "   ownership of the system at the     ", "   end of the lease period.           "},
                        {"   A one time large amount payable    ", "   at the end of the loan will allow  ",
                         "   the lender to offer lower payments ", "   during the life of the loan.       "}};
    static const Help r{
        {},  // built with the term and the bracket, see inputdata
        {"   LOAN INTEREST RATE", "   The rate may change with the       ", "   prevailing rate, the availability  ",
         "   of funds, the credit status of the ", "   customer and the loan% size.        "}};
    static const Help f{{k36, "   Closing fees, Ending fees,         ", "   permits, etc..                     ", k36},
                        {}};
    static const Help s{{k36, "   Sales tax is due with every        ", "   instalment.                       ", k36},
                        {k36, "   Sales tax is paid in advance with  ", "   all financed loans.                ", k36}};
    static const Help v{{"   Residual value should be kept      ", "   as low as possible. Ideally the    ",
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
    QFont small = font();  // the program's font, small enough for the window's rows
    small.setPointSize(8);
    setFont(small);
    // Every control is placed by lay_out, for the mode.
    const auto label = [this](int n, const char* caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString("Label%1").arg(n));
        controls_["Label" + std::to_string(n)] = l;
        return l;
    };
    // Result labels: figures right-aligned in the amount column.
    const auto result = [&](int n) {
        QLabel* l = label(n, "");
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto box = [this](int n) {
        auto* b = new FinBox(this, n);
        b->setObjectName(QString("Text%1").arg(n));
        controls_["Text" + std::to_string(n)] = b;
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
        o->Click = [this](int i) { Option_Click(i); };
    }
    Combo2 = new plat::ComboBox(this, 2, true);
    controls_["Combo2"] = Combo2;
    Combo2->Click = [this](int) { Combo2_Click(); };
    SSCommand2 = new plat::CommandButton("CALCULATE", this, 2);
    controls_["SSCommand2"] = SSCommand2;
    SSCommand2->Click = [this](int) { SSCommand2_Click(); };

    label(1, "Equipment costs");
    result(2);
    label(3, "Additional charges");
    box(1);
    label(4, "Installation costs");
    box(2);
    label(6, "Total system costs");
    result(5);
    label(8, "Down payment");
    box(8);
    label(24, "%");
    box(3);
    label(9, "Fees");
    box(4);
    label(10, "Value at end");
    box(5);
    label(7, "Desired depreciation");
    result(11);
    result(28);
    label(22, "Installments");
    result(12);
    label(13, "Sales tax");
    box(6);
    label(25, "%");
    result(15);
    label(18, "Balance");
    result(26);
    label(14, "Monthly pay");
    result(16);
    label(17, "Buy-out at the end of the lease");
    box(11);
    label(29, "%");
    result(23);
    box(9);
    result(27);
    label(19, "Rate");
    box(7);
    label(20, "%");
    SSCommand1 = new plat::CommandButton("Tot payments", this, 1);
    controls_["SSCommand1"] = SSCommand1;
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    result(21);
    Check1 = new plat::CheckBox("Cover letter", this, 1);
    controls_["Check1"] = Check1;
    Check1->Click = [this](int) { Check1_Click(); };
    Check2 = new plat::CheckBox("  Help off", this, 2);
    controls_["Check2"] = Check2;
    Check2->Click = [this](int) { Check2_Click(); };

    Text10 = new QPlainTextEdit(this);
    Text10->setObjectName("Text10");
    Text10->setReadOnly(true);  // the help can't be typed into
    Text10->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text10->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text10->hide();
    controls_["Text10"] = Text10;
    lay_out();
}

QWidget* lease::item(fin::Item i) const {
    using I = fin::Item;
    switch (i) {
        case I::Label2: return Label(2);
        case I::Label5: return Label(5);
        case I::Label6: return Label(6);
        case I::Label7: return Label(7);
        case I::Label11: return Label(11);
        case I::Label12: return Label(12);
        case I::Label15: return Label(15);
        case I::Label16: return Label(16);
        case I::Label17: return Label(17);
        case I::Label18: return Label(18);
        case I::Label20: return Label(20);
        case I::Label21: return Label(21);
        case I::Label22: return Label(22);
        case I::Label23: return Label(23);
        case I::Label24: return Label(24);
        case I::Label26: return Label(26);
        case I::Label27: return Label(27);
        case I::Label28: return Label(28);
        case I::Label29: return Label(29);
        case I::Text1: return Text(1);
        case I::Text2: return Text(2);
        case I::Text3: return Text(3);
        case I::Text4: return Text(4);
        case I::Text5: return Text(5);
        case I::Text6: return Text(6);
        case I::Text7: return Text(7);
        case I::Text8: return Text(8);
        case I::Text9: return Text(9);
        case I::Text11: return Text(11);
        case I::SSCommand1: return SSCommand1;
    }
    return nullptr;
}

// ---- the layout ----------------------------------------------------------------

void lease::lay_out() {
    const bool loan = is_loan();
    // A control in a row; a label without a width is as wide as its caption.
    const auto put = [this](QWidget* w, int left, int row, int width = 0, int height = kRowHeight) {
        if (width == 0) width = plat::twips(w->sizeHint().width()) + 30;
        place(w, left, row_top(row), width, height);
    };
    const auto amount = [&](QWidget* w, int row) { put(w, kAmounts, row, kAmountWidth); };
    for (int n = 1; n <= 6; ++n)
        place(Option(n), n <= 3 ? kMargin : kMargin + 1200, 60 + 255 * ((n - 1) % 3), 1200, 255);
    place(Combo2, 2640, kMargin, 1215, 360);
    place(SSCommand2, kAmounts, kMargin, kAmountWidth, 375);

    // The rows both modes share.
    put(Label(1), 2400, 0);
    amount(Label(2), 0);
    put(Label(3), 480, 1);
    amount(Text(1), 1);
    put(Label(4), 480, 2);
    amount(Text(2), 2);
    put(Label(6), 2400, 3);
    amount(Label(5), 3);
    put(Label(8), 480, 4);
    put(Text(8), 3180, 4, 615);
    put(Label(24), 3840, 4);
    amount(Text(3), 4);
    put(Label(9), 480, 5);
    amount(Text(4), 5);
    put(Label(10), 480, 6);
    amount(Text(5), 6);
    // A lease: depreciation, instalments, tax on each payment, the monthly
    // payment and the buy-out. A loan: the tax paid up front, the up-front
    // costs, the balloon and the balance left to pay monthly.
    const int tax = loan ? 7 : 9, upfront = loan ? 8 : 7, balloon = loan ? 9 : 11, monthly = loan ? 11 : 10;
    put(Label(13), 480, tax);
    put(Text(6), 3180, tax, 615);
    put(Label(25), 3840, tax);
    amount(Label(15), tax);
    put(Label(7), 480, upfront);
    amount(Label(11), upfront);
    put(Label(22), 2760, 8);
    amount(Label(12), 8);
    put(Label(17), 480, balloon);
    put(Text(11), 2100, balloon, 615);
    put(Label(29), 2730, balloon);
    put(Label(23), 2970, balloon, 1080);
    amount(Text(9), balloon);
    amount(Label(27), balloon);
    put(Label(18), 480, 10);
    put(Label(26), 1440, 10, 1200);
    put(Label(28), 2400, monthly, 450);
    put(Label(14), 2900, monthly);
    amount(Label(16), monthly);
    put(Label(19), 480, 12);
    put(Text(7), 1080, 12, loan ? 615 : 915);
    put(Label(20), 1740, 12);
    put(SSCommand1, 2640, 12, 1350, 330);
    amount(Label(21), 12);
    put(Check1, 2800, 13, 1400);
    put(Check2, 4320, 13, kAmounts + kAmountWidth - 4320);

    // The help stands in a room of its own below the rows while help is on,
    // so that it covers no input; the window grows by that room.
    const int width = kAmounts + kAmountWidth + kMargin;
    int height = row_top(kRows - 1) + kRowHeight + kMargin;
    if (g.help_off != 1) {
        const QFontMetrics fm = Text10->fontMetrics();
        const int help = plat::twips(fm.lineSpacing() * kHelpLines + 2 * Text10->frameWidth() + 8);
        place(Text10, kMargin, row_top(kRows), width - 2 * kMargin, help);
        height = row_top(kRows) + help + kMargin;
    }
    if (QMdiSubWindow* sub = subWindow()) {
        const QMargins m = sub->contentsMargins();
        const QSize outer(plat::px(width) + m.left() + m.right(), plat::px(height) + m.top() + m.bottom());
        sub->setMinimumSize(outer);
        sub->resize(outer);
        plat::MainWindow::instance()->keepInside(sub);  // grown by the help's room, it stays in view
    }
}

// ---- the calculation -------------------------------------------------------------

void lease::calculate() {
    fin::LeaseView view;
    ++calculations_;
    if (!fin::Leasedat(&view)) return;
    for (const auto& [id, c] : view) {
        QWidget* w = item(id);
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
    // Typing in the box in focus begins anew from what the calculation
    // left in it.
    if (typing_) typing_->before = fin::box_entry(Text(typing_->box)->Text().toStdString());
    lay_out();
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
    if (g.sales_tax > limits::kSalesTax.typed.max) g.sales_tax = static_cast<float>(limits::kSalesTax.typed.max);
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
    lay_out();  // the help's room opens or closes
}

// ---- input boxes ----------------------------------------------------------------------------

void lease::set_box(int n, const std::string& text) { Text(n)->SetText(q(text)); }

void lease::Text_Change(int n) {
    if (quiet_) return;
    // A copy: the refusal's message box may move the focus meanwhile.
    const std::optional<fin::BoxEntry> before =
        typing_ && typing_->box == n ? std::optional(typing_->before) : std::nullopt;
    if (auto instead = fin::box_changed(n, Text(n)->Text().toStdString(), before ? &*before : nullptr)) {
        // What the text stands for is stored already: put it in the box
        // without reading it back.
        quiet_ = true;
        set_box(n, *instead);
        quiet_ = false;
    }
}

void lease::Text_GotFocus(int n) {
    typing_ = Typing{n, fin::box_entry(Text(n)->Text().toStdString())};
    if (g.help_off != 1) {
        inputdata(help_code(n));
    }
}

void lease::reset_box(int n) { set_box(n, n == 8 || n == 11 ? "0.00" : ""); }

void lease::Text_LostFocus(int n) {
    typing_.reset();
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
        case 5: set_box(5, fmt(is_lease() ? g.resid_val : g.fin_opts[16], kMoney)); break;
        case 6: set_box(6, fmt(g.sales_tax, "##0.00")); break;
        case 7:
            if (!is_loan()) {
                set_box(7, fmt(g.lease_key, "0.00000"));
            } else {
                set_box(7, fmt(g.loan_rate, "##0.00"));
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
    Text10->show();
    Text10->raise();
    Text10->setPlainText(q(text));
}
