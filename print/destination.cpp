#include "print/destination.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

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
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
    // lstat: a link in the folder's place is judged, never followed.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::strerror(errno);
    if (S_ISLNK(st.st_mode)) return "it is a link to another place, not a folder of its own";
    if (!S_ISDIR(st.st_mode)) return "it is not a folder";
    if (st.st_uid != ::geteuid()) return "it belongs to another user (user id " + std::to_string(st.st_uid) + ")";
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0) return std::strerror(errno);
    return {};
}

bool privateFolder(const std::string& path) { return privateFolderFault(path).empty(); }

std::string newPrintoutPath(const std::string& what, const std::tm& when) {
    namespace fs = std::filesystem;
    const fs::path dir = printoutsFolder();
    std::error_code ec;
    // "printouts/": the folder itself. Nothing is written through a folder
    // that is not the dealer's alone: a link would hand the customer's
    // name and address to wherever it points, another user's folder to
    // that user.
    const std::string folder = dir.parent_path().string();
    if (const std::string why = privateFolderFault(folder); !why.empty())
        throw ui::RtError(75, "Cannot save printouts in the printouts folder " + folder + ": " + why +
                                  ". Printouts hold a customer's name and address, so they go only into a folder "
                                  "that is this user's alone.");
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
    // Written beside its place under a name of its own, so that a failure
    // half-way never leaves a partial printout under the real name.
    const std::string part = path + ".part";
    ::unlink(part.c_str());
    const int fd = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
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
    if (!err && ::rename(part.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(part.c_str());
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
