// The project input window's tests: one window on a data folder of its own
// with the built default data, and the keys, focus and boxes of a dealer.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/data.h"
#include "app/model.h"
#include "core/numtext.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "input/fields.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

namespace inputtest {

inline double money(const QString& text) { return vb::Val(remove_comma(text.toStdString())); }

// The record behind an entry of a city list.
inline CityRecord* cityOf(const QString& entry) {
    for (int i = 1; i <= g.city_count; ++i) {
        std::string e;
        city_entry(g.city_tab[i], e);
        if (QString::fromStdString(e) == entry) return &g.city_tab[i];
    }
    return nullptr;
}

class Weathers : public ::testing::Test {
protected:
    // A data folder of its own with the built default data.
    void SetUp() override {
        testsupport::ensure_app();
        script = std::make_unique<ui::Script>();
        dir = std::make_unique<testsupport::TempDataDir>("heater-input");
        ASSERT_TRUE(dir->copy_built({"location.dat", "PumpHP.dat"})) << dir->missing();
        set_defaults(g);
        dir->use();
        windows() = WindowRegistry{};
        register_input_windows();
        load_brand_pumps();
        load_locations();
    }
    void TearDown() override {
        delete w;
        windows() = WindowRegistry{};
        EXPECT_TRUE(script->unexpected().empty())
            << "unexpected box: " << script->unexpected().front().title << " / " << script->unexpected().front().text;
        script.reset();
        dir.reset();
    }

    // Opens a fresh window on what the model holds.
    void open() {
        delete w;
        w = new weathers();
        w->Show();
        ASSERT_TRUE(w->isLoaded());
    }
    // Leaves with Yes and starts again from the settings file, as the
    // program does at its next start.
    void restart() {
        script->answer(ui::vbYes);
        ASSERT_TRUE(w->Unload());
        set_defaults(g);
        dir->use();
        Dfltinp();
        load_brand_pumps();
        load_locations();
        open();
    }

    // The box gets the focus (by the Tab key unless told) / loses it.
    void focus(plat::TextBox* b, Qt::FocusReason why = Qt::TabFocusReason, QEvent::Type t = QEvent::FocusIn) {
        QFocusEvent e(t, why);
        QCoreApplication::sendEvent(b, &e);
    }
    void leave(plat::TextBox* b) { focus(b, Qt::TabFocusReason, QEvent::FocusOut); }
    // Keys as typed: digits, ".", "-", letters, "\b" Backspace, "\x1b" End.
    void type(plat::TextBox* b, const QString& keys) {
        for (QChar c : keys) {
            int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();  // digits, '.', '-'
            QString text(c);
            if (c == '\b') key = Qt::Key_Backspace;
            if (c == '\x1b') key = Qt::Key_End, text.clear();
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(b, &e);
        }
    }
    void typeIn(plat::TextBox* b, const QString& keys) {
        focus(b);
        type(b, keys);
        leave(b);
    }
    int boxes(const std::string& title, const std::string& text) const {
        int n = 0;
        for (const auto& s : script->shown())
            if (s.title == title && s.text.find(text) != std::string::npos) ++n;
        return n;
    }
    void answerOk(int n) {
        for (int k = 0; k < n; ++k) script->answer(ui::vbOK);
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<testsupport::TempDataDir> dir;
    weathers* w = nullptr;
};

}  // namespace inputtest
