#include "document/entry_text.h"

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

void RequireIndexedStamp(const ModuleDocument& doc, const FileStamp& stamp) {
  if (doc.stamp().size >= 0 && !(stamp == doc.stamp())) throw ModuleChanged(doc.file_name());
}

bool IsDeclarationsEntry(EntryView entry) {
  // Most names are told by their length alone.
  return entry.name.size() >= std::string_view(kDeclarationsName).size() &&
         EqualsNoCase(TrimBlanks(entry.name), kDeclarationsName);
}

namespace {

// Shows the size boxes of a text of `size` characters gathered as `gathered`
// tells through `port`; false when it is refused as too large.
bool TellSize(const GatheredText& gathered, size_t size, Port& port) {
  if (!gathered.fits) {
    RefuseTooLarge(port);
    return false;
  }
  // A text that runs to the end of the file loads without the size warning.
  if (!gathered.at_end && static_cast<Int>(size) > kEntryTextWarning) {
    port.MessageBox(
        {NoticeKind::kWarning, kWarningText, kWarningTitle, Buttons::kOk, Icon::kExclamation});
  }
  return true;
}

// Reads the entry from `in`, showing the size boxes through `port`.
template <typename Lines>
std::string ShowEntryLines(Lines& in, EntryView entry, IndexOptions options, Port& port) {
  std::string text;
  text.reserve(4096);
  const GatheredText gathered =
      GatherEntryText(in, IsDeclarationsEntry(entry), options, kEntryTextLimit, text);
  if (!TellSize(gathered, text.size(), port)) return {};
  return text;
}

// GatherEntryText counting the characters of the text without keeping it.
GatheredText MeasureEntryText(BytesLineReader& lines, bool declarations, IndexOptions options,
                              size_t& size) {
  size = 0;
  GatheredText result;
  result.at_end =
      ForEachEntryLine(lines, declarations, options, [&](const ByteLine& line, bool inner) {
        size += line.text.size() + 2;
        result.fits = !inner || static_cast<Int>(size) <= kEntryTextLimit;
        return result.fits;
      });
  return result;
}

}  // namespace

std::string ReadEntryText(const ModuleDocument& doc, Int index, IndexOptions options, Port& port,
                          FileSystem& fs) {
  if (!doc.HasEntry(index)) throw Fault(kFaultSubscript);
  const EntryView entry = doc.entries()[static_cast<size_t>(index)];
  const FileHandle file = OpenForReading(doc.file_name(), fs);
  RequireIndexedStamp(doc, StampOf(file));
  FileLineReader in(file, entry.position - 1);
  return ShowEntryLines(in, entry, options, port);
}

std::string EntryTextOf(std::string_view bytes, EntryView entry, IndexOptions options, Port& port) {
  BytesLineReader in(bytes, static_cast<size_t>(entry.position - 1));
  return ShowEntryLines(in, entry, options, port);
}

void TellEntrySize(std::string_view bytes, EntryView entry, IndexOptions options, Port& port) {
  BytesLineReader in(bytes, static_cast<size_t>(entry.position - 1));
  size_t size = 0;
  const GatheredText gathered = MeasureEntryText(in, IsDeclarationsEntry(entry), options, size);
  TellSize(gathered, size, port);
}

bool EntryTooLarge(std::string_view from_entry, bool declarations, IndexOptions options) {
  if (from_entry.empty()) return false;
  BytesLineReader in(from_entry, 0);
  size_t size = 0;
  return !MeasureEntryText(in, declarations, options, size).fits;
}

void RefuseTooLarge(Port& port) {
  port.MessageBox({NoticeKind::kRefusal, kTooLargeText, kTooLargeTitle, Buttons::kOk, Icon::kStop});
}

}  // namespace qw
