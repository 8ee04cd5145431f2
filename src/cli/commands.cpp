#include "cli/commands.h"
#include "cli/cmd_convert.h"
#include "cli/cmd_module.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace qw::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      // Subcommands are added here as their operations are built.
      {"convert", RunConvert, "convert [FILE|-]              convert xBase code to Basic"},
      {"list", RunList, "list [--json] FILE            list a module's entries"},
      {"show", RunShow, "show FILE ENTRY               print one entry's text"},
      {"replace", RunReplace, "replace FILE ENTRY [TEXTFILE|-] [--to NEWFILE]  save one entry"},
  };
  return commands;
}

std::string ReadInput(Context& ctx, const std::string& path) {
  if (path == "-") {
    return std::string(std::istreambuf_iterator<char>(ctx.in), std::istreambuf_iterator<char>());
  }
  std::ifstream f(path, std::ios::binary);
  if (!f) throw UsageError("cannot read " + path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

std::string ToPaneText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  char prev = '\0';
  for (char c : text) {
    if (c == '\n' && prev != '\r') out += '\r';
    out += c;
    prev = c;
  }
  return out;
}

}  // namespace qw::cli
