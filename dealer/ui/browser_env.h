// The web browser window's settings that the program needs before (and
// without) the window: see browser.h for the window itself.
#pragma once

#include <QString>
#include <QUrl>

#include <string>

// The settings Qt WebEngine needs: a shared OpenGL context (only before the
// QApplication is created), and the engine's flags set by the program
// alone: whatever QTWEBENGINE_CHROMIUM_FLAGS held is dropped (Chromium
// knows many spellings that turn its sandbox off), and so are
// QTWEBENGINE_DISABLE_SANDBOX and QTWEBENGINE_REMOTE_DEBUGGING (a debugging
// port any user of the computer could reach). Run it before the first web
// view exists; the program does it before creating its application.
void prepare_web_engine();

// The command line without "--webEngineArgs" and every argument after it,
// which Qt WebEngine would hand to Chromium (a "--no-sandbox" there turns
// the sandbox off). Shortens argv in place; returns the new count.
int without_web_engine_args(int argc, char** argv);

// Whether the browser window may open as root, without the web engine's
// sandbox, which cannot run as root; the window then loads pages of this
// computer only. Only the test programs say yes: the hook below is defined in
// their library alone (tests/support/browser_root.cpp). The program holds no
// definition (a weak reference stays empty), so it has no switch, setting,
// argument or code that reaches it.
bool browser_as_root_for_tests();
bool browser_as_root_hook() __attribute__((weak));

// Why the browser window is not opened for a program running with user id
// `euid` ("" when it may be): web pages are shown only inside the web
// engine's sandbox, and the sandbox does not run as root.
std::string browser_refusal(unsigned euid);

// A page of this computer: a file, inline data, or an address of the
// computer itself (localhost, 127.x.x.x, ::1).
bool local_page(const QUrl& url);

struct BrowserPages {
    QString first, second, search;
};
// The configured pages (program folder's browser.ini over the built-in ones).
BrowserPages browser_pages();
