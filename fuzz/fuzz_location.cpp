// location.dat as a dealer's data disk may bring it: any bytes. The loader
// must never read out of bounds, the city count stays within the table, and
// what it read packs into records that read back the same.
#include "fuzz/fuzz_support.h"

#include "app/data.h"
#include "app/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("location.dat", data, size);
    load_locations();
    if (g.city_count < 0 || g.city_count > static_cast<int>(records::kMaxCities)) __builtin_trap();

    std::vector<CityRecord> cities;
    std::string entry;
    for (int i = 1; i <= g.city_count; ++i) {
        city_entry(g.city_tab[i], entry);
        cities.push_back(g.city_tab[i]);
    }
    // Saved and read back, every record packs to the same bytes (the save
    // itself, with its flush to disk, is left to the kill test).
    for (const CityRecord& c : cities) {
        const std::string once = records::pack(c);
        if (records::pack(records::unpackCity(once)) != once) __builtin_trap();
    }
    return 0;
}
