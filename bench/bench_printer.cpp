// The printer and office layers on their own: a full plain-text page painted
// into a PDF, an audit template filled in this process, and a filled
// workbook turned into a PDF by the warm kept renderer, by the one-shot
// conversion and, side by side, by a bare `soffice --headless --convert-to
// pdf` of the same file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "office/excel.h"
#include "office/render.h"
#include "office/word.h"
#include "platform/print_qt.h"
#include "print/printer.h"
#include "print/process.h"
#include "tests/support/qt_app.h"

namespace fs = std::filesystem;

namespace {

std::string binDir() {
    const char* env = std::getenv("HEATER_BIN_DIR");
    const fs::path bin = env ? fs::path(env) : fs::read_symlink("/proc/self/exe").parent_path() / ".." / "bin";
    return bin.string() + "/";
}

fs::path scratch(const std::string& name) {
    const fs::path d = fs::temp_directory_path() / ("heater-bench-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

// A page as full as the plain-text audit: 66 lines of columns.
prn::Document fullPage() {
    prn::Capture cap;
    auto& P = prn::printer();
    P.FontName("Courier New");
    P.FontSize(10);
    P.FontBold(true);
    P.Print({prn::Spc(7)}, prn::Open);
    P.FontSize(20);
    P.Print({"        ACME Pool Heating"});
    P.FontSize(10);
    P.FontBold(false);
    for (int i = 0; i < 65; ++i)
        P.Print({prn::Tab(11), "JAN", prn::Tab(19), "72", prn::Tab(27), "80", prn::Tab(35), "12", prn::Tab(44), "10",
                 prn::Tab(55), "$1,234.56", prn::Tab(69), "$2,345.67", prn::Tab(83), "$1,111.11"});
    P.EndDoc();
    return cap.documents().front();
}

void BM_PlainTextPageToPdf(benchmark::State& state) {
    testsupport::ensure_app();
    const prn::Document doc = fullPage();
    const fs::path dir = scratch("page");
    for (auto _ : state) {
        if (!plat::writePdf(doc, (dir / "page.pdf").string())) state.SkipWithError("cannot write the PDF");
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_PlainTextPageToPdf)->Unit(benchmark::kMillisecond);

void BM_FillAuditTemplate(benchmark::State& state) {
    office::setOfficeForTest(office::OfficeSeam::Present);
    const fs::path dir = scratch("fill");
    for (auto _ : state) {
        office::Word w;
        w.Documents().Open(binDir() + "WordPrt1a.dotx");
        w.ActiveDocument().Bookmarks("Getpic").Select();
        w.Selection().InlineShapes().AddPicture(binDir() + "hppic61.bmp", false, true);
        auto fill = [&](const std::string& b, const std::string& t) {
            w.ActiveDocument().Bookmarks(b).Select();
            w.Selection().InsertAfter(t);
        };
        for (const char* b :
             {"bm1",    "bm3",   "bm3b",  "bm4b", "bm5b",  "bm6",   "bmb6",  "bm12", "bmb12", "bm7",   "bmb7",
              "bm13",   "bmb13", "bm8",   "bmb8", "bm14",  "bmb14", "bm9",   "bmb9", "bm10",  "bmb10", "bm102",
              "bmb102", "bm15",  "bmb15", "bm16", "bmb16", "bm11",  "bmb11", "bm17", "bmb17", "bm18"})
            fill(b, "  Pool Area:");
        for (int r = 19; r <= 34; ++r)
            for (char c = 'a'; c <= 'h'; ++c) {
                const std::string b = "bm" + std::to_string(r) + c;
                if ((r < 21 && c == 'a') || (r > 32 && c != 'c' && c != 'f' && c != 'g' && c != 'h')) continue;
                fill(b, "$1,234.56");
            }
        for (const char* b : {"bm35", "bm37", "bm38", "bm39", "bm50"})
            fill(b, "  Above data is based on historical weather data");
        w.ActiveDocument().saveCopy((dir / "filled.docx").string());
        w.Quit();
    }
    office::setOfficeForTest(office::OfficeSeam::Real);
    fs::remove_all(dir);
}
BENCHMARK(BM_FillAuditTemplate)->Unit(benchmark::kMillisecond);

// A small filled workbook, the file all three conversions below convert.
std::string filledWorkbook(const fs::path& dir) {
    office::setOfficeForTest(office::OfficeSeam::Present);
    office::Excel x;
    x.Workbooks().Open(binDir() + "ENERGY COSTS.xlsx");
    const std::string cols = "bcdefghijklm";
    for (int m = 0; m < 12; ++m)
        for (int row = 1; row <= 3; ++row) {
            x.Range(cols.substr(m, 1) + std::to_string(row)).Select();
            x.ActiveCell().FormulaR1C1(static_cast<float>(40 * row + 3 * m));
        }
    x.Range("J15").Select();
    x.ActiveCell().FormulaR1C1("ACME Pool Heating");
    const std::string path = (dir / "ENERGY COSTS.xlsx").string();
    x.saveCopy(path);
    office::setOfficeForTest(office::OfficeSeam::Real);
    return path;
}

void BM_WorkbookToPdfKeptRendererWarm(benchmark::State& state) {
    if (!office::officeAvailable()) return state.SkipWithError("LibreOffice is not installed");
    const fs::path dir = scratch("kept");
    const std::string book = filledWorkbook(dir);
    office::setKeptRendererEnabled(true);
    office::renderer::start();
    office::renderToPdf({book}, dir.string());  // warm: started and one document done
    for (auto _ : state) office::renderToPdf({book}, dir.string());
    office::renderer::stop();
    fs::remove_all(dir);
}
BENCHMARK(BM_WorkbookToPdfKeptRendererWarm)->Unit(benchmark::kMillisecond)->Iterations(10);

// The one-shot fallback and a bare conversion of the same file, taken in
// turn so both meet the same machine load; the counters give each one's mean
// and their ratio (at most 1.2 wanted).
void BM_WorkbookToPdfOneShotAgainstBare(benchmark::State& state) {
    if (!office::officeAvailable()) return state.SkipWithError("LibreOffice is not installed");
    const fs::path dir = scratch("oneshot");
    const std::string book = filledWorkbook(dir);
    const std::vector<std::string> bare = {"soffice",    "--headless", "--convert-to", "pdf", "--outdir",
                                           dir.string(), book};
    office::renderOneShot({book}, dir.string());  // both profiles exist before timing
    prn::runProcess(bare, 120000);
    using clock = std::chrono::steady_clock;
    double oneShot = 0, plain = 0;
    for (auto _ : state) {
        auto t0 = clock::now();
        office::renderOneShot({book}, dir.string());
        auto t1 = clock::now();
        prn::runProcess(bare, 120000);
        auto t2 = clock::now();
        oneShot += std::chrono::duration<double, std::milli>(t1 - t0).count();
        plain += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["oneshot_ms"] = oneShot / n;
    state.counters["bare_ms"] = plain / n;
    state.counters["ratio"] = plain > 0 ? oneShot / plain : 0;
    fs::remove_all(dir);
}
BENCHMARK(BM_WorkbookToPdfOneShotAgainstBare)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
