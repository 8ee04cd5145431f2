#include "document/line_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "convert/scanners.h"
#include "textlib/cliplib.h"

namespace qw {

namespace {

// The two look-ups answer as the cases for every pair of bytes.
constexpr bool PairsAnswerAsTheCases() {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const char first = static_cast<char>(a), second = static_cast<char>(b);
      if (MayBeHeader(first, second) != line_rules_detail::MayBeHeaderByCases(first, second)) {
        return false;
      }
    }
  }
  return true;
}
static_assert(PairsAnswerAsTheCases());

// True when `u` holds SUB or FUNCTION, letter case ignored. Both words have
// a U second: the text is searched for a U eight bytes at a time, its last
// bytes read as the eight that end it.
bool ContainsSubOrFunction(std::string_view u) {
  const auto word_at = [u](size_t i) {  // the U at `i` is one of the words'
    const std::string_view from = u.substr(i - 1);
    return StartsNoCase(from, "SUB") || StartsNoCase(from, "FUNCTION");
  };
  const size_t n = u.size();
  if (n < 9) {
    for (size_t i = 1; i < n; ++i) {
      if ((u[i] | 0x20) == 'u' && word_at(i)) return true;
    }
    return false;
  }
  const uint64_t ones = 0x0101010101010101;
  for (size_t i = 1;; i += 8) {
    const size_t at = std::min(i, n - 8);  // the bytes before `i` are looked at
    uint64_t bytes = 0;
    std::memcpy(&bytes, u.data() + at, 8);
    const uint64_t x = (bytes | ones * 0x20) ^ (ones * 'u');  // a zero byte where a U is
    if (((x - ones) & ~x & ones * 0x80) != 0) {
      for (size_t k = i; k < at + 8; ++k) {
        if ((u[k] | 0x20) == 'u' && word_at(k)) return true;
      }
    }
    if (at + 8 == n) return false;
  }
}

// The first `n` characters of `s`, upper-cased (fewer when `s` is shorter).
std::string UpperHead(std::string_view s, size_t n) {
  std::string head(s.substr(0, n));
  for (char& c : head) c = UpperChar(c);
  return head;
}

// The next blank-delimited word of `s` from offset `pos`; `pos` moves past it.
std::string_view NextBlankWord(std::string_view s, size_t& pos) {
  while (pos < s.size() && s[pos] == ' ') ++pos;
  const size_t b = pos;
  while (pos < s.size() && s[pos] != ' ') ++pos;
  return s.substr(b, pos - b);
}

// A Property or Friend procedure header, taken apart: the procedure's name
// as written and what its entry name adds ("" for a Friend Sub or Function).
struct PropertyOrFriend {
  std::string_view name;
  std::string_view suffix;
};

// The next word of code characters of `s` from `pos` (separators before it
// skipped); `pos` moves past it. Empty at the end of `s`.
std::string_view NextCodeWord(std::string_view s, size_t& pos) {
  while (pos < s.size() && !IsCodeWordChar(s[pos])) ++pos;
  const size_t b = pos;
  pos = CodeWordEnd(s, pos);
  return s.substr(b, pos - b);
}

// The Property or Friend header in `trimmed` (a line without its outer
// blanks), when it is one. Such a line begins with P, F or S.
std::optional<PropertyOrFriend> PropertyOrFriendHeader(std::string_view trimmed) {
  if (trimmed.empty()) return std::nullopt;
  const char first = UpperChar(trimmed[0]);
  if (first != 'P' && first != 'F' && first != 'S') return std::nullopt;
  size_t pos = 0;
  bool friend_scope = false;
  std::string_view w = NextCodeWord(trimmed, pos);
  for (int scopes = 0; scopes < 4; ++scopes) {
    const bool is_friend = EqualsNoCase(w, "FRIEND");
    if (!is_friend && !EqualsNoCase(w, "PUBLIC") && !EqualsNoCase(w, "PRIVATE") &&
        !EqualsNoCase(w, "STATIC")) {
      break;
    }
    friend_scope = friend_scope || is_friend;
    w = NextCodeWord(trimmed, pos);
  }
  if (EqualsNoCase(w, "PROPERTY")) {
    const std::string_view kind = NextCodeWord(trimmed, pos);
    std::string_view suffix;
    if (EqualsNoCase(kind, "GET")) {
      suffix = " [Get]";
    } else if (EqualsNoCase(kind, "LET")) {
      suffix = " [Let]";
    } else if (EqualsNoCase(kind, "SET")) {
      suffix = " [Set]";
    } else {
      return std::nullopt;
    }
    const std::string_view name = NextCodeWord(trimmed, pos);
    if (name.empty()) return std::nullopt;
    return PropertyOrFriend{name, suffix};
  }
  if (friend_scope && (EqualsNoCase(w, "SUB") || EqualsNoCase(w, "FUNCTION"))) {
    const std::string_view name = NextCodeWord(trimmed, pos);
    if (name.empty()) return std::nullopt;
    return PropertyOrFriend{name, {}};
  }
  return std::nullopt;
}

