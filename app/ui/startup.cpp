// The main window's load and unload handlers.
#include "app/ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

#include <memory>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "app/ui/backgrnd.h"
#include "app/ui/forms.h"
#include "app/ui/splash.h"
#include "app/ui/style.h"
#include "core/ui.h"
#include "core/windows.h"
#include "office/render.h"
#include "platform/form.h"
#include "print/destination.h"

#ifndef HEATER_VERSION
#define HEATER_VERSION "1.0.0"
#endif

namespace {

std::unique_ptr<QLockFile> g_lock;

QString with_slash(const QString& dir) {
    QString d = QDir::fromNativeSeparators(dir);
    if (!d.endsWith('/')) d += '/';
    return d;
}

// Unloads a window when it exists and is loaded; false when its unload
// handler cancelled.
bool unload_if_loaded(plat::Form* f) {
    if (!f || !f->isLoaded()) return true;
    return f->Unload();
}

}  // namespace

const char* program_version() { return HEATER_VERSION; }

int& splash_delay_ms() {
    static int ms = 3000;
    return ms;
}

std::function<void(const char*)>& startup_probe() {
    static std::function<void(const char*)> probe;
    return probe;
}

bool check_command_line(const QStringList& args) {
    const QString word = args.join(' ').trimmed();
    if (word.isEmpty()) return true;
    // Exactly these four spellings; any other text, "/office" included, is
    // an invalid switch (start-up goes on all the same).
    if (word == "/OFFICE" || word == "OFFICE" || word == "/OLD" || word == "OLD") return true;
    ui::Beep();
    ui::MsgBox("  Invalid switch after Heater");
    return false;
}

QString instance_lock_path(const QString& dataDir) { return with_slash(dataDir) + "heater.lock"; }

bool take_instance_lock(const QString& dataDir) {
    release_instance_lock();
    auto lock = std::make_unique<QLockFile>(instance_lock_path(dataDir));
    // Held for the whole run: never stale by age, only when its owner has
    // died (a crashed run does not lock the folder for good).
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        g_lock = std::move(lock);
        return true;
    }
    // Only a lock held by a live program means "already running"; a folder
    // we cannot write to must not stop the program from starting.
    return lock->error() != QLockFile::LockFailedError;
}

void release_instance_lock() {
    if (g_lock) g_lock->unlock();
    g_lock.reset();
}

bool startup(const QStringList& args, const QString& dataDir) {
    g.crlf = "\r\n";
    check_command_line(args);
    set_defaults(g);
    g.data_dir = with_slash(dataDir).toStdString();
    prn::setPrintoutsFolder(g.data_dir + "printouts/");

    if (!take_instance_lock(dataDir)) {
        ui::MsgBox("already running", ui::vbOKOnly, "Heater program");
        return false;
    }
    // What an interrupted earlier run left (temporary copies of data files,
    // half-written printouts, print jobs' folders holding a customer's
    // documents) goes, now that the data folder is this program's.
    office::removeLeftovers(g.data_dir);

    Dfltinp();
    load_brand_pumps();
    default_brand_labels();
    verify_brand();
    load_locations();
    check_cities();

    QApplication::setWindowIcon(uistyle::app_icon());
    // Maximized on the available screen, so every child window has the
    // whole desktop to open in.
    plat::MainWindow::instance()->showMaximized();
    frm_splash()->Show();
    if (startup_probe()) startup_probe()("splash");

    clear_file_attrs();
    return true;
}

bool shutdown_windows() {
    // The project input window first: leaving it asks "Do you want to
    // leave?" and saves the last project; a "no" keeps the program open
    // with every window as it was.
    if (!unload_if_loaded(windows().weathers.existing())) return false;

    unload_settings();
    // A window that refuses to close keeps the program open too: it has
    // something to finish first.
    for (const WindowSlot& w : windows().settings_order()) {
        if (plat::Form* f = w.existing(); f && f->isLoaded()) return false;
    }
    for (const WindowSlot& w : windows().shutdown_order()) {
        if (!unload_if_loaded(w.existing())) return false;
    }
    for (plat::Form* f : {existing_proginfo(), existing_pass(), existing_backgrnd(), existing_splash()}) {
        if (!unload_if_loaded(f)) return false;
    }
    return true;
}

void unload_settings_windows() {
    for (const WindowSlot& w : windows().settings_order()) unload_if_loaded(w.existing());
}

void open_project() {
    plat::Form* w = windows().weathers();
    if (!w) return;
    w->Show();
    w->ZOrder(0);
}
