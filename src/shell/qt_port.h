// QtPort: the platform port on Qt widgets. Message boxes are QMessageBoxes,
// the file dialogs QFileDialogs, the pane a CodePagePane addressed in bytes,
// the entry list an editable QComboBox over one EntryNames model, the
// clipboard the system clipboard read and written in the pane's code page, so
// that every byte of the pane survives a round trip. Clipboard text holding a
// character the code page cannot write is refused (a Fault naming it).
//
// For tests the port takes a PortScript: while one is installed, message
// boxes and file dialogs are recorded and answered from the script instead of
// being shown, and nothing modal ever opens.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/port.h"
#include "shell/qt_printer.h"

class QComboBox;
class QMenuBar;
class QWidget;

namespace qw::shell {

class CodePagePane;
class EntryNames;
class EntrySearch;

struct ShownBox {
  std::string text;
  std::string title;  // as shown: "QWEdit" for a box without a title of its own
  Buttons buttons;
  Icon icon;
};

struct ShownDialog {
  bool save;           // Save As (true) or Open (false)
  std::string filter;  // as the core gave it
};

// Scripted answers for boxes and dialogs, and the record of what was shown.
struct PortScript {
  std::deque<Answer> answers;                    // for message boxes, in order
  std::deque<std::optional<std::string>> paths;  // for file dialogs; nullopt = Cancel
  std::vector<ShownBox> boxes;
  std::vector<ShownDialog> dialogs;
  // Boxes and dialogs met with an empty script: a box is answered OK when it
  // has only OK, else Cancel; a dialog is cancelled.
  int unscripted = 0;
  // The printer to print on instead of the default printer, when set.
  Printer* printer = nullptr;
  // Answers of the search dialogs, in order; none left: the close box.
  std::deque<FindDialogAnswer> find_answers;
  std::deque<ReplaceDialogAnswer> replace_answers;
  std::vector<std::string> find_texts;  // the text each Find dialog opened with
};

// Turns a filter of the form "Program (*.bas)|*.bas" (pairs of a description
// and a pattern list, all joined by "|") into a Qt name filter list ("Program
// (*.bas *.BAS)"). Patterns match either letter case, and "*.*" matches every
// file, dot or not.
QString ConvertDialogFilter(const std::string& filter);

class HitList;

class QtPort final : public Port {
 public:
  QtPort(QWidget* window, QMenuBar* menu_bar, CodePagePane* pane, QComboBox* entry_list);

  // Raised when SetEntrySelectedIndex selects an item, as a user's choice does.
  void SetEntryClickHandler(std::function<void()> handler) { on_entry_click_ = std::move(handler); }
  // Raised with the row the user chose in the hit list of Find in Module.
  void SetHitChosenHandler(std::function<void(size_t)> handler);
  // The hit list window, once Find in Module has shown it (else nullptr).
  HitList* hit_list() const { return hit_list_; }
  // Called when the pane is about to take a new text, emptied already: what
  // depends on the text's file (its colouring) is set while it costs nothing.
  void SetNewTextHandler(std::function<void()> handler) { on_new_text_ = std::move(handler); }
  // Installs (or, with nullptr, removes) a script; the port does not own it.
  void SetScript(PortScript* script) { script_ = script; }
  int busy_depth() const { return busy_depth_; }

  Answer MessageBox(const Notice& notice) override;
  void Yield() override;
  void BusyPointer(bool busy) override;

  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  void SendKeys(const std::string& keys) override;

  std::string ShowOpenDialog(const std::string& filter) override;
  std::string ShowSaveDialog(const std::string& filter) override;
  FindDialogAnswer ShowFindDialog(const std::string& text) override;
  ReplaceDialogAnswer ShowReplaceDialog() override;
  void ShowHitList(const std::string& find_text, const std::vector<HitRow>& rows) override;

  std::string PaneText() const override;
  void SetPaneText(const std::string& text) override;
  void LoadPaneText(size_t size, const std::function<void(const PieceSink&)>& read) override;
  std::string PaneSelectedText() const override;
  long PaneSelStart() const override;
  long PaneSelLength() const override;
  void SetPaneSelection(long start, long length) override;
  void ReplacePaneSelection(const std::string& text) override;
  void FocusPane() override;
  const CaseFold& PaneCaseFold() const override;

  void ClearEntryList() override;
  void SetEntryItems(NameBlock names) override;
  int EntryCount() const override;
  std::string EntryText() const override;
  void SetEntryText(const std::string& text) override;
  int EntrySelectedIndex() const override;
  void SetEntrySelectedIndex(int index) override;
  void ShowEntrySelected(int index, const std::string& name) override;
  EntrySearch& entry_search() { return *entry_search_; }

  std::string ClipboardText() const override;
  void SetClipboardText(const std::string& text) override;
  void ClearClipboard() override;
  Printer& DefaultPrinter() override;

 private:
  std::string ShowFileDialog(bool save, const std::string& filter);

  QWidget* window_;
  QMenuBar* menu_bar_;
  CodePagePane* pane_;
  QComboBox* entry_list_;
  EntryNames* entry_model_;
  EntrySearch* entry_search_;
  std::function<void()> on_entry_click_;
  std::function<void()> on_new_text_;
  PortScript* script_ = nullptr;
  int busy_depth_ = 0;
  std::string caption_;  // the bytes of the last caption set, read back as they were
  std::unique_ptr<QtPrinter> printer_;
  HitList* hit_list_ = nullptr;  // owned by the window
  std::function<void(size_t)> on_hit_chosen_;
};

}  // namespace qw::shell
