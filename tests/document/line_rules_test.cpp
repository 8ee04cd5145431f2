// The line rules, the entry key of a save, backup names and entry strings.
// Each list of lines names its cases by the lines themselves.
#include "document/line_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "document/byte_lines.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_save.h"

namespace qw {
namespace {

using Lines = std::initializer_list<const char*>;

TEST(LineRulesTest, IndexerStopsAtHeadersAndEnds) {
  for (const char* line :
       Lines{"Function F()", "  FUNC x", "PROCEDURE Main()", "Sub Main()", "Private Sub X()",
             "private function y", "Public Function T()", "Public Sub T()",
             "Static x As Long ' a sub", "STATIC FUNCTION Tidy"}) {
    EXPECT_EQ(IndexerStop(line), StopKind::kCandidateHeader) << line;
  }
  for (const char* line : Lines{"End Sub", "  end function"}) {
    EXPECT_EQ(IndexerStop(line), StopKind::kEndOfProcedure) << line;
  }
  for (const char* line : Lines{"Static n As Long", "End If", "METHOD Paint()", "PROC Init", "Sub",
                                "FunctionCount = 1", "\tSub X()", "   "}) {
    EXPECT_EQ(IndexerStop(line), StopKind::kOrdinary) << line;
  }
}

TEST(LineRulesTest, HeaderNameNamesHeaders) {
  const struct {
    const char* line;
    const char* want;
  } headers[] = {
      {"Private Sub Form_Load()", "Form_Load"},
      {"Public Function Total(a As Long) As Long", "Total"},
      {"Static Sub Tick()", "Tick"},
      {"FUNCTION Main( cArg )", "Main"},
      {"PROCEDURE Init", "Init"},  // no parameters
      {"Function Total$(a, b)", "Total"},
      {"FUNCTION Calc( nX )", "Calc"},
      {"METHOD Paint() CLASS Win", "Paint"},
      {"    Sub Inner()", "Inner"},
      {"ME", ""},  // a short line that is a fragment of a keyword
  };
  for (const auto& h : headers) EXPECT_EQ(HeaderName(h.line), h.want) << h.line;
  for (const char* line :
       Lines{"Private Static Sub T()", "PRIVATE SUB X", "STATIC FUNCTION F",
             "Public Property Get X", "Private Declare Function GetTickCount Lib \"k\" () As Long",
             "Public Const A = 1", "Static subTotal As Long", "Public", "x = 1", ""}) {
    EXPECT_EQ(HeaderName(line), std::nullopt) << line;
  }
}

// Where an entry ends, and when the declarations are empty.
TEST(LineRulesTest, EndsProcedureStartsNextEntryAndEmptyDeclarations) {
  const struct {
    const char* rule;
    bool (*holds)(std::string_view);
    Lines yes;
    Lines no;
  } rules[] = {
      {"ends procedure",
       EndsProcedure,
       {"End Sub", "  END FUNCTION", "End  Sub", "End Sub ' done"},
       {"End Property", "EndSub", "End Subroutine", "End"}},
      {"starts next entry",
       StartsNextEntry,
       {"FunctionCount = 1", "PROCEDURExyz", "FUNC F", "PROC Init", "Sub X()", "METHOD Paint",
        "Static Sub T()", "Static subTotal As Long", "STATIC FUNCTION Tidy", "STATIC PROCEDURE P",
        "Public Function F()", "Private Sub S()"},
       {"Private Static Sub T()", "RETURN", "Sub", "METHODS", "Public Property Get P()"}},
      {"first line",
       DeclarationsAreEmpty,
       {"Sub Main()", "Function F()", "Private Sub Form_Load()", "Public Function T()",
        "Static Sub T()", "PROCEDURE Main()", "STATIC FUNCTION Main()", "b", "  Sub Main()"},
       {"Option Explicit", "  Dim x", "   ", "Attribute VB_Name = \"M\""}},
  };
  for (const auto& r : rules) {
    for (const char* line : r.yes) EXPECT_TRUE(r.holds(line)) << r.rule << ": " << line;
    for (const char* line : r.no) EXPECT_FALSE(r.holds(line)) << r.rule << ": " << line;
  }
}

// The entry key (the first line up to its parenthesis) and the whole text of a
// save (one line end in the text's own style).
TEST(LineRulesTest, EntryKeyAndWholeTextForSave) {
  const struct {
    std::string (*make)(std::string_view);
    const char* in;
    const char* want;
  } rows[] = {
      {EntryKey, "Public Sub Draw(x As Integer)\r\nEnd Sub\r\n", "Public Sub Draw"},
      {EntryKey, "  Sub  Main ()\r\n", "Sub  Main"},
      {EntryKey, "PROCEDURE Init\r\n   x := f(1)\r\n", "PROCEDURE Init"},
      {EntryKey, "FUNCTION Calc\n", "FUNCTION Calc"},
      {EntryKey, "Sub X", "Sub X"},
      {EntryKey, "", ""},
      {WholeTextForSave, "a\r\nb", "a\r\nb\r\n"},
      {WholeTextForSave, "a\r\nb\r\n", "a\r\nb\r\n"},
      {WholeTextForSave, "a\nb", "a\nb\n"},
      {WholeTextForSave, "abc", "abc\r\n"},
      {WholeTextForSave, "", "\r\n"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.make(r.in), r.want) << r.in;
}

TEST(LineRulesTest, BackupNameCutsTheFileNameAtItsFirstDot) {
  const struct {
    const char* file;
    std::optional<std::string> want;
  } rows[] = {
      {"C:\\SRC\\MAIN.BAS", "C:\\SRC\\MAIN.BAK"},
      {"C:\\SRC\\MAIN.OLD.BAS", "C:\\SRC\\MAIN.BAK"},
      {"C:\\V1.2\\MAIN.BAS", "C:\\V1.2\\MAIN.BAK"},
      {"/home/a.b/src/main.bas", "/home/a.b/src/main.BAK"},
      {"main.frm", "main.BAK"},
      {"/src/MAKEFILE", std::nullopt},
      {"/v1.2/MAKEFILE", std::nullopt},
      {"/src/X.BAK", std::nullopt},
      {"/src/x.bak", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(BackupName(r.file), r.want) << r.file;
}

TEST(LineRulesTest, EntryStringsAndLineEnds) {
  EXPECT_EQ((ProcedureEntry{"Name", 1234}.Text()), "Name|0001234");
  EXPECT_EQ((ProcedureEntry{"(declarations)", 1}.Text()), "(declarations)|0000001");
  EXPECT_EQ((ProcedureEntry{"Big", 9999999}.Text()), "Big|9999999");
  EXPECT_EQ((ProcedureEntry{"Bigger", 12345678}.Text()), "Bigger|12345678");
  EXPECT_EQ(WithLineEnds("a\r\nb\nc", "\n"), "a\nb\nc");
  EXPECT_EQ(WithLineEnds("a\r\nb\n", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(WithLineEnds("a\rb\n", "\n"), "a\rb\n");  // a lone CR is an ordinary byte
  EXPECT_EQ(LineEndStyle("x\ny\r\n"), "\n");
  EXPECT_EQ(LineEndStyle("x\r\ny\n"), "\r\n");
  EXPECT_EQ(LineEndStyle("no end"), "\r\n");
}

}  // namespace
}  // namespace qw
