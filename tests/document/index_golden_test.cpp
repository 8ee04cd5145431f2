// Every module under tests/data/index/CASE/ (its name, folders included, says
// how it is indexed) is opened as Module Open opens it, and every entry is
// chosen in turn (a case whose name begins with "all_procedures" lists
// Property and Friend procedures too). What the user sees, the entry list, each entry's text and
// every message box, must be CASE.expected; a mismatch is written to
// CASE.actual in the build folder for review.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "doc_fixture.h"
#include "document/module_document.h"
#include "support/golden.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;

class IndexGolden : public DocTest, public ::testing::WithParamInterface<std::string> {
 protected:
  // The boxes shown since the last call, one "! title: text" line each.
  std::string NewBoxes() {
    std::string lines;
    for (const Box& b : port.boxes)
      lines += "! " + b.title + ": " + StrTran(b.text, "\n", "\\n") + "\n";
    port.boxes.clear();
    return lines;
  }
};

TEST_P(IndexGolden, ListsAndShowsWhatIsExpected) {
  const fs::path folder = DataDir("index") / GetParam();
  std::string module;  // the module's path inside the case folder
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (e.is_regular_file()) module = fs::relative(e.path(), folder).string();
  }
  ASSERT_FALSE(module.empty());
  const std::string path = Write(module, Read((folder / module).string()));
  ed.SetIndexOptions({.property_and_friend = GetParam().starts_with("all_procedures")});
  Open(path);
  std::string report;
  for (const EntryView e : ed.doc().entries()) report += e.Text() + "\n";
  for (size_t i = 0; i < ed.doc().entry_count(); ++i) {
    if (i > 0) Select(static_cast<int>(i));
    EXPECT_EQ(port.Caption(), "QW: " + ed.doc().current_entry_name() + " of " + Upper(path));
    report += NewBoxes() + "== " + ed.doc().current_entry_name() + "\n" +
              StrTran(port.PaneText(), "\r\n", "\n");
  }
  report += NewBoxes();
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_EQ(port.busy_depth, 0);

  ExpectGolden(DataDir("index") / (GetParam() + ".expected"), report, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Data, IndexGolden, ::testing::ValuesIn(CaseNames(DataDir("index"), "")),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

// The position an entry string shows: the decimal digits, zeros before them
// up to seven, for positions of every size (the seven-digit ones and the
// longer ones are written by different code).
TEST(EntryPosition, IsTheDecimalNumberWithAtLeastSevenDigits) {
  std::mt19937_64 rng(7);
  for (int round = 0; round < 20000; ++round) {
    const Int position =
        round < 20 ? Int{9'999'990} + round : static_cast<Int>(rng() >> (1 + rng() % 63));
    std::string want = std::to_string(position);
    if (want.size() < 7) want.insert(0, 7 - want.size(), '0');
    ASSERT_EQ(FormatPosition(position), want) << position;
  }
}

}  // namespace
}  // namespace qw::testing
