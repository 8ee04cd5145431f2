// Opening a module: the entries the indexer lists and the text each shows, for
// the modules made here (large entries, files of many megabytes); the small
// cases stand as golden files in tests/data/index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/module_document.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

using IndexTest = DocTest;

// An entry "Sub Big()" .. "End Sub" whose text is `total` characters with
// CR LF line ends.
std::string BigEntry(Int total, bool with_end) {
  std::string text = "Sub Big()\r\n";
  const Int end_size = with_end ? 9 : 0;
  while (static_cast<Int>(text.size()) + end_size < total) {
    const Int left = total - end_size - static_cast<Int>(text.size());
    const Int line = left >= 103 ? 100 : (left > 100 ? left - 50 : left);
    text += std::string(static_cast<size_t>(line - 2), 'x') + "\r\n";
  }
  if (with_end) text += "End Sub\r\n";
  EXPECT_EQ(static_cast<Int>(text.size()), total);
  return text;
}

// Modules of many bytes: the position of the last entry and the text it shows.
TEST_F(IndexTest, LargeEntriesAndFilesOfManyMegabytes) {
  const std::string nul(3'000'000, '\0'), far = "Dim a\r\n" + std::string(10'000'000, '\'');
  const std::string big[] = {BigEntry(30000, true), BigEntry(30001, true), BigEntry(32004, true),
                             BigEntry(32100, true), BigEntry(31000, false)};
  const struct {
    const char* name;
    std::string bytes;
    Int last_position;
    std::string shown;  // by the last entry
    const char* box = "";
  } rows[] = {
      {"nul_bytes_without_line_ends_are_one_line", nul, 1, nul + "\r\n"},
      {"positions_past_seven_digits_widen", far + "\r\nSub Far()\r\nEnd Sub\r\n", 10'000'010,
       "Sub Far()\r\nEnd Sub\r\n", "Procedure Too Large"},  // the declarations are too large
      {"entry_of_30000_loads", "Dim a\r\n" + big[0], 8, big[0]},
      {"entry_of_30001_warns_and_loads", "Dim a\r\n" + big[1], 8, big[1], "Large File Warning"},
      {"end_line_carries_past_32000", "Dim a\r\n" + big[2], 8, big[2], "Large File Warning"},
      {"entry_passing_32000_while_adding_is_refused", "Dim a\r\n" + big[3], 8, "",
       "Procedure Too Large"},
      {"entry_at_end_of_file_never_warns", "Dim a\r\n" + big[4], 8, big[4]},
  };
  for (const auto& r : rows) {
    port.boxes.clear();
    Open(Write("BIG.BAS", r.bytes));
    const size_t last = ed.doc().entry_count() - 1;
    if (last > 0) Select(static_cast<int>(last));
    EXPECT_EQ(port.PaneText(), r.shown) << r.name;
    EXPECT_EQ(ed.doc().entries().back().position, r.last_position) << r.name;
    EXPECT_EQ(port.Titles(), std::vector<std::string>(*r.box ? 1 : 0, r.box)) << r.name;
    for (const Box& b : port.boxes) {
      if (b.title != "Procedure Too Large") continue;
      EXPECT_EQ(b.text,
                "Procedure too large, Please \nbreak the Procedure into\ntwo smaller procedures!");
      EXPECT_EQ(b.icon, Icon::kStop);
    }
    EXPECT_FALSE(ed.doc().changed()) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
  }
}

TEST_F(IndexTest, BadFilesLoseNothingAndWholeTextEmptiesTheList) {
  Open(Write("GOOD.BAS", Crlf("Dim a\nSub A()\nEnd Sub\n")));
  const std::string shown = port.PaneText();
  const std::string good = ed.doc().file_name();
  std::filesystem::create_directory(Path("FOLDER.BAS"));
  for (const std::string& path : {Path("NONE.BAS"), Path("FOLDER.BAS")}) {
    for (bool split : {true, false}) {
      port.boxes.clear();
      Open(path, split);
      EXPECT_EQ(Boxes(), std::vector<std::string>{"File Error: Can't open file: " + path}) << path;
      EXPECT_EQ(port.boxes.at(0).icon, Icon::kStop) << path;
      // The document shown keeps its own name, mode and entries.
      EXPECT_EQ(ed.doc().file_name(), good) << path;
      EXPECT_TRUE(ed.doc().indexed()) << path;
      EXPECT_EQ(port.PaneText(), shown) << path;
      EXPECT_EQ(ed.doc().entries().size(), 2u) << path;
    }
  }
  ASSERT_EQ(port.items().size(), 2u);
  const std::string project = "Type=Exe\r\nForm=Main.frm\n\x01\xff";
  Open(Write("P.VBP", project), false);
  EXPECT_EQ(port.PaneText(), project);
  EXPECT_EQ(port.Caption(), "QW: " + Upper(Path("P.VBP")));
  EXPECT_TRUE(port.items().empty());
  EXPECT_TRUE(ed.doc().entries().empty());
  EXPECT_FALSE(ed.doc().indexed());
  EXPECT_FALSE(ed.doc().changed());
}

TEST_F(IndexTest, MoreThan32767EntriesAreListedWholeUnderEitherLimits) {
  std::string bytes;
  for (int i = 0; i < 32800; ++i) bytes += "Sub P" + std::to_string(i) + "()\r\nEnd Sub\r\n";
  const std::string path = Write("MANY.BAS", bytes);
  for (const bool classic : {false, true}) {
    SetClassicLimits(classic);
    Open(path);
    EXPECT_EQ(ed.doc().entries().size(), 32801u) << classic;
    EXPECT_EQ(port.items().back(), "P32799") << classic;
    EXPECT_TRUE(port.boxes.empty()) << classic;
  }
  Select(32801 - 1);
  EXPECT_EQ(port.PaneText(), Crlf("Sub P32799()\nEnd Sub\n"));
}

}  // namespace
}  // namespace qw::testing
