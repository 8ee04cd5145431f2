#include "convert/converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/limits.h"
#include "platform/port.h"
#include "platform/report.h"
#include "support/case_table.h"
#include "support/fake_port.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

using testing::FakePort;

const std::string kBig(40000, 'x');

std::string Crlf(const std::string& text) {
  return StrTran(text, "\n", "\r\n");
}

// Sets the 16-bit limits for the scope of a test, restoring them after.
struct LimitsScope {
  explicit LimitsScope(bool classic) : saved(ClassicLimits()) { SetClassicLimits(classic); }
  ~LimitsScope() { SetClassicLimits(saved); }
  bool saved;
};

// Every block of tests/data/convert/block_state.txt: IN|WANT.
TEST(ConvertXBaseBlock, ConversionStateAcrossLinesNotAcrossCalls) {
  FakePort port;
  PortScope scope(port);
  size_t cases = 0;
  for (const auto& row : testing::ReadCaseTable("convert/block_state.txt", 2)) {
    std::string out = "prior\r\n";
    ConvertXBaseBlock(port, Crlf(row.fields[0]), out);
    EXPECT_EQ(out, "prior\r\n" + Crlf(row.fields[1])) << row.where;
    ++cases;
  }
  EXPECT_EQ(cases, 13u);
  EXPECT_TRUE(port.boxes.empty());
}

TEST(ConvertXBaseBlock, InputBeyondTheLimitsIsAFault) {
  LimitsScope classic(true);
  FakePort port;
  PortScope scope(port);
  std::string out = "kept";
  ConvertXBaseBlock(port, std::string(40000, 'x'), out);
  EXPECT_EQ(out, "kept");
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, kProgramErrorTitle);
  EXPECT_EQ(port.boxes[0].text,
            FormatProgramError(6, FaultDescription(6), "ConvertXBaseBlock", ""));
}

TEST(ConvertXBaseProc, PastesTheConversionOfTheSelectionOrReportsAFault) {
  const std::string main_sub = Crlf("Sub Main\n   Exit Sub\nEnd Sub\n \n");
  const struct {
    const char* name;
    std::string pane, want_pane, want_clipboard;
    long sel_start, sel_length;
    bool classic, paste_throws;
    int fault;  // 0 for none
  } rows[] = {
      {"Selection", "keep\r\nx := 1\r\nDELETE\r\ntail", "keep\r\nx = 1\r\noKV.Delete\r\ntail",
       "x = 1\r\noKV.Delete\r\n", 6, 16, false, false, 0},
      {"NothingSelectedTakesTheWholeText", "PROCEDURE Main\r\nRETURN", main_sub, main_sub, 0, 0,
       false, false, 0},
      {"EmptyPanePastesNothing", "", "", "", 0, 0, false, false, 0},
      {"OversizeSelectionPastesNothing", kBig, kBig, "old", 0, 0, true, false, 6},
      {"FaultOfThePasteAfterTheClipboard", "x := 1", "x := 1", "x = 1\r\n", 0, 0, false, true, 5},
  };
  for (const auto& c : rows) {
    LimitsScope limits(c.classic);
    FakePort port;
    port.SetPaneText(c.pane);
    port.SetPaneSelection(c.sel_start, c.sel_length);
    port.SetClipboardText("old");
    port.on_keys = [&port, &c](const std::string& keys) {
      if (c.paste_throws) throw Fault(kFaultInvalidCall);
      if (keys == kPasteKeys) port.ReplacePaneSelection(port.ClipboardText());
    };
    ConvertXBaseProc(port);
    EXPECT_EQ(port.PaneText(), c.want_pane) << c.name;
    EXPECT_EQ(port.ClipboardText(), c.want_clipboard) << c.name;
    const bool pasted = c.fault != 6;  // fault 6 comes before the paste
    EXPECT_EQ(port.keys_sent, std::vector<std::string>(pasted ? 1 : 0, "%(EP)")) << c.name;
    EXPECT_EQ(port.pane_focus_count, pasted ? 1 : 0) << c.name;
    ASSERT_EQ(port.boxes.size(), c.fault ? 1u : 0u) << c.name;
    if (!c.fault) continue;
    EXPECT_EQ(port.boxes[0].title, kProgramErrorTitle) << c.name;
    EXPECT_EQ(port.boxes[0].icon, Icon::kStop) << c.name;
    EXPECT_EQ(port.boxes[0].text,
              FormatProgramError(c.fault, FaultDescription(c.fault), "ConvertXBaseProc", ""))
        << c.name;
  }
}

}  // namespace
}  // namespace qw
