// File access of the document model: atomic writes from pieces, the rope the
// save builds, and reading whole files and lines from an offset.
#include "document/module_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/byte_rope.h"
#include "platform/fault.h"

namespace qw::testing {
namespace {

using ModuleFileTest = TempDirTest;

// The number of the fault `f` throws; 0 when it throws none.
int FaultOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Fault& e) {
    return e.number();
  }
  return 0;
}

TEST_F(ModuleFileTest, RopeJoinsNeighbouringPiecesAndManyPiecesAreWrittenInOrder) {
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
  std::vector<std::string> owned;
  std::string want;
  for (int i = 0; i < 3000; ++i) want += owned.emplace_back(std::to_string(i) + ",");
  const std::string path = Path("OUT.BAS");
  const FileStamp stamp =
      WriteFileAtomically(path, std::vector<std::string_view>(owned.begin(), owned.end()), false);
  EXPECT_EQ(Read(path), want);
  EXPECT_EQ(stamp.size, static_cast<Int>(want.size()));
  EXPECT_EQ(stamp, StampOf(OpenForReading(path)));
}

TEST_F(ModuleFileTest, ReadsLinesFromAnOffsetAndAnEmptyFileAsNoBytes) {
  const std::string long_line(200000, 'x');
  const FileHandle file = OpenForReading(Write("IN.BAS", "one\r\ntwo\n" + long_line + "\r\nlast"));
  FileLineReader in(file, 5);
  EXPECT_EQ(in.Next().text, "two");
  EXPECT_EQ(in.Offset(), 9);
  EXPECT_EQ(in.Next().text, long_line);
  const ByteLine last = in.Next();
  EXPECT_EQ(last.text, "last");
  EXPECT_EQ(last.end, "");
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(FaultOf([&] { in.Next(); }), kFaultInputPastEnd);
  const FileBytes empty = FileBytes::Read(Write("EMPTY.BAS", ""));
  EXPECT_EQ(empty.view(), "");
  EXPECT_EQ(empty.stamp().size, 0);
}

// Every byte value comes back, from files on both sides of the sizes where a
// file gets room of its own instead of the spare buffer and where it is
// mapped when no spare buffer is given.
TEST_F(ModuleFileTest, ReadsFilesWholeOfEverySize) {
  std::string spare;
  for (const size_t size : {size_t{1}, kLargeRoomFrom - 1, kLargeRoomFrom, kHugePage + 3}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    const std::string path = Write("BIG.BAS", bytes);
    EXPECT_EQ(FileBytes::Read(path).view(), bytes) << size;
    const FileBytes kept = FileBytes::Read(path, spare);
    EXPECT_EQ(kept.view(), bytes) << size;
    EXPECT_EQ(kept.view().data() == spare.data(), size < kLargeRoomFrom) << size;
  }
}

TEST_F(ModuleFileTest, OpeningRefusesWhatIsNoFile) {
  const struct {
    const char* name;
    std::string path;
    int fault;
  } rows[] = {{"missing", Path("NONE.BAS"), kFaultFileNotFound},
              {"folder", dir, kFaultPathFileAccess},
              {"missing_folder", Path("no/X.BAS"), kFaultFileNotFound}};
  for (const auto& r : rows) EXPECT_EQ(FaultOf([&] { OpenForReading(r.path); }), r.fault) << r.name;
}

TEST_F(ModuleFileTest, ReadsFilesOfAFolderWholeIntoOneBufferAndRefusesWhatIsNoFile) {
  // Sizes around the first room of the buffer and its doublings, large after
  // small and small after large, the file's size asked or not.
  const size_t sizes[] = {0, 1, 65535, 65536, 65537, 300001, 2, 131072, 0};
  const FileHandle folder(::open(dir.c_str(), O_PATH | O_DIRECTORY));
  std::string into;
  for (const bool listed : {true, false}) {
    for (const size_t size : sizes) {
      std::string bytes(size, '\0');
      for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + size);
      const std::string name = "F" + std::to_string(size) + ".BAS";
      Write(name, bytes);
      const std::optional<std::string_view> got =
          ReadFileInto(folder.fd(), name.c_str(), listed, into);
      ASSERT_TRUE(got) << size;
      EXPECT_TRUE(*got == bytes) << size << (listed ? " listed" : "");
    }
  }
  ASSERT_EQ(::mkfifo(Path("PIPE.BAS").c_str(), 0600), 0);
  for (const char* name : {"PIPE.BAS", "NONE.BAS", "."}) {
    EXPECT_FALSE(ReadFileInto(folder.fd(), name, false, into)) << name;
  }
}

}  // namespace
}  // namespace qw::testing
