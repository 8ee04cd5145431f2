// Switching entries with change tracking, focus hand-off, the edit and open
// commands, and a file that changes under the index.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

class NavigationTest : public DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    Open(path = Write("NAV.BAS", bytes));
  }
  const std::string bytes = Crlf("Dim a\nSub A()\n  x = 1\nEnd Sub\nSub B()\n  y = 2\nEnd Sub\n");
  std::string path;
};

TEST_F(NavigationTest, SwitchingGuardsAnEditedEntryOncePerChangeAndDeleteAllIsNoChange) {
  const std::string warning =
      "Save or Lose Changes: The currenty entity has been changed,\nto save, use the File Save "
      "Menu.\nYou will not be prompted again unless\nadditional changes are made!";
  Select(1);
  EXPECT_EQ(port.PaneText(), Crlf("Sub A()\n  x = 1\nEnd Sub\n"));
  EXPECT_EQ(ed.doc().current_entry_index(), 1);
  EXPECT_GE(port.yields, 1);
  EXPECT_EQ(port.busy_depth, 0);
  Type("edited");
  ed.StartUp();
  Select(1);  // the entry shown, unchanged: nothing happens
  EXPECT_EQ(port.PaneText(), "edited");
  EXPECT_TRUE(port.boxes.empty());
  Type("edited");
  Select(1);  // the entry shown, changed: warned, and the flag cleared
  EXPECT_EQ(Boxes(), std::vector<std::string>{warning});
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_EQ(port.PaneText(), "edited");
  Type("edited");
  Select(2);  // another entry: warned, and the list shows the edited entry again
  EXPECT_EQ(Boxes(), (std::vector<std::string>{warning, warning}));
  EXPECT_EQ(port.boxes[1].icon, Icon::kExclamation);
  EXPECT_EQ(port.EntrySelectedIndex(), 1);
  EXPECT_EQ(port.EntryText(), "A");
  EXPECT_EQ(port.PaneText(), "edited");
  EXPECT_EQ(ed.doc().current_entry_name(), "A");
  Type("edited again");
  Select(2);  // one more keystroke re-arms the warning
  EXPECT_EQ(port.boxes.size(), 3u);
  EXPECT_EQ(port.PaneText(), "edited again");
  Select(2);  // asked again: no question, the edits are gone
  EXPECT_EQ(port.boxes.size(), 3u);
  EXPECT_EQ(port.PaneText(), Crlf("Sub B()\n  y = 2\nEnd Sub\n"));
  EXPECT_EQ(ed.doc().current_entry_name(), "B");
  EXPECT_FALSE(ed.doc().changed());
  ed.SelectAll();
  EXPECT_EQ(port.PaneSelStart(), 0);
  EXPECT_EQ(port.PaneSelLength(), static_cast<long>(port.PaneText().size()));
  Type("edited");
  ed.DeleteAllText();  // counts as unchanged
  EXPECT_EQ(port.PaneText(), "");
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_EQ(port.pane_focus_count, 1);
  ed.SelectAll();
  EXPECT_EQ(port.PaneSelLength(), 0);
  Select(1);
  EXPECT_EQ(port.boxes.size(), 3u);
}

TEST_F(NavigationTest, EnterHandsTheFocusToThePaneAndFormLoadClearsTheFlags) {
  ed.EntryListKeyPressed('a');
  EXPECT_EQ(port.pane_focus_count, 0);
  ed.EntryListKeyPressed(13);
  EXPECT_EQ(port.pane_focus_count, 1);
  ed.WindowKeyDown(13, false);
  ed.EntryListTextChanged();
  EXPECT_EQ(port.pane_focus_count, 1);
  ed.WindowKeyDown(13, true);
  EXPECT_TRUE(ed.doc().pane_focus_requested());
  ed.EntryListTextChanged();
  EXPECT_EQ(port.pane_focus_count, 2);
  EXPECT_FALSE(ed.doc().pane_focus_requested());
  ed.EntryListTextChanged();
  EXPECT_EQ(port.pane_focus_count, 2);
  Type("x");
  ed.WindowKeyDown(13, true);
  ed.StartUp();
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_FALSE(ed.doc().pane_focus_requested());
}

TEST_F(NavigationTest, AFileThatCannotBeReadKeepsTheShownEntryAndAChangedOneIsIndexedAgain) {
  Select(1);
  const std::string shown = port.PaneText();
  Select(0);
  const std::string declarations = port.PaneText();
  const struct {
    const char* name;
    std::function<void()> spoil;
    bool indexed_again;
  } rows[] = {
      {"deleted", [&] { std::filesystem::remove(path); }, false},
      {"changed", [&] { Write("NAV.BAS", bytes + "Sub C()\r\n"); }, true},
      {"replaced_by_another_file_of_the_same_size",
       [&] {
         const std::string other = Write("OTHER.BAS", bytes);
         std::filesystem::rename(other, path);
       },
       true},
  };
  for (const auto& r : rows) {
    Open(Write("NAV.BAS", bytes));
    Select(1);
    const size_t listed = ed.doc().entry_count();
    r.spoil();
    port.boxes.clear();
    Select(2);
    EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"}) << r.name;
    EXPECT_NE(port.boxes.at(0).text.find(path), std::string::npos) << r.name;
    const size_t index = r.indexed_again ? 0 : 1;
    EXPECT_EQ(port.PaneText(), r.indexed_again ? declarations : shown) << r.name;
    EXPECT_EQ(ed.doc().current_entry_index(), index) << r.name;
    EXPECT_EQ(ed.doc().current_entry_name(), r.indexed_again ? "(declarations)" : "A") << r.name;
    if (!r.indexed_again) {
      EXPECT_EQ(port.EntrySelectedIndex(), 1) << r.name;
    }
    EXPECT_EQ(ed.doc().entry_count(), listed + (r.name == std::string("changed"))) << r.name;
    EXPECT_FALSE(ed.doc().changed()) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
  }
}

