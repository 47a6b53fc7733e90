// The web browser window against pages of the local file system, offscreen.
#include "tests/dealer/dealer_test.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QWebEngineView>

#include <unistd.h>

#include "dealer/ui/browser.h"
#include "dealer/ui/browser_loader.h"
#include "tests/support/box_guard.h"
#include "tests/support/browser_root.h"

using namespace dealertest;

class DealerWindows : public WindowTest {};

#if defined(__SANITIZE_ADDRESS__)
// Chromium inside Qt WebEngine (a library we do not build) deletes some of
// its objects through a base type of another size; AddressSanitizer would
// stop every browser test there. Options given in ASAN_OPTIONS still apply.
extern "C" const char* __asan_default_options() { return "new_delete_type_mismatch=0"; }
#endif

class Browser : public DealerWindows {
protected:
    void SetUp() override {
        end_at_once_after_the_tests();
        set_browser_as_root_for_tests(true);  // local pages only: see browser_env.h
        prepare_web_engine();
        DealerWindows::SetUp();
        windows().frmBrowser = [this] { return static_cast<plat::Form*>(&window()); };
        page("home1.html", "First office");
        page("home2.html", "Second office");
        page("other.html", "Another page");
        std::ofstream(std::filesystem::path(data.path()) / "browser.ini")
            << "[start]\nfirst=" << url("home1.html") << "\nsecond=" << url("home2.html")
            << "\nsearch=" << url("other.html") << "\n";
    }
    void TearDown() override {
        if (browser_) browser_->Unload();
        delete browser_;
        browser_ = nullptr;
        windows().frmBrowser = nullptr;
        DealerWindows::TearDown();
    }
    frmBrowser& window() {
        if (!browser_) browser_ = new frmBrowser();
        return *browser_;
    }
    void page(const char* name, const char* title) {
        std::ofstream(std::filesystem::path(data.path()) / name)
            << "<html><head><title>" << title << "</title></head><body><p>" << title
            << "</p><a href='other.html'>on</a></body></html>";
    }
    std::string url(const char* name) const { return "file://" + (std::filesystem::path(data.path()) / name).string(); }
    // Runs the event loop until `done` or the time is up.
    static bool wait_until(const std::function<bool()>& done, int ms = 20000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
        return true;
    }
    // Starts a navigation and waits until the view reports it finished.
    void load_and_wait(const std::function<void()>& start) {
        const int before = window().loads_finished();
        start();
        ASSERT_TRUE(wait_until([&] { return window().loads_finished() > before; })) << "the page did not load";
        // The page's title comes from the engine's own process, with the
        // load or (on a busy machine) a while after it; the caption follows it.
        wait_until([this] { return !window().Busy() && titled() && window().Caption() == window().LocationName(); },
                   5000);
    }
    bool titled() {
        const QString t = window().brwWebBrowser->title();
        return !t.isEmpty() && t != window().brwWebBrowser->url().toString();
    }
    void loaded() {
        wait_until([this] { return !window().Busy() && window().Caption() != "Working..."; });
    }
    frmBrowser* browser_ = nullptr;
};

TEST_F(Browser, OpensOnTheOfficesStartPage) {
    g.company_var = 0;
    load_and_wait([this] { window().Show(); });
    EXPECT_EQ(window().start_address.toStdString(), url("home1.html"));
    EXPECT_EQ(window().cboAddress->ListCount(), 1);
    EXPECT_EQ(window().cboAddress->currentText().toStdString(), url("home1.html"));
    EXPECT_EQ(window().Caption(), "First office");
    window().Unload();

    g.company_var = 1;
    load_and_wait([this] { window().Show(); });
    EXPECT_EQ(window().Caption(), "Second office");
    EXPECT_EQ(window().cboAddress->ListCount(), 1);  // listed once, also after reopening
}

TEST_F(Browser, WorkingWhileLoadingThenTheTitle) {
    QStringList captions;
    window().Show();
    loaded();
    auto c =
        QObject::connect(window().subWindow(), &QWidget::windowTitleChanged, [&](const QString& t) { captions << t; });
    load_and_wait([this] { window().Navigate(QString::fromStdString(url("other.html"))); });
    QObject::disconnect(c);
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions.front(), "Working...");
    EXPECT_EQ(window().Caption(), "Another page");
}

