// Golden conversions: every tests/data/convert/NAME.prg is run through
// `qwtool convert` and its output compared with NAME.bas. The files keep LF
// line ends; the tool's CR LF output is compared with them as LF text. On a
// mismatch the output is written beside them as NAME.actual for review. Each
// is converted with --classic too, which must give the same bytes.
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
  for (const auto& entry : fs::directory_iterator(GoldenDir())) {
    if (entry.path().extension() == ".prg") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Slurp(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// CR LF to LF; a lone CR or LF stays, so that a stray one still shows.
std::string CrLfToLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

class ConvertGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(ConvertGolden, MatchesExpectedBasic) {
  const fs::path prg = GoldenDir() / (GetParam() + ".prg");
  const fs::path bas = GoldenDir() / (GetParam() + ".bas");
  const fs::path actual_path = GoldenDir() / (GetParam() + ".actual");
  ASSERT_TRUE(fs::exists(bas)) << bas << " is missing";

  const auto r = testing::RunTool({"convert", prg.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // Every output line ends with CR LF: no bare LF may be left in it.
  for (size_t i = 0; i < r.out.size(); ++i) {
    if (r.out[i] == '\n' && (i == 0 || r.out[i - 1] != '\r')) {
      ADD_FAILURE() << "bare LF at byte " << i;
      break;
    }
  }
  const std::string actual = CrLfToLf(r.out);
  // Within the 16-bit limits, keeping them changes nothing.
  const auto classic = testing::RunTool({"--classic", "convert", prg.string()});
  EXPECT_EQ(classic.status, r.status);
  EXPECT_EQ(classic.out, r.out);
  const std::string expected = Slurp(bas);
  if (actual != expected) {
    std::ofstream(actual_path, std::ios::binary) << actual;
    ADD_FAILURE() << "output differs; see " << actual_path;
  } else {
    fs::remove(actual_path);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, ConvertGolden, ::testing::ValuesIn(GoldenNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace
}  // namespace qw
