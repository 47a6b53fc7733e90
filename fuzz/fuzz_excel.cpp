// An energy-cost workbook (.xlsx) with any bytes: opening it, writing the
// cells and the print area either works or fails with error 1004, never out
// of bounds; and a workbook we filled and saved opens again with our values.
#include "fuzz/fuzz_support.h"

#include "office/excel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::prepare("fuzz.xlsx", data, size);
    const std::string out = g.data_dir + "filled.xlsx";
    try {
        office::Excel xl;
        xl.Workbooks().Open(g.data_dir + "fuzz.xlsx");
        xl.Range("b3").Select();
        xl.ActiveCell().FormulaR1C1(12.5f);
        xl.Range("a1").Select();
        xl.ActiveCell().FormulaR1C1("Natural gas & <co>");
        xl.Application().ActiveSheet().PageSetup().PrintArea("$C$12:$o$68");
        xl.saveCopy(out);
        xl.Quit();
    } catch (const ui::RtError&) {
        return 0;  // refused with its error number
    }
    try {
        office::Excel again;
        again.Workbooks().Open(out);
        again.Range("a1").Select();
        if (again.ActiveCell().FormulaR1C1() != "Natural gas & <co>") __builtin_trap();
        again.Range("b3").Select();
        if (again.ActiveCell().FormulaR1C1() != "12.5") __builtin_trap();
        again.Quit();
    } catch (const ui::RtError&) {
        __builtin_trap();  // our own output must open
    }
    return 0;
}
