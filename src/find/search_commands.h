// The search commands of the Edit menu over the text of the edit pane: Find
// (F2) asks for the text with the Find dialog and searches once, Find Next
// (F3) repeats the last search without a dialog, Replace (Ctrl+R) asks with
// the Replace dialog and replaces every occurrence in the pane at once.
//
// A search covers only the pane (in a module, the entry shown) and never wraps
// around. Forwards it starts at the caret, or one past the occurrence found
// last while that is still selected; backwards it tries every offset before
// the caret, nearest first, never the caret itself. A find selects the
// occurrence; a miss says "Cannot find" with the text in quotation marks and
// leaves the selection alone.
#pragma once

#include <string>
#include <string_view>

#include "find/search_state.h"
#include "platform/port.h"

namespace qw {

// Where one search over `text` finds its occurrence: the 0-based offset, or
// std::string_view::npos. `sel_start` is the pane's selection start; the
// search steps past it when it is the occurrence found last (and the Find
// dialog was not just used). Letter case is folded alike in text and pattern,
// by `fold`, unless state.match_case.
size_t SearchPaneText(std::string_view text, const SearchState& state, Int sel_start,
                      const CaseFold& fold = Windows1252CaseFold());

// The box of a search that found nothing: "Cannot find" and the text as typed
// in quotation marks, titled with the application title.
Notice CannotFind(const std::string& text);

// Applies what the Find dialog left to the state: the direction always, the
// Match Case box when the user changed it, and the text with the box when the
// dialog was left by Find or Cancel (the close box keeps the earlier text).
void ApplyFindAnswer(const FindDialogAnswer& answer, SearchState& state);

class SearchCommands {
 public:
  explicit SearchCommands(Port& port) : port_(port) {}

  SearchState& state() { return state_; }
  const SearchState& state() const { return state_; }

  // Find: the Find dialog (holding the pane's selected text), then one search,
  // however the dialog was closed.
  void Find();
  // Find Next: one search for the text last searched for; nothing when there
  // is none.
  void FindNext();
  // Replace: the Replace dialog, then every occurrence of its find text in the
  // pane replaced, letter case significant; a cancelled dialog clears both
  // texts and replaces nothing.
  void Replace();
  // Replaces every occurrence of the find text in the pane's text by the
  // replacement (StrTran) and sets the pane's text, changed or not. The caret
  // stays where it was, as far as the new text reaches.
  void ReplaceAllInPane();

 private:
  // One search. Find holds its start in 16 bits; Find Next takes any start.
  // Either way the selection start found becomes the last found position, a
  // 16-bit value: beyond 32,767 the search ends with the overflow fault.
  void Search(bool narrow_start);

  Port& port_;
  SearchState state_;
};

}  // namespace qw
