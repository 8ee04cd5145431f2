// The text tools on a selection of 32,000 characters of Basic code, as the
// editor runs them (16-bit limits on): each command, from choosing the text
// to the paste of its result, must take under 2 ms. The pure text functions
// are timed beside them.
//
// `bench_tools --write_basic=PATH:BYTES` writes BYTES of Basic code to PATH
// and exits (bench/indent_scaling.sh uses it).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/headless_port.h"
#include "platform/limits.h"
#include "synthetic_module.h"
#include "tools/clipboard_commands.h"
#include "tools/comment.h"
#include "tools/indenter.h"

namespace {

// `bytes` of Basic code (or a little less), cut at a line end.
std::string BasicText(size_t bytes) {
  const std::string chunk = qw::bench::SyntheticModule(1000);
  std::string text;
  text.reserve(bytes + chunk.size());
  while (text.size() < bytes) text += chunk;
  text.resize(text.rfind("\r\n", bytes - 2) + 2);
  return text;
}

const std::string& Selection() {
  static const std::string text = BasicText(32000);
  return text;
}

void BM_TextFunction(benchmark::State& state, std::string (*tool)(std::string_view)) {
  const std::string& text = Selection();
  for (auto _ : state) benchmark::DoNotOptimize(tool(text));
  state.counters["chars"] = static_cast<double>(text.size());
}
BENCHMARK_CAPTURE(BM_TextFunction, IndentText, qw::IndentText)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TextFunction, CommentText, qw::CommentText)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_TextFunction, UncommentText, qw::UncommentText)->Unit(benchmark::kMicrosecond);

// The whole command on qwtool's port: nothing selected, the whole text taken,
// the result pasted over it.
void BM_Command(benchmark::State& state, void (*command)(qw::Port&)) {
  qw::cli::FdOut err(STDERR_FILENO, 0);
  qw::cli::HeadlessPort port(err);
  port.on_keys = [&port](const std::string&) { qw::PasteClipboard(port); };
  for (auto _ : state) {
    state.PauseTiming();
    port.SetPaneText(Selection());
    state.ResumeTiming();
    command(port);
  }
  if (port.failed()) state.SkipWithError("the command was refused or failed");
}
BENCHMARK_CAPTURE(BM_Command, IndentSelection, qw::IndentSelection)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Command, CommentSelection, qw::CommentSelection)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Command, UncommentSelection, qw::UncommentSelection)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  const std::string flag = "--write_basic=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], flag.c_str(), flag.size()) == 0) {
      const std::string arg = argv[i] + flag.size();
      const size_t colon = arg.rfind(':');
      std::ofstream(arg.substr(0, colon), std::ios::binary)
          << BasicText(std::strtoull(arg.c_str() + colon + 1, nullptr, 10));
      return 0;
    }
  }
  qw::SetClassicLimits(true);  // as the editor runs the tools
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
