// For tests of windows: one application object for the whole test program,
// without a screen.
#pragma once

namespace plat {

class Application;

// Creates the application once (QT_QPA_PLATFORM=offscreen unless set) and
// installs the Qt ui backend, which never waits in offscreen mode. Ending
// the program only sets endRequested(): the test process goes on. Safe to
// call from every test or fixture.
Application* ensureApp();

}  // namespace plat
