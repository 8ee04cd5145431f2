#include "tools/indenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/fault.h"
#include "platform/limits.h"

namespace qw {
namespace {

class IndentLimits : public ::testing::Test {
 protected:
  void TearDown() override { SetClassicLimits(true); }
};

// Under the 16-bit limits a selection over 32,767 bytes is refused before any work. A level can
// leave the 16-bit range only in a longer text (an opening line takes at least four bytes), so
// with the limits lifted it goes on counting: 11,000 "End If" lines end near level -33,000.
TEST_F(IndentLimits, OverflowOnlyWhileTheLimitsApply) {
  const std::string longest = std::string(32765, 'x') + "\r\n";
  std::string deep;
  for (int i = 0; i < 11000; ++i) deep += "End If\r\n";
  EXPECT_EQ(IndentText(longest), "   " + longest);
  for (const std::string& text : {"x" + longest, deep}) {
    EXPECT_THAT([&] { IndentText(text); },
                testing::Throws<Fault>(testing::Property(&Fault::number, kFaultOverflow)));
  }
  SetClassicLimits(false);
  EXPECT_EQ(IndentText("x" + longest), "   x" + longest);
  EXPECT_EQ(IndentText(deep), deep);
}

}  // namespace
}  // namespace qw
