#include "office/render.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "core/recfile.h"
#include "core/ui.h"
#include "office/libreoffice.h"
#include "office/package.h"
#include "print/destination.h"
#include "print/process.h"

namespace office {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

OfficeSeam g_seam = OfficeSeam::Real;
bool g_keptEnabled = true;
// Time limits, in milliseconds. A first start on a new profile takes a few
// seconds, a warm conversion well under one; a printout as a whole never
// waits longer than kPrintoutMs, which a dealer in front of a customer
// would still wait for (the progress window offers Cancel meanwhile).
constexpr int kOneShotMs = 30000;    // one soffice --convert-to run
constexpr int kKeptStartMs = 30000;  // the kept renderer's start
constexpr int kKeptMs = 20000;       // one conversion by the warm renderer
constexpr int kPrintoutMs = 45000;   // everything for one printout
int g_oneShotMs = kOneShotMs;
int g_keptMs = kKeptMs;
PrintBatch* g_batch = nullptr;
constexpr int kKeptProfiles = 8;  // profile folders kept per kind of renderer
std::function<void(int)> g_conversionHook;
std::string g_pipeForTest;  // the kept renderer's pipe name, "" for a new random one

std::string fileUrl(const std::string& path) {
    std::string u = "file://";
    for (unsigned char c : fs::absolute(path).string()) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            u += static_cast<char>(c);
        } else {
            char b[4];
            std::snprintf(b, sizeof b, "%%%02X", c);
            u += b;
        }
    }
    return u;
}

std::string pdfFor(const std::string& file, const std::string& outDir) {
    return (fs::path(outDir) / fs::path(file).stem()).string() + ".pdf";
}

bool nonEmpty(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0;
}

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

# The profile (UserInstallation) and the pipe's name come in the
# environment, out of sight of other users; LibreOffice reads the pipe's
# name from the profile (ooSetupConnectionURL), and makes its file in /tmp.
soffice = sys.argv[1]
pipe = os.environ.pop("HEATER_RENDER_PIPE")
path = "/tmp/OSL_PIPE_%d_%s" % (os.getuid(), pipe)

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

