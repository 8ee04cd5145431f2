// The port: everything the core needs from the world outside it, behind one
// interface. The Qt shell implements it with real windows; qwtool with stderr
// and files; the tests with a scripted fake that records every call. The core
// never includes a Qt header: it reaches windows, dialogs and the clipboard
// only through this interface.
//
// All texts are bytes (std::string): no encoding is applied anywhere, so every
// byte value 0-255 passes through. Pane positions are 0-based byte offsets,
// with CR LF counted as two.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/case_fold.h"
#include "platform/name_block.h"
#include "platform/printer.h"

namespace qw {

// The title of a message box that has no title of its own.
inline constexpr char kAppTitle[] = "QWEdit";

enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Icon { kNone, kStop, kExclamation, kQuestion, kInformation };
enum class Answer { kOk, kCancel, kYes, kNo };

// What a message box means for the operation that shows it. The window shows
// every kind alike; qwtool chooses its exit status from the kinds it met.
enum class NoticeKind {
  kQuestion,  // asks the user; the answer decides what happens next
  kWarning,   // tells the user; the operation goes on and its result stands
  kRefusal,   // an expected condition stopped the operation: nothing, or only part, was done
  kFault,     // a run-time fault report: the working procedure ended early
};

// One message box: its meaning, text, title (empty for the application
// title), buttons and icon. Lines of the text are separated as written.
struct Notice {
  NoticeKind kind = NoticeKind::kWarning;
  std::string text;
  std::string title;
  Buttons buttons = Buttons::kOk;
  Icon icon = Icon::kNone;
};

// How a search dialog was closed: by its accepting button (Find, Replace), by
// its Cancel button (or Esc), or by the window's close box.
enum class DialogClose { kAccept, kCancel, kCloseBox };

// What the Find dialog leaves behind when it closes.
struct FindDialogAnswer {
  DialogClose closed = DialogClose::kCloseBox;
  std::string text;                 // the text box as it stood at closing
  bool match_case = false;          // the Match Case box as it stood at closing
  bool match_case_clicked = false;  // the user changed the Match Case box at least once
  int direction = 1;                // the direction shown at closing: 1 Down, 0 Up
};

// What the Replace dialog leaves behind when it closes.
struct ReplaceDialogAnswer {
  DialogClose closed = DialogClose::kCloseBox;
  std::string find_what;
  std::string replace_with;
  bool case_sensitive = false;
};

// One row of the hit list of Find in Module: a line of the module that holds
// the text searched for.
struct HitRow {
  std::string entry_name;  // empty for a whole text
  long line = 0;           // 1-based, within the entry (or the whole text)
  std::string line_text;   // the line's bytes without its line end
};

// The keystrokes of the Edit menu's Paste command (Alt+E, P).
inline constexpr char kPasteKeys[] = "%(EP)";

class Port {
 public:
  virtual ~Port() = default;

  // --- Message boxes and the event loop ---------------------------------
  // Shows a modal message box and returns the button pressed. An empty title
  // shows kAppTitle.
  virtual Answer MessageBox(const Notice& notice) = 0;
  // Lets pending user-interface events run once.
  virtual void Yield() = 0;
  // Shows (true) or restores (false) the busy pointer.
  virtual void BusyPointer(bool busy) = 0;

  // --- The main window ------------------------------------------------------
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  // Sends a keystroke string to the application's own window ("%(EP)" is
  // Alt+E, P) and returns when it has been handled.
  virtual void SendKeys(const std::string& keys) = 0;

  // --- File dialogs (CMDialog1) ----------------------------------------------
  // Shows the Open or Save As dialog with an empty file name and a filter in
  // the form "Program (*.bas)|*.bas". Returns the chosen path; throws
  // Fault(kFaultCancel) when the user cancels.
  virtual std::string ShowOpenDialog(const std::string& filter) = 0;
  virtual std::string ShowSaveDialog(const std::string& filter) = 0;

