// What the program needs of the web browser window without loading Qt
// WebEngine: its start-up settings and its configured pages. The window
// itself lives in a module of its own, loaded when the dealer first opens it
// (browser_loader.cpp), so the program starts without WebEngine's libraries.
#include "dealer/ui/browser_env.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <unistd.h>

#include <cstring>

#include "app/model.h"
#include "core/recfile.h"

namespace {
// browser.ini holds three addresses: a larger file is none.
constexpr std::uint64_t kMaxIniBytes = 64 * 1024;
}  // namespace

void prepare_web_engine() {
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The sandbox stays on: no flag from the environment is followed, so no
    // spelling of one that turns it off is. Only the tests' seam turns it
    // off, and only for root.
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
    if (browser_as_root_for_tests() && ::geteuid() == 0) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
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

bool browser_as_root_for_tests() { return browser_as_root_hook && browser_as_root_hook(); }

std::string browser_refusal(unsigned euid) {
    if (euid != 0 || browser_as_root_for_tests()) return {};
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
    // Read as every file of the program folder is (a regular file, without
    // waiting, its size checked), then taken line by line: `key=value` under
    // [start], a value in double quotes taken without them, ; and # lines
    // are comments.
    std::string text;
    if (!rec::readFile(g.data_dir + "browser.ini", text, kMaxIniBytes)) return p;
    QString section;
    for (QString line : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).trimmed().toLower();
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (section != "start" || eq < 0) continue;
        const QString key = line.left(eq).trimmed().toLower();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) value = value.mid(1, value.size() - 2);
        if (key == "first") p.first = value;
        else if (key == "second") p.second = value;
        else if (key == "search") p.search = value;
    }
    return p;
}
