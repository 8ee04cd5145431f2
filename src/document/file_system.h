// The file system as the document model's file layer reaches it: every system
// call a load or a save makes that can fail goes through one FileSystem, so
// that a test can see each call in order and make any one of them fail. The
// calls behave as the system calls they are named after: -1 with errno set on
// failure.
#pragma once

#include <sys/types.h>
#include <sys/uio.h>

#include <string>

namespace qw {

class FileSystem {
 public:
  // The kinds of call, as a test counts and fails them.
  enum class Call { kOpen, kRead, kWrite, kSync, kLink, kRename, kLock, kClose, kChmod };

  FileSystem() = default;
  virtual ~FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;

  // open(2); `mode` for a file created.
  int Open(const std::string& path, int flags, mode_t mode = 0);
  // openat(2): `name` in the folder open as `folder` (AT_FDCWD: the current one).
  int OpenAt(int folder, const char* name, int flags);
  // mmap(2) of the first `size` bytes, read-only: nullptr when it cannot be
  // mapped (the caller then reads). Counted as a read.
  const char* Map(int fd, size_t size);
  // pread(2), retried when interrupted.
  ssize_t ReadAt(int fd, char* into, size_t n, off_t offset);
  // read(2) at the current offset, retried when interrupted.
  ssize_t Read(int fd, char* into, size_t n);
  // writev(2), retried when interrupted.
  ssize_t Write(int fd, const iovec* iov, int count);
  // fsync(2): the file, or a folder opened for reading.
  int Sync(int fd);
  // linkat(2) following symbolic links in `from` ("/proc/self/fd/N" names
  // an open file without a name).
  int Link(const std::string& from, const std::string& to);
  // rename(2): replaces `to` itself, a symbolic link there included.
  int Rename(const std::string& from, const std::string& to);
  // flock(2) LOCK_EX, waiting for the lock.
  int Lock(int fd);
  int Close(int fd);
  // fchmod(2).
  int SetMode(int fd, mode_t mode);

 protected:
  // Asked before each call: false makes the call fail with errno set by the
  // override (the system's own file system allows every call).
  virtual bool Allow(Call call, int fd, const std::string& path);
};

// The system's own file system.
FileSystem& SystemFiles();

}  // namespace qw
