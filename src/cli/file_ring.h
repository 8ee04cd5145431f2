// Reading many small files with few system calls: the open, the read and the
// close of every file of a batch are queued together on the kernel's
// submission ring (io_uring) and done in one call, each file read into a room
// of its own. Where the system has no such ring or refuses it (an older
// kernel, a container's filter, QW_NO_RING in the environment), the ring is
// not ready and its user reads the files one by one.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "document/module_file.h"

namespace qw::cli {

class FileRing {
 public:
  static constexpr size_t kBatch = 4;         // files read by one call
  static constexpr size_t kRoom = 256 << 10;  // bytes of a file read at most

  // A file to read: `name` opened from the folder open as `folder`
  // (AT_FDCWD: the current one), symbolic links followed as open follows them.
  struct File {
    int folder;
    const char* name;
  };

  FileRing();
  ~FileRing();
  FileRing(const FileRing&) = delete;
  FileRing& operator=(const FileRing&) = delete;

  bool ready() const { return ring_.fd() >= 0; }

  // Reads `files` (at most kBatch) on a ready ring and sets got[i] to the
  // whole bytes of files[i], valid until the next Read; to nothing when it
  // could not be opened or read, or holds kRoom bytes or more: the caller
  // then reads that file itself. Every file is closed again when it returns.
  void Read(std::span<const File> files, std::optional<std::string_view>* got);

 private:
  void Unmap();
  FileHandle ring_;
  // The rings shared with the kernel: submissions, their entries, completions.
  void* sq_ = nullptr;
  size_t sq_size_ = 0;
  void* cq_ = nullptr;  // the same mapping as sq_ where the kernel allows it
  size_t cq_size_ = 0;
  void* entries_ = nullptr;
  size_t entries_size_ = 0;
  unsigned *sq_tail_ = nullptr, *sq_mask_ = nullptr, *sq_array_ = nullptr;
  unsigned *cq_head_ = nullptr, *cq_tail_ = nullptr, *cq_mask_ = nullptr;
  void* cqes_ = nullptr;
  std::unique_ptr<char[]> room_;  // kBatch rooms of kRoom bytes, touched only where read
};

}  // namespace qw::cli
