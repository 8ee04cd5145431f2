#include "tools/indenter.h"

#include <algorithm>

#include "platform/limits.h"
#include "textlib/cliplib.h"
#include "tools/selection.h"

namespace qw {
namespace {

constexpr Int kIndentUnit = 3;

// The state carried from line to line; levels count blanks.
struct IndentState {
  Int level = 0;               // before the line being written; may go below 0
  Int next_level = 0;          // for the line after it
  bool select_pending = true;  // the first Case of a Select Case is still to come
};

// How a keyword row looks at a line (already stripped of tabs and of blanks at its start).
enum class Test {
  kStartsWith,    // the line begins with the keyword
  kFirstFiveAre,  // its first five characters, trimmed, are the keyword ("Next", "Next i")
  kWholeLineIs,   // the line, trimmed, is the keyword
};

// What a matching row does to the levels.
enum class Effect {
  kIfRule,        // opens unless a statement follows "Then"
  kOpen,          // the next line one unit deeper
  kOpenUnless,    // opens unless the line holds `closer` (a loop on one line)
  kOpenDoUnless,  // as kOpenUnless, but only when the first word is "Do" ("DoEvents" opens nothing)
  kSelectCase,    // opens, and the first Case to come opens once more
  kCase,          // the first Case of a Select opens; a later one steps back for itself
  kHeader,        // a procedure head: written at 0, its body one unit in
  kMiddle,        // Else: written one unit out, the next line back at this level
  kClose,         // one unit out, for this line and the next
  kEndSelect,     // two units out: the Case level and the Select level
};

struct KeywordRow {
  Test test;
  std::string_view keyword;
  Effect effect;
  std::string_view closer = {};
};

// The keyword table: rows in order, the first that matches applies; letter case is exact.
constexpr KeywordRow kKeywordTable[] = {
    {Test::kStartsWith, "If ", Effect::kIfRule},
    {Test::kStartsWith, "#If", Effect::kIfRule},
    {Test::kStartsWith, "While", Effect::kOpenUnless, "Wend"},
    {Test::kStartsWith, "For ", Effect::kOpenUnless, "Next"},
    {Test::kStartsWith, "With ", Effect::kOpen},
    {Test::kStartsWith, "Do While", Effect::kOpenUnless, "Loop"},
    {Test::kStartsWith, "Do", Effect::kOpenDoUnless, "Loop"},
    {Test::kStartsWith, "Select Case", Effect::kSelectCase},
    {Test::kStartsWith, "Case ", Effect::kCase},
    {Test::kStartsWith, "Sub ", Effect::kHeader},
    {Test::kStartsWith, "Function ", Effect::kHeader},
    {Test::kStartsWith, "Private Sub", Effect::kHeader},
    {Test::kStartsWith, "Public Sub", Effect::kHeader},
    {Test::kStartsWith, "Private Function", Effect::kHeader},
    {Test::kStartsWith, "Public Function", Effect::kHeader},
    {Test::kStartsWith, "#Else", Effect::kMiddle},
    {Test::kStartsWith, "Else", Effect::kMiddle},  // also ElseIf
    {Test::kStartsWith, "End Sub", Effect::kClose},
    {Test::kStartsWith, "End Fun", Effect::kClose},
    {Test::kStartsWith, "End With", Effect::kClose},
    {Test::kStartsWith, "End If", Effect::kClose},
    {Test::kStartsWith, "#End If", Effect::kClose},
    {Test::kStartsWith, "End Select", Effect::kEndSelect},
    {Test::kFirstFiveAre, "Wend", Effect::kClose},
    {Test::kWholeLineIs, "Loop", Effect::kClose},  // 'Loop Until x' closes nothing
    {Test::kStartsWith, "Loop While", Effect::kClose},
    {Test::kFirstFiveAre, "Next", Effect::kClose},
    {Test::kStartsWith, "Static Sub", Effect::kHeader},
    {Test::kStartsWith, "Static Function ", Effect::kHeader},
    {Test::kStartsWith, "Static Private Sub", Effect::kHeader},
    {Test::kStartsWith, "Static Public Sub", Effect::kHeader},
    {Test::kStartsWith, "Static Private Function", Effect::kHeader},
    {Test::kStartsWith, "Static Public Function", Effect::kHeader},
};

bool Matches(const KeywordRow& row, std::string_view line) {
  switch (row.test) {
    case Test::kStartsWith:
      return line.starts_with(row.keyword);
    case Test::kFirstFiveAre:
      return Trim(line.substr(0, 5)) == row.keyword;
    case Test::kWholeLineIs:
      return Trim(line) == row.keyword;
  }
  return false;
}

// An If line opens a block when nothing but a comment follows "Then", or when "Then" is not on
// the line at all (a condition continued with " _"). The separator after "Then" goes with it, so
// an apostrophe right after "Then" is taken as that separator and the note as a statement.
bool IfOpensBlock(std::string_view line) {
  std::string rest(line);
  while (!IsEmptyValue(std::string_view(rest))) {
    if (TakeWord(rest, "") == "Then") break;
  }
  rest = Trim(rest);
  return rest.empty() || rest.front() == '\'';
}

bool FirstWordIsDo(std::string_view line) {
  std::string rest(line);
  return TakeWord(rest, "") == "Do";
}

void Open(IndentState& s) {
  s.next_level = Check16(s.level + kIndentUnit);
}

void Apply(const KeywordRow& row, std::string_view line, IndentState& s) {
  switch (row.effect) {
    case Effect::kIfRule:
      if (IfOpensBlock(line)) Open(s);
      break;
    case Effect::kOpen:
      Open(s);
      break;
    case Effect::kOpenUnless:
      if (!Contains(line, row.closer)) Open(s);
      break;
    case Effect::kOpenDoUnless:
      if (FirstWordIsDo(line) && !Contains(line, row.closer)) Open(s);
      break;
    case Effect::kSelectCase:
      s.select_pending = true;
      Open(s);
      break;
    case Effect::kCase:
      if (s.select_pending) {
        s.select_pending = false;
        Open(s);
      } else {
        s.level = Check16(s.level - kIndentUnit);
        s.next_level = Check16(s.level + kIndentUnit);
      }
      break;
    case Effect::kHeader:
      s.level = 0;
      s.next_level = kIndentUnit;
      break;
    case Effect::kMiddle:
      s.next_level = s.level;
      s.level = Check16(s.level - kIndentUnit);
      break;
    case Effect::kClose:
      s.level = Check16(s.level - kIndentUnit);
      s.next_level = s.level;
      break;
    case Effect::kEndSelect:
      s.level = Check16(s.level - 2 * kIndentUnit);
      s.next_level = s.level;
      break;
  }
}

// A label line: a colon with nothing after it; or, on a line with a string literal and a
// comment, a colon before both ('Retry: MsgBox "x" ' note'). 'Retry: ' note' is no label.
bool IsLabel(std::string_view line) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const size_t quote = line.find('"');
  const size_t apostrophe = line.find('\'');
  if (quote == std::string_view::npos && apostrophe == std::string_view::npos)
    return IsEmptyValue(line.substr(colon + 1));
  return quote != std::string_view::npos && apostrophe != std::string_view::npos && colon < quote &&
         colon < apostrophe;
}

void AppendLine(std::string& out, Int level, std::string_view line) {
  out.append(static_cast<size_t>(std::max<Int>(level, 0)), ' ');
  out += line;
  out += "\r\n";
}

void IndentLine(std::string_view raw, IndentState& s, std::string& out) {
  std::string line = RTrim(raw);
  if (line.empty()) {
    out += "\r\n";
    return;
  }
  const bool comment_in_column_one = line.front() == '\'';
  line = LTrim(StrTran(line, "\t", ""));
  if (comment_in_column_one) {
    AppendLine(out, s.level, Trim(line));
    return;
  }
  if (IsLabel(line)) {
    s.next_level = s.level;
    s.level = 0;
  }
  const auto row =
      std::ranges::find_if(kKeywordTable, [&](const KeywordRow& r) { return Matches(r, line); });
  if (row != std::end(kKeywordTable)) Apply(*row, line, s);
  AppendLine(out, s.level, line);
  s.level = s.next_level;
}

// A selection that begins a procedure starts at the left margin; any other is inside one.
Int StartLevel(std::string_view selection) {
  const size_t first = selection.find_first_not_of(' ');
  const std::string_view head =
      first == std::string_view::npos ? std::string_view() : selection.substr(first, 4);
  return head == "Func" || head == "Sub " ? 0 : kIndentUnit;
}

}  // namespace

std::string IndentText(std::string_view selection) {
  Check16(static_cast<Int>(selection.size()));
  IndentState state{.level = StartLevel(selection), .next_level = kIndentUnit};
  std::string out;
  out.reserve(selection.size() + selection.size() / 4);
  const Int count = MLCount(selection, 0);
  for (Int n = 1; n <= count; ++n) IndentLine(MemoLine(selection, 0, n), state, out);
  return out;
}

void IndentSelection(Port& port) {
  RewriteSelection(port, EmptyPane::kBlank, "You have no text to indent!", IndentText);
}

}  // namespace qw
