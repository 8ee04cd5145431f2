#include "document/module_index.h"

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

StopKind ModuleIndexer::AddProcedureEntry(const std::string& name) {
  try {
    doc_.entry_count = Check16(doc_.entry_count + 1);
    doc_.entries.push_back(ProcedureEntry{name, doc_.file_position});
    while (!AtEnd()) {
      ReadLine();
      const StopKind kind = RuleA(line_);
      if (kind != StopKind::kOrdinary) return kind;
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
    if (result == StopKind::kOrdinary) break;           // the end of the file
    if (result == StopKind::kEndOfProcedure) {           // READ
      if (AtEnd()) break;
      ReadLine();
    }
    // TEST
    std::optional<std::string> name = RuleBHeaderName(line_);
    result = name ? AddProcedureEntry(*name) : StopKind::kEndOfProcedure;
  }
  Finish();
}

void ModuleIndexer::Finish() {
  doc_.current_line.assign(line_);
  doc_.line_work_copy = Upper(TrimBlanks(line_));
}

}  // namespace qw
