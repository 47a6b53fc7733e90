#include "app/ui/proginfo.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QVBoxLayout>

#include "app/model.h"
#include "app/ui/startup.h"
#include "app/ui/style.h"
#include "core/vbtext.h"

namespace {
constexpr int kWidthPx = 540;
constexpr int kHeightPx = 270;

QString file_state(const QString& dir, const char* name) {
    return QFileInfo::exists(dir + name) ? QString(name) : QString("%1 (missing)").arg(name);
}
}  // namespace

QString data_files_text() {
    const QString dir = QString::fromStdString(g.data_dir);
    int brands = 0;
    for (int k = 1; k <= 3 && k <= g.pump_count; ++k) {
        if (!vb::Trim(g.pump_tab[k].brand).empty()) ++brands;
    }
    int compet = 0;
    for (const char* f : {"PumpHP1.dat", "PumpHP2.dat", "PumpHP3.dat"}) {
        if (QFileInfo::exists(dir + f)) ++compet;
    }
    QStringList lines;
    lines << QString("%1: %2 weather cities").arg(file_state(dir, "location.dat")).arg(g.city_count);
    lines << QString("%1: %2 heat-pump records, %3 brand groups")
                 .arg(file_state(dir, "PumpHP.dat"))
                 .arg(g.pump_count)
                 .arg(brands);
    lines << QString("Competitor files: %1 of 3").arg(compet);
    lines << QString("Settings: %1").arg(file_state(dir, "defaulte.dat"));
    return lines.join('\n');
}

proginfo::proginfo() : plat::Form("proginfo") {}

void proginfo::build() {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(18, 16, 18, 14);
    Label1 = new QLabel(this);
    Label1->setFont(uistyle::font(16, true));
    v->addWidget(Label1);
    auto* form = new QFormLayout();
    form->setLabelAlignment(Qt::AlignLeft);
    form->setHorizontalSpacing(14);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Label3->setWordWrap(true);
    Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label4 = new QLabel(this);
    Label4->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow("Version:", Label2);
    form->addRow("Data folder:", Label3);
    form->addRow("Data files:", Label4);
    v->addLayout(form);
    v->addStretch(1);
    auto* h = new QHBoxLayout();
    h->addStretch(1);
    Command1 = new plat::CommandButton("OK", this, 0);
    Command1->setMinimumSize(90, 28);
    Command1->Click = [this](int) { Unload(); };
    h->addWidget(Command1);
    v->addLayout(h);
}

void proginfo::fill() {
    Label1->setText("Heater");
    Label2->setText(program_version());
    Label3->setText(QString::fromStdString(g.data_dir));
    Label4->setText(data_files_text());
}

void proginfo::Form_Load() {
    SetCaption("About Heater");
    uistyle::dialog_frame(subWindow());
    const QSize area = plat::MainWindow::instance()->mdi()->size();
    const int left = std::max(0, (area.width() - kWidthPx) / 2);
    const int top = std::max(0, (area.height() - kHeightPx) / 3);
    Move(plat::twips(left), plat::twips(top), plat::twips(kWidthPx), plat::twips(kHeightPx));
    fill();
}

void proginfo::Form_Activate() { fill(); }
