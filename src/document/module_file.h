// Module files: the document model's access to the file system. Every
// function opens what it needs and closes it before it returns, on every way
// out. Failures are thrown as a Fault (platform/fault.h) whose number follows
// the classic run-time (53 file not found, 70 permission denied, 75 path/file
// access error, 62 input past end of file) and whose description names the
// system's reason. Sizes and offsets are in bytes.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/byte_lines.h"
#include "document/file_system.h"
#include "document/large_room.h"
#include "document/module_document.h"
#include "platform/fault.h"

namespace qw {

// An open file descriptor, closed when the handle goes.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle();
  int fd() const { return fd_; }
  int Release();

 private:
  int fd_ = -1;
};

// Opens an existing regular file for reading. Throws a Fault when it cannot
// be opened or is not a regular file (a folder, a FIFO or a device gives fault
// 75 at once: nothing waits for a writer or reads without end).
FileHandle OpenForReading(const std::string& path, FileSystem& fs = SystemFiles());

// Opens a module as OpenForReading does and takes its advisory lock (flock),
// waiting while another save holds it; the lock goes with the handle. When the
// name was given to another file while this one waited (a save renames a new
// file over the old one), the lock is taken on the file the name now holds.
FileHandle OpenLocked(const std::string& path, FileSystem& fs = SystemFiles());

// Size, modification time and identity of an open file.
FileStamp StampOf(const FileHandle& file);
// The same for the file `path` names now (links followed); a stamp of size -1
// when there is none.
FileStamp StampAt(const std::string& path);

// Thrown when a module has changed on disk since it was indexed: another
// program wrote it, or put another file in its place. Nothing was read at,
// or spliced into, positions that no longer hold.
class ModuleChanged : public Fault {
 public:
  explicit ModuleChanged(const std::string& path);
};

// Thrown when the backup of a module cannot be made; the module is untouched.
class BackupFailed : public Fault {
 public:
  explicit BackupFailed(const Fault& why) : Fault(why) {}
};

// The whole content of a file, read once: a file of a megabyte or more mapped
// into memory read-only (the pages come straight from the file cache), a
// smaller one, or one that cannot be mapped, read into a buffer; or, for a
// run over files (`spare`), read into memory of its own whatever its size.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  // Reads `path` whole. Throws a Fault when it cannot be opened or read.
  static FileBytes Read(const std::string& path, FileSystem& fs = SystemFiles());
  // The same, read and not mapped: a file under half a megabyte going into
  // `spare`, which grows as needed and is kept for the next file (the bytes
  // are valid while `spare` is left alone), a bigger one into room of its own
  // as LargeRoom takes it (huge pages where the kernel grants them). Many
  // small files are read so without fresh memory for each; a big one costs a
  // copy, and its pages are read faster than a mapping's, which miss the
  // processor's address cache at each page: for a process that reads its bytes
  // more than once and ends.
  static FileBytes Read(const std::string& path, std::string& spare,
                        FileSystem& fs = SystemFiles());
  // Reads an open file whole, from its start.
  static FileBytes Read(const FileHandle& file, FileSystem& fs = SystemFiles());
  std::string_view view() const { return {data_, size_}; }
  const FileStamp& stamp() const { return stamp_; }

 private:
  void Release();
  static FileBytes Read(const FileHandle& file, FileStamp stamp, std::string* spare,
                        FileSystem& fs);
  const char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  std::unique_ptr<char[], LargeRoomFree> buffer_;  // when the file was read into room of its own
  FileStamp stamp_;
};

// Reads the file `name` of the folder open as `folder` (AT_FDCWD: `name` is a
// path from the current folder) whole into `into`, which grows as needed and
// keeps its room for the next file: the bytes are valid while `into` is left
// alone. When the folder's listing told that the file is a regular one
// (`listed_regular`), its size is not asked first: a read of a regular file
// that returns less than it was asked for has reached its end. Nothing when
// the file cannot be read so (not opened, not a regular file, a read failed):
// the caller then reads it by its path (FileBytes::Read), which tells why.
std::optional<std::string_view> ReadFileInto(int folder, const char* name, bool listed_regular,
                                             std::string& into, FileSystem& fs = SystemFiles());

