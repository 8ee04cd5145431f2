#include "cli/module_files.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <sstream>
#include <system_error>
#include <thread>

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

void Walk(const fs::path& folder, ModuleFileList& list) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& e = *it;
    // The types the folder's listing gives: no call for each file.
    std::error_code type_ec;
    if (e.is_symlink(type_ec) || type_ec) continue;
    const bool folder = e.is_directory(type_ec);
    if (type_ec) continue;
    if (folder) {
      Walk(e.path(), list);
    } else if (IsModuleFileName(e.path().native())) {
      list.files.push_back(e.path().native());
    }
  }
  if (ec) list.faults.push_back("qwtool: " + folder.native() + ": " + ec.message());
}

}  // namespace

ModuleFileList CollectModuleFiles(const std::vector<std::string>& operands, bool recursive) {
  ModuleFileList list;
  for (const std::string& operand : operands) {
    std::error_code ec;
    if (recursive && fs::is_directory(operand, ec)) {
      Walk(operand, list);
    } else {
      list.files.push_back(operand);
    }
  }
  std::sort(list.files.begin(), list.files.end());
  list.files.erase(std::unique(list.files.begin(), list.files.end()), list.files.end());
  return list;
}

namespace {

struct FileResult {
  std::string out;
  std::string err;
  bool failed = false;
  bool done = false;
};

}  // namespace

bool RunOverFiles(Context& ctx, const std::vector<std::string>& files, const FileWork& work) {
  std::vector<FileResult> results(files.size());
  std::atomic<size_t> next{0};
  std::mutex mutex;     // guards what follows, and the writes to ctx.out and ctx.err
  size_t written = 0;   // the files whose output is written or pending
  std::string pending;  // output not yet written: it goes out in large writes
  bool ok = true;
  const auto write_pending = [&] {
    ctx.out << pending;
    pending.clear();
  };
  // Takes the output of every done file from `written` on, in order. Whoever
  // finishes the file next in line writes it: no thread waits for another.
  const auto take_done = [&] {
    for (; written < results.size() && results[written].done; ++written) {
      FileResult& r = results[written];
      pending += r.out;
      if (!r.err.empty()) {
        write_pending();
        ctx.out.flush();
        ctx.err << r.err;
      }
      ok = ok && !r.failed;
      r.out = std::string();
    }
    if (pending.size() >= (256 << 10)) write_pending();
  };
  const auto worker = [&] {
    std::string spare;
    for (size_t i = next++; i < files.size(); i = next++) {
      std::ostringstream messages;
      HeadlessPort port(messages);
      const PortScope scope(port);  // the library's own reports go to this file's port too
      std::string out;
      bool refused = false;
      try {
        work(files[i], port, out, spare);
      } catch (const Refusal& e) {
        messages << "qwtool: " << e.what() << '\n';
        refused = true;
      } catch (const std::exception& e) {
        // Nothing the engine does should get here; the other files go on.
        port.MessageBox(
            {NoticeKind::kFault, files[i] + ": " + e.what(), "", Buttons::kOk, Icon::kStop});
      }
      std::lock_guard<std::mutex> lock(mutex);
      FileResult& r = results[i];
      r.out = std::move(out);
      r.err = messages.str();
      r.failed = refused || port.failed();
      r.done = true;
      take_done();
    }
  };
  {
    // This thread is one of the workers, one per core.
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::jthread> threads;
    for (size_t t = 1; t < std::min(cores, files.size()); ++t) threads.emplace_back(worker);
    worker();
  }
  write_pending();
  return ok;
}

}  // namespace qw::cli
