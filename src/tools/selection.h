// The text a command of the text tools works on: the selection of the edit
// pane, or its whole text when nothing is selected. A pane that counts as
// empty is told, and the command does nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/port.h"

namespace qw {

// When a pane with nothing selected counts as empty: when it holds blanks
// only (or nothing), or only when it holds no character at all.
enum class EmptyPane { kBlank, kNoCharacters };

// Whether a command that takes the whole text selects it first, so that its
// Paste replaces it, or leaves the selection as it is.
enum class WholeText { kSelect, kLeaveSelection };

// The selected text; with nothing selected, the whole text of the pane
// (selected first when `whole` says so). Nothing, after the message box
// `message` (title "Error", exclamation icon, OK), when nothing is selected
// and the pane counts as empty by `empty`.
std::optional<std::string> TextToWorkOn(Port& port, EmptyPane empty, const char* message,
                                        WholeText whole = WholeText::kSelect);

// The commands that rewrite the text (indent, comment, uncomment): the text to
// work on, as TextToWorkOn chooses it and selects it, turned by `rewrite` and
// put in place of the selection through the clipboard and the Paste command.
// A fault is shown in the procedure error box, and the pane's text is then as
// it was.
void RewriteSelection(Port& port, EmptyPane empty, const char* message,
                      std::string (*rewrite)(std::string_view));

}  // namespace qw
