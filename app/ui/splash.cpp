#include "app/ui/splash.h"

#include <QFrame>
#include <QMdiArea>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "app/model.h"
#include "app/ui/backgrnd.h"
#include "app/ui/forms.h"
#include "app/ui/startup.h"
#include "app/ui/style.h"
#include "core/vbtext.h"

namespace {
constexpr int kWidthPx = 520;
constexpr int kHeightPx = 320;
}  // namespace

splash::splash() : plat::Form("splash") {
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void splash::build() {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName("splashPanel");
    panel->setStyleSheet(uistyle::panel_css(g.brand_code, "splashPanel"));
    lay->addWidget(panel);

    auto* v = new QVBoxLayout(panel);
    v->setContentsMargins(32, 28, 32, 22);
    v->setSpacing(6);
    Label1 = new QLabel(panel);
    Label1->setFont(uistyle::font(26, true));
    Label2 = new QLabel(panel);
    Label2->setFont(uistyle::font(10));
    Label3 = new QLabel(panel);
    Label3->setFont(uistyle::font(18, true));
    Label5 = new QLabel(panel);
    Label5->setFont(uistyle::font(12));
    Label6 = new QLabel(panel);
    Label6->setFont(uistyle::font(10));
    auto* hint = new QLabel("Click to continue", panel);
    hint->setFont(uistyle::font(9));
    for (QLabel* l : {Label1, Label2, Label3, Label5, Label6, hint}) {
        l->setStyleSheet("color: white; background: transparent;");
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    v->addWidget(Label1);
    v->addWidget(Label2);
    v->addSpacing(18);
    v->addWidget(Label3);
    v->addWidget(Label5);
    v->addStretch(1);
    v->addWidget(Label6);
    v->addWidget(hint, 0, Qt::AlignRight);
}

void splash::Form_Load() {
    SetCaption("Heater");
    Label1->setText("Heater");
    Label2->setText(QString("Version %1").arg(program_version()));
    Label3->setText(QString::fromStdString(uistyle::brand_word(g.brand_code)));
    Label5->setText("Heat pump sizing for pools and spas");
    Label6->setText(QString::fromStdString("Dealer: " + vb::Trim(g.company_name)));

    // Centred in the main window, without a frame of its own.
    if (subWindow()) {
        const bool shown = subWindow()->isVisible();
        subWindow()->setWindowFlags(Qt::FramelessWindowHint);
        if (shown) subWindow()->show();
    }
    const QSize area = plat::MainWindow::instance()->mdi()->size();
    const int left = std::max(0, (area.width() - kWidthPx) / 2);
    const int top = std::max(0, (area.height() - kHeightPx) / 3);
    Move(plat::twips(left), plat::twips(top), plat::twips(kWidthPx), plat::twips(kHeightPx));

    Timer1->start(splash_delay_ms());
}

void splash::Form_Unload(int& /*cancel*/) { Timer1->stop(); }

void splash::mousePressEvent(QMouseEvent* e) {
    e->accept();
    Form_Click();
}

void splash::Timer1_Timer() {
    Timer1->stop();
    if (!isLoaded()) return;  // a click and the timer: open the background once
    Unload();
    frm_backgrnd()->Show();
}
