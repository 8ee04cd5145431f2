// The editor's own clipboard commands on the edit pane: Concatenate gathers
// pieces of text on the clipboard one after another; Cut, Copy and Paste; and
// Clear empties the clipboard. They read and write the clipboard's plain text.
// Paste is also the last step of the indenter, Comment, Uncomment and
// Convert, which put their result on the clipboard and paste it over the
// selection.
#pragma once

#include "platform/port.h"

namespace qw {

// Appends the selection, or the whole text when nothing is selected
// (selecting it), to the clipboard's text, with nothing between them. With
// nothing selected and a blank pane it shows "You have no text to
// concatenate!". The pane's text does not change. A fault is shown in the
// procedure error box, the clipboard then as it was.
void ConcatenateToClipboard(Port& port);

// Puts the selected text on the clipboard (the empty text when nothing is
// selected) and deletes it from the pane.
void CutSelection(Port& port);

// Puts the selected text on the clipboard (the empty text when nothing is
// selected).
void CopySelection(Port& port);

// Puts the clipboard's text in place of the selection, or at the caret when
// nothing is selected; an empty clipboard deletes the selection. A fault is
// shown in the procedure error box.
void PasteClipboard(Port& port);

// Empties the clipboard; the pane is not touched.
void ClearClipboard(Port& port);

}  // namespace qw