// Reads an open file from its start in pieces of at most 64 KB, handing each
// to `take` in order, so that nothing holds the whole file. Returns how many
// bytes were handed. Throws a Fault when a read fails (the pieces handed
// before stay handed).
size_t ReadInPieces(const FileHandle& file, const std::function<void(std::string_view)>& take,
                    FileSystem& fs = SystemFiles());

// Reads lines forwards from a byte offset of an open file, a block at a time,
// so that an entry costs what its own lines cost, whatever the file's size.
class FileLineReader {
 public:
  // `offset` is the 0-based byte offset of the first line to read.
  FileLineReader(const FileHandle& file, Int offset);
  bool AtEnd();
  // The next line; throws Fault(62) at the end of the file. The view is valid
  // until the next call.
  ByteLine Next();
  // 0-based byte offset of the line about to be read.
  Int Offset() const { return base_ + static_cast<Int>(pos_); }

 private:
  // Makes the buffer hold a whole line from pos_, or everything to the end.
  void Fill();
  const FileHandle& file_;
  std::string buf_;
  Int base_;          // file offset of buf_[0]
  size_t pos_ = 0;    // next byte of buf_ to read
  bool eof_ = false;  // nothing more to read from the file
};

// Writes `bytes` to `path` without ever leaving a half-written file: into a
// file without a name in the same folder (a hidden temporary name where the
// file system cannot make one), flushed to disk when `flush` is true, then
// given the name of `path` by a rename, and the folder flushed after it. When
// `path` is a symbolic link, the file it points to is replaced and the link
// stays. The file keeps the permission bits of the file it replaces (a new
// file gets 0666 less the umask). A file the user may not write is not
// replaced (fault 70). On any failure no temporary file remains, `path` is
// untouched, and a Fault is thrown. Returns the stamp of the file written.
FileStamp WriteFileAtomically(const std::string& path, std::string_view bytes, bool flush,
                              FileSystem& fs = SystemFiles());
// The same for a text in pieces, written in order.
FileStamp WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                              bool flush, FileSystem& fs = SystemFiles());

// A save of a module over itself.
struct ModuleReplacement {
  const FileHandle* module = nullptr;    // the module, open and locked
  std::string path;                      // its name
  std::string backup;                    // the backup's name
  std::string_view old_bytes;            // the module's bytes as the new ones were made from them
  std::vector<std::string_view> pieces;  // the new bytes
  FileStamp stamp;                       // the module's stamp when it was read
  // Bytes of the old file that must still stand at `check_offset` (0-based)
  // right before the rename: the header line of the entry saved.
  Int check_offset = 0;
  std::string check_bytes;
  bool flush = true;
};

// Replaces the module by the new bytes, as WriteFileAtomically writes, after
// making the backup hold the old bytes: a new file given the backup's name by
// a rename (a link of any kind at that name is replaced, never followed), or,
// where the file system allows it and the module has no other name, a second
// name of the old file itself. Both are flushed before the module is renamed.
// Right before that rename the module must still have its stamp and the
// checked bytes, else ModuleChanged is thrown and the module is untouched.
// Temporary files this program left in the folder in a run that was killed
// are removed first. A backup that cannot be made throws BackupFailed; any
// other failure a Fault; then no temporary file remains and the module is
// untouched.
void ReplaceModule(const ModuleReplacement& r, FileSystem& fs = SystemFiles());

// Removes from the folder of `path` the temporary files of saves of `path`
// (and of `also`, a backup name) made by runs of this program that are no
// longer running.
void RemoveStaleTemporaries(const std::string& path, const std::string& also);

// The backup name of a module: the file's own name (after the last "\" or
// "/") cut at its first "." and ".BAK" appended, in the same folder. Nothing
// when the name holds no ".", or when the backup would be the file itself
// (letter case ignored).
std::optional<std::string> BackupName(const std::string& file_name);

}  // namespace qw
