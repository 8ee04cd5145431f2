// Fixtures of the document tests: a fresh temporary folder, and a document
// under test (an Editor wired to the scripted fake port as the window wires it).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "document/editor.h"
#include "document/module_document.h"
#include "platform/limits.h"
#include "support/fake_port.h"

namespace qw::testing {

// `text` with CR LF for each LF.
inline std::string Crlf(const std::string& text) {
  std::string s;
  for (const char c : text) s += c == '\n' ? "\r\n" : std::string(1, c);
  return s;
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qwdocXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::string Path(const std::string& name) const { return dir + "/" + name; }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string p = Path(name);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  static std::string Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  static std::string Fixture(const std::string& name) {
    return Read(std::string(QW_TEST_DATA) + "/modules/" + name);
  }
  // The files under the folder, as sorted paths relative to it.
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
      if (!e.is_directory()) names.push_back(std::filesystem::relative(e.path(), dir).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir;
};

class DocTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    port.on_pane_change = [this] { ed.NotePaneEdited(); };
    port.on_entry_click = [this] { ed.ChooseEntry(); };
    ed.StartUp();
    ed.SetFlushToDisk(false);
    SetClassicLimits(true);
  }

  void Open(const std::string& path, bool split = true) {
    ed.LoadFile(path, split ? OpenMode::kIndexed : OpenMode::kWholeText);
  }
  void Select(int index) { port.SetEntrySelectedIndex(index); }
  // Types into the pane as the user would.
  void Type(const std::string& text) { port.SetPaneText(text); }
  int IndexOf(const std::string& name) const {
    const auto& e = ed.doc().entries();
    for (size_t i = 0; i < e.size(); ++i) {
      if (e[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  std::vector<std::string> Listed() const {
    std::vector<std::string> out;
    for (const EntryView e : ed.doc().entries()) out.push_back(e.Text());
    return out;
  }
  // Every box shown, as "title: text".
  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const Box& b : port.boxes) out.push_back(b.title + ": " + b.text);
    return out;
  }

  FakePort port;
  Editor ed{port};
};

}  // namespace qw::testing
