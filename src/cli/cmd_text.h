// The text subcommands of qwtool: indent, comment, uncomment, convert and
// print. Each puts its input (a file, or stdin for "-" or no operand) into the
// edit pane as pane text, with nothing selected, and runs the editor's own
// command of that name on the whole text.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace qw::cli {

// `indent|comment|uncomment|convert [FILE|-]`: writes to ctx.out the text the
// command's Paste put in place of the selection. Returns kExitFailed when the
// command pasted nothing (a blank input it refuses, a fault), else kExitDone.
int RunIndent(Context& ctx, const std::vector<std::string>& args);
int RunComment(Context& ctx, const std::vector<std::string>& args);
int RunUncomment(Context& ctx, const std::vector<std::string>& args);
int RunConvert(Context& ctx, const std::vector<std::string>& args);

// `print [FILE|-] --pdf OUT | --layout`: prints the listing into the PDF
// file OUT, or writes its text layout to ctx.out ("B " before a bold line, two
// blanks before a regular one, a form feed line where a page starts).
int RunPrint(Context& ctx, const std::vector<std::string>& args);

}  // namespace qw::cli
