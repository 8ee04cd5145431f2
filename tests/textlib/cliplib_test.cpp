#include "textlib/cliplib.h"

#include <gtest/gtest.h>

#include "support/fake_port.h"

namespace qw {
namespace {

using testing::FakePort;

struct EmptyCase {
  const char* name;
  Value value;
  bool empty;
};

TEST(IsEmptyValue, JudgesEveryKindOfValue) {
  const EmptyCase cases[] = {
      {"EmptyString", std::string(""), true},
      {"ThreeBlanks", std::string("   "), true},
      {"ZeroInt16", std::int16_t{0}, true},
      {"ZeroInt32", std::int32_t{0}, true},
      {"ZeroDouble", 0.0, true},
      {"ZeroSingle", 0.0f, true},
      {"ZeroCurrency", Currency{0}, true},
      {"EmptyDate", Date{1901, 1, 1}, true},
      {"Nothing", Nothing{}, true},
      {"Null", Null{}, true},
      {"FalseFlag", Flag{false}, true},
      {"BlankThenX", std::string(" x"), false},
      {"One", std::int16_t{1}, false},
      {"Tab", std::string("\t"), false},
      {"SecondOfJanuary", Date{1901, 1, 2}, false},
      {"NonZeroCurrency", Currency{1}, false},
      {"TrueFlag", Flag{true}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsEmptyValue(c.value), c.empty) << c.name;
}

TEST(IsAlphaIsDigit, LookAtTheFirstCharacterOfTheStringForm) {
  EXPECT_FALSE(IsAlpha(Value(std::string(" a"))));
  EXPECT_FALSE(IsAlpha(Value(std::string("\xE9"))));  // e acute in Windows-1252
  EXPECT_TRUE(IsAlpha(Value(std::string("Zed"))));
  EXPECT_FALSE(IsAlpha(Value(std::string(""))));
  EXPECT_TRUE(IsDigit(Value(std::string("7up"))));
  EXPECT_TRUE(IsDigit(Value(std::int32_t{42})));
  EXPECT_FALSE(IsDigit(Value(std::int32_t{-4})));  // "-4" starts with "-"
  EXPECT_FALSE(IsDigit(Value(Nothing{})));
  EXPECT_TRUE(IsAlpha(Value(Flag{true})));  // "True"
}

struct TranCase {
  const char* name;
  const char* text;
  const char* search;
  const char* replacement;
  const char* exact;
  const char* nocase;
};

TEST(StrTran, ReplacesLeftToRightWithoutRescanning) {
  const TranCase cases[] = {
      {"OnlyLowerCaseMatchesExactly", "a.and.b.AND.c", ".and.", " And ", "a And b.AND.c",
       "a And b And c"},
      {"ReplacementHoldsSearch", "aaa", "a", "aa", "aaaaaa", "aaaaaa"},
      {"NoOverlap", "aaaa", "aa", "b", "bb", "bb"},
      {"NotFound", "abc", "x", "y", "abc", "abc"},
      {"EmptySearchChangesNothing", "abc", "", "y", "abc", "abc"},
      {"DeleteAll", "a-b-c", "-", "", "abc", "abc"},
      {"HighBytesAreNotLetters", "\xC4x\xE4", "\xE4", "A", "\xC4x" "A", "\xC4x" "A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrTran(c.text, c.search, c.replacement), c.exact) << c.name;
    EXPECT_EQ(StrTranNoCase(c.text, c.search, c.replacement), c.nocase) << c.name;
  }
}

TEST(ReplaceFirst, ChangesTheTextArgumentToo) {
  std::string text = "AxBx";
  EXPECT_EQ(ReplaceFirst(text, "x", ""), "ABx");
  EXPECT_EQ(text, "ABx");
  std::string same = "abc";
  EXPECT_EQ(ReplaceFirst(same, "zz", "y"), "abc");
  EXPECT_EQ(same, "abc");
  std::string caseless = "Select WITH x";
  EXPECT_EQ(ReplaceFirst(caseless, " with ", " "), "Select x");
}

struct TakeCase {
  const char* name;
  const char* text;
  const char* extra;
  const char* word;
  const char* rest;
};

TEST(TakeWord, TakesOneWordAndItsEndingSeparator) {
  const TakeCase cases[] = {
      {"SkipsLeadingSeparators", "  (abc)", "", "abc", ""},
      {"ExtraCharacters", "  (abc)", "()", "(abc)", ""},
      {"ConsumesOneSeparator", "abc def", "", "abc", "def"},
      {"BlanksOnlyLeftAlone", "   ", "", "", "   "},
      {"TrailingBlanksStay", "abc  ", "", "abc", "  "},
      {"WordToTheEnd", "abc", "", "abc", ""},
      {"Empty", "", "", "", ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(TakeWord(text, c.extra), c.word) << c.name;
    EXPECT_EQ(text, c.rest) << c.name;
  }
}

TEST(RAt, FindsTheLastOccurrenceAndYieldsBeforeEachSearch) {
  FakePort port;
  PortScope scope(port);
  EXPECT_EQ(RAt(" ", "a b c"), 4);
  EXPECT_EQ(port.yields, 3);  // two hits and the failing search
  EXPECT_EQ(RAt("x", "abc"), 0);
  EXPECT_EQ(RAt("aa", "aaa"), 2);
}

TEST(CountLeadingBlanks, CountsSpacesOnly) {
  EXPECT_EQ(CountLeadingBlanks("   If"), 3);
  EXPECT_EQ(CountLeadingBlanks("\tIf"), 0);
  EXPECT_EQ(CountLeadingBlanks("    "), 4);
  EXPECT_EQ(CountLeadingBlanks(""), 0);
}

TEST(SignificantText, DropsDateStampsKeepsProse) {
  EXPECT_EQ(SignificantText("12/05/97 jb"), "");
  EXPECT_EQ(SignificantText("  changed the totals 12/05/97 "), "changed the totals 12/05/97");
  EXPECT_EQ(SignificantText("abcdefghi"), "");     // nine letters
  EXPECT_EQ(SignificantText("abcdefghij"), "abcdefghij");  // ten
}

class MemoLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMemoLineCursor(); }
  void TearDown() override { SetClassicLimits(true); }
};

TEST_F(MemoLineTest, CountsLinesAtWidthZero) {
  const struct {
    const char* name;
    std::string text;
    Int count;
  } cases[] = {
      {"Empty", "", 0},           {"One", "x", 1},
      {"EndedByCrLf", "x\r\n", 1}, {"Two", "x\r\ny", 2},
      {"TwoEmpty", "\r\n\r\n", 2}, {"LoneCrAndLfAreCharacters", "a\rb\nc", 1},
      {"CrCrLf", "a\r\r\nb", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(MLCount(c.text, 0), c.count) << c.name;
}

TEST_F(MemoLineTest, GivesLinesUnchangedInAnyOrder) {
  const std::string text = "  a\r\nb";
  EXPECT_EQ(MemoLine(text, 0, 1), "  a");
  EXPECT_EQ(MemoLine(text, 0, 2), "b");
  EXPECT_EQ(MemoLine(text, 0, 1), "  a");
  EXPECT_EQ(MemoLine(text, 0, 2), "b");
  EXPECT_EQ(MemoLine(text, 0, 2), "b");  // out of sequence: starts again
  EXPECT_EQ(MemoLine(text, 0, 3), "");
  EXPECT_EQ(MemoLine("a\r\n\r\nc", 0, 2), "");
  EXPECT_EQ(MemoLine("a\r\n\r\nc", 0, 3), "c");
}

TEST_F(MemoLineTest, WalkingTwoTextsNeedsARestartAtLineOne) {
  const std::string a = "a1\r\na2\r\na3";
  const std::string b = "b1\r\nb2\r\nb3";
  EXPECT_EQ(MemoLine(a, 0, 1), "a1");
  EXPECT_EQ(MemoLine(a, 0, 2), "a2");
  // The cursor remembers no text: line 3 of b continues from a's cursor.
  EXPECT_EQ(MemoLine(b, 0, 3), "b3");
  EXPECT_EQ(MemoLine(b, 0, 1), "b1");
  EXPECT_EQ(MemoLine(b, 0, 2), "b2");
}

TEST_F(MemoLineTest, WrapsAtTheLastBlankWithinAPositiveWidth) {
  // The next line starts at the blank, so " brown fox" fills the width again.
  const std::string text = "the quick brown fox";
  EXPECT_EQ(MLCount(text, 10), 3);
  EXPECT_EQ(MemoLine(text, 10, 1), "the quick");
  EXPECT_EQ(MemoLine(text, 10, 2), "brown");
  EXPECT_EQ(MemoLine(text, 10, 3), "fox");
  EXPECT_EQ(MemoLine("ab\r\ncd", 10, 2), "cd");
  EXPECT_EQ(MLCount("abcdefghijkl", 5), 3);  // no blank: broken at the width
}

TEST_F(MemoLineTest, ReportsOverflowAsProgramErrorUnderClassicLimits) {
  FakePort port;
  PortScope scope(port);
  std::string big(40000, 'x');
  big.replace(35000, 2, "\r\n");
  EXPECT_EQ(MLCount(big, 0), 0);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, "Program Error");
  EXPECT_EQ(port.boxes[0].text.substr(0, 13), "Err Code:  6\n");
  EXPECT_NE(port.boxes[0].text.find("\nProcname: MLCount\nSub Proc: "), std::string::npos);

  EXPECT_EQ(MemoLine(big, 0, 2), "");
  ASSERT_EQ(port.boxes.size(), 2u);
  EXPECT_NE(port.boxes[1].text.find("Procname: MemoLine"), std::string::npos);

  SetClassicLimits(false);
  EXPECT_EQ(MLCount(big, 0), 2);
  EXPECT_EQ(MemoLine(big, 0, 2).size(), 40000u - 35002u);
  EXPECT_EQ(port.boxes.size(), 2u);
}

}  // namespace
}  // namespace qw
