#include "document/line_walk.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/cpu.h"

namespace qw {

// How far ahead of the walk the bytes are fetched: half a page, a few dozen blocks.
constexpr size_t kFetchAhead = 2048;

// Bit i of each mask stands for byte i of a block of 64.
struct BlockMasks {
  uint64_t line_ends = 0;  // LF
  uint64_t blanks = 0;     // space
  uint64_t letters = 0;    // F, P, S or E, either case
  uint64_t seconds = 0;    // U, R, T or N, either case: the second bytes of MayStopIndexer
};

namespace {

inline BlockMasks MasksOf(const char* block) {
  BlockMasks m;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), blank = _mm_set1_epi8(' '), lower = _mm_set1_epi8(0x20);
  const __m128i f = _mm_set1_epi8('f'), p = _mm_set1_epi8('p'), s = _mm_set1_epi8('s'),
                e = _mm_set1_epi8('e');
  const __m128i u = _mm_set1_epi8('u'), r = _mm_set1_epi8('r'), t = _mm_set1_epi8('t'),
                n = _mm_set1_epi8('n');
  for (int k = 0; k < 4; ++k) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * k));
    const __m128i folded = _mm_or_si128(v, lower);
    const __m128i letter =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(folded, f), _mm_cmpeq_epi8(folded, p)),
                     _mm_or_si128(_mm_cmpeq_epi8(folded, s), _mm_cmpeq_epi8(folded, e)));
    const auto bits = [k](__m128i hits) {
      return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(hits))) << (16 * k);
    };
    m.line_ends |= bits(_mm_cmpeq_epi8(v, lf));
    m.blanks |= bits(_mm_cmpeq_epi8(v, blank));
    m.letters |= bits(letter);
    m.seconds |=
        bits(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(folded, u), _mm_cmpeq_epi8(folded, r)),
                          _mm_or_si128(_mm_cmpeq_epi8(folded, t), _mm_cmpeq_epi8(folded, n))));
  }
#else
  for (int i = 0; i < 64; ++i) {
    const char folded = static_cast<char>(block[i] | 0x20);
    const uint64_t bit = uint64_t{1} << i;
    if (block[i] == '\n') m.line_ends |= bit;
    if (block[i] == ' ') m.blanks |= bit;
    if (folded == 'f' || folded == 'p' || folded == 's' || folded == 'e') m.letters |= bit;
    if (folded == 'u' || folded == 'r' || folded == 't' || folded == 'n') m.seconds |= bit;
  }
#endif
  return m;
}

#if defined(__x86_64__)
// The same masks 32 bytes at a time, on processors that have AVX2. A letter is
// told by one table look-up: the byte, in lower case, indexed by its low four
// bits gives itself back only for f (6), p (0), s (3) and e (5); a second byte
// likewise for u (5), r (2), t (4) and n (14).
__attribute__((target("avx2"), always_inline)) inline BlockMasks MasksOfAvx2(const char* block) {
  const __m256i lf = _mm256_set1_epi8('\n'), blank = _mm256_set1_epi8(' ');
  const __m256i lower = _mm256_set1_epi8(0x20), low_bits = _mm256_set1_epi8(0x0f);
  const __m256i table = _mm256_setr_epi8('p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         'p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m256i seconds = _mm256_setr_epi8(0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0,
                                           0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0);
  BlockMasks m;
  for (int k = 0; k < 2; ++k) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 32 * k));
    const __m256i folded = _mm256_or_si256(v, lower);
    const __m256i index = _mm256_and_si256(folded, low_bits);
    const __m256i letter = _mm256_cmpeq_epi8(_mm256_shuffle_epi8(table, index), folded);
    const __m256i second = _mm256_cmpeq_epi8(_mm256_shuffle_epi8(seconds, index), folded);
    const int shift = 32 * k;
    m.line_ends |=
        static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf))))
        << shift;
    m.blanks |= static_cast<uint64_t>(
                    static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, blank))))
                << shift;
    m.letters |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(letter)))
                 << shift;
    m.seconds |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(second)))
                 << shift;
  }
  return m;
}
#else
BlockMasks MasksOfAvx2(const char* block) {
  return MasksOf(block);
}
#endif

}  // namespace

