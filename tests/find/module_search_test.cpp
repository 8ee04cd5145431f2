// Find in Module: the hits of a search over the whole module are exactly the
// lines that showing every entry in turn and reading its text would reveal;
// and so are those of qwtool's search of the file (only the entries around
// the occurrences indexed, each searched as the index hands it over).
// (Choosing a hit, and the pane's own text, are scripts of tests/data/editor.)
#include "find/module_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "document/doc_fixture.h"
#include "find/text_search.h"

namespace qw::testing {
namespace {

using Hit = std::tuple<Int, Int, Int, std::string>;  // entry, line, offset, line text

std::vector<Hit> Tuples(const std::vector<ModuleHit>& hits) {
  std::vector<Hit> out;
  for (const ModuleHit& h : hits) out.emplace_back(h.entry, h.line, h.offset, h.line_text);
  return out;
}

// The hits as a reader of every entry would find them, one line at a time.
std::vector<Hit> ReadEveryLine(const std::vector<std::string>& texts, const std::string& pattern,
                               bool match_case) {
  const auto fold = [&](std::string s) {
    if (!match_case) {
      for (char& c : s) c = FoldCase(c);
    }
    return s;
  };
  const std::string pat = fold(pattern);
  std::vector<Hit> out;
  for (size_t e = 0; e < texts.size(); ++e) {
    const std::string text = fold(texts[e]);
    size_t start = 0;
    for (Int line = 1; start < text.size(); ++line) {
      const size_t crlf = text.find("\r\n", start);
      const size_t end = crlf == std::string::npos ? text.size() : crlf;
      const size_t next = crlf == std::string::npos ? text.size() : crlf + 2;
      const size_t at = text.find(pat, start);
      if (at != std::string::npos && at < next) {
        out.emplace_back(static_cast<Int>(e), line, static_cast<Int>(at),
                         texts[e].substr(start, end - start));
      }
      start = next;
    }
  }
  return out;
}

class FindInModuleTest : public DocTest {
 protected:
  // The text of every entry, as the pane shows it.
  std::vector<std::string> ShowEveryEntry() {
    std::vector<std::string> texts;
    for (size_t i = 0; i < ed.doc().entry_count(); ++i) {
      Select(static_cast<int>(i));
      texts.push_back(port.PaneText());
    }
    Select(0);
    return texts;
  }
};

TEST_F(FindInModuleTest, FindsWhatReadingEveryEntryFinds) {
  int compared = 0;
  // The sample modules, and the index's own cases (lines between procedures,
  // every closing line, bare LFs, a last line without a line end).
  std::vector<std::filesystem::path> files;
  for (const char* name : {"MAIN.BAS", "DIALOG.FRM", "ACCOUNT.CLS", "FIRSTPROC.PRG", "REPORT.PRG",
                           "UNIX.BAS", "NODECL.BAS"}) {
    files.push_back(std::filesystem::path(QW_TEST_DATA) / "modules" / name);
  }
  for (const auto& c : std::filesystem::directory_iterator(std::string(QW_TEST_DATA) + "/index")) {
    if (!c.is_directory()) continue;
    for (const auto& f : std::filesystem::directory_iterator(c.path())) files.push_back(f.path());
  }
  for (const auto& path : files) {
    const std::string name = path.filename().string();
    const std::string bytes = Read(path.string());
    Open(Write(name, bytes));
    if (ed.doc().entry_count() == 0) continue;  // searched as a whole text, not by entries
    const std::vector<std::string> texts = ShowEveryEntry();
    // Every word of the file, one letter, and texts across a line end.
    std::set<std::string> patterns = {"e", "E", "\r\nEnd", "d\r\n", "\xe9"};
    for (size_t i = 0; i < bytes.size();) {
      const size_t b =
          bytes.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", i);
      if (b == std::string::npos) break;
      const size_t e = bytes.find_first_not_of(
          "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_", b);
      patterns.insert(bytes.substr(b, e - b));
      i = e;
    }
    for (const std::string& pattern : patterns) {
      for (bool match_case : {false, true}) {
        const std::vector<Hit> expected = ReadEveryLine(texts, pattern, match_case);
        ASSERT_EQ(Tuples(FindInDocument(ed.doc(), port.PaneText(), pattern, match_case)), expected)
            << name << " '" << pattern << "' case " << match_case;
        std::vector<Hit> found;
        FindInModuleFile(bytes, name, {}, pattern, match_case, port, [&](const ModuleHitView& h) {
          // Entries are told by name: the file search numbers only those it searched.
          const auto& entries = ed.doc().entries();
          const auto e = std::find_if(entries.begin(), entries.end(),
                                      [&](const auto& x) { return x.name == h.entry_name; });
          found.emplace_back(e - entries.begin(), h.line, h.offset, std::string(h.line_text));
        });
        ASSERT_EQ(found, expected) << name << " '" << pattern << "' from the file";
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 200);
}

}  // namespace
}  // namespace qw::testing
