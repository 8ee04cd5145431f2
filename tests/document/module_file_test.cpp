// File access of the document model: atomic writes from pieces, the rope the
// save builds, and line reading from an offset.
#include "document/module_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/byte_rope.h"
#include "platform/fault.h"

namespace qw {
namespace {

namespace fs = std::filesystem;

class ModuleFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qwfileXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { fs::remove_all(dir); }
  static std::string Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  std::string dir;
};

TEST_F(ModuleFileTest, RopeJoinsNeighbouringPiecesAndKeepsCopies) {
  const std::string bytes = "abcdefgh";
  const std::string_view v(bytes);
  ByteRope rope;
  EXPECT_TRUE(rope.empty());
  rope.Append(v.substr(0, 3));
  rope.Append(v.substr(3, 2));  // continues the last piece
  rope.Append("");
  rope.AppendCopy(std::string("XY"));
  rope.Append(v.substr(6));
  EXPECT_EQ(rope.pieces().size(), 3u);
  EXPECT_EQ(rope.size(), 9u);
  EXPECT_EQ(rope.back(), 'h');
  EXPECT_EQ(rope.Flatten(), "abcdeXYgh");
}

TEST_F(ModuleFileTest, ManyPiecesAreWrittenInOrder) {
  std::vector<std::string> owned;
  for (int i = 0; i < 3000; ++i) owned.push_back(std::to_string(i) + ",");
  std::vector<std::string_view> pieces(owned.begin(), owned.end());
  std::string want;
  for (const auto& p : owned) want += p;
  const std::string path = dir + "/OUT.BAS";
  const FileStamp stamp = WriteFileAtomically(path, pieces, false);
  EXPECT_EQ(Read(path), want);
  EXPECT_EQ(stamp.size, static_cast<Int>(want.size()));
  EXPECT_EQ(stamp, StampOf(OpenForReading(path)));
}

TEST_F(ModuleFileTest, ReaderReadsLinesFromAnOffset) {
  const std::string path = dir + "/IN.BAS";
  const std::string long_line(200000, 'x');
  std::ofstream(path, std::ios::binary) << "one\r\ntwo\n" << long_line << "\r\nlast";
  const FileHandle file = OpenForReading(path);
  FileLineReader in(file, 5);
  EXPECT_EQ(in.Next().text, "two");
  EXPECT_EQ(in.Offset(), 9);
  EXPECT_EQ(in.Next().text, long_line);
  const ByteLine last = in.Next();
  EXPECT_EQ(last.text, "last");
  EXPECT_EQ(last.end, "");
  EXPECT_TRUE(in.AtEnd());
  try {
    in.Next();
    FAIL() << "read past the end";
  } catch (const Fault& f) {
    EXPECT_EQ(f.number(), kFaultInputPastEnd);
  }
}

TEST_F(ModuleFileTest, OpeningRefusesWhatIsNoFile) {
  const struct {
    const char* name;
    std::string path;
    int fault;
  } rows[] = {{"missing", dir + "/NONE.BAS", kFaultFileNotFound},
              {"folder", dir, kFaultPathFileAccess},
              {"missing_folder", dir + "/no/X.BAS", kFaultFileNotFound}};
  for (const auto& r : rows) {
    try {
      OpenForReading(r.path);
      ADD_FAILURE() << r.name;
    } catch (const Fault& f) {
      EXPECT_EQ(f.number(), r.fault) << r.name;
    }
  }
}

TEST_F(ModuleFileTest, EmptyFileReadsAsNoBytes) {
  const std::string path = dir + "/EMPTY.BAS";
  std::ofstream(path, std::ios::binary).flush();
  const FileBytes bytes = FileBytes::Read(path);
  EXPECT_EQ(bytes.view(), "");
  EXPECT_EQ(bytes.stamp().size, 0);
}

}  // namespace
}  // namespace qw
