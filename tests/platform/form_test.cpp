// The run-time behaviour the program's windows rely on: handlers that run
// for programmatic changes, key filtering, and the window life cycle.
#include "platform/form.h"
#include "core/ui.h"
#include "platform/application.h"
#include "platform/instances.h"
#include "tests/support/clicks.h"
#include "tests/support/qt_app.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using plat::CheckBox;
using plat::ComboBox;
using plat::CommandButton;
using plat::Form;
using plat::MainWindow;
using plat::OptionButton;
using plat::TextBox;

namespace {

using Log = std::vector<std::string>;

// A window that writes every handler call into a shared log.
class LogForm : public Form {
public:
    LogForm(const char* name, Log& log) : Form(name), log_(log), name_(name) {}
    int cancelUnload = 0;
    std::function<void()> onDeactivate;
    std::function<void()> onLoad;
    CommandButton* Command1 = nullptr;
    TextBox* Text1 = nullptr;

    void Form_Load() override {
        log_.push_back(name_ + ".Load");
        if (onLoad) onLoad();
    }
    void Form_Activate() override { log_.push_back(name_ + ".Activate"); }
    void Form_Deactivate() override {
        log_.push_back(name_ + ".Deactivate");
        if (onDeactivate) onDeactivate();
    }
    void Form_Unload(int& cancel) override {
        log_.push_back(name_ + ".Unload");
        cancel = cancelUnload;
    }

protected:
    void build() override {
        Command1 = new CommandButton("Go", this);
        place(Command1, 120, 120, 1500, 450);
        Text1 = new TextBox(this);
        place(Text1, 120, 720, 1500, 300);
    }

private:
    Log& log_;
    std::string name_;
};

class Platform : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::ensure_app();
        MainWindow::instance()->resize(1024, 768);
        MainWindow::instance()->show();
    }
    void TearDown() override { plat::Application::instance()->resetEnd(); }

    static void sendKey(QWidget* w, int key, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(w, &e);
    }
    static void mouseClick(QWidget* w) {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        const QPointF global = w->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    }
};

// ---------------------------------------------------------------- controls --

TEST_F(Platform, ChangeRunsForProgramAndTypingKeyPressDropsChangesOrPassesKeys) {
    TextBox box(nullptr, 2);
    int changes = 0;
    box.Change = [&](int i) {
        EXPECT_EQ(i, 2);
        ++changes;
    };
    box.SetText("12");
    box.SetText("12");  // the same text is no change
    ASSERT_EQ(changes, 1);
    changes = 0;
    std::vector<int> seen;
    box.KeyPress = [&](int index, int& key) {
        EXPECT_EQ(index, 2);
        seen.push_back(key);
        if (key == 'x') key = 0;         // refused
        else if (key == 'a') key = 'A';  // changed
    };

    sendKey(&box, Qt::Key_X, "x");
    EXPECT_EQ(box.Text(), "12");
    EXPECT_EQ(changes, 0);

    sendKey(&box, Qt::Key_A, "a");
    EXPECT_EQ(box.Text(), "12A");
    EXPECT_EQ(changes, 1);

    sendKey(&box, Qt::Key_Backspace, "\b");
    EXPECT_EQ(box.Text(), "12");

    // Cursor keys, Tab and Enter reach the box without the filter.
    sendKey(&box, Qt::Key_Home, "");
    sendKey(&box, Qt::Key_Return, "\r");
    sendKey(&box, Qt::Key_5, "5");
    EXPECT_EQ(box.Text(), "512");

    sendKey(&box, Qt::Key_Delete, "\x7f");
    EXPECT_EQ(box.Text(), "52");
    sendKey(&box, Qt::Key_Escape, "\x1b");
    EXPECT_EQ(seen, (std::vector<int>{'x', 'a', 8, '5', 127, 27}));

    // A character of the Windows code page arrives with its code there.
    seen.clear();
    sendKey(&box, 0, QString::fromUtf8("\xc2\xb2"));  // superscript two
    EXPECT_EQ(seen, std::vector<int>{178});
}

TEST_F(Platform, FocusHandlersIgnoreWindowActivation) {
    TextBox box(nullptr, 1);
    int got = 0, lost = 0;
    box.GotFocus = [&](int) { ++got; };
    box.LostFocus = [&](int) { ++lost; };
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &in);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&box, &out);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(lost, 1);
    // A message box taking the focus and giving it back is no focus change.
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&box, &away);
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(&box, &back);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(lost, 1);
}

