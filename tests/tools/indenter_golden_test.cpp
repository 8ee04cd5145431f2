// Every tests/data/indent/NAME.in through IndentText, with the 16-bit limits on and lifted
// (giving the same bytes), must be NAME.expected byte for byte, CR LF included; otherwise the
// output is written to NAME.actual in the build folder for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/limits.h"
#include "tools/indenter.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(QW_TEST_DATA) / "indent";

std::vector<std::string> GoldenNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir))
    if (entry.path().extension() == ".in") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

class IndentGolden : public ::testing::TestWithParam<std::string> {
 protected:
  void TearDown() override { SetClassicLimits(true); }
};

TEST_P(IndentGolden, MatchesExpected) {
  const fs::path expected = kGoldenDir / (GetParam() + ".expected");
  ASSERT_TRUE(fs::exists(expected)) << expected << " is missing";
  const std::string input = ReadBytes(kGoldenDir / (GetParam() + ".in"));

  SetClassicLimits(true);
  const std::string actual = IndentText(input);
  SetClassicLimits(false);
  EXPECT_EQ(IndentText(input), actual) << "the limits switch changed the output";

  const fs::path actual_path = fs::path(QW_TEST_OUTPUT) / (GetParam() + ".actual");
  if (actual != ReadBytes(expected)) {
    std::ofstream(actual_path, std::ios::binary) << actual;
    ADD_FAILURE() << "output differs; see " << actual_path;
  } else {
    fs::remove(actual_path);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, IndentGolden, ::testing::ValuesIn(GoldenNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qw
