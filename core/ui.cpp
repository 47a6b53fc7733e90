// Dispatch of message boxes, the input box, sounds and the busy pointer to
// the installed backend. Without one (tools, tests without a script) boxes
// are written to stderr and answered with their first button, so nothing
// ever waits for a user who is not there.
#include "core/ui.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace ui {

namespace {

Backend& current() {
    static Backend b;
    return b;
}

int busyNesting = 0;
int scriptDepth = 0;
int progressNesting = 0;
bool progressCancelled = false;

std::function<void(const Shown&)>& unscripted() {
    static std::function<void(const Shown&)> hook;
    return hook;
}

void reportUnscripted(const char* kind, const std::string& title, const std::string& text, int style) {
    if (scriptDepth == 0 && unscripted()) unscripted()(Shown{kind, title, text, style});
}

// The first button of a message box style: what Enter on an undecorated
// box would press.
int firstButton(int style) {
    switch (style & 7) {
        case vbAbortRetryIgnore: return vbAbort;
        case vbYesNoCancel:
        case vbYesNo: return vbYes;
        case vbRetryCancel: return vbRetry;
        default: return vbOK;  // OK, OK/Cancel
    }
}

// The button Enter presses, as the platform's box sets it: the second or
// third button when the style names it the default (vbDefaultButton2,
// vbDefaultButton3) and the box has one, else the first.
int defaultButton(int style) {
    std::vector<int> buttons;
    switch (style & 7) {
        case vbOKCancel: buttons = {vbOK, vbCancel}; break;
        case vbAbortRetryIgnore: buttons = {vbAbort, vbRetry, vbIgnore}; break;
        case vbYesNoCancel: buttons = {vbYes, vbNo, vbCancel}; break;
        case vbYesNo: buttons = {vbYes, vbNo}; break;
        case vbRetryCancel: buttons = {vbRetry, vbCancel}; break;
        default: buttons = {vbOK}; break;
    }
    const size_t i = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    return i < buttons.size() ? buttons[i] : buttons[0];
}

// Queued in place of an answer by Script::enter().
constexpr int kEnter = 0;

const char* buttonsOf(int style) {
    switch (style & 7) {
        case vbOKCancel: return "OK/Cancel";
        case vbAbortRetryIgnore: return "Abort/Retry/Ignore";
        case vbYesNoCancel: return "Yes/No/Cancel";
        case vbYesNo: return "Yes/No";
        case vbRetryCancel: return "Retry/Cancel";
        default: return "OK";
    }
}

}  // namespace

Backend install(Backend b) {
    Backend& cur = current();
    // A busy pointer that is up moves over to the new backend, so the old
    // one is not left showing it and the new one is told to restore it.
    if (busyNesting > 0) {
        if (cur.setBusy) cur.setBusy(false);
        if (b.setBusy) b.setBusy(true);
    }
    return std::exchange(cur, std::move(b));
}

void onUnscriptedBox(std::function<void(const Shown&)> hook) { unscripted() = std::move(hook); }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    reportUnscripted("msgbox", title, prompt, style);
    const Backend& b = current();
    if (b.msgBox) return b.msgBox(prompt, style, title);
    const int answer = firstButton(style);
    std::fprintf(stderr, "[message box] %s: %s [%s] -> %d\n", title.c_str(), prompt.c_str(), buttonsOf(style), answer);
    return answer;
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& deflt) {
    reportUnscripted("inputbox", title, prompt, 0);
    const Backend& b = current();
    if (b.inputBox) return b.inputBox(prompt, title, deflt);
    std::fprintf(stderr, "[input box] %s: %s -> \"%s\"\n", title.c_str(), prompt.c_str(), deflt.c_str());
    return deflt;
}

void WarningSound(bool wait) {
    const Backend& b = current();
    if (b.warningSound) b.warningSound(wait);
}

void Beep() {
    const Backend& b = current();
    if (b.beep) b.beep();
}

BusyPointer::BusyPointer() {
    if (busyNesting++ == 0) {
        try {
            if (current().setBusy) current().setBusy(true);
        } catch (...) {
            --busyNesting;  // the destructor will not run
            throw;
        }
    }
}

