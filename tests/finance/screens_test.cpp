// The finance windows in a 1366 x 768 main window, in both modes: every
// control inside its window, every caption shown whole, the figures in the
// result labels not cut. With HEATER_SHOTS=<folder> each is saved as a PNG.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>

#include "tests/finance/finance_ui_fixture.h"

namespace {

class FinanceScreens : public FinanceUi {
protected:
    void SetUp() override {
        FinanceUi::SetUp();
        plat::MainWindow* m = plat::MainWindow::instance();
        m->showNormal();
        m->resize(1366, 768);
        QApplication::processEvents();
    }
    void check(plat::Form* f, const char* name) {
        QApplication::processEvents();
        for (QWidget* w : f->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(f) || w->isWindow() || (w->parentWidget() && w->parentWidget()->inherits("QComboBox")))
                continue;
            const QRect r(w->mapTo(f, QPoint(0, 0)), w->size());
            EXPECT_TRUE(f->rect().contains(r)) << name << ": " << w->objectName().toStdString() << " sticks out";
            // The text's width, and room for a button's mark or a box's frame.
            QString text;
            int room = 0;
            if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
            if (auto* b = qobject_cast<QAbstractButton*>(w)) {
                text = b->text().trimmed();
                room = w->inherits("QPushButton") ? 6 : 18;
            }
            if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text(), room = 6;
            if (!text.isEmpty())
                EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(text) + room)
                    << name << ": \"" << text.toStdString() << "\" is cut";
        }
        EXPECT_TRUE(plat::MainWindow::instance()->mdi()->viewport()->rect().contains(f->subWindow()->geometry()))
            << name << " is not wholly in the main window";
        if (const QByteArray dir = qgetenv("HEATER_SHOTS"); !dir.isEmpty()) {
            QDir().mkpath(QString(dir));
            f->subWindow()->grab().save(QString("%1/%2.png").arg(QString(dir), name));
        }
    }
};

TEST_F(FinanceScreens, EveryWindowFitsItsText) {
    // Amounts in the millions, the widest figures a dealer will meet.
    g.equip_cost = cy(1234567.89);
    g.add_charges = cy(250000);
    lease* w = openLease();
    w->SSCommand1->DoClick();  // total costs
    check(w, "lease");
    w->Combo2->SetListIndex(1);
    g.balloon_perc = 10;
    w->SSCommand2->DoClick();
    check(w, "lease_loan");
    w->Check2->SetValue(0);
    focus(w->Text(7));
    check(w, "lease_help");

    auto* s = static_cast<setfin*>(windows().setfin());
    s->Move(1800, 1500, 7890, 5520);
    s->Combo1->SetListIndex(1);
    s->Combo2->SetListIndex(0);
    check(s, "setfin");
    s->Unload();

    g.model_price[1] = cy(123456);
    auto* e = static_cast<elect*>(windows().elect());
    e->Move(3650, 3750);
    check(e, "elect");
}

}  // namespace
