// The weather-city record editor: one city's prices, wind speed, state and
// twelve months of humidity, solar radiation and air temperature. Closing
// it writes the city into location.dat (in place, or appended for a new
// city); "Cancel" closes it without writing anything.
#pragma once

#include <QLabel>

#include "dealer/citydata.h"
#include "platform/form.h"

class filldata : public plat::Form {
    Q_OBJECT
public:
    filldata();

    plat::ControlArray<plat::TextBox> Text1;    // humidity, months 0..11
    plat::ControlArray<plat::TextBox> Text2;    // solar radiation
    plat::ControlArray<plat::TextBox> Text3;    // air temperature
    plat::ControlArray<plat::TextBox> Text4;    // 0..3 prices, 4 wind, 5 state
    QLabel* Label26 = nullptr;                  // city name
    QLabel* Label23 = nullptr;                  // record number
    plat::CommandButton* SSCommand1 = nullptr;  // "Save/Exit"
    plat::CommandButton* SSCommand2 = nullptr;  // "Cancel"
    plat::CommandButton* SSCommand3 = nullptr;  // dummy values (new city only)
    int clear_on_key = 0;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void fill_text();
    // The boxes read back into a record of the city shown.
    CityRecord read_txt() const;
    void key_press(plat::TextBox* box, bool anyKey, int& key);

protected:
    void build() override;

private:
    bool discard_ = false;  // "Cancel": close without writing
};

filldata* frm_filldata();
filldata* existing_filldata();
