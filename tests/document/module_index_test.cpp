// The indexer's quick paths against the plain rules: on random modules of
// header, closing and ordinary lines, some of them as long as the word
// scanner's limit or longer and some last lines without a line end, every
// entry IndexModule hands over is the one a line-by-line reading by
// IndexerStop and HeaderName gives, in order, by either options.
#include "document/module_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/byte_lines.h"
#include "platform/port.h"

namespace qw {
namespace {

struct Listed : EntrySink {
  std::vector<std::string> entries;
  void Add(std::string_view name, std::string_view suffix, Int position) override {
    entries.push_back(std::string(name).append(suffix) + "|" + std::to_string(position));
  }
};

// The entries of a module (.BAS) read a line at a time by the rules alone.
std::vector<std::string> ByTheRules(std::string_view bytes, IndexOptions options) {
  std::vector<std::string> entries = {std::string(kDeclarationsName) + "|1"};
  bool after_entry = true;
  for (size_t pos = 0; pos < bytes.size();) {
    const ByteLine line = LineAt(bytes, pos);
    pos = line.next;
    if (after_entry) {
      const StopKind stop = IndexerStop(line.text, options);
      if (stop == StopKind::kOrdinary) continue;
      after_entry = false;
      if (stop == StopKind::kEndOfProcedure) continue;
    }
    if (const std::optional<std::string> name = HeaderName(line.text, options)) {
      entries.push_back(*name + "|" + std::to_string(line.start + 1));
      after_entry = true;
    }
  }
  return entries;
}

TEST(ModuleIndexTest, HandsOverTheEntriesTheRulesNameLineByLine) {
  const std::vector<std::string> lines = {"Sub A",
                                          "  Private Sub B(x)",
                                          "End Sub",
                                          "Public Function C() As Long",
                                          "Static x",
                                          "Static hits As Long",
                                          "x = 1",
                                          "Sub",
                                          "",
                                          "   ",
                                          "Function",
                                          "Public Property Get P()",
                                          "End Property",
                                          "Friend Sub F()",
                                          "Sub (x)",
                                          "PUBLIC SUB D",
                                          "Sub E",
                                          "  End Function  ' done"};
  // A header that begins like the usual ones, its name or words after it up to `size` bytes.
  const auto long_line = [](std::string head, size_t size, bool words) {
    while (head.size() < size) head += words && head.size() % 7 == 0 ? ' ' : 'x';
    return head;
  };
  const std::vector<std::string> heads = {"Sub Long", "Private Sub Wide(", "  Public Function L"};
  std::mt19937 rng(31);
  int long_ones = 0;
  for (int round = 0; round < 400; ++round) {
    std::string bytes;
    for (size_t n = rng() % 24; n-- > 0;) {
      if (rng() % 12 == 0) {
        const size_t size = kLongHeaderLine - 2 + rng() % 4 + (rng() % 4 == 0 ? 2000 : 0);
        bytes += long_line(heads[rng() % heads.size()], size, rng() % 2);
        ++long_ones;
      } else {
        bytes += lines[rng() % lines.size()];
      }
      bytes += rng() % 4 == 0 ? "\n" : "\r\n";
    }
    // The last line: often a header, with or without a line end.
    if (rng() % 2) bytes += lines[rng() % 5] + std::string(rng() % 2 ? "" : "\n");
    for (const IndexOptions options : {IndexOptions{false}, IndexOptions{true}}) {
      Listed listed;
      IndexModule(bytes, "M.BAS", options, CurrentPort(), listed);
      ASSERT_EQ(listed.entries, ByTheRules(bytes, options)) << "round " << round;
    }
  }
  EXPECT_GT(long_ones, 300);
}

}  // namespace
}  // namespace qw
