// The editor's command line: `quillwright [--whole] [FILE]`, `--help` and
// `--version`. With no argument the window starts empty, as it always has.
// A FILE opens as its kind asks (a module indexed, any other file whole),
// or whole with --whole; a FILE that cannot be opened gives the Open
// command's own message and leaves the window empty.
#pragma once

#include <string>
#include <vector>

namespace qw::shell {

class frmEdit32;

struct CommandLine {
  enum class Action { kStart, kHelp, kVersion, kBadUsage };
  Action action = Action::kStart;
  std::string file;    // the FILE argument as given (local 8-bit bytes); "" for none
  bool whole = false;  // --whole: open FILE whole whatever its kind
  std::string error;   // for kBadUsage: what was wrong, one line
};

// Reads the arguments that follow the program's name. "--" ends the options,
// so that a FILE may begin with "-". More than one FILE, or an option not
// known here, is bad usage.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The text of --help, and of --version ("quillwright VERSION"), each ending
// with a line break.
std::string UsageText();
std::string VersionText();

// Opens the FILE of `line` in `window`, as the open commands do; nothing when
// no FILE was given. A relative FILE is taken from the current folder.
void OpenFromCommandLine(frmEdit32& window, const CommandLine& line);

}  // namespace qw::shell
