// Saving: the splice of one entry into its file, the backup, the safety of
// the user's files, whole-text saves and the questions asked before closing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;

class SaveTest : public DocTest {
 protected:
  // Copies a fixture module into the folder and opens it indexed.
  std::string OpenFixture(const std::string& name) {
    const std::string path = Write(name, Fixture(name));
    Open(path);
    return path;
  }
  // Shows entry `name`, replaces its text as the user would, and saves.
  void EditAndSave(const std::string& name, const std::string& text) {
    const int index = IndexOf(name);
    ASSERT_GE(index, 0) << name;
    if (index != ed.doc().current_entry_index) Select(index);
    Type(text);
    ed.mnuFileSave_Click();
  }
  static std::string Replaced(std::string s, const std::string& from, const std::string& to) {
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
  }
};

TEST_F(SaveTest, SavingAnUnchangedEntryGivesBackTheSameBytes) {
  const char* modules[] = {"MAIN.BAS",   "NODECL.BAS",    "DIALOG.FRM", "ACCOUNT.CLS",
                           "REPORT.PRG", "FIRSTPROC.PRG", "UNIX.BAS"};
  size_t opened = 0;
  for (const char* module : modules) {
    ++opened;
    const std::string original = Fixture(module);
    const std::string path = OpenFixture(module);
    const std::string stem = std::string(module).substr(0, std::string(module).find('.'));
    const size_t count = ed.doc().entries.size();
    for (size_t i = 0; i < count; ++i) {
      Write(module, original);
      Open(path);
      const std::string entry = ed.doc().entries[i].name;
      if (i != 0) Select(static_cast<int>(i));
      if (IsEmptyValue(std::string_view(port.pane))) continue;  // nothing to save
      if (entry == "(declarations)" && std::string(module) == "DIALOG.FRM") continue;
      port.boxes.clear();
      Type(port.pane);  // the user touches the text and leaves it as it was
      ed.mnuFileSave_Click();
      const bool last_without_end = original.back() != '\n' && i + 1 == count;
      EXPECT_EQ(Read(path), last_without_end ? original + "\n" : original)
          << module << " " << entry;
      EXPECT_EQ(Read(Path(stem + ".BAK")), original) << module << " " << entry;
      EXPECT_TRUE(port.boxes.empty()) << module << " " << entry;
      EXPECT_FALSE(ed.doc().changed) << module << " " << entry;
      EXPECT_EQ(port.busy_depth, 0) << module << " " << entry;
    }
    EXPECT_EQ(FilesInDir().size(), 2 * opened) << module;  // no temporary left
  }
}

TEST_F(SaveTest, AnEditedEntryChangesOnlyItsOwnText) {
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  EditAndSave("Total", Lines({"Public Function Total(a As Long, b As Long) As Long",
                              "    Total = a * b", "End Function"}));
  EXPECT_EQ(Read(path), Replaced(original, "Total = a + b", "Total = a * b"));
  EXPECT_EQ(Read(Path("MAIN.BAK")), original);
  // The list is rebuilt from the file just written, and entry 0 is shown.
  EXPECT_EQ(ed.doc().current_entry_name, "(declarations)");
  EXPECT_EQ(port.caption, "QW: (declarations) of " + Upper(path));
  EXPECT_FALSE(ed.doc().changed);
  EXPECT_EQ(port.items.size(), 5u);
}

TEST_F(SaveTest, TheHeaderIsTheLineAtTheIndexedPosition) {
  const std::string bytes = Lines({"' calls Sub Draw(x) below", "Sub DrawAll()", "  Draw 1",
                                   "End Sub", "Sub Draw(x)", "  Circle x", "End Sub"});
  const std::string path = Write("DRAW.BAS", bytes);
  Open(path);
  EditAndSave("Draw", Lines({"Sub Draw(x)", "  Line x", "End Sub"}));
  EXPECT_EQ(Read(path), Replaced(bytes, "  Circle x", "  Line x"));
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(SaveTest, AnEditedHeaderAddsTheEntryAtTheEnd) {
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  const std::string text = Lines({"Public Function Sum(a As Long) As Long", "End Function"});
  EditAndSave("Total", text);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, "eof");
  EXPECT_EQ(port.boxes[0].title, "QWEdit");
  EXPECT_EQ(Read(path), original + text);
}

