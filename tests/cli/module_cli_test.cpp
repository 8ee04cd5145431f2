// qwtool list, show and replace, run as the real program.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class ModuleCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qwcliXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    for (const char* m : {"MAIN.BAS", "DIALOG.FRM", "REPORT.PRG"}) {
      fs::copy_file(std::string(QW_TEST_DATA) + "/modules/" + m, dir + "/" + m);
    }
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string P(const std::string& name) const { return dir + "/" + name; }

  // Runs qwtool with `args`, `input` on stdin.
  ToolRun Tool(const std::vector<std::string>& args, const std::string& input = "") {
    WriteFile(P(".in"), input);
    std::string cmd = Quote(QW_QWTOOL);
    for (const auto& a : args) cmd += " " + Quote(a);
    cmd += " <" + Quote(P(".in")) + " >" + Quote(P(".out")) + " 2>" + Quote(P(".err"));
    ToolRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(P(".out"));
    r.err = ReadFile(P(".err"));
    fs::remove(P(".in"));
    fs::remove(P(".out"));
    fs::remove(P(".err"));
    return r;
  }

  std::string dir;
};

TEST_F(ModuleCliTest, ListPrintsTheEntryStrings) {
  for (const bool classic : {false, true}) {
    std::vector<std::string> args = {"list", P("MAIN.BAS")};
    if (classic) args.insert(args.begin(), "--classic");
    const ToolRun r = Tool(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "(declarations)|0000001\nMain|0000168\nTotal|0000285\nForm_Load|0000371\n"
              "Last|0000427\n");
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(ModuleCliTest, ListAsJson) {
  const ToolRun r = Tool({"list", "--json", P("DIALOG.FRM")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "[\n {\"index\": 0, \"name\": \"(declarations)\", \"position\": 225},\n"
            " {\"index\": 1, \"name\": \"cmdOK_Click\", \"position\": 277},\n"
            " {\"index\": 2, \"name\": \"Form_Load\", \"position\": 330}\n]\n");
}

TEST_F(ModuleCliTest, UsageAndFailures) {
  fs::create_directory(P("FOLDER.BAS"));
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err_start;
  } rows[] = {
      {"list_without_file", {"list"}, 1, "qwtool: list takes one FILE"},
      {"list_unknown_option", {"list", "--bogus", P("MAIN.BAS")}, 1, "qwtool: unknown option"},
      {"list_missing_file",
       {"list", P("NONE.BAS")},
       2,
       "qwtool: File Error: Can't open file: " + P("NONE.BAS") + "\n"},
      {"list_folder",
       {"list", P("FOLDER.BAS")},
       2,
       "qwtool: File Error: Can't open file: " + P("FOLDER.BAS") + "\n"},
      {"show_unknown_entry", {"show", P("MAIN.BAS"), "Nope"}, 1, "qwtool: unknown entry Nope"},
      {"show_index_out_of_range", {"show", P("MAIN.BAS"), "#5"}, 1, "qwtool: unknown entry #5"},
      {"show_bad_index", {"show", P("MAIN.BAS"), "#x"}, 1, "qwtool: unknown entry #x"},
      {"show_missing_entry_operand", {"show", P("MAIN.BAS")}, 1, "qwtool: show takes"},
      {"replace_missing_text_file",
       {"replace", P("MAIN.BAS"), "Main", P("none.txt")},
       1,
       "qwtool: cannot read"},
      {"replace_to_without_name",
       {"replace", P("MAIN.BAS"), "Main", "--to"},
       1,
       "qwtool: missing value for --to"},
  };
  for (const auto& r : rows) {
    const ToolRun run = Tool(r.args);
    EXPECT_EQ(run.status, r.status) << r.name;
    EXPECT_EQ(run.err.substr(0, r.err_start.size()), r.err_start) << r.name;
    EXPECT_EQ(run.out, "") << r.name;
  }
}

TEST_F(ModuleCliTest, ShowWritesThePaneBytes) {
  const struct {
    const char* name;
    std::string entry;
    std::string want;
  } rows[] = {
      {"by_name", "Total",
       "Public Function Total(a As Long, b As Long) As Long\r\n    Total = a + b\r\nEnd "
       "Function\r\n"},
      {"by_index", "#4", "Function Last$(s)\r\n    Last = s\r\nEnd Function\r\n"},
      {"windows_1252_byte", "Form_Load",
       "Private Sub Form_Load()\r\n    Caption = \"caf\xe9\"\r\nEND SUB\r\n"},
  };
  for (const auto& r : rows) {
    const ToolRun run = Tool({"show", P("MAIN.BAS"), r.entry});
    EXPECT_EQ(run.status, 0) << r.name;
    EXPECT_EQ(run.out, r.want) << r.name;
    EXPECT_EQ(run.err, "") << r.name;
  }
}

TEST_F(ModuleCliTest, ShowReportsSizeLimits) {
  std::string big = "Dim a\r\nSub Big()\r\n";
  for (int i = 0; i < 305; ++i) big += std::string(98, 'x') + "\r\n";
  WriteFile(P("BIG.BAS"), big + "End Sub\r\n");
  ToolRun run = Tool({"show", P("BIG.BAS"), "Big"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "qwtool: Large File Warning: Procedure is over 30K Bytes,\\nany further increase in "
            "size\\nmay prohibit it's loading by\\nthis editor!\n");
  for (int i = 0; i < 20; ++i) big += std::string(98, 'x') + "\r\n";
  WriteFile(P("BIG.BAS"), big + "End Sub\r\n");
  run = Tool({"show", P("BIG.BAS"), "Big"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "qwtool: Procedure Too Large: Procedure too large, Please \\nbreak the Procedure "
            "into\\ntwo smaller procedures!\n");
}

TEST_F(ModuleCliTest, ReplaceSavesOverTheFileWithItsBackup) {
  const std::string original = ReadFile(P("MAIN.BAS"));
  const ToolRun run = Tool({"replace", P("MAIN.BAS"), "Last"},
                           "Function Last$(s)\n    Last = UCase$(s)\nEnd Function\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  std::string want = original;
  want.replace(want.find("Last = s"), 8, "Last = UCase$(s)");
  EXPECT_EQ(ReadFile(P("MAIN.BAS")), want);
  EXPECT_EQ(ReadFile(P("MAIN.BAK")), original);
}

TEST_F(ModuleCliTest, ReplaceOfAnUnchangedEntryKeepsTheFile) {
  const std::string original = ReadFile(P("REPORT.PRG"));
  for (const char* entry : {"#0", "Main", "Calc", "Hidden", "Init"}) {
    const ToolRun shown = Tool({"show", P("REPORT.PRG"), entry});
    WriteFile(P("entry.txt"), shown.out);
    const ToolRun run = Tool({"replace", P("REPORT.PRG"), entry, P("entry.txt")});
    EXPECT_EQ(run.status, 0) << entry;
    EXPECT_EQ(ReadFile(P("REPORT.PRG")), original) << entry;
  }
}

TEST_F(ModuleCliTest, ReplaceToANewFile) {
  const std::string original = ReadFile(P("MAIN.BAS"));
  const ToolRun run = Tool({"replace", P("MAIN.BAS"), "Main", "-", "--to", P("NEW.BAS")},
                           "Public Sub Main()\r\nEnd Sub\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadFile(P("MAIN.BAS")), original);
  EXPECT_FALSE(fs::exists(P("MAIN.BAK")));
  EXPECT_FALSE(fs::exists(P("NEW.BAK")));
  const ToolRun listed = Tool({"list", P("NEW.BAS")});
  EXPECT_EQ(listed.out.substr(0, 36), "(declarations)|0000001\nMain|0000168\n");
}

TEST_F(ModuleCliTest, ReplaceRefusalsAndNotices) {
  WriteFile(P("NODOT"), "Sub A()\r\nEnd Sub\r\n");
  const std::string main_bas = ReadFile(P("MAIN.BAS"));
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string err;
  } rows[] = {
      {"empty_text",
       {"replace", P("MAIN.BAS"), "Main"},
       "  \n",
       2,
       "qwtool: the new text is empty: nothing was saved\n"},
      {"no_backup_name",
       {"replace", P("NODOT"), "A"},
       "Sub A()\nBeep\nEnd Sub\n",
       2,
       "qwtool: File Error: Can't make backup file!\n"},
      {"edited_header_added_at_end",
       {"replace", P("MAIN.BAS"), "Main"},
       "Sub Renamed()\nEnd Sub\n",
       0,
       "qwtool: QWEdit: eof\n"},
  };
  for (const auto& r : rows) {
    const ToolRun run = Tool(r.args, r.input);
    EXPECT_EQ(run.status, r.status) << r.name;
    EXPECT_EQ(run.err, r.err) << r.name;
  }
  EXPECT_EQ(ReadFile(P("NODOT")), "Sub A()\r\nEnd Sub\r\n");
  EXPECT_EQ(ReadFile(P("MAIN.BAS")), main_bas + "Sub Renamed()\r\nEnd Sub\r\n");
}

}  // namespace
