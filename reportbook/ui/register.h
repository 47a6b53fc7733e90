// Puts the report book into the window registry, through which the
// printout selection's print choice 3 reaches it.
#pragma once

void register_reportbook_windows();
