// The measurement-system window: the units in which the whole program shows
// and takes values, one by one or by a preset (US, UK, metric). Each choice
// is stored at once; closing the window writes the settings file.
#pragma once

#include <QLabel>

#include "platform/form.h"

class setsize : public plat::Form {
    Q_OBJECT
public:
    setsize();

    // Combo1 length/area/speed, Combo2 volume, Combo3 sun radiation,
    // Combo4 heat, Combo5 gas price unit, Combo6 oil, Combo7 propane,
    // Combo8 temperature (index 1..8; element 0 unused).
    plat::ComboBox* Combo[9] = {};
    plat::CommandButton* SSCommand1 = nullptr;  // "US"
    plat::CommandButton* SSCommand2 = nullptr;  // "UK"
    plat::CommandButton* SSCommand3 = nullptr;  // "Metric"
    plat::CommandButton* SSCommand4 = nullptr;  // "Save/Exit"
    plat::CheckBox* SSCheck1 = nullptr;         // "Allow dealer access" (Label11)
    QLabel* Label11 = nullptr;

    // Presets.
    static void us();
    static void uk();
    static void metr();
    void setsize_fill();

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Combo_Click(int n);
    void SSCheck1_Click();
    void SSCommand_Click(int n);

protected:
    void build() override;
};
