#include "convert/converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/limits.h"
#include "platform/port.h"
#include "platform/report.h"
#include "support/fake_port.h"
#include "support/run_tool.h"

namespace qw {
namespace {

using testing::FakePort;

// Joins lines, each ended by CR LF.
std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

// Sets the 16-bit limits for the scope of a test, restoring them after.
class LimitsScope {
 public:
  explicit LimitsScope(bool classic) : saved_(ClassicLimits()) { SetClassicLimits(classic); }
  ~LimitsScope() { SetClassicLimits(saved_); }

 private:
  bool saved_;
};

// A pane whose Paste command (the keystrokes) replaces the selection by the clipboard.
void WirePaste(FakePort& port) {
  port.on_keys = [&port](const std::string& keys) {
    if (keys == kPasteKeys) port.ReplacePaneSelection(port.ClipboardText());
  };
}

std::string Convert(const std::string& input) {
  FakePort port;
  PortScope scope(port);
  std::string out;
  ConvertXBaseBlock(port, input, out);
  EXPECT_TRUE(port.boxes.empty()) << input;
  return out;
}

TEST(ConvertXBaseBlock, ConversionStateAcrossLines) {
  const struct {
    const char* name;
    std::vector<std::string> in, want;
  } rows[] = {
      {"EmptyInput", {}, {}},
      {"BlankLinesStayEmpty", {"   ", "", "x := 1"}, {"", "", "x = 1"}},
      {"NestedDoCaseShareOneFlag",
       {"DO CASE", "CASE a", "DO CASE", "CASE b", "ENDCASE", "CASE c", "ENDCASE"},
       {"' Do Case Sequence converted due to Incompatability with VB", "If a Then",
        "' Do Case Sequence converted due to Incompatability with VB", "If b Then", "End If",
        "ElseIf c Then", "End If"}},
      {"WhileCountedOnce",
       {"IF a", "WHILE b", "END", "ENDIF", "ENDIF"},
       {"If a Then", "Do While b", "End If", "End If", "' End If"}},
      {"HeaderClearsTheArea",
       {"SELECT cust", "DELETE", "PROCEDURE P", "DELETE"},
       {"cust.Delete", "Sub P", "oKV.Delete", "End Sub", " "}},
      {"LabelWrittenOnlyAfterALoop",
       {"PROCEDURE P", "DO WHILE x", "ENDDO"},
       {"Sub P", "DO WHILE x", "Loop", "End Sub", " "}},
      {"ExitTakesTheLastLoopKind",
       {"DO WHILE a", "FOR i := 1 TO 2", "NEXT", "EXIT", "ENDDO"},
       {"DO WHILE a", "FOR i = 1 TO 2", "NEXT", "Exit For", "Loop"}},
      {"ContinuationAtEndIsDropped", {"x := 1", "y := a + ;"}, {"x = 1"}},
      {"CommentAfterContinuationDropped", {"x := a ; && first", "+ b"}, {"x = a+ b"}},
      {"TrailingSlashCommentBeforeSemicolonKept",
       {"x := 1 // one; two; three"},
       {"'  one; two; three", "x = 1"}},
      {"ShortTrailingCommentDropped", {"x := 1 // 12/05/97 jb"}, {"x = 1"}},
      {"CrLfAtEndStartsNoLine", {"x := 1", ""}, {"x = 1"}},
      {"ReplaceWithoutWithTakesFromTheFifthCharacter",
       {"REPLACE name"},
       {"' REPLACE name", "oKV!name = ACE name"}},
      {"HighBytesPassThrough",
       {"x := 'caf\xE9' && \xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF"},
       {"'  \xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF\xDF", "x = \"caf\xE9\""}},
  };
  for (const auto& r : rows) {
    std::string input;
    for (size_t i = 0; i < r.in.size(); ++i) input += (i ? "\r\n" : "") + r.in[i];
    EXPECT_EQ(Convert(input), Lines(r.want)) << r.name;
  }
}

TEST(ConvertXBaseBlock, AppendsToTheOutputAndStartsAfreshEachCall) {
  FakePort port;
  PortScope scope(port);
  std::string out = "prior\r\n";
  ConvertXBaseBlock(port, "SELECT cust\r\nPROCEDURE A", out);
  EXPECT_EQ(out, Lines({"prior", "Sub A", "End Sub", " "}));
  out.clear();
  ConvertXBaseBlock(port, "DELETE\r\nx := 1 ;", out);
  EXPECT_EQ(out, Lines({"oKV.Delete"}));  // no area, no procedure, no pending text
}

TEST(ConvertXBaseBlock, InputBeyondTheLimitsIsAFault) {
  const std::string big = Lines(std::vector<std::string>(5000, "x := 1"));  // 40,000 bytes
  {
    LimitsScope classic(true);
    FakePort port;
    PortScope scope(port);
    std::string out = "kept";
    ConvertXBaseBlock(port, big, out);
    EXPECT_EQ(out, "kept");
    ASSERT_EQ(port.boxes.size(), 1u);
    EXPECT_EQ(port.boxes[0].title, kProgramErrorTitle);
    EXPECT_EQ(port.boxes[0].text,
              FormatProgramError(6, FaultDescription(6), "ConvertXBaseBlock", ""));
  }
  LimitsScope lifted(false);
  EXPECT_EQ(Convert(big), Lines(std::vector<std::string>(5000, "x = 1")));
}

TEST(ConvertXBaseProc, ConvertsTheSelectionThroughTheClipboardAndPaste) {
  FakePort port;
  WirePaste(port);
  port.pane = "keep\r\nx := 1\r\nDELETE\r\ntail";
  port.sel_start = 6;
  port.sel_length = 16;  // "x := 1\r\nDELETE\r\n"
  ConvertXBaseProc(port);
  EXPECT_EQ(port.clipboard, "x = 1\r\noKV.Delete\r\n");
  EXPECT_EQ(port.pane, "keep\r\nx = 1\r\noKV.Delete\r\ntail");
  EXPECT_EQ(port.keys_sent, std::vector<std::string>{"%(EP)"});
  EXPECT_EQ(port.pane_focus_count, 1);
  EXPECT_TRUE(port.boxes.empty());
}

TEST(ConvertXBaseProc, NothingSelectedConvertsTheWholeText) {
  FakePort port;
  WirePaste(port);
  port.pane = "PROCEDURE Main\r\nRETURN";
  ConvertXBaseProc(port);
  EXPECT_EQ(port.pane, Lines({"Sub Main", "   Exit Sub", "End Sub", " "}));
  EXPECT_EQ(port.clipboard, port.pane);
}

TEST(ConvertXBaseProc, EmptyPanePastesNothing) {
  FakePort port;
  WirePaste(port);
  port.clipboard = "old";
  ConvertXBaseProc(port);
  EXPECT_EQ(port.pane, "");
  EXPECT_EQ(port.clipboard, "");
  EXPECT_TRUE(port.boxes.empty());
}

TEST(ConvertXBaseProc, OversizeSelectionIsReportedAndNothingIsPasted) {
  LimitsScope classic(true);
  FakePort port;
  WirePaste(port);
  port.pane = std::string(40000, 'x');
  port.clipboard = "old";
  ConvertXBaseProc(port);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, kProgramErrorTitle);
  EXPECT_EQ(port.boxes[0].icon, Icon::kStop);
  EXPECT_EQ(port.boxes[0].text, FormatProgramError(6, FaultDescription(6), "ConvertXBaseProc", ""));
  EXPECT_TRUE(port.keys_sent.empty());
  EXPECT_EQ(port.clipboard, "old");
  EXPECT_EQ(port.pane, std::string(40000, 'x'));
}

TEST(ConvertXBaseProc, ReportsAFaultOfThePaste) {
  FakePort port;
  port.pane = "x := 1";
  port.on_keys = [](const std::string&) { throw Fault(kFaultInvalidCall); };
  ConvertXBaseProc(port);
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].text, FormatProgramError(5, FaultDescription(5), "ConvertXBaseProc", ""));
  EXPECT_EQ(port.clipboard, "x = 1\r\n");  // the output was on the clipboard before the paste
}

