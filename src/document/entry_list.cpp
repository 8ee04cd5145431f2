#include "document/entry_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "document/module_document.h"

namespace qw {
namespace {

// Copies `s` to `to`; a short text by two copies of a fixed size that may
// overlap (no call), a longer one by memcpy. Returns the end of the copy.
char* CopyBytes(char* to, std::string_view s) {
  const size_t n = s.size();
  const char* from = s.data();
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n < 4) {
    for (size_t i = 0; i < n; ++i) to[i] = from[i];
  } else {
    std::memcpy(to, from, n);
  }
  return to + n;
}

}  // namespace

std::string EntryView::Text() const {
  std::string text;
  text.reserve(name.size() + 1 + kPositionRoom);
  text.append(name).append(1, '|');
  AppendPosition(text, position);
  return text;
}

EntryList::EntryList(const EntryList& other) {
  *this = other;
}

EntryList& EntryList::operator=(const EntryList& other) {
  if (this == &other) return *this;
  Clear();
  Reserve(other.size(), other.used_);
  if (other.used_ > 0) std::memcpy(names_.get(), other.names_.get(), other.used_);
  used_ = other.used_;
  starts_ = other.starts_;
  positions_ = other.positions_;
  return *this;
}

NameBlock EntryList::names() const {
  return {std::string_view(names_.get(), used_), starts_};
}

void EntryList::Add(std::string_view name, std::string_view suffix, Int position) {
  const size_t n = name.size() + suffix.size() + 1;
  if (room_ - used_ < n) GrowNames(n);
  if (starts_.empty()) starts_.push_back(0);
  char* at = CopyBytes(names_.get() + used_, name);
  if (!suffix.empty()) at = CopyBytes(at, suffix);
  *at = '\n';
  used_ += n;
  starts_.push_back(static_cast<std::uint32_t>(used_));
  positions_.push_back(position);
}

void EntryList::Clear() {
  used_ = 0;
  starts_.clear();
  positions_.clear();
}

void EntryList::Reserve(size_t entries, size_t name_bytes) {
  starts_.reserve(entries + 1);
  positions_.reserve(entries);
  if (name_bytes > room_) GrowNames(name_bytes - used_);
}

void EntryList::GrowNames(size_t need) {
  constexpr size_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (need > kLimit - used_) throw std::length_error("the entry names pass 4 GiB");
  const size_t room = std::min(kLimit, std::max({used_ + need, room_ * 2, size_t{4096}}));
  // Not value-initialised: a page of room is touched only when a name is written to it.
  auto grown = std::make_unique_for_overwrite<char[]>(room);
  if (used_ > 0) std::memcpy(grown.get(), names_.get(), used_);
  names_ = std::move(grown);
  room_ = room;
}

}  // namespace qw
