// The project input window and the model-price window together: opening the
// price window reloads the heat-pump file, which never changes a result, and
// the price typed beside the chosen model's name is the one its system is
// priced with, for a model of series A and one of series D (TX).
#include "finance/ui/elect.h"
#include "finance/ui/register.h"
#include "tests/app_ui/app_ui_fixture.h"

namespace {

class PriceWindowTest : public AppUiTest {
protected:
    void SetUp() override {
        AppUiTest::SetUp();
        register_finance_windows();
        set_defaults(g);
        g.data_dir = path().toStdString();
        load_brand_pumps();
        load_locations();
    }
    void TearDown() override {
        if (plat::Form* f = windows().elect.existing()) {
            f->Unload();
            delete f;
        }
        AppUiTest::TearDown();
    }
};

// Everything the grid and the summary show, and what the printouts read.
struct Shown {
    std::vector<QString> cells;
    QString units, savings;
    arr<float, 100> table;
    Currency equip;
    bool operator==(const Shown&) const = default;
};
Shown on_screen(weathers* w) {
    Shown s;
    for (int r = 1; r <= 13; ++r)
        for (int c = 0; c < weathers::kResultCols; ++c) s.cells.push_back(w->result_text(r, weathers::ResultCol(c)));
    s.units = w->units_text();
    s.savings = w->savings_text();
    s.table = g.calc_f32;
    s.equip = g.equip_cost;
    return s;
}

TEST_F(PriceWindowTest, OpeningThePriceWindowNeverChangesAResult) {
    ui::Script answers;
    g.city_name = "Chicago";
    g.sel_state = "IL";
    g.area_group = 1;
    g.fuel_type = HT_GAS;
    g.heat_hours = 10;
    for (const char* model : {"HX 730", "HX 310TX"}) {
        SCOPED_TRACE(model);
        for (int backup : {0, 1}) {
            g.model_name = model;
            g.backup_on = static_cast<i16>(backup);
            weathers* w = frm_weathers();
            w->Show();
            ASSERT_EQ(w->Combo1(8)->currentText().toStdString(), model);
            const Shown before = on_screen(w);
            ASSERT_FALSE(before.units.isEmpty());

            // Beside each name, the price its system is priced with.
            w->SSCommand1(8)->DoClick();
            auto* e = static_cast<elect*>(windows().elect.existing());
            ASSERT_TRUE(e && e->isLoaded());
            int row = 0;
            for (int box = 3; box <= 5; ++box)
                if (e->Label[box]->text().trimmed().toStdString() == model) row = box;
            ASSERT_GT(row, 0) << "the chosen model is not on offer";
            e->Text[row]->SetText("4321");
            e->Unload();
            w->Form_Activate();
            const Shown after = on_screen(w);
            EXPECT_TRUE(after.cells == before.cells) << "backup " << backup;
            EXPECT_EQ(after.units, before.units);
            EXPECT_TRUE(after.table == before.table);
            const int units = g.combo_n1[g.combo_idx];
            EXPECT_EQ(g.equip_cost, cy(4321) * units);
            answers.answer(ui::vbYes);  // "Do you want to leave?"
            w->Unload();
            g.model_price = {};
        }
    }
    EXPECT_TRUE(answers.unexpected().empty());
}

}  // namespace
