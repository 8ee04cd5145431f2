#include "document/editor.h"

#include <exception>
#include <string_view>
#include <vector>

#include "document/byte_lines.h"
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

Notice FileError(std::string text) {
  return {NoticeKind::kRefusal, std::move(text), kFileErrorTitle, Buttons::kOk, Icon::kStop};
}

// A fault number as the classic run-time prints it: a sign place, then digits.
std::string SignedNumber(int n) {
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

std::string ReadErrorText(const Fault& f, const std::string& last_line) {
  return "File Read Error : " + SignedNumber(f.number()) + "\nDesc: " + f.description() + "\n" +
         last_line;
}

// Fills the entry list with the names of the document's entries, in order.
void ListEntries(const ModuleDocument& d, Port& port) {
  port.SetEntryItems(d.entries().names());
}

}  // namespace

Editor::Editor(Port& port) : port_(port), doc_(std::make_unique<ModuleDocument>()) {}
Editor::~Editor() = default;

std::string OpenFilter(FileKind kind) {
  switch (kind) {
    case FileKind::kBas:
      return "Program (*.bas)|*.bas";
    case FileKind::kPrg:
      return "Program (*.prg)|*.prg";
    case FileKind::kFrm:
      return "Forms (*.frm)|*.frm";
    case FileKind::kVbp:
      return "Program (*.VBP)|*.VBP";
    case FileKind::kMak:
      return "Program (*.mak)|*.mak";
    case FileKind::kCls:
      return "Class (*.cls)|*.cls";
    case FileKind::kAll:
      return "All Files (*.*)|*.*";
  }
  return {};
}

OpenMode OpenModeForFile(std::string_view path) {
  return KindOfModule(path) == ModuleKind::kPlain ? OpenMode::kWholeText : OpenMode::kIndexed;
}

// --- Start-up and events ------------------------------------------------------

void Editor::StartUp() {
  doc_->MarkUnchanged();
  doc_->ClearPaneFocusRequest();
}

void Editor::ChooseEntry() {
  RunTrapped(port_, [&] {
    ModuleDocument& d = *doc_;
    if (d.changed()) {
      port_.MessageBox({NoticeKind::kWarning, kSwitchWarning, kSwitchWarningTitle, Buttons::kOk,
                        Icon::kExclamation});
      d.MarkUnchanged();
      port_.SetEntrySelectedIndex(static_cast<int>(d.current_entry_index()));
      return;
    }
    const std::string chosen = port_.EntryText();
    if (chosen == d.current_entry_name()) return;
    const int index = port_.EntrySelectedIndex();
    if (!d.HasEntry(index)) return;
    std::string text;
    try {
      text = LoadEntryText(index);
    } catch (const ModuleChanged&) {
      ReindexChanged(false);
      return;
    } catch (const Fault& f) {
      // The pane keeps the entry it shows, and the list goes back to it.
      port_.MessageBox(FileError(ReadErrorText(f, "Can't read from file: " + d.file_name())));
      port_.SetEntrySelectedIndex(static_cast<int>(d.current_entry_index()));
      return;
    }
    port_.SetPaneText(text);
    ShowIndexedCaption(chosen);
    port_.Yield();
    d.MarkUnchanged();
    d.ShowEntry(index);
  });
}

void Editor::SetIndexOptions(IndexOptions options) {
  RunTrapped(port_, [&] {
    if (options == doc_->index_options()) return;
    ModuleDocument& d = *doc_;
    if (!d.indexed() || d.file_name().empty()) {
      doc_->SetIndexOptions(options);
      return;
    }
    if (d.changed()) {
      // As a switch to another entry would: warned once, the edits kept.
      port_.MessageBox({NoticeKind::kWarning, kSwitchWarning, kSwitchWarningTitle, Buttons::kOk,
                        Icon::kExclamation});
      d.MarkUnchanged();
      return;
    }
    const std::string shown = d.current_entry_name();
    const Int position = d.entry_count() > 0 ? d.entries().position(d.current_entry_index()) : 0;
    doc_->SetIndexOptions(options);
    RebuildIndex();
    for (size_t i = 1; i < d.entry_count(); ++i) {
      if (d.entries().position(i) == position && d.entries().name(i) == shown) {
        port_.SetEntrySelectedIndex(static_cast<int>(i));  // chosen as in the list
        break;
      }
    }
  });
}

