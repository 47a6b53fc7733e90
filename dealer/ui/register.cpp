#include "dealer/ui/register.h"

#include <QPointer>

#include "core/windows.h"
#include "dealer/ui/browser_loader.h"
#include "dealer/ui/calculator.h"
#include "dealer/ui/coname.h"
#include "dealer/ui/convert_cities.h"
#include "dealer/ui/custname.h"
#include "dealer/ui/filldata.h"
#include "dealer/ui/menu.h"
#include "dealer/ui/setdata.h"
#include "dealer/ui/setheat.h"
#include "dealer/ui/setname.h"
#include "dealer/ui/setoutp.h"
#include "dealer/ui/setsize.h"
#include "dealer/ui/showpump.h"
#include "platform/instances.h"

namespace {
QPointer<coname> g_coname;
QPointer<setname> g_setname;
QPointer<Names> g_names;
QPointer<setsize> g_setsize;
QPointer<setheat> g_setheat;
QPointer<setoutp> g_setoutp;
QPointer<custname> g_custname;
QPointer<Calculator> g_calculator;
}  // namespace

void register_dealer_windows() {
    WindowRegistry& w = windows();
    w.menu = WindowSlot([]() -> plat::Form* { return frm_menu(); }, []() -> plat::Form* { return existing_menu(); });
    w.coname = plat::window_slot(g_coname);
    w.setname = plat::window_slot(g_setname);
    w.Names = plat::window_slot(g_names);
    w.setsize = plat::window_slot(g_setsize);
    w.setheat = plat::window_slot(g_setheat);
    w.setoutp = plat::window_slot(g_setoutp);
    w.custname = plat::window_slot(g_custname);
    w.Calculator = plat::window_slot(g_calculator);
    w.frmBrowser = WindowSlot(open_browser, existing_browser);
    w.setdata =
        WindowSlot([]() -> plat::Form* { return frm_setdata(); }, []() -> plat::Form* { return existing_setdata(); });
    w.filldata =
        WindowSlot([]() -> plat::Form* { return frm_filldata(); }, []() -> plat::Form* { return existing_filldata(); });
    w.Showpump =
        WindowSlot([]() -> plat::Form* { return frm_Showpump(); }, []() -> plat::Form* { return existing_Showpump(); });
    w.convert_cities = [] { convert_cities(); };
    w.grey_menu = grey_menu;
    w.show_custname = show_custname;
}
