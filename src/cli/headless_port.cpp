#include "cli/headless_port.h"

#include <algorithm>

#include "document/entry_list.h"
#include "platform/fault.h"

namespace qw::cli {

std::string MessageLine(const std::string& title, const std::string& text) {
  std::string line = "qwtool: " + (title.empty() ? std::string(kAppTitle) : title) + ": ";
  for (char c : text) {
    if (c == '\r')
      line += "\\r";
    else if (c == '\n')
      line += "\\n";
    else if (c == '\\')
      line += "\\\\";
    else
      line += c;
  }
  return line;
}

Answer HeadlessPort::MessageBox(const Notice& notice) {
  if (notice.kind == NoticeKind::kRefusal || notice.kind == NoticeKind::kFault) failed_ = true;
  err_ << MessageLine(notice.title, notice.text) << '\n';
  err_.Flush();
  switch (notice.buttons) {
    case Buttons::kOk:
    case Buttons::kOkCancel:
      return Answer::kOk;
    case Buttons::kYesNo:
      return question_answer == Answer::kYes ? Answer::kYes : Answer::kNo;
    case Buttons::kYesNoCancel:
      return question_answer;
  }
  return Answer::kOk;
}

std::string HeadlessPort::ShowOpenDialog(const std::string&) {
  throw Fault(kFaultCancel);
}
std::string HeadlessPort::ShowSaveDialog(const std::string&) {
  throw Fault(kFaultCancel);
}

void HeadlessPort::SetPaneText(const std::string& text) {
  pane_ = text;
  sel_start_ = sel_length_ = 0;
  if (on_pane_change) on_pane_change();
}

std::string HeadlessPort::PaneSelectedText() const {
  return pane_.substr(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_length_));
}

void HeadlessPort::SetPaneSelection(long start, long length) {
  const long size = static_cast<long>(pane_.size());
  sel_start_ = std::clamp(start, 0L, size);
  sel_length_ = std::clamp(length, 0L, size - sel_start_);
}

void HeadlessPort::ReplacePaneSelection(const std::string& text) {
  pane_.replace(static_cast<size_t>(sel_start_), static_cast<size_t>(sel_length_), text);
  sel_start_ += static_cast<long>(text.size());
  sel_length_ = 0;
  if (on_pane_change) on_pane_change();
}

std::vector<std::string> HeadlessPort::items() const {
  std::vector<std::string> names;
  names.reserve(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) names.emplace_back(items_.name(i));
  return names;
}

void HeadlessPort::ClearEntryList() {
  items_ = {};
  selected_ = -1;
  entry_text_.clear();
}

void HeadlessPort::SetEntryItems(NameBlock names) {
  if (!names.keep) {
    EntryList copy;
    for (size_t i = 0; i < names.size(); ++i) copy.Add(names.name(i), {}, 1);
    names = copy.names();
  }
  items_ = std::move(names);
  selected_ = -1;
}

void HeadlessPort::SetEntrySelectedIndex(int index) {
  selected_ = index;
  if (index >= 0 && index < EntryCount()) entry_text_ = items_.name(static_cast<size_t>(index));
  if (on_entry_click) on_entry_click();
}

}  // namespace qw::cli
