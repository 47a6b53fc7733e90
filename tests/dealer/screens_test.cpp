// Every window of this half of the dealer area, in a 1366 × 768 main
// window: each control lies inside its window and shows its whole text.
// With HEATER_SHOTS=<folder> each window (and the main window around it) is
// saved there as a PNG to look at.
#include "dealer_windows.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include "dealer/ui/calculator.h"
#include "dealer/ui/filldata.h"
#include "dealer/ui/setdata.h"
#include "dealer/ui/setname.h"
#include "dealer/ui/showpump.h"

class Screens : public DealerWindows {
protected:
    void SetUp() override {
        DealerWindows::SetUp();
        plat::MainWindow* m = plat::MainWindow::instance();
        m->showNormal();
        m->resize(1366, 768);
        QApplication::processEvents();
    }

    void check(plat::Form* f, const char* name) {
        ASSERT_TRUE(f && f->isLoaded()) << name;
        QApplication::processEvents();
        const QRect inside = f->rect();
        for (QWidget* w : f->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(f) || w->inherits("QComboBoxPrivateContainer") || w->isWindow()) continue;
            const QRect r(w->mapTo(f, QPoint(0, 0)), w->size());
            if (w->parentWidget() && w->parentWidget()->inherits("QComboBox")) continue;  // the list's own parts
            EXPECT_TRUE(inside.contains(r)) << name << ": " << w->metaObject()->className() << " "
                                            << w->objectName().toStdString() << " sticks out";
            QString text;
            if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap()) text = l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
            if (!text.isEmpty()) {
                EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(text.remove('&')))
                    << name << ": \"" << text.toStdString() << "\" is cut";
            }
            if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap()) {
                EXPECT_GE(w->height(), l->heightForWidth(w->width())) << name << ": wrapped label is cut";
            }
        }
        const QRect area = plat::MainWindow::instance()->mdi()->viewport()->rect();
        EXPECT_TRUE(area.contains(f->subWindow()->geometry())) << name << " is not wholly in the main window";
        const QByteArray dir = qgetenv("HEATER_SHOTS");
        if (!dir.isEmpty()) {
            QDir().mkpath(QString(dir));
            f->grab().save(QString("%1/%2.png").arg(QString(dir), name));
            plat::MainWindow::instance()->grab().save(QString("%1/%2-main.png").arg(QString(dir), name));
        }
    }
    template <class Slot> plat::Form* open(const Slot& slot, int l, int t, int w, int h) {
        plat::Form* f = slot();
        f->Move(l, t, w, h);
        return f;
    }
};

TEST_F(Screens, EveryWindowFitsItsText) {
    g.backup_asked = 1;
    windows().menu()->Show();
    check(windows().menu(), "menu");
    g.from_menu = 1;
    check(open(windows().coname, 2500, 1350, 6525, 2640), "coname");
    windows().coname()->Unload();
    g.from_menu = 1;
    check(open(windows().setname, 3400, 1400, 4560, 2760), "setname");
    windows().setname()->Unload();
    g.from_menu = 1;
    g.units_from_menu = 1;
    check(open(windows().setsize, 2775, 1400, 8115, 3960), "setsize");
    windows().setsize()->Unload();
    check(open(windows().setheat, 1750, 1400, 7890, 5450), "setheat");
    windows().setheat()->Unload();
    check(open(windows().setoutp, 3300, 1550, 4815, 4815), "setoutp");
    windows().setoutp()->Unload();
    windows().menu()->Unload();

    show_custname();
    check(windows().custname(), "custname");
    windows().custname()->Unload();
    windows().Calculator()->Show();
    check(windows().Calculator(), "Calculator");
    windows().Calculator()->Unload();
    Names names;
    names.Show();
    check(&names, "Names");
    names.Unload();
}

// The weather-city list and editor and the performance-table editor, as
// the settings menu places them.
TEST_F(Screens, CityAndPumpWindowsFit) {
    setdata_end_program() = [] {};
    auto* list = static_cast<setdata*>(open(windows().setdata, 3150, 1400, 6945, 5400));
    check(list, "setdata");
    list->List1[0]->setCurrentRow(0);
    list->SSCommand2->DoClick();
    check(windows().filldata(), "filldata");
    static_cast<filldata*>(windows().filldata())->SSCommand2->DoClick();  // "Cancel"
    script->answer(ui::vbOK);                                             // the restart note
    list->Unload();

    g.pump_mode = 1;
    g.cur_model = 1;
    auto* pumps = static_cast<Showpump*>(open(windows().Showpump, 1300, 1400, 8800, 6810));
    pumps->List1->setCurrentRow(0);
    check(pumps, "Showpump");
    pumps->Unload();
}
