// The printout selection window `Prt2`, opened by the project input window's
// Print button: the printout to run ("Summary", "One coverage", "One coverage
// and chart", "Plain text"), three print options, a printer choice, and Print
// and Exit. Print writes the settings, closes the window and runs the
// printout; the input window stays disabled until it has ended and is given
// back (enabled and in front, its Print button available, the normal
// pointer) on every path, also when the printout fails. While the window is
// open the input window stays disabled, "Select a printer" included.
#pragma once

#include <functional>

#include "platform/form.h"

class Prt2 : public plat::Form {
public:
    Prt2();

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;

    void Combo1_Click(int index);
    void Check1_Click(int index);
    void Check2_Click(int index);
    void Check3_Click(int index);
    void SSCommand1_Click(int index);

    plat::ComboBox* Combo1 = nullptr;
    plat::CheckBox* Check1 = nullptr;                    // " Small title fonts"
    plat::CheckBox* Check2 = nullptr;                    // "letter head"
    plat::CheckBox* Check3 = nullptr;                    // "Round up Summary costs"
    plat::ControlArray<plat::CommandButton> SSCommand1;  // 0 Print, 1 Exit, 2 Select a printer

protected:
    void build() override;

private:
    void offer_options(int row);
    bool in_click_ = false;  // inside SSCommand1_Click
};

// The printouts Print runs, by print choice; tests replace them to follow
// the order of the calls. Filled with the real printouts on first use.
struct Printouts {
    std::function<bool()> prt_word;
    std::function<void()> prt_graph;
    std::function<void()> To_print;
    std::function<void()> prt_word_summary;
    // The system's printer dialog ("Select a printer").
    std::function<void()> select_printer;
    // Starts the office renderer in the background when the window opens,
    // so that the Word and Excel printouts print without waiting for it.
    std::function<void()> warm_office;
};
Printouts& printouts();

// The one printout selection window (created on first use).
Prt2* frm_prt2();
