#include "find/text_search.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/cpu.h"

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
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
  // Bytes side by side come together more often than apart ("ub" in Sub,
  // Public and Club): a neighbour of the rarest byte counts as more common.
  const auto apart = [&](size_t k) {
    return commonness(k) + ((k + 1 == near_ || k == near_ + 1) ? 8 : 0);
  };
  far_ = near_ == 0 ? pattern.size() - 1 : 0;
  for (size_t k = 0; k < pattern.size(); ++k) {
    if (k != near_ && pattern[k] != pattern[near_] &&
        (pattern[far_] == pattern[near_] || apart(k) < apart(far_))) {
      far_ = k;
    }
  }
  near_bytes_[0] = near_bytes_[1] = pattern[near_];
  far_bytes_[0] = far_bytes_[1] = pattern[far_];
  if (!match_case) {
    paired_ =
        CaseClass(pattern[near_], fold, near_bytes_) && CaseClass(pattern[far_], fold, far_bytes_);
    for (const char c : pattern) {
      char both[2];
      const bool two = CaseClass(c, fold, both);
      const char bits = static_cast<char>(both[0] ^ both[1]);
      if (!two || (bits != 0 && bits != 0x20)) {
        set_.clear();
        bits_.clear();
        break;
      }
      set_.push_back(static_cast<char>(c | bits));
      bits_.push_back(bits);
    }
    // Up to a whole number of eight bytes, padded with bytes that match any.
    while (!set_.empty() && set_.size() % 8 != 0) {
      set_.push_back('\xff');
      bits_.push_back('\xff');
    }
  }
}

bool PatternSearcher::MatchesHere(const char* t, size_t readable) const {
  const size_t m = pattern_.size();
  if (match_case_) return std::memcmp(t, pattern_.data(), m) == 0;
  if (set_.empty() || readable < set_.size()) {
    return MatchesAt(std::string_view(t, m), 0, pattern_, false, fold_);
  }
  for (size_t k = 0; k < set_.size(); k += 8) {
    uint64_t a, b, c;
    std::memcpy(&a, t + k, 8);
    std::memcpy(&b, bits_.data() + k, 8);
    std::memcpy(&c, set_.data() + k, 8);
    if ((a | b) != c) return false;
  }
  return true;
}

namespace {

// The candidates of a block of sixteen offsets: bit k set where the bytes at
// near + k and far + k are both one of the two each stands for.
struct Sse2Candidates {
  static constexpr size_t kWidth = 16;
  char near0, near1, far0, far1;
  unsigned operator()(const char* near, const char* far) const {
#if defined(__SSE2__)
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(near));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(far));
    const __m128i at_near = _mm_or_si128(_mm_cmpeq_epi8(a, _mm_set1_epi8(near0)),
                                         _mm_cmpeq_epi8(a, _mm_set1_epi8(near1)));
    const __m128i at_far = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8(far0)),
                                        _mm_cmpeq_epi8(b, _mm_set1_epi8(far1)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(at_near, at_far)));
#else
    unsigned mask = 0;
    for (size_t k = 0; k < kWidth; ++k) {
      const bool hit = (near[k] == near0 || near[k] == near1) && (far[k] == far0 || far[k] == far1);
      mask |= static_cast<unsigned>(hit) << k;
    }
    return mask;
#endif
  }
};

#if defined(__x86_64__)
// The same for thirty-two offsets, on processors with AVX2.
struct Avx2Candidates {
  static constexpr size_t kWidth = 32;
  char near0, near1, far0, far1;
  __attribute__((target("avx2"))) unsigned operator()(const char* near, const char* far) const {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(near));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(far));
    const __m256i at_near = _mm256_or_si256(_mm256_cmpeq_epi8(a, _mm256_set1_epi8(near0)),
                                            _mm256_cmpeq_epi8(a, _mm256_set1_epi8(near1)));
    const __m256i at_far = _mm256_or_si256(_mm256_cmpeq_epi8(b, _mm256_set1_epi8(far0)),
                                           _mm256_cmpeq_epi8(b, _mm256_set1_epi8(far1)));
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_and_si256(at_near, at_far)));
  }
};
#endif

}  // namespace

template <typename Candidates>
size_t PatternSearcher::ScanBlocks(Candidates candidates, std::string_view text, size_t& from,
                                   std::vector<size_t>* all) const {
  const size_t n = text.size(), m = pattern_.size();
  const char* near = text.data() + near_;
  const char* far = text.data() + far_;
  // While both loads stay inside the text (near_ and far_ are below m).
  size_t i = from;
  for (; i + m + Candidates::kWidth - 1 <= n; i += Candidates::kWidth) {
    for (unsigned mask = candidates(near + i, far + i); mask != 0; mask &= mask - 1) {
      const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
      if (MatchesHere(text.data() + at, n - at)) {
        if (all == nullptr) return at;
        all->push_back(at);
      }
    }
  }
  from = i;
  return std::string_view::npos;
}

#if defined(__x86_64__)
__attribute__((target("avx2"), flatten)) size_t PatternSearcher::FindAvx2(
    std::string_view text, size_t& from, std::vector<size_t>* all) const {
  return ScanBlocks(Avx2Candidates{near_bytes_[0], near_bytes_[1], far_bytes_[0], far_bytes_[1]},
                    text, from, all);
}
#endif

size_t PatternSearcher::Find(std::string_view text, size_t from) const {
  return Scan(text, from, nullptr);
}

void PatternSearcher::FindAll(std::string_view text, std::vector<size_t>& into) const {
  Scan(text, 0, &into);
}

size_t PatternSearcher::Scan(std::string_view text, size_t from, std::vector<size_t>* all) const {
  const size_t n = text.size();
  const size_t m = pattern_.size();
  if (m == 0) {
    if (all == nullptr) return from <= n ? from : std::string_view::npos;
    for (size_t at = from; at <= n; ++at) all->push_back(at);
    return std::string_view::npos;
  }
  if (from > n || n - from < m) return std::string_view::npos;
  const char* t = text.data();
  size_t i = from;
  if (paired_) {
    // Blocks of offsets told by two bytes at once, then the last ones one by one.
#if defined(__x86_64__)
    if (CpuHasAvx2()) {
      const size_t at = FindAvx2(text, i, all);
      if (at != std::string_view::npos) return at;
    }
#endif
    const size_t at = ScanBlocks(
        Sse2Candidates{near_bytes_[0], near_bytes_[1], far_bytes_[0], far_bytes_[1]}, text, i, all);
    if (at != std::string_view::npos) return at;
  }
  for (; i <= n - m; ++i) {
    if (MatchesHere(t + i, n - i)) {
      if (all == nullptr) return i;
      all->push_back(i);
    }
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
