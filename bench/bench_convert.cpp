// The converter on realistic xBase code with the 16-bit limits lifted, as
// `qwtool convert` runs it: the time per byte must stay flat from 256 KB to
// 4 MB (linear), and 1 MB must convert in well under 100 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "convert/converter.h"
#include "platform/limits.h"
#include "platform/port.h"
#include "xbase_generator.h"

namespace {

void BM_ConvertXBaseBlock(benchmark::State& state) {
  qw::SetClassicLimits(false);
  const std::string input = qw::bench::XBaseProgram(static_cast<size_t>(state.range(0)));
  size_t out_size = 0;
  for (auto _ : state) {
    std::string out;
    qw::ConvertXBaseBlock(qw::CurrentPort(), input, out);
    out_size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(input.size()) * state.iterations());
  state.counters["out_bytes"] = static_cast<double>(out_size);
  qw::SetClassicLimits(true);
}
BENCHMARK(BM_ConvertXBaseBlock)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
