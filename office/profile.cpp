#include "office/profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "core/recfile.h"
#include "office/libreoffice.h"
#include "office/package.h"
#include "office/render.h"
#include "print/destination.h"

namespace office {

namespace fs = std::filesystem;

namespace {

constexpr int kKeptProfiles = 8;  // profile folders kept per kind of renderer
// Free bytes under which a failed LibreOffice is taken to have failed for
// want of room: a new profile alone takes a few megabytes, and a
// conversion writes its temporary files and the PDF beside it.
constexpr long long kLibreOfficeRoom = 8ll << 20;
std::function<long long(const std::string&)> g_freeSpace;

// The locks of the job folders and temporary profiles this run holds, by
// folder: a lock on the folder itself (flock), which goes with the program
// however it ends.
std::map<std::string, int>& heldFolders() {
    static std::map<std::string, int> held;
    return held;
}

// True while some running program holds the folder (see heldFolders).
bool heldByARun(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return true;  // not to be judged: left alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Free bytes for this user on the file system of `folder` (-1: unknown).
long long freeSpace(const std::string& folder) {
    if (g_freeSpace) return g_freeSpace(folder);
    struct statvfs st {};
    if (::statvfs(folder.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.f_bavail) * static_cast<long long>(st.f_frsize);
}

bool full(const std::string& folder) {
    const long long left = freeSpace(folder);
    return left >= 0 && left < kLibreOfficeRoom;
}

}  // namespace

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

std::string saveFailure(int error, const std::string& inTemp) {
    const std::string tmp = fs::path(inTemp).parent_path().string();
    if (error == ENOSPC || error == EDQUOT) return "No space left in the temporary folder " + tmp;
    return "The document could not be saved in the temporary folder " + tmp +
           (error ? std::string(": ") + std::strerror(error) : std::string());
}

std::string newHeldFolder(const std::string& prefix) {
    std::error_code ec;
    const fs::path tmp = fs::temp_directory_path(ec);
    if (ec) {
        // No folder there: named as the system's temporary folder is found
        // (TMPDIR, else /tmp; the rarer TMP and TEMP go unnamed).
        const char* env = std::getenv("TMPDIR");
        throw RenderError(saveFailure(ec.value(), (fs::path(env && *env ? env : "/tmp") / prefix).string()));
    }
    std::string templ = (tmp / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(templ.data())) throw RenderError(saveFailure(errno, templ));
    const int fd = ::open(templ.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) heldFolders()[templ] = fd;
    else if (fd >= 0) ::close(fd);
    return templ;
}

void letGo(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    auto& held = heldFolders();
    if (auto it = held.find(folder); it != held.end()) {
        ::close(it->second);
        held.erase(it);
    }
}

// ------------------------------------------------------------ profile ----

ProfileLease::ProfileLease(const std::string& which) {
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

ProfileLease::~ProfileLease() {
    std::error_code ec;
    removeDeadPipe(instancePipeName(fileUrl(install_)));
    if (const fs::path real = fs::canonical(install_, ec); !ec)
        removeDeadPipe(instancePipeName(fileUrl(real.string())));
    fs::remove_all(tmp_, ec);
    if (own_) letGo(folder_);
    if (lock_ >= 0) ::close(lock_);  // also releases the lock
}

std::vector<std::string> ProfileLease::env() const {
    return {"TMPDIR=" + tmp_, "UserInstallation=" + fileUrl(install_)};
}

bool ProfileLease::acceptOn(const std::string& pipe) const { return setAcceptPipe(install_, pipe); }

std::string ProfileLease::noSpace(const std::string& outDir) const {
    if (full(folder_)) {
        // A temporary profile lies in the temporary folder: named as a
        // document that cannot be saved there is.
        return own_ ? saveFailure(ENOSPC, folder_) : "No space left in LibreOffice's profile folder " + folder_;
    }
    // The PDFs go into a job folder in the temporary folder.
    if (full(outDir)) return saveFailure(ENOSPC, fs::absolute(outDir).string());
    return {};
}

// The kept profile ("p-" and a random name) renamed to a new random name; a
// new one when there is none. Whatever else lies in the folder (profiles of
// earlier versions) goes.
std::string ProfileLease::renamedProfile() const {
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

// ------------------------------------------------------------- public ----

void setFreeSpaceForTest(std::function<long long(const std::string& folder)> bytes) { g_freeSpace = std::move(bytes); }

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
    // The pipes of a renderer that died with the program (logout, the
    // out-of-memory killer): nobody removed them.
    removeDeadPipes({kRenderPipePrefix, kInstancePipePrefix}, started);
}

}  // namespace office
