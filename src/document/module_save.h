// The module saver: rebuilds a module's bytes from its old bytes with one
// entry's text put in place of its old text. It works from the old file's
// bytes (`in`, read strictly forwards but for one step back in SkipOldEntry)
// to the new file's bytes (`out`, a rope of pieces of the old bytes and the
// pane's text), which the caller then writes to disk.
//
// Lines copied from the old file keep their own bytes and line ends. Text
// written from the edit pane takes the old file's line end style (that of its
// first line end; CR LF when it has none), and gets a line end after it only
// when it does not already end with one, so that saving an unchanged entry
// gives back the same file byte for byte.
#pragma once

#include <string>
#include <string_view>

#include "document/byte_lines.h"
#include "document/byte_rope.h"
#include "document/line_rules.h"
#include "platform/limits.h"
#include "platform/port.h"

namespace qw {

// The key by which the saved entry's header line is recognised: the first
// line of the pane's text up to its first "(", trimmed of blanks, or the whole
// first line trimmed when it holds no "(". 'Public Sub Draw(x)' gives
// 'Public Sub Draw'; 'PROCEDURE Init' gives 'PROCEDURE Init'.
std::string EntryKey(std::string_view pane_text);

// The pane's text as a whole-text save writes it: unchanged, with a line end
// (the text's own style) added when it does not already end with one.
std::string WholeTextForSave(std::string_view pane_text);

class ModuleSaver {
 public:
  // `options` are the rules the module was indexed by: the old text of an
  // entry ends where they end it.
  ModuleSaver(std::string_view in, std::string_view pane_text, IndexOptions options, Port& port);

  // Copies the form description block (document/form_block.h) from the
  // first line, byte for byte; a block that never closes is copied whole,
  // with a line end after a last line that has none. A fault ends this step
  // only and is reported.
  void CopyFormDescription();
  // Copies the lines before the saved entry's header unchanged and reads the
  // header without writing it. The header is the line at `header_position`
  // (1-based byte position from the index) when that line contains the key
  // of the pane's text, letter case ignored. Otherwise the whole old text is
  // copied (a last line without a line end gets one), "eof" is shown, and the
  // entry's text will follow at the end.
  void CopyUpToEntry(Int header_position);
  // Reads past the old text of the entry whose header CopyUpToEntry read:
  // the lines that reading the entry would have shown (WhereEntryEnds).
  void SkipOldEntry();
  // Reads past the old declarations, which start at the current line: none
  // when that line is already a procedure header (DeclarationsAreEmpty),
  // else that line and the lines after it, as SkipOldEntry reads them.
  void SkipOldDeclarations();
  // Writes the pane's text in the old file's line end style, with a line end
  // after it unless it already ends with one. When the old entry ran to the
  // end of a file whose last line has no line end, the text is written
  // without its final line end instead, so that the file keeps ending the
  // way it did.
  void WriteEditText();
  // Copies the rest of the old bytes unchanged.
  void CopyRemainingLines();

  // The new file's bytes; they refer to the old bytes and the pane's text,
  // which must outlive them.
  const ByteRope& out() const { return out_; }
  // The 0-based offset in the new bytes where WriteEditText put the pane's
  // text: the saved entry's first line.
  size_t entry_offset() const { return entry_offset_; }

 private:
  template <typename Body>
  void Step(Body body);
  // Reads one old line without writing it.
  void Drop(const ByteLine& line);
  std::string_view in_;
  std::string_view pane_;
  IndexOptions options_;
  Port& port_;
  std::string_view style_;  // "\r\n" or "\n"
  size_t pos_ = 0;          // next byte of in_ to read
  bool dropped_unended_last_line_ = false;
  size_t entry_offset_ = 0;
  ByteRope out_;
};

}  // namespace qw
