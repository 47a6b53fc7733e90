// The heater adjustment factors window: the factors the engine applies to
// every project (a warmer or cooler year and summer, pool-size classes,
// the system selector buffers, the reverse-flow saving, the pool-cover
// quality, low-temperature compensation) and the recovery buffer of the
// "7 days buffer" dialogue. Every change is in the data model at once;
// closing the window writes the settings file.
#pragma once

#include "platform/form.h"

class setheat : public plat::Form {
    Q_OBJECT
public:
    setheat();

    plat::ControlArray<plat::TextBox> Text;     // Text1 .. Text16 by their number
    plat::CheckBox* Check1 = nullptr;           // low-temperature compensation
    plat::CommandButton* SSCommand1 = nullptr;  // "Save/Exit"
    plat::CommandButton* SSCommand2 = nullptr;  // "7 days buffer"

    void PumpOffBuff();

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Check1_Click();
    void Text_Change(int n);
    void Text_KeyPress(int n, int& key);
    void Text_LostFocus(int n);

protected:
    void build() override;
};
