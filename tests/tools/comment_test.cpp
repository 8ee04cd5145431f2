#include "tools/comment.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/fault.h"
#include "platform/limits.h"
#include "support/case_table.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

// Every case of tests/data/tools/comment.txt: TOOL|TEXT|ANSWER.
TEST(CommentText, CommentAndUncommentEveryCaseOfTheTable) {
  size_t cases = 0;
  for (const auto& row : testing::ReadCaseTable("tools/comment.txt", 3)) {
    const auto tool = row.fields[0] == "Comment" ? CommentText : UncommentText;
    EXPECT_EQ(tool(row.fields[1]), row.fields[2]) << row.where;
    ++cases;
  }
  EXPECT_EQ(cases, 17u);
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
    EXPECT_THAT([&] { tool(text); },
                ::testing::Throws<Fault>(::testing::Property(&Fault::number, kFaultOverflow)));
  }
  EXPECT_EQ(CommentText(text.substr(4)).size(), 32764u + 8191u);
  SetClassicLimits(false);
  EXPECT_EQ(CommentText(text).size(), text.size() + 8192);
  EXPECT_EQ(UncommentText(text), text);
  SetClassicLimits(true);
}

}  // namespace
}  // namespace qw