TEST_F(Platform, ClicksFromCode) {
    QWidget frame;
    CheckBox check("Round up", &frame, 3);
    OptionButton opt1("Lease", &frame, 0), opt2("Loan", &frame, 1);
    std::vector<std::string> log;
    check.Click = [&](int i) { log.push_back("check" + std::to_string(i)); };
    opt1.Click = [&](int i) { log.push_back("opt" + std::to_string(i)); };
    opt2.Click = [&](int i) { log.push_back("opt" + std::to_string(i)); };

    check.SetValue(1);
    check.SetValue(1);  // no change, no Click
    check.SetValue(0);
    EXPECT_EQ(check.Value(), 0);
    opt1.SetValue(true);
    opt2.SetValue(true);  // opt1 goes off silently
    EXPECT_EQ(log, (std::vector<std::string>{"check3", "check3", "opt0", "opt1"}));
    EXPECT_FALSE(opt1.Value());

    // Unlike a plain Qt radio button, the selected option can be cleared.
    opt2.SetValue(false);
    EXPECT_FALSE(opt1.Value());
    EXPECT_FALSE(opt2.Value());
    opt1.SetValue(true);
    EXPECT_EQ(log.back(), "opt0");

    // A disabled button takes no click.
    CommandButton b("OK", &frame, 2);
    b.Click = [&](int i) { log.push_back("button" + std::to_string(i)); };
    b.setEnabled(false);
    b.DoClick();
    b.setEnabled(true);
    b.DoClick();
    EXPECT_EQ(log.back(), "button2");
    EXPECT_EQ(log.size(), 6u);
}

// Enter and Space press the button that has the focus, once however long
// the key is held; Enter in a box presses no button.
TEST_F(Platform, EnterAndSpacePressTheFocusedButton) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    a->Show();
    QApplication::processEvents();
    int clicks = 0;
    a->Command1->Click = [&](int) { ++clicks; };
    a->Command1->setFocus(Qt::TabFocusReason);
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) testclicks::key(a.get(), k);
    testclicks::key(a.get(), Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter
    EXPECT_EQ(clicks, 4);
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(a->Command1, &held);
    EXPECT_EQ(clicks, 4);
    a->Text1->setFocus(Qt::TabFocusReason);
    testclicks::key(a.get(), Qt::Key_Return);
    EXPECT_EQ(clicks, 4);
}

TEST_F(Platform, ComboClickOnlyWhenTheChoiceChanges) {
    ComboBox combo(nullptr, 8);
    std::vector<int> clicks;
    combo.Click = [&](int) { clicks.push_back(combo.ListIndex()); };

    combo.AddItem("Miami   ");
    combo.AddItem("Tampa");
    combo.AddItem("Orlando");
    EXPECT_EQ(combo.ListIndex(), -1);  // adding selects nothing
    EXPECT_TRUE(clicks.empty());

    combo.SetListIndex(1);
    EXPECT_EQ(combo.Text(), "Tampa");
    EXPECT_EQ(combo.SelectText(" Miami"), 0);
    EXPECT_EQ(combo.SelectText("Boston"), -1);
    EXPECT_EQ(combo.ListIndex(), 0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 0}));

    combo.AddItem("Key West");  // keeps the choice
    EXPECT_EQ(combo.ListIndex(), 0);
    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(clicks.size(), 2u);

    ComboBox edit(nullptr, 0, true);
    int changes = 0;
    edit.Change = [&](int) { ++changes; };
    edit.AddItem("A");
    EXPECT_EQ(edit.Text(), "");
    edit.SetText("typed");
    EXPECT_EQ(edit.Text(), "typed");
    EXPECT_EQ(changes, 1);
}

// The arrow keys move from the entry shown, also when the program only set
// it as the text: the first Up goes to the entry before it, as the first
// Down goes to the one after it.
TEST_F(Platform, ArrowKeysMoveFromTheEntryTheProgramShows) {
    const std::pair<Qt::Key, QString> cases[] = {{Qt::Key_Down, "Orlando"}, {Qt::Key_Up, "Miami"}};
    for (const auto& [key, after] : cases) {
        ComboBox combo(nullptr, 0, true);
        for (const char* city : {"Miami", "Tampa", "Orlando"}) combo.AddItem(city);
        combo.SetText("Tampa");
        sendKey(&combo, key, {});
        EXPECT_EQ(combo.Text(), after) << key;
    }
}

// -------------------------------------------------------------- life cycle --

