#include "find/module_search.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "document/byte_lines.h"
#include "document/entry_text.h"
#include "document/module_file.h"
#include "document/module_index.h"
#include "document/partial_index.h"
#include "find/search_commands.h"
#include "find/text_search.h"
#include "platform/report.h"

namespace qw {

namespace {

constexpr Int kNoLimit = std::numeric_limits<Int>::max();

size_t EntryStart(EntryView e) {
  return static_cast<size_t>(e.position - 1);
}

// The text of entry `e` of the module `bytes` as the pane shows it: the bytes
// themselves when every line of it ends with CR LF, else gathered into `scratch`.
std::string_view EntryText(std::string_view bytes, EntryView e, IndexOptions options,
                           std::string& scratch) {
  const size_t start = EntryStart(e);
  size_t end = start;
  bool as_is = true;
  BytesLineReader lines(bytes, start);
  ForEachEntryLine(lines, IsDeclarationsEntry(e), options, [&](const ByteLine& line, bool) {
    as_is = line.end == "\r\n";
    end = line.next;
    return as_is;
  });
  if (as_is) return bytes.substr(start, end - start);
  BytesLineReader again(bytes, start);
  GatherEntryText(again, IsDeclarationsEntry(e), options, kNoLimit, scratch);
  return scratch;
}

}  // namespace

namespace {

// Hands `sink` the lines of `text` that hold the searcher's pattern.
template <typename Sink>
void LineHits(std::string_view text, const PatternSearcher& searcher, Int entry,
              std::string_view entry_name, Sink& sink) {
  const char* base = text.data();
  Int line = 1;
  size_t counted = 0;  // line ends before this offset are counted in `line`
  for (size_t at = searcher.Find(text, 0); at != std::string_view::npos;) {
    size_t line_start = counted;
    for (const char* p = base + counted;
         (p = static_cast<const char*>(std::memchr(p, '\n', at - static_cast<size_t>(p - base)))) !=
         nullptr;
         ++p) {
      ++line;
      line_start = static_cast<size_t>(p - base) + 1;
    }
    const void* lf = std::memchr(base + at, '\n', text.size() - at);
    const size_t end = lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : text.size();
    size_t text_end = end;
    if (lf && end > line_start && base[end - 1] == '\r') --text_end;
    if (text_end < line_start) text_end = line_start;
    sink(ModuleHitView{entry, entry_name, line, static_cast<Int>(at),
                       text.substr(line_start, text_end - line_start)});
    if (!lf) break;
    counted = end + 1;
    ++line;
    at = searcher.Find(text, counted);
  }
}

// The first index in [from, count) for which `before` is false (count: none),
// where `before` holds for every index below it and for none from it on.
// Galloping from `from`: an answer a few places on is found in a few steps,
// one far off in about twice the steps of a binary search.
template <typename Before>
size_t GallopTo(size_t from, size_t count, Before before) {
  size_t low = from, step = 1;  // `before` holds below `low`
  while (low + step <= count && before(low + step - 1)) {
    low += step;
    step *= 2;
  }
  size_t high = std::min(low + step - 1, count);  // `before` fails at `high`, or it is `count`
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    if (before(mid)) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

// The occurrences of a pattern's first line in the module's bytes: searched
// for, or read from the list of them all when it is given.
class FirstLines {
 public:
  FirstLines(std::string_view bytes, const PatternSearcher& searcher,
             const std::vector<size_t>* known)
      : bytes_(bytes), searcher_(searcher), known_(known) {}
  // The first occurrence at or after `from` (npos: none).
  size_t From(size_t from) {
    if (known_ == nullptr) return searcher_.Find(bytes_, from);
    const std::vector<size_t>& known = *known_;
    if (from < last_) cursor_ = 0;
    last_ = from;
    // The next answer is most often the next occurrence, or a few further.
    cursor_ = GallopTo(cursor_, known.size(), [&](size_t i) { return known[i] < from; });
    return cursor_ < known.size() ? known[cursor_] : std::string_view::npos;
  }

 private:
  std::string_view bytes_;
  const PatternSearcher& searcher_;
  const std::vector<size_t>* known_;
  size_t cursor_ = 0, last_ = 0;
};

// Hands `sink` the hits in entry `k`, whose bytes hold an occurrence at `at`,
// found in the module's bytes as they are: a pattern without line ends lies
// within one line, and the entry's text is its lines each ended with CR LF,
// so a line's number and text are those of the bytes, and its offset in the
// text counts every earlier line's end as two. The walk stops at the entry's
// end, or at the line of its last hit: the first occurrence at or after
// `stop` is no longer this entry's. Returns the first occurrence not handed
// over at or after the line the walk stopped on (npos: none).
template <typename Sink>
size_t EntryHitsInPlace(std::string_view bytes, EntryView e, Int k, IndexOptions options,
                        FirstLines& occurrences, size_t at, size_t stop, Sink& sink) {
  BytesLineReader lines(bytes, EntryStart(e));
  Int line_number = 0;
  size_t line_offset = 0;  // of the line in the entry's text
  ForEachEntryLine(lines, IsDeclarationsEntry(e), options, [&](const ByteLine& line, bool) {
    ++line_number;
    if (at < line.next) {
      sink(ModuleHitView{k, e.name, line_number, static_cast<Int>(line_offset + at - line.start),
                         line.text});
      at = occurrences.From(line.next);
      if (at >= stop) return false;
    }
    line_offset += line.text.size() + 2;
    return true;
  });
  return at;
}

// Whether the hits of `pattern` are found in the module's bytes as they are
// (their line texts views of the bytes): a pattern without line ends.
bool SearchesInPlace(std::string_view pattern) {
  return pattern.find_first_of("\r\n") == std::string_view::npos;
}

// The hits of `pattern` in the entries of the module but entry `shown`, in entry order.
template <typename Sink>
void EntryHits(std::string_view bytes, const EntryList& entries, IndexOptions options,
               std::string_view pattern, bool match_case, Int shown, const CaseFold& fold,
               Sink& sink, const std::vector<size_t>* known = nullptr) {
  if (pattern.empty() || entries.empty()) return;
  // An occurrence in an entry's text has the pattern's first line within one
  // line of the entry's bytes: that part finds the entries worth searching.
  const std::string_view prefix = pattern.substr(0, pattern.find_first_of("\r\n"));
  const bool in_place = SearchesInPlace(pattern);
  const PatternSearcher candidates(prefix, match_case, fold);
  FirstLines first_lines(bytes, candidates, known);
  const PatternSearcher searcher(pattern, match_case, fold);
  const size_t count = entries.size();
  std::string text;
  size_t found = 0;  // an occurrence found ahead, at or after `pos` when `ahead`
  bool ahead = false;
  for (size_t pos = 0, next = 0; pos <= bytes.size();) {
    const size_t at = prefix.empty()
                          ? (next < count ? EntryStart(entries[next]) : std::string_view::npos)
                      : ahead && found >= pos ? found
                                              : first_lines.From(pos);
    ahead = false;
    if (at == std::string_view::npos) break;
    if (at < EntryStart(entries[next])) {  // before the first entry: the form's description
      pos = EntryStart(entries[next]);
      continue;
    }
    // The entry holding `at` is `next` or one after it: the last one starting
    // at or before `at`.
    const size_t k =
        GallopTo(next, count, [&](size_t i) { return EntryStart(entries[i]) <= at; }) - 1;
    next = k + 1;
    pos = next < count ? EntryStart(entries[next]) : bytes.size() + 1;
    if (static_cast<Int>(k) == shown || EntryStart(entries[k]) >= bytes.size()) continue;
    if (in_place) {
      found = EntryHitsInPlace(bytes, entries[k], static_cast<Int>(k), options, first_lines, at,
                               next < count ? pos : std::string_view::npos, sink);
      ahead = true;
    } else {
      LineHits(EntryText(bytes, entries[k], options, text), searcher, static_cast<Int>(k),
               entries[k].name, sink);
    }
  }
}

// A sink keeping the hits.
struct KeepHits {
  std::vector<ModuleHit>& hits;
  void operator()(const ModuleHitView& h) {
    hits.push_back(
        {h.entry, std::string(h.entry_name), h.line, h.offset, std::string(h.line_text)});
  }
};

}  // namespace

std::vector<ModuleHit> FindLinesInText(std::string_view text, std::string_view pattern,
                                       bool match_case, const CaseFold& fold) {
  std::vector<ModuleHit> hits;
  KeepHits keep{hits};
  if (!pattern.empty()) LineHits(text, PatternSearcher(pattern, match_case, fold), -1, {}, keep);
  return hits;
}

void FindLinesInText(std::string_view text, std::string_view pattern, bool match_case,
                     const HitSink& sink, const CaseFold& fold) {
  if (!pattern.empty()) LineHits(text, PatternSearcher(pattern, match_case, fold), -1, {}, sink);
}

std::vector<ModuleHit> FindInModuleBytes(std::string_view bytes, const EntryList& entries,
                                         IndexOptions options, std::string_view pattern,
                                         bool match_case, Int shown, std::string_view shown_text,
                                         const CaseFold& fold) {
  std::vector<ModuleHit> hits;
  KeepHits keep{hits};
  if (SearchesInPlace(pattern)) {
    // The hits (views of `bytes`) are gathered as views first and kept once their number is
    // known: a vector of kept hits growing hit by hit costs ten times the search.
    std::vector<ModuleHitView> views;
    auto keep_view = [&](const ModuleHitView& h) { views.push_back(h); };
    EntryHits(bytes, entries, options, pattern, match_case, shown, fold, keep_view);
    hits.reserve(views.size());
    for (const ModuleHitView& h : views) keep(h);
  } else {
    EntryHits(bytes, entries, options, pattern, match_case, shown, fold, keep);
  }
  if (!pattern.empty() && shown >= 0 && static_cast<size_t>(shown) < entries.size()) {
    std::vector<ModuleHit> found;
    KeepHits keep_shown{found};
    LineHits(shown_text, PatternSearcher(pattern, match_case, fold), shown,
             entries.name(static_cast<size_t>(shown)), keep_shown);
    const auto where = std::lower_bound(hits.begin(), hits.end(), shown,
                                        [](const ModuleHit& h, Int e) { return h.entry < e; });
    hits.insert(where, std::make_move_iterator(found.begin()),
                std::make_move_iterator(found.end()));
  }
  return hits;
}

void FindInModuleBytes(std::string_view bytes, const EntryList& entries, IndexOptions options,
                       std::string_view pattern, bool match_case, const HitSink& sink,
                       const CaseFold& fold, const std::vector<size_t>* first_lines) {
  EntryHits(bytes, entries, options, pattern, match_case, -1, fold, sink, first_lines);
}

namespace {

// Hands `sink` the hits in the entries the index hands over, each entry as it
// closes (when the next one is handed over, or at the end), when its bytes
// (from its first line up to the next entry's) hold one of `offsets`, the
// sorted occurrences of a pattern without line ends. Nothing but the entry at
// hand is kept. Entries at the same position: the last one holds.
class HitsAsIndexed : public EntrySink {
 public:
  HitsAsIndexed(std::string_view bytes, IndexOptions options, const PatternSearcher& searcher,
                const std::vector<size_t>& offsets, const HitSink& sink)
      : bytes_(bytes),
        options_(options),
        offsets_(offsets),
        occurrences_(bytes, searcher, &offsets),
        sink_(sink) {}
  void Add(std::string_view name, std::string_view suffix, Int position) override {
    Close(static_cast<size_t>(position - 1));
    // Most entries are only passed over: a name that lies in the module's
    // bytes stays a view until its entry is searched, another one is copied.
    if (name.data() >= bytes_.data() &&
        name.data() + name.size() <= bytes_.data() + bytes_.size()) {
      name_ = name;
    } else {
      spill_.assign(name);
      name_ = spill_;
    }
    suffix_.assign(suffix);
    position_ = position;
    held_ = true;
  }
  // Searches the entry handed over last.
  void Finish() { Close(std::string_view::npos); }

