#include "document/module_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
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

void CloseOrThrow(FileHandle& file, FileSystem& fs) {
  if (fs.Close(file.Release()) != 0) throw FileFault(errno);
}

// Writes the pieces in order, as few calls as the system allows.
void WriteAll(int fd, const std::vector<std::string_view>& pieces, FileSystem& fs) {
  std::vector<iovec> iov;
  iov.reserve(pieces.size());
  for (std::string_view p : pieces) {
    if (!p.empty()) iov.push_back({const_cast<char*>(p.data()), p.size()});
  }
  size_t next = 0;
  while (next < iov.size()) {
    const int count = static_cast<int>(std::min<size_t>(iov.size() - next, IOV_MAX));
    const ssize_t put = fs.Write(fd, iov.data() + next, count);
    if (put < 0) throw FileFault(errno);
    if (put == 0) throw FileFault(EIO);
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

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The start of the names of this process's temporary files for `path`:
// ".NAME.qwPID." in the same folder.
std::string TempPrefix(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return folder + "." + BaseOf(path) + ".qw" + std::to_string(::getpid()) + ".";
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device rd;
  std::string s(8, 'a');
  for (char& c : s) c = kLetters[rd() % (sizeof kLetters - 1)];
  return s;
}

// Flushes the folder of `path`, so that a rename made in it lasts. The
// rename has been made by then: a failure here is not the save's.
void SyncFolder(const std::string& path, FileSystem& fs) {
  FileHandle dir(fs.Open(FolderOf(path), O_RDONLY | O_DIRECTORY));
  if (dir.fd() >= 0) fs.Sync(dir.fd());
}

// A new file that gets the name of `target` only once it is complete. Where
// the file system allows it, it has no name at all until then; otherwise a
// hidden temporary name that names this process, so that a run killed
// before the rename leaves a file the next save can tell is stale.
class NewFile {
 public:
  NewFile(std::string target, FileSystem& fs) : fs_(fs), target_(std::move(target)) {
    if (::access("/proc/self/fd", X_OK) == 0) {
      file_ = FileHandle(fs_.Open(FolderOf(target_), O_TMPFILE | O_WRONLY, 0600));
      if (file_.fd() >= 0) return;
      if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throw FileFault(errno);
    }
    for (int tries = 0; file_.fd() < 0; ++tries) {
      temp_ = TempPrefix(target_) + RandomSuffix();
      file_ = FileHandle(fs_.Open(temp_, O_WRONLY | O_CREAT | O_EXCL, 0600));
      if (file_.fd() < 0 && (errno != EEXIST || tries > 100)) {
        temp_.clear();
        throw FileFault(errno);
      }
    }
  }
  ~NewFile() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Writes the bytes, sets the permission bits, flushes them to disk when
  // `flush` is true; the stamp of the complete file.
  FileStamp Write(const std::vector<std::string_view>& pieces, mode_t mode, bool flush) {
    WriteAll(file_.fd(), pieces, fs_);
    if (fs_.SetMode(file_.fd(), mode) != 0) throw FileFault(errno);
    if (flush && fs_.Sync(file_.fd()) != 0) throw FileFault(errno);
    return StampOf(file_);
  }

  // Gives the file the name of the target, replacing what stands there.
  void Install() {
    if (temp_.empty()) {
      // A name first, then the rename: a link cannot replace a name.
      const std::string proc = "/proc/self/fd/" + std::to_string(file_.fd());
      for (int tries = 0; temp_.empty(); ++tries) {
        std::string name = TempPrefix(target_) + RandomSuffix();
        if (fs_.Link(proc, name) == 0) {
          temp_ = std::move(name);
        } else if (errno != EEXIST || tries > 100) {
          throw FileFault(errno);
        }
      }
    }
    CloseOrThrow(file_, fs_);
    if (fs_.Rename(temp_, target_) != 0) throw FileFault(errno);
    temp_.clear();
  }

 private:
  FileSystem& fs_;
  std::string target_;
  std::string temp_;  // the file's temporary name, while it has one
  FileHandle file_;
};

// The permission bits for a file that replaces `target`, after the checks a
// write to it must pass.
mode_t ModeForReplacing(const std::string& target, bool keep_read_only) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) throw NotARegularFile();
    // A file the user may not write is not replaced behind its back.
    if (keep_read_only && ::access(target.c_str(), W_OK) != 0) throw FileFault(errno);
    return static_cast<mode_t>(st.st_mode & 07777);
  }
  if (errno != ENOENT) throw FileFault(errno);
  return DefaultNewFileMode();
}

FileStamp StampOfStat(const struct stat& st) {
  FileStamp s;
  s.size = static_cast<Int>(st.st_size);
  s.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.device = static_cast<std::uint64_t>(st.st_dev);
  s.inode = static_cast<std::uint64_t>(st.st_ino);
  return s;
}

