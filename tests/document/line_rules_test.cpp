// The line rules, the entry key of a save, backup names and entry strings.
#include "document/line_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_save.h"

namespace qw {
namespace {

struct StopRow {
  const char* name;
  const char* line;
  StopKind want;
};

TEST(LineRulesTest, RuleAStopsTheIndexer) {
  const StopRow rows[] = {
      {"function_with_blank", "Function F()", StopKind::kCandidateHeader},
      {"func_short", "  FUNC x", StopKind::kCandidateHeader},
      {"procedure", "PROCEDURE Main()", StopKind::kCandidateHeader},
      {"sub", "Sub Main()", StopKind::kCandidateHeader},
      {"private_sub", "Private Sub X()", StopKind::kCandidateHeader},
      {"private_fu", "private function y", StopKind::kCandidateHeader},
      {"public_fun", "Public Function T()", StopKind::kCandidateHeader},
      {"public_sub", "Public Sub T()", StopKind::kCandidateHeader},
      {"static_sub_anywhere", "Static x As Long ' a sub", StopKind::kCandidateHeader},
      {"static_function", "STATIC FUNCTION Tidy", StopKind::kCandidateHeader},
      {"static_plain", "Static n As Long", StopKind::kOrdinary},
      {"end_sub", "End Sub", StopKind::kEndOfProcedure},
      {"end_function_lower", "  end function", StopKind::kEndOfProcedure},
      {"end_if", "End If", StopKind::kOrdinary},
      {"method_unknown", "METHOD Paint()", StopKind::kOrdinary},
      {"proc_unknown", "PROC Init", StopKind::kOrdinary},
      {"sub_without_blank", "Sub", StopKind::kOrdinary},
      {"function_count", "FunctionCount = 1", StopKind::kOrdinary},
      {"tab_indent", "\tSub X()", StopKind::kOrdinary},
      {"blank", "   ", StopKind::kOrdinary},
  };
  for (const StopRow& r : rows) EXPECT_EQ(RuleA(r.line), r.want) << r.name;
}

struct NameRow {
  const char* name;
  const char* line;
  std::optional<std::string> want;
};

TEST(LineRulesTest, RuleBNamesHeaders) {
  const NameRow rows[] = {
      {"private_sub", "Private Sub Form_Load()", "Form_Load"},
      {"public_function", "Public Function Total(a As Long) As Long", "Total"},
      {"static_sub", "Static Sub Tick()", "Tick"},
      {"xbase_function", "FUNCTION Main( cArg )", "Main"},
      {"xbase_procedure_no_params", "PROCEDURE Init", "Init"},
      {"typed_function", "Function Total$(a, b)", "Total"},
      {"xbase_calc", "FUNCTION Calc( nX )", "Calc"},
      {"method", "METHOD Paint() CLASS Win", "Paint"},
      {"indented_sub", "    Sub Inner()", "Inner"},
      {"fragment_short_line", "ME", ""},
      {"private_static", "Private Static Sub T()", std::nullopt},
      {"scope_in_capitals", "PRIVATE SUB X", std::nullopt},
      {"static_in_capitals", "STATIC FUNCTION F", std::nullopt},
      {"property", "Public Property Get X", std::nullopt},
      {"declare", "Private Declare Function GetTickCount Lib \"k\" () As Long", std::nullopt},
      {"const", "Public Const A = 1", std::nullopt},
      {"static_variable", "Static subTotal As Long", std::nullopt},
      {"scope_alone", "Public", std::nullopt},
      {"ordinary", "x = 1", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const NameRow& r : rows) EXPECT_EQ(RuleBHeaderName(r.line), r.want) << r.name;
}

struct FlagRow {
  const char* name;
  const char* line;
  bool want;
};

TEST(LineRulesTest, RuleCEndsAProcedure) {
  const FlagRow rows[] = {
      {"end_sub", "End Sub", true},
      {"end_function_caps", "  END FUNCTION", true},
      {"two_blanks", "End  Sub", true},
      {"trailing_comment", "End Sub ' done", true},
      {"end_property", "End Property", false},
      {"endsub_joined", "EndSub", false},
      {"end_subroutine", "End Subroutine", false},
      {"end_alone", "End", false},
  };
  for (const FlagRow& r : rows) EXPECT_EQ(RuleC(r.line), r.want) << r.name;
}

TEST(LineRulesTest, RuleDStartsTheNextEntry) {
  const FlagRow rows[] = {
      {"function_count", "FunctionCount = 1", true},
      {"procedure_no_blank", "PROCEDURExyz", true},
      {"func", "FUNC F", true},
      {"proc", "PROC Init", true},
      {"sub", "Sub X()", true},
      {"method", "METHOD Paint", true},
      {"static_sub", "Static Sub T()", true},
      {"static_subtotal", "Static subTotal As Long", true},
      {"static_fun", "STATIC FUNCTION Tidy", true},
      {"static_pro", "STATIC PROCEDURE P", true},
      {"public_fun", "Public Function F()", true},
      {"private_su", "Private Sub S()", true},
      {"private_static", "Private Static Sub T()", false},
      {"return", "RETURN", false},
      {"sub_alone", "Sub", false},
      {"method_no_blank", "METHODS", false},
      {"public_property", "Public Property Get P()", false},
  };
  for (const FlagRow& r : rows) EXPECT_EQ(RuleD(r.line), r.want) << r.name;
}

TEST(LineRulesTest, FirstLineTellsEmptyDeclarations) {
  const FlagRow rows[] = {
      {"sub", "Sub Main()", true},
      {"function", "Function F()", true},
      {"private_sub", "Private Sub Form_Load()", true},
      {"public_fun", "Public Function T()", true},
      {"static_sub", "Static Sub T()", true},
      {"xbase_procedure", "PROCEDURE Main()", true},
      {"xbase_static_function", "STATIC FUNCTION Main()", true},
      {"short_fragment", "b", true},
      {"option", "Option Explicit", false},
      {"indented_sub_by_rule_d", "  Sub Main()", true},
      {"indented_dim", "  Dim x", false},
      {"blank", "   ", false},
      {"attribute", "Attribute VB_Name = \"M\"", false},
  };
  for (const FlagRow& r : rows) EXPECT_EQ(FirstLineStartsProcedure(r.line), r.want) << r.name;
}

struct TextRow {
  const char* name;
  const char* in;
  const char* want;
};

TEST(LineRulesTest, EntryKeyIsTheFirstLineUpToItsParenthesis) {
  const TextRow rows[] = {
      {"basic_header", "Public Sub Draw(x As Integer)\r\nEnd Sub\r\n", "Public Sub Draw"},
      {"blanks_trimmed", "  Sub  Main ()\r\n", "Sub  Main"},
      {"no_parenthesis", "PROCEDURE Init\r\n   x := f(1)\r\n", "PROCEDURE Init"},
      {"lf_only", "FUNCTION Calc\n", "FUNCTION Calc"},
      {"single_line", "Sub X", "Sub X"},
      {"empty", "", ""},
  };
  for (const TextRow& r : rows) EXPECT_EQ(EntryKey(r.in), r.want) << r.name;
}

TEST(LineRulesTest, WholeTextGetsOneLineEndInItsOwnStyle) {
  const TextRow rows[] = {
      {"crlf_missing", "a\r\nb", "a\r\nb\r\n"},
      {"crlf_present", "a\r\nb\r\n", "a\r\nb\r\n"},
      {"lf_missing", "a\nb", "a\nb\n"},
      {"no_line_end", "abc", "abc\r\n"},
      {"empty", "", "\r\n"},
  };
  for (const TextRow& r : rows) EXPECT_EQ(WholeTextForSave(r.in), r.want) << r.name;
}

TEST(LineRulesTest, BackupNameCutsTheFileNameAtItsFirstDot) {
  const struct {
    const char* name;
    const char* file;
    std::optional<std::string> want;
  } rows[] = {
      {"plain", "C:\\SRC\\MAIN.BAS", "C:\\SRC\\MAIN.BAK"},
      {"two_dots", "C:\\SRC\\MAIN.OLD.BAS", "C:\\SRC\\MAIN.BAK"},
      {"dotted_folder", "C:\\V1.2\\MAIN.BAS", "C:\\V1.2\\MAIN.BAK"},
      {"unix_dotted_folder", "/home/a.b/src/main.bas", "/home/a.b/src/main.BAK"},
      {"relative", "main.frm", "main.BAK"},
      {"no_dot", "/src/MAKEFILE", std::nullopt},
      {"dot_only_in_folder", "/v1.2/MAKEFILE", std::nullopt},
      {"module_named_bak", "/src/X.BAK", std::nullopt},
      {"module_named_bak_lower", "/src/x.bak", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(BackupName(r.file), r.want) << r.name;
}

TEST(LineRulesTest, EntryStringsHaveAtLeastSevenDigits) {
  EXPECT_EQ((ProcedureEntry{"Name", 1234}.Text()), "Name|0001234");
  EXPECT_EQ((ProcedureEntry{"(declarations)", 1}.Text()), "(declarations)|0000001");
  EXPECT_EQ((ProcedureEntry{"Big", 9999999}.Text()), "Big|9999999");
  EXPECT_EQ((ProcedureEntry{"Bigger", 12345678}.Text()), "Bigger|12345678");
}

TEST(LineRulesTest, LineEndsAreCrLfOrBareLf) {
  EXPECT_EQ(WithLineEnds("a\r\nb\nc", "\n"), "a\nb\nc");
  EXPECT_EQ(WithLineEnds("a\r\nb\n", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(WithLineEnds("a\rb\n", "\n"), "a\rb\n");  // a lone CR is an ordinary byte
  EXPECT_EQ(LineEndStyle("x\ny\r\n"), "\n");
  EXPECT_EQ(LineEndStyle("x\r\ny\n"), "\r\n");
  EXPECT_EQ(LineEndStyle("no end"), "\r\n");
}

}  // namespace
}  // namespace qw
