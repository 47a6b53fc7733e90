// The performance-table editor driven through its controls; PumpHP.dat and
// the competitor files are read back after every write.

#include "dealer/ui/showpump.h"
#include "tests/dealer/dealer_test.h"

using namespace dealertest;

namespace {

double money(const QString& text) { return vb::Val(remove_comma(text.toStdString())); }

class PumpWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g.pump_mode = 1;
        g.cur_model = 1;
        g.pump_saved = 0;
        load_brand_pumps();
    }
    Showpump* open() {
        Showpump* w = frm_Showpump();
        w->Load();
        EXPECT_TRUE(w->isLoaded());
        return w;
    }
    std::vector<PumpBrand> pumps() const { return records::readPumpFile(path("PumpHP.dat"), nullptr, 1000); }
};

TEST_F(PumpWindow, ModelButtonsWriteTheShownModelThenShowTheNext) {
    Showpump* w = open();
    EXPECT_FALSE(w->SSCommand5->isEnabled());  // nothing to save before a group is shown
    EXPECT_FALSE(w->SSCommand6[0]->isEnabled());
    const std::vector<PumpBrand> file = pumps();
    w->List1->setCurrentRow(0);
    EXPECT_EQ(w->group, 1);
    EXPECT_EQ(w->Label6->text(), "Kestrolin");
    const pumpfiles::ModelBoxes shown1 = pumpfiles::show_maker(file[0], 1);
    EXPECT_EQ(w->Text17[0]->Text().toStdString(), shown1.btu[0]);
    EXPECT_EQ(w->Text23->Text().toStdString(), vb::Trim(file[0].model[1]));

    typeIn(w->Text17[0], "65000");  // the first key replaces the box
    testkeys::leave(w->Text17[0]);
    EXPECT_EQ(w->Text17[0]->Text(), "65,000");  // shown as the unedited boxes are
    script->answer(ui::vbOK);
    type(w->Text17[1], ".");  // no decimal point in an output box
    EXPECT_EQ(shown("Please", "Numbers only"), 1);
    EXPECT_EQ(w->Text17[1]->Text(), "");
    typeIn(w->Text1[2], "12.5\x1b");  // Esc empties without a warning
    EXPECT_EQ(w->Text1[2]->Text(), "");
    typeIn(w->Text23, "HX 730 TX");

    w->SSCommand6[2]->DoClick();  // model 3: model 1 is written first
    EXPECT_EQ(g.cur_model, 3);
    const auto after = pumps();
    ASSERT_EQ(after.size(), 100u);
    EXPECT_EQ(after[0].btu[1], 65000);
    EXPECT_EQ(after[0].btu[2], 0);
    EXPECT_EQ(after[0].rh[3], 0);
    EXPECT_EQ(after[0].model[1], vb::FixLen("HX 730 TX", 25));  // inner blanks kept
    EXPECT_EQ(records::pack(after[1]), records::pack(file[1]));
    for (int p = 9; p <= 72; ++p) ASSERT_EQ(after[0].btu[p], file[0].btu[p]) << p;
    EXPECT_EQ(w->Text17[0]->Text().toStdString(), pumpfiles::show_maker(file[0], 3).btu[0]);
    EXPECT_EQ(w->Label25->text(), "1 Saved");
    EXPECT_EQ(g.pump_saved, 1);  // any write counts: the working tables reload on closing
    focus(w->List1);             // the status line tells of the last write until the dealer turns away
    EXPECT_EQ(w->Label25->text(), "");
    w->SSCommand5->DoClick();
    EXPECT_EQ(w->Label25->text(), "1 Saved");
    w->Form_Activate();
    EXPECT_EQ(w->Label25->text(), "");

    // The column fills change only the boxes.
    w->SSCommand6[12]->DoClick();
    EXPECT_EQ(w->Text17[7]->Text(), "35,000");
    w->SSCommand6[11]->DoClick();
    EXPECT_EQ(w->Text9[1]->Text(), "5.79");
    EXPECT_EQ(records::pack(pumps()[0]), records::pack(after[0]));
}

TEST_F(PumpWindow, SaveRewritesAllGroupsAndClosingReloadsTheWorkingTables) {
    // A file of 10 records is read as 10 and written back as 100.
    std::string bytes = read("PumpHP.dat").substr(0, 10 * 1724);
    write("PumpHP.dat", bytes);
    g.brand_name = "kestrolin";
    g.model_name = vb::Trim(g.pump_tab[1].model[1]);
    Showpump* w = open();
    w->List1->setCurrentRow(0);
    typeIn(w->Text17[0], "71234");
    w->SSCommand5->DoClick();
    EXPECT_EQ(read("PumpHP.dat").size(), 172400u);
    EXPECT_EQ(pumps()[0].btu[1], 71234);
    EXPECT_EQ(read("PumpHP.dat").substr(1724, 9 * 1724), bytes.substr(1724));
    EXPECT_EQ(w->List1->count(), 9);
    EXPECT_TRUE(exists("defaulte.dat"));
    w->SSCommand4->DoClick();  // Exit
    EXPECT_FALSE(w->isLoaded());
    EXPECT_EQ(g.hp_btu[1], 71234);  // reloaded for the chosen brand and model
}

