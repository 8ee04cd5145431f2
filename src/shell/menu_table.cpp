#include "shell/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <string>

namespace qw::shell {

const std::vector<MenuEntry>& MenuTable() {
  static const std::vector<MenuEntry> table = {
      // name, parent, caption, shortcut, shown, submenu, operation, focus_pane
      {"mnuFile", "", "&File", "", true, true, "", false},
      {"mnuFileNew", "mnuFile", "File &New", "", false, false, "mnuFileNew_Click", false},
      {"mnuFileOpen", "mnuFile", "&File Open", "", true, true, "", false},
      {"mnuFileBas", "mnuFileOpen", ".&BAS Files", "", true, false, "mnuFileBas_Click", false},
      {"mnuFilePrg", "mnuFileOpen", ".&PRG Files", "", true, false, "mnuFilePrg_Click", false},
      {"mnuFileFRM", "mnuFileOpen", ".&FRM Files", "", true, false, "mnuFileFRM_Click", false},
      {"mnuVbp", "mnuFileOpen", "&.VBP", "", true, false, "mnuVbp_Click", false},
      {"mnuMakFiles", "mnuFileOpen", ".&MAK Files", "", true, false, "mnuMakFiles_Click", false},
      {"mnuClsFiles", "mnuFileOpen", ".&CLS Files", "", true, false, "mnuClsFiles_Click", false},
      {"mnuFillAll", "mnuFileOpen", "&All Files", "", true, false, "mnuFillAll_Click", false},
      {"mnuOpenModule", "mnuFile", "&Module Open", "", true, true, "", false},
      {"mnuBasFiles", "mnuOpenModule", ".&BAS Files", "", true, false, "mnuBasFiles_Click", false},
      {"mnuFrmFilesn", "mnuOpenModule", ".&FRM Files", "", true, false, "mnuFrmFilesn_Click",
       false},
      {"mnuCls", "mnuOpenModule", ".&CLS Files", "", true, false, "mnuCls_Click", false},
      {"mnuPrgFiles", "mnuOpenModule", ".&PRG Files", "", true, false, "mnuPrgFiles_Click", false},
      {"mnuFileClose", "mnuFile", "&Close", "", true, false, "mnuFileClose_Click", false},
      {"mnuFileSave", "mnuFile", "&Save", "", true, false, "mnuFileSave_Click", false},
      {"mnuSaveAs", "mnuFile", "Save &As", "", true, false, "mnuSaveAs_Click", false},
      {"mnuPrint", "mnuFile", "&Print Selected Text", "Ctrl+P", true, false, "PrintSelection",
       false},
      {"mnuSep4", "mnuFile", "-", "", true, false, "", false},
      {"mnuFileExit", "mnuFile", "E&xit", "Ctrl+E", true, false, "mnuFileExit_Click", false},

      {"mnuEdit", "", "&Edit", "", true, true, "", false},
      {"mnuCut", "mnuEdit", "Cu&t", "Ctrl+X", true, false, "CutSelection", true},
      {"mnuCopy", "mnuEdit", "&Copy", "Ctrl+C", true, false, "CopySelection", true},
      {"mnuConcatenate", "mnuEdit", "C&oncatenate", "Ctrl+O", true, false, "ConcatenateToClipboard",
       true},
      {"mnuClear", "mnuEdit", "C&lear", "", true, false, "ClearClipboard", false},
      {"mnuPaste", "mnuEdit", "&Paste", "Ctrl+V", true, false, "PasteClipboard", false},
      {"mnuSep5", "mnuEdit", "-", "", true, false, "", false},
      {"mnuDeleteText", "mnuEdit", "&Delete All Text", "Ctrl+D", true, false, "mnuDeleteText_Click",
       false},
      {"mnjSelectAll", "mnuEdit", "&Select All", "Ctrl+A", true, false, "mnjSelectAll_Click",
       false},
      {"mnuSelectCut", "mnuEdit", "S&elect && Cut", "Ctrl+K", true, false, "", false},
      {"mnuSep1", "mnuEdit", "-", "", true, false, "", false},
      {"mnuFind", "mnuEdit", "&Find", "F2", true, false, "FindDialog", false},
      {"mnuFindNext", "mnuEdit", "Find &Next", "F3", true, false, "FindNext", false},
      {"mnusep3", "mnuEdit", "-", "", true, false, "", false},
      {"mnuReplace", "mnuEdit", "Replace", "Ctrl+R", true, false, "ReplaceDialog", false},

      {"mnuOptions", "", "&Options", "", true, true, "", false},
      {"mnuComment", "mnuOptions", "&Comment", "F4", true, false, "CommentSelection", true},
      {"mnuUncomment", "mnuOptions", "&Uncomment", "Shift+F4", true, false, "UncommentSelection",
       false},
      {"mnuSep2", "mnuOptions", "-", "", true, false, "", false},
      {"mnuIndent", "mnuOptions", "&Indent Selected Text", "F5", true, false, "IndentSelection",
       false},
      {"mnuConvert", "mnuOptions", "&Convert Selected xBase Text", "F6", true, false,
       "ConvertXBaseProc", true},
      {"mnuFindDiff", "mnuOptions", "Find &Difference", "F7", false, false, "", false},
      {"menuFontSizeToggle", "mnuOptions", "Font Size &Toggle", "", false, false, "", false},

      {"mnuWindows", "", "&Window", "", false, true, "", false},
      {"mnuTile", "mnuWindows", "&Tile", "", false, false, "", false},
      {"mnuCascade", "mnuWindows", "&Cascade", "", false, false, "", false},

      {"mnuHelp", "", "&Help", "", false, true, "", false},
      {"mnuHelponHelp", "mnuHelp", "&Help", "", false, false, "", false},
      {"mnuAbout", "mnuHelp", "&About Kv Quillwright", "", false, false, "", false},
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
