#include <gtest/gtest.h>

#include "cli/commands.h"
#include "cli/headless_port.h"
#include "support/run_tool.h"

namespace qw {
namespace {

using testing::RunTool;

TEST(Qwtool, HelpAndVersionSucceed) {
  const auto help = RunTool({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: qwtool"), std::string::npos);
  const auto version = RunTool({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("qwtool ", 0), 0u);
}

TEST(Qwtool, BadUsageExitsOneWithAUsageMessage) {
  const struct {
    const char* name;
    std::vector<std::string> args;
  } cases[] = {
      {"NoSubcommand", {}},
      {"UnknownSubcommand", {"frobnicate"}},
      {"UnknownOption", {"--frobnicate"}},
      {"OnlyClassic", {"--classic"}},
  };
  for (const auto& c : cases) {
    const auto r = RunTool(c.args);
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.err.rfind("qwtool: usage: ", 0), 0u) << c.name;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << c.name << ": one line";
    EXPECT_TRUE(r.out.empty()) << c.name;
  }
}

TEST(Qwtool, UnreadableInputIsRefusedNotAUsageError) {
  for (const char* path : {"/nonexistent/x.prg", "/tmp"}) {
    const auto r = RunTool({"convert", path});
    EXPECT_EQ(r.status, 2) << path;
    EXPECT_EQ(r.err.rfind(std::string("qwtool: cannot read ") + path + ": ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty()) << path;
  }
}

TEST(MessageLine, EscapesLineEndsAndBackslashes) {
  EXPECT_EQ(cli::MessageLine("File Error", "Can't open file: C:\\A.BAS"),
            "qwtool: File Error: Can't open file: C:\\\\A.BAS");
  EXPECT_EQ(cli::MessageLine("", "a\r\nb\nc"), "qwtool: QWEdit: a\\r\\nb\\nc");
}

TEST(PaneText, EveryBareLineFeedBecomesCrLf) {
  EXPECT_EQ(cli::ToPaneText("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(cli::ToPaneText("\n\n"), "\r\n\r\n");
  EXPECT_EQ(cli::ToPaneText("a\rb"), "a\rb");
  EXPECT_EQ(cli::ToPaneText(""), "");
}

}  // namespace
}  // namespace qw
