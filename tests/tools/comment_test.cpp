#include "tools/comment.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fault.h"
#include "platform/limits.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

struct LineCase {
  const char* name;
  std::string text;
  std::string expected;
};

TEST(CommentText, PutsTheMarkBeforeTheFirstNonBlank) {
  const LineCase cases[] = {
      {"KeepsIndentDropsTrailingBlanks", "   x = 1  ", "   'x = 1\r\n"},
      {"EmptyLine", "\r\n", "'\r\n"},
      {"BlanksOnly", "    ", "    '\r\n"},
      {"TabIsNoBlank", "\tx = 1", "'\tx = 1\r\n"},
      {"CommentGetsASecondMark", "  ' note", "  '' note\r\n"},
      {"LastLineGetsALineEnd", "a\r\n  b", "'a\r\n  'b\r\n"},
      {"LoneLineFeedIsNoLineEnd", "a\nb", "'a\nb\r\n"},
      {"EmptyText", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CommentText(c.text), c.expected) << c.name;
}

TEST(UncommentText, TakesOneMarkAwayFromCommentLines) {
  const LineCase cases[] = {
      {"KeepsIndent", "   'x = 1", "   x = 1\r\n"},
      {"MarkOnly", "'", "\r\n"},
      {"TabBeforeMarkIsNoComment", "\t'x", "\t'x\r\n"},
      {"RemovesOnlyTheFirstOfTwo", "''x", "'x\r\n"},
      {"KeepsBlankAfterMark", "  ' note  ", "   note\r\n"},
      {"MarkInTheMiddleStays", "x = 1 ' note  ", "x = 1 ' note\r\n"},
      {"BlanksBecomeEmptyLine", "   \r\n ", "\r\n\r\n"},
      {"LastLineGetsALineEnd", "'a\r\n b ", "a\r\n b\r\n"},
      {"EmptyText", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(UncommentText(c.text), c.expected) << c.name;
}

TEST(CommentText, UncommentGivesTheLinesBackWithoutTrailingBlanks) {
  std::string source, trimmed;
  for (const std::string line : {"Sub Form_Load ()  ", "   Dim n As Integer", "",
                                 "   If n = 0 Then MsgBox \"It's empty\"   ",
                                 "   ' counts the rows", "\tn = n + 1", "End Sub"}) {
    source += line + "\r\n";
    trimmed += RTrim(line) + "\r\n";
  }
  EXPECT_EQ(UncommentText(CommentText(source)), trimmed);
}

TEST(CommentText, TextOverTheClassicLimitOverflowsUnlessLifted) {
  std::string text;
  for (int i = 0; i < 8192; ++i) text += "ab\r\n";  // 32,768 bytes
  for (auto tool : {CommentText, UncommentText}) {
    try {
      tool(text);
      ADD_FAILURE() << "no fault";
    } catch (const Fault& f) {
      EXPECT_EQ(f.number(), kFaultOverflow);
    }
  }
  EXPECT_EQ(CommentText(text.substr(4)).size(), 32764u + 8191u);
  SetClassicLimits(false);
  EXPECT_EQ(CommentText(text).size(), text.size() + 8192);
  EXPECT_EQ(UncommentText(text), text);
  SetClassicLimits(true);
}

}  // namespace
}  // namespace qw
