// The settings menu: the entry to the dealer area. One drop-down list whose
// entries open the settings windows; the menu stays behind the open window,
// disabled, until that window closes. Closing the menu closes every
// settings window and gives the background window back.
#pragma once

#include <QString>

#include <functional>
#include <string>

#include "platform/form.h"

class menu : public plat::Form {
    Q_OBJECT
public:
    menu();

    plat::ComboBox* Combo1 = nullptr;
    int item_chosen = 0;  // 1 once an entry was chosen; until then the menu keeps the focus

    // The entries in list order, padded as the list shows them, and the
    // text shown before a choice.
    static const std::string& entry(int index);
    static std::string menu_text();

    void Setcmb1();
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Combo1_Click();

    // The list's back colour as the protocol of the child windows sets it.
    void set_list_color(unsigned rgb);
    unsigned list_color() const { return list_rgb_; }

protected:
    void build() override;

private:
    void open_entry(int index);
    unsigned list_rgb_ = 0xFFFFFF;
};

// The menu when it exists (nullptr otherwise); never creates it.
menu* existing_menu();
// The menu's look while a settings window that is opened from it stays
// open: its list greyed (RGB 192, 192, 192) and the menu disabled; white and
// enabled again after. Only a menu that is loaded and open is touched.
void grey_menu(bool grey);
// A window opened from the menu closes: once that close and whatever it
// sets off have run, the menu is in front and the active window again
// (unless it is closed or disabled by then, or a window that keeps the
// focus was opened meanwhile).
void menu_to_front_later();
// The menu, created on first use.
menu* frm_menu();
