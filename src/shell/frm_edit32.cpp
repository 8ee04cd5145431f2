#include "shell/frm_edit32.h"

#include <Qsci/qsciscintilla.h>

namespace qw::shell {

frmEdit32::frmEdit32(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(kInitialCaption);
  txtEdit_ = new QsciScintilla(this);
  txtEdit_->setObjectName("txtEdit");
  // Positions are byte offsets: no UTF-8, CR LF line ends.
  txtEdit_->setUtf8(false);
  txtEdit_->setEolMode(QsciScintilla::EolWindows);
  setCentralWidget(txtEdit_);
  resize(800, 600);
}

}  // namespace qw::shell
