#include "document/module_document.h"

#include <charconv>

namespace qw {

std::string FormatPosition(Int position) {
  std::string digits;
  AppendPosition(digits, position);
  return digits;
}

void AppendPosition(std::string& out, Int position) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, position).ptr;
  const size_t n = static_cast<size_t>(end - digits);
  if (n < 7) out.append(7 - n, '0');
  out.append(digits, n);
}

std::string ProcedureEntry::Text() const {
  return name + "|" + FormatPosition(position);
}

void ModuleDocument::SetFile(std::string file_name, OpenMode mode) {
  file_name_ = std::move(file_name);
  mode_ = mode;
  if (mode == OpenMode::kWholeText) ForgetIndex();
}

void ModuleDocument::SetIndex(std::vector<ProcedureEntry> entries, FileStamp stamp) {
  entries_ = std::move(entries);
  stamp_ = stamp;
  current_ = 0;
}

std::vector<ProcedureEntry> ModuleDocument::TakeIndex() {
  std::vector<ProcedureEntry> entries = std::move(entries_);
  ForgetIndex();
  return entries;
}

std::string ModuleDocument::current_entry_name() const {
  return entries_.empty() ? std::string() : entries_[current_].name;
}

void ModuleDocument::ShowEntry(Int index) {
  if (HasEntry(index)) current_ = static_cast<size_t>(index);
}

bool ModuleDocument::TakePaneFocusRequest() {
  const bool requested = focus_pane_requested_;
  focus_pane_requested_ = false;
  return requested;
}

}  // namespace qw
