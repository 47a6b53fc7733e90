// The finance window's keystroke path: a digit typed into a box is stored,
// then the payments are worked out again and every figure of the window
// redrawn (CALCULATE). It has to keep up with typing (within 1 ms a key).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "app/model.h"
#include "core/ui.h"
#include "core/windows.h"
#include "finance/leasedat.h"
#include "finance/ui/lease.h"
#include "finance/ui/register.h"
#include "platform/form.h"
#include "tests/support/qt_app.h"

namespace {

void key(QWidget* box, QChar c) {
    QKeyEvent e(QEvent::KeyPress, c.unicode(), Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(box, &e);
}

void BM_FinanceKeystrokeToPayments(benchmark::State& state) {
    testsupport::ensure_app();
    ui::Script quiet;  // no box may wait for a user here
    set_defaults(g);
    for (int t = 1; t <= 6; ++t)
        for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.03 - t * 0.001;
    g.equip_cost = cy(14500);
    g.sales_tax = 6;
    windows() = WindowRegistry{};
    register_finance_windows();
    auto* w = static_cast<lease*>(windows().lease());
    w->Move(2170, 950, 5625, 5385);
    const bool loan = state.range(0) == 1;
    if (loan) w->Combo2->SetListIndex(1);
    plat::TextBox* box = w->Text(2);  // installation costs
    int n = 0;
    // Each round: the box holds 500, a digit is typed after it (Change
    // stores 500d), the payments are worked out and every figure redrawn;
    // then the box is set back to 500 (one more Change, so the figure is an
    // upper bound).
    for (auto _ : state) {
        box->SetText("500");
        key(box, QChar('0' + n++ % 10));
        w->SSCommand2->DoClick();
        benchmark::DoNotOptimize(g.pay_term);
    }
    if (g.inst_cost < cy(5000) || g.inst_cost > cy(5009)) state.SkipWithError("the box did not take the keys");
    state.SetLabel(loan ? "loan" : "lease");
    w->Unload();
    delete w;
}
BENCHMARK(BM_FinanceKeystrokeToPayments)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The calculation alone, without the window.
void BM_Leasedat(benchmark::State& state) {
    set_defaults(g);
    ui::Script quiet;
    g.fin_mode = 2;
    g.equip_cost = cy(14500);
    g.fin_months = 60;
    g.loan_rate = 6.5f;
    g.fin_opts[3] = cy(1);
    g.balloon_perc = 10;
    fin::LeaseView v;
    for (auto _ : state) {
        v.clear();
        fin::Leasedat(&v);
        benchmark::DoNotOptimize(g.pay_term);
    }
}
BENCHMARK(BM_Leasedat)->Unit(benchmark::kMicrosecond);

}  // namespace
