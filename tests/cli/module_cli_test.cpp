// qwtool list, show and replace run as the real program: arguments, exit
// statuses, message lines on stderr and the bytes on stdout; Property and
// Friend procedures listed on request; the entries of many modules at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "document/doc_fixture.h"
#include "support/run_tool.h"

namespace qw::testing {
namespace {

class ModuleCliTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    for (const char* m : {"MAIN.BAS", "DIALOG.FRM", "REPORT.PRG"}) Write(m, Fixture(m));
  }
  // Writes a module whose entry Big has `lines` lines of 100 bytes; its text.
  std::string Big(const std::string& name, int lines) {
    std::string text = "Sub Big()\r\n";
    for (int i = 0; i < lines; ++i) text += std::string(98, 'x') + "\r\n";
    Write(name, "Dim a\r\n" + text + "End Sub\r\n");
    return text + "End Sub\r\n";
  }
};

TEST_F(ModuleCliTest, ArgumentsStatusesAndOutput) {
  const std::string big = Big("BIG.BAS", 305);
  Big("HUGE.BAS", 325);
  Write("NODOT", "Sub A()\r\nEnd Sub\r\n");
  const std::string listing =
      "(declarations)|0000001\nMain|0000168\nTotal|0000285\nForm_Load|0000371\nLast|0000427\n";
  const struct {
    const char* name;
    const char* args;  // split at blanks; "@" before a name stands for the folder
    int status;
    std::string out;
    std::string err;  // for status 1, the line before the usage text
    std::string input = "";
  } rows[] = {
      {"list", "list @MAIN.BAS", 0, listing, ""},
      {"list_classic", "--classic list @MAIN.BAS", 0, listing, ""},
      {"list_json", "list --json @DIALOG.FRM", 0,
       "[\n {\"index\": 0, \"name\": \"(declarations)\", \"position\": 225},\n"
       " {\"index\": 1, \"name\": \"cmdOK_Click\", \"position\": 277},\n"
       " {\"index\": 2, \"name\": \"Form_Load\", \"position\": 330}\n]\n",
       ""},
      {"list_without_file", "list", 1, "", "qwtool: list takes one FILE"},
      {"list_unknown_option", "list --bogus @MAIN.BAS", 1, "", "qwtool: unknown option --bogus"},
      {"list_missing_file", "list @NONE.BAS", 2, "",
       "qwtool: File Error: Can't open file: " + Path("NONE.BAS") + "\n"},
      {"show_by_name_a_windows_1252_byte", "show @MAIN.BAS Form_Load", 0,
       "Private Sub Form_Load()\r\n    Caption = \"caf\xe9\"\r\nEND SUB\r\n", ""},
      {"show_by_index", "show @MAIN.BAS #4", 0,
       "Function Last$(s)\r\n    Last = s\r\nEnd Function\r\n", ""},
      {"show_unknown_entry", "show @MAIN.BAS Nope", 1, "", "qwtool: unknown entry Nope"},
      {"show_index_out_of_range", "show @MAIN.BAS #5", 1, "", "qwtool: unknown entry #5"},
      {"show_bad_index", "show @MAIN.BAS #x", 1, "", "qwtool: unknown entry #x"},
      {"show_missing_entry_operand", "show @MAIN.BAS", 1, "", "qwtool: show takes FILE and ENTRY"},
      {"show_large_entry_warns", "show @BIG.BAS Big", 0, big,
       "qwtool: Large File Warning: Procedure is over 30K Bytes,\\nany further increase in "
       "size\\nmay prohibit it's loading by\\nthis editor!\n"},
      {"show_too_large_entry_fails", "show @HUGE.BAS Big", 2, "",
       "qwtool: Procedure Too Large: Procedure too large, Please \\nbreak the Procedure "
       "into\\ntwo smaller procedures!\n"},
      {"find_ignores_case", "find @MAIN.BAS dim", 0,
       "(declarations)|5|Dim mCount As Integer\nMain|2|    Dim x As Long\n", ""},
      {"find_matching_case", "find --match-case @MAIN.BAS dim", 0, "", ""},
      {"find_skips_the_form_description", "find @DIALOG.FRM caption", 0,
       "Form_Load|2|    Me.Caption = \"Hi\"\n", ""},
      {"find_without_text", "find @MAIN.BAS", 1, "", "qwtool: find takes FILE and TEXT"},
      {"replace_missing_text_file", "replace @MAIN.BAS Main @none.txt", 2, "",
       "qwtool: cannot read " + Path("none.txt") + ": No such file or directory\n"},
      {"replace_to_without_name", "replace @MAIN.BAS Main --to", 1, "",
       "qwtool: missing value for --to"},
      {"replace_empty_text", "replace @MAIN.BAS Main", 2, "",
       "qwtool: the new text is empty: nothing was saved\n", "  \n"},
      {"replace_without_backup_name", "replace @NODOT A", 2, "",
       "qwtool: File Error: Can't make backup file!\n", "Sub A()\nBeep\nEnd Sub\n"},
  };
  ExpectToolRuns(rows, dir);
  // Nothing was saved.
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"BIG.BAS", "DIALOG.FRM", "HUGE.BAS", "MAIN.BAS",
                                                    "NODOT", "REPORT.PRG"}));
  EXPECT_EQ(Read(Path("MAIN.BAS")), Fixture("MAIN.BAS"));
  EXPECT_EQ(Read(Path("NODOT")), "Sub A()\r\nEnd Sub\r\n");
}

