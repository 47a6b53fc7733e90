// Shared set-up for the dealer windows: an application without a screen, a
// data folder of its own with the built default data, the dealer windows in
// the registry, and every box scripted.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

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
#include "platform/testing.h"
#include "tests/support/data_dir.h"

class DealerWindows : public ::testing::Test {
protected:
    void SetUp() override {
        plat::ensureApp();
        plat::MainWindow::instance()->resize(1366, 768);
        script = std::make_unique<ui::Script>();
        data = std::make_unique<testsupport::TempDataDir>("heater-dealer1");
        ASSERT_TRUE(data->copy_built({"location.dat", "PumpHP.dat", "defaulte.dat"})) << data->missing();
        dir = data->path();
        set_defaults(g);
        data->use();
        Dfltinp();
        load_brand_pumps();
        load_locations();
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
            << "unexpected box: " << script->unexpected().front().title << " / "
            << script->unexpected().front().text;
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

    static void focus(QWidget* w, QEvent::Type t = QEvent::FocusIn) {
        QFocusEvent e(t, Qt::TabFocusReason);
        QCoreApplication::sendEvent(w, &e);
    }
    static void leave(QWidget* w) { focus(w, QEvent::FocusOut); }
    // Keys as typed: digits, letters, ".", "-", "*", "\b" Backspace,
    // "\x1b" Esc, "\r" Enter.
    static void type(QWidget* w, const QString& keys) {
        for (QChar c : keys) {
            int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
            QString text(c);
            if (c == '\b') key = Qt::Key_Backspace;
            if (c == '\x1b') key = Qt::Key_Escape, text = QString(QChar(27));
            if (c == '\r') key = Qt::Key_Return;
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(w, &e);
        }
    }
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
