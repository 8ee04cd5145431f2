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

// Bit i of each mask stands for byte i of a block of 64. A block's masks are
// made from 65 bytes: its own and the one after it (a zero past the end).
struct BlockMasks {
  uint64_t line_ends = 0;  // LF
  uint64_t blanks = 0;     // space
  uint64_t stops = 0;      // F, P, S or E, and the byte after it U, R, T or N (either case)
};

namespace {

inline bool IsSecondOfStop(char c) {
  const char folded = static_cast<char>(c | 0x20);
  return folded == 'u' || folded == 'r' || folded == 't' || folded == 'n';
}

// The stops of a block from its letters and second bytes, byte i and byte i + 1.
inline uint64_t StopsOf(uint64_t letters, uint64_t seconds, char after) {
  return letters & ((seconds >> 1) | (static_cast<uint64_t>(IsSecondOfStop(after)) << 63));
}

inline BlockMasks MasksOf(const char* block) {
  BlockMasks m;
  uint64_t letters = 0, seconds = 0;
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
    letters |= bits(letter);
    seconds |=
        bits(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(folded, u), _mm_cmpeq_epi8(folded, r)),
                          _mm_or_si128(_mm_cmpeq_epi8(folded, t), _mm_cmpeq_epi8(folded, n))));
  }
#else
  for (int i = 0; i < 64; ++i) {
    const char folded = static_cast<char>(block[i] | 0x20);
    const uint64_t bit = uint64_t{1} << i;
    if (block[i] == '\n') m.line_ends |= bit;
    if (block[i] == ' ') m.blanks |= bit;
    if (folded == 'f' || folded == 'p' || folded == 's' || folded == 'e') letters |= bit;
    if (IsSecondOfStop(block[i])) seconds |= bit;
  }
#endif
  m.stops = StopsOf(letters, seconds, block[64]);
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
  uint64_t letters = 0, second_bytes = 0;
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
    letters |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(letter))) << shift;
    second_bytes |= static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(second)))
                    << shift;
  }
  m.stops = StopsOf(letters, second_bytes, block[64]);
  return m;
}

// The same masks 64 bytes at a time with AVX-512BW, whose compares give the
// masks themselves. The second bytes are read from the block one byte on, so
// that each stop is one bit of one compare.
__attribute__((target("avx512f,avx512bw"), always_inline)) inline BlockMasks MasksOfAvx512(
    const char* block) {
  // The two tables of MasksOfAvx2, for each of the four lanes of 16 bytes.
  alignas(64) static constexpr char kTables[2][64] = {
      {'p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
       'p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
       'p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
       'p', 0, 0, 's', 0, 'e', 'f', 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0,  //
       0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0,  //
       0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0,  //
       0, 0, 'r', 0, 't', 'u', 0, 0, 0, 0, 0, 0, 0, 0, 'n', 0}};
  const __m512i lower = _mm512_set1_epi8(0x20), low_bits = _mm512_set1_epi8(0x0f);
  const __m512i table = _mm512_load_si512(kTables[0]);
  const __m512i seconds = _mm512_load_si512(kTables[1]);
  const __m512i v = _mm512_loadu_si512(block);
  const __m512i next = _mm512_loadu_si512(block + 1);
  const __m512i folded = _mm512_or_si512(v, lower);
  const __m512i next_folded = _mm512_or_si512(next, lower);
  const __mmask64 letter = _mm512_cmpeq_epi8_mask(
      _mm512_shuffle_epi8(table, _mm512_and_si512(folded, low_bits)), folded);
  BlockMasks m;
  m.line_ends = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8('\n'));
  m.blanks = _mm512_cmpeq_epi8_mask(v, _mm512_set1_epi8(' '));
  m.stops = _mm512_mask_cmpeq_epi8_mask(
      letter, _mm512_shuffle_epi8(seconds, _mm512_and_si512(next_folded, low_bits)), next_folded);
  return m;
}
#else
BlockMasks MasksOfAvx2(const char* block) {
  return MasksOf(block);
}
BlockMasks MasksOfAvx512(const char* block) {
  return MasksOf(block);
}
#endif

}  // namespace

namespace {

// A line's first byte that is not a blank, for every line of a block at once:
// adding a line's start bit to the blanks carries it over the blanks the line
// begins with. `start_in` (bit 0 starts a line) and `carry` (a run of blanks
// at a line's start goes on) come from the block before and go to the next.
inline uint64_t FirstsOf(const BlockMasks& m, uint64_t& start_in, uint64_t& carry) {
  const uint64_t starts = (m.line_ends << 1) | start_in;
  start_in = m.line_ends >> 63;
  uint64_t sum = 0;
  const bool out = __builtin_add_overflow(m.blanks, starts, &sum);
  carry = static_cast<uint64_t>(__builtin_add_overflow(sum, carry, &sum) || out);
  return sum & ~m.blanks;
}

}  // namespace

