// The model-price window: the sales price of each of the three heat-pump
// models of the chosen series, typed beside the model's name. The engine
// prices the sized system from these at its next calculation. The window
// closes as soon as it loses the activation.
#pragma once

#include <QLabel>

#include "platform/form.h"

class elect : public plat::Form {
    Q_OBJECT
public:
    elect();

    // Rows top to bottom: Label3/Text3 price 1, Label4/Text4 price 2,
    // Label5/Text5 price 3.
    plat::ControlArray<QLabel> Label;        // 3..5
    plat::ControlArray<plat::TextBox> Text;  // 3..5

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Text_Change(int box);
    void Text_LostFocus(int box);

    // Reloads the heat-pump file and captions the rows with the models.
    void set_models();
    // A series of 0 becomes 1 (series A).
    void set_combo();

protected:
    void build() override;
};