// The open project follows every write at once, Save's and a model
// button's, not only when the editor closes; a model taken out of the list
// leaves the project's model list at once, and the project is told which
// model takes its place.
TEST_F(PumpWindow, SaveReachesTheOpenProjectAtOnce) {
    g.brand_name = "Kestrolin";
    g.model_name = vb::Trim(g.pump_tab[1].model[2]);
    weathers* input = open_input_window();
    ASSERT_EQ(input->Combo1(8)->currentText().toStdString(), g.model_name);
    const std::string model = g.model_name;
    QString cost = input->result_text(13, weathers::kHpCost);
    Showpump* w = open();
    w->List1->setCurrentRow(0);
    // Each write of a poorer C.O.P. raises the project's cost at once.
    const std::pair<plat::CommandButton*, const char*> writes[] = {{w->SSCommand6[0], "3"}, {w->SSCommand5, "2"}};
    for (const auto& [write, cop] : writes) {
        w->SSCommand6[1]->DoClick();  // the project's model, 2
        for (auto& [i, box] : w->Text9) typeIn(box, cop);
        write->DoClick();
        const QString now = input->result_text(13, weathers::kHpCost);
        EXPECT_GT(money(now), money(cost)) << cop;
        cost = now;
    }
    EXPECT_EQ(g.hp_cop[1], 2.0f);

    // Out of the list: said once, with the model that replaces it.
    w->SSCheck1->setChecked(false);
    script->answer(ui::vbOK);
    w->SSCommand5->DoClick();
    ASSERT_EQ(shown("Heat pump model"), 1);
    const std::string first = vb::Trim(g.pump_tab[1].model[1]);
    EXPECT_EQ(script->shown().back().text, "The project's heat pump model " + model + " is no longer offered.\r\n" +
                                               "The project now uses the " + first + ".");
    EXPECT_EQ(input->Combo1(8)->findText(QString::fromStdString(model)), -1);
    EXPECT_EQ(input->Combo1(8)->currentText().toStdString(), first);
    EXPECT_EQ(g.model_name, first);
    // Back in the list: offered again, the project keeps the model it has.
    w->SSCheck1->setChecked(true);
    w->SSCommand5->DoClick();
    EXPECT_NE(input->Combo1(8)->findText(QString::fromStdString(model)), -1);
    EXPECT_EQ(g.model_name, first);
    w->SSCommand4->DoClick();
    EXPECT_EQ(shown("Heat pump model"), 1);
}

TEST_F(PumpWindow, AFailedSaveKeepsTheFileAndTheWindow) {
    Showpump* w = open();
    w->List1->setCurrentRow(1);
    const std::string before = read("PumpHP.dat");
    typeIn(w->Text9[0], "7.1");
    for (rec::Step step : kAllSteps) {
        FailStep fail(step);
        script->answer(ui::vbOK);
        w->SSCommand5->DoClick();
        ASSERT_TRUE(fail.fired());
        EXPECT_EQ(read("PumpHP.dat"), before);
    }
    EXPECT_EQ(shown("Error in show"), 5);
    EXPECT_TRUE(w->isLoaded());
    EXPECT_EQ(w->Text9[0]->Text(), "7.1");
    EXPECT_EQ(copies_left(), std::vector<std::string>{});
}

TEST_F(PumpWindow, CompetitorModeNeverPastPointTwentyFour) {
    g.pump_mode = 2;  // PumpHP1.dat
    CompetitorPump before;
    ASSERT_TRUE(records::readCompetitorFile(path("PumpHP1.dat"), before));
    before.water_temp[2] = 84.5f;  // shown "85", written back as read
    ASSERT_TRUE(records::writeCompetitorFile(path("PumpHP1.dat"), before));
    Showpump* w = open();
    w->List1->setCurrentRow(0);
    EXPECT_EQ(w->Label6->text(), "Competitor heat pumps");
    EXPECT_EQ(w->Text3->Text().toStdString(), vb::Trim(before.brand));
    for (int i = 0; i < 9; ++i) EXPECT_EQ(w->SSCommand6[i]->isEnabled(), i < 3) << i;
    w->SSCommand6[5]->DoClick();  // disabled: nothing happens
    EXPECT_EQ(g.cur_model, 1);
    typeIn(w->Text17[7], "33333");
    w->SSCommand6[2]->DoClick();
    CompetitorPump after;
    ASSERT_TRUE(records::readCompetitorFile(path("PumpHP1.dat"), after));
    EXPECT_EQ(after.btu[8], 33333);
    EXPECT_EQ(after.water_temp[2], 84.5f);
    EXPECT_EQ(after.brand, before.brand);  // the brand survives a save
    EXPECT_EQ(after.model[1], before.model[1]);
    EXPECT_EQ(g.cur_model, 3);
    EXPECT_EQ(w->Text23->Text().toStdString(), before.model[3]);
}

