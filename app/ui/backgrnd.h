// The brand background window: brand pictures that change every few
// seconds, and the program's main buttons. Clicking the picture starts a
// project (the input window with the customer-name window).
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QTimer>

#include "core/windows.h"
#include "platform/form.h"

// A picture box that reports clicks.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr) : QLabel(parent) {}
    std::function<void()> Click;

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class backgrnd : public plat::Form {
    Q_OBJECT
public:
    // SSCommand1 indices.
    enum Button { kProject = 0, kBrand, kUnits, kDealer, kInternet, kAbout, kExit, kButtons };

    backgrnd();

    PictureBox* Image1 = nullptr;  // the brand picture
    QLabel* Label1 = nullptr;      // dealer line under the picture
    QLabel* Label4 = nullptr;      // progress of "Copy Excel Data"; hidden until used
    plat::ControlArray<plat::CommandButton> SSCommand1;
    plat::CommandButton* Command1 = nullptr;  // "Copy Excel Data"
    QTimer* Timer1 = nullptr;                 // picture rotation, every 4 s
    int picture_no = 0;                       // picture shown, 0 .. 2

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Image1_Click();
    void SSCommand1_Click(int index);
    void Command1_Click();
    void Timer1_Timer();
    // Buttons whose window does not exist (yet) are unavailable; the brand
    // button also when the dealer may not choose the brand.
    void refresh_buttons();

protected:
    void build() override;

private:
    void show_picture();
    void open_setting(const WindowSlot& window, int left, int top, int width, int height);
};
