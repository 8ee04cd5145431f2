// qwtool convert: the Convert command on the whole text of a file or stdin.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace qw::cli {

// `convert [FILE|-]`: puts the text (stdin when FILE is absent or "-") into the
// pane as pane text, runs the Convert command with nothing selected, and writes
// the text that its Paste put in place of the selection to ctx.out. Returns
// kExitFailed after a fault report (what was pasted is still written), else
// kExitDone. Throws UsageError for extra operands, an option, or a file that
// cannot be read.
int RunConvert(Context& ctx, const std::vector<std::string>& args);

}  // namespace qw::cli
