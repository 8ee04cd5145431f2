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

}  // namespace qw::testing
