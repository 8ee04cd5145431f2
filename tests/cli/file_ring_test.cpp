// The ring that reads a batch of files in one call: each file whole, or
// nothing where the caller must read it itself.
#include "cli/file_ring.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qw::cli {
namespace {

TEST(FileRing, ReadsEachFileOfABatchWholeOrLeavesItToTheCaller) {
  FileRing ring;
  if (!ring.ready()) GTEST_SKIP() << "the system refuses the ring; files are read one by one";
  const std::string dir = ::testing::TempDir() + "qw_file_ring";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir + "/SUB.BAS");
  const struct {
    const char* name;
    size_t size;  // bytes written; npos: none (the name is not a file written here)
    bool read;    // the ring gives its bytes
  } rows[] = {{"EMPTY.BAS", 0, true},
              {"ONE.BAS", 1, true},
              {"LAST_FITS.BAS", FileRing::kRoom - 1, true},
              {"FILLS.BAS", FileRing::kRoom, false},
              {"NONE.BAS", std::string::npos, false},
              {"SUB.BAS", std::string::npos, false},
              {"SMALL.BAS", 3000, true},
              {"LARGE.BAS", 3 * FileRing::kRoom, false}};
  std::vector<std::string> bytes;
  const FileHandle folder(::open(dir.c_str(), O_PATH | O_DIRECTORY));
  std::vector<FileRing::File> files;
  for (const auto& r : rows) {
    std::string& b = bytes.emplace_back();
    for (size_t i = 0; r.size != std::string::npos && i < r.size; ++i) {
      b += static_cast<char>(i * 13 + r.size);
    }
    if (r.size != std::string::npos) std::ofstream(dir + "/" + r.name, std::ios::binary) << b;
    files.push_back({folder.fd(), r.name});
  }
  std::optional<std::string_view> got[FileRing::kBatch];
  // Each batch twice: the second time opens into the places the first closed.
  for (size_t first = 0; first < files.size(); first += FileRing::kBatch) {
    const size_t n = std::min(FileRing::kBatch, files.size() - first);
    for (int round = 0; round < 2; ++round) {
      ring.Read(std::span(files).subspan(first, n), got);
      for (size_t i = first; i < first + n; ++i) {
        EXPECT_EQ(got[i - first].has_value(), rows[i].read) << rows[i].name;
        if (got[i - first] && rows[i].read) {
          EXPECT_TRUE(*got[i - first] == bytes[i]) << rows[i].name;
        }
      }
    }
  }
  // A batch of one, from a path of the current folder.
  const std::string path = dir + "/ONE.BAS";
  ring.Read(std::vector<FileRing::File>{{AT_FDCWD, path.c_str()}}, got);
  EXPECT_TRUE(got[0] && *got[0] == bytes[1]);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qw::cli
