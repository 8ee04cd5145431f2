// ModuleDocument: the one open document of the main window. A module opened
// through Module Open is held as an index (each entry's name and the byte
// position of its first line), never as a copy of its text: the file on disk
// is the only store of the entries that are not shown. A file opened through
// File Open stands whole in the edit pane and has no entries.
//
// The document keeps its invariants itself: the entry shown is always an
// entry of the index (or none, when the index is empty), and the entry count
// is the index's size.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "document/entry_list.h"
#include "document/line_rules.h"
#include "platform/limits.h"

namespace qw {

// The name of the entry that holds a module's declarations.
inline constexpr char kDeclarationsName[] = "(declarations)";

// One entry kept on its own, past the list it came from: the entry's name and
// the 1-based byte position of its first line in the file.
struct ProcedureEntry {
  std::string name;
  Int position = 1;

  // The entry as a list's entry is read (valid while this one is unchanged).
  EntryView view() const { return {name, position}; }
  // As EntryView::Text.
  std::string Text() const { return view().Text(); }
};

// Formats a 1-based byte position with at least seven digits, leading zeros.
std::string FormatPosition(Int position);
// Appends FormatPosition(position) to `out`.
void AppendPosition(std::string& out, Int position);
// Writes FormatPosition(position) at `at`, which has room for kPositionRoom
// bytes; returns the end of what it wrote. The room after that end may be
// written too.
inline constexpr size_t kPositionRoom = 24;
char* WritePosition(char* at, Int position);
// Copies `s` to `to`, which has room for it, and returns the end of the copy.
// A short text is copied by two copies of a fixed size that may overlap (no
// call): names are mostly short, and copied one after another into a block.
inline char* CopyBytes(char* to, std::string_view s) {
  const size_t n = s.size();
  const char* from = s.data();
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n < 4) {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, n);
  }
  return to + n;
}

// What the indexer saw of the file, so that a later read can tell whether the
// file has changed since: its size in bytes, its modification time, and which
// file it was (a file put in its place by a rename is another file). A size
// of -1 stands for a file never seen.
struct FileStamp {
  Int size = -1;
  std::int64_t mtime_ns = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileStamp&) const = default;
};

// How a file is opened: whole into the edit pane (File Open), or indexed into
// entries shown one at a time (Module Open).
enum class OpenMode { kWholeText, kIndexed };

class ModuleDocument {
 public:
  // --- The file ----------------------------------------------------------------
  // Full path of the open file, as chosen; empty when no file is open.
  const std::string& file_name() const { return file_name_; }
  OpenMode mode() const { return mode_; }
  bool indexed() const { return mode_ == OpenMode::kIndexed; }
  // Makes `file_name` the document's file, opened in `mode`. A whole-text file
  // has no entries: the index is forgotten.
  void SetFile(std::string file_name, OpenMode mode);
  // The file saved to becomes the document's file; the mode stays.
  void Rename(std::string file_name) { file_name_ = std::move(file_name); }

  // --- The index ---------------------------------------------------------------
  // The entries in file order; item i of the entry list names entry i.
  const EntryList& entries() const { return entries_; }
  size_t entry_count() const { return entries_.size(); }
  // The file as the index describes it; a read of an entry refuses a file
  // whose stamp differs.
  const FileStamp& stamp() const { return stamp_; }
  // Replaces the index; entry 0, when there is one, becomes the entry shown.
  void SetIndex(EntryList entries, FileStamp stamp);
  // Forgets every entry: no entry of an earlier file can be chosen.
  void ForgetIndex() { SetIndex({}, FileStamp{}); }
  // Forgets every entry and hands over the list's storage, for the next index.
  EntryList TakeIndex();

  // The rules the index is built by, and by which its entries are read,
  // saved and searched (document/line_rules.h).
  IndexOptions index_options() const { return index_options_; }
  void SetIndexOptions(IndexOptions options) { index_options_ = options; }

  // --- The entry shown in the edit pane ----------------------------------------
  // Its index in the entry list, and its name ("" when there are no entries).
  size_t current_entry_index() const { return current_; }
  std::string current_entry_name() const;
  bool HasEntry(Int index) const { return index >= 0 && index < static_cast<Int>(entries_.size()); }
  // Makes entry `index` the one shown; an index outside the list is ignored.
  void ShowEntry(Int index);

  // --- The changed flag ----------------------------------------------------------
  // True when the edit pane has changed since the last load, switch or save.
  bool changed() const { return changed_; }
  void MarkChanged() { changed_ = true; }
  void MarkUnchanged() { changed_ = false; }

  // --- Focus hand-off from the entry list -----------------------------------------
  // Set by Enter in the entry list: the next change of the list's text moves
  // the focus to the edit pane. TakePaneFocusRequest clears it.
  bool pane_focus_requested() const { return focus_pane_requested_; }
  void RequestPaneFocus() { focus_pane_requested_ = true; }
  bool TakePaneFocusRequest();
  void ClearPaneFocusRequest() { focus_pane_requested_ = false; }

 private:
  std::string file_name_;
  OpenMode mode_ = OpenMode::kWholeText;
  EntryList entries_;
  FileStamp stamp_;
  IndexOptions index_options_;
  size_t current_ = 0;
  bool changed_ = false;
  bool focus_pane_requested_ = false;
};

}  // namespace qw
