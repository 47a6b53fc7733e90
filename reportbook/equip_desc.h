// The equipment text of a compared system: how many units of which of the
// system's models its configuration (combo_idx) needs.
#pragma once

#include <string>

#include "app/model.h"

namespace compet1 {

// text := the description of system k's configuration, with leading blanks
// (9 before a two-model text, 19 before a one-model text), e.g.
// "         2 model BR 35 and 1 model BR 55". k = 1 names the chosen brand
// group's models, k = 2..4 competitors 1..3; any other k gives "".
void equip_desc(const i16& k, std::string& text);

}  // namespace compet1
