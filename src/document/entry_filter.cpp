#include "document/entry_filter.h"

#include <algorithm>
#include <cstring>

namespace qw {
namespace {

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string Folded(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
  return folded;
}

// Whether `text` (at least key.size() bytes) starts with `key` (upper-cased),
// letter case ignored.
bool StartsWithFolded(const char* text, std::string_view key) {
  for (size_t i = 0; i < key.size(); ++i) {
    if (FoldCase(text[i]) != key[i]) return false;
  }
  return true;
}

// Whether `name` holds `key` (upper-cased), letter case ignored.
bool HoldsFolded(std::string_view name, std::string_view key) {
  for (size_t at = 0; at + key.size() <= name.size(); ++at) {
    if (StartsWithFolded(name.data() + at, key)) return true;
  }
  return false;
}

// The name holding byte `offset` of the names: the last start at or before it.
// Hits come in order and mostly close together, so the search gallops on
// from `from`, the name of the hit before (starts[from] <= offset < starts.back()).
size_t NameAt(std::span<const std::uint32_t> starts, std::uint32_t offset, size_t from) {
  size_t low = from, high = from + 1, step = 1;
  while (starts[high] <= offset) {
    low = high;
    step *= 2;
    high = std::min(low + step, starts.size() - 1);
  }
  const auto after = std::upper_bound(starts.begin() + static_cast<std::ptrdiff_t>(low) + 1,
                                      starts.begin() + static_cast<std::ptrdiff_t>(high), offset);
  return static_cast<size_t>(after - starts.begin()) - 1;
}

// The places of one byte in [at, end), in either letter case when it is a
// letter, in order.
class BytePlaces {
 public:
  BytePlaces(char upper, const char* end)
      : upper_(upper),
        lower_(upper >= 'A' && upper <= 'Z' ? static_cast<char>(upper - 'A' + 'a') : upper),
        end_(end) {}
  // The first place at or after `at`, or end.
  const char* From(const char* at) {
    if (!next_upper_ || next_upper_ < at) next_upper_ = Find(at, upper_);
    if (upper_ == lower_) return next_upper_;
    if (!next_lower_ || next_lower_ < at) next_lower_ = Find(at, lower_);
    return std::min(next_upper_, next_lower_);
  }

 private:
  const char* Find(const char* at, char c) const {
    if (at >= end_) return end_;
    const void* found = memchr(at, c, static_cast<size_t>(end_ - at));
    return found ? static_cast<const char*>(found) : end_;
  }
  char upper_, lower_;
  const char* end_;
  const char* next_upper_ = nullptr;  // none looked for yet
  const char* next_lower_ = nullptr;
};

}  // namespace

void EntryFilter::SetNames(NameBlock names) {
  if (names.keep || names.size() == 0) {
    names_ = std::move(names);
  } else {
    own_bytes_.assign(names.bytes);
    own_starts_.assign(names.starts.begin(), names.starts.end());
    names_ = {own_bytes_, own_starts_, nullptr};
  }
  Sample();
}

void EntryFilter::SetNames(const std::vector<std::string>& names) {
  own_bytes_.clear();
  own_starts_.assign(1, 0);
  for (const std::string& n : names) {
    own_bytes_.append(n).append(1, '\n');
    own_starts_.push_back(static_cast<std::uint32_t>(own_bytes_.size()));
  }
  names_ = {own_bytes_, own_starts_, nullptr};
  Sample();
}

void EntryFilter::Sample() {
  std::fill(seen_.begin(), seen_.end(), 0);
  constexpr size_t kSampleStep = 13;  // a prime: every place in a name is sampled
  const std::string_view bytes = names_.bytes;
  for (size_t i = 0; i < bytes.size(); i += kSampleStep)
    ++seen_[static_cast<unsigned char>(FoldCase(bytes[i]))];
}

void EntryFilter::Find(std::string_view part, std::vector<int>& out) const {
  out.clear();
  if (part.empty() || size() == 0) return;
  const std::string key = Folded(part);
  const auto rarest =
      static_cast<size_t>(std::min_element(key.begin(), key.end(),
                                           [this](char a, char b) {
                                             return seen_[static_cast<unsigned char>(a)] <
                                                    seen_[static_cast<unsigned char>(b)];
                                           }) -
                          key.begin());
  const std::span<const std::uint32_t> starts = names_.starts;
  const char* const base = names_.bytes.data();
  const char* const end = base + names_.bytes.size();
  // Each place of the key's rarest byte is a place the key may be, `rarest`
  // bytes before it.
  BytePlaces places(key[rarest], end);
  const char* at = base + rarest;
  size_t name = 0;
  while (at < end) {
    const char* const rare = places.From(at);
    if (rare == end) break;
    const char* const hit = rare - rarest;
    if (static_cast<size_t>(end - hit) < key.size() || !StartsWithFolded(hit, key)) {
      at = rare + 1;
      continue;
    }
    const auto offset = static_cast<std::uint32_t>(hit - base);
    name = NameAt(starts, offset, name);
    // A hit that runs over a name's end holds the "\n" that no name holds, so
    // it cannot be one: names are found whole.
    if (offset + key.size() < starts[name + 1]) out.push_back(static_cast<int>(name));
    at = base + starts[name + 1] + rarest;  // on to the next name
  }
}

void EntryFilter::FindNext(std::string_view previous, std::string_view part,
                           std::vector<int>& found) const {
  const std::string key = Folded(part);
  if (previous.empty() || key.find(Folded(previous)) == std::string::npos) {
    Find(part, found);
    return;
  }
  std::erase_if(found, [&](int i) { return !HoldsFolded(name(static_cast<size_t>(i)), key); });
}

std::vector<int> EntryFilter::Longest(size_t count) const {
  std::vector<int> longest;  // longest first, ties in list order
  if (count == 0) return longest;
  const std::uint32_t* starts = names_.starts.data();
  const auto length = [starts](int i) {
    return starts[static_cast<size_t>(i) + 1] - starts[static_cast<size_t>(i)];
  };
  // Once `count` names are kept, a name must be longer than the shortest
  // kept to enter: most names are passed over with one compare each.
  std::uint32_t shortest_kept = 0;
  const size_t n = size();
  for (size_t i = 0;; ++i) {
    if (longest.size() == count) {
      while (i < n && starts[i + 1] - starts[i] <= shortest_kept) ++i;
    }
    if (i >= n) break;
    const auto at = std::upper_bound(longest.begin(), longest.end(), static_cast<int>(i),
                                     [&](int a, int b) { return length(a) > length(b); });
    longest.insert(at, static_cast<int>(i));
    if (longest.size() > count) longest.pop_back();
    if (longest.size() == count) shortest_kept = length(longest.back());
  }
  return longest;
}

}  // namespace qw
