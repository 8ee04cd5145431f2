// The word walk: the words that repeated calls of TakeWord (text, extra) take
// from a copy of a text, one after another, visited without copying or
// erasing. A word is a maximal run of letters, digits and characters of
// `extra`; `extra` must not hold a blank (for such a set, TakeWord's walk and
// this one give the same words, and this one is linear in the text).
#pragma once

#include <string_view>

#include "textlib/cliplib.h"

namespace qw {

// Calls visit(word) for every word of `text`, left to right. `text` must
// outlive the walk; the words are views into it.
template <typename Visit>
void ForEachWord(std::string_view text, std::string_view extra, Visit visit) {
  auto is_word_char = [extra](char c) {
    return IsLetterChar(c) || IsDigitChar(c) || extra.find(c) != std::string_view::npos;
  };
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && !is_word_char(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && is_word_char(text[i])) ++i;
    if (i > start) visit(text.substr(start, i - start));
  }
}

}  // namespace qw
