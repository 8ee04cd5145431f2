#include "shell/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <string>

namespace qw::shell {

const std::vector<MenuEntry>& MenuTable() {
  static const std::vector<MenuEntry> table = {
      // name, parent, caption, shortcut, shown, submenu, command, focus_pane
      {"mnuFile", "", "&File", "", true, true, Command::kNone, false},
      {"mnuFileNew", "mnuFile", "File &New", "", false, false, Command::kNew, false},
      {"mnuFileOpen", "mnuFile", "&File Open", "", true, true, Command::kNone, false},
      {"mnuFileBas", "mnuFileOpen", ".&BAS Files", "", true, false, Command::kOpenBas, false},
      {"mnuFilePrg", "mnuFileOpen", ".&PRG Files", "", true, false, Command::kOpenPrg, false},
      {"mnuFileFRM", "mnuFileOpen", ".&FRM Files", "", true, false, Command::kOpenFrm, false},
      {"mnuVbp", "mnuFileOpen", "&.VBP", "", true, false, Command::kOpenVbp, false},
      {"mnuMakFiles", "mnuFileOpen", ".&MAK Files", "", true, false, Command::kOpenMak, false},
      {"mnuClsFiles", "mnuFileOpen", ".&CLS Files", "", true, false, Command::kOpenCls, false},
      {"mnuFillAll", "mnuFileOpen", "&All Files", "", true, false, Command::kOpenAll, false},
      {"mnuOpenModule", "mnuFile", "&Module Open", "", true, true, Command::kNone, false},
      {"mnuBasFiles", "mnuOpenModule", ".&BAS Files", "", true, false, Command::kOpenBasModule,
       false},
      {"mnuFrmFilesn", "mnuOpenModule", ".&FRM Files", "", true, false, Command::kOpenFrmModule,
       false},
      {"mnuCls", "mnuOpenModule", ".&CLS Files", "", true, false, Command::kOpenClsModule, false},
      {"mnuPrgFiles", "mnuOpenModule", ".&PRG Files", "", true, false, Command::kOpenPrgModule,
       false},
      {"mnuFileClose", "mnuFile", "&Close", "", true, false, Command::kClose, false},
      {"mnuFileSave", "mnuFile", "&Save", "", true, false, Command::kSave, false},
      {"mnuSaveAs", "mnuFile", "Save &As", "", true, false, Command::kSaveAs, false},
      {"mnuPrint", "mnuFile", "&Print Selected Text", "Ctrl+P", true, false, Command::kPrint,
       false},
      {"mnuSep4", "mnuFile", "-", "", true, false, Command::kNone, false},
      {"mnuFileExit", "mnuFile", "E&xit", "Ctrl+E", true, false, Command::kExit, false},

      {"mnuEdit", "", "&Edit", "", true, true, Command::kNone, false},
      {"mnuCut", "mnuEdit", "Cu&t", "Ctrl+X", true, false, Command::kCut, true},
      {"mnuCopy", "mnuEdit", "&Copy", "Ctrl+C", true, false, Command::kCopy, true},
      {"mnuConcatenate", "mnuEdit", "C&oncatenate", "Ctrl+O", true, false, Command::kConcatenate,
       true},
      {"mnuClear", "mnuEdit", "C&lear", "", true, false, Command::kClearClipboard, false},
      {"mnuPaste", "mnuEdit", "&Paste", "Ctrl+V", true, false, Command::kPaste, false},
      {"mnuSep5", "mnuEdit", "-", "", true, false, Command::kNone, false},
      {"mnuDeleteText", "mnuEdit", "&Delete All Text", "Ctrl+D", true, false,
       Command::kDeleteAllText, false},
      {"mnjSelectAll", "mnuEdit", "&Select All", "Ctrl+A", true, false, Command::kSelectAll, false},
      {"mnuSelectCut", "mnuEdit", "S&elect && Cut", "Ctrl+K", true, false, Command::kNone, false},
      {"mnuSep1", "mnuEdit", "-", "", true, false, Command::kNone, false},
      {"mnuFind", "mnuEdit", "&Find", "F2", true, false, Command::kFind, false},
      {"mnuFindNext", "mnuEdit", "Find &Next", "F3", true, false, Command::kFindNext, false},
      {"mnuFindInModule", "mnuEdit", "Find in &Module...", "Ctrl+Shift+F", true, false,
       Command::kFindInModule, false},
      {"mnusep3", "mnuEdit", "-", "", true, false, Command::kNone, false},
      {"mnuReplace", "mnuEdit", "Replace", "Ctrl+R", true, false, Command::kReplace, false},

      {"mnuOptions", "", "&Options", "", true, true, Command::kNone, false},
      {"mnuComment", "mnuOptions", "&Comment", "F4", true, false, Command::kComment, true},
      {"mnuUncomment", "mnuOptions", "&Uncomment", "Shift+F4", true, false, Command::kUncomment,
       false},
      {"mnuSep2", "mnuOptions", "-", "", true, false, Command::kNone, false},
      {"mnuIndent", "mnuOptions", "&Indent Selected Text", "F5", true, false, Command::kIndent,
       false},
      {"mnuConvert", "mnuOptions", "&Convert Selected xBase Text", "F6", true, false,
       Command::kConvert, true},
      {"mnuSep6", "mnuOptions", "-", "", true, false, Command::kNone, false},
      {"mnuAllProcedures", "mnuOptions", "List &Property and Friend Procedures", "", true, false,
       Command::kListAllProcedures, false},
      {"mnuFindDiff", "mnuOptions", "Find &Difference", "F7", false, false, Command::kNone, false},
      {"menuFontSizeToggle", "mnuOptions", "Font Size &Toggle", "", false, false, Command::kNone,
       false},
      // Display only: the status bar and the code page (its items come from the code pages).
      {"mnuStatusBar", "mnuOptions", "Status &Bar", "", true, false, Command::kNone, false},
      {"mnuCodePage", "mnuOptions", "Code Pa&ge", "", true, true, Command::kNone, false},

      {"mnuWindows", "", "&Window", "", false, true, Command::kNone, false},
      {"mnuTile", "mnuWindows", "&Tile", "", false, false, Command::kNone, false},
      {"mnuCascade", "mnuWindows", "&Cascade", "", false, false, Command::kNone, false},

      {"mnuHelp", "", "&Help", "", false, true, Command::kNone, false},
      {"mnuHelponHelp", "mnuHelp", "&Help", "", false, false, Command::kNone, false},
      {"mnuAbout", "mnuHelp", "&About Kv Quillwright", "", false, false, Command::kNone, false},
  };
  return table;
}

void BuildMenus(QMenuBar* bar) {
  std::map<std::string, QMenu*> menus;
  for (const MenuEntry& e : MenuTable()) {
    QMenu* holder = *e.parent ? menus.at(e.parent) : nullptr;
    QAction* action = nullptr;
    if (e.submenu) {
      auto* menu = new QMenu(QString::fromLatin1(e.caption),
                             holder ? static_cast<QWidget*>(holder) : static_cast<QWidget*>(bar));
      menu->setObjectName(QString::fromLatin1(e.name) + "Menu");
      menus[e.name] = menu;
      action = menu->menuAction();
      if (holder) {
        holder->addMenu(menu);
      } else {
        bar->addMenu(menu);
      }
    } else if (std::string_view(e.caption) == "-") {
      action = holder->addSeparator();
    } else {
      action = holder->addAction(QString::fromLatin1(e.caption));
      if (*e.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
    }
    // An option of the index: a check mark tells whether it is on.
    if (e.command == Command::kListAllProcedures) action->setCheckable(true);
    action->setObjectName(QString::fromLatin1(e.name));
    // A hidden item can be neither seen nor used, shortcut included.
    action->setVisible(e.shown);
    action->setEnabled(e.shown);
  }
}

QAction* FindMenuAction(const QMenuBar* bar, std::string_view name) {
  const QString wanted = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  for (QAction* a : bar->findChildren<QAction*>()) {
    if (a->objectName() == wanted) return a;
  }
  return nullptr;
}

}  // namespace qw::shell
