// The line rules, the entry key and whole text of a save, backup names, entry
// strings and line ends: every case of tests/data/line_rules.txt.
#include "document/line_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "document/byte_lines.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_save.h"
#include "support/case_table.h"

namespace qw {
namespace {

// What `rule` answers for `line`, as the table writes it; a rule whose name
// ends in "+" lists Property and Friend procedures.
std::string Answer(std::string rule, const std::string& line) {
  const IndexOptions options{.property_and_friend = rule.ends_with('+')};
  if (options.property_and_friend) rule.pop_back();
  const auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
  if (rule == "IndexerStop") {
    const StopKind kind = IndexerStop(line, options);
    return kind == StopKind::kCandidateHeader  ? "header"
           : kind == StopKind::kEndOfProcedure ? "end"
                                               : "ordinary";
  }
  if (rule == "HeaderName") {
    const std::optional<std::string> name = HeaderName(line, options);
    return name ? "=" + *name : "none";
  }
  if (rule == "EndsProcedure") return yes(EndsProcedure(line, options));
  if (rule == "StartsNextEntry") return yes(StartsNextEntry(line, options));
  if (rule == "DeclarationsAreEmpty") return yes(DeclarationsAreEmpty(line, options));
  if (rule == "EntryKey") return EntryKey(line);
  if (rule == "WholeTextForSave") return WholeTextForSave(line);
  if (rule == "BackupName") return BackupName(line).value_or("none");
  if (rule == "LineEndStyle") return std::string(LineEndStyle(line));
  if (rule == "WithLF" || rule == "WithCRLF")
    return WithLineEnds(line, rule == "WithLF" ? "\n" : "\r\n");
  if (rule == "EntryText") {
    const size_t blank = line.rfind(' ');
    return ProcedureEntry{line.substr(0, blank),
                          static_cast<Int>(std::stoll(line.substr(blank + 1)))}
        .Text();
  }
  ADD_FAILURE() << "unknown rule " << rule;
  return "";
}

TEST(LineRulesTest, AnswerEveryCaseOfTheTable) {
  int cases = 0, with_option = 0;
  for (const testing::CaseRow& row : testing::ReadCaseTable("line_rules.txt", 2)) {
    const std::string& head = row.fields[0];
    const size_t blank = head.find(' ');
    EXPECT_EQ(Answer(head.substr(0, blank), row.fields[1]), head.substr(blank + 1)) << row.where;
    ++cases;
    with_option += head.substr(0, blank).ends_with('+');
  }
  EXPECT_EQ(cases, 166);
  EXPECT_GT(with_option, 20);
}

}  // namespace
}  // namespace qw
