// The window tour: the program started on its default data with every
// window library registered, then every window of the registry opened in
// turn inside a laptop-sized (1366 × 768, and the 1366 × 698 a laptop's
// taskbar and title bar leave) and a desktop-sized (1920 × 1080) main
// window. Each must open wholly inside the visible area, no scroll bar
// needed, with its caption, and show well (tests/support/fit.h): no
// control sticking out or covering another, no caption or title cut, one
// font family; in each state a dealer meets it in, and so does every
// message box the tour raises. With HEATER_SHOTS=<folder> each is saved
// there as a PNG, for a look by eye (scripts/screenshots).

#include <QDir>
#include <QLayout>
#include <QMdiSubWindow>
#include <QScrollBar>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <set>
#include <tuple>

#include "app/ui/backgrnd.h"
#include "app/ui/forms.h"
#include "app/ui/pass.h"
#include "app/ui/proginfo.h"
#include "app/ui/splash.h"
#include "app/ui/startup.h"
#include "dealer/ui/browser.h"
#include "dealer/ui/filldata.h"
#include "dealer/ui/setdata.h"
#include "finance/ui/lease.h"
#include "input/fields.h"
#include "input/ui/weathers.h"
#include "platform/application.h"
#include "platform/instances.h"
#include "platform/ui_qt.h"
#include "tests/support/box_guard.h"
#include "tests/support/browser_root.h"
#include "tests/support/clicks.h"
#include "tests/support/data_dir.h"
#include "tests/support/fit.h"
#include "tests/support/qt_app.h"
#include "tests/support/window_test.h"

namespace {

struct Screen {
    int w, h;
};

struct Box {
    std::string prompt, title;
    int style;
    bool operator<(const Box& o) const { return std::tie(title, prompt, style) < std::tie(o.title, o.prompt, o.style); }
};
// Every message box raised during a tour, to be looked at as the dealer
// would see it.
std::set<Box>& raised() {
    static std::set<Box> boxes;
    return boxes;
}

// Whatever a window asks on opening or closing is answered the way a
// dealer who only looks would: OK, No, Cancel; never Retry.
ui::Backend lookOnly() {
    ui::Backend b;
    b.msgBox = [](const std::string& prompt, int style, const std::string& title) {
        raised().insert({prompt, title, style});
        switch (style & 7) {
            case ui::vbOKCancel:
            case ui::vbYesNoCancel:
            case ui::vbRetryCancel: return int(ui::vbCancel);
            case ui::vbYesNo: return int(ui::vbNo);
            case ui::vbAbortRetryIgnore: return int(ui::vbAbort);
            default: return int(ui::vbOK);
        }
    };
    b.inputBox = [](const std::string&, const std::string&, const std::string&) { return std::string(); };
    b.warningSound = [](bool) {};
    b.beep = [] {};
    b.setBusy = [](bool) {};
    return b;
}

class WindowTour : public ::testing::TestWithParam<Screen> {
protected:
    void SetUp() override {
        testsupport::ensure_app()->setQuitOnLastWindowClosed(false);
        end_at_once_after_the_tests();        // the browser window starts Qt WebEngine
        set_browser_as_root_for_tests(true);  // local pages only: see browser_env.h
        ASSERT_TRUE(data_.copy_built()) << data_.missing();
        previous_ = ui::install(lookOnly());
        testsupport::register_all_windows();
        // The program loads the browser from its module (the start-up test
        // of the program checks that); the tour links it.
        windows().frmBrowser = plat::window_slot(browser_);
        splash_delay_ms() = 0;
        ASSERT_TRUE(startup({}, QString::fromStdString(data_.path())));
        // Sized before the background window opens whatever it opens.
        plat::MainWindow* m = plat::MainWindow::instance();
        m->showNormal();
        m->resize(GetParam().w, GetParam().h);
        QApplication::processEvents();
        frm_splash()->Timer1_Timer();
        QApplication::processEvents();
    }
    void TearDown() override {
        // The city editor opened by itself, with no city chosen, refuses to
        // close ("City not found"): only that one may stay.
        std::vector<plat::Form*> stayed;
        for (const std::string& name : testsupport::unload_all_windows()) {
            EXPECT_EQ(name, "filldata");
            for (const auto& [n, slot] : windows().named())
                if (n == name) stayed.push_back(slot.existing());
        }
        windows() = WindowRegistry{};
        // It goes with the test: left where a desktop-sized tour put it, it
        // would lie beyond the right edge of the next tour's laptop-sized
        // main window and give the area a scroll bar, and every window of
        // that tour less room than a dealer's.
        for (plat::Form* f : stayed) delete (f->subWindow() ? static_cast<QWidget*>(f->subWindow()) : f);
        release_instance_lock();
        ui::install(previous_);
    }

