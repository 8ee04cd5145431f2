#include "document/module_index.h"

#include <cstring>
#include <optional>

#include "document/byte_lines.h"
#include "document/form_block.h"
#include "document/line_rules.h"
#include "platform/fault.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

class ModuleIndexer {
 public:
  ModuleIndexer(std::string_view bytes, IndexOptions options, Port& port,
                std::vector<ProcedureEntry> reuse)
      : bytes_(bytes), options_(options), port_(port), entries_(std::move(reuse)) {
    entries_.clear();
    // Room for a procedure every 128 bytes: the list never grows by copying
    // itself, and the room a module leaves unused is never touched.
    entries_.reserve(bytes.size() / 128 + 1);
  }

  std::vector<ProcedureEntry> Run(const std::string& file_name);

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // Makes the next line the current one.
  void ReadLine();
  // Passes over the form description block; false, after the report, when
  // it never closes.
  bool SkipFormBlock();
  // Appends an entry named `name` at the current line, then reads on to the
  // next line where the indexer stops: kCandidateHeader and kEndOfProcedure
  // leave that line current; kOrdinary means the end of the file.
  StopKind AddEntry(std::string name);

  std::string_view bytes_;
  IndexOptions options_;
  Port& port_;
  std::vector<ProcedureEntry> entries_;
  size_t pos_ = 0;         // 0-based offset of the next line to read
  size_t line_start_ = 0;  // 0-based offset of the current line
  std::string_view line_;  // the current line, without its line end
};

void ModuleIndexer::ReadLine() {
  const ByteLine line = LineAt(bytes_, pos_);
  line_start_ = pos_;
  line_ = line.text;
  pos_ = line.next;
}

bool ModuleIndexer::SkipFormBlock() {
  try {
    const std::optional<size_t> end = FormBlockEnd(bytes_);
    if (!end) throw Fault(kFaultInputPastEnd);  // the walk read past the end of the file
    pos_ = line_start_ = *end;
    return true;
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
    return false;
  }
}

StopKind ModuleIndexer::AddEntry(std::string name) {
  // The entry count is not held to 16 bits: like the positions, it belongs
  // to the index, and a module of more than 32,767 procedures is listed
  // whole rather than cut off at the entry that would overflow.
  entries_.push_back(ProcedureEntry{std::move(name), static_cast<Int>(line_start_) + 1});
  // The hot loop of the indexer: most lines are looked at only up to their
  // first non-blank byte, since the indexer stops only on lines that begin
  // with F, P, S or E.
  const char* base = bytes_.data();
  const size_t size = bytes_.size();
  size_t pos = pos_;
  while (pos < size) {
    const size_t start = pos;
    const void* lf = std::memchr(base + start, '\n', size - start);
    const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : size;
    pos = lf ? end + 1 : size;
    size_t i = start;
    while (i < end && base[i] == ' ') ++i;
    if (i == end) continue;
    const char first = static_cast<char>(base[i] | 0x20);
    if (first != 'f' && first != 'p' && first != 's' && first != 'e') continue;
    const size_t text_end = (lf && end > start && base[end - 1] == '\r') ? end - 1 : end;
    const StopKind kind = IndexerStop(bytes_.substr(start, text_end - start), options_);
    if (kind != StopKind::kOrdinary) {
      pos_ = pos;
      line_start_ = start;
      line_ = bytes_.substr(start, text_end - start);
      return kind;
    }
  }
  pos_ = size;
  return StopKind::kOrdinary;
}

std::vector<ProcedureEntry> ModuleIndexer::Run(const std::string& file_name) {
  StopKind result = StopKind::kEndOfProcedure;  // read on from the first line
  const ModuleKind kind = KindOfModule(file_name);
  if (kind == ModuleKind::kModule) {
    result = AddEntry(kDeclarationsName);
  } else if (kind == ModuleKind::kForm) {
    if (!SkipFormBlock()) return std::move(entries_);
    result = AddEntry(kDeclarationsName);
  }
  for (;;) {
    if (result == StopKind::kOrdinary) break;  // the end of the file
    if (result == StopKind::kEndOfProcedure) {
      // The line ended a procedure and belongs to it: test the next one.
      if (AtEnd()) break;
      ReadLine();
    }
    std::optional<std::string> name = HeaderName(line_, options_);
    result = name ? AddEntry(std::move(*name)) : StopKind::kEndOfProcedure;
  }
  return std::move(entries_);
}

}  // namespace

ModuleKind KindOfModule(std::string_view file_name) {
  const size_t slash = file_name.find_last_of("/\\");
  const std::string_view own =
      slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
  const size_t dot = own.rfind('.');
  if (dot == std::string_view::npos) return ModuleKind::kPlain;
  const std::string ext = Upper(own.substr(dot));
  if (ext == ".BAS" || ext == ".PRG" || ext == ".CLS") return ModuleKind::kModule;
  if (ext == ".FRM") return ModuleKind::kForm;
  return ModuleKind::kPlain;
}

std::vector<ProcedureEntry> IndexModule(std::string_view bytes, const std::string& file_name,
                                        IndexOptions options, Port& port,
                                        std::vector<ProcedureEntry> reuse) {
  return ModuleIndexer(bytes, options, port, std::move(reuse)).Run(file_name);
}

}  // namespace qw
