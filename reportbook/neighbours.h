// What the report book uses of the finance pages.
// (Placeholders in neighbours.cpp until those pages are connected.)
#pragma once

// The leasing sales pages, then the finance tables.
void Lease1();
// The lease or loan tables page.
void prt_fin_tables();
