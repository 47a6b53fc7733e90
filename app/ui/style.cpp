#include "app/ui/style.h"

#include <QLinearGradient>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace uistyle {

std::string brand_word(int code) {
    switch (code) {
        case 0:
        case 1: return "Kestrolin";
        case 2: return "Tindraly";
        case 3: return "Morvenic";
        default: return "";
    }
}

QColor brand_color(int code) {
    switch (code) {
        case 2: return QColor(0x2f, 0x6b, 0x4f);   // pine green
        case 3: return QColor(0x6e, 0x30, 0x3f);   // burgundy
        default: return QColor(0x1f, 0x4e, 0x79);  // deep blue
    }
}

QColor brand_color2(int code) {
    switch (code) {
        case 2: return QColor(0x4f, 0x94, 0x72);
        case 3: return QColor(0xa0, 0x55, 0x5f);
        default: return QColor(0x2e, 0x86, 0xa8);
    }
}

QString panel_css(int code, const char* objectName) {
    return QString(
               "QFrame#%1 { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 %2, stop:1 %3);"
               " border: 1px solid %2; }")
        .arg(objectName, brand_color(code).name(), brand_color2(code).name());
}

QFont font(int pointSize, bool bold) {
    QFont f;
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QIcon app_icon() {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(brand_color(1));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    p.setPen(Qt::white);
    p.setFont(font(30, true));
    p.drawText(QRectF(0, 0, 64, 64), Qt::AlignCenter, "H");
    return QIcon(pm);
}

void dialog_frame(QMdiSubWindow* sub) {
    if (!sub) return;
    const bool shown = sub->isVisible();
    sub->setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint);
    if (shown) sub->show();
}

namespace {

// A heat pump seen from the front: cabinet, fan grille, a small display.
void draw_heat_pump(QPainter& p, QRectF r, QColor accent) {
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(r, 10, 10);
    const double d = std::min(r.width() * 0.55, r.height() * 0.8);
    QRectF fan(r.left() + r.width() * 0.08, r.center().y() - d / 2, d, d);
    p.setBrush(QColor(255, 255, 255, 30));
    p.drawEllipse(fan);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1.5));
    for (double k = 0.25; k < 1.0; k += 0.25) {
        p.drawEllipse(fan.center(), d / 2 * k, d / 2 * k);
    }
    for (int a = 0; a < 4; ++a) {
        const double rad = a * M_PI / 4;
        const QPointF off(std::cos(rad) * d / 2, std::sin(rad) * d / 2);
        p.drawLine(fan.center() - off, fan.center() + off);
    }
    QRectF panel(fan.right() + r.width() * 0.07, r.top() + r.height() * 0.2, r.width() * 0.22, r.height() * 0.18);
    p.setPen(Qt::NoPen);
    p.setBrush(accent.lighter(170));
    p.drawRoundedRect(panel, 3, 3);
}

// Pool water along the bottom edge.
void draw_water(QPainter& p, QRectF r, int phase) {
    for (int band = 0; band < 3; ++band) {
        QPainterPath path;
        const double base = r.bottom() - r.height() * (0.12 - band * 0.035);
        path.moveTo(r.left(), r.bottom());
        path.lineTo(r.left(), base);
        for (double x = r.left(); x <= r.right() + 1; x += 4) {
            path.lineTo(x, base + 5 * std::sin((x + phase * 40 + band * 30) / 38.0));
        }
        path.lineTo(r.right(), r.bottom());
        path.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 28 + band * 16));
        p.drawPath(path);
    }
}

}  // namespace

QPixmap brand_picture(int code, int n, QSize size) {
    static const char* const taglines[kPictures] = {
        "Heat pumps for pools and spas",
        "Warm water, season after season",
        "Sized for your pool, priced for your budget",
    };
    n = ((n % kPictures) + kPictures) % kPictures;
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));

    QLinearGradient grad(r.topLeft(), r.bottomRight());
    const QColor c1 = brand_color(code), c2 = brand_color2(code);
    grad.setColorAt(0, n == 1 ? c2 : c1);
    grad.setColorAt(1, n == 1 ? c1.darker(115) : c2);
    p.fillRect(r, grad);

    draw_water(p, r, n);
    draw_heat_pump(p, QRectF(r.width() * 0.60, r.height() * 0.20, r.width() * 0.32, r.height() * 0.42), c1);

    p.setPen(Qt::white);
    QFont big = font(std::max(12, size.height() / 11), true);
    p.setFont(big);
    const QString word = QString::fromStdString(brand_word(code));
    p.drawText(QRectF(r.width() * 0.06, r.height() * 0.14, r.width() * 0.56, r.height() * 0.22),
               Qt::AlignLeft | Qt::AlignVCenter, word.isEmpty() ? QString("Heater") : word);
    p.setFont(font(std::max(8, size.height() / 26)));
    p.drawText(QRectF(r.width() * 0.06, r.height() * 0.38, r.width() * 0.52, r.height() * 0.25),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, taglines[n]);
    p.setFont(font(std::max(7, size.height() / 34)));
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(QRectF(r.width() * 0.06, r.height() * 0.66, r.width() * 0.6, r.height() * 0.1),
               Qt::AlignLeft | Qt::AlignVCenter, "Click the picture to start a project");
    return pm;
}

}  // namespace uistyle