// True when the trimmed line `u` begins with END and holds PROPERTY.
bool EndsPropertyLoosely(std::string_view u) {
  return StartsNoCase(u, "END") && ContainsNoCase(u, "PROPERTY");
}

}  // namespace

bool MayHoldStopWord(std::string_view from) {
  const auto stop_letter = [](char c) { return (c | 0x20) == 'u' || (c | 0x20) == 'y'; };
  size_t pos = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), lower = _mm_set1_epi8(0x20);
  const __m128i u = _mm_set1_epi8('u'), y = _mm_set1_epi8('y');
  for (; pos + 16 <= from.size(); pos += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from.data() + pos));
    const __m128i folded = _mm_or_si128(v, lower);
    const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    const unsigned letters = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(folded, u), _mm_cmpeq_epi8(folded, y))));
    // The bits of the bytes before the first LF, all 16 when there is none.
    const unsigned before = ends == 0 ? 0xffffu : (ends & (~ends + 1)) - 1;
    if ((letters & before) != 0) return true;
    if (ends != 0) return false;
  }
#endif
  for (; pos < from.size() && from[pos] != '\n'; ++pos) {
    if (stop_letter(from[pos])) return true;
  }
  return false;
}

StopKind IndexerStop(std::string_view line, IndexOptions options) {
  const std::string_view u = TrimBlanks(line);
  if (u.empty()) return StopKind::kOrdinary;
  if (options.property_and_friend) {
    if (PropertyOrFriendHeader(u)) return StopKind::kCandidateHeader;
    if (EndsPropertyLoosely(u)) return StopKind::kEndOfProcedure;
  }
  switch (UpperChar(u[0])) {
    case 'F':
      if (StartsNoCase(u, "FUNCTION ") || StartsNoCase(u, "FUNC ")) {
        return StopKind::kCandidateHeader;
      }
      break;
    case 'P':
      if (StartsNoCase(u, "PROCEDURE ") || StartsNoCase(u, "PRIVATE SU") ||
          StartsNoCase(u, "PRIVATE FU") || StartsNoCase(u, "PUBLIC FUN") ||
          StartsNoCase(u, "PUBLIC SUB")) {
        return StopKind::kCandidateHeader;
      }
      break;
    case 'S':
      if (StartsNoCase(u, "SUB ")) return StopKind::kCandidateHeader;
      if (StartsNoCase(u, "STATIC") && ContainsSubOrFunction(u)) {
        return StopKind::kCandidateHeader;
      }
      break;
    case 'E':
      if (!StartsNoCase(u, "END")) break;
      // The usual closing lines first; any line that begins with END and
      // holds SUB or FUNCTION anywhere ends a procedure too.
      if (StartsNoCase(u, "END SUB") || StartsNoCase(u, "END FUNCTION") ||
          ContainsSubOrFunction(u)) {
        return StopKind::kEndOfProcedure;
      }
      break;
    default:
      break;
  }
  return StopKind::kOrdinary;
}

