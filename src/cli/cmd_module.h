// The module subcommands of qwtool: list, show, replace and find. Each drives the
// editor's own document model (document/editor.h) through the headless port,
// so that what it prints or writes is what the editor shows or saves.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace qw::cli {

// qwtool list [--json] [-r] FILE...
int RunList(Context& ctx, const std::vector<std::string>& args);
// qwtool show FILE ENTRY
int RunShow(Context& ctx, const std::vector<std::string>& args);
// qwtool replace FILE ENTRY [TEXTFILE|-] [--to NEWFILE]
int RunReplace(Context& ctx, const std::vector<std::string>& args);
// qwtool find [--match-case] [-r] FILE... TEXT
int RunFind(Context& ctx, const std::vector<std::string>& args);

}  // namespace qw::cli
