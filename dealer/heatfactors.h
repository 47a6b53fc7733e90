// The rules of the heater adjustment factors (the `setheat` window's
// sixteen boxes) and its "7 days buffer" dialogue, without any window: what
// each box edits, how its text is read and shown, which keys it takes and
// which values it accepts.
#pragma once

#include <string>

namespace heatfactors {

constexpr int kBoxes = 16;  // Text1 .. Text16

struct Box {
    float lo, hi;      // accepted on leaving the box, bounds inclusive
    bool share;        // the global holds the typed percentage / 100
    bool minus;        // the key filter passes "-"
    bool filtered;     // the box has a key filter at all
    const char* mask;  // how the box shows its global
};
// Box n = 1 .. 16.
const Box& box(int n);

// The typed text as the box stores it: "," "$" "%" dropped, the leading
// number read (C locale: "." is the decimal point whatever the desktop's
// language), divided by 100 for the percentage shares.
double parse(int n, const std::string& text);
// Stores the text into the box's global (the Change handler).
void store(int n, const std::string& text);
// The box's global as the box shows it.
std::string shown(int n);
// The text, read as a single-precision value, lies within the box's range.
bool in_range(int n, const std::string& text);
// The key passes the box's filter (digits, Backspace 8, 127, "." and, for
// some boxes, "-"; the reverse-flow box takes every key).
bool key_passes(int n, int key);

// The "7 days buffer" dialogue: explains the buffer, then asks for a
// percentage 50..150 (limits::kOffBuffer) until one is given or the dealer gives up (Cancel, an
// empty answer or one that comes to 0), storing it into off_buffer(3).
void PumpOffBuff();

}  // namespace heatfactors
