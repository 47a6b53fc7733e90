#include "office/kept_renderer.h"

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "core/ui.h"
#include "office/libreoffice.h"
#include "office/profile.h"
#include "office/render.h"
#include "print/process.h"

namespace office {

namespace fs = std::filesystem;

namespace {

std::function<void(int)> g_conversionHook;
std::string g_pipeForTest;  // the kept renderer's pipe name, "" for a new random one

const char* filterFor(const std::string& file) {
    const std::string ext = fs::path(file).extension().string();
    if (ext == ".xlsx" || ext == ".xls" || ext == ".ods" || ext == ".csv") return "calc_pdf_Export";
    return "writer_pdf_Export";
}

// The helper the kept renderer runs: starts LibreOffice with a private
// profile, listening on a named pipe (no network port), connects to it
// through UNO - only to a pipe of our own user: one another user holds
// under the name is reported at once ("taken<TAB>uid<TAB>path", uid -1
// for something that is no socket) and never connected to - and converts
// one file per request line:
//   convert<TAB>input<TAB>output<TAB>filter  ->  "ok" | "error<TAB>text"
// Its own process group holds LibreOffice too, so ending the group ends all.
// It holds the profile's lock (its descriptor 3) until no LibreOffice of
// its group is left, so a profile is never handed on while in use, also
// when the program died without stopping it.
const char* kHelper = R"PY(
import os, signal, stat, sys, time, subprocess
import uno
from com.sun.star.beans import PropertyValue

def others():
    me, group, found = os.getpid(), os.getpgid(0), []
    for pid in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % pid) as f:
                stat = f.read()
            state, _, pgrp = stat[stat.rindex(")") + 2:].split()[:3]
            if int(pid) != me and int(pgrp) == group and state not in "ZX":
                found.append(int(pid))
        except (OSError, ValueError):
            pass
    return found

def pv(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p

# The profile (UserInstallation), the pipe's name and its file come in the
# environment, out of sight of other users; LibreOffice reads the pipe's
# name from the profile (ooSetupConnectionURL), and makes its file in /tmp.
soffice = sys.argv[1]
pipe = os.environ.pop("HEATER_RENDER_PIPE")
path = os.environ.pop("HEATER_RENDER_PIPE_FILE")

def holder():
    # None while nothing lies at the pipe's place, else its owner's uid
    # (-1: no socket, e.g. a link). lstat: a link is never followed.
    try:
        st = os.lstat(path)
    except FileNotFoundError:
        return None
    return st.st_uid if stat.S_ISSOCK(st.st_mode) else -1

def refuse_others():
    owner = holder()
    if owner is not None and owner != os.getuid():
        print("taken\t%d\t%s" % (owner, path), flush=True)
        sys.exit(1)

refuse_others()
office = subprocess.Popen([soffice, "--headless", "--invisible",
                           "--nologo", "--norestore", "--nodefault", "--nolockcheck"],
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
desktop = None
try:
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.time() + float(sys.argv[2])
    while True:
        refuse_others()
        try:
            if holder() is None:
                raise OSError("not listening yet")
            ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
            break
        except Exception:
            if office.poll() is not None or time.time() > deadline:
                print("error\tLibreOffice did not start", flush=True)
                sys.exit(1)
            time.sleep(0.05)
    desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
    print("ready", flush=True)
    for line in sys.stdin:
        req = line.rstrip("\n").split("\t")
        if req[0] != "convert" or len(req) != 4:
            break
        try:
            doc = desktop.loadComponentFromURL(req[1], "_blank", 0, (pv("Hidden", True), pv("ReadOnly", True)))
            if doc is None:
                raise RuntimeError("cannot load the file")
            try:
                doc.storeToURL(req[2], (pv("FilterName", req[3]),))
            finally:
                doc.close(True)
            print("ok", flush=True)
        except Exception as e:
            print("error\t" + str(e).replace("\n", " ").replace("\t", " "), flush=True)
finally:
    # However this ends - asked to quit, the program gone (its socket
    # closed: end of input or a failed answer), LibreOffice not starting -
    # no LibreOffice process is left behind: the group goes, this one last,
    # and the profile's lock with it.
    if desktop is not None:
        try:
            desktop.terminate()
            office.wait(timeout=10)
        except Exception:
            pass
    for _ in range(3000):  # 30 s at most for a process the kernel holds up
        left = others()
        if not left:
            break
        for pid in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        try:
            os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            pass
        time.sleep(0.01)
    if holder() == os.getuid():
        try:
            os.unlink(path)
        except OSError:
            pass
)PY";

// What the dealer is told when another user holds the kept renderer's pipe
// (the helper's "taken" line: uid, path).
std::string pipeTaken(const std::string& line) {
    const auto tab = line.find('\t', 6);
    const std::string uid = line.substr(6, tab - 6), path = tab == std::string::npos ? "" : line.substr(tab + 1);
    return (uid == "-1" ? "Something that is not LibreOffice's pipe lies at " + path
                        : "Another user of this computer (user id " + uid + ") holds the pipe " + path) +
           ", through which the printout was to be handed to LibreOffice, so nothing was handed to it. Tell the "
           "system administrator.";
}

}  // namespace

int msLeft(Clock::time_point t, int cap) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, cap));
}

