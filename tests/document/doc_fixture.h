// A document under test: an Editor wired to the scripted fake port as the
// window wires it, working on files in a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "document/editor.h"
#include "document/module_document.h"
#include "platform/limits.h"
#include "support/fake_port.h"

namespace qw::testing {

// The lines joined and each ended by `end`.
inline std::string Lines(std::initializer_list<std::string> lines,
                         const std::string& end = "\r\n") {
  std::string s;
  for (const auto& l : lines) s += l + end;
  return s;
}

// The 1-based byte position of the line that is exactly `line` in `text`.
inline Int PosOf(const std::string& text, const std::string& line) {
  size_t at = 0;
  for (;;) {
    at = text.find(line, at);
    if (at == std::string::npos) return -1;
    const size_t after = at + line.size();
    if ((at == 0 || text[at - 1] == '\n') &&
        (after == text.size() || text[after] == '\r' || text[after] == '\n')) {
      return static_cast<Int>(at) + 1;
    }
    ++at;
  }
}

class DocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/qwdocXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    port.on_pane_change = [this] { ed.txtEdit_Change(); };
    port.on_entry_click = [this] { ed.cbProc_Click(); };
    ed.Form_Load();
    ed.SetFlushToDisk(false);
    SetClassicLimits(true);
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
  void Open(const std::string& path, bool split = true) { ed.LoadModuleFile(path, split); }
  void Select(int index) { port.SetEntrySelectedIndex(index); }
  int IndexOf(const std::string& name) const {
    const auto& e = ed.doc().entries;
    for (size_t i = 0; i < e.size(); ++i) {
      if (e[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  std::vector<std::string> Listed() const {
    std::vector<std::string> out;
    for (const auto& e : ed.doc().entries) out.push_back(e.Text());
    return out;
  }
  // Types into the pane as the user would.
  void Type(const std::string& text) { port.SetPaneText(text); }
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  FakePort port;
  Editor ed{port};
  std::string dir;
};

}  // namespace qw::testing
