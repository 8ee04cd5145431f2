#include "cli/module_files.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
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
    std::error_code type_ec;
    const fs::file_status st = e.symlink_status(type_ec);
    if (type_ec || fs::is_symlink(st)) continue;
    if (fs::is_directory(st)) {
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
  std::mutex mutex;
  std::condition_variable finished;
  auto worker = [&] {
    for (size_t i = next++; i < files.size(); i = next++) {
      std::ostringstream messages;
      HeadlessPort port(messages);
      const PortScope scope(port);  // the library's own reports go to this file's port too
      std::string out;
      bool refused = false;
      try {
        work(files[i], port, out);
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
      finished.notify_one();
    }
  };
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::jthread> threads;
  for (size_t t = 0; t < std::min(cores, files.size()); ++t) threads.emplace_back(worker);

  bool ok = true;
  for (FileResult& r : results) {
    FileResult taken;
    {
      std::unique_lock<std::mutex> lock(mutex);
      finished.wait(lock, [&r] { return r.done; });
      taken = std::move(r);
    }
    ctx.out << taken.out;
    if (!taken.err.empty()) {
      ctx.out.flush();
      ctx.err << taken.err;
    }
    ok = ok && !taken.failed;
  }
  return ok;
}

}  // namespace qw::cli
