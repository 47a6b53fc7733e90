// A competitor file (PumpHP1.dat .. PumpHP3.dat) with any bytes: the reader
// and its check must stay within the record and the 24 rating points.
#include "fuzz/fuzz_support.h"

#include "app/data.h"
#include "app/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("PumpHP1.dat", data, size);
    read_compet(1);
    verify_compet1();
    CompetitorPump r;
    if (records::readCompetitorFile(g.data_dir + "PumpHP1.dat", r)) {
        // One normalisation through the code page, then packing is stable.
        const std::string once = records::pack(r);
        if (records::pack(records::unpackCompetitor(once)) != once) __builtin_trap();
    }
    return 0;
}
