// Filled documents printed through LibreOffice: the kept renderer and the
// one-shot conversion, the printer (a stand-in lp) and the printouts folder,
// and the failures - LibreOffice missing, hanging or killed mid-way, a
// printer that refuses - leaving no process and no temporary file behind.
#include "office/render.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>
#include <tuple>

#include "app/model.h"
#include "core/ui.h"
#include "office/excel.h"
#include "office/libreoffice.h"
#include "office/word.h"
#include "print/destination.h"
#include "print/process.h"
#include "tests/office/fixtures.h"

namespace fs = std::filesystem;

namespace {

std::string noPrinter() { return ""; }
std::string laser() { return "Office_Laser"; }

int printJobFolders() {
    int n = 0;
    for (auto& e : fs::directory_iterator(fs::temp_directory_path()))
        if (e.path().filename().string().rfind("heater-print-", 0) == 0) ++n;
    return n;
}

std::string pdfText(const std::string& pdf) {
    return prn::runProcess({"pdftotext", "-layout", pdf, "-"}, 20000).output;
}

int pdfPages(const std::string& pdf) {
    const auto out = prn::runProcess({"pdfinfo", pdf}, 20000).output;
    const auto at = out.find("Pages:");
    return at == std::string::npos ? 0 : std::atoi(out.c_str() + at + 6);
}

// /proc/<pid>/stat, or "" when the process is gone (also while it is read:
// reading through a stream buffer iterator would throw then).
std::string procStat(const std::string& dir) {
    std::ifstream f(dir + "/stat");
    std::string line;
    std::getline(f, line);
    return line;
}

// True while a process with that id runs (a zombie counts as gone).
bool alive(int pid) {
    const std::string stat = procStat("/proc/" + std::to_string(pid));
    return !stat.empty() && stat.find(") Z ") == std::string::npos;
}

// True while any process of the group runs (zombies waiting for their
// parent to collect them count as gone).
bool groupAlive(int pgid) {
    for (auto& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string stat = procStat(e.path().string());
        const auto close = stat.rfind(')');
        if (close == std::string::npos || close + 4 > stat.size()) continue;
        char state = 0;
        int ppid = 0, pgrp = 0;
        if (std::sscanf(stat.c_str() + close + 2, "%c %d %d", &state, &ppid, &pgrp) == 3 && pgrp == pgid &&
            state != 'Z')
            return true;
    }
    return false;
}

// The command lines of the processes of group `pgid`, NULs as blanks.
std::string groupCommandLines(int pgid) {
    std::string all;
    for (auto& e : fs::directory_iterator("/proc")) {
        const std::string stat = procStat(e.path().string());
        const auto close = stat.rfind(')');
        int pgrp = 0;
        if (close == std::string::npos || std::sscanf(stat.c_str() + close + 2, "%*c %*d %d", &pgrp) != 1 ||
            pgrp != pgid)
            continue;
        std::string line = fixtures::readAll(e.path().string() + "/cmdline");
        std::replace(line.begin(), line.end(), '\0', ' ');
        all += line + "\n";
    }
    return all;
}

// True while something lies at `path` (a link or a socket too).
bool present(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The address of the Unix socket at `path`.
sockaddr_un unixAddress(const std::string& path) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, std::min(path.size(), sizeof addr.sun_path - 1));
    return addr;
}

// While it lives, LibreOffice's pipes are looked for in `path` (a folder of
// the test's own) instead of /tmp, which every run on the machine shares:
// a run beside this one never sees, nor sweeps, what this test plants
// there, and this test never sees theirs. What it planted - the folder and
// the sockets held open - goes however the test ends.
struct OwnPipeFolder {
    std::string path;
    std::vector<int> fds;
    explicit OwnPipeFolder(std::string at) : path(std::move(at)) {
        fs::create_directories(path);
        office::setPipeFolderForTest(path);
    }
    ~OwnPipeFolder() {
        office::setPipeFolderForTest("");
        for (int fd : fds) ::close(fd);
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    OwnPipeFolder(const OwnPipeFolder&) = delete;
    OwnPipeFolder& operator=(const OwnPipeFolder&) = delete;
    int hold(int fd) { return fds.push_back(fd), fd; }
};

struct RenderTest : ::testing::Test {
    std::string dir = fixtures::tempDir("render");
    std::string savedData, savedPrintouts, savedPath, savedTmp;
    prn::PrinterLookup prevLookup = nullptr;
    int jobsBefore = 0;

    void SetUp() override {
        if (!office::officeAvailable()) GTEST_SKIP() << "LibreOffice is not installed";
        savedData = g.data_dir;
        g.data_dir = dir + "/";
        savedPrintouts = prn::printoutsFolder();
        prn::setPrintoutsFolder(dir + "/printouts/");
        savedPath = std::getenv("PATH");
        // Temporary folders of this test go into its own folder, so a test
        // running beside it cannot blur the count of leftovers.
        savedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        fs::create_directories(dir + "/tmp");
        setenv("TMPDIR", (dir + "/tmp").c_str(), 1);
        prevLookup = prn::setDefaultPrinterLookup(noPrinter);
        jobsBefore = printJobFolders();
        fixtures::wordTemplate().save(dir + "/WordPrt1a.dotx");
        fixtures::workbook().save(dir + "/ENERGY COSTS.xlsx");
    }
    void TearDown() override {
        if (savedPath.empty()) return;
        setenv("PATH", savedPath.c_str(), 1);
        g.data_dir = savedData;
        prn::setPrintoutsFolder(savedPrintouts);
        office::renderer::stop();
        prn::setDefaultPrinterLookup(prevLookup);
        office::setKeptRendererEnabled(true);
        office::setRenderTimeoutsForTest(0, 0);
        office::setConversionHookForTest(nullptr);
        office::setRenderPipeForTest("");
        office::setOfficeForTest(office::OfficeSeam::Real);
        EXPECT_EQ(printJobFolders(), jobsBefore) << "a temporary print folder was left behind";
        if (savedTmp.empty()) unsetenv("TMPDIR");
        else setenv("TMPDIR", savedTmp.c_str(), 1);
        fs::remove_all(dir);
    }

