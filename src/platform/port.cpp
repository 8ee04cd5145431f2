#include "platform/port.h"

#include "platform/fault.h"

namespace qw {

void Port::LoadPaneText(size_t size, const std::function<void(const PieceSink&)>& read) {
  std::string text;
  text.reserve(size);
  read([&text](std::string_view piece) { text.append(piece); });
  SetPaneText(text);
}

void NoPrinter::Fail() const {
  throw Fault(kFaultPrinter, FaultDescription(kFaultPrinter) + what_);
}

namespace {

// The port in force before any is installed: it shows nothing and answers OK.
class SilentPort final : public Port {
 public:
  Answer MessageBox(const Notice&) override { return Answer::kOk; }
  void Yield() override {}
  void BusyPointer(bool) override {}
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  void SendKeys(const std::string&) override {}
  std::string ShowOpenDialog(const std::string&) override { return {}; }
  std::string ShowSaveDialog(const std::string&) override { return {}; }
  FindDialogAnswer ShowFindDialog(const std::string&) override { return {}; }
  ReplaceDialogAnswer ShowReplaceDialog() override { return {}; }
  void ShowHitList(const std::string&, const std::vector<HitRow>&) override {}
  std::string PaneText() const override { return {}; }
  void SetPaneText(const std::string&) override {}
  std::string PaneSelectedText() const override { return {}; }
  long PaneSelStart() const override { return 0; }
  long PaneSelLength() const override { return 0; }
  void SetPaneSelection(long, long) override {}
  void ReplacePaneSelection(const std::string&) override {}
  void FocusPane() override {}
  void ClearEntryList() override {}
  void SetEntryItems(NameBlock) override {}
  int EntryCount() const override { return 0; }
  std::string EntryText() const override { return {}; }
  void SetEntryText(const std::string&) override {}
  int EntrySelectedIndex() const override { return -1; }
  void SetEntrySelectedIndex(int) override {}
  std::string ClipboardText() const override { return {}; }
  void SetClipboardText(const std::string&) override {}
  void ClearClipboard() override {}
  Printer& DefaultPrinter() override { return no_printer_; }

 private:
  std::string caption_;
  NoPrinter no_printer_;
};

Port& Silent() {
  static SilentPort port;
  return port;
}

// Each thread has its own: qwtool indexes several files at once, each with its port.
thread_local Port* current = nullptr;

}  // namespace

void ReplaceThroughPaste(Port& port, const std::string& result) {
  port.SetClipboardText(result);
  port.FocusPane();
  port.SendKeys(kPasteKeys);
}

Port& CurrentPort() {
  return current ? *current : Silent();
}

PortScope::PortScope(Port& port) : previous_(current) {
  current = &port;
}
PortScope::~PortScope() {
  current = previous_;
}

}  // namespace qw
