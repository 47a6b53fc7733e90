// Placeholders of the finance pages the report book calls, until those are
// connected.
#include "reportbook/neighbours.h"

void Lease1() {}
void prt_fin_tables() {}