    // A folder put first on PATH holding stand-ins for `name`.
    void standIn(const std::string& name, const std::string& script) {
        const std::string bin = dir + "/bin";
        fs::create_directories(bin);
        fixtures::write(bin + "/" + name, "#!/bin/sh\n" + script + "\n");
        ::chmod((bin + "/" + name).c_str(), 0755);
        setenv("PATH", (bin + ":" + savedPath).c_str(), 1);
    }

    std::vector<std::string> printouts() {
        std::vector<std::string> v;
        std::error_code ec;
        for (auto& e : fs::directory_iterator(dir + "/printouts", ec)) v.push_back(e.path().string());
        std::sort(v.begin(), v.end());
        return v;
    }

    void printWord(const std::string& text) {
        office::Word w;
        w.Documents().Open(dir + "/WordPrt1a.dotx");
        w.ActiveDocument().Bookmarks("bm1").Select();
        w.Selection().InsertAfter(text);
        w.ActiveDocument().PrintOut(false);
        w.ActiveDocument().Close(false);
        w.Quit();
    }
    // The one-shot conversion through a stand-in converter: one small PDF
    // per file.
    void standInConverter() {
        office::setKeptRendererEnabled(false);
        standIn("soffice",
                "while [ $# -gt 0 ]; do case \"$1\" in --outdir) out=\"$2\";; *.docx|*.xlsx) f=${1##*/}; "
                "echo %PDF-1.4 > \"$out/${f%.*}.pdf\";; esac; shift; done");
    }
    // One Print of two documents, the audit and the chart.
    void printBoth() {
        office::PrintBatch batch;
        printWord("audit");
        printExcel("chart");
        batch.finish();
    }
    void printExcel(const std::string& text) {
        office::Excel x;
        x.Workbooks().Open(dir + "/ENERGY COSTS.xlsx");
        x.Range("b3").Select();
        x.ActiveCell().FormulaR1C1(text);
        x.ActiveSheet().PageSetup().PrintArea("$A$1:$D$5");
        x.ActiveSheet().PrintOut();
        x.Quit();
    }
};

TEST_F(RenderTest, TheKeptRendererPrintsIntoThePrintoutsFolderAndSurvivesItsDeath) {
    office::renderer::start();
    ui::Script boxes;
    boxes.answer(ui::vbNo).answer(ui::vbNo).answer(ui::vbNo);
    printWord("Kestrolin Pools");
    ASSERT_TRUE(office::renderer::running());
    const int group = office::renderer::processGroup();
    // The pipes of every LibreOffice killed here: none may be left in /tmp.
    std::vector<std::string> killedPipes = office::pipeFiles(group);
    EXPECT_GE(killedPipes.size(), 2u);

    // Killed between two printouts: the next one starts it again.
    ::kill(-group, SIGKILL);
    printExcel("Energy 2026");
    EXPECT_TRUE(office::renderer::running());
    EXPECT_NE(office::renderer::processGroup(), group);
    printWord("again");

    // Killed while it converts: the printout still comes out, and the dead
    // renderer's processes are all gone.
    const int busy = office::renderer::processGroup();
    int kills = 0;
    office::setConversionHookForTest([busy, &kills, &killedPipes](int pgid) {
        if (pgid != busy) return;
        for (const auto& p : office::pipeFiles(pgid)) killedPipes.push_back(p);
        ::kill(-pgid, SIGKILL);
        ++kills;
    });
    boxes.answer(ui::vbNo);
    try {
        printWord("while killed");
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
    office::setConversionHookForTest(nullptr);
    EXPECT_EQ(kills, 1);
    EXPECT_FALSE(groupAlive(busy));
    boxes.answer(ui::vbNo);
    printWord("after the kill");

    const auto files = printouts();
    ASSERT_EQ(files.size(), 5u);
    ASSERT_EQ(boxes.shown().size(), 5u);
    EXPECT_EQ(boxes.shown()[0].title, "Printout saved");
    EXPECT_NE(boxes.shown()[0].text.find(" Audit.pdf"), std::string::npos);
    std::string all;
    for (const auto& f : files) {
        EXPECT_EQ(pdfPages(f), 1) << f;
        all += pdfText(f);
    }
    EXPECT_NE(all.find("Kestrolin Pools"), std::string::npos);
    EXPECT_NE(all.find("Energy 2026"), std::string::npos);
    EXPECT_NE(all.find("again"), std::string::npos);
    EXPECT_NE(all.find("while killed"), std::string::npos);
    EXPECT_NE(all.find("after the kill"), std::string::npos);

    const int last = office::renderer::processGroup();
    EXPECT_TRUE(groupAlive(last));
    office::renderer::stop();
    EXPECT_FALSE(office::renderer::running());
    EXPECT_FALSE(groupAlive(last));
    for (auto& e : fs::directory_iterator("/tmp"))  // no pipe of a renderer of this run is left
        EXPECT_EQ(e.path().filename().string().find("heater_render_" + std::to_string(::getpid()) + "_"),
                  std::string::npos)
            << e.path();
    EXPECT_GE(killedPipes.size(), 4u);
    for (const auto& p : killedPipes) EXPECT_FALSE(present(p)) << p;
}

// Nobody else gets in through the helper: a uno.py left in the folder the
// program was started from, or on PYTHONPATH, is not run; with the umask
// 000 nobody else can connect to the pipes LibreOffice listens on (that
// needs write permission), whose names are on no command line; and
// LibreOffice's pipe for a second start of itself has a new name every
// time, so nobody can be listening there first, and goes with it.
TEST_F(RenderTest, NothingLeftInItsWayRunsOrListensAsTheDealer) {
    const std::string planted = dir + "/planted";
    fs::create_directories(planted);
    fixtures::write(planted + "/uno.py", "open('" + dir + "/ran', 'w').write('ran')\nraise SystemExit(1)\n");
    const std::string cwd = fs::current_path();
    fs::current_path(planted);
    setenv("PYTHONPATH", planted.c_str(), 1);
    const mode_t umaskBefore = ::umask(0);
    ui::Script boxes;
    std::vector<std::string> instancePipes;
    for (int start = 0; start < 2; ++start) {
        office::renderer::start();
        boxes.answer(ui::vbNo);
        printWord("isolated");
        ASSERT_TRUE(office::renderer::running());
        const auto pipes = office::pipeFiles(office::renderer::processGroup());
        EXPECT_GE(pipes.size(), 2u);
        const std::string commandLines = groupCommandLines(office::renderer::processGroup());
        for (const std::string& pipe : pipes) {
            struct stat st {};
            ASSERT_EQ(::lstat(pipe.c_str(), &st), 0) << pipe;
            EXPECT_EQ(st.st_mode & 022, 0u) << pipe;
            EXPECT_EQ(commandLines.find(pipe.substr(office::pipePath("").size())), std::string::npos) << commandLines;
            if (pipe.find("SingleOfficeIPC_") != std::string::npos) instancePipes.push_back(pipe);
        }
        office::renderer::stop();
    }
    ::umask(umaskBefore);
    unsetenv("PYTHONPATH");
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(dir + "/ran"));
    EXPECT_EQ(printouts().size(), 2u);
    ASSERT_EQ(instancePipes.size(), 2u);
    EXPECT_NE(instancePipes[0], instancePipes[1]);
    for (const auto& p : instancePipes) EXPECT_FALSE(present(p)) << p;
}

TEST_F(RenderTest, ARendererWhoseProgramDiesEndsWithIt) {
    // The program crashes (here a child of the test that started the
    // renderer and ends without stopping it), before and after LibreOffice
    // is ready: the helper sees its socket close and takes LibreOffice along.
    // Also when, meanwhile, another user takes the pipe it waits on (only
    // root can plant one; here LibreOffice is a stand-in that never
    // listens; its pipe in a folder of the test's own): that pipe is not the
    // helper's to remove as it goes.
    const std::string name = "heater_taken_" + std::to_string(::getpid());
    for (const auto& [readyMs, taken] : {std::pair{0, false}, {4000, false}, {0, true}}) {
        std::optional<OwnPipeFolder> own;
        if (taken) {
            if (::geteuid() != 0) continue;
            standIn("soffice", "touch \"" + dir + "/started\"; exec sleep 30");
            office::setRenderPipeForTest(name);
            own.emplace(dir + "/pipes");
        }
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            office::renderer::start();
            const int group = office::renderer::processGroup();
            (void)!::write(fds[1], &group, sizeof group);
            ::usleep(readyMs * 1000);
            ::_exit(0);
        }
        ::close(fds[1]);
        int group = 0;
        ASSERT_EQ(::read(fds[0], &group, sizeof group), static_cast<ssize_t>(sizeof group));
        ::close(fds[0]);
        ::waitpid(child, nullptr, 0);
        ASSERT_GT(group, 0);
        const std::string path = office::pipePath(name);
        if (taken) {
            office::setRenderPipeForTest("");
            for (int i = 0; i < 1000 && !fs::exists(dir + "/started"); ++i) ::usleep(10000);
            const int planted = own->hold(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
            const sockaddr_un addr = unixAddress(path);
            ASSERT_EQ(::bind(planted, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0) << path;
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
            ::listen(planted, 4);
        }
        prn::waitGroupGone(group, 90000);
        EXPECT_FALSE(groupAlive(group)) << readyMs;
        if (taken) {
            EXPECT_TRUE(present(path));
        }
    }
}

TEST_F(RenderTest, OneShotRendersABatchWithOneStartAndPrintsWithLp) {
    office::setKeptRendererEnabled(false);
    standIn("lp", "echo \"$@\" >> \"" + dir + "/lp.log\"");
    prn::setDefaultPrinterLookup(laser);
    {
        office::PrintBatch batch;
        printWord("first document");
        printExcel("second document");
        EXPECT_EQ(printJobFolders(), jobsBefore + 2);  // queued, not yet rendered
        batch.finish();
    }
    const std::string log = fixtures::readAll(dir + "/lp.log");
    // Two lp calls with the printer and the PDF as separate arguments.
    EXPECT_NE(log.find("-d Office_Laser /"), std::string::npos) << log;
    EXPECT_NE(log.find("WordPrt1a.pdf"), std::string::npos) << log;
    EXPECT_NE(log.find("ENERGY COSTS.pdf"), std::string::npos) << log;
    EXPECT_TRUE(printouts().empty());

    // A batch that is never finished drops its documents.
    {
        office::PrintBatch batch;
        printWord("dropped");
    }
}

TEST_F(RenderTest, OnePrintIsToldSavedOnceAndOnlyWhenEveryFileIsWhole) {
    standInConverter();
    ui::Script boxes;
    boxes.answer(ui::vbNo);
    // The filled customer documents are gone before the question is asked,
    // which the dealer may leave open for long.
    const ui::Backend script = ui::install({});
    ui::Backend watching = script;
    int jobsAtQuestion = -1;
    watching.msgBox = [&](const std::string& text, int style, const std::string& title) {
        jobsAtQuestion = printJobFolders();
        return script.msgBox(text, style, title);
    };
    ui::install(watching);
    printBoth();
    ui::install(script);
    EXPECT_EQ(jobsAtQuestion, jobsBefore);
    const auto files = printouts();
    ASSERT_EQ(files.size(), 2u);
    ASSERT_EQ(boxes.shown().size(), 1u);  // one question naming both files
    for (const auto& f : files) {
        EXPECT_NE(boxes.shown()[0].text.find(f), std::string::npos) << f;
        EXPECT_EQ(fs::status(f).permissions(), fs::perms::owner_read | fs::perms::owner_write) << f;
    }
    // A full disk, then a printouts folder that is not the dealer's alone: a
    // file in its place, a link to another folder, another user's folder
    // (only root can give one away). The render error names the cause;
    // nothing is told saved, and nothing is written there or through it.
    const std::string folder = dir + "/printouts", elsewhere = dir + "/elsewhere";
    fs::create_directories(elsewhere);
    for (const auto& [place, cause] : std::vector<std::pair<std::string, std::string>>{
             {"full", "No space left on device"},
             {"file", folder + ": it is not a folder"},
             {"link", folder + ": it is a link to another place"},
             {"another user's", folder + ": it belongs to another user (user id 65534)"}}) {
        if (place == "full") {
            prn::failPrintoutWritesForTest(ENOSPC);
        } else {
            fs::remove_all(folder);
            if (place == "file") fixtures::write(folder, "");
            if (place == "link") fs::create_directory_symlink(elsewhere, folder);
            if (place == "another user's") {
                fs::create_directory(folder);
                if (::geteuid() != 0 || ::chown(folder.c_str(), 65534, 65534) != 0) continue;
            }
        }
        try {
            printWord("not saved");
            ADD_FAILURE() << "told saved: " << place;
        } catch (const ui::RtError& e) {
            EXPECT_EQ(e.number, 4198);
            EXPECT_NE(e.description().find(cause), std::string::npos) << e.description();
        }
        prn::failPrintoutWritesForTest(0);
        EXPECT_EQ(printouts().size(), place == "full" ? 2u : 0u) << place;
    }
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

// One Print of two files whose second cannot be saved (a full disk): the
// first, saved whole, is still told saved, in the one question, and the
// failure is reported; nothing half-written is left.
TEST_F(RenderTest, FilesSavedBeforeALaterOneFailsAreStillToldSaved) {
    standInConverter();
    ui::Script boxes;
    boxes.answer(ui::vbNo);
    prn::failPrintoutWritesForTest(ENOSPC, 1);
    std::string failure;
    try {
        printBoth();
    } catch (const office::RenderError& e) {
        failure = e.what();
    }
    prn::failPrintoutWritesForTest(0);
    EXPECT_NE(failure.find("No space left on device"), std::string::npos) << failure;
    const auto files = printouts();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(files[0].find(" Audit.pdf"), std::string::npos) << files[0];
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].title, "Printout saved");
    EXPECT_NE(boxes.shown()[0].text.find(files[0]), std::string::npos);
}

TEST_F(RenderTest, ConversionsAtTheSameTimeEachHaveAProfileOfTheirOwn) {
    // Two copies of the program printing at once (here two threads): each
    // LibreOffice needs a profile of its own, or the second hands its work
    // to the first and comes back without a page.
    office::Word w;
    w.Documents().Open(dir + "/WordPrt1a.dotx");
    w.ActiveDocument().Bookmarks("bm1").Select();
    w.Selection().InsertAfter("Side by side");
    for (const char* sub : {"/a", "/b"}) {
        fs::create_directories(dir + sub);
        w.ActiveDocument().saveCopy(dir + sub + "/doc.docx");
    }
    w.Quit();
    std::vector<std::string> pdfs[2];
    std::string errors[2];
    auto convert = [&](int i, const std::string& sub) {
        try {
            pdfs[i] = office::renderOneShot({dir + sub + "/doc.docx"}, dir + sub);
        } catch (const std::exception& e) {
            errors[i] = e.what();
        }
    };
    std::thread other(convert, 1, "/b");
    convert(0, "/a");
    other.join();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(errors[i], "") << i;
        ASSERT_EQ(pdfs[i].size(), 1u) << i;
        EXPECT_NE(pdfText(pdfs[i][0]).find("Side by side"), std::string::npos) << i;
    }
}

