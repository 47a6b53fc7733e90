// The project input window's tests: one window in the window fixture, and
// the keys, focus and boxes of a dealer.
#pragma once

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "core/numtext.h"
#include "core/vbtext.h"
#include "input/fields.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "tests/support/window_test.h"

namespace fs = std::filesystem;

using testkeys::focus;
using testkeys::leave;
using testkeys::type;

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

// The input window alone in the registry, on the defaults with the built
// heat pumps and cities (no settings file read).
class Weathers : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        windows() = WindowRegistry{};
        register_input_windows();
        set_defaults(g);
        data.use();
        load_brand_pumps();
        load_locations();
    }
    void TearDown() override {
        delete w;
        WindowTest::TearDown();
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
        data.load_program_data();
        open();
    }
    // Tabs into the box, types and leaves it.
    static void typeIn(plat::TextBox* b, const QString& keys) {
        testkeys::typeIn(b, keys);
        leave(b);
    }
    void answerOk(int n) {
        for (int k = 0; k < n; ++k) script->answer(ui::vbOK);
    }

    weathers* w = nullptr;
};

}  // namespace inputtest
