// The Qt side of printing: paints finished documents (print/) with
// QPainter, on the current printer (QPrinter through CUPS) or, when no
// printer is installed, into a PDF in the printouts folder; the printer
// dialog of "Select a printer"; the fonts the pages name.
//
//     plat::installPrinting();          // once, at start-up (the Application does it)
//     plat::selectPrinter(this);        // "Select a printer": QPrintDialog
//
// Fonts: "Courier" and "Courier New" are painted in Liberation Mono, "Arial"
// in Liberation Sans (metric-compatible); another installed family as it
// is; a family that is not installed in Liberation Mono too, whatever other
// fonts the machine has.
#pragma once

#include <QByteArray>
#include <QFont>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QWidget;

namespace prn {
struct Document;
struct Font;
}  // namespace prn

namespace plat {

// Installs the output, the font check, the default-printer lookup and the
// file opener of print/. Safe to call more than once.
void installPrinting();

// The QFont a printer font is painted with, sized in points.
QFont resolveFont(const prn::Font& f);

// Paints the pages onto a device whose pages are Letter with no margins.
// Returns false when the device cannot be painted on.
bool paintDocument(const prn::Document& doc, QPagedPaintDevice& device);
// The pages as a PDF file's bytes; empty when they cannot be painted.
QByteArray pdfBytes(const prn::Document& doc);
// Writes the pages as a PDF file (prn::writePrintout); false when the file
// cannot be written.
bool writePdf(const prn::Document& doc, const std::string& path);

// Sends a document where printouts go now (see print/destination.h):
// the current printer, else a PDF in the printouts folder, and tells the
// dealer where it went. Throws ui::RtError 25 when the printer fails,
// prn::printerNotInstalled when the printer is not there.
void sendDocument(const prn::Document& doc);

// "Select a printer": the printer dialog; the printer picked serves the
// rest of the run. Returns false when the dialog was cancelled, and when no
// printer is installed (the dealer is told so instead of an empty dialog).
bool selectPrinter(QWidget* parent);

// Test seams. Printing on the real printer path calls `printerSeam` with
// the printer name instead of opening the printer: it returns the PDF file
// to paint into, or "" to fail as an unreachable printer (error 25).
// `dialogSeam` answers the printer dialog with a printer name ("" cancels);
// `anyPrinterSeam` says whether a printer is installed.
void setPrinterSeam(std::function<std::string(const std::string& printer)> seam);
void setPrinterDialogSeam(std::function<std::string()> seam);
// Whether a printer is installed (true: the dialog's list is not empty).
void setAnyPrinterSeam(std::function<bool()> seam);

}  // namespace plat
