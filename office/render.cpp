#include "office/render.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/ui.h"
#include "print/destination.h"
#include "print/process.h"

namespace office {

namespace fs = std::filesystem;

namespace {

OfficeSeam g_seam = OfficeSeam::Real;
bool g_keptEnabled = true;
int g_oneShotMs = 60000;    // a first start on a new profile takes a few seconds
int g_keptStartMs = 60000;  // the kept renderer's start, same reason
int g_keptMs = 30000;       // one conversion by the warm renderer
PrintBatch* g_batch = nullptr;
constexpr int kKeptProfiles = 8;  // profile folders kept per kind of renderer
std::function<void(int)> g_conversionHook;

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
// through UNO and converts one file per request line:
//   convert<TAB>input<TAB>output<TAB>filter  ->  "ok" | "error<TAB>text"
// Its own process group holds LibreOffice too, so ending the group ends all.
const char* kHelper = R"PY(
import os, signal, sys, time, subprocess
import uno
from com.sun.star.beans import PropertyValue

def pv(name, value):
    p = PropertyValue()
    p.Name, p.Value = name, value
    return p

soffice, profile, pipe = sys.argv[1:4]
office = subprocess.Popen([soffice, "-env:UserInstallation=" + profile, "--headless", "--invisible",
                           "--nologo", "--norestore", "--nodefault", "--nolockcheck",
                           "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
                          stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
desktop = None
try:
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.time() + float(sys.argv[4])
    while True:
        try:
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
    # no LibreOffice process is left behind: the group goes, this one last.
    if desktop is not None:
        try:
            desktop.terminate()
            office.wait(timeout=10)
        except Exception:
            pass
    os.killpg(0, signal.SIGKILL)
)PY";

// A LibreOffice profile folder for one user of it. LibreOffice lets one
// process use a profile at a time, so a folder is locked while in use: the
// first free of a few numbered folders is taken (kept between runs: a first
// start on a new profile is slower, and a LibreOffice that had to be killed
// leaves its pipe in /tmp, one per folder), so another copy of the program
// or a test running beside gets one of its own. When all are in use, a
// temporary folder is made and goes when it is done.
class ProfileLease {
public:
    explicit ProfileLease(const std::string& which) {
        const std::string shared = profileFolder(which);
        std::error_code ec;
        for (int n = 1; n <= kKeptProfiles; ++n) {
            const std::string folder = n == 1 ? shared : shared + "-" + std::to_string(n);
            fs::create_directories(folder, ec);
            const int fd = ::open((folder + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                folder_ = folder;
                lock_ = fd;
                return;
            }
            if (fd >= 0) ::close(fd);
        }
        std::string templ = shared + "-XXXXXX";
        folder_ = ::mkdtemp(templ.data()) ? templ : shared;
        own_ = folder_ != shared;
    }
    ~ProfileLease() {
        if (lock_ >= 0) ::close(lock_);  // also releases the lock
        std::error_code ec;
        if (own_) fs::remove_all(folder_, ec);
    }
    ProfileLease(const ProfileLease&) = delete;
    ProfileLease& operator=(const ProfileLease&) = delete;
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    int lock_ = -1;
    bool own_ = false;
};

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
        profile_ = std::make_unique<ProfileLease>("kept");
        const std::string dir = profile_->folder();
        const std::string script = dir + "/render_helper.py";
        {
            std::ofstream f(script, std::ios::trunc);
            f << kHelper;
            if (!f) {
                profile_.reset();
                return false;
            }
        }
        int sv[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0) {
            profile_.reset();
            return false;
        }
        pipeName_ = "heater_render_" + std::to_string(::getpid()) + "_" + std::to_string(++starts_);
        const std::string& pipeName = pipeName_;
        std::vector<std::string> argv = {python,
                                         "-u",
                                         script,
                                         "soffice",
                                         fileUrl(dir + "/profile"),
                                         pipeName,
                                         std::to_string(g_keptStartMs / 1000.0)};
        const int pid = prn::spawnInGroup(argv, sv[1], sv[1], -1);
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
        startedAt_ = std::chrono::steady_clock::now();
        // However the program ends normally (exit or quick_exit), the
        // renderer and its LibreOffice end with it.
        static bool atExit =
            (std::atexit([] { renderer::stop(); }), std::at_quick_exit([] { renderer::stop(); }), true);
        (void)atExit;
        return true;
    }

    void stop() {
        if (pid_ <= 0) return;
        if (ready_) {
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
        // A LibreOffice that was killed leaves its named pipe behind.
        std::error_code ec;
        const std::string pipeFile = "OSL_PIPE_" + std::to_string(::getuid()) + "_" + pipeName_;
        fs::remove(fs::path("/tmp") / pipeFile, ec);
        fs::remove(fs::temp_directory_path(ec) / pipeFile, ec);
    }

    // One conversion. Returns true when done; false when the renderer failed
    // as a renderer (died, hung, never started) - it is then stopped.
    // A file LibreOffice refuses gives true with `refused` set.
    bool convert(const std::string& in, const std::string& out, std::string& refused) {
        if (!ready_) {
            const auto left = g_keptStartMs - std::chrono::duration_cast<std::chrono::milliseconds>(
                                                  std::chrono::steady_clock::now() - startedAt_)
                                                  .count();
            std::string line;
            if (!readLine(line, static_cast<int>(std::max<long long>(left, 1))) || line != "ready") {
                stop();
                return false;
            }
            ready_ = true;
        }
        const std::string req =
            std::string("convert\t") + fileUrl(in) + "\t" + fileUrl(out) + "\t" + filterFor(in) + "\n";
        if (::send(fd_, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size())) {
            stop();
            return false;
        }
        if (g_conversionHook) g_conversionHook(pid_);
        std::string line;
        if (!readLine(line, g_keptMs)) {
            stop();
            return false;
        }
        if (line == "ok") return true;
        if (line.rfind("error\t", 0) == 0) {
            refused = line.substr(6);
            return true;
        }
        stop();
        return false;
    }

private:
    bool readLine(std::string& line, int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto nl = buf_.find('\n');
            if (nl != std::string::npos) {
                line = buf_.substr(0, nl);
                buf_.erase(0, nl + 1);
                return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0) return false;
            pollfd p{fd_, POLLIN, 0};
            const int n = ::poll(&p, 1, static_cast<int>(left));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
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
    int starts_ = 0;
    std::string buf_, pipeName_;
    std::chrono::steady_clock::time_point startedAt_;
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
        std::error_code ec;
        for (const auto& d : dirs) fs::remove_all(d, ec);
    }
};

void renderAndDeliver(const std::vector<std::string>& files, const std::vector<std::string>& whats) {
    JobFolders cleanup;
    for (const auto& f : files) cleanup.dirs.push_back(fs::path(f).parent_path().string());
    const std::string out = newJobFolder();
    cleanup.dirs.push_back(out);
    const auto pdfs = renderToPdf(files, out);
    // One question for every file of the Print, asked once all are written;
    // what was saved before a failure is told too.
    std::vector<std::string> saved;
    try {
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

bool officeAvailable() {
    return g_seam == OfficeSeam::Present || (g_seam == OfficeSeam::Real && prn::programExists("soffice"));
}

void setOfficeForTest(OfficeSeam seam) { g_seam = seam; }
void setKeptRendererEnabled(bool enabled) {
    g_keptEnabled = enabled;
    if (!enabled) kept().stop();
}
void setRenderTimeoutsForTest(int oneShotMs, int keptMs) {
    g_oneShotMs = oneShotMs > 0 ? oneShotMs : 60000;
    g_keptMs = keptMs > 0 ? keptMs : 30000;
}

void setConversionHookForTest(std::function<void(int group)> hook) { g_conversionHook = std::move(hook); }

std::string profileFolder(const std::string& which) {
    std::string base;
    if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x) base = x;
    else if (const char* h = std::getenv("HOME"); h && *h) base = std::string(h) + "/.cache";
    else base = (fs::temp_directory_path() / ("heater-" + std::to_string(::getuid()))).string();
    return base + "/heater/libreoffice-" + which;
}

std::string newJobFolder() {
    std::string templ = (fs::temp_directory_path() / "heater-print-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw RenderError("cannot make a temporary folder");
    return templ;
}

std::vector<std::string> renderOneShot(const std::vector<std::string>& files, const std::string& outDir) {
    if (!officeAvailable()) throw RenderError("LibreOffice is not installed");
    const ProfileLease profile("oneshot");
    std::vector<std::string> argv = {"soffice",      "-env:UserInstallation=" + fileUrl(profile.folder()),
                                     "--headless",   "--invisible",
                                     "--nologo",     "--norestore",
                                     "--nodefault",  "--nolockcheck",
                                     "--convert-to", "pdf",
                                     "--outdir",     outDir};
    for (const auto& f : files) argv.push_back(f);
    const prn::ProcessResult r = prn::runProcess(argv, g_oneShotMs);
    if (!r.started) throw RenderError("LibreOffice could not be started");
    if (r.timedOut) throw RenderError("LibreOffice did not answer in time");
    std::vector<std::string> pdfs;
    for (const auto& f : files) {
        pdfs.push_back(pdfFor(f, outDir));
        if (!nonEmpty(pdfs.back())) throw RenderError("LibreOffice could not convert " + f);
    }
    return pdfs;
}

std::vector<std::string> renderToPdf(const std::vector<std::string>& files, const std::string& outDir) {
    if (!officeAvailable()) throw RenderError("LibreOffice is not installed");
    std::vector<std::string> pdfs;
    std::size_t i = 0;
    if (g_keptEnabled) {
        for (int attempt = 0; attempt < 2 && i < files.size(); ++attempt) {  // restarted once if it dies
            if (!kept().start()) break;
            bool refused = false;
            for (; i < files.size(); ++i) {
                std::string why;
                const std::string pdf = pdfFor(files[i], outDir);
                if (!kept().convert(files[i], pdf, why)) break;
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
        for (auto& p : renderOneShot(rest, outDir)) pdfs.push_back(p);
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
    if (!done_) {
        std::error_code ec;
        for (const auto& j : jobs_) fs::remove_all(fs::path(j.file).parent_path(), ec);
    }
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
