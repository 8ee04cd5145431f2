// The description block of a form file: from its first line (the version
// line) through the "End" line that closes the outermost "Begin". Nested
// property blocks open with lines beginning "Begin" and close with lines
// beginning "End" and are counted alike (letter case counts, leading and
// trailing blanks do not). The block belongs to no entry: the indexer passes
// over it, and a save of the form's declarations copies it unchanged.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace qw {

// The 0-based byte offset just after the block's closing line in `bytes`, the
// whole form file; nothing when the block never closes. Throws Fault 6 when
// the depth of nested blocks leaves the 16-bit range under the classic limits.
std::optional<size_t> FormBlockEnd(std::string_view bytes);

}  // namespace qw
