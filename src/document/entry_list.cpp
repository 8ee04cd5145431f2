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
  if (other.size_ > 0) {
    Names& names = OwnNames();
    if (other.names_->used > names.room) GrowNames(names, other.names_->used);
    if (other.names_->used > 0)
      std::memcpy(names.bytes.get(), other.names_->bytes.get(), other.names_->used);
    names.used = other.names_->used;
    const auto& starts = other.names_->starts;
    names.starts.assign(starts.begin(),
                        starts.begin() + static_cast<std::ptrdiff_t>(other.size_ + 1));
    positions_.assign(other.positions_.begin(),
                      other.positions_.begin() + static_cast<std::ptrdiff_t>(other.size_));
  }
  size_ = other.size_;
  NoteRoom();
  return *this;
}

NameBlock EntryList::names() const {
  if (size_ == 0) return {};
  return {std::string_view(names_->bytes.get(), names_->used),
          std::span<const std::uint32_t>(names_->starts.data(), size_ + 1), names_};
}

void EntryList::Add(std::string_view name, std::string_view suffix, Int position) {
  // The usual entry (a name alone of up to 32 bytes, room for it everywhere,
  // the names this list's alone) is written without a call; the others take
  // the longer way.
  const size_t size = name.size();
  if (size > 32 || !suffix.empty() || size_ >= entry_room_ || names_.use_count() != 1 ||
      names_->room - names_->used <= size) [[unlikely]] {
    AddMakingRoom(name, suffix, position);
    return;
  }
  Names& names = *names_;
  char* at = names.bytes.get() + names.used;
  if (size >= 16) {
    // Two copies of 16 bytes that may overlap.
    std::memcpy(at, name.data(), 16);
    std::memcpy(at + size - 16, name.data() + size - 16, 16);
  } else {
    CopyBytes(at, name);
  }
  at[size] = '\n';
  names.used += size + 1;
  names.starts[size_ + 1] = static_cast<std::uint32_t>(names.used);
  positions_[size_] = position;
  ++size_;
}

void EntryList::AddMakingRoom(std::string_view name, std::string_view suffix, Int position) {
  Names& names = OwnNames();
  const size_t n = name.size() + suffix.size() + 1;
  if (names.room - names.used < n) GrowNames(names, n);
  // The arrays grow by doubling: a list that grows one entry at a time
  // copies each entry a few times at most.
  if (size_ + 2 > names.starts.size())
    names.starts.resize(std::max<size_t>(size_ + 2, 2 * names.starts.size()));
  if (size_ + 1 > positions_.size())
    positions_.resize(std::max<size_t>(size_ + 1, 2 * positions_.size()));
  names.starts[0] = 0;
  NoteRoom();
  char* at = CopyBytes(names.bytes.get() + names.used, name);
  if (!suffix.empty()) at = CopyBytes(at, suffix);
  *at = '\n';
  names.used += n;
  names.starts[size_ + 1] = static_cast<std::uint32_t>(names.used);
  positions_[size_] = position;
  ++size_;
}

void EntryList::Clear() {
  if (names_.use_count() == 1) {
    names_->used = 0;
  } else {
    names_.reset();  // kept elsewhere as it is
  }
  size_ = 0;
  NoteRoom();
}

void EntryList::Reserve(size_t entries, size_t name_bytes) {
  Names& names = OwnNames();
  // Room never used is never touched: the arrays' large room is taken
  // without being written, and growing them writes only their new part.
  if (names.starts.size() < entries + 1) names.starts.resize(entries + 1);
  if (positions_.size() < entries) positions_.resize(entries);
  names.starts[0] = 0;
  NoteRoom();
  if (name_bytes > names.room) GrowNames(names, name_bytes - names.used);
}

void EntryList::NoteRoom() {
  const size_t starts = names_ ? names_->starts.size() : 0;
  entry_room_ = starts == 0 ? 0 : std::min(starts - 1, positions_.size());
}

EntryList::Names& EntryList::Detach() {
  auto own = std::make_shared<Names>();
  if (names_) {
    GrowNames(*own, names_->room);
    if (names_->used > 0) std::memcpy(own->bytes.get(), names_->bytes.get(), names_->used);
    own->used = names_->used;
    // Only the starts written are copied (none while the list is empty).
    const auto& starts = names_->starts;
    own->starts.assign(starts.begin(),
                       starts.begin() + static_cast<std::ptrdiff_t>(size_ > 0 ? size_ + 1 : 0));
  }
  names_ = std::move(own);
  NoteRoom();
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
