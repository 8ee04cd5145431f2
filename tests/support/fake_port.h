// A scripted fake of the port for the core's tests: qwtool's own in-memory
// port (pane, entry list, caption, clipboard) that also records every message
// box, answers boxes and file dialogs from scripts, and counts yields, busy
// pointers and focus hand-offs. The hooks of the headless port stand for the
// shell's wiring of events (a change of the pane, a choice in the entry list,
// keystrokes sent to the window).
#pragma once

#include <unistd.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "cli/headless_port.h"
#include "platform/fault.h"

namespace qw::testing {

struct Box {
  NoticeKind kind;
  std::string text;
  std::string title;  // as shown: kAppTitle for a box without a title of its own
  Buttons buttons;
  Icon icon;
};

// Standard error for the boxes of a port that does not record them itself.
inline cli::TextOut& TestStderr() {
  static cli::FdOut err(STDERR_FILENO, 0);
  return err;
}

class FakePort : public cli::HeadlessPort {
 public:
  FakePort() : HeadlessPort(TestStderr()) {}

  std::vector<Box> boxes;                               // every box shown, in order
  std::deque<Answer> answers;                           // kOk (or kYes) when empty
  std::deque<std::optional<std::string>> dialog_paths;  // nullopt or none left: cancelled
  std::vector<std::string> dialog_filters;              // the filter of every dialog shown
  std::vector<std::string> keys_sent;
  int yields = 0;
  int busy_depth = 0;  // +1 per BusyPointer(true), -1 per BusyPointer(false)
  int pane_focus_count = 0;
  // Answers of the search dialogs, in order; none left: the close box.
  std::deque<FindDialogAnswer> find_answers;
  std::deque<ReplaceDialogAnswer> replace_answers;
  std::vector<std::string> find_dialog_texts;  // the text each Find dialog opened with
  std::vector<HitRow> hit_rows;                // the last hit list shown

  Answer MessageBox(const Notice& n) override {
    boxes.push_back({n.kind, n.text, n.title.empty() ? kAppTitle : n.title, n.buttons, n.icon});
    if (answers.empty()) return n.buttons == Buttons::kYesNoCancel ? Answer::kYes : Answer::kOk;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Yield() override { ++yields; }
  void BusyPointer(bool busy) override { busy_depth += busy ? 1 : -1; }
  void SendKeys(const std::string& keys) override {
    keys_sent.push_back(keys);
    HeadlessPort::SendKeys(keys);
  }
  std::string ShowOpenDialog(const std::string& filter) override { return Dialog(filter); }
  std::string ShowSaveDialog(const std::string& filter) override { return Dialog(filter); }
  void FocusPane() override { ++pane_focus_count; }
  FindDialogAnswer ShowFindDialog(const std::string& text) override {
    find_dialog_texts.push_back(text);
    return Next(find_answers);
  }
  ReplaceDialogAnswer ShowReplaceDialog() override { return Next(replace_answers); }
  void ShowHitList(const std::string&, const std::vector<HitRow>& rows) override {
    hit_rows = rows;
  }

  // The titles of the boxes shown, in order.
  std::vector<std::string> Titles() const {
    std::vector<std::string> t;
    for (const auto& b : boxes) t.push_back(b.title);
    return t;
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& answers) {
    if (answers.empty()) return T{};
    T a = answers.front();
    answers.pop_front();
    return a;
  }
  std::string Dialog(const std::string& filter) {
    dialog_filters.push_back(filter);
    const bool chosen = !dialog_paths.empty() && dialog_paths.front();
    const std::string path = chosen ? *dialog_paths.front() : "";
    if (!dialog_paths.empty()) dialog_paths.pop_front();
    if (!chosen) throw Fault(kFaultCancel);
    return path;
  }
};

}  // namespace qw::testing
