#include "convert/scanners.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/case_table.h"
#include "support/fake_port.h"

namespace qw {
namespace {

using testing::FakePort;

// Every case of tests/data/convert/scanners.txt.
TEST(WordScanners, TakeWordsAsTheirCharacterSetsSay) {
  const std::map<std::string, std::string (*)(std::string&)> scanners = {
      {"VBWord", GetNextVBWord},
      {"CodeWord", GetNextCodeWord},
      {"SpacedWord", GetNextSpacedWord},
      {"PSOWord", GetNextPSOWord}};
  size_t cases = 0;
  for (const auto& row : testing::ReadCaseTable("convert/scanners.txt", 2)) {
    const std::vector<std::string>& f = row.fields;
    std::vector<std::string> got;
    if (f[0] == "Tokens") {
      StartScan(f[1]);
      for (std::string t; !(t = GetNextWord()).empty();) got.push_back(t);
    } else {
      ASSERT_TRUE(scanners.contains(f[0]) && f.size() >= 4) << row.where;
      std::string text = f[1];
      for (size_t i = 2; i + 1 < f.size(); ++i) got.push_back(scanners.at(f[0])(text));
      got.push_back(text);
    }
    EXPECT_EQ(got, std::vector<std::string>(f.begin() + 2, f.end())) << row.where;
    ++cases;
  }
  EXPECT_EQ(cases, 27u);
}

TEST(GetNextWord, ReportsAFaultAndReturnsEmpty) {
  FakePort port;
  PortScope scope(port);
  TheScanState() = ScanState{"ab", 1, 5};  // the end lies past the text
  EXPECT_EQ(GetNextWord(), "");
  ASSERT_EQ(port.boxes.size(), 1u);
  EXPECT_EQ(port.boxes[0].title, "Program Error");
  EXPECT_NE(port.boxes[0].text.find("Procname: GetNextWord"), std::string::npos);
}

}  // namespace
}  // namespace qw
