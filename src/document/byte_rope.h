// A byte rope: a text made of pieces that stay where they are (ranges of the
// old file's bytes, the pane's text, constant line ends) instead of one
// copied buffer. A save builds the new file as a rope and writes its pieces
// in one go, so that the untouched part of a large module is never copied in
// memory. Sizes are in bytes.
#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace qw {

class ByteRope {
 public:
  // Appends `piece` by reference: its bytes must outlive the rope. A piece
  // that continues the last one in memory is joined to it.
  void Append(std::string_view piece) {
    if (piece.empty()) return;
    size_ += piece.size();
    if (!pieces_.empty() && pieces_.back().data() + pieces_.back().size() == piece.data()) {
      pieces_.back() =
          std::string_view(pieces_.back().data(), pieces_.back().size() + piece.size());
      return;
    }
    pieces_.push_back(piece);
  }
  // Appends a copy of `text`, kept by the rope.
  void AppendCopy(std::string text) {
    if (text.empty()) return;
    owned_.push_back(std::move(text));
    Append(owned_.back());
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // The last byte; the rope must not be empty.
  char back() const { return pieces_.back().back(); }
  const std::vector<std::string_view>& pieces() const { return pieces_; }
  // The whole text in one string.
  std::string Flatten() const { return Slice(0, size_); }
  // At most `max` bytes from offset `from`, in one string.
  std::string Slice(size_t from, size_t max) const {
    std::string s;
    s.reserve(std::min(max, size_ - std::min(from, size_)));
    size_t at = 0;
    for (std::string_view p : pieces_) {
      if (s.size() >= max) break;
      if (at + p.size() > from) {
        const size_t skip = from > at ? from - at : 0;
        s.append(p.substr(skip, max - s.size()));
      }
      at += p.size();
    }
    return s;
  }

 private:
  std::vector<std::string_view> pieces_;
  std::deque<std::string> owned_;  // a deque keeps the copies where they are
  size_t size_ = 0;
};

}  // namespace qw
