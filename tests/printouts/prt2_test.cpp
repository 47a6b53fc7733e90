// The printout selection window, opened from the project input window's
// Print button: its choices and options, what Print runs, and the input
// window given back on every path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "app/ui/register.h"
#include "app/ui/startup.h"
#include "core/ui.h"
#include "core/windows.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "office/render.h"
#include "platform/form.h"
#include "printouts/printouts.h"
#include "printouts/report.h"
#include "printouts/ui/Prt2.h"
#include "printouts/ui/register.h"
#include "printouts/values.h"
#include "tests/printouts/office_fakes.h"
#include "tests/support/clicks.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

namespace {

class Prt2Test : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensure_app();
        script = std::make_unique<ui::Script>();
        data = std::make_unique<testsupport::TempDataDir>("heater-prt2");
        ASSERT_TRUE(data->copy_built({"location.dat", "PumpHP.dat", "defaulte.dat"})) << data->missing();
        dir = data->path();
        data->load_program_data();
        windows() = WindowRegistry{};
        register_app_windows();
        register_input_windows();
        register_printouts_windows();
        saved = printouts();
        Printouts& p = printouts();
        p.prt_word = [this] {
            log.push_back("prt_word");
            return word_ok;
        };
        p.prt_graph = [this] { log.push_back("prt_graph"); };
        p.To_print = [this] {
            log.push_back("To_print");
            if (fail) throw ui::RtError(53, "File not found");
        };
        p.prt_word_summary = [this] { log.push_back("prt_word_summary " + std::to_string(input()->Enabled())); };
        p.select_printer = [this] { log.push_back("select_printer"); };
        p.warm_office = [this] { ++warmed; };
        input()->Show();
    }
    void TearDown() override {
        printouts() = saved;
        {
            ui::Script quiet;
            quiet.answer(ui::vbYes);  // "Do you want to leave?"
            if (Prt2* w = frm_prt2(); w->isLoaded()) w->Unload();
            input()->SetEnabled(true);
            if (input()->isLoaded()) input()->Unload();
        }
        windows() = WindowRegistry{};
        for (const auto& s : script->unexpected()) ADD_FAILURE() << "unexpected box " << s.title << ": " << s.text;
        script.reset();
        data.reset();
    }
    weathers* input() { return frm_weathers(); }
    plat::CommandButton* print_button() { return input()->SSCommand1(11); }
    // The input window's Print button.
    Prt2* open() {
        print_button()->DoClick();
        return frm_prt2();
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<testsupport::TempDataDir> data;
    fs::path dir;
    Printouts saved;
    std::vector<std::string> log;
    bool word_ok = true;
    bool fail = false;
    int warmed = 0;
};

TEST_F(Prt2Test, PrintButtonOpensTheSelectionWithItsDefaults) {
    ASSERT_TRUE(print_button()->isEnabled());
    g.round_up = 1;
    g.letter_head = 1;
    fs::remove(dir / "defaulte.dat");
    Prt2* p = open();
    EXPECT_TRUE(fs::exists(dir / "defaulte.dat"));  // the settings were written first
    EXPECT_TRUE(p->isLoaded());
    EXPECT_FALSE(input()->Enabled());
    EXPECT_FALSE(print_button()->isEnabled());
    EXPECT_EQ(p->Caption(), "Printout selection");
    EXPECT_EQ(p->Combo1->Text(), "Summary");
    EXPECT_EQ(p->Combo1->ListCount(), 4);
    EXPECT_EQ(p->Combo1->List(2), "One coverage and chart");
    EXPECT_EQ(g.prt_choice, kChoiceSummary);
    EXPECT_EQ(g.letter_head, 0);
    EXPECT_FALSE(p->Check1->isEnabled());
    EXPECT_FALSE(p->Check2->isEnabled());
    EXPECT_TRUE(p->Check3->isEnabled());
    EXPECT_EQ(p->Check3->Value(), 1);
    EXPECT_EQ(p->Check1->text(), " Small title fonts");
    EXPECT_EQ(warmed, 1);

    // Print untouched: the summary, after the window has gone, with the
    // input window still disabled; then everything is given back.
    p->SSCommand1[0]->DoClick();
    EXPECT_EQ(log, (std::vector<std::string>{"prt_word_summary 0"}));
    EXPECT_FALSE(p->isLoaded());
    EXPECT_TRUE(input()->Enabled());
    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), input());  // in front again
    EXPECT_TRUE(print_button()->isEnabled());
    EXPECT_EQ(script->busyDepth(), 0);
}

