#include "platform/ui_qt.h"

#include "core/recfile.h"
#include "core/ui.h"
#include "platform/form.h"

#include <QApplication>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMediaDevices>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QSoundEffect>
#include <QSpacerItem>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace plat {

namespace {

bool headless() {
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

QString qs(const std::string& s) {
    QString t = QString::fromStdString(s);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));  // a carriage return alone breaks the line too
    return t;
}

QWidget* dialogParent() {
    if (QWidget* w = QApplication::activeWindow()) return w;
    return nullptr;
}

QString boxTitle(const std::string& title) {
    return title.empty() ? QGuiApplication::applicationDisplayName() : qs(title);
}

struct Button {
    QMessageBox::StandardButton qt;
    int answer;
};

// The buttons of a style, left to right.
std::vector<Button> buttonsOf(int style) {
    using B = QMessageBox;
    switch (style & 7) {
        case ui::vbOKCancel: return {{B::Ok, ui::vbOK}, {B::Cancel, ui::vbCancel}};
        case ui::vbAbortRetryIgnore:
            return {{B::Abort, ui::vbAbort}, {B::Retry, ui::vbRetry}, {B::Ignore, ui::vbIgnore}};
        case ui::vbYesNoCancel: return {{B::Yes, ui::vbYes}, {B::No, ui::vbNo}, {B::Cancel, ui::vbCancel}};
        case ui::vbYesNo: return {{B::Yes, ui::vbYes}, {B::No, ui::vbNo}};
        case ui::vbRetryCancel: return {{B::Retry, ui::vbRetry}, {B::Cancel, ui::vbCancel}};
        default: return {{B::Ok, ui::vbOK}};
    }
}

size_t defaultIndex(int style, size_t count) {
    size_t i = 0;
    if (style & ui::vbDefaultButton3) i = 2;
    else if (style & ui::vbDefaultButton2) i = 1;
    return i < count ? i : 0;
}

// The answer when the box is closed without a button (Esc, the close box,
// or the program ending): Cancel where there is one, so that no retry loop
// runs on and nothing is confirmed by accident.
int closedAnswer(int style) {
    switch (style & 7) {
        case ui::vbOKCancel:
        case ui::vbYesNoCancel:
        case ui::vbRetryCancel: return ui::vbCancel;
        case ui::vbAbortRetryIgnore: return ui::vbAbort;
        case ui::vbYesNo: return ui::vbNo;
        default: return ui::vbOK;
    }
}

// What a desktop's window manager may take of a title bar besides the
// title: the icon and three buttons of 46 pixels, the widest in common use.
constexpr int kDesktopTitleBar = 32 + 3 * 46;

// A title bar's width for this title: the title in the title bar's font and
// what the style's, or a desktop's, title bar with every button takes besides.
int titleBarWidth(const QWidget* w, const QString& title) {
    QStyleOptionTitleBar o;
    o.initFrom(w);
    o.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                      Qt::WindowCloseButtonHint;
    o.subControls = QStyle::SC_All;
    const int wide = 1000;
    o.rect = QRect(0, 0, wide, w->style()->pixelMetric(QStyle::PM_TitleBarHeight, &o, w));
    const int label = w->style()->subControlRect(QStyle::CC_TitleBar, &o, QStyle::SC_TitleBarLabel, w).width();
    const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
    return fm.horizontalAdvance(title) + std::max(wide - label, kDesktopTitleBar) + 8;
}

int qtMsgBox(const std::string& prompt, int style, const std::string& title) {
    const auto buttons = buttonsOf(style);
    const size_t def = defaultIndex(style, buttons.size());
    if (headless()) {
        std::fprintf(stderr, "[message box] %s: %s -> %d\n", title.c_str(), prompt.c_str(), buttons[def].answer);
        return buttons[def].answer;
    }
    const auto box = messageBox(prompt, style, title);
    const int r = box->exec();
    for (const auto& b : buttons)
        if (r == b.qt) return b.answer;
    return closedAnswer(style);
}

