// The line walk against a plain walk of the same lines with LineAt, on random
// texts of blanks, line ends and letters (long runs of blanks cross the blocks
// of 64 bytes), Next and NextOfFPSE called in a random mix as the indexer
// mixes them; and the two-byte tests the indexer makes before the line rules
// never turn away a line the rules take.
#include "document/line_walk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "document/line_rules.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

TEST(LineWalkTest, TellsEveryLineAsAPlainWalkDoes) {
  std::mt19937 rng(64);
  const std::string bytes = "\r\n\nFfPpSsEeUu'x\tRtN\xd5";
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    while (text.size() < rng() % 400) {
      text.append(rng() % 3 == 0 ? rng() % 140 : rng() % 3, ' ');
      text += bytes[rng() % bytes.size()];
    }
    if (rng() % 2) text.append(rng() % 70, ' ');
    // Each line's first byte that is not a blank, when it has one.
    struct Line {
      size_t first;
      ByteLine line;
    };
    std::vector<Line> lines;
    for (size_t p = 0; p < text.size();) {
      const ByteLine line = LineAt(text, p);
      const size_t first = text.find_first_not_of(' ', p);
      if (first < line.next) lines.push_back({first, line});
      p = line.next;
    }
    const size_t from = lines.empty() ? 0 : lines[rng() % lines.size()].line.start;
    LineWalk walk(text, from);
    auto expected = lines.begin();
    while (expected != lines.end() && expected->line.start < from) ++expected;
    for (;;) {
      const bool fpse = rng() % 2;
      if (fpse) {
        while (expected != lines.end() &&
               (expected->first + 1 == text.size() ||
                !MayStopIndexer(text[expected->first], text[expected->first + 1]))) {
          ++expected;
        }
      }
      const size_t at = fpse ? walk.NextMayStop() : walk.Next();
      if (expected == lines.end()) {
        ASSERT_EQ(at, LineWalk::kEnd) << round;
        break;
      }
      ASSERT_EQ(at, expected->first) << round;
      const ByteLine got = walk.LineOf(at);
      ASSERT_EQ(got.start, expected->line.start) << round;
      ASSERT_EQ(got.text, expected->line.text) << round;
      ASSERT_EQ(got.next, expected->line.next) << round;
      ++expected;
    }
  }
}

// A line's first two bytes on either side of a block's edge, and at the end.
TEST(LineWalkTest, StopsByTwoBytesAcrossTheBlocksAndAtTheEnd) {
  for (size_t blanks = 0; blanks < 140; ++blanks) {
    for (const char first : std::string("FsEpx")) {
      for (const char second : std::string("UrTnx \n")) {
        for (const std::string after : {"", "\nSub x"}) {
          const std::string text = std::string(blanks, ' ') + first + second + after;
          const bool stops = MayStopIndexer(first, second);
          LineWalk walk(text, 0);
          const size_t at = walk.NextMayStop();
          const size_t sub = after.empty() ? LineWalk::kEnd : text.size() - 5;
          EXPECT_EQ(at, stops ? blanks : sub) << blanks << first << second;
        }
      }
    }
  }
  const std::string last = std::string(63, ' ') + "F";
  EXPECT_EQ(LineWalk(last, 0).NextMayStop(), LineWalk::kEnd);
  // A walk from the end, or from past it, finds no line.
  const std::string text = std::string(200, 'x') + "\nFun\n";
  for (const size_t from : {text.size(), text.size() + 100}) {
    LineWalk walk(text, from);
    EXPECT_EQ(walk.Next(), LineWalk::kEnd);
    EXPECT_EQ(walk.NextMayStop(), LineWalk::kEnd);
  }
}

TEST(LineWalkTest, TheTwoByteTestsNeverTurnAwayALineTheRulesTake) {
  std::mt19937 rng(2);
  const std::vector<std::string> words = {
      "sub", "function", "func",   "proc",    "procedure", "method", "property", "get",
      "let", "friend",   "public", "private", "static",    "end",    "declare",  "x",
      "c",   "b",        "_",      "(",       ":",         "'",      "\t",       ""};
  int taken = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string line(rng() % 3, ' ');
    for (size_t n = rng() % 5; n > 0; --n) {
      std::string word = words[rng() % words.size()];
      for (char& c : word) c = rng() % 2 ? UpperChar(c) : c;
      line += word + std::string(rng() % 3, ' ');
    }
    const std::string_view t = TrimBlanks(line);
    if (t.empty()) continue;
    const char second = t.size() > 1 ? t[1] : "\n "[rng() % 2];
    for (const IndexOptions options : {IndexOptions{false}, IndexOptions{true}}) {
      if (HeaderName(line, options)) {
        ++taken;
        EXPECT_TRUE(MayBeHeader(t[0], second)) << line;
      }
      if (IndexerStop(line, options) != StopKind::kOrdinary) {
        ++taken;
        EXPECT_TRUE(MayStopIndexer(t[0], second)) << line;
      }
    }
  }
  RecordProperty("lines_taken", taken);
}

}  // namespace
}  // namespace qw::testing
