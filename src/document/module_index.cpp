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
  // A header of a usual shape whose entry waits until the walk is past its
  // line: its name is known, but not yet that the line is short enough for
  // the name to be read in place (the next stop tells that without a search).
  struct Held {
    size_t at = LineWalk::kEnd;  // the line's first byte that is not a blank; kEnd: none held
    size_t start = 0;            // the line's first byte
    std::string_view name;
  };
  // Holds the line at `at` (an offset `walk` answered, kUsualShapeReach bytes
  // before the end; `first` the walk's first line) when it is a header of a
  // usual shape whose name begins right after its keyword: true. Else, for a
  // header of a usual shape, its entry as AddHeader adds it: true when it
  // did. False for every other line.
  __attribute__((always_inline)) bool HoldUsualHeader(const LineWalk& walk, size_t at, size_t first,
                                                      Held& held);
  // Adds the held entry now that the walk's next stop is `next` (kEnd: none).
  // A line too long to be read in place, or the last one, is named by the
  // rules, which always take a line of a usual shape for a header: its scope
  // word and keyword lie within the word scanner's limits (only the name may
  // reach past them).
  void AddHeld(const Held& held, size_t next);

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

inline bool ModuleIndexer::HoldUsualHeader(const LineWalk& walk, size_t at, size_t first,
                                           Held& held) {
  const char* base = bytes_.data();
  const size_t from = UsualHeaderNameFrom(base + at);
  if (from == 0) return false;
  const size_t name = at + from;
  // A name that does not begin right there is left to the rules.
  if (!IsCodeWordChar(base[name])) return AddHeader(walk.LineOf(at));
  size_t start = at;
  while (start > first && base[start - 1] == ' ') --start;
  // The name ends where the bytes stop being a code word: at the line's end
  // at the latest (CR and LF are none).
  held = {at, start, bytes_.substr(name, CodeWordEnd(bytes_, name) - name)};
  return true;
}

void ModuleIndexer::AddHeld(const Held& held, size_t next) {
  // A later line's first byte within reach: the line ends before it, short enough.
  if (next != LineWalk::kEnd && next - held.at < kLongHeaderLine) {
    sink_.Add(held.name, {}, static_cast<Int>(held.start) + 1);
    return;
  }
  const void* found = std::memchr(bytes_.data() + held.at, '\n', bytes_.size() - held.at);
  const size_t lf = found ? static_cast<size_t>(static_cast<const char*>(found) - bytes_.data())
                          : std::string_view::npos;
  if (lf != std::string_view::npos && lf - held.at < kLongHeaderLine) {
    sink_.Add(held.name, {}, static_cast<Int>(held.start) + 1);
  } else {
    AddHeader(LineEndingAt(bytes_, held.start, lf));
  }
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
  Held held;
  for (;;) {
    // After an entry most lines are passed over by the walk, by their first
    // two bytes that are not blanks.
    const size_t at = after_entry ? walk.NextMayStop() : walk.Next();
    if (held.at != LineWalk::kEnd) {
      AddHeld(held, at);
      held.at = LineWalk::kEnd;
    }
    if (at == LineWalk::kEnd) return;
    if (after_entry) {
      if (at + kUsualShapeReach <= size) {
        // Most stops are an end or a header of the usual shapes: an end
        // begins with E, a header with F, P or S.
        if ((base[at] | 0x20) == 'e') {
          if (UsualProcedureEnd(base + at)) {
            after_entry = false;
            continue;
          }
        } else if (HoldUsualHeader(walk, at, from, held)) {
          continue;
        }
      }
      if (!MayHoldStopWord(bytes_.substr(at))) continue;
      // The rule trims the line's blanks: it reads the line from `at`.
      const StopKind stop = IndexerStop(walk.TextFrom(at), options_);
      if (stop == StopKind::kOrdinary) continue;
      // The line ended a procedure and belongs to it, or it is tested as a header.
      after_entry = stop == StopKind::kCandidateHeader && AddHeader(walk.LineOf(at));
    } else {
      const char second = at + 1 < size ? base[at + 1] : '\n';
      if (!MayBeHeader(base[at], second)) continue;
      if (at + kUsualShapeReach <= size) {
        // Most lines between procedures are told by their first four bytes.
        if (HoldUsualHeader(walk, at, from, held)) {
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
