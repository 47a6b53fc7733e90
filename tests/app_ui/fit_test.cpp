// Every window opens wholly inside the main window's visible area, on a
// laptop screen (1366 × 768) and a desktop one (1920 × 1080): where the
// place it was given would stick out it is moved in, and one larger than
// the area keeps its top left in view with scroll bars for the rest.
// With HEATER_SHOTS=<folder> each window is also saved there as a PNG.
#include <QDir>
#include <QMdiSubWindow>
#include <QScrollBar>

#include "app_ui_fixture.h"
#include "input/ui/weathers.h"

namespace {

struct Screen {
    int w, h;
};

class FitTest : public AppUiTest, public ::testing::WithParamInterface<Screen> {
protected:
    void SetUp() override {
        AppUiTest::SetUp();
        start();
        frm_splash()->Timer1_Timer();
        plat::MainWindow* m = plat::MainWindow::instance();
        m->showNormal();
        m->resize(GetParam().w, GetParam().h);
        QApplication::processEvents();
    }

    // The window lies inside the visible area, or, when larger, starts at
    // its top left corner with the area's scroll bars reaching the rest.
    void expectInside(plat::Form* f, const char* name) {
        ASSERT_TRUE(f && f->isLoaded()) << name;
        QApplication::processEvents();
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
            EXPECT_TRUE(m->mdi()->verticalScrollBar()->isVisible()) << name << " has no scroll bar";
        }
        // The whole caption is readable in the title bar.
        EXPECT_FALSE(f->Caption().isEmpty()) << name;
        shoot(name);
    }

    void shoot(const char* name) {
        const QByteArray dir = qgetenv("HEATER_SHOTS");
        if (dir.isEmpty()) return;
        QDir().mkpath(QString(dir));
        const QString file = QString("%1/%2-%3x%4.png").arg(QString(dir), name).arg(GetParam().w).arg(GetParam().h);
        plat::MainWindow::instance()->grab().save(file);
    }
};

TEST_P(FitTest, StartWindowsAndTheProjectWindowOpenInside) {
    expectInside(frm_backgrnd(), "backgrnd");
    frm_proginfo()->Show();
    expectInside(frm_proginfo(), "proginfo");
    frm_proginfo()->Unload();
    frm_pass()->Show();
    expectInside(frm_pass(), "pass");
    frm_pass()->Unload();
    {
        ui::Script quiet;
        frm_weathers()->Show();
    }
    expectInside(frm_weathers(), "weathers");
}

INSTANTIATE_TEST_SUITE_P(Screens, FitTest, ::testing::Values(Screen{1366, 768}, Screen{1920, 1080}),
                         [](const auto& info) {
                             return std::to_string(info.param.w) + "x" + std::to_string(info.param.h);
                         });

}  // namespace
