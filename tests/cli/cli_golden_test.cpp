// qwtool run as the real program, one case a script: tests/data/cli/CASE.sh
// runs in a fresh folder after prelude.sh, whose `qw` writes each command,
// its stdout, stderr and exit status; the transcript must be CASE.expected,
// and a mismatch is written to cli_CASE.actual in the build folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/doc_fixture.h"
#include "support/golden.h"

namespace qw::testing {
namespace {

class CliGolden : public TempDirTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(CliGolden, TranscriptIsExpected) {
  const std::string data = DataDir("cli").string();
  const std::string command = "cd '" + dir + "' && QWTOOL='" + QW_QWTOOL + "' DATA='" +
                              QW_TEST_DATA + "' sh -c '. \"$0\"; . \"$1\"' '" + data +
                              "/prelude.sh' '" + data + "/" + GetParam() + ".sh' </dev/null 2>&1";
  int status = 0;
  std::string transcript = ShellOutput(command, &status);
  if (status == 77) GTEST_SKIP() << "a tool the case needs is not installed here";
  for (size_t at; (at = transcript.find(dir)) != std::string::npos;)
    transcript.replace(at, dir.size(), "@");
  ExpectGolden(DataDir("cli") / (GetParam() + ".expected"), transcript, "cli_" + GetParam());
}

std::vector<std::string> Cases() {
  std::vector<std::string> names = CaseNames(DataDir("cli"), ".sh");
  std::erase(names, "prelude");
  return names;
}

INSTANTIATE_TEST_SUITE_P(Cases, CliGolden, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qw::testing
