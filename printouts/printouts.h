// The printouts the printout selection window runs. Each reads the data
// model as the last calculation left it, reports its own failures in a
// message box and returns: a failed or abandoned printout leaves the program
// and the unsaved project as they were. None changes a setting.
#pragma once

// "Plain text": the one-page plain-text audit on the printer.
void To_print();

// "One coverage": the Word audit of the project's own cover hours, on the
// brand's template. Returns false when it failed or was abandoned.
bool prt_word();

// "Summary": the Word summary setting the uncovered and the covered pool
// side by side. It recalculates the project without cover and with the
// user's cover hours (24 hours a day when none are given) and at the end
// puts the user's cover hours back and recalculates again, on every path.
void prt_word_summary();

// One recalculation of the summary: the engine with the cover hours the
// model holds, shown on the input window. False when the engine failed.
bool recalc_cover();

// "One coverage and chart", second half: the energy-cost chart workbook.
void prt_graph();
