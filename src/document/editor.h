// Editor: the operations of the main window that act on the open document,
// free of any toolkit. The window (or qwtool, or a test) owns one Editor,
// gives it the port, and calls one of these operations per event or command;
// the Editor reaches the edit pane, the entry list, the caption, dialogs and
// message boxes only through the port.
//
// The road of an edit: Open a module (it is indexed, entry 0 is shown),
// ChooseEntry when the user picks another entry in the list, NotePaneEdited
// on every change of the pane, Save to splice the pane's text back into the
// file after a backup, ConfirmClose before the window goes.
//
// Every operation traps its own faults and reports them through the port;
// none throws.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "document/file_system.h"
#include "document/line_rules.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "platform/limits.h"
#include "platform/port.h"

namespace qw {

// The kinds of file the open commands ask for, each with its dialog filter.
enum class FileKind { kBas, kPrg, kFrm, kVbp, kMak, kCls, kAll };

// The Open dialog's filter for `kind`, in the form "Program (*.bas)|*.bas".
std::string OpenFilter(FileKind kind);

// How a file named on the command line opens: a module (".bas", ".frm",
// ".cls" or ".prg" after the last "." of its own name, letter case ignored)
// indexed as Module Open does, any other file whole as File Open does.
OpenMode OpenModeForFile(std::string_view path);

class Editor {
 public:
  explicit Editor(Port& port);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  const ModuleDocument& doc() const { return *doc_; }

  // --- Start-up, the entry list and the pane -------------------------------------
  // The state of a window just created: unchanged, no focus hand-off pending.
  void StartUp();
  // The user chose an item of the entry list. An edited pane is warned about
  // once ("Save or Lose Changes") and kept, the list going back to its entry;
  // otherwise the chosen entry is read from the file and shown. An entry that
  // cannot be read is reported and the pane keeps the entry it shows.
  void ChooseEntry();
  // The entry list's text changed: after Enter in the list, the focus moves
  // to the pane.
  void EntryListTextChanged();
  // A character typed in the entry list: Enter (13) moves the focus to the pane.
  void EntryListKeyPressed(int key_ascii);
  // Any change of the pane's text, by the user or by the program.
  void NotePaneEdited();
  // The window sees every key first: Enter (key code 13) while the entry list
  // is the active control asks for the focus hand-off.
  void WindowKeyDown(int key_code, bool active_is_entry_list);

  // --- Which procedures are entries ----------------------------------------------
  // The rules the module is indexed, read and saved by (off by default: the
  // classic entries only).
  IndexOptions index_options() const { return doc_->index_options(); }
  // Options > List Property and Friend Procedures: makes `options` the rules
  // of the index. An indexed module is indexed again by them at once, and the
  // entry shown stays shown when it is still an entry (entry 0 otherwise). An
  // edited pane is warned about once ("Save or Lose Changes") and kept: the
  // options then stay as they were, and choosing the command again switches.
  void SetIndexOptions(IndexOptions options);

  // --- Opening ------------------------------------------------------------------
  // The open commands: asks for a file of `kind` with the Open dialog and
  // loads it. A cancelled dialog or an empty name changes nothing.
  void Open(FileKind kind, OpenMode mode);
  // Opens `file_name` whole into the pane or indexed into entries. A file that
  // cannot be opened is reported and the document stays as it was.
  void LoadFile(const std::string& file_name, OpenMode mode);

  // Another program may have changed the open module on disk (the window
  // noticed a change of the file). When its stamp differs from the index's,
  // asks whether to list its entries again: Yes indexes it again (an edited
  // pane keeps its text, the entry of the same name becoming the one edited),
  // No leaves everything as it is. A whole-text document, or a module that has
  // not changed, asks nothing.
  void FileChangedOnDisk();

  // --- Saving and closing ----------------------------------------------------------
  // Saves the document to `file_name`: a whole-text document as the pane's
  // text; an indexed one by splicing the pane's text in place of the shown
  // entry's old text, after a backup when saving over the same file, then
  // indexing the file again.
  void SaveTo(const std::string& file_name);
  // The Save command: to the current file, unless the pane is blank or no
  // file is open.
  void Save();
  // The Save As command: asks for a name; a cancelled dialog saves nothing.
  void SaveAs();
  // The File New command: no visible effect.
  void New();
  // The question before the window closes, whatever closes it ("Confirm
  // Save", naming the file). True when the window may close, false when the
  // user chose to stay (Cancel, or a cancelled Save As dialog).
  bool ConfirmClose();
  // The question of the Close command (naming the window caption); true when
  // the window may close. The caller then closes the window, which asks
  // ConfirmClose in its turn.
  bool ConfirmCloseCommand();
  // The Save As dialog with an empty file name and the filter of the last
  // Open dialog: the chosen path, or "" when it was cancelled or failed.
  std::string AskSaveFileName();

  // --- Edit menu commands that act on the document ---------------------------------
  // Empties the pane and leaves the entry unchanged: no question follows.
  void DeleteAllText();
  // Selects the whole text of the pane.
  void SelectAll();

  // --- Working procedures ------------------------------------------------------------
  // Indexes the current file into entries, fills the entry list, shows entry
  // 0 and sets the caption; clears the changed flag. Reports its own faults.
  void RebuildIndex();
  // The text of entry `index` (0-based), read from the file; see
  // document/entry_text.h. Throws a Fault when the file cannot be read.
  std::string LoadEntryText(Int index);

  // Whether saves flush the files they write to the disk (true, the default).
  // Benchmarks switch it off to measure the work and not the disk.
  void SetFlushToDisk(bool flush) { flush_ = flush; }
  // The file system every load and save goes through (the system's own by
  // default; a test's to watch or fail its calls). It must outlive the Editor.
  void SetFileSystem(FileSystem& fs) { files_ = &fs; }
  // Whether a module opened through Module Open stays locked (flock) from its
  // indexing until the next save or open, so that no other save can come
  // between (qwtool); otherwise it is locked during each save only (the window).
  void HoldModuleLock(bool hold) { hold_lock_ = hold; }

 private:
  void OpenWithDialog(const std::string& filter, OpenMode mode);
  void IndexBytes(std::string_view bytes, const FileStamp& stamp);
  void SaveWholeText(const std::string& file_name);
  void SaveIndexed(const std::string& file_name);
  // Asks "Confirm Save" about the text in [`what`]: true to go on closing.
  bool AskToSave(const std::string& what);
  void ShowIndexedCaption(const std::string& entry_name);
  // Empties the entry list and the index, so that no entry of an earlier file
  // can be chosen.
  void ForgetEntries();
  // The file changed on disk since it was indexed: says so in one box and
  // indexes it again. A save keeps the pane's text and the changed flag, with
  // the entry of the same name, when there is one, as the entry edited.
  void ReindexChanged(bool keep_pane);
  // Indexes the file again and keeps the pane's text and the changed flag,
  // the entry of the same name becoming the one edited.
  void ReindexKeepingPane();

  Port& port_;
  std::unique_ptr<ModuleDocument> doc_;
  std::string last_filter_;  // the filter of the last Open dialog
  bool flush_ = true;
  FileSystem* files_ = &SystemFiles();
  bool hold_lock_ = false;
  FileHandle held_;  // the module locked since its indexing, when held
};

}  // namespace qw