KeptRenderer::KeptRenderer() = default;
KeptRenderer::~KeptRenderer() { stop(); }

bool KeptRenderer::start() {
    if (pid_ > 0) return true;
    // python3-uno belongs to the system's Python, whatever else is on PATH.
    const std::string python = prn::programExists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    if (!prn::programExists(python) || !prn::programExists("soffice")) return false;
    try {
        profile_ = std::make_unique<ProfileLease>("kept");
        // The pipe's name is LibreOffice's address: nobody else may
        // guess it, or be listening there first. It is on no command
        // line: the helper has it in its environment, LibreOffice in
        // its profile.
        pipeName_ =
            g_pipeForTest.empty() ? kRenderPipePrefix + std::to_string(::getpid()) + "_" + randomName() : g_pipeForTest;
    } catch (const RenderError&) {
        profile_.reset();
        return false;
    }
    if (!profile_->acceptOn(pipeName_)) {
        profile_.reset();
        return false;
    }
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) {
        profile_.reset();
        return false;
    }
    // The helper is handed to python3 as an argument, never written to
    // a file that someone could have put a link in place of.
    // Isolated (-I): Python takes no module from the working folder,
    // PYTHONPATH or the user's site folder, where someone could have put
    // a uno.py of their own; it runs in the profile's private folder.
    const std::vector<std::string> argv = {
        python, "-I", "-u", "-c", kHelper, "soffice", std::to_string(kKeptStartMs / 1000.0)};
    std::vector<std::string> env = profile_->env();
    env.push_back("HEATER_RENDER_PIPE=" + pipeName_);
    env.push_back("HEATER_RENDER_PIPE_FILE=" + pipePath(pipeName_));
    const int pid = prn::spawnInGroup(withUsualUmask(argv), sv[1], sv[1], -1, env, profile_->lockFd(), profile_->tmp());
    ::close(sv[1]);
    if (pid <= 0) {
        ::close(sv[0]);
        profile_.reset();
        return false;
    }
    pid_ = pid;
    fd_ = sv[0];
    ready_ = false;
    buf_.clear();
    startedAt_ = Clock::now();
    // However the program ends normally (exit or quick_exit), the
    // renderer and its LibreOffice end with it.
    static bool atExit = (std::atexit([] { renderer::stop(); }), std::at_quick_exit([] { renderer::stop(); }), true);
    (void)atExit;
    return true;
}

void KeptRenderer::stop(bool ask) {
    if (pid_ <= 0) return;
    if (ready_ && ask) {
        const char quit[] = "quit\n";
        ::send(fd_, quit, sizeof quit - 1, MSG_NOSIGNAL);
        // Give LibreOffice a moment to end by itself, then end the group.
        for (int i = 0; i < 60; ++i) {
            int st = 0;
            if (::waitpid(pid_, &st, WNOHANG) == pid_) {
                reaped_ = true;
                break;
            }
            ::usleep(50000);
        }
    }
    const std::vector<std::string> pipes = pipeFiles(pid_);
    ::kill(-pid_, SIGKILL);
    if (!reaped_) {
        int st = 0;
        while (::waitpid(pid_, &st, 0) < 0 && errno == EINTR) {}
    }
    // LibreOffice is the helper's child, not ours: it may still be dying,
    // holding the profile, when the helper is gone. The profile is given
    // back (and may be taken by the next start) only once it is gone.
    prn::waitGroupGone(pid_, 10000);
    ::close(fd_);
    pid_ = -1;
    fd_ = -1;
    ready_ = false;
    reaped_ = false;
    profile_.reset();
    // A LibreOffice that was killed leaves its pipes behind: the one we
    // named (the profile's own one goes with the lease), and any other
    // it listened on. Only dead ones of our own go: never one another
    // user holds under the name.
    removeDeadPipe(pipeName_);
    for (const auto& p : pipes) removeDeadPipe(p.substr(pipePath("").size()));
}

