#include "document/editor.h"

#include <exception>
#include <vector>

#include "document/entry_text.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_index.h"
#include "document/module_save.h"
#include "platform/fault.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {

namespace {

constexpr char kFileErrorTitle[] = "File Error";
constexpr char kBackupFailed[] = "Can't make backup file!";
constexpr char kConfirmSaveTitle[] = "Confirm Save";
constexpr char kSwitchWarning[] =
    "The currenty entity has been changed,\nto save, use the File Save Menu.\nYou will not be "
    "prompted again unless\nadditional changes are made!";
constexpr char kSwitchWarningTitle[] = "Save or Lose Changes";

// Runs a handler's body; a fault that reaches here is reported in the
// procedure error box and goes no further.
template <typename Body>
void Trapped(Port& port, Body body) {
  try {
    body();
  } catch (const Fault& f) {
    ShowProcedureError(port, f);
  } catch (const std::exception& e) {
    ShowProcedureError(port, Fault(kFaultInvalidCall, e.what()));
  }
}

// The busy pointer for the lifetime of the scope.
class BusyScope {
 public:
  explicit BusyScope(Port& port) : port_(port) { port_.BusyPointer(true); }
  ~BusyScope() { port_.BusyPointer(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Port& port_;
};

// A fault number as the classic run-time prints it: a sign place, then digits.
std::string SignedNumber(int n) {
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string ReadErrorText(const Fault& f, const std::string& last_line) {
  return "File Read Error : " + SignedNumber(f.number()) + "\nDesc: " + f.description() + "\n" +
         last_line;
}

}  // namespace

Editor::Editor(Port& port) : port_(port), doc_(std::make_unique<ModuleDocument>()) {}
Editor::~Editor() = default;

ModuleDocument& Editor::doc() {
  return *doc_;
}
const ModuleDocument& Editor::doc() const {
  return *doc_;
}

// --- Start-up and events ------------------------------------------------------

void Editor::Form_Load() {
  doc_->changed = false;
  doc_->focus_editor = false;
}

void Editor::cbProc_Click() {
  Trapped(port_, [&] {
    ModuleDocument& d = *doc_;
    if (d.changed) {
      port_.MessageBox(kSwitchWarning, kSwitchWarningTitle, Buttons::kOk, Icon::kExclamation);
      d.changed = false;
      port_.SetEntrySelectedIndex(static_cast<int>(d.current_entry_index));
      return;
    }
    const std::string chosen = port_.EntryText();
    if (chosen == d.current_entry_name) return;
    const int index = port_.EntrySelectedIndex();
    if (index < 0 || index >= static_cast<int>(d.entries.size())) return;
    std::string text;
    try {
      text = LoadProcedureText(index);
    } catch (const Fault& f) {
      // The pane keeps the entry it shows, and the list goes back to it.
      port_.MessageBox(ReadErrorText(f, "Can't read from file: " + d.file_name), kFileErrorTitle,
                       Buttons::kOk, Icon::kStop);
      port_.SetEntrySelectedIndex(static_cast<int>(d.current_entry_index));
      return;
    }
    port_.SetPaneText(text);
    SplitCaption(chosen);
    port_.Yield();
    d.changed = false;
    d.current_entry_name = chosen;
    d.current_entry_index = index;
  });
}

void Editor::cbProc_Change() {
  if (!doc_->focus_editor) return;
  port_.FocusPane();
  doc_->focus_editor = false;
}

void Editor::cbProc_KeyPress(int key_ascii) {
  if (key_ascii == 13) port_.FocusPane();
}

void Editor::txtEdit_Change() {
  doc_->changed = true;
}

void Editor::Form_KeyDown(int key_code, bool active_is_entry_list) {
  if (key_code == 13 && active_is_entry_list) doc_->focus_editor = true;
}

// --- Opening --------------------------------------------------------------------

void Editor::OpenFileWithFilter(const std::string& filter, bool split) {
  Trapped(port_, [&] {
    last_filter_ = filter;
    std::string name;
    bool cancelled = false;
    try {
      name = port_.ShowOpenDialog(filter);
    } catch (const Fault& f) {
      cancelled = f.number() == kFaultCancel;  // other faults of the dialog are ignored
    }
    port_.Yield();
    if (cancelled || IsEmptyValue(std::string_view(name))) return;
    LoadModuleFile(name, split);
    port_.Yield();
  });
}

void Editor::LoadModuleFile(const std::string& file_name, bool split) {
  Trapped(port_, [&] {
    ModuleDocument& d = *doc_;
    FileHandle file;
    try {
      file = OpenForReading(file_name);
    } catch (const Fault&) {
      // The document shown keeps its own file name.
      port_.MessageBox("Can't open file: " + file_name, kFileErrorTitle, Buttons::kOk, Icon::kStop);
      return;
    }
    d.file_name = file_name;
    d.split_mode = split;
    if (!split) {
      // Whole text: no entry of an earlier module may stay selectable.
      ForgetEntries();
      port_.SetCaption("QW: " + Upper(file_name));
    }
    FileBytes bytes;
    try {
      bytes = FileBytes::Read(file);
    } catch (const Fault& f) {
      port_.MessageBox(ReadErrorText(f, "Can't open this file!"), kFileErrorTitle, Buttons::kOk,
                       Icon::kStop);
      if (split) {
        // Nothing of the earlier document stays to be saved over this file.
        ForgetEntries();
        port_.SetPaneText("");
        d.changed = false;
      }
      return;
    }
    if (split) {
      d.stamp = bytes.stamp();
      IndexBytes(bytes.view());
      return;
    }
    port_.SetPaneText(std::string(bytes.view()));
    d.changed = false;
  });
}

void Editor::ForgetEntries() {
  doc_->entries.clear();
  doc_->entry_count = 0;
  doc_->current_entry_name.clear();
  doc_->current_entry_index = 0;
  port_.ClearEntryList();
}

void Editor::mnuFileBas_Click() {
  OpenFileWithFilter("Program (*.bas)|*.bas", false);
}
void Editor::mnuFilePrg_Click() {
  OpenFileWithFilter("Program (*.prg)|*.prg", false);
}
void Editor::mnuFileFRM_Click() {
  OpenFileWithFilter("Forms (*.frm)|*.frm", false);
}
void Editor::mnuVbp_Click() {
  OpenFileWithFilter("Program (*.VBP)|*.VBP", false);
}
void Editor::mnuMakFiles_Click() {
  OpenFileWithFilter("Program (*.mak)|*.mak", false);
}
void Editor::mnuClsFiles_Click() {
  OpenFileWithFilter("Class (*.cls)|*.cls", false);
}
void Editor::mnuFillAll_Click() {
  OpenFileWithFilter("All Files (*.*)|*.*", false);
}
void Editor::mnuBasFiles_Click() {
  OpenFileWithFilter("Program (*.bas)|*.bas", true);
}
void Editor::mnuFrmFilesn_Click() {
  OpenFileWithFilter("Forms (*.frm)|*.frm", true);
}
void Editor::mnuCls_Click() {
  OpenFileWithFilter("Class (*.cls)|*.cls", true);
}
void Editor::mnuPrgFiles_Click() {
  OpenFileWithFilter("Program (*.prg)|*.prg", true);
}

void Editor::BuildProcedureList() {
  Trapped(port_, [&] {
    const FileBytes bytes = FileBytes::Read(doc_->file_name);
    doc_->stamp = bytes.stamp();
    IndexBytes(bytes.view());
  });
}

void Editor::IndexBytes(std::string_view bytes) {
  ModuleDocument& d = *doc_;
  BusyScope busy(port_);
  port_.ClearEntryList();
  ModuleIndexer(d, bytes, port_).BuildEntries();
  std::vector<std::string> items;
  items.reserve(d.entries.size());
  for (const ProcedureEntry& e : d.entries) items.push_back(e.name);
  port_.SetEntryItems(items);

  d.current_entry_index = 0;
  if (d.entries.empty()) {
    // Nothing to show: an empty pane, and nothing read from any position.
    d.current_entry_name.clear();
    port_.SetEntryText("");
    port_.SetPaneText("");
    port_.SetCaption("QW: " + Upper(d.file_name));
    d.changed = false;
    return;
  }
  const std::string name0 = d.entries.front().name;
  port_.SetEntryText(name0);
  d.current_entry_name = name0;
  std::string text;
  try {
    text = LoadProcedureText(0);
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
  }
  port_.SetPaneText(text);
  SplitCaption(name0);
  d.changed = false;
}

std::string Editor::LoadProcedureText(Int index) {
  BusyScope busy(port_);
  return ReadEntryText(*doc_, index, port_);
}

void Editor::SplitCaption(const std::string& entry_name) {
  port_.SetCaption("QW: " + Trim(entry_name) + " of " + Upper(doc_->file_name));
}

// --- Saving and closing ---------------------------------------------------------

void Editor::SaveModule(const std::string& file_name) {
  Trapped(port_, [&] {
    if (doc_->split_mode) {
      SaveSplit(file_name);
    } else {
      SaveWholeText(file_name);
    }
  });
}

void Editor::SaveWholeText(const std::string& file_name) {
  {
    BusyScope busy(port_);
    WriteFileAtomically(file_name, WholeTextForSave(port_.PaneText()), flush_);
  }
  port_.SetCaption("QW: " + Upper(file_name));
  doc_->file_name = file_name;
  doc_->changed = false;
}

void Editor::SaveSplit(const std::string& file_name) {
  ModuleDocument& d = *doc_;
  {
    BusyScope busy(port_);
    FileBytes input;
    if (Upper(Trim(file_name)) == Upper(Trim(d.file_name))) {
      const std::optional<std::string> backup = BackupName(file_name);
      bool made = false;
      if (backup) {
        try {
          input = FileBytes::Read(d.file_name);
          MakeBackup(d.file_name, *backup, input.view(), flush_);
          made = true;
        } catch (const Fault&) {
        }
      }
      if (!made) {
        port_.MessageBox(kBackupFailed, kFileErrorTitle, Buttons::kOk, Icon::kStop);
        return;
      }
    } else {
      input = FileBytes::Read(d.file_name);
    }
    const std::string pane = port_.PaneText();
    ModuleSaver saver(input.view(), pane, port_);
    if (d.current_entry_name == kDeclarationsName) {
      if (ContainsNoCase(file_name, ".FRM")) saver.CopyFormDescription();
      saver.WriteEditText();
      saver.SkipOldEntry();
    } else {
      const Int index = d.current_entry_index;
      const Int position = index >= 0 && index < static_cast<Int>(d.entries.size())
                               ? d.entries[static_cast<size_t>(index)].position
                               : -1;
      saver.CopyUpToEntry(position);
      saver.SkipOldEntry();
      saver.WriteEditText();
    }
    saver.CopyRemainingLines();
    WriteFileAtomically(file_name, saver.out().pieces(), flush_);
  }
  d.file_name = file_name;
  BuildProcedureList();
}

std::string Editor::AskSaveFileName() {
  try {
    return port_.ShowSaveDialog(last_filter_);
  } catch (...) {
    return {};
  }
}

void Editor::mnuFileSave_Click() {
  Trapped(port_, [&] {
    if (IsEmptyValue(std::string_view(port_.PaneText())) || doc_->file_name.empty()) return;
    SaveModule(doc_->file_name);
  });
}

void Editor::mnuSaveAs_Click() {
  Trapped(port_, [&] {
    const std::string name = AskSaveFileName();
    if (!name.empty()) SaveModule(name);
  });
}

void Editor::mnuFileNew_Click() {
  // File New has no visible effect: the document stays as it is.
}

bool Editor::ConfirmSave(const std::string& what) {
  const Answer a = port_.MessageBox(
      "The text in [" + what + "] has changed.\r\nDo you want to save the changes?",
      kConfirmSaveTitle, Buttons::kYesNoCancel, Icon::kExclamation);
  if (a == Answer::kCancel) return false;
  if (a == Answer::kYes) {
    const std::string name = AskSaveFileName();
    if (name.empty()) return false;
    SaveModule(name);  // a failed save does not keep the window open
  }
  return true;
}

bool Editor::Form_QueryUnload() {
  bool close = true;
  Trapped(port_, [&] {
    if (doc_->changed) close = ConfirmSave(doc_->file_name);
  });
  return close;
}

bool Editor::mnuFileClose_Click() {
  bool close = true;
  Trapped(port_, [&] {
    if (doc_->changed) close = ConfirmSave(port_.Caption());
  });
  return close;
}

// --- Edit menu --------------------------------------------------------------------

void Editor::mnuDeleteText_Click() {
  Trapped(port_, [&] {
    port_.SetPaneText("");
    doc_->changed = false;
    port_.FocusPane();
  });
}

void Editor::mnjSelectAll_Click() {
  Trapped(port_, [&] { port_.SetPaneSelection(0, static_cast<long>(port_.PaneText().size())); });
}

}  // namespace qw
