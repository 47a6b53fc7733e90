// The user's own heat-pump system, kept while the report book and the
// comparison run other systems through the engine, and put back afterwards.
#pragma once

#include "app/model.h"

namespace compet1 {

struct UserSystem {
    arr<float, 72> hp_rh{}, hp_cop{}, hp_wtemp{};
    arr<double, 72> hp_btu{};
    arr<Currency, 3> model_price{};
    arr<Currency, 11> model_price_tab{};

    // The working rating-point tables and prices as they stand now.
    static UserSystem save();
    // Puts the tables and prices back (nothing else).
    void put_back() const;
    // Puts them back and recalculates the project in full, so that every
    // result (equip_cost, payback, the year tables ...) is that of a fresh
    // calculation of the user's own system.
    void restore() const;
};

}  // namespace compet1
