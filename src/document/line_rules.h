// The line rules of the document model: four tests that say where an entry
// may start, whether a line is a header and what the entry is called, and
// where an entry's text ends. Each looks at the line with its blanks trimmed
// (spaces only) and its ASCII letters upper-cased, unless said otherwise.
// None of them allocates except RuleBHeaderName on a line that may be a
// header; none throws except through the word scanner, which traps its own
// faults.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qw {

// The line with leading and trailing blanks removed (a view into `line`).
std::string_view TrimBlanks(std::string_view line);
// True when `text` begins with `upper_prefix` (given in capitals), letter case
// of `text` ignored.
bool StartsNoCase(std::string_view text, std::string_view upper_prefix);
// True when `upper_needle` (given in capitals) occurs in `text`, letter case
// of `text` ignored. An empty needle is found.
bool ContainsNoCase(std::string_view text, std::string_view upper_needle);

// Rule A, the indexer's stop rule, on a raw line.
enum class StopKind { kOrdinary = 0, kCandidateHeader = 1, kEndOfProcedure = 2 };
StopKind RuleA(std::string_view line);

// Rule B, the builder's header-and-name rule, on a raw line: the entry's name
// when the line is a header (it may be empty: 'Sub' alone is a header with no
// name), nothing otherwise.
std::optional<std::string> RuleBHeaderName(std::string_view line);

// Rule C: the line is 'END SUB' or 'END FUNCTION' (any letter case, any text
// after the second word).
bool RuleC(std::string_view line);

// Rule D, the procedure-header rule: the line starts the next entry.
bool RuleD(std::string_view line);

// The test of the declarations entry: true when the module's first line
// (raw, as read) shows that the module has no declarations, because it is
// already the first procedure's header. A blank line never holds.
bool FirstLineStartsProcedure(std::string_view first_line);

}  // namespace qw
