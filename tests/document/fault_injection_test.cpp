// Faults injected into the file layer: every call a save or a Module Open
// makes is failed in turn, and the user's file must come out whole, with no
// temporary file left and one clear message.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/file_system.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;
using Call = FileSystem::Call;

// Records every call and fails the `fail_at`-th (1-based; 0 fails none).
class FaultyFiles : public FileSystem {
 public:
  int fail_at = 0;
  std::vector<Call> calls;
  std::function<void(Call)> before;  // runs before each call

 protected:
  bool Allow(Call call, int, const std::string&) override {
    calls.push_back(call);
    if (before) before(call);
    if (static_cast<int>(calls.size()) != fail_at) return true;
    errno = EIO;
    return false;
  }
};

// The calls that make a save durable, in order.
std::vector<Call> DurabilityCalls(const std::vector<Call>& calls) {
  std::vector<Call> out;
  for (Call c : calls) {
    if (c == Call::kSync || c == Call::kLink || c == Call::kRename) out.push_back(c);
  }
  return out;
}

class FaultInjectionTest : public DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    ed.SetFileSystem(files);
    ed.SetFlushToDisk(true);
  }
  // A fresh folder with the module, opened, entry A edited; the calls of the
  // save are those recorded from here on, the `fail_at`-th failing.
  void OpenAndEdit(bool second_name, int fail_at) {
    fs::remove_all(dir);
    path = Write("M.BAS", kModule);
    if (second_name) fs::create_hard_link(path, Path("OTHER"));
    files.fail_at = 0;
    Open(path);
    Select(IndexOf("A"));
    Type(Crlf("Sub A()\n  x = 2\nEnd Sub\n"));
    port.boxes.clear();
    files.calls.clear();
    files.fail_at = fail_at;
  }

  const std::string kModule = Crlf("Dim a\nSub A()\n  x = 1\nEnd Sub\nSub B()\nEnd Sub\n");
  const std::string kSaved = Crlf("Dim a\nSub A()\n  x = 2\nEnd Sub\nSub B()\nEnd Sub\n");
  FaultyFiles files;
  std::string path;
};

TEST_F(FaultInjectionTest, EveryCallOfASaveFailingLeavesTheFileWholeAndNoTemporary) {
  const struct {
    const char* name;
    bool second_name;  // the module has another hard link: its backup is a copy
    std::vector<Call> durable;
  } rows[] = {
      // The backup is a second name of the old file, flushed before it is
      // given the backup's name; the new file is flushed before its rename,
      // the folder after it.
      {"backup_by_link",
       false,
       {Call::kLink, Call::kSync, Call::kRename, Call::kSync, Call::kLink, Call::kRename,
        Call::kSync}},
      {"backup_by_copy",
       true,
       {Call::kSync, Call::kLink, Call::kRename, Call::kSync, Call::kLink, Call::kRename,
        Call::kSync}},
  };
  for (const auto& r : rows) {
    OpenAndEdit(r.second_name, 0);
    ed.Save();
    ASSERT_EQ(Read(path), kSaved) << r.name;
    const std::vector<Call> clean = files.calls;
    RecordProperty(std::string(r.name) + "_calls", static_cast<int>(clean.size()));
    EXPECT_EQ(DurabilityCalls(clean), r.durable) << r.name;
    size_t rename_at = 0;  // the module's own rename, 1-based
    for (size_t i = 0; i < clean.size(); ++i) {
      if (clean[i] == Call::kRename) rename_at = i + 1;
    }
    ASSERT_GT(rename_at, 0u) << r.name;
    std::vector<size_t> recovered;  // calls whose failure the save got round
    for (size_t n = 1; n <= clean.size(); ++n) {
      OpenAndEdit(r.second_name, static_cast<int>(n));
      ed.Save();
      const std::string at = std::string(r.name) + ", call " + std::to_string(n);
      for (const std::string& f : FilesInDir()) EXPECT_NE(f[0], '.') << at << ": " << f;
      const bool kept = Read(path) == kModule;
      if (kept) {
        EXPECT_EQ(port.boxes.size(), 1u) << at;
        EXPECT_TRUE(ed.doc().changed()) << at;
        EXPECT_TRUE(!fs::exists(Path("M.BAK")) || Read(Path("M.BAK")) == kModule) << at;
      } else {
        EXPECT_TRUE(Read(path) == kSaved) << at;
        EXPECT_LE(port.boxes.size(), 1u) << at;  // indexing the saved file again may fail
        if (n <= rename_at) recovered.push_back(n);
      }
      EXPECT_EQ(kept, n <= rename_at && (recovered.empty() || recovered.back() != n)) << at;
      EXPECT_TRUE(!r.second_name || Read(Path("OTHER")) == kModule) << at;
      EXPECT_EQ(port.busy_depth, 0) << at;
    }
    // Only a backup that cannot be a second name (it is then copied) is got
    // round.
    std::vector<Call> got_round;
    for (size_t n : recovered) got_round.push_back(clean[n - 1]);
    const std::vector<Call> want_round =
        r.second_name ? std::vector<Call>{} : std::vector<Call>{Call::kLink};
    EXPECT_EQ(got_round, want_round) << r.name;
  }
}

