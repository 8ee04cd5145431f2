#include "document/module_index.h"

#include <cstring>
#include <optional>

#include "document/byte_lines.h"
#include "document/form_block.h"
#include "document/line_rules.h"
#include "document/line_walk.h"
#include "platform/fault.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

class ModuleIndexer {
 public:
  ModuleIndexer(std::string_view bytes, IndexOptions options, Port& port, EntrySink& sink)
      : bytes_(bytes), options_(options), port_(port), sink_(sink) {}

  void Run(const std::string& file_name);
  // Indexes the lines from `from` (a line's start) on, after an entry when
  // `after_entry`, else testing every line for a header.
  void RunFrom(size_t from, bool after_entry);

 private:
  // Where the form description block ends (offset of the line after it);
  // nothing, after the report, when it never closes.
  std::optional<size_t> FormBlockEndOrReport();
  // Adds the entry `line` starts when it is a procedure header.
  bool AddHeader(const ByteLine& line);
  // Adds the entry of the line whose first byte that is not a blank is at
  // `at` (an offset `walk` answered, kUsualShapeReach bytes before the end)
  // when it is a header of a usual shape.
  bool AddUsualHeader(const LineWalk& walk, size_t at);

  std::string_view bytes_;
  IndexOptions options_;
  Port& port_;
  EntrySink& sink_;
  std::string spill_;  // a name too long to be read in place
};

std::optional<size_t> ModuleIndexer::FormBlockEndOrReport() {
  try {
    const std::optional<size_t> end = FormBlockEnd(bytes_);
    if (!end) throw Fault(kFaultInputPastEnd);  // the walk read past the end of the file
    return end;
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
    return std::nullopt;
  }
}

bool ModuleIndexer::AddHeader(const ByteLine& line) {
  const std::optional<HeaderParts> header = HeaderNameParts(line.text, options_, spill_);
  // The entry count is not held to 16 bits: like the positions, it belongs
  // to the index, and a module of more than 32,767 procedures is listed
  // whole rather than cut off at the entry that would overflow.
  if (header) sink_.Add(header->name, header->suffix, static_cast<Int>(line.start) + 1);
  return header.has_value();
}

bool ModuleIndexer::AddUsualHeader(const LineWalk& walk, size_t at) {
  const size_t from = UsualHeaderNameFrom(bytes_.data() + at);
  if (from == 0) return false;
  const std::optional<std::string_view> name =
      UsualHeaderNameIn(bytes_, at, from, walk.LineEndOf(at));
  if (!name) return AddHeader(walk.LineOf(at));
  sink_.Add(*name, {}, static_cast<Int>(walk.LineStartOf(at)) + 1);
  return true;
}

void ModuleIndexer::Run(const std::string& file_name) {
  // After an entry the pass reads on to the next line where the indexer
  // stops; after a line that ends a procedure (or a stop that is no header)
  // it tests every line for a header until one is.
  bool after_entry = false;
  size_t from = 0;
  const ModuleKind kind = KindOfModule(file_name);
  if (kind == ModuleKind::kForm) {
    const std::optional<size_t> end = FormBlockEndOrReport();
    if (!end) return;
    from = *end;
  }
  if (kind != ModuleKind::kPlain) {
    // The declarations' own first line is read on from too.
    sink_.Add(kDeclarationsName, {}, static_cast<Int>(from) + 1);
    after_entry = true;
  }
  RunFrom(from, after_entry);
}

void ModuleIndexer::RunFrom(size_t from, bool after_entry) {
  const char* base = bytes_.data();
  const size_t size = bytes_.size();
  LineWalk walk(bytes_, from);
  for (;;) {
    if (after_entry) {
      // The hot loop: most lines are passed over by the walk, by their first
      // two bytes that are not blanks.
      const size_t at = walk.NextMayStop();
      if (at == LineWalk::kEnd) return;
      if (at + kUsualShapeReach <= size) {
        // Most stops are an end or a header of the usual shapes.
        if (UsualProcedureEnd(base + at)) {
          after_entry = false;
          continue;
        }
        if (AddUsualHeader(walk, at)) continue;
      }
      if (!MayHoldStopWord(bytes_.substr(at))) continue;
      // The rule trims the line's blanks: it reads the line from `at`.
      const StopKind stop = IndexerStop(walk.TextFrom(at), options_);
      if (stop == StopKind::kOrdinary) continue;
      // The line ended a procedure and belongs to it, or it is tested as a header.
      after_entry = stop == StopKind::kCandidateHeader && AddHeader(walk.LineOf(at));
    } else {
      const size_t at = walk.Next();
      if (at == LineWalk::kEnd) return;
      const char second = at + 1 < size ? base[at + 1] : '\n';
      if (!MayBeHeader(base[at], second)) continue;
      if (at + kUsualShapeReach <= size) {
        // Most lines between procedures are told by their first four bytes.
        if (AddUsualHeader(walk, at)) {
          after_entry = true;
          continue;
        }
        if (!MayBeHeaderByFour(base + at, options_)) continue;
        // Scope lines (`Private m As String`) by the word after the scope word.
        if (!options_.property_and_friend && !ScopeLineMayBeHeader(bytes_.substr(at)) &&
            walk.LineEndOf(at) - at < kLongHeaderLine) {
          continue;
        }
      }
      after_entry = AddHeader(walk.LineOf(at));
    }
  }
}

// The sink of IndexModule: the entries as a list.
class ListSink : public EntrySink {
 public:
  explicit ListSink(EntryList& entries) : entries_(entries) {}
  void Add(std::string_view name, std::string_view suffix, Int position) override {
    entries_.Add(name, suffix, position);
  }

 private:
  EntryList& entries_;
};

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

void IndexModule(std::string_view bytes, const std::string& file_name, IndexOptions options,
                 Port& port, EntrySink& sink) {
  ModuleIndexer(bytes, options, port, sink).Run(file_name);
}

void IndexModuleAfterEntry(std::string_view bytes, IndexOptions options, EntrySink& sink) {
  ModuleIndexer(bytes, options, CurrentPort(), sink).RunFrom(0, true);
}

EntryList IndexModule(std::string_view bytes, const std::string& file_name, IndexOptions options,
                      Port& port, EntryList reuse) {
  reuse.Clear();
  // Room for a procedure every 128 bytes and names of an eighth of the
  // module: the list seldom grows by copying itself, and the room a module
  // leaves unused is never touched.
  reuse.Reserve(bytes.size() / 128 + 1, bytes.size() / 8 + 64);
  ListSink list(reuse);
  IndexModule(bytes, file_name, options, port, list);
  return reuse;
}

}  // namespace qw
