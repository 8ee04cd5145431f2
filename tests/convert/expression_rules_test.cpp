#include "convert/expression_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/rename_reserved.h"
#include "platform/port.h"
#include "support/fake_port.h"

namespace qw {
namespace {

struct Row {
  const char* name;
  std::string in;
  std::string want;
};

TEST(OperatorRules, RewriteOperatorsLiteralsBracketsAndArrows) {
  const Row rows[] = {
      {"NotEqualsAndNot", "a != b .and. !lDone", "a <> b  And  Not lDone"},
      {"BangAfterFirstQuoteStays", "IF cName = \"Hi!\" .or. x", "IF cName = \"Hi!\"  Or  x"},
      {"BangBeforeQuoteTurnsEveryBang", "!lOk .and. c = \"!\"", "Not lOk  And  c = \"Not \""},
      {"LogicalTrue", "lOk := .T.", "lOk =  True "},
      {"LogicalFalseAnyCase", "lOk := .f.", "lOk =  False "},
      {"BracketsAndAliasArrow", "arr[1] := cust->name", "arr(1) = cust!name"},
      {"DoubleEquals", "IF a == b", "IF a = b"},
      {"EmptyAnyCase", "IF eMpTy(x)", "IF Emty(x)"},
      {"OperatorsAnyCase", ".NOT. a .OR. b .AND. c", " Not  a  Or  b  And  c"},
      {"NothingToDo", "x = y + 1", "x = y + 1"},
  };
  for (const Row& r : rows) {
    std::string line = r.in;
    ApplyOperatorRules(line);
    EXPECT_EQ(line, r.want) << r.name;
  }
}

TEST(FunctionRules, RenameFunctionsAndRewriteOperators) {
  const std::string kComplex =
      "' Complex String Operators may or may not be converted properly\r\n";
  const struct {
    const char* name;
    std::string in, want, out;
  } rows[] = {
      {"Substr", "c = substr(a, 1, 2)", "c = Mid(a, 1, 2)", ""},
      {"AlltrimAndUpper", "c = AllTrim(a) + Upper(b)", "c = Trim(a) + UCase(b)", ""},
      {"InlineIf", "x = IF(a, 1, 2)", "x = IIF(a, 1, 2)", ""},
      {"IifLeftAlone", "x = IIF(a, IF(b, 1, 2), 3)", "x = IIF(a, IF(b, 1, 2), 3)", ""},
      {"TypeDropsQuotes", "n = TYPE(\"cVar\")", "n = VarType(cVar)", ""},
      {"TypeTestIsExactCase", "n = type(\"cVar\")", "n = type(\"cVar\")", ""},
      {"IncrementStatement", "i++", "Inc i", ""},
      {"PlusAssign", "n += 2", "n = n + 2", ""},
      {"MinusAssign", "n -= 2", "n = n - 2", ""},
      {"ContainmentWritesTwoComments", "IF \"A\" $ cList", "IF  InStr(1, cList, \"A\", 1) > 0 ",
       kComplex + "' IF \"A\" $ cList\r\n"},
      {"DollarInsideLiteral", "c = \"$9\"", "c = \"$9\"", kComplex + "' c = \"$9\"\r\n"},
  };
  for (const auto& r : rows) {
    std::string line = r.in, out;
    ApplyFunctionRules(line, out);
    EXPECT_EQ(line, r.want) << r.name;
    EXPECT_EQ(out, r.out) << r.name;
  }
}

TEST(ConvertIncrements, StatementsAndOperatorsInsideExpressions) {
  const Row rows[] = {
      {"PostIncrementStatement", "i++", "Inc i"},
      {"PreDecrementStatement", "--n", "Dec n"},
      {"PostDecrementStatement", "nLeft--", "Dec nLeft"},
      {"PreIncrementStatement", "++k", "Inc k"},
      {"InsideSubscript", "x = a(i++)", "x = a(IncA(i))"},
      {"BeforeVariable", "y = ++k * 2", "y = IncB(k) * 2"},
      {"DecrementsBothSides", "y = n-- + --m", "y = DecA(n) + DecB(m)"},
      {"TwoOfTheSameVariable", "y = i++ + i++", "y = IncA(i) + IncA(i)"},
      {"IncrementAndDecrement", "f(i++, j--)", "f(IncA(i), DecA(j))"},
      {"WordWithOperatorInside", "y = a++b", "y = IncA(a+)"},
      {"DashesInLiteralEnd", "c = \"----\"", "c = \"DecB(DecB())\""},
  };
  for (const Row& r : rows) EXPECT_EQ(ConvertIncrements(r.in), r.want) << r.name;
}

TEST(ConvertCompoundAssign, SimpleValuesOnly) {
  const Row plus[] = {
      {"Name", "nTotal += nAmount", "nTotal = nTotal + nAmount"},
      {"Parenthesised", "x += (a + b)", "x = x + (a + b)"},
      {"SumOfTerms", "x += a - b", "x = x + a - b"},
      {"TrailingBlanks", "x += 1   ", "x = x + 1"},
      {"OtherOperatorLeftAlone", "x += y * 2", "x += y * 2"},
      {"AliasLeftAlone", "x += c!bal", "x += c!bal"},
      {"NoValue", "x +=", "x +="},
      {"LeadingSeparatorDropped", "? x += 1", "x = x + 1"},
  };
  for (const Row& r : plus) EXPECT_EQ(ConvertPlusAssign(r.in), r.want) << r.name;
  const Row minus[] = {
      {"One", "x -= 1", "x = x - 1"},
      {"Product", "x -= y * 2", "x -= y * 2"},
      {"PlusFormIgnored", "x += 1", "x += 1"},
  };
  for (const Row& r : minus) EXPECT_EQ(ConvertMinusAssign(r.in), r.want) << r.name;
}

TEST(ConvertContainment, IsolatesOperandsOrLeavesTheLine) {
  testing::FakePort port;
  PortScope scope(port);
  const Row rows[] = {
      {"LiteralInVariable", "IF \"A\" $ cList", "IF  InStr(1, cList, \"A\", 1) > 0 "},
      {"Parenthesised", "IF (cVar $ cList)", "IF ( InStr(1, cList, cVar, 1) > 0 )"},
      {"QuotedWithBlank", "l = \"a b\" $ c", "l =  InStr(1, c, \"a b\", 1) > 0 "},
      {"TwoOperators", "IF \"a\" $ cX  Or  \"b\" $ cY",
       "IF  InStr(1, cX, \"a\", 1) > 0   Or   InStr(1, cY, \"b\", 1) > 0 "},
      {"InsideFirstLiteral", "c = \"$9\"", "c = \"$9\""},
      {"NoLeftOperand", "? $ cList", "? $ cList"},
      {"NoRightOperand", "IF a $", "IF a $"},
      {"OperandTwice", "IF x $ cList  Or  x = 1", "IF x $ cList  Or  x = 1"},
  };
  for (const Row& r : rows) EXPECT_EQ(ConvertContainment(r.in), r.want) << r.name;
  EXPECT_TRUE(port.boxes.empty());
}

TEST(RenameReserved, RenamesFirstOccurrenceAnywhere) {
  const Row rows[] = {
      {"WordInsideLongerName", "cLine = Left(line, 2)", "cpString = nLeft(line, 2)"},
      {"EveryKey", "cstr string line right left data currency empty error count",
       "cstrg cString pString nRight nLeft cData currncy emty lError nCount"},
      {"ReplacementHoldsALaterKey", "line string", "pcString string"},
      {"WholeWordsOnly", "nCount = nLeftover + cStrings", "nCount = nLeftover + cStrings"},
      {"UnderscoreJoinsWords", "my_line = 1", "my_line = 1"},
      {"SameWordTwice", "String = String", "ccString = String"},
      {"KeyThatIsItsOwnPrefix", "cStr = CSTR(x)", "cstrgg = CSTR(x)"},
      {"Blank", "   ", "   "},
  };
  for (const Row& r : rows) {
    std::string line = r.in;
    EXPECT_EQ(RenameReserved(line), r.want) << r.name;
    EXPECT_EQ(line, r.want) << r.name;
  }
}

}  // namespace
}  // namespace qw
