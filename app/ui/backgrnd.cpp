#include "app/ui/backgrnd.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "app/model.h"
#include "app/ui/forms.h"
#include "app/ui/pass.h"
#include "app/ui/proginfo.h"
#include "app/ui/startup.h"
#include "app/ui/style.h"
#include "core/ui.h"
#include "core/vbtext.h"
#include "core/windows.h"

namespace {
constexpr int kPictureW = 520;
constexpr int kPictureH = 340;
constexpr int kRotateMs = 4000;
}  // namespace

void PictureBox::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (Click) Click();
}

backgrnd::backgrnd() : plat::Form("backgrnd") {
    Timer1 = new QTimer(this);
    Timer1->setInterval(kRotateMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void backgrnd::build() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 14);
    outer->setSpacing(16);

    // Left: the picture and the lines under it.
    auto* left = new QVBoxLayout();
    Image1 = new PictureBox(this);
    Image1->setFixedSize(kPictureW, kPictureH);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->setToolTip("Start a project");
    Image1->Click = [this] { Image1_Click(); };
    left->addWidget(Image1);
    Label1 = new QLabel(this);
    Label1->setFont(uistyle::font(11, true));
    left->addWidget(Label1);
    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    Label4->setFont(uistyle::font(10, true));
    Label4->setVisible(false);
    left->addWidget(Label4);
    left->addStretch(1);
    outer->addLayout(left);

    // Right: the buttons in three groups.
    auto* right = new QVBoxLayout();
    right->setSpacing(10);
    auto button = [this](int index, const char* caption, const char* tip) {
        auto* b = new plat::CommandButton(caption, this, index);
        b->setMinimumHeight(30);
        b->setToolTip(tip);
        b->Click = [this](int i) { SSCommand1_Click(i); };
        SSCommand1[index] = b;
        return b;
    };
    auto group = [this, right](const char* title) {
        auto* box = new QGroupBox(title, this);
        box->setFont(uistyle::font(10, true));
        auto* v = new QVBoxLayout(box);
        v->setSpacing(6);
        right->addWidget(box);
        return v;
    };

    QVBoxLayout* proj = group("Project");
    proj->addWidget(button(kProject, "Project", "Open the project input window"));

    QVBoxLayout* dealer = group("Dealer");
    dealer->addWidget(button(kBrand, "Brand", "Choose the brand and the office"));
    dealer->addWidget(button(kUnits, "Units", "Choose the measurement system"));
    dealer->addWidget(button(kDealer, "Dealer", "Dealer settings (access code)"));
    Command1 = new plat::CommandButton("Copy Excel Data", this, 0);
    Command1->setMinimumHeight(30);
    Command1->setToolTip("Import the weather cities from the spreadsheet");
    Command1->Click = [this](int) { Command1_Click(); };
    dealer->addWidget(Command1);

    QVBoxLayout* prog = group("Program");
    prog->addWidget(button(kInternet, "Internet", "Visit the maker's web site"));
    prog->addWidget(button(kAbout, "About", "Program and data information"));
    prog->addWidget(button(kExit, "Exit", "Leave the program"));
    right->addStretch(1);

    for (auto& [i, b] : SSCommand1) b->setFont(uistyle::font(10));
    Command1->setFont(uistyle::font(10));
    outer->addLayout(right);
}

void backgrnd::Form_Load() {
    SetCaption("Heater");
    // The background window stays open for the whole run: no close box.
    if (subWindow()) {
        const bool shown = subWindow()->isVisible();
        subWindow()->setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
        if (shown) subWindow()->show();
    }
    Move(plat::twips(12), plat::twips(12), plat::twips(kPictureW + 250), plat::twips(kPictureH + 130));

    picture_no = 0;
    Label4->setVisible(false);  // no import's progress until one runs
    show_picture();
    refresh_buttons();
    Timer1->start();

    static bool first = true;
    if (first && startup_probe()) {
        first = false;
        startup_probe()("backgrnd");
    }
}

void backgrnd::Form_Activate() { refresh_buttons(); }

void backgrnd::Form_Unload(int& /*cancel*/) { Timer1->stop(); }

void backgrnd::show_picture() {
    Image1->setPixmap(uistyle::brand_picture(g.brand_code, picture_no, Image1->size()));
    Label1->setText(QString::fromStdString(vb::Trim(g.company_name)));
}

void backgrnd::Timer1_Timer() {
    picture_no = (picture_no + 1) % uistyle::kPictures;
    show_picture();
    // Settings windows change the brand lock and the brand; pick that up.
    refresh_buttons();
}

void backgrnd::refresh_buttons() {
    const WindowRegistry& w = windows();
    const bool brand_locked = g.dealer_lock[2] == -1;
    SSCommand1[kBrand]->setEnabled(bool(w.setname) && !brand_locked);
    SSCommand1[kBrand]->setToolTip(brand_locked ? "Dealer cannot select brand" : "Choose the brand and the office");
    SSCommand1[kUnits]->setEnabled(bool(w.setsize));
    SSCommand1[kInternet]->setEnabled(bool(w.frmBrowser));
    Command1->setEnabled(bool(w.convert_cities));
}

void backgrnd::Image1_Click() {
    open_project();
    plat::Form* project = windows().weathers.existing();
    if (project && windows().custname) {
        // The customer-name window opens in front of the input window and
        // gives it back (enabled) when it is left.
        project->SetEnabled(false);
        windows().show_custname();
        windows().custname()->ZOrder(0);
    }
}

// The brand and measurement-system windows, opened from here rather than
// from the settings menu, hand this window back enabled when they close.
void backgrnd::open_setting(const WindowSlot& window, int left, int top, int width, int height) {
    if (!window) return;
    g.from_menu = 0;
    plat::Form* f = window();
    SetEnabled(false);
    f->Move(left, top, width, height);
    f->Show();
    f->ZOrder(0);
}

void backgrnd::SSCommand1_Click(int index) {
    switch (index) {
        case kProject: open_project(); break;
        case kBrand:
            if (g.dealer_lock[2] == -1) return;  // "Dealer cannot select brand"
            open_setting(windows().setname, 3400, 1400, 4560, 2760);
            break;
        case kUnits: open_setting(windows().setsize, 2775, 1400, 8115, 3960); break;
        case kDealer:
            frm_pass()->Show();
            frm_pass()->ZOrder(0);
            break;
        case kInternet: {
            if (!windows().frmBrowser) return;
            const std::string prompt =
                "PLEASE ensure that you are connected" + g.crlf + "to the internet before proceeding.";
            if (ui::MsgBox(prompt, ui::vbOKCancel, "Internet") == ui::vbCancel) return;
            plat::Form* f = windows().frmBrowser();
            if (!f) return;  // it could not be started (the dealer was told)
            f->Show();
            f->ZOrder(0);
            break;
        }
        case kAbout:
            frm_proginfo()->Show();
            frm_proginfo()->ZOrder(0);
            break;
        case kExit: plat::MainWindow::instance()->close(); break;
        default: break;
    }
}

void backgrnd::Command1_Click() {
    if (windows().convert_cities) windows().convert_cities();
}
