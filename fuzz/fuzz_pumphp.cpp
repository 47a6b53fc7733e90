// PumpHP.dat with any bytes: loading, the brand check, the model search and
// a whole calculation on whatever rating points it holds must stay defined
// (no out-of-bounds access, no overflowing conversion), and the table packs
// into records that read back the same.
#include "fuzz/fuzz_support.h"

#include "app/data.h"
#include "app/records.h"
#include "engine/engine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("PumpHP.dat", data, size);
    load_brand_pumps();
    if (g.pump_count < 0 || g.pump_count > static_cast<int>(records::kMaxPumps)) __builtin_trap();
    verify_brand();
    read_pumpa(g.brand_name, g.model_name);
    engine::calc_all();

    for (int k = 1; k <= g.pump_count; ++k) {
        const std::string once = records::pack(g.pump_tab[k]);
        if (records::pack(records::unpackPump(once)) != once) __builtin_trap();
    }
    return 0;
}
