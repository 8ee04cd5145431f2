// frmEdit32: the main window of the editor. It assembles the toolbar panel with
// the entry list and the picture buttons, the edit pane txtEdit and the menu
// bar, owns the Qt port and the Editor, and routes every event to one call
// into the core. The window itself decides nothing: the menu and button tables
// say which command an item runs and whether the focus then goes back to the
// pane, the window binds each command to one call, and the core does the work.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

#include "platform/port.h"
#include "shell/code_page_pane.h"
#include "shell/commands.h"
#include "shell/source_lexer.h"
#include "shell/toolbar.h"

class QComboBox;
class QFrame;

namespace qw {
class Editor;
class ModuleSearch;
class SearchCommands;
}  // namespace qw

namespace qw::shell {

class DisplayOptions;
class KeyPreview;
class ModuleWatch;
class QtPort;

inline constexpr char kInitialCaption[] = "Quillwright Editor";

class frmEdit32 : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmEdit32(QWidget* parent = nullptr);
  ~frmEdit32() override;

  QsciScintilla* txtEdit() const { return txtEdit_; }
  CodePagePane* pane() const { return txtEdit_; }
  DisplayOptions& display() { return *display_; }
  QComboBox* cbProc() const { return toolbar_.cbProc; }
  QFrame* panToolbar() const { return toolbar_.panToolbar; }
  QtPort& port() { return *port_; }
  Editor& editor() { return *editor_; }
  SearchCommands& search() { return *search_; }
  SourceKind lexer_kind() const { return lexer_kind_; }

  // True when `command` is bound to an operation.
  bool Handles(Command command) const { return handlers_.contains(command); }
  // Runs the operation bound to `command` as its menu item does; an unbound
  // command does nothing.
  void Execute(Command command, bool focus_pane = false);

  // Runs one handler. A fault escaping it is shown in the procedure error box
  // and goes no further; then, when asked, the focus goes back to the pane.
  void Run(const std::function<void()>& handler, bool focus_pane = false);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyLayout();
  void SetUpPane();
  void BindCommands();
  void Bind(Command command, std::function<void()> operation);
  void ConnectCommands();
  void ConnectEvents();
  // Colours the pane by the kind of the open file.
  void UpdateLexer();

  Toolbar toolbar_{};
  CodePagePane* txtEdit_ = nullptr;
  DisplayOptions* display_ = nullptr;
  KeyPreview* key_preview_ = nullptr;
  ModuleWatch* module_watch_ = nullptr;
  std::unique_ptr<QtPort> port_;
  std::unique_ptr<PortScope> port_scope_;
  std::unique_ptr<Editor> editor_;
  std::unique_ptr<SearchCommands> search_;
  std::unique_ptr<ModuleSearch> module_search_;
  std::map<Command, std::function<void()>> handlers_;
  SourceKind lexer_kind_ = SourceKind::kPlain;
  QFont pane_font_;
};

// The pane's font: "Fixedsys" 9 points when installed, else the system's
// fixed-width font at 9 points.
QFont PaneFont();

}  // namespace qw::shell