TEST_F(ModuleCliTest, ReplaceSavesTheEntryFromStdinOrAFile) {
  const std::string main = Fixture("MAIN.BAS");
  // --to writes a new file, without backups, and leaves the module alone.
  ToolResult run = RunTool({"replace", Path("MAIN.BAS"), "Main", "-", "--to", Path("NEW.BAS")},
                           "Public Sub Main()\r\nEnd Sub\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(FilesInDir(),
            (std::vector<std::string>{"DIALOG.FRM", "MAIN.BAS", "NEW.BAS", "REPORT.PRG"}));
  EXPECT_EQ(Read(Path("MAIN.BAS")), main);
  EXPECT_EQ(RunTool({"list", Path("NEW.BAS")}).out.substr(0, 36),
            "(declarations)|0000001\nMain|0000168\n");
  // LF lines from stdin are saved as CR LF lines; the old module is the backup.
  run = RunTool({"replace", Path("MAIN.BAS"), "Last"},
                "Function Last$(s)\n    Last = UCase$(s)\nEnd Function\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out + run.err, "");
  std::string want = main;
  EXPECT_EQ(Read(Path("MAIN.BAS")), want.replace(want.find("Last = s"), 8, "Last = UCase$(s)"));
  EXPECT_EQ(Read(Path("MAIN.BAK")), main);
  // An edited header adds the entry at the end, with a notice.
  run = RunTool({"replace", Path("MAIN.BAS"), "Main"}, "Sub Renamed()\nEnd Sub\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "qwtool: QWEdit: eof\n");
  EXPECT_EQ(Read(Path("MAIN.BAS")), want + "Sub Renamed()\r\nEnd Sub\r\n");
  // What show prints, replace takes back unchanged.
  for (const char* entry : {"#0", "Main", "Calc", "Hidden", "Init"}) {
    Write("entry.txt", RunTool({"show", Path("REPORT.PRG"), entry}).out);
    EXPECT_EQ(RunTool({"replace", Path("REPORT.PRG"), entry, Path("entry.txt")}).status, 0)
        << entry;
    EXPECT_EQ(Read(Path("REPORT.PRG")), Fixture("REPORT.PRG")) << entry;
  }
}

TEST_F(ModuleCliTest, AllProceduresListsShowsAndSavesPropertyAndFriendEntries) {
  Write("SHAPES.CLS", Fixture("SHAPES.CLS"));
  const std::string classic = "(declarations)|0000001\nClear|0000981\nClass_Initialize|0001045\n";
  const struct {
    const char* name;
    const char* args;
    int status;
    std::string out;
    std::string err;
    std::string input = "";
  } rows[] = {
      {"off_by_default", "list @SHAPES.CLS", 0, classic, ""},
      {"on", "--all-procedures list @SHAPES.CLS", 0,
       "(declarations)|0000001\nName [Get]|0000311\nName [Let]|0000383\nFont [Set]|0000488\n"
       "Font [Get]|0000560\nCount [Get]|0000630\nAttach|0000738\nOwner|0000805\n"
       "Item [Get]|0000889\n" +
           classic.substr(23),
       ""},
      {"show_a_friend_procedure", "--all-procedures show @SHAPES.CLS Owner", 0,
       "Private Friend Function Owner() As Object\r\n    Set Owner = Nothing\r\nEnd Function\r\n",
       ""},
      {"no_such_entry_when_off", "show @SHAPES.CLS Owner", 1, "", "qwtool: unknown entry Owner"},
  };
  ExpectToolRuns(rows, dir);
  // An entry named with a blank and brackets, shown and saved.
  const ToolResult shown = RunTool({"--all-procedures", "show", Path("SHAPES.CLS"), "Font [Set]"});
  EXPECT_EQ(shown.out,
            "Property Set Font(ByVal f As StdFont)\r\n    Set mFont = f\r\nEnd Property\r\n");
  const ToolResult saved =
      RunTool({"--all-procedures", "replace", Path("SHAPES.CLS"), "Font [Set]"},
              "Property Set Font(ByVal f As StdFont)\n    Set mFont = Nothing\n"
              "End Property\n");
  EXPECT_EQ(saved.status, 0) << saved.err;
  std::string want = Fixture("SHAPES.CLS");
  want.replace(want.find("Set mFont = f"), 13, "Set mFont = Nothing");
  EXPECT_EQ(Read(Path("SHAPES.CLS")), want);
}

// Several modules, and folders walked with -r: files in path order, each line
// prefixed by its path, files that cannot be read told one line each on
// stderr among the others, and status 2 at the end.
TEST_F(ModuleCliTest, ListOfManyFilesInPathOrderWithTheUnreadableOnesTold) {
  namespace fs = std::filesystem;
  Write("tree/b/Z.Cls", "Sub Z()\r\nEnd Sub\r\n");
  Write("tree/a/y.bas", "Sub Y()\r\nEnd Sub\r\n");
  Write("tree/a/notes.txt", "Sub N()\r\n");
  ASSERT_EQ(mkfifo(Path("tree/a/pipe.frm").c_str(), 0600), 0);  // no regular file: refused
  fs::create_symlink(Path("MAIN.BAS"), Path("tree/a/link.bas"));
  fs::create_directory_symlink(Path("tree/a"), Path("tree/b/loop"));
  const std::string t = Path("tree");
  const ToolResult all = RunTool({"list", "-r", t, Path("NONE.BAS")});
  EXPECT_EQ(all.out, t + "/a/y.bas|(declarations)|0000001\n" + t + "/a/y.bas|Y|0000001\n" + t +
                         "/b/Z.Cls|(declarations)|0000001\n" + t + "/b/Z.Cls|Z|0000001\n");
  EXPECT_EQ(all.err, "qwtool: File Error: Can't open file: " + Path("NONE.BAS") + "\n" +
                         "qwtool: File Error: Can't open file: " + t + "/a/pipe.frm\n");
  EXPECT_EQ(all.status, 2);
  // Named files: in path order whatever the order given; JSON one object a line.
  const ToolResult json = RunTool({"list", "--json", Path("MAIN.BAS"), t + "/a/y.bas"});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out.substr(0, json.out.find('\n') + 1),
            "{\"path\": \"" + Path("MAIN.BAS") +
                "\", \"index\": 0, \"name\": \"(declarations)\", \"position\": 1}\n");
  EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 7);
  // find shares the walk and the order; each hit line after its path.
  const ToolResult found = RunTool({"find", "-r", t, Path("NONE.BAS"), "sub"});
  EXPECT_EQ(found.out, t + "/a/y.bas|Y|1|Sub Y()\n" + t + "/a/y.bas|Y|2|End Sub\n" + t +
                           "/b/Z.Cls|Z|1|Sub Z()\n" + t + "/b/Z.Cls|Z|2|End Sub\n");
  EXPECT_EQ(found.err.rfind("qwtool: cannot read " + Path("NONE.BAS") + ": File not found", 0), 0u)
      << found.err;
  EXPECT_EQ(std::count(found.err.begin(), found.err.end(), '\n'), 2);
  EXPECT_EQ(found.status, 2);
  // A folder without -r is a file that cannot be opened.
  const ToolResult folder = RunTool({"list", t, t + "/a/y.bas"});
  EXPECT_EQ(folder.err, "qwtool: File Error: Can't open file: " + t + "\n");
  EXPECT_EQ(folder.out, t + "/a/y.bas|(declarations)|0000001\n" + t + "/a/y.bas|Y|0000001\n");
  EXPECT_EQ(folder.status, 2);
}

}  // namespace
}  // namespace qw::testing