TEST_F(SaveTest, AnXBaseHeaderWithoutParametersIsFoundByItsWholeLine) {
  const std::string path = OpenFixture("REPORT.PRG");
  const std::string original = Read(path);
  EditAndSave("Init", Lines({"PROCEDURE Init", "   nInit := 1", "   RETURN"}));
  EXPECT_EQ(Read(path), Replaced(original, "nInit := 0", "nInit := 1"));
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(SaveTest, EndSubInCapitalsEndsTheOldText) {
  const std::string bytes =
      Lines({"Sub A()", "  x = 1", "END SUB", "' about B", "Dim z", "Sub B()", "End Sub"});
  const std::string path = Write("CAPS.BAS", bytes);
  Open(path);
  EditAndSave("A", Lines({"Sub A()", "  x = 2", "END SUB"}));
  EXPECT_EQ(Read(path), Replaced(bytes, "x = 1", "x = 2"));
}

TEST_F(SaveTest, FormDeclarationsKeepTheDescriptionBlockUnindented) {
  for (const char* name : {"DIALOG.FRM", "dialog.frm"}) {
    const std::string path = Write(name, Fixture("DIALOG.FRM"));
    Open(path);
    Type(Lines({"Option Explicit", "Dim n As Integer"}));
    ed.mnuFileSave_Click();
    EXPECT_EQ(
        Read(path),
        Lines({"VERSION 5.00", "Begin VB.Form frmDialog", "Caption         =   \"Dialog\"",
               "BeginProperty Font", "Name            =   \"Arial\"", "EndProperty",
               "Begin VB.CommandButton cmdOK", "Caption         =   \"OK\"", "End", "End",
               "Option Explicit", "Dim n As Integer", "Private Sub cmdOK_Click()", "    Unload Me",
               "End Sub", "", "Private Sub Form_Load()", "    Me.Caption = \"Hi\"", "End Sub"}))
        << name;
  }
}

TEST_F(SaveTest, FormProcedureKeepsTheBlockAsItStands) {
  const std::string path = OpenFixture("DIALOG.FRM");
  const std::string original = Read(path);
  EditAndSave("Form_Load",
              Lines({"Private Sub Form_Load()", "    Me.Caption = \"Ho\"", "End Sub"}));
  EXPECT_EQ(Read(path), Replaced(original, "\"Hi\"", "\"Ho\""));
}

TEST_F(SaveTest, DeclarationsOfAModuleThatStartsWithAProcedureAreNotDoubled) {
  const std::string path = OpenFixture("FIRSTPROC.PRG");
  const std::string original = Read(path);
  EXPECT_EQ(port.pane, "");
  Type("* added\r\n");
  ed.mnuFileSave_Click();
  EXPECT_EQ(Read(path), "* added\r\n" + original);
}

TEST_F(SaveTest, LfFilesGetLfLinesFromThePane) {
  const std::string path = OpenFixture("UNIX.BAS");
  const std::string original = Read(path);
  EditAndSave("A", Lines({"Sub A()", "    x = 3", "End Sub"}));
  EXPECT_EQ(Read(path), Replaced(original, "x = 1", "x = 3"));
}

TEST_F(SaveTest, EveryByteValueSurvivesASave) {
  std::string all;
  for (int c = 0; c < 256; ++c) {
    if (c != '\n' && c != '\r') all += static_cast<char>(c);
  }
  const std::string bytes = Lines({"Dim a", "Sub A()", all, "End Sub", "Sub B()", all, "End Sub"});
  const std::string path = Write("BYTES.BAS", bytes);
  Open(path);
  EditAndSave("A", Lines({"Sub A()", all + "!", "End Sub"}));
  EXPECT_EQ(Read(path), Replaced(bytes, all, all + "!"));
}

TEST_F(SaveTest, NoBackupNameRefusesTheSave) {
  const struct {
    const char* name;
    const char* file;
  } rows[] = {{"no_dot", "MODULE"}, {"named_like_its_backup", "X.BAK"}};
  for (const auto& r : rows) {
    const std::string bytes = Lines({"Sub A()", "End Sub"});
    const std::string path = Write(r.file, bytes);
    Open(path);
    port.boxes.clear();
    Type(Lines({"Sub A()", "  Beep", "End Sub"}));
    ed.mnuFileSave_Click();
    ASSERT_EQ(port.boxes.size(), 1u) << r.name;
    EXPECT_EQ(port.boxes[0].text, "Can't make backup file!") << r.name;
    EXPECT_EQ(port.boxes[0].title, "File Error") << r.name;
    EXPECT_EQ(Read(path), bytes) << r.name;
    EXPECT_TRUE(ed.doc().changed) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
  }
}

TEST_F(SaveTest, BackupStaysInADottedFolder) {
  const std::string path = Write("V1.2/MAIN.BAS", Fixture("MAIN.BAS"));
  Open(path);
  EditAndSave("Last", Lines({"Function Last$(s)", "    Last = s & s", "End Function"}));
  EXPECT_TRUE(fs::exists(Path("V1.2/MAIN.BAK")));
  EXPECT_FALSE(fs::exists(Path("V1.BAK")));
}

TEST_F(SaveTest, SaveAsWritesTheNewNameWithoutBackup) {
  const std::string path = Write("MAIN.BAS", Fixture("MAIN.BAS"));
  port.dialog_paths.push_back(path);
  ed.mnuBasFiles_Click();
  const std::string original = Read(path);
  Select(IndexOf("Main"));
  Type(Lines({"Public Sub Main()", "End Sub"}));
  const std::string copy = Path("COPY.BAS");
  port.dialog_paths.push_back(copy);
  ed.mnuSaveAs_Click();
  EXPECT_EQ(port.dialog_filters.back(), "Program (*.bas)|*.bas");
  EXPECT_EQ(Read(path), original);
  EXPECT_FALSE(fs::exists(Path("MAIN.BAK")));
  EXPECT_FALSE(fs::exists(Path("COPY.BAK")));
  EXPECT_NE(Read(copy), original);
  EXPECT_EQ(ed.doc().file_name, copy);
  // Save now goes to the new name, with its backup.
  Type("' new declarations\r\n");
  ed.mnuFileSave_Click();
  EXPECT_TRUE(fs::exists(Path("COPY.BAK")));
  EXPECT_EQ(Read(path), original);
}

TEST_F(SaveTest, SaveAsCancelledOrEmptyPaneSavesNothing) {
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  ed.mnuSaveAs_Click();  // the dialog is cancelled
  Type("   ");
  ed.mnuFileSave_Click();  // blank pane
  EXPECT_EQ(Read(path), original);
  EXPECT_FALSE(fs::exists(Path("MAIN.BAK")));
  EXPECT_TRUE(port.boxes.empty());
  FakePort fresh;
  Editor nothing_open(fresh);
  fresh.pane = "text";
  nothing_open.mnuFileSave_Click();  // no file name
  EXPECT_TRUE(fresh.boxes.empty());
}

TEST_F(SaveTest, WholeTextSaveAddsOneLineEndAndNoBackup) {
  const struct {
    const char* name;
    std::string text;
    std::string want;
  } rows[] = {
      {"crlf_added", "a\r\nb", "a\r\nb\r\n"},
      {"already_ended", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"lf_style", "a\nb", "a\nb\n"},
  };
  for (const auto& r : rows) {
    const std::string path = Write("P.VBP", "old\r\n");
    Open(path, false);
    Type(r.text);
    ed.mnuFileSave_Click();
    EXPECT_EQ(Read(path), r.want) << r.name;
    EXPECT_FALSE(fs::exists(Path("P.BAK"))) << r.name;
    EXPECT_FALSE(ed.doc().changed) << r.name;
    EXPECT_EQ(port.caption, "QW: " + Upper(path)) << r.name;
  }
}

TEST_F(SaveTest, ASymbolicLinkStaysALink) {
  const std::string real = Write("real/MOD.BAS", Fixture("MAIN.BAS"));
  const std::string link = Path("LINK.BAS");
  fs::create_symlink(real, link);
  Open(link);
  EditAndSave("Last", Lines({"Function Last$(s)", "    Last = \"x\"", "End Function"}));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(real), Replaced(Fixture("MAIN.BAS"), "Last = s", "Last = \"x\""));
  EXPECT_EQ(Read(Path("LINK.BAK")), Fixture("MAIN.BAS"));
}