inline void LineWalk::Take(const BlockMasks& m, size_t n) {
  firsts_ = FirstsOf(m, start_in_, carry_);
  if (n < 64) firsts_ &= (uint64_t{1} << n) - 1;
  stops_ = m.stops;
  line_ends_ = m.line_ends;
}

namespace {

// The masks of a block by SSE2 (or the scalar loop), by AVX2 and by AVX-512.
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
struct Avx512Masks {
#if defined(__x86_64__)
  __attribute__((target("avx512f,avx512bw"))) BlockMasks operator()(const char* block) const {
    return MasksOfAvx512(block);
  }
#else
  BlockMasks operator()(const char* block) const {
    return MasksOf(block);
  }
#endif
};

}  // namespace

template <bool kStops, typename Masks>
inline bool LineWalk::LoadUntil(Masks masks) {
  const size_t size = bytes_.size();
  const char* base = bytes_.data();
  // The walk's state stays in registers from block to block, and the loop
  // calls nothing: the last block, shorter or at the very end, is taken after it.
  size_t block = block_;
  uint64_t start_in = start_in_, carry = carry_;
  while (size - block > 128) {  // the next block and the byte after it are there
    block += 64;
    // The bytes of a module just mapped are seldom in the processor's caches,
    // and its fetching ahead stops at each page: they are asked for ahead of
    // the walk (a hint, never a fault, the last byte at most).
    __builtin_prefetch(base + std::min(block + kFetchAhead, size - 1));
    const BlockMasks m = masks(base + block);
    const uint64_t firsts = FirstsOf(m, start_in, carry);
    if ((kStops ? firsts & m.stops : firsts) != 0) {
      block_ = block;
      start_in_ = start_in;
      carry_ = carry;
      firsts_ = firsts;
      stops_ = m.stops;
      line_ends_ = m.line_ends;
      return true;
    }
  }
  start_in_ = start_in;
  carry_ = carry;
  if (block + 64 >= size) {
    block_ = block;
    firsts_ = 0;  // every line left is passed over
    return false;
  }
  block_ = block + 64;
  TakeTail();
  return (kStops ? firsts_ & stops_ : firsts_) != 0;
}

// Out of the loop, so that the loop needs no room on the stack.
__attribute__((noinline)) void LineWalk::TakeTail() {
  const size_t n = bytes_.size() - block_;
  char tail[65] = {};  // no byte after the last
  std::memcpy(tail, bytes_.data() + block_, n);
  // A search that indexes many short stretches of a module ends a walk at
  // each: the tail's masks are made the quicker way too.
  switch (width_) {
    case Width::k64:
      Take(Avx512Masks()(tail), n);
      break;
    case Width::k32:
      Take(Avx2Masks()(tail), n);
      break;
    case Width::k16:
      Take(MasksOf(tail), n);
      break;
  }
}

LineWalk::LineWalk(std::string_view bytes, size_t pos)
    : bytes_(bytes),
      first_(pos),
      block_(pos),
      width_(CpuHasAvx512() ? Width::k64
             : CpuHasAvx2() ? Width::k32
                            : Width::k16),
      advance_(width_ == Width::k64   ? AdvanceAvx512
               : width_ == Width::k32 ? AdvanceAvx2
                                      : AdvanceSse2) {
  if (block_ >= bytes_.size()) {
    block_ = bytes_.size();  // nothing to walk, whatever `pos` was
    return;
  }
  // The first block is read as the next ones are, from 64 bytes before it
  // (an unsigned offset: it may wrap below zero and back).
  block_ -= 64;
  advance_(*this, false);
}

bool LineWalk::AdvanceSse2(LineWalk& walk, bool stops) {
  return stops ? walk.LoadUntil<true>(Sse2Masks()) : walk.LoadUntil<false>(Sse2Masks());
}

#if defined(__x86_64__)
__attribute__((target("avx2"), flatten)) bool LineWalk::AdvanceAvx2(LineWalk& walk, bool stops) {
  return stops ? walk.LoadUntil<true>(Avx2Masks()) : walk.LoadUntil<false>(Avx2Masks());
}
__attribute__((target("avx512f,avx512bw"), flatten)) bool LineWalk::AdvanceAvx512(LineWalk& walk,
                                                                                  bool stops) {
  return stops ? walk.LoadUntil<true>(Avx512Masks()) : walk.LoadUntil<false>(Avx512Masks());
}
#else
bool LineWalk::AdvanceAvx2(LineWalk& walk, bool stops) {
  return stops ? walk.LoadUntil<true>(Avx2Masks()) : walk.LoadUntil<false>(Avx2Masks());
}
bool LineWalk::AdvanceAvx512(LineWalk& walk, bool stops) {
  return stops ? walk.LoadUntil<true>(Avx512Masks()) : walk.LoadUntil<false>(Avx512Masks());
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
