// The brand window: the brand the whole program works with, the maker's
// office the dealer's documents belong to, and the lock that keeps the
// dealer from choosing the brand. The series list `Names` stores the series
// and the "Competitors" option.
#pragma once

#include <QListWidget>

#include <string>

#include "platform/form.h"

class setname : public plat::Form {
    Q_OBJECT
public:
    setname();

    plat::ComboBox* Combo1 = nullptr;           // "Kestrolin", "Tindraly", "Morvenic"
    plat::OptionButton* Option1 = nullptr;      // first office
    plat::OptionButton* Option2 = nullptr;      // second office
    plat::CheckBox* SSCheck1 = nullptr;         // "Dealer cannot select brand"
    plat::CommandButton* SSCommand1 = nullptr;  // "Save\Exit"

    void Form_Load() override;
    void Form_Deactivate() override;
    void Form_Unload(int& cancel) override;
    void Combo1_Click();
    void SSCheck1_Click();
    void SSCommand1_Click();

protected:
    void build() override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // Brand number, record and brand word of the chosen entry into the data
    // model and the input window's brand box.
    void take_brand();
};

class Names : public plat::Form {
    Q_OBJECT
public:
    Names();

    QListWidget* List1 = nullptr;               // "Kestrolin    A", "Kestrolin    D" ...
    plat::CheckBox* SSCheck1 = nullptr;         // "Competitors"
    plat::CommandButton* SSCommand1 = nullptr;  // "Save/Exit"

    void sets_options();
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& cancel) override;
    void List1_Click();
    void SSCommand1_Click();

protected:
    void build() override;
};

// The brand word of a code: 0 or 1 "Kestrolin", 2 "Tindraly", 3 "Morvenic",
// anything else empty.
std::string brand_word_of(int code);
