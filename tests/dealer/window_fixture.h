// Set-up of the tests that drive the city, import and performance-table
// windows headless: a data folder of their own, every box scripted, typing
// and focus as the user does it.
#pragma once

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QListWidget>

#include <memory>

#include "data_fixture.h"
#include "platform/form.h"
#include "platform/testing.h"

namespace dealertest {

class WindowTest : public DataDir {
protected:
    void SetUp() override {
        DataDir::SetUp();
        plat::ensureApp();
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

    static void focus(plat::TextBox* b) {
        QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(b, &e);
    }
    // Keys as typed: digits, ".", letters, "\b" Backspace, "\x1b" Esc.
    static void type(plat::TextBox* b, const QString& keys) {
        for (QChar c : keys) {
            int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
            QString text(c);
            if (c == '\b') key = Qt::Key_Backspace, text.clear();
            if (c == '\x1b') key = Qt::Key_Escape, text.clear();
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
            QCoreApplication::sendEvent(b, &e);
        }
    }
    static void typeIn(plat::TextBox* b, const QString& keys) {
        focus(b);
        type(b, keys);
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
