// Shared set-up for the start-up window tests: one application without a
// screen, a fresh data folder with copies of the built default data, and
// the program's windows put back between tests.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>

#include <vector>

#include "app/ui/backgrnd.h"
#include "app/ui/forms.h"
#include "app/ui/pass.h"
#include "app/ui/proginfo.h"
#include "app/ui/register.h"
#include "app/ui/splash.h"
#include "app/ui/startup.h"
#include "core/vbtext.h"
#include "input/ui/register.h"
#include "input/ui/weathers.h"
#include "platform/application.h"
#include "tests/support/window_test.h"

// A stand-in for a window a later part of the program adds: records its
// loads and unloads, can refuse to unload, and has three text boxes that
// store all three customer lines on every change (as the customer-name
// window does).
class FakeForm : public plat::Form {
public:
    FakeForm(const QString& name, std::vector<std::string>* log = nullptr) : plat::Form(name), log_(log) {}
    int loads = 0;
    int units_flag_at_load = -1;
    int from_menu_at_load = -1;
    bool refuse_unload = false;
    plat::TextBox* box[3] = {};

    void Form_Load() override {
        ++loads;
        units_flag_at_load = g.units_from_menu;
        from_menu_at_load = g.from_menu;
    }
    void Form_Unload(int& cancel) override {
        if (log_) log_->push_back(objectName().toStdString());
        if (refuse_unload) cancel = 1;
    }

protected:
    void build() override {
        for (int i = 0; i < 3; ++i) {
            box[i] = new plat::TextBox(this, i);
            box[i]->Change = [this](int) {
                g.cust_name = box[0]->Text().toStdString();
                g.cust_street = box[1]->Text().toStdString();
                g.cust_city = box[2]->Text().toStdString();
            };
        }
    }

private:
    std::vector<std::string>* log_;
};

// The window fixture with the start-up's own windows registered only.
class AppUiTest : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        testsupport::ensure_app()->setQuitOnLastWindowClosed(false);
        plat::MainWindow::instance()->resize(1100, 800);
        splash_delay_ms() = 3000;
        windows() = WindowRegistry{};
        register_app_windows();
        register_input_windows();
    }

    void TearDown() override {
        {
            ui::Script quiet;  // whatever the unload handlers ask: first button
            for (plat::Form* f : {existing_proginfo(), existing_pass(), existing_splash()})
                if (f && f->isLoaded()) f->Unload();
        }
        WindowTest::TearDown();
        fakes_.clear();
        release_instance_lock();
        g.dealer_lock = {};
    }

    // The data folder, ending in "/".
    QString path() const { return QString::fromStdString(data.path()) + "/"; }

    FakeForm* fake(const char* name, std::vector<std::string>* log = nullptr) {
        fakes_.push_back(std::make_unique<FakeForm>(name, log));
        return fakes_.back().get();
    }
    static std::function<plat::Form*()> reg(FakeForm* f) {
        return [f] { return static_cast<plat::Form*>(f); };
    }

    // Runs the start-up quietly (no boxes expected).
    void start() {
        ui::Script s;
        ASSERT_TRUE(startup({}, QString::fromStdString(data.path())));
        ASSERT_TRUE(s.unexpected().empty()) << s.unexpected().front().text;
    }

    static bool loaded(plat::Form* f) { return f && f->isLoaded(); }

private:
    std::vector<std::unique_ptr<FakeForm>> fakes_;
};