    void expectInside(plat::Form* f, const std::string& name) {
        const QRect area = plat::MainWindow::instance()->mdi()->viewport()->rect();
        const QRect r = f->subWindow()->geometry();
        // Wholly in view, with no scroll bar taking room from the area, its
        // lower frame clear of the bottom edge.
        EXPECT_TRUE(area.contains(r)) << name << " at " << r.x() << "," << r.y() << " " << r.width() << "x"
                                      << r.height() << " is not wholly in the area of " << area.width() << "x"
                                      << area.height();
        EXPECT_LT(r.bottom(), area.bottom()) << name << " runs to the bottom edge";
        EXPECT_FALSE(f->Caption().isEmpty()) << name << " has no caption";
        expectFits(f, name);
    }
    // Shows well (tests/support/fit.h), and saved for a look by eye.
    void expectFits(plat::Form* f, const std::string& name) {
        // Laid out as it will be painted.
        QApplication::processEvents();
        if (QLayout* l = f->layout()) l->activate();
        for (QWidget* w : f->findChildren<QWidget*>())
            if (w->layout()) w->layout()->activate();
        QApplication::processEvents();
        QMdiSubWindow* sub = f->subWindow();
        for (const std::string& m : testsupport::misfits(f, name, f->Caption(), sub->width(), sub->windowFlags()))
            ADD_FAILURE() << m << " at " << GetParam().w << "x" << GetParam().h;
        const QRect area = plat::MainWindow::instance()->mdi()->viewport()->rect();
        if (sub->width() <= area.width() && sub->height() <= area.height()) {
            EXPECT_TRUE(area.contains(sub->geometry()))
                << name << " is not wholly in the main window at " << GetParam().w << "x" << GetParam().h;
        }
        shot(plat::MainWindow::instance(), name);
    }
    void shot(QWidget* w, const std::string& name) {
        const QByteArray dir = qgetenv("HEATER_SHOTS");
        if (dir.isEmpty()) return;
        QDir().mkpath(QString(dir));
        w->grab().save(QString("%1/%2x%3-%4.png")
                           .arg(QString(dir))
                           .arg(GetParam().w)
                           .arg(GetParam().h)
                           .arg(QString::fromStdString(name)));
    }
    // The states a dealer meets a window in besides the one it opens in.
    void otherStates(plat::Form* f, const std::string& name) {
        if (name == "weathers") {
            // Three lines of notes under the results, the headers above
            // whole: a gas backup too small for water of 104 °F, and a
            // heating day in three.
            auto* w = static_cast<weathers*>(f);
            w->Combo1(1)->SetListIndex(2);
            w->Check1(15)->setChecked(true);
            w->Text1(fields::kHeatDays)->SetText("3");
            w->Text1(fields::kHeaterOutput)->SetText("1000");
            w->Text1(fields::kHeatHours)->SetText("4");
            for (int m = 1; m <= 12; ++m) w->Text1(fields::kFirstWanted + m - 1)->SetText("104");
            expectFits(f, "weathers-notes");
            // More notes than the three lines they have: they scroll, and
            // the grid and every box keep their room. Winter months not
            // heated, and a pool too big for the models.
            for (int m : {1, 2, 11, 12}) w->Check1(m)->setChecked(false);
            w->Text1(fields::kArea)->SetText("9000");
            EXPECT_GE(w->warning_text().count('\n'), 3) << w->warning_text().toStdString();
            expectFits(f, "weathers-many-notes");
            // Maximized, the group boxes keep to what they hold: the spare
            // room stays around them, not blank inside them.
            f->subWindow()->showMaximized();
            expectFits(f, "weathers-maximized");
            for (const QGroupBox* b : f->findChildren<QGroupBox*>())
                if (b->isVisibleTo(f)) {
                    EXPECT_LE(b->width(), b->sizeHint().width() * 3 / 2)
                        << b->title().toStdString() << " at " << GetParam().w << "x" << GetParam().h;
                }
            f->subWindow()->showNormal();
        } else if (name == "lease") {
            auto* w = static_cast<lease*>(f);
            w->Check2->SetValue(0);  // help on, for the box in focus
            w->Text(6)->setFocus();
            expectFits(f, "lease-help");
            w->Combo2->SetListIndex(-1);  // the list kept from an earlier tour
            w->Combo2->SetListIndex(1);   // a loan, with a balloon
            g.balloon_perc = 10;
            w->SSCommand2->DoClick();
            expectFits(f, "lease-loan");
            w->Check2->SetValue(0);
            w->Text(7)->setFocus();
            expectFits(f, "lease-loan-help");
        } else if (name == "setdata") {
            auto* w = static_cast<setdata*>(f);
            w->List1[0]->setCurrentRow(0);
            w->SSCommand3->DoClick();  // asks before deleting, answered No
            w->Text1->SetText("Tour town");
            w->SSCommand1->DoClick();  // "Add new": the editor for a new city
            auto* editor = static_cast<filldata*>(windows().filldata());
            expectFits(editor, "filldata-new");
            editor->SSCommand2->DoClick();  // Cancel
        }
    }
    // A message box as the program shows it, with its title and text whole.
    void expectBoxFits(const Box& b) {
        const auto box = plat::messageBox(b.prompt, b.style, b.title);
        box->show();
        QApplication::processEvents();
        const std::string name = "box " + b.title;
        for (const std::string& m :
             testsupport::misfits(box.get(), name, box->windowTitle(), box->width(), box->windowFlags()))
            ADD_FAILURE() << m;
        shot(box.get(), "box-" + b.title);
        box->hide();
    }

