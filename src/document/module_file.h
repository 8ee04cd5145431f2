// Module files: the document model's access to the file system. Every
// function opens what it needs and closes it before it returns, on every way
// out. Failures are thrown as a Fault (platform/fault.h) whose number follows
// the classic run-time (53 file not found, 70 permission denied, 75 path/file
// access error, 62 input past end of file) and whose description names the
// system's reason. Sizes and offsets are in bytes.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/byte_lines.h"
#include "document/module_document.h"

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
// be opened or is not a regular file (a folder gives fault 75).
FileHandle OpenForReading(const std::string& path);

// Size and modification time of an open file.
FileStamp StampOf(const FileHandle& file);

// The whole content of a file, read once: mapped into memory read-only (the
// pages come straight from the file cache, nothing is copied), or read into
// a buffer where the file cannot be mapped.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&& other) noexcept;
  FileBytes& operator=(FileBytes&& other) noexcept;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  ~FileBytes();

  // Reads `path` whole. Throws a Fault when it cannot be opened or read.
  static FileBytes Read(const std::string& path);
  // Reads an open file whole, from its start.
  static FileBytes Read(const FileHandle& file);
  std::string_view view() const { return {data_, size_}; }
  const FileStamp& stamp() const { return stamp_; }

 private:
  void Release();
  const char* data_ = nullptr;
  size_t size_ = 0;
  bool mapped_ = false;
  std::unique_ptr<char[]> buffer_;  // when the file was read, not mapped
  FileStamp stamp_;
};

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
// temporary file in the same folder, flushed to disk when `flush` is true,
// then renamed over `path`. When `path` is a symbolic link, the file it points
// to is replaced and the link stays. The file keeps the permission bits of
// the file it replaces (a new file gets 0666 less the umask). A file the user
// may not write is not replaced (fault 70). On any failure
// the temporary file is removed, `path` is untouched, and a Fault is thrown.
// Returns the stamp of the file written.
FileStamp WriteFileAtomically(const std::string& path, std::string_view bytes, bool flush);
// The same for a text in pieces, written in order.
FileStamp WriteFileAtomically(const std::string& path, const std::vector<std::string_view>& pieces,
                              bool flush);

// Copies `from` to `to` as WriteFileAtomically writes, keeping the permission
// bits of `from`; an old `to` is replaced even when it is read-only (it is a
// backup, made again by every save). Throws a Fault on failure; `to` is then
// untouched.
void CopyFileAtomically(const std::string& from, const std::string& to, bool flush);

// Makes `backup` hold `bytes`, the content of `file` as it stands, before a
// save replaces `file`. Where the file system allows it and `file` has no
// other name, the backup is a second name of the file itself: nothing is
// copied, and since a save always replaces `file` by a new file and never
// writes into the old one, the backup keeps the old bytes. Otherwise `bytes`
// are written to `backup` as CopyFileAtomically writes, with the permission
// bits of `file`. Throws a Fault on failure; an old `backup` is then untouched.
void MakeBackup(const std::string& file, const std::string& backup, std::string_view bytes,
                bool flush);

// The backup name of a module: the file's own name (after the last "\" or
// "/") cut at its first "." and ".BAK" appended, in the same folder. Nothing
// when the name holds no ".", or when the backup would be the file itself
// (letter case ignored).
std::optional<std::string> BackupName(const std::string& file_name);

}  // namespace qw
