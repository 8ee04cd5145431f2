// The line rules, the entry key and whole text of a save, backup names, entry
// strings and line ends: every case of tests/data/line_rules.txt.
#include "document/line_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "document/byte_lines.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_save.h"
#include "support/case_table.h"
#include "textlib/cliplib.h"

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
    // Where an entry ends is the two rules, the closing line's first.
    for (const IndexOptions options : {IndexOptions{false}, IndexOptions{true}}) {
      const std::string& line = row.fields[1];
      const EntryEnd want = EndsProcedure(line, options)     ? EntryEnd::kAfterThisLine
                            : StartsNextEntry(line, options) ? EntryEnd::kBeforeThisLine
                                                             : EntryEnd::kNotHere;
      EXPECT_EQ(WhereEntryEnds(line, options), want) << row.where;
    }
    ++cases;
    with_option += head.substr(0, blank).ends_with('+');
  }
  EXPECT_EQ(cases, 166);
  EXPECT_GT(with_option, 20);
}

// The usual shapes told in one go answer as the rules do, on random lines of
// header shapes followed by more bytes (a short line is not read past its end).
TEST(LineRulesTest, UsualShapesAnswerAsTheRules) {
  const std::vector<std::string> scopes = {"",        "",         "Private ", "Public ",  "Static ",
                                           "PUBLIC ", "private ", "Friend ",  "Public  ", "Priv "};
  const std::vector<std::string> keys = {"Sub",  "sUB",     "Function",     "FUNCTION", "Func",
                                         "Subs", "End Sub", "END FUNCTION", "End Func", "end  sub"};
  const std::vector<std::string> rests = {" ", "  ", "(", "\t", "", " x", ":", "tion"};
  const std::vector<std::string> names = {"X", "Total$(a)", "_b c", "(", "", "Form_Load()"};
  std::mt19937 rng(17);
  const auto any = [&rng](const std::vector<std::string>& v) { return v[rng() % v.size()]; };
  int headers = 0, ends = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string line = any(scopes) + any(keys) + any(rests) + any(names) + any(rests);
    const std::string bytes = line + any({"\r\n", "\n"}) + "Sub Sub Sub Sub Sub Sub";
    for (const IndexOptions options : {IndexOptions{false}, IndexOptions{true}}) {
      if (const size_t from = UsualHeaderNameFrom(bytes.data())) {
        ++headers;
        EXPECT_EQ(IndexerStop(line, options), StopKind::kCandidateHeader) << line;
        EXPECT_EQ(HeaderName(line, options), std::string(UsualHeaderName(line, from))) << line;
        if (const auto name = UsualHeaderNameIn(bytes, 0, from, bytes.find('\n'))) {
          EXPECT_EQ(HeaderName(line, options), std::string(*name)) << line;
        }
      }
      if (UsualProcedureEnd(bytes.data())) {
        ++ends;
        EXPECT_EQ(IndexerStop(line, options), StopKind::kEndOfProcedure) << line;
      }
    }
  }
  EXPECT_GT(headers, 1000);
  EXPECT_GT(ends, 1000);
}

// A line that begins with STATIC or END stops the indexer when it holds SUB
// or FUNCTION anywhere (letter case ignored), on random lines of every length.
TEST(LineRulesTest, StaticAndEndLinesStopWhereTheyHoldTheWords) {
  const std::vector<std::string> pieces = {"u", "U", "sub", "Function", "fun", "su", "x", " ", "b"};
  std::mt19937 rng(9);
  for (int round = 0; round < 20000; ++round) {
    std::string line = rng() % 2 ? "Static" : "End";
    for (size_t n = rng() % 12; n > 0; --n) line += pieces[rng() % pieces.size()];
    const std::string upper = Upper(line);
    const bool holds =
        upper.find("SUB") != std::string::npos || upper.find("FUNCTION") != std::string::npos;
    const StopKind want = !holds           ? StopKind::kOrdinary
                          : line[0] == 'S' ? StopKind::kCandidateHeader
                                           : StopKind::kEndOfProcedure;
    EXPECT_EQ(IndexerStop(line, {}), want) << line;
  }
}

// The indexer's quick tests turn a line away only where the rules do, on
// random lines of scope words, keywords and other words, by either options.
TEST(LineRulesTest, QuickTestsTurnAwayOnlyLinesTheRulesTurnAway) {
  const std::vector<std::string> words = {
      "Private", "Public", "Static", "PRIVATE", "Sub", "Function", "fu", "Property", "Get",
      "Friend",  "End",    "Meth",   "pROC",    "_",   "b",        "e",  "thod",     "m0",
      "calls",   "S",      "y",      "=",       "(",   "\t",       "\r", "\xd5",     ""};
  const std::vector<std::string> ends = {"\r\n", "\n", ""};
  std::mt19937 rng(23);
  int no_stop = 0, not_by_four = 0, not_by_scope = 0;
  for (int round = 0; round < 30000; ++round) {
    std::string line = words[rng() % 6 == 0 ? rng() % 4 : rng() % (words.size() - 1)];
    for (size_t n = rng() % 5; n > 0; --n) {
      line.append(rng() % 3, ' ');
      line += words[rng() % words.size()];
    }
    line.append(rng() % 2, ' ');
    const std::string end = ends[rng() % ends.size()];
    // What follows the line: more bytes to read, unless it is the last one.
    const std::string bytes = line + end + (end.empty() ? "" : "Sub Function End Sub yu");
    const bool holds = Upper(line).find_first_of("UY") != std::string::npos;
    ASSERT_EQ(MayHoldStopWord(bytes), holds) << line;
    no_stop += !holds;
    for (const IndexOptions options : {IndexOptions{false}, IndexOptions{true}}) {
      if (!holds) {
        EXPECT_EQ(IndexerStop(line, options), StopKind::kOrdinary) << line;
      }
      if (end.empty()) continue;
      if (!MayBeHeaderByFour(bytes.data(), options)) {
        ++not_by_four;
        EXPECT_EQ(HeaderName(line, options), std::nullopt) << line;
      }
    }
    if (!end.empty() && !ScopeLineMayBeHeader(bytes)) {
      ++not_by_scope;
      EXPECT_EQ(HeaderName(line, {}), std::nullopt) << line;
    }
  }
  EXPECT_GT(no_stop, 3000);
  EXPECT_GT(not_by_four, 3000);
  EXPECT_GT(not_by_scope, 300);
}

}  // namespace
}  // namespace qw
