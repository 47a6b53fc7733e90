// The test programs' seam of the web browser window: tests that run as root
// may open it without the web engine's sandbox (see dealer/ui/browser_env.h);
// it then loads pages of this computer only. Only test programs link it.
#pragma once

void set_browser_as_root_for_tests(bool allowed);
