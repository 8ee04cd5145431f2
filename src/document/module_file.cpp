#include "document/module_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "document/line_rules.h"
#include "platform/fault.h"
#include "textlib/cliplib.h"

namespace qw {

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

FileHandle::~FileHandle() {
  if (fd_ >= 0) ::close(fd_);
}

int FileHandle::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

namespace {

Fault NotARegularFile() {
  return Fault(kFaultPathFileAccess, FaultDescription(kFaultPathFileAccess) + " (not a file)");
}

// Reads up to `n` bytes at the current offset, retrying interrupted reads.
size_t ReadSome(int fd, char* into, size_t n) {
  for (;;) {
    const ssize_t got = ::read(fd, into, n);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) throw FileFault(errno);
  }
}

// Writes the pieces in order, as few calls as the system allows.
void WriteAll(int fd, const std::vector<std::string_view>& pieces) {
  std::vector<iovec> iov;
  iov.reserve(pieces.size());
  for (std::string_view p : pieces) {
    if (!p.empty()) iov.push_back({const_cast<char*>(p.data()), p.size()});
  }
  size_t next = 0;
  while (next < iov.size()) {
    const int count = static_cast<int>(std::min<size_t>(iov.size() - next, IOV_MAX));
    const ssize_t put = ::writev(fd, iov.data() + next, count);
    if (put < 0) {
      if (errno == EINTR) continue;
      throw FileFault(errno);
    }
    // Skip what was written; a partial piece is resumed where it stopped.
    size_t done = static_cast<size_t>(put);
    while (next < iov.size() && done >= iov[next].iov_len) done -= iov[next++].iov_len;
    if (next < iov.size() && done > 0) {
      iov[next].iov_base = static_cast<char*>(iov[next].iov_base) + done;
      iov[next].iov_len -= done;
    }
  }
}

mode_t DefaultNewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

// The file a write to `path` must replace: the end of its chain of links.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::vector<char> resolved(PATH_MAX + 1);
  if (::realpath(path.c_str(), resolved.data()) != nullptr) return std::string(resolved.data());
  // A dangling link: write the file it names.
  std::vector<char> target(PATH_MAX + 1);
  const ssize_t n = ::readlink(path.c_str(), target.data(), PATH_MAX);
  if (n <= 0) throw FileFault(errno);
  std::string t(target.data(), static_cast<size_t>(n));
  if (t.front() == '/') return t;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? t : path.substr(0, slash + 1) + t;
}

FileStamp WriteAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                          bool flush, std::optional<mode_t> mode, bool keep_read_only) {
  const std::string target = ResolveTarget(path);
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) throw NotARegularFile();
    // A file the user may not write is not replaced behind its back.
    if (keep_read_only && ::access(target.c_str(), W_OK) != 0) throw FileFault(errno);
    if (!mode) mode = static_cast<mode_t>(st.st_mode & 07777);
  } else if (errno != ENOENT) {
    throw FileFault(errno);
  }
  if (!mode) mode = DefaultNewFileMode();

  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp =
      (slash == std::string::npos ? std::string() : folder) + "." + base + ".qwXXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  FileHandle out(::mkstemp(name.data()));
  if (out.fd() < 0) throw FileFault(errno);
  temp.assign(name.data());
  FileStamp stamp;
  try {
    WriteAll(out.fd(), pieces);
    if (::fchmod(out.fd(), *mode) != 0) throw FileFault(errno);
    if (flush && ::fsync(out.fd()) != 0) throw FileFault(errno);
    stamp = StampOf(out);
    if (::close(out.Release()) != 0) throw FileFault(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) throw FileFault(errno);
  } catch (...) {
    ::unlink(temp.c_str());
    throw;
  }
  if (flush) {
    FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd() >= 0) ::fsync(dir.fd());
  }
  return stamp;
}

}  // namespace

FileHandle OpenForReading(const std::string& path) {
  FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd() < 0) throw FileFault(errno);
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) throw FileFault(errno);
  if (!S_ISREG(st.st_mode)) throw NotARegularFile();
  return file;
}

FileStamp StampOf(const FileHandle& file) {
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) throw FileFault(errno);
  FileStamp s;
  s.size = static_cast<Int>(st.st_size);
  s.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

FileBytes FileBytes::Read(const std::string& path) {
  return Read(OpenForReading(path));
}

FileBytes::FileBytes(FileBytes&& other) noexcept {
  *this = std::move(other);
}

FileBytes& FileBytes::operator=(FileBytes&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, false);
    buffer_ = std::move(other.buffer_);
    stamp_ = other.stamp_;
  }
  return *this;
}

FileBytes::~FileBytes() {
  Release();
}

