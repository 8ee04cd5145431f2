// The searches. Each module figure is a ratio measured in one run, so that
// the noise of a shared machine cancels:
//   - BM_PaneSearch: one Find over a 32,000-character pane, forwards from the
//     start to an occurrence at the end, and backwards from the end to one at
//     the start; target under 0.2 ms each.
//   - BM_FindInModuleVsMemmem: Find in Module (letter case ignored) over the
//     9 MB module of 60,000 procedures against glibc's memmem finding every
//     occurrence of the same text in the same bytes; target ratio under 3. A
//     rare name (two entries) and a common one (every third entry). `sink_ms`:
//     the same hits handed over one by one, as `qwtool find` writes them.
#include <benchmark/benchmark.h>
#include <string.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "cli/headless_port.h"
#include "document/module_index.h"
#include "find/module_search.h"
#include "find/search_commands.h"
#include "platform/limits.h"
#include "synthetic_module.h"

namespace {

const std::string& Module() {
  static const std::string module = qw::bench::SyntheticModule(60000);
  return module;
}

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// A pane of 32,000 characters: lines of code, "Needle" once near each end.
std::string Pane() {
  std::string text = "  Needle = 1\r\n";
  while (text.size() < 31980) text += "    total = total + value * 3 ' step\r\n";
  text.resize(31980);
  text += "\r\n  x = Needle\r\n";
  return text;
}

void BM_PaneSearch(benchmark::State& state) {
  const bool forwards = state.range(0) == 1;
  const std::string text = Pane();
  // Forwards to the last line, backwards to the first.
  qw::SearchState search{forwards ? "x = needle" : "needle = 1",
                         false,
                         forwards ? qw::kSearchForwards : qw::kSearchBackwards,
                         0,
                         true,
                         ""};
  const qw::Int caret = forwards ? 0 : static_cast<qw::Int>(text.size());
  size_t found = 0;
  for (auto _ : state) {
    found = qw::SearchPaneText(text, search, caret);
    benchmark::DoNotOptimize(found);
  }
  state.counters["pane_chars"] = static_cast<double>(text.size());
  state.counters["found_at"] = static_cast<double>(found);
  state.SetLabel(forwards ? "forwards" : "backwards");
}
BENCHMARK(BM_PaneSearch)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

size_t MemmemCount(std::string_view bytes, std::string_view pattern) {
  size_t count = 0;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (const void* hit =
             memmem(p, static_cast<size_t>(end - p), pattern.data(), pattern.size())) {
    ++count;
    p = static_cast<const char*>(hit) + 1;
  }
  return count;
}

void BM_FindInModuleVsMemmem(benchmark::State& state) {
  const std::string pattern = state.range(0) == 0 ? "Calc41235" : "Static hits";
  const std::string_view bytes = Module();
  qw::cli::FdOut err(STDERR_FILENO, 0);
  qw::cli::HeadlessPort port(err);
  const auto entries = qw::IndexModule(bytes, "SYNTH.BAS", {}, port);
  double find_s = 0, memmem_s = 0, sink_s = 0;
  size_t hits = 0, occurrences = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    occurrences = MemmemCount(bytes, pattern);
    const auto t1 = std::chrono::steady_clock::now();
    hits = qw::FindInModuleBytes(bytes, entries, {}, pattern, false).size();
    const auto t2 = std::chrono::steady_clock::now();
    size_t sunk = 0;
    qw::FindInModuleBytes(bytes, entries, {}, pattern, false,
                          [&](const qw::ModuleHitView& h) { sunk += h.line_text.size(); });
    const auto t3 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(sunk);
    sink_s += Seconds(t3 - t2);
    memmem_s += Seconds(t1 - t0);
    find_s += Seconds(t2 - t1);
  }
  const double n = static_cast<double>(state.iterations());
  state.SetLabel(pattern);
  state.counters["hits"] = static_cast<double>(hits);
  state.counters["memmem_hits"] = static_cast<double>(occurrences);
  state.counters["memmem_ms"] = memmem_s / n * 1e3;
  state.counters["find_ms"] = find_s / n * 1e3;
  state.counters["ratio"] = find_s / memmem_s;
  state.counters["sink_ms"] = sink_s / n * 1e3;
}
BENCHMARK(BM_FindInModuleVsMemmem)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qw::SetClassicLimits(false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
