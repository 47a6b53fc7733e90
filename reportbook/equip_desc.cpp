#include "reportbook/equip_desc.h"

#include <algorithm>

#include "core/vbtext.h"

namespace compet1 {
namespace {

// The small, medium and large designations of system k, trailing blanks
// removed; false for a k that names no system.
bool designations(int k, std::string (&m)[4]) {
    for (int c = 1; c <= 3; ++c) {
        switch (k) {
            case 1: m[c] = g.pump_tab[std::clamp<int>(g.pump_rec, 1, 100)].model[c]; break;  // the group in use
            case 2: m[c] = g.comp1_rec[1].model[c]; break;
            case 3: m[c] = g.comp2_rec[1].model[c]; break;
            case 4: m[c] = g.comp3_rec[1].model[c]; break;
            default: return false;
        }
        m[c] = vb::RTrim(m[c]);
    }
    return true;
}

std::string count(int n) { return vb::Str(n); }

}  // namespace

void equip_desc(const i16& k, std::string& text) {
    text.clear();
    std::string m[4];
    if (!designations(k, m)) return;
    const int idx = std::clamp<int>(g.combo_idx, 0, 40);
    const int ns = g.combo_n1[idx], nm = g.combo_n2[idx], nl = g.combo_n3[idx];
    const std::string pad9 = vb::Space(9), pad19 = vb::Space(19);

    if (nm == 1 && ns > 0) {
        text = pad9 + count(ns) + " model " + m[1] + " and" + count(nm) + " model " + m[2];
    } else if (nm == 0 && ns > 0) {
        text = pad19 + count(ns) + " model " + m[1];
    } else if (ns == 0 && nm > 0) {
        text = pad19 + count(nm) + " model " + m[2];
    } else if (nl == 1) {
        text = pad19 + count(nl) + " model " + m[3];
    } else if (ns > 0 || nm > 0 || nl > 0) {
        // Any other mix (several medium units beside small ones, several
        // large units): each model with its count, joined by " and".
        const int n[4] = {0, ns, nm, nl};
        std::string joined;
        for (int c = 1; c <= 3; ++c) {
            if (n[c] <= 0) continue;
            if (!joined.empty()) joined += " and";
            joined += count(n[c]) + " model " + m[c];
        }
        text = pad9 + joined;
    } else {
        // No units at all (nothing to heat).
        text = count(0) + " model ";
    }
}

}  // namespace compet1
