// Editor: the operations of the main window that act on the open module, free
// of any toolkit. The window (or qwtool, or a test) owns one Editor, gives it
// the port, and calls one of these handlers per event; the Editor reaches the
// pane, the entry list, the caption, dialogs and message boxes only through
// the port.
//
// Every handler traps its own faults and reports them; none throws.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/limits.h"
#include "platform/port.h"

namespace qw {

class ModuleDocument;

class Editor {
 public:
  explicit Editor(Port& port);
  ~Editor();
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  ModuleDocument& doc();
  const ModuleDocument& doc() const;

  // --- Start-up and events of the entry list and the pane -------------------
  void Form_Load();
  void cbProc_Click();
  void cbProc_Change();
  void cbProc_KeyPress(int key_ascii);
  void txtEdit_Change();
  // The window sees every key first: Enter (13) while the active control is
  // the entry list sets the focus-editor flag.
  void Form_KeyDown(int key_code, bool active_is_entry_list);

  // --- Opening ----------------------------------------------------------------
  // Asks for a file with the Open dialog and loads it whole (split false) or
  // indexed (split true). A cancelled dialog changes nothing.
  void OpenFileWithFilter(const std::string& filter, bool split);
  void LoadModuleFile(const std::string& file_name, bool split);
  // The eleven open commands of the File menu.
  void mnuFileBas_Click();
  void mnuFilePrg_Click();
  void mnuFileFRM_Click();
  void mnuVbp_Click();
  void mnuMakFiles_Click();
  void mnuClsFiles_Click();
  void mnuFillAll_Click();
  void mnuBasFiles_Click();
  void mnuFrmFilesn_Click();
  void mnuCls_Click();
  void mnuPrgFiles_Click();

  // --- Saving and closing -----------------------------------------------------
  void SaveModule(const std::string& file_name);
  void mnuFileSave_Click();
  void mnuSaveAs_Click();
  void mnuFileNew_Click();
  // The closing question. Returns true when the window may close, false when
  // the user chose to stay (Cancel, or a cancelled Save As dialog).
  bool Form_QueryUnload();
  // The close question of the Close command; true when the window may close.
  // The caller then closes the window, which asks the closing question
  // (Form_QueryUnload) in its turn.
  bool mnuFileClose_Click();
  // The Save As dialog with an empty file name and the filter of the last
  // Open dialog: the chosen path, or "" when it was cancelled or failed.
  std::string AskSaveFileName();

  // --- Edit menu commands that act on the document -----------------------------
  void mnuDeleteText_Click();
  void mnjSelectAll_Click();

  // --- The document's working procedures --------------------------------------
  // Indexes the current file (doc().file_name) into entries, fills the entry
  // list, shows entry 0 and sets the caption; clears the changed flag. Reports
  // its own faults.
  void BuildProcedureList();
  // The text of entry `index` (0-based), read from the file; see
  // document/entry_text.h. Throws a Fault when the file cannot be read.
  std::string LoadProcedureText(Int index);

  // Whether saves flush the files they write to the disk (true, the default).
  // Benchmarks switch it off to measure the work and not the disk.
  void SetFlushToDisk(bool flush) { flush_ = flush; }

 private:
  void IndexBytes(std::string_view bytes);
  void SaveWholeText(const std::string& file_name);
  void SaveSplit(const std::string& file_name);
  // Asks "Confirm Save" about the text in [`what`]: true to go on closing.
  bool ConfirmSave(const std::string& what);
  void SplitCaption(const std::string& entry_name);
  // Empties the entry list and cbProc, so that no entry of an earlier file
  // can be chosen.
  void ForgetEntries();

  Port& port_;
  std::unique_ptr<ModuleDocument> doc_;
  std::string last_filter_;  // the filter of the last Open dialog
  bool flush_ = true;
};

}  // namespace qw
