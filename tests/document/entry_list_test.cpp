// An entry list built again in the storage of an earlier one holds exactly
// what a list built from nothing holds: no name, byte or position of the
// earlier module is left over, whether the new names are fewer, shorter,
// longer than the room kept, or none at all. A copy holds the same, and a
// block of names kept from before still holds the earlier names.
#include "document/entry_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/module_index.h"

namespace qw::testing {
namespace {

std::string Procedures(int count, const std::string& stem) {
  std::string text = "Option Explicit\r\n";
  for (int i = 0; i < count; ++i)
    text += "Sub " + stem + std::to_string(i) + "()\r\n  x = 1\r\nEnd Sub\r\n";
  return text;
}

std::vector<std::string> Listed(const EntryList& list) {
  std::vector<std::string> out;
  for (const EntryView e : list) out.push_back(e.Text());
  out.emplace_back(list.names().bytes);
  return out;
}

TEST(EntryListTest, ABuiltAgainListHoldsNothingOfTheOneBefore) {
  const std::string long_stem(300, 'L');
  // Names of every length from 1 to 40 bytes (the short ones are copied apart).
  std::string every_length;
  for (int n = 1; n <= 40; ++n) every_length += Procedures(1, std::string(n - 1, 'a' + n % 26));
  const struct {
    const char* name;
    std::string before, after;
  } rows[] = {
      {"fewer and shorter names", Procedures(50, long_stem), Procedures(3, "A")},
      {"more names than the room kept", Procedures(2, "A"), Procedures(400, long_stem)},
      {"no names at all", Procedures(20, "Name"), ""},
      {"the same module again", Procedures(30, "Same"), Procedures(30, "Same")},
      {"names of every length", Procedures(9, "Nine"), every_length},
  };
  for (const auto& row : rows) {
    for (const bool keep : {false, true}) {
      EntryList reused = IndexModule(row.before, "M.BAS", {}, CurrentPort());
      const NameBlock kept = keep ? reused.names() : NameBlock{};
      reused = IndexModule(row.after, "M.BAS", {}, CurrentPort(), std::move(reused));
      const EntryList fresh = IndexModule(row.after, "M.BAS", {}, CurrentPort());
      EXPECT_EQ(Listed(reused), Listed(fresh)) << row.name << " keep " << keep;
      EXPECT_EQ(Listed(EntryList(reused)), Listed(fresh)) << row.name << " (copied)";
      if (keep) {
        EXPECT_EQ(kept.bytes, IndexModule(row.before, "M.BAS", {}, CurrentPort()).names().bytes)
            << row.name << " (the kept block)";
      }
    }
  }
}

}  // namespace
}  // namespace qw::testing
