#include "support/run_tool.h"

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

}  // namespace qw::testing
