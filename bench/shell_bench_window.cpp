// The window under load, on Qt's offscreen platform: opening a 9 MB module
// through the Module Open menu (index, fill cbProc, show entry 0) against
// `qwtool list` on the same file and against opening it whole, again and again
// in one window and as the first opens of a window just started, switching to
// entries anywhere in it, filling cbProc with 60,000 names, and pasting a
// 32,000-character result of the text tools over the pane's text.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "document/entry_list.h"
#include "shell/entry_search.h"
#include "shell/frm_edit32.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"
#include "synthetic_module.h"

namespace {

using qw::shell::frmEdit32;

// The 9 MB module of the document benchmarks: about 60,000 procedures.
const std::string& ModulePath() {
  static const std::string path = [] {
    const std::string p = QDir::tempPath().toStdString() + "/qw_bench_window_MODULE.BAS";
    // Written beside and renamed: another run of this program (or its child)
    // reading the module meanwhile never meets it half written.
    const std::string written = p + "." + std::to_string(getpid());
    std::ofstream(written, std::ios::binary) << qw::bench::SyntheticModule(60000);
    std::rename(written.c_str(), p.c_str());
    return p;
  }();
  return path;
}

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Counts the paints of the pane's text area: an open is timed to idle with
// the window's own paints, and is no open if it did not paint the text.
struct PanePaints final : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

struct Window {
  frmEdit32 window;
  qw::shell::PortScript script;
  PanePaints paints;
  Window() {
    window.port().SetScript(&script);
    window.txtEdit()->viewport()->installEventFilter(&paints);
  }
  // Handles the events the last command left (its paints among them);
  // false when the pane's text was not painted since the last call.
  bool ToIdlePainted() {
    QApplication::processEvents();
    const bool painted = paints.count > 0;
    paints.count = 0;
    return painted;
  }

  // Opens `path` through the Open command of the menu item `item`.
  void Open(const std::string& path = ModulePath(), const char* item = "mnuBasFiles") {
    script.paths.push_back(path);
    qw::shell::FindMenuAction(window.menuBar(), item)->trigger();
  }
  void Pick(int index) {
    window.cbProc()->setCurrentIndex(index);
    emit window.cbProc()->activated(index);
  }
};

void BM_QwtoolList(benchmark::State& state) {
  const std::string command = std::string(QW_QWTOOL) + " list '" + ModulePath() + "' >/dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("qwtool list failed");
  }
}
BENCHMARK(BM_QwtoolList)->Unit(benchmark::kMillisecond);

// Module Open of the 9 MB module, to idle as the whole open below is timed:
// the window shown, the events of the open handled, among them the paints
// of what it changed, the pane's text always.
void BM_OpenModuleThroughWindow(benchmark::State& state) {
  Window w;
  w.window.show();
  w.ToIdlePainted();
  for (auto _ : state) {
    w.Open();
    if (!w.ToIdlePainted() || w.window.cbProc()->count() < 2 || !w.script.boxes.empty()) {
      state.SkipWithError("the module did not open cleanly, or its text was not painted");
      break;
    }
  }
  state.counters["entries"] = w.window.cbProc()->count();
}
BENCHMARK(BM_OpenModuleThroughWindow)->Unit(benchmark::kMillisecond);

// The same module opened whole through File Open > All Files: the pane
// holds the whole text, and the window has painted it.
void BM_OpenWholeThroughWindow(benchmark::State& state) {
  Window w;
  w.window.show();
  w.ToIdlePainted();
  for (auto _ : state) {
    w.Open(ModulePath(), "mnuFillAll");
    if (!w.ToIdlePainted() || !w.script.boxes.empty()) {
      state.SkipWithError("the module did not open cleanly, or its text was not painted");
      break;
    }
  }
}
BENCHMARK(BM_OpenWholeThroughWindow)->Unit(benchmark::kMillisecond);

// The two opens above, each as the n-th open of a window just started (the
// benchmark's argument): every iteration starts this program again
// (kNthOpen below), which shows the empty window, handles its events, opens
// the module n - 1 times, then once more, timed: from the command to idle,
// the events of the open handled (its paints among them), in that process's
// CPU time (all threads). A repeated open in one window is timed above: by
// then the whole open's 9 MB come from memory freed by the open before it.
constexpr std::string_view kNthOpen = "--nth-open=";

