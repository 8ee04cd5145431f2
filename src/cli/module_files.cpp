#include "cli/module_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "cli/file_ring.h"
#include "document/module_file.h"
#include "textlib/cliplib.h"

namespace qw::cli {

namespace fs = std::filesystem;

bool IsModuleFileName(std::string_view path) {
  if (path.size() < 4 || path[path.size() - 4] != '.') return false;
  const std::string_view ext = path.substr(path.size() - 3);
  return EqualsNoCase(ext, "BAS") || EqualsNoCase(ext, "FRM") || EqualsNoCase(ext, "CLS") ||
         EqualsNoCase(ext, "PRG");
}

namespace {

// Lists the folder open as `dir`, named `folder`, into `list`, then walks its
// subfolders in the order listed. `room` is the listing's buffer, shared by
// the whole walk: a folder is listed whole before its subfolders are walked.
void Walk(const FileHandle& dir, const std::string& folder, ModuleFileList& list,
          std::vector<char>& room) {
  const auto fault = [&](const std::string& path) {
    list.faults.push_back("qwtool: " + path + ": " + std::strerror(errno));
  };
  const std::string prefix = folder.back() == '/' ? folder : folder + '/';
  std::vector<std::string> subfolders;
  for (;;) {
    const ssize_t got = ::getdents64(dir.fd(), room.data(), room.size());
    if (got < 0) fault(folder);
    if (got <= 0) break;
    for (size_t at = 0; at < static_cast<size_t>(got);) {
      const auto* e = reinterpret_cast<const struct dirent64*>(room.data() + at);
      at += e->d_reclen;
      const std::string_view name(e->d_name);
      if (name == "." || name == "..") continue;
      // The type the listing gives: no call for each file, unless the file
      // system does not tell it there.
      unsigned type = e->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st {};
        if (::fstatat(dir.fd(), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        type = S_ISLNK(st.st_mode)   ? DT_LNK
               : S_ISDIR(st.st_mode) ? DT_DIR
               : S_ISREG(st.st_mode) ? DT_REG
                                     : DT_UNKNOWN;
      }
      if (type == DT_LNK) continue;  // symbolic links are not followed
      if (type == DT_DIR) {
        subfolders.emplace_back(name);
      } else if (IsModuleFileName(name)) {
        list.files.push_back({prefix + e->d_name, type == DT_REG});
      }
    }
  }
  for (const std::string& name : subfolders) {
    const FileHandle sub(
        ::openat(dir.fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (sub.fd() < 0) {
      fault(prefix + name);
    } else {
      Walk(sub, prefix + name, list, room);
    }
  }
}

}  // namespace

ModuleFileList CollectModuleFiles(const std::vector<std::string>& operands, bool recursive) {
  ModuleFileList list;
  std::vector<char> room;
  for (const std::string& operand : operands) {
    std::error_code ec;
    if (recursive && fs::is_directory(operand, ec)) {
      const FileHandle dir(::open(operand.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      if (dir.fd() < 0) {
        list.faults.push_back("qwtool: " + operand + ": " + std::strerror(errno));
        continue;
      }
      room.resize(64 << 10);
      Walk(dir, operand, list, room);
    } else {
      list.files.push_back({operand, false});
    }
  }
  std::sort(list.files.begin(), list.files.end());
  list.files.erase(
      std::unique(list.files.begin(), list.files.end(),
                  [](const ModuleFile& a, const ModuleFile& b) { return a.path == b.path; }),
      list.files.end());
  return list;
}

namespace {

// The folders of the files a thread reads, kept open while a batch of files
// is read and the last one for the next batch: a file is opened from its
// folder, not by its whole path.
class Folders {
 public:
  // The descriptor of the folder of `path` (AT_FDCWD when it names none, or
  // the folder cannot be opened) and the name to open from it.
  FileRing::File Locate(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {AT_FDCWD, path.c_str()};
    const std::string_view folder(path.data(), slash + 1);
    auto it =
        std::find_if(open_.begin(), open_.end(), [&](const auto& f) { return f.first == folder; });
    if (it == open_.end()) {
      std::string name(folder);
      FileHandle dir(SystemFiles().Open(name, O_PATH | O_DIRECTORY));
      it = open_.emplace(open_.end(), std::move(name), std::move(dir));
    }
    const int fd = it->second.fd();
    return fd < 0 ? FileRing::File{AT_FDCWD, path.c_str()}
                  : FileRing::File{fd, path.c_str() + slash + 1};
  }
  // Closes all but the folder located last.
  void KeepLast() {
    if (open_.size() > 1) open_.erase(open_.begin(), open_.end() - 1);
  }

 private:
  std::vector<std::pair<std::string, FileHandle>> open_;  // names end in "/"
};

// The output of the files a thread did before those before them were done:
// they follow each other in the order of the files, and are taken in that
// order. The room is kept for the whole run: the output never lands in
// memory the process has not touched before (each first touch of a page
// costs a fault, dearer than the copy).
struct Backlog {
  std::string bytes;
  size_t taken = 0;  // the bytes before this offset are written
  // The next `n` bytes.
  std::string_view Next(size_t n) const { return std::string_view(bytes).substr(taken, n); }
  // Takes the next `n` bytes, once written.
  void Drop(size_t n) {
    taken += n;
    if (taken == bytes.size()) {
      bytes.clear();
      taken = 0;
    } else if (taken > (64 << 10) && taken > bytes.size() / 2) {
      bytes.erase(0, taken);
      taken = 0;
    }
  }
};

struct FileResult {
  Backlog* held = nullptr;  // where the output waits, when the file was done early
  size_t size = 0;          // its bytes there
  std::string err;
  bool failed = false;
  bool done = false;
};

}  // namespace

bool RunOverFiles(Context& ctx, const std::vector<ModuleFile>& files, const FileWork& work) {
  std::vector<FileResult> results(files.size());
  std::atomic<size_t> next{0};
  std::mutex mutex;    // guards what follows, and the writes to ctx.out and ctx.err
  size_t written = 0;  // the files whose output is written or pending
  // Output not yet written: it goes out a chunk at a time, from room kept
  // for the whole run.
  constexpr size_t kChunk = 64 << 10;
  std::string pending;
  pending.reserve(2 * kChunk);
  bool ok = true;
  const auto write_pending = [&] {
    ctx.out << pending;
    pending.clear();
  };
  const auto write = [&](std::string_view out) {
    if (pending.size() + out.size() > pending.capacity()) write_pending();
    if (out.size() > pending.capacity()) {
      ctx.out << out;
    } else {
      pending += out;
    }
  };
  // Writes the output of every done file from `written` on, in order. Whoever
  // finishes the file next in line writes it: no thread waits for another.
  const auto take_done = [&] {
    for (; written < results.size() && results[written].done; ++written) {
      FileResult& r = results[written];
      if (r.held) {
        write(r.held->Next(r.size));
        r.held->Drop(r.size);
      }
      if (!r.err.empty()) {
        write_pending();
        ctx.out.Flush();
        ctx.err << r.err;
      }
      ok = ok && !r.failed;
    }
    if (pending.size() >= kChunk) write_pending();
  };
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  const size_t threads = std::min(cores, std::max<size_t>(files.size(), 1));
  std::vector<Backlog> backlogs(threads);
  // Room without pages yet: a page is touched once, when the output first
  // reaches it, and never moved to another by a growing string.
  for (Backlog& b : backlogs) b.bytes.reserve(1 << 20);
  const auto worker = [&](Backlog& backlog) {
    FileRing ring;
    std::optional<std::string_view> got[FileRing::kBatch];
    FileRing::File at[FileRing::kBatch];
    FileRing::File ringed[FileRing::kBatch];  // those of `at` the ring reads
    std::optional<std::string_view> ringed_got[FileRing::kBatch];
    size_t which[FileRing::kBatch];  // the place in `at` of each of `ringed`
    std::string room;                // the bytes of a file read alone, kept from file to file
    std::string out;
    StringOut messages;  // the current file's, emptied for each
    Folders folders;
    // The files are taken a batch at a time, in order; a batch is read at once.
    for (size_t first = next.fetch_add(FileRing::kBatch); first < files.size();
         first = next.fetch_add(FileRing::kBatch)) {
      const size_t count = std::min(FileRing::kBatch, files.size() - first);
      folders.KeepLast();
      for (size_t k = 0; k < count; ++k) at[k] = folders.Locate(files[first + k].path);
      // The ring reads the files the folder listing told are regular ones.
      std::fill(got, got + count, std::nullopt);
      const bool tried = ring.ready();
      if (tried) {
        size_t listed = 0;
        for (size_t k = 0; k < count; ++k) {
          if (files[first + k].listed_regular) {
            ringed[listed] = at[k];
            which[listed++] = k;
          }
        }
        ring.Read({ringed, listed}, ringed_got);
        for (size_t j = 0; j < listed; ++j) got[which[j]] = ringed_got[j];
      }
      for (size_t i = first; i < first + count; ++i) {
        const ModuleFile& file = files[i];
        const FileRing::File& where = at[i - first];
        // A file the ring did not read (not listed as a regular file, too
        // large, failed) is read alone, which tells no more than it does; its
        // size asked first unless it is listed as regular and the ring never
        // tried it.
        const std::optional<std::string_view> bytes =
            got[i - first]
                ? got[i - first]
                : ReadFileInto(where.folder, where.name, file.listed_regular && !tried, room);
        messages.text.clear();
        HeadlessPort port(messages);
        const PortScope scope(port);  // the library's own reports go to this file's port too
        bool refused = false;
        try {
          work(file.path, bytes ? &*bytes : nullptr, port, out);
        } catch (const Refusal& e) {
          messages << "qwtool: " << e.what() << '\n';
          refused = true;
        } catch (const std::exception& e) {
          // Nothing the engine does should get here; the other files go on.
          port.MessageBox(
              {NoticeKind::kFault, file.path + ": " + e.what(), "", Buttons::kOk, Icon::kStop});
        }
        std::lock_guard<std::mutex> lock(mutex);
        FileResult& r = results[i];
        if (i == written) {
          write(out);
        } else {
          r.held = &backlog;
          r.size = out.size();
          backlog.bytes += out;
        }
        out.clear();
        r.err = std::move(messages.text);
        r.failed = refused || port.failed();
        r.done = true;
        take_done();
      }
    }
  };
  {
    // This thread is one of the workers, one per core.
    std::vector<std::jthread> others;
    for (size_t t = 1; t < threads; ++t) others.emplace_back(worker, std::ref(backlogs[t]));
    worker(backlogs[0]);
  }
  write_pending();
  return ok;
}

}  // namespace qw::cli
