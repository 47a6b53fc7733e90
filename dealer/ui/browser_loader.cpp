#include "dealer/ui/browser_loader.h"

#include <QCoreApplication>
#include <QLibrary>

#include <functional>
#include <string>

#include <unistd.h>

#include "app/model.h"
#include "core/ui.h"
#include "dealer/ui/browser_env.h"

namespace {

using Entry = plat::Form* (*)();

struct Loaded {
    std::function<plat::Form*()> open, existing;
    bool tried = false;
};

Loaded& loaded() {
    static Loaded l;
    return l;
}

// The module beside the program, else in the folder of the built data
// (HEATER_BIN_DIR: test programs run from their own folder).
bool load_module() {
    Loaded& l = loaded();
    if (l.open) return true;
    if (l.tried) return false;
    l.tried = true;
    QStringList dirs{QCoreApplication::applicationDirPath()};
    const QByteArray bin = qgetenv("HEATER_BIN_DIR");
    if (!bin.isEmpty()) dirs << QString::fromLocal8Bit(bin);
    QString why;
    for (const QString& dir : dirs) {
        auto* lib = new QLibrary(dir + "/libheater_browser.so", qApp);
        lib->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!lib->load()) {
            why = lib->errorString();
            delete lib;
            continue;
        }
        auto open = reinterpret_cast<Entry>(lib->resolve("heater_browser_open"));
        auto existing = reinterpret_cast<Entry>(lib->resolve("heater_browser_existing"));
        if (open && existing) {
            l.open = open;
            l.existing = existing;
            return true;
        }
        why = lib->errorString();
    }
    ui::MsgBox("The web browser could not be started." + g.crlf + why.toStdString(), ui::vbOKOnly | ui::vbExclamation,
               "Internet");
    return false;
}

}  // namespace

plat::Form* open_browser() {
    if (const std::string why = browser_refusal(::geteuid()); !why.empty()) {
        ui::MsgBox(why, ui::vbOKOnly | ui::vbExclamation, "Internet");
        return nullptr;
    }
    return load_module() ? loaded().open() : nullptr;
}

plat::Form* existing_browser() {
    const Loaded& l = loaded();
    return l.existing ? l.existing() : nullptr;
}
