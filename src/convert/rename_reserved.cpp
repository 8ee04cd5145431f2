#include "convert/rename_reserved.h"

#include <string_view>

#include "convert/word_walk.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

struct Rename {
  std::string_view word;  // upper case, as the walk compares it
  std::string_view key;   // lower case, as the line is searched for it
  std::string_view replacement;
};

constexpr Rename kReserved[] = {
    {"LINE", "line", "pString"},     {"CSTR", "cstr", "cstrg"},
    {"STRING", "string", "cString"}, {"CURRENCY", "currency", "currncy"},
    {"RIGHT", "right", "nRight"},    {"EMPTY", "empty", "emty"},
    {"LEFT", "left", "nLeft"},       {"ERROR", "error", "lError"},
    {"DATA", "data", "cData"},       {"COUNT", "count", "nCount"},
};

bool EqualsUpper(std::string_view word, std::string_view upper) {
  if (word.size() != upper.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (UpperChar(word[i]) != upper[i]) return false;
  }
  return true;
}

}  // namespace

std::string RenameReserved(std::string& line) {
  const std::string copy = line;
  ForEachWord(copy, "_", [&line](std::string_view word) {
    for (const Rename& r : kReserved) {
      if (EqualsUpper(word, r.word)) {
        ReplaceFirst(line, r.key, r.replacement);
        return;
      }
    }
  });
  return line;
}

}  // namespace qw
