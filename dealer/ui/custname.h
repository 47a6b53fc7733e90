// The customer-name window: the three address lines of the customer the
// project is for, printed under the title of every printout. While it is
// open the project input window is disabled; leaving it gives that window
// back.
#pragma once

#include "platform/form.h"

class custname : public plat::Form {
    Q_OBJECT
public:
    custname();

    plat::ControlArray<plat::TextBox> Text1;    // 0 name, 1 street, 2 city, state, zip
    plat::CommandButton* SSCommand1 = nullptr;  // "Continue"

    static int limit(int index) { return index == 0 ? 25 : 26; }

    void set_cust_flag();
    void clear_cust_flag();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void Form_Click();
    void Text1_Change(int index);
    void Text1_KeyPress(int index, int& key);
    void SSCommand1_Click();

protected:
    void build() override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void warn_truncate(int limit);
    void give_back_input_window();
};

// Places the customer-name window at 2170, 1600, 5565, 3045 twips, fills its
// boxes Text1(0..2) from cust_name, cust_street, cust_city and sets
// cust_win_state to 1. Registered as the routine windows().show_custname.
void show_custname();
