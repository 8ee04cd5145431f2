#include "document/line_rules.h"

#include "convert/scanners.h"
#include "textlib/cliplib.h"

namespace qw {

std::string_view TrimBlanks(std::string_view line) {
  size_t b = 0;
  size_t e = line.size();
  while (b < e && line[b] == ' ') ++b;
  while (e > b && line[e - 1] == ' ') --e;
  return line.substr(b, e - b);
}

bool StartsNoCase(std::string_view text, std::string_view upper_prefix) {
  if (text.size() < upper_prefix.size()) return false;
  for (size_t i = 0; i < upper_prefix.size(); ++i) {
    if (UpperChar(text[i]) != upper_prefix[i]) return false;
  }
  return true;
}

bool ContainsNoCase(std::string_view text, std::string_view upper_needle) {
  if (upper_needle.empty()) return true;
  if (text.size() < upper_needle.size()) return false;
  const char first = upper_needle[0];
  const size_t last_start = text.size() - upper_needle.size();
  for (size_t i = 0; i <= last_start; ++i) {
    if (UpperChar(text[i]) == first && StartsNoCase(text.substr(i), upper_needle)) return true;
  }
  return false;
}

namespace {

bool ContainsSubOrFunction(std::string_view u) {
  return ContainsNoCase(u, "SUB") || ContainsNoCase(u, "FUNCTION");
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

bool EqualsNoCase(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() && StartsNoCase(text, upper);
}

}  // namespace

StopKind RuleA(std::string_view line) {
  const std::string_view u = TrimBlanks(line);
  if (u.empty()) return StopKind::kOrdinary;
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
      if (StartsNoCase(u, "END") && ContainsSubOrFunction(u)) return StopKind::kEndOfProcedure;
      break;
    default: break;
  }
  return StopKind::kOrdinary;
}

std::optional<std::string> RuleBHeaderName(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  const std::string key = UpperHead(trimmed, 4);
  if (IsEmptyValue(std::string_view(key))) return std::nullopt;
  if (std::string_view("FUNC_SUB _METH_PROC").find(key) != std::string_view::npos) {
    std::string rest(trimmed);
    GetNextCodeWord(rest);  // the keyword
    return GetNextCodeWord(rest);
  }
  if (key != "PUBL" && key != "STAT" && key != "PRIV") return std::nullopt;
  std::string rest(trimmed);
  std::string w = GetNextCodeWord(rest);
  if (w == "Private" || w == "Public") w = Upper(GetNextCodeWord(rest));
  if (w == "Static") w = Upper(GetNextCodeWord(rest));
  if (IsEmptyValue(std::string_view(w))) return std::nullopt;
  if (std::string_view("FUNCTION_PROCEDURE_METHOD_SUB").find(Upper(w)) == std::string_view::npos) {
    return std::nullopt;
  }
  return GetNextCodeWord(rest);
}

bool RuleC(std::string_view line) {
  const std::string_view u = TrimBlanks(line);
  if (!StartsNoCase(u, "END ")) return false;
  size_t pos = 0;
  NextBlankWord(u, pos);
  const std::string_view second = NextBlankWord(u, pos);
  return EqualsNoCase(second, "FUNCTION") || EqualsNoCase(second, "SUB");
}

bool RuleD(std::string_view line) {
  const std::string_view u = TrimBlanks(line);
  if (u.empty()) return false;
  switch (UpperChar(u[0])) {
    case 'F': return StartsNoCase(u, "FUNCTION") || StartsNoCase(u, "FUNC ");
    case 'P':
      return StartsNoCase(u, "PROCEDURE") || StartsNoCase(u, "PROC ") ||
             StartsNoCase(u, "PUBLIC FUN") || StartsNoCase(u, "PUBLIC SUB") ||
             StartsNoCase(u, "PRIVATE FU") || StartsNoCase(u, "PRIVATE SU");
    case 'S':
      return StartsNoCase(u, "SUB ") || StartsNoCase(u, "STATIC SUB") ||
             StartsNoCase(u, "STATIC FUN") || StartsNoCase(u, "STATIC PRO");
    case 'M': return StartsNoCase(u, "METHOD ");
    default: return false;
  }
}

bool FirstLineStartsProcedure(std::string_view first_line) {
  if (IsEmptyValue(first_line)) return false;
  const std::string head4 = UpperHead(first_line, 4);
  const std::string head10 = UpperHead(first_line, 10);
  return std::string_view("FUNC_SUB ").find(head4) != std::string_view::npos ||
         std::string_view("STATIC SUB_STATIC FUN").find(head10) != std::string_view::npos ||
         std::string_view("PRIVATE SUB_PUBLIC SUB_PRIVATE FUN_PUBLIC FUN").find(head10) !=
             std::string_view::npos ||
         RuleD(first_line);
}

}  // namespace qw
