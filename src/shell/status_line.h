// StatusLine: the window's status bar, shown by Options > Status Bar (off at
// start, so that the window keeps its classic layout). It tells the line and
// column of the caret, the shown entry's place in the entry list ("entry 12
// of 340"), the code page the pane is shown in, and whether the pane has
// changed. It only reads: the document, the pane and the port decide.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMainWindow;
class QsciScintilla;

namespace qw {
class ModuleDocument;
}

namespace qw::shell {

class StatusLine final : public QObject {
 public:
  // `toggle` is the checkable Options > Status Bar item; `code_page` names
  // the code page in use.
  StatusLine(QMainWindow* window, QsciScintilla* pane, const ModuleDocument& doc, QAction* toggle,
             std::function<QString()> code_page);

  // Brings the shown texts up to date (nothing while the bar is hidden).
  void Refresh();
  // The texts shown, left to right: position, entry, code page, changed.
  QStringList Texts() const;

 private:
  QMainWindow* window_;
  QsciScintilla* pane_;
  const ModuleDocument& doc_;
  std::function<QString()> code_page_;
  QLabel* position_;
  QLabel* entry_;
  QLabel* page_;
  QLabel* changed_;
};

// Makes the line-number margin of `pane` wide enough for its last line's
// number, in the font the margin draws with, and one digit more.
void FitLineNumberMargin(QsciScintilla* pane);

}  // namespace qw::shell