 private:
  // The entry handed over last ends at `end`.
  void Close(size_t end) {
    if (!held_) return;
    const auto start = static_cast<size_t>(position_ - 1);
    while (next_ < offsets_.size() && offsets_[next_] < start) ++next_;
    if (next_ == offsets_.size() || offsets_[next_] >= end || start >= bytes_.size()) return;
    entry_.name.assign(name_).append(suffix_);
    entry_.position = position_;
    EntryHitsInPlace(bytes_, entry_.view(), searched_++, options_, occurrences_, offsets_[next_],
                     end, sink_);
  }

  std::string_view bytes_;
  IndexOptions options_;
  const std::vector<size_t>& offsets_;
  FirstLines occurrences_;
  const HitSink& sink_;
  size_t next_ = 0;    // the first offset not before the entry handed over last
  bool held_ = false;  // an entry was handed over
  // The entry handed over last: its name, what its name adds to it, its first line.
  std::string_view name_;
  std::string suffix_;
  std::string spill_;  // its name, when the index lent it from elsewhere
  Int position_ = 0;
  ProcedureEntry entry_;  // the entry searched
  Int searched_ = 0;      // entries searched so far
};

}  // namespace

void FindInModuleFile(std::string_view bytes, const std::string& file_name, IndexOptions options,
                      std::string_view pattern, bool match_case, Port& port, const HitSink& sink) {
  const std::string_view first_line = pattern.substr(0, pattern.find_first_of("\r\n"));
  if (first_line.empty() || !SearchesInPlace(pattern)) {
    const EntryList entries = IndexModule(bytes, file_name, options, port);
    if (entries.empty()) return FindLinesInText(bytes, pattern, match_case, sink);
    return FindInModuleBytes(bytes, entries, options, pattern, match_case, sink);
  }
  // A hit's entry holds the pattern in its bytes: only the entries around its
  // occurrences are indexed, and searched as the index hands them over.
  const PatternSearcher searcher(pattern, match_case);
  // Room for an occurrence every 32 bytes: a list grown by copying would touch
  // fresh memory at every step, and each page touched first costs more than
  // searching it. Room never written is never touched.
  std::vector<size_t> offsets;
  offsets.reserve(bytes.size() / 32 + 16);
  searcher.FindAll(bytes, offsets);
  HitsAsIndexed hits(bytes, options, searcher, offsets, sink);
  if (!IndexModuleNear(bytes, file_name, options, port, offsets, hits)) {
    return FindLinesInText(bytes, pattern, match_case, sink);
  }
  hits.Finish();
}

std::vector<ModuleHit> FindInDocument(const ModuleDocument& doc, std::string_view pane_text,
                                      std::string_view pattern, bool match_case,
                                      const CaseFold& fold) {
  if (!doc.indexed() || doc.file_name().empty()) {
    return FindLinesInText(pane_text, pattern, match_case, fold);
  }
  const FileBytes bytes = FileBytes::Read(doc.file_name());
  RequireIndexedStamp(doc, bytes.stamp());
  if (doc.entry_count() == 0) return FindLinesInText(bytes.view(), pattern, match_case, fold);
  return FindInModuleBytes(bytes.view(), doc.entries(), doc.index_options(), pattern, match_case,
                           static_cast<Int>(doc.current_entry_index()), pane_text, fold);
}

void ModuleSearch::FindInModule() {
  const FindDialogAnswer answer = port_.ShowFindDialog(port_.PaneSelectedText());
  state_.new_search = true;
  ApplyFindAnswer(answer, state_);
  if (answer.closed != DialogClose::kAccept || state_.find_text.empty()) return;
  RunTrapped(port_, [&] {
    std::vector<ModuleHit> found;
    {
      BusyScope busy(port_);
      found = FindInDocument(doc_, port_.PaneText(), state_.find_text, state_.match_case,
                             port_.PaneCaseFold());
    }
    hits_ = std::move(found);
    pattern_ = state_.find_text;
    match_case_ = state_.match_case;
    file_name_ = doc_.file_name();
    if (hits_.empty()) {
      port_.MessageBox(CannotFind(pattern_));
      return;
    }
    std::vector<HitRow> rows;
    rows.reserve(hits_.size());
    for (const ModuleHit& h : hits_)
      rows.push_back({h.entry_name, static_cast<long>(h.line), h.line_text});
    port_.ShowHitList(pattern_, rows);
  });
}

void ModuleSearch::GoToHit(size_t row) {
  if (row >= hits_.size() || doc_.file_name() != file_name_) return;
  const ModuleHit hit = hits_[row];
  if (hit.entry >= 0) {
    if (!doc_.indexed()) return;
    // The index may have been built again since the search (after a save):
    // the hit's entry is found again by its name.
    Int target = hit.entry;
    const auto& entries = doc_.entries();
    if (!doc_.HasEntry(target) || entries.name(static_cast<size_t>(target)) != hit.entry_name) {
      size_t i = 0;
      while (i < entries.size() && entries.name(i) != hit.entry_name) ++i;
      if (i == entries.size()) return;
      target = static_cast<Int>(i);
    }
    if (static_cast<Int>(doc_.current_entry_index()) != target) {
      port_.SetEntrySelectedIndex(static_cast<int>(target));
    }
    if (static_cast<Int>(doc_.current_entry_index()) != target) return;  // the switch was refused
  } else if (doc_.indexed()) {
    return;  // a module without entries: the pane does not hold its text
  }
  const std::string text = port_.PaneText();
  if (MatchesAt(text, static_cast<size_t>(hit.offset), pattern_, match_case_,
                port_.PaneCaseFold())) {
    port_.SetPaneSelection(static_cast<long>(hit.offset), static_cast<long>(pattern_.size()));
  } else {
    size_t start = 0;
    for (Int line = 1; line < hit.line && start < text.size(); ++line) {
      const size_t lf = text.find('\n', start);
      if (lf == std::string::npos) break;
      start = lf + 1;
    }
    port_.SetPaneSelection(static_cast<long>(start), 0);
  }
  // Find Next goes on from the occurrence chosen.
  state_.last_found_pos = port_.PaneSelStart();
  state_.new_search = false;
  port_.FocusPane();
}

}  // namespace qw
