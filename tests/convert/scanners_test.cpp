#include "convert/scanners.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_port.h"

namespace qw {
namespace {

using testing::FakePort;

using Scanner = std::string (*)(std::string&);

struct ScanCase {
  const char* name;
  Scanner scan;
  const char* text;
  std::vector<const char*> words;  // successive results
  const char* rest;                // the text afterwards
};

TEST(WordScanners, TakeWordsAsTheirCharacterSetsSay) {
  const ScanCase cases[] = {
      {"VBWordBang", GetNextVBWord, "  rs!Name = 5", {"rs!Name", "5"}, ""},
      {"VBWordParenEndsWord", GetNextVBWord, "x(1)", {"x"}, "1)"},
      {"VBWordKeepsQuotesAndDots", GetNextVBWord, "\"a.b\" c", {"\"a.b\""}, "c"},
      {"VBWordBlanksOnly", GetNextVBWord, "   ", {""}, "   "},
      {"CodeWordHeader", GetNextCodeWord, "Private Sub Form_Load()", {"Private", "Sub", "Form_Load"},
       ")"},
      {"CodeWordDollar", GetNextCodeWord, "Function Total$(a, b)", {"Function", "Total"}, "(a, b)"},
      {"CodeWordBlanksOnly", GetNextCodeWord, "  ", {""}, "  "},
      {"SpacedWord", GetNextSpacedWord, "Sub  Main()", {"Sub", "Main()"}, ""},
      {"SpacedWordFirstOnly", GetNextSpacedWord, "Sub  Main()", {"Sub"}, " Main()"},
      {"SpacedWordBlanksOnly", GetNextSpacedWord, " ", {""}, " "},
      {"PSOQuotedWithBlank", GetNextPSOWord, "\"a b\" $ cList", {"\"a b\"", "cList"}, ""},
      {"PSOParenthesised", GetNextPSOWord, "(cVar $ cList)", {"cVar"}, "$ cList)"},
      {"PSOUnmatchedClose", GetNextPSOWord, "cList)", {"cList"}, ""},
      {"PSOParenInQuotes", GetNextPSOWord, "\"a)\" x", {"\"a)\""}, "x"},
      {"PSOUnclosedOpen", GetNextPSOWord, "(a", {"a"}, ""},
      // A separator inside an open parenthesis ends the operand and drops the "(".
      {"PSOCommaInsideCall", GetNextPSOWord, "Left(a,1) $ b", {"Lefta"}, "1) $ b"},
      {"PSOWholeCall", GetNextPSOWord, "Trim(a) $ b", {"Trim(a)"}, "$ b"},
      {"PSOBrackets", GetNextPSOWord, "a[1] + b", {"a[1]"}, "+ b"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    for (const char* w : c.words) EXPECT_EQ(c.scan(text), w) << c.name;
    EXPECT_EQ(text, c.rest) << c.name;
  }
}

std::vector<std::string> Tokens(const std::string& line) {
  StartScan(line);
  std::vector<std::string> out;
  for (std::string t; !(t = GetNextWord()).empty();) out.push_back(t);
  return out;
}

TEST(GetNextWord, CutsALineIntoFourKindsOfToken) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Tokens("SELECT  2"), (V{"SELECT", "  ", "2"}));
  EXPECT_EQ(Tokens("USE x\r\n"), (V{"USE", " ", "x", "\r\n"}));
  EXPECT_EQ(Tokens("a\rb"), (V{"a", "\r", "b"}));
  EXPECT_EQ(Tokens("a\xDF" "b\xB5"), (V{"a", "\xDF", "b", "\xB5"}));
  EXPECT_EQ(Tokens("\xEF\xA7"), (V{"\xEF", "\xA7"}));
  EXPECT_EQ(Tokens("\ta\nb c"), (V{"\ta\nb", " ", "c"}));
  EXPECT_EQ(Tokens(""), V{});
  EXPECT_EQ(Tokens("   "), (V{"   "}));
}

TEST(GetNextWord, ReportsAFaultAndReturnsEmpty) {
  FakePort port;
  PortScope scope(port);
  TheScanState() = ScanState{"ab", 1, 5};  // the end lies past the text
  EXPECT_EQ(GetNextWord(), "");
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, "Program Error");
  EXPECT_NE(port.boxes[0].text.find("Procname: GetNextWord"), std::string::npos);
}

}  // namespace
}  // namespace qw
