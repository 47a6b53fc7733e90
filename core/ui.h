// The program's few ways of speaking to the user that calculation code needs:
// message boxes, the input box, the warning sound, the busy pointer and
// ending the program. Calculation and file code calls these; the windowing
// layer installs the real implementations at start-up. Tests install a
// script instead (see ui::Script), so no test ever blocks on a dialog.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

// Message box styles and answers, with the values the program has always
// used for them.
enum Style : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};
enum Answer : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Shows a message box; returns the button pressed.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "");
// Shows the input box; returns the text typed, "" on Cancel.
std::string InputBox(const std::string& prompt, const std::string& title = "", const std::string& deflt = "");
// The short warning sound; when `wait` it plays to its end first.
void WarningSound(bool wait);
// A plain beep.
void Beep();

// Busy (hourglass) pointer for the lifetime of the guard, restored on every
// path out of the scope, exceptions included.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Long work the dealer may stop (LibreOffice, the printer command): while a
// Progress lives, the platform shows a small window with `text` and a Cancel
// button once the work has taken about a second, so quick work shows
// nothing. The work asks cancelRequested() every few tens of milliseconds;
// that also lets the window answer. Nested ones share the outer window.
class Progress {
public:
    explicit Progress(const std::string& text);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
};
// True once the dealer has pressed Cancel on the running Progress (false
// when none runs).
bool cancelRequested();
// Thrown by work that stopped, and cleaned up, because the dealer cancelled.
struct Cancelled : std::exception {
    const char* what() const noexcept override { return "cancelled"; }
};

// Thrown by EndProgram() when the program is told to end; the application's
// event loop catches it and quits. Tests catch it to prove the path.
struct ProgramEnd : std::exception {
    const char* what() const noexcept override { return "program ended"; }
};
[[noreturn]] void EndProgram();

// A run-time error with the numbers the program's handlers report:
// 5 invalid call, 6 overflow, 11 division by zero, 25 device time-out,
// 52 bad file name, 53 file not found, 55 file already open, 57 device I/O,
// 62 input past end of file, 70 permission denied, 75 path/file access,
// 76 path not found, 429 cannot create object, 482 printer error (one that
// is not installed), 1004 application failure,
// 5152 a picture the document cannot use.
struct RtError : std::runtime_error {
    int number;
    RtError(int n, const std::string& description) : std::runtime_error(description), number(n) {}
    std::string description() const { return what(); }
};
// The standard description of an error number ("File not found" for 53 ...).
std::string ErrorText(int number);

// ---- implementation hooks -------------------------------------------------
struct Backend {
    std::function<int(const std::string&, int, const std::string&)> msgBox;
    std::function<std::string(const std::string&, const std::string&, const std::string&)> inputBox;
    std::function<void(bool)> warningSound;
    std::function<void()> beep;
    std::function<void(bool busy)> setBusy;
    // The progress window: shown from begin (after about a second) to end;
    // poll answers whether Cancel was pressed.
    std::function<void(const std::string& text)> progressBegin;
    std::function<bool()> progressPoll;
    std::function<void()> progressEnd;
};
// Installs a backend; returns the previous one.
Backend install(Backend b);

// One box as it was shown.
struct Shown {
    std::string kind;  // "msgbox" or "inputbox"
    std::string title;
    std::string text;
    int style = 0;
};

// Test seam: while a Script is alive every box is recorded and answered from
// the queue in order. A box with no answer left is recorded as unexpected and
// answered with the box's first button (OK / Yes / Retry / Abort) so the
// code under test runs on; the test then fails on unexpected().
class Script {
public:
    Script();
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    Script& answer(int button);             // next message box
    Script& enter();                        // next message box: Enter, which presses its default button
    Script& type(const std::string& text);  // next input box
    // The dealer presses Cancel on the progress window at the first look
    // at it at which `now` is true (once).
    Script& cancelWhen(std::function<bool()> now);
    // The texts of the progress windows begun.
    const std::vector<std::string>& progress() const { return progress_; }
    const std::vector<Shown>& shown() const { return shown_; }
    // Boxes shown that had no scripted answer.
    const std::vector<Shown>& unexpected() const { return unexpected_; }
    int beeps() const { return beeps_; }
    int sounds() const { return sounds_; }
    int busyDepth() const { return busy_; }
    void clear();

private:
    Backend previous_;
    std::deque<int> answers_;
    std::deque<std::string> texts_;
    std::vector<Shown> shown_;
    std::vector<Shown> unexpected_;
    std::vector<std::string> progress_;
    std::function<bool()> cancelWhen_;
    int beeps_ = 0;
    int sounds_ = 0;
    int busy_ = 0;
};

// Called for every box shown while no Script is alive. The test programs set
// it to fail the running test, so a box no test expected can never pass
// unnoticed; the program itself leaves it empty.
void onUnscriptedBox(std::function<void(const Shown&)> hook);

}  // namespace ui