TEST_F(Browser, AddressBoxAndToolbar) {
    window().Show();
    loaded();
    // A typed address and Enter: there, and the list keeps the start page only.
    window().cboAddress->setEditText(QString::fromStdString(url("other.html")));
    load_and_wait([this] { type(window().cboAddress->lineEdit(), "\r"); });
    EXPECT_EQ(window().Caption(), "Another page");
    EXPECT_EQ(window().cboAddress->ListCount(), 1);

    load_and_wait([this] { window().tbToolBar_ButtonClick("Home"); });
    EXPECT_EQ(window().Caption(), "First office");
    load_and_wait([this] { window().tbToolBar_ButtonClick("Back"); });
    EXPECT_EQ(window().Caption(), "Another page");
    load_and_wait([this] { window().tbToolBar_ButtonClick("Forward"); });
    EXPECT_EQ(window().Caption(), "First office");
    load_and_wait([this] { window().tbToolBar_ButtonClick("Search"); });
    EXPECT_EQ(window().LocationURL().toStdString(), url("other.html"));

    window().show_address();  // the current address first in the list
    EXPECT_EQ(window().cboAddress->ListCount(), 2);
    EXPECT_EQ(window().cboAddress->List(0).toStdString(), url("other.html"));
    EXPECT_EQ(window().Caption(), "Another page");
}

TEST_F(Browser, ToolbarHasTheSixButtons) {
    plat::MainWindow::instance()->showNormal();
    plat::MainWindow::instance()->resize(1366, 768);
    load_and_wait([this] { window().Show(); });
    QCoreApplication::processEvents();
    // Room for a page, wholly inside a laptop screen's main window.
    const QRect area = plat::MainWindow::instance()->mdi()->viewport()->rect();
    EXPECT_TRUE(area.contains(window().subWindow()->geometry()))
        << area.width() << "x" << area.height() << " " << window().subWindow()->x() << "," << window().subWindow()->y()
        << " " << window().subWindow()->width() << "x" << window().subWindow()->height();
    EXPECT_GE(window().brwWebBrowser->width(), 600);
    EXPECT_GE(window().brwWebBrowser->height(), 400);
    if (const QByteArray shots = qgetenv("HEATER_SHOTS"); !shots.isEmpty()) {
        window().grab().save(QString(shots) + "/frmBrowser.png");
        plat::MainWindow::instance()->grab().save(QString(shots) + "/frmBrowser-main.png");
    }
    QStringList keys;
    for (QAction* a : window().tbToolBar->actions()) {
        keys << a->text();
        EXPECT_EQ(a->toolTip(), a->text());
    }
    EXPECT_EQ(keys, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
    EXPECT_EQ(window().lblAddress->text(), "&Address:");
}

TEST_F(Browser, APageThatCannotBeReachedShowsTheEnginesErrorPage) {
    window().Show();
    loaded();
    // Nothing listens on the discard port: refused at once, as without a
    // network. The engine's error page stands, titled by the engine.
    load_and_wait([this] { window().Navigate("http://127.0.0.1:9/"); });
    EXPECT_FALSE(window().Busy());
    EXPECT_EQ(window().LocationURL(), "http://127.0.0.1:9/");
    EXPECT_NE(window().Caption(), "Not connected");
    EXPECT_EQ(window().Caption(), window().LocationName());
}

TEST_F(Browser, StopKeepsWhatHasLoadedAndShowsItsTitle) {
    g.company_var = 0;
    load_and_wait([this] { window().Show(); });
    window().Navigate(QString::fromStdString(url("other.html")));
    window().tbToolBar_ButtonClick("Stop");
    wait_until([] { return false; }, 1000);  // whatever the engine reports of the stopped load
    EXPECT_FALSE(window().Busy());
    EXPECT_NE(window().Caption(), "Not connected");  // no page of ours over what has loaded
    EXPECT_EQ(window().Caption(), window().LocationName());
}

TEST_F(Browser, SmallWindowGetsNoNegativeSizes) {
    window().Show();
    window().subWindow()->resize(60, 40);
    window().Form_Resize();
    EXPECT_GE(window().brwWebBrowser->width(), 0);
    EXPECT_GE(window().brwWebBrowser->height(), 0);
}

// Web content is shown only inside the engine's sandbox, which does not run
// as root: as root the window is not opened and the dealer is told why,
// whatever the environment says. The built-in start pages are secure ones;
// the tests' seam keeps to local pages.
TEST(BrowserSafety, NeverWithoutTheSandboxNorOnPlainHttpStartPages) {
    set_browser_as_root_for_tests(false);
    // The switch earlier versions read from the environment opens nothing.
    qputenv("HEATER_TESTS_ONLY_BROWSER_AS_ROOT_LOCAL_PAGES", "1");
    EXPECT_NE(browser_refusal(0).find("root"), std::string::npos);
    EXPECT_EQ(browser_refusal(1000), "");
    if (::geteuid() == 0) {
        ui::Script script;
        script.answer(ui::vbOK);
        EXPECT_EQ(open_browser(), nullptr);
        ASSERT_EQ(script.shown().size(), 1u);
        EXPECT_EQ(script.shown()[0].title, "Internet");
    }
    qunsetenv("HEATER_TESTS_ONLY_BROWSER_AS_ROOT_LOCAL_PAGES");
    set_browser_as_root_for_tests(true);
    EXPECT_EQ(browser_refusal(0), "");

    testsupport::TempDataDir empty{"heater-browser"};
    empty.use();
    const BrowserPages pages = browser_pages();
    for (const QString& page : {pages.first, pages.second, pages.search}) EXPECT_TRUE(page.startsWith("https://"));
    for (const char* local : {"file:///tmp/a.html", "http://127.0.0.1:9/", "http://localhost/", "data:text/html,x"})
        EXPECT_TRUE(local_page(QUrl(local))) << local;
    for (const char* remote : {"https://www.kestrolin.example/", "http://10.0.0.1/", "http://127.example/"})
        EXPECT_FALSE(local_page(QUrl(remote))) << remote;
}

// Chromium reads many spellings that weaken its sandbox or open a way in:
// the engine's flags are the program's own, whatever the environment held.
TEST(BrowserSafety, NoFlagFromTheEnvironmentReachesTheEngine) {
    set_browser_as_root_for_tests(false);
    for (const char* flags :
         {"--no-sandbox", "-no-sandbox", "--no-sandbox=1", "\"--no-sandbox\"", "--single-process",
          "--disable-seccomp-filter-sandbox", "--lang=en  --no-sandbox", "--remote-debugging-port=9222"}) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
        prepare_web_engine();
        EXPECT_FALSE(qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) << flags;
    }
    for (const char* name : {"QTWEBENGINE_DISABLE_SANDBOX", "QTWEBENGINE_REMOTE_DEBUGGING"}) {
        qputenv(name, "1");
        prepare_web_engine();
        EXPECT_FALSE(qEnvironmentVariableIsSet(name)) << name;
    }
    // The tests' seam turns the sandbox off for root alone.
    set_browser_as_root_for_tests(true);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--single-process");
    prepare_web_engine();
    if (::geteuid() == 0) EXPECT_EQ(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), "--no-sandbox");
    else EXPECT_FALSE(qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"));
    qunsetenv("QTWEBENGINE_CHROMIUM_FLAGS");
}

