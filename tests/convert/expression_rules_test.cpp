#include "convert/expression_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "convert/rename_reserved.h"
#include "platform/port.h"
#include "support/case_table.h"
#include "support/fake_port.h"

namespace qw {
namespace {

// The operator rules, then the function rules, as the converter applies them.
std::string Expression(std::string line) {
  ApplyOperatorRules(line);
  std::string out;
  ApplyFunctionRules(line, out);
  EXPECT_EQ(out, "");
  return line;
}

std::string Renamed(std::string line) {
  const std::string got = RenameReserved(line);
  EXPECT_EQ(got, line) << "the returned line differs from the renamed one";
  return got;
}

// Every case of tests/data/convert/expression_rules.txt: RULE|IN|WANT.
TEST(ExpressionRules, RewriteOneLine) {
  testing::FakePort port;
  PortScope scope(port);
  const std::map<std::string, std::string (*)(std::string)> rules = {
      {"Expression", Expression},          {"Increments", ConvertIncrements},
      {"PlusAssign", ConvertPlusAssign},   {"MinusAssign", ConvertMinusAssign},
      {"Containment", ConvertContainment}, {"Rename", Renamed}};
  size_t cases = 0;
  for (const auto& row : testing::ReadCaseTable("convert/expression_rules.txt", 3)) {
    ASSERT_TRUE(rules.contains(row.fields[0])) << row.where;
    EXPECT_EQ(rules.at(row.fields[0])(row.fields[1]), row.fields[2]) << row.where;
    ++cases;
  }
  EXPECT_EQ(cases, 27u);
  EXPECT_TRUE(port.boxes.empty());
}

}  // namespace
}  // namespace qw
