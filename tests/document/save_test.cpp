// Saving: the splice of one entry into its file, the backup, the safety of
// the user's files, whole-text saves and the questions asked before closing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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
  std::string OpenFixture(const std::string& name) {
    const std::string path = Write(name, Fixture(name));
    Open(path);
    return path;
  }
  // Shows entry `name`, replaces its text as the user would, and saves.
  void EditAndSave(const std::string& name, const std::string& text) {
    const int index = IndexOf(name);
    ASSERT_GE(index, 0) << name;
    if (static_cast<size_t>(index) != ed.doc().current_entry_index()) Select(index);
    Type(Crlf(text));
    ed.Save();
  }
};

// `s` with its first `from` replaced by `to`.
std::string Replaced(std::string s, const std::string& from, const std::string& to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? s : s.replace(at, from.size(), to);
}

TEST_F(SaveTest, AnEditedEntryReplacesOnlyItsOwnText) {
  const std::string main = Fixture("MAIN.BAS"), report = Fixture("REPORT.PRG");
  const std::string dialog = Fixture("DIALOG.FRM"), unix = Fixture("UNIX.BAS");
  const std::string draw = Crlf(
      "' calls Sub Draw(x) below\nSub DrawAll()\n  Draw 1\nEnd Sub\nSub Draw(x)\n  Circle x\nEnd "
      "Sub\n");
  const std::string caps = Crlf("Sub A()\n  x = 1\nEND SUB\n' about B\nDim z\nSub B()\nEnd Sub\n");
  const std::string spaced =
      Crlf("Sub A()\n  x = 1\nEnd  Sub\n' keep me\nDim keep2 As Integer\nSub B()\nEnd Sub\n");
  const std::string unended = Crlf("* tools\nPROCEDURE A\n  x := 1\n") + "\x1a";
  const std::string bytes =
      Crlf("Dim a\nSub A()\n" + AllBytes() + "\nEnd Sub\nSub B()\n" + AllBytes() + "\nEnd Sub\n");
  // The form's description block stays as it was, indentation included.
  const std::string form_declared =
      Replaced(dialog, "Attribute VB_Name = \"frmDialog\"\r\nOption Explicit\r\n\r\n",
               "Option Explicit\r\nDim n As Integer\r\n");
  const struct {
    const char* name;
    const char* file;
    std::string module;
    const char* entry;
    std::string text;  // typed, LF for CR LF
    std::string want;
    const char* box = "";
  } rows[] = {
      {"function", "MAIN.BAS", main, "Total",
       "Public Function Total(a As Long, b As Long) As Long\n    Total = a * b\nEnd Function\n",
       Replaced(main, "Total = a + b", "Total = a * b")},
      {"edited_header_adds_the_entry_at_the_end", "MAIN.BAS", main, "Total",
       "Public Function Sum(a As Long) As Long\nEnd Function\n",
       main + Crlf("Public Function Sum(a As Long) As Long\nEnd Function\n"), "QWEdit: eof"},
      {"header_is_the_line_at_the_indexed_position", "DRAW.BAS", draw, "Draw",
       "Sub Draw(x)\n  Line x\nEnd Sub\n", Replaced(draw, "  Circle x", "  Line x")},
      {"xbase_header_without_parameters", "REPORT.PRG", report, "Init",
       "PROCEDURE Init\n   nInit := 1\n   RETURN\n", Replaced(report, "nInit := 0", "nInit := 1")},
      {"end_sub_in_capitals_ends_the_old_text", "CAPS.BAS", caps, "A",
       "Sub A()\n  x = 2\nEND SUB\n", Replaced(caps, "x = 1", "x = 2")},
      {"end_with_two_blanks_keeps_the_lines_after_it", "SPACED.BAS", spaced, "A",
       "Sub A()\n  x = 2\nEnd  Sub\n", Replaced(spaced, "x = 1", "x = 2")},
      {"entry_up_to_an_unended_last_line_keeps_it_unended", "EOF.PRG", unended, "A",
       "PROCEDURE A\n  x := 2\n\x1a\n", Replaced(unended, "x := 1", "x := 2")},
      {"form_declarations", "DIALOG.FRM", dialog, "(declarations)",
       "Option Explicit\nDim n As Integer\n", form_declared},
      {"form_declarations_lower_case_name", "dialog.frm", dialog, "(declarations)",
       "Option Explicit\nDim n As Integer\n", form_declared},
      {"form_in_a_folder_named_like_a_module", "visual.bas/DIALOG.FRM", dialog, "(declarations)",
       "Option Explicit\nDim n As Integer\n", form_declared},
      {"module_in_a_folder_named_like_a_form", "x.frm.d/MAIN.BAS", main, "(declarations)",
       "Option Explicit\n", Crlf("Option Explicit\n") + main.substr(main.find("Public Sub Main"))},
      {"form_procedure_keeps_the_block", "DIALOG.FRM", dialog, "Form_Load",
       "Private Sub Form_Load()\n    Me.Caption = \"Ho\"\nEnd Sub\n",
       Replaced(dialog, "\"Hi\"", "\"Ho\"")},
      {"declarations_before_a_first_procedure", "FIRSTPROC.PRG", Fixture("FIRSTPROC.PRG"),
       "(declarations)", "* added\n", Crlf("* added\n") + Fixture("FIRSTPROC.PRG")},
      {"lf_file_gets_lf_lines", "UNIX.BAS", unix, "A", "Sub A()\n    x = 3\nEnd Sub\n",
       Replaced(unix, "x = 1", "x = 3")},
      {"every_byte_value", "BYTES.BAS", bytes, "A", "Sub A()\n" + AllBytes() + "!\nEnd Sub\n",
       Replaced(bytes, AllBytes(), AllBytes() + "!")},
      {"backup_stays_in_a_dotted_folder", "V1.2/MAIN.BAS", main, "Last",
       "Function Last$(s)\n    Last = s & s\nEnd Function\n",
       Replaced(main, "Last = s", "Last = s & s")},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string path = Write(r.file, r.module);
    const std::string file = r.file;
    const std::string backup = file.substr(0, file.find('.', file.rfind('/') + 1)) + ".BAK";
    Open(path);
    port.boxes.clear();
    EditAndSave(r.entry, r.text);
    EXPECT_EQ(Read(path), r.want) << r.name;
    EXPECT_EQ(Read(Path(backup)), r.module) << r.name;
    EXPECT_EQ(FilesInDir(), (std::vector<std::string>{backup, file})) << r.name;
    EXPECT_EQ(Boxes(), std::vector<std::string>(*r.box ? 1 : 0, r.box)) << r.name;
    // The list is rebuilt from the file just written, and entry 0 is shown.
    EXPECT_EQ(ed.doc().current_entry_name(), "(declarations)") << r.name;
    EXPECT_EQ(port.Caption(), "QW: (declarations) of " + Upper(path)) << r.name;
    EXPECT_FALSE(ed.doc().changed()) << r.name;
    const std::vector<std::string> listed = Listed(), items = port.items();
    Open(path);
    EXPECT_EQ(Listed(), listed) << r.name;
    EXPECT_EQ(port.items(), items) << r.name;
  }
}