TEST(QwtoolConvert, WritesThePastedTextAndExitStatus) {
  const std::string big(40000, 'x');
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
    std::string err_part;
  } rows[] = {
      {"Stdin", {"convert"}, "x := 1\nDELETE\n", 0, "x = 1\r\noKV.Delete\r\n", ""},
      {"Dash", {"convert", "-"}, "i++", 0, "Inc i\r\n", ""},
      {"LimitsLiftedByDefault", {"convert"}, big, 0, big + "\r\n", ""},
      {"ClassicOversize",
       {"--classic", "convert"},
       big,
       2,
       "",
       "qwtool: Program Error: Err Code:  6\\nErr Desc: " + FaultDescription(6) +
           "\\nProcname: ConvertXBaseProc\\nSub Proc: \n"},
      {"MissingFile", {"convert", "/nonexistent/x.prg"}, "", 1, "", "cannot read"},
      {"TwoFiles", {"convert", "a.prg", "b.prg"}, "", 1, "", "usage"},
      {"UnknownOption", {"convert", "--fast"}, "", 1, "", "unknown option --fast"},
  };
  for (const auto& r : rows) {
    const auto got = testing::RunTool(r.args, r.input);
    EXPECT_EQ(got.status, r.status) << r.name << ": " << got.err;
    EXPECT_EQ(got.out, r.out) << r.name;
    EXPECT_NE(got.err.find(r.err_part), std::string::npos) << r.name << ": " << got.err;
  }
}

}  // namespace
}  // namespace qw
