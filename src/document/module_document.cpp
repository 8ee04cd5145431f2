#include "document/module_document.h"

namespace qw {

std::string FormatPosition(Int position) {
  std::string digits = std::to_string(position);
  if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
  return digits;
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