TEST_F(SaveTest, SaveAsWritesTheNewNameWithoutBackup) {
  const std::string path = Write("MAIN.BAS", Fixture("MAIN.BAS"));
  const std::string copy = Path("COPY.BAS");
  port.dialog_paths = {path, std::nullopt, copy};
  ed.Open(FileKind::kBas, OpenMode::kIndexed);
  const std::string pane = port.PaneText(), caption = port.Caption();
  ed.New();
  ed.SaveAs();  // the dialog is cancelled
  EXPECT_EQ(port.PaneText(), pane);
  EXPECT_EQ(port.Caption(), caption);
  Type("   ");
  ed.Save();  // a blank pane is not saved
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"MAIN.BAS"});
  EXPECT_TRUE(port.boxes.empty());
  Select(IndexOf("Main"));
  Type(Crlf("Public Sub Main()\nEnd Sub\n"));
  ed.SaveAs();
  EXPECT_EQ(port.dialog_filters.back(), "Program (*.bas)|*.bas");
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"COPY.BAS", "MAIN.BAS"}));
  EXPECT_EQ(Read(path), Fixture("MAIN.BAS"));
  EXPECT_NE(Read(copy), Fixture("MAIN.BAS"));
  EXPECT_EQ(ed.doc().file_name(), copy);
  Type("' new declarations\r\n");
  ed.Save();  // now to the new name, with its backup
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"COPY.BAK", "COPY.BAS", "MAIN.BAS"}));
  EXPECT_EQ(Read(path), Fixture("MAIN.BAS"));
  FakePort fresh;
  Editor nothing_open(fresh);
  fresh.SetPaneText("text");
  nothing_open.Save();  // no file name: nothing to do
  EXPECT_TRUE(fresh.boxes.empty());
}

TEST_F(SaveTest, WholeTextSaveAddsOneLineEndInItsStyleAndNoBackup) {
  const std::string path = Write("P.VBP", "old\r\n");
  Open(path, false);
  Type("a\nb");
  ed.Save();
  EXPECT_EQ(Read(path), "a\nb\n");
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"P.VBP"});
  EXPECT_FALSE(ed.doc().changed());
  EXPECT_EQ(port.Caption(), "QW: " + Upper(path));
}

