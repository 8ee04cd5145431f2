// The printed listing of the Print Selected Text command: the text as it
// stands, in Courier 10, a top margin of two lines holding a blank on every
// page, at most 53 lines of text a page, and comment lines (first non-blank
// character an apostrophe) in bold. No header, footer or page number.
#pragma once

#include <string_view>

#include "platform/port.h"
#include "platform/printer.h"

namespace qw {

// Prints `text` (lines end at CR LF) as a listing on `printer` and ends the
// document. A fault from the printer escapes, and the document is then not
// ended. While the 16-bit limits apply, a text over 32,767 bytes is fault 6
// (Overflow) before anything is printed.
void PrintListing(Printer& printer, std::string_view text);

// Counts one printed line of text; when the page is full, starts a new page
// and prints its top margin in regular weight.
void CountPrintedLine(Printer& printer);

// Starts a new page; the page line counter then stands before the margin.
void StartPrintPage(Printer& printer);

// The Print Selected Text command: prints the selection, or the whole text
// when nothing is selected (the selection is left as it is), on the port's
// default printer. With nothing selected and a blank pane it shows "You have
// no text selected!". A fault of the listing (no printer, a printer error) is
// shown in a "Print Error" box with the fault's description.
void PrintSelection(Port& port);

}  // namespace qw
