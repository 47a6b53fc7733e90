#include "finance/ui/register.h"

#include <QPointer>

#include "core/windows.h"
#include "finance/ui/elect.h"
#include "finance/ui/lease.h"
#include "finance/ui/setfin.h"
#include "platform/instances.h"

namespace {
QPointer<lease> g_lease;
QPointer<setfin> g_setfin;
QPointer<elect> g_elect;
}  // namespace

void register_finance_windows() {
    WindowRegistry& w = windows();
    w.lease = plat::window_slot(g_lease);
    w.setfin = plat::window_slot(g_setfin);
    w.elect = plat::window_slot(g_elect);
}