TEST_F(Prt2Test, ListRowsSetTheChoiceAndWhichOptionsApply) {
    Prt2* p = open();
    p->Check2->SetValue(1);  // a tick stays while its box is unavailable
    struct Row {
        int choice;
        bool small, letter, round;
    };
    const Row rows[] = {{kChoiceSummary, false, false, true},
                        {kChoiceOneCoverage, false, false, false},
                        {kChoiceCoverageChart, false, false, false},
                        {kChoicePlainText, true, true, false}};
    for (int r : {3, 1, 2, 0}) {
        p->Combo1->SetListIndex(r);
        EXPECT_EQ(g.prt_choice, rows[r].choice) << r;
        EXPECT_EQ(p->Check1->isEnabled(), rows[r].small) << r;
        EXPECT_EQ(p->Check2->isEnabled(), rows[r].letter) << r;
        EXPECT_EQ(p->Check3->isEnabled(), rows[r].round) << r;
        EXPECT_EQ(p->Check2->Value(), 1);
    }
    p->Check1->SetValue(1);
    EXPECT_EQ(g.small_title, 1.0f);
    p->Check3->SetValue(0);
    EXPECT_EQ(g.round_up, 0);
    // Letter head chosen, then Summary printed: it stays on until the
    // window is opened again.
    p->SSCommand1[0]->DoClick();
    EXPECT_EQ(g.letter_head, 1);
    g.small_title = 0;
    open();
    EXPECT_EQ(g.letter_head, 0);
    // Loaded afresh: the ticks show what the data model holds.
    EXPECT_EQ(p->Check2->Value(), 0);
    EXPECT_EQ(p->Check1->Value(), 0);
}

// The list has the keys when the window opens, and the arrow keys move
// from the row shown: Down twice is "One coverage and chart".
TEST_F(Prt2Test, ArrowKeysChooseFromTheRowShownFromTheFirstKey) {
    plat::MainWindow::instance()->show();
    Prt2* p = open();
    QApplication::processEvents();
    const QWidget* keys = QApplication::focusWidget();
    EXPECT_TRUE(keys == p->Combo1 || p->Combo1->isAncestorOf(keys));
    testclicks::key(p, Qt::Key_Down);
    testclicks::key(p, Qt::Key_Down);
    EXPECT_EQ(p->Combo1->Text().toStdString(), "One coverage and chart");
    EXPECT_EQ(g.prt_choice, 1);
    testclicks::key(p, Qt::Key_Up);
    EXPECT_EQ(p->Combo1->Text().toStdString(), "One coverage");
    EXPECT_EQ(g.prt_choice, 4);
    plat::MainWindow::instance()->hide();
}

TEST_F(Prt2Test, EachChoiceRunsItsPrintouts) {
    const std::pair<int, std::vector<std::string>> cases[] = {{kChoiceCoverageChart, {"prt_word", "prt_graph"}},
                                                              {kChoicePlainText, {"To_print"}},
                                                              {kChoiceReportBook, {"The_Print"}},
                                                              {kChoiceOneCoverage, {"prt_word"}},
                                                              {0, {}}};
    windows().The_Print = [this] { log.push_back("The_Print"); };
    for (const auto& [choice, runs] : cases) {
        log.clear();
        Prt2* p = open();
        g.prt_choice = static_cast<i16>(choice);
        p->SSCommand1[0]->DoClick();
        EXPECT_EQ(log, runs) << choice;
        EXPECT_TRUE(input()->Enabled());
        EXPECT_TRUE(print_button()->isEnabled());
    }
    // The chart follows only an audit that was printed.
    word_ok = false;
    log.clear();
    open()->Combo1->SetListIndex(2);
    frm_prt2()->SSCommand1[0]->DoClick();
    EXPECT_EQ(log, (std::vector<std::string>{"prt_word"}));
}

