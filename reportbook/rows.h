// The comparison's table rows: one line for system k (1 = the chosen
// system, 2..4 = competitors 1..3) from cmp_res(k). Every row starts with
// the first 14 characters of the system's brand at column M + 1 (M the left
// margin); each value is right-aligned in its field, and a value of exactly
// 0 (as printed) leaves its field empty.
#pragma once

#include "app/model.h"

namespace compet1 {

// Monthly rows, January to June (…1) and July to December (…2).
void temp1(const i16& k);
void temp2(const i16& k);
void cop1(const i16& k);
void cop2(const i16& k);
void outp1(const i16& k);
void outp2(const i16& k);
void hrs1(const i16& k);
void hrs2(const i16& k);
void cst1(const i16& k);
void cst2(const i16& k);
void bak1(const i16& k);
void bak2(const i16& k);
// Yearly costs 1..5 and their total.
void yrcst(const i16& k);
// Own figure, the chosen system's figure and the difference.
void sav(const i16& k);     // first-year saving against the existing heater
void savtot(const i16& k);  // five-year saving
void syscst(const i16& k);  // equipment cost
void pbak(const i16& k);    // payback, years
void roi(const i16& k);     // return on investment, %
// Operating hours a year of system k, the carried value (the chosen
// system's hours) and the hours saved against it.
void hrsyr(const float& carried, const i16& unused, const i16& k);
// "Brand     :  …" and "Equipment :  …", then an empty line.
void brand_hdr(const i16& k);

// °F as printed: unchanged, or °C to 0.1 (halves upward).
float to_cels(float f);
// BTU/h as printed: unchanged, or watts (/ 3.41304).
float to_watt(float btu);
// total += system k's operating hours in a year.
void year_hours(const i16& k, Currency& total);

}  // namespace compet1
