// EntryFilter: the names of the entry list, kept for finding every entry
// whose name holds a given part. Letters are compared without regard to case
// (ASCII letters only; every other byte must match exactly). One search walks
// one flat buffer of all the names once, so a keystroke costs a scan of the
// names' bytes, whatever the number of entries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qw {

class EntryFilter {
 public:
  // Replaces the names; item i of `names` is entry i.
  void SetNames(const std::vector<std::string>& names);
  size_t size() const { return starts_.empty() ? 0 : starts_.size() - 1; }

  // The indices of the entries whose names hold `part`, in list order, into
  // `out` (cleared first). An empty part matches nothing.
  void Find(std::string_view part, std::vector<int>& out) const;

  // The indices of the (at most) `count` longest names, longest first; ties
  // in list order.
  std::vector<int> Longest(size_t count) const;

 private:
  std::string folded_;                 // every name upper-cased, each followed by "\n"
  std::vector<std::uint32_t> starts_;  // where each name starts in folded_, then its end
};

}  // namespace qw
