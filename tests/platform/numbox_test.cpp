// The typing rules of a numeric box, as a dealer meets them in every window.
#include "platform/numbox.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/support/keys.h"
#include "tests/support/qt_app.h"

namespace {

class NumBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensure_app();
        box = std::make_unique<plat::NumBox>(nullptr, 4);
        box->Refused = [this] { ++refused; };
        box->Change = [this](int i) {
            EXPECT_EQ(i, 4);
            ++changes;
        };
        box->SetText("450");
        changes = 0;
    }
    void focus(Qt::FocusReason why) { testkeys::focus(box.get(), QEvent::FocusIn, why); }
    void leave() { testkeys::leave(box.get()); }
    void type(const QString& keys) { testkeys::type(box.get(), keys); }

    std::unique_ptr<plat::NumBox> box;
    int refused = 0;
    int changes = 0;
};

TEST_F(NumBoxTest, OnlyDigitsEditKeysAndOnePointPass) {
    focus(Qt::TabFocusReason);
    type("12.5");
    EXPECT_EQ(box->text(), "12.5");
    type("a-.,\x1b");  // a letter, a sign, a second point, a comma: refused; Esc dropped silently
    EXPECT_EQ(box->text(), "12.5");
    EXPECT_EQ(refused, 4);
    type("\b<\x7f");  // Backspace, then Delete at the start
    EXPECT_EQ(box->text(), "2.");
    EXPECT_EQ(refused, 4);
    // A point may replace the one inside a whole selected text.
    box->SetText("3.5");
    box->selectAll();
    type(".7");
    EXPECT_EQ(box->text(), ".7");
    // A lone 0 is replaced by a digit wherever the cursor stands.
    box->SetText("0");
    box->setCursorPosition(0);
    type("12");
    EXPECT_EQ(box->text(), "12");
    // A paste replaces a selected text, and a lone 0 before which it lands;
    // a spreadsheet cell's line break and blanks around it are dropped.
    for (const char* clip : {"1,200", " 1,200\t\r\n"}) {
        QApplication::clipboard()->setText(clip);
        for (int selected : {1, 0}) {
            box->SetText(selected ? "1,200" : "0");
            box->setCursorPosition(0);
            if (selected) box->selectAll();
            box->paste();
            EXPECT_EQ(box->text(), "1,200") << selected << clip;  // never 1,2000
        }
    }
    EXPECT_EQ(refused, 4);
}

TEST_F(NumBoxTest, FirstKeyAfterTheFocusReplacesTheText) {
    for (Qt::FocusReason why : {Qt::TabFocusReason, Qt::MouseFocusReason, Qt::ActiveWindowFocusReason}) {
        box->SetText("450");
        focus(why);  // by Tab, by a click, and back from a message box
        type("6");
        EXPECT_EQ(box->text(), "6") << why;
        type("0");  // later keys edit as usual
        EXPECT_EQ(box->text(), "60") << why;
        leave();
    }
    // A refused first key leaves the next one still replacing.
    box->SetText("450");
    focus(Qt::TabFocusReason);
    type("x7");
    EXPECT_EQ(box->text(), "7");
    leave();
    leave();
    // The box's own context menu closing is no new focus.
    box->SetText("450");
    box->setCursorPosition(3);
    focus(Qt::PopupFocusReason);
    type("1");
    EXPECT_EQ(box->text(), "4501");
}

// Whatever the dealer does in the box between the focus and the first key,
// the first key starts the figure afresh: "$1,200.00" and 900 is 900, never
// 9001,200.00 or $1,200.009.
TEST_F(NumBoxTest, NoClickSelectionOrCursorKeyBeforeTheFirstKeyKeepsTheOldFigure) {
    const QPoint inside(12, 5);  // over the text, between two of its digits
    const struct {
        const char* what;
        Qt::FocusReason why;
        std::function<void(plat::NumBox*)> then;
    } cases[] = {
        {"Tab, then a click inside", Qt::TabFocusReason,
         [&](plat::NumBox* b) { QTest::mouseClick(b, Qt::LeftButton, {}, inside); }},
        {"Tab, then End", Qt::TabFocusReason, [](plat::NumBox* b) { testkeys::type(b, ">"); }},
        {"Tab, then Home and a right arrow", Qt::TabFocusReason,
         [](plat::NumBox* b) {
             testkeys::type(b, "<");
             QTest::keyClick(b, Qt::Key_Right);
         }},
        {"a click, then a double-click on part", Qt::MouseFocusReason,
         [&](plat::NumBox* b) {
             QTest::mouseClick(b, Qt::LeftButton, {}, inside);
             QTest::mouseDClick(b, Qt::LeftButton, {}, inside);
             EXPECT_NE(b->selectedText(), b->text());  // only part is selected
         }},
    };
    box->resize(120, 24);
    for (const auto& c : cases) {
        box->SetText("1,200.00");
        focus(c.why);
        c.then(box.get());
        type("900");
        EXPECT_EQ(box->text().toStdString(), "900") << c.what;
        leave();
    }
    // A paste as the first key takes the whole box, and the keys after it
    // edit the pasted figure.
    QApplication::clipboard()->setText("1,200");
    focus(Qt::TabFocusReason);
    QTest::keyClick(box.get(), Qt::Key_V, Qt::ControlModifier);
    type("5");
    EXPECT_EQ(box->text().toStdString(), "1,2005");
}

// A window that opens with the focus in a number box opens with its text
// selected, as a Tab into it gives, whatever the box's rule for the first
// key: 10 typed at once is 10, never 0.0010. A click before the first key
// follows the box's own rule: the figure afresh, or the key where it lands.
TEST_F(NumBoxTest, AWindowOpeningInTheBoxSelectsItsText) {
    class OneBox : public plat::Form {
    public:
        explicit OneBox(bool replaces) : plat::Form("OneBox"), replaces_(replaces) {}
        plat::NumBox* box = nullptr;

    protected:
        void build() override {
            box = new plat::NumBox(this);
            box->SetFirstKeyReplaces(replaces_);
            place(box, 120, 120, 1800, 300);
        }
        void Form_Load() override { box->SetText("0.00"); }

    private:
        bool replaces_;
    };
    // The program's window active, as a dealer's is when a window opens:
    // a top-level window an earlier test left active would keep the focus.
    plat::MainWindow::instance()->show();
    plat::MainWindow::instance()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(plat::MainWindow::instance()));
    for (const bool replaces : {true, false}) {
        for (const bool click : {false, true}) {
            SCOPED_TRACE(std::to_string(replaces) + std::to_string(click));
            OneBox w(replaces);
            w.Show();
            QApplication::processEvents();
            ASSERT_TRUE(w.box->hasFocus());
            EXPECT_EQ(w.box->selectedText(), "0.00");
            if (click) QTest::mouseClick(w.box, Qt::LeftButton, {}, QPoint(w.box->width() - 4, 5));  // past the text
            testkeys::type(w.box, "10");
            EXPECT_EQ(w.box->text().toStdString(), replaces || !click ? "10" : "0.0010");
            w.Unload();
        }
    }
}

TEST_F(NumBoxTest, APastedTextThatIsNoNumberGivesTheLastGoodTextBack) {
    box->SetText("$1,200");  // pasted money is a number
    EXPECT_EQ(changes, 1);
    box->SetText("12 apples");
    EXPECT_EQ(box->text(), "$1,200");
    EXPECT_EQ(box->LastGood(), "$1,200");
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(changes, 1);  // nothing runs for the refused text nor for the restored one
    box->SetText("");       // an empty box stands for 0
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(refused, 1);
}

}  // namespace
