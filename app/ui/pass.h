// The access-code window: a dealer types an access code to reach the
// settings menu or the measurement-system window.
#pragma once

#include <QLabel>

#include <string>
#include <vector>

#include "platform/form.h"

// What an access code opens.
enum class AccessTarget { SettingsMenu, MeasurementSystem };

struct AccessCode {
    const char* code;  // compared without regard to case and outer blanks
    AccessTarget target;
    const char* purpose;  // for the dealers' documentation
};

// The one table of access codes.
const std::vector<AccessCode>& access_codes();
// The entry of a typed code; nullptr when it is not a code.
const AccessCode* find_access_code(const std::string& typed);

class pass : public plat::Form {
    Q_OBJECT
public:
    pass();

    QLabel* Label1 = nullptr;                 // prompt
    plat::TextBox* Text1 = nullptr;           // the code, shown as dots
    plat::CommandButton* Command1 = nullptr;  // "OK"
    plat::CommandButton* Command2 = nullptr;  // "Cancel"

    void Form_Load() override;
    void Command1_Click();
    void Command2_Click();
    void Text1_KeyPress(int index, int& key);

protected:
    void build() override;
};
