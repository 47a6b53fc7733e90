// The main window's load and unload handlers.
#include "app/ui/startup.h"

#include <QApplication>
#include <QDir>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "app/ui/backgrnd.h"
#include "app/ui/forms.h"
#include "app/ui/splash.h"
#include "app/ui/style.h"
#include "core/recfile.h"
#include "core/ui.h"
#include "core/windows.h"
#include "office/render.h"
#include "platform/form.h"
#include "print/destination.h"

#ifndef HEATER_VERSION
#define HEATER_VERSION "1.0.0"
#endif

namespace {

int g_lock = -1;  // heater.lock, held for the run (-1: none)

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

bool take_instance_lock(const QString& dataDir, std::string* why) {
    release_instance_lock();
    const std::string path = instance_lock_path(dataDir).toStdString();
    // The system's lock on the open file says "running", never what the
    // file holds: it goes with the process however the run ends, so an
    // empty file, one written on another computer or left by a run that
    // died stands in no start's way. O_NOFOLLOW: a link there is refused,
    // never followed; O_NONBLOCK: a named pipe is never waited on;
    // close-on-exec: a program started from here (LibreOffice, a print job)
    // never inherits the lock and keeps it past this run.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    struct stat st {};
    if (fd < 0) {
        // A link (ELOOP), a folder or a socket in its place is refused and
        // named; a folder we cannot write to must not stop the program.
        if (::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return true;
        if (why) *why = rec::notAFile(path, st.st_mode);
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (why) *why = rec::notAFile(path, st.st_mode);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        // Held by a running program; a file system without locks lets the
        // program start, as a folder it cannot write to does.
        return err != EWOULDBLOCK;
    }
    // This run's process number, for whoever looks; nothing reads it.
    const std::string pid = std::to_string(::getpid()) + "\n";
    const bool written = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, pid.data(), pid.size(), 0) > 0;
    (void)written;  // unwritten, the lock holds all the same
    g_lock = fd;
    return true;
}

void release_instance_lock() {
    if (g_lock >= 0) ::close(g_lock);  // also releases the lock
    g_lock = -1;
}

bool startup(const QStringList& args, const QString& dataDir) {
    g.crlf = "\r\n";
    check_command_line(args);
    set_defaults(g);
    g.data_dir = with_slash(dataDir).toStdString();
    prn::setPrintoutsFolder(g.data_dir + "printouts/");

    // Another running program holds the folder, or something that is no
    // file stands where the lock goes: said, and the start ends.
    if (std::string why; !take_instance_lock(dataDir, &why)) {
        ui::MsgBox(why.empty() ? "already running" : why, ui::vbOKOnly, "Heater program");
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
