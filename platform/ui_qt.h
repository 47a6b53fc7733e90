// The real screen behind ui::MsgBox, ui::InputBox, the sounds, the busy
// pointer and the progress window (core/ui.h): Qt dialogs, QApplication's
// beep and override cursor, the warning sound through Qt Multimedia, and a
// QProgressDialog with Cancel for long work.
#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>
#include <string>

namespace plat {

// Installs the Qt implementations as the ui backend. Needs a QApplication.
// Without a window system (QT_QPA_PLATFORM=offscreen or minimal) no dialog
// can be answered: boxes are then written to stderr and answered with their
// default button, the input box with its default text, and sounds are
// silent.
void installQtBackend();

// The message box ui::MsgBox shows, built but not shown: title, text,
// icon and buttons of the style, at least as wide as its title needs in a
// title bar with the window's buttons.
std::unique_ptr<QMessageBox> messageBox(const std::string& prompt, int style, const std::string& title);

// Writes the warning sound: a 0.25 s 880 Hz tone, 16-bit mono PCM WAV at
// 22050 samples per second, with 5 ms fades so it does not click. Returns
// false when the file cannot be written.
bool writeWarningWav(const QString& path);

// The warning sound's file: "warning.wav" in the program folder, written
// there at first use when missing, or into a temporary folder when the
// program folder is read-only. Empty when neither can be written.
QString warningWavPath();

}  // namespace plat
