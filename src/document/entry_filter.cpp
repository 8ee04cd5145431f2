#include "document/entry_filter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace qw {
namespace {

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

void EntryFilter::SetNames(const std::vector<std::string>& names) {
  folded_.clear();
  starts_.clear();
  starts_.reserve(names.size() + 1);
  size_t bytes = 0;
  for (const std::string& n : names) bytes += n.size() + 1;
  folded_.resize(bytes);
  char* out = folded_.data();
  for (const std::string& n : names) {
    starts_.push_back(static_cast<std::uint32_t>(out - folded_.data()));
    out = std::transform(n.begin(), n.end(), out, FoldCase);
    *out++ = '\n';
  }
  starts_.push_back(static_cast<std::uint32_t>(folded_.size()));
}

void EntryFilter::Find(std::string_view part, std::vector<int>& out) const {
  out.clear();
  if (part.empty() || starts_.size() < 2) return;
  std::string key(part);
  std::transform(key.begin(), key.end(), key.begin(), FoldCase);
  const char* const base = folded_.data();
  const char* const end = base + folded_.size();
  const char* at = base;
  auto next_start = starts_.begin();
  while (at < end) {
    const void* hit = memmem(at, static_cast<size_t>(end - at), key.data(), key.size());
    if (!hit) break;
    const auto offset = static_cast<std::uint32_t>(static_cast<const char*>(hit) - base);
    // The name holding the hit: the last start at or before it. A hit that
    // runs over a name's end holds the "\n" that no name holds, so it cannot
    // be one: names are found whole.
    next_start = std::upper_bound(next_start, starts_.end(), offset);
    const auto index = static_cast<int>(next_start - starts_.begin()) - 1;
    if (offset + key.size() < *next_start) out.push_back(index);
    at = base + *next_start;  // on to the next name
  }
}

std::vector<int> EntryFilter::Longest(size_t count) const {
  std::vector<int> order(size());
  std::iota(order.begin(), order.end(), 0);
  const auto length = [this](int i) { return starts_[i + 1] - starts_[i]; };
  const size_t n = std::min(count, order.size());
  std::partial_sort(
      order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n), order.end(),
      [&](int a, int b) { return length(a) != length(b) ? length(a) > length(b) : a < b; });
  order.resize(n);
  return order;
}

}  // namespace qw