void FileBytes::Release() {
  if (mapped_) ::munmap(const_cast<char*>(data_), size_);
  mapped_ = false;
  data_ = nullptr;
  size_ = 0;
  buffer_.reset();
}

FileBytes FileBytes::Read(const FileHandle& file) {
  FileBytes fb;
  fb.stamp_ = StampOf(file);
  const size_t want = static_cast<size_t>(fb.stamp_.size);
  if (want == 0) return fb;
  void* map = ::mmap(nullptr, want, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.fd(), 0);
  if (map != MAP_FAILED) {
    fb.data_ = static_cast<const char*>(map);
    fb.size_ = want;
    fb.mapped_ = true;
    return fb;
  }
  fb.buffer_ = std::make_unique_for_overwrite<char[]>(want);
  if (::lseek(file.fd(), 0, SEEK_SET) < 0) throw FileFault(errno);
  size_t got_total = 0;
  while (got_total < want) {
    const size_t got = ReadSome(file.fd(), fb.buffer_.get() + got_total, want - got_total);
    if (got == 0) break;  // the file shrank while it was read
    got_total += got;
  }
  fb.data_ = fb.buffer_.get();
  fb.size_ = got_total;
  return fb;
}

FileLineReader::FileLineReader(const FileHandle& file, Int offset) : file_(file), base_(offset) {
  if (::lseek(file_.fd(), static_cast<off_t>(offset), SEEK_SET) < 0) throw FileFault(errno);
}

void FileLineReader::Fill() {
  constexpr size_t kBlock = 64 * 1024;
  size_t scan = pos_;  // bytes before this offset hold no line end
  while (!eof_ && std::memchr(buf_.data() + scan, '\n', buf_.size() - scan) == nullptr) {
    if (pos_ > 0) {
      buf_.erase(0, pos_);
      base_ += static_cast<Int>(pos_);
      pos_ = 0;
    }
    const size_t old = buf_.size();
    scan = old;
    buf_.resize(old + std::max(kBlock, old));  // a long line doubles the block
    const size_t got = ReadSome(file_.fd(), buf_.data() + old, buf_.size() - old);
    buf_.resize(old + got);
    if (got == 0) eof_ = true;
  }
}

bool FileLineReader::AtEnd() {
  if (pos_ < buf_.size()) return false;
  Fill();
  return pos_ >= buf_.size();
}

ByteLine FileLineReader::Next() {
  Fill();
  if (pos_ >= buf_.size()) throw Fault(kFaultInputPastEnd);
  ByteLine line = LineAt(buf_, pos_);
  pos_ = line.next;
  return line;
}

FileStamp WriteFileAtomically(const std::string& path, std::string_view bytes, bool flush) {
  return WriteAtomically(path, {bytes}, flush, std::nullopt, true);
}

FileStamp WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                              bool flush) {
  return WriteAtomically(path, pieces, flush, std::nullopt, true);
}

void CopyFileAtomically(const std::string& from, const std::string& to, bool flush) {
  const FileBytes bytes = FileBytes::Read(from);
  struct stat st {};
  std::optional<mode_t> mode;
  if (::stat(from.c_str(), &st) == 0) mode = static_cast<mode_t>(st.st_mode & 07777);
  WriteAtomically(to, {bytes.view()}, flush, mode, false);
}

void MakeBackup(const std::string& file, const std::string& backup, std::string_view bytes,
                bool flush) {
  const std::string target = ResolveTarget(file);
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) throw FileFault(errno);
  if (st.st_nlink == 1) {
    const std::string linked = backup + ".qw" + std::to_string(::getpid());
    ::unlink(linked.c_str());
    if (::link(target.c_str(), linked.c_str()) == 0) {
      if (::rename(linked.c_str(), backup.c_str()) == 0) {
        if (flush) {
          const size_t slash = backup.rfind('/');
          const std::string folder = slash == std::string::npos ? "." : backup.substr(0, slash + 1);
          FileHandle dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
          if (dir.fd() >= 0) ::fsync(dir.fd());
        }
        return;
      }
      ::unlink(linked.c_str());
    }
  }
  WriteAtomically(backup, {bytes}, flush, static_cast<mode_t>(st.st_mode & 07777), false);
}

std::optional<std::string> BackupName(const std::string& file_name) {
  const size_t slash = file_name.find_last_of("\\/");
  const size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = file_name.find('.', name_start);
  if (dot == std::string::npos) return std::nullopt;
  std::string backup = file_name.substr(0, dot) + ".BAK";
  // A module itself named like its backup: deleting that would lose it.
  if (Upper(backup) == Upper(file_name)) return std::nullopt;
  return backup;
}

}  // namespace qw
