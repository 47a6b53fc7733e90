#include "reportbook/ui/register.h"

#include "core/windows.h"
#include "reportbook/prt1.h"

void register_reportbook_windows() {
    windows().The_Print = [] { prt1::The_Print(); };
}