  // --- The search dialogs (frmFind, frmReplace) and the hit list --------------
  // Shows the Find dialog modally, its text box holding `text` (the Find
  // button enabled exactly when it is not empty), Down chosen and Match Case
  // not ticked, and returns how it was left.
  virtual FindDialogAnswer ShowFindDialog(const std::string& text) = 0;
  // Shows the Replace dialog modally, both text boxes empty and Case
  // Sensitive not ticked, and returns how it was left.
  virtual ReplaceDialogAnswer ShowReplaceDialog() = 0;
  // Shows the hit list of Find in Module (replacing any list shown before),
  // titled after `find_text`. Choosing a row calls back into the core.
  virtual void ShowHitList(const std::string& find_text, const std::vector<HitRow>& rows) = 0;

  // --- The edit pane (txtEdit) ------------------------------------------------
  virtual std::string PaneText() const = 0;
  // Replaces the whole text; like any change of the pane, the shell then
  // calls the document's change handler.
  virtual void SetPaneText(const std::string& text) = 0;
  // Replaces the whole text by the bytes `read` hands to its sink, piece after
  // piece in order, so that a large text need not be held twice; `size` is
  // how many bytes to expect (the text is what was handed). When `read`
  // throws, the pane keeps its text and the fault goes on. The default
  // gathers the pieces and calls SetPaneText.
  using PieceSink = std::function<void(std::string_view)>;
  virtual void LoadPaneText(size_t size, const std::function<void(const PieceSink&)>& read);
  virtual std::string PaneSelectedText() const = 0;
  virtual long PaneSelStart() const = 0;
  virtual long PaneSelLength() const = 0;
  virtual void SetPaneSelection(long start, long length) = 0;
  // Replaces the selection (inserts at the caret when nothing is selected).
  virtual void ReplacePaneSelection(const std::string& text) = 0;
  virtual void FocusPane() = 0;
  // How letter case folds for the bytes of the pane, in the code page it
  // shows them in (Windows-1252 unless the port knows better).
  virtual const CaseFold& PaneCaseFold() const { return Windows1252CaseFold(); }

  // --- The entry list (cbProc) ------------------------------------------------
  virtual void ClearEntryList() = 0;
  // Fills the list in one step, replacing what it held: the names of
  // `names`, item i named by name i (read during the call, not kept).
  virtual void SetEntryItems(NameBlock names) = 0;
  virtual int EntryCount() const = 0;
  virtual std::string EntryText() const = 0;
  virtual void SetEntryText(const std::string& text) = 0;
  // -1 when nothing is selected.
  virtual int EntrySelectedIndex() const = 0;
  // Selects item `index`; like a user's choice, the shell then calls the
  // document's click handler (which may re-enter this call).
  virtual void SetEntrySelectedIndex(int index) = 0;
  // Marks item `index`, named `name`, as the list's selected item: the entry
  // the pane shows, so that the next step through the list starts from it.
  // The list's text becomes `name`; no click is raised. A port without a
  // selection of its own only sets the text.
  virtual void ShowEntrySelected(int index, const std::string& name) {
    static_cast<void>(index);
    SetEntryText(name);
  }

  // --- The clipboard ---------------------------------------------------------
  // The clipboard's plain text; the empty string when it holds no text.
  virtual std::string ClipboardText() const = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual void ClearClipboard() = 0;

  // --- The printer -------------------------------------------------------------
  // The default printer. Its operations throw a Fault when there is no
  // printer or the printer fails.
  virtual Printer& DefaultPrinter() = 0;
};

// Shows the busy pointer for the lifetime of the scope.
class BusyScope {
 public:
  explicit BusyScope(Port& port) : port_(port) { port_.BusyPointer(true); }
  ~BusyScope() { port_.BusyPointer(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  Port& port_;
};

// The last step of the text tools and the converter: `result` goes on the
// clipboard, the edit pane gets the focus, and the Paste command, reached
// through the Edit menu's access keys, puts it in place of the selection.
void ReplaceThroughPaste(Port& port, const std::string& result);

// The port of this process, for the few library functions whose design gives
// them no caller to ask (the fault reports of MemoLine and the scanners, the
// yield of RAt). Until a port is installed it is a silent one: boxes answer
// OK and show nothing, the pane and the list are empty.
Port& CurrentPort();

// Installs `port` for the lifetime of the scope, restoring the previous one after.
class PortScope {
 public:
  explicit PortScope(Port& port);
  ~PortScope();
  PortScope(const PortScope&) = delete;
  PortScope& operator=(const PortScope&) = delete;

 private:
  Port* previous_;
};

}  // namespace qw
