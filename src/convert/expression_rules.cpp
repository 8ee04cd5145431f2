#include "convert/expression_rules.h"

#include <string_view>

#include "convert/scanners.h"
#include "convert/word_walk.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

// Replaces every occurrence (any case) when the test text occurs (any case).
void TranNoCaseIf(std::string& line, std::string_view test, std::string_view search,
                  std::string_view replacement) {
  if (ContainsNoCase(line, test)) line = StrTranNoCase(line, search, replacement);
}
// Replaces every occurrence (exact case) when there is one.
void TranIf(std::string& line, std::string_view search, std::string_view replacement) {
  if (Contains(line, search)) line = StrTran(line, search, replacement);
}

// Increments inside an expression: every word (with `extra`) that holds `op` is
// turned into a call, `before` for an operator in front of its variable,
// `after` for one behind it; repeated while the line still holds `op`.
void CallsForOperators(std::string& line, std::string_view op, std::string_view extra,
                       std::string_view before, std::string_view after) {
  // Each pass takes at least one operator character out of the line; the
  // bound only guards against a line that would not shrink.
  size_t passes_left = line.size() + 1;
  while (Contains(line, op) && passes_left-- > 0) {
    const std::string copy = line;
    ForEachWord(copy, extra, [&](std::string_view word) {
      if (!Contains(word, op)) return;
      std::string call;
      if (word.starts_with(op)) {
        call.append(before).append(word.substr(2)).append(")");
      } else {
        call.append(after).append(word.substr(0, word.size() - 2)).append(")");
      }
      ReplaceFirst(line, word, call);
    });
  }
}

std::string CompoundAssign(std::string line, std::string_view op, std::string_view op_chars,
                           std::string_view sign) {
  std::string copy = line;
  const std::string name = TakeWord(copy, "_");
  const std::string taken_op = TakeWord(copy, op_chars);
  if (taken_op == op) {
    const std::string value = TakeWord(copy, "_() +-");
    if (!IsEmptyValue(std::string_view(value))) {
      const std::string rest = TakeWord(copy, "_() +-");
      if (IsEmptyValue(std::string_view(rest))) {
        return name + " = " + name + std::string(sign) + value;
      }
    }
  }
  return line;
}

}  // namespace

void ApplyOperatorRules(std::string& line) {
  TranNoCaseIf(line, "empty(", "empty(", "Emty(");
  // The dotted operators and literals all need a "." (checked once).
  const bool dotted = Contains(line, ".");
  if (dotted) {
    TranNoCaseIf(line, ".and.", ".and.", " And ");
    TranNoCaseIf(line, ".or.", ".or.", " Or ");
    TranNoCaseIf(line, ".not.", ".not.", " Not ");
  }
  TranIf(line, "!=", "<>");
  const size_t bang = line.find('!');
  if (bang != std::string::npos) {
    const size_t quote = line.find('"');
    if (quote == std::string::npos || bang < quote) line = StrTran(line, "!", "Not ");
  }
  TranIf(line, "==", "=");
  TranIf(line, ":=", "=");
  TranIf(line, "[", "(");
  TranIf(line, "]", ")");
  TranIf(line, "->", "!");
  if (dotted) {  // no rule here puts a "." into a line that had none
    TranNoCaseIf(line, ".t.", ".T.", " True ");
    TranNoCaseIf(line, ".f", ".F.", " False ");
  }
}

void ApplyFunctionRules(std::string& line, std::string& out) {
  TranNoCaseIf(line, "substr", "SUBSTR", "Mid");
  TranNoCaseIf(line, "alltrim", "alltrim", "Trim");
  TranNoCaseIf(line, "upper(", "upper(", "UCase(");
  if (ContainsNoCase(line, "if(") && !ContainsNoCase(line, "iif"))
    line = StrTranNoCase(line, "IF(", "IIF(");
  if (Contains(line, "$")) {
    out.append("' Complex String Operators may or may not be converted properly\r\n");
    out.append("' ").append(Trim(line)).append("\r\n");
    line = ConvertContainment(std::move(line));
  }
  if (Contains(line, "++") || Contains(line, "--")) line = ConvertIncrements(std::move(line));
  if (Contains(line, "+=")) line = ConvertPlusAssign(std::move(line));
  if (Contains(line, "-=")) line = ConvertMinusAssign(std::move(line));
  if (Contains(line, "TYPE(")) {
    line = StrTranNoCase(line, "TYPE(", "VarType(");
    line = StrTran(line, "\"", "");
  }
}

std::string ConvertIncrements(std::string line) {
  std::string copy = line;
  const std::string first = TakeWord(copy, "+_-");
  if (Contains(first, "++") || Contains(first, "--")) {
    // A statement of its own: 'i++', '--n'.
    if (Contains(line, "++")) {
      copy = line;
      return "Inc " + StrTran(TakeWord(copy, "+_"), "++", "");
    }
    copy = line;
    const std::string word = TakeWord(copy, "-_");
    if (Contains(word, "--")) return "Dec " + StrTran(word, "--", "");
    return line;
  }
  CallsForOperators(line, "++", "+_", "IncB(", "IncA(");
  CallsForOperators(line, "--", "-_", "DecB(", "DecA(");
  return line;
}

std::string ConvertPlusAssign(std::string line) {
  return CompoundAssign(std::move(line), "+=", "_+=\x7f", " + ");
}

std::string ConvertMinusAssign(std::string line) {
  return CompoundAssign(std::move(line), "-=", "_-=\x7f", " - ");
}

std::string ConvertContainment(std::string line) {
  const std::string given = line;
  while (Contains(line, "$")) {
    const size_t p = line.find('$');
    const size_t q1 = line.find('"');
    if (q1 != std::string::npos) {
      const size_t q2 = line.find('"', q1 + 1);
      if (q2 != std::string::npos && q1 < p && p < q2) break;  // inside the first literal
    }
    // The left operand: the last operand of the text before the "$".
    std::string before = line.substr(0, p);
    std::string left;
    for (std::string word = GetNextPSOWord(before); !word.empty(); word = GetNextPSOWord(before)) {
      left = std::move(word);
    }
    std::string after = line.substr(p + 1);
    const std::string right = Trim(GetNextPSOWord(after));
    if (right.empty()) break;
    ReplaceFirst(line, left, "");
    ReplaceFirst(line, right, "");
    // An operand that is missing, or whose text occurs once more, cannot be
    // isolated: the line stays as it was given (an empty operand is "held").
    if (ContainsNoCase(line, left) || ContainsNoCase(line, right)) return given;
    ReplaceFirst(line, "$", "InStr(1, " + right + ", " + left + ", 1) > 0");
  }
  return line;
}

}  // namespace qw
