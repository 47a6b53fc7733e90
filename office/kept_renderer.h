// The kept renderer (see office/render.h): one LibreOffice started in the
// background with a private profile, driven through its UNO API by a small
// python3-uno helper that talks to it over a named pipe and to us over a
// socket pair. Used by office/render.cpp alone; no Qt.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>

namespace office {

using Clock = std::chrono::steady_clock;

// Milliseconds left until `t`, at most `cap`, at least 0.
int msLeft(Clock::time_point t, int cap);

// How long the helper may take to have LibreOffice ready, in milliseconds
// (a first start on a new profile takes a few seconds).
constexpr int kKeptStartMs = 30000;

class ProfileLease;

class KeptRenderer {
public:
    KeptRenderer();
    ~KeptRenderer();
    KeptRenderer(const KeptRenderer&) = delete;
    KeptRenderer& operator=(const KeptRenderer&) = delete;

    bool running() const { return pid_ > 0; }
    int group() const { return pid_; }

    // Starts the helper (returns at once); false when it cannot be started.
    bool start();
    // Ends the helper and its LibreOffice: asked to quit first when `ask`
    // and it is idle, else (hanging, cancelled, failed) killed at once.
    void stop(bool ask = true);
    // One conversion, given up at `deadline` and after `capMs` at most.
    // Returns true when done; false when the renderer failed as a renderer
    // (died, hung, never started) - it is then stopped. A file LibreOffice
    // refuses gives true with `refused` set. Throws ui::Cancelled (the
    // renderer stopped) when the dealer cancels, RenderError when another
    // user holds its pipe.
    bool convert(const std::string& in, const std::string& out, std::string& refused, Clock::time_point deadline,
                 int capMs);

private:
    bool readLine(std::string& line, int timeoutMs);

    pid_t pid_ = -1;
    int fd_ = -1;
    bool ready_ = false;
    bool reaped_ = false;
    std::string buf_, pipeName_;
    Clock::time_point startedAt_;
    std::unique_ptr<ProfileLease> profile_;
};

// The program's one kept renderer.
KeptRenderer& keptRenderer();

}  // namespace office
