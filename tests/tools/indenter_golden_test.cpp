// Every tests/data/indent/NAME.in through IndentText, with the 16-bit limits on and lifted
// (giving the same bytes), must be NAME.expected byte for byte, CR LF included; otherwise the
// output is written to NAME.actual in the build folder for review.
#include <gtest/gtest.h>

#include <string>

#include "platform/limits.h"
#include "support/golden.h"
#include "tools/indenter.h"

namespace qw::testing {
namespace {

class IndentGolden : public ::testing::TestWithParam<std::string> {
 protected:
  void TearDown() override { SetClassicLimits(true); }
};

TEST_P(IndentGolden, MatchesExpected) {
  const std::string input = ReadBytes(DataDir("indent") / (GetParam() + ".in"));
  SetClassicLimits(true);
  const std::string actual = IndentText(input);
  SetClassicLimits(false);
  EXPECT_EQ(IndentText(input), actual) << "the limits switch changed the output";
  ExpectGolden(DataDir("indent") / (GetParam() + ".expected"), actual, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Data, IndentGolden,
                         ::testing::ValuesIn(CaseNames(DataDir("indent"), ".in")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qw::testing
