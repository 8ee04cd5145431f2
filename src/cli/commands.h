// The subcommands of qwtool. Each takes the words after its name (its own
// options and operands; the common options are already removed) and returns
// the exit status: 0 done, 1 bad usage, 2 refused or failed. A subcommand
// reports bad usage by throwing UsageError.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "cli/headless_port.h"
#include "cli/text_out.h"
#include "document/line_rules.h"

namespace qw::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFailed = 2;

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown by a subcommand that cannot go on for a reason outside the editor's
// own messages (an input file that cannot be read): main writes
// "qwtool: WHAT" to stderr and exits with kExitFailed.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Context {
  HeadlessPort& port;
  TextOut& out;
  int in;  // the file descriptor "-" reads: standard input
  TextOut& err;
  // The rules of every index the subcommand builds (--all-procedures).
  IndexOptions index_options = {};
};

using CommandFn = int (*)(Context& ctx, const std::vector<std::string>& args);

struct Command {
  const char* name;
  CommandFn run;
  const char* synopsis;  // one line for --help
};

// The table of subcommands, in the order --help lists them.
const std::vector<Command>& Commands();

// Reads a whole file, or stdin for "-"; throws Refusal when it cannot be read
// (missing, no permission, or not a regular file: a folder, a FIFO or a
// device is refused at once, never waited on or read without end).
std::string ReadInput(Context& ctx, const std::string& path);
// Flushes and closes standard output. A write or close that failed (a full
// disk, /dev/full, a closed pipe) is told in one line on `err` and makes the
// status kExitFailed; otherwise `status` is returned.
int FinishOutput(TextOut& out, TextOut& err, int status);

// Turns a text into edit-pane text: every LF not preceded by CR becomes CR LF.
std::string ToPaneText(const std::string& text);

}  // namespace qw::cli