// "One coverage and chart": both documents are filled before either is
// rendered, so that one question names both files. (No LibreOffice here:
// the rendering of the two fails once, after both were queued.)
TEST_F(Prt2Test, OneCoverageAndChartRendersBothAtTheEnd) {
    office::setOfficeForTest(office::OfficeSeam::Missing);
    auto print = [this](const std::string& what) {
        try {
            office::printFile(office::newJobFolder() + "/x.docx", what);
            log.push_back("queued " + what);
        } catch (const office::RenderError&) {
            log.push_back("rendered alone " + what);
        }
    };
    printouts().prt_word = [&] {
        print("Audit");
        return true;
    };
    printouts().prt_graph = [&] { print("Energy costs"); };
    open()->Combo1->SetListIndex(2);
    script->answer(ui::vbOK);
    frm_prt2()->SSCommand1[0]->DoClick();
    office::setOfficeForTest(office::OfficeSeam::Real);
    EXPECT_EQ(log, (std::vector<std::string>{"queued Audit", "queued Energy costs"}));
    EXPECT_EQ(script->shown().size(), 1u);
}

TEST_F(Prt2Test, SelectAPrinterThenExitAndAFailingPrintout) {
    Prt2* p = open();
    p->SSCommand1[2]->DoClick();
    EXPECT_EQ(log, (std::vector<std::string>{"select_printer"}));
    EXPECT_TRUE(p->isLoaded());
    EXPECT_FALSE(input()->Enabled());  // until the selection is closed
    p->SSCommand1[1]->DoClick();
    EXPECT_FALSE(p->isLoaded());
    EXPECT_TRUE(input()->Enabled());
    EXPECT_TRUE(print_button()->isEnabled());
    EXPECT_TRUE(log.size() == 1);

    // Closed by its close box: the input window is given back as by Exit.
    p = open();
    ASSERT_FALSE(input()->Enabled());
    p->subWindow()->close();
    EXPECT_FALSE(p->isLoaded());
    EXPECT_TRUE(input()->Enabled());
    EXPECT_TRUE(print_button()->isEnabled());

    // A printout that fails unexpectedly: its message, and the input window
    // back with the normal pointer.
    fail = true;
    p = open();
    p->Combo1->SetListIndex(3);
    script->answer(ui::vbOK);
    p->SSCommand1[0]->DoClick();
    ASSERT_EQ(script->shown().size(), 1u);
    EXPECT_EQ(script->shown()[0].title, "Printout error");
    EXPECT_TRUE(input()->Enabled());
    EXPECT_TRUE(print_button()->isEnabled());
    EXPECT_EQ(script->busyDepth(), 0);
}

// What the printouts read of the input window through the data model is
// what the window shows: the city entry of each group, the model, the brand.
TEST_F(Prt2Test, ThePrintoutsReadWhatTheInputWindowShows) {
    for (int grp : {1, 2}) {
        input()->Option1(grp)->SetValue(true);
        plat::ComboBox* list = input()->Combo1(8 + grp);
        ASSERT_GT(list->ListCount(), 2) << grp;
        for (int entry : {0, list->ListCount() / 2, list->ListCount() - 1}) {
            list->SetListIndex(entry);
            EXPECT_EQ(city_text(), list->Text().trimmed().toStdString()) << grp << " " << entry;
        }
    }
    plat::ComboBox* models = input()->Combo1(8);
    for (int k = 0; k < models->ListCount(); ++k) {
        models->SetListIndex(k);
        std::string caption, b, c, a;
        pump_title(caption, b, c, a);
        EXPECT_EQ(b, " Model " + models->Text().trimmed().toStdString());
    }
    EXPECT_EQ(brand_text(), input()->Text1(65)->Text().trimmed().toStdString());
}

// The summary recalculates the project twice with other cover hours; the
// input window shows the same boxes and results afterwards.
TEST_F(Prt2Test, TheSummaryLeavesTheInputWindowAsItWas) {
    input()->Text1(7)->SetText("8");
    input()->Text1(8)->SetText("10");
    input()->SSCommand1(0)->DoClick();  // Calculate
    auto shown = [this] {
        std::vector<QString> v;
        for (int i = 7; i <= 18; ++i) v.push_back(input()->Text1(i)->Text());
        for (int row = 1; row <= 13; ++row)
            for (int col = 0; col < weathers::kResultCols; ++col)
                v.push_back(input()->result_text(row, static_cast<weathers::ResultCol>(col)));
        v.push_back(input()->units_text());
        v.push_back(input()->savings_text());
        return v;
    };
    const std::vector<QString> before = shown();
    printouts() = saved;  // the real summary, on a recorded word processor
    printouts().warm_office = [] {};
    prtest::FakeOffice office;
    office.wscript.pictures = {g.data_dir + "hppic61.bmp"};
    open()->SSCommand1[0]->DoClick();
    EXPECT_EQ(office.word.prints, 1);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(input()->Enabled());
}

}  // namespace
