// NameBlock: a view of a list of names stored in one block of bytes, as the
// index keeps its entries' names and the entry list takes them. Name i is the
// bytes [starts[i], starts[i + 1] - 1) of `bytes`: the first name starts at 0,
// each name is followed by one "\n" (names hold none) and the last "\n" ends
// the block, so the block can be searched whole without a match running from
// one name into the next. With `keep`, the block may be kept past the call it
// is handed to: whoever holds `keep` sees the bytes and starts unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace qw {

struct NameBlock {
  std::string_view bytes;                 // every name, each followed by "\n"
  std::span<const std::uint32_t> starts;  // where each name starts, then the end of the last "\n"
  std::shared_ptr<const void> keep;       // null: valid during the call only

  size_t size() const { return starts.empty() ? 0 : starts.size() - 1; }
  // The bytes of name `i` (0 <= i < size()).
  std::string_view name(size_t i) const {
    return bytes.substr(starts[i], starts[i + 1] - starts[i] - 1);
  }
};

}  // namespace qw
