// The company-name, brand, series, measurement-system and compensating
// factors windows, driven through their controls.
#include "tests/dealer/dealer_test.h"

#include "core/cp1252.h"
#include "dealer/ui/coname.h"
#include "dealer/ui/setname.h"
#include "dealer/ui/setoutp.h"
#include "dealer/ui/setsize.h"

using namespace dealertest;

class DealerWindows : public WindowTest {};

TEST_F(DealerWindows, CompanyNameIsTrimmedAndCutTo34) {
    auto* w = static_cast<coname*>(windows().coname());
    g.company_name = "Dealer";
    g.no_prices = 1;
    w->Move(2500, 1350, 6525, 2640);
    EXPECT_EQ(w->Text1->Text(), "Dealer");
    EXPECT_FALSE(w->Check1->isChecked());  // prices not offered

    w->Text1->SetText("  Sunny Pools  ");
    EXPECT_EQ(g.company_name, "Sunny Pools");
    EXPECT_EQ(w->Text1->Text(), "  Sunny Pools  ");  // the blanks stay in the box
    script->answer(ui::vbOK);
    const std::string long_name = "Pool and Spa Heat Pump Specialist Inc";  // 37 characters, the 34th a blank
    w->Text1->SetText(QString::fromStdString("  " + long_name));
    EXPECT_EQ(shown("Error", "Maximum 34 letters"), 1);
    EXPECT_EQ(g.company_name, long_name.substr(0, 33));
    EXPECT_EQ(w->Text1->Text().toStdString(), long_name.substr(0, 34));

    w->Check1->click();  // ticked: prices offered
    EXPECT_EQ(g.no_prices, 0);
    forget_file();
    w->SSCommand1->click();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_FALSE(file_written());  // the name goes into the file with the next save of the settings
}

class Brand : public DealerWindows {
protected:
    setname* open() {
        auto* w = static_cast<setname*>(windows().setname());
        w->Move(3400, 1400, 4560, 2760);
        return w;
    }
};

TEST_F(Brand, ChoosingABrandAndSaving) {
    g.brand_code = 3;
    g.company_var = 1;
    setname* w = open();
    EXPECT_EQ(w->Combo1->currentText(), "Morvenic");  // the brand in use, nothing selected
    EXPECT_EQ(w->Combo1->ListIndex(), -1);
    EXPECT_TRUE(w->Option2->isChecked());
    type(w->Combo1, "\r");  // Enter does not close the window
    type(w, "\r");
    type(w->SSCommand1, "\r");  // nor on Save\Exit, though Enter presses other buttons
    EXPECT_TRUE(w->isLoaded());
    w->Combo1->SetListIndex(1);  // "Tindraly": number and record at once
    EXPECT_EQ(g.brand_code, 2);
    EXPECT_EQ(g.pump_rec, 2);
    w->Option1->click();
    w->SSCheck1->click();
    forget_file();
    w->SSCommand1->click();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.brand_name, "Tindraly");  // the word only on leaving
    ASSERT_TRUE(file_written());
    const DataModel f = saved();
    EXPECT_EQ(f.brand_code, 2);
    EXPECT_EQ(f.company_var, 0);
    EXPECT_EQ(f.dealer_lock[2], -1);
}

TEST_F(Brand, LeavingWithoutAChoiceKeepsTheBrandWhole) {
    // No entry picked: brand number, record and word stay together (not a
    // brand number 0 beside the old record and word).
    g.brand_code = 2;
    g.pump_rec = 2;
    g.brand_name = "Tindraly";
    setname* w = open();
    w->SSCommand1->click();
    EXPECT_EQ(g.brand_code, 2);
    EXPECT_EQ(g.pump_rec, 2);
    EXPECT_EQ(g.brand_name, "Tindraly");

    // The close box after a pick keeps the picked brand whole as well.
    w = open();
    w->Combo1->SetListIndex(2);
    w->subWindow()->close();
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.brand_code, 3);
    EXPECT_EQ(g.pump_rec, 3);
    EXPECT_EQ(g.brand_name, "Morvenic");
}

TEST_F(Brand, SeriesList) {
    Names w;
    g.brand_code = 0;
    g.series_sel = 0;
    g.compet_check = 1;
    w.Show();
    EXPECT_EQ(g.brand_code, 1);
    EXPECT_EQ(g.series_sel, 1);
    ASSERT_EQ(w.List1->count(), 2);
    EXPECT_EQ(w.List1->item(1)->text(), "Kestrolin    D");
    w.List1->setCurrentRow(1);
    EXPECT_EQ(g.series_sel, 2);
    w.SSCheck1->click();
    w.SSCommand1->click();
    EXPECT_EQ(saved().compet_check, 0);

    g.brand_code = 7;  // no entries, and none selected
    w.Show();
    EXPECT_EQ(w.List1->count(), 0);
    EXPECT_EQ(g.series_sel, 2);
    w.Unload();
}

