#include "document/entry_list.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "document/module_document.h"

namespace qw {

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
  if (other.names_) {
    Names& names = OwnNames();
    if (other.names_->used > names.room) GrowNames(names, other.names_->used);
    if (other.names_->used > 0)
      std::memcpy(names.bytes.get(), other.names_->bytes.get(), other.names_->used);
    names.used = other.names_->used;
    names.starts = other.names_->starts;
  }
  positions_ = other.positions_;
  return *this;
}

NameBlock EntryList::names() const {
  if (!names_ || names_->starts.empty()) return {};
  return {std::string_view(names_->bytes.get(), names_->used), names_->starts, names_};
}

void EntryList::Add(std::string_view name, std::string_view suffix, Int position) {
  Names& names = OwnNames();
  const size_t n = name.size() + suffix.size() + 1;
  if (names.room - names.used < n) GrowNames(names, n);
  if (names.starts.empty()) names.starts.push_back(0);
  char* at = CopyBytes(names.bytes.get() + names.used, name);
  if (!suffix.empty()) at = CopyBytes(at, suffix);
  *at = '\n';
  names.used += n;
  names.starts.push_back(static_cast<std::uint32_t>(names.used));
  positions_.push_back(position);
}

void EntryList::Clear() {
  if (names_.use_count() == 1) {
    names_->used = 0;
    names_->starts.clear();
  } else {
    names_.reset();  // kept elsewhere as it is
  }
  positions_.clear();
}

void EntryList::Reserve(size_t entries, size_t name_bytes) {
  Names& names = OwnNames();
  names.starts.reserve(entries + 1);
  positions_.reserve(entries);
  if (name_bytes > names.room) GrowNames(names, name_bytes - names.used);
}

EntryList::Names& EntryList::Detach() {
  auto own = std::make_shared<Names>();
  if (names_) {
    GrowNames(*own, names_->room);
    if (names_->used > 0) std::memcpy(own->bytes.get(), names_->bytes.get(), names_->used);
    own->used = names_->used;
    own->starts = names_->starts;
  }
  names_ = std::move(own);
  return *names_;
}

void EntryList::GrowNames(Names& names, size_t need) {
  constexpr size_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (need > kLimit - names.used) throw std::length_error("the entry names pass 4 GiB");
  const size_t room = std::min(kLimit, std::max({names.used + need, names.room * 2, size_t{4096}}));
  // Not value-initialised: a page of room is touched only when a name is written to it.
  std::unique_ptr<char[], LargeRoomFree> grown(static_cast<char*>(TakeLargeRoom(room)),
                                               LargeRoomFree{room});
  if (names.used > 0) std::memcpy(grown.get(), names.bytes.get(), names.used);
  names.bytes = std::move(grown);
  names.room = room;
}

}  // namespace qw
