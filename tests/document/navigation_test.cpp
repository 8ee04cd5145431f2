// Switching entries with change tracking, focus hand-off, and a file that
// changes under the index.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "doc_fixture.h"

namespace qw::testing {
namespace {

class NavigationTest : public DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    bytes = Lines({"Dim a", "Sub A()", "  x = 1", "End Sub", "Sub B()", "  y = 2", "End Sub"});
    path = Write("NAV.BAS", bytes);
    Open(path);
  }
  std::string bytes;
  std::string path;
};

const char kWarning[] =
    "The currenty entity has been changed,\nto save, use the File Save Menu.\nYou will not be "
    "prompted again unless\nadditional changes are made!";

TEST_F(NavigationTest, SwitchingShowsTheEntryAndClearsTheFlag) {
  Select(1);
  EXPECT_EQ(port.pane, Lines({"Sub A()", "  x = 1", "End Sub"}));
  EXPECT_FALSE(ed.doc().changed);
  EXPECT_EQ(ed.doc().current_entry_name, "A");
  EXPECT_EQ(ed.doc().current_entry_index, 1);
  EXPECT_GE(port.yields, 1);
  EXPECT_EQ(port.busy_depth, 0);
}

TEST_F(NavigationTest, ChoosingTheShownEntryDoesNothing) {
  Select(1);
  Type("edited");
  ed.doc().changed = false;
  Select(1);
  EXPECT_EQ(port.pane, "edited");
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(NavigationTest, ChoosingTheShownEntryWhileChangedWarns) {
  Select(1);
  Type("edited");
  Select(1);
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"Save or Lose Changes"});
  EXPECT_FALSE(ed.doc().changed);
  EXPECT_EQ(port.pane, "edited");
}

TEST_F(NavigationTest, AnEditedEntryIsGuardedOnce) {
  Select(1);
  Type("edited");
  Select(2);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, kWarning);
  EXPECT_EQ(port.boxes[0].title, "Save or Lose Changes");
  EXPECT_EQ(port.boxes[0].icon, Icon::kExclamation);
  EXPECT_EQ(port.selected, 1);  // the list shows the edited entry again
  EXPECT_EQ(port.entry_text, "A");
  EXPECT_EQ(port.pane, "edited");
  EXPECT_EQ(ed.doc().current_entry_name, "A");
  Select(2);  // asked again: no question, the edits are gone
  EXPECT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.pane, Lines({"Sub B()", "  y = 2", "End Sub"}));
}

TEST_F(NavigationTest, OneMoreKeystrokeReArmsTheWarning) {
  Select(1);
  Type("edited");
  Select(2);
  Type("edited again");
  Select(2);
  EXPECT_EQ(port.boxes.size(), 2u);
  EXPECT_EQ(port.pane, "edited again");
}

TEST_F(NavigationTest, EnterHandsTheFocusToThePane) {
  ed.cbProc_KeyPress('a');
  EXPECT_EQ(port.pane_focus_count, 0);
  ed.cbProc_KeyPress(13);
  EXPECT_EQ(port.pane_focus_count, 1);
  ed.Form_KeyDown(13, false);
  ed.cbProc_Change();
  EXPECT_EQ(port.pane_focus_count, 1);
  ed.Form_KeyDown(13, true);
  EXPECT_TRUE(ed.doc().focus_editor);
  ed.cbProc_Change();
  EXPECT_EQ(port.pane_focus_count, 2);
  EXPECT_FALSE(ed.doc().focus_editor);
  ed.cbProc_Change();
  EXPECT_EQ(port.pane_focus_count, 2);
}

TEST_F(NavigationTest, FormLoadClearsTheFlags) {
  Type("x");
  ed.Form_KeyDown(13, true);
  ed.Form_Load();
  EXPECT_FALSE(ed.doc().changed);
  EXPECT_FALSE(ed.doc().focus_editor);
}

