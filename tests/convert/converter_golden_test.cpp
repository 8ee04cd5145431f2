// Every tests/data/convert/NAME.prg through `qwtool convert` (and --classic, giving the same
// bytes): its CR LF output, as LF text, must be NAME.bas, else it is written to NAME.actual in
// the build folder for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

fs::path GoldenDir() {
  return fs::path(QW_TEST_DATA) / "convert";
}

std::vector<std::string> GoldenNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(GoldenDir()))
    if (entry.path().extension() == ".prg") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ConvertGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ConvertGolden, MatchesExpectedBasic) {
  const auto path = [this](const char* ext) { return GoldenDir() / (GetParam() + ext); };
  ASSERT_TRUE(fs::exists(path(".bas"))) << path(".bas") << " is missing";
  std::ostringstream expected;
  expected << std::ifstream(path(".bas"), std::ios::binary).rdbuf();

  const auto r = testing::RunTool({"convert", path(".prg").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto classic = testing::RunTool({"--classic", "convert", path(".prg").string()});
  EXPECT_EQ(classic.status, r.status);
  EXPECT_EQ(classic.out, r.out);
  std::string actual;  // CR LF to LF; a lone CR or LF stays, so that a stray one still shows
  for (size_t i = 0; i < r.out.size(); ++i)
    if (r.out.compare(i, 2, "\r\n") != 0) actual += r.out[i];
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), std::ssize(r.out) - std::ssize(actual))
      << "a bare LF in the output";
  const fs::path review = fs::path(QW_TEST_OUTPUT) / (GetParam() + ".actual");
  if (actual != expected.str()) {
    std::ofstream(review, std::ios::binary) << actual;
    ADD_FAILURE() << "output differs; see " << review;
  } else {
    fs::remove(review);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, ConvertGolden, ::testing::ValuesIn(GoldenNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qw