TEST_F(PumpWindow, HelpAndAnEmptyEntry) {
    Showpump* w = open();
    script->answer(ui::vbOK);
    w->Label12->click();
    ASSERT_EQ(shown("Help"), 1);
    EXPECT_NE(script->shown().back().text.find("Maximum 100 combinations.\r\n\r\nFor maximum acuracy"),
              std::string::npos);
    // An empty entry shows nothing new; the shown group stays the one saved.
    w->List1->setCurrentRow(0);
    w->List1->setCurrentRow(5);
    EXPECT_EQ(w->group, 1);
}

// A box shows its figure in its column's mask, but the file gets the figure
// as the dealer typed it (read from its leading number), and a figure read
// from the file goes back unchanged when its model is written again.
class PumpFigures : public PumpWindow {
protected:
    using Column = pumpfiles::Column;
    static plat::TextBox* box(Showpump* w, Column c, int row) {
        auto& column = c == Column::Rh    ? w->Text1
                       : c == Column::Cop ? w->Text9
                       : c == Column::Btu ? w->Text17
                                          : w->Text27;
        return column[row];
    }
    // Point p (1..72) of column c as the record holds it.
    template <class Rec> static double stored(const Rec& r, Column c, int p) {
        return c == Column::Rh ? r.rh[p] : c == Column::Cop ? r.cop[p] : c == Column::Btu ? r.btu[p] : r.water_temp[p];
    }
};

TEST_F(PumpFigures, SaveWritesTheFiguresAsTyped) {
    struct Row {
        Column column;
        int row;
        const char* typed;
        const char* shown;
        double stored;
    };
    const Row rows[] = {
        {Column::Water, 0, "84.5", "85", 84.5f},     {Column::Cop, 1, "3.456", "3.46", 3.456f},
        {Column::Rh, 2, "79.996", "80.00", 79.996f}, {Column::Btu, 3, "60000", "60,000", 60000},
        {Column::Cop, 4, "3.4.5", "3.40", 3.4f},  // the leading number
    };
    Showpump* w = open();
    w->List1->setCurrentRow(0);
    for (const Row& r : rows) {
        typeIn(box(w, r.column, r.row), r.typed);
        leave(box(w, r.column, r.row));
        EXPECT_EQ(box(w, r.column, r.row)->Text().toStdString(), r.shown) << r.typed;
    }
    w->SSCommand5->DoClick();
    const PumpBrand saved = pumps()[0];
    for (const Row& r : rows) EXPECT_EQ(stored(saved, r.column, r.row + 1), r.stored) << r.typed;
}

TEST_F(PumpFigures, ModelButtonsKeepTypedAndReadFigures) {
    Showpump* w = open();
    w->List1->setCurrentRow(0);
    const PumpBrand before = pumps()[0];
    // Figures each column's mask rounds ("85", "3.46", "80.00").
    const struct {
        Column column;
        int row;
        const char* typed;
        float value;
    } typed[] = {
        {Column::Water, 0, "84.5", 84.5f}, {Column::Cop, 1, "3.456", 3.456f}, {Column::Rh, 2, "79.996", 79.996f}};
    for (const auto& t : typed) {
        typeIn(box(w, t.column, t.row), t.typed);
        leave(box(w, t.column, t.row));
    }
    w->SSCommand6[1]->DoClick();  // model 1 written, model 2 shown
    for (const auto& t : typed) EXPECT_EQ(stored(pumps()[0], t.column, t.row + 1), t.value) << t.typed;
    EXPECT_EQ(w->Text27[0]->Text().toStdString(), pumpfiles::show_maker(before, 2).water[0]);
    w->SSCommand6[0]->DoClick();  // model 2 written unedited, model 1 back
    EXPECT_EQ(w->Text27[0]->Text(), "85");
    typeIn(w->Text9[7], "3.25");
    w->SSCommand5->DoClick();  // the read 84.5 goes back, not the "85" shown
    const PumpBrand after = pumps()[0];
    for (const auto& t : typed) EXPECT_EQ(stored(after, t.column, t.row + 1), t.value) << t.typed;
    EXPECT_EQ(after.cop[8], 3.25f);
    for (int p = 9; p <= 16; ++p) {
        for (Column c : {Column::Rh, Column::Cop, Column::Btu, Column::Water})
            EXPECT_EQ(stored(after, c, p), stored(before, c, p)) << p;
    }
}

}  // namespace