double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The open timed, on its own for a profiler (callgrind's --toggle-collect).
__attribute__((noinline)) bool OpenToIdle(Window& w, const std::string& path, const char* item) {
  w.Open(path, item);
  return w.ToIdlePainted() && w.script.boxes.empty();
}

// In the program started again: opens `path` through `item` `n` times and
// prints the CPU time in ms of the last; 1 when an open failed or did not
// paint the text.
int NthOpen(const std::string& item, const std::string& path, int n) {
  Window w;
  w.window.show();
  w.ToIdlePainted();
  for (int i = 1; i < n; ++i) {
    if (!OpenToIdle(w, path, item.c_str())) return 1;
  }
  const double start = ProcessCpuMs();
  if (n < 1 || !OpenToIdle(w, path, item.c_str())) return 1;
  std::printf("%.4f\n", ProcessCpuMs() - start);
  return 0;
}

void NthOpenThroughWindow(benchmark::State& state, const char* item) {
  const std::string command = "'/proc/" + std::to_string(getpid()) + "/exe' " +
                              std::string(kNthOpen) + item + " '" + ModulePath() + "' " +
                              std::to_string(state.range(0)) + " 2>/dev/null";
  for (auto _ : state) {
    FILE* child = popen(command.c_str(), "r");
    double ms = -1;
    if (child && std::fscanf(child, "%lf", &ms) != 1) ms = -1;
    if (!child || pclose(child) != 0 || ms < 0) {
      state.SkipWithError("an open in the new window failed");
      break;
    }
    state.SetIterationTime(ms / 1e3);
  }
}
void BM_NthOpenModule(benchmark::State& state) {
  NthOpenThroughWindow(state, "mnuBasFiles");
}
void BM_NthOpenWhole(benchmark::State& state) {
  NthOpenThroughWindow(state, "mnuFillAll");
}
// A process's first opens scatter more than a repeated one: a run is one
// open, and the median of 7 runs is what compares.
void NthOpenRuns(benchmark::internal::Benchmark* b) {
  b->Arg(1)->Arg(2)->Arg(5)->UseManualTime()->Iterations(1)->Repetitions(7);
  b->ReportAggregatesOnly()->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_NthOpenModule)->Apply(NthOpenRuns);
BENCHMARK(BM_NthOpenWhole)->Apply(NthOpenRuns);

void BM_SwitchEntry(benchmark::State& state) {
  Window w;
  w.Open();
  const int count = w.window.cbProc()->count();
  std::mt19937 pick(4);
  double slowest_ms = 0;
  for (auto _ : state) {
    const int index = static_cast<int>(pick() % static_cast<unsigned>(count));
    const auto start = std::chrono::steady_clock::now();
    w.Pick(index);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    slowest_ms = std::max(slowest_ms, took.count());
  }
  if (!w.script.boxes.empty()) state.SkipWithError("a switch showed a message box");
  state.counters["slowest_ms"] = slowest_ms;
}
BENCHMARK(BM_SwitchEntry)->Unit(benchmark::kMicrosecond);

void BM_FillEntryList60000(benchmark::State& state) {
  Window w;
  qw::EntryList names;
  for (int i = 0; i < 60000; ++i) names.Add("Procedure_" + std::to_string(i), {}, 1);
  for (auto _ : state) {
    w.window.port().SetEntryItems(names.names());
    benchmark::DoNotOptimize(w.window.cbProc()->count());
  }
}
BENCHMARK(BM_FillEntryList60000)->Unit(benchmark::kMillisecond);

// A keystroke in the entry list's text field of the 60,000-entry module, as a
// user makes it in the window shown: find the names holding the text, offer
// them in the popup and paint it. The texts typed range from one matching
// almost every name to one matching none; some show the popup again after it
// was hidden. `slowest_ms` is the slowest keystroke's own work (the thread's
// CPU time: on a shared machine its wall time also holds the waits of other
// programs), `slowest_wall_ms` its wall time.
struct Keystrokes {
  Window w;
  QLineEdit* field;
  double slowest_ms = 0, slowest_wall_ms = 0;

  Keystrokes() : field(w.window.cbProc()->lineEdit()) {
    w.window.show();
    w.window.activateWindow();
    w.Open();
  }
  void Enter() {  // as a user enters the field
    field->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
  void Type(const QString& text) {
    const double cpu = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    field->setText(text);
    emit field->textEdited(text);
    QApplication::processEvents();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    slowest_ms = std::max(slowest_ms, ThreadCpuMs() - cpu);
    slowest_wall_ms = std::max(slowest_wall_ms, took.count());
  }
  void Report(benchmark::State& state) const {
    state.counters["slowest_ms"] = slowest_ms;
    state.counters["slowest_wall_ms"] = slowest_wall_ms;
  }
};

void BM_FilterKeystroke60000(benchmark::State& state) {
  Keystrokes k;
  k.Enter();
  const QString typed[] = {"c", "ca", "calc1", "calc12", "HANDLE5", "_click", "zz", "2"};
  size_t next = 0, offered = 0;
  for (auto _ : state) {
    k.Type(typed[next++ % std::size(typed)]);
    offered += k.w.window.port().entry_search().offered().size();
  }
  k.Report(state);
  state.counters["offered"] =
      benchmark::Counter(static_cast<double>(offered), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FilterKeystroke60000)->Unit(benchmark::kMillisecond);

// The first keystroke after the module is opened (again): one letter that
// two names in three hold.
void BM_FirstKeystrokeAfterOpen(benchmark::State& state) {
  Keystrokes k;
  for (auto _ : state) {
    state.PauseTiming();
    k.w.Open();
    k.Enter();
    state.ResumeTiming();
    k.Type("c");
  }
  k.Report(state);
}
BENCHMARK(BM_FirstKeystrokeAfterOpen)->Unit(benchmark::kMillisecond);

// The last step of Indent on 32,000 characters: the Paste command puts the
// result (on the clipboard) in place of the selected whole text.
void BM_Paste32000(benchmark::State& state) {
  Window w;
  std::string text = qw::bench::SyntheticModule(300);
  text.resize(text.rfind("\r\n", 32000 - 2) + 2);
  const std::string result = "   " + text;
  QAction* paste = qw::shell::FindMenuAction(w.window.menuBar(), "mnuPaste");
  for (auto _ : state) {
    state.PauseTiming();
    w.window.port().SetPaneText(text);
    w.window.port().SetPaneSelection(0, static_cast<long>(text.size()));
    w.window.port().SetClipboardText(result);
    state.ResumeTiming();
    paste->trigger();
  }
  if (w.window.port().PaneText() != result)
    state.SkipWithError("the paste did not replace the text");
  state.counters["chars"] = static_cast<double>(result.size());
}
BENCHMARK(BM_Paste32000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc == 4 && std::string_view(argv[1]).starts_with(kNthOpen)) {
    return NthOpen(argv[1] + kNthOpen.size(), argv[2], std::atoi(argv[3]));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
