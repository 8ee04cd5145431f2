#include "document/module_save.h"

#include "document/form_block.h"
#include "document/line_rules.h"
#include "platform/fault.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {

std::string EntryKey(std::string_view pane_text) {
  std::string_view first = pane_text.empty() ? pane_text : LineAt(pane_text, 0).text;
  const size_t paren = first.find('(');
  if (paren != std::string_view::npos) first = first.substr(0, paren);
  return std::string(TrimBlanks(first));
}

std::string WholeTextForSave(std::string_view pane_text) {
  std::string text(pane_text);
  if (text.empty() || text.back() != '\n') text.append(LineEndStyle(pane_text));
  return text;
}

ModuleSaver::ModuleSaver(std::string_view in, std::string_view pane_text, IndexOptions options,
                         Port& port)
    : in_(in), pane_(pane_text), options_(options), port_(port), style_(LineEndStyle(in)) {}

template <typename Body>
void ModuleSaver::Step(Body body) {
  try {
    body();
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
  }
}

void ModuleSaver::CopyFormDescription() {
  Step([&] {
    const size_t end = FormBlockEnd(in_.substr(pos_)).value_or(in_.size() - pos_) + pos_;
    out_.Append(in_.substr(pos_, end - pos_));
    pos_ = end;
    if (!out_.empty() && out_.back() != '\n') out_.Append(style_);
  });
}

void ModuleSaver::CopyUpToEntry(Int header_position) {
  Step([&] {
    const std::string key = Upper(EntryKey(pane_));
    const Int offset = header_position - 1;
    if (offset >= static_cast<Int>(pos_) && offset < static_cast<Int>(in_.size())) {
      const size_t at = static_cast<size_t>(offset);
      const ByteLine header = LineAt(in_, at);
      if (ContainsNoCase(header.text, key)) {
        out_.Append(in_.substr(pos_, at - pos_));
        Drop(header);
        return;
      }
    }
    out_.Append(in_.substr(pos_));
    pos_ = in_.size();
    if (!out_.empty() && out_.back() != '\n') out_.Append(style_);
    port_.MessageBox({NoticeKind::kWarning, "eof", "", Buttons::kOk, Icon::kNone});
  });
}

void ModuleSaver::Drop(const ByteLine& line) {
  pos_ = line.next;
  dropped_unended_last_line_ = line.end.empty();
}

void ModuleSaver::SkipOldEntry() {
  Step([&] {
    while (pos_ < in_.size()) {
      const ByteLine line = LineAt(in_, pos_);
      const EntryEnd end = WhereEntryEnds(line.text, options_);
      if (end == EntryEnd::kBeforeThisLine) return;  // the next entry's header stays
      Drop(line);
      if (end == EntryEnd::kAfterThisLine) return;
    }
  });
}

void ModuleSaver::SkipOldDeclarations() {
  Step([&] {
    if (pos_ >= in_.size()) return;
    const ByteLine first = LineAt(in_, pos_);
    if (DeclarationsAreEmpty(first.text, options_)) return;
    Drop(first);
  });
  SkipOldEntry();
}

void ModuleSaver::WriteEditText() {
  std::string_view text = pane_;
  const bool keep_unended = dropped_unended_last_line_ && pos_ == in_.size();
  if (keep_unended && text.ends_with('\n')) {
    text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
  }
  const size_t before = out_.size();
  entry_offset_ = before;
  if (style_ == "\r\n") {
    out_.Append(text);
  } else {
    out_.AppendCopy(WithLineEnds(text, style_));
  }
  if (keep_unended) return;
  if (out_.size() == before || out_.back() != '\n') out_.Append(style_);
}

void ModuleSaver::CopyRemainingLines() {
  Step([&] {
    out_.Append(in_.substr(pos_));
    pos_ = in_.size();
  });
}

}  // namespace qw
