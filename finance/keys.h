// The key rule of the finance windows' number boxes: what a typed
// character does, by its character code (8 Backspace, 127 Delete, 27 Esc).
#pragma once

namespace finkeys {

enum class Key {
    Pass,    // goes into the box
    Reset,   // dropped; the box is emptied (Escape), no warning
    Refuse,  // dropped; the numbers-only warning, then the box is emptied
};

// Digits, Backspace and Delete pass; a decimal point or a comma only where
// the box takes them.
inline Key classify(int key, bool point = true, bool comma = false) {
    if ((key >= '0' && key <= '9') || key == 8 || key == 127) return Key::Pass;
    if ((point && key == '.') || (comma && key == ',')) return Key::Pass;
    return key == 27 ? Key::Reset : Key::Refuse;
}

}  // namespace finkeys