TEST_F(RenderTest, APrinterThatRefusesGivesError25AndTheNextPrintoutWorks) {
    office::setKeptRendererEnabled(false);
    prn::setDefaultPrinterLookup(laser);
    office::Word w;
    w.Documents().Open(dir + "/WordPrt1a.dotx");
    // A printer that is not installed is named; no paper can mend that.
    for (const auto& [lp, number, text] : std::vector<std::tuple<std::string, int, std::string>>{
             {"exit 1", 25, "Device timeout"},
             {"echo 'lp: Error - The printer or class does not exist.' >&2; exit 1", 482,
              "The printer \"Office_Laser\" is not installed on this computer."}}) {
        standIn("lp", lp);
        try {
            w.ActiveDocument().PrintOut(false);
            ADD_FAILURE() << "no printer fault";
        } catch (const ui::RtError& e) {
            EXPECT_EQ(e.number, number);
            EXPECT_EQ(e.description(), text);
        }
    }
    standIn("lp", "exit 0");
    w.ActiveDocument().PrintOut(false);  // the retry of the Parts' "Check the paper"
    w.Quit();
}

TEST_F(RenderTest, CancelStopsLibreOfficeOrThePrinterAndLeavesNothingBehind) {
    // Stand-ins that hang, the LibreOffice ones after a temporary file of
    // their own, as LibreOffice leaves them; the dealer cancels once it hangs.
    const std::string hang = "sleep 30 & echo $! > \"" + dir + "/child.pid\"; wait";
    const std::string office = "echo \"$TMPDIR\" > \"" + dir + "/tmpdir\"; touch \"$TMPDIR/lu1.tmp\"; " + hang;
    for (const std::string program : {"kept soffice", "soffice", "lp"}) {
        fs::remove_all(dir + "/bin");
        fs::remove(dir + "/child.pid");
        office::setKeptRendererEnabled(program == "kept soffice");
        if (program == "lp") prn::setDefaultPrinterLookup(laser), standIn("lp", hang);
        else standIn("soffice", office);
        ui::Script boxes;
        boxes.cancelWhen([&] { return fs::exists(dir + "/child.pid"); });
        office::Word w;
        w.Documents().Open(dir + "/WordPrt1a.dotx");
        EXPECT_THROW(w.ActiveDocument().PrintOut(false), ui::Cancelled) << program;
        w.Quit();
        EXPECT_EQ(boxes.progress(), std::vector<std::string>{"Printing Audit..."});
        EXPECT_FALSE(office::renderer::running());
        EXPECT_FALSE(alive(std::atoi(fixtures::readAll(dir + "/child.pid").c_str()))) << program;
        if (program == "lp") continue;
        std::string tmp = fixtures::readAll(dir + "/tmpdir");
        tmp.pop_back();
        EXPECT_FALSE(fs::exists(tmp + "/lu1.tmp")) << program << " " << tmp;
    }
    // LibreOffice itself, cancelled once it listens for a second start of
    // itself: that pipe goes with its profile (here in a cache folder
    // reached through a link, where the profile has two spellings).
    setenv("PATH", savedPath.c_str(), 1);
    office::setKeptRendererEnabled(false);
    const std::string cache = std::getenv("XDG_CACHE_HOME");
    fs::create_directories(dir + "/cache");
    fs::create_directory_symlink(dir + "/cache", dir + "/cache-link");
    setenv("XDG_CACHE_HOME", (dir + "/cache-link").c_str(), 1);
    std::string pipe;
    ui::Script boxes;
    boxes.cancelWhen([&] {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(office::profileFolder("oneshot"), ec))
            if (e.path().filename().string().rfind("p-", 0) == 0)
                for (const std::string& url : {office::fileUrl(e.path()), office::fileUrl(fs::canonical(e.path(), ec))})
                    if (const std::string p = office::pipePath(office::instancePipeName(url)); present(p)) pipe = p;
        return !pipe.empty();
    });
    office::Word w;
    w.Documents().Open(dir + "/WordPrt1a.dotx");
    EXPECT_THROW(w.ActiveDocument().PrintOut(false), ui::Cancelled);
    w.Quit();
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    ASSERT_FALSE(pipe.empty());
    EXPECT_FALSE(present(pipe)) << pipe;
}

