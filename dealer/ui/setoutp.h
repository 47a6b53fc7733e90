// The output compensating factors window: for each air temperature from 50
// to 85 °F one factor for the heat-pump output (BTU) and one for the C.O.P.
// "Save/Exit" (and the close box) stores the sixteen boxes and writes the
// settings file; "Cancel" leaves the factors as they were.
#pragma once

#include <QLabel>

#include "platform/form.h"
#include "platform/numbox.h"

class setoutp : public plat::Form {
    Q_OBJECT
public:
    setoutp();

    // The number boxes take digits and one point; the first key after the
    // focus replaces the value; a refused key gives the numbers-only warning.
    plat::ControlArray<plat::NumBox> Text1;     // BTU factors, 0..7 = 50..85 °F
    plat::ControlArray<plat::NumBox> Text2;     // C.O.P. factors
    plat::CommandButton* SSCommand1 = nullptr;  // "Save/Exit"
    plat::CommandButton* SSCommand2 = nullptr;  // "Cancel"

    int box_changed = 0;  // a box's text changed since the load

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Text_Change(int index);
    void SSCommand1_Click();
    void SSCommand2_Click();

protected:
    void build() override;

private:
    bool cancelled_ = false;
};
