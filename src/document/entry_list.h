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
  EntryList(EntryList&&) noexcept = default;
  EntryList& operator=(EntryList&&) noexcept = default;
  EntryList(const EntryList& other);
  EntryList& operator=(const EntryList& other);

  size_t size() const { return positions_.size(); }
  bool empty() const { return positions_.empty(); }
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
  // taken as large room (document/large_room.h).
  template <typename T>
  using Array = std::vector<T, LargeRoomAllocator<T>>;
  struct Names {
    std::unique_ptr<char[], LargeRoomFree> bytes;  // the names, each followed by "\n"; `room` bytes
    size_t used = 0;                               // the bytes written
    size_t room = 0;
    Array<std::uint32_t> starts;  // where each name starts, then their end (empty: none)
  };
  // The names' storage, this list's alone: a copy is made when it is kept elsewhere.
  Names& OwnNames() { return names_.use_count() == 1 ? *names_ : Detach(); }
  Names& Detach();
  static void GrowNames(Names& names, size_t need);

  std::shared_ptr<Names> names_;  // null: no names and no storage yet
  Array<Int> positions_;
};

}  // namespace qw
