// Find in Module: the hits of a search over the whole module are exactly the
// lines that showing every entry in turn and reading its text would reveal,
// and choosing a hit goes there through the entry list.
#include "find/module_search.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "document/doc_fixture.h"
#include "find/text_search.h"

namespace qw::testing {
namespace {

using Hit = std::tuple<Int, Int, Int, std::string>;  // entry, line, offset, line text

std::vector<Hit> Tuples(const std::vector<ModuleHit>& hits) {
  std::vector<Hit> out;
  for (const ModuleHit& h : hits) out.emplace_back(h.entry, h.line, h.offset, h.line_text);
  return out;
}

// The hits as a reader of every entry would find them, one line at a time.
std::vector<Hit> ReadEveryLine(const std::vector<std::string>& texts, const std::string& pattern,
                               bool match_case) {
  const auto fold = [&](std::string s) {
    if (!match_case) {
      for (char& c : s) c = FoldCase(c);
    }
    return s;
  };
  const std::string pat = fold(pattern);
  std::vector<Hit> out;
  for (size_t e = 0; e < texts.size(); ++e) {
    const std::string text = fold(texts[e]);
    size_t start = 0;
    for (Int line = 1; start < text.size(); ++line) {
      const size_t crlf = text.find("\r\n", start);
      const size_t end = crlf == std::string::npos ? text.size() : crlf;
      const size_t next = crlf == std::string::npos ? text.size() : crlf + 2;
      const size_t at = text.find(pat, start);
      if (at != std::string::npos && at < next) {
        out.emplace_back(static_cast<Int>(e), line, static_cast<Int>(at),
                         texts[e].substr(start, end - start));
      }
      start = next;
    }
  }
  return out;
}

class FindInModuleTest : public DocTest {
 protected:
  // The text of every entry, as the pane shows it.
  std::vector<std::string> ShowEveryEntry() {
    std::vector<std::string> texts;
    for (size_t i = 0; i < ed.doc().entry_count(); ++i) {
      Select(static_cast<int>(i));
      texts.push_back(port.PaneText());
    }
    Select(0);
    return texts;
  }
};

TEST_F(FindInModuleTest, FindsWhatReadingEveryEntryFinds) {
  int compared = 0;
  for (const char* name : {"MAIN.BAS", "DIALOG.FRM", "ACCOUNT.CLS", "FIRSTPROC.PRG", "REPORT.PRG",
                           "UNIX.BAS", "NODECL.BAS"}) {
    const std::string bytes = Fixture(name);
    Open(Write(name, bytes));
    const std::vector<std::string> texts = ShowEveryEntry();
    // Every word of the file, one letter, and texts across a line end.
    std::set<std::string> patterns = {"e", "E", "\r\nEnd", "d\r\n", "\xe9"};
    for (size_t i = 0; i < bytes.size();) {
      const size_t b =
          bytes.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", i);
      if (b == std::string::npos) break;
      const size_t e = bytes.find_first_not_of(
          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", b);
      patterns.insert(bytes.substr(b, e - b));
      i = e;
    }
    for (const std::string& pattern : patterns) {
      for (bool match_case : {false, true}) {
        ASSERT_EQ(Tuples(FindInDocument(ed.doc(), port.PaneText(), pattern, match_case)),
                  ReadEveryLine(texts, pattern, match_case))
            << name << " '" << pattern << "' case " << match_case;
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 200);
}

TEST_F(FindInModuleTest, SearchesThePaneForTheEntryShown) {
  Open(Write("M.BAS", "Dim a\r\nSub A()\r\n  old\r\nEnd Sub\r\nSub B()\r\n  old\r\nEnd Sub\r\n"));
  Select(IndexOf("A"));
  Type("Sub A()\r\n  new\r\n  new old\r\nEnd Sub\r\n");
  EXPECT_EQ(Tuples(FindInDocument(ed.doc(), port.PaneText(), "old", false)),
            (std::vector<Hit>{{1, 3, 22, "  new old"}, {2, 2, 11, "  old"}}));
  EXPECT_EQ(Tuples(FindInDocument(ed.doc(), port.PaneText(), "new", false)),
            (std::vector<Hit>{{1, 2, 11, "  new"}, {1, 3, 18, "  new old"}}));
}

TEST_F(FindInModuleTest, WholeTextHitsAreLinesOfThePane) {
  Open(Write("T.TXT", "one\ntwo one\r\nthree"), /*split=*/false);
  EXPECT_EQ(Tuples(FindInDocument(ed.doc(), port.PaneText(), "ONE", false)),
            (std::vector<Hit>{{-1, 1, 0, "one"}, {-1, 2, 8, "two one"}}));
}

TEST_F(FindInModuleTest, ChoosingAHitSwitchesAndSelectsUnlessThePaneIsEdited) {
  std::string module = "Option Explicit\r\n";
  for (int i = 0; i < 300; ++i) {
    module += "Sub P" + std::to_string(i) + "()\r\n  x = " + std::to_string(i) + "\r\n" +
              (i % 50 == 7 ? "  Call Target\r\n" : "") + "End Sub\r\n\r\n";
  }
  Open(Write("BIG.BAS", module));
  SearchState state;
  ModuleSearch search(ed.doc(), port, state);
  port.find_answers.push_back({DialogClose::kAccept, "target", false, false, 1});
  search.FindInModule();
  ASSERT_EQ(port.hit_rows.size(), 6u);
  EXPECT_EQ(port.hit_rows[1].entry_name, "P57");
  EXPECT_EQ(port.hit_rows[1].line, 3);
  EXPECT_EQ(port.hit_rows[1].line_text, "  Call Target");

  search.GoToHit(1);
  EXPECT_EQ(ed.doc().current_entry_name(), "P57");
  EXPECT_EQ(port.PaneSelectedText(), "Target");
  EXPECT_EQ(state.last_found_pos, port.PaneSelStart());

  Type("Sub P57()\r\n  edited\r\nEnd Sub\r\n");
  search.GoToHit(2);
  EXPECT_EQ(ed.doc().current_entry_name(), "P57");
  EXPECT_EQ(port.PaneText(), "Sub P57()\r\n  edited\r\nEnd Sub\r\n");
  EXPECT_EQ(Boxes().back().substr(0, 21), "Save or Lose Changes:");

  // Another module open: its entries of the same names are not the hits' entries.
  Open(Write("OTHER.BAS", module));
  Select(IndexOf("P7"));
  search.GoToHit(0);
  EXPECT_EQ(ed.doc().current_entry_name(), "P7");
  EXPECT_EQ(port.PaneSelLength(), 0);
}

TEST_F(FindInModuleTest, NoHitSaysCannotFindAndCancelSearchesNothing) {
  Open(Write("M.BAS", "Sub A()\r\nEnd Sub\r\n"));
  SearchState state;
  ModuleSearch search(ed.doc(), port, state);
  port.find_answers.push_back({DialogClose::kCancel, "End", false, false, 1});
  search.FindInModule();
  EXPECT_TRUE(port.boxes.empty());
  EXPECT_EQ(state.find_text, "End");
  port.find_answers.push_back({DialogClose::kAccept, "nowhere", false, false, 1});
  search.FindInModule();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"QWEdit: Cannot find \"nowhere\""});
}

}  // namespace
}  // namespace qw::testing
