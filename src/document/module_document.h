// ModuleDocument: the one open document of the main window. A module opened
// through Module Open is held as an index (each entry's name and the byte
// position of its first line), never as a copy of its text: the file on disk
// is the only store of the entries that are not shown. A file opened through
// File Open stands whole in the edit pane and has no entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/limits.h"

namespace qw {

// The name of the entry that holds a module's declarations.
inline constexpr char kDeclarationsName[] = "(declarations)";

// One element of the entry list: the entry's name and the 1-based byte
// position of its first line in the file.
struct ProcedureEntry {
  std::string name;
  Int position = 1;

  // The entry string as the entry list writes it: name, "|", the position
  // with at least seven digits ('Form_Load|0001234', 'Big|12345678').
  std::string Text() const;
};

// Formats a 1-based byte position with at least seven digits, leading zeros.
std::string FormatPosition(Int position);

// What the indexer saw of the file, so that a later read can tell whether the
// file has changed since: its size in bytes and its modification time.
struct FileStamp {
  Int size = -1;
  std::int64_t mtime_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

class ModuleDocument {
 public:
  // Scratch line of the scanner: the last line the indexer looked at, trimmed
  // and upper-cased.
  std::string line_work_copy;
  // True after Module Open (indexed), false after File Open (whole text).
  bool split_mode = false;
  // True when the edit pane has changed since the last load, switch or save.
  bool changed = false;
  // Full path of the open file, as chosen; empty when no file is open.
  std::string file_name;
  // The index of the module, in file order; item i of cbProc names entry i.
  std::vector<ProcedureEntry> entries;
  // The line most recently read by the indexer, without its line end.
  std::string current_line;
  // Number of entries (16-bit where the classic limits apply).
  Int entry_count = 0;
  // 1-based byte position of the line about to be read.
  Int file_position = 1;
  // The entry shown in the edit pane: its name and its index in the list.
  std::string current_entry_name;
  Int current_entry_index = 0;
  // Set by Enter in the entry list: the next change of the list's text moves
  // the focus to the edit pane.
  bool focus_editor = false;

  // The file as the index describes it; a read of an entry refuses a file
  // whose stamp differs.
  FileStamp stamp;
};

}  // namespace qw
