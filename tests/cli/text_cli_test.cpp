// qwtool indent, comment, uncomment, convert and print run as the real program:
// the text the command pastes, the listing it prints, exit statuses and
// messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "document/doc_fixture.h"
#include "support/run_tool.h"

namespace qw::testing {
namespace {

// What a shell command prints on stdout.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    for (size_t got; (got = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, got);
    pclose(p);
  }
  return out;
}

using TextCliTest = TempDirTest;

TEST_F(TextCliTest, ToolsPasteTheirResultOrRefuse) {
  const std::string big(40000, 'x');
  const struct {
    const char* name;
    const char* args;  // split at blanks; "@" before a name stands for the folder
    std::string input;
    int status;
    std::string out, err;
  } rows[] = {
      {"indent", "indent", "Sub A()\nIf b Then\nc\nEnd If\nEnd Sub", 0,
       "Sub A()\r\n   If b Then\r\n      c\r\n   End If\r\nEnd Sub\r\n", ""},
      {"indent_blank_is_refused", "indent -", "   ", 2, "",
       "qwtool: Error: You have no text to indent!\n"},
      {"indent_classic_oversize_is_a_fault", "--classic indent", big, 2, "",
       "qwtool: Quillwright Error: Overflow: a number is too large for its 16-bit place\n"},
      {"indent_limits_lifted", "indent", big, 0, "   " + big + "\r\n", ""},
      {"comment", "comment", "  x = 1  \n\n", 0, "  'x = 1\r\n'\r\n", ""},
      {"comment_blank_is_refused", "comment", "  ", 2, "",
       "qwtool: Error: You have no text selected!\n"},
      {"uncomment", "uncomment", "  'x\n''y", 0, "  x\r\n'y\r\n", ""},
      {"uncomment_blanks_are_lines", "uncomment", "  ", 0, "\r\n", ""},
      {"uncomment_empty_is_refused", "uncomment", "", 2, "",
       "qwtool: Error: You have no text selected!\n"},
      {"convert", "convert -", "x := 1\nDELETE\n", 0, "x = 1\r\noKV.Delete\r\n", ""},
      {"convert_classic_oversize_is_a_fault", "--classic convert", big, 2, "",
       "qwtool: Program Error: Err Code:  6\\nErr Desc: Overflow: a number is too large for its "
       "16-bit place\\nProcname: ConvertXBaseProc\\nSub Proc: \n"},
      {"print_layout", "print --layout", "x\n' y\n", 0, "   \r\n   \r\n  x\r\nB ' y\r\n", ""},
      {"print_blank_is_refused", "print - --layout", " ", 2, "",
       "qwtool: Error: You have no text selected!\n"},
      {"print_pdf_unwritable", "print --pdf @no/such.pdf", "x", 2, "",
       "qwtool: Print Error: Printer error: cannot write the PDF file " + Path("no/such.pdf") +
           " (No such file or directory)\n"},
      {"print_needs_a_target", "print", "x", 1, "", ""},
      {"print_takes_one_target", "print --layout --pdf @a.pdf", "x", 1, "", ""},
      {"two_files", "comment a b", "", 1, "", ""},
  };
  ExpectToolRuns(rows, dir);
}

// The PDF goes through the printer plugin: two pages for 54 lines, and a bold
// font for the comment lines. qwtool itself links no Qt library.
TEST_F(TextCliTest, PrintsAPdfThroughThePluginWithoutLinkingQt) {
  if (Output("command -v pdfinfo").empty()) GTEST_SKIP() << "poppler-utils are not installed";
  std::string text;
  for (int i = 1; i <= 54; ++i) text += (i % 2 ? "' comment " : "x = ") + std::to_string(i) + "\n";
  const std::string pdf = Path("listing.pdf");
  const ToolResult run = RunTool({"print", "--pdf", pdf}, text);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out + run.err, "");
  EXPECT_NE(Output("pdfinfo '" + pdf + "'").find("Pages:           2\n"), std::string::npos);
  const std::string fonts = Output("pdffonts '" + pdf + "'");
  EXPECT_NE(fonts.find("Bold"), std::string::npos) << fonts;
  const std::string linked = Output(std::string("ldd '") + QW_QWTOOL + "'");
  EXPECT_NE(linked.find("libc.so"), std::string::npos) << linked;
  EXPECT_EQ(linked.find("Qt"), std::string::npos) << linked;
}

}  // namespace
}  // namespace qw::testing
