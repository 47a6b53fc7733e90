// The web browser window's settings that the program needs before (and
// without) the window: see browser.h for the window itself.
#pragma once

#include <QString>
#include <QUrl>

#include <string>

// The settings Qt WebEngine needs: a shared OpenGL context (only before the
// QApplication is created), and its sandbox left on whatever the
// environment asks (the tests' switch below aside). Run it before the first
// web view exists; the program does it before creating its application.
void prepare_web_engine();

// A switch for tests alone, set in the environment as
// HEATER_TESTS_ONLY_BROWSER_AS_ROOT_LOCAL_PAGES=1: tests that run as root
// may then open the browser window without the web engine's sandbox, which
// cannot run as root, and the window loads pages of this computer only.
inline constexpr const char* kTestsOnlyBrowserAsRoot = "HEATER_TESTS_ONLY_BROWSER_AS_ROOT_LOCAL_PAGES";
bool tests_only_browser_as_root();

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