TEST_F(SaveTest, TheBackupKeepsTheOldBytesWhateverNamesTheFileHas) {
  for (const bool second_name : {false, true}) {
    const std::string path = Write("MAIN.BAS", Fixture("MAIN.BAS"));
    fs::remove(Path("OTHER.BAS"));
    if (second_name) fs::create_hard_link(path, Path("OTHER.BAS"));
    Open(path);
    EditAndSave("Last", Lines({"Function Last$(s)", "End Function"}));
    const std::string saved = Read(path);
    EditAndSave("Total",
                Lines({"Public Function Total(a As Long, b As Long) As Long", "End Function"}));
    EXPECT_EQ(Read(Path("MAIN.BAK")), saved) << second_name;
    EXPECT_NE(Read(path), saved) << second_name;
    if (second_name) {
      EXPECT_EQ(Read(Path("OTHER.BAS")), Fixture("MAIN.BAS"));
      EXPECT_FALSE(fs::equivalent(Path("OTHER.BAS"), Path("MAIN.BAK")));
    }
  }
}

TEST_F(SaveTest, PermissionBitsAreKept) {
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0755), fs::perms(0600)}) {
    const std::string path = Write("MAIN.BAS", Fixture("MAIN.BAS"));
    fs::permissions(path, mode);
    Open(path);
    EditAndSave("Last", Lines({"Function Last$(s)", "End Function"}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, mode);
    EXPECT_EQ(fs::status(Path("MAIN.BAK")).permissions() & fs::perms::mask, mode);
  }
}

