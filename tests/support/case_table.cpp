#include "support/case_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/golden.h"

namespace qw::testing {

std::string Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (const char e = text[++i]; e == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e;
    }
  }
  return out;
}

std::vector<CaseRow> ReadCaseTable(const std::string& relative, size_t min_fields) {
  std::ifstream in(DataDir(relative), std::ios::binary);
  EXPECT_TRUE(in) << relative << " is missing";
  std::vector<CaseRow> rows;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    CaseRow row{relative + ":" + std::to_string(number), {}};
    for (size_t start = 0, i = 0; i <= line.size(); ++i) {
      if (i + 1 < line.size() && line[i] == '\\') {
        ++i;  // the escaped byte is no separator
      } else if (i == line.size() || line[i] == '|') {
        row.fields.push_back(Unescape(std::string_view(line).substr(start, i - start)));
        start = i + 1;
      }
    }
    EXPECT_GE(row.fields.size(), min_fields) << row.where;
    if (row.fields.size() >= min_fields) rows.push_back(std::move(row));
  }
  EXPECT_FALSE(rows.empty()) << relative << " holds no case";
  return rows;
}

}  // namespace qw::testing
