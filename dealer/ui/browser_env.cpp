// What the program needs of the web browser window without loading Qt
// WebEngine: its start-up settings and its configured pages. The window
// itself lives in a module of its own, loaded when the dealer first opens it
// (browser_loader.cpp), so the program starts without WebEngine's libraries.
#include "browser_env.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include <unistd.h>

#include "app/model.h"

void prepare_web_engine() {
    if (!QCoreApplication::instance()) QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox")) {
            flags += flags.isEmpty() ? "--no-sandbox" : " --no-sandbox";
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        }
    }
}

BrowserPages browser_pages() {
    BrowserPages p{"http://www.kestrolin.example/", "http://www.kestrolin-international.example/",
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
