// Turning filled documents into printed pages with LibreOffice: a kept
// renderer (one LibreOffice started in the background, driven through its
// UNO API by a small python3-uno helper over a named pipe), or one
// `soffice --headless --convert-to pdf` start when the kept one cannot run.
// Both use a private LibreOffice profile, so a LibreOffice the dealer has
// open is not disturbed, and time limits, so a hanging LibreOffice cannot
// hang the program; a printout longer than a second shows the progress
// window (ui::Progress), whose Cancel stops LibreOffice or the printer
// command and throws ui::Cancelled. No Qt.
//
//     office::renderer::start();   // when the printout selection window opens
//     ...                          // Word/Excel PrintOut render through it
//     office::renderer::stop();    // at program end (the Application does it)
//
// One printout that makes two documents (Word audit, then the Excel chart):
//
//     office::PrintBatch batch;    // PrintOut now only queues the documents
//     prt_word();
//     prt_graph();
//     batch.finish();              // both rendered by one LibreOffice start,
//                                  // then sent, one question naming every
//                                  // PDF saved; may throw like PrintOut
//
// Made in three parts: the printing itself (office/render.cpp), the kept
// renderer and its helper (office/kept_renderer.cpp), and the private
// folders - job folders, LibreOffice's profiles - with what an interrupted
// run left of them (office/profile.cpp).
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace office {

// Rendering failed: LibreOffice missing, hanging (time limit) or refusing
// the file.
struct RenderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// LibreOffice can be started (soffice on PATH). Tests can pretend otherwise.
bool officeAvailable();
// What the dealer is told, as error 429's description, when it cannot.
inline constexpr const char* kNeedsLibreOffice = "The office printouts need LibreOffice, which is not installed.";

// Converts each file to <outDir>/<stem>.pdf: through the kept renderer when
// it runs (it is started if need be; restarted once if it died), else with
// one soffice start for all the files, 45 s at most in all. Returns the PDF
// paths, in order.
std::vector<std::string> renderToPdf(const std::vector<std::string>& files, const std::string& outDir);
// The one-shot conversion alone (the fallback; measured in the benchmarks).
std::vector<std::string> renderOneShot(const std::vector<std::string>& files, const std::string& outDir);

// A new private temporary folder for one print job (printFile deletes it),
// held (locked) until removeJobFolder: a later start of the program
// removes job folders an interrupted run left, never one in use. Throws
// RenderError naming the temporary folder and the cause when it cannot be
// made.
std::string newJobFolder();
// Removes a job folder and lets it go.
void removeJobFolder(const std::string& folder);
// Saves a filled document with `save` as `name` in a new job folder and
// returns its path, for printFile. When it cannot, the folder goes and
// RenderError names the cause for the dealer: "No space left in the
// temporary folder /tmp" when the disk is full, else the folder and the
// system's reason.
std::string saveForPrinting(const std::string& name, const std::function<void(const std::string& path)>& save);

// Everything an interrupted earlier run of the program left, older than
// this run (see rec::removeLeftovers): temporary copies beside the data
// files in `dataDir` ("*.tmp~XXXXXX"), half-written printouts in the
// printouts folder ("*.pdf.part"), and the print jobs' and private
// LibreOffice folders in the temporary folder ("heater-print-XXXXXX",
// "heater-office-XXXXXX": a customer's filled documents) that no running
// program holds, and the dead pipes of this user's LibreOffice in /tmp
// (see removeDeadPipes). Run at start-up, once the data folder is this
// program's.
void removeLeftovers(const std::string& dataDir);

// Renders a filled document and sends it where printouts go now (the
// current printer through lp, else a PDF in the printouts folder, which the
// dealer is told about). `what` names it there ("Audit", "Energy costs").
// The file must lie in a folder of newJobFolder(): printFile deletes that
// folder when it is done, on every path. Inside a PrintBatch it only queues
// the file. Throws RenderError, ui::RtError 25 when the printer fails, or
// ui::Cancelled when the dealer cancels.
void printFile(const std::string& file, const std::string& what);

class PrintBatch {
public:
    PrintBatch();
    ~PrintBatch();  // an unfinished batch is dropped, its files deleted
    PrintBatch(const PrintBatch&) = delete;
    PrintBatch& operator=(const PrintBatch&) = delete;
    // Renders every queued file with one LibreOffice start and sends the
    // PDFs (one "Printout saved" question for all that were saved); the
    // queued files are deleted. Throws like printFile.
    void finish();

private:
    friend void printFile(const std::string&, const std::string&);
    struct Job {
        std::string file, what;
    };
    std::vector<Job> jobs_;
    bool done_ = false;
};

// The kept renderer.
namespace renderer {
// Starts it in the background and returns at once (nothing when it runs).
void start();
// Ends it and every process it started; waits for them to go.
void stop();
bool running();
// Process id of the renderer's process group (tests end it mid-way).
int processGroup();
}  // namespace renderer

// Test seams: pretend LibreOffice is missing (or there, for tests that only
// fill documents); use only the one-shot conversion; limit times
// (milliseconds; 0 keeps the default).
enum class OfficeSeam { Real, Missing, Present };
void setOfficeForTest(OfficeSeam seam);
void setKeptRendererEnabled(bool enabled);
void setRenderTimeoutsForTest(int oneShotMs, int keptMs);
// Called with the kept renderer's process group each time a conversion has
// been asked of it, before its answer is awaited (a test ends it there, so
// it dies while it converts). nullptr: none.
void setConversionHookForTest(std::function<void(int group)> hook);
// Free bytes on the file system of a folder, asked after LibreOffice failed
// to tell a full disk (nullptr: the file system's own count; -1: unknown).
void setFreeSpaceForTest(std::function<long long(const std::string& folder)> bytes);
// The name the kept renderer's pipe is to have ("" for a new random one at
// every start, as the program has it), so a test can plant something there.
void setRenderPipeForTest(const std::string& name);

// The files of this user's LibreOffice pipes (see pipePath) the processes
// of group `pgid` listen on, which a killed LibreOffice leaves behind.
std::vector<std::string> pipeFiles(int pgid);

// Where the private LibreOffice profiles are kept: a cache folder of the
// user; "" when there is none (no HOME, no XDG_CACHE_HOME), and then each
// use makes a private temporary one.
std::string profileFolder(const std::string& which);

}  // namespace office
