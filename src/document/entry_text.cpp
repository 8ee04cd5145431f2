#include "document/entry_text.h"

#include "document/line_rules.h"
#include "document/module_file.h"
#include "platform/fault.h"
#include "textlib/cliplib.h"

namespace qw {

namespace {

constexpr char kTooLargeText[] =
    "Procedure too large, Please \nbreak the Procedure into\ntwo smaller procedures!";
constexpr char kTooLargeTitle[] = "Procedure Too Large";
constexpr char kWarningText[] =
    "Procedure is over 30K Bytes,\nany further increase in size\nmay prohibit it's loading "
    "by\nthis editor!";
constexpr char kWarningTitle[] = "Large File Warning";

// Lines of bytes in memory, read as FileLineReader reads a file.
class MemoryLines {
 public:
  explicit MemoryLines(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  ByteLine Next() {
    if (AtEnd()) throw Fault(kFaultInputPastEnd);
    const ByteLine line = LineAt(bytes_, pos_);
    pos_ = line.next;
    return line;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

enum class EntrySize { kFits, kLarge, kTooLarge };

// Reads an entry's text from its first line on; `text` is left empty when
// the entry is too large.
template <typename Lines>
EntrySize ReadEntryLines(Lines& in, bool declarations, std::string& text) {
  text.clear();
  const ByteLine first = in.Next();
  if (declarations && DeclarationsAreEmpty(first.text)) return EntrySize::kFits;
  text.reserve(4096);
  text.append(first.text).append("\r\n");
  for (;;) {
    if (in.AtEnd()) return EntrySize::kFits;
    const ByteLine line = in.Next();
    const EntryEnd end = WhereEntryEnds(line.text);
    if (end == EntryEnd::kBeforeThisLine) break;
    text.append(line.text).append("\r\n");
    if (end == EntryEnd::kAfterThisLine) break;
    if (static_cast<Int>(text.size()) > kEntryTextLimit) {
      text.clear();
      return EntrySize::kTooLarge;
    }
  }
  return static_cast<Int>(text.size()) > kEntryTextWarning ? EntrySize::kLarge : EntrySize::kFits;
}

}  // namespace

namespace {

// Reads the entry from `in`, showing the size boxes through `port`.
template <typename Lines>
std::string ShowEntryLines(Lines& in, const ProcedureEntry& entry, Port& port) {
  std::string text;
  const bool declarations = Upper(Trim(entry.name)) == "(DECLARATIONS)";
  switch (ReadEntryLines(in, declarations, text)) {
    case EntrySize::kTooLarge:
      port.MessageBox(
          {NoticeKind::kRefusal, kTooLargeText, kTooLargeTitle, Buttons::kOk, Icon::kStop});
      break;
    case EntrySize::kLarge:
      port.MessageBox(
          {NoticeKind::kWarning, kWarningText, kWarningTitle, Buttons::kOk, Icon::kExclamation});
      break;
    case EntrySize::kFits:
      break;
  }
  return text;
}

}  // namespace

std::string ReadEntryText(const ModuleDocument& doc, Int index, Port& port, FileSystem& fs) {
  if (!doc.HasEntry(index)) throw Fault(kFaultSubscript);
  const ProcedureEntry& entry = doc.entries()[static_cast<size_t>(index)];
  const FileHandle file = OpenForReading(doc.file_name(), fs);
  if (doc.stamp().size >= 0 && !(StampOf(file) == doc.stamp())) {
    throw ModuleChanged(doc.file_name());
  }
  FileLineReader in(file, entry.position - 1);
  return ShowEntryLines(in, entry, port);
}

std::string EntryTextOf(std::string_view bytes, const ProcedureEntry& entry, Port& port) {
  const size_t offset = static_cast<size_t>(entry.position - 1);
  MemoryLines in(bytes.substr(std::min(offset, bytes.size())));
  return ShowEntryLines(in, entry, port);
}

bool EntryTooLarge(std::string_view from_entry, bool declarations) {
  if (from_entry.empty()) return false;
  MemoryLines in(from_entry);
  std::string text;
  return ReadEntryLines(in, declarations, text) == EntrySize::kTooLarge;
}

void RefuseTooLarge(Port& port) {
  port.MessageBox({NoticeKind::kRefusal, kTooLargeText, kTooLargeTitle, Buttons::kOk, Icon::kStop});
}

}  // namespace qw
