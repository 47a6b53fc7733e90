// Heater: heat-pump sizing for pools and spas.
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/ui/startup.h"
#include "core/windows.h"
#include "dealer/ui/browser_env.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/ui_qt.h"
#include "program/register_all.h"

namespace {

// HEATER_STARTUP_PROBE=splash|backgrnd: print the milliseconds from the
// start of main (and the wall clock) once that window has been shown and
// the event loop has turned once, then end. "backgrnd" skips the splash's
// wait. Used to time the start-up. HEATER_STARTUP_PROBE=browser: once the
// background window is shown, open the web browser window from its module
// and say whether it opened, then end (a test of the program as built).
void install_probe(const QElapsedTimer& clock) {
    const char* want = std::getenv("HEATER_STARTUP_PROBE");
    if (!want || !*want) return;
    const std::string target = want;
    if (target == "backgrnd" || target == "browser") splash_delay_ms() = 0;
    if (target == "browser") {
        startup_probe() = [](const char* what) {
            if (std::strcmp(what, "backgrnd") != 0) return;
            QTimer::singleShot(0, [] {
                plat::Form* f = windows().frmBrowser ? windows().frmBrowser() : nullptr;
                std::printf("probe browser %s\n", f ? "opened" : "did not open");
                std::fflush(stdout);
                plat::MainWindow::instance()->onClose = nullptr;
                QCoreApplication::exit(f ? 0 : 1);
            });
        };
        return;
    }
    startup_probe() = [target, &clock](const char* what) {
        if (target != what) return;
        QTimer::singleShot(0, [target, &clock] {
            std::printf("probe %s %lld ms since main, epoch_ms %lld\n", target.c_str(),
                        static_cast<long long>(clock.elapsed()),
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
            plat::MainWindow::instance()->onClose = nullptr;
            QCoreApplication::exit(0);
        });
    };
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();

    prepare_web_engine();  // before the application exists
    argc = without_web_engine_args(argc, argv);
    plat::Application app(argc, argv);
    app.setApplicationName("Heater");
    app.setApplicationVersion(program_version());
    plat::installQtBackend();
    install_probe(clock);
    // Every windows library fills its entries of the window registry.
    register_all_windows();

    plat::MainWindow* main_window = plat::MainWindow::instance();
    main_window->setWindowTitle("Heater");
    // The size it returns to when the dealer restores it from maximized.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        main_window->resize(QSize(1100, 800).boundedTo(screen->availableGeometry().size()));
    main_window->onClose = [] { return shutdown_windows(); };

    const int rc = app.run([&app] {
        if (!startup(QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath())) app.requestEnd();
    });
    release_instance_lock();
    return rc;
}
