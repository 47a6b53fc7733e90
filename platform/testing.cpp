#include "platform/testing.h"

#include "platform/application.h"
#include "platform/ui_qt.h"

namespace plat {

Application* ensureApp() {
    if (auto* a = Application::instance()) return a;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "heater-test";
    static char* argv[] = {name, nullptr};
    // Kept for the whole test program and never destroyed: windows made by
    // tests may outlive any scope.
    auto* app = new Application(argc, argv);
    app->onEnd = [] {};
    installQtBackend();
    return app;
}

}  // namespace plat
