#include "finance/ui/setfin.h"

#include "app/data.h"
#include "app/limits.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "finance/ui/finbox.h"

namespace {

const char* kModes[] = {"Simple     - Interest per year", "Compounded - on a monthly basis",
                        "Manual     - Direct input"};
const char* kRules[] = {"DEDUCT - down payment and baloon", "IGNORE - no deductions made"};

QString q(const std::string& s) { return QString::fromStdString(s); }

// The lease_fact cell of factor box k: term index k div 4 + 1 (one column
// per term), amount bracket k mod 4 + 1 (one row per bracket).
double& cell(int k) { return g.lease_fact[k / 4 + 1][k % 4 + 1]; }

}  // namespace

setfin::setfin() : plat::Form("setfin") {}

void setfin::build() {
    QFont small = font();  // the program's font, small enough for the window's places
    small.setPointSize(8);
    setFont(small);
    const auto label = [this](const char* caption, int left, int top) {
        auto* l = new QLabel(caption, this);
        l->adjustSize();
        place(l, left, top, plat::twips(l->width()) + 30, 255);
        return l;
    };
    Label2 = label("Annual loan interest rate", 240, 240);
    const char* rateTypes[] = {"Adjustable ", "Fixed          "};
    const int optPlace[2][4] = {{480, 540, 1400, 330}, {480, 900, 1300, 330}};
    for (int i = 0; i < 2; ++i) {
        auto* o = new plat::OptionButton(rateTypes[i], this, i);
        place(o, optPlace[i][0], optPlace[i][1], optPlace[i][2], optPlace[i][3]);
        o->Click = [this](int index) { SSOption2_Click(index); };
        SSOption2[i] = o;
    }
    auto* rate = new FinBox(this, 1);
    Text1 = rate;
    place(Text1, 1860, 922, 615, 285);
    Text1->Change = [this](int) { Text1_Change(); };
    Text1->LostFocus = [this](int) { Text1_LostFocus(); };
    empty_on_refusal(rate);
    rate->SetFirstKeyReplaces(false);  // only the factor boxes start afresh at the first key
    Label1 = label("End of the loan payment interest mode", 4200, 240);
    Combo1 = new plat::ComboBox(this, 1, false);
    place(Combo1, 4200, 600, 3380, 315);  // wide enough for its longest mode
    Combo1->Click = [this](int) { Combo1_Click(); };
    Label9 = label("The total savings of a loan contract", 120, 1680);
    Combo2 = new plat::ComboBox(this, 2, false);
    place(Combo2, 120, 2040, 4200, 315);
    Combo2->Click = [this](int) { Combo2_Click(); };
    SSCommand1 = new plat::CommandButton("Save/Exit", this, 1);
    place(SSCommand1, 5880, 1920, 1215, 495);
    SSCommand1->Click = [this](int) { SSCommand1_Click(); };
    Label3 = label("Lease factors", 3840, 2760);
    // The six terms over the six factor columns, right of the brackets'
    // captions; each column as wide as a five-decimal factor.
    constexpr int kFirstColumn = 2040, kColumnPitch = 930, kColumnWidth = 840;
    Label8 = label("Months", 1200, 3120);
    const char* terms[] = {"12", "18", "24", "36", "48", "60"};
    for (int t = 0; t < 6; ++t) {
        auto* l = new QLabel(terms[t], this);
        l->setAlignment(Qt::AlignCenter);
        place(l, kFirstColumn + kColumnPitch * t, 3120, kColumnWidth, 255);
    }
    const char* brackets[] = {"$2,000   to    $5,000", "$5,001   to  $15,000", "$15,001   to  $25,000",
                              "$25,001   and up\""};
    for (int b = 0; b < 4; ++b) Label[4 + b] = label(brackets[b], 120, 3480 + 360 * b);
    for (int k = 0; k < 24; ++k) {
        auto* t = new FinBox(this, k);
        place(t, kFirstColumn + kColumnPitch * (k / 4), 3480 + 360 * (k % 4), kColumnWidth, 285);
        t->Change = [this](int i) { Text2_Change(i); };
        t->LostFocus = [this](int i) { Text2_LostFocus(i); };
        empty_on_refusal(t);
        Text2[k] = t;
    }
}

// The settings menu looks busy while this window is open.
void setfin::menu_look(bool open) {
    if (windows().grey_menu) windows().grey_menu(open);
}

void setfin::Form_Load() {
    SetCaption("Set lease and finance defaults");
    if (Combo1->ListCount() == 0) {
        for (const char* m : kModes) Combo1->AddItem(m);
        for (const char* r : kRules) Combo2->AddItem(r);
    }
    menu_look(true);
}

void setfin::Form_Activate() {
    if (g.fin_opts[3] >= Currency{} && g.fin_opts[3] <= Currency::dollars(2))
        Combo1->SetListIndex(static_cast<int>(g.fin_opts[3].v / Currency::scale));
    Text1->SetText(q(vb::Format(g.loan_rate, " ###.##")));
    const int type = g.fin_opts[1].isZero() ? 0 : 1;
    if (SSOption2[type]->Value()) SSOption2_Click(type);  // the rate box follows the type
    else SSOption2[type]->SetValue(true);
    for (int k = 0; k < 24; ++k) Text2[k]->SetText(q(vb::Format(cell(k), "0.00000")));
    if (g.fin_opts[18] == Currency{} || g.fin_opts[18] == Currency::dollars(1))
        Combo2->SetListIndex(static_cast<int>(g.fin_opts[18].v / Currency::scale));
}

void setfin::Form_Deactivate() { g.setwin_open = 0; }

void setfin::Form_Unload(int& /*cancel*/) {
    g.setwin_open = 0;
    Dfltout();
    if (g.menu_open == 1 && windows().menu) {
        if (plat::Form* menu = windows().menu.existing()) menu->Move(2180, 90, 5100, 1215);
    }
    menu_look(false);
}

// The mode is stored when it is chosen from the list.
void setfin::Combo1_Click() {
    const int pos = Combo1->ListIndex();
    if (pos >= 0 && pos <= 2) g.fin_opts[3] = Currency::dollars(pos);
}

void setfin::Combo2_Click() {
    const int pos = Combo2->ListIndex();
    if (pos == 0 || pos == 1) g.fin_opts[18] = Currency::dollars(pos);
}

void setfin::SSOption2_Click(int index) {
    Text1->setEnabled(index == 1);  // the rate is typed for a fixed rate only
    g.fin_opts[1] = Currency::dollars(index);
}

void setfin::Text1_Change() {
    const double v = vb::Val(remove_comma(Text1->Text().toStdString()));
    if (v > limits::kLoanRate.typed.max) {
        ui::MsgBox("Illigal entery", ui::vbOKOnly, "Error");
        Text1->SetText("");  // stores 0
        return;
    }
    g.loan_rate = static_cast<float>(v);
}

void setfin::Text1_LostFocus() { Text1->SetText(q(vb::Format(g.loan_rate, "##0.00"))); }

void setfin::Text2_Change(int index) { cell(index) = vb::Val(Text2[index]->Text().toStdString()); }

void setfin::Text2_LostFocus(int index) { Text2[index]->SetText(q(vb::Format(cell(index), "0.00000"))); }

void setfin::SSCommand1_Click() { Unload(); }
