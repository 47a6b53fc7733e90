// The project input window's "HP Price" and "Finance" buttons open the
// finance windows, and the price typed beside the chosen model is the one
// the project's equipment is priced with.
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "tests/finance/finance_ui_fixture.h"

namespace {

class InputButtons : public FinanceUi {
protected:
    void SetUp() override {
        FinanceUi::SetUp();
        register_input_windows();
        load_locations();
    }
    void TearDown() override {
        if (plat::Form* f = windows().weathers.existing()) {
            script->answer(ui::vbYes);  // "Do you want to leave?"
            f->Unload();
            delete f;
        }
        FinanceUi::TearDown();
    }
};

TEST_F(InputButtons, OpenTheFinanceWindowsAndPriceTheChosenModel) {
    auto* in = static_cast<weathers*>(windows().weathers());
    in->Show();
    ASSERT_TRUE(in->SSCommand1(8)->isEnabled());
    ASSERT_TRUE(in->SSCommand1(10)->isEnabled());

    // "HP Price": the price beside the chosen model's name.
    in->SSCommand1(8)->DoClick();
    auto* prices = static_cast<elect*>(windows().elect.existing());
    ASSERT_TRUE(prices && prices->isLoaded());
    const ChosenModel chosen = chosen_model();
    const int box = chosen.price_slot + 2;  // row 1 (Text3) is price 1
    EXPECT_EQ(vb::Trim(prices->Label[box]->text().toStdString()), chosen_model_text());
    focus(prices->Text[box]);
    type(prices->Text[box], "4321");
    // Back to the project: the price window closes, the project is priced anew.
    in->Show();
    EXPECT_FALSE(prices->isLoaded());
    ASSERT_GT(g.equip_cost, Currency{});
    EXPECT_EQ(g.equip_cost.v % cy(4321).v, 0);

    // "Finance": the calculator at its place, pricing that equipment.
    in->SSCommand1(10)->DoClick();
    auto* calc = static_cast<lease*>(windows().lease.existing());
    ASSERT_TRUE(calc && calc->isLoaded());
    EXPECT_EQ(calc->Left(), plat::twips(plat::px(2170)));
    EXPECT_EQ(g.fin_mode, 1);
    EXPECT_EQ(text(calc->Label(2)), fin::right13(vb::Format(g.equip_cost.toDouble(), "$##,##0.00")));

    // Prices and finance not offered: no buttons.
    g.no_prices = 1;
    in->Show();
    EXPECT_FALSE(in->SSCommand1(8)->isVisibleTo(in));
    EXPECT_FALSE(in->SSCommand1(10)->isVisibleTo(in));
}

}  // namespace