// Throws ModuleChanged unless the module still is the file that was read,
// with the checked bytes in their place.
void CheckUnchanged(const ModuleReplacement& r, const std::string& target, FileSystem& fs) {
  if (!(StampAt(target) == r.stamp) || !(StampOf(*r.module) == r.stamp)) {
    throw ModuleChanged(r.path);
  }
  std::string now(r.check_bytes.size(), '\0');
  size_t got = 0;
  while (got < now.size()) {
    const ssize_t n = fs.ReadAt(r.module->fd(), now.data() + got, now.size() - got,
                                static_cast<off_t>(r.check_offset) + static_cast<off_t>(got));
    if (n < 0) throw FileFault(errno);
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  if (got != now.size() || now != r.check_bytes) throw ModuleChanged(r.path);
}

// Makes the backup hold the module's old bytes; see ReplaceModule.
void MakeBackup(const ModuleReplacement& r, const std::string& target, mode_t mode,
                FileSystem& fs) {
  struct stat st {};
  if (::fstat(r.module->fd(), &st) != 0) throw FileFault(errno);
  if (st.st_nlink == 1) {
    const std::string linked = TempPrefix(r.backup) + RandomSuffix();
    if (fs.Link(target, linked) == 0) {
      const bool done =
          (!r.flush || fs.Sync(r.module->fd()) == 0) && fs.Rename(linked, r.backup) == 0;
      const int why = errno;
      // A rename onto a second name of the same file does nothing and
      // leaves the temporary name: it goes in every case.
      ::unlink(linked.c_str());
      if (done) return;
      throw FileFault(why);
    }
  }
  NewFile backup(r.backup, fs);
  backup.Write({r.old_bytes}, mode, r.flush);
  backup.Install();
}

}  // namespace

namespace {

// OpenForReading, telling what fstat told of the file.
FileHandle OpenRegular(const std::string& path, FileSystem& fs, struct stat& st) {
  // Without waiting: a FIFO is refused below instead of waiting for a writer.
  FileHandle file(fs.Open(path, O_RDONLY | O_NONBLOCK));
  if (file.fd() < 0) throw FileFault(errno);
  if (::fstat(file.fd(), &st) != 0) throw FileFault(errno);
  if (!S_ISREG(st.st_mode)) throw NotARegularFile();
  return file;
}

}  // namespace

FileHandle OpenForReading(const std::string& path, FileSystem& fs) {
  struct stat st {};
  return OpenRegular(path, fs, st);
}

FileHandle OpenLocked(const std::string& path, FileSystem& fs) {
  for (int tries = 0;; ++tries) {
    FileHandle file = OpenForReading(path, fs);
    if (fs.Lock(file.fd()) != 0) throw FileFault(errno);
    const FileStamp held = StampOf(file), named = StampAt(path);
    if ((held.device == named.device && held.inode == named.inode) || tries > 100) return file;
  }
}

FileStamp StampOf(const FileHandle& file) {
  struct stat st {};
  if (::fstat(file.fd(), &st) != 0) throw FileFault(errno);
  return StampOfStat(st);
}

FileStamp StampAt(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return FileStamp{};
  return StampOfStat(st);
}

ModuleChanged::ModuleChanged(const std::string& path)
    : Fault(kFaultPathFileAccess, path + " has changed on disk since its entries were listed") {}

FileBytes FileBytes::Read(const std::string& path, FileSystem& fs) {
  struct stat st {};
  const FileHandle file = OpenRegular(path, fs, st);
  return Read(file, StampOfStat(st), nullptr, fs);
}