    // The project window open and taking input: the customer entered.
    plat::Form* openProject() {
        g.cust_done = 1;
        plat::Form* project = windows().weathers();
        project->Show();
        if (plat::Form* c = windows().custname.existing(); c && c->isLoaded()) c->Unload();
        EXPECT_TRUE(project->isLoaded() && project->Enabled());
        return project;
    }
    // The dealer's click on `target`, by its title bar or inside, where no
    // window covers it; false when it is covered or not open. The window
    // active afterwards is the one in front (or `stays`, a window that keeps
    // itself in front) and has the keys.
    bool clickAndExpectFront(plat::Form* target, bool title, const std::string& how, plat::Form* stays = nullptr) {
        QMdiSubWindow* s = target->subWindow();
        if (!target->isLoaded() || !s || s->isHidden()) return false;  // closed itself when left
        const auto at = title ? testclicks::title_spot(s) : testclicks::body_spot(s);
        if (!at) return false;
        testclicks::click(s, *at);
        QApplication::processEvents();
        expectActiveInFront(how, stays);
        return true;
    }
    void expectActiveInFront(const std::string& how, plat::Form* stays = nullptr) {
        plat::MainWindow* m = plat::MainWindow::instance();
        plat::Form* active = m->activeForm();
        ASSERT_NE(active, nullptr) << how;
        const auto order = m->mdi()->subWindowList(QMdiArea::StackingOrder);
        QMdiSubWindow* front = stays && stays->isLoaded() ? stays->subWindow() : active->subWindow();
        EXPECT_EQ(order.back(), front) << how << ": " << active->objectName().toStdString() << " is active, "
                                       << order.back()->widget()->objectName().toStdString() << " is in front";
        const QWidget* keys = QApplication::focusWidget();
        EXPECT_TRUE(!keys || active->subWindow()->isAncestorOf(keys) || keys == active->subWindow())
            << how << ": " << active->objectName().toStdString() << " is active but the keys go to "
            << keys->window()->objectName().toStdString();
    }

