#include "print/destination.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

#include "core/recfile.h"
#include "core/ui.h"
#include "print/process.h"

namespace prn {

namespace {

std::string g_chosen;
std::string g_printouts = "printouts/";
PrinterLookup g_lookup = nullptr;
FileOpener g_opener = nullptr;
int g_writeFault = 0;
int g_goodWrites = 0;  // printouts still written whole before the fault

// lp only hands the file to the print system: seconds at most. (While it
// runs, the progress window offers Cancel.)
constexpr int kLpTimeoutMs = 15000;

std::string safeName(const std::string& what) {
    std::string s;
    for (unsigned char c : what)
        s += (c < 32 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
              c == '|')
                 ? '_'
                 : static_cast<char>(c);
    if (s.empty() || s == "." || s == "..") s = "printout";
    return s;
}

[[noreturn]] void cannotWrite(const std::string& path, const std::string& why) {
    throw ui::RtError(75, "Cannot write " + path + ": " + why);
}

// Nothing is written through a folder that is not the dealer's alone: a
// link would hand the customer's name and address to wherever it points,
// another user's folder to that user.
[[noreturn]] void folderRefused(const std::string& folder, const std::string& why) {
    throw ui::RtError(75, "Cannot save printouts in the printouts folder " + folder + ": " + why +
                              ". Printouts hold a customer's name and address, so they go only into a folder "
                              "that is this user's alone.");
}

// A descriptor closed when it goes out of scope.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

std::function<void()> g_folderHook;

// The folder `path` opened and judged through that one handle (see
// privateFolderFault); -1 and `why` when it is refused. What is written
// through the handle (openat, renameat) reaches the folder judged, whatever
// is put in its name's place meanwhile.
int openPrivateFolder(const std::string& path, std::string& why) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return why = std::strerror(errno), -1;
    // O_NOFOLLOW: a link in the folder's place is refused, never followed;
    // O_DIRECTORY: anything else that is no folder too.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;  // ENOTDIR for a link too: told apart by lstat, for the message only
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
            why = "it is a link to another place, not a folder of its own";
        else why = err == ENOTDIR ? "it is not a folder" : std::strerror(err);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) why = std::strerror(errno);
    else if (st.st_uid != ::geteuid()) why = "it belongs to another user (user id " + std::to_string(st.st_uid) + ")";
    else if ((st.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0) why = std::strerror(errno);
    if (why.empty()) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

void setChosenPrinter(const std::string& name) { g_chosen = name; }
const std::string& chosenPrinter() { return g_chosen; }

PrinterLookup setDefaultPrinterLookup(PrinterLookup lookup) {
    PrinterLookup prev = g_lookup;
    g_lookup = lookup;
    return prev;
}

std::string currentPrinter() {
    if (!g_chosen.empty()) return g_chosen;
    return g_lookup ? g_lookup() : std::string();
}

void setPrintoutsFolder(const std::string& folder) {
    g_printouts = folder;
    if (!g_printouts.empty() && g_printouts.back() != '/') g_printouts += '/';
}

std::string printoutsFolder() { return g_printouts; }

std::string privateFolderFault(const std::string& path) {
    std::string why;
    const Fd folder{openPrivateFolder(path, why)};
    return why;
}

bool privateFolder(const std::string& path) { return privateFolderFault(path).empty(); }

std::string newPrintoutPath(const std::string& what, const std::tm& when) {
    namespace fs = std::filesystem;
    const fs::path dir = printoutsFolder();
    std::error_code ec;
    // "printouts/": the folder itself (judged again as the printout is
    // written into it).
    const std::string folder = dir.parent_path().string();
    if (const std::string why = privateFolderFault(folder); !why.empty()) folderRefused(folder, why);
    char stamp[80];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d-%02d-%02d", when.tm_year + 1900, when.tm_mon + 1,
                  when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    const std::string base = std::string(stamp) + " " + safeName(what);
    fs::path p = dir / (base + ".pdf");
    for (int n = 2; fs::exists(p, ec); ++n) p = dir / (base + " (" + std::to_string(n) + ").pdf");
    return p.string();
}

std::string newPrintoutPath(const std::string& what) {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return newPrintoutPath(what, t);
}

ui::RtError printerNotInstalled(const std::string& printerName) {
    return ui::RtError(482, "The printer \"" + printerName + "\" is not installed on this computer.");
}

void sendPdfToPrinter(const std::string& pdfPath, const std::string& printerName) {
    // lp in its own words, not the desktop's language, to tell the causes apart.
    const ProcessResult r = runProcess({"lp", "-d", printerName, pdfPath}, kLpTimeoutMs, {"LC_ALL=C"});
    if (r.ok()) return;
    if (r.output.find("does not exist") != std::string::npos ||
        r.output.find("unknown destination") != std::string::npos)
        throw printerNotInstalled(printerName);
    throw ui::RtError(25, ui::ErrorText(25));
}

void writePrintout(const std::string& path, std::string_view bytes) {
    if (bytes.empty()) cannotWrite(path, "the printout is empty");
    const std::filesystem::path at(path);
    const std::string folder = at.has_parent_path() ? at.parent_path().string() : ".";
    const std::string name = at.filename().string(), part = name + ".part";
    std::string why;
    const Fd dir{openPrivateFolder(folder, why)};
    if (dir.fd < 0) folderRefused(folder, why);
    if (g_folderHook) g_folderHook();
    // Written beside its place under a name of its own, so that a failure
    // half-way never leaves a partial printout under the real name; both
    // through the folder judged above.
    ::unlinkat(dir.fd, part.c_str(), 0);
    const int fd = ::openat(dir.fd, part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) cannotWrite(path, std::strerror(errno));
    int err = 0;
    const bool fault = g_writeFault && g_goodWrites-- <= 0;
    const std::size_t stop = fault ? bytes.size() / 2 : bytes.size();
    for (std::size_t done = 0; done < stop;) {
        const ssize_t n = ::write(fd, bytes.data() + done, stop - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (!err && fault) err = g_writeFault;
    if (!err && ::fsync(fd) != 0) err = errno;
    struct stat st {};
    if (!err && (::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) != bytes.size())) err = EIO;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::renameat(dir.fd, part.c_str(), dir.fd, name.c_str()) != 0) err = errno;
    if (err) {
        ::unlinkat(dir.fd, part.c_str(), 0);
        cannotWrite(path, std::strerror(err));
    }
}

void copyPrintout(const std::string& from, const std::string& path) {
    // Read as every file the program reads is: a regular file, without
    // waiting, its size checked first (a printout of a few pages is far
    // below the limit).
    constexpr std::uint64_t kMaxPrintoutBytes = 256u << 20;
    std::string bytes;
    if (!rec::readFile(from, bytes, kMaxPrintoutBytes)) cannotWrite(path, "cannot read " + from);
    writePrintout(path, bytes);
}

void setPrintoutFolderHookForTest(std::function<void()> hook) { g_folderHook = std::move(hook); }

void failPrintoutWritesForTest(int err, int after) {
    g_writeFault = err;
    g_goodWrites = after;
}

void removeLeftoverParts(std::time_t before) {
    const std::string_view part = ".pdf.part";
    rec::removeLeftovers(
        printoutsFolder(),
        [part](const std::string& name) { return name.size() > part.size() && name.ends_with(part); }, before);
}

void announceSaved(const std::vector<std::string>& pdfPaths) {
    if (pdfPaths.empty()) return;
    const bool one = pdfPaths.size() == 1;
    std::string list;
    for (const std::string& p : pdfPaths) list += "\r\n" + p;
    const int a = ui::MsgBox(std::string("No printer is installed. ") +
                                 (one ? "The printout was saved as" : "The printouts were saved as") + list +
                                 "\r\n\r\n" + (one ? "Open it now?" : "Open them now?"),
                             ui::vbYesNo | ui::vbInformation, "Printout saved");
    if (a != ui::vbYes) return;
    std::vector<std::string> unopened;
    for (const std::string& p : pdfPaths)
        if (!g_opener || !g_opener(p)) unopened.push_back(p);
    if (unopened.empty()) return;
    std::string where;
    for (const std::string& p : unopened) where += "\r\n" + p;
    ui::MsgBox(std::string("No program to show PDF files could be started, so ") +
                   (unopened.size() == 1 ? "the printout could not be opened. It is saved as"
                                         : "the printouts could not be opened. They are saved as") +
                   where,
               ui::vbOKOnly | ui::vbExclamation, "Printout saved");
}

FileOpener setFileOpener(FileOpener opener) {
    FileOpener prev = g_opener;
    g_opener = opener;
    return prev;
}

}  // namespace prn
