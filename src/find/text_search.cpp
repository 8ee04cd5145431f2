#include "find/text_search.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qw {

namespace {

// The bytes that fold to the same byte as `c`: `both` gets the first two (the
// same byte twice when `c` has no other case); false when there are more.
bool CaseClass(char c, const CaseFold& fold, char both[2]) {
  const unsigned char folded = fold[static_cast<unsigned char>(c)];
  int found = 0;
  both[0] = both[1] = c;
  for (int i = 0; i < 256; ++i) {
    if (fold[i] != folded) continue;
    if (found == 2) return false;
    both[found++] = static_cast<char>(i);
  }
  if (found == 1) both[1] = both[0];
  return true;
}

// How common a byte is in source text, letter case aside: blanks, line ends
// and the most frequent letters are common; capitals count as their small
// letters; digits and punctuation are rare.
int Commonness(unsigned char c) {
  static constexpr char kByFrequency[] = "etaoinsrlcdhupmfgbywvkxjqz";
  if (c == ' ' || c == '\r' || c == '\n' || c == '\t') return 40;
  if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
  if (c >= 'a' && c <= 'z') {
    return 30 - static_cast<int>(std::strchr(kByFrequency, c) - kByFrequency);
  }
  return 0;
}

}  // namespace

bool MatchesAt(std::string_view text, size_t at, std::string_view pattern, bool match_case,
               const CaseFold& fold) {
  if (at > text.size() || text.size() - at < pattern.size()) return false;
  const char* t = text.data() + at;
  if (match_case) return std::memcmp(t, pattern.data(), pattern.size()) == 0;
  for (size_t k = 0; k < pattern.size(); ++k) {
    if (t[k] != pattern[k] && FoldCase(t[k], fold) != FoldCase(pattern[k], fold)) return false;
  }
  return true;
}

PatternSearcher::PatternSearcher(std::string_view pattern, bool match_case, const CaseFold& fold)
    : pattern_(pattern), match_case_(match_case), fold_(fold) {
  if (pattern.empty()) return;
  // The rarest byte, then the rarest other byte: fewer blocks hold both.
  auto commonness = [&](size_t k) { return Commonness(static_cast<unsigned char>(pattern[k])); };
  for (size_t k = 1; k < pattern.size(); ++k) {
    if (commonness(k) < commonness(near_)) near_ = k;
  }
  far_ = near_ == 0 ? pattern.size() - 1 : 0;
  for (size_t k = 0; k < pattern.size(); ++k) {
    if (k != near_ && pattern[k] != pattern[near_] &&
        (pattern[far_] == pattern[near_] || commonness(k) < commonness(far_))) {
      far_ = k;
    }
  }
  near_bytes_[0] = near_bytes_[1] = pattern[near_];
  far_bytes_[0] = far_bytes_[1] = pattern[far_];
  if (!match_case) {
    paired_ =
        CaseClass(pattern[near_], fold, near_bytes_) && CaseClass(pattern[far_], fold, far_bytes_);
  }
}

size_t PatternSearcher::Find(std::string_view text, size_t from) const {
  const size_t n = text.size();
  const size_t m = pattern_.size();
  if (m == 0) return from <= n ? from : std::string_view::npos;
  if (from > n || n - from < m) return std::string_view::npos;
  const char* t = text.data();
  const size_t last_start = n - m;  // the greatest offset a match can start at
  size_t i = from;
#if defined(__SSE2__)
  const __m128i n0 = _mm_set1_epi8(near_bytes_[0]), n1 = _mm_set1_epi8(near_bytes_[1]);
  const __m128i f0 = _mm_set1_epi8(far_bytes_[0]), f1 = _mm_set1_epi8(far_bytes_[1]);
  // Blocks of sixteen candidates while both loads stay inside the text
  // (near_ and far_ are below m).
  for (; paired_ && i + m + 15 <= n; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i + near_));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + i + far_));
    const __m128i near = _mm_or_si128(_mm_cmpeq_epi8(a, n0), _mm_cmpeq_epi8(a, n1));
    const __m128i far = _mm_or_si128(_mm_cmpeq_epi8(b, f0), _mm_cmpeq_epi8(b, f1));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(near, far)));
    while (mask != 0) {
      const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
      if (MatchesAt(text, at, pattern_, match_case_, fold_)) return at;
      mask &= mask - 1;
    }
  }
#endif
  for (; i <= last_start; ++i) {
    if (MatchesAt(text, i, pattern_, match_case_, fold_)) return i;
  }
  return std::string_view::npos;
}

size_t FindForwards(std::string_view text, std::string_view pattern, size_t from, bool match_case,
                    const CaseFold& fold) {
  return PatternSearcher(pattern, match_case, fold).Find(text, from);
}

size_t FindBackwards(std::string_view text, std::string_view pattern, size_t before,
                     bool match_case, const CaseFold& fold) {
  for (size_t at = before; at-- > 0;) {
    if (MatchesAt(text, at, pattern, match_case, fold)) return at;
  }
  return std::string_view::npos;
}

}  // namespace qw
