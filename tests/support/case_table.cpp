#include "support/case_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/golden.h"

namespace qw::testing {

std::vector<CaseRow> ReadCaseTable(const std::string& relative, size_t min_fields) {
  std::ifstream in(DataDir(relative), std::ios::binary);
  EXPECT_TRUE(in) << relative << " is missing";
  std::vector<CaseRow> rows;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    CaseRow row{relative + ":" + std::to_string(number), {""}};
    for (size_t i = 0; i < line.size(); ++i) {
      std::string& field = row.fields.back();
      if (line[i] == '|') {
        row.fields.emplace_back();
      } else if (line[i] != '\\' || i + 1 == line.size()) {
        field += line[i];
      } else if (const char e = line[++i]; e == 'x' && i + 2 < line.size()) {
        field += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        field += e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e;
      }
    }
    EXPECT_GE(row.fields.size(), min_fields) << row.where;
    if (row.fields.size() >= min_fields) rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << relative << " holds no case";
  return rows;
}

}  // namespace qw::testing
