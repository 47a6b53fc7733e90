#include "tests/support/browser_root.h"

#include "dealer/ui/browser_env.h"

namespace {
bool g_allowed = false;
}  // namespace

void set_browser_as_root_for_tests(bool allowed) { g_allowed = allowed; }

// The definition the program lacks: with it linked in, the window asks here.
bool browser_as_root_hook() { return g_allowed; }
