// The look shared by the start-up windows: brand words and colours, fonts,
// and the brand pictures the background window rotates (drawn at run time,
// no picture files needed).
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QString>

#include <string>

namespace uistyle {

// The brand word of a brand code: 0 or 1 "Kestrolin", 2 "Tindraly",
// 3 "Morvenic", anything else empty.
std::string brand_word(int code);
// The brand's main and second colour (muted, readable under white text).
QColor brand_color(int code);
QColor brand_color2(int code);
// Style sheet of a panel with the brand's gradient, for the widget with
// this object name.
QString panel_css(int code, const char* objectName);
QFont font(int pointSize, bool bold = false);

// The program's icon: a small brand-blue tile with a white "H".
QIcon app_icon();
// A child window of fixed purpose (password, about): title and close box
// only. Call from Form_Load.
void dialog_frame(QMdiSubWindow* sub);

// Picture n (0, 1, 2, ...; taken modulo the number of pictures) of a brand.
constexpr int kPictures = 3;
QPixmap brand_picture(int code, int n, QSize size);

}  // namespace uistyle
