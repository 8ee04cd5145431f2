// The port of qwtool: no window. Every message box is written to stderr as one
// line "qwtool: TITLE: TEXT" and answered as the editor's default button
// would be; the pane, the entry list, the caption and the clipboard are plain
// in-memory state, so that the core runs exactly as under the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/text_out.h"
#include "platform/port.h"

namespace qw::cli {

// The message line for a box: CR is written as "\r", LF as "\n", a backslash
// as "\\". An empty title is the application title.
std::string MessageLine(const std::string& title, const std::string& text);

class HeadlessPort : public Port {
 public:
  explicit HeadlessPort(TextOut& err) : err_(err) {}

  // True once a box has told of a refusal or a fault: the operation's result
  // was not produced, or only in part.
  bool failed() const { return failed_; }
  // Called for SendKeys (qwtool wires the Paste command here).
  std::function<void(const std::string&)> on_keys;
  // Called where the window would raise the entry list's click / the pane's change.
  std::function<void()> on_entry_click;
  std::function<void()> on_pane_change;
  // Answer given to Yes/No/Cancel questions (qwtool never waits for a person).
  Answer question_answer = Answer::kNo;

  Answer MessageBox(const Notice& notice) override;
  void Yield() override {}
  void BusyPointer(bool) override {}
  void SetCaption(const std::string& c) override { caption_ = c; }
  std::string Caption() const override { return caption_; }
  void SendKeys(const std::string& keys) override {
    if (on_keys) on_keys(keys);
  }
  // qwtool names its files on the command line: a dialog is a cancellation.
  std::string ShowOpenDialog(const std::string& filter) override;
  std::string ShowSaveDialog(const std::string& filter) override;
  // No one answers a dialog here: it is left by its close box.
  FindDialogAnswer ShowFindDialog(const std::string&) override { return {}; }
  ReplaceDialogAnswer ShowReplaceDialog() override { return {}; }
  // qwtool prints its hits itself.
  void ShowHitList(const std::string&, const std::vector<HitRow>&) override {}

  std::string PaneText() const override { return pane_; }
  void SetPaneText(const std::string& text) override;
  std::string PaneSelectedText() const override;
  long PaneSelStart() const override { return sel_start_; }
  long PaneSelLength() const override { return sel_length_; }
  void SetPaneSelection(long start, long length) override;
  void ReplacePaneSelection(const std::string& text) override;
  void FocusPane() override {}

  void ClearEntryList() override;
  void SetEntryItems(NameBlock names) override;
  int EntryCount() const override { return static_cast<int>(items_.size()); }
  // The list's names, in order.
  std::vector<std::string> items() const;
  std::string EntryText() const override { return entry_text_; }
  void SetEntryText(const std::string& text) override { entry_text_ = text; }
  int EntrySelectedIndex() const override { return selected_; }
  void SetEntrySelectedIndex(int index) override;

  std::string ClipboardText() const override { return clipboard_; }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }
  void ClearClipboard() override { clipboard_.clear(); }

  // The printer qwtool prints on (a PDF file, or the text layout); until one
  // is set, there is no printer.
  void SetPrinter(Printer* printer) { printer_ = printer; }
  Printer& DefaultPrinter() override { return printer_ ? *printer_ : no_printer_; }

 private:
  TextOut& err_;
  bool failed_ = false;
  Printer* printer_ = nullptr;
  NoPrinter no_printer_;
  std::string caption_, pane_, entry_text_, clipboard_;
  long sel_start_ = 0, sel_length_ = 0;
  NameBlock items_;  // kept as handed over, or a copy
  int selected_ = -1;
};

}  // namespace qw::cli
