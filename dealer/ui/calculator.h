// The quick calculator: a four-function pocket calculator with a
// one-number memory, worked with the mouse, kept beside the project input
// window. Its arithmetic is CalcKeys; this window shows the keys and the
// read-out and has the "ON" and "OFF" switches.
#pragma once

#include <QFrame>
#include <QLabel>

#include <functional>

#include "dealer/calckeys.h"
#include "platform/form.h"

// A 3-D panel with a caption that reports mouse presses, moves and
// releases (x in twips, in the panel's own coordinates) and clicks.
class Panel3D : public QFrame {
    Q_OBJECT
public:
    explicit Panel3D(const QString& caption, QWidget* parent);
    QLabel* caption = nullptr;
    std::function<void()> Click;
    std::function<void(int x)> MouseDown, MouseMove, MouseUp;
    void set_pressed(bool on);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
};

class Calculator : public plat::Form {
    Q_OBJECT
public:
    Calculator();

    plat::ControlArray<plat::CommandButton> Number;    // "0" .. "9"
    plat::ControlArray<plat::CommandButton> Operator;  // "/", "+", "X", "-", "="
    plat::CommandButton* Decimal = nullptr;
    plat::CommandButton* Percent = nullptr;
    plat::CommandButton* Cancel = nullptr;       // "C"
    plat::CommandButton* CancelEntry = nullptr;  // "CE"
    plat::CommandButton* Command1 = nullptr;     // "M+"
    plat::CommandButton* Command2 = nullptr;     // "M-"
    plat::CommandButton* Command3 = nullptr;     // "MRC"
    QLabel* ReadOut = nullptr;
    Panel3D* Panel3D7 = nullptr;  // "ON" switch
    Panel3D* Panel3D6 = nullptr;  // "OFF"

    CalcKeys keys;
    CalcKnob knob;

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    // Any key by its caption (digits, operators, ".", "%", "C", "CE",
    // "M+", "M-", "MRC").
    void key_Click(const QString& caption);
    void Panel3D6_Click();
    void Panel3D7_MouseDown(int x);
    void Panel3D7_MouseMove(int x);
    void Panel3D7_MouseUp(int x);

protected:
    void build() override;

private:
    void show_display();
};
