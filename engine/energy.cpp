#include "engine/energy.h"

#include <algorithm>

namespace energy {

double heater_cost(int t, double btu, const DataModel& m) {
    const double eff = m.heater_eff;
    switch (t) {
        case HT_ELEC: return m.rate_elec.toDouble() * btu / kBtuPerKwh;
        case HT_GAS: return eff > 0 ? m.rate_natgas.toDouble() * btu / (eff * kBtuPerTherm / 100.0) : 0.0;
        case HT_PROPANE: return eff > 0 ? m.rate_propane.toDouble() * btu / (eff * kBtuPerGalPropane / 100.0) : 0.0;
        case HT_OIL: return eff > 0 ? m.rate_oil.toDouble() * btu / (eff * kBtuPerGalOil / 100.0) : 0.0;
        default: return 0.0;
    }
}

float floor_return_factor(const DataModel& m) {
    if (m.opt_reduce == 0 || is_spa(m)) return 1.0f;
    return 1.0f - std::clamp(m.reduce_pct, 0.0f, 1.0f);
}

}  // namespace energy
