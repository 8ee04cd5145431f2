// qwtool: the editor's engine on the command line.
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/limits.h"
#include "platform/port.h"

namespace {

using qw::cli::Commands;

void PrintUsage(qw::cli::TextOut& os) {
  os << "usage: qwtool [--classic] [--all-procedures] SUBCOMMAND [ARGS...]\n"
        "       qwtool --help | --version\n\n";
  if (Commands().empty()) {
    os << "No subcommands are built yet.\n";
  } else {
    os << "Subcommands:\n";
    for (const auto& c : Commands()) os << "  " << c.synopsis << "\n";
  }
  os << "\nOptions:\n"
        "  --classic   keep the editor's 16-bit limits (texts and positions up to 32,767)\n"
        "  --all-procedures\n"
        "              also list Property Get/Let/Set and Friend procedures as entries\n"
        "  --help      show this help\n"
        "  --version   show the version\n\n"
        "Exit status: 0 done, 1 bad usage, 2 refused or failed.\n";
}

// Bad usage is one line; --help tells the rest.
int Usage(qw::cli::TextOut& err, const std::string& why) {
  err << "qwtool: usage: " << why << " (qwtool --help for more)\n";
  return qw::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  // Standard output is written a block at a time, messages at once.
  qw::cli::FdOut out(STDOUT_FILENO, 64 << 10);
  qw::cli::FdOut err(STDERR_FILENO, 0);
  std::vector<std::string> words;
  bool classic = false;
  qw::IndexOptions index_options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      PrintUsage(out);
      return qw::cli::kExitDone;
    }
    if (a == "--version") {
      out << "qwtool " << QW_VERSION << "\n";
      return qw::cli::kExitDone;
    }
    if (a == "--classic") {
      classic = true;
      continue;
    }
    if (a == "--all-procedures") {
      index_options.property_and_friend = true;
      continue;
    }
    words.push_back(a);
  }
  if (words.empty()) return Usage(err, "missing subcommand");

  const std::string name = words.front();
  words.erase(words.begin());
  for (const auto& c : Commands()) {
    if (name != c.name) continue;
    qw::SetClassicLimits(classic);
    qw::cli::HeadlessPort port(err);
    qw::PortScope scope(port);
    qw::cli::Context ctx{port, out, STDIN_FILENO, err, index_options};
    try {
      int status = c.run(ctx, words);
      // A box that told of a refusal or a fault means the result was not
      // produced, or only in part, whatever the subcommand made of it.
      if (status == qw::cli::kExitDone && port.failed()) status = qw::cli::kExitFailed;
      return qw::cli::FinishOutput(out, err, status);
    } catch (const qw::cli::UsageError& e) {
      return Usage(err, e.what());
    } catch (const qw::cli::Refusal& e) {
      err << "qwtool: " << e.what() << "\n";
      return qw::cli::FinishOutput(out, err, qw::cli::kExitFailed);
    } catch (const std::exception& e) {
      // Nothing the engine does should get here; never a crash all the same.
      err << "qwtool: " << e.what() << "\n";
      return qw::cli::FinishOutput(out, err, qw::cli::kExitFailed);
    }
  }
  if (name.size() > 1 && name[0] == '-') return Usage(err, "unknown option " + name);
  return Usage(err, "unknown subcommand " + name);
}
