// Fills the window registry's entries of the project input window's folder
// (weathers). Called once by main() and by the tests that need them.
#pragma once

void register_input_windows();
