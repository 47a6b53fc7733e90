// Where printouts go: the printer picked with "Select a printer" (for the
// rest of the run), else the system's default printer (CUPS), else - when
// no printer is installed - a PDF file in the printouts folder the program
// handed over ("printouts" under the data folder), named by date, time and
// what was printed. No Qt: the Qt
// backend installs the lookups (platform/print_qt.h); the office documents
// use the same rules for their PDFs.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ui.h"

namespace prn {

// The printer chosen in the printer dialog; "" returns to the default.
void setChosenPrinter(const std::string& name);
const std::string& chosenPrinter();

// Asks the system for its default printer name ("" when none is installed).
using PrinterLookup = std::string (*)();
PrinterLookup setDefaultPrinterLookup(PrinterLookup lookup);

// The printer output goes to now: the chosen one, else the default one;
// "" means no printer: output becomes a PDF in the printouts folder.
std::string currentPrinter();

// The printouts folder. The program hands it over once it knows its data
// folder (data folder + "printouts/"); until then "printouts/" in the
// working folder. printoutsFolder() ends in "/".
void setPrintoutsFolder(const std::string& folder);
std::string printoutsFolder();
// A new, unused file name there (the folder is made private, see
// privateFolder: printouts hold a customer's name and address):
// "2026-12-06 19-40-12 Plain text audit.pdf", then "... (2).pdf" and so on.
// Characters a file name cannot hold become "_". A folder privateFolder
// refuses (a link, someone else's) is never written through: ui::RtError
// 75 names it and why.
std::string newPrintoutPath(const std::string& what, const std::tm& when);
std::string newPrintoutPath(const std::string& what);

// A folder only this user can enter, whatever the umask: made 0700 when
// missing (its parents as usual), and one of ours that others could enter
// is made 0700; one that is a link, not a folder, or someone else's is
// refused. Returns false then.
bool privateFolder(const std::string& path);
// The same, telling why it refuses ("it is a link ...", "it is not a
// folder", "it belongs to another user (user id N)", or the system's
// reason); "" when the folder is this user's alone.
std::string privateFolderFault(const std::string& path);

// A printer that is not (any more) installed: error 482 naming it, not a
// printer fault that trying again could mend.
ui::RtError printerNotInstalled(const std::string& printerName);

// Sends a finished PDF file to `printerName` with lp (argument list, time
// limit). Throws printerNotInstalled, or ui::RtError 25 when the printer does
// not take it.
void sendPdfToPrinter(const std::string& pdfPath, const std::string& printerName);

// Writes a printout file whole: a new file readable by its owner only
// (0600: printouts hold a customer's name and address), written, flushed to
// the disk and its size checked, and only then put in place as `path`. On
// any failure nothing is left at `path` and ui::RtError 75 names the file
// and the cause ("No space left on device"). An empty printout is refused.
// The folder is judged as privateFolder judges it and written through the
// same handle: a link put in its place after newPrintoutPath, or while it
// is written, never receives the printout.
void writePrintout(const std::string& path, std::string_view bytes);
// The same for a finished file elsewhere (a rendered PDF).
void copyPrintout(const std::string& from, const std::string& path);
// What an interrupted run left in the printouts folder: half-written
// printouts ("*.pdf.part") older than `before` (see rec::removeLeftovers).
void removeLeftoverParts(std::time_t before);
// Test seam: while `err` is not 0, every printout written after the next
// `after` stops half-way and fails as the system would with that errno
// (ENOSPC: a full disk).
void failPrintoutWritesForTest(int err, int after = 0);
// Test seam: `hook` runs in writePrintout once the folder is judged, before
// anything is written into it (nullptr: none).
void setPrintoutFolderHookForTest(std::function<void()> hook);

// Tells the dealer where the printouts of one Print went (one question for
// all of them) and offers to open them in the desktop's PDF viewer
// (message box, Yes/No). A file that cannot be opened is named in a second
// message with where it lies.
void announceSaved(const std::vector<std::string>& pdfPaths);
inline void announceSaved(const std::string& pdfPath) { announceSaved(std::vector<std::string>{pdfPath}); }
// How a file is opened on the desktop (the Qt backend installs one): false
// when no program could be started for it.
using FileOpener = bool (*)(const std::string& path);
FileOpener setFileOpener(FileOpener opener);

}  // namespace prn
