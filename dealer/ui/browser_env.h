// The web browser window's settings that the program needs before (and
// without) the window: see browser.h for the window itself.
#pragma once

#include <QString>

// The settings Qt WebEngine needs: a shared OpenGL context (only before the
// QApplication is created) and, when running as root, no sandbox, without
// which Chromium refuses to start as root. Run it before the first web view
// exists; the program does it before creating its application.
void prepare_web_engine();

struct BrowserPages {
    QString first, second, search;
};
// The configured pages (program folder's browser.ini over the built-in ones).
BrowserPages browser_pages();