TEST_F(RenderTest, WithoutAHomeTheProfileIsPrivateAndNothingPlantedIsFollowed) {
    // The test program's profiles are its own, not in the user's ~/.cache.
    EXPECT_NE(office::profileFolder("kept").rfind(std::string(std::getenv("HOME")) + "/", 0), 0u);
    // A link planted in place of the helper where, without HOME, the
    // profile once had a fixed name.
    const std::string planted = dir + "/tmp/heater-" + std::to_string(::getuid()) + "/heater/libreoffice-kept";
    fs::create_directories(planted);
    fixtures::write(dir + "/victim", "untouched");
    fs::create_symlink(dir + "/victim", planted + "/render_helper.py");
    const std::string home = std::getenv("HOME"), cache = std::getenv("XDG_CACHE_HOME");
    unsetenv("HOME");
    unsetenv("XDG_CACHE_HOME");
    office::renderer::start();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    ASSERT_TRUE(office::renderer::running());
    // The helper's arguments: ... <pipe name> <seconds>; the profile is in
    // its environment alone (read once the kernel has them in place: a
    // moment after the start returns).
    const std::string proc = "/proc/" + std::to_string(office::renderer::processGroup());
    std::string all;
    for (int i = 0; i < 500 && all.empty(); ++i, ::usleep(10000)) all = fixtures::readAll(proc + "/cmdline");
    const auto split = [](const std::string& text) {
        std::vector<std::string> v;
        std::istringstream in(text);
        for (std::string a; std::getline(in, a, '\0');) v.push_back(a);
        return v;
    };
    const std::vector<std::string> args = split(all);
    ASSERT_GE(args.size(), 3u);
    EXPECT_EQ(all.find("UserInstallation="), std::string::npos);
    std::string url;
    for (const std::string& e : split(fixtures::readAll(proc + "/environ")))
        if (e.rfind("UserInstallation=file://", 0) == 0) url = e.substr(24);
    const fs::path profile = fs::path(url).parent_path();
    EXPECT_EQ(all.find(profile.string()), std::string::npos);
    EXPECT_TRUE(std::regex_match(fs::path(url).filename().string(), std::regex("p-[0-9a-f]{32}"))) << url;
    struct stat st {};
    ASSERT_EQ(::lstat(profile.c_str(), &st), 0) << profile;
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(profile.parent_path(), dir + "/tmp");
    EXPECT_EQ(fs::read_symlink(proc + "/cwd"), profile / "tmp");
    EXPECT_EQ(all.find("heater_render_"), std::string::npos);  // the pipe's name is in its environment
    EXPECT_NE(fixtures::readAll(proc + "/environ").find("HEATER_RENDER_PIPE=heater_render_"), std::string::npos);
    office::renderer::stop();
    EXPECT_EQ(fixtures::readAll(dir + "/victim"), "untouched");
    EXPECT_FALSE(fs::exists(profile));
}

