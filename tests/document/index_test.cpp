// Opening a module: the entries the indexer lists and the text each shows, for
// the modules made here (large entries, files of many megabytes); the small
// cases stand as golden files in tests/data/index.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/module_document.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

using IndexTest = DocTest;

// A module written with LF line ends and a '>' before each line that starts a
// listed entry: the bytes with `end` for each LF and no marks, and the
// positions of the marked lines.
struct Module {
  std::string bytes;
  std::vector<Int> starts;
};
Module Marked(const std::string& text, const std::string& end) {
  Module m;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '>' && (i == 0 || text[i - 1] == '\n')) {
      m.starts.push_back(static_cast<Int>(m.bytes.size()) + 1);
    } else {
      m.bytes += text[i] == '\n' ? end : std::string(1, text[i]);
    }
  }
  return m;
}

std::vector<std::string> Words(const std::string& s) {
  std::vector<std::string> out;
  std::istringstream in(s);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// An entry "Sub Big()" .. "End Sub" whose text is `total` characters with
// CR LF line ends, written with LF line ends.
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
  std::erase(text, '\r');
  return text;
}

struct OpenRow {
  const char* name;
  const char* file;
  std::string module;                    // as Marked() reads it
  const char* listed;                    // the names listed; an unmarked first one starts at 1
  std::string entry = "(declarations)";  // the entry shown ("" for none)
  std::string text = "";                 // the text it shows, LF for CR LF
  const char* title = "";                // the box shown, if any
};

TEST_F(IndexTest, ListsTheEntriesAndShowsEachEntrysOwnLines) {
  const std::string nul(3'000'000, '\0');
  const std::string big[] = {BigEntry(30000, true), BigEntry(30001, true), BigEntry(32004, true),
                             BigEntry(32100, true), BigEntry(31000, false)};
  const OpenRow rows[] = {
      {"nul_bytes_without_line_ends_are_one_line", "BIN.BAS", nul, "(declarations)",
       "(declarations)", nul + "\n"},
      {"positions_past_seven_digits_widen", "FAR.BAS",
       "Dim a\n" + std::string(10'000'000, '\'') + "\n>Sub Far()\nEnd Sub\n", "(declarations) Far",
       "Far", "Sub Far()\nEnd Sub\n", "Procedure Too Large"},
      {"entry_of_30000_loads", "BIG.BAS", "Dim a\n>" + big[0], "(declarations) Big", "Big", big[0]},
      {"entry_of_30001_warns_and_loads", "BIG.BAS", "Dim a\n>" + big[1], "(declarations) Big",
       "Big", big[1], "Large File Warning"},
      {"end_line_carries_past_32000", "BIG.BAS", "Dim a\n>" + big[2], "(declarations) Big", "Big",
       big[2], "Large File Warning"},
      {"entry_passing_32000_while_adding_is_refused", "BIG.BAS", "Dim a\n>" + big[3],
       "(declarations) Big", "Big", "", "Procedure Too Large"},
      {"entry_at_end_of_file_never_warns", "BIG.BAS", "Dim a\n>" + big[4], "(declarations) Big",
       "Big", big[4]},
  };
  for (const OpenRow& r : rows) {
    const Module m = Marked(r.module, "\r\n");
    const std::string path = Write(r.file, m.bytes);
    port.boxes.clear();
    port.SetPaneText("shown before");
    Open(path);
    const std::vector<std::string> names = Words(r.listed);
    std::vector<std::string> want;
    for (size_t i = 0; i < names.size(); ++i) {
      const size_t mark = i + m.starts.size() - names.size();
      want.push_back(ProcedureEntry{names[i], mark < m.starts.size() ? m.starts[mark] : 1}.Text());
    }
    EXPECT_EQ(Listed(), want) << r.name;
    EXPECT_EQ(port.items(), names) << r.name;
    EXPECT_EQ(ed.doc().entry_count(), static_cast<Int>(want.size())) << r.name;
    const int index = IndexOf(r.entry);
    if (index > 0) Select(index);
    EXPECT_EQ(port.PaneText(), Crlf(r.text)) << r.name;
    EXPECT_EQ(ed.doc().current_entry_name(), r.entry) << r.name;
    if (index >= 0) {
      EXPECT_EQ(port.Caption(), "QW: " + r.entry + " of " + Upper(path)) << r.name;
    }
    EXPECT_EQ(port.Titles(), std::vector<std::string>(*r.title ? 1 : 0, r.title)) << r.name;
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
