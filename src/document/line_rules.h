// The line rules of the document model: the tests that say where an entry may
// start, whether a line is a procedure header and what the entry is called,
// and where an entry's text ends. Each looks at the line with its blanks
// (spaces only) trimmed and its ASCII letters upper-cased, unless said
// otherwise; bytes above 127 never match a letter.
//
// The indexer uses IndexerStop and HeaderName; reading an entry's text and
// skipping its old text in a save both use WhereEntryEnds (and, for the
// declarations, DeclarationsAreEmpty), so that a save replaces exactly the
// lines the edit pane showed. None of them allocates except HeaderName on a
// line that may be a header; none throws except through the word scanner,
// which traps its own faults.
//
// Every rule takes the index options: with property_and_friend off, the
// rules are the classic ones described below and nothing else; with it on,
// Property and Friend procedures are entries too (see IndexOptions).
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "convert/scanners.h"

namespace qw {

// Which procedures the entry list names. Off (the default), Property and
// Friend procedures are no entries: their code lies between entries or in
// the declarations. With property_and_friend on, a line that is, after any
// of the words Public, Private, Friend and Static (letter case ignored),
// 'Property Get|Let|Set NAME' starts an entry named 'NAME [Get]', 'NAME
// [Let]' or 'NAME [Set]' (NAME as written), one that is 'Friend Sub|Function
// NAME' (Friend among those words) starts an entry named NAME, and 'End
// Property' closes a procedure as 'End Sub' does. Declare lines never start
// an entry.
struct IndexOptions {
  bool property_and_friend = false;
  bool operator==(const IndexOptions&) const = default;
};

// Where the indexer stops after an entry: at a line that may be the next
// header (it begins with FUNCTION, FUNC, PROCEDURE or SUB and a blank, with
// PRIVATE SU, PRIVATE FU, PUBLIC FUN or PUBLIC SUB, or with STATIC and holds
// SUB or FUNCTION), or at a line that ends a procedure (it begins with END
// and holds SUB or FUNCTION). METHOD and PROC lines do not stop it.
enum class StopKind { kOrdinary = 0, kCandidateHeader = 1, kEndOfProcedure = 2 };
StopKind IndexerStop(std::string_view line, IndexOptions options);

// False when IndexerStop is kOrdinary, by any options, for every line whose
// text (blanks trimmed) begins with the bytes `first` and `second`: two bytes
// tell most lines apart before the line is read to its end.
inline bool MayStopIndexer(char first, char second) {
  const char a = static_cast<char>(first | 0x20), b = static_cast<char>(second | 0x20);
  return (a == 'f' || a == 'p' || a == 's' || a == 'e') &&
         (b == 'u' || b == 'r' || b == 't' || b == 'n');
}

// The entry's name when `line` is a procedure header, nothing otherwise. A
// header begins with a piece of "FUNC_SUB _METH_PROC" four characters long
// (the name is then the second code word), or with the scope words
// "Private", "Public" or "Static" in exactly that letter case, followed by
// FUNCTION, PROCEDURE, METHOD or SUB (the name is the next code word). The
// name may be empty: 'Sub' alone is a header with no name.
std::optional<std::string> HeaderName(std::string_view line, IndexOptions options);

// HeaderName without a copy: the name as written and what the entry's name
// adds to it (" [Get]", " [Let]", " [Set]", or nothing). `name` views `line`,
// or `spill` for a line too long for the word scanner to read in place.
struct HeaderParts {
  std::string_view name;
  std::string_view suffix;
};
std::optional<HeaderParts> HeaderNameParts(std::string_view line, IndexOptions options,
                                           std::string& spill);
// A header line this long or longer (blanks trimmed) is read by the word
// scanner itself, whose 16-bit limits it reaches: its name is then spilled.
inline constexpr size_t kLongHeaderLine = 32766;

// The usual header shapes, told in one go without reading the line to its
// end: "Sub " or "Function " (letter case ignored), at the start or after
// "Private ", "Public " or "Static " (as written, one blank after each), with
// a byte after the keyword's blank that is no blank and no line end.
// `text` points at a line's first byte that is not a blank, and the
// kUsualShapeReach bytes from there may be read (those of the lines after it
// too). For such a line the offset after the keyword and its blank: by any
// options the indexer stops there for a candidate header, and HeaderNameParts
// names it by the next code word from that offset. 0 for every other line.
inline constexpr size_t kUsualShapeReach = 18;
inline size_t UsualHeaderNameFrom(const char* text);

// The name of a header of a usual shape: the next code word of `text` (its
// line's text from the byte UsualHeaderNameFrom was given) from `from`, the
// offset it answered. The view is into `text`.
std::string_view UsualHeaderName(std::string_view text, size_t from);

// The name of a header of a usual shape read from the module's bytes, as the
// indexer names it without the rules: `bytes` holds the line, whose first byte
// that is not a blank is at `at`, UsualHeaderNameFrom gave it `from` (not 0),
// and its LF is at `lf` (npos: none). The code word right after the keyword's
// blank, a view into `bytes`; nothing when the name is left to the rules: it
// does not begin with a code word character, or the line has no LF or is
// kLongHeaderLine bytes or longer.
inline std::optional<std::string_view> UsualHeaderNameIn(std::string_view bytes, size_t at,
                                                         size_t from, size_t lf);

// True when the line at `text` (as above, kUsualShapeReach bytes readable)
// begins with END SUB or END FUNCTION, letter case ignored: by any options the
// indexer stops there for the end of a procedure.
inline bool UsualProcedureEnd(const char* text);

// False when HeaderName is nothing, by any options, for every line whose text
// (blanks trimmed) begins with the byte `first` and then `second` (a blank or
// a line end when the text is `first` alone). Two table look-ups.
constexpr bool MayBeHeader(char first, char second);

// False when IndexerStop is kOrdinary, by any options, for the line whose
// text begins at the start of `from` (its line end the first LF of `from`,
// else the end of `from`): every line where the indexer stops holds a U or a
// Y, either case (SUB, FUNCTION, PROCEDURE, PROPERTY). Reads 16 bytes at a
// time, never past `from`.
bool MayHoldStopWord(std::string_view from);

// False when HeaderName is nothing, by the given options, for the line whose
// text (blanks trimmed) begins at `text`, told by its first four bytes
// (readable, though they may reach into the next line): the rules name a
// header only when those four, upper-cased, are a piece of
// "FUNC_SUB _METH_PROC" or begin a scope word, or, with property_and_friend,
// begin with P, F or S. A fourth byte that is a blank may end the text (only
// blanks after it): the bytes before it are then tested too. True when a
// line end is among the four.
inline bool MayBeHeaderByFour(const char* text, IndexOptions options);

// For a line of fewer than kLongHeaderLine bytes whose text begins at the
// start of `from` with "Private ", "Public " or "Static " (as written, one
// blank) and a code word character right after: false when HeaderName,
// options off, is nothing, which the rules tell by that code word alone (it
// must occur, upper-cased, in "FUNCTION_PROCEDURE_METHOD_SUB"). True for
// every other line.
bool ScopeLineMayBeHeader(std::string_view from);

// The line closes a procedure: it begins with END and a blank, and its
// second blank-delimited word is exactly FUNCTION or SUB ('End  Sub', 'END
// FUNCTION', 'End Sub ' done'; not 'End Sub: x' nor 'End Sub'x').
bool EndsProcedure(std::string_view line, IndexOptions options);

// The line starts the next entry: it begins with FUNCTION, PROCEDURE, FUNC ,
// PROC , SUB  or METHOD , or its first ten characters are STATIC SUB, STATIC
// FUN, STATIC PRO, PUBLIC FUN, PUBLIC SUB, PRIVATE FU or PRIVATE SU.
// FUNCTION and PROCEDURE need no blank after them: 'FunctionCount = 1'
// starts the next entry.
bool StartsNextEntry(std::string_view line, IndexOptions options);

// Where an entry's text ends, told by each line after its first one (the
// first line, a header or the declarations' first line, always belongs to
// the entry): the line closes the procedure and is its last line, or it
// starts the next entry and is not part of this one, or neither.
enum class EntryEnd { kNotHere, kAfterThisLine, kBeforeThisLine };
EntryEnd WhereEntryEnds(std::string_view line, IndexOptions options);

// True when the declarations of a module are empty because its first line
// (raw, as read) is already a procedure header. A blank line never is.
bool DeclarationsAreEmpty(std::string_view first_line, IndexOptions options);

namespace line_rules_detail {

// Eight bytes of a text as one number, as a load from memory gives them: the
// pattern's bytes (`kind` 0), a mask of 0xff over them (1), or 0x20 over each
// of its letters (2), so that (bytes | fold) & mask == pattern ignores their case.
template <size_t N>
constexpr uint64_t Eight(const char (&pattern)[N], int kind) {
  static_assert(N - 1 <= 8);
  std::array<char, 8> a{};
  for (size_t i = 0; i + 1 < N; ++i) {
    const bool letter = (pattern[i] | 0x20) >= 'a' && (pattern[i] | 0x20) <= 'z';
    a[i] = kind == 0 ? pattern[i] : kind == 1 ? '\xff' : letter ? ' ' : '\0';
  }
  return std::bit_cast<uint64_t>(a);
}

inline uint64_t LoadEight(const char* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// True when the bytes at `p` begin with `pattern` (lower case), letter case ignored.
template <size_t N>
bool StartsFolded(const char* p, const char (&pattern)[N]) {
  return ((LoadEight(p) | Eight(pattern, 2)) & Eight(pattern, 1)) == Eight(pattern, 0);
}

// The length of the scope word and its blank that `text` (eight bytes
// readable) begins with: "Private ", "Public " or "Static " as written; 0 for none.
inline size_t UsualScopeLength(const char* text) {
  const uint64_t head = LoadEight(text);
  if (head == Eight("Private ", 0)) return 8;
  const uint64_t seven = head & Eight("Public ", 1);
  return seven == Eight("Public ", 0) || seven == Eight("Static ", 0) ? 7 : 0;
}

// MayBeHeader by cases: each letter of "FUNC_SUB _METH_PROC", with the byte
// after it there, and the first two of a scope word or PROPERTY.
constexpr bool MayBeHeaderByCases(char first, char second) {
  const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  const char b = upper(second);
  const bool alone = b == ' ' || b == '\r' || b == '\n';
  switch (upper(first)) {
    case 'F':
      return alone || b == 'U' || b == 'R';
    case 'U':
      return alone || b == 'N' || b == 'B';
    case 'N':
      return alone || b == 'C';
    case 'C':
      return alone || b == '_';
    case '_':
      return alone || b == 'S' || b == 'M' || b == 'P';
    case 'S':
      return alone || b == 'U' || b == 'T';
    case 'B':
      return alone;
    case 'M':
      return alone || b == 'E';
    case 'E':
      return alone || b == 'T';
    case 'T':
      return alone || b == 'H';
    case 'H':
      return alone || b == '_';
    case 'P':
      return alone || b == 'R' || b == 'U';
    case 'R':
      return alone || b == 'O';
    case 'O':
      return alone || b == 'C';
    default:
      return false;
  }
}

// MayBeHeaderByCases as two look-ups: the second bytes fall into classes
// (a blank or line end; each letter either case, and "_"), bit k of
// seconds[b] the class of b (none: 0), and bit k of firsts[a] set when a
// second byte of class k may follow the first byte a. Built from the cases
// themselves (line_rules.cpp checks every pair against them).
struct HeaderPairs {
  static constexpr std::string_view kClasses = " URNBC_SMTEHOP";  // one byte of each class
  std::array<uint16_t, 256> firsts{};
  std::array<uint16_t, 256> seconds{};
  constexpr HeaderPairs() {
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
      const char key = (c == '\r' || c == '\n') ? ' ' : upper;
      const size_t k = kClasses.find(key);
      if (k != std::string_view::npos)
        seconds[static_cast<size_t>(b)] = static_cast<uint16_t>(1u << k);
    }
    for (int a = 0; a < 256; ++a) {
      for (size_t k = 0; k < kClasses.size(); ++k) {
        if (MayBeHeaderByCases(static_cast<char>(a), kClasses[k])) {
          firsts[static_cast<size_t>(a)] |= static_cast<uint16_t>(1u << k);
        }
      }
    }
  }
};
inline constexpr HeaderPairs kHeaderPairs;

}  // namespace line_rules_detail

constexpr bool MayBeHeader(char first, char second) {
  using line_rules_detail::kHeaderPairs;
  return (kHeaderPairs.firsts[static_cast<unsigned char>(first)] &
          kHeaderPairs.seconds[static_cast<unsigned char>(second)]) != 0;
}

inline size_t UsualHeaderNameFrom(const char* text) {
  using line_rules_detail::StartsFolded;
  const size_t k = line_rules_detail::UsualScopeLength(text);  // where the keyword begins
  size_t from = 0;
  if (StartsFolded(text + k, "sub ")) {
    from = k + 4;
  } else if (StartsFolded(text + k, "function") && text[k + 8] == ' ') {
    from = k + 9;
  }
  // The line goes on after the blank: a keyword with only blanks after it
  // stops the indexer by some shapes and not by others.
  const char next = text[from];
  return next == ' ' || next == '\r' || next == '\n' ? 0 : from;
}

inline bool MayBeHeaderByFour(const char* text, IndexOptions options) {
  const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  const auto ends = [](char c) { return c == '\r' || c == '\n'; };
  if (ends(text[1]) || ends(text[2]) || ends(text[3])) return true;  // a short line
  const char first = upper(text[0]);
  if (options.property_and_friend && (first == 'P' || first == 'F' || first == 'S')) return true;
  const std::array<char, 4> key = {first, upper(text[1]), upper(text[2]), upper(text[3])};
  constexpr std::string_view kPieces = "FUNC_SUB _METH_PROC";
  const std::string_view four(key.data(), 4);
  if (kPieces.find(four) != std::string_view::npos) return true;
  if (four == "PUBL" || four == "STAT" || four == "PRIV") return true;
  if (key[3] != ' ') return false;
  // Only blanks may follow: the text is then the bytes before them.
  size_t n = 3;
  while (key[n - 1] == ' ') --n;
  return kPieces.find(four.substr(0, n)) != std::string_view::npos;
}

inline std::optional<std::string_view> UsualHeaderNameIn(std::string_view bytes, size_t at,
                                                         size_t from, size_t lf) {
  // A name that begins right there ends where the bytes stop being a code
  // word: at the line's end at the latest (CR and LF are none). Other lines,
  // and those too long for the word scanner to read in place, go the rules' way.
  const size_t name = at + from;
  if (!IsCodeWordChar(bytes[name]) || lf == std::string_view::npos || lf - at >= kLongHeaderLine) {
    return std::nullopt;
  }
  return bytes.substr(name, CodeWordEnd(bytes, name) - name);
}

inline bool UsualProcedureEnd(const char* text) {
  using line_rules_detail::StartsFolded;
  return StartsFolded(text, "end sub") ||
         (StartsFolded(text, "end func") && StartsFolded(text + 8, "tion"));
}

}  // namespace qw