TEST_F(Platform, ShowLoadsOnceAndActivation) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    auto b = std::make_unique<LogForm>("B", log);

    a->Show();
    a->Show();
    EXPECT_EQ(log, (Log{"A.Load", "A.Activate"}));
    EXPECT_TRUE(a->isLoaded());
    EXPECT_TRUE(a->isActive());
    EXPECT_FALSE(a->subWindow()->isHidden());

    log.clear();
    b->Show();
    EXPECT_EQ(log, (Log{"B.Load", "A.Deactivate", "B.Activate"}));
    EXPECT_EQ(MainWindow::instance()->activeForm(), b.get());

    log.clear();
    a->ZOrder(0);
    EXPECT_EQ(log, (Log{"B.Deactivate", "A.Activate"}));
    EXPECT_EQ(MainWindow::instance()->mdi()->activeSubWindow(), a->subWindow());

    // Hiding the active window deactivates it; showing it activates it again.
    a->Hide();
    b->Show();
    log.clear();
    b->SetVisible(false);
    b->SetVisible(true);
    EXPECT_EQ(log, (Log{"B.Deactivate", "B.Activate"}));
}

TEST_F(Platform, UnloadCanBeCancelledAndLoadsAgain) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    a->Show();
    a->Text1->SetText("kept");
    log.clear();

    a->cancelUnload = 1;
    EXPECT_FALSE(a->Unload());
    EXPECT_TRUE(a->isLoaded());
    EXPECT_FALSE(a->subWindow()->isHidden());

    // The close box asks the same handler.
    a->subWindow()->close();
    EXPECT_TRUE(a->isLoaded());
    EXPECT_FALSE(a->subWindow()->isHidden());
    EXPECT_EQ(log, (Log{"A.Unload", "A.Unload"}));
    // Disabled (waiting on a window it opened), it stays so when its unload
    // is cancelled: the window it waits on is still up.
    a->SetEnabled(false);
    EXPECT_FALSE(a->Unload());
    EXPECT_TRUE(a->isLoaded());
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(a->subWindow()->isEnabled());

    a->cancelUnload = 0;  // still disabled as the program ends
    log.clear();
    EXPECT_TRUE(a->Unload());
    EXPECT_FALSE(a->isLoaded());
    EXPECT_FALSE(a->isActive());
    EXPECT_TRUE(a->subWindow()->isHidden());
    EXPECT_TRUE(a->Unload());  // nothing more to do
    EXPECT_EQ(log, (Log{"A.Unload"}));

    log.clear();
    a->Show();
    EXPECT_EQ(log, (Log{"A.Load", "A.Activate"}));
    EXPECT_EQ(a->Text1->Text(), "kept");  // controls outlive an unload
    // A window loads enabled, whatever it was when it went: its buttons work.
    EXPECT_TRUE(a->Enabled());
    EXPECT_TRUE(a->subWindow()->isEnabled());
}

TEST_F(Platform, UnloadingTheActiveWindowActivatesAnother) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    auto b = std::make_unique<LogForm>("B", log);
    a->Show();
    b->Show();
    log.clear();
    b->Unload();
    // No Deactivate for the unloaded window; the remaining one gets Activate.
    EXPECT_EQ(log, (Log{"B.Unload", "A.Activate"}));
    EXPECT_TRUE(a->isActive());
}

TEST_F(Platform, WindowThatUnloadsItselfWhileLoading) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    a->onLoad = [&] { a->Unload(); };
    a->Show();
    EXPECT_EQ(log, (Log{"A.Load", "A.Unload"}));
    EXPECT_FALSE(a->isLoaded());
    EXPECT_TRUE(a->subWindow()->isHidden());
}

TEST_F(Platform, DeactivateMayKeepTheWindowActive) {
    // A settings window takes the focus back when another window is chosen.
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    auto b = std::make_unique<LogForm>("B", log);
    b->Show();
    a->Show();
    a->onDeactivate = [&] { a->Show(); };
    log.clear();
    b->Show();
    EXPECT_EQ(log, (Log{"A.Deactivate", "A.Activate"}));
    EXPECT_TRUE(a->isActive());
    EXPECT_FALSE(b->isActive());
    EXPECT_EQ(MainWindow::instance()->activeForm(), a.get());
}

// The window active after an activation is the one in front, also when a
// Deactivate handler took the activation back while the MDI area was still
// raising the window it activated; a window shown afterwards comes in front
// all the same.
TEST_F(Platform, TheWindowThatTookTheActivationBackIsInFront) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    auto b = std::make_unique<LogForm>("B", log);
    const auto front = [] { return MainWindow::instance()->mdi()->subWindowList(QMdiArea::StackingOrder).back(); };
    b->Show();
    a->Show();
    a->onDeactivate = [&] { a->ZOrder(0); };
    b->Show();
    QApplication::processEvents();
    EXPECT_EQ(MainWindow::instance()->activeForm(), a.get());
    EXPECT_EQ(front(), a->subWindow());

    // A window that only brings itself forward when left (the printout
    // selection) stays in front of the window activated...
    a->onDeactivate = [&] { a->subWindow()->raise(); };
    a->Show();
    b->Show();
    QApplication::processEvents();
    EXPECT_EQ(MainWindow::instance()->activeForm(), b.get());
    EXPECT_EQ(front(), a->subWindow());
    // ... until the program brings the active one forward, also before the
    // area is done.
    a->Show();
    b->Show();
    b->ZOrder(0);
    QApplication::processEvents();
    EXPECT_EQ(MainWindow::instance()->activeForm(), b.get());
    EXPECT_EQ(front(), b->subWindow());
}

