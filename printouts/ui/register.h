// Puts the printout selection window into the window registry, through
// which the project input window's Print button opens it.
#pragma once

void register_printouts_windows();
