// The editor driven by scripts: every tests/data/editor/CASE.txt is a list of
// steps, one a line, run over an Editor wired to the scripted fake port in a
// fresh folder. Each step is written to the transcript after "> ", then what
// it showed: every message box ("! TITLE: TEXT [ICON]"), every file dialog
// ("dialog FILTER"), the focus handed to the pane, a busy pointer left on, and
// what a looking step reports. The transcript, with the folder written as @,
// must be CASE.expected; a mismatch is written to editor_CASE.actual in the
// build folder. The steps:
//   sh COMMAND           runs COMMAND in the folder after tests/data/cli/prelude.sh
//                        (show, same, files, xs, big, sized, modules) with $DATA and
//                        $LIVE_PID (a running process other than this one); writes its output
//   fresh                empties the folder
//   open FILE, open-text FILE  Module Open or File Open of FILE, without a dialog
//   open-dialog KIND [text]    the Open command of a kind: bas prg frm vbp mak cls all
//   dialog PATH|cancel   answers the next file dialog (escapes as in case tables);
//                        answer yes|no|cancel answers the next box
//   choose NAME|#N       chooses an entry in the list
//   type TEXT            types TEXT over the pane: escapes as in case tables, and
//                        every bare LF a CR LF; type-raw TEXT keeps the LFs;
//                        type-file FILE types the bytes of FILE, every bare LF a CR LF
//   save, save-as, save-to PATH, new, disk-changed, select-all, delete-all, start-up
//   properties on|off    Property and Friend procedures listed or not
//   limits classic|lifted
//   key N                a key pressed in the entry list; window-key N list|pane: a key
//                        down in the window; list-text-changed
//   find-in-module accept|cancel TEXT  Find in Module, the dialog closed so; writes
//                        the hits listed
//   go-to-hit N          chooses hit N of the last Find in Module
//   state                the entry shown, the list's row, changed or not, caption, entries
//   pane                 the pane's text and selection; pane-to FILE writes the text to FILE
// A sh step that exits with 77 skips the case: the system cannot do what it needs.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "doc_fixture.h"
#include "find/module_search.h"
#include "support/case_table.h"
#include "support/golden.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

namespace fs = std::filesystem;

// `text` as the transcript shows it: CR LF as \r and a line end, a last line
// without a line end marked.
std::string Shown(const std::string& text) {
  std::string out = StrTran(text, "\r\n", "\\r\n");
  return text.empty() || text.ends_with('\n') ? out : out + "\n(no line end)\n";
}

class EditorScript : public DocTest, public ::testing::WithParamInterface<std::string> {
 protected:
  std::string Run(const std::string& word, const std::string& arg);
  std::string Report(size_t dialogs, int focus);
  bool skipped = false;
  SearchState state;
  ModuleSearch search{ed.doc(), port, state};
  std::string State() const;
};

std::string EditorScript::Run(const std::string& word, const std::string& arg) {
  static const std::vector<std::string> kKinds = {"bas", "prg", "frm", "vbp", "mak", "cls", "all"};
  const std::string path = arg.starts_with('/') ? arg : Path(arg);
  if (word == "sh") {
    setenv("QW_STEP", arg.c_str(), 1);
    int status = 0;
    const std::string out = ShellOutput(
        "cd '" + dir + "' && DATA='" + QW_TEST_DATA + "' LIVE_PID=" + std::to_string(getppid()) +
            " sh -c '. \"$0\"; eval \"$QW_STEP\"' '" + QW_TEST_DATA + "/cli/prelude.sh' 2>&1",
        &status);
    skipped = skipped || status == 77;
    return out;
  } else if (word == "fresh") {
    for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
  } else if (word == "open" || word == "open-text") {
    ed.LoadFile(path, word == "open" ? OpenMode::kIndexed : OpenMode::kWholeText);
  } else if (word == "open-dialog") {
    const int yields = port.yields;
    const size_t kind = std::find(kKinds.begin(), kKinds.end(), arg.substr(0, 3)) - kKinds.begin();
    ed.Open(static_cast<FileKind>(kind),
            arg.ends_with("text") ? OpenMode::kWholeText : OpenMode::kIndexed);
    return "yields " + std::to_string(port.yields - yields) + "\n";
  } else if (word == "dialog") {  // a path of blanks stays as it is
    const std::string given = Unescape(arg);
    const bool blank = given.find_first_not_of(' ') == std::string::npos;
    port.dialog_paths.push_back(arg == "cancel" ? std::nullopt
                                                : std::optional(blank ? given : path));
  } else if (word == "answer") {
    port.answers.push_back(arg == "yes"  ? Answer::kYes
                           : arg == "no" ? Answer::kNo
                                         : Answer::kCancel);
  } else if (word == "choose") {
    const int yields = port.yields;
    Select(arg.starts_with('#') ? std::stoi(arg.substr(1)) : IndexOf(arg));
    return port.yields > yields ? "" : "no yield\n";
  } else if (word == "type" || word == "type-raw") {
    Type(word == "type" ? cli::ToPaneText(Unescape(arg)) : Unescape(arg));
  } else if (word == "type-file") {
    Type(cli::ToPaneText(Read(path)));
  } else if (word == "save") {
    ed.Save();
  } else if (word == "save-as") {
    ed.SaveAs();
  } else if (word == "save-to") {
    ed.SaveTo(path);
  } else if (word == "new") {
    ed.New();
  } else if (word == "disk-changed") {
    ed.FileChangedOnDisk();
  } else if (word == "select-all") {
    ed.SelectAll();
  } else if (word == "delete-all") {
    ed.DeleteAllText();
  } else if (word == "start-up") {
    ed.StartUp();
  } else if (word == "properties") {
    ed.SetIndexOptions({.property_and_friend = arg == "on"});
  } else if (word == "limits") {
    SetClassicLimits(arg == "classic");
  } else if (word == "key") {
    ed.EntryListKeyPressed(std::stoi(arg));
  } else if (word == "window-key") {
    ed.WindowKeyDown(std::stoi(arg), arg.ends_with("list"));
  } else if (word == "list-text-changed") {
    ed.EntryListTextChanged();
  } else if (word == "find-in-module") {
    const bool cancel = arg.starts_with("cancel ");
    port.find_answers.push_back({cancel ? DialogClose::kCancel : DialogClose::kAccept,
                                 arg.substr(arg.find(' ') + 1), false, false, 1});
    port.hit_rows.clear();
    search.FindInModule();
    std::string out = "find text " + state.find_text + "\n";
    for (const ModuleHit& h : port.hit_rows.empty() ? std::vector<ModuleHit>() : search.hits()) {
      out += "hit " + h.entry_name + "|" + std::to_string(h.line) + "|" + h.line_text + " (entry " +
             std::to_string(h.entry) + ", byte " + std::to_string(h.offset) + ")\n";
    }
    return out;
  } else if (word == "go-to-hit") {
    search.GoToHit(std::stoul(arg));
    return "last found at " + std::to_string(state.last_found_pos) + "\n";
  } else if (word == "state") {
    return State();
  } else if (word == "pane-to") {
    std::ofstream(path, std::ios::binary) << port.PaneText();
  } else if (word == "pane") {
    return "pane, " + std::to_string(port.PaneSelLength()) + " bytes selected at " +
           std::to_string(port.PaneSelStart()) + ":\n" + Shown(port.PaneText());
  } else {
    ADD_FAILURE() << "unknown step " << word;
  }
  return "";
}

