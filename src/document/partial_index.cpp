#include "document/partial_index.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "document/byte_lines.h"
#include "document/form_block.h"
#include "document/line_rules.h"
#include "platform/fault.h"

namespace qw {

namespace {

// Passes entries on to `sink` with their positions moved by `shift` bytes: the
// entries of a stretch indexed on its own are placed in the whole file.
class ShiftedSink : public EntrySink {
 public:
  ShiftedSink(EntrySink& sink, size_t shift) : sink_(sink), shift_(static_cast<Int>(shift)) {}
  void Add(std::string_view name, std::string_view suffix, Int position) override {
    sink_.Add(name, suffix, position + shift_);
    ++count_;
  }
  size_t count() const { return count_; }

 private:
  EntrySink& sink_;
  Int shift_;
  size_t count_ = 0;
};

// Indexes the whole module; whether it has an entry.
bool IndexWhole(std::string_view bytes, const std::string& file_name, IndexOptions options,
                Port& port, EntrySink& sink) {
  ShiftedSink counted(sink, 0);
  IndexModule(bytes, file_name, options, port, counted);
  return counted.count() > 0;
}

// A sure header: its line, and its entry's name as HeaderNameParts gives it.
struct SureHeader {
  ByteLine line;
  HeaderParts parts;
};

std::optional<SureHeader> SureHeaderAt(std::string_view bytes, size_t line_start,
                                       IndexOptions options, std::string& spill) {
  size_t first = line_start;
  while (first < bytes.size() && bytes[first] == ' ') ++first;
  if (first + 1 >= bytes.size() || !MayStopIndexer(bytes[first], bytes[first + 1])) {
    return std::nullopt;
  }
  // A line that stops the indexer holds a U or a Y: most lines that pass the
  // two-byte test hold neither, and are turned away without finding their end.
  if (!MayHoldStopWord(bytes.substr(first))) return std::nullopt;
  const ByteLine line = LineAt(bytes, line_start);
  if (first >= line.start + line.text.size()) return std::nullopt;
  // A header of the usual shapes is named from its bytes, as the index names
  // it: the rules would say the same of it.
  if (first + kUsualShapeReach <= bytes.size()) {
    if (const size_t from = UsualHeaderNameFrom(bytes.data() + first)) {
      const size_t lf = line.end.empty() ? std::string_view::npos : line.next - 1;
      if (const std::optional<std::string_view> name = UsualHeaderNameIn(bytes, first, from, lf)) {
        return SureHeader{line, {*name, {}}};
      }
    }
  }
  const std::string_view from_first = line.text.substr(first - line.start);
  if (IndexerStop(from_first, options) != StopKind::kCandidateHeader) return std::nullopt;
  const std::optional<HeaderParts> parts = HeaderNameParts(line.text, options, spill);
  if (!parts) return std::nullopt;
  return SureHeader{line, *parts};
}

// The last line at or after `floor` (a line's start), and no further than
// `reach` bytes before `at`, that holds `at` or comes before it and is a sure
// header; its name may view `spill`.
std::optional<SureHeader> FindSureHeader(std::string_view bytes, size_t floor, size_t at,
                                         size_t reach, IndexOptions options, std::string& spill) {
  const size_t lowest = at - floor > reach ? at - reach : floor;
  // `end`: the offset after the last byte of the lines still to be tried.
  for (size_t end = at + 1; end > lowest;) {
    const void* lf =
        end - 1 > floor ? memrchr(bytes.data() + floor, '\n', end - 1 - floor) : nullptr;
    const size_t start =
        lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) + 1 : floor;
    if (start < lowest) break;
    if (std::optional<SureHeader> sure = SureHeaderAt(bytes, start, options, spill)) return sure;
    end = start;
  }
  return std::nullopt;
}

// The offset just after the line end of the line holding `at` (the end of
// `bytes` for a last line without one).
size_t AfterLineOf(std::string_view bytes, size_t at) {
  const void* lf = std::memchr(bytes.data() + at, '\n', bytes.size() - at);
  return lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) + 1 : bytes.size();
}

}  // namespace

bool IndexModuleNear(std::string_view bytes, const std::string& file_name, IndexOptions options,
                     Port& port, const std::vector<size_t>& offsets, EntrySink& sink,
                     NearReach reach) {
  const ModuleKind kind = KindOfModule(file_name);
  if (kind == ModuleKind::kPlain) return IndexWhole(bytes, file_name, options, port, sink);
  size_t from = 0;  // where the declarations start
  if (kind == ModuleKind::kForm) {
    std::optional<size_t> end;
    try {
      end = FormBlockEnd(bytes);
    } catch (const Fault&) {
    }
    if (!end) return IndexWhole(bytes, file_name, options, port, sink);
    from = *end;
  }
  // A stretch [start, end) of whole lines is indexed on its own: the first
  // from the file's start as the file it is, the others from the line after a
  // sure header, as the index reads on after any entry.
  // Indexing on costs about a third of a nanosecond a byte; going back line by
  // line costs several times that a byte, and taking the index up again a
  // little. A gap is passed over only when its sure header lies in its last
  // third (the stretch passed over is then at least twice the look back), and
  // after a look back that found none the next few gaps under 16 KB are
  // indexed on (as many as there were such looks in a row, up to 64): where
  // sure headers are far from the offsets, looking for them costs more than it
  // saves. A larger gap is always looked back over.
  size_t looks_to_skip = 0, after_miss = 1;
  std::string spill;  // a sure header's name too long to be read in place
  size_t start = 0, end = 0;
  bool whole_file_start = true;
  const auto index_stretch = [&] {
    if (whole_file_start) {
      // Only the declarations' stretch needs the file's own kind.
      if (end > from) IndexModule(bytes.substr(0, end), file_name, options, port, sink);
      return;
    }
    ShiftedSink shifted(sink, start);
    IndexModuleAfterEntry(bytes.substr(start, end - start), options, shifted);
  };
  for (const size_t at : offsets) {
    if (at < end || at < from || at >= bytes.size()) continue;
    const size_t floor = end > from ? end : from;
    constexpr size_t kAlwaysLook = 16 * 1024;
    if (at - floor > reach.gap && at - floor < kAlwaysLook && looks_to_skip > 0) {
      --looks_to_skip;
    } else if (at - floor > reach.gap) {
      const size_t back = std::min(reach.back, (at - floor) / 3);
      const std::optional<SureHeader> sure = FindSureHeader(bytes, floor, at, back, options, spill);
      if (sure && sure->line.start > floor) {
        index_stretch();
        // The sure header's entry is handed over as read; the index is taken
        // up after its line, as it reads on after any entry.
        sink.Add(sure->parts.name, sure->parts.suffix, static_cast<Int>(sure->line.start) + 1);
        start = sure->line.next;
        whole_file_start = false;
        looks_to_skip = 0;
        after_miss = 1;
      } else {
        looks_to_skip = after_miss;
        after_miss = std::min<size_t>(after_miss * 2, 64);
      }
    }
    end = AfterLineOf(bytes, at);
  }
  if (end > start) index_stretch();
  return true;  // the declarations entry, at least
}

}  // namespace qw
