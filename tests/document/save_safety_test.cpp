// A save nobody can turn against the user: links planted at the backup's
// name, temporaries of killed runs, a module changed on disk since it was
// indexed, texts without a final line end, and a text too large to be shown.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/module_file.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;

using SaveSafetyTest = DocTest;

const std::string kModule = Crlf("Dim a\nSub A()\n  x = 1\nEnd Sub\nSub B()\n  y = 1\nEnd Sub\n");
const std::string kSavedA = Crlf("Dim a\nSub A()\n  x = 2\nEnd Sub\nSub B()\n  y = 1\nEnd Sub\n");

TEST_F(SaveSafetyTest, ALinkAtTheBackupNameIsReplacedNeverFollowed) {
  const struct {
    const char* name;
    bool symbolic;
    bool second_name_of_module;  // the module has another hard link
  } rows[] = {{"symbolic", true, false},
              {"symbolic_module_with_two_names", true, true},
              {"hard", false, false},
              {"hard_module_with_two_names", false, true}};
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string victim = Write("victim/secret.txt", "secret\n");
    const std::string path = Write("m/M.BAS", kModule);
    if (r.second_name_of_module) fs::create_hard_link(path, Path("m/other"));
    if (r.symbolic) {
      fs::create_symlink("../victim/secret.txt", Path("m/M.BAK"));
    } else {
      fs::create_hard_link(victim, Path("m/M.BAK"));
    }
    Open(path);
    Select(IndexOf("A"));
    Type(Crlf("Sub A()\n  x = 2\nEnd Sub\n"));
    ed.Save();
    EXPECT_EQ(Read(victim), "secret\n") << r.name;
    EXPECT_EQ(Read(path), kSavedA) << r.name;
    EXPECT_FALSE(fs::is_symlink(Path("m/M.BAK"))) << r.name;
    EXPECT_EQ(Read(Path("m/M.BAK")), kModule) << r.name;
    EXPECT_FALSE(fs::equivalent(victim, Path("m/M.BAK"))) << r.name;
    EXPECT_TRUE(port.boxes.empty()) << r.name;
  }
}

TEST_F(SaveSafetyTest, TemporariesOfRunsThatEndedAreRemovedOthersKept) {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);  // a process that is no longer running
  const std::string dead = std::to_string(child), live = std::to_string(getppid());
  const std::string path = Write("M.BAS", kModule);
  const std::vector<std::string> stale = {".M.BAS.qw" + dead + ".abc123", ".M.BAK.qw" + dead + ".x",
                                          "M.BAK.qw" + dead};
  const std::vector<std::string> kept = {".M.BAS.qw" + live + ".abc123", ".N.BAS.qw" + dead + ".a",
                                         ".M.BAS.qwabc"};
  for (const std::string& n : stale) Write(n, "partial");
  for (const std::string& n : kept) Write(n, "partial");
  Open(path);
  Select(IndexOf("A"));
  Type(Crlf("Sub A()\n  x = 2\nEnd Sub\n"));
  ed.Save();
  std::vector<std::string> want = kept;
  want.insert(want.end(), {"M.BAK", "M.BAS"});
  std::sort(want.begin(), want.end());
  EXPECT_EQ(FilesInDir(), want);
  EXPECT_EQ(Read(path), kSavedA);
}

TEST_F(SaveSafetyTest, AModuleChangedOnDiskIsNotSplicedAndThePaneIsKept) {
  const std::string other = Crlf("' another program\nDim a\nSub A()\n  x = 9\nEnd Sub\n");
  const struct {
    const char* name;
    std::function<void(const std::string&)> change;
  } rows[] = {
      {"written_in_place", [&](const std::string&) { Write("M.BAS", other); }},
      {"replaced_by_rename", [&](const std::string& p) { fs::rename(Write("NEW.BAS", other), p); }},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string path = Write("M.BAS", kModule);
    Open(path);
    Select(IndexOf("A"));
    const std::string typed = Crlf("Sub A()\n  x = 2\nEnd Sub\n");
    Type(typed);
    r.change(path);
    const std::string on_disk = Read(path);
    port.boxes.clear();
    ed.Save();
    EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"}) << r.name;
    EXPECT_EQ(Read(path), on_disk) << r.name;
    EXPECT_FALSE(fs::exists(Path("M.BAK"))) << r.name;
    EXPECT_EQ(port.PaneText(), typed) << r.name;
    EXPECT_TRUE(ed.doc().changed()) << r.name;
    EXPECT_EQ(ed.doc().current_entry_name(), "A") << r.name;
    ed.Save();  // over the entry as it now stands
    EXPECT_EQ(Read(path), Crlf("' another program\nDim a\n") + typed) << r.name;
    EXPECT_EQ(Read(Path("M.BAK")), other) << r.name;
  }
}

