// The company-name window: the dealer's company name that heads every
// printout, and whether heat-pump prices and the finance calculator are
// offered. Changes reach the data model at once; the settings file takes
// them at the next save of the settings.
#pragma once

#include "platform/form.h"

class coname : public plat::Form {
    Q_OBJECT
public:
    coname();

    static constexpr int kMaxName = 34;

    plat::TextBox* Text1 = nullptr;             // company name
    plat::CheckBox* Check1 = nullptr;           // "Include HP prices and finance calculator"
    plat::CommandButton* SSCommand1 = nullptr;  // "Save/Exit"

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Text1_Change();
    void Check1_Click();
    void SSCommand1_Click();

protected:
    void build() override;
};
