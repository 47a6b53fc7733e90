// For tests and benchmarks of windows: one application object for the whole
// program, without a screen.
#pragma once

namespace plat {
class Application;
}

namespace testsupport {

// Creates the application once (QT_QPA_PLATFORM=offscreen unless set) and
// installs the Qt ui backend, which never waits in offscreen mode. Ending
// the program only sets endRequested(): the test process goes on. Safe to
// call from every test or fixture.
plat::Application* ensure_app();

}  // namespace testsupport