void Editor::EntryListTextChanged() {
  if (doc_->TakePaneFocusRequest()) port_.FocusPane();
}

void Editor::EntryListKeyPressed(int key_ascii) {
  if (key_ascii == 13) port_.FocusPane();
}

void Editor::NotePaneEdited() {
  doc_->MarkChanged();
}

void Editor::WindowKeyDown(int key_code, bool active_is_entry_list) {
  if (key_code == 13 && active_is_entry_list) doc_->RequestPaneFocus();
}

// --- Opening --------------------------------------------------------------------

void Editor::Open(FileKind kind, OpenMode mode) {
  OpenWithDialog(OpenFilter(kind), mode);
}

void Editor::OpenWithDialog(const std::string& filter, OpenMode mode) {
  RunTrapped(port_, [&] {
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
    LoadFile(name, mode);
    port_.Yield();
  });
}

void Editor::LoadFile(const std::string& file_name, OpenMode mode) {
  RunTrapped(port_, [&] {
    ModuleDocument& d = *doc_;
    FileHandle file;
    try {
      held_ = FileHandle();
      const bool lock = hold_lock_ && mode == OpenMode::kIndexed;
      file = lock ? OpenLocked(file_name, *files_) : OpenForReading(file_name, *files_);
    } catch (const Fault&) {
      // The document shown keeps its own file name.
      port_.MessageBox(FileError("Can't open file: " + file_name));
      return;
    }
    d.SetFile(file_name, mode);
    if (mode == OpenMode::kWholeText) {
      // Whole text: no entry of an earlier module may stay selectable.
      ForgetEntries();
      port_.SetCaption("QW: " + Upper(file_name));
    }
    FileBytes bytes;
    try {
      if (mode == OpenMode::kWholeText) {
        // Straight from the file into the pane, a piece at a time.
        port_.LoadPaneText(static_cast<size_t>(StampOf(file).size),
                           [&](const Port::PieceSink& sink) { ReadInPieces(file, sink, *files_); });
        d.MarkUnchanged();
        return;
      }
      bytes = FileBytes::Read(file, *files_);
    } catch (const Fault& f) {
      port_.MessageBox(FileError(ReadErrorText(f, "Can't open this file!")));
      if (mode == OpenMode::kIndexed) {
        // Nothing of the earlier document stays to be saved over this file.
        ForgetEntries();
        port_.SetPaneText("");
        d.MarkUnchanged();
      }
      return;
    }
    IndexBytes(bytes.view(), bytes.stamp());
    if (hold_lock_) held_ = std::move(file);
  });
}

void Editor::ForgetEntries() {
  doc_->ForgetIndex();
  port_.ClearEntryList();
}

void Editor::RebuildIndex() {
  RunTrapped(port_, [&] {
    const FileBytes bytes = FileBytes::Read(doc_->file_name(), *files_);
    IndexBytes(bytes.view(), bytes.stamp());
  });
}

void Editor::ReindexChanged(bool keep_pane) {
  ModuleDocument& d = *doc_;
  port_.MessageBox(FileError(
      d.file_name() + " has changed on disk since its entries were listed.\n" +
      (keep_pane ? "Nothing was saved. The entries are listed again from the file; the pane "
                   "keeps your text, to save again over the entry as it now stands."
                 : "The entries are listed again from the file.")));
  if (keep_pane) {
    ReindexKeepingPane();
  } else {
    RebuildIndex();
  }
}

void Editor::ReindexKeepingPane() {
  ModuleDocument& d = *doc_;
  RunTrapped(port_, [&] {
    const std::string edited = d.current_entry_name();
    const FileBytes bytes = FileBytes::Read(d.file_name(), *files_);
    port_.ClearEntryList();
    d.SetIndex(
        IndexModule(bytes.view(), d.file_name(), doc_->index_options(), port_, d.TakeIndex()),
        bytes.stamp());
    ListEntries(d, port_);
    for (size_t i = 0; i < d.entry_count(); ++i) {
      if (d.entries().name(i) == edited) {
        d.ShowEntry(static_cast<Int>(i));
        port_.SetEntryText(edited);
        return;
      }
    }
  });
}

