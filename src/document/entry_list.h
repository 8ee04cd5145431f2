// EntryList: a module's entries in file order, as the index lists them, kept
// densely: every name in one block of bytes (each followed by "\n", as a
// NameBlock reads them), where each name starts, and each entry's position in
// plain arrays. An entry is read as a view of its name and its position. A
// list cleared and filled again keeps its storage, so an index built again
// (after every save) does not grow a new list from nothing. The names are
// handed on as a block that may be kept (the entry list's filter keeps them
// without a copy); a list changed while its block is kept elsewhere leaves the
// kept block as it was and goes on in storage of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/large_room.h"
#include "platform/limits.h"
#include "platform/name_block.h"

namespace qw {

// One entry as a list holds it: its name (a view into the list, valid until the
// list next changes) and the 1-based byte position of its first line.
struct EntryView {
  std::string_view name;
  Int position = 1;

  // The entry string as the entry list writes it: name, "|", the position
  // with at least seven digits ('Form_Load|0001234', 'Big|12345678').
  std::string Text() const;
};

class EntryList {
 public:
  EntryList() = default;
  // A list moved from is empty, with no storage.
  EntryList(EntryList&& other) noexcept { *this = std::move(other); }
  EntryList& operator=(EntryList&& other) noexcept {
    if (this == &other) return *this;
    names_ = std::move(other.names_);
    positions_ = std::move(other.positions_);
    size_ = std::exchange(other.size_, 0);
    entry_room_ = std::exchange(other.entry_room_, 0);
    return *this;
  }
  EntryList(const EntryList& other);
  EntryList& operator=(const EntryList& other);

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view name(size_t i) const {
    const auto& starts = names_->starts;
    return std::string_view(names_->bytes.get() + starts[i], starts[i + 1] - starts[i] - 1);
  }
  Int position(size_t i) const { return positions_[i]; }
  EntryView operator[](size_t i) const { return {name(i), positions_[i]}; }
  EntryView front() const { return (*this)[0]; }
  // The names as one block, with what keeps them as they are now.
  NameBlock names() const;

  // Adds the entry named `name` followed by `suffix` (together holding no
  // "\n"), whose first line starts at the 1-based byte `position`. Throws
  // std::length_error when the names would pass 4 GiB.
  void Add(std::string_view name, std::string_view suffix, Int position);
  // Forgets every entry; the storage stays for the next entries.
  void Clear();
  // Room for `entries` entries and `name_bytes` bytes of names (the "\n"
  // after each counted), taken now: the list then grows by no copy until it
  // passes them. Room never used is never touched.
  void Reserve(size_t entries, size_t name_bytes);

  // Reading the entries in order: `for (EntryView e : list)`; two iterators'
  // difference counts the entries between them.
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = EntryView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = EntryView;

    Iterator() = default;
    Iterator(const EntryList& list, size_t at) : list_(&list), at_(at) {}
    EntryView operator*() const { return (*list_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator was = *this;
      ++at_;
      return was;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    difference_type operator-(const Iterator& other) const {
      return static_cast<difference_type>(at_) - static_cast<difference_type>(other.at_);
    }

   private:
    const EntryList* list_ = nullptr;
    size_t at_ = 0;
  };
  Iterator begin() const { return {*this, 0}; }
  Iterator end() const { return {*this, size()}; }

 private:
  // The names' storage, shared with whoever keeps a block of them.
  // The arrays of a big module's list are its largest fresh memory: they are
  // taken as large room (document/large_room.h). Each array's size is its
  // room; the entries fill its front.
  // The arrays' room is left unwritten as they grow: a page is touched only
  // when an entry is written to it.
  template <typename T>
  struct UnwrittenRoom : LargeRoomAllocator<T> {
    template <typename U>
    struct rebind {
      using other = UnwrittenRoom<U>;
    };
    UnwrittenRoom() = default;
    template <typename U>
    UnwrittenRoom(const UnwrittenRoom<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
      ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  };
  template <typename T>
  using Array = std::vector<T, UnwrittenRoom<T>>;
  struct Names {
    std::unique_ptr<char[], LargeRoomFree> bytes;  // the names, each followed by "\n"; `room` bytes
    size_t used = 0;                               // the bytes written
    size_t room = 0;
    Array<std::uint32_t> starts;  // where each name starts, then their end: size() + 1 of them
                                  // written, none while the list is empty
  };
  // The names' storage, this list's alone: a copy is made when it is kept elsewhere.
  Names& OwnNames() { return names_.use_count() == 1 ? *names_ : Detach(); }
  Names& Detach();
  static void GrowNames(Names& names, size_t need);
  // Add of an entry that needs room first, storage of its own, or a long copy.
  __attribute__((noinline)) void AddMakingRoom(std::string_view name, std::string_view suffix,
                                               Int position);

  // Takes note of the arrays' room (after they change size).
  void NoteRoom();

  std::shared_ptr<Names> names_;  // null: no names and no storage yet
  Array<Int> positions_;
  size_t size_ = 0;        // the entries
  size_t entry_room_ = 0;  // the entries the arrays have room for (the first start, 0, written)
};

}  // namespace qw
