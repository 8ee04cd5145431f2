// The menu tree of the main window as data: every item with its caption
// ("&" marks the access key, "&&" shows one "&"), shortcut, visibility and the
// command it runs. The window builds its menu bar from this table and the
// tests check the built menus against it.
#pragma once

#include <string_view>
#include <vector>

#include "shell/commands.h"

class QMenuBar;
class QAction;

namespace qw::shell {

struct MenuEntry {
  const char* name;       // object name of the item (and of its QMenu for a submenu)
  const char* parent;     // name of the menu holding it; "" for the menu bar
  const char* caption;    // "-" for a separator
  const char* shortcut;   // portable QKeySequence text; "" for none
  bool shown;             // hidden items are neither visible nor enabled
  bool submenu;           // the item opens a menu of its own
  Command command;        // the command it runs; kNone for none
  bool focus_pane;        // give the keyboard focus back to the edit pane afterwards
};

// The items in menu order, each after the menu that holds it.
const std::vector<MenuEntry>& MenuTable();

// Builds the menus on `bar`. Every item (and the action of every submenu) gets
// its table name as object name, so that bar->findChild<QAction*>(name) finds it.
void BuildMenus(QMenuBar* bar);

// The action named `name` on `bar`, or nullptr.
QAction* FindMenuAction(const QMenuBar* bar, std::string_view name);

}  // namespace qw::shell