BusyPointer::~BusyPointer() {
    if (--busyNesting == 0) {
        try {
            if (current().setBusy) current().setBusy(false);
        } catch (...) {
            // A destructor must not throw; the pointer is the lesser evil.
        }
    }
}

Progress::Progress(const std::string& text) {
    if (progressNesting++ > 0) return;
    progressCancelled = false;
    if (current().progressBegin) current().progressBegin(text);
}

Progress::~Progress() {
    if (--progressNesting > 0) return;
    progressCancelled = false;
    try {
        if (current().progressEnd) current().progressEnd();
    } catch (...) {
        // A destructor must not throw; the window goes with the program.
    }
}

bool cancelRequested() {
    if (progressNesting == 0) return false;
    if (!progressCancelled && current().progressPoll) progressCancelled = current().progressPoll();
    return progressCancelled;
}

void EndProgram() { throw ProgramEnd{}; }

std::string ErrorText(int number) {
    switch (number) {
        case 5: return "Invalid procedure call or argument";
        case 6: return "Overflow";
        case 7: return "Out of memory";
        case 9: return "Subscript out of range";
        case 11: return "Division by zero";
        case 13: return "Type mismatch";
        case 25: return "Device timeout";
        case 52: return "Bad file name or number";
        case 53: return "File not found";
        case 54: return "Bad file mode";
        case 55: return "File already open";
        case 57: return "Device I/O error";
        case 58: return "File already exists";
        case 61: return "Disk full";
        case 62: return "Input past end of file";
        case 63: return "Bad record number";
        case 68: return "Device unavailable";
        case 70: return "Permission denied";
        case 71: return "Disk not ready";
        case 75: return "Path/File access error";
        case 76: return "Path not found";
        case 91: return "Object variable or With block variable not set";
        case 429: return "ActiveX component can't create object";
        case 482: return "Printer error";
        case 5152: return "This is not a valid file name.";
        default: return "Application-defined or object-defined error";
    }
}

// ------------------------------------------------------------ Script -------

Script::Script() {
    ++scriptDepth;
    Backend b;
    b.msgBox = [this](const std::string& prompt, int style, const std::string& title) {
        Shown s{"msgbox", title, prompt, style};
        shown_.push_back(s);
        if (!answers_.empty()) {
            const int a = answers_.front();
            answers_.pop_front();
            return a == kEnter ? defaultButton(style) : a;
        }
        unexpected_.push_back(std::move(s));
        return firstButton(style);
    };
    b.inputBox = [this](const std::string& prompt, const std::string& title, const std::string& deflt) {
        Shown s{"inputbox", title, prompt, 0};
        shown_.push_back(s);
        if (!texts_.empty()) {
            std::string t = std::move(texts_.front());
            texts_.pop_front();
            return t;
        }
        unexpected_.push_back(std::move(s));
        return deflt;  // OK pressed on the default text
    };
    b.warningSound = [this](bool) { ++sounds_; };
    b.beep = [this] { ++beeps_; };
    b.setBusy = [this](bool busy) {
        if (busy) ++busy_;
        else if (busy_ > 0) --busy_;
    };
    b.progressBegin = [this](const std::string& text) { progress_.push_back(text); };
    b.progressPoll = [this] {
        if (!cancelWhen_ || !cancelWhen_()) return false;
        cancelWhen_ = nullptr;  // one press
        return true;
    };
    previous_ = install(std::move(b));
}

Script::~Script() {
    install(std::move(previous_));
    --scriptDepth;
}

Script& Script::answer(int button) {
    answers_.push_back(button);
    return *this;
}

Script& Script::enter() { return answer(kEnter); }

Script& Script::type(const std::string& text) {
    texts_.push_back(text);
    return *this;
}

Script& Script::cancelWhen(std::function<bool()> now) {
    cancelWhen_ = std::move(now);
    return *this;
}

void Script::clear() {
    answers_.clear();
    texts_.clear();
    shown_.clear();
    unexpected_.clear();
    progress_.clear();
    beeps_ = 0;
    sounds_ = 0;
}

}  // namespace ui
