#include "tests/support/qt_app.h"

#include "platform/application.h"
#include "platform/ui_qt.h"

namespace testsupport {

plat::Application* ensure_app() {
    if (auto* a = plat::Application::instance()) return a;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "heater-test";
    static char* argv[] = {name, nullptr};
    // Kept for the whole test program and never destroyed: windows made by
    // tests may outlive any scope.
    auto* app = new plat::Application(argc, argv);
    app->onEnd = [] {};
    plat::installQtBackend();
    return app;
}

}  // namespace testsupport
