// DisplayOptions: the items of the Options menu that change only how the
// window shows the document, never the document: Status Bar (a check item,
// off at start) and the Code Page submenu (one check item per code page,
// Windows-1252 at start). The code page items are made from the list of
// code pages; choosing one shows the pane's bytes in it.
#pragma once

#include <QObject>

class QActionGroup;
class QMainWindow;
class QMenuBar;

namespace qw {
class ModuleDocument;
}

namespace qw::shell {

class CodePagePane;
class StatusLine;

class DisplayOptions final : public QObject {
 public:
  DisplayOptions(QMainWindow* window, QMenuBar* menu_bar, CodePagePane* pane,
                 const ModuleDocument& doc);

  StatusLine& status_line() { return *status_; }
  // After every command: the status bar follows the document.
  void Refresh();

 private:
  CodePagePane* pane_;
  StatusLine* status_;
  QActionGroup* pages_;
};

}  // namespace qw::shell