std::string qtInputBox(const std::string& prompt, const std::string& title, const std::string& deflt) {
    if (headless()) {
        std::fprintf(stderr, "[input box] %s: %s -> \"%s\"\n", title.c_str(), prompt.c_str(), deflt.c_str());
        return deflt;
    }
    bool ok = false;
    const QString t = QInputDialog::getText(dialogParent(), boxTitle(title), qs(prompt), QLineEdit::Normal,
                                            QString::fromStdString(deflt), &ok);
    return ok ? t.toStdString() : std::string();
}

// ------------------------------------------------------------- sound -------

QSoundEffect* warningEffect() {
    static QSoundEffect* effect = nullptr;
    if (!effect) {
        const QString path = warningWavPath();
        if (path.isEmpty()) return nullptr;
        effect = new QSoundEffect(qApp);
        effect->setSource(QUrl::fromLocalFile(path));
        effect->setVolume(0.8f);
    }
    return effect;
}

void qtWarningSound(bool wait) {
    if (headless() || QMediaDevices::audioOutputs().isEmpty()) return;
    QSoundEffect* fx = warningEffect();
    if (!fx) return;
    if (!wait) {
        fx->play();
        return;
    }
    // Play to the end (loading first if need be), 2 s at most; keys and
    // clicks wait meanwhile, as they would for a sound that blocks.
    QEventLoop loop;
    bool started = false;
    auto c1 = QObject::connect(fx, &QSoundEffect::playingChanged, &loop, [&] {
        if (fx->isPlaying()) started = true;
        else if (started) loop.quit();
    });
    auto c2 = QObject::connect(fx, &QSoundEffect::statusChanged, &loop, [&] {
        if (fx->status() == QSoundEffect::Error) loop.quit();
    });
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    fx->play();
    if (fx->status() != QSoundEffect::Error) loop.exec(QEventLoop::ExcludeUserInputEvents);
    QObject::disconnect(c1);
    QObject::disconnect(c2);
}

// ------------------------------------------------------------ progress ----

// The window of long work: up once the work has taken a second (quicker
// work shows none), modal, a moving bar and Cancel.
constexpr int kProgressDelayMs = 1000;

struct ProgressWindow {
    QElapsedTimer clock;
    QString text;
    std::unique_ptr<QProgressDialog> dialog;
};

ProgressWindow& progressWindow() {
    static ProgressWindow p;
    return p;
}

void qtProgressBegin(const std::string& text) {
    ProgressWindow& p = progressWindow();
    p.dialog.reset();
    p.text = qs(text);
    p.clock.start();
}

bool qtProgressPoll() {
    ProgressWindow& p = progressWindow();
    if (!p.dialog && p.clock.isValid() && p.clock.elapsed() >= kProgressDelayMs) {
        p.dialog = std::make_unique<QProgressDialog>(p.text, QStringLiteral("Cancel"), 0, 0, dialogParent());
        p.dialog->setWindowTitle(QGuiApplication::applicationDisplayName());
        p.dialog->setWindowModality(Qt::ApplicationModal);
        p.dialog->setAutoReset(false);
        p.dialog->setAutoClose(false);
        p.dialog->setMinimumDuration(0);
        p.dialog->show();
        // The busy pointer is up for the whole printout; over Cancel it is
        // the arrow, until the window goes.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    if (!p.dialog) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return p.dialog->wasCanceled();
}

void qtProgressEnd() {
    ProgressWindow& p = progressWindow();
    if (p.dialog) QApplication::restoreOverrideCursor();
    p.dialog.reset();
    p.clock.invalidate();
}

}  // namespace

