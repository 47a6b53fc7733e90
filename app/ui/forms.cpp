// The start-up windows' instances and this folder's registry entries.
#include "app/ui/forms.h"

#include <QPointer>

#include "app/ui/backgrnd.h"
#include "app/ui/pass.h"
#include "app/ui/proginfo.h"
#include "app/ui/register.h"
#include "app/ui/splash.h"
#include "app/ui/startup.h"
#include "core/windows.h"
#include "platform/instances.h"

namespace {
// QPointer: a window destroyed with the main window at exit is simply
// created again should anything refer to it afterwards.
QPointer<backgrnd> g_backgrnd;
QPointer<splash> g_splash;
QPointer<pass> g_pass;
QPointer<proginfo> g_proginfo;
}  // namespace

using plat::instance;

backgrnd* frm_backgrnd() { return instance(g_backgrnd); }

splash* frm_splash() { return instance(g_splash); }

pass* frm_pass() { return instance(g_pass); }

proginfo* frm_proginfo() { return instance(g_proginfo); }

plat::Form* existing_backgrnd() { return g_backgrnd.data(); }

plat::Form* existing_splash() { return g_splash.data(); }
plat::Form* existing_pass() { return g_pass.data(); }
plat::Form* existing_proginfo() { return g_proginfo.data(); }

void register_app_windows() {
    windows().backgrnd = plat::window_slot(g_backgrnd);
    windows().show_import_progress = [](const std::string& text) {
        if (!g_backgrnd) return;
        g_backgrnd->Label4->setVisible(true);
        g_backgrnd->Label4->setText(QString::fromStdString(text));
    };
    windows().unload_settings = unload_settings_windows;
}
