// The module indexer: one forward pass over a module's bytes that records
// its entries (the declarations entry and one per procedure header), each as
// a name and the 1-based byte position of its first line. The index holds
// names and positions only, never text.
//
// The pass follows the list builder's loop: the file name decides whether
// there is a declarations entry (".BAS", ".PRG", ".CLS", or ".FRM" after the
// form description block); rule B names headers; after each entry, rule A
// finds where the next entry may start.
#pragma once

#include <string>
#include <string_view>

#include "document/byte_lines.h"
#include "document/line_rules.h"
#include "document/module_document.h"
#include "platform/port.h"

namespace qw {

class ModuleIndexer {
 public:
  // Indexes `bytes`, the content of the file named doc.file_name. Faults of
  // its steps are reported through `port` in the procedure error box.
  ModuleIndexer(ModuleDocument& doc, std::string_view bytes, Port& port);

  // The list builder's pass: empties the entry list, then fills doc.entries
  // and doc.entry_count. Never throws. A form file whose description block
  // never closes is reported and leaves the entry list empty.
  void BuildEntries();

  // Reads past the form description block ("Begin" ... its closing "End",
  // nested blocks counted) from the start of the file and sets the file
  // position to the line after it. Returns false, after reporting fault 62,
  // when the block never closes.
  bool SkipFormHeader();

  // Appends an entry named `name` at the current file position, then reads
  // forward to where the next entry may start: kOrdinary (0) at the end of
  // the file, kCandidateHeader (1) on a line rule A takes for a header (the
  // current line, whose position is the file position), kEndOfProcedure (2)
  // on a line that ends a procedure. A fault (more than 32,767 entries under
  // the classic limits) is reported, no entry is added, and 0 is returned.
  StopKind AddProcedureEntry(std::string name);

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // Records the position of the next line and reads it into line_.
  void ReadLine();
  void Finish();

  ModuleDocument& doc_;
  std::string_view bytes_;
  Port& port_;
  size_t pos_ = 0;         // 0-based offset of the next line to read
  std::string_view line_;  // the current line
};

}  // namespace qw