// 128 random bits as hex: names nobody else can guess or take first.
std::string randomName() {
    unsigned char b[16] = {};
    std::size_t got = 0;
    while (got < sizeof b) {
        const ssize_t n = ::getrandom(b + got, sizeof b - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw RenderError("no random numbers for a private name");
        got += static_cast<std::size_t>(n);
    }
    std::string s;
    for (unsigned char c : b) {
        char h[3];
        std::snprintf(h, sizeof h, "%02x", c);
        s += h;
    }
    return s;
}

// The locks of the job folders and temporary profiles this run holds, by
// folder: a lock on the folder itself (flock), which goes with the program
// however it ends.
std::map<std::string, int>& heldFolders() {
    static std::map<std::string, int> held;
    return held;
}

// Why a folder or a document in the temporary folder could not be made
// (`error`: an errno, 0 if none is known).
std::string saveFailure(int error, const std::string& inTemp) {
    const std::string tmp = fs::path(inTemp).parent_path().string();
    if (error == ENOSPC || error == EDQUOT) return "No space left in the temporary folder " + tmp;
    return "The document could not be saved in the temporary folder " + tmp +
           (error ? std::string(": ") + std::strerror(error) : std::string());
}

// A new private folder in the temporary folder ("<prefix>XXXXXX"), held
// until letGo(). Throws RenderError naming the folder and the cause.
std::string newHeldFolder(const std::string& prefix) {
    std::error_code ec;
    const fs::path tmp = fs::temp_directory_path(ec);
    std::string templ = (tmp / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(templ.data())) throw RenderError(saveFailure(errno, templ));
    const int fd = ::open(templ.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) heldFolders()[templ] = fd;
    else if (fd >= 0) ::close(fd);
    return templ;
}

// Removes a folder of newHeldFolder and lets its lock go.
void letGo(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    auto& held = heldFolders();
    if (auto it = held.find(folder); it != held.end()) {
        ::close(it->second);
        held.erase(it);
    }
}

// True while some running program holds the folder (see heldFolders).
bool heldByARun(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return true;  // not to be judged: left alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// A LibreOffice profile folder for one user of it. LibreOffice lets one
// process use a profile at a time, so a folder is locked while in use: the
// first free of a few numbered folders in the user's cache is taken (kept
// between runs: a first start on a new profile is slower), so another copy
// of the program or a test running beside gets one of its own. When all
// are in use, or the user has no cache folder, a private temporary folder
// (mkdtemp, 0700) is made and goes when it is done. LibreOffice's own
// temporary files go into its "tmp", emptied before and after each use;
// the programs run there too.
//
// The profile itself (LibreOffice's user installation) lies in the folder
// under a new random name at every use, and LibreOffice is told it through
// its environment (UserInstallation), never on a command line that every
// user can read. LibreOffice listens for a second start of itself on a
// pipe in /tmp named after that folder's URL (an MD5 of it): with a name
// nobody knows in advance, nobody can be listening there first, which would
// make every printout wait and fail. A LibreOffice that was killed leaves
// that pipe behind, so the lease removes it when it ends (the processes
// that used the profile are gone by then), under both spellings of the
// folder's URL (as given, and with links resolved).
class ProfileLease {
public:
    explicit ProfileLease(const std::string& which) {
        const std::string shared = profileFolder(which);
        // privateFolder makes the parents too.
        if (!shared.empty() && prn::privateFolder(fs::path(shared).parent_path().string())) {
            for (int n = 1; n <= kKeptProfiles && lock_ < 0; ++n) {
                const std::string folder = n == 1 ? shared : shared + "-" + std::to_string(n);
                if (!prn::privateFolder(folder)) continue;
                const int fd = ::open((folder + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
                if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                    folder_ = folder;
                    lock_ = fd;
                } else if (fd >= 0) {
                    ::close(fd);
                }
            }
        }
        if (lock_ < 0) {
            folder_ = newHeldFolder("heater-office-");
            own_ = true;
        }
        tmp_ = folder_ + "/tmp";
        std::error_code ec;
        fs::remove_all(tmp_, ec);
        ::mkdir(tmp_.c_str(), 0700);
        install_ = renamedProfile();
    }
    ~ProfileLease() {
        std::error_code ec;
        removeDeadPipe(instancePipeName(fileUrl(install_)));
        if (const fs::path real = fs::canonical(install_, ec); !ec)
            removeDeadPipe(instancePipeName(fileUrl(real.string())));
        fs::remove_all(tmp_, ec);
        if (own_) letGo(folder_);
        if (lock_ >= 0) ::close(lock_);  // also releases the lock
    }
    ProfileLease(const ProfileLease&) = delete;
    ProfileLease& operator=(const ProfileLease&) = delete;
    // The lock's descriptor (-1 for a temporary folder, which needs none).
    int lockFd() const { return lock_; }
    // The working folder of the programs that use the profile.
    const std::string& tmp() const { return tmp_; }
    // The environment of the LibreOffice that uses the profile: its
    // temporary folder and its user installation.
    std::vector<std::string> env() const { return {"TMPDIR=" + tmp_, "UserInstallation=" + fileUrl(install_)}; }
    // Has the profile's LibreOffice accept UNO connections on `pipe`.
    bool acceptOn(const std::string& pipe) const { return setAcceptPipe(install_, pipe); }

private:
    // The kept profile ("p-" and a random name) renamed to a new random
    // name; a new one when there is none. Whatever else lies in the folder
    // (profiles of earlier versions) goes.
    std::string renamedProfile() const {
        const std::string fresh = folder_ + "/p-" + randomName();
        std::error_code ec;
        bool kept = false;
        for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (name == "tmp") continue;
            std::error_code rc;
            if (!kept && name.rfind("p-", 0) == 0 && it->is_directory(rc) && !it->is_symlink(rc) &&
                ::rename(it->path().c_str(), fresh.c_str()) == 0)
                kept = true;
            else fs::remove_all(it->path(), rc);
        }
        if (!kept) ::mkdir(fresh.c_str(), 0700);
        return fresh;
    }

    std::string folder_, tmp_, install_;
    int lock_ = -1;
    bool own_ = false;
};

// `argv` run with the usual umask 022, set in its own process whatever the
// program's is. LibreOffice needs it: the pipes it makes in /tmp take their
// mode from the umask, and with 022 no other user can connect to them
// (connecting to a Unix socket needs write permission on it); what it makes
// in its own installation (its shared extension cache, on a first run as
// root) stays readable for every user. What it writes for us lies in our
// private (0700) folders, whatever its umask.
std::vector<std::string> withUsualUmask(std::vector<std::string> argv) {
    argv.insert(argv.begin(), {"/bin/sh", "-c", "umask 022 && exec \"$@\"", "sh"});
    return argv;
}

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

// Milliseconds left until `t`, at most `cap`, at least 0.
int msLeft(Clock::time_point t, int cap) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, cap));
}

