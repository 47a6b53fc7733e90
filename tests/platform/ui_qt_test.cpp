// The Qt side of the ui functions: busy pointer, boxes without a screen and
// the warning sound's file.
#include "platform/ui_qt.h"
#include "core/ui.h"
#include "tests/support/box_guard.h"
#include "tests/support/data_dir.h"
#include "tests/support/qt_app.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QtEndian>

#include <gtest/gtest.h>

#include <unistd.h>

#include <stdexcept>

namespace {

class QtBackend : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::ensure_app(); }
};

TEST_F(QtBackend, BusyPointerIsRestoredOnEveryPath) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_THROW(
        {
            ui::BusyPointer busy;
            {
                ui::BusyPointer nested;
                ASSERT_NE(QApplication::overrideCursor(), nullptr);
                EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            }
            ASSERT_NE(QApplication::overrideCursor(), nullptr);
            throw ui::RtError(25, "Device timeout");
        },
        ui::RtError);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtBackend, BoxesNeverWaitWithoutAScreen) {
    AllowUnscriptedBoxes allow;
    // Offscreen, a box is answered with its default button at once.
    EXPECT_EQ(ui::MsgBox("Numbers only", ui::vbOKOnly, "Please"), ui::vbOK);
    EXPECT_EQ(ui::MsgBox("Save?", ui::vbYesNo | ui::vbQuestion), ui::vbYes);
    EXPECT_EQ(ui::MsgBox("Save?", ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2), ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Save?", ui::vbYesNoCancel | ui::vbDefaultButton3), ui::vbCancel);
    EXPECT_EQ(ui::MsgBox("Paper?", ui::vbAbortRetryIgnore | ui::vbDefaultButton2), ui::vbRetry);
    EXPECT_EQ(ui::InputBox("Code", "Access", "1234"), "1234");
    ui::WarningSound(true);  // silent, and returns
    ui::Beep();
}

TEST_F(QtBackend, LongWorkShowsAProgressWindowWhoseCancelIsHeard) {
    auto window = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<QProgressDialog*>(w)) return p;
        return static_cast<QProgressDialog*>(nullptr);
    };
    {
        ui::Progress work("Printing Audit...");
        ::usleep(1100 * 1000);  // past the second after which it shows
        EXPECT_FALSE(ui::cancelRequested());
        QProgressDialog* p = window();
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(p->isVisible());
        EXPECT_EQ(p->labelText(), "Printing Audit...");
        ASSERT_NE(p->findChild<QPushButton*>(), nullptr);
        p->findChild<QPushButton*>()->click();
        EXPECT_TRUE(ui::cancelRequested());
    }
    EXPECT_EQ(window(), nullptr);
    EXPECT_FALSE(ui::cancelRequested());
}

// Qt's runtime and cache folders are private folders of the test program in
// the temporary folder, removed when it ends: without XDG_RUNTIME_DIR, Qt
// would make runtime-<user> there and leave it behind.
TEST_F(QtBackend, RuntimeAndCacheFoldersAreTheTestProgramsOwn) {
    const QFileInfo runtime(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    const QFileInfo cache(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    const QString own = QFileInfo(QDir::tempPath()).canonicalFilePath() + "/heater-test-";
    for (const QFileInfo& dir : {runtime, cache}) {
        EXPECT_TRUE(dir.canonicalPath().startsWith(own)) << dir.filePath().toStdString();
        EXPECT_EQ(dir.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                       QFile::WriteOther | QFile::ExeOther),
                  QFile::Permissions{})
            << dir.filePath().toStdString();
    }
}

TEST_F(QtBackend, WarningWavIsAValidPcmFile) {
    testsupport::TempDataDir dir{"heater-wav"};
    const QString path = QString::fromStdString(dir.file("w.wav"));
    ASSERT_TRUE(plat::writeWarningWav(path));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray d = f.readAll();
    ASSERT_GE(d.size(), 44);
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(d.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(d.constData() + at); };
    EXPECT_EQ(d.left(4), "RIFF");
    EXPECT_EQ(d.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(4), quint32(d.size() - 8));
    EXPECT_EQ(u16(20), 1);       // PCM
    EXPECT_EQ(u16(22), 1);       // mono
    EXPECT_EQ(u32(24), 22050u);  // samples per second
    EXPECT_EQ(u16(34), 16);      // bits per sample
    EXPECT_EQ(d.mid(36, 4), "data");
    EXPECT_EQ(u32(40), 22050u / 4 * 2);  // a quarter second of 2-byte samples
    EXPECT_EQ(u32(40), quint32(d.size() - 44));

    // Starts and ends silent (no click), loud in between.
    auto sample = [&](int i) { return qFromLittleEndian<qint16>(d.constData() + 44 + 2 * i); };
    EXPECT_EQ(sample(0), 0);
    EXPECT_EQ(sample(22050 / 4 - 1), 0);
    int peak = 0;
    for (int i = 0; i < 22050 / 4; ++i) peak = std::max(peak, std::abs(int(sample(i))));
    EXPECT_GT(peak, 10000);

    EXPECT_FALSE(plat::writeWarningWav(QString::fromStdString(dir.file("missing/dir/w.wav"))));
    EXPECT_FALSE(plat::warningWavPath().isEmpty());
}

}  // namespace
