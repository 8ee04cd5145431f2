// EntryFilter: the names of the entry list, kept for finding every entry whose
// name holds a given part. Letters are compared without regard to case (ASCII
// letters only; every other byte must match exactly). The names are kept once,
// as given, in one flat block; a search goes through the block once, from one
// place of the part's rarest byte to the next, so a keystroke costs at most a
// scan of the names' bytes, whatever the number of entries. A part that holds
// the part searched before searches only what that found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/name_block.h"

namespace qw {

class EntryFilter {
 public:
  EntryFilter() = default;
  EntryFilter(const EntryFilter&) = delete;  // the names may be views of its own copy
  EntryFilter& operator=(const EntryFilter&) = delete;

  // Replaces the names by those of `names`: kept as they are when they come
  // with what keeps them, else copied as one block.
  void SetNames(NameBlock names);
  // Replaces the names by `names`, which hold no "\n".
  void SetNames(const std::vector<std::string>& names);
  size_t size() const { return names_.size(); }
  // The bytes of name `i` (0 <= i < size()), as given.
  std::string_view name(size_t i) const { return names_.name(i); }

  // The indices of the entries whose names hold `part`, in list order, into
  // `out` (cleared first). An empty part matches nothing.
  void Find(std::string_view part, std::vector<int>& out) const;
  // The same, where `found` holds what Find found for `previous` (for the
  // names held now): when `part` holds `previous`, only those are searched.
  void FindNext(std::string_view previous, std::string_view part, std::vector<int>& found) const;

  // The indices of the (at most) `count` longest names, longest first; ties
  // in list order.
  std::vector<int> Longest(size_t count) const;

 private:
  // Counts the bytes of a sample of the names into seen_.
  void Sample();

  NameBlock names_;        // the names searched, kept as given or views of the copy below
  std::string own_bytes_;  // a copy of names given without what keeps them
  std::vector<std::uint32_t> own_starts_;
  // How often each byte occurs (letters upper-cased) in a sample of the
  // names: a search looks for the part's rarest byte.
  std::vector<std::uint32_t> seen_ = std::vector<std::uint32_t>(256);
};

}  // namespace qw