// ------------------------------------------------------- kept renderer ----

class Kept {
public:
    ~Kept() { stop(); }

    bool running() const { return pid_ > 0; }
    int group() const { return pid_; }

    // Starts the helper (returns at once); false when it cannot be started.
    bool start() {
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
            pipeName_ = g_pipeForTest.empty() ? "heater_render_" + std::to_string(::getpid()) + "_" + randomName()
                                              : g_pipeForTest;
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
        const int pid =
            prn::spawnInGroup(withUsualUmask(argv), sv[1], sv[1], -1, env, profile_->lockFd(), profile_->tmp());
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
        static bool atExit =
            (std::atexit([] { renderer::stop(); }), std::at_quick_exit([] { renderer::stop(); }), true);
        (void)atExit;
        return true;
    }

    // Ends the helper and its LibreOffice: asked to quit first when `ask`
    // and it is idle, else (hanging, cancelled, failed) killed at once.
    void stop(bool ask = true) {
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
        const std::string ours = pipePath("");
        for (const auto& p : pipes)
            if (p.rfind(ours, 0) == 0) removeDeadPipe(p.substr(ours.size()));
    }

    // One conversion, given up at `deadline`. Returns true when done; false
    // when the renderer failed as a renderer (died, hung, never started) -
    // it is then stopped. A file LibreOffice refuses gives true with
    // `refused` set. Throws ui::Cancelled (the renderer stopped) when the
    // dealer cancels.
    bool convert(const std::string& in, const std::string& out, std::string& refused, Clock::time_point deadline) {
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
        const std::string req =
            std::string("convert\t") + fileUrl(in) + "\t" + fileUrl(out) + "\t" + filterFor(in) + "\n";
        if (::send(fd_, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size())) {
            stop(false);
            return false;
        }
        if (g_conversionHook) g_conversionHook(pid_);
        std::string line;
        if (!readLine(line, msLeft(deadline, g_keptMs))) {
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

private:
    bool readLine(std::string& line, int timeoutMs) {
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

    pid_t pid_ = -1;
    int fd_ = -1;
    bool ready_ = false;
    bool reaped_ = false;
    std::string buf_, pipeName_;
    Clock::time_point startedAt_;
    std::unique_ptr<ProfileLease> profile_;
};

Kept& kept() {
    static Kept k;
    return k;
}

// Sends one rendered PDF where printouts go now; returns the printouts
// folder's file it became ("" when it went to a printer).
std::string deliver(const std::string& pdf, const std::string& what) {
    const std::string printer = prn::currentPrinter();
    if (!printer.empty()) {
        prn::sendPdfToPrinter(pdf, printer);
        return "";
    }
    const std::string target = prn::newPrintoutPath(what);
    try {
        prn::copyPrintout(pdf, target);  // whole on the disk, or nothing there
    } catch (const ui::RtError& e) {
        throw RenderError(e.description());
    }
    return target;
}

// Removes job folders however the job ends.
struct JobFolders {
    std::vector<std::string> dirs;
    ~JobFolders() {
        for (const auto& d : dirs) removeJobFolder(d);
    }
};

std::vector<std::string> oneShot(const std::vector<std::string>& files, const std::string& outDir, int timeoutMs) {
    if (!officeAvailable()) throw RenderError("LibreOffice is not installed");
    if (timeoutMs <= 0) throw RenderError("LibreOffice did not answer in time");
    const ProfileLease profile("oneshot");
    std::vector<std::string> argv = {"soffice",
                                     "--headless",
                                     "--invisible",
                                     "--nologo",
                                     "--norestore",
                                     "--nodefault",
                                     "--nolockcheck",
                                     "--convert-to",
                                     "pdf",
                                     "--outdir",
                                     fs::absolute(outDir).string()};
    for (const auto& f : files) argv.push_back(fs::absolute(f).string());
    const prn::ProcessResult r = prn::runProcess(withUsualUmask(argv), timeoutMs, profile.env(), profile.tmp());
    if (!r.started) throw RenderError("LibreOffice could not be started");
    if (r.timedOut) throw RenderError("LibreOffice did not answer in time");
    std::vector<std::string> pdfs;
    for (const auto& f : files) {
        pdfs.push_back(pdfFor(f, outDir));
        if (nonEmpty(pdfs.back())) continue;
        // A LibreOffice that fails on its own installation fails for every
        // printout: the dealer is told why and who can mend it.
        if (const std::string fault = installationFault(r.output); !fault.empty()) throw RenderError(fault);
        throw RenderError("LibreOffice could not convert " + f);
    }
    return pdfs;
}

void renderAndDeliver(const std::vector<std::string>& files, const std::vector<std::string>& whats) {
    // One question for every file of the Print, asked once all are written,
    // the progress window is gone and so are the job folders (the filled
    // customer documents: the dealer may leave the question open for long);
    // what was saved before a failure is told too.
    std::vector<std::string> saved;
    try {
        JobFolders cleanup;
        for (const auto& f : files) cleanup.dirs.push_back(fs::path(f).parent_path().string());
        ui::Progress progress("Printing " + whats.front() + (whats.size() > 1 ? " and " + whats.back() : "") + "...");
        const std::string out = newJobFolder();
        cleanup.dirs.push_back(out);
        const auto pdfs = renderToPdf(files, out);
        for (std::size_t i = 0; i < pdfs.size(); ++i)
            if (std::string path = deliver(pdfs[i], whats[i]); !path.empty()) saved.push_back(path);
    } catch (...) {
        prn::announceSaved(saved);
        throw;
    }
    prn::announceSaved(saved);
}

}  // namespace

// ------------------------------------------------------------- public ----

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
    std::vector<std::string> files;
    std::ifstream unix("/proc/net/unix");
    for (std::string line; std::getline(unix, line);) {
        std::istringstream in(line);
        std::string num, ref, proto, flags, type, st, inode, path;
        if (in >> num >> ref >> proto >> flags >> type >> st >> inode >> path && inodes.count(inode) &&
            path.rfind("/tmp/OSL_PIPE_", 0) == 0)
            files.push_back(path);
    }
    return files;
}

bool officeAvailable() {
    return g_seam == OfficeSeam::Present || (g_seam == OfficeSeam::Real && prn::programExists("soffice"));
}

void setOfficeForTest(OfficeSeam seam) { g_seam = seam; }
void setKeptRendererEnabled(bool enabled) {
    g_keptEnabled = enabled;
    if (!enabled) kept().stop();
}
void setRenderTimeoutsForTest(int oneShotMs, int keptMs) {
    g_oneShotMs = oneShotMs > 0 ? oneShotMs : kOneShotMs;
    g_keptMs = keptMs > 0 ? keptMs : kKeptMs;
}

void setConversionHookForTest(std::function<void(int group)> hook) { g_conversionHook = std::move(hook); }
void setRenderPipeForTest(const std::string& name) { g_pipeForTest = name; }

std::string profileFolder(const std::string& which) {
    std::string base;
    if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x) base = x;
    else if (const char* h = std::getenv("HOME"); h && *h) base = std::string(h) + "/.cache";
    else return {};
    return base + "/heater/libreoffice-" + which;
}

