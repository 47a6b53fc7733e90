#include "dealer/ui/calculator.h"

#include <QMouseEvent>

#include "app/model.h"
#include "core/windows.h"
#include "dealer/ui/protocol.h"

// ---- Panel3D ----------------------------------------------------------------------

Panel3D::Panel3D(const QString& text, QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    caption = new QLabel(text, this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Panel3D::set_pressed(bool on) { setFrameShadow(on ? QFrame::Sunken : QFrame::Raised); }

void Panel3D::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    caption->setGeometry(rect());
}

void Panel3D::mousePressEvent(QMouseEvent* e) {
    if (MouseDown) MouseDown(plat::twips(int(e->position().x())));
    e->accept();
}

void Panel3D::mouseMoveEvent(QMouseEvent* e) {
    if (MouseMove) MouseMove(plat::twips(int(e->position().x())));
    e->accept();
}

void Panel3D::mouseReleaseEvent(QMouseEvent* e) {
    if (MouseUp) MouseUp(plat::twips(int(e->position().x())));
    if (Click && rect().contains(e->position().toPoint())) Click();
    e->accept();
}

// ---- Calculator ---------------------------------------------------------------------

Calculator::Calculator() : plat::Form("Calculator") { keep_focus(this); }

void Calculator::build() {
    // Panel3D2: the outer frame.
    auto* outer = new QFrame(this);
    outer->setObjectName("Panel3D2");
    outer->setFrameShape(QFrame::Panel);
    outer->setFrameShadow(QFrame::Raised);
    place(outer, 0, 0, 3435, 4290);

    Panel3D7 = new Panel3D("ON", outer);
    Panel3D7->setGeometry(plat::px(60), plat::px(60), plat::px(420), plat::px(300));
    Panel3D7->MouseDown = [this](int x) { Panel3D7_MouseDown(x); };
    Panel3D7->MouseMove = [this](int x) { Panel3D7_MouseMove(x); };
    Panel3D7->MouseUp = [this](int x) { Panel3D7_MouseUp(x); };
    Panel3D6 = new Panel3D("OFF", outer);
    Panel3D6->setGeometry(plat::px(570), plat::px(90), plat::px(450), plat::px(240));
    Panel3D6->Click = [this] { Panel3D6_Click(); };
    auto* title = new Panel3D("Quick Calculator", outer);
    title->setObjectName("Panel3D4");
    title->caption->setFont(QFont(font().family(), 10, QFont::Bold));
    title->setGeometry(plat::px(1110), plat::px(60), plat::px(2205), plat::px(330));

    auto* frame = new QFrame(outer);
    frame->setObjectName("Panel3D3");
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(plat::px(120), plat::px(480), plat::px(3195), plat::px(540));
    ReadOut = new QLabel("0.", frame);
    ReadOut->setGeometry(plat::px(60), plat::px(60), plat::px(3075), plat::px(420));
    ReadOut->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ReadOut->setFont(QFont(font().family(), 12, QFont::Bold));
    ReadOut->setStyleSheet("QLabel { background-color: #FFFF00; color: black; padding-right: 4px; }");

    auto key = [this](const QString& text, QWidget* parent, int left, int top, int width = 480, int index = 0) {
        auto* b = new plat::CommandButton(text, parent, index);
        b->setGeometry(plat::px(left), plat::px(top), plat::px(width), plat::px(480));
        b->setFont(QFont(font().family(), 10, QFont::Bold));
        b->Click = [this, b](int) { key_Click(b->text()); };
        return b;
    };
    // The memory keys stand between the read-out and the key grid.
    Command1 = key("M+", outer, 480, 1140, 600);
    Command2 = key("M-", outer, 1440, 1140, 600);
    Command3 = key("MRC", outer, 2400, 1140, 600);
    for (auto* b : {Command1, Command2, Command3}) b->setFixedHeight(plat::px(420));

    auto* grid = new QFrame(outer);
    grid->setObjectName("Panel3D1");
    grid->setFrameShape(QFrame::Panel);
    grid->setFrameShadow(QFrame::Sunken);
    grid->setGeometry(plat::px(120), plat::px(1650), plat::px(3195), plat::px(2550));
    const int cols[] = {90, 690, 1290};
    const int rows[] = {1935, 1335, 735, 135};  // rows of 0, 1-3, 4-6, 7-9
    for (int d = 1; d <= 9; ++d)
        Number[d] = key(QString::number(d), grid, cols[(d - 1) % 3], rows[1 + (d - 1) / 3], 480, d);
    Number[0] = key("0", grid, 90, 1935, 1080, 0);
    Decimal = key(".", grid, 1290, 1935);
    Cancel = key("C", grid, 2010, 135);
    CancelEntry = key("CE", grid, 2610, 135);
    Operator[1] = key("+", grid, 2010, 735, 480, 1);
    Operator[3] = key("-", grid, 2610, 735, 480, 3);
    Operator[2] = key("X", grid, 2010, 1335, 480, 2);
    Operator[0] = key("/", grid, 2610, 1335, 480, 0);
    Operator[4] = key("=", grid, 2010, 1935, 480, 4);
    Percent = key("%", grid, 2610, 1935);
}

void Calculator::Form_Load() {
    SetCaption("Calculator");
    g.calculator_open = 1;
    keys.reset();
    Move(1200, 400);
    ZOrder(0);
    show_display();
}

void Calculator::show_display() { ReadOut->setText(QString::fromStdString(keys.display)); }

void Calculator::key_Click(const QString& caption) {
    keys.press(caption.toStdString());
    show_display();
    if (caption == "C") Form_Load();  // the load steps again: back to its place
}

void Calculator::Panel3D6_Click() { Unload(); }

void Calculator::Panel3D7_MouseDown(int) {
    knob.down = 1;
    Panel3D7->set_pressed(true);
}

void Calculator::Panel3D7_MouseMove(int x) {
    bool off = false;
    if (!knob.move(x, off)) return;
    Panel3D7->move(plat::px(x), Panel3D7->y());
    // Pushed all the way: the calculator switches off (it does not end
    // the program, which would lose the project being worked on).
    if (off) {
        knob.down = 0;
        Panel3D7->set_pressed(false);
        Panel3D7->move(plat::px(60), Panel3D7->y());
        Unload();
    }
}

void Calculator::Panel3D7_MouseUp(int) {
    knob.down = 0;
    Panel3D7->set_pressed(false);
}

void Calculator::Form_Deactivate() { reclaim_focus(this); }

void Calculator::Form_Unload(int& /*cancel*/) {
    g.calculator_open = 0;
    // However the calculator is closed ("OFF", the switch, the close box),
    // the input window it disabled is given back.
    if (plat::Form* w = windows().weathers.existing()) w->SetEnabled(true);
}
