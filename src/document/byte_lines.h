// Byte lines: how the document model cuts the bytes of a file into lines.
// A line ends at CR LF or at a bare LF; a lone CR is an ordinary byte. The
// last line of a file may have no line end. Every byte value passes through.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "platform/fault.h"

namespace qw {

// One line of a byte buffer. Offsets are 0-based byte offsets into the buffer.
struct ByteLine {
  std::string_view text;  // the line without its line end
  size_t start = 0;       // offset of the line's first byte
  size_t next = 0;        // offset of the byte after the line end
  std::string_view end;   // the line end itself: "\r\n", "\n" or "" (last line)
};

// The line that starts at offset `pos` and ends at the LF at offset `lf`
// (npos: at the end of the bytes, without a line end).
inline ByteLine LineEndingAt(std::string_view bytes, size_t pos, size_t lf) {
  ByteLine line;
  line.start = pos;
  if (lf == std::string_view::npos) {
    line.text = bytes.substr(pos);
    line.next = bytes.size();
    return line;
  }
  line.next = lf + 1;
  size_t text_end = lf;
  if (lf > pos && bytes[lf - 1] == '\r') --text_end;
  line.text = bytes.substr(pos, text_end - pos);
  line.end = bytes.substr(text_end, line.next - text_end);
  return line;
}

// The line that starts at offset `pos` (pos < bytes.size()).
inline ByteLine LineAt(std::string_view bytes, size_t pos) {
  const char* base = bytes.data();
  const void* lf = std::memchr(base + pos, '\n', bytes.size() - pos);
  return LineEndingAt(
      bytes, pos,
      lf ? static_cast<size_t>(static_cast<const char*>(lf) - base) : std::string_view::npos);
}

// Reads the lines of a byte buffer forwards from an offset, as FileLineReader
// reads those of a file.
class BytesLineReader {
 public:
  BytesLineReader(std::string_view bytes, size_t offset) : bytes_(bytes), pos_(offset) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // The next line; throws Fault(62) at the end of the bytes.
  ByteLine Next() {
    if (AtEnd()) throw Fault(kFaultInputPastEnd);
    const ByteLine line = LineAt(bytes_, pos_);
    pos_ = line.next;
    return line;
  }

 private:
  std::string_view bytes_;
  size_t pos_;
};

// The line end style of a text: that of its first line end, CR LF when it has
// none.
inline std::string_view LineEndStyle(std::string_view bytes) {
  const size_t lf = bytes.find('\n');
  if (lf == std::string_view::npos) return "\r\n";
  return (lf > 0 && bytes[lf - 1] == '\r') ? "\r\n" : "\n";
}

// The text with every CR LF and every bare LF written as `line_end`.
std::string WithLineEnds(std::string_view text, std::string_view line_end);

}  // namespace qw
