// The line rules (their cases in tests/data/line_rules.txt), the entry key of a
// save, backup names and entry strings.
#include "document/line_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

#include "document/byte_lines.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_save.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

// Every case of tests/data/line_rules.txt: "RULE ANSWER|LINE", the rule with
// Property and Friend procedures listed when its name ends in "+".
TEST(LineRulesTest, AnswerEveryCaseOfTheTable) {
  std::ifstream in(std::string(QW_TEST_DATA) + "/line_rules.txt");
  int cases = 0, with_option = 0;
  for (std::string row; std::getline(in, row);) {
    if (row.empty() || row[0] == '#') continue;
    const size_t blank = row.find(' '), bar = row.find('|');
    std::string rule = row.substr(0, blank);
    const std::string want = row.substr(blank + 1, bar - blank - 1);
    const std::string line = StrTran(row.substr(bar + 1), "\\t", "\t");
    const IndexOptions options{.property_and_friend = rule.ends_with('+')};
    if (options.property_and_friend) {
      rule.pop_back();
      ++with_option;
    }
    std::string got;
    if (rule == "IndexerStop") {
      const StopKind kind = IndexerStop(line, options);
      got = kind == StopKind::kCandidateHeader  ? "header"
            : kind == StopKind::kEndOfProcedure ? "end"
                                                : "ordinary";
    } else if (rule == "HeaderName") {
      const std::optional<std::string> name = HeaderName(line, options);
      got = name ? "=" + *name : "none";
    } else {
      bool (*const test)(std::string_view, IndexOptions) = rule == "EndsProcedure" ? EndsProcedure
                                                           : rule == "StartsNextEntry"
                                                               ? StartsNextEntry
                                                               : DeclarationsAreEmpty;
      got = test(line, options) ? "yes" : "no";
    }
    EXPECT_EQ(got, want) << row;
    ++cases;
  }
  EXPECT_GT(cases, 80);
  EXPECT_GT(with_option, 20);
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
