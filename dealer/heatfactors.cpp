#include "dealer/heatfactors.h"

#include <array>

#include "app/data.h"
#include "app/limits.h"
#include "app/model.h"
#include "core/ui.h"
#include "core/vbtext.h"

namespace heatfactors {

namespace {

// Text1 year factor, Text2 / Text3 summer outdoor / indoor, Text4 .. Text11
// pool-size classes 540 .. 12,000 ft², Text12 .. Text14 selector buffers
// (BTU/h), Text15 reverse-flow saving, Text16 pool-cover quality.
// The limits are the global's (app/limits.h), typed in percent for a share.
constexpr Box box_of(const limits::Limit& l, bool share, bool minus, bool filtered, const char* mask) {
    const double k = share ? 100.0 : 1.0;
    return {static_cast<float>(l.typed.min * k), static_cast<float>(l.typed.max * k), share, minus, filtered, mask};
}

const std::array<Box, kBoxes + 1> kBox = [] {
    std::array<Box, kBoxes + 1> b{};
    b[1] = box_of(limits::kYearFactor, true, true, true, "##0.00");
    b[2] = b[3] = box_of(limits::kSummerFactor, true, true, true, "##0.00");
    for (int n = 4; n <= 11; ++n) b[n] = box_of(limits::kSizeComp, false, false, true, "##0.00");
    for (int n = 12; n <= 14; ++n) b[n] = box_of(limits::kSelBuffer, false, false, true, "##,###");
    b[15] = box_of(limits::kFloorReturns, true, false, false, "##0.00");
    // Cover quality: 0 % is an excellent cover, 50 % a very bad one; a
    // cover better than excellent does not exist, so no negative value
    // typed (a settings file may still hold one).
    b[16] = box_of(limits::kCoverQuality, false, true, true, "##0.00");
    return b;
}();

// The global each box edits, as a double.
double get(int n) {
    switch (n) {
        case 1: return g.year_factor;
        case 2: return g.summer_factor_out;
        case 3: return g.summer_factor_in;
        case 15: return g.reduce_pct;
        case 16: return g.cover_quality;
        default: break;
    }
    if (n >= 4 && n <= 11) return g.size_comp[n - 3];
    if (n >= 12 && n <= 14) return g.sel_buffer[n - 11];
    return 0;
}

void set(int n, double v) {
    const float f = static_cast<float>(v);
    switch (n) {
        case 1: g.year_factor = f; return;
        case 2: g.summer_factor_out = f; return;
        case 3: g.summer_factor_in = f; return;
        case 15: g.reduce_pct = f; return;
        case 16: g.cover_quality = f; return;
        default: break;
    }
    if (n >= 4 && n <= 11) g.size_comp[n - 3] = f;
    else if (n >= 12 && n <= 14) g.sel_buffer[n - 11] = v;
}

}  // namespace

const Box& box(int n) { return kBox.at(n >= 1 && n <= kBoxes ? n : 0); }

double parse(int n, const std::string& text) {
    const double v = vb::Val(remove_comma(text));
    return box(n).share ? v / 100 : v;
}

void store(int n, const std::string& text) { set(n, parse(n, text)); }

std::string shown(int n) {
    // The shares are shown as percentages of their single-precision value.
    const double v = box(n).share ? static_cast<double>(static_cast<float>(get(n))) * 100 : get(n);
    return vb::Format(v, box(n).mask);
}

bool in_range(int n, const std::string& text) {
    const float v = static_cast<float>(vb::Val(remove_comma(text)));
    return v >= box(n).lo && v <= box(n).hi;
}

bool key_passes(int n, int key) {
    const Box& b = box(n);
    if (!b.filtered) return true;
    if (key >= '0' && key <= '9') return true;
    if (key == 8 || key == 127 || key == '.') return true;
    return b.minus && key == '-';
}

void PumpOffBuff() {
    g.crlf = "\r\n";
    const std::string& br = g.crlf;
    const char* const kTitle = "Less than 7 days heating per week";
    constexpr limits::Range kBuffer = limits::kOffBuffer.typed;
    std::string text;
    for (const char* line :
         {"Whenever the heat pump is set", "to operate less than 7 days a", "week, the program will calculate",
          "wether a recovery to the desired", "temperature is possible after the", "shut off period. An adjustable",
          "buffer is provided to allow you", "to set the sensitivety or response.", "",
          "Enter a percentage simulating an", "increase or decrease in the heater's", "output. ", ""})
        text += line + br;
    ui::MsgBox(text, ui::vbOKOnly, kTitle);

    const std::string prompt = "The recommended adjustment is 100 (%)." + br + br + "The current setting is " +
                               vb::Str(g.off_buffer[3]) + br + "Enter a percentage of " + vb::CStr(kBuffer.min) +
                               " to " + vb::CStr(kBuffer.max) + br;
    for (;;) {
        // Rounded halves to even; an answer beyond the 16-bit range
        // saturates and is refused like any other out-of-range answer.
        const int answer = vb::CInt(vb::Val(ui::InputBox(prompt, kTitle, "")));
        if (answer == 0) return;  // Cancel, empty, not a number
        if (answer >= kBuffer.min && answer <= kBuffer.max) {
            g.off_buffer[3] = answer;
            return;
        }
        ui::MsgBox("Please try again", ui::vbOKOnly, "Error");
    }
}

}  // namespace heatfactors
