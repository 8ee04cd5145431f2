// Entry text: the text of one entry of an indexed module, read from the file
// on disk from the entry's recorded position, and nothing more of the file.
// The text runs from the entry's first line through the line that closes the
// procedure, or up to the line that starts the next entry, or to the end of
// the file (document/line_rules.h: WhereEntryEnds); a save skips exactly
// these lines of the old file. Lines are joined, and each one ended, with CR LF.
#pragma once

#include <string>
#include <string_view>

#include "document/byte_lines.h"
#include "document/file_system.h"
#include "document/line_rules.h"
#include "document/module_document.h"
#include "platform/port.h"

namespace qw {

// An entry's text may grow to this many characters (CR LF counted as two);
// one more line beyond it and the entry is refused as too large.
inline constexpr Int kEntryTextLimit = 32000;
// An entry's text longer than this loads with a warning.
inline constexpr Int kEntryTextWarning = 30000;

// Walks the lines of an entry's text, by the rules `options` chooses, from `lines`, a reader
// (FileLineReader, BytesLineReader) standing at the entry's first line: from that line through the
// line that closes the procedure, or up to the line that starts the next entry, or to the end. A
// declarations entry whose first line is already a header has no lines. `on_line(line, inner)` sees
// each line of the text and returns false to stop the walk early; `inner` is true for the lines
// after the first that do not close the procedure. Returns true when the walk ran out of lines at
// the end of the file.
template <typename LineReader, typename OnLine>
bool ForEachEntryLine(LineReader& lines, bool declarations, IndexOptions options,
                      OnLine&& on_line) {
  const ByteLine first = lines.Next();
  if (declarations && DeclarationsAreEmpty(first.text, options)) return false;
  if (!on_line(first, false)) return false;
  while (!lines.AtEnd()) {
    const ByteLine line = lines.Next();
    const EntryEnd end = WhereEntryEnds(line.text, options);
    if (end == EntryEnd::kBeforeThisLine) return false;
    if (!on_line(line, end == EntryEnd::kNotHere) || end == EntryEnd::kAfterThisLine) return false;
  }
  return true;
}

// Gathers an entry's text from `lines` as ForEachEntryLine walks it: every
// line joined and ended with CR LF.
struct GatheredText {
  bool fits = true;     // false: an inner line made the text grow beyond the limit (cut short)
  bool at_end = false;  // the text runs to the end of the file
};
template <typename LineReader>
GatheredText GatherEntryText(LineReader& lines, bool declarations, IndexOptions options, Int limit,
                             std::string& text) {
  text.clear();
  GatheredText result;
  result.at_end =
      ForEachEntryLine(lines, declarations, options, [&](const ByteLine& line, bool inner) {
        text.append(line.text).append("\r\n");
        result.fits = !inner || static_cast<Int>(text.size()) <= limit;
        return result.fits;
      });
  return result;
}

// Throws ModuleChanged when `stamp`, the file as it is now, is not the file
// the index of `doc` describes: positions of the index may no longer hold.
void RequireIndexedStamp(const ModuleDocument& doc, const FileStamp& stamp);

// True when `entry` is the declarations entry.
bool IsDeclarationsEntry(EntryView entry);

// The text of entry `index` (0-based) of doc.entries(), read from doc.file_name(),
// where the rules `options` chooses (those the index was built by) end it.
// The declarations entry of a module whose first line is already a header is
// empty. Shows "Procedure Too Large" (and returns the empty text) or "Large
// File Warning" (and returns the text) through `port`. Throws a Fault when the
// file cannot be read: it is gone or locked (53, 70), it has changed since it
// was indexed (ModuleChanged), the position lies past its end (62), or
// `index` is not an entry (9). Never changes `doc` or the pane.
std::string ReadEntryText(const ModuleDocument& doc, Int index, IndexOptions options, Port& port,
                          FileSystem& fs = SystemFiles());

// The text of `entry` of a module whose bytes are in memory, exactly as
// ReadEntryText reads it from the file (its boxes shown through `port`).
std::string EntryTextOf(std::string_view bytes, EntryView entry, IndexOptions options, Port& port);

// Shows the boxes EntryTextOf would show for `entry`, without making its text.
// Throws as EntryTextOf throws.
void TellEntrySize(std::string_view bytes, EntryView entry, IndexOptions options, Port& port);

// Whether the entry whose first line starts `from_entry` (the bytes of a
// file from that line to its end) would be refused as "Procedure Too Large"
// when shown; `declarations` for the declarations entry.
bool EntryTooLarge(std::string_view from_entry, bool declarations, IndexOptions options);

// Shows the "Procedure Too Large" box.
void RefuseTooLarge(Port& port);

}  // namespace qw
