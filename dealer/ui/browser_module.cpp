// The entry points of the browser module (libheater_browser.so): the one
// browser window, created on first use. The module leaves the program's
// own symbols (the platform layer, the data model) to the program that
// loads it, so both share one main window and one model.
#include <QPointer>

#include "dealer/ui/browser.h"

namespace {
QPointer<frmBrowser> g_browser;
}

extern "C" __attribute__((visibility("default"))) plat::Form* heater_browser_open() {
    if (!g_browser) g_browser = new frmBrowser();
    return g_browser;
}

extern "C" __attribute__((visibility("default"))) plat::Form* heater_browser_existing() { return g_browser; }
