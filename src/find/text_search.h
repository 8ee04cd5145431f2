// Text search: finding a pattern in bytes, with or without regard to letter
// case. Letter case is folded one byte to one byte by a table of the code page
// (platform/case_fold.h; Windows-1252 unless another is given), the same way
// for the text and the pattern, so that a match always has the pattern's length.
//
// Offsets are 0-based byte offsets; "not found" is std::string_view::npos.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/case_fold.h"

namespace qw {

inline char FoldCase(char c, const CaseFold& fold = Windows1252CaseFold()) {
  return static_cast<char>(fold[static_cast<unsigned char>(c)]);
}

// True when `text` continues with `pattern` at `at`, letter case ignored
// unless `match_case`.
bool MatchesAt(std::string_view text, size_t at, std::string_view pattern, bool match_case,
               const CaseFold& fold = Windows1252CaseFold());

// A pattern prepared for repeated searches: forwards, starting anywhere. A
// search over megabytes runs at memory speed: candidates are found by two of
// the pattern's bytes, rare ones and apart (in either letter case), sixteen or
// thirty-two offsets at a time, and only then compared whole.
class PatternSearcher {
 public:
  PatternSearcher(std::string_view pattern, bool match_case,
                  const CaseFold& fold = Windows1252CaseFold());

  // The first offset at or after `from` where `text` continues with the
  // pattern. An empty pattern matches at `from` when from <= text.size().
  size_t Find(std::string_view text, size_t from = 0) const;
  // Appends to `into` every offset where `text` continues with the pattern,
  // in ascending order (overlapping ones too: 'aa' is found at 0, 1 and 2 in
  // 'aaaa'), as Find from one past each would find them.
  void FindAll(std::string_view text, std::vector<size_t>& into) const;

 private:
  // Find, or FindAll when `all` is given (then returning npos).
  size_t Scan(std::string_view text, size_t from, std::vector<size_t>* all) const;
  // Scan over blocks of offsets whose candidates `candidates` tells, from
  // offset `from` on while a whole block fits the text: the first match (npos:
  // none, or each one appended to `all`); `from` is left where the blocks stop.
  template <typename Candidates>
  size_t ScanBlocks(Candidates candidates, std::string_view text, size_t& from,
                    std::vector<size_t>* all) const;
  // ScanBlocks with thirty-two offsets a block, on processors with AVX2.
  size_t FindAvx2(std::string_view text, size_t& from, std::vector<size_t>* all) const;
  // Whether the bytes at `t` (the pattern's length of them, of `readable`
  // bytes there) are the pattern.
  bool MatchesHere(const char* t, size_t readable) const;

  std::string_view pattern_;
  bool match_case_;
  const CaseFold& fold_;
  // Two offsets into the pattern whose bytes are rare in source text; the
  // blocks of candidates are those where the text holds both. Each byte in
  // both letter cases (the same byte twice when it has none); `paired_` is
  // false when a folded byte stands for more than two bytes.
  size_t near_ = 0, far_ = 0;
  char near_bytes_[2] = {0, 0};
  char far_bytes_[2] = {0, 0};
  bool paired_ = true;
  // When letter case is ignored and each byte of the pattern is one of two
  // bytes that differ only in 0x20 (a letter of ASCII, or one such as 0xC9
  // and 0xE9 in Windows-1252) or stands alone: the pattern with those bits
  // set (`set_`) and the bits (`bits_`), so that bytes match when they equal
  // `set_` with `bits_` set in them, eight at a time (both padded to a whole
  // number of eight bytes with 0xff, which matches any byte). Empty otherwise.
  std::string set_, bits_;
};

// The first offset at or after `from` where `text` continues with `pattern`.
size_t FindForwards(std::string_view text, std::string_view pattern, size_t from, bool match_case,
                    const CaseFold& fold = Windows1252CaseFold());

// The greatest offset before `before` (before - 1, before - 2, ..., 0) where
// `text` continues with the whole of `pattern`; the offset `before` itself is
// never a candidate.
size_t FindBackwards(std::string_view text, std::string_view pattern, size_t before,
                     bool match_case, const CaseFold& fold = Windows1252CaseFold());

}  // namespace qw
