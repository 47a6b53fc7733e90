// The finance key data window and the model-price window driven through
// their controls.
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/finance/finance_ui_fixture.h"

namespace {

setfin* openSetfin() {
    auto* w = static_cast<setfin*>(windows().setfin());
    w->Move(1800, 1500, 7890, 5520);
    return w;
}

elect* openElect() {
    auto* w = static_cast<elect*>(windows().elect());
    w->Move(3650, 3750);
    w->Show();
    return w;
}

using SetfinWindow = FinanceUi;
using ElectWindow = FinanceUi;

TEST_F(SetfinWindow, OpeningShowsTheKeyDataAsStored) {
    g.lease_fact[1][1] = 0.0312345;
    g.fin_opts[1] = cy(0);
    g.fin_opts[3] = cy(1);
    g.fin_opts[18] = cy(1);
    setfin* w = openSetfin();
    EXPECT_EQ(w->Combo1->Text(), "Compounded - on a monthly basis");
    EXPECT_EQ(w->Combo2->Text(), "IGNORE - no deductions made");
    // Every factor is shown, and kept, to five decimals.
    EXPECT_EQ(w->Text2[0]->Text(), "0.03123");
    EXPECT_EQ(g.lease_fact[1][1], 0.03123);
    // An adjustable rate is not typed here.
    EXPECT_TRUE(w->SSOption2[0]->Value());
    EXPECT_FALSE(w->Text1->isEnabled());
    w->SSOption2[1]->click();
    EXPECT_TRUE(w->Text1->isEnabled());
    EXPECT_EQ(g.fin_opts[1], cy(1));
    // A rate of 0 shows the bare point of its mask and stays 0.
    EXPECT_EQ(w->Text1->Text(), " .");
    EXPECT_EQ(g.loan_rate, 0.0f);
    leave(w->Text1);
    EXPECT_EQ(w->Text1->Text(), "0.00");

    // Choices from the lists are stored.
    w->Combo1->SetListIndex(2);
    EXPECT_EQ(g.fin_opts[3], cy(2));
    w->Combo2->SetListIndex(0);
    EXPECT_EQ(g.fin_opts[18], cy(0));
}

TEST_F(SetfinWindow, BoxesEditTheirOwnFigures) {
    setfin* w = openSetfin();
    w->SSOption2[1]->click();
    // Above 100 is refused; 100 is a rate.
    script->answer(ui::vbOK);
    typeIn(w->Text1, "150");
    EXPECT_EQ(boxes("Error"), 1);
    EXPECT_EQ(script->shown().back().text, "Illigal entery");
    EXPECT_EQ(g.loan_rate, 0.0f);
    script->clear();
    w->Text1->SetText("");
    typeIn(w->Text1, "100");
    EXPECT_EQ(g.loan_rate, 100.0f);
    EXPECT_TRUE(script->shown().empty());

    // Box 5 is the 18-month factor of 5,001 to 15,000; box 23 the 60-month
    // factor of 25,001 and up. The first key replaces the box.
    typeIn(w->Text2[5], "0.041");
    EXPECT_EQ(g.lease_fact[2][2], 0.041);
    EXPECT_EQ(w->Text2[5]->Text(), "0.04100");
    typeIn(w->Text2[23], "0.0199");
    EXPECT_EQ(g.lease_fact[6][4], 0.0199);
    typeIn(w->Text2[22], "1.2.3");  // every point passes: the number at the start
    EXPECT_EQ(g.lease_fact[6][3], 1.2);
    // The rate box has no first-key rule: a click puts the cursor, keys edit there.
    w->Text1->SetText("1.2");
    testkeys::focus(w->Text1, QEvent::FocusIn, Qt::MouseFocusReason);
    type(w->Text1, ".3");
    EXPECT_FLOAT_EQ(g.loan_rate, 1.2f);
    // A refused key warns and empties the box: the factor becomes 0.
    script->answer(ui::vbOK);
    typeIn(w->Text2[23], "a");
    EXPECT_EQ(boxes("Please"), 1);
    EXPECT_EQ(g.lease_fact[6][4], 0.0);
}

TEST_F(SetfinWindow, ClosingWritesTheSettingsFile) {
    setfin* w = openSetfin();
    w->SSOption2[1]->click();
    typeIn(w->Text1, "7.25");
    typeIn(w->Text2[0], "0.05");
    g.setwin_open = 1;
    w->SSCommand1->DoClick();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.setwin_open, 0);
    std::ifstream in(dir / "defaulte.dat");
    std::stringstream file;
    file << in.rdbuf();
    EXPECT_NE(file.str().find("lease_fact(1,1)=0.05\n"), std::string::npos);
    EXPECT_NE(file.str().find("fin_opts(1)=1.0000\n"), std::string::npos);
}

