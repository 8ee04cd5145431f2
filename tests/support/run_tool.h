// Runs the qwtool binary built beside the tests and collects what it wrote.
#pragma once

#include <string>
#include <vector>

namespace qw::testing {

struct ToolResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs qwtool with `args`, feeding `input` to its stdin.
ToolResult RunTool(const std::vector<std::string>& args, const std::string& input = "");

// Runs qwtool as one row of a table says: `args` split at blanks, "@NAME"
// standing for NAME in the folder `dir`, `input` on stdin. The run must exit
// with `status` and write `out`, and `err` on stderr; for bad usage (status
// 1) stderr must be the one usage line that tells `err` without its "qwtool: ".
void ExpectToolRun(const std::string& name, const std::string& args, const std::string& input,
                   int status, const std::string& out, const std::string& err,
                   const std::string& dir);

// ExpectToolRun for every row of `rows`, whose members bear those names.
template <typename Rows>
void ExpectToolRuns(const Rows& rows, const std::string& dir) {
  for (const auto& r : rows) ExpectToolRun(r.name, r.args, r.input, r.status, r.out, r.err, dir);
}

}  // namespace qw::testing
