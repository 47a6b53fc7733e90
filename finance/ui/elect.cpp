#include "finance/ui/elect.h"

#include "app/data.h"
#include "app/model.h"
#include "core/vbtext.h"
#include "finance/ui/finbox.h"

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Row k (box Text(k + 2)) prices model_price(k) and its mirror in the
// settings, model_price_tab(5 + k).
int row(int box) { return box - 2; }

}  // namespace

elect::elect() : plat::Form("elect") {}

void elect::build() {
    QFont small = font();  // the program's font, small enough for the window's places
    small.setPointSize(9);
    setFont(small);
    for (int box = 3; box <= 5; ++box) {
        const int top = 240 + 480 * (box - 3);
        auto* l = new QLabel(QString("Model %1  ").arg(box - 2), this);
        place(l, 240, top + 30, 2400, 285);
        Label[box] = l;
        // The small model's box also takes a decimal point and a comma.
        auto* t = new FinBox(this, box, box == 5, box == 5);
        place(t, 2760, top, 1215, 315);
        t->Change = [this](int i) { Text_Change(i); };
        t->LostFocus = [this](int i) { Text_LostFocus(i); };
        empty_on_refusal(t);
        t->SetFirstKeyReplaces(false);  // a price is corrected where the cursor stands
        Text[box] = t;
    }
    SetSize(4380, 2040);
}

void elect::set_models() {
    load_brand_pumps();
    Label[3]->setText(q(g.model_txt3));
    Label[4]->setText(q(g.model_txt2));
    Label[5]->setText(q(g.model_txt1));
}

void elect::set_combo() {
    if (g.series_sel == 0) g.series_sel = 1;
}

void elect::Form_Load() {
    SetCaption("Heat pumps sales price");
    set_models();
}

void elect::Form_Activate() {
    std::string phrase, brand, a, b, c, note;
    model_list_text(g.brand_words, phrase, brand, c, b, a, note);
    // Shown in whole dollars, and so stored.
    for (int box = 3; box <= 5; ++box) Text[box]->SetText(q(vb::Format(g.model_price[row(box)].toDouble(), "$##,##0")));
    Label[3]->setText(q(g.model_txt3));
    Label[4]->setText(q(g.model_txt2));
    Label[5]->setText(q(g.model_txt1));
    set_combo();
}

// Leaving the window closes it (a message box of its own is no leaving).
void elect::Form_Deactivate() { Unload(); }

void elect::Text_Change(int box) {
    const Currency price = Currency::from(vb::Val(remove_comma(Text[box]->Text().toStdString())));
    g.model_price[row(box)] = price;
    g.model_price_tab[5 + row(box)] = price;
}

void elect::Text_LostFocus(int box) {
    Text[box]->SetText(q(vb::Format(g.model_price[row(box)].toDouble(), "$##,##0")));
}
