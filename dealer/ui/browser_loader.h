// The web browser window is loaded on first use from its own module
// (libheater_browser.so beside the program), so Qt WebEngine's large
// libraries are not loaded at every start of the program.
#pragma once

namespace plat {
class Form;
}

// The registry entry of the browser window: opening loads the module when
// needed and returns the window; when the module cannot be loaded the
// dealer is told so and nullptr is returned.
plat::Form* open_browser();
plat::Form* existing_browser();
