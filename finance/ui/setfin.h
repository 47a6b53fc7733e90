// The finance key data window: the dealer's defaults for every lease and
// loan (loan rate and its type, the balloon interest mode, the loan saving
// rule of the finance pages, the lease key factors by term and amount).
// Values are edited in place; closing the window writes the settings file.
#pragma once

#include <QLabel>

#include "platform/form.h"

class setfin : public plat::Form {
    Q_OBJECT
public:
    setfin();

    QLabel* Label1 = nullptr;                          // "End of the loan payment interest mode"
    QLabel* Label2 = nullptr;                          // "Annual loan interest rate"
    QLabel* Label3 = nullptr;                          // "Lease factors"
    QLabel* Label8 = nullptr;                          // term heading
    QLabel* Label9 = nullptr;                          // "The total savings of a loan contract"
    plat::ControlArray<QLabel> Label;                  // 4..7 amount brackets
    plat::ControlArray<plat::OptionButton> SSOption2;  // 0 Adjustable, 1 Fixed
    plat::TextBox* Text1 = nullptr;                    // loan rate
    plat::ControlArray<plat::TextBox> Text2;           // 0..23 key factors
    plat::ComboBox* Combo1 = nullptr;                  // balloon interest mode
    plat::ComboBox* Combo2 = nullptr;                  // loan saving rule
    plat::CommandButton* SSCommand1 = nullptr;         // "Save/Exit"

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Combo1_Click();
    void Combo2_Click();
    void SSOption2_Click(int index);
    void Text1_Change();
    void Text1_LostFocus();
    void Text2_Change(int index);
    void Text2_LostFocus(int index);
    void SSCommand1_Click();

protected:
    void build() override;

private:
    void menu_look(bool open);
};