// Makes a folder refuse new files, also to a superuser when the file system
// can; false when it cannot be done here.
bool LockFolder(const std::string& dir, bool lock) {
  if (geteuid() != 0) {
    fs::permissions(dir, lock ? fs::perms(0555) : fs::perms(0755));
    return true;
  }
  const std::string cmd =
      std::string("chattr ") + (lock ? "+i" : "-i") + " '" + dir + "' 2>/dev/null";
  return std::system(cmd.c_str()) == 0;
}

TEST_F(SaveTest, AReadOnlyFolderKeepsTheFileAndItsBackup) {
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  EditAndSave("Last", Lines({"Function Last$(s)", "End Function"}));
  const std::string first_save = Read(path);
  if (!LockFolder(dir, true)) GTEST_SKIP() << "cannot make a folder read-only here";
  port.boxes.clear();
  EditAndSave("Total", Lines({"Function Total()", "End Function"}));
  LockFolder(dir, false);
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"});
  EXPECT_EQ(Read(path), first_save);
  EXPECT_EQ(Read(Path("MAIN.BAK")), original);
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"MAIN.BAK", "MAIN.BAS"}));
  EXPECT_EQ(port.busy_depth, 0);
}

TEST_F(SaveTest, AReadOnlyFileIsNotReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "a superuser may write any file";
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  fs::permissions(path, fs::perms(0444));
  EditAndSave("Last", Lines({"Function Last$(s)", "End Function"}));
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"Quillwright Error"});
  EXPECT_EQ(Read(path), original);
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, fs::perms(0444));
}

