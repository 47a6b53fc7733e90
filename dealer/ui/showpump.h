// The heat-pump performance-table editor: for a brand group of PumpHP.dat
// and one of its nine models (or, in the competitor modes, one of the
// three models of PumpHP1.dat .. PumpHP3.dat) the eight rating rows, the
// designation and the "in list" flag, written back to the file.
#pragma once

#include <QLabel>
#include <QListWidget>

#include <map>
#include <string>

#include "dealer/pumpfiles.h"
#include "platform/form.h"

class Showpump : public plat::Form {
    Q_OBJECT
public:
    Showpump();

    QListWidget* List1 = nullptr;                        // the groups
    QLabel* Label22 = nullptr;                           // group number
    QLabel* Label6 = nullptr;                            // group caption
    plat::TextBox* Text3 = nullptr;                      // name box (competitor brand)
    plat::TextBox* Text23 = nullptr;                     // designation
    QLabel* Label5 = nullptr;                            // model number / size
    plat::ControlArray<plat::TextBox> Text1;             // % RH, rows 0..7
    plat::ControlArray<plat::TextBox> Text9;             // C.O.P.
    plat::ControlArray<plat::TextBox> Text17;            // BTU/hr
    plat::ControlArray<plat::TextBox> Text27;            // water °F
    plat::CheckBox* SSCheck1 = nullptr;                  // "Include in list of models"
    plat::ControlArray<plat::CommandButton> SSCommand6;  // 0..8 models, 9..12 column fills
    plat::CommandButton* SSCommand5 = nullptr;           // "Save"
    plat::CommandButton* SSCommand4 = nullptr;           // "Exit"
    QPushButton* Label12 = nullptr;                      // "&Help"
    QLabel* Label24 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label25 = nullptr;       // status line
    plat::TextBox* Text2 = nullptr;  // output step, hidden

    int group = 0;      // record shown, 1..3
    int first_key = 0;  // the next key empties the box first
    int saved = 0;      // 1 once the file was written

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void List1_Click(int index);
    void SSCommand6_Click(int index);
    void SSCommand5_Click();
    void SSCommand4_Click();
    void Label12_Click();

    void text_fill();
    // Stores the boxes into the shown record and writes its file, then the
    // settings file; false (reason in *why, the old file kept) on failure.
    bool write_pump(std::string* why = nullptr);
    void read_pumpa();
    void set_table();
    void loadlist();
    void clearit();
    void showit();

protected:
    void build() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void box_key(plat::TextBox* box, bool point, int& key);
    pumpfiles::ModelBoxes boxes() const;
    // Shows a model's boxes; `exact` are the figures behind them.
    void show_boxes(const pumpfiles::ModelBoxes& b, const pumpfiles::ModelBoxes& exact);
    // The figure a table box stands for: what the dealer typed or a column
    // fill put there, or the value read from the file, whatever the box
    // shows after its column's mask ("84.5" behind "85"). Save writes these.
    std::map<const plat::TextBox*, std::string> figure_;
    bool masking_ = false;  // the mask rewrites a box: its figure stays
    std::string figure(const plat::TextBox* box) const;
    void table_colours(const char* text, const char* back);
    bool competitor() const;
    QString text_colour_ = "#FFFFFF";
    QString back_colour_ = "#C0C0C0";
    void name_colour(const char* text);
    // Enables the model buttons that exist in the mode.
    void enable_buttons(bool on);
};

Showpump* frm_Showpump();
Showpump* existing_Showpump();