// The profile kept in the user's cache: a folder others can open is made
// private before use; a link in a folder's place is never followed (the
// next numbered folder is taken). Inside the folder taken, what earlier
// runs left goes: a profile of an earlier version, a link named like a
// profile, LibreOffice's temporary files.
TEST_F(RenderTest, AKeptProfileIsPrivateAndALinkInItsPlaceIsNotFollowed) {
    const std::string cache = std::getenv("XDG_CACHE_HOME");
    setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);
    const fs::path first = office::profileFolder("kept");
    fs::create_directories(first.parent_path());
    ::chmod(first.parent_path().c_str(), 0755);
    fs::create_directories(dir + "/elsewhere");
    fs::create_directory_symlink(dir + "/elsewhere", first);
    // As root, the next folder belongs to another user (only root can give
    // one away): not taken, not changed; the one after it is.
    const std::string second = first.string() + "-2";
    fs::create_directories(second);
    ::chmod(second.c_str(), 0755);
    const bool root = ::geteuid() == 0 && ::chown(second.c_str(), 65534, 65534) == 0;
    const std::string used = root ? first.string() + "-3" : second;
    fs::create_directories(used + "/user");
    fixtures::write(used + "/user/registrymodifications.xcu", "an earlier version's profile");
    fs::create_directory_symlink(dir + "/elsewhere", used + "/p-planted");
    fs::create_directories(used + "/tmp");
    fixtures::write(used + "/tmp/lu1.tmp", "left by a LibreOffice that died");
    ::chmod(used.c_str(), 0755);
    office::renderer::start();
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    ASSERT_TRUE(office::renderer::running());
    std::string env;
    for (int i = 0; i < 500 && env.empty(); ++i, ::usleep(10000))
        env = fixtures::readAll("/proc/" + std::to_string(office::renderer::processGroup()) + "/environ");
    const std::string install = used + "/p-";
    const auto at = env.find("UserInstallation=file://" + install);
    ASSERT_NE(at, std::string::npos);
    const std::string profile = env.substr(at + 24, env.find('\0', at) - at - 24);
    EXPECT_FALSE(fs::is_symlink(profile)) << profile;
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(used)) left.push_back(e.path().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{profile, used + "/tmp"}));
    EXPECT_FALSE(fs::exists(used + "/tmp/lu1.tmp"));
    office::renderer::stop();
    EXPECT_TRUE(fs::is_empty(dir + "/elsewhere"));
    for (const fs::path& folder : {first.parent_path(), fs::path(used)}) {
        struct stat st {};
        ASSERT_EQ(::lstat(folder.c_str(), &st), 0) << folder;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << folder;
    }
    if (root) {
        struct stat st {};
        ASSERT_EQ(::lstat(second.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0755u);
        EXPECT_TRUE(fs::is_empty(second));
    }
}