FileBytes FileBytes::Read(const std::string& path, std::string& spare, FileSystem& fs) {
  struct stat st {};
  const FileHandle file = OpenRegular(path, fs, st);
  return Read(file, StampOfStat(st), &spare, fs);
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

FileBytes FileBytes::Read(const FileHandle& file, FileSystem& fs) {
  return Read(file, StampOf(file), nullptr, fs);
}

FileBytes FileBytes::Read(const FileHandle& file, FileStamp stamp, std::string* spare,
                          FileSystem& fs) {
  FileBytes fb;
  fb.stamp_ = stamp;
  const size_t want = static_cast<size_t>(fb.stamp_.size);
  if (want == 0) return fb;
  // A window opening module after module maps a big one: fresh room for a
  // copy at each open costs it more than the mapping's misses of the address
  // cache in the index's one pass.
  constexpr size_t kMapFrom = size_t{1} << 20;
  if (const char* map = !spare && want >= kMapFrom ? fs.Map(file.fd(), want) : nullptr) {
    fb.data_ = map;
    fb.size_ = want;
    fb.mapped_ = true;
    return fb;
  }
  char* into = nullptr;
  if (spare && want < kLargeRoomFrom) {
    if (spare->size() < want) spare->resize(want);
    into = spare->data();
  } else {
    fb.buffer_ = std::unique_ptr<char[], LargeRoomFree>(static_cast<char*>(TakeLargeRoom(want)),
                                                        LargeRoomFree{want});
    into = fb.buffer_.get();
  }
  size_t got_total = 0;
  while (got_total < want) {
    const ssize_t got =
        fs.ReadAt(file.fd(), into + got_total, want - got_total, static_cast<off_t>(got_total));
    if (got < 0) throw FileFault(errno);
    if (got == 0) break;  // the file shrank while it was read
    got_total += static_cast<size_t>(got);
  }
  fb.data_ = into;
  fb.size_ = got_total;
  return fb;
}

std::optional<std::string_view> ReadFileInto(int folder, const char* name, bool listed_regular,
                                             std::string& into, FileSystem& fs) {
  // Without waiting: a FIFO is refused instead of waiting for a writer.
  const FileHandle file(fs.OpenAt(folder, name, O_RDONLY | O_NONBLOCK));
  if (file.fd() < 0) return std::nullopt;
  bool known = false;  // fstat has told that it is a regular file
  const auto ask_size = [&]() -> bool {
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    known = true;
    // One byte more than the size: the read that fills the file returns less than asked.
    const size_t room = static_cast<size_t>(st.st_size) + 1;
    if (into.size() < room) into.resize(room);
    return true;
  };
  if (!listed_regular && !ask_size()) return std::nullopt;
  constexpr size_t kFirstRoom = 64 << 10;
  if (into.size() < kFirstRoom) into.resize(kFirstRoom);
  size_t got = 0;
  for (;;) {
    const size_t asked = into.size() - got;
    const ssize_t n = fs.Read(file.fd(), into.data() + got, asked);
    if (n < 0) return std::nullopt;
    got += static_cast<size_t>(n);
    if (static_cast<size_t>(n) < asked) return std::string_view(into.data(), got);
    // The room is full: the file may be larger, and must still be a file.
    if (!known && !ask_size()) return std::nullopt;
    if (into.size() - got == 0) into.resize(into.size() * 2);
  }
}

size_t ReadInPieces(const FileHandle& file, const std::function<void(std::string_view)>& take,
                    FileSystem& fs) {
  constexpr size_t kPiece = 64 * 1024;
  const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
  size_t total = 0;
  for (;;) {
    const ssize_t got = fs.ReadAt(file.fd(), piece.get(), kPiece, static_cast<off_t>(total));
    if (got < 0) throw FileFault(errno);
    if (got == 0) return total;
    take(std::string_view(piece.get(), static_cast<size_t>(got)));
    total += static_cast<size_t>(got);
  }
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

FileStamp WriteFileAtomically(const std::string& path, std::string_view bytes, bool flush,
                              FileSystem& fs) {
  return WriteFileAtomically(path, std::vector<std::string_view>{bytes}, flush, fs);
}

FileStamp WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                              bool flush, FileSystem& fs) {
  const std::string target = ResolveTarget(path);
  const mode_t mode = ModeForReplacing(target, true);
  NewFile out(target, fs);
  const FileStamp stamp = out.Write(pieces, mode, flush);
  out.Install();
  if (flush) SyncFolder(target, fs);
  return stamp;
}

void ReplaceModule(const ModuleReplacement& r, FileSystem& fs) {
  const std::string target = ResolveTarget(r.path);
  const mode_t mode = ModeForReplacing(target, true);
  RemoveStaleTemporaries(target, r.backup);
  CheckUnchanged(r, target, fs);
  try {
    MakeBackup(r, target, mode, fs);
  } catch (const Fault& f) {
    throw BackupFailed(f);
  }
  NewFile out(target, fs);
  out.Write(r.pieces, mode, r.flush);
  CheckUnchanged(r, target, fs);
  out.Install();
  if (r.flush) {
    SyncFolder(target, fs);
    if (FolderOf(r.backup) != FolderOf(target)) SyncFolder(r.backup, fs);
  }
}

void RemoveStaleTemporaries(const std::string& path, const std::string& also) {
  const std::string folder = FolderOf(path);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> stale;
  const std::string bases[] = {"." + BaseOf(path) + ".qw", "." + BaseOf(also) + ".qw",
                               BaseOf(also) + ".qw"};
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name(e->d_name);
    for (const std::string& base : bases) {
      if (!name.starts_with(base)) continue;
      // NAME.qwPID, optionally followed by "." and a random part.
      const std::string_view rest = name.substr(base.size());
      const size_t digits = std::min(rest.find_first_not_of("0123456789"), rest.size());
      if (digits == 0 || (digits < rest.size() && rest[digits] != '.')) continue;
      const pid_t pid = static_cast<pid_t>(std::atol(std::string(rest.substr(0, digits)).c_str()));
      if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) {
        stale.emplace_back(name);
      }
      break;
    }
  }
  ::closedir(dir);
  for (const std::string& name : stale) ::unlink((folder + name).c_str());
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
