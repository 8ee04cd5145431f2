#include "document/module_save.h"

#include "document/byte_lines.h"
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

ModuleSaver::ModuleSaver(std::string_view in, std::string_view pane_text, Port& port)
    : in_(in), pane_(pane_text), port_(port), style_(LineEndStyle(in)) {}

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
    Int depth = 0;
    while (pos_ < in_.size()) {
      const ByteLine line = LineAt(in_, pos_);
      pos_ = line.next;
      const std::string_view t = TrimBlanks(line.text);
      bool closed = false;
      if (t.starts_with("Begin")) {
        depth = Check16(depth + 1);
      } else if (t.starts_with("End")) {
        depth = Check16(depth - 1);
        closed = depth == 0;
      }
      out_.Append(t);
      out_.Append(line.end.empty() ? style_ : line.end);
      if (closed) return;
    }
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
        pos_ = header.next;
        return;
      }
    }
    out_.Append(in_.substr(pos_));
    pos_ = in_.size();
    if (!out_.empty() && out_.back() != '\n') out_.Append(style_);
    port_.MessageBox("eof", "", Buttons::kOk, Icon::kNone);
  });
}

void ModuleSaver::SkipOldEntry() {
  Step([&] {
    while (pos_ < in_.size()) {
      const ByteLine line = LineAt(in_, pos_);
      const std::string_view t = TrimBlanks(line.text);
      if (StartsNoCase(t, "END SU") || StartsNoCase(t, "END FU")) {
        pos_ = line.next;
        return;
      }
      if (RuleD(line.text)) return;  // the next entry's header is read again
      pos_ = line.next;
    }
  });
}

void ModuleSaver::WriteEditText() {
  const size_t before = out_.size();
  if (style_ == "\r\n") {
    out_.Append(pane_);
  } else {
    out_.AppendCopy(WithLineEnds(pane_, style_));
  }
  if (out_.size() == before || out_.back() != '\n') out_.Append(style_);
}

void ModuleSaver::CopyRemainingLines() {
  Step([&] {
    out_.Append(in_.substr(pos_));
    pos_ = in_.size();
  });
}

}  // namespace qw
