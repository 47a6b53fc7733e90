#include "platform/print_qt.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

#include "core/ui.h"
#include "print/destination.h"
#include "print/printer.h"
#include "print/process.h"

namespace plat {

namespace {

std::function<std::string(const std::string&)> g_printerSeam;
std::function<std::string()> g_dialogSeam;
std::function<bool()> g_anyPrinterSeam;

bool anyPrinterInstalled() {
    return g_anyPrinterSeam ? g_anyPrinterSeam() : !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool fontInstalled(const std::string& name) { return QFontDatabase::hasFamily(QString::fromStdString(name)); }

std::string defaultPrinter() { return QPrinterInfo::defaultPrinterName().toStdString(); }

// Opens a file in the desktop's program for it. Qt hands it to xdg-open and
// reports only that xdg-open started, also where no program takes PDF
// files; the desktop's own table (xdg-mime) tells that case apart first.
bool openFile(const std::string& path) {
    const prn::ProcessResult known = prn::runProcess({"xdg-mime", "query", "default", "application/pdf"}, 5000);
    if (known.started && !known.timedOut && known.output.find(".desktop") == std::string::npos) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

struct QtOutput : prn::Output {
    void send(const prn::Document& doc) override { sendDocument(doc); }
} g_output;

QPageLayout letter() {
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

constexpr const char* kFallbackFamily = "Liberation Mono";

// The family a printer font name is painted in.
QString familyFor(const std::string& name) {
    const QString n = QString::fromStdString(name);
    if (n.compare("Courier", Qt::CaseInsensitive) == 0 || n.compare("Courier New", Qt::CaseInsensitive) == 0)
        return "Liberation Mono";
    if (n.compare("Arial", Qt::CaseInsensitive) == 0) return "Liberation Sans";
    return n;
}

}  // namespace

void installPrinting() {
    static prn::Output* installed = nullptr;
    if (installed) return;
    installed = &g_output;
    prn::setOutput(&g_output);
    prn::setFontAvailable(fontInstalled);
    prn::setDefaultPrinterLookup(defaultPrinter);
    prn::setFileOpener(openFile);
}

QFont resolveFont(const prn::Font& f) {
    QString family = familyFor(f.name);
    // A family that is not installed falls back to the fixed-pitch family
    // the set-up installs (fonts-liberation), named: the desktop's own
    // fixed-pitch choice differs from machine to machine with the fonts
    // that happen to be there.
    if (!QFontDatabase::hasFamily(family)) family = kFallbackFamily;
    QFont q(family);
    q.setPointSizeF(f.size);
    q.setBold(f.bold);
    q.setItalic(f.italic);
    q.setUnderline(f.underline);
    q.setStrikeOut(f.strikethru);
    q.setKerning(false);
    q.setStyleStrategy(QFont::PreferMatch);
    return q;
}

bool paintDocument(const prn::Document& doc, QPagedPaintDevice& device) {
    device.setPageLayout(letter());
    QPainter p;
    if (!p.begin(&device)) return false;
    // Transcript positions are points; the device counts its own pixels.
    const double sx = device.logicalDpiX() / 72.0, sy = device.logicalDpiY() / 72.0;
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            p.end();
            return false;
        }
        for (const prn::Line& line : doc.pages[i].lines) {
            for (const prn::Run& run : line.runs) {
                p.setFont(resolveFont(run.font));
                const double baseline = prn::kMargin + line.y + prn::metrics(run.font).ascent;
                p.drawText(QPointF((prn::kMargin + run.x) * sx, baseline * sy), QString::fromStdString(run.text));
            }
        }
    }
    return p.end();
}

QByteArray pdfBytes(const prn::Document& doc) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter w(&buffer);
    w.setResolution(600);
    w.setTitle(QString::fromStdString(doc.name));
    w.setCreator("Heater");
    if (!paintDocument(doc, w)) return {};
    return buffer.data();
}

bool writePdf(const prn::Document& doc, const std::string& path) {
    const QByteArray pdf = pdfBytes(doc);
    try {
        prn::writePrintout(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    } catch (const ui::RtError&) {
        return false;
    }
    return true;
}

void sendDocument(const prn::Document& doc) {
    const std::string printerName = prn::currentPrinter();
    if (printerName.empty()) {
        const std::string path = prn::newPrintoutPath(doc.name);
        const QByteArray pdf = pdfBytes(doc);
        // Told saved only once the whole file is on the disk; else error 75 names the cause.
        prn::writePrintout(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
        prn::announceSaved(path);
        return;
    }
    // The real printer path: the only place a printer fault (25) comes from.
    if (g_printerSeam) {
        const std::string pdf = g_printerSeam(printerName);
        if (pdf.empty() || !writePdf(doc, pdf)) throw ui::RtError(25, ui::ErrorText(25));
        return;
    }
    // A name the print system does not know (a printer taken away since it
    // was picked) would quietly become a PDF printer without a file.
    if (QPrinterInfo::printerInfo(QString::fromStdString(printerName)).isNull())
        throw prn::printerNotInstalled(printerName);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(printerName));
    printer.setDocName(QString::fromStdString(doc.name));
    if (!printer.isValid()) throw prn::printerNotInstalled(printerName);
    if (!paintDocument(doc, printer)) throw ui::RtError(25, ui::ErrorText(25));
}

bool selectPrinter(QWidget* parent) {
    // The printer dialog over an empty list would offer a Print button that
    // leads nowhere.
    if (!anyPrinterInstalled()) {
        ui::MsgBox("No printer is installed\r\nPrintouts are saved as PDF files.", ui::vbOKOnly | ui::vbInformation,
                   "Select a printer");
        return false;
    }
    std::string picked;
    if (g_dialogSeam) {
        picked = g_dialogSeam();
    } else {
        QPrinter printer;
        const std::string current = prn::currentPrinter();
        if (!current.empty()) printer.setPrinterName(QString::fromStdString(current));
        QPrintDialog dlg(&printer, parent);
        dlg.setWindowTitle("Select a printer");
        dlg.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dlg.exec() != QDialog::Accepted) return false;
        picked = printer.printerName().toStdString();
    }
    if (picked.empty()) return false;
    prn::setChosenPrinter(picked);
    return true;
}

void setPrinterSeam(std::function<std::string(const std::string&)> seam) { g_printerSeam = std::move(seam); }
void setPrinterDialogSeam(std::function<std::string()> seam) { g_dialogSeam = std::move(seam); }
void setAnyPrinterSeam(std::function<bool()> seam) { g_anyPrinterSeam = std::move(seam); }

}  // namespace plat
