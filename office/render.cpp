#include "office/render.h"

#include <chrono>
#include <filesystem>

#include "core/ui.h"
#include "office/kept_renderer.h"
#include "office/libreoffice.h"
#include "office/profile.h"
#include "print/destination.h"
#include "print/process.h"

namespace office {

namespace fs = std::filesystem;

namespace {

OfficeSeam g_seam = OfficeSeam::Real;
bool g_keptEnabled = true;
// Time limits, in milliseconds. A first start on a new profile takes a few
// seconds, a warm conversion well under one; a printout as a whole never
// waits longer than kPrintoutMs, which a dealer in front of a customer
// would still wait for (the progress window offers Cancel meanwhile).
// (kKeptStartMs, the kept renderer's start, is in office/kept_renderer.h.)
constexpr int kOneShotMs = 30000;   // one soffice --convert-to run
constexpr int kKeptMs = 20000;      // one conversion by the warm renderer
constexpr int kPrintoutMs = 45000;  // everything for one printout
int g_oneShotMs = kOneShotMs;
int g_keptMs = kKeptMs;
PrintBatch* g_batch = nullptr;

std::string pdfFor(const std::string& file, const std::string& outDir) {
    return (fs::path(outDir) / fs::path(file).stem()).string() + ".pdf";
}

bool nonEmpty(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && fs::file_size(path, ec) > 0;
}

// Sends one rendered PDF where printouts go now; returns the printouts
// folder's file it became ("" when it went to a printer).
std::string deliver(const std::string& pdf, const std::string& what) {
    const std::string printer = prn::currentPrinter();
    if (!printer.empty()) {
        prn::sendPdfToPrinter(pdf, printer);
        return "";
    }
    try {
        const std::string target = prn::newPrintoutPath(what);
        prn::copyPrintout(pdf, target);  // whole on the disk, or nothing there
        return target;
    } catch (const ui::RtError& e) {
        throw RenderError(e.description());
    }
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
        // LibreOffice says nothing of a full disk: it only makes no PDF.
        if (const std::string full = profile.noSpace(outDir); !full.empty())
            throw RenderError(full + ", so LibreOffice could not convert " + f);
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

bool officeAvailable() {
    return g_seam == OfficeSeam::Present || (g_seam == OfficeSeam::Real && prn::programExists("soffice"));
}

void setOfficeForTest(OfficeSeam seam) { g_seam = seam; }
void setKeptRendererEnabled(bool enabled) {
    g_keptEnabled = enabled;
    if (!enabled) keptRenderer().stop();
}
void setRenderTimeoutsForTest(int oneShotMs, int keptMs) {
    g_oneShotMs = oneShotMs > 0 ? oneShotMs : kOneShotMs;
    g_keptMs = keptMs > 0 ? keptMs : kKeptMs;
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
            if (!keptRenderer().start()) break;
            bool refused = false;
            for (; i < files.size(); ++i) {
                std::string why;
                const std::string pdf = pdfFor(files[i], outDir);
                if (!keptRenderer().convert(files[i], pdf, why, deadline, g_keptMs)) break;
                if (!why.empty() || !nonEmpty(pdf)) {
                    // Refused: a file LibreOffice cannot read, or a LibreOffice
                    // that died under the helper. The one-shot conversion below
                    // tells the two apart; the kept one starts afresh next time.
                    keptRenderer().stop();
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
    if (g_keptEnabled && officeAvailable()) keptRenderer().start();
}
void stop() { keptRenderer().stop(); }
bool running() { return keptRenderer().running(); }
int processGroup() { return keptRenderer().group(); }
}  // namespace renderer

}  // namespace office