// A settings menu in the dealer area's place.
class FakeMenu : public plat::Form {
public:
    FakeMenu() : plat::Form("menu") {}
};

TEST_F(SetfinWindow, TheMenuWaitsWhileTheWindowIsOpen) {
    QPointer<FakeMenu> menu = new FakeMenu;
    windows().menu = WindowSlot([&]() -> plat::Form* { return menu; }, [&]() -> plat::Form* { return menu; });
    menu->Move(300, 300, 5100, 1215);
    g.menu_open = 1;
    std::vector<bool> greyed;  // what the window asks of the menu (the dealer tests check its look)
    windows().grey_menu = [&](bool grey) { greyed.push_back(grey); };
    setfin* w = openSetfin();
    EXPECT_EQ(greyed, std::vector<bool>{true});
    w->SSCommand1->DoClick();
    EXPECT_EQ(greyed, (std::vector<bool>{true, false}));
    EXPECT_EQ(menu->Left(), plat::twips(plat::px(2180)));  // back home, to the pixel
    EXPECT_EQ(menu->Top(), plat::twips(plat::px(90)));
    menu->Unload();
    delete menu;
    windows().menu = nullptr;
    windows().grey_menu = nullptr;
}

TEST_F(ElectWindow, PricesStandBesideTheirModelsInWholeDollars) {
    g.model_price[1] = cy(3750.40);
    g.model_price[2] = cy(2500);
    g.model_price[3] = cy(1999.99);
    g.series_sel = 0;
    elect* w = openElect();
    EXPECT_EQ(w->Caption(), "Heat pumps sales price");
    // Row 1 is price 1 beside the third model's name.
    EXPECT_EQ(w->Label[3]->text().toStdString(), g.model_txt3);
    EXPECT_EQ(w->Label[5]->text().toStdString(), g.model_txt1);
    EXPECT_EQ(w->Text[3]->Text(), "$3,750");
    EXPECT_EQ(g.model_price[1], cy(3750));
    EXPECT_EQ(g.model_price_tab[6], cy(3750));
    EXPECT_EQ(g.model_price[3], cy(2000));
    EXPECT_EQ(g.model_price_tab[8], cy(2000));
    EXPECT_EQ(g.series_sel, 1);

    // Stored at every key, rounded to dollars on leaving.
    focus(w->Text[5]);
    w->Text[5]->SetText("");
    type(w->Text[5], "750.5");
    EXPECT_EQ(g.model_price[3], cy(750.5));
    leave(w->Text[5]);
    EXPECT_EQ(w->Text[5]->Text(), "$751");
    EXPECT_EQ(g.model_price[3], cy(751));
    EXPECT_EQ(g.model_price_tab[8], cy(751));
    // That box takes thousands commas too, and every point; the first key
    // edits where the cursor stands.
    w->Text[5]->SetText("1,25");
    testkeys::focus(w->Text[5], QEvent::FocusIn, Qt::MouseFocusReason);
    type(w->Text[5], "0.2.3");
    EXPECT_EQ(g.model_price[3], cy(1250.2));
    EXPECT_TRUE(script->shown().empty());
}

TEST_F(ElectWindow, RefusedKeysEmptyTheBoxAndLeaveTheWindowOpen) {
    elect* w = openElect();
    script->answer(ui::vbOK);
    type(w->Text[3], ".");
    EXPECT_EQ(boxes("Please"), 1);
    EXPECT_EQ(w->Text[3]->Text(), "");
    EXPECT_EQ(g.model_price[1], Currency{});
    EXPECT_TRUE(w->isLoaded());  // its own warning does not close it
    script->clear();
    w->Text[4]->SetText("$1,200");
    type(w->Text[4], "\x1b");
    EXPECT_EQ(w->Text[4]->Text(), "");
    EXPECT_EQ(g.model_price_tab[7], Currency{});
    EXPECT_TRUE(script->shown().empty());

    // Another window becoming active closes it.
    windows().setfin()->Show();
    EXPECT_FALSE(w->isLoaded());
    // Opened again it shows the prices afresh.
    g.model_price[2] = cy(1234);
    w = openElect();
    EXPECT_EQ(w->Text[4]->Text(), "$1,234");
}

}  // namespace
