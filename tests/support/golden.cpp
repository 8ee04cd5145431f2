#include "support/golden.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace qw::testing {

namespace fs = std::filesystem;

fs::path DataDir(const std::string& name) {
  return fs::path(QW_TEST_DATA) / name;
}

std::vector<std::string> CaseNames(const fs::path& dir, const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    if (extension.empty() ? e.is_directory() : e.path().extension() == extension) {
      names.push_back(extension.empty() ? e.path().filename().string() : e.path().stem().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const fs::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

std::string ShellOutput(const std::string& command, int* status) {
  std::string out;
  FILE* run = popen(command.c_str(), "r");
  char buf[4096];
  for (size_t got; run && (got = fread(buf, 1, sizeof buf, run)) > 0;) out.append(buf, got);
  const int code = run ? pclose(run) : -1;
  if (status) *status = WIFEXITED(code) ? WEXITSTATUS(code) : -1;
  return out;
}

void ExpectGolden(const fs::path& expected, const std::string& actual, const std::string& name) {
  ASSERT_TRUE(fs::exists(expected)) << expected << " is missing";
  const fs::path review = fs::path(QW_TEST_OUTPUT) / (name + ".actual");
  if (actual != ReadBytes(expected)) {
    std::ofstream(review, std::ios::binary) << actual;
    ADD_FAILURE() << "the output differs from " << expected << "; see " << review;
  } else {
    fs::remove(review);
  }
}

}  // namespace qw::testing