bool writeWarningWav(const QString& path) {
    constexpr int rate = 22050;
    constexpr int samples = rate / 4;      // 0.25 s
    constexpr int fade = rate * 5 / 1000;  // 5 ms
    constexpr double freq = 880.0;
    constexpr double amplitude = 0.5 * 32767;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    for (int i = 0; i < samples; ++i) {
        double env = 1.0;
        if (i < fade) env = double(i) / fade;
        else if (i >= samples - fade) env = double(samples - 1 - i) / fade;
        const double v = amplitude * env * std::sin(2.0 * std::numbers::pi * freq * i / rate);
        const auto s = static_cast<qint16>(std::lround(v));
        pcm.append(char(s & 0xff));
        pcm.append(char((s >> 8) & 0xff));
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = quint32(pcm.size());
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVE", 4);
    out.writeRawData("fmt ", 4);
    out << quint32(16) << quint16(1) /* PCM */ << quint16(1) /* mono */ << quint32(rate)
        << quint32(rate * 2) /* bytes per second */ << quint16(2) /* block align */ << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    out.writeRawData(pcm.constData(), int(pcm.size()));
    return out.status() == QDataStream::Ok && f.commit();
}

std::unique_ptr<QMessageBox> messageBox(const std::string& prompt, int style, const std::string& title) {
    const auto buttons = buttonsOf(style);
    auto box = std::make_unique<QMessageBox>(dialogParent());
    box->setWindowTitle(boxTitle(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(qs(prompt));
    switch (style & 0x70) {
        case ui::vbCritical: box->setIcon(QMessageBox::Critical); break;
        case ui::vbQuestion: box->setIcon(QMessageBox::Question); break;
        case ui::vbExclamation: box->setIcon(QMessageBox::Warning); break;
        case ui::vbInformation: box->setIcon(QMessageBox::Information); break;
        default: break;
    }
    QMessageBox::StandardButtons set;
    for (const auto& b : buttons) set |= b.qt;
    box->setStandardButtons(set);
    box->setDefaultButton(buttons[defaultIndex(style, buttons.size())].qt);
    if ((style & 7) == ui::vbOKOnly) box->setEscapeButton(QMessageBox::Ok);
    // A message box is as wide as its text; a short text would cut a longer
    // title ("P..." for "Please"). A spacer as wide as the title bar needs
    // across the box's grid keeps the title whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        grid->addItem(new QSpacerItem(titleBarWidth(box.get(), box->windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    return box;
}

QString warningWavPath() {
    static std::unique_ptr<QTemporaryDir> tmp;
    if (!tmp) tmp = std::make_unique<QTemporaryDir>();
    if (!tmp->isValid()) return {};
    const QString copy = tmp->filePath(QStringLiteral("warning.wav"));
    if (QFileInfo(copy).isFile()) return copy;
    // The sound in the program folder is read as every file there is (a
    // regular file, without waiting, its size checked) and played from a
    // private copy; when it is missing or unreadable it is made afresh (and
    // put in the program folder for the next start when it is missing).
    const QString inProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("warning.wav"));
    constexpr std::uint64_t kMaxWavBytes = 1u << 20;  // a short beep is a few KiB
    std::string bytes;
    if (rec::readFile(inProgram.toStdString(), bytes, kMaxWavBytes)) {
        QSaveFile f(copy);
        const auto size = static_cast<qint64>(bytes.size());
        return f.open(QIODevice::WriteOnly) && f.write(bytes.data(), size) == size && f.commit() ? copy : QString();
    }
    if (!QFileInfo::exists(inProgram)) writeWarningWav(inProgram);
    return writeWarningWav(copy) ? copy : QString();
}

void installQtBackend() {
    ui::Backend b;
    b.msgBox = qtMsgBox;
    b.inputBox = qtInputBox;
    b.warningSound = qtWarningSound;
    b.beep = [] { QApplication::beep(); };
    b.setBusy = [](bool busy) {
        if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
        else if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    };
    b.progressBegin = qtProgressBegin;
    b.progressPoll = qtProgressPoll;
    b.progressEnd = qtProgressEnd;
    ui::install(std::move(b));
}

}  // namespace plat
