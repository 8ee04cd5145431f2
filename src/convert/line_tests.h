// The tests the converter's rules make on a line: does it hold a text, in
// exact letter case or in any (ASCII) letter case, and does it begin with one.
// Texts are bytes; none of these fails.
#pragma once

#include <string_view>

#include "textlib/cliplib.h"

namespace qw {

// True when `what` occurs in `text`, letter case exact.
inline bool Has(std::string_view text, std::string_view what) {
  return text.find(what) != std::string_view::npos;
}

// True when `what` occurs in `text`, letter case ignored. An empty `what` is
// held by every text.
inline bool HasNoCase(std::string_view text, std::string_view what) {
  return InStrNoCase(text, what) > 0;
}

// True when `text` begins with `prefix`, letter case ignored.
inline bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && InStrNoCase(text.substr(0, prefix.size()), prefix) == 1;
}

}  // namespace qw
