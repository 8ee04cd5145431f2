// Every tests/data/convert/NAME.prg through `qwtool convert` (and --classic, giving the same
// bytes): its CR LF output, as LF text, must be NAME.bas, else it is written to NAME.actual in
// the build folder for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/golden.h"

namespace qw::testing {
namespace {

class ConvertGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ConvertGolden, MatchesExpectedBasic) {
  const auto path = [this](const char* ext) { return DataDir("convert") / (GetParam() + ext); };
  // Its messages on stderr would show in the output.
  const std::string args = " convert '" + path(".prg").string() + "' 2>&1";
  int status = -1;
  const std::string out = ShellOutput(QW_QWTOOL + args, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ShellOutput(QW_QWTOOL + std::string(" --classic") + args), out);
  std::string actual;  // CR LF to LF; a lone CR or LF stays, so that a stray one still shows
  for (size_t i = 0; i < out.size(); ++i)
    if (out.compare(i, 2, "\r\n") != 0) actual += out[i];
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), std::ssize(out) - std::ssize(actual))
      << "a bare LF in the output";
  ExpectGolden(path(".bas"), actual, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Data, ConvertGolden,
                         ::testing::ValuesIn(CaseNames(DataDir("convert"), ".prg")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qw::testing