TEST_F(NavigationTest, AFileThatCannotBeReadKeepsTheShownEntry) {
  Select(1);
  const std::string shown = port.pane;
  const struct {
    const char* name;
    std::function<void()> spoil;
    std::function<void()> mend;
  } rows[] = {
      {"deleted", [&] { std::filesystem::remove(path); }, [&] { Write("NAV.BAS", bytes); }},
      {"changed", [&] { Write("NAV.BAS", bytes + "Sub C()\r\n"); },
       [&] { Write("NAV.BAS", bytes); }},
  };
  for (const auto& r : rows) {
    Open(path);
    Select(1);
    r.spoil();
    port.boxes.clear();
    Select(2);
    ASSERT_EQ(port.boxes.size(), 1u) << r.name;
    EXPECT_EQ(port.boxes[0].title, "File Error") << r.name;
    EXPECT_NE(port.boxes[0].text.find(path), std::string::npos) << r.name;
    EXPECT_EQ(port.pane, shown) << r.name;
    EXPECT_EQ(port.selected, 1) << r.name;
    EXPECT_EQ(ed.doc().current_entry_name, "A") << r.name;
    EXPECT_EQ(ed.doc().current_entry_index, 1) << r.name;
    EXPECT_FALSE(ed.doc().changed) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
    r.mend();
  }
}

TEST_F(NavigationTest, DeleteAllTextCountsAsUnchanged) {
  Select(1);
  Type("edited");
  ed.mnuDeleteText_Click();
  EXPECT_EQ(port.pane, "");
  EXPECT_FALSE(ed.doc().changed);
  EXPECT_EQ(port.pane_focus_count, 1);
  Select(2);
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(NavigationTest, SelectAllSelectsThePane) {
  Select(1);
  ed.mnjSelectAll_Click();
  EXPECT_EQ(port.sel_start, 0);
  EXPECT_EQ(port.sel_length, static_cast<long>(port.pane.size()));
  ed.mnuDeleteText_Click();
  ed.mnjSelectAll_Click();
  EXPECT_EQ(port.sel_length, 0);
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(NavigationTest, OpenDialogCancelledChangesNothing) {
  Select(1);
  const std::string shown = port.pane;
  port.dialog_paths.push_back(std::nullopt);
  port.dialog_paths.push_back(std::string("   "));
  ed.mnuBasFiles_Click();
  ed.mnuFileBas_Click();
  EXPECT_EQ(port.pane, shown);
  EXPECT_EQ(ed.doc().file_name, path);
  EXPECT_TRUE(ed.doc().split_mode);
  EXPECT_TRUE(port.boxes.empty());
  EXPECT_EQ(port.dialog_filters,
            (std::vector<std::string>{"Program (*.bas)|*.bas", "Program (*.bas)|*.bas"}));
}

TEST_F(NavigationTest, OpenCommandsUseTheirFiltersAndModes) {
  const std::string prg = Write("X.PRG", Lines({"FUNCTION F()", "  RETURN 1"}));
  const struct {
    const char* name;
    void (Editor::*command)();
    const char* filter;
    bool split;
  } rows[] = {
      {"file_bas", &Editor::mnuFileBas_Click, "Program (*.bas)|*.bas", false},
      {"file_prg", &Editor::mnuFilePrg_Click, "Program (*.prg)|*.prg", false},
      {"file_frm", &Editor::mnuFileFRM_Click, "Forms (*.frm)|*.frm", false},
      {"vbp", &Editor::mnuVbp_Click, "Program (*.VBP)|*.VBP", false},
      {"mak", &Editor::mnuMakFiles_Click, "Program (*.mak)|*.mak", false},
      {"file_cls", &Editor::mnuClsFiles_Click, "Class (*.cls)|*.cls", false},
      {"all", &Editor::mnuFillAll_Click, "All Files (*.*)|*.*", false},
      {"module_bas", &Editor::mnuBasFiles_Click, "Program (*.bas)|*.bas", true},
      {"module_frm", &Editor::mnuFrmFilesn_Click, "Forms (*.frm)|*.frm", true},
      {"module_cls", &Editor::mnuCls_Click, "Class (*.cls)|*.cls", true},
      {"module_prg", &Editor::mnuPrgFiles_Click, "Program (*.prg)|*.prg", true},
  };
  for (const auto& r : rows) {
    port.dialog_filters.clear();
    port.dialog_paths.push_back(prg);
    const int yields = port.yields;
    (ed.*r.command)();
    EXPECT_EQ(port.yields, yields + 2) << r.name;  // after the dialog and after the load
    EXPECT_EQ(port.dialog_filters, std::vector<std::string>{r.filter}) << r.name;
    EXPECT_EQ(ed.doc().split_mode, r.split) << r.name;
    EXPECT_EQ(port.pane, r.split ? "" : Lines({"FUNCTION F()", "  RETURN 1"})) << r.name;
  }
}

}  // namespace
}  // namespace qw::testing
