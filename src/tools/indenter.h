// The block indenter: the Indent Selected Text command's engine. It rewrites the leading white
// space of every line of Basic source by the block structure its opening keywords show, in steps
// of three blanks. It does not parse statements: a line is classed by exact-case keyword
// prefixes, with a look for "Then" in If lines, for the closing word in one-line loop heads, and
// for a label. Texts are bytes.
#pragma once

#include <string>
#include <string_view>

#include "platform/port.h"

namespace qw {

// Re-indents `selection` (lines separated by CR LF) by its block structure and returns the
// text that replaces it: every line ended by CR LF, also the last one when the selection has
// none. A selection whose first characters after its leading blanks are "Func" or "Sub " starts
// at level 0, any other at level 3; a level that goes below 0 is written as no blanks and kept.
// Throws Fault(kFaultOverflow) while the 16-bit limits apply (platform/limits.h) when the
// selection is over 32,767 bytes or a level leaves the 16-bit range; with the limits lifted it
// takes a text of any size. Shows nothing. Moves MemoLine's line cursor.
std::string IndentText(std::string_view selection);

// The Indent Selected Text command: re-indents the selection, or the whole
// text when nothing is selected (selecting it), and puts the result in its
// place through the clipboard and the Paste command. With nothing selected
// and a blank pane it shows "You have no text to indent!" and does nothing. A
// fault is shown in the procedure error box, and the pane's text is then as
// it was.
void IndentSelection(Port& port);

}  // namespace qw
