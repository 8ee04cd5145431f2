// The expression rules of the converter: plain text rewrites of the
// expressions of one line, wherever they stand in it. The operator group turns
// xBase logical operators, comparison and assignment operators, logical
// literals, array brackets and alias arrows into Basic; the function group
// renames string functions and rewrites the containment operator "$",
// increments, decrements and compound assignments. Converted code calls
// IncB/IncA/DecB/DecA, which the converted project supplies.
//
// All searches and replacements are ASCII letter-case rules on bytes. None of
// these functions reports anything; a fault from a word scanner is reported by
// the scanner itself.
#pragma once

#include <string>

namespace qw {

// The operator group (the "operators" rule of the statement chain), in its
// fixed order:
// "empty(" ".and." ".or." ".not." "!=" "!" "==" ":=" "[" "]" "->" ".T." ".F.".
// Rewrites `line` in place.
void ApplyOperatorRules(std::string& line);

// The function group (the "functions" rule of the statement chain), in its
// fixed order:
// SUBSTR, ALLTRIM, UPPER(, IF(, "$", "++"/"--", "+=", "-=", TYPE(. For a line
// holding "$" it first appends two comment lines, each ended by CR LF, to
// `out`. Rewrites `line` in place.
void ApplyFunctionRules(std::string& line, std::string& out);

// 'i++' gives 'Inc i', '--n' gives 'Dec n'; inside an expression 'k++' becomes
// 'IncA(k)', '++k' 'IncB(k)', and likewise DecA/DecB for "--". Returns the
// converted line.
std::string ConvertIncrements(std::string line);

// 'name += value' gives 'name = name + value' when the value holds no
// operator other than "+" and "-" (blanks and parentheses allowed); any other
// line is returned unchanged. ConvertMinusAssign is the same for "-=".
std::string ConvertPlusAssign(std::string line);
std::string ConvertMinusAssign(std::string line);

// Rewrites each 'a $ b' into 'InStr(1, b, a, 1) > 0', operand texts removed
// from where they stood. Stops at a "$" inside the first string literal or
// with no right operand; returns the line unchanged when an operand cannot be
// isolated (no left operand, or an operand's text occurs twice).
std::string ConvertContainment(std::string line);

}  // namespace qw
