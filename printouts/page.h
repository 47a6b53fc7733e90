// The printer of the page being printed, as the page builders see it:
// statements sent with the printer-fault question, and the dealer's body
// font.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "print/printer.h"
#include "printouts/printline.h"

// Thrown when the user gives up a printout at a printer fault: the page
// builder drops the document and returns.
struct PrintAbandoned {};

// The question asked when the printer does not answer (error 25): the text
// and title of the message box. OK tries the failed operation again, Cancel
// abandons the printout (PrintAbandoned).
struct FaultQuestion {
    const char* text;
    const char* title;
};
inline constexpr FaultQuestion kCheckPaper{"Check the paper", "Printer error"};
inline constexpr FaultQuestion kCheckPrinter{"Check the printer", "Device fault"};

// Runs one printer operation, asking `q` for as long as the printer fails.
// Cancel on the progress window (ui::Cancelled) abandons the printout too.
void printer_retry(const std::function<void()>& op, FaultQuestion q = kCheckPaper);

std::vector<prn::Item> to_items(const PrintLine& l);
// Sends one print statement to the printer, asking `q` on printer faults.
void print_line(const PrintLine& l, FaultQuestion q = kCheckPaper);

// Puts the dealer's body font on the printer: fnt_body_name ("Courier" or
// "Courier New", else "Courier"), fnt_body_size (9, 10, 11, 12, 14, 15 or 16,
// else 10), bold when fnt_body_bold is "True", no italic, no further style,
// and the further numeric setting fnt_body_x. A name or setting the printer
// refuses falls back to "Courier" / 0 (once; a second refusal is passed
// over). The corrected values stay in the settings.
void Fnt_body();
