// What the program needs of the web browser window without loading Qt
// WebEngine: its start-up settings and its configured pages. The window
// itself lives in a module of its own, loaded when the dealer first opens it
// (browser_loader.cpp), so the program starts without WebEngine's libraries.
#include "dealer/ui/browser_env.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <unistd.h>

#include <cstring>

#include "app/model.h"

namespace {
bool g_as_root_for_tests = false;
}

void prepare_web_engine() {
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The sandbox stays on: no flag from the environment is followed, so no
    // spelling of one that turns it off is. Only the tests' seam turns it
    // off, and only for root.
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
    if (g_as_root_for_tests && ::geteuid() == 0) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    else qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
}

int without_web_engine_args(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--webEngineArgs") == 0) {
            argv[i] = nullptr;
            return i;
        }
    }
    return argc;
}

void set_browser_as_root_for_tests(bool allowed) { g_as_root_for_tests = allowed; }
bool browser_as_root_for_tests() { return g_as_root_for_tests; }

std::string browser_refusal(unsigned euid) {
    if (euid != 0 || g_as_root_for_tests) return {};
    return "The web browser is not opened while the program runs as the administrator (root): web pages are "
           "shown only inside the browser's safety sandbox, which does not run as root." +
           g.crlf + "Please start the program from your own user account.";
}

bool local_page(const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == "file" || scheme == "data" || scheme == "about" || scheme == "qrc") return true;
    static const QRegularExpression loopback(R"(^127\.\d{1,3}\.\d{1,3}\.\d{1,3}$)");
    const QString host = url.host();
    return host == "localhost" || host == "::1" || loopback.match(host).hasMatch();
}

BrowserPages browser_pages() {
    BrowserPages p{"https://www.kestrolin.example/", "https://www.kestrolin-international.example/",
                   "https://duckduckgo.com/"};
    const QString ini = QString::fromStdString(g.data_dir) + "browser.ini";
    if (QFileInfo::exists(ini)) {
        QSettings s(ini, QSettings::IniFormat);
        p.first = s.value("start/first", p.first).toString();
        p.second = s.value("start/second", p.second).toString();
        p.search = s.value("start/search", p.search).toString();
    }
    return p;
}
