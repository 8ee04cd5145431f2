// A scripted fake of the port for the core's tests. It records every message
// box, answers boxes and file dialogs from scripts, keeps the pane, the entry
// list, the caption and the clipboard as plain state, and calls back into the
// code under test where the real shell would raise an event (a change of the
// pane, a selection in the entry list, keystrokes sent to the window).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/fault.h"
#include "platform/port.h"

namespace qw::testing {

struct Box {
  NoticeKind kind;
  std::string text;
  std::string title;
  Buttons buttons;
  Icon icon;
};

class FakePort : public Port {
 public:
  // --- Scripts and records ---
  std::vector<Box> boxes;                    // every box shown, in order
  std::deque<Answer> answers;                // answers to boxes; kOk (or kYes) when empty
  std::deque<std::optional<std::string>> dialog_paths;  // nullopt = cancel; empty script = cancel
  std::vector<std::string> dialog_filters;  // the filter of every dialog shown
  std::vector<std::string> keys_sent;
  int yields = 0;
  int busy_depth = 0;  // +1 per BusyPointer(true), -1 per BusyPointer(false)

  // Hooks standing for the shell's wiring of events.
  std::function<void()> on_pane_change;          // txtEdit_Change
  std::function<void()> on_entry_click;          // cbProc_Click
  std::function<void(const std::string&)> on_keys;  // handles SendKeys (e.g. runs Paste)
  std::function<void()> on_yield;

  // --- Port ---
  Answer MessageBox(const Notice& n) override {
    boxes.push_back({n.kind, n.text, n.title.empty() ? kAppTitle : n.title, n.buttons, n.icon});
    if (answers.empty()) return n.buttons == Buttons::kOk || n.buttons == Buttons::kOkCancel
                                   ? Answer::kOk
                                   : Answer::kYes;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Yield() override {
    ++yields;
    if (on_yield) on_yield();
  }
  void BusyPointer(bool busy) override { busy_depth += busy ? 1 : -1; }

  void SetCaption(const std::string& c) override { caption = c; }
  std::string Caption() const override { return caption; }
  void SendKeys(const std::string& keys) override {
    keys_sent.push_back(keys);
    if (on_keys) on_keys(keys);
  }

  std::string ShowOpenDialog(const std::string& filter) override { return Dialog(filter); }
  std::string ShowSaveDialog(const std::string& filter) override { return Dialog(filter); }

  std::string PaneText() const override { return pane; }
  void SetPaneText(const std::string& text) override {
    pane = text;
    sel_start = 0;
    sel_length = 0;
    if (on_pane_change) on_pane_change();
  }
  std::string PaneSelectedText() const override {
    return pane.substr(static_cast<size_t>(sel_start), static_cast<size_t>(sel_length));
  }
  long PaneSelStart() const override { return sel_start; }
  long PaneSelLength() const override { return sel_length; }
  void SetPaneSelection(long start, long length) override {
    sel_start = start;
    sel_length = length;
  }
  void ReplacePaneSelection(const std::string& text) override {
    pane.replace(static_cast<size_t>(sel_start), static_cast<size_t>(sel_length), text);
    sel_start += static_cast<long>(text.size());
    sel_length = 0;
    if (on_pane_change) on_pane_change();
  }
  void FocusPane() override { ++pane_focus_count; }

  void ClearEntryList() override {
    items.clear();
    selected = -1;
    entry_text.clear();
  }
  void SetEntryItems(const std::vector<std::string>& list) override {
    items = list;
    selected = -1;
  }
  int EntryCount() const override { return static_cast<int>(items.size()); }
  std::string EntryText() const override { return entry_text; }
  void SetEntryText(const std::string& text) override { entry_text = text; }
  int EntrySelectedIndex() const override { return selected; }
  void SetEntrySelectedIndex(int index) override {
    selected = index;
    if (index >= 0 && index < EntryCount()) entry_text = items[static_cast<size_t>(index)];
    if (on_entry_click) on_entry_click();
  }

  std::string ClipboardText() const override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void ClearClipboard() override { clipboard.clear(); }
  Printer& DefaultPrinter() override { return printer ? *printer : no_printer; }

  // --- Plain state, open to the tests ---
  std::string caption;
  std::string pane;
  long sel_start = 0;
  long sel_length = 0;
  int pane_focus_count = 0;
  std::vector<std::string> items;
  int selected = -1;
  std::string entry_text;
  std::string clipboard;
  Printer* printer = nullptr;  // none: every print is fault 482
  NoPrinter no_printer;

  // The titles of the boxes shown, in order.
  std::vector<std::string> Titles() const {
    std::vector<std::string> t;
    for (const auto& b : boxes) t.push_back(b.title);
    return t;
  }

 private:
  std::string Dialog(const std::string& filter) {
    dialog_filters.push_back(filter);
    if (dialog_paths.empty() || !dialog_paths.front()) {
      if (!dialog_paths.empty()) dialog_paths.pop_front();
      throw Fault(kFaultCancel);
    }
    std::string p = *dialog_paths.front();
    dialog_paths.pop_front();
    return p;
  }
};

}  // namespace qw::testing
