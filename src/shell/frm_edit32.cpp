#include "shell/frm_edit32.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <tuple>

#include "convert/converter.h"
#include "document/editor.h"
#include "document/module_document.h"
#include "find/module_search.h"
#include "find/search_commands.h"
#include "platform/fault.h"
#include "platform/report.h"
#include "shell/display_options.h"
#include "shell/form_layout.h"
#include "shell/key_preview.h"
#include "shell/menu_table.h"
#include "shell/module_watch.h"
#include "shell/qt_port.h"
#include "shell/scroll_bar_bands.h"
#include "shell/status_line.h"
#include "tools/clipboard_commands.h"
#include "tools/comment.h"
#include "tools/indenter.h"
#include "tools/print_listing.h"

namespace qw::shell {

QFont PaneFont() {
  if (QFontDatabase::families().contains("Fixedsys")) return QFont("Fixedsys", 9);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(9);
  return font;
}

frmEdit32::frmEdit32(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmEdit32");
  menuBar()->setNativeMenuBar(false);
  BuildMenus(menuBar());

  auto* client = new QWidget(this);
  setCentralWidget(client);
  toolbar_ = BuildToolbar(client);
  txtEdit_ = new CodePagePane(client);
  SetUpPane();

  port_ = std::make_unique<QtPort>(this, menuBar(), txtEdit_, toolbar_.cbProc);
  port_scope_ = std::make_unique<PortScope>(*port_);
  editor_ = std::make_unique<Editor>(*port_);
  search_ = std::make_unique<SearchCommands>(*port_);
  module_search_ = std::make_unique<ModuleSearch>(editor_->doc(), *port_, search_->state());
  port_->SetCaption(kInitialCaption);
  display_ = new DisplayOptions(this, menuBar(), txtEdit_, editor_->doc());
  connect(FindMenuAction(menuBar(), "mnuStatusBar"), &QAction::toggled, this,
          [this] { ApplyLayout(); });

  BindCommands();
  ConnectCommands();
  ConnectEvents();
  resize(800, 600);
  Run([this] { editor_->StartUp(); });
}

frmEdit32::~frmEdit32() {
  // The controls outlive the Editor by a moment: they must not call into it.
  txtEdit_->blockSignals(true);
  toolbar_.cbProc->blockSignals(true);
  port_->SetEntryClickHandler(nullptr);
  port_->SetHitChosenHandler(nullptr);
}

void frmEdit32::SetUpPane() {
  txtEdit_->setObjectName("txtEdit");
  // CR LF line ends; the pane maps its characters to bytes itself.
  txtEdit_->setEolMode(QsciScintilla::EolWindows);
  pane_font_ = PaneFont();
  txtEdit_->setFont(pane_font_);
  txtEdit_->setMarginsFont(pane_font_);
  txtEdit_->setMarginType(0, QsciScintilla::NumberMargin);
  txtEdit_->setMarginLineNumbers(0, true);
  FitLineNumberMargin(txtEdit_);
  QScrollBar* tall_bar = txtEdit_->verticalScrollBar();
  tall_bar->setStyle(new ScrollBarBands(tall_bar));
  connect(txtEdit_, &QsciScintilla::linesChanged, this, [this] { FitLineNumberMargin(txtEdit_); });
  // The shortcuts are the menu items' own: the pane gives up any binding of
  // the same keys (Ctrl+D, Ctrl+C, ...), keeping its others (undo, redo, moves).
  for (QAction* action : menuBar()->findChildren<QAction*>()) {
    const QKeySequence keys = action->shortcut();
    if (keys.isEmpty()) continue;
    const int key = keys[0].toCombined();
    while (QsciCommand* bound = txtEdit_->standardCommands()->boundTo(key)) {
      if (bound->key() == key) bound->setKey(0);
      if (bound->alternateKey() == key) bound->setAlternateKey(0);
    }
  }
  // Pasting is the Edit menu's Paste, which reads the clipboard in the code page.
  txtEdit_->standardCommands()->find(QsciCommand::Paste)->setAlternateKey(0);
}

void frmEdit32::Bind(Command command, std::function<void()> operation) {
  handlers_[command] = std::move(operation);
}

void frmEdit32::BindCommands() {
  Editor& e = *editor_;
  const std::tuple<Command, FileKind, OpenMode> openers[] = {
      {Command::kOpenBas, FileKind::kBas, OpenMode::kWholeText},
      {Command::kOpenPrg, FileKind::kPrg, OpenMode::kWholeText},
      {Command::kOpenFrm, FileKind::kFrm, OpenMode::kWholeText},
      {Command::kOpenVbp, FileKind::kVbp, OpenMode::kWholeText},
      {Command::kOpenMak, FileKind::kMak, OpenMode::kWholeText},
      {Command::kOpenCls, FileKind::kCls, OpenMode::kWholeText},
      {Command::kOpenAll, FileKind::kAll, OpenMode::kWholeText},
      {Command::kOpenBasModule, FileKind::kBas, OpenMode::kIndexed},
      {Command::kOpenFrmModule, FileKind::kFrm, OpenMode::kIndexed},
      {Command::kOpenClsModule, FileKind::kCls, OpenMode::kIndexed},
      {Command::kOpenPrgModule, FileKind::kPrg, OpenMode::kIndexed},
  };
  for (const auto& [command, kind, mode] : openers) {
    Bind(command, [&e, kind = kind, mode = mode] { e.Open(kind, mode); });
  }
  Bind(Command::kNew, [&e] { e.New(); });
  Bind(Command::kSave, [&e] { e.Save(); });
  Bind(Command::kSaveAs, [&e] { e.SaveAs(); });
  Bind(Command::kClose, [this] {
    if (editor_->ConfirmCloseCommand()) close();
  });
  Bind(Command::kExit, [this] { close(); });
  Bind(Command::kDeleteAllText, [&e] { e.DeleteAllText(); });
  Bind(Command::kSelectAll, [&e] { e.SelectAll(); });
  Bind(Command::kListAllProcedures, [this, &e] {
    e.SetIndexOptions({.property_and_friend = !e.index_options().property_and_friend});
    // The check mark shows the rules in force: an edited pane keeps the old ones.
    FindMenuAction(menuBar(), "mnuAllProcedures")
        ->setChecked(e.index_options().property_and_friend);
  });
  SearchCommands& s = *search_;
  Bind(Command::kFind, [&s] { s.Find(); });
  Bind(Command::kFindNext, [&s] { s.FindNext(); });
  Bind(Command::kReplace, [&s] { s.Replace(); });
  Bind(Command::kFindInModule, [this] { module_search_->FindInModule(); });

  Port& p = *port_;
  const std::pair<Command, void (*)(Port&)> tools[] = {
      {Command::kPrint, PrintSelection},
      {Command::kCut, CutSelection},
      {Command::kCopy, CopySelection},
      {Command::kConcatenate, ConcatenateToClipboard},
      {Command::kClearClipboard, ClearClipboard},
      {Command::kPaste, PasteClipboard},
      {Command::kComment, CommentSelection},
      {Command::kUncomment, UncommentSelection},
      {Command::kIndent, IndentSelection},
      {Command::kConvert, ConvertXBaseProc},
  };
  for (const auto& [command, tool] : tools) {
    Bind(command, [&p, tool = tool] { tool(p); });
  }
}

void frmEdit32::Execute(Command command, bool focus_pane) {
  const auto it = handlers_.find(command);
  Run(it == handlers_.end() ? std::function<void()>() : it->second, focus_pane);
}

void frmEdit32::ConnectCommands() {
  for (const MenuEntry& entry : MenuTable()) {
    if (entry.command == Command::kNone) continue;
    QAction* action = FindMenuAction(menuBar(), entry.name);
    connect(action, &QAction::triggered, this,
            [this, command = entry.command, focus = entry.focus_pane] { Execute(command, focus); });
  }
  const auto& buttons = ToolButtonTable();
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (buttons[i].command == Command::kNone) continue;
    // Every button gives the focus back to the pane.
    connect(toolbar_.buttons[i], &QToolButton::clicked, this,
            [this, command = buttons[i].command] { Execute(command, true); });
  }
}

