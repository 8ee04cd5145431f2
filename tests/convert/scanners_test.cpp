#include "convert/scanners.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
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

// The word end read 16 bytes at a time against the plain byte-by-byte walk,
// from every offset of random texts of every byte value, word characters
// mostly, in runs that cross the 16-byte steps.
TEST(WordScanners, CodeWordEndIsWhereThePlainWalkStops) {
  std::mt19937 rng(16);
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 70, 'a');
    for (char& c : text) c = static_cast<char>(rng() % 4 ? "aZ09_!'\".m"[rng() % 10] : rng() % 256);
    for (size_t pos = 0; pos <= text.size(); ++pos) {
      size_t plain = pos;
      while (plain < text.size() && IsCodeWordChar(text[plain])) ++plain;
      ASSERT_EQ(CodeWordEnd(text, pos), plain) << text << " from " << pos;
    }
  }
}

}  // namespace
}  // namespace qw
