#include "reportbook/user_system.h"

#include "engine/engine.h"

namespace compet1 {

UserSystem UserSystem::save() {
    UserSystem s;
    s.hp_rh = g.hp_rh;
    s.hp_cop = g.hp_cop;
    s.hp_wtemp = g.hp_wtemp;
    s.hp_btu = g.hp_btu;
    s.model_price = g.model_price;
    s.model_price_tab = g.model_price_tab;
    return s;
}

void UserSystem::put_back() const {
    g.hp_rh = hp_rh;
    g.hp_cop = hp_cop;
    g.hp_wtemp = hp_wtemp;
    g.hp_btu = hp_btu;
    g.model_price = model_price;
    g.model_price_tab = model_price_tab;
}

void UserSystem::restore() const {
    put_back();
    run_calc();
}

}  // namespace compet1
