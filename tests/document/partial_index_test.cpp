// The partial index against the whole index: on random modules of header,
// closing and ordinary lines (every kind of file, both index options) and on
// the sample modules, with random offsets and gaps small enough that stretches
// are passed over, every offset's entry (the last one starting at or before
// it) is the same, and the entries handed over are entries of the whole index,
// in its order.
#include "document/partial_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/port.h"
#include "support/golden.h"

namespace qw::testing {
namespace {

struct Listed : EntrySink {
  std::vector<ProcedureEntry> entries;
  void Add(std::string_view name, std::string_view suffix, Int position) override {
    entries.push_back({std::string(name).append(suffix), position});
  }
};

// The index of the entry `offset` lies in: the last starting at or before it (-1: none).
long Holder(const std::vector<ProcedureEntry>& entries, size_t offset) {
  const auto after =
      std::upper_bound(entries.begin(), entries.end(), static_cast<Int>(offset) + 1,
                       [](Int position, const ProcedureEntry& e) { return position < e.position; });
  return static_cast<long>(after - entries.begin()) - 1;
}

void ExpectSameHolders(const std::string& bytes, const std::string& name, IndexOptions options,
                       const std::vector<size_t>& offsets, NearReach reach,
                       const std::string& trace) {
  Listed whole, near;
  IndexModule(bytes, name, options, CurrentPort(), whole);
  const bool has = IndexModuleNear(bytes, name, options, CurrentPort(), offsets, near, reach);
  EXPECT_EQ(has, !whole.entries.empty()) << trace;
  // Handed over: a part of the whole list, in order.
  auto from = whole.entries.begin();
  for (const ProcedureEntry& e : near.entries) {
    from = std::find_if(from, whole.entries.end(), [&](const ProcedureEntry& w) {
      return w.position == e.position && w.name == e.name;
    });
    ASSERT_NE(from, whole.entries.end()) << trace << " handed over " << e.Text();
    ++from;
  }
  for (const size_t at : offsets) {
    const long w = Holder(whole.entries, at), n = Holder(near.entries, at);
    ASSERT_EQ(w < 0, n < 0) << trace << " offset " << at;
    if (w >= 0) {
      EXPECT_EQ(near.entries[n].position, whole.entries[w].position) << trace << " offset " << at;
      EXPECT_EQ(near.entries[n].name, whole.entries[w].name) << trace << " offset " << at;
    }
  }
}

std::vector<size_t> RandomOffsets(std::mt19937& rng, size_t size) {
  std::vector<size_t> offsets;
  if (size == 0) return offsets;
  for (size_t n = rng() % 12; n-- > 0;) offsets.push_back(rng() % size);
  std::sort(offsets.begin(), offsets.end());
  return offsets;
}

TEST(PartialIndexTest, FindsEachOffsetsEntryAsTheWholeIndexDoesInRandomModules) {
  static const char* const kLines[] = {"Sub A",
                                       "  Function B(x)",
                                       "End Sub",
                                       "End  Function",
                                       "PROC p",
                                       "PROCEDURE q",
                                       "FUNCTION f()",
                                       "Static x As Long",
                                       "Static Sub S()",
                                       "Public Property Get P()",
                                       "End Property",
                                       "Friend Function F()",
                                       "Private Sub C()",
                                       "METHOD m",
                                       "x = 1",
                                       "' a Sub comment",
                                       "",
                                       "   ",
                                       "Public Function",
                                       "Sub",
                                       "Declare Sub K Lib \"k\"",
                                       "FunctionCount = 1",
                                       "Private Sub",
                                       "  End Sub  ' done",
                                       "Begin VB.Form F",
                                       "End",
                                       "Property Let P(v)",
                                       "FUNC g",
                                       "Static Function T()",
                                       "PRIVATE SUB Z()",
                                       "Static y ' Sub"};
  std::mt19937 rng(1234);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    if (rng() % 4 == 0) bytes = "VERSION 5.00\r\nBegin VB.Form F\r\n  Caption = \"x\"\r\nEnd\r\n";
    for (size_t n = rng() % 120; n-- > 0;) {
      bytes += kLines[rng() % std::size(kLines)];
      bytes += rng() % 5 == 0 ? "\n" : "\r\n";
    }
    if (rng() % 3 == 0) bytes += "Sub Last";
    static const char* const kNames[] = {"M.BAS", "F.FRM", "P.PRG", "C.CLS", "NOTES.TXT"};
    const std::string name = kNames[rng() % std::size(kNames)];
    const IndexOptions options{.property_and_friend = rng() % 2 == 0};
    const NearReach reach{.gap = rng() % 200, .back = rng() % 2 ? 1 + rng() % 300 : 1 << 20};
    ExpectSameHolders(bytes, name, options, RandomOffsets(rng, bytes.size()), reach,
                      "round " + std::to_string(round) + " " + name);
    if (HasFailure()) return;
  }
}

TEST(PartialIndexTest, FindsEachOffsetsEntryAsTheWholeIndexDoesInTheSampleModules) {
  std::mt19937 rng(99);
  int modules = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(DataDir(""))) {
    if (!e.is_regular_file() || KindOfModule(e.path().string()) == ModuleKind::kPlain) continue;
    ++modules;
    const std::string bytes = ReadBytes(e.path());
    for (int round = 0; round < 20; ++round) {
      ExpectSameHolders(bytes, e.path().string(), {.property_and_friend = round % 2 == 1},
                        RandomOffsets(rng, bytes.size()), {.gap = rng() % 100, .back = 400},
                        e.path().string());
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(modules, 20);
}

}  // namespace
}  // namespace qw::testing
