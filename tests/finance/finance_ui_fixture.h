// Shared set-up for the finance window tests: one application without a
// screen, a data folder with copies of the built default data, a fresh
// model, every box scripted, and keys typed into boxes as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <string>

#include "app/data.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"
#include "finance/leasedat.h"
#include "finance/ui/elect.h"
#include "finance/ui/lease.h"
#include "finance/ui/register.h"
#include "finance/ui/setfin.h"
#include "platform/application.h"
#include "platform/form.h"
#include "tests/support/data_dir.h"
#include "tests/support/keys.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

class FinanceUi : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensure_app()->setQuitOnLastWindowClosed(false);
        script = std::make_unique<ui::Script>();
        data = std::make_unique<testsupport::TempDataDir>("heater-finance");
        ASSERT_TRUE(data->copy_built({"PumpHP.dat", "defaulte.dat", "location.dat"})) << data->missing();
        dir = data->path();
        set_defaults(g);
        data->use();
        load_brand_pumps();
        for (int t = 1; t <= 6; ++t)
            for (int b = 1; b <= 4; ++b) g.lease_fact[t][b] = 0.02 + t * 0.001 + b * 0.0001;
        windows() = WindowRegistry{};
        register_finance_windows();
    }
    void TearDown() override {
        for (const WindowSlot& slot : {windows().lease, windows().setfin, windows().elect}) {
            if (plat::Form* f = slot.existing()) {
                f->Unload();
                delete f;
            }
        }
        EXPECT_TRUE(script->unexpected().empty())
            << "unexpected box: " << script->unexpected().front().title << " / " << script->unexpected().front().text;
        script.reset();
        data.reset();
    }

    lease* openLease() {
        auto* w = static_cast<lease*>(windows().lease());
        w->Move(2170, 950, 5625, 5385);
        return w;
    }

    static void focus(QWidget* b, QEvent::Type t = QEvent::FocusIn) { testkeys::focus(b, t); }
    static void leave(QWidget* b) { testkeys::leave(b); }
    static void type(QWidget* b, const QString& keys) { testkeys::type(b, keys); }
    static void typeIn(QWidget* b, const QString& keys) {
        focus(b);
        type(b, keys);
        leave(b);
    }
    int boxes(const std::string& title) const {
        int n = 0;
        for (const auto& s : script->shown()) n += s.title == title;
        return n;
    }
    static std::string text(const QWidget* w) {
        if (auto* b = qobject_cast<const QLineEdit*>(w)) return b->text().toStdString();
        if (auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
        return {};
    }

    std::unique_ptr<ui::Script> script;
    std::unique_ptr<testsupport::TempDataDir> data;
    fs::path dir;
};
