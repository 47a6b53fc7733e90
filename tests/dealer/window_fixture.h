// Set-up of the tests that drive the city, import and performance-table
// windows headless: a data folder of their own, every box scripted, typing
// and focus as the user does it.
#pragma once

#include <QListWidget>

#include <memory>

#include "platform/form.h"
#include "tests/dealer/data_fixture.h"
#include "tests/support/keys.h"
#include "tests/support/qt_app.h"

namespace dealertest {

using testkeys::focus;
using testkeys::leave;
using testkeys::type;
using testkeys::typeIn;

class WindowTest : public DataDir {
protected:
    void SetUp() override {
        DataDir::SetUp();
        testsupport::ensure_app();
        plat::MainWindow::instance()->resize(1366, 768);
        script = std::make_unique<ui::Script>();
    }
    void TearDown() override {
        EXPECT_TRUE(script->unexpected().empty())
            << "unexpected box: " << script->unexpected().front().title << " / " << script->unexpected().front().text;
        {
            ui::Script quiet;
            for (plat::Form* f : open_) {
                if (f && f->isLoaded()) f->Unload();
            }
        }
        script.reset();
        DataDir::TearDown();
    }
    // Remembers a window to unload after the test.
    template <class T> T* track(T* f) {
        open_.push_back(f);
        return f;
    }

    // Boxes shown with this title (and text part).
    int shown(const std::string& title, const std::string& text = "") const {
        int n = 0;
        for (const auto& s : script->shown())
            if (s.title == title && s.text.find(text) != std::string::npos) ++n;
        return n;
    }
    static QStringList items(const QListWidget* l) {
        QStringList out;
        for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
        return out;
    }

    std::unique_ptr<ui::Script> script;

private:
    std::vector<plat::Form*> open_;
};

}  // namespace dealertest
