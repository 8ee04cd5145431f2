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

// The name holding byte `offset` of the names: the last start at or before it.
// Hits come in order and mostly close together, so the search gallops on
// from `from`, the name of the hit before (starts[from] <= offset < starts.back()).
size_t NameAt(const std::vector<std::uint32_t>& starts, std::uint32_t offset, size_t from) {
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

}  // namespace

void EntryFilter::SetNames(std::span<const std::string_view> names) {
  size_t bytes = 0;
  for (const std::string_view n : names) bytes += n.size() + 1;
  names_.resize(bytes);
  starts_.resize(names.size() + 1);
  size_t at = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    starts_[i] = static_cast<std::uint32_t>(at);
    names[i].copy(names_.data() + at, names[i].size());
    at += names[i].size();
    names_[at++] = '\n';
  }
  starts_.back() = static_cast<std::uint32_t>(at);
  folded_.resize(bytes);
  std::transform(names_.begin(), names_.end(), folded_.begin(), FoldCase);
  std::fill(seen_.begin(), seen_.end(), 0);
  constexpr size_t kSampleStep = 13;  // a prime: every place in a name is sampled
  for (size_t i = 0; i < bytes; i += kSampleStep) ++seen_[static_cast<unsigned char>(folded_[i])];
}

void EntryFilter::SetNames(const std::vector<std::string>& names) {
  const std::vector<std::string_view> views(names.begin(), names.end());
  SetNames(views);
}

void EntryFilter::Find(std::string_view part, std::vector<int>& out) const {
  out.clear();
  if (part.empty() || starts_.size() < 2) return;
  const std::string key = Folded(part);
  const auto rarest =
      static_cast<size_t>(std::min_element(key.begin(), key.end(),
                                           [this](char a, char b) {
                                             return seen_[static_cast<unsigned char>(a)] <
                                                    seen_[static_cast<unsigned char>(b)];
                                           }) -
                          key.begin());
  const char* const base = folded_.data();
  const char* const end = base + folded_.size();
  // Each occurrence of the key's rarest byte is a place the key may be, at
  // `rarest` bytes before it.
  const char* at = base + rarest;
  size_t name = 0;
  while (at < end) {
    const auto* rare =
        static_cast<const char*>(memchr(at, key[rarest], static_cast<size_t>(end - at)));
    if (!rare) break;
    const char* const hit = rare - rarest;
    if (static_cast<size_t>(end - hit) < key.size() || memcmp(hit, key.data(), key.size()) != 0) {
      at = rare + 1;
      continue;
    }
    const auto offset = static_cast<std::uint32_t>(hit - base);
    name = NameAt(starts_, offset, name);
    // A hit that runs over a name's end holds the "\n" that no name holds, so
    // it cannot be one: names are found whole.
    if (offset + key.size() < starts_[name + 1]) out.push_back(static_cast<int>(name));
    at = base + starts_[name + 1] + rarest;  // on to the next name
  }
}

void EntryFilter::FindNext(std::string_view previous, std::string_view part,
                           std::vector<int>& found) const {
  const std::string key = Folded(part);
  if (previous.empty() || key.find(Folded(previous)) == std::string::npos) {
    Find(part, found);
    return;
  }
  const std::string_view folded(folded_);
  std::erase_if(found, [&](int i) {
    const auto n = static_cast<size_t>(i);
    return folded.substr(starts_[n], starts_[n + 1] - starts_[n] - 1).find(key) ==
           std::string_view::npos;
  });
}

std::vector<int> EntryFilter::Longest(size_t count) const {
  std::vector<int> longest;  // longest first, ties in list order
  if (count == 0) return longest;
  const auto length = [this](int i) {
    return starts_[static_cast<size_t>(i) + 1] - starts_[static_cast<size_t>(i)];
  };
  for (int i = 0; i < static_cast<int>(size()); ++i) {
    if (longest.size() == count && length(i) <= length(longest.back())) continue;
    const auto at = std::upper_bound(longest.begin(), longest.end(), i,
                                     [&](int a, int b) { return length(a) > length(b); });
    longest.insert(at, i);
    if (longest.size() > count) longest.pop_back();
  }
  return longest;
}

}  // namespace qw