namespace {

// Exact comparison of short texts, without a library call.
template <size_t N>
bool Same(std::string_view text, const char (&literal)[N]) {
  if (text.size() != N - 1) return false;
  for (size_t i = 0; i + 1 < N; ++i) {
    if (text[i] != literal[i]) return false;
  }
  return true;
}

// True when `key` occurs in `text` (both already in capitals); short texts only.
bool Occurs(std::string_view text, std::string_view key) {
  return text.find(key) != std::string_view::npos;
}

// Takes words from a line as GetNextCodeWord takes them from the front of a
// text (separators before a word skipped, the one after it consumed, nothing
// taken from a rest of blanks), without copying the line. Lines longer than
// the 16-bit limits allow go through GetNextCodeWord itself, so that its
// fault report stays the same. The line has no blanks at its end (a rest of
// blanks is then never left to be read).
class CodeWords {
 public:
  explicit CodeWords(std::string_view trimmed)
      : line_(trimmed), end_(trimmed.size()), slow_(trimmed.size() >= kLongHeaderLine) {
    if (slow_) rest_.assign(trimmed);
  }
  // True for a line read by the word scanner itself.
  bool slow() const { return slow_; }
  // The next word; the view is valid until the next call.
  std::string_view Next() {
    if (slow_) {
      word_ = GetNextCodeWord(rest_);
      return word_;
    }
    size_t pos = pos_;  // kept in a register, not in the object
    while (pos < end_ && !IsCodeWordChar(line_[pos])) ++pos;
    const size_t begin = pos;
    // The line ends at end_: so does its last word.
    pos = CodeWordEnd(line_, pos);
    pos_ = pos < end_ ? pos + 1 : pos;  // past the separator after the word
    return line_.substr(begin, pos - begin);
  }

 private:
  std::string_view line_;
  size_t end_;  // the line's size
  size_t pos_ = 0;
  bool slow_;
  std::string rest_;
  std::string word_;
};

// True when `word`, upper-cased, occurs in `upper_text`.
bool OccursUpper(std::string_view upper_text, std::string_view word) {
  if (word.size() > upper_text.size()) return false;
  if (word.size() == 8 && StartsNoCase(word, "FUNCTION")) return true;  // the usual words
  if (word.size() == 3 && StartsNoCase(word, "SUB")) return true;
  char buf[64];
  for (size_t i = 0; i < word.size(); ++i) buf[i] = UpperChar(word[i]);
  return Occurs(upper_text, std::string_view(buf, word.size()));
}

}  // namespace

bool ScopeLineMayBeHeader(std::string_view from) {
  if (from.size() < 9) return true;
  const size_t k = line_rules_detail::UsualScopeLength(from.data());
  if (k == 0 || !IsCodeWordChar(from[k])) return true;
  return OccursUpper("FUNCTION_PROCEDURE_METHOD_SUB", from.substr(k, CodeWordEnd(from, k) - k));
}

std::string_view UsualHeaderName(std::string_view text, size_t from) {
  return NextCodeWord(text, from);
}

std::optional<HeaderParts> HeaderNameParts(std::string_view line, IndexOptions options,
                                           std::string& spill) {
  const std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty()) return std::nullopt;
  if (options.property_and_friend) {
    if (const auto header = PropertyOrFriendHeader(trimmed)) {
      return HeaderParts{header->name, header->suffix};
    }
  }
  // A key can only be a piece of "FUNC_SUB _METH_PROC" or one of the scope
  // words: most lines are turned away by their first letter.
  if (!MayBeHeader(trimmed[0], ' ')) return std::nullopt;  // by the first byte alone
  char head[4];
  const size_t n = std::min<size_t>(4, trimmed.size());
  for (size_t i = 0; i < n; ++i) head[i] = UpperChar(trimmed[i]);
  const std::string_view key(head, n);
  // The scope words never occur in "FUNC_SUB _METH_PROC": they are told first.
  const bool scope = Same(key, "PUBL") || Same(key, "STAT") || Same(key, "PRIV");
  // The name, the next word of `words`, kept where it outlives them.
  const auto name = [&spill](CodeWords& words) {
    const std::string_view word = words.Next();
    if (!words.slow()) return HeaderParts{word, {}};
    spill.assign(word);
    return HeaderParts{spill, {}};
  };
  if (!scope) {
    const bool usual_keyword =
        Same(key, "FUNC") || Same(key, "SUB ") || Same(key, "PROC") || Same(key, "METH");
    if (!usual_keyword && !Occurs("FUNC_SUB _METH_PROC", key)) return std::nullopt;
    CodeWords words(trimmed);
    words.Next();  // the keyword
    return name(words);
  }
  CodeWords words(trimmed);
  std::string_view w = words.Next();
  // Letter case counts here: after "Private" or "Public" the next word is
  // upper-cased, so "Static" can follow only as the first word.
  if (Same(w, "Private") || Same(w, "Public") || Same(w, "Static")) w = words.Next();
  if (w.empty()) return std::nullopt;  // a word holds no blank: empty is blank
  if (!OccursUpper("FUNCTION_PROCEDURE_METHOD_SUB", w)) return std::nullopt;
  return name(words);
}

