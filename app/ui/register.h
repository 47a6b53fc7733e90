// Fills the window registry's entries of the start-up windows' folder
// (backgrnd, show_import_progress, unload_settings). Called once by main() and by the tests that need them.
#pragma once

void register_app_windows();
