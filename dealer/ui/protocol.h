// What every window of the dealer area shares: the protocol between the
// settings menu and the windows it opens, keeping the focus while a window
// is open, and a window size that never cuts its controls.
#pragma once

namespace plat {
class Form;
}

// ---- the settings menu's side of its child windows --------------------------
// Called from a child's load: greys the menu's list (&HC0C0C0) and disables
// the menu so that no second entry can be chosen. Nothing happens when the
// menu is not loaded (the window was opened from elsewhere).
void menu_child_loaded();
// Called from a child's unload: the list white again (&HFFFFFF), the menu
// enabled, and in front and active once the child has closed.
void menu_child_unloaded();
// For the windows that open from the menu and from elsewhere (company name,
// brand, measurement system), on unload: gives back the menu when
// from_menu is 1, else the background window; then clears from_menu.
void give_back_opener();
// When the menu is open (menu_open = 1): back to its place at 2180, 90,
// 5100 x 1215 twips.
void menu_move_home();

// ---- the project follows the settings ----------------------------------------------
// Called when a settings window has stored its changes (on unload): the
// project input window, when open, shows the settings again (units, prices,
// brand) and recalculates the project with them.
void project_follows();

// ---- keeping the focus -----------------------------------------------------------
// A window that stays the active child window while it is open marks itself
// with keep_focus(this) (in its constructor). Its Deactivate calls
// reclaim_focus(this): the window takes the activation back unless the
// newly active window is itself one that keeps the focus. Two such windows
// therefore never hand the focus to and fro: the one the user clicked wins.
void keep_focus(plat::Form* self, bool on = true);
bool keeps_focus(const plat::Form* f);
void reclaim_focus(plat::Form* self);

// ---- size -------------------------------------------------------------------------
// Grows the window (never shrinks it) so that its controls fit; for windows
// whose place and size come in twips but whose text needs more room in the
// fonts of this system. The window's place stays.
void fit_window(plat::Form* f);