// Another user of the machine holds the kept renderer's pipe under its name
// (only root can plant a socket of another owner) - first, or once the
// helper waits for LibreOffice (here a stand-in that never listens) - or a
// link lies in its place (to a socket of ours: followed, it would pass for
// our own): the printout fails at once with a message naming the cause,
// nothing ever connects to it (a connection would hand over the customer
// documents' paths), and it stays. (LibreOffice never starts here, so the
// pipe lies in a folder of the test's own.)
TEST_F(RenderTest, APipeAnotherUserHoldsIsNeverConnectedTo) {
    const std::string name = "heater_planted_" + std::to_string(::getpid());
    const bool root = ::geteuid() == 0;
    for (const std::string planted : {"first", "link", "later"}) {
        if (planted != "link" && !root) continue;  // only root can plant a socket of another user
        OwnPipeFolder own(dir + "/pipes");
        const std::string path = office::pipePath(name);
        const std::string socketAt = planted == "link" ? dir + "/ours.sock" : path;
        const int fd = own.hold(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        const auto plant = [&] {
            const sockaddr_un addr = unixAddress(socketAt);
            ::unlink(socketAt.c_str());
            ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0) << socketAt;
            ::chmod(socketAt.c_str(), 0777);
            if (planted == "link") fs::create_symlink(socketAt, path);
            else ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
            ASSERT_EQ(::listen(fd, 64), 0);
        };
        office::setRenderPipeForTest(name);
        if (planted == "later") {
            standIn("soffice", "touch \"" + dir + "/started\"; exec sleep 30");
            office::renderer::start();
            for (int i = 0; i < 1000 && !fs::exists(dir + "/started"); ++i) ::usleep(10000);
            plant();
        } else {
            plant();
            office::renderer::start();
        }
        const auto t0 = std::chrono::steady_clock::now();
        const std::string why = fixtures::descriptionOf([&] { printWord("for nobody else"); });
        office::setRenderPipeForTest("");
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(10));
        EXPECT_NE(why.find((planted == "link" ? "Something that is not LibreOffice's pipe lies at "
                                              : "Another user of this computer (user id 65534) holds the pipe ") +
                           path),
                  std::string::npos)
            << planted << ": " << why;
        EXPECT_FALSE(office::renderer::running());
        EXPECT_LT(::accept(fd, nullptr, nullptr), 0);  // nobody knocked
        EXPECT_EQ(errno, EAGAIN);
        EXPECT_TRUE(present(path)) << planted;  // not ours to remove
        EXPECT_TRUE(printouts().empty());
    }
}

// LibreOffice failing on its own installation (here a stand-in with the
// output LibreOffice gives then), as it did for every other user once a run
// as root with a private umask had made its extension cache private: the
// dealer is told the cause and who can mend it - the shared folder this
// user cannot read (a folder of another owner, only root can plant one: the
// shared folder itself, the extension cache or a shared extension), else
// the deployment error. A full disk under LibreOffice's profile (a
// stand-in count of free bytes, none at all too), which LibreOffice says
// nothing of, is named before all; a count it cannot get is no full disk.
TEST_F(RenderTest, LibreOfficeFailingOnItsInstallationIsNamed) {
    office::setKeptRendererEnabled(false);
    standIn("soffice", "umask > \"" + dir +
                           "/umask\"; echo \"terminate called after throwing an instance of "
                           "'com::sun::star::deployment::DeploymentException'\" >&2; echo 'Unspecified Application "
                           "Error' >&2; exit 1");
    // The stand-in is <dir>/bin/soffice, so its installation is <dir>.
    const std::string cache = dir + "/share/uno_packages/cache/uno_packages";
    const std::string extension = dir + "/share/extensions/wiki-publisher";
    const bool root = ::geteuid() == 0;
    // The program's own umask is private; LibreOffice still runs with the
    // usual one, or what it makes in its installation is its alone.
    const mode_t umaskBefore = ::umask(077);
    const std::vector<std::string> deployment = {"'com::sun::star::deployment::DeploymentException'",
                                                 "chmod -R a+rX " + dir + "/share/uno_packages", "umask 022"};
    const std::vector<std::string> full = {"No space left in LibreOffice's profile folder " +
                                           office::profileFolder("oneshot")};
    struct Row {
        std::string cause;               // the folder given away, "" for none
        std::optional<long long> free;   // the free bytes under the profile, unset for the disk's own count
        std::vector<std::string> parts;  // what the message names
    };
    for (const auto& [cause, free, parts] : std::vector<Row>{
             {dir + "/share", {}, {"its shared folder " + dir + "/share can be read by its owner ("}},
             {cache, {}, {"its shared folder " + cache + " can be read by its owner (", "chmod -R a+rX " + cache}},
             {extension, {}, {"its shared folder " + extension + " can be read by its owner (", "umask 022"}},
             {"", {}, deployment},
             {"", 4096, full},
             {"", 0, full},
             {"", 8 << 20, deployment},  // just the room a new profile and a conversion take
             {"", -1, deployment}}) {    // the free space unknown: not taken for a full disk
        fs::remove_all(dir + "/share");
        fs::create_directories(cache);
        fs::create_directories(extension);
        if (free) office::setFreeSpaceForTest([bytes = *free](const std::string&) { return bytes; });
        else if (!cause.empty() && !(root && ::chown(cause.c_str(), 65534, 65534) == 0)) continue;
        const std::string why = fixtures::descriptionOf([&] { printWord("not printed"); });
        office::setFreeSpaceForTest(nullptr);
        for (const std::string& part : parts) EXPECT_NE(why.find(part), std::string::npos) << why;
    }
    ::umask(umaskBefore);
    EXPECT_EQ(fixtures::readAll(dir + "/umask"), "0022\n");
}

