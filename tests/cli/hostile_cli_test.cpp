// qwtool run as a hostile user would: files that are no files, outputs that
// cannot be written, texts too large to be edited again, and several saves
// of one module at once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/doc_fixture.h"
#include "platform/fault.h"
#include "support/run_tool.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;

class HostileCliTest : public TempDirTest {};

TEST_F(HostileCliTest, WhatIsNoRegularFileIsRefusedAtOnce) {
  const std::string fifo = Path("x.bas");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  Write("t.txt", "Sub A()\nEnd Sub\n");
  const std::string open_error = "qwtool: File Error: Can't open file: " + fifo + "\n";
  const struct {
    const char* name;
    const char* args;
    std::string input;
    int status;
    std::string out;
    std::string err;
  } rows[] = {
      {"list_fifo", "list @x.bas", "", 2, "", open_error},
      {"show_fifo", "show @x.bas #0", "", 2, "", open_error},
      {"replace_fifo", "replace @x.bas #0 @t.txt", "", 2, "", open_error},
      {"convert_fifo", "convert @x.bas", "", 2, "",
       "qwtool: cannot read " + fifo + ": not a regular file\n"},
      {"convert_device", "convert /dev/zero", "", 2, "",
       "qwtool: cannot read /dev/zero: not a regular file\n"},
      {"list_device", "list /dev/zero", "", 2, "",
       "qwtool: File Error: Can't open file: /dev/zero\n"},
  };
  ExpectToolRuns(rows, dir);
}

TEST_F(HostileCliTest, AnOutputThatCannotBeWrittenIsAFailure) {
  Write("M.BAS", Crlf("Dim a\nSub A()\nEnd Sub\n"));
  const std::string err = Path("err.txt");
  for (const std::string args : {"list M.BAS", "show M.BAS A", "convert M.BAS", "--help"}) {
    const std::string cmd =
        "cd '" + dir + "' && '" + QW_QWTOOL + "' " + args + " >/dev/full 2>'" + err + "'";
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << args;
    if (args == "--help") continue;  // help has nowhere else to go; it is not checked
    EXPECT_EQ(WEXITSTATUS(status), 2) << args;
    EXPECT_EQ(Read(err), "qwtool: cannot write the output: No space left on device\n") << args;
  }
}

TEST_F(HostileCliTest, ReplaceRefusesATextTooLargeBeforeWritingAnything) {
  const std::string module = Crlf("Dim a\nSub A()\nEnd Sub\n");
  std::string big;
  for (int i = 0; i < 330; ++i) big += "' " + std::string(98, 'x') + "\n";
  const std::string path = Write("M.BAS", module);
  Write("big.txt", big);
  const ToolResult r = RunTool({"replace", path, "(declarations)", Path("big.txt")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err,
            "qwtool: Procedure Too Large: Procedure too large, Please \\nbreak the Procedure "
            "into\\ntwo smaller procedures!\n");
  EXPECT_EQ(Read(path), module);
  EXPECT_FALSE(fs::exists(Path("M.BAK")));
}

TEST_F(HostileCliTest, ReplacesOfOneModuleAtOnceAllLand) {
  constexpr int kEntries = 6;
  std::string module = "Dim a\r\n";
  for (int i = 0; i < kEntries; ++i) {
    module += "Sub S" + std::to_string(i) + "()\r\n  x = 0\r\nEnd Sub\r\n";
    Write("t" + std::to_string(i) + ".txt",
          "Sub S" + std::to_string(i) + "()\n  x = " + std::to_string(i + 1) + "\nEnd Sub\n");
  }
  for (int round = 0; round < 4; ++round) {
    const std::string path = Write("M.BAS", module);
    std::string cmd = "cd '" + dir + "' && for i in";
    for (int i = 0; i < kEntries; ++i) cmd += " " + std::to_string(i);
    cmd += "; do ('" + std::string(QW_QWTOOL) +
           "' replace M.BAS S$i t$i.txt; echo $? >rc$i) & done; wait";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (int i = 0; i < kEntries; ++i) {
      EXPECT_EQ(Read(Path("rc" + std::to_string(i))), "0\n") << "round " << round << ", S" << i;
    }
    const std::string saved = Read(path);
    for (int i = 0; i < kEntries; ++i) {
      const std::string want =
          "Sub S" + std::to_string(i) + "()\r\n  x = " + std::to_string(i + 1) + "\r\nEnd Sub\r\n";
      EXPECT_NE(saved.find(want), std::string::npos) << "round " << round << ", S" << i;
    }
    std::vector<std::string> want = {"M.BAK", "M.BAS"};
    for (int i = 0; i < kEntries; ++i) want.push_back("rc" + std::to_string(i));
    for (int i = 0; i < kEntries; ++i) want.push_back("t" + std::to_string(i) + ".txt");
    EXPECT_EQ(FilesInDir(), want) << round;
  }
}

TEST(FileFault, TheSystemsReasonIsToldOnce) {
  const struct {
    const char* name;
    int errno_value;
    std::string description;
  } rows[] = {
      {"same_words", EACCES, "Permission denied"},
      {"other_words", ENOENT, "File not found (No such file or directory)"},
      {"generic_fault", ENOSPC, "Path/File access error (No space left on device)"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(FileFault(r.errno_value).description(), r.description) << r.name;
}

}  // namespace
}  // namespace qw::testing