std::string EditorScript::State() const {
  const ModuleDocument& doc = ed.doc();
  std::string s =
      "entry " + std::to_string(doc.current_entry_index()) + " " + doc.current_entry_name() +
      ", list row " + std::to_string(port.EntrySelectedIndex()) + " " + port.EntryText() +
      (doc.changed() ? ", changed" : ", unchanged") + (doc.indexed() ? "" : ", whole text") +
      (doc.pane_focus_requested() ? ", focus asked" : "") + "\nfile " + doc.file_name() +
      "\ncaption " + port.Caption() + "\nentries";
  std::vector<std::string> names;
  for (const EntryView e : doc.entries()) names.emplace_back(e.name);
  for (size_t i = 0; i < names.size(); ++i) {  // of many, the first five and the last
    if (names.size() <= 12 || i < 5 || i + 1 == names.size()) s += " " + doc.entries()[i].Text();
    if (names.size() > 12 && i == 5) s += " (" + std::to_string(names.size()) + " in all) ...";
  }
  if (port.items() != names) {
    s += "\nthe list shows";
    for (const auto& item : port.items()) s += " " + item;
  }
  return s + "\n";
}

std::string EditorScript::Report(size_t dialogs, int focus) {
  static const char* const kIcons[] = {"", " [stop]", " [!]", " [?]", " [i]"};
  std::string out;
  for (const Box& b : port.boxes)
    out += "! " + b.title + ": " + StrTran(b.text, "\n", "\\n") + kIcons[static_cast<int>(b.icon)] +
           "\n";
  port.boxes.clear();
  for (size_t i = dialogs; i < port.dialog_filters.size(); ++i)
    out += "dialog " + port.dialog_filters[i] + "\n";
  if (port.pane_focus_count > focus) out += "focus to the pane\n";
  if (port.busy_depth != 0) out += "busy pointer left at " + std::to_string(port.busy_depth) + "\n";
  return out;
}

TEST_P(EditorScript, TranscriptIsExpected) {
  const fs::path script = DataDir("editor") / (GetParam() + ".txt");
  std::ifstream in(script, std::ios::binary);
  ASSERT_TRUE(in) << script;
  std::string transcript;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t blank = line.find(' ');
    const std::string word = line.substr(0, blank);
    const std::string arg = blank == std::string::npos ? "" : line.substr(blank + 1);
    const size_t dialogs = port.dialog_filters.size();
    const int focus = port.pane_focus_count;
    const std::string said = Run(word, arg);
    transcript += "> " + line + "\n" + said + Report(dialogs, focus);
    if (skipped) GTEST_SKIP() << "the system cannot do what " << line << " needs";
  }
  for (const std::string& folder : {dir, Upper(dir)}) {
    for (size_t at; (at = transcript.find(folder)) != std::string::npos;)
      transcript.replace(at, folder.size(), "@");
  }
  ExpectGolden(DataDir("editor") / (GetParam() + ".expected"), transcript, "editor_" + GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, EditorScript,
                         ::testing::ValuesIn(CaseNames(DataDir("editor"), ".txt")),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qw::testing
