// The weather-city list window: the cities of location.dat by region, and
// the buttons that add a city, open one in the record editor, delete one or
// delete them all, and the choice of the cities the project input window
// offers. Closing it ends the program (the dealer restarts it so every
// window reads the new cities).
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QStackedLayout>

#include <functional>
#include <string>
#include <vector>

#include "dealer/citydata.h"
#include "platform/form.h"

class setdata : public plat::Form {
    Q_OBJECT
public:
    setdata();

    plat::ComboBox* Combo1 = nullptr;                  // region shown
    QListWidget* List1[citydata::kRegions] = {};       // the region lists, one above the other
    plat::TextBox* Text1 = nullptr;                    // a new city's name
    plat::CommandButton* SSCommand1 = nullptr;         // "Add new"
    plat::CommandButton* SSCommand2 = nullptr;         // "Edit city"
    plat::CommandButton* SSCommand3 = nullptr;         // "Delete city"
    plat::CommandButton* SSCommand4 = nullptr;         // "Save/Exit"
    plat::CommandButton* SSCommand5 = nullptr;         // "Delete Weather file"
    plat::ControlArray<plat::OptionButton> SSOption1;  // on-screen city display 0..3

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Combo1_Click();
    void List1_Click(int k);
    void List1_DblClick(int k);
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();
    void SSCommand5_Click();
    void SSOption1_Click(int index);

    void berase();
    void sel_area();
    void loadlist3();
    void clr_dat();

    // The list entries as last built, with their record numbers.
    const citydata::Lists& lists() const { return lists_; }
    // The chosen entry of the region shown (nullptr when none).
    const citydata::Entry* chosen() const;
    // True while the window is being closed.
    bool closing() const { return closing_; }

protected:
    void build() override;

private:
    void hand_to_editor();
    citydata::Lists lists_;
    std::vector<CityRecord> cities_;  // location.dat as the lists show it
    QStackedLayout* stack_ = nullptr;
    bool warned_more_ = false;
    bool closing_ = false;
};

// The one list window (created on first use) and whether it exists.
setdata* frm_setdata();
setdata* existing_setdata();

// How closing the list window ends the program (after the open project
// was saved): by default at once, with no question. Tests replace it.
std::function<void()>& setdata_end_program();