TEST_F(SaveSafetyTest, AChangeOnDiskNoticedByTheWindowAsksBeforeListingAgain) {
  const std::string grown = kModule + Crlf("Sub C()\nEnd Sub\n");
  const struct {
    const char* name;
    bool whole_text;
    bool change;
    bool edit;  // the pane holds an unsaved edit of A
    Answer answer;
    size_t boxes;
    size_t listed;
  } rows[] = {
      {"unchanged", false, false, false, Answer::kYes, 0, 3},
      {"changed_no", false, true, false, Answer::kNo, 1, 3},
      {"changed_yes", false, true, false, Answer::kYes, 1, 4},
      {"changed_yes_edited", false, true, true, Answer::kYes, 1, 4},
      {"whole_text", true, true, false, Answer::kYes, 0, 0},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string path = Write("M.BAS", kModule);
    Open(path, !r.whole_text);
    if (!r.whole_text) Select(IndexOf("A"));
    const std::string typed = Crlf("Sub A()\n  x = 5\nEnd Sub\n");
    if (r.edit) Type(typed);
    const std::string pane = port.PaneText();
    if (r.change) Write("M.BAS", grown);
    port.boxes.clear();
    port.answers = {r.answer};
    ed.FileChangedOnDisk();
    EXPECT_EQ(port.boxes.size(), r.boxes) << r.name;
    EXPECT_EQ(ed.doc().entry_count(), r.listed) << r.name;
    if (r.edit) {
      EXPECT_EQ(port.PaneText(), pane) << r.name;
      EXPECT_TRUE(ed.doc().changed()) << r.name;
      EXPECT_EQ(ed.doc().current_entry_name(), "A") << r.name;
      ed.Save();
      EXPECT_EQ(Read(path),
                Crlf("Dim a\n") + typed + Crlf("Sub B()\n  y = 1\nEnd Sub\nSub C()\nEnd Sub\n"))
          << r.name;
    }
  }
}

TEST_F(SaveSafetyTest, TextsWithoutAFinalLineEndAndFunctionsBeforeComments) {
  const std::string functions =
      Crlf("Function F()\n  F = 1\nEnd Function\n\n' about G\n\nFunction G()\nEnd Function\n");
  const struct {
    const char* name;
    std::string module;
    const char* entry;
    std::string typed;
    std::string want;
  } rows[] = {
      {"unended_text_keeps_the_next_header_on_its_line", kModule, "A",
       Crlf("Sub A()\n  x = 2\nEnd Sub"), kSavedA},
      {"unended_declarations", kModule, "(declarations)", "Dim b",
       Crlf("Dim b\n") + kModule.substr(7)},
      {"function_followed_by_blanks_and_comments", functions, "F",
       Crlf("Function F()\n  F = 2\nEnd Function\n"),
       Crlf("Function F()\n  F = 2\nEnd Function\n\n' about G\n\nFunction G()\nEnd Function\n")},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string path = Write("M.BAS", r.module);
    Open(path);
    if (IndexOf(r.entry) != 0) Select(IndexOf(r.entry));
    Type(r.typed);
    ed.Save();
    EXPECT_EQ(Read(path), r.want) << r.name;
    EXPECT_TRUE(port.boxes.empty()) << r.name;
  }
}

TEST_F(SaveSafetyTest, ATextTooLargeToBeShownAgainIsRefusedBeforeAnythingIsWritten) {
  const std::string line = std::string(98, 'x') + "\r\n";
  std::string big_declarations, big_sub = "Sub A()\r\n";
  for (int i = 0; i < 330; ++i) big_declarations += "' " + line;
  for (int i = 0; i < 330; ++i) big_sub += "  " + line;
  std::string commented = "Dim a\r\nSub A()\r\nEnd Sub\r\n";
  for (int i = 0; i < 20; ++i) commented += "' " + line;
  commented += "Sub B()\r\nEnd Sub\r\n";
  const struct {
    const char* name;
    std::string module;
    const char* entry;
    std::string typed;
    bool refused;
  } rows[] = {
      {"declarations", kModule, "(declarations)", big_declarations, true},
      {"procedure", kModule, "A", big_sub + "End Sub\r\n", true},
      {"procedure_just_within", kModule, "A", big_sub.substr(0, 31000) + "\r\nEnd Sub\r\n", false},
      // Without its End Sub the entry runs on through the comments after it.
      {"unended_procedure_takes_the_lines_after_it", commented, "A",
       big_sub.substr(0, 31000) + "\r\n", true},
      {"ended_procedure_leaves_them", commented, "A", big_sub.substr(0, 31000) + "\r\nEnd Sub\r\n",
       false},
  };
  for (const auto& r : rows) {
    fs::remove_all(dir);
    const std::string path = Write("M.BAS", r.module);
    Open(path);
    if (IndexOf(r.entry) != 0) Select(IndexOf(r.entry));
    Type(r.typed);
    port.boxes.clear();
    ed.Save();
    if (r.refused) {
      EXPECT_EQ(port.Titles(), std::vector<std::string>{"Procedure Too Large"}) << r.name;
      EXPECT_TRUE(Read(path) == r.module) << r.name;
      EXPECT_EQ(FilesInDir(), std::vector<std::string>{"M.BAS"}) << r.name;
      EXPECT_TRUE(ed.doc().changed()) << r.name;
    } else {
      EXPECT_TRUE(port.boxes.empty()) << r.name;
      EXPECT_TRUE(Read(path) != r.module) << r.name;
      EXPECT_FALSE(ed.doc().changed()) << r.name;
    }
  }
}

}  // namespace
}  // namespace qw::testing
