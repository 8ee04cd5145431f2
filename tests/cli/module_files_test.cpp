// The run over many module files: the walk finds them in path order, and
// however the threads share them, the output and the messages come out file
// after file in that order.
#include "cli/module_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qw::cli {
namespace {

namespace fs = std::filesystem;

TEST(ModuleFiles, OutputAndMessagesComeOutInPathOrderWhateverTheThreadsDo) {
  const fs::path dir = fs::path(::testing::TempDir()) / "qw_module_files";
  fs::remove_all(dir);
  // Folders whose names sort around "/" ("a.b" before "a/", "a0" after it).
  std::vector<std::string> want;
  for (const char* folder : {"a", "a.b", "a0", "a/deep", "B"}) {
    fs::create_directories(dir / folder);
    for (int i = 0; i < 120; ++i) {
      const std::string name = (dir / folder / ("m" + std::to_string(i))).string();
      const char* ext = i % 3 == 0 ? ".bas" : i % 3 == 1 ? ".FRM" : ".Cls";
      std::ofstream(name + ext) << std::string(static_cast<size_t>(i * 37), 'x');
      want.push_back(name + ext);
    }
  }
  std::ofstream(dir / "a" / "notes.txt") << "not a module";
  fs::create_symlink(dir / "a" / "m0.bas", dir / "a" / "link.bas");
  fs::create_directory_symlink(dir / "a", dir / "B" / "loop");
  std::sort(want.begin(), want.end());

  const ModuleFileList list = CollectModuleFiles({dir.string()}, true);
  std::vector<std::string> found;
  for (const ModuleFile& f : list.files) found.push_back(f.path);
  EXPECT_EQ(found, want);
  EXPECT_TRUE(list.faults.empty());

  // Each file's output: its size, on lines that grow with its place; now and
  // then a long one, now and then a refusal told among the output.
  const auto expected = [&](size_t i, const std::string& path, size_t size, std::string& out) {
    for (size_t k = 0; k < (i * 7919) % 40; ++k) out += path + "|" + std::to_string(size) + "\n";
    if (i % 37 == 5) out += std::string(100000, 'L') + "\n";
    if (i % 53 == 7) throw Refusal("no " + path);
  };
  std::string want_out, want_err;
  for (size_t i = 0; i < want.size(); ++i) {
    try {
      expected(i, want[i], static_cast<size_t>(fs::file_size(want[i])), want_out);
    } catch (const Refusal& e) {
      want_err += "qwtool: " + std::string(e.what()) + "\n";
    }
  }
  StringOut out, err;
  HeadlessPort port(err);
  Context ctx{port, out, 0, err, {}};
  const bool ok = RunOverFiles(ctx, list.files,
                               [&](const std::string& path, const std::string_view* bytes,
                                   HeadlessPort&, std::string& file_out) {
                                 ASSERT_NE(bytes, nullptr) << path;
                                 const size_t i = static_cast<size_t>(
                                     std::find(want.begin(), want.end(), path) - want.begin());
                                 expected(i, path, bytes->size(), file_out);
                               });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(out.text == want_out);
  EXPECT_EQ(err.text, want_err);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace qw::cli
