// Comment and uncomment: the text work of the Comment and Uncomment commands.
// Both walk the text line by line (lines end at CR LF) and return the text
// that replaces the selection; every output line ends with CR LF, also the
// last one when the input did not. A blank is the space character only: a tab
// is an ordinary character.
#pragma once

#include <string>
#include <string_view>

#include "platform/port.h"

namespace qw {

// True when the line's first character after its leading blanks is an
// apostrophe, the Basic comment mark (a tab before it makes it no comment).
bool IsCommentLine(std::string_view line);

// Puts an apostrophe before the first non-blank character of every line: the
// indentation stays, trailing blanks are dropped, an empty line becomes "'"
// and a line that is already a comment gets a second apostrophe. While the
// 16-bit limits apply, a text over 32,767 bytes is fault 6 (Overflow).
std::string CommentText(std::string_view selection);

// Takes one apostrophe away again from every line whose first non-blank
// character is one, keeping the blanks before and after it; every line loses
// its trailing blanks, the other lines nothing else. While the 16-bit limits
// apply, a text over 32,767 bytes is fault 6 (Overflow).
std::string UncommentText(std::string_view selection);

// The Comment and Uncomment commands: the selection, or the whole text when
// nothing is selected (selecting it), is replaced by its commented or
// uncommented lines through the clipboard and the Paste command. With nothing
// selected, a pane that counts as empty shows "You have no text selected!":
// for Comment a pane of blanks only, for Uncomment only a pane with no
// character at all. A fault is shown in the procedure error box.
void CommentSelection(Port& port);
void UncommentSelection(Port& port);

}  // namespace qw
