// Start-up and shutdown of the program: the main window's load and unload
// handlers, the second-instance lock, and the few shared window routines of
// the data store (unload_settings' window list).
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

namespace plat {
class Form;
}

// The main window's load handler. `args` are the command-line words after
// the program name; `dataDir` the program folder. Builds the line-break
// string, checks the command line, sets the data model's defaults, refuses a
// second instance, reads the settings, heat-pump and weather-city files,
// checks the brand's data, shows the splash and clears the data files'
// attributes. Returns false when the program must end at once (another
// instance holds the data folder, or the lock file's place holds no file).
bool startup(const QStringList& args, const QString& dataDir);

// The command-line switch: "/OFFICE", "OFFICE", "/OLD" and "OLD" are
// accepted and change nothing; any other text beeps and shows
// "  Invalid switch after Heater". Returns true when accepted (or empty).
bool check_command_line(const QStringList& args);

// The lock file that marks the data folder as in use by a running program.
QString instance_lock_path(const QString& dataDir);
// Takes the lock for the program's lifetime (an advisory lock on the open
// file, whatever it holds; the system releases it when the process ends);
// false when another running program holds it, or when what stands in the
// lock file's place is no regular file (a named pipe, a link, a folder...:
// *why then says so, naming it). A folder the lock cannot be made in does
// not stop the start (true).
bool take_instance_lock(const QString& dataDir, std::string* why = nullptr);
// Gives the lock back (at the end of the run; tests between cases).
void release_instance_lock();

// The main window's close handler: the project input window first (its
// "Do you want to leave?" can cancel the shutdown: returns false), then the
// settings windows (unload_settings), then the browser, calculator,
// customer, finance, price and print windows, then the programmer
// information, access-code, background and splash windows.
bool shutdown_windows();

// unload_settings of the data store: the settings windows that are loaded,
// unloaded in their order (register_app_windows hands it to the registry).
void unload_settings_windows();

// Opens the project input window, as the background window's picture and
// "Project" button do.
void open_project();

// How long the splash stays before it opens the background window, ms.
int& splash_delay_ms();

// Called with "splash" when the splash is shown and "backgrnd" when the
// background window is first shown (used to time the start-up).
std::function<void(const char* what)>& startup_probe();

// The program's version text.
const char* program_version();
