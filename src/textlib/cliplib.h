// ClipLib: the editor's string functions, in the manner of the xBase run-time
// library. Every text tool walks its text line by line with MLCount and
// MemoLine; the word scanners and the converter build on TakeWord, StrTran,
// ReplaceFirst, IsEmptyValue, IsAlpha and IsDigit.
//
// Strings are bytes. Positions are 1-based; 0 means "not found". A blank is the
// space character only (a tab is not); letters are ASCII A-Z and a-z, digits
// 0-9. A line end is the pair CR LF; a lone CR or LF is an ordinary character.
// Where the 16-bit limits apply (platform/limits.h), a position, length or
// count beyond 32,767 is fault 6.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/limits.h"
#include "textlib/value.h"

namespace qw {

// True for nothing, null, a string that is empty or all blanks, a number equal
// to 0, and the date 1 January 1901. A flag is empty when it is false.
bool IsEmptyValue(const Value& v);
inline bool IsEmptyValue(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// True when the first character of the value's string form is an ASCII
// letter / digit. A value whose first character is a blank, or that has none,
// gives false.
bool IsAlpha(const Value& v);
bool IsDigit(const Value& v);
bool IsAlpha(std::string_view s);
bool IsDigit(std::string_view s);

// Single-character tests of the design's alphabet (ASCII only).
inline bool IsLetterChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
// ASCII-only case mapping: bytes above 127 are never changed.
inline char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
inline char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
std::string Upper(std::string_view s);
std::string Lower(std::string_view s);
// Removes blanks (spaces only) at both ends / the left / the right.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);
// The text with leading and trailing blanks removed, as a view into `text`.
inline std::string_view TrimBlanks(std::string_view text) {
  size_t b = 0;
  size_t e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return text.substr(b, e - b);
}
// The 1-based position of `search` in `text` at or after `start`, letter case
// ignored (ASCII), or 0. An empty search string is found at `start`.
Int InStrNoCase(std::string_view text, std::string_view search, Int start = 1);

// Tests of a text, letter case ignored (ASCII) where the name says so. An
// empty `what` is held by every text; none of them fails.
inline bool Contains(std::string_view text, std::string_view what) {
  return text.find(what) != std::string_view::npos;
}
inline bool ContainsNoCase(std::string_view text, std::string_view what) {
  return InStrNoCase(text, what) > 0;
}
inline bool StartsNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (text[i] != prefix[i] && UpperChar(text[i]) != UpperChar(prefix[i])) return false;
  }
  return true;
}
// The eight bytes of `w` each as UpperChar makes it: a-z become A-Z.
inline std::uint64_t UpperChars8(std::uint64_t w) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
  const std::uint64_t low7 = w & ~kHigh;  // no sum below carries into the next byte
  const std::uint64_t from_a = low7 + (0x80 - 'a') * kOnes;
  const std::uint64_t past_z = low7 + (0x80 - 'z' - 1) * kOnes;
  const std::uint64_t small = from_a & ~past_z & ~w & kHigh;  // 0x80 where a byte is a-z
  return w - (small >> 2);
}
// StartsNoCase comparing eight bytes at a time: quicker where texts often
// share the first bytes of the prefix, slower where most differ at the first.
inline bool StartsNoCaseByWords(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  size_t i = 0;
  std::uint64_t a = 0, b = 0;
  for (; i + 8 <= prefix.size(); i += 8) {
    std::memcpy(&a, text.data() + i, 8);
    std::memcpy(&b, prefix.data() + i, 8);
    if (a != b && UpperChars8(a) != UpperChars8(b)) return false;
  }
  if (i == prefix.size()) return true;
  a = b = 0;  // the bytes after the prefix's last compare equal
  std::memcpy(&a, text.data() + i, prefix.size() - i);
  std::memcpy(&b, prefix.data() + i, prefix.size() - i);
  return a == b || UpperChars8(a) == UpperChars8(b);
}
inline bool EqualsNoCase(std::string_view text, std::string_view other) {
  return text.size() == other.size() && StartsNoCase(text, other);
}

// Replaces every occurrence of `search`, left to right without overlap;
// replaced text is never searched again. StrTranNoCase ignores letter case.
// An empty search string returns the text unchanged. Never fails.
std::string StrTran(std::string_view text, std::string_view search, std::string_view replacement);
std::string StrTranNoCase(std::string_view text, std::string_view search,
                          std::string_view replacement);

// Replaces the first occurrence of `search` (letter case ignored) in `text`
// itself, and returns the text.
std::string ReplaceFirst(std::string& text, std::string_view search, std::string_view replacement);

// Removes the first word from the front of `text` and returns it. A word
// character is a letter, a digit or a character of `extra`. Leading separators
// are skipped; the separator that ends the word is consumed with it; a text of
// blanks only is left as it is.
std::string TakeWord(std::string& text, std::string_view extra);

// The position of the last occurrence of `search` in `target` (exact), or 0.
// Lets pending user-interface events run before each of its searches.
Int RAt(std::string_view search, std::string_view target);

// The number of blanks before the first non-blank character.
Int CountLeadingBlanks(std::string_view text);

// The text trimmed of blanks, or the empty string when its characters other
// than digits and "/", trimmed, are fewer than ten (a date stamp with initials).
std::string SignificantText(std::string_view text);

// The number of lines of `text`: with width 0, lines end at CR LF and a CR LF
// at the very end starts no further line. With a positive width, lines are
// also wrapped at the last blank within the width. A fault is reported as a
// "Program Error" naming "MLCount", and 0 is returned.
Int MLCount(std::string_view text, Int width);

// Line `line` (1-based) of `text`, divided as MLCount divides it, without its
// CR LF; with width 0 unchanged, with a positive width trimmed. Keeps a line
// cursor between calls so that a walk over lines 1, 2, 3, ... of one text is
// linear: a call for the line after the previous one continues from there,
// any other call starts again at line 1. A line number out of range gives the
// empty string. A fault is reported as a "Program Error" naming "MemoLine",
// and the empty string is returned.
std::string MemoLine(std::string_view text, Int width, Int line);

// Resets the line cursor of MemoLine to its start state (0, 0).
void ResetMemoLineCursor();

}  // namespace qw
