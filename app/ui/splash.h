// The splash window: program name, version and brand, shown at start-up.
// It closes on a click or when its timer runs out and then opens the
// background window.
#pragma once

#include <QLabel>
#include <QTimer>

#include "platform/form.h"

class splash : public plat::Form {
    Q_OBJECT
public:
    splash();

    QLabel* Label1 = nullptr;  // program name
    QLabel* Label2 = nullptr;  // version
    QLabel* Label3 = nullptr;  // brand
    QLabel* Label5 = nullptr;  // what the program does
    QLabel* Label6 = nullptr;  // dealer
    QTimer* Timer1 = nullptr;  // single shot, splash_delay_ms()

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    // Closes the splash and opens the background window (timer or click).
    void Timer1_Timer();
    void Form_Click() { Timer1_Timer(); }

protected:
    void build() override;
    void mousePressEvent(QMouseEvent* e) override;
};
