// Every tests/data/convert/NAME.prg through `qwtool convert` (and --classic, giving the same
// bytes): its CR LF output, as LF text, must be NAME.bas, else it is written to NAME.actual in
// the build folder for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/golden.h"
#include "support/run_tool.h"

namespace qw::testing {
namespace {

class ConvertGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ConvertGolden, MatchesExpectedBasic) {
  const auto path = [this](const char* ext) { return DataDir("convert") / (GetParam() + ext); };
  const auto r = RunTool({"convert", path(".prg").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto classic = RunTool({"--classic", "convert", path(".prg").string()});
  EXPECT_EQ(classic.status, r.status);
  EXPECT_EQ(classic.out, r.out);
  std::string actual;  // CR LF to LF; a lone CR or LF stays, so that a stray one still shows
  for (size_t i = 0; i < r.out.size(); ++i)
    if (r.out.compare(i, 2, "\r\n") != 0) actual += r.out[i];
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), std::ssize(r.out) - std::ssize(actual))
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
