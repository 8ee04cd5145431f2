// Case tables: rows of literal inputs and answers kept in a text file under
// tests/data, one case a line, read the same way by every table-driven test.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qw::testing {

struct CaseRow {
  std::string where;                // "FILE:LINE", for the failure message
  std::vector<std::string> fields;  // the fields of the line, escapes decoded
};
inline void PrintTo(const CaseRow& row, std::ostream* os) {
  *os << row.where;
}

// `text` with \t \r \n \\ \| and \xHH standing for their bytes.
std::string Unescape(std::string_view text);

// The rows of tests/data/`relative`. Blank lines and lines starting with '#'
// are skipped; fields are separated by '|'; inside a field \t \r \n \\ \| and
// \xHH stand for their bytes. Fails the test when the file is missing, holds
// no row, or a row has fewer than `min_fields` fields.
std::vector<CaseRow> ReadCaseTable(const std::string& relative, size_t min_fields);

}  // namespace qw::testing
