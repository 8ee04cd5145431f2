// Line walk: the lines of a byte buffer, walked forwards from a line's start
// 64 bytes at a time, each told by the offset of its first byte that is not a
// blank (a space) without reading the bytes after it. The indexer walks a
// module so: most lines need no look beyond that byte, and the line ends
// between them are found for a whole block at once. Lines are cut as
// byte_lines.h cuts them.
#pragma once

#include <cstdint>
#include <string_view>

#include "document/byte_lines.h"

namespace qw {

struct BlockMasks;

class LineWalk {
 public:
  static constexpr size_t kEnd = std::string_view::npos;

  // Walks `bytes` from `pos`, the offset of a line's first byte (at or past
  // the end: there is no line).
  LineWalk(std::string_view bytes, size_t pos);

  // The offset of the next line's first byte that is not a blank: its line
  // end for a line of blanks (CR or LF), nothing for a last line of blanks
  // without a line end. kEnd after the last line.
  size_t Next() {
    if (firsts_ == 0 && !advance_(*this, false)) return kEnd;
    const uint64_t bit = firsts_ & (~firsts_ + 1);
    firsts_ ^= bit;
    return block_ + static_cast<size_t>(__builtin_ctzll(bit));
  }

  // As Next, passing over every line whose first two bytes that are not
  // blanks cannot stop the indexer: MayStopIndexer is false for them, or the
  // first is the last byte of all.
  size_t NextMayStop() {
    if ((firsts_ & stops_) == 0 && !advance_(*this, true)) return kEnd;
    const uint64_t hits = firsts_ & stops_;
    const uint64_t bit = hits & (~hits + 1);
    firsts_ &= ~((bit << 1) - 1);  // the lines passed over are gone too
    return block_ + static_cast<size_t>(__builtin_ctzll(bit));
  }

  // The line whose first byte that is not a blank is at `at`, an offset the
  // last call of Next or NextMayStop returned.
  ByteLine LineOf(size_t at) const;
  // The text of LineOf(at) from `at` on (the line without the blanks it
  // begins with), found without looking back for the line's first byte.
  std::string_view TextFrom(size_t at) const;
  // The offset of LineOf(at)'s first byte, and of the LF that ends it (kEnd:
  // none, the last line).
  size_t LineStartOf(size_t at) const;
  size_t LineEndOf(size_t at) const;

 private:
  // Moves `walk` on to the next block that holds a line's first byte that is
  // not a blank (one where the indexer may stop, when `stops`); false at the
  // end of the bytes. One for each width.
  static bool AdvanceSse2(LineWalk& walk, bool stops);
  static bool AdvanceAvx2(LineWalk& walk, bool stops);
  static bool AdvanceAvx512(LineWalk& walk, bool stops);
  // Advancing to a block with a line (a stop, when kStops), the masks of
  // each block made by `masks`.
  template <bool kStops, typename Masks>
  bool LoadUntil(Masks masks);
  // Takes the masks of the block at block_, `n` bytes of it in the bytes.
  void Take(const BlockMasks& m, size_t n);
  // Takes the masks of the last block, of 64 bytes at most.
  void TakeTail();

  std::string_view bytes_;
  size_t first_;            // offset of the walk's first line
  size_t block_;            // offset of the current block
  uint64_t firsts_ = 0;     // bit i: byte block_ + i is a line's first byte that is not a blank,
                            // and that line is not walked yet
  uint64_t stops_ = 0;      // bit i: byte block_ + i is F, P, S or E and the byte after it
                            // U, R, T or N (either case)
  uint64_t line_ends_ = 0;  // bit i: byte block_ + i is LF
  uint64_t start_in_ = 1;   // bit 0 of the next block starts a line
  uint64_t carry_ = 0;      // a run of blanks at a line's start goes on into the next block
  enum class Width { k16, k32, k64 };
  Width width_;  // how many bytes the processor compares at a time
  // AdvanceSse2, AdvanceAvx2 or AdvanceAvx512 by width_, chosen once.
  bool (*advance_)(LineWalk& walk, bool stops);
};

}  // namespace qw
