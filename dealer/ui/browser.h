// The web browser window: a small browser inside the main window for the
// maker's web site, on Qt WebEngine, with the toolbar (Back, Forward, Stop,
// Refresh, Home, Search) and the address box.
//
// The start pages are configuration values: "browser.ini" in the program
// folder may hold, under [start], `first` (the first office's site,
// company_var 0), `second` (the second office's) and `search` (the Search
// button's page); missing values take the built-in addresses.
//
// While a page loads the caption reads "Working..."; then the page title.
// A page that cannot be reached (no network, a wrong address) shows the
// engine's own error page; a slow page loads as long as it takes, and Stop
// keeps what has loaded so far.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "dealer/ui/browser_env.h"
#include "platform/form.h"

class QWebEngineView;

class frmBrowser : public plat::Form {
    Q_OBJECT
public:
    frmBrowser();

    QToolBar* tbToolBar = nullptr;
    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    plat::ComboBox* cboAddress = nullptr;
    QWebEngineView* brwWebBrowser = nullptr;

    QString start_address;
    int hold_navigate = 0;

    bool Busy() const { return busy_; }
    // Navigations the view has finished (or given up), since the window
    // was created.
    int loads_finished() const { return loads_finished_; }
    QString LocationName() const;
    QString LocationURL() const;
    void Navigate(const QString& address);

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Resize();
    void cboAddress_Click();
    void tbToolBar_ButtonClick(const QString& key);
    void show_address(const QString& unused = {});

protected:
    void build() override;
    void resizeEvent(QResizeEvent* e) override;

private:
    // Sizes the window to the main window's visible area where it is smaller.
    void fit_area();
    void load_started();
    void load_finished(bool ok);
    bool busy_ = false;
    int loads_finished_ = 0;
};
