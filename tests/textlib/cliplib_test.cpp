#include "textlib/cliplib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/case_table.h"
#include "support/fake_port.h"

namespace qw {
namespace {

using testing::FakePort;

// A value written KIND:LITERAL, as tests/data/textlib/cliplib.txt writes them.
Value ParseValue(const std::string& text) {
  const size_t colon = text.find(':');
  const std::string kind = text.substr(0, colon), lit = text.substr(colon + 1);
  const auto number = [&lit] { return std::stoi(lit); };
  if (kind == "i16") return static_cast<std::int16_t>(number());
  if (kind == "i32") return std::int32_t{number()};
  if (kind == "sgl") return std::stof(lit);
  if (kind == "dbl") return std::stod(lit);
  if (kind == "cur") return Currency{number()};
  if (kind == "flag") return Flag{number() != 0};
  if (kind == "nothing") return Nothing{};
  if (kind == "null") return Null{};
  if (kind == "date") {
    Date d;
    EXPECT_EQ(std::sscanf(lit.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day), 3) << text;
    return d;
  }
  EXPECT_EQ(kind, "str");
  return lit;
}

// Every case of tests/data/textlib/cliplib.txt: FUNCTION|ARGUMENTS...|ANSWER.
TEST(ClipLib, AnswersEveryCaseOfTheTable) {
  FakePort port;
  PortScope scope(port);
  const auto yes_no = [](bool b) { return std::string(b ? "yes" : "no"); };
  size_t cases = 0;
  for (const auto& row : testing::ReadCaseTable("textlib/cliplib.txt", 3)) {
    const auto& f = row.fields;
    const std::string& fn = f[0];
    std::string got, want = f.back();
    if (fn == "IsEmptyValue" || fn == "IsAlpha" || fn == "IsDigit") {
      const Value v = ParseValue(f[1]);
      got = yes_no(fn == "IsEmptyValue" ? IsEmptyValue(v)
                   : fn == "IsAlpha"    ? IsAlpha(v)
                                        : IsDigit(v));
    } else if (fn == "StrTran" || fn == "StrTranNoCase") {
      got = (fn == "StrTran" ? StrTran : StrTranNoCase)(f[1], f[2], f[3]);
    } else if (fn == "ReplaceFirst") {
      std::string text = f[1];
      got = ReplaceFirst(text, f[2], f[3]);
      EXPECT_EQ(text, want) << row.where << ": the text argument";
    } else if (fn == "TakeWord") {
      std::string text = f[1];
      got = TakeWord(text, f[2]) + "|" + text;
      want = f[3] + "|" + f[4];
    } else if (fn == "RAt") {
      got = std::to_string(RAt(f[1], f[2]));
    } else if (fn == "CountLeadingBlanks") {
      got = std::to_string(CountLeadingBlanks(f[1]));
    } else if (fn == "SignificantText") {
      got = SignificantText(f[1]);
    } else if (fn == "MLCount") {
      ResetMemoLineCursor();
      got = std::to_string(MLCount(f[1], std::stoi(f[2])));
    } else {
      ADD_FAILURE() << row.where << ": no function " << fn;
    }
    EXPECT_EQ(got, want) << row.where;
    ++cases;
  }
  EXPECT_EQ(cases, 70u);
  EXPECT_TRUE(port.boxes.empty());
}

// StartsNoCaseByWords compares eight bytes at a time: it must agree with
// StartsNoCase, byte by byte, for every byte value and every length.
TEST(StartsNoCaseByWords, AgreesWithTheByteByByteCompare) {
  const auto reference = [](std::string_view text, std::string_view prefix) {
    return StartsNoCase(text, prefix);
  };
  std::mt19937 random(17);
  // Mostly letters that match in either case, so that long prefixes agree
  // often; the bytes around a-z and A-Z, 0 and bytes above 127 sometimes.
  const std::string near = std::string("@[`{ \0\x80\xc1\xe1\xff", 10) + "aAzZmM";
  const auto byte = [&](char like) {
    const unsigned r = random() % 8;
    if (r < 5) return like;
    if (r < 7) return IsLetterChar(like) ? static_cast<char>(like ^ 0x20) : like;
    return near[random() % near.size()];
  };
  for (int round = 0; round < 20000; ++round) {
    std::string prefix(random() % 20, ' ');
    for (char& c : prefix) c = static_cast<char>('A' + random() % 26);
    std::string text;
    for (char c : prefix) text.push_back(byte(c));
    text.resize(random() % 24, 'x');
    if (round % 3 == 0 && !text.empty())
      prefix[random() % std::min(prefix.size() + 1, text.size())] = byte(text[0]);
    ASSERT_EQ(StartsNoCaseByWords(text, prefix), reference(text, prefix))
        << text << " / " << prefix;
    ASSERT_EQ(StartsNoCaseByWords(prefix, text), reference(prefix, text))
        << prefix << " / " << text;
  }
  for (int c = 0; c < 256; ++c) {
    for (int d = 0; d < 256; ++d) {
      const std::string a(9, static_cast<char>(c)), b(9, static_cast<char>(d));
      ASSERT_EQ(StartsNoCaseByWords(a, b), UpperChar(a[0]) == UpperChar(b[0])) << c << " " << d;
    }
  }
}

TEST(RAt, YieldsBeforeEachSearch) {
  FakePort port;
  PortScope scope(port);
  EXPECT_EQ(RAt(" ", "a b c"), 4);
  EXPECT_EQ(port.yields, 3);  // two hits and the failing search
}

class MemoLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMemoLineCursor(); }
  void TearDown() override { SetClassicLimits(true); }
};

// The cursor remembers no text: lines come back unchanged in any order, and a
// line asked for out of sequence starts again from line one.
TEST_F(MemoLineTest, GivesLinesInAnyOrderAndWrapsWithinAPositiveWidth) {
  const std::string text = "  a\r\nb", a = "a1\r\na2\r\na3", b = "b1\r\nb2\r\nb3";
  const struct {
    const std::string& text;
    Int width, line;
    const char* want;
  } steps[] = {{text, 0, 1, "  a"}, {text, 0, 2, "b"}, {text, 0, 1, "  a"}, {text, 0, 2, "b"},
               {text, 0, 2, "b"},   {text, 0, 3, ""},  {a, 0, 1, "a1"},     {a, 0, 2, "a2"},
               {b, 0, 3, "b3"},     {b, 0, 1, "b1"},   {b, 0, 2, "b2"}};
  for (const auto& s : steps) EXPECT_EQ(MemoLine(s.text, s.width, s.line), s.want) << s.want;
  EXPECT_EQ(MemoLine("a\r\n\r\nc", 0, 2), "");
  EXPECT_EQ(MemoLine("a\r\n\r\nc", 0, 3), "c");
  // The next line starts at the blank, so " brown fox" fills the width again.
  EXPECT_EQ(MemoLine("the quick brown fox", 10, 1), "the quick");
  EXPECT_EQ(MemoLine("the quick brown fox", 10, 2), "brown");
  EXPECT_EQ(MemoLine("the quick brown fox", 10, 3), "fox");
  EXPECT_EQ(MemoLine("ab\r\ncd", 10, 2), "cd");
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
