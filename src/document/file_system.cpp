#include "document/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace qw {

bool FileSystem::Allow(Call, int, const std::string&) {
  return true;
}

int FileSystem::Open(const std::string& path, int flags, mode_t mode) {
  if (!Allow(Call::kOpen, -1, path)) return -1;
  for (;;) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EINTR) return fd;
  }
}

int FileSystem::OpenAt(int folder, const char* name, int flags) {
  if (!Allow(Call::kOpen, folder, name)) return -1;
  for (;;) {
    const int fd = ::openat(folder, name, flags | O_CLOEXEC);
    if (fd >= 0 || errno != EINTR) return fd;
  }
}

const char* FileSystem::Map(int fd, size_t size) {
  if (!Allow(Call::kRead, fd, {})) return nullptr;
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  return map == MAP_FAILED ? nullptr : static_cast<const char*>(map);
}

ssize_t FileSystem::ReadAt(int fd, char* into, size_t n, off_t offset) {
  if (!Allow(Call::kRead, fd, {})) return -1;
  for (;;) {
    const ssize_t got = ::pread(fd, into, n, offset);
    if (got >= 0 || errno != EINTR) return got;
  }
}

ssize_t FileSystem::Read(int fd, char* into, size_t n) {
  if (!Allow(Call::kRead, fd, {})) return -1;
  for (;;) {
    const ssize_t got = ::read(fd, into, n);
    if (got >= 0 || errno != EINTR) return got;
  }
}

ssize_t FileSystem::Write(int fd, const iovec* iov, int count) {
  if (!Allow(Call::kWrite, fd, {})) return -1;
  for (;;) {
    const ssize_t put = ::writev(fd, iov, count);
    if (put >= 0 || errno != EINTR) return put;
  }
}

int FileSystem::Sync(int fd) {
  if (!Allow(Call::kSync, fd, {})) return -1;
  return ::fsync(fd);
}

int FileSystem::Link(const std::string& from, const std::string& to) {
  if (!Allow(Call::kLink, -1, to)) return -1;
  return ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW);
}

int FileSystem::Rename(const std::string& from, const std::string& to) {
  if (!Allow(Call::kRename, -1, to)) return -1;
  return ::rename(from.c_str(), to.c_str());
}

int FileSystem::Lock(int fd) {
  if (!Allow(Call::kLock, fd, {})) return -1;
  for (;;) {
    const int r = ::flock(fd, LOCK_EX);
    if (r == 0 || errno != EINTR) return r;
  }
}

int FileSystem::Close(int fd) {
  if (!Allow(Call::kClose, fd, {})) {
    const int saved = errno;
    ::close(fd);  // the descriptor is gone all the same
    errno = saved;
    return -1;
  }
  return ::close(fd);
}

int FileSystem::SetMode(int fd, mode_t mode) {
  if (!Allow(Call::kChmod, fd, {})) return -1;
  return ::fchmod(fd, mode);
}

FileSystem& SystemFiles() {
  static FileSystem system;
  return system;
}

}  // namespace qw
