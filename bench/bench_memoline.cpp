// MemoLine keeps a line cursor so that a walk over lines 1..n is linear: the
// time per line must stay flat as the walk grows from 100 to 1,000 lines of a
// 32,000-character text. (A walk that started again at line 1 for every call
// would cost ten times more per line at 1,000 than at 100.)
#include <benchmark/benchmark.h>

#include <string>

#include "textlib/cliplib.h"

namespace {

// 1,000 lines of 30 characters and CR LF: 32,000 characters.
std::string Text() {
  std::string text;
  for (int i = 0; i < 1000; ++i) {
    std::string line = "   x = x + " + std::to_string(i);
    line.resize(30, ' ');
    text += line + "\r\n";
  }
  return text;
}

void BM_MemoLineWalk(benchmark::State& state) {
  const std::string text = Text();
  const qw::Int lines = state.range(0);
  for (auto _ : state) {
    for (qw::Int n = 1; n <= lines; ++n) benchmark::DoNotOptimize(qw::MemoLine(text, 0, n));
  }
  // Seconds per line (shown with an SI prefix, "34n" = 34 ns).
  state.counters["per_line"] = benchmark::Counter(
      static_cast<double>(lines),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MemoLineWalk)->Arg(100)->Arg(250)->Arg(500)->Arg(1000);

void BM_MLCount(benchmark::State& state) {
  const std::string text = Text();
  for (auto _ : state) benchmark::DoNotOptimize(qw::MLCount(text, 0));
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
}
BENCHMARK(BM_MLCount);

}  // namespace

BENCHMARK_MAIN();
