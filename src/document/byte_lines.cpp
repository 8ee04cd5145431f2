#include "document/byte_lines.h"

namespace qw {

std::string WithLineEnds(std::string_view text, std::string_view line_end) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  size_t pos = 0;
  while (pos < text.size()) {
    const ByteLine line = LineAt(text, pos);
    out.append(line.text);
    if (!line.end.empty()) out.append(line_end);
    pos = line.next;
  }
  return out;
}

}  // namespace qw