TEST_F(RenderTest, MissingOrHangingLibreOfficeFailsCleanly) {
    office::setOfficeForTest(office::OfficeSeam::Missing);
    EXPECT_THROW(office::renderToPdf({dir + "/x.docx"}, dir), office::RenderError);
    office::setOfficeForTest(office::OfficeSeam::Real);

    // No job folder can be made in the temporary folder: the cause is named
    // (and the folder is not made elsewhere, in the working folder).
    for (const auto& [tmp, cause] : std::vector<std::pair<std::string, std::string>>{
             {dir + "/missing", "temporary folder " + dir + "/missing: No such file or directory"},
             {"/sys", "temporary folder /sys: "}}) {
        setenv("TMPDIR", tmp.c_str(), 1);
        const std::string why = fixtures::descriptionOf([&] { printWord("nowhere"); });
        EXPECT_NE(why.find(cause), std::string::npos) << why;
    }
    setenv("TMPDIR", (dir + "/tmp").c_str(), 1);

    // A LibreOffice that never answers: the time limit ends it and its children.
    office::setKeptRendererEnabled(false);
    office::setRenderTimeoutsForTest(2000, 2000);  // time for a busy machine to start the stand-in
    standIn("soffice", "sleep 30 & echo $! > \"" + dir + "/child.pid\"; sleep 30");
    office::Word w;
    w.Documents().Open(dir + "/WordPrt1a.dotx");
    const auto t0 = std::chrono::steady_clock::now();
    try {
        w.ActiveDocument().PrintOut(false);
        FAIL() << "no failure";
    } catch (const ui::RtError& e) {
        EXPECT_EQ(e.number, 4198);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(15));
    const int child = std::atoi(fixtures::readAll(dir + "/child.pid").c_str());
    ASSERT_GT(child, 0);
    EXPECT_FALSE(alive(child));
    w.Quit();
}

}  // namespace

