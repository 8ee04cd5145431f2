// Finding entries by part of their name: named cases, and a property test against a plain
// case-blind search of every name.
#include "document/entry_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace qw {
namespace {

const std::vector<std::string> kNames = {"(declarations)", "Form_Load", "FormatDate",
                                         "cmdOK_Click",    "LOAD_ALL",  "Total$"};

struct FindCase {
  const char* name;
  const char* part;
  std::vector<int> found;
};

TEST(EntryFilterTest, FindsEveryNameHoldingThePartInListOrder) {
  const FindCase cases[] = {
      {"prefix", "form", {1, 2}},
      {"middle, any case", "LoAd", {1, 4}},
      {"whole name", "cmdok_click", {3}},
      {"punctuation", "$", {5}},
      {"parenthesis", "(decl", {0}},
      {"nothing", "xyz", {}},
      {"empty part", "", {}},
      {"across two names", "d\nformat", {}},
      {"longer than any name", "(declarations)(declarations)", {}},
  };
  EntryFilter filter;
  filter.SetNames(kNames);
  std::vector<int> found = {99};
  for (const FindCase& c : cases) {
    filter.Find(c.part, found);
    EXPECT_EQ(found, c.found) << c.name;
  }
}

TEST(EntryFilterTest, LongestNamesComeFirstTiesInListOrder) {
  EntryFilter filter;
  EXPECT_TRUE(filter.Longest(3).empty());
  filter.SetNames(kNames);
  EXPECT_EQ(filter.Longest(3), (std::vector<int>{0, 3, 2}));
  EXPECT_EQ(filter.Longest(100), (std::vector<int>{0, 3, 2, 1, 4, 5}));
  EXPECT_EQ(filter.name(3), "cmdOK_Click");
}

// Whatever the names and the part, Find answers as a plain search of each name does, and so
// does FindNext from what was found for a part typed before; Longest as a stable sort does.
TEST(EntryFilterTest, AgreesWithAPlainSearchOfEachName) {
  std::mt19937 rng(13);
  const std::string alphabet = "aAbB_1\xe9\xc9";  // é and É are other bytes, not letters
  auto random_text = [&](size_t max) {
    std::string s(rng() % (max + 1), ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
  };
  auto fold = [](std::string s) {
    for (char& c : s) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    return s;
  };
  EntryFilter filter;
  std::vector<int> found, next;
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> names(rng() % 40);
    for (std::string& n : names) n = random_text(8);
    filter.SetNames(names);
    const std::string before = random_text(2);
    // Half the time the part holds the part before it, as when typing on.
    const std::string part = rng() % 2 ? random_text(1) + before + random_text(1) : random_text(3);
    std::vector<int> expected;
    for (size_t i = 0; i < names.size() && !part.empty(); ++i) {
      if (fold(names[i]).find(fold(part)) != std::string::npos)
        expected.push_back(static_cast<int>(i));
    }
    filter.Find(part, found);
    ASSERT_EQ(found, expected) << "part '" << part << "' in round " << round;
    filter.Find(before, next);
    filter.FindNext(before, part, next);
    ASSERT_EQ(next, expected) << "part '" << part << "' after '" << before << "'";
    // The longest names: a stable sort by length, cut (many lengths are tied).
    std::vector<int> by_length(names.size());
    std::iota(by_length.begin(), by_length.end(), 0);
    std::ranges::stable_sort(by_length, std::greater{}, [&](int i) { return names[i].size(); });
    const size_t keep = rng() % 6;
    by_length.resize(std::min(keep, by_length.size()));
    ASSERT_EQ(filter.Longest(keep), by_length) << "the " << keep << " longest in round " << round;
  }
}

}  // namespace
}  // namespace qw
