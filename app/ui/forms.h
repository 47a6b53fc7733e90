// The program's windows, each created on first use and held for the
// program's lifetime (the window instances of the data model). Referring to
// a window through its accessor creates it; it loads when it is shown or
// moved. `loaded_*` tells whether one exists and is loaded, without
// creating it.
#pragma once

namespace plat { class Form; }

class weathers;   // project input window (input/weathers.h)
class backgrnd;   // brand background window (app/ui/backgrnd.h)
class splash;     // splash window (app/ui/splash.h)
class pass;       // access-code window (app/ui/pass.h)
class proginfo;   // programmer-information window (app/ui/proginfo.h)

weathers* frm_weathers();
backgrnd* frm_backgrnd();
splash* frm_splash();
pass* frm_pass();
proginfo* frm_proginfo();

// As a plain form, for code that only shows, moves or unloads it; nullptr
// when that window was never created.
plat::Form* existing_weathers();
plat::Form* existing_backgrnd();

// Windows that later parts of the program add register here so the
// background window's buttons and the shutdown can reach them without
// knowing their classes. Each entry is a function that returns the window
// (creating it); empty until the window exists in the program.
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

// The one instance of a window class held in `slot`, created on first use
// (a window the main window has deleted is created anew).
template <class T> T* instance(QPointer<T>& slot) {
    if (!slot) slot = new T();
    return slot;
}
struct WindowRegistry {
    // Opened from the background window / input window buttons.
    std::function<plat::Form*()> setname;      // brand window
    std::function<plat::Form*()> setsize;      // measurement-system window
    std::function<plat::Form*()> menu;         // settings menu
    std::function<plat::Form*()> frmBrowser;   // web browser
    std::function<plat::Form*()> custname;     // customer-name window
    std::function<plat::Form*()> Calculator;   // quick calculator
    std::function<plat::Form*()> elect;        // model-price window
    std::function<plat::Form*()> lease;        // finance calculator
    std::function<plat::Form*()> Prt2;         // printout selection
    std::function<void()> convert_cities;      // "Copy Excel Data"
    // Settings windows that unload_settings closes, in this order.
    std::function<plat::Form*()> coname;       // company name
    std::function<plat::Form*()> setdata;      // weather-city editor
    std::function<plat::Form*()> setfin;       // finance key data
    std::function<plat::Form*()> setheat;      // heater parameters
    std::function<plat::Form*()> Showpump;     // heat-pump performance tables
    std::function<plat::Form*()> setoutp;      // output compensating factors
    std::vector<std::function<plat::Form*()>> settings_order() const {
        return {coname, setname, setsize, setdata, setfin, setheat, Showpump, setoutp};
    }
    // Windows the shutdown unloads after the settings windows, in order:
    // browser, calculator, customer, finance, price, print.
    std::vector<std::function<plat::Form*()>> shutdown_order() const {
        return {frmBrowser, Calculator, custname, lease, elect, Prt2};
    }
};
WindowRegistry& windows();
