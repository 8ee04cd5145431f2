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

}  // namespace

std::string ReadEntryText(const ModuleDocument& doc, Int index, Port& port) {
  if (!doc.HasEntry(index)) throw Fault(kFaultSubscript);
  const ProcedureEntry& entry = doc.entries()[static_cast<size_t>(index)];
  const FileHandle file = OpenForReading(doc.file_name());
  if (doc.stamp().size >= 0 && !(StampOf(file) == doc.stamp())) {
    throw Fault(kFaultPathFileAccess, FaultDescription(kFaultPathFileAccess) +
                                          " (the file has changed since it was "
                                          "indexed; open it again)");
  }
  FileLineReader in(file, entry.position - 1);
  const ByteLine first = in.Next();
  if (Upper(Trim(entry.name)) == "(DECLARATIONS)" && DeclarationsAreEmpty(first.text)) return {};
  std::string text;
  text.reserve(4096);
  text.append(first.text).append("\r\n");
  for (;;) {
    if (in.AtEnd()) return text;
    const ByteLine line = in.Next();
    const EntryEnd end = WhereEntryEnds(line.text);
    if (end == EntryEnd::kBeforeThisLine) break;
    text.append(line.text).append("\r\n");
    if (end == EntryEnd::kAfterThisLine) break;
    if (static_cast<Int>(text.size()) > kEntryTextLimit) {
      port.MessageBox(
          {NoticeKind::kRefusal, kTooLargeText, kTooLargeTitle, Buttons::kOk, Icon::kStop});
      return {};
    }
  }
  if (static_cast<Int>(text.size()) > kEntryTextWarning) {
    port.MessageBox(
        {NoticeKind::kWarning, kWarningText, kWarningTitle, Buttons::kOk, Icon::kExclamation});
  }
  return text;
}

}  // namespace qw