std::string newJobFolder() { return newHeldFolder("heater-print-"); }

void removeJobFolder(const std::string& folder) { letGo(folder); }

std::string saveForPrinting(const std::string& name, const std::function<void(const std::string& path)>& save) {
    const std::string folder = newJobFolder();
    try {
        save(folder + "/" + name);
    } catch (const BadPackage& e) {
        removeJobFolder(folder);
        throw RenderError(saveFailure(e.error, folder));
    }
    return folder + "/" + name;
}

void removeLeftovers(const std::string& dataDir) {
    const std::time_t started = rec::processStartTime();
    rec::removeDataLeftovers(dataDir, started);
    prn::removeLeftoverParts(started);
    const auto ours = [](const std::string& name) {
        for (const std::string prefix : {"heater-print-", "heater-office-"})
            if (name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0) return true;
        return false;
    };
    std::error_code ec;
    rec::removeLeftovers(fs::temp_directory_path(ec).string(), ours, started, heldByARun);
}

std::vector<std::string> renderOneShot(const std::vector<std::string>& files, const std::string& outDir) {
    return oneShot(files, outDir, g_oneShotMs);
}

std::vector<std::string> renderToPdf(const std::vector<std::string>& files, const std::string& outDir) {
    if (!officeAvailable()) throw RenderError("LibreOffice is not installed");
    const auto deadline = Clock::now() + std::chrono::milliseconds(kPrintoutMs);
    std::vector<std::string> pdfs;
    std::size_t i = 0;
    if (g_keptEnabled) {
        for (int attempt = 0; attempt < 2 && i < files.size(); ++attempt) {  // restarted once if it dies
            if (!kept().start()) break;
            bool refused = false;
            for (; i < files.size(); ++i) {
                std::string why;
                const std::string pdf = pdfFor(files[i], outDir);
                if (!kept().convert(files[i], pdf, why, deadline)) break;
                if (!why.empty() || !nonEmpty(pdf)) {
                    // Refused: a file LibreOffice cannot read, or a LibreOffice
                    // that died under the helper. The one-shot conversion below
                    // tells the two apart; the kept one starts afresh next time.
                    kept().stop();
                    refused = true;
                    break;
                }
                pdfs.push_back(pdf);
            }
            if (refused) break;
        }
    }
    if (i < files.size()) {
        const std::vector<std::string> rest(files.begin() + static_cast<long>(i), files.end());
        for (auto& p : oneShot(rest, outDir, msLeft(deadline, g_oneShotMs))) pdfs.push_back(p);
    }
    return pdfs;
}

void printFile(const std::string& file, const std::string& what) {
    if (g_batch) {
        g_batch->jobs_.push_back({file, what});
        return;
    }
    renderAndDeliver({file}, {what});
}

PrintBatch::PrintBatch() {
    if (!g_batch) g_batch = this;
}

PrintBatch::~PrintBatch() {
    if (g_batch == this) g_batch = nullptr;
    if (!done_)
        for (const auto& j : jobs_) removeJobFolder(fs::path(j.file).parent_path().string());
}

void PrintBatch::finish() {
    if (g_batch == this) g_batch = nullptr;
    done_ = true;
    if (jobs_.empty()) return;
    std::vector<std::string> files, whats;
    for (const auto& j : jobs_) files.push_back(j.file), whats.push_back(j.what);
    jobs_.clear();
    renderAndDeliver(files, whats);
}

namespace renderer {
void start() {
    if (g_keptEnabled && officeAvailable()) kept().start();
}
void stop() { kept().stop(); }
bool running() { return kept().running(); }
int processGroup() { return kept().group(); }
}  // namespace renderer

}  // namespace office
