#include "print/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/ui.h"

extern char** environ;

namespace prn {

namespace {

// How long a killed group may take to go before we stop waiting for it.
constexpr int kGroupGoneMs = 10000;

// True while threads of a process other than its first one are still
// ending: its first thread shows as a zombie before the others have let go
// of the process's files (LibreOffice's pipes and profile among them).
bool threadsLeft(const std::filesystem::path& proc) {
    std::error_code ec;
    int n = 0;
    for (std::filesystem::directory_iterator it(proc / "task", ec), end; !ec && it != end && n < 2; it.increment(ec))
        ++n;
    return n > 1;
}

// True while a process of the group runs (from /proc; zombies whose every
// thread has ended excluded).
bool groupRunning(int pgid) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream f(it->path() / "stat");
        std::string stat;
        if (!std::getline(f, stat)) continue;
        const auto close = stat.rfind(')');  // the program name may hold anything
        char state = 0;
        int ppid = 0, pgrp = 0;
        if (close != std::string::npos &&
            std::sscanf(stat.c_str() + close + 1, " %c %d %d", &state, &ppid, &pgrp) == 3 && pgrp == pgid &&
            ((state != 'Z' && state != 'X') || threadsLeft(it->path())))
            return true;
    }
    return false;
}

// Kills the program's whole process group, reaps the program and waits for
// the rest of the group to go.
void killGroup(pid_t pid) {
    ::kill(-pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    waitGroupGone(pid, kGroupGoneMs);
}

}  // namespace

bool waitGroupGone(int pgid, int timeoutMs) {
    if (pgid <= 0) return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (groupRunning(pgid)) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        ::usleep(10000);
    }
    return true;
}

bool programExists(const std::string& name) { return !programPath(name).empty(); }

std::string programPath(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string d; std::getline(dirs, d, ':');) {
        const std::string full = (d.empty() ? "." : d) + "/" + name;
        struct stat st {};
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(full.c_str(), X_OK) == 0) return full;
    }
    return {};
}

int spawnInGroup(const std::vector<std::string>& argv, int in, int out, int err,
                 const std::vector<std::string>& extraEnv, int fd3, const std::string& cwd) {
    if (argv.empty()) return -1;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // An extra entry replaces one of the same name (the C library reads
    // the first of two).
    auto nameOf = [](const std::string& e) { return e.substr(0, e.find('=') + 1); };
    std::vector<std::string> envStore(extraEnv);
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& x : extraEnv) replaced = replaced || nameOf(x) == nameOf(entry);
        if (!replaced) envStore.push_back(entry);
    }
    std::vector<char*> env;
    for (auto& e : envStore) env.push_back(e.data());
    env.push_back(nullptr);

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    const int fds[3] = {in, out, err};
    for (int i = 0; i < 3; ++i) {
        if (fds[i] >= 0) posix_spawn_file_actions_adddup2(&fa, fds[i], i);
        else posix_spawn_file_actions_addopen(&fa, i, "/dev/null", i == 0 ? O_RDONLY : O_WRONLY, 0);
    }
    // dup2 onto another number clears close-on-exec; one already numbered
    // 3 is copied away first, as dup2 onto itself would keep it.
    int moved = -1;
    if (fd3 == 3) fd3 = moved = ::fcntl(3, F_DUPFD_CLOEXEC, 4);
    if (fd3 >= 0) posix_spawn_file_actions_adddup2(&fa, fd3, 3);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setpgroup(&attr, 0);  // its own group: killed as a whole
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, args[0], &fa, &attr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&fa);
    posix_spawnattr_destroy(&attr);
    if (moved >= 0) ::close(moved);
    return rc == 0 ? pid : -1;
}

ProcessResult runProcess(const std::vector<std::string>& argv, int timeoutMs, const std::vector<std::string>& extraEnv,
                         const std::string& cwd) {
    ProcessResult r;
    if (argv.empty() || !programExists(argv[0])) return r;

    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return r;

    const int pid = spawnInGroup(argv, -1, out[1], out[1], extraEnv, -1, cwd);
    ::close(out[1]);
    if (pid <= 0) {
        ::close(out[0]);
        return r;
    }
    r.started = true;

    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeoutMs);
    bool open = true;
    int status = 0;
    for (;;) {
        if (open) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now()).count();
            pollfd p{out[0], POLLIN, 0};
            const int n = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, std::min<long long>(left, 50))));
            if (n > 0) {
                char buf[4096];
                const ssize_t got = ::read(out[0], buf, sizeof buf);
                if (got > 0) {
                    if (r.output.size() < 65536) r.output.append(buf, static_cast<std::size_t>(got));
                } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                    open = false;
                }
            }
        } else {
            ::usleep(5000);
        }
        const pid_t w = ::waitpid(pid, &status, WNOHANG);
        if (w == pid) {
            // The program ended; anything it left behind in its group goes too.
            ::kill(-pid, SIGKILL);
            waitGroupGone(pid, kGroupGoneMs);
            break;
        }
        if (clock::now() >= deadline) {
            r.timedOut = true;
            killGroup(pid);
            break;
        }
        if (ui::cancelRequested()) {
            killGroup(pid);
            ::close(out[0]);
            throw ui::Cancelled{};
        }
    }
    ::close(out[0]);
    if (!r.timedOut) r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

}  // namespace prn