void frmEdit32::ConnectEvents() {
  // A change of the pane only marks the document: it is no command, and the
  // lexer must not be exchanged while Scintilla is still inserting a text.
  connect(txtEdit_, &QsciScintilla::textChanged, this, [this] { editor_->NotePaneEdited(); });
  connect(toolbar_.cbProc, &QComboBox::activated, this,
          [this] { Run([this] { editor_->ChooseEntry(); }); });
  connect(toolbar_.cbProc, &QComboBox::editTextChanged, this,
          [this] { Run([this] { editor_->EntryListTextChanged(); }); });
  port_->SetEntryClickHandler([this] { Run([this] { editor_->ChooseEntry(); }); });
  // Colouring a text costs little before it is loaded and much after.
  port_->SetNewTextHandler([this] { UpdateLexer(); });
  txtEdit_->on_refused = [this](char32_t refused) {
    Run([this, refused] {
      throw Fault(kFaultInvalidCall, RefusalText(refused, txtEdit_->code_page()));
    });
  };
  port_->SetHitChosenHandler(
      [this](size_t row) { Run([this, row] { module_search_->GoToHit(row); }); });

  module_watch_ = new ModuleWatch(*editor_, this);

  key_preview_ = new KeyPreview(this, toolbar_.cbProc, this);
  key_preview_->on_key_down = [this](int key_code, bool in_list) {
    Run([this, key_code, in_list] { editor_->WindowKeyDown(key_code, in_list); });
  };
  key_preview_->on_entry_key_press = [this](int key_ascii) {
    Run([this, key_ascii] { editor_->EntryListKeyPressed(key_ascii); });
  };
  qApp->installEventFilter(key_preview_);
}

