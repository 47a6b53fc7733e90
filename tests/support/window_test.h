// The one fixture of the window tests: the application without a screen
// (its main window 1366x768), a data folder of its own holding the built
// default data, loaded as the program loads it, every windows library in
// the registry, and every box scripted (a box nobody scripted fails the
// test). Every window still loaded is unloaded afterwards.
#pragma once

#include <gtest/gtest.h>

#include <QListWidget>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/windows.h"
#include "platform/form.h"
#include "tests/support/data_dir.h"
#include "tests/support/keys.h"
#include "tests/support/qt_app.h"

namespace testsupport {

// Every windows library's entries, as the program fills the registry.
void register_all_windows();
// Unloads every window of the registry that is loaded, also one that an
// unload loaded again, answering what they ask on the way out with the first
// button. Returns the windows that refused (their Form_Unload cancelled).
std::vector<std::string> unload_all_windows();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Boxes shown with this title whose text holds `text`.
    int shown(const std::string& title, const std::string& text = "") const;
    // The entries of a list box.
    static QStringList items(const QListWidget* l);

    std::unique_ptr<ui::Script> script;
    TempDataDir data{"heater-window"};
};

}  // namespace testsupport
