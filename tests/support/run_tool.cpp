#include "support/run_tool.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qw::testing {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string TempPath(const char* tag) {
  char name[] = "/tmp/qwtool-test-XXXXXX";
  const int fd = mkstemp(name);
  if (fd >= 0) close(fd);
  return std::string(name) + tag;
}

}  // namespace

ToolResult RunTool(const std::vector<std::string>& args, const std::string& input) {
  const std::string in = TempPath(".in"), out = TempPath(".out"), err = TempPath(".err");
  std::ofstream(in, std::ios::binary) << input;
  ToolResult r;
  const pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(in.c_str(), "rb", stdin) || !freopen(out.c_str(), "wb", stdout) ||
        !freopen(err.c_str(), "wb", stderr))
      _exit(127);
    std::vector<char*> argv;
    std::string tool = QW_QWTOOL;
    argv.push_back(tool.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(tool.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(out);
  r.err = Slurp(err);
  std::remove(in.c_str());
  std::remove(out.c_str());
  std::remove(err.c_str());
  return r;
}

void ExpectToolRun(const std::string& name, const std::string& args, const std::string& input,
                   int status, const std::string& out, const std::string& err,
                   const std::string& dir) {
  std::vector<std::string> words;
  std::istringstream split(args);
  for (std::string w; split >> w;) words.push_back(w[0] == '@' ? dir + "/" + w.substr(1) : w);
  const ToolResult run = RunTool(words, input);
  EXPECT_EQ(run.status, status) << name;
  EXPECT_EQ(run.out, out) << name;
  if (status == 1) {
    // Bad usage is one line: "qwtool: usage: WHY (qwtool --help for more)".
    const std::string why = err.empty() ? "" : err.substr(err.find(": ") + 2);
    EXPECT_EQ(run.err.rfind("qwtool: usage: " + why, 0), 0u) << name << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << name << ": " << run.err;
    EXPECT_TRUE(run.err.ends_with(" (qwtool --help for more)\n")) << name << ": " << run.err;
  } else {
    EXPECT_EQ(run.err, err) << name;
  }
}

}  // namespace qw::testing
