// Puts the dealer area's windows into the window registry, through which
// the background, password, input and menu windows reach them.
#pragma once

void register_dealer_windows();
