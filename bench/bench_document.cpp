// The document model on a 9 MB module of 60,000 procedures. Each figure is a
// ratio measured in one run, so that the noise of a shared machine cancels:
//   - BM_IndexVsLineCount: indexing the module's bytes against counting their
//     lines with memchr (the floor: every byte looked at once); target ratio
//     at most 1.5, on the module and on 9 MB of real-looking modules
//     (realistic:1). It also reports the bytes the index holds (target < 8 MB).
//   - BM_ShowEntry: reading the 2 KB entry "Big2K" from the file; target < 1 ms.
//   - BM_SaveVsCopy: saving one entry (backup, rewrite, re-index, flushes off)
//     against copying the file; target ratio at most 4.
// `bench_document --write_module=PATH` writes the module and exits (the ctags
// comparison script uses it); --write_realistic=PATH:BYTES writes that many
// bytes of real-looking modules one after the other, --write_tree=DIR:COUNT
// a tree of COUNT real-looking modules (bench/compare_ctags_tree.sh).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/headless_port.h"
#include "document/editor.h"
#include "document/module_document.h"
#include "document/module_index.h"
#include "platform/limits.h"
#include "platform/port.h"
#include "realistic_module.h"
#include "synthetic_module.h"

namespace {

constexpr int kProcedures = 60000;

const std::string& Module() {
  static const std::string module = qw::bench::SyntheticModule(kProcedures);
  return module;
}

// qwtool's own port: no window, every box a line on stderr (none is expected).
using BenchPort = qw::cli::HeadlessPort;

// A folder of its own holding a copy of the module, removed at the end.
class ModuleFile {
 public:
  ModuleFile() {
    char tmpl[] = "/tmp/qwbenchXXXXXX";
    dir_ = mkdtemp(tmpl);
    path_ = dir_ + "/SYNTH.BAS";
    std::ofstream(path_, std::ios::binary) << Module();
  }
  ~ModuleFile() { std::filesystem::remove_all(dir_); }
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;
  const std::string& path() const { return path_; }
  std::string In(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_, path_;
};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

size_t CountLines(std::string_view bytes) {
  size_t lines = 0;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
    ++lines;
    if (lf == nullptr) break;
    p = static_cast<const char*>(lf) + 1;
  }
  return lines;
}

// The bytes the entry list keeps of its entries.
size_t IndexBytesOf(const qw::EntryList& entries) {
  return entries.names().bytes.size() + entries.size() * (sizeof(std::uint32_t) + sizeof(qw::Int));
}

// Real-looking modules one after the other, `bytes` in all.
std::string RealisticModules(size_t bytes) {
  std::string all;
  for (int n = 0; all.size() < bytes; ++n) all += qw::bench::RealisticModule(n);
  return all;
}

// Counts the entries the index hands over, keeping nothing.
struct CountingSink : qw::EntrySink {
  size_t entries = 0;
  void Add(std::string_view, std::string_view, qw::Int) override { ++entries; }
};

// Argument 0: the synthetic module; 1: 9 MB of real-looking modules.
void BM_IndexVsLineCount(benchmark::State& state) {
  static const std::string realistic = RealisticModules(9'000'000);
  const std::string_view bytes = state.range(0) == 0 ? std::string_view(Module()) : realistic;
  qw::cli::FdOut err(STDERR_FILENO, 0);
  BenchPort port(err);
  qw::EntryList entries;
  double index_s = 0, count_s = 0, pass_s = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(CountLines(bytes));
    auto t1 = std::chrono::steady_clock::now();
    entries = qw::IndexModule(bytes, "SYNTH.BAS", {}, port, std::move(entries));
    auto t2 = std::chrono::steady_clock::now();
    CountingSink sink;
    qw::IndexModule(bytes, "SYNTH.BAS", {}, port, sink);
    benchmark::DoNotOptimize(sink.entries);
    auto t3 = std::chrono::steady_clock::now();
    count_s += Seconds(t1 - t0);
    index_s += Seconds(t2 - t1);
    pass_s += Seconds(t3 - t2);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["entries"] = static_cast<double>(entries.size());
  state.counters["module_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["memchr_ms"] = count_s / n * 1e3;
  state.counters["index_ms"] = index_s / n * 1e3;
  state.counters["ratio"] = index_s / count_s;
  // The pass alone, the entries handed over as views (as qwtool list takes them).
  state.counters["pass_ratio"] = pass_s / count_s;
  state.counters["index_MB"] = static_cast<double>(IndexBytesOf(entries)) / 1e6;
}
BENCHMARK(BM_IndexVsLineCount)
    ->ArgName("realistic")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ShowEntry(benchmark::State& state) {
  const ModuleFile file;
  qw::cli::FdOut err(STDERR_FILENO, 0);
  BenchPort port(err);
  qw::Editor editor(port);
  editor.LoadFile(file.path(), qw::OpenMode::kIndexed);
  qw::Int big = 0;
  for (size_t i = 0; i < editor.doc().entries().size(); ++i) {
    if (editor.doc().entries().name(i) == "Big2K") big = static_cast<qw::Int>(i);
  }
  size_t size = 0;
  for (auto _ : state) {
    const std::string text = editor.LoadEntryText(big);
    size = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["entry_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_ShowEntry)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A plain copy, as cp makes it without kernel shortcuts: read a block, write
// the block, to a new file.
void CopyFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char> block(1 << 20);
  for (;;) {
    const ssize_t got = ::read(in, block.data(), block.size());
    if (got <= 0) break;
    if (::write(out, block.data(), static_cast<size_t>(got)) != got) break;
  }
  ::close(in);
  ::close(out);
}

void BM_SaveVsCopy(benchmark::State& state) {
  const ModuleFile file;
  qw::cli::FdOut err(STDERR_FILENO, 0);
  BenchPort port(err);
  qw::Editor editor(port);
  editor.SetFlushToDisk(false);
  port.on_pane_change = [&] { editor.NotePaneEdited(); };
  port.on_entry_click = [&] { editor.ChooseEntry(); };
  double save_s = 0, copy_s = 0;
  for (auto _ : state) {
    state.PauseTiming();
    editor.LoadFile(file.path(), qw::OpenMode::kIndexed);
    int big = 0;
    for (size_t i = 0; i < editor.doc().entries().size(); ++i) {
      if (editor.doc().entries().name(i) == "Big2K") big = static_cast<int>(i);
    }
    port.SetEntrySelectedIndex(big);
    port.SetPaneText(port.PaneText());
    state.ResumeTiming();
    auto t0 = std::chrono::steady_clock::now();
    CopyFile(file.path(), file.In("COPY.BAS"));
    auto t1 = std::chrono::steady_clock::now();
    editor.Save();
    auto t2 = std::chrono::steady_clock::now();
    copy_s += Seconds(t1 - t0);
    save_s += Seconds(t2 - t1);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["copy_ms"] = copy_s / n * 1e3;
  state.counters["save_ms"] = save_s / n * 1e3;
  state.counters["ratio"] = save_s / copy_s;
  if (port.failed()) state.SkipWithError("the save was refused or failed");
}
BENCHMARK(BM_SaveVsCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  const std::string flag = "--write_module=";
  const std::string tree_flag = "--write_tree=";
  const std::string realistic_flag = "--write_realistic=";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with(flag)) {
      std::ofstream(arg.substr(flag.size()), std::ios::binary) << Module();
      return 0;
    }
    // DIR:COUNT: COUNT real-looking modules in folders of 100.
    if (arg.starts_with(tree_flag)) {
      const std::string value = arg.substr(tree_flag.size());
      const std::string dir = value.substr(0, value.rfind(':'));
      const int count = std::stoi(value.substr(value.rfind(':') + 1));
      for (int n = 0; n < count; ++n) {
        const std::string folder = dir + "/p" + std::to_string(n / 100);
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/m" + std::to_string(n) + "." + qw::bench::RealisticKind(n),
                      std::ios::binary)
            << qw::bench::RealisticModule(n);
      }
      return 0;
    }
    // PATH:BYTES: real-looking modules one after the other, BYTES in all.
    if (arg.starts_with(realistic_flag)) {
      const std::string value = arg.substr(realistic_flag.size());
      const size_t bytes = std::stoul(value.substr(value.rfind(':') + 1));
      std::ofstream(value.substr(0, value.rfind(':')), std::ios::binary) << RealisticModules(bytes);
      return 0;
    }
  }
  qw::SetClassicLimits(false);  // as qwtool runs without --classic
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
