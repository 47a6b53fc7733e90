#include "tests/support/window_test.h"

#include "program/register_all.h"

namespace testsupport {

void register_all_windows() {
    windows() = WindowRegistry{};
    ::register_all_windows();
}

void WindowTest::SetUp() {
    ensure_app();
    plat::MainWindow::instance()->resize(1366, 768);
    ASSERT_TRUE(data.copy_built()) << data.missing();
    data.load_program_data();
    register_all_windows();
    script = std::make_unique<ui::Script>();
}

std::vector<std::string> unload_all_windows() {
    ui::Script quiet;  // whatever the windows ask on their way out: the first button (Yes, leave)
    // A window's unload may load again the window that opened it (the
    // customer window brings the project window back to the front), so the
    // registry is gone through until a pass finds none loaded: the next test
    // of the program starts with every window closed, as a test run alone.
    constexpr int kPasses = 4;
    for (int pass = 0; pass < kPasses; ++pass) {
        bool unloaded = false;
        for (const auto& [name, slot] : windows().named()) {
            if (plat::Form* f = slot.existing(); f && f->isLoaded()) {
                f->SetEnabled(true);
                unloaded |= f->Unload();
            }
        }
        if (!unloaded) break;
    }
    std::vector<std::string> left;
    for (const auto& [name, slot] : windows().named())
        if (plat::Form* f = slot.existing(); f && f->isLoaded()) left.emplace_back(name);
    return left;
}

void WindowTest::TearDown() {
    const std::vector<std::string> left = unload_all_windows();
    EXPECT_TRUE(left.empty()) << left.front() << " would not unload";
    windows() = WindowRegistry{};
    plat::MainWindow::instance()->hide();  // the next test starts without a shown main window
    EXPECT_TRUE(script->unexpected().empty())
        << "unexpected box: " << script->unexpected().front().title << " / " << script->unexpected().front().text;
    script.reset();
}

int WindowTest::shown(const std::string& title, const std::string& text) const {
    int n = 0;
    for (const auto& s : script->shown())
        if (s.title == title && s.text.find(text) != std::string::npos) ++n;
    return n;
}

QStringList WindowTest::items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
    return out;
}

}  // namespace testsupport