TEST_F(NavigationTest, OpenCommandsUseTheirFiltersAndModes) {
  Select(1);
  const std::string shown = port.PaneText();
  port.dialog_paths = {std::nullopt, std::string("   ")};  // cancelled, then blank
  ed.Open(FileKind::kBas, OpenMode::kIndexed);
  ed.Open(FileKind::kBas, OpenMode::kWholeText);
  EXPECT_EQ(port.PaneText(), shown);
  EXPECT_EQ(ed.doc().file_name(), path);
  EXPECT_TRUE(ed.doc().indexed());
  EXPECT_TRUE(port.boxes.empty());
  EXPECT_EQ(port.dialog_filters,
            (std::vector<std::string>{"Program (*.bas)|*.bas", "Program (*.bas)|*.bas"}));
  const std::string prg = Write("X.PRG", Crlf("FUNCTION F()\n  RETURN 1\n"));
  const struct {
    const char* name;
    FileKind kind;
    const char* filter;
    bool split;
  } rows[] = {
      {"file_bas", FileKind::kBas, "Program (*.bas)|*.bas", false},
      {"file_prg", FileKind::kPrg, "Program (*.prg)|*.prg", false},
      {"file_frm", FileKind::kFrm, "Forms (*.frm)|*.frm", false},
      {"vbp", FileKind::kVbp, "Program (*.VBP)|*.VBP", false},
      {"mak", FileKind::kMak, "Program (*.mak)|*.mak", false},
      {"file_cls", FileKind::kCls, "Class (*.cls)|*.cls", false},
      {"all", FileKind::kAll, "All Files (*.*)|*.*", false},
      {"module_bas", FileKind::kBas, "Program (*.bas)|*.bas", true},
      {"module_frm", FileKind::kFrm, "Forms (*.frm)|*.frm", true},
      {"module_cls", FileKind::kCls, "Class (*.cls)|*.cls", true},
      {"module_prg", FileKind::kPrg, "Program (*.prg)|*.prg", true},
  };
  for (const auto& r : rows) {
    port.dialog_filters.clear();
    port.dialog_paths.push_back(prg);
    const int yields = port.yields;
    ed.Open(r.kind, r.split ? OpenMode::kIndexed : OpenMode::kWholeText);
    EXPECT_EQ(port.yields, yields + 2) << r.name;  // after the dialog and after the load
    EXPECT_EQ(port.dialog_filters, std::vector<std::string>{r.filter}) << r.name;
    EXPECT_EQ(ed.doc().indexed(), r.split) << r.name;
    EXPECT_EQ(port.PaneText(), r.split ? "" : Crlf("FUNCTION F()\n  RETURN 1\n")) << r.name;
  }
}

}  // namespace
}  // namespace qw::testing

namespace qw::testing {
namespace {

// Switching Property and Friend procedures on and off indexes the open module
// again, keeps the entry shown where it is still an entry, and guards an
// edited pane once.
TEST_F(DocTest, ListingPropertiesIndexesTheOpenModuleAgainBehindTheGuard) {
  const std::string path =
      Write("C.CLS", Crlf("Dim m\nProperty Get V()\n  V = m\nEnd Property\nFriend Sub F()\nEnd "
                          "Sub\nSub S()\nEnd Sub\n"));
  Open(path);
  Select(1);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"(declarations)|0000001", "S|0000074"}));
  ed.SetIndexOptions({.property_and_friend = true});
  EXPECT_EQ(Listed(), (std::vector<std::string>{"(declarations)|0000001", "V [Get]|0000008",
                                                "F|0000049", "S|0000074"}));
  EXPECT_EQ(ed.doc().current_entry_name(), "S");  // still shown
  EXPECT_EQ(port.EntryText(), "S");
  EXPECT_EQ(port.Caption(), "QW: S of " + Upper(path));
  Select(1);
  EXPECT_EQ(port.PaneText(), Crlf("Property Get V()\n  V = m\nEnd Property\n"));
  Type("edited");
  ed.SetIndexOptions({});  // edited: warned once, nothing indexed again
  EXPECT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, "Save or Lose Changes");
  EXPECT_TRUE(ed.index_options().property_and_friend);
  EXPECT_EQ(port.PaneText(), "edited");
  EXPECT_EQ(ed.doc().entry_count(), 4u);
  ed.SetIndexOptions({});  // asked again: switched, the edits are gone
  EXPECT_FALSE(ed.index_options().property_and_friend);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"(declarations)|0000001", "S|0000074"}));
  EXPECT_EQ(ed.doc().current_entry_name(), "(declarations)");  // 'V [Get]' is no entry now
  EXPECT_EQ(port.PaneText(), Crlf("Dim m\nProperty Get V()\n  V = m\nEnd Property\nFriend Sub "
                                  "F()\nEnd Sub\n"));
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_EQ(port.boxes.size(), 1u);
}

}  // namespace
}  // namespace qw::testing