// Qt WebEngine hands Chromium whatever follows --webEngineArgs on the
// program's command line: the program keeps none of it.
TEST(BrowserSafety, NoEngineArgumentsFromTheCommandLine) {
    struct Case {
        std::vector<std::string> args;
        int kept;
    };
    for (const Case& c : std::vector<Case>{{{"heater", "--webEngineArgs", "--no-sandbox"}, 1},
                                           {{"heater", "a", "--webEngineArgs"}, 2},
                                           {{"heater", "a", "b"}, 3},
                                           {{"heater"}, 1}}) {
        std::vector<std::string> store = c.args;
        std::vector<char*> argv;
        for (auto& a : store) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int argc = without_web_engine_args(static_cast<int>(store.size()), argv.data());
        EXPECT_EQ(argc, c.kept) << c.args.back();
        EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
    }
}

// browser.ini that is no file (a named pipe nobody writes to, a link to an
// endless device) leaves the built-in pages, at once; a quoted value is
// taken without its quotes, a comment is no value.
TEST(BrowserSafety, AStartPagesFileThatIsNoFileLeavesTheBuiltInPages) {
    testsupport::TempDataDir data{"heater-browser"};
    data.use();
    const std::string ini = data.path() + "/browser.ini";
    const BrowserPages built_in = browser_pages();
    for (auto kind : {testsupport::NotAFile::Fifo, testsupport::NotAFile::EndlessDevice}) {
        testsupport::put_not_a_file(ini, kind);
        BrowserPages pages;
        EXPECT_TRUE(testsupport::returns_promptly(ini, [&] { pages = browser_pages(); }));
        EXPECT_EQ(pages.first, built_in.first);
    }
    std::filesystem::remove(ini);
    std::ofstream(ini) << "; the dealer's pages\n[other]\nfirst=http://no/\n[Start]\nfirst = \"https://a.example/\"\n"
                          "#second=http://no/\nsearch=https://s.example/?q=1\n";
    const BrowserPages pages = browser_pages();
    EXPECT_EQ(pages.first, "https://a.example/");
    EXPECT_EQ(pages.second, built_in.second);
    EXPECT_EQ(pages.search, "https://s.example/?q=1");
    // Far more than three addresses: no start-pages file, whatever it says.
    std::ofstream(ini, std::ios::app) << std::string(64 * 1024, ';') << "\n";
    EXPECT_EQ(browser_pages().first, built_in.first);
}
