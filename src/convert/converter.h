// The xBase-to-Basic converter: the Convert command. It turns xBase source
// (.PRG statements) into Basic source in one pass, line by line, by string
// rules; it does not parse expressions. Each line is joined with its
// continuation lines, its quotes and comments are put into Basic form, it
// passes the statement chain (statement_rules.h) and is written with its
// reserved words renamed (rename_reserved.h). A converted procedure header
// is closed by "End Sub" or "End Function" at the end of the block.
//
// Texts are bytes; lines end with CR LF, and every output line ends with CR LF.
#pragma once

#include <string>
#include <string_view>

#include "platform/port.h"

namespace qw {

// The Convert command on the edit pane of `port`: converts the selected text
// (after selecting the whole text when nothing is selected), puts the output on
// the clipboard, gives the pane the focus and sends the Paste command's keys,
// which replace the selection by the output (ReplaceThroughPaste). Reports a fault as a "Program
// Error" naming "ConvertXBaseProc" and then pastes nothing: a selection over
// 32,767 bytes while the 16-bit limits apply is such a fault. A fault inside
// the conversion is reported by ConvertXBaseBlock, and what was converted
// before it is still pasted. Installs `port` as the current port meanwhile.
void ConvertXBaseProc(Port& port);

// Appends the conversion of every line of `input` (CR LF separated) to
// `output`. A fault is reported on `port` as a "Program Error" naming
// "ConvertXBaseBlock"; what was appended before it stays in `output`. While the
// 16-bit limits apply, an input over 32,767 bytes is fault 6.
void ConvertXBaseBlock(Port& port, std::string_view input, std::string& output);

}  // namespace qw
