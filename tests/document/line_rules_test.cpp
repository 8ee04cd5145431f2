// The line rules, the entry key of a save, backup names and entry strings.
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

TEST(LineRulesTest, RuleAStopsTheIndexer) {
  const struct {
    const char* name;
    const char* line;
    StopKind want;
  } rows[] = {
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
  for (const auto& r : rows) EXPECT_EQ(RuleA(r.line), r.want) << r.name;
}

TEST(LineRulesTest, RuleBNamesHeaders) {
  const struct {
    const char* name;
    const char* line;
    std::optional<std::string> want;
  } rows[] = {
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
  for (const auto& r : rows) EXPECT_EQ(RuleBHeaderName(r.line), r.want) << r.name;
}

// Rule C (the line ends a procedure), rule D (it starts the next entry) and
// the first-line test (the module has no declarations).
TEST(LineRulesTest, RulesCAndDAndTheFirstLineTest) {
  const struct {
    const char* name;
    bool (*rule)(std::string_view);
    const char* line;
    bool want;
  } rows[] = {
      {"c_end_sub", RuleC, "End Sub", true},
      {"c_end_function_caps", RuleC, "  END FUNCTION", true},
      {"c_two_blanks", RuleC, "End  Sub", true},
      {"c_trailing_comment", RuleC, "End Sub ' done", true},
      {"c_end_property", RuleC, "End Property", false},
      {"c_endsub_joined", RuleC, "EndSub", false},
      {"c_end_subroutine", RuleC, "End Subroutine", false},
      {"c_end_alone", RuleC, "End", false},
      {"d_function_count", RuleD, "FunctionCount = 1", true},
      {"d_procedure_no_blank", RuleD, "PROCEDURExyz", true},
      {"d_func", RuleD, "FUNC F", true},
      {"d_proc", RuleD, "PROC Init", true},
      {"d_sub", RuleD, "Sub X()", true},
      {"d_method", RuleD, "METHOD Paint", true},
      {"d_static_sub", RuleD, "Static Sub T()", true},
      {"d_static_subtotal", RuleD, "Static subTotal As Long", true},
      {"d_static_fun", RuleD, "STATIC FUNCTION Tidy", true},
      {"d_static_pro", RuleD, "STATIC PROCEDURE P", true},
      {"d_public_fun", RuleD, "Public Function F()", true},
      {"d_private_su", RuleD, "Private Sub S()", true},
      {"d_private_static", RuleD, "Private Static Sub T()", false},
      {"d_return", RuleD, "RETURN", false},
      {"d_sub_alone", RuleD, "Sub", false},
      {"d_method_no_blank", RuleD, "METHODS", false},
      {"d_public_property", RuleD, "Public Property Get P()", false},
      {"first_sub", FirstLineStartsProcedure, "Sub Main()", true},
      {"first_function", FirstLineStartsProcedure, "Function F()", true},
      {"first_private_sub", FirstLineStartsProcedure, "Private Sub Form_Load()", true},
      {"first_public_fun", FirstLineStartsProcedure, "Public Function T()", true},
      {"first_static_sub", FirstLineStartsProcedure, "Static Sub T()", true},
      {"first_xbase_procedure", FirstLineStartsProcedure, "PROCEDURE Main()", true},
      {"first_xbase_static_function", FirstLineStartsProcedure, "STATIC FUNCTION Main()", true},
      {"first_short_fragment", FirstLineStartsProcedure, "b", true},
      {"first_indented_sub_by_rule_d", FirstLineStartsProcedure, "  Sub Main()", true},
      {"first_option", FirstLineStartsProcedure, "Option Explicit", false},
      {"first_indented_dim", FirstLineStartsProcedure, "  Dim x", false},
      {"first_blank", FirstLineStartsProcedure, "   ", false},
      {"first_attribute", FirstLineStartsProcedure, "Attribute VB_Name = \"M\"", false},
  };
  for (const auto& r : rows) EXPECT_EQ(r.rule(r.line), r.want) << r.name;
}

// The entry key (the first line up to its parenthesis) and the whole text of a
// save (one line end in the text's own style).
TEST(LineRulesTest, EntryKeyAndWholeTextForSave) {
  const struct {
    const char* name;
    std::string (*make)(std::string_view);
    const char* in;
    const char* want;
  } rows[] = {
      {"key_basic_header", EntryKey, "Public Sub Draw(x As Integer)\r\nEnd Sub\r\n",
       "Public Sub Draw"},
      {"key_blanks_trimmed", EntryKey, "  Sub  Main ()\r\n", "Sub  Main"},
      {"key_no_parenthesis", EntryKey, "PROCEDURE Init\r\n   x := f(1)\r\n", "PROCEDURE Init"},
      {"key_lf_only", EntryKey, "FUNCTION Calc\n", "FUNCTION Calc"},
      {"key_single_line", EntryKey, "Sub X", "Sub X"},
      {"key_empty", EntryKey, "", ""},
      {"whole_crlf_missing", WholeTextForSave, "a\r\nb", "a\r\nb\r\n"},
      {"whole_crlf_present", WholeTextForSave, "a\r\nb\r\n", "a\r\nb\r\n"},
      {"whole_lf_missing", WholeTextForSave, "a\nb", "a\nb\n"},
      {"whole_no_line_end", WholeTextForSave, "abc", "abc\r\n"},
      {"whole_empty", WholeTextForSave, "", "\r\n"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.make(r.in), r.want) << r.name;
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