void frmEdit32::Run(const std::function<void()>& handler, bool focus_pane) {
  try {
    if (handler) handler();
  } catch (const Fault& fault) {
    ShowProcedureError(*port_, fault);
  } catch (const std::exception& e) {
    ShowProcedureError(*port_, Fault(kFaultInvalidCall, e.what()));
  } catch (...) {
    ShowProcedureError(*port_, Fault(kFaultInvalidCall));
  }
  if (focus_pane) port_->FocusPane();
  if (module_watch_) module_watch_->Follow();
  UpdateLexer();
  display_->Refresh();
}

void frmEdit32::UpdateLexer() {
  const SourceKind kind = KindOfFile(editor_->doc().file_name());
  if (kind == lexer_kind_) return;
  lexer_kind_ = kind;
  QsciLexer* old = txtEdit_->lexer();
  if (kind == SourceKind::kPlain) {
    txtEdit_->setLexer(nullptr);
    txtEdit_->setFont(pane_font_);
  } else {
    txtEdit_->setLexer(new SourceLexer(kind, pane_font_, txtEdit_));
  }
  if (old) old->deleteLater();
  FitLineNumberMargin(txtEdit_);  // the lexer may draw the numbers in another font
}

void frmEdit32::ApplyLayout() {
  if (isMinimized()) return;
  const QRect outer = frameGeometry();
  const FormLayout layout =
      ComputeFormLayout(PixelsToTwips(outer.width()), PixelsToTwips(outer.height()));
  toolbar_.panToolbar->setGeometry(layout.panToolbar);
  QRect pane = layout.txtEdit;
  // The status bar, when shown, takes its height from the bottom of the pane.
  if (statusBar()->isVisible()) {
    pane.setHeight(std::max(0, pane.height() - statusBar()->sizeHint().height()));
  }
  txtEdit_->setGeometry(pane);
}

void frmEdit32::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ApplyLayout();
}

void frmEdit32::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) ApplyLayout();
}

void frmEdit32::closeEvent(QCloseEvent* event) {
  bool may_close = false;
  Run([this, &may_close] { may_close = editor_->ConfirmClose(); });
  if (may_close) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace qw::shell