TEST_F(SaveTest, AFailedWriteLeavesNothingBehind) {
  const std::string path = OpenFixture("MAIN.BAS");
  const std::string original = Read(path);
  Type(Lines({"Option Explicit"}));
  ed.SaveModule(Path("nowhere/NEW.BAS"));
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"Quillwright Error"});
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"MAIN.BAS"});
  EXPECT_EQ(ed.doc().file_name, path);
  EXPECT_TRUE(ed.doc().changed);
  EXPECT_EQ(port.busy_depth, 0);
}

TEST_F(SaveTest, SavingADeletedFileCannotMakeItsBackup) {
  const std::string path = OpenFixture("MAIN.BAS");
  fs::remove(path);
  Type(Lines({"Option Explicit"}));
  ed.mnuFileSave_Click();
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"});
  EXPECT_FALSE(fs::exists(path));
}

struct CloseRow {
  const char* name;
  bool changed;
  std::vector<Answer> answers;
  std::optional<std::string> dialog;  // nullopt: the Save As dialog is cancelled
  bool closes;
  bool saved;
};

TEST_F(SaveTest, ClosingQuestions) {
  const CloseRow rows[] = {
      {"unchanged_closes", false, {}, std::nullopt, true, false},
      {"cancel_stays", true, {Answer::kCancel}, std::nullopt, false, false},
      {"no_closes_unsaved", true, {Answer::kNo}, std::nullopt, true, false},
      {"yes_then_cancelled_dialog_stays", true, {Answer::kYes}, std::nullopt, false, false},
      {"yes_saves_and_closes", true, {Answer::kYes}, "SAVED.BAS", true, true},
  };
  for (bool close_command : {false, true}) {
    for (const CloseRow& r : rows) {
      const std::string path = OpenFixture("MAIN.BAS");
      fs::remove(Path("SAVED.BAS"));
      if (r.changed) Type("' changed\r\n");
      port.boxes.clear();
      port.answers.assign(r.answers.begin(), r.answers.end());
      port.dialog_paths.clear();
      port.dialog_paths.push_back(r.dialog ? std::optional<std::string>(Path(*r.dialog))
                                           : std::nullopt);
      const std::string what = close_command ? port.caption : path;
      const bool closes = close_command ? ed.mnuFileClose_Click() : ed.Form_QueryUnload();
      EXPECT_EQ(closes, r.closes) << r.name << close_command;
      EXPECT_EQ(fs::exists(Path("SAVED.BAS")), r.saved) << r.name << close_command;
      if (!r.changed) {
        EXPECT_TRUE(port.boxes.empty()) << r.name;
        continue;
      }
      ASSERT_FALSE(port.boxes.empty()) << r.name;
      EXPECT_EQ(port.boxes[0].text,
                "The text in [" + what + "] has changed.\r\nDo you want to save the changes?")
          << r.name << close_command;
      EXPECT_EQ(port.boxes[0].title, "Confirm Save");
      EXPECT_EQ(port.boxes[0].buttons, Buttons::kYesNoCancel);
      EXPECT_EQ(port.boxes[0].icon, Icon::kExclamation);
      if (!r.closes) {
        EXPECT_EQ(port.pane, "' changed\r\n") << r.name;
      }
    }
  }
}

TEST_F(SaveTest, FileNewChangesNothing) {
  OpenFixture("MAIN.BAS");
  const std::string pane = port.pane;
  const std::string caption = port.caption;
  ed.mnuFileNew_Click();
  EXPECT_EQ(port.pane, pane);
  EXPECT_EQ(port.caption, caption);
  EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace qw::testing
