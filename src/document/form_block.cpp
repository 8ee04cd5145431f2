#include "document/form_block.h"

#include "document/byte_lines.h"
#include "platform/limits.h"
#include "textlib/cliplib.h"

namespace qw {

std::optional<size_t> FormBlockEnd(std::string_view bytes) {
  Int depth = 0;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const ByteLine line = LineAt(bytes, pos);
    pos = line.next;
    const std::string_view t = TrimBlanks(line.text);
    if (t.starts_with("Begin")) {
      depth = Check16(depth + 1);
    } else if (t.starts_with("End")) {
      depth = Check16(depth - 1);
      if (depth == 0) return pos;
    }
  }
  return std::nullopt;
}

}  // namespace qw