inline void LineWalk::Take(const BlockMasks& m, size_t n) {
  // A line's first byte that is not a blank, for every line of the block at
  // once: adding a line's start bit to the blanks carries it over the blanks
  // the line begins with.
  const uint64_t starts = (m.line_ends << 1) | start_in_;
  start_in_ = m.line_ends >> 63;
  uint64_t sum = 0;
  const bool out = __builtin_add_overflow(m.blanks, starts, &sum);
  carry_ = static_cast<uint64_t>(__builtin_add_overflow(sum, carry_, &sum) || out);
  firsts_ = sum & ~m.blanks;
  if (n < 64) firsts_ &= (uint64_t{1} << n) - 1;
  // The byte after the block's last one is the next block's first, if any.
  const size_t after = block_ + 64;
  const char next = after < bytes_.size() ? static_cast<char>(bytes_[after] | 0x20) : 0;
  const bool second = next == 'u' || next == 'r' || next == 't' || next == 'n';
  stops_ = m.letters & ((m.seconds >> 1) | (static_cast<uint64_t>(second) << 63));
  line_ends_ = m.line_ends;
}

namespace {

// The masks of a block by SSE2 (or the scalar loop) and by AVX2.
struct Sse2Masks {
  BlockMasks operator()(const char* block) const { return MasksOf(block); }
};
struct Avx2Masks {
#if defined(__x86_64__)
  __attribute__((target("avx2"))) BlockMasks operator()(const char* block) const {
    return MasksOfAvx2(block);
  }
#else
  BlockMasks operator()(const char* block) const {
    return MasksOf(block);
  }
#endif
};

}  // namespace

template <typename Masks>
inline bool LineWalk::LoadUntil(Masks masks, bool stops) {
  const size_t size = bytes_.size();
  do {
    if (block_ + 64 >= size) return false;
    block_ += 64;
    // The bytes of a module just mapped are seldom in the processor's caches,
    // and its fetching ahead stops at each page: they are asked for ahead of
    // the walk (a hint, never a fault, the last byte at most).
    __builtin_prefetch(bytes_.data() + std::min(block_ + kFetchAhead, size - 1));
    if (size - block_ >= 64) {
      Take(masks(bytes_.data() + block_), 64);
    } else {
      TakeTail();
    }
  } while ((stops ? firsts_ & stops_ : firsts_) == 0);
  return true;
}

// Out of the loop, so that the loop needs no room on the stack.
__attribute__((noinline)) void LineWalk::TakeTail() {
  const size_t n = bytes_.size() - block_;
  char tail[64] = {};
  std::memcpy(tail, bytes_.data() + block_, n);
  // A search that indexes many short stretches of a module ends a walk at
  // each: the tail's masks are made the quicker way too.
  Take(avx2_ ? Avx2Masks()(tail) : MasksOf(tail), n);
}

LineWalk::LineWalk(std::string_view bytes, size_t pos)
    : bytes_(bytes), first_(pos), block_(pos), avx2_(CpuHasAvx2()) {
  if (block_ >= bytes_.size()) return;
  // The first block is read as the next ones are, from 64 bytes before it
  // (an unsigned offset: it may wrap below zero and back).
  block_ -= 64;
  Advance(false);
}

bool LineWalk::Advance(bool stops) {
  return avx2_ ? AdvanceAvx2(stops) : LoadUntil(Sse2Masks(), stops);
}

#if defined(__x86_64__)
__attribute__((target("avx2"), flatten)) bool LineWalk::AdvanceAvx2(bool stops) {
  return LoadUntil(Avx2Masks(), stops);
}
#else
bool LineWalk::AdvanceAvx2(bool stops) {
  return LoadUntil(Avx2Masks(), stops);
}
#endif

size_t LineWalk::LineEndOf(size_t at) const {
  const uint64_t from_at = line_ends_ & (~uint64_t{0} << (at - block_));
  if (from_at != 0) return block_ + static_cast<size_t>(__builtin_ctzll(from_at));
  if (bytes_.size() - block_ <= 64) return kEnd;
  const char* base = bytes_.data();
  const size_t after = block_ + 64;
  const void* found = std::memchr(base + after, '\n', bytes_.size() - after);
  return found ? static_cast<size_t>(static_cast<const char*>(found) - base) : kEnd;
}

size_t LineWalk::LineStartOf(size_t at) const {
  size_t start = at;
  while (start > first_ && bytes_[start - 1] == ' ') --start;
  return start;
}

ByteLine LineWalk::LineOf(size_t at) const {
  return LineEndingAt(bytes_, LineStartOf(at), LineEndOf(at));
}

std::string_view LineWalk::TextFrom(size_t at) const {
  return LineEndingAt(bytes_, at, LineEndOf(at)).text;
}

}  // namespace qw