TEST_F(Platform, MoveIsInTwipsAndLoadsCaptionAndEnabled) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    a->Move(1500, 750, 3000, 1500);
    EXPECT_EQ(log, (Log{"A.Load", "A.Activate"}));
    EXPECT_EQ(a->subWindow()->geometry(), QRect(100, 50, 200, 100));
    EXPECT_EQ(a->Left(), 1500);
    EXPECT_EQ(a->Width(), 3000);
    a->Move(3000, 1500);
    EXPECT_EQ(a->subWindow()->geometry(), QRect(200, 100, 200, 100));
    EXPECT_EQ(log.size(), 2u);

    // A control is placed in twips too.
    EXPECT_EQ(a->Command1->geometry(), QRect(8, 8, 100, 30));

    // A window given no size fits its controls.
    auto b = std::make_unique<LogForm>("B", log);
    b->Show();
    const QRect inner = b->subWindow()->contentsRect();
    EXPECT_GE(inner.width(), b->Command1->geometry().right());
    EXPECT_GE(inner.height(), b->Text1->geometry().bottom());

    // Caption and enabled state set before the window loads.
    auto c = std::make_unique<LogForm>("C", log);
    c->SetCaption("Heat pump brand");
    c->SetEnabled(false);
    c->Show();
    EXPECT_EQ(c->subWindow()->windowTitle(), "Heat pump brand");
    EXPECT_FALSE(c->Command1->isEnabled());
    c->SetEnabled(true);
    EXPECT_TRUE(c->Command1->isEnabled());
}

// A window reached through the registry: created on first use, once; code
// that only unloads or moves it never creates it; a window the main window
// deleted is made anew.
class SlotForm : public LogForm {
public:
    static inline Log log;
    static inline int made = 0;
    SlotForm() : LogForm("S", log) { ++made; }
};

TEST_F(Platform, RegistrySlotCreatesOnFirstUseOnly) {
    QPointer<SlotForm> held;
    const WindowSlot slot = plat::window_slot(held);
    SlotForm::made = 0;
    EXPECT_TRUE(slot);
    EXPECT_EQ(slot.existing(), nullptr);
    Form* f = slot();
    EXPECT_EQ(slot(), f);
    EXPECT_EQ(slot.existing(), f);
    EXPECT_EQ(SlotForm::made, 1);
    delete held.data();
    EXPECT_EQ(slot.existing(), nullptr);
    EXPECT_NE(slot(), nullptr);
    EXPECT_EQ(SlotForm::made, 2);
    delete held.data();

    // An entry with an opener alone counts its window as always there; an
    // empty entry opens nothing.
    auto fake = std::make_unique<SlotForm>();
    const WindowSlot plain = [&fake] { return static_cast<Form*>(fake.get()); };
    EXPECT_EQ(plain.existing(), fake.get());
    const WindowSlot none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none(), nullptr);
    EXPECT_EQ(none.existing(), nullptr);
}

// --------------------------------------------------- handlers and failures --

TEST_F(Platform, ProgramEndInAnEventEndsTheProgram) {
    Log log;
    auto a = std::make_unique<LogForm>("A", log);
    a->Show();
    bool after = false;
    a->Command1->Click = [&](int) {
        ui::EndProgram();
        after = true;
    };
    mouseClick(a->Command1);
    EXPECT_FALSE(after);
    EXPECT_TRUE(plat::Application::instance()->endRequested());
    // The button is usable afterwards (its pressed state was not left behind).
    EXPECT_FALSE(a->Command1->isDown());
}

TEST_F(Platform, ErrorInAnEventIsReportedAndTheProgramGoesOn) {
    Log log;
    auto a = std::make_unique<LogForm>("weathers", log);
    a->Show();
    int clicks = 0, answer = 0;
    a->Command1->Click = [&](int) {
        if (++clicks == 1) throw ui::RtError(53, "File not found");
        answer = ui::MsgBox("Save the project?", ui::vbYesNo, "Exit");  // a box in a click is scripted
    };
    ui::Script script;
    script.answer(ui::vbOK).answer(ui::vbNo);
    mouseClick(a->Command1);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].text, "Error 53 in weathers\r\nFile not found");
    EXPECT_FALSE(plat::Application::instance()->endRequested());
    mouseClick(a->Command1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(answer, ui::vbNo);
    EXPECT_EQ(script.shown().back().title, "Exit");
}

}  // namespace
