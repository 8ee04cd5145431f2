// The word scanners: they cut source text into words for the entry-list
// builder and the xBase-to-Basic converter. The first four take a text,
// remove the next word from its front and return it (an empty string when
// none is left); GetNextWord reads tokens from the shared scan state over one
// line. Each traps its own faults: the report names the scanner, and the
// scanner returns the empty string, the text keeping what was consumed.
#pragma once

#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/limits.h"

namespace qw {

// The characters of a code word: ASCII letters and digits, "_" "!" "'"
// double quote and ".". A blank or "(" ends a code word.
struct CodeWordChars {
  bool is_word[256] = {};
  constexpr CodeWordChars() {
    for (int c = 0; c < 256; ++c) {
      is_word[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '_' || c == '!' || c == '\'' || c == '"' || c == '.';
    }
  }
};
inline constexpr CodeWordChars kCodeWordChars;
inline bool IsCodeWordChar(char c) {
  return kCodeWordChars.is_word[static_cast<unsigned char>(c)];
}

#if defined(__SSE2__)
namespace scan_detail {
// Bit i: byte i of the 16 at `p` is a code word character. Each range of
// bytes is moved to the bottom of the signed bytes, where one compare tells
// it (bytes above 127 fall outside every range).
inline unsigned CodeWordMask(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const auto in = [](__m128i x, char low, int count) {  // low <= x < low + count, unsigned
    const __m128i moved = _mm_add_epi8(x, _mm_set1_epi8(static_cast<char>(-128 - low)));
    return _mm_cmplt_epi8(moved, _mm_set1_epi8(static_cast<char>(-128 + count)));
  };
  const auto is = [&v](char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); };
  const __m128i letter = in(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 26);
  const __m128i word = _mm_or_si128(
      _mm_or_si128(letter, in(v, '0', 10)),
      _mm_or_si128(in(v, '!', 2), _mm_or_si128(_mm_or_si128(is('_'), is('\'')), is('.'))));
  return static_cast<unsigned>(_mm_movemask_epi8(word));
}
}  // namespace scan_detail
#endif

// The offset of the first byte of `s` at or after `pos` (at most s.size())
// that is not a code word character: where a word read from `pos` ends, or
// `pos` itself. Reads 16 bytes at a time, never past `s`.
inline size_t CodeWordEnd(std::string_view s, size_t pos) {
#if defined(__SSE2__)
  if (s.size() < 16) {
    while (pos < s.size() && IsCodeWordChar(s[pos])) ++pos;
    return pos;
  }
  while (pos < s.size()) {
    const size_t left = s.size() - pos;
    // The last bytes are read as the 16 that end `s`, shifted down to `pos`.
    const unsigned mask = left >= 16
                              ? scan_detail::CodeWordMask(s.data() + pos)
                              : scan_detail::CodeWordMask(s.data() + s.size() - 16) >> (16 - left);
    if (mask != 0xffff) return pos + static_cast<size_t>(__builtin_ctz(~mask));
    pos += 16;
  }
  return s.size();
#else
  while (pos < s.size() && IsCodeWordChar(s[pos])) ++pos;
  return pos;
#endif
}

// The next code word. Reports a fault as a "Program Error" naming
// "GetNextVBWord".
std::string GetNextVBWord(std::string& text);
// The next code word; reports a fault in the procedure error box.
std::string GetNextCodeWord(std::string& text);
// Every character but the blank; reports a fault in the procedure error box.
std::string GetNextSpacedWord(std::string& text);
// One operand of an expression: a double-quoted run is one piece of a word,
// blanks included; "(" ")" "[" "]" are word characters besides the code word
// characters, parentheses are
// counted and unmatched ones dropped. Reports as "GetNextPSOWord".
std::string GetNextPSOWord(std::string& text);

// The shared scan state of GetNextWord. The caller sets all three before the
// first call: ScanText to the line, ScanPos to 1, ScanEnd to its length.
struct ScanState {
  std::string ScanText;
  Int ScanPos = 1;  // next character to read, 1-based (16-bit)
  Int ScanEnd = 0;  // last character to read (32-bit)
};
ScanState& TheScanState();
// Sets the scan state to walk `line` from its start.
void StartScan(const std::string& line);

// The next token of the scan: a run of blanks, a run of ordinary characters,
// a line end (CR or CR LF) or one marker character (codes 223, 181, 239,
// 167). The empty string only at the end. Reports as "GetNextWord".
std::string GetNextWord();

}  // namespace qw
