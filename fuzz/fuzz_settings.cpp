// defaulte.dat with any text: Dfltinp must take what parses and keep the
// defaults for the rest, and whatever it accepted must write out as a
// complete file that reads back to the same values.
#include "fuzz/fuzz_support.h"

#include "app/data.h"
#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("defaulte.dat", data, size);
    Dfltinp();
    const std::string text = settings::toText(g);
    static DataModel fresh;
    set_defaults(fresh);
    if (!settings::fromText(text, fresh).complete) __builtin_trap();
    if (settings::toText(fresh) != text) __builtin_trap();
    return 0;
}