std::optional<std::string> HeaderName(std::string_view line, IndexOptions options) {
  std::string spill;
  const std::optional<HeaderParts> parts = HeaderNameParts(line, options, spill);
  if (!parts) return std::nullopt;
  return std::string(parts->name).append(parts->suffix);
}

bool EndsProcedure(std::string_view line, IndexOptions options) {
  const std::string_view u = TrimBlanks(line);
  if (!StartsNoCase(u, "END ")) return false;
  size_t pos = 0;
  NextBlankWord(u, pos);
  const std::string_view second = NextBlankWord(u, pos);
  return EqualsNoCase(second, "FUNCTION") || EqualsNoCase(second, "SUB") ||
         (options.property_and_friend && EqualsNoCase(second, "PROPERTY"));
}

bool StartsNextEntry(std::string_view line, IndexOptions options) {
  const std::string_view u = TrimBlanks(line);
  if (u.empty()) return false;
  if (options.property_and_friend && PropertyOrFriendHeader(u)) return true;
  // The first two bytes are told here (most lines differ there from every
  // prefix): the prefixes are compared eight bytes at a time.
  const char second = u.size() > 1 ? UpperChar(u[1]) : ' ';
  switch (UpperChar(u[0])) {
    case 'F':
      if (second != 'U') return false;
      return StartsNoCaseByWords(u, "FUNCTION") || StartsNoCaseByWords(u, "FUNC ");
    case 'P':
      if (second != 'R' && second != 'U') return false;
      return StartsNoCaseByWords(u, "PROCEDURE") || StartsNoCaseByWords(u, "PROC ") ||
             StartsNoCaseByWords(u, "PUBLIC FUN") || StartsNoCaseByWords(u, "PUBLIC SUB") ||
             StartsNoCaseByWords(u, "PRIVATE FU") || StartsNoCaseByWords(u, "PRIVATE SU");
    case 'S':
      if (second != 'U' && second != 'T') return false;
      return StartsNoCaseByWords(u, "SUB ") || StartsNoCaseByWords(u, "STATIC SUB") ||
             StartsNoCaseByWords(u, "STATIC FUN") || StartsNoCaseByWords(u, "STATIC PRO");
    case 'M':
      return StartsNoCaseByWords(u, "METHOD ");
    default:
      return false;
  }
}

EntryEnd WhereEntryEnds(std::string_view line, IndexOptions options) {
  // Only a line beginning with END closes a procedure, and only one beginning
  // with F, M, P or S (either case, by any options) starts the next entry:
  // each line is told by its first byte that is not a blank, and then by one
  // rule at most.
  size_t first = 0;
  while (first < line.size() && line[first] == ' ') ++first;
  if (first == line.size()) return EntryEnd::kNotHere;
  // Both rules trim the blanks the line begins with.
  const std::string_view text = line.substr(first);
  switch (text[0] | 0x20) {
    case 'e':
      // The usual closing lines, END SUB and END FUNCTION with nothing but
      // blanks or a blank and more after them, are told without taking
      // words apart.
      if ((StartsNoCaseByWords(text, "END SUB") && (text.size() == 7 || text[7] == ' ')) ||
          (StartsNoCaseByWords(text, "END FUNCTION") && (text.size() == 12 || text[12] == ' '))) {
        return EntryEnd::kAfterThisLine;
      }
      return EndsProcedure(text, options) ? EntryEnd::kAfterThisLine : EntryEnd::kNotHere;
    case 'f':
    case 'm':
    case 'p':
    case 's':
      return StartsNextEntry(text, options) ? EntryEnd::kBeforeThisLine : EntryEnd::kNotHere;
    default:
      return EntryEnd::kNotHere;
  }
}

bool DeclarationsAreEmpty(std::string_view first_line, IndexOptions options) {
  if (IsEmptyValue(first_line)) return false;
  const std::string head4 = UpperHead(first_line, 4);
  const std::string head10 = UpperHead(first_line, 10);
  return std::string_view("FUNC_SUB ").find(head4) != std::string_view::npos ||
         std::string_view("STATIC SUB_STATIC FUN").find(head10) != std::string_view::npos ||
         std::string_view("PRIVATE SUB_PUBLIC SUB_PRIVATE FUN_PUBLIC FUN").find(head10) !=
             std::string_view::npos ||
         StartsNextEntry(first_line, options);
}

}  // namespace qw