TEST_F(FaultInjectionTest, AModuleOpenThatFailsNeverListsTheOldEntriesUnderTheNewName) {
  const std::string other = Write("OTHER.BAS", Crlf("Dim z\nSub Z()\nEnd Sub\n"));
  OpenAndEdit(false, 0);
  const std::vector<std::string> old_listing = Listed();
  Open(other);
  const std::vector<std::string> new_listing = Listed();
  const size_t load_calls = files.calls.size();
  ASSERT_GT(load_calls, 0u);
  for (size_t n = 1; n <= load_calls; ++n) {
    files.fail_at = 0;
    Open(path);
    files.calls.clear();
    files.fail_at = static_cast<int>(n);
    Open(other);
    const std::string at = "call " + std::to_string(n);
    if (ed.doc().file_name() == other) {
      EXPECT_TRUE(Listed().empty() || Listed() == new_listing) << at;
      EXPECT_TRUE(!Listed().empty() || port.PaneText().empty()) << at;
    } else {
      EXPECT_EQ(Listed(), old_listing) << at;
    }
  }
}

TEST_F(FaultInjectionTest, AModuleReplacedRightAfterTheSaveIsShownAsListedWithoutAFault) {
  // Another writer replaces the module at any call after this save's rename:
  // the entries listed again and the text shown come from one version.
  const std::string other = Crlf("Dim b\nSub A()\nEnd Sub\nSub B()\nEnd Sub\n");
  for (int n = 1; n <= 8; ++n) {
    OpenAndEdit(false, 0);
    int renames = 0, after = 0;
    files.before = [&](Call call) {
      if (renames == 2 && ++after == n) {
        Write("NEXT", other);
        fs::rename(Path("NEXT"), path);
      }
      if (call == Call::kRename) ++renames;
    };
    ed.Save();
    files.before = nullptr;
    const std::string at = "call " + std::to_string(n) + " after the rename";
    EXPECT_TRUE(port.boxes.empty()) << at << ": " << port.boxes.front().text;
    EXPECT_TRUE(port.PaneText() == Crlf("Dim a\n") || port.PaneText() == Crlf("Dim b\n")) << at;
  }
}

TEST_F(FaultInjectionTest, BytesChangedUnderTheSaveWithSizeAndTimeKeptAreNotSplicedOver) {
  OpenAndEdit(false, 0);
  bool changed = false;
  files.before = [&](Call call) {
    if (call != Call::kWrite || changed) return;
    changed = true;
    // Another program rewrites the header of A in place, keeping the size
    // and the modification time.
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const int fd = open(path.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, "Sub Q()", 7, static_cast<off_t>(kModule.find("Sub A()"))), 7);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(fd, times);
    close(fd);
  };
  ed.Save();
  files.before = nullptr;
  std::string want = kModule;
  want.replace(want.find("Sub A()"), 7, "Sub Q()");
  EXPECT_TRUE(changed);
  EXPECT_TRUE(Read(path) == want);
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"File Error"});
  EXPECT_TRUE(ed.doc().changed());
  for (const std::string& f : FilesInDir()) EXPECT_NE(f[0], '.') << f;
}

}  // namespace
}  // namespace qw::testing