void Editor::FileChangedOnDisk() {
  RunTrapped(port_, [&] {
    ModuleDocument& d = *doc_;
    if (!d.indexed() || d.file_name().empty() || d.stamp().size < 0) return;
    if (StampAt(d.file_name()) == d.stamp()) return;
    const Answer a = port_.MessageBox(
        {NoticeKind::kQuestion,
         d.file_name() + " has changed on disk since its entries were listed.\nList them again?",
         "File Changed", Buttons::kYesNo, Icon::kExclamation});
    if (a != Answer::kYes) return;
    if (d.changed()) {
      ReindexKeepingPane();
    } else {
      RebuildIndex();
    }
  });
}

void Editor::IndexBytes(std::string_view bytes, const FileStamp& stamp) {
  ModuleDocument& d = *doc_;
  BusyScope busy(port_);
  port_.ClearEntryList();
  d.SetIndex(IndexModule(bytes, d.file_name(), doc_->index_options(), port_, d.TakeIndex()), stamp);
  ListEntries(d, port_);

  if (d.entry_count() == 0) {
    // Nothing to show: an empty pane, and nothing read from any position.
    port_.SetEntryText("");
    port_.SetPaneText("");
    port_.SetCaption("QW: " + Upper(d.file_name()));
    d.MarkUnchanged();
    return;
  }
  const std::string name0(d.entries().name(0));
  port_.ShowEntrySelected(0, name0);
  std::string text;
  try {
    // From the bytes just indexed, not the file again: another save may have
    // replaced the file since, and the pane must show what the index lists.
    text = EntryTextOf(bytes, d.entries().front(), doc_->index_options(), port_);
  } catch (const Fault& f) {
    ShowProcedureError(port_, f);
  }
  port_.SetPaneText(text);
  ShowIndexedCaption(name0);
  d.MarkUnchanged();
}

std::string Editor::LoadEntryText(Int index) {
  BusyScope busy(port_);
  return ReadEntryText(*doc_, index, doc_->index_options(), port_, *files_);
}

void Editor::ShowIndexedCaption(const std::string& entry_name) {
  port_.SetCaption("QW: " + Trim(entry_name) + " of " + Upper(doc_->file_name()));
}

// --- Saving and closing ---------------------------------------------------------

void Editor::SaveTo(const std::string& file_name) {
  RunTrapped(port_, [&] {
    if (doc_->indexed()) {
      SaveIndexed(file_name);
    } else {
      SaveWholeText(file_name);
    }
  });
}

void Editor::SaveWholeText(const std::string& file_name) {
  {
    BusyScope busy(port_);
    WriteFileAtomically(file_name, WholeTextForSave(port_.PaneText()), flush_, *files_);
  }
  port_.SetCaption("QW: " + Upper(file_name));
  doc_->Rename(file_name);
  doc_->MarkUnchanged();
}

