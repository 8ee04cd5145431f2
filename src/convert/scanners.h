// The word scanners: they cut source text into words for the entry-list
// builder and the xBase-to-Basic converter. The first four take a text,
// remove the next word from its front and return it (an empty string when
// none is left); GetNextWord reads tokens from the shared scan state over one
// line. Each traps its own faults: the report names the scanner, and the
// scanner returns the empty string, the text keeping what was consumed.
#pragma once

#include <string>

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
