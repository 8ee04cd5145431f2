// Find, Find Next and Replace over the edit pane, driven as the window drives
// them: each row is a pane text, a caret and a script of commands with the
// selection start (or the "Cannot find" box) each one must leave.
#include "find/search_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "document/doc_fixture.h"
#include "find/text_search.h"
#include "platform/fault.h"
#include "support/case_table.h"
#include "support/fake_port.h"

namespace qw::testing {
namespace {

// The name of a row of a case table: its first field.
std::string RowName(const ::testing::TestParamInfo<CaseRow>& info) {
  return info.param.fields[0];
}

// Every search of tests/data/find/search_scripts.txt, which explains the script.
class SearchScript : public ::testing::TestWithParam<CaseRow> {};

TEST_P(SearchScript, LeavesTheSelectionsOfTheDesign) {
  const std::vector<std::string>& row = GetParam().fields;
  SetClassicLimits(true);
  FakePort port;
  port.SetPaneText(row[1]);
  port.SetPaneSelection(std::stol(row[2]), 0);
  SearchCommands search(port);
  std::istringstream steps(row[3]);
  std::string got;
  bool tick_case = false;
  for (std::string step; steps >> step;) {
    const size_t boxes = port.boxes.size();
    const char op = step[0];
    if (op == 'c') {
      tick_case = true;
      continue;
    }
    if (op == '@') {
      port.SetPaneSelection(std::stol(step.substr(1)), 0);
      continue;
    }
    if (op == 'R') {
      const bool ticked = step[1] == 'c';
      const std::string pair = step.substr(ticked ? 3 : 2);
      const size_t eq = pair.find('=');
      port.replace_answers.push_back(
          {DialogClose::kAccept, pair.substr(0, eq), pair.substr(eq + 1), ticked});
      search.Replace();
      continue;
    }
    if (op == 'F' || op == 'C' || op == 'X') {
      FindDialogAnswer a;
      a.closed = op == 'F' ? DialogClose::kAccept
                           : (op == 'C' ? DialogClose::kCancel : DialogClose::kCloseBox);
      if (op != 'X') {
        a.direction = step[1] == '>' ? 1 : 0;
        a.text = step.substr(2);
      }
      a.match_case = a.match_case_clicked = tick_case;
      tick_case = false;
      port.find_answers.push_back(a);
      search.Find();
    } else {
      search.FindNext();
    }
    got += got.empty() ? "" : " ";
    got += port.boxes.size() > boxes ? "!" : std::to_string(port.PaneSelStart());
  }
  EXPECT_EQ(got, row[4]) << GetParam().where;
}

INSTANTIATE_TEST_SUITE_P(Searches, SearchScript,
                         ::testing::ValuesIn(ReadCaseTable("find/search_scripts.txt", 5)), RowName);

// The messages and faults of a search.
TEST(SearchCommands, CannotFindNamesTheTextAsTyped) {
  FakePort port;
  port.SetPaneText("abc");
  SearchCommands search(port);
  port.find_answers.push_back({DialogClose::kAccept, "xYz", false, false, 1});
  search.Find();
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, "Cannot find \"xYz\"");
  EXPECT_EQ(port.boxes[0].title, "QWEdit");
  EXPECT_EQ(port.boxes[0].icon, Icon::kExclamation);
  EXPECT_EQ(port.boxes[0].buttons, Buttons::kOk);
}

TEST(SearchCommands, FindOffersTheSelectedText) {
  FakePort port;
  port.SetPaneText("one two");
  port.SetPaneSelection(4, 3);
  SearchCommands search(port);
  search.Find();
  EXPECT_EQ(port.find_dialog_texts, std::vector<std::string>{"two"});
}

TEST(SearchCommands, SixteenBitPositionsOverflowInTheProcedureErrorBox) {
  SetClassicLimits(true);
  const std::string text = std::string(40000, 'x') + "needle";
  struct Row {
    const char* name;
    long caret;
    bool find_dialog;
    long selection_after;
  };
  // Find holds its start in 16 bits: nothing is selected. Find Next takes any
  // start, selects, then cannot keep the position.
  for (const Row& r : {Row{"FindStartBeyond32767", 33000, true, 33000},
                       Row{"FindNextFoundBeyond32767", 33000, false, 40000}}) {
    FakePort port;
    port.SetPaneText(text);
    port.SetPaneSelection(r.caret, 0);
    SearchCommands search(port);
    search.state() = {"needle", false, kSearchForwards, 0, false, ""};
    if (r.find_dialog) {
      port.find_answers.push_back({DialogClose::kAccept, "needle", false, false, 1});
      search.Find();
    } else {
      search.FindNext();
    }
    ASSERT_EQ(port.boxes.size(), 1u) << r.name;
    EXPECT_EQ(port.boxes[0].title, "Quillwright Error") << r.name;
    EXPECT_EQ(port.boxes[0].text, FaultDescription(kFaultOverflow)) << r.name;
    EXPECT_EQ(port.PaneSelStart(), r.selection_after) << r.name;
  }
}

// Every Replace of tests/data/find/replace_rows.txt.
class ReplaceInPane : public DocTest, public ::testing::WithParamInterface<CaseRow> {};

TEST_P(ReplaceInPane, ReplacesEveryExactOccurrenceAndMarksTheEntryChanged) {
  const std::vector<std::string>& row = GetParam().fields;
  Open(Write("M.BAS", row[1]));
  Select(IndexOf("A"));
  ASSERT_EQ(port.PaneText(), row[1]);
  ASSERT_FALSE(ed.doc().changed());
  SearchCommands search(port);
  search.state().find_text = search.state().replace_text = "earlier";  // any close forgets them
  const ReplaceDialogAnswer answer{row[2] == "accept"   ? DialogClose::kAccept
                                   : row[2] == "cancel" ? DialogClose::kCancel
                                                        : DialogClose::kCloseBox,
                                   row[3], row[4], row[5] == "1"};
  port.replace_answers.push_back(answer);
  search.Replace();
  EXPECT_EQ(port.PaneText(), row[6]) << GetParam().where;
  // The pane's text is set whenever there is a find text, even when nothing changed.
  EXPECT_EQ(ed.doc().changed(), !search.state().find_text.empty());
  if (answer.closed != DialogClose::kAccept) {
    EXPECT_EQ(search.state().find_text, "");
    EXPECT_EQ(search.state().replace_text, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Replaces, ReplaceInPane,
                         ::testing::ValuesIn(ReadCaseTable("find/replace_rows.txt", 7)), RowName);

// The searcher agrees with a plain byte-by-byte search on every byte value,
// every pattern length around the blocks of sixteen and thirty-two and the
// words of eight, both letter cases, and a folding where three bytes share
// one upper case; so does the list of every occurrence.
TEST(PatternSearcher, AgreesWithAPlainSearch) {
  std::string text;
  unsigned x = 12345;
  for (int i = 0; i < 3000; ++i) {
    x = x * 1103515245u + 12345u;
    text += "aAbB\xe9\xc9\xff\x9f\r\n"[(x >> 16) % 10];
  }
  CaseFold three_way = Windows1252CaseFold();
  three_way['b'] = three_way['B'] = three_way['\r'] = 'B';
  for (const CaseFold* fold : {&Windows1252CaseFold(), static_cast<const CaseFold*>(&three_way)}) {
    const auto folded = [&](std::string s) {
      for (char& c : s) c = FoldCase(c, *fold);
      return s;
    };
    const std::string text_folded = folded(text);
    for (size_t len = 1; len <= 20; ++len) {
      for (size_t at = 0; at + len <= text.size(); at += 97) {
        const std::string pattern = text.substr(at, len);
        for (bool match_case : {true, false}) {
          const std::string& hay = match_case ? text : text_folded;
          const std::string pat = match_case ? pattern : folded(pattern);
          for (size_t from : {size_t{0}, at / 2, at}) {
            ASSERT_EQ(FindForwards(text, pattern, from, match_case, *fold), hay.find(pat, from))
                << "len " << len << " at " << at << " case " << match_case;
          }
          ASSERT_EQ(FindBackwards(text, pattern, at + 1, match_case, *fold), hay.rfind(pat, at));
          std::vector<size_t> all, expected;
          PatternSearcher(pattern, match_case, *fold).FindAll(text, all);
          for (size_t k = hay.find(pat); k != std::string::npos; k = hay.find(pat, k + 1)) {
            expected.push_back(k);
          }
          ASSERT_EQ(all, expected) << "len " << len << " at " << at << " case " << match_case;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qw::testing
