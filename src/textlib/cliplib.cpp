#include "textlib/cliplib.h"

#include <cstring>

#include "platform/fault.h"
#include "platform/port.h"
#include "platform/report.h"

namespace qw {
namespace {

struct IsEmptyVisitor {
  bool operator()(const Nothing&) const { return true; }
  bool operator()(const Null&) const { return true; }
  bool operator()(std::int16_t v) const { return v == 0; }
  bool operator()(std::int32_t v) const { return v == 0; }
  bool operator()(float v) const { return v == 0.0f; }
  bool operator()(double v) const { return v == 0.0; }
  bool operator()(const Currency& c) const { return c.ten_thousandths == 0; }
  bool operator()(const std::string& s) const { return IsEmptyValue(std::string_view(s)); }
  bool operator()(const Date& d) const { return d == kEmptyDate; }
  bool operator()(const Flag& f) const { return !f.value; }
};

// The line cursor of MemoLine: where the next line starts (0-based here) and
// its number. Both 0 before the first call.
struct MemoCursor {
  Int next_start = 0;
  Int next_line = 0;
};
MemoCursor memo_cursor;

// A 1-based position or count as the 16-bit design holds it.
Int Pos16(Int v) { return Check16(v); }

// The end of the line that starts at `start` (width 0): the offset of its CR
// LF, or the text's size.
size_t LineEnd0(std::string_view text, size_t start) {
  size_t pos = start;
  while (pos < text.size()) {
    const void* hit = std::memchr(text.data() + pos, '\r', text.size() - pos);
    if (!hit) return text.size();
    pos = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    if (pos + 1 < text.size() && text[pos + 1] == '\n') return pos;
    ++pos;
  }
  return text.size();
}

// One line of `text` from `start` (0-based): sets `line` (untrimmed) and
// `next` (where the following line starts; text.size() at the end). Returns
// false when `start` is at or past the end: there is no such line.
bool NextLine(std::string_view text, Int width, size_t start, std::string_view& line,
              size_t& next) {
  if (start >= text.size()) return false;
  if (width <= 0) {
    const size_t end = LineEnd0(text, start);
    line = text.substr(start, end - start);
    next = end == text.size() ? end : end + 2;
    return true;
  }
  const size_t w = static_cast<size_t>(width);
  const std::string_view piece = text.substr(start, w);
  const size_t crlf = piece.find("\r\n");
  if (crlf != std::string_view::npos) {
    line = piece.substr(0, crlf);
    next = start + crlf + 2;
    return true;
  }
  if (piece.size() < w) {
    line = piece;
    next = text.size();
    return true;
  }
  const size_t blank = piece.rfind(' ');
  if (blank == std::string_view::npos || blank == 0) {
    // A full piece with no blank to break at (or only a leading one): break
    // at the width, so that the walk always moves on.
    line = piece;
    next = start + w;
    return true;
  }
  line = piece.substr(0, blank);
  next = start + blank;
  return true;
}

}  // namespace

bool IsEmptyValue(const Value& v) { return std::visit(IsEmptyVisitor{}, v); }

bool IsAlpha(std::string_view s) { return !s.empty() && IsLetterChar(s[0]); }
bool IsDigit(std::string_view s) { return !s.empty() && IsDigitChar(s[0]); }
bool IsAlpha(const Value& v) { return IsAlpha(std::string_view(ToText(v))); }
bool IsDigit(const Value& v) { return IsDigit(std::string_view(ToText(v))); }

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = UpperChar(c);
  return r;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = LowerChar(c);
  return r;
}

std::string LTrim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  const size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

Int InStrNoCase(std::string_view text, std::string_view search, Int start) {
  if (start < 1) start = 1;
  const size_t from = static_cast<size_t>(start - 1);
  if (from > text.size()) return 0;
  if (search.empty()) return start;
  if (search.size() > text.size()) return 0;
  const char first = UpperChar(search[0]);
  for (size_t i = from; i + search.size() <= text.size(); ++i) {
    if (UpperChar(text[i]) != first) continue;
    size_t k = 1;
    while (k < search.size() && UpperChar(text[i + k]) == UpperChar(search[k])) ++k;
    if (k == search.size()) return static_cast<Int>(i + 1);
  }
  return 0;
}

