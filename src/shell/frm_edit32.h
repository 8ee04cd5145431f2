// frmEdit32: the main window of the editor. It assembles the toolbar panel with
// the entry list, the edit pane and the menus; every handler is one call into
// the core.
#pragma once

#include <QMainWindow>

class QsciScintilla;

namespace qw::shell {

inline constexpr char kInitialCaption[] = "Quillwright Editor";

class frmEdit32 : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmEdit32(QWidget* parent = nullptr);

  QsciScintilla* txtEdit() const { return txtEdit_; }

 private:
  QsciScintilla* txtEdit_ = nullptr;
};

}  // namespace qw::shell
