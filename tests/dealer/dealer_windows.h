// Shared set-up for the dealer windows: an application without a screen, a
// data folder of its own with the built default data, the dealer windows in
// the registry, and every box scripted.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "app/settings.h"
#include "app/ui/forms.h"
#include "app/ui/register.h"
#include "app/ui/startup.h"
#include "core/ui.h"
#include "core/windows.h"
#include "dealer/ui/register.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "platform/form.h"
#include "tests/support/data_dir.h"
#include "tests/support/keys.h"
#include "tests/support/qt_app.h"

using testkeys::focus;
using testkeys::leave;
using testkeys::type;

class DealerWindows : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensure_app();
        plat::MainWindow::instance()->resize(1366, 768);
        script = std::make_unique<ui::Script>();
        data = std::make_unique<testsupport::TempDataDir>("heater-dealer1");
        ASSERT_TRUE(data->copy_built({"location.dat", "PumpHP.dat", "defaulte.dat"})) << data->missing();
        dir = data->path();
        data->load_program_data();
        windows() = WindowRegistry{};
        register_app_windows();
        register_input_windows();
        register_dealer_windows();
    }

    void TearDown() override {
        {
            ui::Script quiet;
            if (plat::Form* w = existing_weathers()) {
                quiet.answer(ui::vbYes);  // "Do you want to leave?"
                w->SetEnabled(true);
                if (w->isLoaded()) w->Unload();
            }
            for (auto& slot : windows().settings_order())
                if (plat::Form* f = slot.existing(); f && f->isLoaded()) f->Unload();
            for (auto slot : {windows().menu, windows().custname, windows().Calculator, windows().frmBrowser})
                if (plat::Form* f = slot.existing(); f && f->isLoaded()) f->Unload();
        }
        windows() = WindowRegistry{};
        // Tests that look at the windows on a screen show the main window;
        // the next test starts without one, as the others expect.
        plat::MainWindow::instance()->hide();
        EXPECT_TRUE(script->unexpected().empty())
            << "unexpected box: " << script->unexpected().front().title << " / " << script->unexpected().front().text;
        script.reset();
        data.reset();
    }

    // The project input window, open and active (the customer already
    // entered, so it does not ask for one).
    static weathers* open_input_window() {
        g.cust_done = 1;
        weathers* w = frm_weathers();
        w->Show();
        return w;
    }

    // The settings file as it is on disk now, read into a model of its own.
    DataModel saved() const {
        std::ifstream in(dir / "defaulte.dat", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        DataModel m;
        set_defaults(m);
        settings::fromText(ss.str(), m);
        return m;
    }
    // Removes the settings file, so that file_written() tells whether the
    // settings were written since.
    void forget_file() { std::filesystem::remove(dir / "defaulte.dat"); }
    bool file_written() const { return std::filesystem::exists(dir / "defaulte.dat"); }

    int boxes(const std::string& title, const std::string& text) const {
        int n = 0;
        for (const auto& s : script->shown())
            if (s.title == title && s.text == text) ++n;
        return n;
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<testsupport::TempDataDir> data;
    std::filesystem::path dir;
};