std::string StrTran(std::string_view text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string result;
  size_t from = 0;
  for (size_t hit; (hit = text.find(search, from)) != std::string_view::npos;
       from = hit + search.size()) {
    result.append(text.substr(from, hit - from));
    result.append(replacement);
  }
  result.append(text.substr(from));
  return result;
}

std::string StrTranNoCase(std::string_view text, std::string_view search,
                          std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string result;
  size_t from = 0;
  for (Int hit; (hit = InStrNoCase(text, search, static_cast<Int>(from + 1))) != 0;) {
    const size_t at = static_cast<size_t>(hit - 1);
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + search.size();
  }
  result.append(text.substr(from));
  return result;
}

std::string ReplaceFirst(std::string& text, std::string_view search, std::string_view replacement) {
  const Int p = InStrNoCase(text, search, 1);
  if (p > 0) {
    Pos16(p);
    text.replace(static_cast<size_t>(p - 1), search.size(), replacement);
  }
  return text;
}

std::string TakeWord(std::string& text, std::string_view extra) {
  std::string word;
  size_t i = 0;
  // Consume from the front while the rest is not blank-only (that is, up to
  // the last non-blank character); erase once at the end.
  const size_t last = text.find_last_not_of(' ');
  while (last != std::string::npos && i <= last) {
    const char c = text[i++];
    if (IsLetterChar(c) || IsDigitChar(c) || extra.find(c) != std::string_view::npos) {
      word += c;
    } else if (!IsEmptyValue(std::string_view(word))) {
      break;
    }
  }
  text.erase(0, i);
  return word;
}

Int RAt(std::string_view search, std::string_view target) {
  Int last = 0;
  size_t from = 0;
  Port& port = CurrentPort();
  for (;;) {
    port.Yield();
    if (from > target.size()) break;
    const size_t hit = target.find(search, from);
    if (hit == std::string_view::npos) break;
    last = Pos16(static_cast<Int>(hit + 1));
    from = hit + 1;
  }
  return last;
}

Int CountLeadingBlanks(std::string_view text) {
  const size_t b = text.find_first_not_of(' ');
  return Pos16(static_cast<Int>(b == std::string_view::npos ? text.size() : b));
}

std::string SignificantText(std::string_view text) {
  std::string rest;
  for (char c : text) {
    if (!IsDigitChar(c) && c != '/') rest += c;
  }
  if (Trim(rest).size() < 10) return {};
  return Trim(text);
}

Int MLCount(std::string_view text, Int width) {
  try {
    Int count = 0;
    size_t start = 0;
    std::string_view line;
    size_t next = 0;
    while (NextLine(text, width, start, line, next)) {
      Pos16(static_cast<Int>(start + 1));
      count = Check16(count + 1);
      start = next;
    }
    return count;
  } catch (const Fault& f) {
    ReportProgramError(CurrentPort(), f, "MLCount");
  } catch (const std::exception&) {
    ReportProgramError(CurrentPort(), Fault(kFaultInvalidCall), "MLCount");
  }
  return 0;
}

std::string MemoLine(std::string_view text, Int width, Int line) {
  try {
    size_t start = 0;
    Int number = 1;
    if (line != 1 && memo_cursor.next_line != 0 && line == memo_cursor.next_line) {
      start = static_cast<size_t>(memo_cursor.next_start);
      number = line;
    }
    std::string_view piece;
    size_t next = 0;
    for (;;) {
      if (!NextLine(text, width, start, piece, next)) {
        // Past the last line: nothing to give, and the walk starts over.
        memo_cursor = MemoCursor{};
        return {};
      }
      Pos16(static_cast<Int>(start + 1));
      if (number == line) break;
      start = next;
      number = Check16(number + 1);
    }
    memo_cursor.next_start = static_cast<Int>(next);
    memo_cursor.next_line = Check16(line + 1);
    return width > 0 ? Trim(piece) : std::string(piece);
  } catch (const Fault& f) {
    ReportProgramError(CurrentPort(), f, "MemoLine");
  } catch (const std::exception&) {
    ReportProgramError(CurrentPort(), Fault(kFaultInvalidCall), "MemoLine");
  }
  return {};
}

void ResetMemoLineCursor() { memo_cursor = MemoCursor{}; }

}  // namespace qw
