// A Word template (.dotx) with any bytes, as a damaged or foreign file in the
// program folder would be: opening it and filling bookmarks either works or
// fails with the word processor's error number, never out of bounds; and a
// document we filled and saved always opens again with our text in it.
#include "fuzz/fuzz_support.h"

#include "office/word.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("fuzz.dotx", data, size);
    const std::string out = g.data_dir + "filled.docx";
    try {
        office::Word word;
        word.Documents().Open(g.data_dir + "fuzz.dotx");
        for (const char* name : {"Getpic", "bm", "bm1", "bm10"}) {
            try {
                word.ActiveDocument().Bookmarks(name).Select();
                word.Selection().InsertAfter("Pool & Spa <Heating> \"Co\"");
            } catch (const ui::RtError&) {
                // no such bookmark: the printouts report it
            }
        }
        word.ActiveDocument().saveCopy(out);
        word.Quit();
    } catch (const ui::RtError&) {
        return 0;  // refused with its error number
    }
    try {
        office::Word again;
        again.Documents().Open(out);
        again.Quit();
    } catch (const ui::RtError&) {
        __builtin_trap();  // our own output must open
    }
    return 0;
}
