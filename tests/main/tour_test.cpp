// The window tour: the program started on its default data with every
// window library registered, then every window of the registry opened in
// turn inside a laptop-sized (1366 × 768) and a desktop-sized (1920 × 1080)
// main window. Each must open wholly inside the visible area (a window
// larger than the area keeps its top left corner in view and the area
// scrolls), with its caption. With HEATER_SHOTS=<folder> each is saved
// there as a PNG, for a look by eye.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "app/model.h"
#include "app/ui/forms.h"
#include "app/ui/pass.h"
#include "app/ui/proginfo.h"
#include "app/ui/register.h"
#include "app/ui/splash.h"
#include "app/ui/startup.h"
#include "core/ui.h"
#include "core/windows.h"
#include "dealer/ui/browser.h"
#include "dealer/ui/register.h"
#include "finance/ui/register.h"
#include "input/ui/register.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/instances.h"
#include "printouts/ui/register.h"
#include "reportbook/ui/register.h"
#include "tests/support/box_guard.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

namespace {

struct Screen {
    int w, h;
};

// Whatever a window asks on opening or closing is answered the way a
// dealer who only looks would: OK, No, Cancel; never Retry.
ui::Backend lookOnly() {
    ui::Backend b;
    b.msgBox = [](const std::string&, int style, const std::string&) {
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
        endAtOnceAfterTheTests();               // the browser window starts Qt WebEngine
        qputenv(kTestsOnlyBrowserAsRoot, "1");  // local pages only: see browser_env.h
        ASSERT_TRUE(data_.copy_built()) << data_.missing();
        previous_ = ui::install(lookOnly());
        windows() = WindowRegistry{};
        register_app_windows();
        register_input_windows();
        register_dealer_windows();
        register_printouts_windows();
        register_reportbook_windows();
        register_finance_windows();
        // The program loads the browser from its module (the start-up test
        // of the program checks that); the tour links it.
        windows().frmBrowser = plat::window_slot(browser_);
        splash_delay_ms() = 0;
        ASSERT_TRUE(startup({}, QString::fromStdString(data_.path())));
        frm_splash()->Timer1_Timer();
        plat::MainWindow* m = plat::MainWindow::instance();
        m->showNormal();
        m->resize(GetParam().w, GetParam().h);
        QApplication::processEvents();
    }
    void TearDown() override {
        for (const auto& [name, slot] : windows().named())
            if (plat::Form* f = slot.existing(); f && f->isLoaded()) f->Unload();
        windows() = WindowRegistry{};
        release_instance_lock();
        ui::install(previous_);
    }

    void expectInside(plat::Form* f, const std::string& name) {
        plat::MainWindow* m = plat::MainWindow::instance();
        const QRect area = m->mdi()->viewport()->rect();
        const QRect r = f->subWindow()->geometry();
        if (r.width() <= area.width()) {
            EXPECT_GE(r.left(), 0) << name;
            EXPECT_LE(r.right(), area.right()) << name << " sticks out on the right";
        } else {
            EXPECT_EQ(r.left(), 0) << name;
        }
        if (r.height() <= area.height()) {
            EXPECT_GE(r.top(), 0) << name;
            EXPECT_LE(r.bottom(), area.bottom()) << name << " sticks out at the bottom";
        } else {
            EXPECT_EQ(r.top(), 0) << name;
        }
        EXPECT_FALSE(f->Caption().isEmpty()) << name << " has no caption";
        const QByteArray dir = qgetenv("HEATER_SHOTS");
        if (!dir.isEmpty()) {
            QDir().mkpath(QString(dir));
            m->grab().save(QString("%1/tour-%2-%3x%4.png")
                               .arg(QString(dir), QString::fromStdString(name))
                               .arg(GetParam().w)
                               .arg(GetParam().h));
        }
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
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowTour, ::testing::Values(Screen{1366, 768}, Screen{1920, 1080}),
                         [](const auto& info) {
                             return std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

}  // namespace