class Units : public DealerWindows {
protected:
    setsize* open() {
        auto* w = static_cast<setsize*>(windows().setsize());
        w->Move(2775, 1400, 8115, 3960);
        return w;
    }
    static std::string shown(setsize* w) {
        std::string s;
        for (int n = 1; n <= 8; ++n) s += "|" + w->Combo[n]->currentText().toStdString();
        return s;
    }
    void choose(setsize* w, int n, int index) {
        w->Combo[n]->setCurrentIndex(index);
        emit w->Combo[n]->activated(index);
    }
};

TEST_F(Units, PresetsChoicesAndTheCloseBoxSaves) {
    g.units_from_menu = 1;
    g.dealer_lock[1] = -1;
    setsize* w = open();
    EXPECT_TRUE(w->SSCheck1->isChecked());  // the dealer-access box, from the menu only
    EXPECT_EQ(g.units_from_menu, 0);
    w->SSCheck1->click();
    EXPECT_EQ(g.dealer_lock[1], 0);
    w->SSCommand2->click();  // "UK"
    EXPECT_EQ(shown(w),
              "|US/UK |UK Gal.|BTU/FT" + cp1252::Chr(178) + "|BTU|  BTU  |UK Gal.|UK Gal.|  F" + cp1252::Chr(176));
    EXPECT_EQ(g.fuel_units[2], 3);
    w->SSCommand3->click();  // "Metric": the sun list shows Langley
    EXPECT_EQ(shown(w), "|Metric| Liters|Langley|KWH|100 MJ | Liter | Liter |  C" + cp1252::Chr(176));
    EXPECT_EQ(g.units_temp, 1);
    w->SSCommand1->click();  // "US"
    for (float f : {g.units_len, g.units_vol, g.units_sun, g.units_temp, g.units_heat, g.fuel_units[1], g.fuel_units[2],
                    g.fuel_units[3]})
        EXPECT_EQ(f, 0);
    EXPECT_EQ(cp1252::fromUtf8(w->Combo[2]->List(2).toStdString()), "  FT\xb3");  // character 179

    choose(w, 3, 2);
    EXPECT_EQ(g.units_sun, 2);
    w->SSCommand2->click();  // UK shows "UK Gal." in the propane list ...
    choose(w, 7, 0);         // ... and the entry selected before still stores
    EXPECT_EQ(g.fuel_units[3], 0);
    forget_file();
    w->subWindow()->close();
    EXPECT_FALSE(w->isLoaded());
    ASSERT_TRUE(file_written());
    EXPECT_EQ(saved().fuel_units[2], 3);

    g.units_vol = 9;  // unknown flags leave their lists alone
    g.units_sun = 7;
    g.units_len = 2;
    w = open();  // from the background window: no dealer-access box
    EXPECT_TRUE(w->SSCheck1->isHidden());
    EXPECT_EQ(w->Combo[2]->currentText(), "");
    EXPECT_EQ(w->Combo[3]->currentText(), " W-h/M²");
}

TEST_F(DealerWindows, OutputFactorsSaveEveryBoxAndCancelKeepsThem) {
    g.hp_btu_factor[3] = 1.1f;
    g.hp_cop_factor[8] = 1.23456f;
    auto open = [] {
        auto* w = static_cast<setoutp*>(windows().setoutp());
        w->Move(3300, 1550, 4815, 4815);
        return w;
    };
    auto* w = open();
    EXPECT_EQ(w->Text2[7]->Text(), "1.2346");
    focus(w->Text1[2]);
    type(w->Text1[2], "0.9");
    forget_file();
    w->SSCommand2->click();  // Cancel
    EXPECT_FLOAT_EQ(g.hp_btu_factor[3], 1.1f);
    EXPECT_FALSE(file_written());

    w = open();
    EXPECT_EQ(w->Text1[2]->Text(), "1.1000");
    focus(w->Text1[2]);
    type(w->Text1[2], "1.5\b2");  // the first key replaces the old value
    EXPECT_EQ(w->Text1[2]->Text(), "1.2");
    script->answer(ui::vbOK);
    focus(w->Text2[4]);
    type(w->Text2[4], "1.2.3");  // every point passes: the number at the start is stored
    focus(w->Text2[5]);
    type(w->Text2[5], "7-");  // a refused key warns and empties the box: 0, no adjustment
    EXPECT_EQ(shown("Please", "Numbers only"), 1);
    EXPECT_EQ(w->Text2[5]->Text(), "");
    type(w->Text2[6], "\x1b");  // Esc empties it silently
    EXPECT_EQ(w->Text2[6]->Text(), "");
    w->SSCommand1->click();
    EXPECT_FLOAT_EQ(g.hp_btu_factor[3], 1.2f);
    EXPECT_FLOAT_EQ(g.hp_cop_factor[5], 1.2f);
    EXPECT_EQ(g.hp_cop_factor[6], 0);
    EXPECT_EQ(g.hp_cop_factor[7], 0);
    EXPECT_FLOAT_EQ(saved().hp_btu_factor[3], 1.2f);
    forget_file();
    open()->subWindow()->close();  // the close box saves like Save/Exit
    EXPECT_TRUE(file_written());
}
