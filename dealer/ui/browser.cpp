#include "dealer/ui/browser.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QStyle>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <unistd.h>

#include "app/model.h"
#include "dealer/ui/protocol.h"

namespace {
// Twips of the address bar (under the toolbar) and its margins.
constexpr int kBarTop = 540, kBarHeight = 675, kMargin = 100;

// Under the tests' seam the engine may run without its sandbox: every
// request for a page that is not of this computer is blocked.
class LocalPagesOnly : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!local_page(info.requestUrl())) info.block(true);
    }
};
}  // namespace

frmBrowser::frmBrowser() : plat::Form("frmBrowser") {
    prepare_web_engine();  // in case the program did not (the engine starts with the first view)
    keep_focus(this);
}

void frmBrowser::build() {
    SetSize(11400, 9000);  // a page needs room; the bars alone would make it tiny
    tbToolBar = new QToolBar(this);
    tbToolBar->setIconSize(QSize(20, 20));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const std::pair<const char*, QStyle::StandardPixmap> buttons[] = {
        {"Back", QStyle::SP_ArrowBack},   {"Forward", QStyle::SP_ArrowForward},
        {"Stop", QStyle::SP_BrowserStop}, {"Refresh", QStyle::SP_BrowserReload},
        {"Home", QStyle::SP_DirHomeIcon}, {"Search", QStyle::SP_FileDialogContentsView},
    };
    for (const auto& [key, icon] : buttons) {
        QAction* a = tbToolBar->addAction(style()->standardIcon(icon), key);
        a->setObjectName(key);
        a->setToolTip(key);
        const QString k = key;
        connect(a, &QAction::triggered, this, [this, k] { tbToolBar_ButtonClick(k); });
    }

    picAddress = new QWidget(this);
    lblAddress = new QLabel("&Address:", picAddress);
    lblAddress->setGeometry(plat::px(45), plat::px(60), plat::px(900), plat::px(255));
    cboAddress = new plat::ComboBox(picAddress, 0, true);
    cboAddress->setEditText("Combo1");
    lblAddress->setBuddy(cboAddress);
    // Choosing an entry of the list, or Enter after a typed address.
    connect(cboAddress, &QComboBox::activated, this, [this] { cboAddress_Click(); });
    connect(cboAddress->lineEdit(), &QLineEdit::returnPressed, this, [this] { cboAddress_Click(); });

    brwWebBrowser = new QWebEngineView(this);
    if (browser_as_root_for_tests()) brwWebBrowser->page()->setUrlRequestInterceptor(new LocalPagesOnly(brwWebBrowser));
    // A page that cannot be reached shows the engine's own error page.
    brwWebBrowser->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
    connect(brwWebBrowser, &QWebEngineView::loadStarted, this, [this] { load_started(); });
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, [this](bool ok) { load_finished(ok); });
    connect(brwWebBrowser, &QWebEngineView::titleChanged, this, [this] {
        if (!busy_) SetCaption(LocationName());
    });
}

QString frmBrowser::LocationName() const {
    const QString t = brwWebBrowser->title();
    return t.isEmpty() ? LocationURL() : t;
}

QString frmBrowser::LocationURL() const { return brwWebBrowser->url().toString(); }

void frmBrowser::Navigate(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed(), QString(), QUrl::AssumeLocalFile);
    if (!url.isValid() || address.trimmed().isEmpty()) return;
    brwWebBrowser->setUrl(url);
}

// A page loads as long as it takes; Stop ends it with what has loaded.
void frmBrowser::load_started() {
    busy_ = true;
    SetCaption("Working...");
}

// Whether the page came, failed (the engine shows its error page) or was
// stopped, the caption is the title of what the view shows.
void frmBrowser::load_finished(bool) {
    ++loads_finished_;
    busy_ = false;
    SetCaption(LocationName());
}

void frmBrowser::Form_Load() {
    SetCaption("Working...");
    fit_area();
    Form_Resize();
    const BrowserPages pages = browser_pages();
    start_address = g.company_var == 0 ? pages.first : pages.second;
    cboAddress->setGeometry(plat::px(50), lblAddress->y() + lblAddress->height() + plat::px(15), cboAddress->width(),
                            cboAddress->sizeHint().height());
    Form_Resize();
    cboAddress->Clear();
    if (!start_address.isEmpty()) {
        cboAddress->setEditText(start_address);
        cboAddress->AddItem(start_address);
        Navigate(start_address);
    }
}

void frmBrowser::fit_area() {
    // A page needs room, but the window opens wholly inside the main window
    // on a laptop screen too: no larger than its visible area, frame clear
    // of the area's edges.
    QMdiSubWindow* sub = subWindow();
    if (!sub) return;
    const QSize area = plat::MainWindow::instance()->mdi()->viewport()->size();
    const int gap = plat::MainWindow::kEdgeGap;
    sub->resize(sub->size().boundedTo(area - QSize(2 * gap, 2 * gap)));
    plat::MainWindow::instance()->keepInside(sub);
}

void frmBrowser::resizeEvent(QResizeEvent* e) {
    plat::Form::resizeEvent(e);
    if (tbToolBar) Form_Resize();
}

void frmBrowser::Form_Resize() {
    const int w = width(), h = height();
    tbToolBar->setGeometry(0, 0, w, plat::px(kBarTop));
    picAddress->setGeometry(0, plat::px(kBarTop), w, plat::px(kBarHeight));
    // A window made smaller than the bars (minimised) gives no negative sizes.
    const int inner = std::max(0, w - plat::px(kMargin));
    cboAddress->resize(std::max(0, inner - plat::px(50)), cboAddress->height());
    const int top = plat::px(kBarTop + kBarHeight);
    brwWebBrowser->setGeometry(plat::px(50), top, inner, std::max(0, h - top - plat::px(kMargin)));
}

void frmBrowser::cboAddress_Click() {
    if (hold_navigate) return;
    Navigate(cboAddress->currentText());
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key) {
    if (key == "Back") {
        brwWebBrowser->back();
    } else if (key == "Forward") {
        brwWebBrowser->forward();
    } else if (key == "Refresh") {
        brwWebBrowser->reload();
    } else if (key == "Home") {
        Navigate(start_address);
    } else if (key == "Search") {
        Navigate(browser_pages().search);
    } else if (key == "Stop") {
        brwWebBrowser->stop();
        busy_ = false;
        SetCaption(LocationName());
    }
}

void frmBrowser::show_address(const QString&) {
    SetCaption(LocationName());
    const QString here = LocationURL();
    hold_navigate = 1;
    for (int i = 0; i < cboAddress->ListCount(); ++i) {
        if (cboAddress->List(i) == here) {
            cboAddress->RemoveItem(i);
            break;
        }
    }
    cboAddress->insertItem(0, here);
    cboAddress->setCurrentIndex(0);
    hold_navigate = 0;
}

void frmBrowser::Form_Deactivate() { reclaim_focus(this); }
