// Find in Module: every line of the open module that holds a text, across all
// its entries, though the pane shows one entry at a time. Each hit names its
// entry, its line within the entry's text as the pane would show it, and the
// line itself; choosing a hit switches to its entry through the entry list
// (so an edited pane is guarded as by any switch) and selects the occurrence.
//
// The module's file is read once, mapped; only the entries whose bytes hold
// the text are cut into their pane text, and the entry the pane shows is
// searched in the pane's own, possibly unsaved, text. A whole text (a file
// opened whole, or a module without entries) is searched line by line.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/module_document.h"
#include "find/search_state.h"
#include "platform/case_fold.h"
#include "platform/port.h"

namespace qw {

// One line that holds the text searched for: its first occurrence on it.
struct ModuleHit {
  Int entry = -1;          // index in the entry list; -1 for a whole text
  std::string entry_name;  // empty for a whole text
  Int line = 0;            // 1-based line number within the entry's text (or the whole text)
  Int offset = 0;          // 0-based byte offset of the occurrence in that text
  std::string line_text;   // the line's bytes without its line end
};

// A hit as it is found, its texts borrowed from the search: valid only during
// the call that hands it over.
struct ModuleHitView {
  Int entry = -1;
  std::string_view entry_name;
  Int line = 0;
  Int offset = 0;
  std::string_view line_text;
};
using HitSink = std::function<void(const ModuleHitView&)>;

// The hits of `pattern` in a whole text, one per line that holds it (a line
// ends at CR LF or a bare LF). An empty pattern finds nothing. Letter case is
// folded by `fold` unless `match_case`.
std::vector<ModuleHit> FindLinesInText(std::string_view text, std::string_view pattern,
                                       bool match_case,
                                       const CaseFold& fold = Windows1252CaseFold());
// The same hits handed to `sink` one by one, in order.
void FindLinesInText(std::string_view text, std::string_view pattern, bool match_case,
                     const HitSink& sink, const CaseFold& fold = Windows1252CaseFold());

// The hits of `pattern` in the module whose bytes are `bytes` and whose index
// is `entries` (built by the rules `options` chooses), in entry order, each
// entry's text cut as the pane would show it. Entry `shown` is searched in `shown_text` instead of
// its bytes (-1: none). Lines that belong to no entry (the form's description block, the lines
// between a procedure's end and the next header) hold no hits.
std::vector<ModuleHit> FindInModuleBytes(std::string_view bytes, const EntryList& entries,
                                         IndexOptions options, std::string_view pattern,
                                         bool match_case, Int shown = -1,
                                         std::string_view shown_text = {},
                                         const CaseFold& fold = Windows1252CaseFold());
// The same hits (no entry shown) handed to `sink` one by one, in entry order.
// `first_lines`, when given, lists in order every offset of `bytes` where the
// pattern's first line (up to its first CR or LF) occurs, as `fold` compares:
// they are not searched for again.
void FindInModuleBytes(std::string_view bytes, const EntryList& entries, IndexOptions options,
                       std::string_view pattern, bool match_case, const HitSink& sink,
                       const CaseFold& fold = Windows1252CaseFold(),
                       const std::vector<size_t>* first_lines = nullptr);

// The hits of `pattern` in the file `file_name` whose bytes are `bytes`, handed to `sink` in file
// order: those FindInModuleBytes finds with the module's whole index, or, for a file without
// entries, those FindLinesInText finds. For a pattern without line ends only the entries around
// its occurrences are indexed (IndexModuleNear), and each is searched as the index hands it over:
// a hit's `entry` counts the entries searched, not the entry list's. `port` gets what the index
// reports (a form whose description block never closes).
void FindInModuleFile(std::string_view bytes, const std::string& file_name, IndexOptions options,
                      std::string_view pattern, bool match_case, Port& port, const HitSink& sink);

// The hits of `pattern` in the open document: the indexed module's file with
// the pane's text for the entry shown, or the pane's text when the document is
// not indexed. A module without entries is searched in its file as a whole
// text. Throws a Fault when the file cannot be read or has changed since it
// was indexed.
std::vector<ModuleHit> FindInDocument(const ModuleDocument& doc, std::string_view pane_text,
                                      std::string_view pattern, bool match_case,
                                      const CaseFold& fold = Windows1252CaseFold());

// The Find in Module command of the window.
class ModuleSearch {
 public:
  ModuleSearch(const ModuleDocument& doc, Port& port, SearchState& state)
      : doc_(doc), port_(port), state_(state) {}

  // The Find dialog (holding the pane's selected text), whose answer goes to
  // the search state as Find's does; then, when it was left by its Find
  // button, every hit in the hit list, or "Cannot find" when there is none.
  void FindInModule();
  // The user chose row `row` of the hit list: switches to its entry as the
  // entry list does and selects the occurrence. When the switch is refused
  // (an edited pane) the pane stays as it is. When the text has moved since
  // the search, the caret goes to the start of the hit's line instead. Hits
  // of a file that is no longer open lead nowhere.
  void GoToHit(size_t row);

  const std::vector<ModuleHit>& hits() const { return hits_; }

 private:
  const ModuleDocument& doc_;
  Port& port_;
  SearchState& state_;
  std::vector<ModuleHit> hits_;
  std::string pattern_;    // the text of the hits listed
  std::string file_name_;  // the file they were found in
  bool match_case_ = false;
};

}  // namespace qw
