// The finance windows in the window registry: lease (finance calculator),
// setfin (finance key data) and elect (model prices).
#pragma once

void register_finance_windows();
