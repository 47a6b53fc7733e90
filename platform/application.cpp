#include "platform/application.h"

#include "core/ui.h"
#include "platform/form.h"
#include "platform/print_qt.h"

#include <cstdio>
#include <string>

namespace plat {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { installPrinting(); }

Application::~Application() = default;

Application* Application::instance() { return qobject_cast<Application*>(QCoreApplication::instance()); }

void Application::requestEnd() {
    endRequested_ = true;
    if (onEnd) onEnd();
    else QCoreApplication::exit(0);
}

namespace {

// The place an error is reported for: the name of the window the object
// sits in, else the object's own name or class.
std::string placeOf(const QObject* o) {
    for (const QObject* p = o; p; p = p->parent())
        if (auto* f = qobject_cast<const Form*>(p)) return f->objectName().toStdString();
    if (!o) return "program";
    if (!o->objectName().isEmpty()) return o->objectName().toStdString();
    return o->metaObject()->className();
}

}  // namespace

void Application::reportError(const std::exception_ptr& e, const QObject* receiver) {
    const std::string place = placeOf(receiver);
    std::string text;
    try {
        std::rethrow_exception(e);
    } catch (const ui::RtError& x) {
        text = "Error " + std::to_string(x.number) + " in " + place + "\r\n" + x.description();
    } catch (const std::exception& x) {
        text = "Error in " + place + "\r\n" + x.what();
    } catch (...) {
        text = "Error in " + place;
    }
    // An error raised again while its box is up (a paint handler, a timer)
    // must not stack boxes without end: the nested ones go to stderr.
    static bool reporting = false;
    if (reporting) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return;
    }
    reporting = true;
    try {
        ui::MsgBox(text, ui::vbCritical, "Error");
    } catch (...) {
        // Nothing more can be done for this event.
    }
    reporting = false;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const ui::ProgramEnd&) {
        requestEnd();
    } catch (...) {
        reportError(std::current_exception(), receiver);
    }
    return true;
}

int Application::run(const std::function<void()>& startup) {
    try {
        if (startup) startup();
    } catch (const ui::ProgramEnd&) {
        return 0;
    } catch (...) {
        reportError(std::current_exception(), nullptr);
        return 1;
    }
    if (endRequested_) return 0;
    return exec();
}

}  // namespace plat
