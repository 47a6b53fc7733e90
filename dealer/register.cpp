#include "register.h"

#include <QPointer>

#include "app/ui/forms.h"
#include "calculator.h"
#include "coname.h"
#include "custname.h"
#include "menu.h"
#include "setheat.h"
#include "setname.h"
#include "setoutp.h"
#include "setsize.h"

namespace {
QPointer<coname> g_coname;
QPointer<setname> g_setname;
QPointer<setsize> g_setsize;
QPointer<setheat> g_setheat;
QPointer<setoutp> g_setoutp;
QPointer<custname> g_custname;
QPointer<Calculator> g_calculator;

template <class T> std::function<plat::Form*()> window(QPointer<T>& slot) {
    return [&slot]() -> plat::Form* { return instance(slot); };
}
}  // namespace

void register_dealer_windows() {
    WindowRegistry& w = windows();
    w.menu = [] { return static_cast<plat::Form*>(frm_menu()); };
    w.coname = window(g_coname);
    w.setname = window(g_setname);
    w.setsize = window(g_setsize);
    w.setheat = window(g_setheat);
    w.setoutp = window(g_setoutp);
    w.custname = window(g_custname);
    w.Calculator = window(g_calculator);
}
