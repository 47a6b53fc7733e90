// The start-up windows' instances and the registry through which windows of
// later parts of the program are reached.
#include "forms.h"

#include <QPointer>

#include "backgrnd.h"
#include "pass.h"
#include "proginfo.h"
#include "splash.h"

namespace {
// QPointer: a window destroyed with the main window at exit is simply
// created again should anything refer to it afterwards.
QPointer<backgrnd> g_backgrnd;
QPointer<splash> g_splash;
QPointer<pass> g_pass;
QPointer<proginfo> g_proginfo;
}  // namespace

backgrnd* frm_backgrnd() { return instance(g_backgrnd); }

splash* frm_splash() { return instance(g_splash); }

pass* frm_pass() { return instance(g_pass); }

proginfo* frm_proginfo() { return instance(g_proginfo); }

plat::Form* existing_backgrnd() { return g_backgrnd.data(); }

// Used by the shutdown and the tests: the start-up windows that exist,
// without creating any.
plat::Form* existing_splash() { return g_splash.data(); }
plat::Form* existing_pass() { return g_pass.data(); }
plat::Form* existing_proginfo() { return g_proginfo.data(); }

WindowRegistry& windows() {
    static WindowRegistry r;
    return r;
}