bool KeptRenderer::convert(const std::string& in, const std::string& out, std::string& refused,
                           Clock::time_point deadline, int capMs) {
    if (!ready_) {
        const auto ready = std::min(deadline, startedAt_ + std::chrono::milliseconds(kKeptStartMs));
        std::string line;
        if (!readLine(line, msLeft(ready, kKeptStartMs)) || line != "ready") {
            stop(false);
            // Never tried again against it, nor around it: the dealer
            // is told.
            if (line.rfind("taken\t", 0) == 0) throw RenderError(pipeTaken(line));
            return false;
        }
        ready_ = true;
    }
    const std::string req = std::string("convert\t") + fileUrl(in) + "\t" + fileUrl(out) + "\t" + filterFor(in) + "\n";
    if (::send(fd_, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size())) {
        stop(false);
        return false;
    }
    if (g_conversionHook) g_conversionHook(pid_);
    std::string line;
    if (!readLine(line, msLeft(deadline, capMs))) {
        stop(false);
        return false;
    }
    if (line == "ok") return true;
    if (line.rfind("error\t", 0) == 0) {
        refused = line.substr(6);
        return true;
    }
    stop(false);
    return false;
}

bool KeptRenderer::readLine(std::string& line, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto nl = buf_.find('\n');
        if (nl != std::string::npos) {
            line = buf_.substr(0, nl);
            buf_.erase(0, nl + 1);
            return true;
        }
        if (ui::cancelRequested()) {
            stop(false);
            throw ui::Cancelled{};
        }
        const int left = msLeft(deadline, 50);  // a look at Cancel every 50 ms
        if (left <= 0) return false;
        pollfd p{fd_, POLLIN, 0};
        const int n = ::poll(&p, 1, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) continue;
        char b[512];
        const ssize_t got = ::recv(fd_, b, sizeof b, 0);
        if (got <= 0) return false;  // the helper is gone
        buf_.append(b, static_cast<std::size_t>(got));
    }
}

KeptRenderer& keptRenderer() {
    static KeptRenderer k;
    return k;
}

void setConversionHookForTest(std::function<void(int group)> hook) { g_conversionHook = std::move(hook); }
void setRenderPipeForTest(const std::string& name) { g_pipeForTest = name; }

std::vector<std::string> pipeFiles(int pgid) {
    std::set<std::string> inodes;
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string pid = it->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream f(it->path() / "stat");
        std::string stat;
        int pgrp = 0;
        const auto close = std::getline(f, stat) ? stat.rfind(')') : std::string::npos;
        if (close == std::string::npos || std::sscanf(stat.c_str() + close + 1, " %*c %*d %d", &pgrp) != 1 ||
            pgrp != pgid)
            continue;
        std::error_code fe;
        for (fs::directory_iterator fd(it->path() / "fd", fe), fend; !fe && fd != fend; fd.increment(fe)) {
            const std::string target = fs::read_symlink(fd->path(), fe).string();
            if (target.rfind("socket:[", 0) == 0) inodes.insert(target.substr(8, target.size() - 9));
        }
    }
    // /proc/net/unix: Num RefCount Protocol Flags Type St Inode Path
    const std::string ours = pipePath("");
    std::vector<std::string> files;
    std::ifstream unix("/proc/net/unix");
    for (std::string line; std::getline(unix, line);) {
        std::istringstream in(line);
        std::string num, ref, proto, flags, type, st, inode, path;
        if (in >> num >> ref >> proto >> flags >> type >> st >> inode >> path && inodes.count(inode) &&
            path.rfind(ours, 0) == 0)
            files.push_back(path);
    }
    return files;
}

}  // namespace office
