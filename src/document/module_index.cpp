#include "document/module_index.h"

#include <cstring>

#include "platform/fault.h"
#include "platform/limits.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {

ModuleIndexer::ModuleIndexer(ModuleDocument& doc, std::string_view bytes, Port& port)
    : doc_(doc), bytes_(bytes), port_(port) {}

void ModuleIndexer::ReadLine() {
  doc_.file_position = static_cast<Int>(pos_) + 1;
  const ByteLine line = LineAt(bytes_, pos_);
  line_ = line.text;
  pos_ = line.next;
}

bool ModuleIndexer::SkipFormHeader() {
  try {
    Int depth = 0;
    for (;;) {
      if (AtEnd()) throw Fault(kFaultInputPastEnd);
      ReadLine();
      const std::string_view t = TrimBlanks(line_);
      if (t.starts_with("Begin")) {
        depth = Check16(depth + 1);
      } else if (t.starts_with("End")) {
        depth = Check16(depth - 1);
        if (depth == 0) {
          doc_.file_position = static_cast<Int>(pos_) + 1;
          return true;
        }
      }
    }
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
    return false;
  }
}

StopKind ModuleIndexer::AddProcedureEntry(std::string name) {
  try {
    // The entry count is not held to 16 bits: like the positions, it belongs
    // to the index, and a module of more than 32,767 procedures is listed
    // whole rather than cut off at the entry that would overflow.
    ++doc_.entry_count;
    doc_.entries.push_back(ProcedureEntry{std::move(name), doc_.file_position});
    // The hot loop of the indexer: most lines are looked at only up to their
    // first non-blank byte, since rule A stops only on lines that begin with
    // F, P, S or E. The scan keeps its place in locals and writes the
    // document's fields (the file position, the current line) when it stops.
    const char* base = bytes_.data();
    const size_t size = bytes_.size();
    size_t pos = pos_;
    size_t start = pos;
    while (pos < size) {
      start = pos;
      const void* lf = std::memchr(base + start, '\n', size - start);
      const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : size;
      pos = lf ? end + 1 : size;
      size_t i = start;
      while (i < end && base[i] == ' ') ++i;
      if (i == end) continue;
      const char first = static_cast<char>(base[i] | 0x20);
      if (first != 'f' && first != 'p' && first != 's' && first != 'e') continue;
      const size_t text_end = (lf && end > start && base[end - 1] == '\r') ? end - 1 : end;
      pos_ = pos;
      doc_.file_position = static_cast<Int>(start) + 1;
      line_ = bytes_.substr(start, text_end - start);
      const StopKind kind = RuleA(line_);
      if (kind != StopKind::kOrdinary) return kind;
    }
    if (pos != pos_) {  // the last line read, as the current line
      const ByteLine last = LineAt(bytes_, start);
      doc_.file_position = static_cast<Int>(start) + 1;
      line_ = last.text;
      pos_ = pos;
    }
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
  }
  return StopKind::kOrdinary;
}

void ModuleIndexer::BuildEntries() {
  doc_.entries.clear();
  doc_.entry_count = 0;
  pos_ = 0;
  line_ = {};
  StopKind result = StopKind::kEndOfProcedure;  // READ
  if (ContainsNoCase(doc_.file_name, ".BAS") || ContainsNoCase(doc_.file_name, ".PRG") ||
      ContainsNoCase(doc_.file_name, ".CLS")) {
    doc_.file_position = 1;
    result = AddProcedureEntry(kDeclarationsName);
  } else if (ContainsNoCase(doc_.file_name, ".FRM")) {
    if (!SkipFormHeader()) {
      Finish();
      return;
    }
    result = AddProcedureEntry(kDeclarationsName);
  }
  for (;;) {
    if (result == StopKind::kOrdinary) break;   // the end of the file
    if (result == StopKind::kEndOfProcedure) {  // READ
      if (AtEnd()) break;
      ReadLine();
    }
    // TEST
    std::optional<std::string> name = RuleBHeaderName(line_);
    result = name ? AddProcedureEntry(std::move(*name)) : StopKind::kEndOfProcedure;
  }
  Finish();
}

void ModuleIndexer::Finish() {
  doc_.current_line.assign(line_);
  doc_.line_work_copy = Upper(TrimBlanks(line_));
}

}  // namespace qw