TEST_F(SaveTest, LinksPermissionBitsAndOtherNamesAreKept) {
  const std::string real = Write("real/MOD.BAS", Fixture("MAIN.BAS"));
  fs::create_symlink(real, Path("LINK.BAS"));
  Open(Path("LINK.BAS"));
  EditAndSave("Last", "Function Last$(s)\n    Last = \"x\"\nEnd Function\n");
  EXPECT_TRUE(fs::is_symlink(Path("LINK.BAS")));
  EXPECT_EQ(Read(real), Replaced(Fixture("MAIN.BAS"), "Last = s", "Last = \"x\""));
  EXPECT_EQ(Read(Path("LINK.BAK")), Fixture("MAIN.BAS"));
  for (const fs::perms mode : {fs::perms(0640), fs::perms(0755), fs::perms(0600)}) {
    const bool second_name = mode == fs::perms(0755);  // a hard link
    const std::string path = Write("MAIN.BAS", Fixture("MAIN.BAS"));
    fs::remove(Path("OTHER.BAS"));
    if (second_name) fs::create_hard_link(path, Path("OTHER.BAS"));
    fs::permissions(path, mode);
    Open(path);
    EditAndSave("Last", "Function Last$(s)\nEnd Function\n");
    const std::string saved = Read(path);
    EditAndSave("Total", "Public Function Total(a As Long, b As Long) As Long\nEnd Function\n");
    EXPECT_EQ(Read(Path("MAIN.BAK")), saved) << second_name;  // the old bytes, not the first
    EXPECT_NE(Read(path), saved) << second_name;
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::mask, mode);
    EXPECT_EQ(fs::status(Path("MAIN.BAK")).permissions() & fs::perms::mask, mode);
    if (second_name) {
      EXPECT_EQ(Read(Path("OTHER.BAS")), Fixture("MAIN.BAS"));
      EXPECT_FALSE(fs::equivalent(Path("OTHER.BAS"), Path("MAIN.BAK")));
    }
  }
}

// Sets or clears the immutable flag of a file; false when it cannot be done here.
bool ChangeImmutable(const std::string& path, bool on) {
  const std::string cmd =
      std::string("chattr ") + (on ? "+i" : "-i") + " '" + path + "' 2>/dev/null";
  return std::system(cmd.c_str()) == 0;
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
  EditAndSave("Last", "Function Last$(s)\nEnd Function\n");
  const std::string first_save = Read(path);
  if (!LockFolder(dir, true)) GTEST_SKIP() << "cannot make a folder read-only here";
  port.boxes.clear();
  EditAndSave("Total", "Function Total()\nEnd Function\n");
  LockFolder(dir, false);
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"});
  EXPECT_EQ(Read(path), first_save);
  EXPECT_EQ(Read(Path("MAIN.BAK")), Fixture("MAIN.BAS"));
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"MAIN.BAK", "MAIN.BAS"}));
  EXPECT_EQ(port.busy_depth, 0);
}

TEST_F(SaveTest, ARefusedSaveKeepsTheFile) {
  const std::string path = Path("MAIN.BAS");
  bool immutable = false, skipped = false;
  const struct {
    const char* name;
    const char* file;
    std::function<void()> spoil;
    const char* box;           // "title: text", or the title alone
    const char* files;         // in the folder after, blank-separated; nullptr: not checked
    const char* save_to = "";  // "" for File Save
  } rows[] = {
      {"no_backup_name", "MODULE", [] {}, "File Error: Can't make backup file!", "MODULE"},
      {"named_like_its_backup", "X.BAK", [] {}, "File Error: Can't make backup file!", "X.BAK"},
      {"missing_folder", "MAIN.BAS", [] {}, "Quillwright Error", "MAIN.BAS", "nowhere/NEW.BAS"},
      {"deleted_file", "MAIN.BAS", [&] { fs::remove(path); }, "File Error", ""},
      {"read_only_file", "MAIN.BAS",
       [&] {
         fs::permissions(path, fs::perms(0444));
         // A superuser writes a read-only file: an immutable one holds for
         // him too, where the file system allows it.
         if (geteuid() == 0) immutable = ChangeImmutable(path, true);
       },
       "Quillwright Error", nullptr},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string file = Write(r.file, Fixture("MAIN.BAS"));
    Open(file);
    port.boxes.clear();
    Type(Crlf("Option Explicit\n"));
    r.spoil();
    if (r.name == std::string("read_only_file") && geteuid() == 0 && !immutable) {
      skipped = true;
      continue;
    }
    const fs::perms mode = fs::status(file).permissions();
    *r.save_to ? ed.SaveTo(Path(r.save_to)) : ed.Save();
    if (immutable) ChangeImmutable(path, false);
    ASSERT_EQ(port.boxes.size(), 1u) << r.name;
    const std::string shown = Boxes()[0];
    EXPECT_TRUE(shown == r.box || shown.rfind(std::string(r.box) + ": ", 0) == 0) << shown;
    std::string files;
    for (const std::string& f : FilesInDir()) files += (files.empty() ? "" : " ") + f;
    if (r.files) {
      EXPECT_EQ(files, r.files) << r.name;
    }
    EXPECT_EQ(Read(file), r.files && !*r.files ? "" : Fixture("MAIN.BAS")) << r.name;
    EXPECT_EQ(fs::status(file).permissions(), mode) << r.name;
    EXPECT_EQ(ed.doc().file_name(), file) << r.name;
    EXPECT_TRUE(ed.doc().changed()) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
  }
  if (skipped) GTEST_SKIP() << "read_only_file: a superuser cannot be refused a write here";
}

}  // namespace
}  // namespace qw::testing