void Editor::SaveIndexed(const std::string& file_name) {
  ModuleDocument& d = *doc_;
  const bool over_itself = Upper(Trim(file_name)) == Upper(Trim(d.file_name()));
  try {
    BusyScope busy(port_);
    std::optional<std::string> backup;
    // The module stays locked against other saves from its read to its rename.
    FileHandle locked;
    FileBytes input;
    try {
      if (over_itself && !(backup = BackupName(file_name))) throw Fault(kFaultBadFileName);
      if (held_.fd() < 0) locked = OpenLocked(d.file_name(), *files_);
      const FileHandle& module = held_.fd() >= 0 ? held_ : locked;
      if (d.stamp().size >= 0 &&
          !(StampAt(d.file_name()) == d.stamp() && StampOf(module) == d.stamp())) {
        throw ModuleChanged(d.file_name());
      }
      input = FileBytes::Read(module, *files_);
    } catch (const ModuleChanged&) {
      throw;
    } catch (const Fault&) {
      if (!over_itself) throw;
      port_.MessageBox(FileError(kBackupFailed));
      return;
    }
    const std::string pane = port_.PaneText();
    const bool declarations = d.current_entry_name() == kDeclarationsName;
    const Int position = d.entry_count() > 0 ? d.entries().position(d.current_entry_index()) : 1;
    ModuleSaver saver(input.view(), pane, doc_->index_options(), port_);
    if (declarations) {
      if (KindOfModule(file_name) == ModuleKind::kForm) saver.CopyFormDescription();
      saver.SkipOldDeclarations();
      saver.WriteEditText();
    } else {
      saver.CopyUpToEntry(position);
      saver.SkipOldEntry();
      saver.WriteEditText();
    }
    saver.CopyRemainingLines();
    // A text that would make the entry too large to be shown again is
    // refused before anything is written.
    for (size_t span = 64 * 1024;; span *= 2) {
      std::string tail = saver.out().Slice(saver.entry_offset(), span);
      const bool whole = saver.entry_offset() + tail.size() >= saver.out().size();
      if (!whole) tail.erase(tail.rfind('\n') + 1);  // whole lines only (npos + 1 is 0)
      const size_t first_end = tail.find('\n');
      // Past its first line, a byte of the file is at least a character of
      // the entry's text: beyond the limit, the slice decides.
      if (whole || (first_end != std::string::npos &&
                    tail.size() - first_end - 1 > static_cast<size_t>(kEntryTextLimit) + 1)) {
        if (EntryTooLarge(tail, declarations, doc_->index_options())) {
          RefuseTooLarge(port_);
          return;
        }
        break;
      }
    }
    if (over_itself) {
      ModuleReplacement r;
      r.module = held_.fd() >= 0 ? &held_ : &locked;
      r.path = d.file_name();
      r.backup = *backup;
      r.old_bytes = input.view();
      r.pieces = saver.out().pieces();
      r.stamp = input.stamp();
      r.check_offset = std::min<Int>(position - 1, static_cast<Int>(input.view().size()));
      if (r.check_offset < static_cast<Int>(input.view().size())) {
        r.check_bytes = std::string(LineAt(input.view(), static_cast<size_t>(r.check_offset)).text);
      }
      r.flush = flush_;
      try {
        ReplaceModule(r, *files_);
      } catch (const BackupFailed&) {
        port_.MessageBox(FileError(kBackupFailed));
        return;
      }
    } else {
      WriteFileAtomically(file_name, saver.out().pieces(), flush_, *files_);
    }
  } catch (const ModuleChanged&) {
    ReindexChanged(true);
    return;
  }
  held_ = FileHandle();
  d.Rename(file_name);
  RebuildIndex();
}

std::string Editor::AskSaveFileName() {
  try {
    return port_.ShowSaveDialog(last_filter_);
  } catch (...) {
    return {};
  }
}

void Editor::Save() {
  RunTrapped(port_, [&] {
    if (IsEmptyValue(std::string_view(port_.PaneText())) || doc_->file_name().empty()) return;
    SaveTo(doc_->file_name());
  });
}

void Editor::SaveAs() {
  RunTrapped(port_, [&] {
    const std::string name = AskSaveFileName();
    if (!name.empty()) SaveTo(name);
  });
}

void Editor::New() {
  // File New has no visible effect: the document stays as it is.
}

bool Editor::AskToSave(const std::string& what) {
  const Answer a = port_.MessageBox(
      {NoticeKind::kQuestion,
       "The text in [" + what + "] has changed.\r\nDo you want to save the changes?",
       kConfirmSaveTitle, Buttons::kYesNoCancel, Icon::kExclamation});
  if (a == Answer::kCancel) return false;
  if (a == Answer::kYes) {
    const std::string name = AskSaveFileName();
    if (name.empty()) return false;
    SaveTo(name);  // a failed save does not keep the window open
  }
  return true;
}

bool Editor::ConfirmClose() {
  bool close = true;
  RunTrapped(port_, [&] {
    if (doc_->changed()) close = AskToSave(doc_->file_name());
  });
  return close;
}

bool Editor::ConfirmCloseCommand() {
  bool close = true;
  RunTrapped(port_, [&] {
    if (doc_->changed()) close = AskToSave(port_.Caption());
  });
  return close;
}

// --- Edit menu --------------------------------------------------------------------

void Editor::DeleteAllText() {
  RunTrapped(port_, [&] {
    port_.SetPaneText("");
    doc_->MarkUnchanged();
    port_.FocusPane();
  });
}

void Editor::SelectAll() {
  RunTrapped(port_, [&] { port_.SetPaneSelection(0, static_cast<long>(port_.PaneText().size())); });
}

}  // namespace qw
