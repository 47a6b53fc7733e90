#include "print/destination.h"

#include <cstdio>
#include <filesystem>

#include "app/model.h"
#include "core/ui.h"
#include "print/process.h"

namespace prn {

namespace {

std::string g_chosen;
PrinterLookup g_lookup = nullptr;
FileOpener g_opener = nullptr;

constexpr int kLpTimeoutMs = 30000;

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

std::string printoutsFolder() {
    std::string dir = g.data_dir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir + "printouts/";
}

std::string newPrintoutPath(const std::string& what, const std::tm& when) {
    namespace fs = std::filesystem;
    const fs::path dir = printoutsFolder();
    std::error_code ec;
    fs::create_directories(dir, ec);
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

void sendPdfToPrinter(const std::string& pdfPath, const std::string& printerName) {
    const ProcessResult r = runProcess({"lp", "-d", printerName, pdfPath}, kLpTimeoutMs);
    if (!r.ok()) throw ui::RtError(25, ui::ErrorText(25));
}

void announceSaved(const std::string& pdfPath) {
    const int a = ui::MsgBox(
        "No printer is installed. The printout was saved as"
        "\r\n" +
            pdfPath +
            "\r\n\r\n"
            "Open it now?",
        ui::vbYesNo | ui::vbInformation, "Printout saved");
    if (a == ui::vbYes && g_opener) g_opener(pdfPath);
}

FileOpener setFileOpener(FileOpener opener) {
    FileOpener prev = g_opener;
    g_opener = opener;
    return prev;
}

}  // namespace prn