// What an interrupted run left goes at the next start: by the program's own
// names, the user's own, older than the running program; never a job
// folder a running program holds, nor what a link points to.
TEST(Leftovers, AnInterruptedRunsFilesGoAtTheNextStart) {
    const std::string dir = fixtures::tempDir("leftovers");
    const std::string data = dir + "/data/", tmp = dir + "/tmp", printouts = data + "printouts/";
    fs::create_directories(tmp);
    fs::create_directories(printouts);
    fs::create_directories(dir + "/victim");
    fixtures::write(dir + "/victim/kept", "kept");
    const std::string savedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", tmp.c_str(), 1);
    const std::string savedPrintouts = prn::printoutsFolder();
    prn::setPrintoutsFolder(printouts);
    const std::string held = office::newJobFolder();  // a job still running
    struct Entry {
        std::string path;
        bool folder, old, goes;
    };
    const std::vector<Entry> entries = {
        {data + "CITIES.DAT.tmp~a1b2c3", false, true, true},
        {data + "CITIES.DAT.tmp~d4e5f6", false, false, false},  // this run writes it
        {data + "CITIES.DAT", false, true, false},
        {data + "notes.tmp~", false, true, false},
        {data + ".tmp~a1b2c3", false, true, false},
        {data + "CITIES.DAT.tmp~a1-b2c", false, true, false},
        {printouts + "2026-12-06 19-40-12 Audit.pdf.part", false, true, true},
        {printouts + "2026-12-06 19-40-12 Audit.pdf", false, true, false},
        {printouts + ".pdf.part", false, true, false},
        {tmp + "/heater-print-AbC123", true, true, true},
        {tmp + "/heater-office-XyZ789", true, true, true},
        {tmp + "/heater-printing", true, true, false},
        {tmp + "/heater-print-notes", true, true, false},
        {held, true, true, false},
    };
    const auto touch = [](const std::string& path, bool old) {
        const std::time_t t = std::time(nullptr) + (old ? -3600 : 3600);
        const timespec times[2] = {{t, 0}, {t, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
    };
    for (const Entry& e : entries) {
        if (e.folder) {
            fs::create_directories(e.path);
            fixtures::write(e.path + "/filled.docx", "a customer");
        } else {
            fixtures::write(e.path, "x");
        }
        touch(e.path, e.old);
    }
    // Another user's file of the same name is not ours to remove (only root
    // can give a file away, so only a test run as root checks this).
    const std::string others = data + "SETTINGS.DAT.tmp~zz9zz9";
    fixtures::write(others, "x");
    touch(others, true);
    const bool root = ::geteuid() == 0 && ::chown(others.c_str(), 65534, 65534) == 0;
    const std::string link = tmp + "/heater-print-LiNk00", fileLink = data + "CITIES.DAT.tmp~l1nk00";
    fs::create_directory_symlink(dir + "/victim", link);
    fs::create_symlink(dir + "/victim/kept", fileLink);
    touch(link, true);
    touch(fileLink, true);

    // LibreOffice's pipes (here in a folder standing for /tmp) that a
    // renderer killed with the program left: this user's dead ones of our
    // names go; a live one, one whose backlog is full (a hung program: the
    // sweep never waits for it), another user's, a link to a dead one, one
    // of another name and one newer than this run stay.
    struct Pipe {
        std::string name, kind;
        bool old, others, goes;
    };
    OwnPipeFolder pipeFolder(dir + "/pipes");
    const std::string tag = std::to_string(::getpid()), render = office::kRenderPipePrefix + tag;
    std::vector<Pipe> pipes = {
        {render + "_dead", "dead", true, false, true},
        {office::kInstancePipePrefix + tag + "dead", "dead", true, false, true},
        {render + "_live", "live", true, false, false},
        {render + "_full", "full", true, false, false},
        {render + "_link", "link", true, false, false},
        {render + "_new", "dead", false, false, false},
        {"heater_other_" + tag, "dead", true, false, false},
        {render + "_others", "dead", true, true, false},
    };
    int full = -1;
    const auto plant = [&](const std::string& path, const std::string& kind) {
        const sockaddr_un addr = unixAddress(path);
        const auto* at = reinterpret_cast<const sockaddr*>(&addr);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        EXPECT_EQ(::bind(fd, at, sizeof addr), 0) << path;
        if (kind == "dead") return (void)::close(fd);  // closed, its file left
        pipeFolder.hold(fd);
        if (kind == "live") ::listen(fd, 4);
        if (kind != "full") return;
        // No room for one more: connecting without waiting says EAGAIN.
        full = fd;
        ::listen(fd, 0);
        int err = 0;
        for (int i = 0; i < 64 && err != EAGAIN; ++i) {
            const int client = pipeFolder.hold(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
            err = ::connect(client, at, sizeof addr) == 0 ? 0 : errno;
        }
        EXPECT_EQ(err, EAGAIN) << path;
    };
    for (Pipe& p : pipes) {
        const std::string path = office::pipePath(p.name);
        if (p.kind == "link") plant(tmp + "/dead.sock", "dead"), fs::create_symlink(tmp + "/dead.sock", path);
        else plant(path, p.kind);
        touch(path, p.old);
        if (p.others && !(root && ::chown(path.c_str(), 65534, 65534) == 0)) p.goes = true;  // ours after all
    }
    // A sweep that waits on the full one is let go (its backlog drained)
    // once the time is up, so a failure never hangs the run.
    auto sweep = std::async(std::launch::async, [&] { office::removeLeftovers(data); });
    const bool atOnce = sweep.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    EXPECT_TRUE(atOnce) << "the sweep waits on a pipe whose backlog is full";
    while (sweep.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        if (const int c = ::accept(full, nullptr, nullptr); c >= 0) ::close(c);
    for (const Pipe& p : pipes) EXPECT_EQ(present(office::pipePath(p.name)), !p.goes) << p.name;
    for (const Entry& e : entries) EXPECT_EQ(fs::exists(e.path), !e.goes) << e.path;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_symlink(fileLink));
    EXPECT_EQ(fixtures::readAll(dir + "/victim/kept"), "kept");
    EXPECT_EQ(fs::exists(others), root);

    office::removeJobFolder(held);
    EXPECT_FALSE(fs::exists(held));
    prn::setPrintoutsFolder(savedPrintouts);
    if (savedTmp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", savedTmp.c_str(), 1);
}

// LibreOffice names the pipe for a second start of itself after its
// profile: "SingleOfficeIPC_" and the MD5 of the profile URL's UTF-16 code
// units, bytes in hex without leading zeros (names seen from LibreOffice 7,
// one of a URL longer than a block of MD5).
TEST(LibreOfficeFiles, InstancePipesAreNamedAsLibreOfficeNamesThem) {
    for (const auto& [url, name] : std::vector<std::pair<std::string, std::string>>{
             {"file:///tmp/lotry/prof", "SingleOfficeIPC_6cfac68bc5b6e87f230904194dfa9b6"},
             {"file:///root/.cache/heater/libreoffice-kept/p-0123456789abcdef0123456789abcdef",
              "SingleOfficeIPC_f547631938a9ed48e39fd0dd5cd63a6"},
             {"", "SingleOfficeIPC_d41d8cd98f0b24e980998ecf8427e"}})
        EXPECT_EQ(office::instancePipeName(url), name) << url;
}

// The profile setting that has LibreOffice accept UNO connections on the
// kept renderer's pipe: it replaces the one an earlier run wrote in the
// kept profile, keeps the profile's other settings, and the files that
// name the pipe are the user's alone whatever the umask.
TEST(LibreOfficeFiles, TheAcceptSettingReplacesTheEarlierOneAndIsTheUsersAlone) {
    const std::string profile = fixtures::tempDir("accept"), xcu = profile + "/user/registrymodifications.xcu";
    const mode_t umaskBefore = ::umask(0);
    ASSERT_TRUE(office::setAcceptPipe(profile, "heater_render_earlier"));
    std::string text = fixtures::readAll(xcu);
    const std::string other = R"(<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" )"
                              R"(oor:op="fuse"><value>false</value></prop></item>)";
    text.insert(text.rfind("</oor:items>"), other);
    fixtures::write(xcu, text);
    ASSERT_TRUE(office::setAcceptPipe(profile, "heater_render_now"));
    ::umask(umaskBefore);
    text = fixtures::readAll(xcu);
    EXPECT_EQ(text.find("earlier"), std::string::npos) << text;
    EXPECT_NE(text.find("<value>pipe,name=heater_render_now;urp;StarOffice.ComponentContext</value>"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(other), std::string::npos) << text;
    for (const auto& [path, mode] : {std::pair{profile + "/user", 0700u}, {xcu, 0600u}}) {
        struct stat st {};
        ASSERT_EQ(::lstat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & 0777, mode) << path;
    }
}
