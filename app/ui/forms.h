// The start-up windows, each created on first use and held for the
// program's lifetime. Referring to a window through its accessor creates it;
// it loads when it is shown or moved. Windows of other folders are reached
// through the window registry (core/windows.h).
#pragma once

namespace plat {
class Form;
}

class backgrnd;  // brand background window (app/ui/backgrnd.h)
class splash;    // splash window (app/ui/splash.h)
class pass;      // access-code window (app/ui/pass.h)
class proginfo;  // programmer-information window (app/ui/proginfo.h)

backgrnd* frm_backgrnd();
splash* frm_splash();
pass* frm_pass();
proginfo* frm_proginfo();

// As a plain form, for code that only shows, moves or unloads it; nullptr
// when that window was never created.
plat::Form* existing_splash();
plat::Form* existing_pass();
plat::Form* existing_proginfo();
plat::Form* existing_backgrnd();
