#include "convert/expression_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/rename_reserved.h"
#include "platform/port.h"
#include "support/fake_port.h"

namespace qw {
namespace {

// The operator rules, then the function rules, as the converter applies them.
std::string Expression(std::string line) {
  ApplyOperatorRules(line);
  std::string out;
  ApplyFunctionRules(line, out);
  EXPECT_EQ(out, "");
  return line;
}

std::string Renamed(std::string line) {
  const std::string got = RenameReserved(line);
  EXPECT_EQ(got, line) << "the returned line differs from the renamed one";
  return got;
}

// Rows the golden pairs in tests/data/convert/ do not already hold.
TEST(ExpressionRules, RewriteOneLine) {
  testing::FakePort port;
  PortScope scope(port);
  const struct {
    const char* name;
    std::string (*rule)(std::string);
    std::string in, want;
  } rows[] = {
      {"BangBeforeQuoteTurnsEveryBang", Expression, "!lOk .and. c = \"!\"",
       "Not lOk  And  c = \"Not \""},
      {"LogicalFalseAnyCase", Expression, "lOk := .f.", "lOk =  False "},
      {"EmptyAnyCase", Expression, "IF eMpTy(x)", "IF Emty(x)"},
      {"FunctionNamesAnyCase", Expression, "c = substr(a, 1) + AllTrim(a) + Upper(b)",
       "c = Mid(a, 1) + Trim(a) + UCase(b)"},
      {"IfInsideIifLeftAlone", Expression, "x = IIF(a, IF(b, 1, 2), 3)",
       "x = IIF(a, IF(b, 1, 2), 3)"},
      {"TypeTestIsExactCase", Expression, "n = type(\"cVar\")", "n = type(\"cVar\")"},
      {"PreIncrementStatement", ConvertIncrements, "++k", "Inc k"},
      {"DecrementsBothSides", ConvertIncrements, "y = n-- + --m", "y = DecA(n) + DecB(m)"},
      {"TwoOfTheSameVariable", ConvertIncrements, "y = i++ + i++", "y = IncA(i) + IncA(i)"},
      {"IncrementAndDecrement", ConvertIncrements, "f(i++, j--)", "f(IncA(i), DecA(j))"},
      {"WordWithOperatorInside", ConvertIncrements, "y = a++b", "y = IncA(a+)"},
      {"DashesInLiteralEnd", ConvertIncrements, "c = \"----\"", "c = \"DecB(DecB())\""},
      {"PlusSumOfTerms", ConvertPlusAssign, "x += a - b", "x = x + a - b"},
      {"PlusTrailingBlanks", ConvertPlusAssign, "x += 1   ", "x = x + 1"},
      {"PlusOtherOperatorLeftAlone", ConvertPlusAssign, "x += y * 2", "x += y * 2"},
      {"PlusNoValue", ConvertPlusAssign, "x +=", "x +="},
      {"PlusLeadingSeparatorDropped", ConvertPlusAssign, "? x += 1", "x = x + 1"},
      {"MinusIgnoresThePlusForm", ConvertMinusAssign, "x += 1", "x += 1"},
      {"ContainmentParenthesised", ConvertContainment, "IF (cVar $ cList)",
       "IF ( InStr(1, cList, cVar, 1) > 0 )"},
      {"ContainmentQuotedWithBlank", ConvertContainment, "l = \"a b\" $ c",
       "l =  InStr(1, c, \"a b\", 1) > 0 "},
      {"ContainmentNoRightOperand", ConvertContainment, "IF a $", "IF a $"},
      {"RenameEveryKey", Renamed, "cstr string line right left data currency empty error count",
       "cstrg cString pString nRight nLeft cData currncy emty lError nCount"},
      {"RenameReplacementHoldsALaterKey", Renamed, "line string", "pcString string"},
      {"RenameWholeWordsOnly", Renamed, "nCount = nLeftover + cStrings",
       "nCount = nLeftover + cStrings"},
      {"RenameUnderscoreJoinsWords", Renamed, "my_line = 1", "my_line = 1"},
      {"RenameSameWordTwice", Renamed, "String = String", "ccString = String"},
      {"RenameBlank", Renamed, "   ", "   "},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.rule(r.in), r.want);
  }
  EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace qw
