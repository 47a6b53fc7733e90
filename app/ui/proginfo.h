// The programmer-information window: program, version, data folder and
// what was found of the data files.
#pragma once

#include <QLabel>

#include "platform/form.h"

class proginfo : public plat::Form {
    Q_OBJECT
public:
    proginfo();

    QLabel* Label1 = nullptr;                 // program name
    QLabel* Label2 = nullptr;                 // version
    QLabel* Label3 = nullptr;                 // data folder
    QLabel* Label4 = nullptr;                 // data files found
    plat::CommandButton* Command1 = nullptr;  // "OK"

    void Form_Load() override;
    void Form_Activate() override;
    // The texts of the window from the data model and the data folder.
    void fill();

protected:
    void build() override;
};

// "location.dat: 312 cities; PumpHP.dat: 100 heat-pump records ..." for the
// data model as loaded and the files in data_dir.
QString data_files_text();
