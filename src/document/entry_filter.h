// EntryFilter: the names of the entry list, kept as given and upper-cased for
// finding every entry whose name holds a given part. Letters are compared
// without regard to case (ASCII letters only; every other byte must match
// exactly). One search walks one flat buffer of all the names once, so a
// keystroke costs a scan of the names' bytes, whatever the number of entries;
// a part that holds the part searched before searches only what that found.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qw {

class EntryFilter {
 public:
  // Replaces the names; item i of `names` is entry i. Names hold no "\n".
  void SetNames(std::span<const std::string_view> names);
  void SetNames(const std::vector<std::string>& names);
  size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  // The bytes of name `i` (0 <= i < size()), as given.
  std::string_view name(size_t i) const {
    return std::string_view(names_).substr(starts_[i], starts_[i + 1] - starts_[i] - 1);
  }

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
  std::string names_;                  // every name as given, each followed by "\n"
  std::string folded_;                 // the same, upper-cased
  std::vector<std::uint32_t> starts_;  // where each name starts in both, then their end
  // How often each byte occurs in a sample of folded_: a search looks for
  // the part's rarest byte first.
  std::vector<std::uint32_t> seen_ = std::vector<std::uint32_t>(256);
};

}  // namespace qw
