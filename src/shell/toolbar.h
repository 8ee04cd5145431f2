// The toolbar panel panToolbar: the label "Procedure", the entry list cbProc
// and the picture buttons, each at its design position. The buttons are
// described by a table (name, tag, picture, position, visibility, command);
// a button shows the text of its tag between "TT:[" and "]" as its tooltip.
#pragma once

#include <QString>
#include <vector>

#include "shell/commands.h"

class QComboBox;
class QFrame;
class QLabel;
class QToolButton;
class QWidget;

namespace qw::shell {

struct ToolButtonEntry {
  const char* name;
  const char* tag;      // "TT:[tooltip]"
  const char* picture;  // Qt resource path of the icon
  int left, top;        // twips
  bool shown;
  Command command;  // kNone for none
};

// The seven picture buttons in design order.
const std::vector<ToolButtonEntry>& ToolButtonTable();

// The tooltip held by a tag: the text between "TT:[" and the last "]"; the
// empty string when the tag has no such part.
QString TooltipFromTag(const QString& tag);

struct Toolbar {
  QFrame* panToolbar;
  QLabel* Label1;
  QComboBox* cbProc;
  std::vector<QToolButton*> buttons;  // in table order
};

// Builds the panel and its controls on `parent`.
Toolbar BuildToolbar(QWidget* parent);

}  // namespace qw::shell
