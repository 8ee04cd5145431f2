#include "cli/text_out.h"

#include <unistd.h>

#include <cerrno>

namespace qw::cli {

void FdOut::Write(std::string_view bytes) {
  if (error_ != 0) return;
  if (held_.size() + bytes.size() <= hold_) {
    held_.append(bytes);
    return;
  }
  // A large piece goes out as it stands, after what was held, without a copy.
  if (Flush()) Put(bytes);
}

bool FdOut::Flush() {
  if (error_ == 0 && !held_.empty()) Put(held_);
  held_.clear();
  return error_ == 0;
}

bool FdOut::Put(std::string_view bytes) {
  while (!bytes.empty() && error_ == 0) {
    const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
    if (put >= 0) {
      bytes.remove_prefix(static_cast<size_t>(put));
    } else if (errno != EINTR) {
      error_ = errno;
    }
  }
  return error_ == 0;
}

}  // namespace qw::cli