    testsupport::TempDataDir data_{"heater-tour"};
    QPointer<frmBrowser> browser_;
    ui::Backend previous_;
    AllowUnscriptedBoxes lenient_;
};

TEST_P(WindowTour, EveryWindowOpensInsideTheMainWindow) {
    int opened = 0;
    for (const auto& [name, slot] : windows().named()) {
        if (!slot) continue;  // not part of the program
        plat::Form* f = slot();
        ASSERT_NE(f, nullptr) << name;
        f->Show();
        QApplication::processEvents();
        if (!f->isLoaded()) continue;  // refused to open here (it said why in a box)
        ++opened;
        expectInside(f, name);
        otherStates(f, name);
        if (name != std::string("backgrnd")) f->Unload();
        QApplication::processEvents();
    }
    // Every window of the program is in the tour.
    EXPECT_GE(opened, 17);
    // The two start-up windows the registry does not hold.
    for (plat::Form* f : {static_cast<plat::Form*>(frm_pass()), static_cast<plat::Form*>(frm_proginfo())}) {
        f->Show();
        QApplication::processEvents();
        expectInside(f, f->objectName().toStdString());
        f->Unload();
    }
    // The warning of a refused key, and a second copy of the program (the
    // folder locked by another).
    numbers_only();
    release_instance_lock();
    // The system's lock on a file description of its own, as a second
    // running program holds it.
    const int other = ::open(instance_lock_path(QString::fromStdString(data_.path())).toLocal8Bit().constData(),
                             O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(startup({}, QString::fromStdString(data_.path())));
    ::close(other);
    EXPECT_GE(raised().size(), 3u);
    for (const Box& b : raised()) expectBoxFits(b);
}

// A project started before the customer was entered asks for him first:
// the customer window opens in front of the project window, and active,
// however it is opened.
TEST_P(WindowTour, TheCustomerWindowOpensInFrontOfTheProjectWindow) {
    plat::Form* cust = windows().custname();
    const auto inFront = [&](const char* how) {
        QApplication::processEvents();
        plat::Form* project = windows().weathers.existing();
        ASSERT_TRUE(project && project->isLoaded() && cust->isLoaded()) << how;
        const auto order = plat::MainWindow::instance()->mdi()->subWindowList(QMdiArea::StackingOrder);
        EXPECT_GT(order.indexOf(cust->subWindow()), order.indexOf(project->subWindow())) << how;
        EXPECT_EQ(plat::MainWindow::instance()->activeForm(), cust) << how;
        expectInside(cust, std::string("custname-") + how);
        cust->Unload();
        EXPECT_TRUE(project->Enabled()) << how;
    };
    g.cust_done = g.cust_win_state = 0;  // as the program starts
    frm_backgrnd()->ZOrder(0);           // the dealer's click on the background window
    frm_backgrnd()->SSCommand1[backgrnd::kProject]->DoClick();
    inFront("project");
    frm_backgrnd()->Image1_Click();
    inFront("picture");
    frm_weathers()->SSCommand1(1)->DoClick();
    inFront("customer");
}

// A window the dealer clicks comes to the front and is the active one, by
// its title bar or inside, for every window against the project window;
// and whichever window is active after a click (one that keeps the focus
// while it is open takes it back) is the one in front, with the keys.
TEST_P(WindowTour, AClickedWindowComesToTheFront) {
    std::set<std::string> checked;
    size_t others = 0;
    for (const auto& [name, slot] : windows().named()) {
        if (!slot || name == std::string("weathers")) continue;
        ++others;
        plat::Form* project = openProject();
        plat::Form* f = slot();
        f->Show();
        QApplication::processEvents();
        if (!f->isLoaded()) continue;
        // The printout selection stays in front of the project window while
        // it is open, also when the dealer works there.
        plat::Form* stays = name == std::string("Prt2") ? f : nullptr;
        for (bool title : {true, false}) {
            const std::string how = std::string(name) + (title ? " by its title" : " inside");
            for (plat::Form* target : {f, project, f, project}) {
                if (clickAndExpectFront(target, title, how, stays) && target == f && f->Enabled()) {
                    EXPECT_EQ(plat::MainWindow::instance()->activeForm(), f) << how;
                    checked.insert(name);
                }
            }
        }
        if (name != std::string("backgrnd")) f->Unload();
        project->Unload();
        QApplication::processEvents();
    }
    EXPECT_EQ(checked.size(), others);
}

// The settings windows that keep the focus while they are open, opened from
// the menu at their own places over the project window: clicking the
// project window leaves them active and in front, and clicking or dragging
// them keeps them so.
TEST_P(WindowTour, SettingsWindowsStayInFrontOfTheProjectWindow) {
    plat::Form* project = openProject();
    plat::Form* menu = windows().menu();
    menu->Show();
    auto* entries = menu->findChild<plat::ComboBox*>();
    ASSERT_NE(entries, nullptr);
    const std::pair<int, WindowSlot WindowRegistry::*> chosen[] = {{1, &WindowRegistry::setname},
                                                                   {2, &WindowRegistry::setsize},
                                                                   {5, &WindowRegistry::setheat},
                                                                   {6, &WindowRegistry::Showpump},
                                                                   {7, &WindowRegistry::setoutp}};
    for (const auto& [entry, window] : chosen) {
        entries->setCurrentIndex(entry);  // the dealer's choice in the list
        emit entries->activated(entry);
        QApplication::processEvents();
        plat::Form* f = (windows().*window).existing();
        ASSERT_TRUE(f && f->isLoaded()) << entry;
        const std::string name = f->objectName().toStdString();
        for (bool title : {true, false}) {
            clickAndExpectFront(project, title, name + " after a click on the project window");
            EXPECT_EQ(plat::MainWindow::instance()->activeForm(), f) << name;
            clickAndExpectFront(f, title, name + (title ? " clicked by its title" : " clicked inside"));
        }
        const QPoint was = f->subWindow()->pos();
        const auto grip = testclicks::title_spot(f->subWindow());
        ASSERT_TRUE(grip) << name;
        testclicks::drag(f->subWindow(), *grip, QPoint(-30, 20));
        QApplication::processEvents();
        EXPECT_EQ(f->subWindow()->pos(), was + QPoint(-30, 20)) << name << " dragged";
        expectActiveInFront(name + " dragged");
        EXPECT_EQ(plat::MainWindow::instance()->activeForm(), f) << name;
        f->Unload();
        QApplication::processEvents();
        EXPECT_TRUE(menu->Enabled()) << name;
    }
}

// Closing a window opened from the menu, by its Save/Exit or Exit, with a
// change or without, the menu is in front and active again: its list shows,
// and the next click meant for it does not land on the project window. Also
// when the project's reload brings the project window forward (as a window
// manager does when a box of it takes the focus while it reloads). The
// weather data's Save/Exit is left out: it ends the program.
TEST_P(WindowTour, TheMenuIsInFrontAgainWhenItsWindowCloses) {
    const auto press = [](plat::Form* f, const char* caption) {
        for (QPushButton* b : f->findChildren<QPushButton*>())
            if (b->text() == caption && b->isVisibleTo(f)) return b->click(), true;
        return false;
    };
    struct Entry {
        int index;
        const char* exit;                         // the button that closes it
        std::function<void(plat::Form*)> change;  // a change it saves
    };
    const Entry entries[] = {
        {0, "Save/Exit", [](plat::Form* f) { f->findChild<QLineEdit*>()->setText("Tour Pools"); }},
        {1, "Save\\Exit", [&](plat::Form* f) { press(f, "Second office"); }},
        {2, "Save/Exit", [&](plat::Form* f) { press(f, "Metric"); }},
        {4, "Save/Exit", nullptr},
        {5, "Save/Exit", [&](plat::Form* f) { press(f, "7 days buffer"); }},
        {6, "Exit", [&](plat::Form* f) { press(f, "Save"); }},
        {7, "Save/Exit", [](plat::Form* f) { f->findChild<plat::TextBox*>()->SetText("0.9"); }},
    };
    plat::Form* project = openProject();
    const auto reload = windows().refresh_project;
    plat::Form* menu = windows().menu();
    menu->Show();
    auto* list = menu->findChild<plat::ComboBox*>();
    ASSERT_NE(list, nullptr);
    plat::MainWindow* m = plat::MainWindow::instance();
    for (const Entry& e : entries) {
        for (int how = 0; how < 8; ++how) {
            // A change saved; the project window brought forward by its
            // reload; the project window come forward while the window was
            // up (a box of it took the focus).
            const bool changed = how & 1, forward = how & 2, raised = how & 4;
            windows().refresh_project = [&, forward] {
                reload();
                if (forward) project->ZOrder(0);
            };
            menu->ZOrder(0);  // the dealer's click on the menu
            list->setCurrentIndex(e.index);
            emit list->activated(e.index);
            QApplication::processEvents();
            plat::Form* f = m->activeForm();
            ASSERT_TRUE(f && f != menu) << e.index;
            const std::string what = f->objectName().toStdString() + (changed ? " changed" : "") +
                                     (forward ? " reloaded forward" : "") + (raised ? " behind the project" : "") +
                                     ", " + e.exit;
            if (changed && e.change) e.change(f);
            if (raised) project->ZOrder(0);
            ASSERT_TRUE(press(f, e.exit)) << what;
            QApplication::processEvents();
            EXPECT_FALSE(f->isLoaded()) << what;
            QMdiSubWindow* front = nullptr;
            for (QMdiSubWindow* s : m->mdi()->subWindowList(QMdiArea::StackingOrder))
                if (s->isVisible()) front = s;
            ASSERT_NE(front, nullptr) << what;
            EXPECT_EQ(front, menu->subWindow())
                << what << ": " << front->widget()->objectName().toStdString() << " is in front";
            EXPECT_EQ(m->activeForm(), menu) << what;
            EXPECT_TRUE(menu->Enabled()) << what;
        }
    }
    windows().refresh_project = reload;
}

// The main window filling a laptop's and a desktop's screen, and as a laptop
// really leaves it: the taskbar and the main window's own title bar take
// about 70 pixels of the 768.
INSTANTIATE_TEST_SUITE_P(Screens, WindowTour,
                         ::testing::Values(Screen{1366, 768}, Screen{1920, 1080}, Screen{1366, 698}),
                         [](const auto& p) { return std::to_string(p.param.w) + "x" + std::to_string(p.param.h); });

}  // namespace
